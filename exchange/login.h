#pragma once
// The caller's credentials: `username` and, after it, `password` inside `login`, checked
// against the interface users of the hotel's business.

#include <optional>
#include <string>

#include "exchange/exchange_tables.h"
#include "exchange/xml/xml_node.h"

// The error reply text when the credentials in `login` are missing, empty or wrong; none when
// the user may go on.
std::optional<std::string> LoginError(ExchangeTables& tables, const TXmlNode& login);

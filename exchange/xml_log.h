#pragma once
// The request and reply log: one LOG_XML record per complete request and per reply.

#include <string>

#include "exchange/exchange_tables.h"

// Appends a record with `text` as INFO and the current date and time, under the record lock
// every station honours. Leaves LOG_XML selected.
void LogXml(ExchangeTables& tables, const std::string& text);

#pragma once
// SEND_DATA: the one way a reply leaves the exchange.

#include <string>

#include "exchange/exchange_context.h"

// How long the connection stays open after its reply, with nothing else handled meanwhile.
inline constexpr int kPauseAfterReplyMs = 1000;

// Frames `body`, sends it in one block, shows it in the send pane, logs it (from the SOAP
// header on), pauses and closes the connection.
void SEND_DATA(const ExchangeContext& context, int connection, const std::string& body);

#pragma once
// PROCESSREQUEST: one complete request text (everything gathered up to and including the end
// of its SOAP envelope) from logging to the reply.

#include <string>
#include <string_view>

#include "exchange/exchange_context.h"

// A text holding this is a complete request (exact, case-sensitive, anywhere in the text):
// only then is it handed to PROCESSREQUEST.
inline constexpr std::string_view kEnvelopeEnd = "</soap:Envelope>";

// Logs the text, reads it, checks the login, finds the action and runs it. Every outcome is
// one reply through SEND_DATA, or none: a text without a ZIRUVUZ element and an action the
// exchange does not know leave the connection open for the idle sweep.
void PROCESSREQUEST(const ExchangeContext& context, int connection, const std::string& text);

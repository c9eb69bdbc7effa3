#pragma once
// The three actions a logged-in caller can ask for. Each is given the connection and the
// request's document and sends exactly one reply through SEND_DATA, or none where it says so.

#include "exchange/exchange_context.h"
#include "exchange/xml/xml_document.h"

// Confirms that the named guest is in house in the room and answers with the stay.
void GetInfo(const ExchangeContext& context, int connection, const TXmlDocument& request);

// Posts a room-service order to the folio of the room's in-house guest and answers "Success",
// or the error reply of the first fault; a posting that fails leaves no valid-looking lines.
void RoomService(const ExchangeContext& context, int connection, const TXmlDocument& request);

// Answers with the guest's folio statement.
// Not built yet: sends no reply, so the idle sweep closes the connection, as for an action the
// exchange does not know. The statement is to be filled in here.
void GetStatement(const ExchangeContext& context, int connection, const TXmlDocument& request);

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

// Answers with the folio statement of the guest in house in the requested room.
void GetStatement(const ExchangeContext& context, int connection, const TXmlDocument& request);

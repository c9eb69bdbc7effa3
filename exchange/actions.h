#pragma once
// The three actions a logged-in caller can ask for. Each is given the connection and the
// request's document and sends exactly one reply through SEND_DATA, or none where it says so.

#include "exchange/exchange_context.h"
#include "exchange/xml/xml_document.h"

// Confirms that the named guest is in house in the room and answers with the stay.
void GetInfo(const ExchangeContext& context, int connection, const TXmlDocument& request);

// Posts a room-service order to the guest's folio.
// Not built yet: sends no reply, so the idle sweep closes the connection, as for an action the
// exchange does not know. The posting is to be filled in here.
void RoomService(const ExchangeContext& context, int connection, const TXmlDocument& request);

// Answers with the folio statement of the guest in house in the requested room.
void GetStatement(const ExchangeContext& context, int connection, const TXmlDocument& request);

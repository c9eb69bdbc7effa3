#include "exchange/actions.h"

void RoomService(const ExchangeContext&, int, const TXmlDocument&) {}

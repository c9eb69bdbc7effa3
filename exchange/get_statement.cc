#include "exchange/actions.h"

void GetStatement(const ExchangeContext&, int, const TXmlDocument&) {}

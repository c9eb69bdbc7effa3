#pragma once
// What every request is handled with: the side of the connection it came in on and the
// exchange's open tables.

#include "exchange/connection_side.h"
#include "exchange/exchange_tables.h"

struct ExchangeContext {
  ConnectionSide& side;
  ExchangeTables& tables;
};

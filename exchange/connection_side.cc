#include "exchange/connection_side.h"

#include "platform/clock/clock.h"

void ConnectionSide::PauseAfterReply(int ms) { zvclock::BusyWaitMs(ms); }

#pragma once
// Internal: bookkeeping between timers and the queue.

#include "platform/win/types.h"

namespace win::internal {

// The queue hands out a WM_TIMER: the timer may post again.
void TimerMessageTaken(Hwnd hwnd, uintptr_t id);
// Removes a waiting WM_TIMER of that timer from the queue.
void DropQueuedTimer(Hwnd hwnd, uintptr_t id);

}  // namespace win::internal

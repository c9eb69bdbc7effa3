#pragma once
// Waiting and letting the window breathe during long work.

namespace frame {

// Busy-waits until the tick count has advanced by at least `ms`; processes no messages.
void XWAITMILLISEC(int ms);

// Pumps the waiting messages `times` times, but only on every n-th call (n = settings
// XMULTITASK[1]; 0 pumps on every call) unless `force`; never inside itself.
void MULTITASK(int times = 1, bool force = false);

}  // namespace frame

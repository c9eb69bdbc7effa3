#pragma once
// One window notification registered by the owner: posted when its condition holds, and not
// posted again until the owner has reacted, so the queue never fills with repeats.

#include <cstdint>

#include "platform/sockets/csc32.h"

namespace sock {

class Notice {
 public:
  void Register(intptr_t window, uint32_t message) {
    window_ = window;
    message_ = message;
    registered_ = true;
    outstanding_ = false;
  }

  // Posts the message (handle as wParam) unless one is already waiting for the owner.
  void Raise(CscPoster poster, int32_t handle) {
    if (!registered_ || outstanding_ || !poster) return;
    outstanding_ = true;
    poster(window_, message_, static_cast<uintptr_t>(handle), 0);
  }

  // The owner has reacted; the next Raise posts again.
  void Answer() { outstanding_ = false; }

 private:
  intptr_t window_ = 0;
  uint32_t message_ = 0;
  bool registered_ = false;
  bool outstanding_ = false;
};

}  // namespace sock

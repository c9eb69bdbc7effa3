#pragma once
// Runs the program's message loop in a test until a condition holds.

#include <QTimer>
#include <chrono>
#include <functional>

#include "platform/win/message.h"

namespace testing_support {

// Dispatches the program's messages until `done` holds; false once `limit` of real time passed.
inline bool RunMessagesUntil(const std::function<bool()>& done,
                             std::chrono::milliseconds limit = std::chrono::seconds(20)) {
  QTimer wake_up;  // bounds each wait, so that the deadline is seen
  wake_up.start(10);
  const auto deadline = std::chrono::steady_clock::now() + limit;
  win::Msg msg;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    if (win::PeekMessage(&msg, win::PM_REMOVE)) {
      win::DispatchMessage(&msg);
    } else {
      win::WaitMessage();
    }
  }
  return true;
}

}  // namespace testing_support

// Timers: a QTimer per (window, id) whose timeout posts WM_TIMER unless one is waiting.

#include <QTimer>
#include <map>
#include <memory>
#include <utility>

#include "platform/win/message.h"
#include "platform/win/timer_internal.h"
#include "platform/win/window.h"

namespace win {
namespace {

struct TimerState {
  std::unique_ptr<QTimer> timer;
  bool message_waiting = false;
};

using TimerKey = std::pair<Hwnd, uintptr_t>;

std::map<TimerKey, TimerState>& Timers() {
  static std::map<TimerKey, TimerState> timers;
  return timers;
}

}  // namespace

uintptr_t SetTimer(Hwnd hwnd, uintptr_t id, uint32_t interval_ms) {
  EnsureApplication();
  if (!IsWindow(hwnd)) return 0;
  TimerKey key{hwnd, id};
  TimerState& state = Timers()[key];
  if (!state.timer) {
    state.timer = std::make_unique<QTimer>();
    QObject::connect(state.timer.get(), &QTimer::timeout, [key] {
      auto it = Timers().find(key);
      if (it == Timers().end() || it->second.message_waiting) return;
      it->second.message_waiting = PostMessage(key.first, WM_TIMER, key.second, 0);
    });
  }
  state.timer->start(static_cast<int>(interval_ms));
  return id;
}

bool KillTimer(Hwnd hwnd, uintptr_t id) {
  auto it = Timers().find({hwnd, id});
  if (it == Timers().end()) return false;
  Timers().erase(it);
  internal::DropQueuedTimer(hwnd, id);
  return true;
}

void KillTimersOf(Hwnd hwnd) {
  for (auto it = Timers().begin(); it != Timers().end();) {
    if (it->first.first == hwnd) {
      internal::DropQueuedTimer(hwnd, it->first.second);
      it = Timers().erase(it);
    } else {
      ++it;
    }
  }
}

namespace internal {

void TimerMessageTaken(Hwnd hwnd, uintptr_t id) {
  auto it = Timers().find({hwnd, id});
  if (it != Timers().end()) it->second.message_waiting = false;
}

}  // namespace internal
}  // namespace win

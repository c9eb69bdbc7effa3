#include "platform/win/message.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <deque>

#include "platform/clock/clock.h"
#include "platform/win/registry.h"
#include "platform/win/timer_internal.h"
#include "platform/win/window.h"

namespace win {
namespace {

const QEvent::Type kWakeEvent = static_cast<QEvent::Type>(QEvent::User + 417);

std::deque<Msg>& Queue() {
  static std::deque<Msg> queue;
  return queue;
}

int nesting_depth = 0;
int pump_suspended = 0;
bool wake_pending = false;

// Receives one wake-up per batch of posts; inside nested loops it drains the FIFO, while the
// main loop is innermost it leaves the messages to GetMessage.
class Pump : public QObject {
 public:
  bool event(QEvent* e) override {
    if (e->type() != kWakeEvent) return QObject::event(e);
    wake_pending = false;
    if (nesting_depth > 0 && pump_suspended == 0) DispatchPending();
    return true;
  }
};

Pump& ThePump() {
  static Pump* pump = new Pump;  // lives as long as the application
  return *pump;
}

void Wake() {
  if (wake_pending) return;
  wake_pending = true;
  QCoreApplication::postEvent(&ThePump(), new QEvent(kWakeEvent));
}

bool TakeFront(Msg* msg) {
  if (Queue().empty()) return false;
  *msg = Queue().front();
  Queue().pop_front();
  if (msg->message == WM_TIMER) internal::TimerMessageTaken(msg->hwnd, msg->wparam);
  return true;
}

}  // namespace

bool PostMessage(Hwnd hwnd, uint32_t msg, WPARAM wparam, LPARAM lparam) {
  EnsureApplication();
  if (hwnd != 0 && !IsWindow(hwnd)) return false;
  Queue().push_back({hwnd, msg, wparam, lparam});
  Wake();
  return true;
}

int PostMessageForModule(intptr_t hwnd, uint32_t msg, uintptr_t wparam, intptr_t lparam) {
  return PostMessage(hwnd, msg, wparam, lparam) ? 1 : 0;
}

void PostQuitMessage(int exit_code) { PostMessage(0, WM_QUIT, static_cast<WPARAM>(exit_code), 0); }

bool PeekMessage(Msg* msg, uint32_t remove) {
  EnsureApplication();
  internal::DeleteBuriedWidgets();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  if (Queue().empty()) return false;
  if (remove == PM_REMOVE) return TakeFront(msg);
  *msg = Queue().front();
  return true;
}

void WaitMessage() {
  EnsureApplication();
  if (!Queue().empty()) return;
  internal::DeleteBuriedWidgets();
  // Returns after the next batch of toolkit events: inside a nested loop the pump may have
  // dispatched what arrived, and the caller must look at its own state again.
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

bool GetMessage(Msg* msg) {
  while (!PeekMessage(msg, PM_REMOVE)) WaitMessage();
  return msg->message != WM_QUIT;
}

bool TranslateMessage(const Msg*) { return false; }

LRESULT DispatchMessage(const Msg* msg) {
  if (msg->hwnd == 0) return 0;  // thread messages have no window procedure
  return SendMessage(msg->hwnd, msg->message, msg->wparam, msg->lparam);
}

void DispatchPending(const std::function<bool(const Msg&)>& take) {
  Msg msg;
  while (TakeFront(&msg)) {
    if (msg.message == WM_QUIT) {
      // Nested loops leave WM_QUIT to the main loop, like the classic modal loops do.
      Queue().push_front(msg);
      return;
    }
    if (take && take(msg)) continue;
    DispatchMessage(&msg);
  }
}

NestedLoopScope::NestedLoopScope() { ++nesting_depth; }
NestedLoopScope::~NestedLoopScope() { --nesting_depth; }
int NestingDepth() { return nesting_depth; }

void RepaintDuring(int ms) {
  EnsureApplication();
  ++pump_suspended;
  uint32_t start = zvclock::TickCount();
  while (zvclock::TickCount() - start < static_cast<uint32_t>(ms)) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                    QEventLoop::ExcludeSocketNotifiers);
    zvclock::BusyWaitMs(10);
  }
  --pump_suspended;
  if (!Queue().empty()) {
    wake_pending = false;
    Wake();  // the wake-up eaten during the pause must not strand messages in a nested loop
  }
}

namespace internal {

void DropQueuedTimer(Hwnd hwnd, uintptr_t id) {
  std::erase_if(Queue(), [&](const Msg& m) {
    return m.hwnd == hwnd && m.message == WM_TIMER && m.wparam == id;
  });
}

}  // namespace internal
}  // namespace win

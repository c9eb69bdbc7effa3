#include "lib/ui/run_loop.h"

#include "lib/settings/settings.h"
#include "lib/ui/globals.h"
#include "lib/ui/wheel_routing.h"
#include "platform/clock/clock.h"
#include "platform/win/message.h"
#include "platform/win/window.h"

namespace ui {

void LOCALEXEC(bool wheel) {
  // Keyboard input reaches the dialogs' widgets directly, so draining the queue is all that
  // is left to do here; without the wheel flag a wheel turn goes to its window as it is.
  win::NestedLoopScope nested;
  if (!wheel) {
    win::DispatchPending();
    return;
  }
  WheelRouter router;
  win::DispatchPending([&router](const win::Msg& msg) {
    if (msg.message != win::WM_MOUSEWHEEL) return false;
    router.Route(msg);
    return true;
  });
}

void EMPTY_QUEUE() {
  win::Msg msg;
  while (win::PeekMessage(&msg, win::PM_NOREMOVE) && msg.message != win::WM_QUIT) {
    win::PeekMessage(&msg, win::PM_REMOVE);
    win::TranslateMessage(&msg);
    win::DispatchMessage(&msg);
  }
}

int MESSAGE_BOX(const std::string& text, const std::string& title, uint32_t type) {
  win::Hwnd focus = win::GetFocus();
  int answer = win::MessageBox(settings::Current().XAPPHANDLE, text, title, type);
  if (focus) win::SetFocus(focus);
  return answer;
}

bool SETTRANSPARENCY(win::Hwnd hwnd, int alpha) { return win::SetLayeredAlpha(hwnd, alpha); }

bool REMOVETRANSPARENCY(win::Hwnd hwnd) { return win::RemoveLayered(hwnd); }

void RUN_TRANSPARENCY(win::Hwnd hwnd, int from, int step) {
  if (settings::Current().XDOTRANSPARENCY != 1 || settings::Current().XREMOTE_SESSION != 0 ||
      step <= 0)
    return;
  SETTRANSPARENCY(hwnd, from);
  for (int i = 0; i <= (255 - from) / step; ++i) {
    SETTRANSPARENCY(hwnd, from + i * step);
    zvclock::BusyWaitMs(1);
  }
  REMOVETRANSPARENCY(hwnd);
}

}  // namespace ui

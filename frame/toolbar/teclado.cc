#include "frame/toolbar/teclado.h"

#include <strings.h>

#include "lib/ui/handler_chain.h"
#include "platform/win/message.h"
#include "platform/win/window.h"

namespace frame {
namespace {

// Keys 300 to 389 type their own text; 390 erases the character before the caret, 391 types a
// blank. Control 2 closes the keyboard.
constexpr int kFirstCharacterKey = 300;
constexpr int kLastCharacterKey = 389;
constexpr int kBackspaceKey = 390;
constexpr int kSpaceKey = 391;
constexpr uintptr_t kFocusTimer = 1;
constexpr uint32_t kFocusCheckMs = 200;

struct Keyboard {
  win::Hwnd window = 0;
  win::Hwnd target = 0;
};

Keyboard& State() {
  static Keyboard keyboard;
  return keyboard;
}

bool IsWithin(win::Hwnd hwnd, win::Hwnd ancestor) {
  for (; hwnd; hwnd = win::GetParent(hwnd)) {
    if (hwnd == ancestor) return true;
  }
  return false;
}

bool IsWritableEdit(win::Hwnd hwnd) {
  return win::IsWindow(hwnd) && strcasecmp(win::GetClassName(hwnd).c_str(), "Edit") == 0 &&
         win::IsWindowEnabled(hwnd) &&
         !(win::GetWindowLongPtr(hwnd, win::GWL_STYLE) & win::ES_READONLY) &&
         !IsWithin(hwnd, State().window);
}

// Follows the user into another edit control (the keys themselves take the focus when pressed).
void FollowFocus() {
  win::Hwnd focus = win::GetFocus();
  if (IsWritableEdit(focus)) State().target = focus;
}

void Type(const std::string& text) {
  win::Hwnd target = State().target;
  if (!IsWritableEdit(target)) return;
  win::SendMessage(target, win::EM_REPLACESEL, 1, reinterpret_cast<win::LPARAM>(text.c_str()));
  win::SetFocus(target);
}

void Backspace() {
  win::Hwnd target = State().target;
  if (!IsWritableEdit(target)) return;
  uint32_t start = 0, end = 0;
  win::SendMessage(target, win::EM_GETSEL, reinterpret_cast<win::WPARAM>(&start),
                   reinterpret_cast<win::LPARAM>(&end));
  if (start == end && start > 0) win::SendMessage(target, win::EM_SETSEL, start - 1, end);
  Type("");
}

intptr_t KeyboardProc(win::Hwnd hwnd, uint32_t message, win::WPARAM wparam, win::LPARAM) {
  switch (message) {
    case win::WM_TIMER:
      if (wparam == kFocusTimer) FollowFocus();
      return 1;
    case win::WM_COMMAND: {
      const int id = win::LoWord(wparam);
      if (id >= kFirstCharacterKey && id <= kLastCharacterKey) {
        Type(win::GetWindowText(win::GetDlgItem(hwnd, id)));
      } else if (id == kBackspaceKey) {
        Backspace();
      } else if (id == kSpaceKey) {
        Type(" ");
      } else if (id == win::IDCANCEL) {
        win::DestroyWindow(hwnd);
      } else {
        return 0;
      }
      return 1;
    }
    case win::WM_DESTROY:
      State() = {};
      return 0;
    default:
      return 0;
  }
}

}  // namespace

void OpenKeyboard(win::Hwnd target) {
  Keyboard& keyboard = State();
  if (!win::IsWindow(keyboard.window)) {
    keyboard.window = ui::CREATEDIALOG(0, "TECLADO", 0, &KeyboardProc);
    if (!keyboard.window) return;
    win::SetTimer(keyboard.window, kFocusTimer, kFocusCheckMs);
  }
  FollowFocus();
  if (IsWritableEdit(target)) keyboard.target = target;
  win::ShowWindow(keyboard.window, win::SW_SHOW);
  win::BringWindowToTop(keyboard.window);
  if (keyboard.target) win::SetFocus(keyboard.target);
}

win::Hwnd KeyboardWindow() { return State().window; }

win::Hwnd KeyboardTarget() { return State().target; }

}  // namespace frame

#include "lib/ui/app.h"

#include <algorithm>
#include <cstdio>

#include "lib/ui/frame_placement.h"
#include "lib/ui/globals.h"
#include "lib/ui/menu_builder.h"
#include "lib/ui/run_loop.h"
#include "lib/ui/socket_hooks.h"
#include "lib/ui/wheel_routing.h"
#include "lib/ui/wtoolbar_dialog.h"
#include "platform/win/menu.h"
#include "platform/win/message.h"
#include "platform/win/window.h"

namespace ui {
namespace {

constexpr uint32_t kFrameStyle = 47120384;
constexpr uint32_t kMdiClientStyle = 1375731712;
constexpr uint32_t kChildCommand = 4101;
constexpr uint32_t kSetActive = 4128;
constexpr uint32_t kWmActivateApp = 28;

// STR() of a number: right-aligned in 10 characters.
std::string Str(int number) {
  char text[16];
  std::snprintf(text, sizeof text, "%10d", number);
  return text;
}

}  // namespace

KV_APP::~KV_APP() {
  if (Globals().OAPP == this) Globals().OAPP = nullptr;
}

bool KV_APP::Init(const std::string& class_name, const std::string& caption, int width,
                  int height) {
  Globals().OAPP = this;
  InstallSocketHooks();
  cClassName = class_name;
  cCaption = caption;
  aEVars[15] = 25;
  aEVars[12] = aEVars[2] = 1;
  if (!REGISTERCLASS(class_name)) return false;
  hwnd = win::CreateWindowEx(0, class_name, caption, kFrameStyle, 0, 0, width, height, 0, 0);
  if (!hwnd) return false;
  chain_position_ = SUBCLASSWINDOW(
      hwnd, [this](Hwnd h, uint32_t m, WPARAM w, LPARAM l) { return WndProc(h, m, w, l); }, -1);
  return true;
}

intptr_t KV_APP::WndProc(Hwnd h, uint32_t message, WPARAM w, LPARAM l) {
  auto chain = [&] { return CALLWINDOWPROC(chain_position_, h, message, w, l); };
  if (Busy()) return chain();
  switch (message) {
    case win::WM_SETCURSOR:
      return lLockApplication ? 1 : chain();
    case win::WM_SETFOCUS:
      aVars[7] = static_cast<intptr_t>(w);
      OnSetfocus();
      return chain();
    case kWmActivateApp:
      aEVars[2] = w != 0;
      return chain();
    case win::WM_SYSCOMMAND:
      if ((w & 0xFFF0) == win::SC_CLOSE) {
        std::optional<intptr_t> answer = HandleMessage(message, w, l);
        if (answer && *answer <= 0) return *answer;
        win::PostMessage(h, win::WM_CLOSE, 0, 0);
        return 0;
      }
      break;
    case win::WM_CLOSE: {
      int mode = l < 0 ? static_cast<int>(l) : 0;
      if (CloseApp(mode) == 0) return 0;
      win::DestroyWindow(h);
      return 1;
    }
    case win::WM_DESTROY:
      OnDestroy();
      CloseAllTables();
      win::PostQuitMessage(0);
      return 0;
    case win::WM_MOVE:
      OnMove();
      return 0;
    case win::WM_SIZE:
      OnSize();
      return 0;
    case kSetActive:
      hActive = static_cast<Hwnd>(w);
      return 0;
    case win::WM_COMMAND: {
      int id = win::LoWord(w);
      if (id >= 1 && id <= 99) {
        win::PostMessage(win::GetDlgItem(hMDIClient ? hMDIClient : h, id), kChildCommand,
                         static_cast<WPARAM>(id), 0);
      }
      OnCommand(w, l);
      return chain();
    }
    case win::WM_CREATE:
      OnCreate();
      return chain();
    default:
      break;
  }
  std::optional<intptr_t> answer = HandleMessage(message, w, l);
  return answer ? *answer : chain();
}

intptr_t KV_APP::CloseApp(int mode) {
  auto open = std::find_if(aDlgWnd.begin(), aDlgWnd.end(), [](const DialogEntry& e) {
    return e.flag == 1 && win::IsWindow(e.hwnd);
  });
  if (open != aDlgWnd.end()) {
    hActive = open->hwnd;
    WPARAM request = mode == -1 ? 1106 : mode == -2 ? 1104 : 1002;
    win::SendMessage(hActive, 4100, request, 0);
    return 0;
  }
  return OnClose() ? 1 : 0;
}

bool KV_APP::OnClose() {
  if (lSavePos && !hMasterWnd) SaveFramePlacement(hwnd, cClassName);
  return true;
}

void KV_APP::AddDlgHandle(const DialogEntry& entry) { aDlgWnd.push_back(entry); }

void KV_APP::DeleteDlgHandle(Hwnd dialog) {
  std::erase_if(aDlgWnd, [dialog](const DialogEntry& e) { return e.hwnd == dialog; });
  if (aDlgWnd.empty() && win::IsWindow(hwnd)) win::SetFocus(hwnd);
}

void KV_APP::QUIT() { win::PostMessage(hwnd, win::WM_SYSCOMMAND, win::SC_CLOSE, 0); }

int WAPP::EXEC22() {
  WheelRouter wheel;
  win::Msg msg;
  while (win::GetMessage(&msg)) {
    if (msg.message == win::WM_MOUSEWHEEL) {
      wheel.Route(msg);
      continue;
    }
    if (msg.message == win::WM_TIMER) wheel.EndScrollBeforeTimer();
    // F10 would open the menu bar.
    if (msg.message == win::WM_SYSKEYDOWN && msg.wparam == win::VK_F10) continue;
    win::TranslateMessage(&msg);
    win::DispatchMessage(&msg);
  }
  win::UnregisterClass(cClassName);
  return static_cast<int>(msg.wparam);
}

void WAPP::OnCommand(WPARAM w, LPARAM) {
  int id = win::LoWord(w);
  WMENUITEM* item = MENU ? MENU->GetItem(id) : nullptr;
  if (!item && Globals().OCURMENU) item = Globals().OCURMENU->GetItem(id);
  if (!item) {
    MESSAGE_BOX("Menuitem no encontrado: " + Str(id));
    return;
  }
  if (item->Action) item->Action();
}

void WAPP::MENUSET() {
  if (MENU && win::GetMenu(hwnd) != MENU->hMenu) win::SetMenu(hwnd, MENU->hMenu);
}

bool MDIFRAME::Init(const std::string& class_name, const std::string& caption) {
  if (!KV_APP::Init(class_name, caption)) return false;
  aEVars[4] = 16;
  hMDIClient = win::CreateWindowEx(0, "MdiClient", "", kMdiClientStyle, win::kUseDefault,
                                   win::kUseDefault, 0, 0, hwnd, 0);
  UpdateClient();
  return hMDIClient != 0;
}

void MDIFRAME::UpdateClient() {
  win::Rect client = win::GetClientRect(hwnd);
  aClient = {client.left, client.top, client.right - 1, client.bottom - 1};
  if (oToolBar) {
    oToolBar->FitWidth(client.right - client.left);
    aClient[1] += oToolBar->Height() + 2;
  }
  aClient[3] -= ReservedBottom();
  win::MoveWindow(hMDIClient, aClient[0] + 2, aClient[1] + 2, aClient[2] - aClient[0] - 3,
                  aClient[3] - aClient[1] - 3, true);
}

void MDIFRAME::Show(int command) {
  if (lSavePos) RestoreFramePlacement(hwnd, cClassName);
  win::ShowWindow(hwnd, command);
}

}  // namespace ui

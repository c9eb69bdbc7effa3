#include "lib/ui/wdialog.h"

#include <strings.h>

#include <algorithm>

#include "lib/settings/settings.h"
#include "lib/ui/app.h"
#include "lib/ui/globals.h"
#include "lib/ui/run_loop.h"
#include "lib/ui/term_replace.h"
#include "lib/ui/texts.h"
#include "platform/win/call_chain.h"
#include "platform/win/gdi.h"
#include "platform/win/message.h"
#include "platform/win/window.h"

namespace ui {
namespace {

constexpr uint32_t kDialogStyle = 1154351298;
constexpr uint32_t kSizingBorder = 262144;
constexpr int kCreateAttempts = 10;
// Special-button requests: 1525..1527 ask for a redraw of a released button, 1528 is it.
constexpr uint32_t kButtonRelease = 1525, kButtonDeactivated = 1526, kButtonReactivated = 1527,
                   kButtonRedraw = 1528;
constexpr uint32_t kSetTextFromAddress = 2022;

bool IsPushButton(const win::DialogItemTemplate& item) {
  return strcasecmp(item.class_name.c_str(), "Button") == 0 && (item.style & 0xF) <= 1;
}

}  // namespace

WDIALOG* WDIALOG::Init(WindowObject* parent, const std::string& name,
                       const win::DialogTemplate* description, int position, bool visible,
                       bool resizable) {
  Executing_Init = 1;
  LOCALEXEC();
  KV_APP* app = Globals().OAPP;
  oParent = parent ? parent : app;
  cDlgName = cIniEntry = name;
  hwnd = 0;
  lDestroyed = false;
  Button_Style = settings::Current().XBUTTON_STYLE;
  if (!description) {
    MESSAGE_BOX(LibraryText(212) + name, LibraryText(208), 48);
    Executing_Init = 0;
    return this;
  }
  if (app) app->SetBusy(true);
  hWndParent = oParent ? oParent->WindowHandle() : 0;
  for (int attempt = 0; attempt < kCreateAttempts && !hwnd; ++attempt) {
    hwnd = MakeWindow(*description, position, resizable);
  }
  if (app) app->SetBusy(false);
  if (!hwnd) {
    MESSAGE_BOX(LibraryText("DIALOG_CREATE_ERROR") + name);
    Executing_Init = 0;
    return nullptr;
  }
  hWnd_Public = hwnd;
  Hwnd focus = win::GetFocus();
  if (focus && strcasecmp(win::GetClassName(focus).c_str(), "Edit") == 0) {
    win::PostMessage(focus, win::EM_SETSEL, static_cast<WPARAM>(-1), 0);
  }
  if (visible) win::ShowWindow(hwnd, win::SW_SHOWNORMAL);
  Executing_Init = 0;
  return this;
}

Hwnd WDIALOG::MakeWindow(const win::DialogTemplate& description, int position, bool resizable) {
  win::DialogTemplate made = description;
  made.style = kDialogStyle - (resizable ? 0 : kSizingBorder);
  if (!settings::Current().XGLOBAL_FONT_NAME.empty())
    made.font_name = settings::Current().XGLOBAL_FONT_NAME;
  win::DialogBaseUnits units = win::BaseUnitsFor(made.font_name, made.font_size);
  int width_px = made.cx * units.x / 4;
  made.x = made.y = 0;
  if (position == 1) made.x = (win::GetSystemMetrics(0) - width_px) * 4 / units.x;
  if (position == 2) {
    made.x = (400 - width_px / 2) * 4 / units.x;
    made.y = (200 - made.cy * units.y / 16) * 8 / units.y;
  }
  std::vector<int> special_ids;
  for (win::DialogItemTemplate& item : made.items) {
    item.text = ReplaceTerms(item.text, settings::Current().XTRADUCT);
    if (!IsPushButton(item)) continue;
    if (Button_Style != 0) {
      item.style = (item.style & ~0xFu) | win::BS_OWNERDRAW | win::WS_TABSTOP;
    } else {
      item.style |= win::BS_MULTILINE;
    }
    special_ids.push_back(item.id);
  }
  KV_APP* app = Globals().OAPP;
  Hwnd container = IsMdiChild() && app && app->hMDIClient ? app->hMDIClient : hWndParent;
  auto self = std::static_pointer_cast<WDIALOG>(shared_from_this());
  Hwnd made_hwnd = CreateDialogFromDescription(
      made, container,
      [self](Hwnd h, uint32_t m, WPARAM w, LPARAM l) { return self->DlgProc(h, m, w, l); });
  if (!made_hwnd) return 0;
  hwnd = made_hwnd;
  if (IsMdiChild()) {
    win::SendMessage(hwnd, win::WM_CHILDACTIVATE, 0, 0);
    if (app) app->ACTIVE_CHILD = hwnd;
    win::BringWindowToTop(hwnd);
    win::SendMessage(hwnd, win::WM_SETFOCUS, 0, 0);
  }
  for (int id : special_ids) {
    Hwnd button = win::GetDlgItem(hwnd, id);
    Special_Buttons.push_back(button);
    SubclassSpecialButton(button, Button_Style != 0);
  }
  return hwnd;
}

void WDIALOG::SubclassSpecialButton(Hwnd button, bool owner_drawn) {
  auto below = std::make_shared<int>(0);
  auto callback = [below](Hwnd h, uint32_t m, WPARAM w, LPARAM l) -> intptr_t {
    if (m == kSetTextFromAddress && l) {
      win::SetWindowText(h, reinterpret_cast<const char*>(l));
      win::InvalidateRect(h);
      return 0;
    }
    return CALLWINDOWPROC(*below, h, m, w, l);
  };
  if (owner_drawn) {
    *below = SUBCLASSWINDOW(button, callback,
                            {512, 513, 514, 1525, 1526, 1527, 1528, 2022, 2021, 2020, 20});
  } else {
    *below = SUBCLASSWINDOW(button, callback, {kSetTextFromAddress});
  }
}

WDIALOG& WDIALOG::Add(WCONTROLWINDOW& control, ControlCallback command, ControlCallback valid,
                      ControlCallback when) {
  aItems.push_back(&control);
  abCmd.push_back(std::move(command));
  abValid.push_back(std::move(valid));
  abWhen.push_back(std::move(when));
  xItems.push_back(0);
  return *this;
}

void WDIALOG::EndDialog(intptr_t) {
  if (Executing_Init) return;
  CloseIt(win::MakeWParam(win::IDCANCEL, 0), 0);
}

std::string WDIALOG::Text() const { return win::GetWindowText(hwnd); }
void WDIALOG::_Text(const std::string& text) { win::SetWindowText(hwnd, text); }

void WDIALOG::ActivateAsChild(Hwnd h) {
  win::PostMessage(h, kButtonRelease, 0, 0);
  KV_APP* app = Globals().OAPP;
  if (!app || app->ACTIVE_CHILD == h) return;
  Hwnd previous = app->ACTIVE_CHILD;
  if (previous && win::IsWindow(previous)) {
    win::SendMessage(previous, kButtonDeactivated, 0, 0);
    win::SendMessage(previous, win::WM_NCACTIVATE, 0, 0);
    win::SendMessage(previous, win::WM_MDIACTIVATE, 0, 0);
  }
  win::SendMessage(h, win::WM_NCACTIVATE, 1, 0);
  win::SendMessage(h, win::WM_MDIACTIVATE, 1, 0);
  win::SendMessage(h, win::WM_ACTIVATE, 1, 0);
  win::PostMessage(h, win::WM_SETFOCUS, 0, 0);
  app->ACTIVE_CHILD = h;
  win::BringWindowToTop(h);
}

intptr_t WDIALOG::DlgProc(Hwnd h, uint32_t message, WPARAM w, LPARAM l) {
  win::CallScope scope(cDlgName + ":" + win::MessageName(message));
  KV_APP* app = Globals().OAPP;
  switch (message) {
    case win::WM_CHILDACTIVATE:
      if (IsMdiChild()) ActivateAsChild(h);
      return 0;
    case win::WM_DESTROY:
      if (app && IsMdiChild()) app->NEXT_ACTIVE = win::GetNextSibling(h);
      break;
    case win::WM_NCDESTROY:
      for (WCONTROLWINDOW* item : aItems) item->Axit();
      if (!IsMdiChild()) break;
      if (app && app->NEXT_ACTIVE && win::IsWindow(app->NEXT_ACTIVE)) {
        Hwnd next = app->NEXT_ACTIVE;
        win::SendMessage(next, win::WM_NCACTIVATE, 1, 0);
        win::SendMessage(next, win::WM_MDIACTIVATE, 1, 0);
        win::SendMessage(next, win::WM_ACTIVATE, 1, 0);
        win::SendMessage(next, kButtonReactivated, 0, 0);
        win::SendMessage(next, win::WM_SETFOCUS, 0, 0);
      }
      if (app) app->ACTIVE_CHILD = app->NEXT_ACTIVE;
      break;
    case win::WM_COMMAND:
      if (Result consumed = OnCommand(w, l)) return *consumed;
      break;
    case win::WM_DRAWITEM: {
      auto* item = reinterpret_cast<const win::DrawItem*>(l);
      if (item && std::find(Special_Buttons.begin(), Special_Buttons.end(), item->hwnd) !=
                      Special_Buttons.end()) {
        win::DrawButtonFace(item->hdc, item->rect, win::GetWindowText(item->hwnd), item->pressed,
                            Button_Style);
        return 1;
      }
      break;
    }
    case kButtonRelease:
    case kButtonDeactivated:
    case kButtonReactivated:
      // A request posts the redraw; the redraw itself posts nothing, so this never loops.
      win::PostMessage(h, win::WM_SETFOCUS, 0, 0);
      win::PostMessage(h, kButtonRedraw, 0, 0);
      return 0;
    case kButtonRedraw:
      for (Hwnd button : Special_Buttons) win::InvalidateRect(button);
      return 0;
    default:
      break;
  }
  return DispatchTable(message, w, l);
}

Result WDIALOG::OnCommand(WPARAM w, LPARAM l) {
  if (Executing_Init || Executing_CloseIt || Executing_Eval) return 0;
  for (size_t i = 0; i < aItems.size(); ++i) {
    if (!l || aItems[i]->hWnd != static_cast<Hwnd>(l)) continue;
    if (xItems[i]) return 0;  // its callback is running
    if (!abCmd[i]) return 0;
    auto self = shared_from_this();  // the callback may close the dialog
    // Cleared on the way out even when the callback raises, or the dialog would ignore every
    // later command.
    struct Running {
      WDIALOG& dialog;
      size_t item;
      ~Running() {
        dialog.xItems[item] = 0;
        dialog.Executing_Eval = 0;
      }
    } running{*this, i};
    xItems[i] = 1;
    Executing_Eval = 1;
    return abCmd[i](*this, *aItems[i], win::HiWord(w)).value_or(0);
  }
  return CommandWithoutControl(w, l);
}

Result WDIALOG::OnCOMMAND(WPARAM w, LPARAM l) {
  if (Executing_Init || Executing_CloseIt || Executing_Eval) return 0;
  return CommandWithoutControl(w, l);
}

Result WDIALOG::CommandWithoutControl(WPARAM w, LPARAM l) {
  int id = win::LoWord(w);
  if (id == win::IDOK) OK();
  if (id == win::IDCANCEL) Cancel();
  return CloseIt(w, l);
}

Result WDIALOG::CloseIt(WPARAM w, LPARAM) {
  int id = win::LoWord(w);
  if (id == 16) win::EndDialog(hwnd, 0);
  if ((id != win::IDCANCEL && id != 3) || lDestroyed) return {};
  auto self = shared_from_this();
  Executing_CloseIt = 1;
  Special_Buttons.clear();
  lDestroyed = true;
  win::EndDialog(hwnd, id);
  win::DestroyWindow(hwnd);
  Executing_CloseIt = 0;
  return 1;
}

}  // namespace ui

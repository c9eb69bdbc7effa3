#include "lib/ui/wdiag.h"

#include "lib/settings/settings.h"
#include "lib/ui/app.h"
#include "lib/ui/dialog_log.h"
#include "lib/ui/globals.h"
#include "platform/win/message.h"
#include "platform/win/window.h"

namespace ui {
namespace {

constexpr uint32_t kMenuSwitch = 2825;

}  // namespace

WDIAG* WDIAG::Init(WindowObject* parent, const std::string& template_name, bool, bool,
                   bool tab_flag, int position, bool visible, bool resizable) {
  FONTS.clear();
  T_FONTS.clear();
  FIX_POS.clear();
  TAB_VARS.assign(18, 0);
  TAB_VARS[14] = tab_flag ? 1 : 0;
  LogDialogOpening(template_name);
  const win::DialogTemplate* description = FindDialogTemplate(template_name);
  return WDIALOG::Init(parent, template_name, description, position, visible, resizable) ? this
                                                                                         : nullptr;
}

int WDIAG::Create(const std::string& template_name) {
  win::ShowWindow(hwnd, win::SW_SHOW);
  settings::Current().XDGROUPLIMIT = 3500;
  cnID_aDlg = template_name;
  auto self = std::static_pointer_cast<WDIAG>(shared_from_this());
  auto below = std::make_shared<int>(0);
  *below = SUBCLASSWINDOW(hwnd,
                          [self, below](Hwnd h, uint32_t m, WPARAM w, LPARAM l) {
                            return self->Subclass(*below, h, m, w, l);
                          },
                          {5, 546, 130, 2023, 2825, 70, 71, 0, 1, 2, 3, 4});
  win::PostMessage(hwnd, kMenuSwitch, 1, 0);
  return 0;
}

intptr_t WDIAG::Subclass(int below, Hwnd h, uint32_t message, WPARAM w, LPARAM l) {
  switch (message) {
    case win::WM_MDIACTIVATE:
      win::PostMessage(h, kMenuSwitch, w, l);
      break;
    case kMenuSwitch:
      if ((w == 1 || w == 2) && settings::Current().XCONSTRUCTINGMENU == 0) {
        if (Globals().OAPP) Globals().OAPP->MENUSET();
        if (!TAB_VARS.empty()) TAB_VARS[16] = 1;
      } else if (w == 0 && !TAB_VARS.empty()) {
        TAB_VARS[16] = 0;
      }
      break;
    case win::WM_NCDESTROY:
      FONTS.clear();
      TAB_VARS.clear();
      break;
    case win::WM_WINDOWPOSCHANGED:
      if (settings::Current().XWIN_ATRIB.size() > 1 && settings::Current().XWIN_ATRIB[1] == 1) {
        win::Rect r = win::GetWindowRect(h);
        if (r.left != 0 || r.top != 0) {
          win::MoveWindow(h, 0, 0, r.right - r.left, r.bottom - r.top, true);
        }
        return 0;
      }
      break;
    default:
      break;
  }
  return CALLWINDOWPROC(below, h, message, w, l);
}

intptr_t DIALOG_BOX(int instance, const std::string& template_name, Hwnd owner, Callback callback) {
  (void)owner;  // the main frame owns every modal dialog
  KV_APP* app = Globals().OAPP;
  Hwnd previous = app ? app->ACTIVE_CHILD : 0;
  if (previous) {
    win::SendMessage(previous, win::WM_NCACTIVATE, 0, 0);
    win::SendMessage(previous, win::WM_MDIACTIVATE, 0, 0);
  }
  LogDialogOpening(template_name);
  Hwnd focus = win::GetFocus();
  intptr_t result =
      DIALOGBOX(instance, template_name, settings::Current().XAPPHANDLE, std::move(callback));
  if (app && previous && win::IsWindow(previous)) {
    app->ACTIVE_CHILD = previous;
    win::SendMessage(previous, win::WM_NCACTIVATE, 1, 0);
    win::SendMessage(previous, win::WM_MDIACTIVATE, 1, 0);
  }
  if (focus) win::SetFocus(focus);
  return result;
}

}  // namespace ui

#include "lib/ui/wtoolbar_dialog.h"

#include "lib/ui/app.h"
#include "lib/ui/globals.h"
#include "platform/win/window.h"

namespace ui {

WTOOLBARDIALOG::~WTOOLBARDIALOG() { LeaveFrame(); }

WTOOLBARDIALOG* WTOOLBARDIALOG::Init(WindowObject* frame, const std::string& template_name) {
  if (!WDIALOG::Init(frame, template_name, FindDialogTemplate(template_name), 0, true, true) ||
      !hwnd) {
    return nullptr;
  }
  auto* mdi_frame = dynamic_cast<MDIFRAME*>(frame);
  if (mdi_frame && frame == Globals().OAPP) {
    mdi_frame->oToolBar = this;
    mdi_frame->UpdateClient();
  } else if (frame) {
    FitWidth(win::GetClientRect(frame->WindowHandle()).right);
  }
  return this;
}

int WTOOLBARDIALOG::Height() const {
  if (!win::IsWindow(hwnd)) return 0;
  win::Rect client = win::GetClientRect(hwnd);
  return client.bottom - client.top;
}

void WTOOLBARDIALOG::FitWidth(int width) {
  if (!win::IsWindow(hwnd)) return;
  win::Rect outer = win::GetWindowRect(hwnd);
  win::MoveWindow(hwnd, 0, 0, width, outer.bottom - outer.top, true);
}

Result WTOOLBARDIALOG::OnNCDESTROY(WPARAM, LPARAM) {
  LeaveFrame();
  return {};
}

void WTOOLBARDIALOG::LeaveFrame() {
  auto* mdi_frame = dynamic_cast<MDIFRAME*>(Globals().OAPP);
  if (!mdi_frame || mdi_frame->oToolBar != this) return;
  mdi_frame->oToolBar = nullptr;
  if (win::IsWindow(mdi_frame->hwnd)) mdi_frame->UpdateClient();
}

}  // namespace ui

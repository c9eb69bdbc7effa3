#include "platform/win/dialog.h"

#include <QFont>
#include <QFontMetrics>
#include <QWidget>

#include "platform/win/message.h"
#include "platform/win/registry.h"
#include "platform/win/text_codec.h"
#include "platform/win/window.h"

namespace win {
namespace {

constexpr const char* kDialogClass = "#32770";

QFont DialogFont(const std::string& name, int point_size) {
  QFont font(name.empty() ? QString("DejaVu Sans") : FromAnsi(name));
  font.setPointSize(point_size > 0 ? point_size : 8);
  return font;
}

}  // namespace

DialogBaseUnits BaseUnitsFor(const std::string& font_name, int point_size) {
  EnsureApplication();
  QFontMetrics metrics(DialogFont(font_name, point_size));
  // The classic rule: average width of the 52 letters, and the font height.
  int letters = metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  DialogBaseUnits units{(letters / 26 + 1) / 2, metrics.height()};
  if (units.x <= 0 || units.y <= 0) return {};
  return units;
}

Hwnd CreateDialogIndirect(const DialogTemplate& tmpl, Hwnd parent, WndProc dlg_proc,
                          LPARAM init_param) {
  DialogBaseUnits units = BaseUnitsFor(tmpl.font_name, tmpl.font_size);
  auto px = [&](int v) { return v * units.x / 4; };
  auto py = [&](int v) { return v * units.y / 8; };
  uint32_t style = tmpl.style & ~WS_VISIBLE;  // shown only once it is complete
  Hwnd dialog = CreateWindowEx(tmpl.ex_style, kDialogClass, tmpl.title, style, px(tmpl.x),
                               py(tmpl.y), px(tmpl.cx), py(tmpl.cy), parent, 0);
  internal::WindowRecord* record = internal::Find(dialog);
  if (!record) return 0;
  record->dlg_proc = dlg_proc;
  QWidget* page = record->widget;
  page->setFont(DialogFont(tmpl.font_name, tmpl.font_size));
  if (style & WS_THICKFRAME) {
    page->setMinimumSize(px(tmpl.cx), py(tmpl.cy));
    record->outer->adjustSize();
    page->setMinimumSize(0, 0);
  } else {
    page->setFixedSize(px(tmpl.cx), py(tmpl.cy));
    record->outer->adjustSize();
  }
  Hwnd first_control = 0;
  for (const DialogItemTemplate& item : tmpl.items) {
    Hwnd control = CreateWindowEx(0, item.class_name, item.text, item.style | WS_CHILD, px(item.x),
                                  py(item.y), px(item.cx), py(item.cy), dialog, item.id);
    if (!control) {
      DestroyWindow(dialog);
      return 0;
    }
    if (!first_control) first_control = control;
  }
  if (SendMessage(dialog, WM_INITDIALOG, static_cast<WPARAM>(first_control), init_param) &&
      first_control) {
    SetFocus(first_control);
  }
  if (IsWindow(dialog) && (tmpl.style & WS_VISIBLE)) ShowWindow(dialog, SW_SHOW);
  return IsWindow(dialog) ? dialog : 0;
}

intptr_t DialogBoxIndirect(const DialogTemplate& tmpl, Hwnd owner, WndProc dlg_proc,
                           LPARAM init_param) {
  DialogTemplate modal = tmpl;
  modal.style &= ~WS_CHILD;
  Hwnd dialog = CreateDialogIndirect(modal, 0, dlg_proc, init_param);
  if (!dialog) return -1;
  bool owner_was_enabled = owner && IsWindowEnabled(owner);
  if (owner_was_enabled) EnableWindow(owner, false);
  internal::WindowRecord* record = internal::Find(dialog);
  if (!record->dialog_ended) ShowWindow(dialog, SW_SHOW);
  intptr_t result = 0;
  {
    NestedLoopScope nested;
    Msg msg;
    while ((record = internal::Find(dialog)) && !record->dialog_ended) {
      if (!PeekMessage(&msg, PM_REMOVE)) {
        WaitMessage();
      } else if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wparam));  // the main loop must still see it
        break;
      } else {
        DispatchMessage(&msg);
      }
    }
    if (record) result = record->dialog_result;
  }
  if (owner_was_enabled) EnableWindow(owner, true);
  DestroyWindow(dialog);
  return result;
}

bool EndDialog(Hwnd dialog, intptr_t result) {
  internal::WindowRecord* record = internal::Find(dialog);
  if (!record || record->kind != internal::WidgetKind::kDialog) return false;
  record->dialog_ended = true;
  record->dialog_result = result;
  ShowWindow(dialog, SW_HIDE);
  return true;
}

namespace internal {

// The window procedure of the dialog class: the dialog procedure first; what it leaves
// (result 0) gets the default dialog handling.
LRESULT DialogWindowProc(Hwnd hwnd, uint32_t msg, WPARAM wparam, LPARAM lparam) {
  WindowRecord* record = Find(hwnd);
  if (record && record->dlg_proc) {
    LRESULT handled = record->dlg_proc(hwnd, msg, wparam, lparam);
    if (handled) return handled;
  }
  switch (msg) {
    case WM_CLOSE:
      PostMessage(hwnd, WM_COMMAND, MakeWParam(IDCANCEL, BN_CLICKED), GetDlgItem(hwnd, IDCANCEL));
      return 0;
    case WM_INITDIALOG:
      return 1;
    default:
      return DefWindowProc(hwnd, msg, wparam, lparam);
  }
}

}  // namespace internal
}  // namespace win

#pragma once
// Internal: the table of live windows and classes behind the handles.

#include <QPointer>
#include <QWidget>
#include <map>
#include <memory>
#include <string>

#include "platform/win/types.h"

namespace win::internal {

enum class WidgetKind {
  kGeneric,
  kFrame,
  kDialog,
  kEdit,
  kPushButton,
  kOwnerDrawButton,
  kCheckBox,
  kListBox,
  kComboBox,
  kStatic,
  kMdiClient
};

struct WindowRecord {
  Hwnd hwnd = 0;
  std::string class_name;
  WidgetKind kind = WidgetKind::kGeneric;
  WndProc proc = nullptr;
  intptr_t user_data = 0;
  Hwnd parent = 0;
  int id = 0;
  uint32_t style = 0;
  uint32_t ex_style = 0;
  Hmenu menu = 0;
  int alpha = 255;
  bool destroying = false;
  QPointer<QWidget> widget;  // what the user sees; for dialogs in an MDI client, the inner page
  QPointer<QWidget> outer;   // the widget that is moved and shown (MDI sub-window or `widget`)
  // Dialogs only.
  WndProc dlg_proc = nullptr;
  intptr_t dlg_msg_result = 0;
  bool dialog_ended = false;
  intptr_t dialog_result = 0;
};

WindowRecord* Find(Hwnd hwnd);
// Finds the record whose widget is `widget` or one of its ancestors.
WindowRecord* FindByWidget(const QWidget* widget);
Hwnd Register(std::unique_ptr<WindowRecord> record);
void Unregister(Hwnd hwnd);
// Children of `parent` in creation order.
std::vector<Hwnd> ChildrenOf(Hwnd parent);

WndProc ClassProc(const std::string& class_name);
// Built-in class procedures, also the "previous procedure" of subclassed controls.
LRESULT EditProc(Hwnd, uint32_t, WPARAM, LPARAM);
LRESULT ButtonProc(Hwnd, uint32_t, WPARAM, LPARAM);
LRESULT ListBoxProc(Hwnd, uint32_t, WPARAM, LPARAM);
LRESULT ComboBoxProc(Hwnd, uint32_t, WPARAM, LPARAM);
LRESULT DialogWindowProc(Hwnd, uint32_t, WPARAM, LPARAM);

// Widgets whose window has gone are deleted later, never inside their own event handler.
void Bury(QWidget* widget);
void DeleteBuriedWidgets();

}  // namespace win::internal

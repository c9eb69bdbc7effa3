#include "platform/win/window.h"

#include <QApplication>
#include <QFont>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <algorithm>
#include <map>

#include "platform/win/call_chain.h"
#include "platform/win/message.h"
#include "platform/win/registry.h"
#include "platform/win/wheel_internal.h"
#include "platform/win/widgets.h"

namespace win {
namespace internal {
namespace {

std::map<Hwnd, std::unique_ptr<WindowRecord>>& Windows() {
  static std::map<Hwnd, std::unique_ptr<WindowRecord>> windows;
  return windows;
}

std::map<std::string, WndProc>& Classes() {
  static std::map<std::string, WndProc> classes = {
      {"button", ButtonProc},       {"edit", EditProc},        {"listbox", ListBoxProc},
      {"combobox", ComboBoxProc},   {"static", DefWindowProc}, {"mdiclient", DefWindowProc},
      {"#32770", DialogWindowProc},
  };
  return classes;
}

std::string Lower(const std::string& name) {
  return QString::fromStdString(name).toLower().toStdString();
}

std::vector<QPointer<QWidget>>& Graveyard() {
  static std::vector<QPointer<QWidget>> graveyard;
  return graveyard;
}

Hwnd next_hwnd = 0x1000;

}  // namespace

WindowRecord* Find(Hwnd hwnd) {
  auto it = Windows().find(hwnd);
  return it == Windows().end() ? nullptr : it->second.get();
}

WindowRecord* FindByWidget(const QWidget* widget) {
  for (const QWidget* w = widget; w; w = w->parentWidget()) {
    QVariant v = w->property("zvHwnd");
    if (v.isValid()) return Find(static_cast<Hwnd>(v.toLongLong()));
  }
  return nullptr;
}

Hwnd Register(std::unique_ptr<WindowRecord> record) {
  Hwnd hwnd = next_hwnd++;
  record->hwnd = hwnd;
  Windows()[hwnd] = std::move(record);
  return hwnd;
}

void Unregister(Hwnd hwnd) { Windows().erase(hwnd); }

std::vector<Hwnd> ChildrenOf(Hwnd parent) {
  std::vector<Hwnd> children;  // handles grow with creation, so map order is creation order
  for (auto& [hwnd, record] : Windows()) {
    if (record->parent == parent && (record->style & WS_CHILD)) children.push_back(hwnd);
  }
  return children;
}

WndProc ClassProc(const std::string& class_name) {
  auto it = Classes().find(Lower(class_name));
  return it == Classes().end() ? nullptr : it->second;
}

void Bury(QWidget* widget) {
  if (!widget) return;
  widget->hide();
  Graveyard().emplace_back(widget);
}

void DeleteBuriedWidgets() {
  auto buried = std::move(Graveyard());
  Graveyard().clear();
  for (auto& w : buried) delete w.data();
}

}  // namespace internal

using internal::Find;
using internal::WindowRecord;

void EnsureApplication() {
  if (QCoreApplication::instance()) return;
  static int argc = 1;
  static char name[] = "ziruvuz";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);  // lives until the process ends
  internal::InstallWheelFilter();
  // Dialog templates name the classic fonts; these stand in for them.
  QFont::insertSubstitution("Times New Roman", "DejaVu Serif");
  QFont::insertSubstitution("MS Sans Serif", "DejaVu Sans");
  QFont::insertSubstitution("Arial", "DejaVu Sans");
}

bool IsHeadless() {
  EnsureApplication();
  QString platform = QGuiApplication::platformName();
  return platform == "offscreen" || platform == "minimal";
}

bool RegisterClass(const std::string& class_name, WndProc proc) {
  if (!proc) return false;
  return internal::Classes().emplace(internal::Lower(class_name), proc).second;
}

bool UnregisterClass(const std::string& class_name) {
  return internal::Classes().erase(internal::Lower(class_name)) > 0;
}

Hwnd CreateWindowEx(uint32_t ex_style, const std::string& class_name, std::string_view text,
                    uint32_t style, int x, int y, int width, int height, Hwnd parent, int id) {
  EnsureApplication();
  WndProc proc = internal::ClassProc(class_name);
  WindowRecord* parent_record = Find(parent);
  if (!proc || (parent && !parent_record)) return 0;
  if (!parent) style &= ~WS_CHILD;
  auto record = std::make_unique<WindowRecord>();
  record->class_name = class_name;
  record->proc = proc;
  record->parent = parent;
  record->id = id;
  record->style = style;
  record->ex_style = ex_style;
  record->kind = internal::KindOfClass(class_name, style, !(style & WS_CHILD));
  WindowRecord& r = *record;
  Hwnd hwnd = internal::Register(std::move(record));
  QWidget* parent_widget = parent_record ? internal::ClientWidget(*parent_record) : nullptr;
  internal::MakeWidget(r, text, parent_widget);
  if (x != kUseDefault && y != kUseDefault) r.outer->move(x, y);
  if (width != kUseDefault && height != kUseDefault && width > 0 && height > 0) {
    r.outer->resize(width, height);
  }
  if (SendMessage(hwnd, WM_NCCREATE, 0, 0) == 0 || SendMessage(hwnd, WM_CREATE, 0, 0) == -1) {
    DestroyWindow(hwnd);
    return 0;
  }
  // A child the toolkit would show along with its parent stays hidden without WS_VISIBLE.
  if (style & WS_VISIBLE) {
    ShowWindow(hwnd, SW_SHOW);
  } else {
    r.outer->setVisible(false);
  }
  return hwnd;
}

namespace {

void SendDestroyMessages(Hwnd hwnd, std::vector<Hwnd>& order) {
  WindowRecord* record = Find(hwnd);
  if (!record || record->destroying) return;
  record->destroying = true;
  order.push_back(hwnd);
  SendMessage(hwnd, WM_DESTROY, 0, 0);
  for (Hwnd child : internal::ChildrenOf(hwnd)) SendDestroyMessages(child, order);
}

}  // namespace

bool DestroyWindow(Hwnd hwnd) {
  WindowRecord* record = Find(hwnd);
  if (!record || record->destroying) return false;
  if (record->outer) record->outer->hide();
  std::vector<Hwnd> order;
  SendDestroyMessages(hwnd, order);
  // WM_NCDESTROY children first, the window itself last.
  for (auto it = order.rbegin(); it != order.rend(); ++it) {
    KillTimersOf(*it);
    SendMessage(*it, WM_NCDESTROY, 0, 0);
    if (WindowRecord* gone = Find(*it)) {
      internal::Bury(gone->outer ? gone->outer.data() : gone->widget.data());
      internal::Unregister(*it);
    }
  }
  return true;
}

bool IsWindow(Hwnd hwnd) { return Find(hwnd) != nullptr; }

intptr_t GetWindowLongPtr(Hwnd hwnd, int index) {
  WindowRecord* r = Find(hwnd);
  if (!r) return 0;
  switch (index) {
    case GWLP_WNDPROC:
      return reinterpret_cast<intptr_t>(r->proc);
    case GWLP_USERDATA:
      return r->user_data;
    case GWLP_ID:
      return r->id;
    case GWL_STYLE:
      return r->style;
    case GWL_EXSTYLE:
      return r->ex_style;
    case DWLP_DLGPROC:
      return reinterpret_cast<intptr_t>(r->dlg_proc);
    case DWLP_MSGRESULT:
      return r->dlg_msg_result;
    default:
      return 0;
  }
}

intptr_t SetWindowLongPtr(Hwnd hwnd, int index, intptr_t value) {
  WindowRecord* r = Find(hwnd);
  if (!r) return 0;
  intptr_t previous = GetWindowLongPtr(hwnd, index);
  switch (index) {
    case GWLP_WNDPROC:
      if (value) r->proc = reinterpret_cast<WndProc>(value);
      break;
    case GWLP_USERDATA:
      r->user_data = value;
      break;
    case GWLP_ID:
      r->id = static_cast<int>(value);
      break;
    case GWL_STYLE:
      r->style = static_cast<uint32_t>(value);
      break;
    case GWL_EXSTYLE:
      r->ex_style = static_cast<uint32_t>(value);
      break;
    case DWLP_DLGPROC:
      r->dlg_proc = reinterpret_cast<WndProc>(value);
      break;
    case DWLP_MSGRESULT:
      r->dlg_msg_result = value;
      break;
    default:
      return 0;
  }
  return previous;
}

LRESULT CallWindowProc(WndProc proc, Hwnd hwnd, uint32_t msg, WPARAM wparam, LPARAM lparam) {
  return proc ? proc(hwnd, msg, wparam, lparam) : 0;
}

LRESULT SendMessage(Hwnd hwnd, uint32_t msg, WPARAM wparam, LPARAM lparam) {
  WindowRecord* r = Find(hwnd);
  if (!r || !r->proc) return 0;
  WndProc proc = r->proc;
  CallScope scope(r->class_name + ":" + MessageName(msg));
  try {
    return proc(hwnd, msg, wparam, lparam);
  } catch (...) {
    // An exception must not unwind into the toolkit, which called most of these sends.
    return ReportHandlerException();
  }
}

LRESULT DefWindowProc(Hwnd hwnd, uint32_t msg, WPARAM wparam, LPARAM lparam) {
  WindowRecord* r = Find(hwnd);
  if (!r) return 0;
  switch (msg) {
    case WM_NCCREATE:
      return 1;
    case WM_SETTEXT:
      internal::SetWidgetText(*r, lparam ? reinterpret_cast<const char*>(lparam) : "");
      return 1;
    case WM_GETTEXT: {
      if (wparam == 0 || !lparam) return 0;
      std::string text = internal::WidgetText(*r);
      size_t n = std::min<size_t>(text.size(), wparam - 1);
      std::copy_n(text.data(), n, reinterpret_cast<char*>(lparam));
      reinterpret_cast<char*>(lparam)[n] = '\0';
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(internal::WidgetText(*r).size());
    case WM_SYSCOMMAND:
      if ((wparam & 0xFFF0) == SC_CLOSE) SendMessage(hwnd, WM_CLOSE, 0, 0);
      return 0;
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_MOUSEWHEEL:
      internal::ScrollNatively(hwnd, wparam, lparam);
      return 0;
    default:
      return 0;
  }
}

std::string GetWindowText(Hwnd hwnd) {
  LRESULT length = SendMessage(hwnd, WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return {};
  std::string buffer(static_cast<size_t>(length) + 1, '\0');
  LRESULT copied =
      SendMessage(hwnd, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
  buffer.resize(static_cast<size_t>(std::max<LRESULT>(copied, 0)));
  return buffer;
}

bool SetWindowText(Hwnd hwnd, std::string_view text) {
  std::string terminated(text);
  return SendMessage(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(terminated.c_str())) != 0;
}

std::string GetClassName(Hwnd hwnd) {
  WindowRecord* r = Find(hwnd);
  return r ? r->class_name : std::string();
}

bool ShowWindow(Hwnd hwnd, int command) {
  WindowRecord* r = Find(hwnd);
  if (!r || !r->outer) return false;
  bool was_visible = r->outer->isVisible() || (r->style & WS_VISIBLE);
  switch (command) {
    case SW_HIDE:
      r->outer->hide();
      r->style &= ~WS_VISIBLE;
      break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
      r->outer->showMinimized();
      r->style |= WS_VISIBLE;
      break;
    case SW_SHOWMAXIMIZED:
      r->outer->showMaximized();
      r->style |= WS_VISIBLE;
      break;
    case SW_RESTORE:
      r->outer->showNormal();
      r->style |= WS_VISIBLE;
      break;
    default:
      if (r->widget != r->outer) r->widget->show();
      r->outer->show();
      r->style |= WS_VISIBLE;
      break;
  }
  return was_visible;
}

bool IsWindowVisible(Hwnd hwnd) {
  WindowRecord* r = Find(hwnd);
  return r && (r->style & WS_VISIBLE);
}

bool EnableWindow(Hwnd hwnd, bool enable) {
  WindowRecord* r = Find(hwnd);
  if (!r) return false;
  bool was_disabled = r->style & WS_DISABLED;
  r->style = enable ? (r->style & ~WS_DISABLED) : (r->style | WS_DISABLED);
  if (r->outer) r->outer->setEnabled(enable);
  if (was_disabled == enable) SendMessage(hwnd, WM_ENABLE, enable ? 1 : 0, 0);
  return was_disabled;
}

bool IsWindowEnabled(Hwnd hwnd) {
  WindowRecord* r = Find(hwnd);
  return r && !(r->style & WS_DISABLED);
}

namespace {
Hwnd focus_hwnd = 0;  // the offscreen platform has no active window, so focus is kept here
}

Hwnd SetFocus(Hwnd hwnd) {
  Hwnd previous = GetFocus();
  WindowRecord* r = Find(hwnd);
  if (!r) return previous;
  if (r->widget) r->widget->setFocus(Qt::OtherFocusReason);
  focus_hwnd = hwnd;
  return previous;
}

Hwnd GetFocus() {
  if (QWidget* w = QApplication::focusWidget()) {
    if (WindowRecord* r = internal::FindByWidget(w)) return r->hwnd;
  }
  return IsWindow(focus_hwnd) ? focus_hwnd : 0;
}

bool BringWindowToTop(Hwnd hwnd) {
  WindowRecord* r = Find(hwnd);
  if (!r || !r->outer) return false;
  if (auto* sub = qobject_cast<QMdiSubWindow*>(r->outer.data())) {
    if (auto* area = sub->mdiArea()) area->setActiveSubWindow(sub);
  }
  r->outer->raise();
  if (r->outer->isWindow()) r->outer->activateWindow();  // a top-level window becomes active
  return true;
}

Hwnd GetParent(Hwnd hwnd) {
  WindowRecord* r = Find(hwnd);
  return r ? r->parent : 0;
}

Hwnd GetDlgItem(Hwnd dialog, int id) {
  for (Hwnd child : internal::ChildrenOf(dialog)) {
    if (Find(child)->id == id) return child;
  }
  return 0;
}

int GetDlgCtrlID(Hwnd hwnd) {
  WindowRecord* r = Find(hwnd);
  return r ? r->id : 0;
}

std::vector<Hwnd> GetChildren(Hwnd hwnd) { return internal::ChildrenOf(hwnd); }

Hwnd GetNextSibling(Hwnd hwnd) {
  WindowRecord* r = Find(hwnd);
  if (!r) return 0;
  for (Hwnd sibling : internal::ChildrenOf(r->parent)) {
    if (sibling > hwnd && !Find(sibling)->destroying) return sibling;
  }
  return 0;
}

Hwnd WindowFromPoint(int x, int y) {
  QWidget* w = QApplication::widgetAt(x, y);
  WindowRecord* r = w ? internal::FindByWidget(w) : nullptr;
  return r ? r->hwnd : 0;
}

bool MoveWindow(Hwnd hwnd, int x, int y, int width, int height, bool repaint) {
  WindowRecord* r = Find(hwnd);
  if (!r || !r->outer) return false;
  r->outer->setGeometry(x, y, std::max(width, 0), std::max(height, 0));
  if (repaint) r->outer->update();
  return true;
}

Rect GetWindowRect(Hwnd hwnd) {
  WindowRecord* r = Find(hwnd);
  if (!r || !r->outer) return {};
  QRect g = r->outer->geometry();
  return {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
}

WindowPlacement GetWindowPlacement(Hwnd hwnd) {
  WindowRecord* r = Find(hwnd);
  if (!r || !r->outer) return {};
  QWidget* w = r->outer;
  int show = w->isMinimized()   ? SW_SHOWMINIMIZED
             : w->isMaximized() ? SW_SHOWMAXIMIZED
                                : SW_SHOWNORMAL;
  QRect g = w->isWindow() && w->normalGeometry().isValid() ? w->normalGeometry() : w->geometry();
  return {show, {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()}};
}

Rect GetClientRect(Hwnd hwnd) {
  WindowRecord* r = Find(hwnd);
  QWidget* client = r ? internal::ClientWidget(*r) : nullptr;
  if (!client) return {};
  return {0, 0, client->width(), client->height()};
}

bool InvalidateRect(Hwnd hwnd) {
  WindowRecord* r = Find(hwnd);
  if (!r || !r->widget) return false;
  r->widget->update();
  return true;
}

bool SetLayeredAlpha(Hwnd hwnd, int alpha) {
  WindowRecord* r = Find(hwnd);
  if (!r || !r->outer) return false;
  r->alpha = std::clamp(alpha, 0, 255);
  r->ex_style |= WS_EX_LAYERED;
  r->outer->setWindowOpacity(r->alpha / 255.0);
  return true;
}

bool RemoveLayered(Hwnd hwnd) {
  WindowRecord* r = Find(hwnd);
  if (!r || !r->outer) return false;
  r->ex_style &= ~WS_EX_LAYERED;
  r->alpha = 255;
  r->outer->setWindowOpacity(1.0);
  r->outer->update();
  return true;
}

int GetLayeredAlpha(Hwnd hwnd) {
  WindowRecord* r = Find(hwnd);
  return r ? r->alpha : 0;
}

int GetSystemMetrics(uint32_t index) {
  EnsureApplication();
  QScreen* screen = QGuiApplication::primaryScreen();
  switch (index) {
    case 0:
      return screen ? screen->geometry().width() : 0;
    case 1:
      return screen ? screen->geometry().height() : 0;
    default:
      return 0;  // includes kRemoteSessionMetric: never a remote session here
  }
}

bool SaveWindowImage(Hwnd hwnd, const std::string& path) {
  WindowRecord* r = Find(hwnd);
  if (!r || !r->outer) return false;
  return r->outer->grab().save(QString::fromStdString(path), "PNG");
}

}  // namespace win

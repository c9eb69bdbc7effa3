#include "lib/ui/control_window.h"

#include "lib/ui/globals.h"
#include "lib/ui/messages.h"
#include "lib/ui/run_loop.h"
#include "lib/ui/texts.h"
#include "platform/win/log.h"
#include "platform/win/window.h"

namespace ui {
namespace {

win::Hwnd ParentWindow(const WindowObject* parent) { return parent ? parent->WindowHandle() : 0; }

void ReportMissingControl(int id) {
  win::Log("Child window does not exist: Id " + std::to_string(id));
}

}  // namespace

WCONTROLWINDOW& WCONTROLWINDOW::Init(WindowObject* parent, int id, std::optional<std::string> text,
                                     bool create) {
  hWnd = 0;
  oParent = parent;
  if (create) {
    Create(text.value_or(""), id);
    return *this;
  }
  nId = id;
  win::Hwnd parent_window = ParentWindow(parent);
  if (!parent_window) return *this;
  hWnd = win::GetDlgItem(parent_window, id);
  if (!hWnd) ReportMissingControl(id);
  if (hWnd && text) _Text(*text);
  return *this;
}

win::Hwnd WCONTROLWINDOW::Create(const std::string& text, std::optional<int> id,
                                 std::optional<int> x, std::optional<int> y, int width,
                                 int height) {
  nId = id ? *id : NextSnid();
  hWnd =
      win::CreateWindowEx(0, WndClass(), text, WndStyle(), x.value_or(win::kUseDefault),
                          y.value_or(win::kUseDefault), width, height, ParentWindow(oParent), nId);
  if (!hWnd) win::Log("Out of resources/memory");
  return hWnd;
}

void WCONTROLWINDOW::OnInitDialog() {
  if (hWnd) return;
  hWnd = win::GetDlgItem(ParentWindow(oParent), nId);
  if (!hWnd) ReportMissingControl(nId);
}

std::string WCONTROLWINDOW::Text() const { return win::GetWindowText(hWnd); }
void WCONTROLWINDOW::_Text(const std::string& text) { win::SetWindowText(hWnd, text); }
void WCONTROLWINDOW::SetFocus() { win::SetFocus(hWnd); }
void WCONTROLWINDOW::Show(int command) { win::ShowWindow(hWnd, command); }
bool WCONTROLWINDOW::Visible() const { return win::IsWindowVisible(hWnd); }
void WCONTROLWINDOW::_Visible(bool visible) {
  win::ShowWindow(hWnd, visible ? win::SW_SHOW : win::SW_HIDE);
}

void WCONTROLWINDOW::Axit() {
  if (hWnd && win::IsWindow(hWnd)) {
    MESSAGE_BOX(LibraryText("DESTROY_WARNING"), WndClass());
    win::DestroyWindow(hWnd);
  }
  hWnd = 0;
}

bool WEDIT::CanUndo() const { return SENDMESSAGE(hWnd, win::EM_CANUNDO) != 0; }
void WEDIT::Copy() { SENDMESSAGE(hWnd, win::WM_COPY); }
void WEDIT::Cut() { SENDMESSAGE(hWnd, win::WM_CUT); }
void WEDIT::Paste() { SENDMESSAGE(hWnd, win::WM_PASTE); }
bool WEDIT::Undo() { return SENDMESSAGE(hWnd, win::EM_UNDO) != 0; }
int WEDIT::Len() const { return static_cast<int>(SENDMESSAGE(hWnd, win::WM_GETTEXTLENGTH)); }
bool WEDIT::Modified() const { return SENDMESSAGE(hWnd, win::EM_GETMODIFY) != 0; }
void WEDIT::_Modified(bool modified) { SENDMESSAGE(hWnd, win::EM_SETMODIFY, modified ? 1 : 0); }

std::pair<int, int> WEDIT::Selection() const {
  intptr_t packed = SENDMESSAGE(hWnd, win::EM_GETSEL);
  return {win::LoWord(static_cast<uintptr_t>(packed)) + 1,
          win::HiWord(static_cast<uintptr_t>(packed)) + 1};
}

void WEDIT::_Selection(std::optional<std::pair<int, int>> range) {
  if (!range) {
    SENDMESSAGE(hWnd, win::EM_SETSEL, -1, 0);
    return;
  }
  SENDMESSAGE(hWnd, win::EM_SETSEL, range->first - 1, range->second - 1);
}

int WEDIT::Position() const { return Selection().first; }
void WEDIT::_Position(int position) { _Selection(std::pair{position, position}); }

std::string WEDIT::CurItem() const {
  auto [start, end] = Selection();
  std::string text = Text();
  if (start < 1 || end < start || static_cast<size_t>(end - 1) > text.size()) return {};
  return text.substr(static_cast<size_t>(start - 1), static_cast<size_t>(end - start));
}

void WEDIT::_CurItem(const std::string& text) { SENDMESSAGE(hWnd, win::EM_REPLACESEL, 1, text); }

}  // namespace ui

#include "lib/ui/messages.h"

#include <cstring>
#include <vector>

#include "platform/win/message.h"
#include "platform/win/window.h"

namespace ui {
namespace {

// Holds the copy an argument is passed through for the length of one call.
class Marshalled {
 public:
  explicit Marshalled(const MsgArg& arg) : arg_(arg) {
    std::visit([this](const auto& v) { Prepare(v); }, arg.value());
  }
  intptr_t value() const { return value_; }

  // Writes a by-reference copy back to the caller's variable.
  void WriteBack() const {
    const Ref* ref = std::get_if<Ref>(&arg_.value());
    if (!ref) return;
    if (auto* text = std::get_if<std::string*>(&ref->target)) {
      **text = std::string(buffer_.data(), strnlen(buffer_.data(), buffer_.size()));
    } else if (auto* number = std::get_if<int64_t*>(&ref->target)) {
      **number = number_;
    } else if (auto* flag = std::get_if<bool*>(&ref->target)) {
      **flag = number_ != 0;
    }
  }

 private:
  void Prepare(std::monostate) {}
  void Prepare(int64_t number) { value_ = static_cast<int32_t>(number); }
  void Prepare(const std::string& text) { PassText(text); }
  void Prepare(const Ref& ref) {
    if (auto* text = std::get_if<std::string*>(&ref.target)) {
      PassText(**text);
    } else {
      number_ = std::holds_alternative<int64_t*>(ref.target)
                    ? static_cast<int32_t>(*std::get<int64_t*>(ref.target))
                    : (*std::get<bool*>(ref.target) ? 1 : 0);
      value_ = reinterpret_cast<intptr_t>(&number_);
    }
  }
  void PassText(const std::string& text) {
    buffer_.assign(text.begin(), text.end());
    buffer_.push_back('\0');
    value_ = reinterpret_cast<intptr_t>(buffer_.data());
  }

  const MsgArg& arg_;
  intptr_t value_ = 0;
  std::vector<char> buffer_;
  int32_t number_ = 0;
};

}  // namespace

intptr_t SENDMESSAGE(Hwnd hwnd, uint32_t message, const MsgArg& wparam, const MsgArg& lparam) {
  Marshalled w(wparam);
  Marshalled l(lparam);
  intptr_t result = win::SendMessage(hwnd, message, static_cast<WPARAM>(w.value()), l.value());
  w.WriteBack();
  l.WriteBack();
  return result;
}

intptr_t SENDDLGITEMMESSAGE(Hwnd dialog, int id, uint32_t message, const MsgArg& wparam,
                            const MsgArg& lparam) {
  return SENDMESSAGE(win::GetDlgItem(dialog, id), message, wparam, lparam);
}

bool POSTMESSAGE(Hwnd hwnd, uint32_t message, int64_t wparam, int64_t lparam) {
  return win::PostMessage(hwnd, message, static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam));
}

uintptr_t SETTIMER(Hwnd hwnd, uintptr_t id, uint32_t interval_ms) {
  return win::SetTimer(hwnd, id, interval_ms);
}

bool KILLTIMER(Hwnd hwnd, uintptr_t id) { return win::KillTimer(hwnd, id); }
Hwnd GETDLGITEM(Hwnd dialog, int id) { return win::GetDlgItem(dialog, id); }
std::string GETWINDOWTEXT(Hwnd hwnd) { return win::GetWindowText(hwnd); }
bool SETWINDOWTEXT(Hwnd hwnd, const std::string& text) { return win::SetWindowText(hwnd, text); }
bool SHOWWINDOW(Hwnd hwnd, int command) { return win::ShowWindow(hwnd, command); }
bool DESTROYWINDOW(Hwnd hwnd) { return win::DestroyWindow(hwnd); }
bool ISWINDOW(Hwnd hwnd) { return win::IsWindow(hwnd); }

}  // namespace ui

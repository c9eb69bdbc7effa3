#pragma once
// The thin message functions and how their arguments are marshalled: a text goes as the
// address of a fresh zero-terminated copy, a number as its 32-bit value, nothing as 0, and a
// variable passed by reference as the address of a copy that is written back after the call.

#include <string>
#include <variant>

#include "lib/ui/handler_chain.h"

namespace ui {

// A caller's variable passed by reference.
struct Ref {
  std::variant<std::string*, int64_t*, bool*> target;
  Ref(std::string& text) : target(&text) {}  // NOLINT
  Ref(int64_t& number) : target(&number) {}  // NOLINT
  Ref(bool& flag) : target(&flag) {}         // NOLINT
};

// One wParam or lParam argument as the caller gives it.
class MsgArg {
 public:
  MsgArg() = default;
  MsgArg(int64_t number) : value_(number) {}               // NOLINT
  MsgArg(int number) : value_(int64_t{number}) {}          // NOLINT
  MsgArg(const char* text) : value_(std::string(text)) {}  // NOLINT
  MsgArg(std::string text) : value_(std::move(text)) {}    // NOLINT
  MsgArg(Ref ref) : value_(ref) {}                         // NOLINT
  const auto& value() const { return value_; }

 private:
  std::variant<std::monostate, int64_t, std::string, Ref> value_;
};

intptr_t SENDMESSAGE(Hwnd hwnd, uint32_t message, const MsgArg& wparam = {},
                     const MsgArg& lparam = {});
intptr_t SENDDLGITEMMESSAGE(Hwnd dialog, int id, uint32_t message, const MsgArg& wparam = {},
                            const MsgArg& lparam = {});
bool POSTMESSAGE(Hwnd hwnd, uint32_t message, int64_t wparam = 0, int64_t lparam = 0);
// The timer routine is not supported: WM_TIMER with wParam = id arrives at the window.
uintptr_t SETTIMER(Hwnd hwnd, uintptr_t id, uint32_t interval_ms);
bool KILLTIMER(Hwnd hwnd, uintptr_t id);
Hwnd GETDLGITEM(Hwnd dialog, int id);
std::string GETWINDOWTEXT(Hwnd hwnd);
bool SETWINDOWTEXT(Hwnd hwnd, const std::string& text);
bool SHOWWINDOW(Hwnd hwnd, int command);
bool DESTROYWINDOW(Hwnd hwnd);
bool ISWINDOW(Hwnd hwnd);

}  // namespace ui

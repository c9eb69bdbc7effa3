#include "platform/win/call_chain.h"

#include <utility>

#include "platform/win/log.h"

namespace win {
namespace {

std::vector<CallFrame>& Active() {
  static std::vector<CallFrame> calls;  // outermost first
  return calls;
}

std::vector<CallFrame>& Unwound() {
  static std::vector<CallFrame> calls;  // innermost first
  return calls;
}

HandlerErrorCallback& Installed() {
  static HandlerErrorCallback callback;
  return callback;
}

std::string Describe(std::exception_ptr error) {
  try {
    std::rethrow_exception(std::move(error));
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "unknown exception";
  }
}

}  // namespace

CallScope::CallScope(std::string name, int line)
    : uncaught_at_start_(std::uncaught_exceptions()) {
  Unwound().clear();  // normal work goes on: whatever an earlier exception left is stale
  Active().push_back({std::move(name), line});
}

CallScope::~CallScope() {
  if (std::uncaught_exceptions() > uncaught_at_start_) Unwound().push_back(Active().back());
  Active().pop_back();
}

std::vector<CallFrame> ActiveCalls() {
  return std::vector<CallFrame>(Active().rbegin(), Active().rend());
}

std::vector<CallFrame> CallsAtThrow() {
  std::vector<CallFrame> calls = Unwound();
  calls.insert(calls.end(), Active().rbegin(), Active().rend());
  return calls;
}

void SetHandlerErrorCallback(HandlerErrorCallback callback) { Installed() = std::move(callback); }

LRESULT ReportHandlerException() {
  std::exception_ptr error = std::current_exception();
  std::vector<CallFrame> calls = CallsAtThrow();
  Unwound().clear();
  if (Installed()) {
    HandlerErrorCallback callback = Installed();  // may be replaced while it runs
    return callback(error, calls);
  }
  std::string line = "Error in a window procedure: " + Describe(error);
  if (!calls.empty()) line += " (" + calls.front().name + ")";
  Log(line);
  return 0;
}

std::string MessageName(uint32_t message) {
  switch (message) {
    case WM_CREATE:
      return "WM_CREATE";
    case WM_DESTROY:
      return "WM_DESTROY";
    case WM_CLOSE:
      return "WM_CLOSE";
    case WM_PAINT:
      return "WM_PAINT";
    case WM_NCDESTROY:
      return "WM_NCDESTROY";
    case WM_INITDIALOG:
      return "WM_INITDIALOG";
    case WM_COMMAND:
      return "WM_COMMAND";
    case WM_SYSCOMMAND:
      return "WM_SYSCOMMAND";
    case WM_TIMER:
      return "WM_TIMER";
    default:
      return "MSG" + std::to_string(message);
  }
}

}  // namespace win

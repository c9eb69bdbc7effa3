#pragma once
// The chain of calls in progress, for error reports, and where an exception that escapes a
// window procedure goes.
//
// The dispatch layers open a named scope around every call of a window procedure or message
// handler. C++ has no portable way to walk the machine stack, so this chain is what an error
// report names as "called from". Scopes that an exception unwinds are kept until the next scope
// opens, so that the code catching the exception still learns where it was raised.

#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "platform/win/types.h"

namespace win {

struct CallFrame {
  std::string name;
  int line = 0;  // the source line where the scope was opened
};

class CallScope {
 public:
  // `line` defaults to the line of the code that opens the scope.
  explicit CallScope(std::string name, int line = __builtin_LINE());
  ~CallScope();
  CallScope(const CallScope&) = delete;
  CallScope& operator=(const CallScope&) = delete;

 private:
  int uncaught_at_start_;
};

// The calls in progress, innermost first.
std::vector<CallFrame> ActiveCalls();
// Inside a catch block, before any new scope opens: the calls the exception left (innermost
// first) followed by those still in progress.
std::vector<CallFrame> CallsAtThrow();

// Receives every exception that escapes a window procedure, with the calls at the throw; its
// result becomes SendMessage's. Without one the exception's text goes to the log and the result
// is 0. The exception never unwinds into the toolkit.
using HandlerErrorCallback =
    std::function<LRESULT(std::exception_ptr error, const std::vector<CallFrame>& calls)>;
// Installs `callback` (an empty function restores the default).
void SetHandlerErrorCallback(HandlerErrorCallback callback);
// Hands the exception being handled to the callback; call only inside a catch block.
LRESULT ReportHandlerException();

// "WM_COMMAND" and the like for the common messages, else the number.
std::string MessageName(uint32_t message);

}  // namespace win

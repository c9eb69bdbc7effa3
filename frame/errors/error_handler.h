#pragma once
// The program's one error handler: answers a few well-known errors quietly; for every other one
// it opens the error window (which logs the error and mails it) and waits for the user's choice.

#include <exception>
#include <functional>
#include <vector>

#include "frame/errors/error_spec.h"
#include "lib/data/data_error.h"
#include "platform/win/call_chain.h"

namespace frame {

// What the failed operation does next.
enum class Answer {
  kRetry,    // run again
  kDefault,  // fail quietly
  kZero,     // its result becomes 0
};

// Handles `error`, raised under `calls` (innermost first, the handler's own call first).
// Choosing "Salir" ends the program with exit code 1 after closing every table.
Answer HandleError(const data::ErrorObject& error, const std::vector<win::CallFrame>& calls);

// The error object of an exception: the data layer's own, else one built from the exception's
// text with `operation` (the call it escaped from), a default allowed and no retry.
data::ErrorObject ErrorObjectOf(const std::exception_ptr& error, const std::string& operation);

// A headless run never waits for a person: it presses the control `choose` returns (201, 202
// or 1) when that is enabled, and otherwise closes the window as its close box does. Tests
// script the choice here; an empty function restores the close box.
void ScriptErrorWindow(std::function<int(ERROR_SPEC&)> choose);

// Replaces how "Salir" ends the program (tests); an empty function restores the real exit.
void SetProgramExit(std::function<void(int exit_code)> exit);

}  // namespace frame

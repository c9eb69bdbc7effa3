#include "frame/errors/error_handler.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>

#include "frame/errors/error_log.h"
#include "frame/errors/error_text.h"
#include "lib/data/work_areas.h"
#include "lib/settings/settings.h"
#include "lib/ui/app.h"
#include "lib/ui/globals.h"
#include "platform/win/log.h"
#include "platform/win/message.h"
#include "platform/win/window.h"

namespace frame {
namespace {

constexpr int kQuitExitCode = 1;
constexpr int kBoundError = 2;          // generic code of an index out of range
constexpr int kServerOpenError = 2006;  // generic code of the database server's failed open
// The database server's own codes that need no answer from anyone.
constexpr int kIgnoredSubcodes[] = {6313, 6102};

std::function<int(ERROR_SPEC&)>& Script() {
  static std::function<int(ERROR_SPEC&)> script;
  return script;
}

std::function<void(int)>& ProgramExit() {
  static std::function<void(int)> exit;
  return exit;
}

// Closes every table (writing what is pending) and ends the process at once: the failed
// operation must not go on.
[[noreturn]] void EndProgram(int exit_code) {
  data::CloseAllAreas();
  std::fflush(nullptr);
  std::_Exit(exit_code);
}

// An open refused by another station, or an append lock refused: the caller's retry loop
// takes it from here.
bool LeftToCallersRetry(const data::ErrorObject& error) {
  if (!error.CANDEFAULT) return false;
  const bool sharing = error.OSCODE == data::kSharingViolationOsCode;
  return (error.GENCODE == data::EG_OPEN && sharing) ||
         (error.GENCODE == kServerOpenError && sharing) || error.GENCODE == data::EG_APPENDLOCK;
}

bool QuitWaiting() {
  win::Msg msg;
  return win::PeekMessage(&msg, win::PM_NOREMOVE) && msg.message == win::WM_QUIT;
}

// Headless: press the scripted control when it can be pressed, else the close box.
void AnswerWithoutPerson(ERROR_SPEC& window) {
  win::Log("ERROR DE SISTEMA: " + window.MessageLine());
  win::Log(window.Detail());
  const int control = Script() ? Script()(window) : 0;
  if (window.CHK_GOOUT() || !win::IsWindow(window.hwnd)) return;  // the script answered itself
  const win::Hwnd button = control ? win::GetDlgItem(window.hwnd, control) : 0;
  if (button && win::IsWindowEnabled(button)) {
    win::PostMessage(window.hwnd, win::WM_COMMAND, win::MakeWParam(control, win::BN_CLICKED),
                     button);
  } else {
    win::PostMessage(window.hwnd, win::WM_CLOSE, 0, 0);
  }
}

// Dispatches the thread's messages until a choice is made; true when WM_QUIT ended the wait.
bool WaitForChoice(ERROR_SPEC& window) {
  win::NestedLoopScope nested;
  if (win::IsHeadless()) AnswerWithoutPerson(window);
  while (!window.CHK_GOOUT()) {
    win::DispatchPending();
    if (window.CHK_GOOUT()) break;
    if (QuitWaiting()) return true;
    win::WaitMessage();
  }
  return false;
}

}  // namespace

void ScriptErrorWindow(std::function<int(ERROR_SPEC&)> choose) { Script() = std::move(choose); }

void SetProgramExit(std::function<void(int)> exit) { ProgramExit() = std::move(exit); }

data::ErrorObject ErrorObjectOf(const std::exception_ptr& error, const std::string& operation) {
  data::ErrorObject object;
  object.SEVERITY = 2;
  object.CANDEFAULT = true;
  object.OPERATION = operation;
  try {
    std::rethrow_exception(error);
  } catch (const data::DataError& e) {
    return e.error();
  } catch (const std::out_of_range& e) {
    object.GENCODE = kBoundError;
    object.DESCRIPTION = e.what();
  } catch (const std::invalid_argument& e) {
    object.GENCODE = data::EG_ARG;
    object.DESCRIPTION = e.what();
  } catch (const std::exception& e) {
    object.DESCRIPTION = e.what();
  } catch (...) {
    object.DESCRIPTION = "unknown exception";
  }
  return object;
}

Answer HandleError(const data::ErrorObject& error, const std::vector<win::CallFrame>& calls) {
  if (error.GENCODE == data::EG_ZERODIV) return Answer::kZero;
  const Answer without_choice = error.CANDEFAULT ? Answer::kDefault : Answer::kZero;
  if (WritingOwnTables()) return without_choice;
  if (LeftToCallersRetry(error)) {
    data::SetNetErr(true);
    return Answer::kDefault;
  }
  for (int subcode : kIgnoredSubcodes) {
    if (error.SUBCODE == subcode) return Answer::kZero;
  }
  const std::string message_line = ErrorMessageLine(error);
  const std::string detail = ErrorDetail(error, calls);
  auto window = std::make_shared<ERROR_SPEC>();
  if (!window->Init(ui::Globals().OAPP, "ERROR_SPEC", message_line, detail, error, error.CANRETRY,
                    error.CANDEFAULT)) {
    return without_choice;
  }
  const bool quit = WaitForChoice(*window);
  if (quit && !window->CHK_GOOUT()) window->Terminar();
  switch (quit ? kQuitChosen : window->CHK_OUTRESULT()) {
    case kRetryChosen:
      return Answer::kRetry;
    case kIgnoreChosen:
      return Answer::kDefault;
    default:
      break;
  }
  WriteOwnTables("Login record not marked", [&] { MarkLoginRecord(message_line, detail); });
  if (ProgramExit()) {
    ProgramExit()(kQuitExitCode);
    return without_choice;
  }
  EndProgram(kQuitExitCode);
}

}  // namespace frame

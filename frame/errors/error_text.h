#pragma once
// The texts the error handler builds from an error: the one-line message, the detail with the
// error codes and the calls in progress, and the header that precedes them on screen and in
// the mail.

#include <string>
#include <vector>

#include "lib/data/data_error.h"
#include "platform/win/call_chain.h"

namespace frame {

// "Error " (severity above 1) or "Warning ", the subsystem ("???" when empty), "/" and the
// subcode ("/???" when 0), two blanks and the description when there is one, then ": " and the
// file name, or else ": " and the operation, when one of them is set.
std::string ErrorMessageLine(const data::ErrorObject& error);

// "File: ... GenCode: ... OsCode: ..." and CR LF, then "Called from NAME(LINE)" and CR LF for
// each call in `calls` (innermost first) whose line is not 0.
std::string ErrorDetail(const data::ErrorObject& error, const std::vector<win::CallFrame>& calls);

// The lines "Módulo  : ", "Fecha/H.: ", "Computer: " and "V32 WinUser : ", each ending in CR LF.
std::string ErrorHeader();

// What the error window's large edit shows: the header, the trimmed message line and a lone CR,
// then CR LF and the detail.
std::string ScreenText(const std::string& message_line, const std::string& detail);
// The body of the error mail: as the screen text, but the message line ends in CR LF.
std::string MailBody(const std::string& message_line, const std::string& detail);

}  // namespace frame

#pragma once
// The error handler's tables: the error log ERROR, the run's login record in LOG_E_S and the
// mail queue E_MSGS. Each writer leaves the selected table as it found it.

#include <cstdint>
#include <functional>
#include <string>

namespace frame {

// Runs one of the handler's own writes. An error of that write is not handled again (that could
// never end): it goes to the window system's log, marked with `what`, and the handler goes on.
void WriteOwnTables(const char* what, const std::function<void()>& write);
// True while such a write runs.
bool WritingOwnTables();

// Appends the ERROR record (date, time, message line, detail); returns its record number.
uint32_t WriteErrorRecord(const std::string& message_line, const std::string& detail);

// When a login wrote a record (XREC_E_S), stamps its exit date and time and, where the table has
// them, DESC_ERR (the trimmed message line, "|" and the detail without LF, CR as a blank and
// "Called from" as ">") and ERR_CHECK ("*").
void MarkLoginRecord(const std::string& message_line, const std::string& detail);

// Queues the error mail in E_MSGS, ready to be sent (ENVIADO 0, LISTO 1).
void QueueErrorMail(const std::string& body);

}  // namespace frame

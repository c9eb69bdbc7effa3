#pragma once
// The dialog-opening log: every dialog the program opens leaves a record in table LOG_DIAG
// (who, when, which dialog, from which menu command), recycling records older than 240 days.

#include <string>

namespace ui {

// Records the opening of the dialog made from `template_name`, unless it is one of the
// library's own short-lived dialogs. A table that cannot be written is reported in the log and
// never keeps the dialog from opening.
void LogDialogOpening(const std::string& template_name);

}  // namespace ui

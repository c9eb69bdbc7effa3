#pragma once
// Dialog templates kept as text (UTF-8) in the program's resources:
//
//   DIALOG EXCHANGE
//     POSITION 83 90
//     SIZE 654 315
//     STYLE WS_VISIBLE WS_CAPTION WS_SYSMENU DS_SETFONT
//     CAPTION "TARVISEN Data Exchange Server"
//     FONT 8 "Times New Roman"
//     CONTROL 501 Edit "" 3 159 337 155 WS_VISIBLE ES_MULTILINE ES_READONLY
//   END
//
// Styles are names or numbers (decimal or 0x hexadecimal) added together; "" in a quoted
// text stands for one quote; # starts a comment line.

#include <map>
#include <string>
#include <string_view>

#include "platform/win/dialog.h"

namespace win {

struct TemplateSet {
  std::map<std::string, DialogTemplate> dialogs;  // by upper-case name
  std::string error;                              // "line N: ..." when the text is faulty
};

// Reads every dialog of the text; on a fault nothing is returned but the error.
TemplateSet ParseDialogTemplates(std::string_view utf8_text);

}  // namespace win

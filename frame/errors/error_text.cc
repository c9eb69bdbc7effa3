#include "frame/errors/error_text.h"

#include "lib/data/text_fields.h"
#include "lib/data/date_time.h"
#include "lib/settings/settings.h"
#include "platform/progdir/program_dir.h"

namespace frame {

std::string ErrorMessageLine(const data::ErrorObject& error) {
  std::string line = error.SEVERITY > 1 ? "Error " : "Warning ";
  line += error.SUBSYSTEM.empty() ? "???" : error.SUBSYSTEM;
  line += error.SUBCODE != 0 ? "/" + std::to_string(error.SUBCODE) : "/???";
  if (!error.DESCRIPTION.empty()) line += "  " + error.DESCRIPTION;
  if (!error.FILENAME.empty()) {
    line += ": " + error.FILENAME;
  } else if (!error.OPERATION.empty()) {
    line += ": " + error.OPERATION;
  }
  return line;
}

std::string ErrorDetail(const data::ErrorObject& error, const std::vector<win::CallFrame>& calls) {
  std::string detail = "File: " + error.FILENAME + " GenCode: " + std::to_string(error.GENCODE) +
                       " OsCode: " + std::to_string(error.OSCODE) + "\r\n";
  for (const win::CallFrame& call : calls) {
    if (call.line == 0) continue;
    detail += "Called from " + call.name + "(" + std::to_string(call.line) + ")\r\n";
  }
  return detail;
}

std::string ErrorHeader() {
  // Texts are bytes of the program's 8-bit character set: 0xF3 is "ó".
  return "M\xF3"
         "dulo  : " +
         settings::Current().EXT_MODULO + "\r\n" +
         "Fecha/H.: " + data::DateToText(data::LocalDate()) + " " + data::LocalTime() + "\r\n" +
         "Computer: " + progdir::ComputerName() + "\r\n" + "V32 WinUser : " + progdir::UserName() +
         "\r\n";
}

std::string ScreenText(const std::string& message_line, const std::string& detail) {
  return ErrorHeader() + TrimBlanks(message_line) + "\r" + "\r\n" + detail;
}

std::string MailBody(const std::string& message_line, const std::string& detail) {
  return ErrorHeader() + TrimBlanks(message_line) + "\r\n" + "\r\n" + detail;
}

}  // namespace frame

#include "tools/xbtool/field_text.h"

#include <cctype>

#include "platform/xbase/error.h"
#include "platform/xbase/julian_date.h"
#include "platform/xbase/number_format.h"

namespace xbtool {
namespace {

using xbase::Error;
using xbase::ErrorKind;

[[noreturn]] void Refuse(const xbase::FieldInfo& f, std::string_view text, const char* expected) {
  throw Error(ErrorKind::kArgument, "",
              "field " + f.name + ": \"" + std::string(text) + "\" is not " + expected);
}

bool LooksNumeric(std::string_view t) {
  size_t i = 0;
  while (i < t.size() && t[i] == ' ') ++i;
  if (i < t.size() && (t[i] == '-' || t[i] == '+')) ++i;
  bool digits = false, point = false;
  for (; i < t.size(); ++i) {
    if (std::isdigit(static_cast<unsigned char>(t[i]))) {
      digits = true;
    } else if (t[i] == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  return digits;
}

std::string Unescape(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == 'r' || text[i + 1] == 'n')) {
      out.push_back(text[++i] == 'r' ? '\r' : '\n');
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

}  // namespace

std::string ShowField(xbase::Cursor& cursor, int field) {
  if (cursor.fields()[field].type != 'M') return std::string(cursor.Raw(field));
  std::string shown;
  for (char c : cursor.Get(field).str) {
    if (c == '\r') {
      shown += "\\r";
    } else if (c == '\n') {
      shown += "\\n";
    } else {
      shown.push_back(c);
    }
  }
  return shown;
}

xbase::Value ParseFieldText(const xbase::FieldInfo& f, std::string_view text) {
  switch (f.type) {
    case 'N':
    case 'F':
    case 'I':
      if (!LooksNumeric(text)) Refuse(f, text, "a number");
      return xbase::Value::Numeric(xbase::ParseNumber(text));
    case 'D': {
      if (text.find_first_not_of(' ') == std::string_view::npos) return xbase::Value::Date(0);
      int64_t day = text.size() == 8 ? xbase::Stod(text) : 0;
      if (day == 0) Refuse(f, text, "a date YYYYMMDD");
      return xbase::Value::Date(day);
    }
    case 'L':
      if (text == "T" || text == "t" || text == "Y" || text == "y")
        return xbase::Value::Logical(true);
      if (text == "F" || text == "f" || text == "N" || text == "n")
        return xbase::Value::Logical(false);
      Refuse(f, text, "T or F");
    case 'M':
      return xbase::Value::Character(Unescape(text));
    default:
      return xbase::Value::Character(std::string(text));
  }
}

Assignments ParseAssignments(xbase::Cursor& cursor, const std::vector<std::string>& args) {
  Assignments parsed;
  for (const std::string& assignment : args) {
    auto eq = assignment.find('=');
    if (eq == std::string::npos) {
      throw Error(ErrorKind::kArgument, "", "\"" + assignment + "\" is not FIELD=VALUE");
    }
    std::string name = assignment.substr(0, eq);
    int field = cursor.FieldIndex(name);
    if (field < 0) {
      throw Error(ErrorKind::kNoSuchField, cursor.table().path(), "no field named " + name);
    }
    parsed.emplace_back(
        field, ParseFieldText(cursor.fields()[field], std::string_view(assignment).substr(eq + 1)));
  }
  return parsed;
}

}  // namespace xbtool

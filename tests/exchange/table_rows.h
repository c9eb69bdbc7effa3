#pragma once
// Records of a table as text, for comparing what a posting wrote field by field.

#include <string>
#include <vector>

#include "lib/data/text_fields.h"
#include "platform/xbase/cursor.h"

namespace testing_support {

// Every record from record `first` on, in physical order: "*" for a deleted record, then
// "NAME=bytes" for each field with the stored bytes trimmed of blanks, joined by "|".
inline std::vector<std::string> RowsFrom(const std::string& path, uint32_t first) {
  xbase::Cursor table(path, {.hide_deleted = false});
  std::vector<std::string> rows;
  for (uint32_t recno = first; recno <= table.RecCount(); ++recno) {
    table.GoTo(recno);
    std::string row = table.Deleted() ? "*" : "";
    for (int field = 0; field < table.FieldCount(); ++field) {
      if (field > 0) row += "|";
      row += table.fields()[field].name + "=" + TrimBlanks(table.Raw(field));
    }
    rows.push_back(row);
  }
  return rows;
}

inline uint32_t RecordCount(const std::string& path) {
  xbase::Cursor table(path, {.hide_deleted = false});
  return table.RecCount();
}

}  // namespace testing_support

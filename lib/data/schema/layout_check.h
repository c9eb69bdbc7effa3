#pragma once
// The check made when a site's table is opened: the fields the program reads or writes by name
// must exist with their types (and, where values are joined into keys, their widths).

#include <string>
#include <string_view>

#include "platform/xbase/field.h"

namespace schema {

// "" when `fields` serve the layout of `table` (or no layout is known for it); otherwise a
// message naming the table and the first field that is missing or of another type or width.
std::string CheckLayout(std::string_view table, const xbase::Schema& fields);

}  // namespace schema

#pragma once
// Field values as text on the xbtool command line and in its dumps.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/xbase/cursor.h"

namespace xbtool {

// The field as dump shows it: the stored bytes; a memo's text with CR and LF as \r and \n.
std::string ShowField(xbase::Cursor& cursor, int field);

// A value for `field` from command-line text (numbers, YYYYMMDD dates, T/F, memo text with \r
// and \n escapes). Throws xbase::Error(kArgument) naming the field when the text does not fit.
xbase::Value ParseFieldText(const xbase::FieldInfo& field, std::string_view text);

// "NAME=VALUE" arguments turned into field numbers and values, all checked before anything is
// written, so that a bad argument leaves the table as it was.
using Assignments = std::vector<std::pair<int, xbase::Value>>;
Assignments ParseAssignments(xbase::Cursor& cursor, const std::vector<std::string>& args);

}  // namespace xbtool

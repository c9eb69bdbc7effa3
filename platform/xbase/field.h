#pragma once
// The description of one DBF field, as read from (or written to) the table header.

#include <cstdint>
#include <string>
#include <vector>

namespace xbase {

struct FieldInfo {
  std::string name;   // upper case, at most 10 characters
  char type = 'C';    // C N F D L M I, or another letter passed through read-only
  int length = 0;     // bytes in the record (C may exceed 255)
  int decimals = 0;   // N and F only
  int offset = 0;     // position in the record; the deletion flag is byte 0
  uint8_t flags = 0;  // VFP field flags, preserved
};

using Schema = std::vector<FieldInfo>;

// Index of the field named `name` (case-insensitive), or -1.
int FindField(const Schema& schema, std::string_view name);

}  // namespace xbase

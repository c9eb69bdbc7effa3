#include "platform/xbase/field.h"

#include <string_view>

namespace xbase {
namespace {

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  }
  return true;
}

}  // namespace

int FindField(const Schema& schema, std::string_view name) {
  for (size_t i = 0; i < schema.size(); ++i) {
    if (EqualsIgnoringCase(schema[i].name, name)) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace xbase

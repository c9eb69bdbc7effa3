#pragma once
// The window library's message texts (numbers 111, 207..212 and two named texts), carried
// by the program itself instead of an outside resource library.

#include <string>
#include <string_view>

namespace ui {

// Empty when the key is unknown.
std::string LibraryText(std::string_view key);
inline std::string LibraryText(int number) { return LibraryText(std::to_string(number)); }

}  // namespace ui

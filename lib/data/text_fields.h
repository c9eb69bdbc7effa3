#pragma once
// Fixed-width texts as the tables and keys hold them.

#include <string>
#include <string_view>

// The first `width` bytes of `text`, padded with blanks to `width`.
inline std::string PadCut(std::string_view text, size_t width) {
  std::string out(text.substr(0, width));
  out.resize(width, ' ');
  return out;
}

// `text` without leading and trailing blanks.
inline std::string TrimBlanks(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

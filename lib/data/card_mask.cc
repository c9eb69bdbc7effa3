#include "lib/data/card_mask.h"

namespace data {

std::string SHOW_CREDITCARD(std::string_view document) {
  size_t first = document.find_first_not_of(' ');
  if (first == std::string_view::npos) return "";
  std::string text(document.substr(first, document.find_last_not_of(' ') - first + 1));
  if (text.size() >= 12) text.replace(0, text.size() - 4, text.size() - 4, '*');
  return text;
}

}  // namespace data

#pragma once
// Card numbers shown in statements.

#include <string>
#include <string_view>

namespace data {

// The text without surrounding blanks; when it has 12 or more characters, all but the last 4
// are replaced by "*".
std::string SHOW_CREDITCARD(std::string_view document);

}  // namespace data

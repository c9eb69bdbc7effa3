#pragma once
// The four-character base-36 line consecutive of folios: digits "0"-"9" for 0-9, then "A"-"Z".

#include <string>
#include <string_view>

namespace data {

// The last 4 base-36 digits of the decimal number in `decimal_text` (blanks allowed before it):
// 0 -> "0000", 35 -> "000Z", 36 -> "0010", 1679616 (36^4) wraps to "0000".
std::string GET_STRING_CONSECUT(std::string_view decimal_text);

// The value of base-36 text; lower case counts as upper case, any other byte (a blank) as 0.
double HILERABASE_TO_DECIMAL(std::string_view text);

// The consecutive after `consecutive`, as the posting advances it ("0009" -> "000A",
// "ZZZZ" -> "0000").
std::string NextConsecutive(std::string_view consecutive);

}  // namespace data

#pragma once
// Numbers as text: the STR() rule that also writes numeric (N, F) DBF fields, and the reading
// of such fields and of VAL().

#include <string>
#include <string_view>

namespace xbase {

// `value` right-aligned in `width` bytes with blanks, with `decimals` digits after the point
// (the point and the decimals count inside the width), "-" directly before the first digit.
// Rounds half away from zero on the shortest decimal text that reads back as `value`, so
// 1.005 rounds to 1.01 although the double is slightly below 1.005. A value that rounds to
// zero prints without a sign. A value that does not fit (or is not finite) gives `width`
// asterisks. width <= 0 gives ""; negative decimals count as 0.
std::string FormatNumber(double value, int width, int decimals);

// Leading blanks, an optional sign, digits, an optional point and digits; reading stops at the
// first other byte. Blank or empty text (or text without digits) is 0.
double ParseNumber(std::string_view text);

}  // namespace xbase

#include "platform/xbase/number_format.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace xbase {
namespace {

// Adds one to the decimal digit string `digits` (most significant first).
void Increment(std::string& digits) {
  for (size_t i = digits.size(); i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return;
    }
    digits[i] = '0';
  }
  digits.insert(digits.begin(), '1');
}

}  // namespace

std::string FormatNumber(double value, int width, int decimals) {
  if (width <= 0) return {};
  if (decimals < 0) decimals = 0;
  const std::string overflow(static_cast<size_t>(width), '*');
  if (!std::isfinite(value)) return overflow;
  // The smallest text is "0" or "0.d…" (decimals + 2 bytes).
  if (decimals > 0 && decimals + 2 > width) return overflow;

  const bool negative = std::signbit(value);
  const double magnitude = std::fabs(value);

  // `scaled`: the decimal digits of round(|value| × 10^decimals), without leading zeros.
  std::string scaled;
  if (magnitude != 0) {
    // Shortest round-trip text, e.g. "1.005e+00".
    char buf[64];
    const auto result =
        std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific);
    std::string_view text(buf, static_cast<size_t>(result.ptr - buf));
    const size_t e_pos = text.find('e');
    std::string digits;
    for (char c : text.substr(0, e_pos)) {
      if (c != '.') digits.push_back(c);
    }
    int exponent = 0;
    std::from_chars(text.data() + e_pos + 1 + (text[e_pos + 1] == '+'), text.data() + text.size(),
                    exponent);
    // Digits before the point, and digits kept after scaling by 10^decimals.
    const long long integer_digits = static_cast<long long>(exponent) + 1;
    if (integer_digits > width) return overflow;
    const long long keep = integer_digits + decimals;
    const long long available = static_cast<long long>(digits.size());
    if (keep < 0) {
      scaled.clear();  // below half a unit of the last place
    } else if (keep == 0) {
      if (digits[0] >= '5') scaled.push_back('1');
    } else if (keep >= available) {
      scaled = digits;
      scaled.append(static_cast<size_t>(keep - available), '0');
    } else {
      scaled = digits.substr(0, static_cast<size_t>(keep));
      if (digits[static_cast<size_t>(keep)] >= '5') Increment(scaled);
    }
  }
  const bool zero = scaled.empty();
  if (scaled.size() <= static_cast<size_t>(decimals)) {
    scaled.insert(0, static_cast<size_t>(decimals) + 1 - scaled.size(), '0');
  }

  std::string body;
  body.reserve(scaled.size() + 2);
  if (negative && !zero) body.push_back('-');
  const size_t int_len = scaled.size() - static_cast<size_t>(decimals);
  body.append(scaled, 0, int_len);
  if (decimals > 0) {
    body.push_back('.');
    body.append(scaled, int_len, std::string::npos);
  }
  if (body.size() > static_cast<size_t>(width)) return overflow;
  body.insert(0, static_cast<size_t>(width) - body.size(), ' ');
  return body;
}

double ParseNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  const size_t start = i;
  size_t digit_count = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digit_count;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digit_count;
  }
  if (digit_count == 0) return 0;
  double value = 0;
  const auto result =
      std::from_chars(text.data() + start, text.data() + i, value, std::chars_format::fixed);
  if (result.ec == std::errc::result_out_of_range) {
    // Beyond the range of a double: too large when a non-zero digit precedes the point.
    size_t first = start;
    while (first < i && text[first] == '0') ++first;
    value = first < i && text[first] != '.' ? std::numeric_limits<double>::infinity() : 0;
  }
  return negative ? -value : value;
}

}  // namespace xbase

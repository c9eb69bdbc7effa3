#include "exchange/money_text.h"

#include <charconv>
#include <cmath>
#include <string_view>

std::string MoneyText(double value) {
  // A damaged amount shows as nothing owed rather than as "nan" or "inf".
  if (!std::isfinite(value)) value = 0;
  // Two decimals, rounded as printf's "%.2f" rounds; room for the largest double's 309 digits.
  char buffer[320];
  const std::to_chars_result written =
      std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::fixed, 2);
  const std::string_view digits(buffer, static_cast<size_t>(written.ptr - buffer));

  const size_t point = digits.find('.');
  std::string text;
  text.reserve(digits.size() + digits.size() / 3 + 1);
  if (value < 0 && digits != "0.00") text.push_back('-');
  for (size_t i = 0; i < point; ++i) {
    if (i > 0 && (point - i) % 3 == 0) text += ',';
    text += digits[i];
  }
  text.append(digits.substr(point));
  return text;
}

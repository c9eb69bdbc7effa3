#include "exchange/money_text.h"

#include <cmath>
#include <cstdio>

std::string MoneyText(double value) {
  // A damaged amount shows as nothing owed rather than as "nan" or "inf".
  if (!std::isfinite(value)) value = 0;
  const double magnitude = std::fabs(value);
  std::string digits(std::snprintf(nullptr, 0, "%.2f", magnitude), '\0');
  std::snprintf(digits.data(), digits.size() + 1, "%.2f", magnitude);

  const size_t point = digits.find('.');
  std::string text;
  if (value < 0 && digits != "0.00") text.push_back('-');
  for (size_t i = 0; i < point; ++i) {
    if (i > 0 && (point - i) % 3 == 0) text += ',';
    text += digits[i];
  }
  text.append(digits, point);
  return text;
}

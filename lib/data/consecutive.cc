#include "lib/data/consecutive.h"

#include <cmath>

#include "platform/xbase/case_table.h"
#include "platform/xbase/number_format.h"

namespace data {
namespace {

constexpr char kDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

int DigitValue(char c) {
  unsigned char upper = xbase::UpperByte(static_cast<unsigned char>(c));
  if (upper >= '0' && upper <= '9') return upper - '0';
  if (upper >= 'A' && upper <= 'Z') return upper - 'A' + 10;
  return 0;
}

}  // namespace

std::string GET_STRING_CONSECUT(std::string_view decimal_text) {
  double value = std::floor(xbase::ParseNumber(decimal_text));
  if (!(value >= 0)) value = 0;  // negative or not a number: the first consecutive
  std::string digits;
  while (value >= 36) {
    digits.insert(digits.begin(), kDigits[static_cast<int>(std::fmod(value, 36))]);
    value = std::floor(value / 36);
  }
  digits.insert(digits.begin(), kDigits[static_cast<int>(value)]);
  std::string padded = "0000" + digits;
  return padded.substr(padded.size() - 4);
}

double HILERABASE_TO_DECIMAL(std::string_view text) {
  double value = 0;
  for (char c : text) value = value * 36 + DigitValue(c);
  return value;
}

std::string NextConsecutive(std::string_view consecutive) {
  return GET_STRING_CONSECUT(xbase::FormatNumber(HILERABASE_TO_DECIMAL(consecutive) + 1, 10, 0));
}

}  // namespace data

#include "platform/xbase/julian_date.h"

namespace xbase {
namespace {

bool IsLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

}  // namespace

int64_t JulianDay(int year, int month, int day) {
  if (year < 0 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > DaysInMonth(year, month)) {
    return 0;
  }
  // Fliegel and Van Flandern, with the year shifted so that every quotient is non-negative.
  const int64_t a = (14 - month) / 12;
  const int64_t y = year + 4800 - a;
  const int64_t m = month + 12 * a - 3;
  return day + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 - 32045;
}

CivilDate FromJulianDay(int64_t jd) {
  if (jd < kMinJulianDay || jd > kMaxJulianDay) return {};
  const int64_t a = jd + 32044;
  const int64_t b = (4 * a + 3) / 146097;
  const int64_t c = a - 146097 * b / 4;
  const int64_t d = (4 * c + 3) / 1461;
  const int64_t e = c - 1461 * d / 4;
  const int64_t m = (5 * e + 2) / 153;
  CivilDate date;
  date.day = static_cast<int>(e - (153 * m + 2) / 5 + 1);
  date.month = static_cast<int>(m + 3 - 12 * (m / 10));
  date.year = static_cast<int>(100 * b + d - 4800 + m / 10);
  return date;
}

std::string Dtos(int64_t jd) {
  const CivilDate date = FromJulianDay(jd);
  if (date.year == 0 && date.month == 0) return std::string(8, ' ');
  std::string text(8, '0');
  int y = date.year;
  for (int i = 3; i >= 0; --i, y /= 10) text[i] = static_cast<char>('0' + y % 10);
  text[4] = static_cast<char>('0' + date.month / 10);
  text[5] = static_cast<char>('0' + date.month % 10);
  text[6] = static_cast<char>('0' + date.day / 10);
  text[7] = static_cast<char>('0' + date.day % 10);
  return text;
}

int64_t Stod(std::string_view text) {
  if (text.size() != 8) return 0;
  int digits[8];
  for (int i = 0; i < 8; ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return 0;
    digits[i] = c - '0';
  }
  const int year = digits[0] * 1000 + digits[1] * 100 + digits[2] * 10 + digits[3];
  const int month = digits[4] * 10 + digits[5];
  const int day = digits[6] * 10 + digits[7];
  return JulianDay(year, month, day);
}

}  // namespace xbase

#pragma once
// Dates as Julian day numbers (proleptic Gregorian calendar), the representation of xBase
// date values, and their DBF/key text form "YYYYMMDD". Day 0 is the empty date.

#include <cstdint>
#include <string>
#include <string_view>

namespace xbase {

// First and last days with a four-digit year: 0000-01-01 and 9999-12-31.
inline constexpr int64_t kMinJulianDay = 1721060;
inline constexpr int64_t kMaxJulianDay = 5373484;

struct CivilDate {
  int year = 0;
  int month = 0;
  int day = 0;
  friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

// The day number of year-month-day (years 0..9999), or 0 for an impossible date.
int64_t JulianDay(int year, int month, int day);
// The calendar date of `jd`; {0, 0, 0} outside [kMinJulianDay, kMaxJulianDay] (0 included).
CivilDate FromJulianDay(int64_t jd);
// "YYYYMMDD"; 8 blanks for the empty date (0) and for days outside the four-digit years.
std::string Dtos(int64_t jd);
// The day of an 8-digit "YYYYMMDD" text; 0 (empty) for anything else, e.g. blanks or 20240230.
int64_t Stod(std::string_view text);

}  // namespace xbase

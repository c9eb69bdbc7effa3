#pragma once
// Dates and times as the program uses them: a date that may be empty, the date text "dd/mm/yy"
// (two-digit years from 80 read as 19xx, below 80 as 20xx), the current date and time (the
// database server's clock when the server engine is connected, else the local clock), and the
// statement date text with the month as a name.

#include <compare>
#include <cstdint>
#include <string>
#include <string_view>

namespace data {

class Date {
 public:
  Date() = default;  // the empty date
  static Date FromJulian(int64_t julian) { return Date(julian); }
  static Date FromCivil(int year, int month, int day);  // empty when impossible

  bool IsEmpty() const { return julian_ == 0; }
  int64_t julian() const { return julian_; }
  int year() const;
  int month() const;
  int day() const;

  Date operator+(int64_t days) const { return IsEmpty() ? Date() : Date(julian_ + days); }
  int64_t operator-(const Date& other) const { return julian_ - other.julian_; }
  friend auto operator<=>(const Date&, const Date&) = default;

 private:
  explicit Date(int64_t julian) : julian_(julian) {}
  int64_t julian_ = 0;
};

// "dd/mm/yy"; "  /  /  " for the empty date.
std::string DateToText(Date date);
// Reads "dd/mm/yy" (or a four-digit year); anything else is the empty date.
Date TextToDate(std::string_view text);

// The local date and time from the platform clock.
Date LocalDate();
std::string LocalTime();  // "HH:MM:SS"

// The current date and time: from the database server when the server engine ("ADSCDX") is in
// use and connected and the server answers plausibly, else the local clock.
Date XDATE();
std::string XTIME();

// Who wrote a log record and when: user name, " / ", computer name, a blank, XDATE as
// "dd/mm/yy", a blank and XTIME.
std::string INFO_USER();

// Day, month and four-digit year joined by "/"; the month as "ENE".."DIC" (mode 1),
// "JAN".."DEC" (mode 2) or two digits (any other mode). "00/00/0000" for the empty date.
std::string DTOC2(Date date, int mode = 2);

}  // namespace data

#include "lib/data/date_time.h"

#include <cstdio>
#include <optional>

#include "lib/data/database_server.h"
#include "lib/settings/settings.h"
#include "platform/clock/clock.h"
#include "platform/progdir/program_dir.h"
#include "platform/xbase/julian_date.h"

namespace data {
namespace {

constexpr int kEpoch = 1980;  // two-digit years are read within kEpoch..kEpoch + 99
constexpr int kEarliestServerYear = 1700;

std::string TwoDigits(int n) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", n % 100);
  return text;
}

std::string ClockText(int64_t hours, int64_t minutes, int64_t seconds) {
  return TwoDigits(static_cast<int>(hours)) + ":" + TwoDigits(static_cast<int>(minutes)) + ":" +
         TwoDigits(static_cast<int>(seconds));
}

// Digits of `text` from `pos` up to the next "/" or the end; -1 when there are none or others.
int Part(std::string_view text, size_t& pos, int* digits) {
  int value = 0;
  *digits = 0;
  while (pos < text.size() && text[pos] == ' ') ++pos;
  while (pos < text.size() && text[pos] != '/') {
    if (text[pos] < '0' || text[pos] > '9') return -1;
    value = value * 10 + (text[pos] - '0');
    ++*digits;
    ++pos;
  }
  if (pos < text.size()) ++pos;  // the separator
  return *digits ? value : -1;
}

// The server's answer when the server engine is connected and answers.
std::optional<ServerDateTime> AskServer() {
  const settings::Settings& globals = settings::Current();
  if (globals.DEF_RDD != "ADSCDX" || !globals.XADS_MYCONNECTION.value_or(false)) return {};
  DatabaseServer* server = InstalledDatabaseServer();
  return server ? server->CurrentDateTime() : std::nullopt;
}

}  // namespace

Date Date::FromCivil(int year, int month, int day) {
  return Date(xbase::JulianDay(year, month, day));
}

int Date::year() const { return xbase::FromJulianDay(julian_).year; }
int Date::month() const { return xbase::FromJulianDay(julian_).month; }
int Date::day() const { return xbase::FromJulianDay(julian_).day; }

std::string DateToText(Date date) {
  if (date.IsEmpty()) return "  /  /  ";
  return TwoDigits(date.day()) + "/" + TwoDigits(date.month()) + "/" + TwoDigits(date.year());
}

Date TextToDate(std::string_view text) {
  size_t pos = 0;
  int day_digits, month_digits, year_digits;
  int day = Part(text, pos, &day_digits);
  int month = Part(text, pos, &month_digits);
  int year = Part(text, pos, &year_digits);
  if (day < 0 || month < 0 || year < 0 || pos < text.size()) return {};
  if (year_digits <= 2) {
    const int century = kEpoch / 100 * 100, pivot = kEpoch % 100;
    year += year >= pivot ? century : century + 100;
  }
  return Date::FromCivil(year, month, day);
}

Date LocalDate() {
  zvclock::LocalDateTime now = zvclock::Now();
  return Date::FromCivil(now.year, now.month, now.day);
}

std::string LocalTime() {
  zvclock::LocalDateTime now = zvclock::Now();
  return ClockText(now.hour, now.minute, now.second);
}

Date XDATE() {
  std::optional<ServerDateTime> server = AskServer();
  if (!server) return LocalDate();
  Date date = TextToDate(server->date_text);
  if (date.IsEmpty() || date.year() < kEarliestServerYear) return LocalDate();
  return date;
}

std::string XTIME() {
  std::optional<ServerDateTime> server = AskServer();
  if (!server) return LocalTime();
  int64_t s = server->ms_since_midnight / 1000;
  return ClockText((s / 3600) % 24, (s / 60) % 60, s % 60);
}

std::string INFO_USER() {
  return progdir::UserName() + " / " + progdir::ComputerName() + " " + DateToText(XDATE()) + " " +
         XTIME();
}

std::string DTOC2(Date date, int mode) {
  static const char* const kSpanish[] = {"ENE", "FEB", "MAR", "ABR", "MAY", "JUN",
                                         "JUL", "AGO", "SET", "OCT", "NOV", "DIC"};
  static const char* const kEnglish[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                         "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
  // Days outside the four-digit years have no calendar date either.
  if (date.IsEmpty() || date.month() == 0) return "00/00/0000";
  std::string month = mode == 1   ? kSpanish[date.month() - 1]
                      : mode == 2 ? kEnglish[date.month() - 1]
                                  : TwoDigits(date.month());
  char year[8];
  std::snprintf(year, sizeof year, "%04d", date.year());
  return TwoDigits(date.day()) + "/" + month + "/" + year;
}

}  // namespace data

#include "platform/xbase/julian_date.h"

#include <gtest/gtest.h>

namespace xbase {
namespace {

TEST(JulianDateTest, KnownDays) {
  EXPECT_EQ(JulianDay(2024, 3, 10), 2460380);
  EXPECT_EQ(JulianDay(2090, 1, 1), 2484418);
  EXPECT_EQ(JulianDay(2000, 1, 1), 2451545);
  EXPECT_EQ(JulianDay(1970, 1, 1), 2440588);
  EXPECT_EQ(JulianDay(2024, 2, 29), 2460370);
  EXPECT_EQ(JulianDay(2000, 2, 29), 2451604);
  EXPECT_EQ(JulianDay(0, 1, 1), kMinJulianDay);
  EXPECT_EQ(JulianDay(9999, 12, 31), kMaxJulianDay);
}

TEST(JulianDateTest, ImpossibleDatesAreZero) {
  EXPECT_EQ(JulianDay(2024, 2, 30), 0);
  EXPECT_EQ(JulianDay(2023, 2, 29), 0);
  EXPECT_EQ(JulianDay(1900, 2, 29), 0);
  EXPECT_EQ(JulianDay(2024, 4, 31), 0);
  EXPECT_EQ(JulianDay(2024, 13, 1), 0);
  EXPECT_EQ(JulianDay(2024, 0, 1), 0);
  EXPECT_EQ(JulianDay(2024, 1, 0), 0);
  EXPECT_EQ(JulianDay(10000, 1, 1), 0);
  EXPECT_EQ(JulianDay(-1, 1, 1), 0);
}

TEST(JulianDateTest, EveryDayRoundTrips) {
  CivilDate previous = FromJulianDay(kMinJulianDay);
  EXPECT_EQ(previous, (CivilDate{0, 1, 1}));
  for (int64_t jd = kMinJulianDay + 1; jd <= kMaxJulianDay; ++jd) {
    const CivilDate date = FromJulianDay(jd);
    ASSERT_EQ(JulianDay(date.year, date.month, date.day), jd);
    // The next calendar day: day + 1, or the first of the next month or year.
    const bool next_day =
        date.year == previous.year && date.month == previous.month && date.day == previous.day + 1;
    const bool next_month =
        date.year == previous.year && date.month == previous.month + 1 && date.day == 1;
    const bool next_year = date.year == previous.year + 1 && date.month == 1 && date.day == 1 &&
                           previous.month == 12 && previous.day == 31;
    ASSERT_TRUE(next_day || next_month || next_year) << jd;
    previous = date;
  }
  EXPECT_EQ(previous, (CivilDate{9999, 12, 31}));
}

TEST(JulianDateTest, OutsideTheCalendarIsNoDate) {
  EXPECT_EQ(FromJulianDay(0), CivilDate{});
  EXPECT_EQ(FromJulianDay(-5), CivilDate{});
  EXPECT_EQ(FromJulianDay(kMinJulianDay - 1), CivilDate{});
  EXPECT_EQ(FromJulianDay(kMaxJulianDay + 1), CivilDate{});
}

TEST(JulianDateTest, Dtos) {
  EXPECT_EQ(Dtos(2460380), "20240310");
  EXPECT_EQ(Dtos(2484418), "20900101");
  EXPECT_EQ(Dtos(kMinJulianDay), "00000101");
  EXPECT_EQ(Dtos(kMaxJulianDay), "99991231");
  EXPECT_EQ(Dtos(0), "        ");
  EXPECT_EQ(Dtos(-1), "        ");
  EXPECT_EQ(Dtos(kMaxJulianDay + 1), "        ");
}

TEST(JulianDateTest, Stod) {
  EXPECT_EQ(Stod("20240310"), 2460380);
  EXPECT_EQ(Stod("20900101"), 2484418);
  EXPECT_EQ(Stod("00000101"), kMinJulianDay);
  EXPECT_EQ(Stod(""), 0);
  EXPECT_EQ(Stod("        "), 0);
  EXPECT_EQ(Stod("20240230"), 0);
  EXPECT_EQ(Stod("20241301"), 0);
  EXPECT_EQ(Stod("2024031"), 0);
  EXPECT_EQ(Stod("202403100"), 0);
  EXPECT_EQ(Stod("2024031a"), 0);
  EXPECT_EQ(Stod(" 2024031"), 0);
  EXPECT_EQ(Stod("00000000"), 0);
  for (int64_t jd = 2415021; jd < 2500000; jd += 13) EXPECT_EQ(Stod(Dtos(jd)), jd);
}

}  // namespace
}  // namespace xbase

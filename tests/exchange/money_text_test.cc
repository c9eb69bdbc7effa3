// Statement amounts: grouping, rounding to two decimals and where the minus sign goes.
#include "exchange/money_text.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(MoneyTextTest, AmountsAreGroupedWithTheSignBeforeTheFirstDigit) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {0, "0.00"},
      {5, "5.00"},
      {999.5, "999.50"},
      {1000, "1,000.00"},
      {1234567.5, "1,234,567.50"},
      {-234.5, "-234.50"},
      {-1234.5, "-1,234.50"},
      {-100000, "-100,000.00"},
      {27.75, "27.75"},
      {20.347, "20.35"},
      {-0.004, "0.00"},  // rounds to nothing: no sign
      {1e15, "1,000,000,000,000,000.00"},
      {0.125, "0.12"},  // the binary value's own rounding, as printf's
      {2.675, "2.67"},  // 2.67499999...
      {1e22, "10,000,000,000,000,000,000,000.00"},
      {std::numeric_limits<double>::quiet_NaN(), "0.00"},
      {-std::numeric_limits<double>::infinity(), "0.00"},
  };
  for (const auto& c : cases) EXPECT_EQ(MoneyText(c.value), c.text) << c.value;
}

}  // namespace

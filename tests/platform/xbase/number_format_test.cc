#include "platform/xbase/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace xbase {
namespace {

struct FormatCase {
  double value;
  int width;
  int decimals;
  const char* expected;
};

TEST(FormatNumberTest, FollowsTheStrRule) {
  const FormatCase cases[] = {
      // The examples of the format notes.
      {0, 1, 0, "0"},
      {10, 1, 0, "*"},
      {-1, 2, 0, "-1"},
      {2.5, 1, 0, "3"},
      {-2.5, 3, 0, " -3"},
      {1.005, 6, 2, "  1.01"},
      {12345, 4, 0, "****"},
      // Rounding half away from zero on the decimal value.
      {0.5, 1, 0, "1"},
      {0.49, 1, 0, "0"},
      {-5.5, 4, 0, "  -6"},
      {2.675, 5, 2, " 2.68"},
      {4.35, 4, 1, " 4.4"},
      {1.45, 3, 1, "1.5"},
      {-1.005, 6, 2, " -1.01"},
      {0.05, 4, 1, " 0.1"},
      {0.04999, 4, 1, " 0.0"},
      {99.995, 6, 2, "100.00"},
      {99.995, 5, 2, "*****"},
      {9.5, 2, 0, "10"},
      {9.5, 1, 0, "*"},
      // Zero and negative zero print without a sign.
      {-0.0, 3, 0, "  0"},
      {-0.001, 5, 2, " 0.00"},
      {-0.4, 2, 0, " 0"},
      {1e-320, 3, 1, "0.0"},
      // Decimals and widths.
      {1234.5, 10, 2, "   1234.50"},
      {1, 5, 3, "1.000"},
      {123.456, 8, 1, "   123.5"},
      {12345.678, 9, 2, " 12345.68"},
      {-12345.678, 9, 2, "-12345.68"},
      {-12345.678, 8, 2, "********"},
      {-1, 1, 0, "*"},
      {1.5, 3, 2, "***"},
      {3.7510, 12, 4, "      3.7510"},
      {48.25, 14, 2, "         48.25"},
      {24038, 14, 0, "         24038"},
      {1e20, 22, 0, " 100000000000000000000"},
      {1e300, 10, 0, "**********"},
      {123456789012.0, 12, 0, "123456789012"},
      {7, 3, -1, "  7"},
      {5, 0, 0, ""},
      {5, -3, 0, ""},
  };
  for (const FormatCase& c : cases) {
    EXPECT_EQ(FormatNumber(c.value, c.width, c.decimals), c.expected)
        << "FormatNumber(" << c.value << ", " << c.width << ", " << c.decimals << ")";
  }
}

TEST(FormatNumberTest, NonFiniteValuesDoNotFit) {
  EXPECT_EQ(FormatNumber(std::numeric_limits<double>::quiet_NaN(), 3, 0), "***");
  EXPECT_EQ(FormatNumber(std::numeric_limits<double>::infinity(), 4, 1), "****");
  EXPECT_EQ(FormatNumber(-std::numeric_limits<double>::infinity(), 2, 0), "**");
}

TEST(FormatNumberTest, ReadsBackWhatItWrites) {
  for (int i = -20000; i <= 20000; i += 7) {
    const double value = i / 100.0;
    const std::string text = FormatNumber(value, 10, 2);
    ASSERT_EQ(text.size(), 10u);
    EXPECT_EQ(ParseNumber(text), value) << text;
  }
}

struct ParseCase {
  const char* text;
  double expected;
};

TEST(ParseNumberTest, ReadsFieldsAndValText) {
  const ParseCase cases[] = {
      {"", 0},       {"    ", 0},
      {"  12", 12},  {"-3.5", -3.5},
      {"+2", 2},     {"   1234.50", 1234.5},
      {"12abc", 12}, {"1.2.3", 1.2},
      {"abc", 0},    {"-", 0},
      {".5", 0.5},   {"5.", 5},
      {" - 5", 0},   {"**********", 0},
      {"1e5", 1},    {"   -0.25", -0.25},
      {"007", 7},    {"  3.7510", 3.751},
      {"\t5", 0},
  };
  for (const ParseCase& c : cases) {
    EXPECT_EQ(ParseNumber(c.text), c.expected) << '"' << c.text << '"';
  }
}

TEST(ParseNumberTest, HugeTextsSaturate) {
  EXPECT_EQ(ParseNumber(std::string(400, '9')), std::numeric_limits<double>::infinity());
  EXPECT_EQ(ParseNumber("-" + std::string(400, '9')), -std::numeric_limits<double>::infinity());
  EXPECT_EQ(ParseNumber("0." + std::string(400, '0') + "1"), 0);
}

}  // namespace
}  // namespace xbase

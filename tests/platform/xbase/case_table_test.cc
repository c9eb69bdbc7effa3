#include "platform/xbase/case_table.h"

#include <gtest/gtest.h>

#include <string>

namespace xbase {
namespace {

TEST(CaseTableTest, MapsExactlyTheSuitePairs) {
  for (int c = 0; c < 256; ++c) {
    const auto b = static_cast<unsigned char>(c);
    unsigned char upper = b;
    unsigned char lower = b;
    if (c >= 'a' && c <= 'z') upper = static_cast<unsigned char>(c - 'a' + 'A');
    if (c >= 'A' && c <= 'Z') lower = static_cast<unsigned char>(c - 'A' + 'a');
    if (c == 0x84) upper = 0x8E;
    if (c == 0x94) upper = 0x99;
    if (c == 0x81) upper = 0x9A;
    if (c == 0x8E) lower = 0x84;
    if (c == 0x99) lower = 0x94;
    if (c == 0x9A) lower = 0x81;
    EXPECT_EQ(UpperByte(b), upper) << c;
    EXPECT_EQ(LowerByte(b), lower) << c;
  }
}

TEST(CaseTableTest, Strings) {
  EXPECT_EQ(UpperCase("M\x81ller k\x94ln \x84rger 1-z"), "M\x9ALLER K\x99LN \x8ERGER 1-Z");
  EXPECT_EQ(LowerCase("M\x9ALLER K\x99LN \x8ERGER 1-Z"), "m\x81ller k\x94ln \x84rger 1-z");
  EXPECT_EQ(UpperCase("caf\xE9"), "CAF\xE9");  // other bytes above 127 stay
  EXPECT_EQ(UpperCase(""), "");
  const std::string with_nul("a\0b", 3);
  EXPECT_EQ(UpperCase(with_nul), std::string("A\0B", 3));
}

}  // namespace
}  // namespace xbase

// The scrambling of stored passwords, in the form the suite's other programs read and write.
#include "lib/data/password_scramble.h"

#include <gtest/gtest.h>

namespace {

TEST(PasswordScrambleTest, EachByteXorsItsPositionOverTheTrimmedText) {
  struct Case {
    std::string plain;
    int flag;
    std::string stored;
  } cases[] = {
      {"ABC", 1, "@@@"},
      {"ABC       ", 1, "@@@       "},  // trailing blanks stay blanks
      {" A", 1, "!C"},                  // leading blanks count
      {"", 1, ""},
      {"          ", 1, "          "},
      {"abc", 0, "abc"},  // flag 0: stored plainly
      {"\xE1\xE9", 1, "\xE0\xEB"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.plain);
    EXPECT_EQ(data::ENCRYPT_STRING(c.plain, c.flag), c.stored);
    EXPECT_EQ(data::DECRYPT_STRING(c.stored, c.flag), c.plain);
  }
}

TEST(PasswordScrambleTest, XorTakesNumbersOrTheFirstCharacter) {
  EXPECT_EQ(data::C4W_XOR(65, 1), 64);
  EXPECT_EQ(data::C4W_XOR("A", "B"), 3);
  EXPECT_EQ(data::C4W_XOR("A", ""), 65);
}

TEST(PasswordScrambleTest, APasswordWhoseScrambledFormEndsInABlankDoesNotSurvive) {
  EXPECT_TRUE(data::SurvivesScrambling("SECRETO   "));
  EXPECT_TRUE(data::SurvivesScrambling(""));
  // '#' (0x23) in third place becomes a blank (0x20), which unscrambling trims away.
  EXPECT_FALSE(data::SurvivesScrambling("AB#       "));
  EXPECT_TRUE(data::SurvivesScrambling("A#B       "));
}

}  // namespace

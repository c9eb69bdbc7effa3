// Profile strings in the settings file beside the program.
#include "platform/win/profile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/progdir/program_dir.h"
#include "tests/support/temp_dir.h"

namespace {

class ProfileTest : public ::testing::Test {
 protected:
  void SetUp() override { progdir::SetProgramDirectory(dir_.path().string()); }
  void TearDown() override { progdir::SetProgramDirectory(""); }

  void WriteFile(const std::string& text) {
    std::ofstream(win::ProfilePath(), std::ios::binary) << text;
  }
  std::string FileText() {
    std::ifstream in(win::ProfilePath(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  testing_support::TempDir dir_;
};

TEST_F(ProfileTest, FileIsMadeBesideTheProgramAndNamesMatchWithoutCase) {
  EXPECT_EQ(win::ProfilePath(), dir_.File("ziruvuz.ini"));
  EXPECT_EQ(win::GetProfileString("Fenster", "A_X", "none"), "none");
  ASSERT_TRUE(win::WriteProfileString("Fenster", "A_X", "30"));
  EXPECT_EQ(FileText(), "[Fenster]\r\nA_X=30\r\n");
  EXPECT_EQ(win::GetProfileString("FENSTER", "a_x", "none"), "30");
  EXPECT_EQ(win::GetProfileInt("fenster", "A_X", -1), 30);
}

TEST_F(ProfileTest, WritingKeepsEveryOtherLineAndStaysInItsSection) {
  WriteFile(
      "; kept\r\n[Other]\r\nA_X=1\r\n\r\n[fenster]\r\n  a_x = 2 \r\nnot an entry\r\nB=3\r\n\r\n"
      "[Last]\r\nC=4");
  ASSERT_TRUE(win::WriteProfileString("Fenster", "A_X", "20"));
  ASSERT_TRUE(win::WriteProfileString("Fenster", "A_Y", "40"));
  ASSERT_TRUE(win::WriteProfileString("New", "K", "v"));
  EXPECT_EQ(FileText(),
            "; kept\r\n[Other]\r\nA_X=1\r\n\r\n[fenster]\r\nA_X=20\r\nnot an entry\r\nB=3\r\n"
            "A_Y=40\r\n\r\n[Last]\r\nC=4\r\n[New]\r\nK=v\r\n");
  EXPECT_EQ(win::GetProfileString("Other", "A_X", ""), "1");
}

TEST_F(ProfileTest, UnwritableNamesAndValuesLeaveTheFileAlone) {
  WriteFile("[Fenster]\r\nA=1\r\n");
  struct Case {
    const char* section;
    const char* key;
    const char* value;
  } cases[] = {{"Fenster", "A=B", "1"},
               {"Fenster", "", "1"},
               {"Fen]ster", "A", "1"},
               {"", "A", "1"},
               {"Fenster", "A", "1\n[X]"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.section) + "/" + c.key);
    EXPECT_FALSE(win::WriteProfileString(c.section, c.key, c.value));
  }
  EXPECT_EQ(FileText(), "[Fenster]\r\nA=1\r\n");
  progdir::SetProgramDirectory(dir_.File("no-such-folder"));
  EXPECT_FALSE(win::WriteProfileString("Fenster", "A", "2"));
}

TEST_F(ProfileTest, NumbersThatAreNotWholeNumbersGiveTheFallback) {
  WriteFile("[S]\nn=-5\nword=abc\nempty=\nhuge=99999999999\ntail=12px\n");
  struct Case {
    const char* key;
    int expected;
  } cases[] = {{"n", -5}, {"word", 7}, {"empty", 7}, {"huge", 7}, {"tail", 7}, {"missing", 7}};
  for (const Case& c : cases) EXPECT_EQ(win::GetProfileInt("S", c.key, 7), c.expected) << c.key;
}

}  // namespace

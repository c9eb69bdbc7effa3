// The fixture tables were written by another xBase engine: xbtool must dump them record for record
// as their .dump files say and find every key their .seeks files list.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "tests/support/temp_dir.h"
#include "tests/tools/xbtool/run_xbtool.h"

namespace {

namespace fs = std::filesystem;

class FixtureTest : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    for (const auto& e : fs::directory_iterator(ZV_FIXTURES_DIR "/BASES")) {
      fs::copy_file(e.path(), dir_.path() / e.path().filename());
    }
  }
  std::string Table() const { return dir_.File(GetParam()); }
  std::string Expected(const std::string& ext) const {
    return ReadFile(fs::path(ZV_FIXTURES_DIR "/BASES") / (GetParam() + ext));
  }
  testing_support::TempDir dir_;
};

TEST_P(FixtureTest, DumpsLiveAndDeletedRecordsAsTheOtherEngineSaw) {
  int code = 0;
  EXPECT_EQ(RunXbtool({"dump", Table()}, "", &code), Expected(".dump"));
  EXPECT_EQ(code, 0);
  EXPECT_EQ(RunXbtool({"dump", Table(), "--deleted"}, "", &code), Expected(".dump-deleted"));
  EXPECT_EQ(code, 0);
}

TEST_P(FixtureTest, EverySeekFindsTheListedRecord) {
  // Lines are TAG|KEY|RECNO; the key is everything between the first and the last bar.
  std::map<std::string, std::pair<std::string, std::string>> by_tag;  // tag -> (keys, recnos)
  std::istringstream lines(Expected(".seeks"));
  for (std::string line; std::getline(lines, line);) {
    auto first = line.find('|'), last = line.rfind('|');
    ASSERT_NE(first, last) << line;
    auto& [keys, recnos] = by_tag[line.substr(0, first)];
    keys += line.substr(first + 1, last - first - 1) + "\n";
    recnos += line.substr(last + 1) + "\n";
  }
  ASSERT_FALSE(by_tag.empty());
  for (const auto& [tag, io] : by_tag) {
    int code = 0;
    EXPECT_EQ(RunXbtool({"seek", Table(), tag}, io.first, &code), io.second) << tag;
    EXPECT_EQ(code, 0);
  }
}

TEST_P(FixtureTest, VerifiesClean) {
  int code = 0;
  std::string out = RunXbtool({"verify", Table()}, "", &code);
  EXPECT_EQ(code, 0) << out;
}

INSTANTIATE_TEST_SUITE_P(Fixtures, FixtureTest,
                         ::testing::Values("DET_RES2", "ENC_FOL", "DET_FOL", "T_CAMBIO",
                                           "LOG_XML"));

}  // namespace

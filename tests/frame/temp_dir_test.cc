// The local temporary folder: the probe with its drive-letter stepping, and the clean-up of the
// module's temporary tables.
#include "frame/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

TEST(TempDirTest, DriveLettersStepFromAToIAndWrapToC) {
  const std::string from = "ABCDEFGHIJZ";
  const std::string to = "BCDEFGHICJZ";
  for (size_t i = 0; i < from.size(); ++i) {
    EXPECT_EQ(frame::NextDriveLetter(from[i]), to[i]) << from[i];
  }
}

// Records the folders the probe tries to make; succeeds only for `accept`.
struct ScriptedSteps {
  std::vector<std::string> tried;
  std::string accept;
  frame::ProbeSteps steps() {
    return {[](const std::string&) { return false; },
            [this](const std::string& path) {
              tried.push_back(path);
              return path == accept || path == accept + "\\TEMP";
            }};
  }
};

TEST(TempDirTest, ADriveThatCannotBeUsedIsSteppedTenTimes) {
  ScriptedSteps never;
  settings::TempPath result = frame::ProbeTempDirectory(1, "d:\\TEMPZV  ", never.steps());
  std::string drives;
  for (const std::string& path : never.tried) drives += path[0];
  EXPECT_EQ(drives, "dEFGHICDEF") << "the first attempt takes the path as it was written";
  EXPECT_EQ(result.flag, 0);

  ScriptedSteps on_h;
  on_h.accept = "H:\\TEMPZV";
  result = frame::ProbeTempDirectory(1, "D:\\TEMPZV", on_h.steps());
  EXPECT_EQ(result.flag, 1);
  EXPECT_EQ(result.path, "H:\\TEMPZV");
  EXPECT_EQ(on_h.tried.back(), "H:\\TEMPZV\\TEMP");

  ScriptedSteps posix;
  result = frame::ProbeTempDirectory(1, "/no/such/place", posix.steps());
  EXPECT_EQ(std::set<std::string>(posix.tried.begin(), posix.tried.end()),
            std::set<std::string>{"/no/such/place"})
      << "a path without a drive letter is tried as it is";
  EXPECT_EQ(posix.tried.size(), 10u);
}

TEST(TempDirTest, ProbesTheRealFileSystem) {
  testing_support::TempDir dir;
  const std::string existing = dir.path().string();
  settings::TempPath found = frame::ProbeTempDirectory(1, existing + "/");
  EXPECT_EQ(found.flag, 1);
  EXPECT_TRUE(fs::exists(dir.path() / "YES")) << "the probe file stays";
  EXPECT_TRUE(fs::is_directory(dir.path() / "TEMP"));

  settings::TempPath made = frame::ProbeTempDirectory(1, existing + "/LOCAL");
  EXPECT_EQ(made.flag, 1);
  EXPECT_TRUE(fs::is_directory(dir.path() / "LOCAL" / "TEMP"));

  EXPECT_EQ(frame::ProbeTempDirectory(1, existing + "/a/b/c").flag, 0) << "no parent folder";
  EXPECT_EQ(frame::ProbeTempDirectory(1, "C:\\TEMP").flag, 0) << "no drive letters here";
  EXPECT_EQ(frame::ProbeTempDirectory(1, "   ").flag, 0) << "an empty path is never tried";
}

TEST(TempDirTest, CleanUpRemovesTheModulesTablesOrphanedIndexesAndHotFiles) {
  testing_support::TempDir dir;
  fs::create_directories(dir.path() / "TEMP");
  const std::vector<std::string> files = {
      "T1.REN",  "T1.CDX",   "T1.FPT",  // the module's table with companions
      "T2.ren",  "t2.cdx",              // any case
      "T3.CDX",  "T3.FPT",              // companions left without their table
      "T4.DBF",  "T4.CDX",              // another program's table: kept
      "T5.HOT",  "T5.CDX",              // HOT file with its index
      "T6.XYZ",  "KEEP.TXT",            // others kept
      "T7.RENX",                        // extensions compare by their first three letters
  };
  for (const std::string& name : files) std::ofstream(dir.path() / "TEMP" / name) << "x";
  settings::Reset();
  settings::Current().EXT_MODULO = "REN";
  settings::Current().XTEMPPATH = {1, dir.path().string()};
  frame::BORRAR_TEMPS();
  std::set<std::string> left;
  for (const auto& entry : fs::directory_iterator(dir.path() / "TEMP")) {
    left.insert(entry.path().filename().string());
  }
  EXPECT_EQ(left, (std::set<std::string>{"T4.DBF", "T4.CDX", "T6.XYZ", "KEEP.TXT"}));

  std::ofstream(dir.path() / "TEMP" / "T8.REN") << "x";
  settings::Current().XTEMPPATH.flag = 0;
  frame::BORRAR_TEMPS();
  EXPECT_TRUE(fs::exists(dir.path() / "TEMP" / "T8.REN")) << "not in use: left alone";
}

}  // namespace

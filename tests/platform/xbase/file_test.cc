#include "platform/xbase/file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/xbase/error.h"

namespace xbase {
namespace {

namespace fs = std::filesystem;

class FileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("xbfile_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

TEST_F(FileTest, ExclusiveOpenIsRefusedWhileSharedOpenExists) {
  std::string path = (dir_ / "T.DBF").string();
  File::Create(path);
  File shared = File::Open(path, false, ShareMode::kShared);
  File second = File::Open(path, true, ShareMode::kShared);
  try {
    File::Open(path, false, ShareMode::kExclusive);
    FAIL() << "exclusive open succeeded";
  } catch (const Error& e) {
    EXPECT_EQ(e.kind(), ErrorKind::kSharingViolation);
    EXPECT_EQ(e.os_code(), 32);
    EXPECT_NE(std::string(e.what()).find(path), std::string::npos);
  }
}

TEST_F(FileTest, FindsNamesWithoutRegardToCase) {
  File::Create((dir_ / "det_fol.dbf").string());
  auto found = FindFileNoCase(dir_.string(), "DET_FOL.DBF");
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(*found, (dir_ / "det_fol.dbf").string());
  EXPECT_FALSE(FindFileNoCase(dir_.string(), "NONE.DBF").has_value());
}

TEST_F(FileTest, ShortReadIsReportedAsCorruptWithFileName) {
  std::string path = (dir_ / "S.DBF").string();
  File f = File::Create(path);
  f.Write(0, "abc", 3);
  char buf[8];
  EXPECT_EQ(f.Read(0, buf, 8), 3u);
  try {
    f.ReadExact(0, buf, 8, "the header");
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.kind(), ErrorKind::kCorrupt);
    EXPECT_NE(std::string(e.what()).find("the header"), std::string::npos);
  }
}

}  // namespace
}  // namespace xbase

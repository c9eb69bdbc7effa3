#pragma once
// Scratch folders and fixture copies for the compound-index tests.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/xbase/cdx_page.h"

namespace xbase {

inline void PrintTo(const KeyEntry& e, std::ostream* os) {
  *os << ::testing::PrintToString(e.key) << "/" << e.recno;
}

namespace testing {

inline std::filesystem::path FixturePath(const std::string& name) {
  return std::filesystem::path(ZV_FIXTURES_DIR) / "BASES" / name;
}

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A test with a private scratch folder.
class ScratchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    for (char& c : name) {
      if (c == '/') c = '_';  // parameterized test names
    }
    dir_ = std::filesystem::temp_directory_path() /
           ("xbcdx_" + std::to_string(::getpid()) + "_" + name);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

  std::filesystem::path dir_;
};

}  // namespace testing
}  // namespace xbase

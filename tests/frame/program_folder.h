#pragma once
// A program folder for frame tests: the demo database in BASES, the settings pointing at it, the
// window system offscreen, and every headless message box collected as "[caption] text".

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "lib/data/work_areas.h"
#include "lib/settings/settings.h"
#include "platform/dbserver/client.h"
#include "platform/progdir/program_dir.h"
#include "platform/win/log.h"
#include "platform/win/window.h"
#include "platform/xbase/julian_date.h"
#include "tests/support/temp_dir.h"
#include "tools/xbtool/demo_writer.h"

namespace testing_support {

class ProgramFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    win::EnsureApplication();
    settings::Reset();
    dbserver::ResetClient();
    progdir::SetProgramDirectory(dir_.path().string());
    settings::Current().PATH = dir_.path().string() + "/";
    settings::Current().DEF_RDD = "DBFCDX";
    std::filesystem::create_directories(dir_.File("BASES"));
    xbtool::CreateDemoDatabase(dir_.File("BASES"), xbase::JulianDay(2024, 3, 6));
    win::SetLogSink([this](std::string_view line) {
      constexpr std::string_view kBox = "message box ";
      if (line.starts_with(kBox)) boxes_.emplace_back(line.substr(kBox.size()));
    });
  }
  void TearDown() override {
    win::SetLogSink({});
    data::CloseAllAreas();
    progdir::SetProgramDirectory("");
  }

  // Writes `bytes` into a file of the program folder.
  void WriteFile(const std::string& name, std::string_view bytes) {
    FILE* file = std::fopen(dir_.File(name).c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
  }

  TempDir dir_;
  std::vector<std::string> boxes_;
};

}  // namespace testing_support

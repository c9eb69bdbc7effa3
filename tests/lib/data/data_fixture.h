#pragma once
// A program directory in a temporary folder with an empty BASES folder; tables are made from the
// layouts and filled directly through the engine.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "lib/data/alert.h"
#include "lib/data/schema/layout.h"
#include "lib/data/work_areas.h"
#include "lib/settings/settings.h"
#include "platform/xbase/cursor.h"
#include "tests/support/temp_dir.h"

namespace testing_support {

using FieldValues = std::vector<std::pair<std::string, xbase::Value>>;

inline xbase::Value Text(std::string s) { return xbase::Value::Character(std::move(s)); }
inline xbase::Value Number(double n) { return xbase::Value::Numeric(n); }

class DataFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    settings::Reset();
    settings::Current().DEF_RDD = "DBFCDX";
    settings::Current().PATH = dir_.path().string() + "/";
    std::filesystem::create_directories(Bases());
    data::SetAlertFunction([this](const std::string& text, const std::string& caption) {
      alerts_.push_back(caption + "|" + text);
    });
  }
  void TearDown() override {
    data::SetAlertFunction(nullptr);
    for (int area = 1; area < 64; ++area) data::CloseArea(area);
    data::SelectArea(0);
  }

  std::string Bases() const { return dir_.File("BASES"); }
  std::string TablePath(const std::string& table) const { return Bases() + "/" + table + ".DBF"; }

  void Create(const std::string& table) {
    schema::CreateFromLayout(Bases(), *schema::FindLayout(table));
  }
  // Appends one record with the given fields; returns its record number.
  uint32_t Add(const std::string& table, const FieldValues& values) {
    xbase::Cursor cursor(TablePath(table));
    EXPECT_TRUE(cursor.Append());
    for (const auto& [field, value] : values) cursor.Put(field, value);
    uint32_t recno = cursor.RecNo();
    cursor.Unlock();
    return recno;
  }

  TempDir dir_;
  std::vector<std::string> alerts_;
};

}  // namespace testing_support

#pragma once
// A program directory holding the demo database (business date 6 March 2024), the exchange's
// tables open on it, a fake clock, and a connection side that records what the exchange does.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "exchange/connection_side.h"
#include "exchange/exchange_context.h"
#include "exchange/process_request.h"
#include "lib/data/alert.h"
#include "lib/data/work_areas.h"
#include "lib/settings/settings.h"
#include "platform/clock/clock.h"
#include "platform/xbase/cursor.h"
#include "platform/xbase/julian_date.h"
#include "tests/exchange/request_text.h"
#include "tests/support/temp_dir.h"
#include "tools/xbtool/demo_writer.h"

namespace testing_support {

class RecordingSide : public ConnectionSide {
 public:
  void ACT_TIME(int connection) override { Note("ACT_TIME", connection); }
  void SEND(int connection, const std::string& text) override {
    Note("SEND", connection);
    sent += text;
  }
  void ADD3_TEXTO(int connection, const std::string& text) override {
    Note("PANE", connection);
    pane += text;
  }
  void CloseConnection(int connection) override { Note("CLOSE", connection); }

  // "ACT_TIME 4 @0", "SEND 4 @0", ...: what happened, on which connection, at which tick.
  std::vector<std::string> events;
  std::string sent;
  std::string pane;

 private:
  void Note(const char* what, int connection) {
    events.push_back(std::string(what) + " " + std::to_string(connection) + " @" +
                     std::to_string(zvclock::TickCount()));
  }
};

struct LogRecord {
  std::string info;
  int64_t date = 0;  // Julian day
  std::string time;
};

class ExchangeFixture : public ::testing::Test {
 protected:
  static constexpr int kConnection = 4;

  void SetUp() override {
    settings::Reset();
    settings::Current().DEF_RDD = "DBFCDX";
    settings::Current().PATH = dir_.path().string() + "/";
    std::filesystem::create_directories(dir_.File("BASES"));
    xbtool::CreateDemoDatabase(dir_.File("BASES"), xbase::JulianDay(2024, 3, 6));
    data::SetAlertFunction([this](const std::string& text, const std::string& caption) {
      alerts_.push_back(caption + "|" + text);
    });
    tables_.Open();
  }
  void TearDown() override {
    tables_.Close();
    data::SetAlertFunction(nullptr);
    data::SelectArea(0);
    EXPECT_TRUE(alerts_.empty()) << alerts_.front();
  }

  // Runs one request; returns the bytes sent back (empty when there was no reply).
  std::string Process(const std::string& text) {
    side_ = RecordingSide();
    PROCESSREQUEST(context_, kConnection, text);
    return side_.sent;
  }

  std::vector<LogRecord> LogRecords() const {
    xbase::Cursor log(dir_.File("BASES") + "/LOG_XML.DBF");
    std::vector<LogRecord> records;
    for (log.GoTop(); !log.Eof(); log.Skip()) {
      records.push_back({log.Get("INFO").str, log.Get("FECHA").julian(), log.Get("HORA").str});
    }
    return records;
  }

  zvclock::FakeClock clock_{0, {2024, 3, 6, 10, 30, 15}};
  TempDir dir_;
  std::vector<std::string> alerts_;
  ExchangeTables tables_;
  RecordingSide side_;
  ExchangeContext context_{side_, tables_};
};

}  // namespace testing_support

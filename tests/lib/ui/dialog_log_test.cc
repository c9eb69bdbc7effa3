// Opening a dialog leaves a record in LOG_DIAG: a record older than 240 days is recycled, the
// library's own short-lived dialogs are not logged, and a log that cannot be written never keeps
// a dialog from opening.
#include "lib/ui/dialog_log.h"

#include <gtest/gtest.h>

#include "lib/data/date_time.h"
#include "platform/clock/clock.h"
#include "platform/xbase/julian_date.h"
#include "tests/lib/data/data_fixture.h"

namespace {

using testing_support::Number;
using testing_support::Text;

class DialogLogTest : public testing_support::DataFixture {
 protected:
  // Today is 1 January 2024 on the fake clock.
  int64_t DaysAgo(int days) { return xbase::JulianDay(2024, 1, 1) - days; }
  std::vector<std::string> Dialogs() {
    std::vector<std::string> names;
    xbase::Cursor log(TablePath("LOG_DIAG"));
    for (log.GoTop(); !log.Eof(); log.Skip(1)) names.push_back(log.Get("DIALOGO").str);
    for (std::string& n : names) n.erase(n.find_last_not_of(' ') + 1);
    return names;
  }
  zvclock::FakeClock clock_;
};

TEST_F(DialogLogTest, RecyclesOnlyRecordsOlderThan240Days) {
  struct Case {
    int age_of_oldest;  // days; -1: the table is empty
    std::vector<std::string> expected;
  } cases[] = {
      {-1, {"EXCHANGE"}},
      {240, {"OLD", "EXCHANGE"}},
      {241, {"EXCHANGE"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.age_of_oldest);
    std::filesystem::remove_all(Bases());
    std::filesystem::create_directories(Bases());
    Create("LOG_DIAG");
    if (c.age_of_oldest >= 0) {
      Add("LOG_DIAG",
          {{"DIALOGO", Text("OLD")}, {"FECHA", xbase::Value::Date(DaysAgo(c.age_of_oldest))}});
    }
    ui::LogDialogOpening("EXCHANGE");
    EXPECT_EQ(Dialogs(), c.expected);
  }
}

TEST_F(DialogLogTest, RecordCarriesWhoAndWhenAndClearsTheMenuCommand) {
  Create("LOG_DIAG");
  settings::Current().XID_MENU = 6125;
  settings::Current().XUSER_ABREVIA = "ADM";
  settings::Current().XU_COMP = "HTL01";
  settings::Current().EXT_MODULO = "REN";
  ui::LogDialogOpening("EXCHANGE");
  EXPECT_FALSE(settings::Current().XID_MENU.has_value());
  xbase::Cursor log(TablePath("LOG_DIAG"));
  EXPECT_EQ(log.Get("ID_DIAG").num, 6125);
  EXPECT_EQ(log.Get("NEGOCIO").str.substr(0, 5), "HTL01");
  EXPECT_EQ(log.Get("USUARIO").str.substr(0, 3), "ADM");
  EXPECT_EQ(log.Get("MODULO").str, "REN");
  EXPECT_EQ(log.Get("FECHA").julian(), xbase::JulianDay(2024, 1, 1));
  EXPECT_EQ(log.Get("HORA").str, "12:00:00");
  EXPECT_NE(log.Get("INFO_USER").str.find(" / "), std::string::npos);
  EXPECT_NE(log.Get("INFO_USER").str.find("01/01/24 12:00:00"), std::string::npos);
}

TEST_F(DialogLogTest, ShortLivedDialogsAndMissingTableLeaveNoTrace) {
  Create("LOG_DIAG");
  for (const char* name : {"XLOGINUSR", "CHECK_DB2", "WAIT", "PREVIEW800X"}) {
    ui::LogDialogOpening(name);
  }
  EXPECT_TRUE(Dialogs().empty());
  std::filesystem::remove_all(Bases());
  data::SelectArea(0);
  EXPECT_NO_THROW(ui::LogDialogOpening("EXCHANGE"));
  EXPECT_EQ(data::SelectedArea(), 0);
}

}  // namespace

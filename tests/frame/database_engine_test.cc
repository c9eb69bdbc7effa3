// The engine choice at start: local tables without ADS.DEF, the server with it, and the end of
// the program when no server serves the data folder.
#include "frame/database_engine.h"

#include <gtest/gtest.h>

#include "lib/data/database_server.h"
#include "lib/data/date_time.h"
#include "lib/data/work_areas.h"
#include "lib/data/wtable.h"
#include "platform/clock/clock.h"
#include "tests/frame/program_folder.h"

namespace {

using frame::EngineChoice;

class DatabaseEngineTest : public testing_support::ProgramFolderTest {};

TEST_F(DatabaseEngineTest, WithoutAdsDefTablesAreLocalAndNothingIsShown) {
  settings::Current().DEF_RDD.clear();
  EXPECT_EQ(frame::ChooseDatabaseEngine(), EngineChoice::kLocalTables);
  EXPECT_EQ(settings::Current().DEF_RDD, "DBFCDX");
  EXPECT_EQ(settings::Current().XADSPARAMS, std::vector<std::string>(26));
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(DatabaseEngineTest, AFourLineAdsDefNamingTheDataFolderSelectsTheServer) {
  const std::string data_folder = dir_.File("BASES");
  WriteFile("ads.def", data_folder + "\r\n1\r\n0\r\n1");  // any case of the name
  zvclock::FakeClock clock(0, {2031, 7, 9, 14, 5, 6});

  ASSERT_EQ(frame::ChooseDatabaseEngine(), EngineChoice::kServer);
  const settings::Settings& globals = settings::Current();
  EXPECT_EQ(globals.DEF_RDD, "ADSCDX");
  EXPECT_EQ(globals.XADSDIRECTORY, data_folder);
  EXPECT_EQ(globals.XADS_MYCONNECTION, true);
  EXPECT_EQ(globals.XADSCACHERECORDS, 0);
  const dbserver::ClientState& client = dbserver::State();
  EXPECT_EQ(client.file_type, 2);
  EXPECT_EQ(client.rights_check, 0);
  EXPECT_EQ(client.char_type, 2) << "the second call's setting stays";
  EXPECT_EQ(client.cached_tables, 150);
  EXPECT_EQ(client.default_driver, "ADS");
  EXPECT_TRUE(client.management_path.empty()) << "management connection closed again";
  EXPECT_TRUE(boxes_.empty());

  // Tables come from the same folder through the server's driver; its clock is the local one.
  data::TableHandle fonts = data::USE({}, "FONTS");
  EXPECT_EQ(data::FindArea(fonts->Area)->engine, "ADSCDX");
  EXPECT_EQ(client.cache_records.at(fonts->Area), 0);
  data::KILLTABLA(fonts);
  EXPECT_EQ(data::DateToText(data::XDATE()), "09/07/31");
  EXPECT_EQ(data::XTIME(), "14:05:06");
  data::SetDatabaseServer(nullptr);
}

TEST_F(DatabaseEngineTest, NoServerForTheDataFolderShowsTheErrorAndOpensNothing) {
  struct Case {
    const char* name;
    std::string ads_def;
  };
  const Case cases[] = {
      {"missing folder", dir_.File("NO_SUCH_FOLDER") + "\r\n1\r\n0\r\n1\r\n"},
      {"LF-only file runs the lines together", dir_.File("BASES") + "\n1\n0\n1\n"},
      {"empty file", ""},
  };
  for (const Case& c : cases) {
    boxes_.clear();
    dbserver::ResetClient();
    WriteFile("ADS.DEF", c.ads_def);
    EXPECT_EQ(frame::ChooseDatabaseEngine(), EngineChoice::kServerNotFound) << c.name;
    EXPECT_EQ(boxes_,
              std::vector<std::string>{
                  "[Error] Servidor Advantage Database Server no localizable\rError: "
                  "      6420"})
        << c.name;
    EXPECT_EQ(data::LowestFreeArea(), 1) << c.name;
    EXPECT_FALSE(dbserver::State().connected) << c.name;
  }
}

}  // namespace

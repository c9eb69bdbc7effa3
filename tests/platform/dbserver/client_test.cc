// The database-server client: the probe of the data folder, the management information and the
// server's clock.
#include "platform/dbserver/client.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/progdir/program_dir.h"
#include "tests/support/temp_dir.h"

namespace {

TEST(DbServerClientTest, ServesAnExistingReadableDataFolderOnly) {
  testing_support::TempDir dir;
  dbserver::ResetClient();
  EXPECT_NE(dbserver::ADSISSERVERLOADED(dir.path().string()), 0);
  EXPECT_EQ(dbserver::ADSGETLASTERROR(), 0);
  std::filesystem::create_directories(dir.path() / "DATOS");
  progdir::SetProgramDirectory(dir.path().string());
  EXPECT_NE(dbserver::ADSISSERVERLOADED("DATOS"), 0) << "relative to the program folder";
  progdir::SetProgramDirectory("");
  for (std::string missing : {dir.File("nothing"), std::string(), dir.File("file")}) {
    if (missing == dir.File("file")) std::fclose(std::fopen(missing.c_str(), "w"));
    EXPECT_EQ(dbserver::ADSISSERVERLOADED(missing), 0) << missing;
    EXPECT_EQ(dbserver::ADSGETLASTERROR(), dbserver::kServerNotFound);
  }
}

TEST(DbServerClientTest, ManagementInformationNeedsAManagementConnection) {
  testing_support::TempDir dir;
  dbserver::ResetClient();
  EXPECT_TRUE(dbserver::ADSMGGETINSTALLINFO().empty());
  EXPECT_EQ(dbserver::ADSGETLASTERROR(), dbserver::kNoManagementConnection);
  EXPECT_FALSE(dbserver::ADSMGCONNECT(dir.File("missing")));

  ASSERT_TRUE(dbserver::ADSMGCONNECT(dir.path().string()));
  std::vector<std::string> install = dbserver::ADSMGGETINSTALLINFO();
  ASSERT_GE(install.size(), 8u);
  EXPECT_EQ(install[2], "1.0 (local storage engine)");
  EXPECT_EQ(dbserver::ADSMGGETCONFIGINFO().front(), "1");
  dbserver::ADSMGDISCONNECT();
  EXPECT_TRUE(dbserver::ADSMGGETCONFIGINFO().empty());
}

TEST(DbServerClientTest, TheServerClockIsTheLocalClock) {
  zvclock::FakeClock clock(0, {2029, 2, 28, 23, 59, 58});
  zvclock::LocalDateTime now = dbserver::ServerNow();
  EXPECT_EQ(now.year, 2029);
  EXPECT_EQ(now.day, 28);
  EXPECT_EQ(now.second, 58);
}

}  // namespace

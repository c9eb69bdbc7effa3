// The real program, started offscreen in a program folder of its own with the demo database:
// it starts, builds its frame and opens its server window, and ends cleanly on SIGTERM or Ctrl-C
// with its tables intact; with an ADS.DEF whose data folder no server serves it ends at once.
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <fstream>

#include "platform/xbase/table_maintenance.h"
#include "tests/app/program_run.h"

namespace {

namespace fs = std::filesystem;
using program_run::ProgramRun;

class ZiruvuzSmokeTest : public ::testing::Test {
 protected:
  void SetUp() override { program_run::MakeProgramFolder(dir_, port_); }

  testing_support::TempDir dir_;
  const int port_ = program_run::FreePort();
};

TEST_F(ZiruvuzSmokeTest, StartsListensAndEndsCleanlyOnSigtermOrCtrlC) {
  for (int signal : {SIGTERM, SIGINT}) {
    SCOPED_TRACE(signal);
    ProgramRun run(dir_.path());
    // The module window is open once its server listens.
    ASSERT_TRUE(run.WaitUntilListening(port_, 30)) << run.Log();
    run.Signal(signal);
    EXPECT_EQ(run.WaitForExit(20), 0) << run.Log();
    for (const auto& entry : fs::directory_iterator(dir_.path() / "BASES")) {
      if (entry.path().extension() != ".DBF") continue;
      for (const xbase::VerifyReport& report : xbase::Verify(entry.path().string())) {
        EXPECT_TRUE(report.problems.empty())
            << entry.path() << " " << report.tag << ": " << report.problems.front();
      }
    }
  }
}

TEST_F(ZiruvuzSmokeTest, EndsAtOnceWhenNoServerServesTheDataFolder) {
  std::ofstream(dir_.path() / "ADS.DEF") << "/no/such/data\r\n1\r\n0\r\n1\r\n";
  ProgramRun run(dir_.path());
  EXPECT_EQ(run.WaitForExit(20), 1);
  EXPECT_NE(run.Log().find("Servidor Advantage Database Server no localizable\rError:       6420"),
            std::string::npos)
      << run.Log();
}

}  // namespace

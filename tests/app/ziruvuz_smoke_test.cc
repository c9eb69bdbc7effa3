// The real program, started offscreen in a program folder of its own with the demo database:
// it starts, builds its frame and opens its module window, and ends cleanly on SIGTERM or Ctrl-C
// with its tables intact; with an ADS.DEF whose data folder no server serves it ends at once.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "platform/xbase/cursor.h"
#include "platform/xbase/julian_date.h"
#include "platform/xbase/table_maintenance.h"
#include "tests/support/temp_dir.h"
#include "tools/xbtool/demo_writer.h"

namespace {

namespace fs = std::filesystem;
using std::chrono::steady_clock;

// A port nobody listens on right now.
int FreePort() {
  int probe = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t length = sizeof address;
  ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
  ::close(probe);
  return ntohs(address.sin_port);
}

bool Listening(int port) {
  int client = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bool connected = ::connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  ::close(client);
  return connected;
}

class ProgramRun {
 public:
  explicit ProgramRun(const fs::path& folder) : log_(folder / "stderr.txt") {
    fs::remove(log_);  // what an earlier run wrote must not pass for this one's
    pid_ = ::fork();
    if (pid_ == 0) {
      ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
      std::freopen(log_.c_str(), "w", stderr);
      std::string program = (folder / "ziruvuz").string();
      ::execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
  }
  ~ProgramRun() {
    if (pid_ > 0 && !exited_) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }

  std::string Log() const {
    std::ifstream in(log_);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  // The exit status once the program ended within `seconds`; -1 when it did not.
  int WaitForExit(int seconds) {
    auto deadline = steady_clock::now() + std::chrono::seconds(seconds);
    int status = 0;
    while (steady_clock::now() < deadline) {
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        exited_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return -1;
  }
  void Signal(int signal) { ::kill(pid_, signal); }

 private:
  fs::path log_;
  pid_t pid_ = -1;
  bool exited_ = false;
};

class ZiruvuzSmokeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::copy_file(ZV_ZIRUVUZ_EXE, dir_.path() / "ziruvuz");
    fs::copy_file(ZV_CSC32_MODULE, dir_.path() / "libcsc32.so");
    fs::create_directories(dir_.path() / "BASES");
    xbtool::CreateDemoDatabase(dir_.File("BASES"), xbase::JulianDay(2024, 3, 6));
    xbase::Cursor settings(dir_.File("BASES") + "/F_DIZU.DBF");
    settings.GoTop();
    ASSERT_TRUE(settings.RLock());
    settings.Put("IP_PORT", xbase::Value::Numeric(port_));
    settings.Unlock();
    settings.Close();
  }

  testing_support::TempDir dir_;
  const int port_ = FreePort();
};

TEST_F(ZiruvuzSmokeTest, StartsOpensItsModuleWindowAndEndsCleanlyOnSigtermOrCtrlC) {
  for (int signal : {SIGTERM, SIGINT}) {
    SCOPED_TRACE(signal);
    ProgramRun run(dir_.path());
    // The module window is open when its placeholder reports or the server listens.
    auto deadline = steady_clock::now() + std::chrono::seconds(30);
    bool started = false;
    while (!started && steady_clock::now() < deadline) {
      started = run.Log().find("exchange server window") != std::string::npos || Listening(port_);
      if (!started) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ASSERT_TRUE(started) << run.Log();
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

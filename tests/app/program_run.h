#pragma once
// The real program in a program folder of its own: the executable and its components copied
// beside the demo database, started offscreen as a child process, and a peer that talks to it
// over TCP on 127.0.0.1 the way ZIRUVUZ does.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>

#include "platform/xbase/cursor.h"
#include "platform/xbase/julian_date.h"
#include "tests/support/temp_dir.h"
#include "tools/xbtool/demo_writer.h"

namespace program_run {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

inline sockaddr_in Loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

// A port nobody listens on right now.
inline int FreePort() {
  int probe = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = Loopback(0);
  ::bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t length = sizeof address;
  ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
  ::close(probe);
  return ntohs(address.sin_port);
}

// One TCP connection of a peer: sends pieces and reads what comes back until the close.
class Peer {
 public:
  explicit Peer(int port) : socket_(::socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address = Loopback(port);
    connected_ = ::connect(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  }
  ~Peer() { ::close(socket_); }
  Peer(const Peer&) = delete;
  Peer& operator=(const Peer&) = delete;

  bool connected() const { return connected_; }

  void Send(std::string_view bytes) {
    while (!bytes.empty()) {
      ssize_t sent = ::send(socket_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
      if (sent <= 0) return;
      bytes.remove_prefix(static_cast<size_t>(sent));
    }
  }

  // Everything received until the program closed the connection (or `limit` passed), with
  // the moments the first byte came and the close was seen.
  struct Received {
    std::string bytes;
    Clock::time_point first_byte{};
    Clock::time_point closed{};
    bool was_closed = false;
  };
  Received ReadUntilClosed(std::chrono::milliseconds limit) {
    Received received;
    const auto deadline = Clock::now() + limit;
    while (Clock::now() < deadline) {
      pollfd wait{socket_, POLLIN, 0};
      if (::poll(&wait, 1, 50) <= 0) continue;
      char buffer[4096];
      ssize_t count = ::recv(socket_, buffer, sizeof buffer, 0);
      if (count <= 0) {
        received.closed = Clock::now();
        received.was_closed = true;
        break;
      }
      if (received.bytes.empty()) received.first_byte = Clock::now();
      received.bytes.append(buffer, static_cast<size_t>(count));
    }
    return received;
  }

 private:
  int socket_;
  bool connected_ = false;
};

inline bool Listening(int port) { return Peer(port).connected(); }

// The program started offscreen in `folder`; its standard error goes to a file there.
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
  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;

  std::string Log() const {
    std::ifstream in(log_);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  // The exit status once the program ended within `seconds`; -1 when it did not.
  int WaitForExit(int seconds) {
    auto deadline = Clock::now() + std::chrono::seconds(seconds);
    int status = 0;
    while (Clock::now() < deadline) {
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        exited_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return -1;
  }
  // True once something listens on `port` within `seconds`.
  bool WaitUntilListening(int port, int seconds) {
    auto deadline = Clock::now() + std::chrono::seconds(seconds);
    while (Clock::now() < deadline) {
      if (Listening(port)) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
  }
  void Signal(int signal) { ::kill(pid_, signal); }

 private:
  fs::path log_;
  pid_t pid_ = -1;
  bool exited_ = false;
};

// A program folder: the executable, its components and the demo database (dated 6 March
// 2024) whose server settings name `port`.
inline void MakeProgramFolder(const testing_support::TempDir& dir, int port) {
  fs::copy_file(ZV_ZIRUVUZ_EXE, dir.path() / "ziruvuz");
  fs::copy_file(ZV_CSC32_MODULE, dir.path() / "libcsc32.so");
  fs::create_directories(dir.path() / "BASES");
  xbtool::CreateDemoDatabase(dir.File("BASES"), xbase::JulianDay(2024, 3, 6));
  xbase::Cursor settings(dir.File("BASES") + "/F_DIZU.DBF");
  settings.GoTop();
  settings.RLock();
  settings.Put("IP_PORT", xbase::Value::Numeric(port));
  settings.Unlock();
  settings.Close();
}

}  // namespace program_run

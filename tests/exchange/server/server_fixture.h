#pragma once
// The exchange server window on a program directory with the demo database (business date
// 6 March 2024), listening on a free port of 127.0.0.1 through the real socket component,
// offscreen, with a fake clock; and a blocking peer that talks to it.

#include <gtest/gtest.h>

#include <QTimer>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <future>
#include <optional>
#include <string>
#include <vector>

#include "exchange/server/ex_ziruvuz.h"
#include "lib/data/alert.h"
#include "lib/data/work_areas.h"
#include "lib/settings/settings.h"
#include "lib/ui/socket_hooks.h"
#include "platform/clock/clock.h"
#include "platform/dynlib/library.h"
#include "platform/win/log.h"
#include "platform/win/message.h"
#include "platform/win/window.h"
#include "platform/xbase/cursor.h"
#include "platform/xbase/julian_date.h"
#include "tests/platform/sockets/socket_test_support.h"
#include "tests/support/message_loop.h"
#include "tests/support/temp_dir.h"
#include "tools/xbtool/demo_writer.h"

namespace testing_support {

using namespace std::chrono_literals;

inline const bool kOffscreen = (setenv("QT_QPA_PLATFORM", "offscreen", 1), true);

class ServerFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    win::EnsureApplication();
    ui::InstallSocketHooks();
    dynlib::SetModuleDirectory(ZV_CSC32_DIR);
    win::SetLogSink([this](std::string_view line) { log_.emplace_back(line); });
    settings::Reset();
    settings::Current().DEF_RDD = "DBFCDX";
    settings::Current().PATH = dir_.path().string() + "/";
    std::filesystem::create_directories(Bases());
    xbtool::CreateDemoDatabase(Bases(), xbase::JulianDay(2024, 3, 6));
    port_ = sock_test::FreeLoopbackPort();
    SetListeningPort(port_);
    data::SetAlertFunction([this](const std::string& text, const std::string& caption) {
      alerts_.push_back(caption + "|" + text);
    });
    server_ = EX_ZIRUVUZ::New(nullptr, "EXCHANGE", "OTHER");
    ASSERT_NE(server_, nullptr);
    hwnd_ = server_->hwnd;
  }

  void TearDown() override {
    if (win::IsWindow(hwnd_)) server_->Terminar(0);
    win::DispatchPending();  // nothing posted for this window reaches the next test's
    dynlib::SetModuleDirectory("");
    data::SetAlertFunction(nullptr);
    data::SelectArea(0);
    win::SetLogSink({});
    EXPECT_TRUE(alerts_.empty()) << alerts_.front();
  }

  std::string Bases() const { return dir_.File("BASES"); }

  void SetListeningPort(int32_t port) {
    xbase::Cursor settings_record(Bases() + "/F_DIZU.DBF");
    settings_record.GoTop();
    ASSERT_TRUE(settings_record.RLock());
    settings_record.Put("IP_PORT", xbase::Value::Numeric(port));
    settings_record.Unlock();
  }

  // Runs the program's message loop until `done` holds; false after 20 s of real time.
  bool RunUntil(const std::function<bool()>& done) { return RunMessagesUntil(done); }

  // Runs the toolkit's events, dispatching no message of the program, until one is queued;
  // that message, left in the queue. Nothing after 20 s of real time.
  std::optional<win::Msg> WaitUntilQueued() {
    QTimer wake_up;
    wake_up.start(10);
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    win::Msg msg;
    while (!win::PeekMessage(&msg, win::PM_NOREMOVE)) {
      if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
      win::WaitMessage();
    }
    return msg;
  }

  // A peer connected to the server and accepted by it.
  sock_test::TestClient Connected() {
    sock_test::TestClient client;
    const size_t before = server_->nSocket.size();
    EXPECT_TRUE(client.Connect(port_));
    EXPECT_TRUE(RunUntil([&] { return server_->nSocket.size() > before; }));
    return client;
  }

  // Runs the window until the server has closed the peer's connection; what it sent.
  std::string ReplyTo(sock_test::TestClient& client) {
    auto reply = std::async(std::launch::async, [&] { return client.ReadUntilClosed(); });
    EXPECT_TRUE(RunUntil([&] { return reply.wait_for(0s) == std::future_status::ready; }));
    return reply.get();
  }

  // Sends `request` on a new connection; the reply, once the server has closed it.
  std::string Exchange(const std::string& request) {
    sock_test::TestClient client = Connected();
    EXPECT_TRUE(client.Send(request));
    return ReplyTo(client);
  }

  // The idle sweep, as the window's timer starts it.
  void Sweep() { win::SendMessage(hwnd_, win::WM_TIMER, 1, 0); }

  std::string ControlText(int id) const { return win::GetWindowText(win::GetDlgItem(hwnd_, id)); }
  std::string ReceivePane() const { return ControlText(501); }
  std::string SendPane() const { return ControlText(500); }

  // INFO of every LOG_XML record, in the order written.
  std::vector<std::string> LoggedTexts() const {
    xbase::Cursor log(Bases() + "/LOG_XML.DBF");
    std::vector<std::string> texts;
    for (log.GoTop(); !log.Eof(); log.Skip()) texts.push_back(log.Get("INFO").str);
    return texts;
  }

  zvclock::FakeClock clock_{0, {2024, 3, 6, 10, 30, 15}};
  TempDir dir_;
  int32_t port_ = 0;
  EX_ZIRUVUZ* server_ = nullptr;  // lives as long as its window
  win::Hwnd hwnd_ = 0;
  std::vector<std::string> log_;
  std::vector<std::string> alerts_;
};

}  // namespace testing_support

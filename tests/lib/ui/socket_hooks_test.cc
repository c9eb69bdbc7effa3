// The socket layer joined to the window system: the real component announces a client to a
// window through the queue, and a missing or broken component is shown to the user.
#include "lib/ui/socket_hooks.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "lib/net/csc32_library.h"
#include "lib/net/csc32_wrappers.h"
#include "lib/net/report.h"
#include "lib/net/tcp_server.h"
#include "lib/ui/handler_chain.h"
#include "platform/dynlib/library.h"
#include "platform/win/log.h"
#include "platform/win/message.h"
#include "platform/win/window.h"
#include "tests/platform/sockets/socket_test_support.h"

namespace {

const bool kOffscreen = (setenv("QT_QPA_PLATFORM", "offscreen", 1), true);

constexpr uint32_t kConnectMessage = 1976;
constexpr uint32_t kDataMessage = 1977;
constexpr uintptr_t kDeadlineTimer = 1;

class SocketHooksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    win::EnsureApplication();
    ui::InstallSocketHooks();
    win::SetLogSink([this](std::string_view line) { log_.emplace_back(line); });
    ui::REGISTERCLASS("SocketOwner");
    hwnd_ = win::CreateWindowEx(0, "SocketOwner", "", 0, 0, 0, 10, 10, 0, 0);
    ui::SUBCLASSWINDOW(
        hwnd_,
        [this](win::Hwnd, uint32_t m, win::WPARAM, win::LPARAM) {
          received_.push_back(m);
          return intptr_t{0};
        },
        0);
  }
  void TearDown() override {
    net::UnloadComponent();
    dynlib::SetModuleDirectory("");
    win::DestroyWindow(hwnd_);
    win::SetLogSink({});
  }

  // Runs the main loop until the window has received `message`, at most about ten seconds.
  bool LoopUntilReceived(uint32_t message) {
    received_.clear();
    win::SetTimer(hwnd_, kDeadlineTimer, 50);
    win::Msg msg;
    for (int ticks = 0; ticks < 200 && win::GetMessage(&msg);) {
      win::DispatchMessage(&msg);
      if (std::find(received_.begin(), received_.end(), message) != received_.end()) break;
      ticks += msg.message == win::WM_TIMER;
    }
    win::KillTimer(hwnd_, kDeadlineTimer);
    return std::find(received_.begin(), received_.end(), message) != received_.end();
  }

  win::Hwnd hwnd_ = 0;
  std::vector<uint32_t> received_;
  std::vector<std::string> log_;
};

TEST_F(SocketHooksTest, ClientOnLoopbackIsAnnouncedToTheWindowThroughTheQueue) {
  dynlib::SetModuleDirectory(ZV_CSC32_DIR);
  int32_t port = sock_test::FreeLoopbackPort();
  TCP_SERVER server(nullptr, hwnd_, "127.0.0.1", port, kConnectMessage, kDataMessage);
  sock_test::TestClient client;
  ASSERT_TRUE(client.Connect(port));
  ASSERT_TRUE(LoopUntilReceived(kConnectMessage));

  int32_t handle = CSCACCEPTCONNECT(port);
  ASSERT_EQ(handle, 0);
  CSCDATAMESSAGE(hwnd_, handle, kDataMessage + handle);
  ASSERT_TRUE(client.Send("hola"));
  ASSERT_TRUE(LoopUntilReceived(kDataMessage));
  std::string buffer(2048, ' ');
  EXPECT_EQ(server.RECV(handle, buffer), 4);
  FREECSC(server);
  EXPECT_TRUE(log_.empty());
}

TEST_F(SocketHooksTest, MissingOrBrokenComponentIsShownInAMessageBox) {
  struct Case {
    const char* folder;
    const char* shown;
  } cases[] = {
      {ZV_CSC32_DIR "/no-such-folder",
       "message box [Error] No se pudo cargar el componente de sockets ("},
      {ZV_BROKEN_CSC32_DIR, "message box [Error] cscAttach failed.;Error : stand-in failure (-7)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder);
    log_.clear();
    dynlib::SetModuleDirectory(c.folder);
    EXPECT_FALSE(LOADCSC(false));
    ASSERT_EQ(log_.size(), 1u);
    EXPECT_TRUE(log_[0].starts_with(c.shown)) << log_[0];
    net::UnloadComponent();
  }
  log_.clear();
  TCP_SERVER server(nullptr, hwnd_, "127.0.0.1", 1, kConnectMessage, kDataMessage);
  ASSERT_EQ(log_.size(), 2u);
  EXPECT_NE(log_[0].find("no tiene el punto de entrada cscServer; no se atender\xe1n conexiones."),
            std::string::npos)
      << log_[0];
}

}  // namespace

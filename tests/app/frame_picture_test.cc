// The program as a hotel's IT staff first see it: the main frame with its toolbar and status
// bar, and the exchange server window inside it after serving one GETINFO. Saves the picture.
#include <gtest/gtest.h>

#include <future>

#include "exchange/server/ex_ziruvuz.h"
#include "platform/dynlib/library.h"
#include "platform/xbase/cursor.h"
#include "tests/exchange/request_text.h"
#include "tests/frame/frame_fixture.h"
#include "tests/platform/sockets/socket_test_support.h"
#include "tests/support/message_loop.h"

namespace {

using namespace std::chrono_literals;

class FramePictureTest : public testing_support::FrameTest {
 protected:
  void TearDown() override {
    testing_support::FrameTest::TearDown();
    dynlib::SetModuleDirectory("");
  }
};

TEST_F(FramePictureTest, FrameWithTheServerWindowAfterARequest) {
  dynlib::SetModuleDirectory(ZV_CSC32_DIR);
  const int32_t port = sock_test::FreeLoopbackPort();
  {
    xbase::Cursor server_settings(dir_.File("BASES") + "/F_DIZU.DBF");
    server_settings.GoTop();
    ASSERT_TRUE(server_settings.RLock());
    server_settings.Put("IP_PORT", xbase::Value::Numeric(port));
    server_settings.Unlock();
  }
  EX_ZIRUVUZ* server = nullptr;
  frame::SetModuleWindowOpener([&](ui::WindowObject* frame, const std::string& business) {
    server = EX_ZIRUVUZ::New(frame, "EXCHANGE", business);
  });
  win::DispatchPending();  // the start-up command opens the window and minimises the frame
  ASSERT_NE(server, nullptr);

  sock_test::TestClient client;
  ASSERT_TRUE(client.Connect(port));
  ASSERT_TRUE(client.Send(testing_support::Envelope(
      testing_support::Login("ZIRUVUZ", "ZV-2024") +
      "<ACTIONS><Action>GETINFO</Action><Room>107</Room><FirstName>Carlos</FirstName>"
      "<LastName>Castro</LastName></ACTIONS>")));
  auto reply = std::async(std::launch::async, [&] { return client.ReadUntilClosed(); });
  ASSERT_TRUE(testing_support::RunMessagesUntil(
      [&] { return reply.wait_for(0s) == std::future_status::ready; }));
  EXPECT_NE(reply.get().find("<Room>107"), std::string::npos);

  win::MoveWindow(frame_->hwnd, 0, 0, 1280, 800, true);
  win::ShowWindow(frame_->hwnd, win::SW_SHOWNORMAL);
  win::DispatchPending();
  EXPECT_TRUE(win::SaveWindowImage(frame_->hwnd, ZV_RENDER_DIR "/frame_with_server.png"));
}

}  // namespace

#include "lib/net/tcp_server.h"

#include <gtest/gtest.h>

#include <future>
#include <string>
#include <vector>

#include "lib/net/csc32_library.h"
#include "lib/net/csc32_wrappers.h"
#include "lib/net/report.h"
#include "platform/dynlib/library.h"
#include "tests/platform/sockets/socket_test_support.h"

namespace {

using namespace std::chrono_literals;
using sock_test::NextMessage;
using sock_test::Posted;
using sock_test::PostedMessage;
using sock_test::TestClient;

constexpr intptr_t kWindow = 77;
constexpr int32_t kConnectMessage = 1976;
constexpr int32_t kDataMessage = 1977;

// The real component beside the tests' own view of the window system: a recording poster
// and a reporter that keeps what it is given.
class TcpServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sock_test::Application();
    Posted().clear();
    dynlib::SetModuleDirectory(ZV_CSC32_DIR);
    net::SetModulePoster(&sock_test::RecordPost);
    net::SetReporter([this](const std::string& text) { reports_.push_back(text); });
    port_ = sock_test::FreeLoopbackPort();
  }

  void TearDown() override {
    net::UnloadComponent();
    net::SetReporter({});
    net::SetModulePoster(nullptr);
    dynlib::SetModuleDirectory("");
  }

  // Connects a client and waits for the server's connect message.
  void ConnectAndWaitForAnnouncement(TestClient& client, const TCP_SERVER& ws) {
    ASSERT_TRUE(client.Connect(port_));
    EXPECT_EQ(NextMessage(),
              (PostedMessage{kWindow, uint32_t(kConnectMessage), uintptr_t(*ws.rSock)}));
  }

  std::vector<std::string> reports_;
  int32_t port_ = 0;
};

TEST_F(TcpServerTest, ServesOneRequestTheWayTheExchangeWindowDoes) {
  TCP_SERVER ws(this, kWindow, "127.0.0.1", port_, kConnectMessage, kDataMessage);
  EXPECT_EQ(ws.xSocket, port_);
  EXPECT_EQ(ws.xHost, "127.0.0.1");
  TestClient client;
  ConnectAndWaitForAnnouncement(client, ws);

  int32_t handle = CSCACCEPTCONNECT(port_);
  ASSERT_EQ(handle, 0);
  ASSERT_EQ(CSCDATAMESSAGE(kWindow, handle, kDataMessage + handle), 0);
  const std::string request = "\x02<soap:Envelope>...</soap:Envelope>\x03";
  ASSERT_TRUE(client.Send(request));
  EXPECT_EQ(NextMessage(), (PostedMessage{kWindow, uint32_t(kDataMessage), 0}));

  std::string buffer(2048, ' ');
  int32_t count = ws.RECV(handle, buffer);
  ASSERT_EQ(count, int32_t(request.size()));
  EXPECT_EQ(buffer.substr(0, count), request);
  EXPECT_EQ(buffer.size(), 2048u);

  const std::string reply = "HTTP/1.1 200 OK\r\n\r\n" + std::string(100000, 'r');
  auto received = std::async(std::launch::async, [&] { return client.ReadUntilClosed(); });
  EXPECT_EQ(ws.SEND(handle, reply), int32_t(reply.size()));
  EXPECT_EQ(CSCCLOSE(handle), 0);
  ASSERT_TRUE(sock_test::PumpUntilReady(received));
  EXPECT_TRUE(received.get() == reply);

  FREECSC(ws);
  EXPECT_FALSE(XCSC32LIB.has_value());
  EXPECT_FALSE(ws.rSock.has_value());
  EXPECT_TRUE(reports_.empty());
}

TEST_F(TcpServerTest, ServerWithoutAWindowListensButAnnouncesNothing) {
  TCP_SERVER ws(this, 0, "127.0.0.1", port_, kConnectMessage, kDataMessage);
  TestClient client;
  ASSERT_TRUE(client.Connect(port_));
  int32_t handle = -1;
  EXPECT_TRUE(sock_test::PumpUntil([&] { return (handle = CSCACCEPTCONNECT(port_)) >= 0; }));
  EXPECT_EQ(handle, 0);
  EXPECT_TRUE(Posted().empty());
}

TEST_F(TcpServerTest, ComponentIsLoadedOncePerProcessUntilFreed) {
  TCP_SERVER ws(this, kWindow, "127.0.0.1", port_, kConnectMessage, kDataMessage);
  EXPECT_TRUE(LOADCSC());  // loads nothing and does not start the component afresh
  TestClient first;
  ConnectAndWaitForAnnouncement(first, ws);

  ws.AXIT();
  EXPECT_FALSE(ws.rSock.has_value());
  TestClient refused;
  EXPECT_FALSE(refused.Connect(port_)) << "the listener is closed";

  FREECSC(ws);  // nothing left to close: only unloads
  EXPECT_FALSE(XCSC32LIB.has_value());

  TCP_SERVER again(this, kWindow, "127.0.0.1", port_, kConnectMessage, kDataMessage);
  ASSERT_TRUE(XCSC32LIB && XCSC32LIB->loaded());
  TestClient second;
  ConnectAndWaitForAnnouncement(second, again);
  FREECSC(again);
}

TEST_F(TcpServerTest, WrappersKeepToTheCallersBuffer) {
  ASSERT_TRUE(LOADCSC());
  std::string text(200, ' ');
  int32_t length = CSCERRORTEXT(CSC_NO_FREE_HANDLE, text, 200);
  EXPECT_EQ(text.substr(0, length), "all connection handles are in use");

  std::string small(3, '.');
  EXPECT_EQ(CSCERRORTEXT(CSC_NO_FREE_HANDLE, small, 200), 3);
  EXPECT_EQ(small, "all");
}

TEST_F(TcpServerTest, ComponentRefusesBadInitialisationAndOtherThreads) {
  ASSERT_TRUE(LOADCSC());
  EXPECT_EQ(CSCATTACH(0, 10), CSC_BAD_ARGUMENT);
  EXPECT_EQ(CSCATTACH(10, 11), CSC_BAD_ARGUMENT);
  auto from_worker =
      std::async(std::launch::async, [&] { return CSCSERVER("127.0.0.1", port_, 10); });
  EXPECT_EQ(from_worker.get(), CSC_NO_EVENT_LOOP) << "Qt objects live on the GUI thread only";
  TestClient client;
  EXPECT_FALSE(client.Connect(port_));
}

TEST_F(TcpServerTest, MissingComponentIsReportedOnceAndNothingIsServed) {
  dynlib::SetModuleDirectory(ZV_CSC32_DIR "/no-such-folder");
  TCP_SERVER ws(this, kWindow, "127.0.0.1", port_, kConnectMessage, kDataMessage);
  ASSERT_EQ(reports_.size(), 1u);
  EXPECT_NE(reports_[0].find("No se pudo cargar el componente de sockets"), std::string::npos)
      << reports_[0];
  EXPECT_NE(reports_[0].find("libcsc32.so"), std::string::npos) << reports_[0];

  EXPECT_EQ(ws.rSock, net::kEntryPointUnavailable);
  std::string buffer(2048, ' ');
  EXPECT_EQ(ws.RECV(0, buffer), net::kEntryPointUnavailable);
  EXPECT_EQ(ws.SEND(0, "reply"), net::kEntryPointUnavailable);
  EXPECT_TRUE(LOADCSC(false)) << "no second load until FREECSC";
  TestClient client;
  EXPECT_FALSE(client.Connect(port_));
  FREECSC(ws);
  EXPECT_EQ(reports_.size(), 1u);
}

TEST_F(TcpServerTest, ComponentWithoutEntryPointsIsReportedOncePerEntryPoint) {
  dynlib::SetModuleDirectory(ZV_BROKEN_CSC32_DIR);
  struct Case {
    bool quiet;
    std::vector<std::string> reports;
  } cases[] = {
      {true, {}},
      {false, {"cscAttach failed.;Error : stand-in failure (-7)"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.quiet ? "quiet" : "not quiet");
    reports_.clear();
    EXPECT_FALSE(LOADCSC(c.quiet));
    EXPECT_EQ(reports_, c.reports);
    net::UnloadComponent();
  }

  reports_.clear();
  TCP_SERVER first(this, kWindow, "127.0.0.1", port_, kConnectMessage, kDataMessage);
  TCP_SERVER second(this, kWindow, "127.0.0.1", port_, kConnectMessage, kDataMessage);
  ASSERT_EQ(reports_.size(), 2u);
  EXPECT_NE(reports_[0].find("no tiene el punto de entrada cscServer"), std::string::npos)
      << reports_[0];
  EXPECT_NE(reports_[1].find("no tiene el punto de entrada cscConnectMessage"), std::string::npos)
      << reports_[1];
  EXPECT_EQ(first.rSock, net::kEntryPointUnavailable);
}

}  // namespace

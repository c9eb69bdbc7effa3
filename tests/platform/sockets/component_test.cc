#include "platform/sockets/component.h"

#include <gtest/gtest.h>

#include <future>
#include <set>
#include <string>
#include <vector>

#include "platform/sockets/csc32.h"
#include "platform/sockets/error_text.h"
#include "tests/platform/sockets/socket_test_support.h"

namespace sock {
namespace {

using namespace std::chrono_literals;
using sock_test::NextMessage;
using sock_test::Posted;
using sock_test::PostedMessage;
using sock_test::TestClient;

constexpr intptr_t kWindow = 4242;
constexpr uint32_t kConnectMessage = 1976;
constexpr uint32_t kDataMessage = 1977;

// A component listening on 127.0.0.1 with the connect message registered.
class ComponentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sock_test::Application();
    Posted().clear();
    component_.SetPoster(&sock_test::RecordPost);
    port_ = sock_test::FreeLoopbackPort();
    listener_ = component_.Server("127.0.0.1", port_, 10);
    ASSERT_GE(listener_, Component::kFirstListenerHandle);
    ASSERT_EQ(component_.ConnectMessage(kWindow, listener_, kConnectMessage), 0);
  }

  // Connects a client, waits for the connect message and accepts; the new handle, with its
  // data message registered as 1977 + handle.
  int32_t ConnectAndAccept(TestClient& client) {
    EXPECT_TRUE(client.Connect(port_));
    std::optional<PostedMessage> announced = NextMessage();
    EXPECT_EQ(announced, (PostedMessage{kWindow, kConnectMessage, uintptr_t(listener_)}));
    int32_t handle = component_.AcceptConnect(port_);
    EXPECT_GE(handle, 0);
    EXPECT_EQ(component_.DataMessage(kWindow, handle, kDataMessage + handle), 0);
    return handle;
  }

  std::string Read(int32_t handle, int32_t size) {
    std::string buffer(size, ' ');
    int32_t count = component_.GetData(handle, buffer.data(), size);
    buffer.resize(count > 0 ? count : 0);
    return buffer;
  }

  Component component_{Component::kMaxConnections, Component::kMaxListeners};
  int32_t port_ = 0;
  int32_t listener_ = -1;
};

TEST_F(ComponentTest, ConnectionsGetTheLowestFreeHandleAndTheirOwnDataMessage) {
  TestClient first, second;
  EXPECT_EQ(ConnectAndAccept(first), 0);
  EXPECT_EQ(ConnectAndAccept(second), 1);

  ASSERT_TRUE(second.Send("hello"));
  EXPECT_EQ(NextMessage(), (PostedMessage{kWindow, kDataMessage + 1, 1}));
  EXPECT_EQ(Read(1, 2048), "hello");

  // Data that arrived before the owner registered its data message is announced at once.
  TestClient third;
  ASSERT_TRUE(third.Connect(port_));
  ASSERT_TRUE(third.Send("early"));
  ASSERT_TRUE(NextMessage());
  int32_t handle = component_.AcceptConnect(listener_);  // by handle as well as by port
  ASSERT_EQ(handle, 2);
  sock_test::PumpUntil([&] { return component_.AwaitData(handle, 0) == 5; });
  EXPECT_EQ(component_.DataMessage(kWindow, handle, kDataMessage + handle), 0);
  EXPECT_EQ(NextMessage(), (PostedMessage{kWindow, kDataMessage + 2, 2}));
  EXPECT_EQ(Read(handle, 2048), "early");
}

TEST_F(ComponentTest, LongDataIsReadInBufferSizedPiecesEachAnnounced) {
  TestClient client;
  int32_t handle = ConnectAndAccept(client);
  std::string sent;
  for (int i = 0; i < 5000; ++i) sent.push_back(static_cast<char>('a' + i % 26));
  ASSERT_TRUE(client.Send(sent));

  std::string received;
  for (int32_t expected : {2048, 2048, 904}) {
    SCOPED_TRACE(received.size());
    EXPECT_EQ(NextMessage(), (PostedMessage{kWindow, kDataMessage + handle, uintptr_t(handle)}));
    EXPECT_TRUE(Posted().empty()) << "one message per read, not one per arrival";
    std::string piece = Read(handle, 2048);
    EXPECT_EQ(piece.size(), size_t(expected));
    received += piece;
  }
  EXPECT_EQ(received, sent);
  sock_test::PumpFor(50ms);
  EXPECT_TRUE(Posted().empty()) << "nothing is announced once everything is read";
}

TEST_F(ComponentTest, EleventhClientWaitsUntilAHandleFrees) {
  std::vector<TestClient> clients(11);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(ConnectAndAccept(clients[i]), i);
  ASSERT_TRUE(clients[9].Send("last handle"));
  EXPECT_EQ(NextMessage(), (PostedMessage{kWindow, 1986, 9}));
  EXPECT_EQ(Read(9, 2048), "last handle");

  ASSERT_TRUE(clients[10].Connect(port_));  // completed by the listen backlog
  sock_test::PumpFor(100ms);
  EXPECT_TRUE(Posted().empty()) << "no handle is free, so nothing is announced";
  EXPECT_EQ(component_.AcceptConnect(port_), CSC_NO_FREE_HANDLE);

  ASSERT_EQ(component_.Close(4), 0);
  EXPECT_EQ(NextMessage(), (PostedMessage{kWindow, kConnectMessage, uintptr_t(listener_)}));
  EXPECT_EQ(component_.AcceptConnect(port_), 4);
  EXPECT_EQ(component_.AcceptConnect(port_), CSC_NO_FREE_HANDLE);
}

// Both ways a connection can end right after a send: the owner's close, with the event loop
// running on, and the component's shutdown (the module unloaded) right after that close.
TEST_F(ComponentTest, SendThenCloseDeliversEveryByte) {
  std::string reply(3 << 20, '\0');  // far more than the system takes at once
  for (size_t i = 0; i < reply.size(); ++i) reply[i] = static_cast<char>(i * 7 % 251);

  for (bool shut_down : {false, true}) {
    SCOPED_TRACE(shut_down ? "component shut down after the close" : "close");
    auto component = std::make_unique<Component>(10, 10);
    component->SetPoster(&sock_test::RecordPost);
    int32_t port = sock_test::FreeLoopbackPort();
    ASSERT_GE(component->Server("127.0.0.1", port, 10), 0);
    TestClient client;
    ASSERT_TRUE(client.Connect(port));
    int32_t handle = CSC_NOTHING_WAITING;
    sock_test::PumpUntil([&] { return (handle = component->AcceptConnect(port)) >= 0; });
    ASSERT_GE(handle, 0);

    auto received = std::async(std::launch::async, [&] { return client.ReadUntilClosed(); });
    EXPECT_EQ(component->PutData(handle, reply.data(), int32_t(reply.size())),
              int32_t(reply.size()));
    EXPECT_EQ(component->Close(handle), 0);
    if (shut_down) component.reset();
    ASSERT_TRUE(sock_test::PumpUntilReady(received));
    std::string got = received.get();
    EXPECT_EQ(got.size(), reply.size());
    EXPECT_TRUE(got == reply);
  }
}

TEST_F(ComponentTest, BytesOfAPeerThatHungUpCanStillBeRead) {
  TestClient client;
  int32_t handle = ConnectAndAccept(client);
  ASSERT_TRUE(client.Send("last words"));
  client.Close();
  ASSERT_TRUE(NextMessage());
  sock_test::PumpUntil([&] { return component_.IsConnected(handle) == 0; });
  EXPECT_EQ(component_.IsConnected(handle), 0);
  EXPECT_EQ(Read(handle, 2048), "last words");
  EXPECT_EQ(component_.PutData(handle, "x", 1), CSC_NOT_CONNECTED);
  EXPECT_EQ(component_.Close(handle), 0);
}

TEST_F(ComponentTest, ClientConnectionsShareTheHandleTable) {
  int32_t outgoing = component_.Client("127.0.0.1", port_);
  EXPECT_EQ(outgoing, 0);
  EXPECT_EQ(component_.PutData(outgoing, "ping", 4), 4);  // queued while connecting
  ASSERT_TRUE(NextMessage());
  int32_t incoming = component_.AcceptConnect(port_);
  ASSERT_EQ(incoming, 1);
  ASSERT_EQ(component_.DataMessage(kWindow, incoming, kDataMessage + incoming), 0);
  EXPECT_EQ(NextMessage(), (PostedMessage{kWindow, kDataMessage + 1, 1}));
  EXPECT_EQ(Read(incoming, 2048), "ping");
  EXPECT_EQ(component_.IsConnected(outgoing), 1);

  EXPECT_EQ(component_.PutData(incoming, "pong", 4), 4);
  EXPECT_EQ(component_.AwaitData(outgoing, 10000), 4);
  EXPECT_EQ(Read(outgoing, 2048), "pong");
}

TEST_F(ComponentTest, FailuresAreNegativeCodesWithTheirOwnTexts) {
  char buffer[16];
  struct Case {
    const char* what;
    int32_t result;
    int32_t code;
  } cases[] = {
      {"read, unknown handle", component_.GetData(3, buffer, 16), CSC_UNKNOWN_HANDLE},
      {"read, handle past the table", component_.GetData(10, buffer, 16), CSC_UNKNOWN_HANDLE},
      {"close, unknown handle", component_.Close(-1), CSC_UNKNOWN_HANDLE},
      {"accept, unknown port", component_.AcceptConnect(port_ + 1), CSC_UNKNOWN_HANDLE},
      {"accept, nothing waiting", component_.AcceptConnect(port_), CSC_NOTHING_WAITING},
      {"data message, unknown handle", component_.DataMessage(kWindow, 0, 1977),
       CSC_UNKNOWN_HANDLE},
      {"listen, not an address", component_.Server("hotel.local", port_, 10), CSC_BAD_ADDRESS},
      {"listen, port in use", component_.Server("127.0.0.1", port_, 10), CSC_LISTEN_FAILED},
      {"listen, port out of range", component_.Server("127.0.0.1", 70000, 10), CSC_BAD_ARGUMENT},
      {"listen, no backlog", component_.Server("127.0.0.1", 0, 0), CSC_BAD_ARGUMENT},
      {"client, port 0", component_.Client("127.0.0.1", 0), CSC_BAD_ARGUMENT},
  };
  for (const Case& c : cases) EXPECT_EQ(c.result, c.code) << c.what;

  TestClient client;
  int32_t handle = ConnectAndAccept(client);
  EXPECT_EQ(component_.GetData(handle, buffer, -1), CSC_BAD_ARGUMENT);
  EXPECT_EQ(component_.GetData(handle, nullptr, 16), CSC_BAD_ARGUMENT);
  EXPECT_EQ(component_.PutData(handle, "x", -5), CSC_BAD_ARGUMENT);
  EXPECT_EQ(component_.AwaitData(handle, -1), CSC_BAD_ARGUMENT);

  std::set<std::string_view> texts;
  for (int32_t code = CSC_SEND_FAILED; code <= CSC_NOT_ATTACHED; ++code) {
    texts.insert(ErrorText(code));
  }
  EXPECT_EQ(texts.size(), size_t(CSC_NOT_ATTACHED - CSC_SEND_FAILED + 1)) << "texts differ";
  EXPECT_EQ(texts.count(ErrorText(-999)), 0u);
}

TEST(ComponentListenersTest, ListenerHandlesRunOutAndClosingOneFreesIt) {
  sock_test::Application();
  Component component(10, 2);
  int32_t first = component.Server("127.0.0.1", sock_test::FreeLoopbackPort(), 10);
  int32_t second = component.Server("127.0.0.1", sock_test::FreeLoopbackPort(), 10);
  EXPECT_EQ(second, first + 1);
  EXPECT_EQ(component.Server("127.0.0.1", sock_test::FreeLoopbackPort(), 10),
            CSC_TOO_MANY_LISTENERS);
  EXPECT_EQ(component.Close(first), 0);
  EXPECT_EQ(component.Server("127.0.0.1", sock_test::FreeLoopbackPort(), 10), first);
}

}  // namespace
}  // namespace sock

// ziruvuz-client --send against a small server inside the test: the bytes that go out, the
// reply pieces that come back, refused connections and a server that never closes.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/temp_dir.h"
#include "tests/tools/ziruvuz_client/run_client.h"
#include "tools/ziruvuz_client/request_builder.h"

namespace {

using testing_support::RunClient;

// A socket bound to 127.0.0.1 on a port the system picks; listening when asked.
class LoopbackSocket {
 public:
  explicit LoopbackSocket(bool listen) : fd_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    EXPECT_EQ(::bind(fd_, reinterpret_cast<sockaddr*>(&address), size), 0);
    EXPECT_EQ(::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &size), 0);
    port_ = ntohs(address.sin_port);
    if (listen) {
      EXPECT_EQ(::listen(fd_, 1), 0);
      // A client that never connects makes accept give up instead of hanging the test.
      const timeval limit{10, 0};
      ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    }
  }
  ~LoopbackSocket() { ::close(fd_); }
  int fd() const { return fd_; }
  std::string Endpoint() const { return "127.0.0.1:" + std::to_string(port_); }

 private:
  int fd_;
  uint16_t port_ = 0;
};

// Serves one connection on a thread of its own: reads up to the end of the envelope, as the
// server does, sends each reply piece with a short gap, then closes; or, when `keep_open`,
// waits for the client to close first.
class OneConnectionServer {
 public:
  explicit OneConnectionServer(std::vector<std::string> pieces, bool keep_open = false)
      : listener_(true), thread_([=, this] { Serve(pieces, keep_open); }) {}
  ~OneConnectionServer() { Finish(); }

  std::string Endpoint() const { return listener_.Endpoint(); }

  // What the client sent, once the connection is over.
  std::string Finish() {
    if (thread_.joinable()) thread_.join();
    return received_;
  }

 private:
  void Serve(const std::vector<std::string>& pieces, bool keep_open) {
    const int connection = ::accept(listener_.fd(), nullptr, nullptr);
    if (connection < 0) return;
    const timeval limit{10, 0};  // never hangs the test when the client sends too little
    ::setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    char buffer[4096];
    while (!received_.ends_with("</soap:Envelope>")) {
      const ssize_t got = ::recv(connection, buffer, sizeof buffer, 0);
      if (got <= 0) break;
      received_.append(buffer, static_cast<size_t>(got));
    }
    for (const std::string& piece : pieces) {
      ::send(connection, piece.data(), piece.size(), MSG_NOSIGNAL);
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    while (keep_open && ::recv(connection, buffer, sizeof buffer, 0) > 0) {
    }
    ::close(connection);
  }

  LoopbackSocket listener_;
  std::string received_;
  std::thread thread_;
};

zvclient::RequestFields StatementFor101() {
  zvclient::RequestFields fields;
  fields.action = zvclient::RequestAction::kStatement;
  fields.user = "ZIRUVUZ";
  fields.password = "ZV-2024";
  fields.room = "101";
  return fields;
}

TEST(ZiruvuzClientSendTest, TheRequestGoesOutWholeAndEveryReplyPieceIsPrinted) {
  testing_support::TempDir io;
  // Any bytes at all, zero bytes included, go out as they are.
  constexpr char kOddBytes[] = "POST /x\r\n\r\n<a>\0\xFF</a>";
  const std::string file_request =
      std::string(kOddBytes, sizeof kOddBytes - 1) + std::string(300000, 'x') + "</soap:Envelope>";
  std::ofstream(io.File("request"), std::ios::binary) << file_request;

  const struct {
    const char* name;
    std::vector<std::string> request_args;  // empty: the file
    std::vector<std::string> pieces;
    int status;
  } cases[] = {
      {"request file, reply in two pieces", {}, {"POST /one\r\n", std::string("two\0\r\n", 6)}, 0},
      {"built request",
       {"--user", "ZIRUVUZ", "--password", "ZV-2024", "statement", "101"},
       {"reply"},
       0},
      {"closed without a reply", {}, {}, 3},
  };
  for (const auto& c : cases) {
    OneConnectionServer server(c.pieces);
    const bool built = !c.request_args.empty();
    std::vector<std::string> args = {"--send", server.Endpoint()};
    args.insert(args.end(), c.request_args.begin(), c.request_args.end());
    if (!built) args.push_back(io.File("request"));
    const testing_support::ClientRun run = RunClient(args);

    std::string expected_out;
    for (const std::string& piece : c.pieces) expected_out += piece;
    EXPECT_EQ(run.status, c.status) << c.name << ": " << run.err;
    EXPECT_EQ(run.out, expected_out) << c.name;
    EXPECT_EQ(server.Finish(),
              built ? zvclient::BuildRequest(StatementFor101(), server.Endpoint()) : file_request)
        << c.name;
  }
}

TEST(ZiruvuzClientSendTest, ARefusedConnectionNamesTheEndpointAndTheReason) {
  const LoopbackSocket bound_not_listening(false);
  testing_support::TempDir io;
  std::ofstream(io.File("request")) << "<soap:Envelope></soap:Envelope>";
  const testing_support::ClientRun run =
      RunClient({"--send", bound_not_listening.Endpoint(), io.File("request")});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "ziruvuz-client: cannot connect to " + bound_not_listening.Endpoint() +
                         ": Connection refused\n");
}

TEST(ZiruvuzClientSendTest, AServerThatNeverClosesRunsIntoTheTimeout) {
  OneConnectionServer server({"half a reply"}, /*keep_open=*/true);
  const testing_support::ClientRun run =
      RunClient({"--send", server.Endpoint(), "--timeout", "0.3", "--user", "ZIRUVUZ", "--password",
                 "ZV-2024", "statement", "101"});
  EXPECT_EQ(run.status, 4);
  EXPECT_EQ(run.out, "half a reply");
  EXPECT_EQ(run.err, "ziruvuz-client: timed out after 0.3 s waiting for " + server.Endpoint() +
                         " to close the connection (12 bytes received)\n");
}

}  // namespace

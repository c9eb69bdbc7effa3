// The real program serving ZIRUVUZ over TCP on 127.0.0.1: requests gathered from pieces or
// wrapped in STX/ETX, the error reply for a bad login, a room-service posting seen in the
// statement, the close about a second after each reply, two peers at once, a silent peer
// closed by the idle sweep, and every request and reply in the exchange log.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>

#include "platform/xbase/cursor.h"
#include "tests/app/program_run.h"
#include "tools/ziruvuz_client/request_builder.h"

namespace {

using namespace std::chrono_literals;
using program_run::Clock;
using program_run::Peer;
using zvclient::RequestAction;
using zvclient::RequestFields;

RequestFields GetInfo(const std::string& password = "ZV-2024") {
  RequestFields fields;
  fields.action = RequestAction::kGetInfo;
  fields.user = "ZIRUVUZ";
  fields.password = password;
  fields.room = "107";
  fields.first_name = "Carlos";
  fields.last_name = "Castro";
  return fields;
}

std::string Request(const RequestFields& fields) {
  return zvclient::BuildRequest(fields, "127.0.0.1");
}

int Count(const std::string& text, const std::string& part) {
  int count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

// One program serves the whole suite: starting it is the slow part.
class ExchangeE2eTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new testing_support::TempDir;
    port_ = program_run::FreePort();
    program_run::MakeProgramFolder(*folder_, port_);
    program_ = new program_run::ProgramRun(folder_->path());
    ASSERT_TRUE(program_->WaitUntilListening(port_, 30)) << program_->Log();
  }
  static void TearDownTestSuite() {
    program_->Signal(SIGTERM);
    EXPECT_EQ(program_->WaitForExit(20), 0) << program_->Log();
    delete program_;
    delete folder_;
  }

  // Sends `pieces` with a short gap between them and returns what came back until the close.
  static Peer::Received Exchange(const std::vector<std::string>& pieces) {
    Peer peer(port_);
    EXPECT_TRUE(peer.connected());
    for (const std::string& piece : pieces) {
      peer.Send(piece);
      std::this_thread::sleep_for(100ms);
    }
    return peer.ReadUntilClosed(20s);
  }

  static testing_support::TempDir* folder_;
  static program_run::ProgramRun* program_;
  static int port_;
};

testing_support::TempDir* ExchangeE2eTest::folder_ = nullptr;
program_run::ProgramRun* ExchangeE2eTest::program_ = nullptr;
int ExchangeE2eTest::port_ = 0;

TEST_F(ExchangeE2eTest, GetInfoInThreePiecesIsAnsweredOnceAndClosedAboutASecondLater) {
  // A peer's extra header line brings the request to 3300 bytes: pieces of 1000, 1500, 800.
  std::string request = Request(GetInfo());
  const size_t first_line_end = request.find("\r\n") + 2;
  const std::string padding_header = "X-Padding: \r\n";
  request.insert(first_line_end, padding_header);
  request.insert(first_line_end + padding_header.size() - 2,
                 std::string(3300 - request.size(), 'p'));
  ASSERT_EQ(request.size(), 3300u);

  Peer::Received reply =
      Exchange({request.substr(0, 1000), request.substr(1000, 1500), request.substr(2500)});
  ASSERT_TRUE(reply.was_closed);
  EXPECT_EQ(Count(reply.bytes, "Content-Length: "), 1) << reply.bytes;
  EXPECT_NE(reply.bytes.find("<Room>107"), std::string::npos) << reply.bytes;
  // The reply arrives whole: its length is what the frame announces.
  const size_t body = reply.bytes.find("\r\n\r\n") + 4;
  const size_t announced =
      std::stoul(reply.bytes.substr(reply.bytes.find("Content-Length: ") + 16));
  EXPECT_EQ(reply.bytes.size() - body, announced);
  const auto held_open = reply.closed - reply.first_byte;
  EXPECT_GE(held_open, 800ms);
  EXPECT_LE(held_open, 5s);
}

TEST_F(ExchangeE2eTest, EnvelopeWrappedInStxEtxIsAnswered) {
  Peer::Received reply = Exchange({"\x02" + Request(GetInfo()) + "\x03"});
  EXPECT_NE(reply.bytes.find("<Room>107"), std::string::npos) << reply.bytes;
}

TEST_F(ExchangeE2eTest, WrongPasswordIsAnsweredBadUser) {
  Peer::Received reply = Exchange({Request(GetInfo("WRONG"))});
  EXPECT_NE(reply.bytes.find("Bad User"), std::string::npos) << reply.bytes;
  EXPECT_EQ(reply.bytes.find("<Room>"), std::string::npos);
}

TEST_F(ExchangeE2eTest, RoomServicePostingShowsInTheStatement) {
  RequestFields order = GetInfo();
  order.action = RequestAction::kRoomService;
  order.order_number = "E2E-4711";
  order.items = {{"CS", "Club sandwich", "2", "4500", "13", "10", "0"},
                 {"JN", "Jugo natural", "1", "1800", "13", "10", "0"}};
  Peer::Received posted = Exchange({Request(order)});
  EXPECT_NE(posted.bytes.find("Success"), std::string::npos) << posted.bytes;

  RequestFields statement = GetInfo();
  statement.action = RequestAction::kStatement;
  Peer::Received shown = Exchange({Request(statement)});
  EXPECT_NE(shown.bytes.find("E2E-4711"), std::string::npos) << shown.bytes;
}

TEST_F(ExchangeE2eTest, SecondPeerIsServedAfterTheFirstReplysPause) {
  const std::string request = Request(GetInfo());
  Peer first(port_);
  Peer second(port_);
  first.Send(request);
  second.Send(request);
  Peer::Received first_reply;
  std::thread reader([&] { first_reply = first.ReadUntilClosed(20s); });
  Peer::Received second_reply = second.ReadUntilClosed(20s);
  reader.join();
  ASSERT_FALSE(first_reply.bytes.empty());
  ASSERT_FALSE(second_reply.bytes.empty());
  // Whichever was served first, the other waited out its pause.
  const auto gap = second_reply.first_byte > first_reply.first_byte
                       ? second_reply.first_byte - first_reply.first_byte
                       : first_reply.first_byte - second_reply.first_byte;
  EXPECT_GE(gap, 800ms);
}

TEST_F(ExchangeE2eTest, SilentPeerIsClosedByTheIdleSweep) {
  const auto connected = Clock::now();
  Peer silent(port_);
  ASSERT_TRUE(silent.connected());
  Peer::Received received = silent.ReadUntilClosed(25s);
  ASSERT_TRUE(received.was_closed);
  EXPECT_TRUE(received.bytes.empty());
  const auto open_for = received.closed - connected;
  EXPECT_GE(open_for, 5s);
  EXPECT_LE(open_for, 16s);
}

TEST_F(ExchangeE2eTest, EveryRequestAndReplyIsInTheExchangeLog) {
  Exchange({Request(GetInfo())});
  xbase::Cursor log(folder_->File("BASES") + "/LOG_XML.DBF");
  int requests = 0, replies = 0;
  for (log.GoTop(); !log.Eof(); log.Skip(1)) {
    const std::string info = log.Get("INFO").str;
    if (info.find("<Action>GETINFO</Action>") != std::string::npos) ++requests;
    if (info.find("<Room>107") != std::string::npos) ++replies;
  }
  EXPECT_GE(requests, 1);
  EXPECT_GE(replies, 1);
}

}  // namespace

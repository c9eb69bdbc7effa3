// The exchange server window over real TCP on 127.0.0.1: gathering a request, replying, the
// pause and the close, the idle sweep, two peers at once, the bound on gathered bytes, a table
// error in the middle of a request, and what the panes and controls show.
#include "exchange/server/ex_ziruvuz.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>
#include <algorithm>

#include "exchange/server/request_gathering.h"
#include "lib/data/data_error.h"
#include "lib/net/csc32_wrappers.h"
#include "tests/exchange/request_text.h"
#include "tests/exchange/server/server_fixture.h"

namespace {

using testing_support::Envelope;
using testing_support::kGetInfo101;
using testing_support::Login;

const std::string kGetInfoRequest = Envelope(Login("ZIRUVUZ", "ZV-2024") + kGetInfo101);
const std::string kBadUserRequest = Envelope(Login("ZIRUVUZ", "wrong") + kGetInfo101);

const std::string kReplyStart = "POST /interface/xxxxx HTTP/1.1\r\n";

std::string ErrorBody(const std::string& text) {
  return "<ZIRUVUZ><ERROR>" + text + "</ERROR></ZIRUVUZ>\r\n";
}

// The request made `size` bytes long by a header line of padding.
std::string PaddedTo(const std::string& request, size_t size) {
  const size_t first_line_end = request.find("\r\n") + 2;
  const std::string pad_line_start = "X-Padding: ";
  const size_t pad = size - request.size() - pad_line_start.size() - 2;
  return request.substr(0, first_line_end) + pad_line_start + std::string(pad, 'x') + "\r\n" +
         request.substr(first_line_end);
}

class ExchangeServerTest : public testing_support::ServerFixture {};

TEST_F(ExchangeServerTest, OpensOnTheHotelsTablesAndListensWhereTheSettingsSay) {
  EXPECT_EQ(win::GetWindowText(hwnd_), "TARVISEN Data Exchange Server");
  EXPECT_EQ(server_->Negocio(), "HTL01          ");  // DEFMAIL's, not the one passed
  EXPECT_EQ(ControlText(511), std::to_string(port_));
  EXPECT_EQ(ControlText(512), "127.0.0.1" + std::string(31, ' '));  // as stored
  EXPECT_EQ(ReceivePane(), "Starting TARVISEN ZIRUVUZ EXCHANGE\r\n");
  EXPECT_EQ(SendPane(), "");
  EXPECT_EQ(server_->In_Process, 0);
}

TEST_F(ExchangeServerTest, RequestInThreePiecesIsAnsweredOnceAfterTheLast) {
  const std::string request = PaddedTo(kGetInfoRequest, 3300);
  const std::string pieces[] = {request.substr(0, 1000), request.substr(1000, 1500),
                                request.substr(2500)};
  ASSERT_EQ(pieces[2].size(), 800u);
  sock_test::TestClient client = Connected();
  size_t sent = 0;
  for (const std::string& piece : pieces) {
    ASSERT_TRUE(client.Send(piece));
    sent += piece.size();
    if (sent == request.size()) break;
    ASSERT_TRUE(RunUntil([&] { return server_->v_Buffer[0].size() == sent; }));
    EXPECT_EQ(LoggedTexts().size(), 0u) << "handed on before the envelope was complete";
  }
  const std::string reply = ReplyTo(client);
  EXPECT_TRUE(reply.starts_with(kReplyStart));
  EXPECT_NE(reply.find("<ACTIONS>"), std::string::npos) << reply;
  EXPECT_EQ(LoggedTexts().size(), 2u);

  // The receive pane shows the growing text after every read, newest on top.
  const std::string connected = "Connected...\r\n\r\n\r\n";
  EXPECT_EQ(ReceivePane(), request + "\r\n\r\n\r\n" + connected + pieces[0] + pieces[1] +
                               "\r\n\r\n\r\n" + connected + pieces[0] + "\r\n\r\n\r\n" + connected +
                               "Starting TARVISEN ZIRUVUZ EXCHANGE\r\n");
}

TEST_F(ExchangeServerTest, ReplyArrivesWholeIsShownAndLoggedAndTheConnectionClosesAfterThePause) {
  sock_test::TestClient client = Connected();
  EXPECT_EQ(ControlText(505), "Accept/Connected:          0");
  EXPECT_EQ(ControlText(503), "Active Connections: 1");

  std::vector<size_t> open_during_pause;
  clock_.SetOnAdvance([&](uint32_t) { open_during_pause.push_back(server_->nSocket.size()); });
  const uint32_t start = clock_.tick();
  ASSERT_TRUE(client.Send(kBadUserRequest));
  const std::string reply = ReplyTo(client);
  clock_.SetOnAdvance(nullptr);

  const std::string body = ErrorBody("Bad User");
  ASSERT_TRUE(reply.starts_with(kReplyStart)) << reply;
  EXPECT_TRUE(reply.ends_with(body + "</soap:Body>\r\n</soap:Envelope>\r\n"));
  EXPECT_NE(reply.find("Content-Length: " + std::to_string(247 + body.size()) + "\r\n"),
            std::string::npos);
  // Open through the whole second, closed at its end.
  EXPECT_EQ(clock_.tick() - start, 1000u);
  ASSERT_FALSE(open_during_pause.empty());
  EXPECT_EQ(open_during_pause, std::vector<size_t>(open_during_pause.size(), 1));
  EXPECT_TRUE(server_->nSocket.empty());

  EXPECT_EQ(SendPane(), "[SND:0]  Connection Closed\r\n[SND:0]  " + reply + "\r\n");
  const std::vector<std::string> logged = LoggedTexts();
  ASSERT_EQ(logged.size(), 2u);
  EXPECT_EQ(logged[0], kBadUserRequest);
  EXPECT_EQ(logged[1], reply.substr(reply.find("<soap:Header>")));

  // The count goes down only when the sweep runs.
  EXPECT_EQ(ControlText(503), "Active Connections: 1");
  Sweep();
  EXPECT_EQ(ControlText(503), "Active Connections: 0");
}

TEST_F(ExchangeServerTest, FramedAndFaultyRequestsAreAnsweredOverTheWire) {
  struct Case {
    const char* name;
    std::string request;
    std::string reply_holds;
  } cases[] = {
      {"wrapped in STX and ETX", "\x02" + kGetInfoRequest + "\x03", "<Room>101</Room>"},
      {"STX and ETX inside the text",
       kGetInfoRequest.substr(0, 200) + "\x03\x02" + kGetInfoRequest.substr(200, 40) + "\x02" +
           kGetInfoRequest.substr(240),
       "<Room>101</Room>"},
      {"wrong password", kBadUserRequest, ErrorBody("Bad User")},
      {"no ACTIONS", Envelope(Login("ZIRUVUZ", "ZV-2024")), ErrorBody("No ACTIONS")},
  };
  for (const Case& c : cases) {
    const std::string reply = Exchange(c.request);
    EXPECT_TRUE(reply.starts_with(kReplyStart)) << c.name << ": " << reply;
    EXPECT_NE(reply.find(c.reply_holds), std::string::npos) << c.name << ": " << reply;
  }
  EXPECT_TRUE(win::SaveWindowImage(hwnd_, std::string(ZV_RENDER_DIR) + "/EX_ZIRUVUZ.png"));
}

TEST_F(ExchangeServerTest, RoomServicePostingShowsInTheStatement) {
  const std::string statement_request =
      Envelope(Login("ZIRUVUZ", "ZV-2024") +
               "<ACTIONS><Action>GETSTATEMENT</Action><Room>101</Room></ACTIONS>");
  const std::string before = Exchange(statement_request);
  ASSERT_EQ(before.find("Club sandwich"), std::string::npos) << before;

  const std::string order =
      "<ACTIONS><Action>ROOM SERVICE</Action><Room>101</Room><Ordernumber>OR-77</Ordernumber>"
      "<ITEM><Code>CS01</Code><Descrip>Club sandwich</Descrip><Quantity>2</Quantity>"
      "<Price>10.00</Price><Tax1>10</Tax1><Tax2>0</Tax2><Tax3>0</Tax3><Notes>-</Notes></ITEM>"
      "</ACTIONS>";
  const std::string posted = Exchange(Envelope(Login("ZIRUVUZ", "ZV-2024") + order));
  EXPECT_NE(posted.find("<ZIRUVUZ><MESSAGE>Success</MESSAGE></ZIRUVUZ>"), std::string::npos)
      << posted;

  const std::string after = Exchange(statement_request);
  EXPECT_GT(after.size(), before.size());
  EXPECT_NE(after.find("OR-77"), std::string::npos) << after;
}

TEST_F(ExchangeServerTest, RequestWithoutReplyLeavesTheConnectionForAFreshRequest) {
  sock_test::TestClient client = Connected();
  const std::string unknown_action =
      Envelope(Login("ZIRUVUZ", "ZV-2024") + "<ACTIONS><Action>getinfo</Action></ACTIONS>");
  ASSERT_TRUE(client.Send(unknown_action));
  ASSERT_TRUE(RunUntil([&] { return LoggedTexts().size() == 1; }));
  ASSERT_EQ(server_->nSocket.size(), 1u);
  EXPECT_EQ(server_->v_Estados[0], 0);

  ASSERT_TRUE(client.Send(kBadUserRequest));
  EXPECT_NE(ReplyTo(client).find(ErrorBody("Bad User")), std::string::npos);
  const std::vector<std::string> logged = LoggedTexts();
  ASSERT_EQ(logged.size(), 3u);
  EXPECT_EQ(logged[1], kBadUserRequest);  // not appended to the first text
}

TEST_F(ExchangeServerTest, IdleSweepClosesSilentConnectionsAfterFiveSeconds) {
  struct Case {
    const char* name;
    uint32_t accepted_at;
  } cases[] = {{"early tick", 1000}, {"tick counter wraps meanwhile", 0xFFFFFFFFu - 2000}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    zvclock::FakeClock clock(c.accepted_at);
    sock_test::TestClient first = Connected();
    sock_test::TestClient second = Connected();
    clock.AdvanceMs(5000);
    Sweep();
    EXPECT_EQ(server_->nSocket.size(), 2u) << "idle for exactly 5000 ms";

    clock.AdvanceMs(1);
    server_->In_Process = 1;  // a read or accept in progress holds the sweep back
    Sweep();
    EXPECT_EQ(server_->nSocket.size(), 2u);
    server_->In_Process = 0;

    Sweep();
    EXPECT_TRUE(server_->nSocket.empty());
    EXPECT_EQ(ControlText(503), "Active Connections: 0");
    EXPECT_TRUE(SendPane().starts_with("[SND:1]  Connection Closed\r\n[SND:0]  Connection Closed"));
    EXPECT_EQ(ReplyTo(first), "");
    EXPECT_EQ(ReplyTo(second), "");
  }
}

TEST_F(ExchangeServerTest, ConnectionWithBytesWaitingIsNotIdle) {
  // Its data message still waits behind the sweep (as after the pause of another reply).
  sock_test::TestClient client = Connected();
  ASSERT_TRUE(client.Send(kBadUserRequest));
  ASSERT_GT(CSCAWAITDATA(0, 20000), 0);
  clock_.AdvanceMs(6000);
  Sweep();
  ASSERT_EQ(server_->nSocket.size(), 1u);
  EXPECT_NE(ReplyTo(client).find(ErrorBody("Bad User")), std::string::npos);
}

TEST_F(ExchangeServerTest, SecondPeerIsServedAfterTheFirstOnesPause) {
  sock_test::TestClient first = Connected();
  sock_test::TestClient second = Connected();
  // The second request arrives while the first reply's pause runs.
  bool arrived_during_pause = false;
  size_t logged_during_pause = 0;
  clock_.SetOnAdvance([&](uint32_t) {
    if (arrived_during_pause) return;
    arrived_during_pause = true;
    ASSERT_TRUE(second.Send(kGetInfoRequest));
    const std::optional<win::Msg> queued = WaitUntilQueued();
    ASSERT_TRUE(queued);
    EXPECT_EQ(queued->message, 1977u + 1);
    logged_during_pause = LoggedTexts().size();
  });
  ASSERT_TRUE(first.Send(kBadUserRequest));
  EXPECT_NE(ReplyTo(first).find(ErrorBody("Bad User")), std::string::npos);
  clock_.SetOnAdvance(nullptr);
  EXPECT_TRUE(arrived_during_pause);
  EXPECT_EQ(logged_during_pause, 2u);

  EXPECT_NE(ReplyTo(second).find("<Room>101</Room>"), std::string::npos);
  const std::vector<std::string> logged = LoggedTexts();
  ASSERT_EQ(logged.size(), 4u);
  EXPECT_EQ(logged[2], kGetInfoRequest);
  EXPECT_GT(SendPane().find("[SND:0]  Connection Closed"), SendPane().find("[SND:1]  POST"))
      << "the first connection was closed before the second reply";
}

TEST_F(ExchangeServerTest, PeerSendingMoreThanAMebibyteWithoutAnEnvelopeEndIsCutOff) {
  sock_test::TestClient client = Connected();
  std::string endless = "<soap:Envelope>\r\n";
  while (endless.size() <= kMaxGatheredBytes + 4096)
    endless += "<Item>" + std::string(60, 'z') + "</Item>\r\n";
  auto sent = std::async(std::launch::async, [&] { return client.Send(endless); });
  ASSERT_TRUE(RunUntil([&] { return server_->nSocket.empty(); }));
  EXPECT_TRUE(SendPane().starts_with("[SND:0]  Connection Closed"));
  EXPECT_NE(ReceivePane().find("more than 1048576 bytes"), std::string::npos);
  EXPECT_TRUE(LoggedTexts().empty());
  sent.wait();
  EXPECT_EQ(ReplyTo(client), "");
}

TEST_F(ExchangeServerTest, TableErrorInARequestClosesTheConnectionAndGoesOnUp) {
  std::filesystem::remove(Bases() + "/DET_FOL.DBF");
  sock_test::TestClient client = Connected();
  ASSERT_TRUE(
      client.Send(Envelope(Login("ZIRUVUZ", "ZV-2024") +
                           "<ACTIONS><Action>GETSTATEMENT</Action><Room>101</Room></ACTIONS>")));
  ASSERT_GT(CSCAWAITDATA(0, 20000), 0);

  EXPECT_THROW(server_->READ_TCP(0), data::DataError);
  EXPECT_EQ(server_->In_Process, 0);
  EXPECT_TRUE(server_->nSocket.empty());
  EXPECT_TRUE(server_->v_Buffer.empty());
  EXPECT_EQ(ReplyTo(client), "") << "the peer sees the close, not a hang";
  EXPECT_TRUE(SendPane().starts_with("[SND:0]  Connection Closed"));

  // The window goes on serving.
  EXPECT_NE(Exchange(kBadUserRequest).find(ErrorBody("Bad User")), std::string::npos);
}

TEST_F(ExchangeServerTest, SecondWindowOnTheSamePortSaysItIsNotListeningAndGoesQuietly) {
  EX_ZIRUVUZ* second = EX_ZIRUVUZ::New(nullptr, "EXCHANGE", "HTL01");
  ASSERT_NE(second, nullptr);
  EXPECT_TRUE(
      win::GetWindowText(win::GetDlgItem(second->hwnd, 501))
          .starts_with("Not listening on 127.0.0.1:" + std::to_string(port_) + " (error -7: "))
      << win::GetWindowText(win::GetDlgItem(second->hwnd, 501));
  second->Terminar(0);
  // The first window's listener and component are untouched.
  EXPECT_NE(Exchange(kBadUserRequest).find(ErrorBody("Bad User")), std::string::npos);
}

TEST_F(ExchangeServerTest, MissingTableLeavesNoSecondWindow) {
  const auto server_windows = [] {
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::count_if(windows.begin(), windows.end(), [](QWidget* w) {
      return w->isVisible() && w->windowTitle() == "TARVISEN Data Exchange Server";
    });
  };
  ASSERT_EQ(server_windows(), 1);
  std::filesystem::remove(Bases() + "/U_DIZU.DBF");
  const int free_area = data::LowestFreeArea();
  EXPECT_THROW(EX_ZIRUVUZ::New(nullptr, "EXCHANGE", "HTL01"), data::DataError);
  EXPECT_EQ(server_windows(), 1);
  EXPECT_EQ(data::LowestFreeArea(), free_area) << "the tables opened before it were closed";
}

}  // namespace

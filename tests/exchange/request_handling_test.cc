// Request handling: the error replies in the order the checks run, the reply frame byte for
// byte, the two log records, the pause before the close, and the requests that get no reply.
#include <gtest/gtest.h>

#include "tests/exchange/exchange_fixture.h"

namespace {

using testing_support::Envelope;
using testing_support::kGetInfo101;
using testing_support::Login;

std::string GetInfo(const std::string& room, const std::string& first, const std::string& last) {
  return "<ACTIONS><Action>GETINFO</Action><Room>" + room + "</Room><FirstName>" + first +
         "</FirstName><LastName>" + last + "</LastName></ACTIONS>";
}

// The whole reply of an error, with the Content-Length the peer must see.
std::string ErrorReply(const std::string& text, int content_length) {
  return "POST /interface/xxxxx HTTP/1.1\r\n"
         "Host: www.opentravel.org\r\n"
         "Content-Type: text/xml encoding='UTF-8'; charset=utf-8\r\n"
         "Content-Length: " +
         std::to_string(content_length) +
         "\r\n"
         "\r\n"
         "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
         "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
         "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\r\n"
         "<soap:Header>\r\n"
         "</soap:Header>\r\n"
         "<soap:Body>\r\n"
         "<ZIRUVUZ><ERROR>" +
         text +
         "</ERROR></ZIRUVUZ>\r\n"
         "</soap:Body>\r\n"
         "</soap:Envelope>\r\n";
}

struct ErrorCase {
  const char* name;
  std::string request;
  std::string reply_text;
  int content_length;
};

class RequestHandlingTest : public testing_support::ExchangeFixture {};

TEST_F(RequestHandlingTest, EachFaultIsAnsweredByTheFirstFailingCheck) {
  const ErrorCase cases[] = {
      {"password before username",
       Envelope("<login><password>ZV-2024</password><username>ZIRUVUZ</username></login>" +
                kGetInfo101),
       "No username or password", 306},
      {"no password", Envelope("<login><username>ZIRUVUZ</username></login>" + kGetInfo101),
       "No username or password", 306},
      {"empty username", Envelope(Login("", "ZV-2024") + kGetInfo101),
       "username or password: empty", 310},
      {"empty password", Envelope(Login("ZIRUVUZ", "") + kGetInfo101),
       "username or password: empty", 310},
      {"wrong password", Envelope(Login("ZIRUVUZ", "zv-2024") + kGetInfo101), "Bad User", 291},
      {"unknown user", Envelope(Login("NADIE", "ZV-2024") + kGetInfo101), "Bad User", 291},
      {"no ACTIONS", Envelope(Login("ZIRUVUZ", "ZV-2024")), "No ACTIONS", 293},
      {"no Action", Envelope(Login("ZIRUVUZ", "ZV-2024") + "<ACTIONS><Room>101</Room></ACTIONS>"),
       "No Action", 292},
      {"empty Action",
       Envelope(Login("ZIRUVUZ", "ZV-2024") + "<ACTIONS><Action></Action></ACTIONS>"),
       "Bad Action: Empty", 300},
      {"no login", Envelope(kGetInfo101), "Bad Command", 294},
      {"no Room",
       Envelope(Login("ZIRUVUZ", "ZV-2024") +
                "<ACTIONS><Action>GETINFO</Action><FirstName>Jos\xE9</"
                "FirstName><LastName>Mu\xF1oz</LastName></ACTIONS>"),
       "No Room", 290},
      {"empty Room",
       Envelope(Login("ZIRUVUZ", "ZV-2024") +
                "<ACTIONS><Action>GETINFO</Action><Room/><FirstName>Jos\xE9</"
                "FirstName><LastName>Mu\xF1oz</LastName></ACTIONS>"),
       "Bad Room: Empty", 298},
      {"no FirstName",
       Envelope(Login("ZIRUVUZ", "ZV-2024") + "<ACTIONS><Action>GETINFO</Action><Room>101</"
                                              "Room><LastName>Mu\xF1oz</LastName></ACTIONS>"),
       "No FirstName", 295},
      {"empty FirstName",
       Envelope(Login("ZIRUVUZ", "ZV-2024") +
                "<ACTIONS><Action>GETINFO</Action><Room>101</Room><FirstName> "
                "</FirstName><LastName>Mu\xF1oz</LastName></ACTIONS>"),
       "Bad FirstName: Empty", 303},
      {"no LastName before the stay is looked up",
       Envelope(Login("ZIRUVUZ", "ZV-2024") + "<ACTIONS><Action>GETINFO</Action><Room>999</"
                                              "Room><FirstName>Jos\xE9</FirstName></ACTIONS>"),
       "No LastName", 294},
      {"empty LastName",
       Envelope(Login("ZIRUVUZ", "ZV-2024") +
                "<ACTIONS><Action>GETINFO</Action><Room>101</Room><FirstName>Jos\xE9</"
                "FirstName><LastName></LastName></ACTIONS>"),
       "Bad LastName: Empty", 302},
      {"room without a stay in house",
       Envelope(Login("ZIRUVUZ", "ZV-2024") + GetInfo("999", "Jos\xE9", "Mu\xF1oz")),
       "Not registered", 297},
      {"arrival of next week is not in house",
       Envelope(Login("ZIRUVUZ", "ZV-2024") + GetInfo("214", "Jos\xE9", "Mu\xF1oz")),
       "Not registered", 297},
      {"other guest", Envelope(Login("ZIRUVUZ", "ZV-2024") + GetInfo("101", "Ana", "Mu\xF1oz")),
       "Name Mismatch", 296},
      {"accented capital is not upper-cased A",
       Envelope(Login("ZIRUVUZ", "ZV-2024") + GetInfo("104", "\xC1na", "Jim\xE9nez")),
       "Name Mismatch", 296},
  };
  for (const ErrorCase& c : cases) {
    EXPECT_EQ(Process(c.request), ErrorReply(c.reply_text, c.content_length)) << c.name;
  }
}

TEST_F(RequestHandlingTest, AReplyIsSentShownLoggedAndTheConnectionClosedAfterOneSecond) {
  const std::string request = Envelope(Login("ZIRUVUZ", "wrong") + kGetInfo101);
  const std::string reply = Process(request);
  ASSERT_EQ(reply, ErrorReply("Bad User", 291));
  EXPECT_EQ(side_.pane, reply);
  const std::vector<std::string> expected_events = {"ACT_TIME 4 @0", "SEND 4 @0", "PANE 4 @0",
                                                    "CLOSE 4 @1000"};
  EXPECT_EQ(side_.events, expected_events);

  const std::vector<testing_support::LogRecord> log = LogRecords();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].info, request);  // the whole text, header included
  EXPECT_EQ(log[1].info, reply.substr(reply.find("<soap:Header>")));
  for (const testing_support::LogRecord& record : log) {
    EXPECT_EQ(record.date, xbase::JulianDay(2024, 3, 6));
    EXPECT_EQ(record.time, "10:30:15");
  }
}

TEST_F(RequestHandlingTest, CredentialsCountOnTheirFirstTenCharacters) {
  // Stored: ZIRUVUZ / ZV-2024. Both sent texts match once cut to 10.
  const std::string reply =
      Process(Envelope(Login("ZIRUVUZ   and more", "ZV-2024   and more") + kGetInfo101));
  EXPECT_NE(reply.find("<Action>GETINFO</Action>"), std::string::npos) << reply;
}

TEST_F(RequestHandlingTest, ActionsOutsideZiruvuzAreFound) {
  const std::string request = "<soap:Envelope><soap:Body><ZIRUVUZ>" + Login("ZIRUVUZ", "ZV-2024") +
                              "</ZIRUVUZ><ACTIONS><Action/></ACTIONS></soap:Body></soap:Envelope>";
  EXPECT_EQ(Process(request), ErrorReply("Bad Action: Empty", 300));
}

TEST_F(RequestHandlingTest, OnlyTheFirstOfTwoEnvelopesIsAnswered) {
  const std::string second = Envelope(Login("ZIRUVUZ", "ZV-2024") + kGetInfo101);
  EXPECT_EQ(Process(Envelope(kGetInfo101) + second), ErrorReply("Bad Command", 294));
  EXPECT_EQ(side_.events.back(), "CLOSE 4 @1000");
}

TEST_F(RequestHandlingTest, UnrecognisedRequestsGetNoReplyAndKeepTheConnection) {
  const struct {
    const char* name;
    std::string request;
  } cases[] = {
      {"no ZIRUVUZ element", "POST / HTTP/1.1\r\n\r\n<soap:Envelope><soap:Body/></soap:Envelope>"},
      {"not XML at all", "\x02\xFF<<&&</soap:Envelope>"},
      {"ZIRUVUZ lost to an XML error", "<soap:Envelope><ZIRUVUZ>a & b</ZIRUVUZ></soap:Envelope>"},
      {"action in lower case",
       Envelope(Login("ZIRUVUZ", "ZV-2024") +
                GetInfo("101", "Jos\xE9", "Mu\xF1oz").replace(17, 7, "getinfo"))},
      {"unknown action",
       Envelope(Login("ZIRUVUZ", "ZV-2024") + "<ACTIONS><Action>CHECKOUT</Action></ACTIONS>")},
  };
  size_t logged = 0;
  for (const auto& c : cases) {
    EXPECT_EQ(Process(c.request), "") << c.name;
    const std::vector<std::string> only_marked_active = {"ACT_TIME 4 @0"};
    EXPECT_EQ(side_.events, only_marked_active) << c.name;
    const std::vector<testing_support::LogRecord> log = LogRecords();
    ASSERT_EQ(log.size(), ++logged) << c.name;
    EXPECT_EQ(log.back().info, c.request) << c.name;
  }
}

}  // namespace

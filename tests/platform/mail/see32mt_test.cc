// The mail component as the program uses it: loaded by name, one HTML mail through an SMTP
// server, with and without a login, and failures that come back as codes within the timeouts.
#include "platform/mail/see32mt.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>

#include "platform/dynlib/library.h"
#include "platform/mail/smtp_session.h"
#include "tests/support/smtp_sink.h"

namespace {

using testing_support::SilentListener;
using testing_support::SmtpSink;

const char kHeaders[] = "X-Priority: Normal\r\nX-Sender: TARVISEN Hotel Software\r\n";

class See32mtTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dynlib::SetModuleDirectory(ZV_SEE32MT_DIR);
    library_ = std::make_unique<dynlib::Library>(dynlib::Library::Open("see32mt"));
    ASSERT_TRUE(library_->loaded()) << library_->error();
    ASSERT_EQ(Entry<SeeAttachFn>("seeAttach")(), 0);
  }
  void TearDown() override {
    if (library_ && library_->loaded()) Entry<SeeReleaseFn>("seeRelease")();
    dynlib::SetModuleDirectory("");
  }

  template <typename Fn>
  Fn* Entry(const char* name) {
    auto* entry = reinterpret_cast<Fn*>(library_->Symbol(name));
    EXPECT_NE(entry, nullptr) << name;
    return entry;
  }
  int32_t Connect(int port, const char* user = "", const char* password = "") {
    return Entry<SeeSmtpConnectFn>("seeSmtpConnect")("127.0.0.1", port, "<hotel@example.com>", user,
                                                     password, kHeaders);
  }
  int32_t Send(const char* body) {
    return Entry<SeeSendHtmlFn>("seeSendHTML")("<it@example.com>", "", "Error: HTL01", body,
                                               "Hotel Uno <hotel@example.com>");
  }
  std::string Describe(int32_t code) {
    char text[200];
    Entry<SeeErrorTextFn>("seeErrorText")(code, text, sizeof text);
    return text;
  }

  std::unique_ptr<dynlib::Library> library_;
};

bool Has(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST_F(See32mtTest, SendsOneHtmlMailWithTheHeadersAndRecipient) {
  SmtpSink sink;
  ASSERT_EQ(Connect(sink.port()), 0);
  // A body line that starts with a dot must not end the message early.
  ASSERT_EQ(Send("Error DBFCDX/1021  open failed\r\n.hidden\nCalled from X(1)\r\n"), 0);
  EXPECT_EQ(Entry<SeeCloseFn>("seeClose")(), 0);

  std::vector<SmtpSink::Session> sessions = sink.Sessions(2);
  ASSERT_EQ(sessions.size(), 2u);  // the connection check, then the mail
  const SmtpSink::Session& mail = sessions[1];
  EXPECT_TRUE(Has(mail.commands, "MAIL FROM:<hotel@example.com>"));
  EXPECT_TRUE(Has(mail.commands, "RCPT TO:<it@example.com>"));
  for (const char* line :
       {"From: Hotel Uno <hotel@example.com>\r\n", "To: <it@example.com>\r\n",
        "Subject: Error: HTL01\r\n", "X-Priority: Normal\r\n",
        "X-Sender: TARVISEN Hotel Software\r\n",
        "Content-Type: text/html; charset=windows-1252\r\n",
        "\r\nError DBFCDX/1021  open failed\r\n..hidden\r\nCalled from X(1)\r\n"}) {
    EXPECT_NE(mail.data.find(line), std::string::npos) << line << " in\n" << mail.data;
  }
  EXPECT_FALSE(Has(sessions[0].commands, "DATA"));
}

TEST_F(See32mtTest, LogsInWithUserAndPasswordWhenGiven) {
  SmtpSink sink(SmtpSink::Login::kAccepted);
  ASSERT_EQ(Connect(sink.port(), "mailer", "s3cret"), 0);
  ASSERT_EQ(Send("x"), 0);
  std::vector<SmtpSink::Session> sessions = sink.Sessions(2);
  ASSERT_EQ(sessions.size(), 2u);
  // AUTH PLAIN carries "\0mailer\0s3cret" in base 64.
  for (const SmtpSink::Session& session : sessions) {
    EXPECT_TRUE(Has(session.commands, "AUTH PLAIN AG1haWxlcgBzM2NyZXQ=") ||
                Has(session.commands, "AG1haWxlcgBzM2NyZXQ="));
  }
}

TEST_F(See32mtTest, FailuresComeBackAsNegativeCodesWithTheirText) {
  SilentListener silent;  // takes the connection and never greets
  SilentListener closed;
  const int closed_port = closed.port();
  closed.Close();  // nothing listens there any more
  SmtpSink refusing(SmtpSink::Login::kRefused);
  ASSERT_EQ(Entry<SeeSetTimeoutsFn>("seeSetTimeouts")(300, 300), 0);

  struct Case {
    const char* name;
    int port;
  } cases[] = {{"no greeting", silent.port()},
               {"connection refused", closed_port},
               {"login refused", refusing.port()}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto start = std::chrono::steady_clock::now();
    int32_t result = Connect(c.port, "mailer", "wrong");
    // A deliberate real-time bound: the timeouts keep a dead server from holding the program.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_LE(result, SEE_TRANSPORT_BASE);
    EXPECT_FALSE(Describe(result).empty());
    EXPECT_EQ(Send("x"), SEE_NOT_CONNECTED);
  }
  EXPECT_EQ(Connect(0), SEE_BAD_ARGUMENT);
  EXPECT_EQ(Entry<SeeSetTimeoutsFn>("seeSetTimeouts")(0, 10), SEE_BAD_ARGUMENT);
}

TEST(SmtpMessageTest, EncodesHeaderTextsOutsideAsciiAndEndsLinesInCrLf) {
  mail::SmtpServer server{"h", 25, "<a@b>", "", "", "X-Priority: Normal\n"};
  std::string message = mail::ComposeMessage(server, {"<c@d>", "",
                                                      "Error: Hotel Monta\xF1"
                                                      "a",
                                                      "a\rb\nc",
                                                      "Monta\xF1"
                                                      "a <a@b>"});
  EXPECT_NE(message.find("Subject: =?windows-1252?Q?Error=3A_Hotel_Monta=F1a?=\r\n"),
            std::string::npos);
  EXPECT_NE(message.find("From: =?windows-1252?Q?Monta=F1a?= <a@b>\r\n"), std::string::npos);
  EXPECT_NE(message.find("X-Priority: Normal\r\n"), std::string::npos);
  EXPECT_NE(message.find("\r\n\r\na\r\nb\r\nc\r\n"), std::string::npos);
}

}  // namespace

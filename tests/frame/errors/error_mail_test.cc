// Errors mailed straight away (XEMAILSEND 1): the mail goes through the mail component to the
// configured server instead of the queue; when the component or the server fails, a message
// says so and the window still opens.
#include "frame/errors/error_mail.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "frame/errors/error_handler.h"
#include "platform/clock/clock.h"
#include "platform/dynlib/library.h"
#include "platform/win/log.h"
#include "platform/win/window.h"
#include "tests/lib/data/data_fixture.h"
#include "tests/support/smtp_sink.h"

namespace {

const bool kOffscreen = (setenv("QT_QPA_PLATFORM", "offscreen", 1), true);

using testing_support::SilentListener;
using testing_support::SmtpSink;

data::ErrorObject WriteError() {
  data::ErrorObject error;
  error.GENCODE = data::EG_WRITE;
  error.SUBCODE = 1024;
  error.SUBSYSTEM = "DBFCDX";
  error.DESCRIPTION = "Write error";
  error.FILENAME = "BASES/DET_FOL.DBF";
  error.CANDEFAULT = true;
  return error;
}

class ErrorMailTest : public testing_support::DataFixture {
 protected:
  void SetUp() override {
    DataFixture::SetUp();
    win::EnsureApplication();
    for (const char* table : {"ERROR", "E_MSGS", "LOG_DIAG"}) Create(table);
    settings::Settings& globals = settings::Current();
    globals.XEMAILSEND = 1;
    globals.XEMAILHOST = "127.0.0.1";
    globals.XEMAILADDR = "hotel@example.com   ";
    globals.XEMAILNAME = "Hotel Uno";
    globals.XEMAILDEST = "  it@example.com  ";
    globals.XEMAIL_ID = "HTL01";
    dynlib::SetModuleDirectory(ZV_SEE32MT_DIR);
    frame::SetMailTimeouts(300, 300);
    win::SetLogSink([this](std::string_view line) { log_.emplace_back(line); });
    frame::ScriptErrorWindow([this](frame::ERROR_SPEC&) {
      ++windows_;
      return frame::kIgnoreButton;
    });
  }
  void TearDown() override {
    frame::ScriptErrorWindow({});
    frame::SetMailTimeouts(10000, 10000);
    dynlib::SetModuleDirectory("");
    win::SetLogSink({});
    DataFixture::TearDown();
  }
  uint32_t Records(const std::string& table) {
    xbase::Cursor cursor(TablePath(table));
    return cursor.RecCount();
  }
  bool Logged(const std::string& text) {
    for (const std::string& line : log_) {
      if (line.find(text) != std::string::npos) return true;
    }
    return false;
  }

  zvclock::FakeClock clock_;
  std::vector<std::string> log_;
  int windows_ = 0;
};

TEST_F(ErrorMailTest, MailsTheErrorInsteadOfQueueingIt) {
  SmtpSink sink(SmtpSink::Login::kAccepted);
  settings::Current().XEMAIL_SMTP_PORT = sink.port();
  settings::Current().XEMAILAUTH = 1;
  settings::Current().XEMAIL_AU = "mailer ";
  settings::Current().XEMAIL_AP = " s3cret";
  frame::HandleError(WriteError(), {});

  EXPECT_EQ(windows_, 1);
  EXPECT_EQ(Records("ERROR"), 1u);
  EXPECT_EQ(Records("E_MSGS"), 0u);
  std::vector<SmtpSink::Session> sessions = sink.Sessions(2);
  ASSERT_EQ(sessions.size(), 2u);
  const SmtpSink::Session& mail = sessions[1];
  auto said = [&](const std::string& line) {
    return std::find(mail.commands.begin(), mail.commands.end(), line) != mail.commands.end();
  };
  EXPECT_TRUE(said("MAIL FROM:<hotel@example.com>"));
  EXPECT_TRUE(said("RCPT TO:<it@example.com>"));
  EXPECT_TRUE(said("AUTH PLAIN") || said("AUTH PLAIN AG1haWxlcgBzM2NyZXQ="));
  for (const char* text :
       {"From: Hotel Uno <hotel@example.com>\r\n", "To: <it@example.com>\r\n",
        "Subject: Error: HTL01\r\n", "X-Priority: Normal\r\n",
        "X-Sender: TARVISEN Hotel Software\r\n",
        "Error DBFCDX/1024  Write error: BASES/DET_FOL.DBF\r\n\r\nFile: BASES/DET_FOL.DBF "
        "GenCode: 24 OsCode: 0\r\n"}) {
    EXPECT_NE(mail.data.find(text), std::string::npos) << text << " in\n" << mail.data;
  }
}

TEST_F(ErrorMailTest, FailuresAreShownAndTheWindowStillOpens) {
  SilentListener silent;
  testing_support::TempDir empty;
  struct Case {
    const char* name;
    std::string module_dir;
    int port;
    std::vector<std::string> messages;
  } cases[] = {
      {"server never answers",
       ZV_SEE32MT_DIR,
       silent.port(),
       {"Error SMTP Connect, maybe bad authentication:       -128"}},
      {"component missing", empty.path().string(), silent.port(), {"Error loading SEE"}},
      {"component cannot attach",
       ZV_BROKEN_SEE32MT_DIR,
       silent.port(),
       {"seeAttach failed.;Error : stand-in failure (-4)", "Error loading SEE"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    log_.clear();
    dynlib::SetModuleDirectory(c.module_dir);
    settings::Current().XEMAIL_SMTP_PORT = c.port;
    const int windows = windows_;
    const uint32_t errors = Records("ERROR");
    frame::HandleError(WriteError(), {});
    EXPECT_EQ(windows_, windows + 1);
    EXPECT_EQ(Records("ERROR"), errors + 1);
    EXPECT_EQ(Records("E_MSGS"), 0u);
    for (const std::string& message : c.messages) EXPECT_TRUE(Logged(message)) << message;
  }
}

}  // namespace

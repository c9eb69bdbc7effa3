// The error handler end to end on the offscreen platform: which errors are answered quietly,
// what the error window shows and allows, what each answer returns, what is logged and queued,
// re-entry while the window is open, the transaction rollback step, and errors that reach the
// handler from the data layer and from window message handlers.
#include "frame/errors/error_handler.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "frame/errors/errorsys.h"
#include "lib/data/date_time.h"
#include "lib/data/work_areas.h"
#include "lib/data/write_protocol.h"
#include "lib/data/wtable.h"
#include "lib/ui/control_window.h"
#include "lib/ui/handler_chain.h"
#include "lib/ui/wdiag.h"
#include "platform/clock/clock.h"
#include "platform/win/log.h"
#include "platform/win/message.h"
#include "platform/win/window.h"
#include "tests/lib/data/data_fixture.h"

namespace {

const bool kOffscreen = (setenv("QT_QPA_PLATFORM", "offscreen", 1), true);

using frame::Answer;

// What the scripted user saw in the window.
struct Seen {
  std::string title, message, detail;
  bool retry_enabled = false, ignore_enabled = false;
};

Seen Look(frame::ERROR_SPEC& window) {
  auto enabled = [&](int id) { return win::IsWindowEnabled(win::GetDlgItem(window.hwnd, id)); };
  return {win::GetWindowText(window.hwnd),
          win::GetWindowText(win::GetDlgItem(window.hwnd, frame::kMessageEdit)),
          win::GetWindowText(win::GetDlgItem(window.hwnd, frame::kDetailEdit)),
          enabled(frame::kRetryButton), enabled(frame::kIgnoreButton)};
}

data::ErrorObject OpenError() {
  data::ErrorObject error;
  error.GENCODE = data::EG_OPEN;
  error.SUBCODE = 1021;
  error.OSCODE = 2;
  error.SUBSYSTEM = "DBFCDX";
  error.DESCRIPTION = "Open error";
  error.OPERATION = "USE";
  error.FILENAME = "BASES/DET_FOL.DBF";
  error.CANRETRY = true;
  error.CANDEFAULT = true;
  return error;
}

class ErrorHandlerTest : public testing_support::DataFixture {
 protected:
  void SetUp() override {
    DataFixture::SetUp();
    win::EnsureApplication();
    for (const char* table : {"ERROR", "E_MSGS", "LOG_E_S", "LOG_ROLL", "NEGOCIOS", "LOG_DIAG"}) {
      Create(table);
    }
    settings::Current().EXT_MODULO = "REN";
    settings::Current().XEMAILDEST = "it@example.com";
    settings::Current().XEMAIL_ID = "HTL01";
    win::SetLogSink([this](std::string_view line) { log_.emplace_back(line); });
    frame::SetProgramExit([this](int code) { exit_code_ = code; });
  }
  void TearDown() override {
    frame::ScriptErrorWindow({});
    frame::SetProgramExit({});
    data::SetErrorHandler({});
    win::SetHandlerErrorCallback({});
    win::SetLogSink({});
    settings::Current().XINERRORSYS = false;
    DataFixture::TearDown();
  }

  // Answers every window with `control`, remembering what it showed.
  void Press(int control) {
    frame::ScriptErrorWindow([this, control](frame::ERROR_SPEC& window) {
      seen_.push_back(Look(window));
      return control;
    });
  }
  uint32_t Records(const std::string& table) {
    xbase::Cursor cursor(TablePath(table));
    return cursor.RecCount();
  }
  std::string Field(const std::string& table, uint32_t recno, const std::string& field) {
    xbase::Cursor cursor(TablePath(table));
    cursor.GoTo(recno);
    std::string text = cursor.Get(field).str;
    return text.erase(text.find_last_not_of(' ') + 1);
  }
  bool Logged(const std::string& text) {
    for (const std::string& line : log_) {
      if (line.find(text) != std::string::npos) return true;
    }
    return false;
  }

  zvclock::FakeClock clock_;
  std::vector<Seen> seen_;
  std::vector<std::string> log_;
  std::optional<int> exit_code_;
};

TEST_F(ErrorHandlerTest, AnswersByTheErrorAndTheChoice) {
  auto with = [](auto change) {
    data::ErrorObject error = OpenError();
    change(error);
    return error;
  };
  struct Case {
    const char* name;
    data::ErrorObject error;
    int press;  // the control the user presses; a disabled one is not pressable
    Answer answer;
    bool window;
    std::string message;  // "" when there is no window
    bool net_err = false;
    bool retry_enabled = false, ignore_enabled = false;
    bool quits = false;
  } cases[] = {
      {"division by zero", with([](auto& e) { e.GENCODE = data::EG_ZERODIV; }), 0, Answer::kZero,
       false, ""},
      {"sharing violation at open", with([](auto& e) { e.OSCODE = 32; }), 0, Answer::kDefault,
       false, "", true},
      {"server sharing violation", with([](auto& e) { e.GENCODE = 2006, e.OSCODE = 32; }), 0,
       Answer::kDefault, false, "", true},
      {"append lock", with([](auto& e) { e.GENCODE = data::EG_APPENDLOCK; }), 0, Answer::kDefault,
       false, "", true},
      {"server code 6313", with([](auto& e) { e.SUBCODE = 6313; }), 0, Answer::kZero, false, ""},
      {"server code 6102", with([](auto& e) { e.SUBCODE = 6102; }), 0, Answer::kZero, false, ""},
      {"sharing violation without default",
       with([](auto& e) { e.OSCODE = 32, e.CANDEFAULT = false, e.CANRETRY = false; }),
       frame::kQuitButton, Answer::kZero, true, "Error DBFCDX/1021  Open error: BASES/DET_FOL.DBF",
       false, false, false, true},
      {"retry", OpenError(), frame::kRetryButton, Answer::kRetry, true,
       "Error DBFCDX/1021  Open error: BASES/DET_FOL.DBF", false, true, true},
      {"ignore, operation without file", with([](auto& e) { e.FILENAME.clear(); }),
       frame::kIgnoreButton, Answer::kDefault, true, "Error DBFCDX/1021  Open error: USE", false,
       true, true},
      {"warning with neither file nor operation, no subsystem or subcode", with([](auto& e) {
         e = {};
         e.SEVERITY = 1, e.DESCRIPTION = "Bound error", e.CANDEFAULT = true;
       }),
       frame::kIgnoreButton, Answer::kDefault, true,
       "Warning ???"
       "/???  Bound error",
       false, false, true},
      {"retry not allowed: the close box ignores", with([](auto& e) { e.CANRETRY = false; }),
       frame::kRetryButton, Answer::kDefault, true,
       "Error DBFCDX/1021  Open error: BASES/DET_FOL.DBF", false, false, true},
      {"no default: the close box quits", with([](auto& e) { e.CANDEFAULT = false; }),
       frame::kIgnoreButton, Answer::kZero, true,
       "Error DBFCDX/1021  Open error: BASES/DET_FOL.DBF", false, true, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    seen_.clear();
    exit_code_.reset();
    data::SetNetErr(false);
    const uint32_t errors = Records("ERROR"), queued = Records("E_MSGS");
    Press(c.press);
    EXPECT_EQ(frame::HandleError(c.error, {{"ERRORSYS", 12}, {"EXCHANGE:WM_TIMER", 0}}), c.answer);
    ASSERT_EQ(seen_.size(), c.window ? 1u : 0u);
    EXPECT_EQ(data::NETERR(), c.net_err);
    EXPECT_EQ(Records("ERROR"), errors + (c.window ? 1 : 0));
    EXPECT_EQ(Records("E_MSGS"), queued + (c.window ? 1 : 0));
    EXPECT_EQ(exit_code_, c.quits ? std::optional<int>(1) : std::nullopt);
    EXPECT_FALSE(settings::Current().XINERRORSYS);
    if (!c.window) continue;
    EXPECT_EQ(seen_[0].title, "ERROR DE SISTEMA");
    EXPECT_EQ(seen_[0].message, c.message);
    EXPECT_EQ(seen_[0].retry_enabled, c.retry_enabled);
    EXPECT_EQ(seen_[0].ignore_enabled, c.ignore_enabled);
    EXPECT_EQ(Field("ERROR", Records("ERROR"), "DESCRIP"), c.message);
  }
}

TEST_F(ErrorHandlerTest, LogsTheRecordAndQueuesTheMailWithHeaderAndCalls) {
  settings::Current().XEMAILNAME = "Hotel Uno";
  settings::Current().XEMAILADDR = "hotel@example.com";
  Press(frame::kIgnoreButton);
  frame::HandleError(OpenError(), {{"ERRORSYS", 12}, {"EXCHANGE:WM_TIMER", 0}, {"#32770", 7}});

  const std::string message = "Error DBFCDX/1021  Open error: BASES/DET_FOL.DBF";
  const std::string detail =
      "File: BASES/DET_FOL.DBF GenCode: 21 OsCode: 2\r\nCalled from ERRORSYS(12)\r\n"
      "Called from #32770(7)\r\n";
  const std::string stamp =
      "Fecha/H.: " + data::DateToText(data::LocalDate()) + " " + data::LocalTime() + "\r\n";
  const std::string detail_text = Field("ERROR", 1, "DETALLE");
  EXPECT_EQ(detail_text.rfind("M\xF3"
                              "dulo  : REN\r\n" +
                                  stamp,
                              0),
            0u)
      << detail_text;
  EXPECT_NE(detail_text.find("\r\nV32 WinUser : "), std::string::npos);
  EXPECT_NE(detail_text.find(message + "\r\r\n" + detail), std::string::npos) << detail_text;

  EXPECT_EQ(Field("E_MSGS", 1, "TO_USER"), "it@example.com");
  EXPECT_EQ(Field("E_MSGS", 1, "SUBJECT"), "Error: HTL01");
  EXPECT_EQ(Field("E_MSGS", 1, "USERNAME"), "Hotel Uno");
  EXPECT_EQ(Field("E_MSGS", 1, "USERADDR"), "hotel@example.com");
  xbase::Cursor queue(TablePath("E_MSGS"));
  queue.GoTo(1);
  EXPECT_EQ(queue.Get("ENVIADO").num, 0);
  EXPECT_EQ(queue.Get("LISTO").num, 1);
  EXPECT_NE(Field("E_MSGS", 1, "BODY").find(message + "\r\n\r\n" + detail), std::string::npos);
  // Headless: the error went to the log too.
  EXPECT_TRUE(Logged("ERROR DE SISTEMA: " + message));
}

TEST_F(ErrorHandlerTest, QuittingMarksTheLoginRecord) {
  settings::Current().XREC_E_S = Add("LOG_E_S", {{"USUARIO", testing_support::Text("ADM")}});
  Press(frame::kQuitButton);
  frame::HandleError(OpenError(), {{"ERRORSYS", 12}});
  EXPECT_EQ(exit_code_, 1);
  EXPECT_EQ(Field("LOG_E_S", 1, "ERR_CHECK"), "*");
  EXPECT_EQ(Field("LOG_E_S", 1, "HORA_SAL"), data::LocalTime());
  const std::string summary = Field("LOG_E_S", 1, "DESC_ERR");
  EXPECT_EQ(summary.rfind("Error DBFCDX/1021  Open error: BASES/DET_FOL.DBF|", 0), 0u);
  EXPECT_NE(summary.find(" > ERRORSYS(12)"), std::string::npos) << summary;
  EXPECT_EQ(summary.find_first_of("\r\n"), std::string::npos);
}

TEST_F(ErrorHandlerTest, LaterErrorOpensANewWindowAndReentryOpensNone) {
  std::vector<Answer> inner;
  int windows = 0;
  frame::ScriptErrorWindow([&](frame::ERROR_SPEC& window) {
    ++windows;
    seen_.push_back(Look(window));
    // A timer's error while this window waits: logged, answered without a second window.
    data::ErrorObject second = OpenError();
    inner.push_back(frame::HandleError(second, {}));
    second.CANDEFAULT = false;
    inner.push_back(frame::HandleError(second, {}));
    return frame::kIgnoreButton;
  });
  EXPECT_EQ(frame::HandleError(OpenError(), {}), Answer::kDefault);
  EXPECT_EQ(windows, 1);
  EXPECT_EQ(inner, (std::vector<Answer>{Answer::kDefault, Answer::kZero}));
  EXPECT_EQ(Records("ERROR"), 3u);
  EXPECT_EQ(Records("E_MSGS"), 3u);

  EXPECT_EQ(frame::HandleError(OpenError(), {}), Answer::kDefault);
  EXPECT_EQ(windows, 2);
}

TEST_F(ErrorHandlerTest, QuitMessageDuringTheWaitCountsAsQuitting) {
  frame::ScriptErrorWindow([](frame::ERROR_SPEC&) {
    win::PostQuitMessage(0);  // the frame is being closed meanwhile
    return 0;
  });
  EXPECT_EQ(frame::HandleError(OpenError(), {}), Answer::kDefault);
  EXPECT_EQ(exit_code_, 1);
  EXPECT_FALSE(settings::Current().XINERRORSYS);
  win::Msg msg;
  while (win::PeekMessage(&msg, win::PM_REMOVE)) {
  }
}

TEST_F(ErrorHandlerTest, QuittingClosesEveryTableAndEndsWithCodeOne) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  // The child process runs this test afresh: it works in the parent's program directory.
  setenv("ZV_QUIT_TEST_DIR", dir_.path().c_str(), /*overwrite=*/0);
  const std::string program_dir = std::getenv("ZV_QUIT_TEST_DIR");
  auto quit_with_a_record_pending = [&] {
    settings::Current().PATH = program_dir + "/";
    frame::SetProgramExit({});
    data::TableHandle businesses = data::USE({}, "NEGOCIOS");
    data::ADD_NEW_REC();
    businesses->FieldPut("CODIGO", testing_support::Text("PENDIENTE"));
    Press(frame::kQuitButton);
    frame::HandleError(OpenError(), {});
  };
  EXPECT_EXIT(quit_with_a_record_pending(), ::testing::ExitedWithCode(1), "");
  unsetenv("ZV_QUIT_TEST_DIR");
  ASSERT_EQ(Records("NEGOCIOS"), 1u);
  EXPECT_EQ(Field("NEGOCIOS", 1, "CODIGO"), "PENDIENTE");
}

TEST_F(ErrorHandlerTest, OpenServerTransactionIsRolledBackAndLogged) {
  settings::Current().DEF_RDD = "ADSCDX";
  settings::Current().XADSTRANS = 1;
  settings::Current().XUSER_ABREVIA = "ADM";
  Press(frame::kIgnoreButton);
  frame::HandleError(OpenError(), {});
  EXPECT_EQ(settings::Current().XADSTRANS, 0);
  ASSERT_EQ(Records("LOG_ROLL"), 1u);
  EXPECT_EQ(Field("LOG_ROLL", 1, "MOTIVO"), "Error DBFCDX/1021  Open error: BASES/DET_FOL.DBF");
  EXPECT_EQ(Field("LOG_ROLL", 1, "USUARIO"), "ADM");
  EXPECT_EQ(Field("LOG_ROLL", 1, "NEGOCIO"), "");
  for (int area = 1; area < 8; ++area) EXPECT_EQ(data::FindArea(area), nullptr) << area;

  // Without an open transaction nothing is rolled back.
  frame::HandleError(OpenError(), {});
  EXPECT_EQ(Records("LOG_ROLL"), 1u);
}

TEST_F(ErrorHandlerTest, WindowLooksRight) {
  frame::ScriptErrorWindow([](frame::ERROR_SPEC& window) {
    EXPECT_TRUE(win::SaveWindowImage(window.hwnd, std::string(ZV_RENDER_DIR) + "/ERROR_SPEC.png"));
    EXPECT_EQ(win::GetWindowText(win::GetDlgItem(window.hwnd, frame::kFreeEdit)), "");
    EXPECT_EQ(win::GetWindowText(win::GetDlgItem(window.hwnd, frame::kRetryButton)), "Reintentar");
    EXPECT_EQ(win::GetWindowText(win::GetDlgItem(window.hwnd, frame::kIgnoreButton)), "Ignorar");
    EXPECT_EQ(win::GetWindowText(win::GetDlgItem(window.hwnd, frame::kQuitButton)), "Salir");
    return frame::kIgnoreButton;
  });
  frame::HandleError(OpenError(), {{"ERRORSYS", 12}, {"EXCHANGE:WM_TIMER", 40}});
}

TEST_F(ErrorHandlerTest, RetryRunsTheFailedOpenAgain) {
  frame::ERRORSYS();
  std::filesystem::remove(TablePath("NEGOCIOS"));
  std::filesystem::remove(Bases() + "/NEGOCIOS.CDX");
  frame::ScriptErrorWindow([this](frame::ERROR_SPEC& window) {
    seen_.push_back(Look(window));
    Create("NEGOCIOS");  // what the user fixes before pressing "Reintentar"
    return frame::kRetryButton;
  });
  data::TableHandle table = data::USE({}, "NEGOCIOS");
  EXPECT_TRUE(table->Used());
  ASSERT_EQ(seen_.size(), 1u);
  EXPECT_NE(seen_[0].message.find("NEGOCIOS"), std::string::npos) << seen_[0].message;
  EXPECT_NE(seen_[0].detail.find("Called from ERRORSYS("), std::string::npos);
  data::KILLTABLA(table);

  // Ignored, the open fails once: the error reaches its caller already reported.
  std::filesystem::remove(TablePath("NEGOCIOS"));
  Press(frame::kIgnoreButton);
  try {
    data::USE({}, "NEGOCIOS");
    ADD_FAILURE() << "the open cannot succeed";
  } catch (const data::DataError& e) {
    EXPECT_TRUE(e.reported());
  }
  EXPECT_EQ(seen_.size(), 2u);
}

TEST_F(ErrorHandlerTest, ExceptionEscapingAMessageHandlerReachesTheHandler) {
  frame::ERRORSYS();
  ASSERT_TRUE(ui::REGISTERCLASS("ERRTEST"));
  win::Hwnd window = win::CreateWindowEx(0, "ERRTEST", "", 0, 0, 0, 10, 10, 0, 0);
  constexpr uint32_t kFail = win::WM_USER + 7;
  ui::SUBCLASSWINDOW(
      window,
      [](win::Hwnd, uint32_t message, win::WPARAM, win::LPARAM) -> intptr_t {
        if (message == kFail) throw std::out_of_range("folio line 12 of 10");
        return 0;
      },
      0);
  Press(frame::kIgnoreButton);
  EXPECT_EQ(win::SendMessage(window, kFail, 0, 0), 0);
  // Posted, it arrives through the toolkit's event loop: nothing may unwind into it.
  win::PostMessage(window, kFail, 0, 0);
  {
    win::NestedLoopScope nested;
    win::DispatchPending();
  }
  ASSERT_EQ(seen_.size(), 2u);
  EXPECT_EQ(seen_[0].message,
            "Error ???"
            "/???  folio line 12 of 10: ERRTEST:MSG1031");
  EXPECT_FALSE(seen_[0].retry_enabled);
  EXPECT_TRUE(seen_[0].ignore_enabled);
  EXPECT_NE(seen_[0].detail.find("GenCode: 2 OsCode: 0\r\nCalled from ERRORSYS("),
            std::string::npos)
      << seen_[0].detail;
  EXPECT_NE(seen_[0].detail.find("Called from ERRTEST:MSG1031("), std::string::npos);
  win::DestroyWindow(window);
}

TEST_F(ErrorHandlerTest, DialogTakesCommandsAgainAfterACommandRaised) {
  frame::ERRORSYS();
  auto dialog = std::make_shared<ui::WDIAG>();
  ASSERT_EQ(dialog->Init(nullptr, "EXCHANGE"), dialog.get());
  ui::WPUSHBUTTON button;
  button.Init(dialog.get(), 201);
  int runs = 0;
  dialog->Add(button, [&runs](ui::WDIALOG&, ui::WCONTROLWINDOW&, int) -> ui::Result {
    if (++runs == 1) throw std::runtime_error("posting failed");
    return 0;
  });
  Press(frame::kIgnoreButton);
  for (int click = 0; click < 2; ++click) {
    win::SendMessage(dialog->hwnd, win::WM_COMMAND, win::MakeWParam(201, win::BN_CLICKED),
                     button.hWnd);
  }
  EXPECT_EQ(runs, 2);
  ASSERT_EQ(seen_.size(), 1u);
  EXPECT_NE(seen_[0].detail.find("Called from EXCHANGE:WM_COMMAND("), std::string::npos)
      << seen_[0].detail;
  win::DestroyWindow(dialog->hwnd);
}

}  // namespace

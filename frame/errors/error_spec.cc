#include "frame/errors/error_spec.h"

#include "frame/errors/error_log.h"
#include "frame/errors/error_mail.h"
#include "frame/errors/error_text.h"
#include "frame/errors/rollback.h"
#include "lib/settings/settings.h"
#include "platform/win/window.h"

namespace frame {

bool ERROR_SPEC::Init(ui::WindowObject* parent, const std::string& template_name,
                      const std::string& message_line, const std::string& detail,
                      const data::ErrorObject& error, bool can_retry, bool can_default) {
  settings::Settings& globals = settings::Current();
  WriteOwnTables("Transaction not rolled back", [&] { RollbackOpenTransaction(message_line); });
  message_line_ = message_line;
  detail_ = detail;
  errMessage = ErrorHeader();
  screen_text_ = ScreenText(message_line, detail);
  mail_body_ = MailBody(message_line, detail);
  e = error;
  CanRetry = can_retry;
  CanDefault = can_default;
  if (globals.XINERRORSYS) {
    WriteLogAndMail();
    return false;
  }
  globals.XINERRORSYS = true;
  GoOut = false;
  outResult = kQuitChosen;
  if (!WDIAG::Init(parent, template_name) || !hwnd) {
    globals.XINERRORSYS = false;
    WriteLogAndMail();
    return false;
  }
  errM2.Init(this, kMessageEdit);
  sMessage.Init(this, kDetailEdit);
  fdGroup.Init(this, kFreeEdit);
  retry_.Init(this, kRetryButton);
  ignore_.Init(this, kIgnoreButton);
  quit_.Init(this, kQuitButton);
  auto on_click = [](void (ERROR_SPEC::*choice)()) {
    return [choice](ui::WDIALOG& dialog, ui::WCONTROLWINDOW&, int) -> ui::Result {
      (static_cast<ERROR_SPEC&>(dialog).*choice)();
      return 0;
    };
  };
  Add(retry_, on_click(&ERROR_SPEC::DO_RETRY));
  Add(ignore_, on_click(&ERROR_SPEC::DO_DEFAULT));
  Add(quit_, on_click(&ERROR_SPEC::Terminar));
  win::EnableWindow(retry_.hWnd, CanRetry);
  win::EnableWindow(ignore_.hWnd, CanDefault);
  errM2._Text(message_line);
  sMessage._Text(screen_text_);
  Create(template_name);
  WriteLogAndMail();
  return true;
}

void ERROR_SPEC::WriteLogAndMail() {
  WriteOwnTables("Error not logged", [this] { SAVE_ERROR(); });
  if (settings::Current().XEMAILSEND == 1) {
    MailError("Error: " + settings::Current().XEMAIL_ID, mail_body_);
  } else {
    WriteOwnTables("Error mail not queued", [this] { GUARDAR(); });
  }
}

void ERROR_SPEC::Terminar() { Choose(kQuitChosen); }
void ERROR_SPEC::DO_RETRY() { Choose(kRetryChosen); }
void ERROR_SPEC::DO_DEFAULT() { Choose(kIgnoreChosen); }

uint32_t ERROR_SPEC::SAVE_ERROR() {
  uint32_t recno = WriteErrorRecord(message_line_, screen_text_);
  MarkLoginRecord(message_line_, screen_text_);
  return recno;
}

void ERROR_SPEC::GUARDAR() { QueueErrorMail(mail_body_); }

intptr_t ERROR_SPEC::Cancel() {
  if (!GoOut) {
    GoOut = true;
    outResult = CanDefault ? kIgnoreChosen : kQuitChosen;
    settings::Current().XINERRORSYS = false;
  }
  return 1;
}

ui::Result ERROR_SPEC::OnNCDESTROY(win::WPARAM, win::LPARAM) {
  Cancel();  // closed without a choice (by the frame, or the program ending)
  return {};
}

void ERROR_SPEC::Choose(int result) {
  if (GoOut) return;
  GoOut = true;
  outResult = result;
  EndDialog(win::IDCANCEL);
  settings::Current().XINERRORSYS = false;
}

}  // namespace frame

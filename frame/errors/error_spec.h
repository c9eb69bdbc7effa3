#pragma once
// The error window "ERROR DE SISTEMA": shows the error, writes the error log and the mail as
// it opens, and waits for the user's choice (retry, ignore, end the program).

#include <any>
#include <cstdint>
#include <string>

#include "lib/data/data_error.h"
#include "lib/ui/control_window.h"
#include "lib/ui/wdiag.h"

namespace frame {

// Its controls.
inline constexpr int kMessageEdit = 501;
inline constexpr int kDetailEdit = 502;
inline constexpr int kFreeEdit = 503;
inline constexpr int kRetryButton = 201;
inline constexpr int kIgnoreButton = 202;
inline constexpr int kQuitButton = 1;

// outResult values.
inline constexpr int kRetryChosen = 1;
inline constexpr int kIgnoreChosen = 2;
inline constexpr int kQuitChosen = 3;

class ERROR_SPEC : public ui::WDIAG {
 public:
  std::string errMessage;  // the header that precedes the message line
  ui::WEDIT sMessage;      // 502: header, message and detail
  ui::WEDIT errM2;         // 501: the message line
  ui::WEDIT fdGroup;       // 503: "Libre:", stays empty
  bool GoOut = false;
  int outResult = kQuitChosen;
  bool CanRetry = false;
  bool CanDefault = false;
  std::any e, sdGroup, idGroup, oInfo;  // kept for the suite's other modules; unused here

  // Rolls back an open server transaction, then, unless an error window is open already
  // (XINERRORSYS), opens the window from `template_name` under `parent` and writes the log and
  // the mail. Returns false when no window was opened; the log and the mail are written then too.
  bool Init(ui::WindowObject* parent, const std::string& template_name,
            const std::string& message_line, const std::string& detail,
            const data::ErrorObject& error, bool can_retry, bool can_default);

  void Terminar();    // "Salir"
  void DO_RETRY();    // "Reintentar"
  void DO_DEFAULT();  // "Ignorar"
  bool CHK_GOOUT() const { return GoOut; }
  int CHK_OUTRESULT() const { return outResult; }
  // Writes the ERROR record and marks the login record; the ERROR record's number.
  uint32_t SAVE_ERROR();
  // Queues the mail in E_MSGS.
  void GUARDAR();

  // The close box and Escape: "Ignorar" when a default is allowed, else "Salir".
  intptr_t Cancel() override;
  ui::Result OnNCDESTROY(win::WPARAM wparam, win::LPARAM lparam) override;

  const std::string& MessageLine() const { return message_line_; }
  const std::string& Detail() const { return detail_; }

 private:
  void Choose(int result);
  void WriteLogAndMail();

  std::string message_line_;
  std::string detail_;
  std::string screen_text_;
  std::string mail_body_;
  ui::WPUSHBUTTON retry_, ignore_, quit_;
};

}  // namespace frame

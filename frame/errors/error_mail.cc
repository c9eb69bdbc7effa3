#include "frame/errors/error_mail.h"

#include <cstdint>

#include "lib/data/text_fields.h"
#include "lib/settings/settings.h"
#include "lib/ui/run_loop.h"
#include "platform/dynlib/library.h"
#include "platform/mail/see32mt.h"
#include "platform/xbase/number_format.h"

namespace frame {
namespace {

constexpr int kDefaultSmtpPort = 25;
constexpr int kComponentTimeoutMs = 10000;

int connect_timeout_ms = kComponentTimeoutMs;
int transfer_timeout_ms = kComponentTimeoutMs;

template <typename Fn>
Fn* EntryPoint(const dynlib::Library& library, const char* name) {
  return reinterpret_cast<Fn*>(library.Symbol(name));
}

std::string ErrorText(const dynlib::Library& library, int32_t code) {
  auto* describe = EntryPoint<SeeErrorTextFn>(library, "seeErrorText");
  if (!describe) return "";
  char text[256] = {};
  describe(code, text, sizeof text);
  return text;
}

void Show(const std::string& text) { ui::MESSAGE_BOX(text); }

// True when the component is ready; otherwise the failure has been shown.
bool Attach(const dynlib::Library& library) {
  auto* attach = EntryPoint<SeeAttachFn>(library, "seeAttach");
  if (!library.loaded() || !attach) {
    Show("Error loading SEE");
    return false;
  }
  const int32_t code = attach();
  if (code < 0) {
    Show("seeAttach failed.;Error : " + ErrorText(library, code) + " (" + std::to_string(code) +
         ")");
    Show("Error loading SEE");
    return false;
  }
  return true;
}

}  // namespace

void SetMailTimeouts(int connect_ms, int transfer_ms) {
  connect_timeout_ms = connect_ms;
  transfer_timeout_ms = transfer_ms;
}

void MailError(const std::string& subject, const std::string& body) {
  const settings::Settings& globals = settings::Current();
  dynlib::Library library = dynlib::Library::Open("see32mt");
  if (!Attach(library)) return;
  auto* set_timeouts = EntryPoint<SeeSetTimeoutsFn>(library, "seeSetTimeouts");
  auto* connect = EntryPoint<SeeSmtpConnectFn>(library, "seeSmtpConnect");
  auto* send = EntryPoint<SeeSendHtmlFn>(library, "seeSendHTML");
  auto* close = EntryPoint<SeeCloseFn>(library, "seeClose");
  auto* release = EntryPoint<SeeReleaseFn>(library, "seeRelease");
  if (!set_timeouts || !connect || !send || !close || !release) {
    Show("Error loading SEE");
    return;
  }
  set_timeouts(connect_timeout_ms, transfer_timeout_ms);
  const int port =
      globals.XEMAIL_SMTP_PORT.value_or(0) != 0 ? *globals.XEMAIL_SMTP_PORT : kDefaultSmtpPort;
  const bool auth = globals.XEMAILAUTH == 1;
  // Site settings come from fixed-width fields: no blank belongs inside an address.
  const std::string address = TrimBlanks(globals.XEMAILADDR);
  const int32_t connected =
      connect(TrimBlanks(globals.XEMAILHOST).c_str(), port, ("<" + address + ">").c_str(),
              auth ? TrimBlanks(globals.XEMAIL_AU).c_str() : "",
              auth ? TrimBlanks(globals.XEMAIL_AP).c_str() : "",
              "X-Priority: Normal\r\nX-Sender: TARVISEN Hotel Software\r\n");
  if (connected < 0) {
    Show("Error SMTP Connect, maybe bad authentication: " + xbase::FormatNumber(connected, 10, 0));
  } else {
    const std::string from_text = TrimBlanks(globals.XEMAILNAME) + " <" + address + ">";
    const int32_t sent = send(("<" + TrimBlanks(globals.XEMAILDEST) + ">").c_str(), "",
                              subject.c_str(), body.c_str(), from_text.c_str());
    if (sent < 0) {
      Show("Error SMTP Send: " + ErrorText(library, sent) + " (" + std::to_string(sent) + ")");
    }
  }
  close();
  release();
}

}  // namespace frame

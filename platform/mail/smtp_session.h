#pragma once
// One SMTP session over libcurl: check the server and the login, then send HTML mails. Results
// are the component's codes (platform/mail/see32mt.h): 0 or a negative failure.

#include <cstdint>
#include <string>

namespace mail {

struct SmtpServer {
  std::string host;
  int port = 25;
  std::string from;  // "<address>"
  std::string user;  // empty: no authentication
  std::string password;
  std::string headers;  // extra header lines, each ending in CR LF
};

struct HtmlMail {
  std::string to;  // "<address>"
  std::string cc;  // comma-separated, may be empty
  std::string subject;
  std::string body;
  std::string from_text;  // the From header's text
};

inline constexpr int32_t kDefaultTimeoutMs = 10000;

class SmtpSession {
 public:
  void SetTimeouts(int32_t connect_ms, int32_t transfer_ms);
  // Connects, greets, switches to TLS when offered and logs in, then leaves again; 0 when the
  // server accepted all of it.
  int32_t Connect(const SmtpServer& server);
  int32_t SendHtml(const HtmlMail& mail);
  void Close() { connected_ = false; }

 private:
  SmtpServer server_;
  bool connected_ = false;
  int32_t connect_ms_ = kDefaultTimeoutMs;
  int32_t transfer_ms_ = kDefaultTimeoutMs;
};

// The message as it goes after DATA: headers, a blank line and the body, every line ending in
// CR LF.
std::string ComposeMessage(const SmtpServer& server, const HtmlMail& mail);

// The description of a component result code.
std::string DescribeResult(int32_t code);

}  // namespace mail

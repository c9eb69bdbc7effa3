// The exported entry points of the module: one process-wide session over the SMTP client.

#include "platform/mail/see32mt.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstring>
#include <optional>

#include "platform/mail/smtp_session.h"

#define SEE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr int32_t kMaxTimeoutMs = 600000;

std::optional<mail::SmtpSession>& Session() {
  static std::optional<mail::SmtpSession> session;
  return session;
}

std::string TextOf(const char* text) { return text ? text : ""; }

}  // namespace

SEE_EXPORT int32_t seeAttach(void) {
  if (Session()) return 0;
  if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) return SEE_INIT_FAILED;
  Session().emplace();
  return 0;
}

SEE_EXPORT int32_t seeSetTimeouts(int32_t connect_ms, int32_t transfer_ms) {
  if (!Session()) return SEE_NOT_ATTACHED;
  if (connect_ms < 1 || transfer_ms < 1 || connect_ms > kMaxTimeoutMs ||
      transfer_ms > kMaxTimeoutMs) {
    return SEE_BAD_ARGUMENT;
  }
  Session()->SetTimeouts(connect_ms, transfer_ms);
  return 0;
}

SEE_EXPORT int32_t seeSmtpConnect(const char* host, int32_t port, const char* from,
                                  const char* user, const char* password, const char* headers) {
  if (!Session()) return SEE_NOT_ATTACHED;
  return Session()->Connect(
      {TextOf(host), port, TextOf(from), TextOf(user), TextOf(password), TextOf(headers)});
}

SEE_EXPORT int32_t seeSendHTML(const char* to, const char* cc, const char* subject,
                               const char* body, const char* from_text) {
  if (!Session()) return SEE_NOT_ATTACHED;
  return Session()->SendHtml(
      {TextOf(to), TextOf(cc), TextOf(subject), TextOf(body), TextOf(from_text)});
}

SEE_EXPORT int32_t seeClose(void) {
  if (!Session()) return SEE_NOT_ATTACHED;
  Session()->Close();
  return 0;
}

SEE_EXPORT int32_t seeRelease(void) {
  if (!Session()) return SEE_NOT_ATTACHED;
  Session().reset();
  curl_global_cleanup();
  return 0;
}

SEE_EXPORT int32_t seeErrorText(int32_t code, char* buffer, int32_t size) {
  if (!buffer || size <= 0) return SEE_BAD_ARGUMENT;
  const std::string text = mail::DescribeResult(code);
  const size_t n = std::min(text.size(), static_cast<size_t>(size - 1));
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return static_cast<int32_t>(n);
}

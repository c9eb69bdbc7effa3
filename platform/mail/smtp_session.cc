#include "platform/mail/smtp_session.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <ctime>
#include <memory>

#include "platform/mail/see32mt.h"

namespace mail {
namespace {

struct EasyDeleter {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct ListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using Easy = std::unique_ptr<CURL, EasyDeleter>;
using List = std::unique_ptr<curl_slist, ListDeleter>;

int32_t TransportFailure(CURLcode code) { return SEE_TRANSPORT_BASE - static_cast<int32_t>(code); }

// Every line break as CR LF, as SMTP requires.
std::string WithCrLf(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 32);
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r') {
      out += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += "\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

std::string DateHeader() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[64];
  std::strftime(text, sizeof text, "%a, %d %b %Y %H:%M:%S %z", &local);
  return text;
}

// A header text with bytes outside ASCII goes as an encoded word.
std::string HeaderText(const std::string& text) {
  if (std::all_of(text.begin(), text.end(), [](char c) { return c >= 32 && c < 127; })) {
    return text;
  }
  static const char kHex[] = "0123456789ABCDEF";
  std::string encoded = "=?windows-1252?Q?";
  for (unsigned char c : text) {
    if (std::isalnum(c)) {
      encoded += static_cast<char>(c);
    } else if (c == ' ') {
      encoded += '_';
    } else {
      encoded += {'=', kHex[c >> 4], kHex[c & 15]};
    }
  }
  return encoded + "?=";
}

// "Name <address>" with the name encoded when it needs to be.
std::string FromText(const std::string& text) {
  const size_t address = text.rfind(" <");
  if (address == std::string::npos) return HeaderText(text);
  return HeaderText(text.substr(0, address)) + text.substr(address);
}

// Feeds the message to the upload.
struct Upload {
  const std::string& text;
  size_t sent = 0;
};

size_t ReadUpload(char* buffer, size_t size, size_t count, void* user) {
  auto* upload = static_cast<Upload*>(user);
  size_t n = std::min(size * count, upload->text.size() - upload->sent);
  std::copy_n(upload->text.data() + upload->sent, n, buffer);
  upload->sent += n;
  return n;
}

// A handle with the server, login and timeouts of the session.
Easy ServerHandle(const SmtpServer& server, int32_t connect_ms, int32_t transfer_ms) {
  Easy easy(curl_easy_init());
  if (!easy) return easy;
  CURL* e = easy.get();
  const std::string url = "smtp://" + server.host + ":" + std::to_string(server.port);
  curl_easy_setopt(e, CURLOPT_URL, url.c_str());
  curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(e, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_TRY));
  curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(connect_ms));
  curl_easy_setopt(e, CURLOPT_TIMEOUT_MS, static_cast<long>(connect_ms) + transfer_ms);
  curl_easy_setopt(e, CURLOPT_MAIL_FROM, server.from.c_str());
  if (!server.user.empty()) {
    curl_easy_setopt(e, CURLOPT_USERNAME, server.user.c_str());
    curl_easy_setopt(e, CURLOPT_PASSWORD, server.password.c_str());
  }
  return easy;
}

void AddRecipients(List& list, const std::string& addresses) {
  size_t start = 0;
  while (start <= addresses.size()) {
    size_t end = std::min(addresses.find(',', start), addresses.size());
    std::string address = addresses.substr(start, end - start);
    address.erase(0, address.find_first_not_of(' '));
    address.erase(address.find_last_not_of(' ') + 1);
    if (!address.empty()) list.reset(curl_slist_append(list.release(), address.c_str()));
    start = end + 1;
  }
}

}  // namespace

void SmtpSession::SetTimeouts(int32_t connect_ms, int32_t transfer_ms) {
  connect_ms_ = connect_ms;
  transfer_ms_ = transfer_ms;
}

int32_t SmtpSession::Connect(const SmtpServer& server) {
  connected_ = false;
  if (server.host.empty() || server.from.empty() || server.port < 1 || server.port > 65535) {
    return SEE_BAD_ARGUMENT;
  }
  Easy easy = ServerHandle(server, connect_ms_, transfer_ms_);
  if (!easy) return SEE_INIT_FAILED;
  // Stops once the greeting, STARTTLS and the login are done, all within the connect
  // timeout; the cleanup says QUIT.
  curl_easy_setopt(easy.get(), CURLOPT_CONNECT_ONLY, 1L);
  curl_easy_setopt(easy.get(), CURLOPT_TIMEOUT_MS, static_cast<long>(connect_ms_));
  CURLcode result = curl_easy_perform(easy.get());
  if (result != CURLE_OK) return TransportFailure(result);
  server_ = server;
  connected_ = true;
  return 0;
}

int32_t SmtpSession::SendHtml(const HtmlMail& mail) {
  if (!connected_) return SEE_NOT_CONNECTED;
  if (mail.to.empty()) return SEE_BAD_ARGUMENT;
  Easy easy = ServerHandle(server_, connect_ms_, transfer_ms_);
  if (!easy) return SEE_INIT_FAILED;
  List recipients(curl_slist_append(nullptr, mail.to.c_str()));
  AddRecipients(recipients, mail.cc);
  const std::string message = ComposeMessage(server_, mail);
  Upload upload{message};
  CURL* e = easy.get();
  curl_easy_setopt(e, CURLOPT_MAIL_RCPT, recipients.get());
  curl_easy_setopt(e, CURLOPT_UPLOAD, 1L);
  curl_easy_setopt(e, CURLOPT_READFUNCTION, &ReadUpload);
  curl_easy_setopt(e, CURLOPT_READDATA, &upload);
  curl_easy_setopt(e, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(message.size()));
  CURLcode result = curl_easy_perform(e);
  return result == CURLE_OK ? 0 : TransportFailure(result);
}

std::string ComposeMessage(const SmtpServer& server, const HtmlMail& mail) {
  std::string message = "Date: " + DateHeader() + "\r\n";
  message += "From: " + FromText(mail.from_text) + "\r\n";
  message += "To: " + mail.to + "\r\n";
  if (!mail.cc.empty()) message += "Cc: " + mail.cc + "\r\n";
  message += "Subject: " + HeaderText(mail.subject) + "\r\n";
  message += WithCrLf(server.headers);
  message += "MIME-Version: 1.0\r\n";
  message += "Content-Type: text/html; charset=windows-1252\r\n";
  message += "Content-Transfer-Encoding: 8bit\r\n";
  message += "\r\n";
  message += WithCrLf(mail.body);
  if (message.size() < 2 || message.compare(message.size() - 2, 2, "\r\n") != 0) message += "\r\n";
  return message;
}

std::string DescribeResult(int32_t code) {
  switch (code) {
    case SEE_NOT_ATTACHED:
      return "the mail component is not attached";
    case SEE_BAD_ARGUMENT:
      return "a host, address, port or timeout is missing or out of range";
    case SEE_NOT_CONNECTED:
      return "no SMTP connection";
    case SEE_INIT_FAILED:
      return "the transport library could not be initialised";
    default:
      break;
  }
  if (code <= SEE_TRANSPORT_BASE) {
    return curl_easy_strerror(static_cast<CURLcode>(SEE_TRANSPORT_BASE - code));
  }
  return code >= 0 ? "no error" : "unknown error";
}

}  // namespace mail

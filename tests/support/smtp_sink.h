#pragma once
// A small SMTP server on 127.0.0.1 for tests: it takes sessions one after the other on its own
// thread, accepts every mail and records what each session said. It offers AUTH PLAIN when
// asked to (accepting or refusing every login), and never offers STARTTLS.

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testing_support {

// A listening socket on 127.0.0.1 that never accepts: connections complete, nothing is said.
class SilentListener {
 public:
  SilentListener() {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(fd_, 8);
    socklen_t length = sizeof address;
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
  }
  ~SilentListener() { Close(); }
  SilentListener(const SilentListener&) = delete;
  SilentListener& operator=(const SilentListener&) = delete;

  int port() const { return port_; }
  int fd() const { return fd_; }
  // Stops listening: connections to the port are refused from now on.
  void Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

 private:
  int fd_ = -1;
  int port_ = 0;
};

class SmtpSink {
 public:
  struct Session {
    std::vector<std::string> commands;  // every line the client sent outside DATA
    std::string data;                   // the message after DATA, without the final dot line
  };

  enum class Login { kNotOffered, kAccepted, kRefused };

  explicit SmtpSink(Login login = Login::kNotOffered)
      : login_(login), thread_([this] { Serve(); }) {}
  ~SmtpSink() {
    stop_ = true;
    thread_.join();
  }
  SmtpSink(const SmtpSink&) = delete;
  SmtpSink& operator=(const SmtpSink&) = delete;

  int port() const { return listener_.port(); }

  // The finished sessions, once `count` of them have finished (or after 5 s).
  std::vector<Session> Sessions(size_t count) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (;;) {
      {
        std::lock_guard<std::mutex> lock(mutex_);
        if (sessions_.size() >= count || std::chrono::steady_clock::now() > deadline) {
          return sessions_;
        }
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }

 private:
  void Serve() {
    while (!stop_) {
      pollfd waiting{listener_.fd(), POLLIN, 0};
      if (::poll(&waiting, 1, 20) <= 0) continue;
      int client = ::accept(listener_.fd(), nullptr, nullptr);
      if (client < 0) continue;
      Talk(client);
      ::close(client);
    }
  }

  // One line without its CR LF; false when the client went away or the sink stops.
  bool ReadLine(int client, std::string& pending, std::string& line) {
    for (;;) {
      size_t end = pending.find("\r\n");
      if (end != std::string::npos) {
        line = pending.substr(0, end);
        pending.erase(0, end + 2);
        return true;
      }
      pollfd readable{client, POLLIN, 0};
      if (stop_) return false;
      if (::poll(&readable, 1, 20) <= 0) continue;
      char buffer[4096];
      ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
      if (n <= 0) return false;
      pending.append(buffer, static_cast<size_t>(n));
    }
  }

  static void Say(int client, const std::string& text) {
    ::send(client, text.data(), text.size(), MSG_NOSIGNAL);
  }

  void Talk(int client) {
    Session session;
    std::string pending, line;
    Say(client, "220 sink ESMTP\r\n");
    while (ReadLine(client, pending, line)) {
      session.commands.push_back(line);
      const std::string verb = line.substr(0, 4);
      if (verb == "EHLO") {
        Say(client, login_ != Login::kNotOffered ? "250-sink\r\n250-AUTH PLAIN\r\n250 8BITMIME\r\n"
                                                 : "250-sink\r\n250 8BITMIME\r\n");
      } else if (verb == "AUTH") {
        if (line == "AUTH PLAIN") {  // the credentials follow on their own line
          Say(client, "334 \r\n");
          if (!ReadLine(client, pending, line)) break;
          session.commands.push_back(line);
        }
        Say(client, login_ == Login::kAccepted ? "235 ok\r\n" : "535 denied\r\n");
      } else if (verb == "DATA") {
        Say(client, "354 go on\r\n");
        while (ReadLine(client, pending, line) && line != ".") session.data += line + "\r\n";
        Say(client, "250 queued\r\n");
      } else if (verb == "QUIT") {
        Say(client, "221 bye\r\n");
        break;
      } else {
        Say(client, "250 ok\r\n");
      }
    }
    std::lock_guard<std::mutex> lock(mutex_);
    sessions_.push_back(std::move(session));
  }

  const Login login_;
  SilentListener listener_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<Session> sessions_;
  std::thread thread_;  // last: starts once everything above exists
};

}  // namespace testing_support

#include "tools/ziruvuz_client/tcp_exchange.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace zvclient {
namespace {

using Clock = std::chrono::steady_clock;

class Socket {
 public:
  explicit Socket(int fd) : fd_(fd) {}
  ~Socket() {
    if (fd_ >= 0) ::close(fd_);
  }
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;

 private:
  int fd_;
};

struct AddressListDeleter {
  void operator()(addrinfo* list) const { ::freeaddrinfo(list); }
};
using AddressList = std::unique_ptr<addrinfo, AddressListDeleter>;

// Waits for `events` on `fd` until the deadline; returns the events seen, 0 when the time ran
// out, -1 with errno set on failure.
int WaitFor(int fd, short events, Clock::time_point deadline) {
  while (true) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return 0;
    pollfd entry{fd, events, 0};
    const int ready = ::poll(&entry, 1, static_cast<int>(left.count()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return ready;
    return entry.revents;
  }
}

class Exchange {
 public:
  Exchange(const std::string& host, uint16_t port, std::chrono::milliseconds timeout,
           const std::function<void(std::string_view)>& on_received)
      : endpoint_(host + ":" + std::to_string(port)),
        host_(host),
        port_(port),
        timeout_(timeout),
        deadline_(Clock::now() + timeout),
        on_received_(on_received) {}

  ExchangeResult Run(std::string_view request) {
    const int fd = Connect();
    if (fd < 0) return result_;
    const Socket closes_at_return(fd);
    Transfer(fd, request);
    return result_;
  }

 private:
  ExchangeResult& Fail(const std::string& what, int error_number) {
    result_.outcome = ExchangeOutcome::kFailed;
    result_.message = what + " " + endpoint_ + ": " + std::strerror(error_number);
    return result_;
  }

  ExchangeResult& TimedOut(const std::string& while_doing) {
    result_.outcome = ExchangeOutcome::kTimedOut;
    const double seconds = std::chrono::duration<double>(timeout_).count();
    char figure[32];
    std::snprintf(figure, sizeof figure, "%g", seconds);
    result_.message = "timed out after " + std::string(figure) + " s " + while_doing + " (" +
                      std::to_string(result_.received) + " bytes received)";
    return result_;
  }

  // A connected socket, or -1 with the result set. Tries each address of the name in turn.
  int Connect() {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const int lookup = ::getaddrinfo(host_.c_str(), std::to_string(port_).c_str(), &hints, &found);
    if (lookup != 0) {
      result_.message = "cannot resolve " + endpoint_ + ": " +
                        (lookup == EAI_SYSTEM ? std::strerror(errno) : ::gai_strerror(lookup));
      return -1;
    }
    AddressList addresses(found);
    int last_error = ECONNREFUSED;
    for (const addrinfo* address = found; address; address = address->ai_next) {
      const int fd =
          ::socket(address->ai_family, address->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                   address->ai_protocol);
      if (fd < 0) {
        last_error = errno;
        continue;
      }
      const int error = ConnectOne(fd, *address);
      if (error == 0) return fd;
      ::close(fd);
      if (result_.outcome == ExchangeOutcome::kTimedOut) return -1;
      last_error = error;
    }
    Fail("cannot connect to", last_error);
    return -1;
  }

  // 0 when connected, else the error number (the result is set when the time ran out).
  int ConnectOne(int fd, const addrinfo& address) {
    // A non-blocking connect interrupted by a signal goes on in the background, like one
    // that is in progress.
    if (::connect(fd, address.ai_addr, address.ai_addrlen) == 0) return 0;
    if (errno != EINPROGRESS && errno != EINTR) return errno;
    const int events = WaitFor(fd, POLLOUT, deadline_);
    if (events < 0) return errno;
    if (events == 0) {
      TimedOut("connecting to " + endpoint_);
      return ETIMEDOUT;
    }
    int error = 0;
    socklen_t size = sizeof error;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0) return errno;
    return error;
  }

  // Sends the request and reads at the same time, so a reply that comes before the whole
  // request has gone out is taken in as it comes. The sending side is never shut down: a
  // half-closed connection may be taken for a closed one before the reply is written.
  void Transfer(int fd, std::string_view request) {
    size_t sent = 0;
    char buffer[8192];
    while (true) {
      const bool sending = sent < request.size();
      const int events = WaitFor(fd, sending ? POLLIN | POLLOUT : POLLIN, deadline_);
      if (events < 0) {
        Fail("waiting on", errno);
        return;
      }
      if (events == 0) {
        TimedOut(sending ? "sending to " + endpoint_
                         : "waiting for " + endpoint_ + " to close the connection");
        return;
      }
      if (sending && (events & (POLLOUT | POLLERR))) {
        const ssize_t written =
            ::send(fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
        if (written >= 0) {
          sent += static_cast<size_t>(written);
        } else if (errno == EPIPE) {
          sent = request.size();  // the server stopped reading; what it said may still wait
        } else if (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) {
          Fail("sending to", errno);
          return;
        }
      }
      if (events & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) {
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
        if (got > 0) {
          result_.received += static_cast<uint64_t>(got);
          on_received_(std::string_view(buffer, static_cast<size_t>(got)));
        } else if (got == 0) {
          result_.outcome = ExchangeOutcome::kClosed;
          return;
        } else if (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) {
          Fail("receiving from", errno);
          return;
        }
      }
    }
  }

  const std::string endpoint_;
  const std::string host_;
  const uint16_t port_;
  const std::chrono::milliseconds timeout_;
  const Clock::time_point deadline_;
  const std::function<void(std::string_view)>& on_received_;
  ExchangeResult result_;
};

}  // namespace

ExchangeResult ExchangeOverTcp(const std::string& host, uint16_t port, std::string_view request,
                               std::chrono::milliseconds timeout,
                               const std::function<void(std::string_view)>& on_received) {
  return Exchange(host, port, timeout, on_received).Run(request);
}

}  // namespace zvclient

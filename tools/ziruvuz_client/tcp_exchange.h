#pragma once
// One request over TCP: connect, send it whole, pass on everything that comes back until the
// server closes the connection. POSIX sockets; IPv4 names and addresses.

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace zvclient {

enum class ExchangeOutcome {
  kClosed,    // the server closed the connection
  kTimedOut,  // the time ran out first
  kFailed,    // name lookup, connection or transfer failed
};

struct ExchangeResult {
  ExchangeOutcome outcome = ExchangeOutcome::kFailed;
  uint64_t received = 0;  // bytes handed to the receiver
  std::string message;    // for kTimedOut and kFailed: what went wrong, naming HOST:PORT
};

// `timeout` covers the whole exchange from the name lookup on (a lookup that hangs in the
// system resolver is the one wait it cannot cut short). `on_received` gets every piece
// as it arrives.
ExchangeResult ExchangeOverTcp(const std::string& host, uint16_t port, std::string_view request,
                               std::chrono::milliseconds timeout,
                               const std::function<void(std::string_view)>& on_received);

}  // namespace zvclient

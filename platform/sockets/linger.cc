#include "platform/sockets/linger.h"

#include <algorithm>

namespace sock {
namespace {

constexpr std::chrono::milliseconds kSweepInterval{1000};

bool Closed(const QTcpSocket& socket) {
  return socket.state() == QAbstractSocket::UnconnectedState;
}

}  // namespace

Linger::Linger() {
  sweep_timer_.setSingleShot(true);
  QObject::connect(&sweep_timer_, &QTimer::timeout, &context_, [this] { Sweep(); });
}

Linger::~Linger() {
  QDeadlineTimer limit(kShutdownLimit);
  for (Entry& entry : entries_) {
    QTcpSocket& socket = *entry.socket;
    socket.disconnect(&context_);
    if (!Closed(socket)) socket.waitForDisconnected(static_cast<int>(limit.remainingTime()));
    socket.abort();
  }
}

void Linger::Close(std::unique_ptr<QTcpSocket> socket) {
  socket->disconnectFromHost();  // closes at once when nothing is queued
  if (Closed(*socket)) return;
  QObject::connect(socket.get(), &QAbstractSocket::disconnected, &context_,
                   [this] { sweep_timer_.start(0); });
  entries_.push_back({std::move(socket), QDeadlineTimer(kLingerLimit)});
  if (!sweep_timer_.isActive()) sweep_timer_.start(kSweepInterval);
}

void Linger::Sweep() {
  std::erase_if(entries_, [](Entry& entry) {
    if (Closed(*entry.socket)) return true;
    if (!entry.deadline.hasExpired()) return false;
    entry.socket->abort();
    return true;
  });
  if (!entries_.empty()) sweep_timer_.start(kSweepInterval);
}

}  // namespace sock

#pragma once
// Connections the owner has closed while bytes were still queued for sending. Each is kept,
// driven by the event loop, until its bytes are out and it has closed; a peer that stops
// reading is cut off after kLingerLimit. Destroying the Linger (component shutdown) sends
// what it can within kShutdownLimit, blocking, and closes everything.

#include <QDeadlineTimer>
#include <QObject>
#include <QTcpSocket>
#include <QTimer>
#include <chrono>
#include <memory>
#include <vector>

namespace sock {

class Linger {
 public:
  static constexpr std::chrono::milliseconds kLingerLimit{60000};
  static constexpr std::chrono::milliseconds kShutdownLimit{5000};

  Linger();
  ~Linger();
  Linger(const Linger&) = delete;
  Linger& operator=(const Linger&) = delete;

  // Closes `socket` once its queued bytes are sent; the socket must carry no other handlers.
  void Close(std::unique_ptr<QTcpSocket> socket);

 private:
  struct Entry {
    std::unique_ptr<QTcpSocket> socket;
    QDeadlineTimer deadline;
  };
  // Deletes the entries that have closed or run out of time. Runs from the timer, never
  // inside a socket's own signal, so deleting the socket is safe.
  void Sweep();

  std::vector<Entry> entries_;
  QObject context_;  // receiver of the sockets' signals
  QTimer sweep_timer_;
};

}  // namespace sock

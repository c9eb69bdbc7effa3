#pragma once
// The socket component's state for one process: listeners, the table of connection handles,
// the window notifications registered on them, and the connections still sending after their
// close. Everything lives on the thread of the application's event loop and is driven by it.
// Results follow csc32.h: handles and counts >= 0, negative CSC_* codes for failures.

#include <QObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/sockets/csc32.h"
#include "platform/sockets/linger.h"
#include "platform/sockets/notice.h"

namespace sock {

class Component {
 public:
  static constexpr int32_t kMaxConnections = 10;
  static constexpr int32_t kMaxListeners = 10;
  static constexpr int32_t kFirstListenerHandle = 65536;

  // Room for `connections` connection handles and `listeners` listeners (each 1 to 10; the
  // caller checks the range).
  Component(int32_t connections, int32_t listeners);
  // Closes every listener and connection; bytes still queued are sent first, within
  // Linger::kShutdownLimit.
  ~Component();
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;

  void SetPoster(CscPoster poster) { poster_ = poster; }

  int32_t Server(std::string_view host, int32_t port, int32_t backlog);
  int32_t ConnectMessage(intptr_t window, int32_t listener, int32_t message);
  int32_t AcceptConnect(int32_t listener_or_port);
  int32_t DataMessage(intptr_t window, int32_t connection, int32_t message);
  int32_t GetData(int32_t connection, char* buffer, int32_t size);
  int32_t PutData(int32_t connection, const char* data, int32_t length);
  int32_t Close(int32_t handle);
  int32_t Client(std::string_view host, int32_t port);
  int32_t AwaitData(int32_t connection, int32_t timeout_ms);
  int32_t IsConnected(int32_t connection);

 private:
  struct Connection {
    std::unique_ptr<QTcpSocket> socket;
    Notice data_notice;
  };
  struct Listener {
    std::unique_ptr<QTcpServer> server;
    Notice connect_notice;
  };

  Connection* FindConnection(int32_t handle);
  Listener* FindListener(int32_t handle);
  Listener* FindListenerByHandleOrPort(int32_t listener_or_port);
  std::optional<int32_t> FreeConnectionHandle() const;
  // Puts `socket` under `handle` and posts its data message whenever unread bytes wait.
  void Adopt(int32_t handle, std::unique_ptr<QTcpSocket> socket);
  // Posts the connect message of every listener on which a connection waits, while a
  // connection handle is free.
  void AnnounceWaitingConnections();
  void AnnounceUnreadBytes(QTcpSocket* socket);
  int32_t HandleOf(const QTcpSocket* socket) const;
  int32_t CloseConnection(int32_t handle);
  int32_t CloseListener(int32_t handle);

  CscPoster poster_ = nullptr;
  Linger linger_;
  std::vector<Connection> connections_;  // index = handle; an empty socket is a free handle
  std::vector<Listener> listeners_;      // index = handle - kFirstListenerHandle
  QObject context_;  // receiver of every signal above; goes first, cutting them all
};

}  // namespace sock

#include "platform/sockets/component.h"

#include <QHostAddress>
#include <QString>
#include <algorithm>
#include <limits>

namespace sock {
namespace {

bool ValidPort(int32_t port) { return port >= 0 && port <= 65535; }

QString ToQString(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

int32_t ClampToResult(qint64 count) {
  return static_cast<int32_t>(std::min<qint64>(count, std::numeric_limits<int32_t>::max()));
}

}  // namespace

Component::Component(int32_t connections, int32_t listeners)
    : connections_(connections), listeners_(listeners) {}

Component::~Component() {
  // Listeners go first, so that freeing handles below announces nothing.
  for (Listener& listener : listeners_) listener = Listener();
  for (int32_t handle = 0; handle < static_cast<int32_t>(connections_.size()); ++handle) {
    if (connections_[handle].socket) CloseConnection(handle);
  }
}

Component::Connection* Component::FindConnection(int32_t handle) {
  if (handle < 0 || handle >= static_cast<int32_t>(connections_.size())) return nullptr;
  Connection& connection = connections_[handle];
  return connection.socket ? &connection : nullptr;
}

Component::Listener* Component::FindListener(int32_t handle) {
  int64_t index = int64_t{handle} - kFirstListenerHandle;
  if (index < 0 || index >= static_cast<int64_t>(listeners_.size())) return nullptr;
  Listener& listener = listeners_[index];
  return listener.server ? &listener : nullptr;
}

Component::Listener* Component::FindListenerByHandleOrPort(int32_t listener_or_port) {
  if (Listener* listener = FindListener(listener_or_port)) return listener;
  for (Listener& listener : listeners_) {
    if (listener.server && listener.server->serverPort() == listener_or_port) return &listener;
  }
  return nullptr;
}

std::optional<int32_t> Component::FreeConnectionHandle() const {
  for (int32_t handle = 0; handle < static_cast<int32_t>(connections_.size()); ++handle) {
    if (!connections_[handle].socket) return handle;
  }
  return std::nullopt;
}

int32_t Component::HandleOf(const QTcpSocket* socket) const {
  for (int32_t handle = 0; handle < static_cast<int32_t>(connections_.size()); ++handle) {
    if (connections_[handle].socket.get() == socket) return handle;
  }
  return -1;
}

int32_t Component::Server(std::string_view host, int32_t port, int32_t backlog) {
  if (!ValidPort(port) || backlog < 1) return CSC_BAD_ARGUMENT;
  QHostAddress address(QHostAddress::AnyIPv4);
  if (!host.empty() && !address.setAddress(ToQString(host))) return CSC_BAD_ADDRESS;
  auto free_slot = std::find_if(listeners_.begin(), listeners_.end(),
                                [](const Listener& listener) { return !listener.server; });
  if (free_slot == listeners_.end()) return CSC_TOO_MANY_LISTENERS;

  auto server = std::make_unique<QTcpServer>();
  // One connection at a time is taken from the system; the others stay in the listen
  // backlog until the owner has accepted, so a full handle table holds clients back there.
  server->setMaxPendingConnections(1);
  server->setListenBacklogSize(backlog);
  if (!server->listen(address, static_cast<quint16>(port))) return CSC_LISTEN_FAILED;
  QObject::connect(server.get(), &QTcpServer::newConnection, &context_,
                   [this] { AnnounceWaitingConnections(); });
  free_slot->server = std::move(server);
  return kFirstListenerHandle + static_cast<int32_t>(free_slot - listeners_.begin());
}

int32_t Component::ConnectMessage(intptr_t window, int32_t listener_handle, int32_t message) {
  Listener* listener = FindListener(listener_handle);
  if (!listener) return CSC_UNKNOWN_HANDLE;
  listener->connect_notice.Register(window, static_cast<uint32_t>(message));
  AnnounceWaitingConnections();
  return 0;
}

void Component::AnnounceWaitingConnections() {
  if (!FreeConnectionHandle()) return;
  for (size_t index = 0; index < listeners_.size(); ++index) {
    Listener& listener = listeners_[index];
    if (listener.server && listener.server->hasPendingConnections()) {
      listener.connect_notice.Raise(poster_, kFirstListenerHandle + static_cast<int32_t>(index));
    }
  }
}

int32_t Component::AcceptConnect(int32_t listener_or_port) {
  Listener* listener = FindListenerByHandleOrPort(listener_or_port);
  if (!listener) return CSC_UNKNOWN_HANDLE;
  listener->connect_notice.Answer();
  std::optional<int32_t> handle = FreeConnectionHandle();
  if (!handle) return CSC_NO_FREE_HANDLE;
  std::unique_ptr<QTcpSocket> socket(listener->server->nextPendingConnection());
  if (!socket) return CSC_NOTHING_WAITING;
  socket->setParent(nullptr);  // the connection may outlive its listener
  Adopt(*handle, std::move(socket));
  AnnounceWaitingConnections();
  return *handle;
}

void Component::Adopt(int32_t handle, std::unique_ptr<QTcpSocket> socket) {
  QTcpSocket* watched = socket.get();
  QObject::connect(watched, &QIODevice::readyRead, &context_,
                   [this, watched] { AnnounceUnreadBytes(watched); });
  connections_[handle] = Connection{std::move(socket), Notice()};
}

void Component::AnnounceUnreadBytes(QTcpSocket* socket) {
  int32_t handle = HandleOf(socket);
  if (handle >= 0 && socket->bytesAvailable() > 0) {
    connections_[handle].data_notice.Raise(poster_, handle);
  }
}

int32_t Component::DataMessage(intptr_t window, int32_t handle, int32_t message) {
  Connection* connection = FindConnection(handle);
  if (!connection) return CSC_UNKNOWN_HANDLE;
  connection->data_notice.Register(window, static_cast<uint32_t>(message));
  AnnounceUnreadBytes(connection->socket.get());  // bytes may have come before the owner asked
  return 0;
}

int32_t Component::GetData(int32_t handle, char* buffer, int32_t size) {
  Connection* connection = FindConnection(handle);
  if (!connection) return CSC_UNKNOWN_HANDLE;
  if (size < 0 || (size > 0 && !buffer)) return CSC_BAD_ARGUMENT;
  connection->data_notice.Answer();
  qint64 moved = size > 0 ? connection->socket->read(buffer, size) : 0;
  AnnounceUnreadBytes(connection->socket.get());  // what is left is announced again
  return moved < 0 ? 0 : ClampToResult(moved);
}

int32_t Component::PutData(int32_t handle, const char* data, int32_t length) {
  Connection* connection = FindConnection(handle);
  if (!connection) return CSC_UNKNOWN_HANDLE;
  if (length < 0 || (length > 0 && !data)) return CSC_BAD_ARGUMENT;
  QTcpSocket& socket = *connection->socket;
  if (socket.state() != QAbstractSocket::ConnectedState &&
      socket.state() != QAbstractSocket::ConnectingState &&
      socket.state() != QAbstractSocket::HostLookupState) {
    return CSC_NOT_CONNECTED;
  }
  if (length == 0) return 0;
  if (socket.write(data, length) != length) return CSC_SEND_FAILED;
  // Hands what the system takes now to it, without blocking; a connection still being made
  // sends its queue once it is established.
  if (socket.state() == QAbstractSocket::ConnectedState) socket.flush();
  return length;
}

int32_t Component::Close(int32_t handle) {
  if (FindConnection(handle)) return CloseConnection(handle);
  if (FindListener(handle)) return CloseListener(handle);
  return CSC_UNKNOWN_HANDLE;
}

int32_t Component::CloseConnection(int32_t handle) {
  std::unique_ptr<QTcpSocket> socket = std::move(connections_[handle].socket);
  connections_[handle] = Connection();
  socket->disconnect(&context_);
  linger_.Close(std::move(socket));
  AnnounceWaitingConnections();  // a client held back in the backlog can have this handle
  return 0;
}

int32_t Component::CloseListener(int32_t handle) {
  listeners_[handle - kFirstListenerHandle] = Listener();
  return 0;
}

int32_t Component::Client(std::string_view host, int32_t port) {
  if (!ValidPort(port) || port == 0) return CSC_BAD_ARGUMENT;
  std::optional<int32_t> handle = FreeConnectionHandle();
  if (!handle) return CSC_NO_FREE_HANDLE;
  auto socket = std::make_unique<QTcpSocket>();
  socket->connectToHost(ToQString(host), static_cast<quint16>(port));
  Adopt(*handle, std::move(socket));
  return *handle;
}

int32_t Component::AwaitData(int32_t handle, int32_t timeout_ms) {
  Connection* connection = FindConnection(handle);
  if (!connection) return CSC_UNKNOWN_HANDLE;
  if (timeout_ms < 0) return CSC_BAD_ARGUMENT;
  QTcpSocket& socket = *connection->socket;
  if (socket.bytesAvailable() == 0 && socket.state() == QAbstractSocket::ConnectedState) {
    socket.waitForReadyRead(timeout_ms);
  }
  return ClampToResult(socket.bytesAvailable());
}

int32_t Component::IsConnected(int32_t handle) {
  Connection* connection = FindConnection(handle);
  if (!connection) return CSC_UNKNOWN_HANDLE;
  return connection->socket->state() == QAbstractSocket::ConnectedState ? 1 : 0;
}

}  // namespace sock

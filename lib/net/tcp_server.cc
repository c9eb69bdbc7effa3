#include "lib/net/tcp_server.h"

#include <limits>
#include <utility>

#include "lib/net/csc32_library.h"
#include "lib/net/csc32_wrappers.h"

namespace {

// The length as the component takes it; a text too long for it is refused, not cut.
int32_t ComponentLength(size_t length) {
  return length > static_cast<size_t>(std::numeric_limits<int32_t>::max())
             ? -1
             : static_cast<int32_t>(length);
}

constexpr int32_t kListenBacklog = 10;

}  // namespace

int32_t TcpEndpoint::SEND(int32_t connection, const std::string& text) {
  return CSCPUTDATA(connection, text, ComponentLength(text.size()));
}

int32_t TcpEndpoint::RECV(int32_t connection, std::string& buffer) {
  int32_t most =
      static_cast<int32_t>(std::min<size_t>(buffer.size(), std::numeric_limits<int32_t>::max()));
  return CSCGETDATA(connection, buffer, most);
}

int32_t TcpEndpoint::TCPCONNECT(const std::string& host, int32_t port) {
  return CSCCLIENT(host, port);
}

void TcpEndpoint::AXIT() {
  if (rSock) CSCCLOSE(*rSock);
  rSock.reset();
}

void TcpEndpoint::Store(const void* owner, std::string host, int32_t port) {
  xSocket = port;
  xHost = std::move(host);
  oParent = owner;
}

TCP_SERVER::TCP_SERVER(const void* owner, intptr_t hWnd, std::string host, int32_t port,
                       int32_t connect_message, int32_t data_message) {
  INIT(owner, hWnd, std::move(host), port, connect_message, data_message);
}

TCP_SERVER& TCP_SERVER::INIT(const void* owner, intptr_t hWnd, std::string host, int32_t port,
                             int32_t connect_message, int32_t /*data_message*/) {
  Store(owner, std::move(host), port);
  LOADCSC();
  rSock = CSCSERVER(xHost, port, kListenBacklog);
  if (hWnd != 0) CSCCONNECTMESSAGE(hWnd, *rSock, connect_message);
  return *this;
}

TCP_CLIENT::TCP_CLIENT(const void* owner, std::string host, int32_t port) {
  INIT(owner, std::move(host), port);
}

TCP_CLIENT& TCP_CLIENT::INIT(const void* owner, std::string host, int32_t port) {
  Store(owner, std::move(host), port);
  LOADCSC();
  return *this;
}

void FREECSC(TcpEndpoint& server) {
  server.AXIT();
  net::UnloadComponent();
}

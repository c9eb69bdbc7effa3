#pragma once
// TCP_SERVER: a listener of the socket component whose pending connections are announced to
// a window; its owner accepts, reads, writes and closes connections through the wrappers and
// keeps its own connection table. TCP_CLIENT is the outgoing twin (no listener).

#include <cstdint>
#include <optional>
#include <string>

// The members and calls TCP_SERVER and TCP_CLIENT share.
class TcpEndpoint {
 public:
  // Sends the whole text in one call; the component's result.
  int32_t SEND(int32_t connection, const std::string& text);
  // Reads up to buffer.size() waiting bytes to the start of `buffer`; the count read (the
  // caller keeps that many bytes; 0 or less: nothing was read).
  int32_t RECV(int32_t connection, std::string& buffer);
  // Opens an outgoing connection; its handle.
  int32_t TCPCONNECT(const std::string& host, int32_t port);
  // Closes the listener and forgets it.
  void AXIT();

  int32_t xSocket = 0;            // the port
  std::string xHost;              // the address, as the owner passed it
  const void* oParent = nullptr;  // the owner, kept for it; not used here
  std::optional<int32_t> rSock;   // the listening handle, empty when there is none

 protected:
  void Store(const void* owner, std::string host, int32_t port);
};

class TCP_SERVER : public TcpEndpoint {
 public:
  // Runs INIT.
  TCP_SERVER(const void* owner, intptr_t hWnd, std::string host, int32_t port,
             int32_t connect_message, int32_t data_message);

  // Loads the component (quietly), listens on host and port and, when a window is given,
  // has `connect_message` posted to it whenever a connection waits. `data_message` has no
  // effect: the owner registers each connection's data message after accepting it. No
  // result is checked: a listener that failed shows only in the absence of connect messages.
  TCP_SERVER& INIT(const void* owner, intptr_t hWnd, std::string host, int32_t port,
                   int32_t connect_message, int32_t data_message);
};

class TCP_CLIENT : public TcpEndpoint {
 public:
  // Runs INIT.
  TCP_CLIENT(const void* owner, std::string host, int32_t port);

  // Stores owner, host and port and loads the component; opens nothing.
  TCP_CLIENT& INIT(const void* owner, std::string host, int32_t port);
};

// Closes the server's listener when it has one, then unloads the component. Connections that
// are still open are not closed one by one.
void FREECSC(TcpEndpoint& server);

#pragma once
// What request handling needs of the connection it answers. The server window implements it
// over its connection table and listening socket; tests and the command-line client implement
// it directly. Connections are named by the socket library's handle (0 to 9).

#include <string>

class ConnectionSide {
 public:
  virtual ~ConnectionSide() = default;

  // Marks the connection active now, so the idle sweep leaves it alone.
  virtual void ACT_TIME(int connection) = 0;
  // Sends the whole text to the peer in one block.
  virtual void SEND(int connection, const std::string& text) = 0;
  // Shows a text in the send pane, prefixed with the connection.
  virtual void ADD3_TEXTO(int connection, const std::string& text) = 0;
  // Holds everything back for `ms` of elapsed time after a reply, so that no other request is
  // handled before the connection is closed. By default a busy wait on the program's clock.
  virtual void PauseAfterReply(int ms);
  // Closes the connection and drops its first entry from the connection table.
  virtual void CloseConnection(int connection) = 0;
};

#pragma once
// EX_ZIRUVUZ: the exchange server window. It keeps the exchange's tables open, listens on the
// address and port of F_DIZU, accepts connections, gathers each connection's bytes until a
// whole SOAP envelope has arrived, hands it to request handling, closes connections that stay
// idle, and shows what it receives and sends in two log panes. Everything runs inside the
// window's message handling; the socket component announces connections and data as window
// messages.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "exchange/connection_side.h"
#include "exchange/exchange_tables.h"
#include "lib/net/tcp_server.h"
#include "lib/ui/control_window.h"
#include "lib/ui/wdiag.h"

class EX_ZIRUVUZ : public ui::WDIAG, public ConnectionSide {
 public:
  // Opens a new server window inside `parent` from the dialog template (the frame passes
  // "EXCHANGE") and starts serving. `business` stands until the tables give the hotel's own
  // business code. Null when the window could not be made. A table that cannot be opened
  // raises data::DataError, and then no window is left behind.
  static EX_ZIRUVUZ* New(ui::WindowObject* parent, const std::string& template_name,
                         const std::string& business);

  // Ends the dialog with `result`; the window is destroyed and SALIR runs.
  void Terminar(intptr_t result);
  // Opens and closes the tables the window keeps for its whole life.
  void ABRIRBASES();
  void CERRARBASES();
  // Installs WndProcWS on the dialog window.
  void SubClassWS(win::Hwnd hWnd);
  // Sees every message of the dialog window: the sweep timer, connection and data messages of
  // the socket component. Every message then goes on down the window's chain.
  intptr_t WndProcWS(int old_proc, win::Hwnd hWnd, uint32_t message, win::WPARAM wParam,
                     win::LPARAM lParam);
  // The window is going: closes the tables and the listener, and unloads the socket component
  // unless another server window still uses it (then this window's connections are closed).
  void SALIR();
  // Log panes: the receive pane (501) and the send pane (500); newest entry on top.
  void Add_EText(const std::string& text);
  void Add_EText3(const std::string& text);
  // Starts listening; connection messages come as 1976.
  void START_TCP(const std::string& address, int32_t port);
  // One data message for the connection with `handle`: reads what waits, gathers it and
  // hands a complete request to request handling. Raises what request handling raises (a
  // table error), after dropping the connection so that its peer is not left hanging.
  void READ_TCP(int32_t handle);
  // Closes the connection at `place` of the connection table and removes its entry.
  void CLOSE_SOCKET(size_t place);

  // The connection side of request handling.
  void ACT_TIME(int handle) override;
  void SEND(int handle, const std::string& text) override;
  void ADD3_TEXTO(int handle, const std::string& text) override;
  // Holds the thread for the pause after a reply: the window keeps painting, but no message
  // of the program (socket, timer, input) is handled until it is over; they wait in order.
  void PauseAfterReply(int ms) override;
  void CloseConnection(int handle) override;

  ui::Result OnNCDESTROY(win::WPARAM, win::LPARAM) override;

  // The business code (15 characters) that prefixes every key the exchange seeks.
  const std::string& Negocio() const { return tables_.Negocio; }

  std::optional<TCP_SERVER> ws;  // the listener, from START_TCP on
  ui::WEDIT Entrada;             // receive pane, control 501
  ui::WEDIT rBuffer;             // send pane, control 500
  int In_Process = 0;            // 1 while a read or an accept runs: the idle sweep waits

  // The connection table: entry i of each list belongs to the same connection, in accept
  // order.
  std::vector<int32_t> nSocket;       // the component's handle
  std::vector<std::string> v_Buffer;  // the bytes gathered so far
  std::vector<int> v_Estados;         // 0: the next read starts a new request; 1: gathering
  std::vector<uint32_t> v_Times;      // tick count of the last activity

 private:
  EX_ZIRUVUZ* Init(ui::WindowObject* parent, const std::string& template_name,
                   const std::string& business);
  void Accept();
  // Closes every connection idle for more than five seconds with no bytes waiting.
  void SweepIdle();
  // Hands a complete request to request handling. The text is the request's own copy: the
  // connection's entry may go while it is handled.
  void HandleRequest(int32_t handle, std::string text);
  // The place of the first entry with `handle`.
  std::optional<size_t> PlaceOf(int32_t handle) const;
  void ShowActiveConnections();
  // Says in the receive pane when the listener could not be opened.
  void ReportListenFailure(const std::string& address, int32_t port);

  ExchangeTables tables_;
  std::string received_shown_;  // what the receive pane shows
  std::string sent_shown_;      // what the send pane shows
};

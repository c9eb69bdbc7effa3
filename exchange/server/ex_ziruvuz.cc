#include "exchange/server/ex_ziruvuz.h"

#include <cstdio>
#include <memory>

#include "exchange/exchange_context.h"
#include "exchange/process_request.h"
#include "exchange/server/log_pane.h"
#include "exchange/server/request_gathering.h"
#include "lib/data/text_fields.h"
#include "lib/net/csc32_library.h"
#include "lib/net/csc32_wrappers.h"
#include "platform/clock/clock.h"
#include "platform/win/message.h"
#include "platform/win/window.h"

namespace {

constexpr uint32_t kConnectMessage = 1976;
// Data messages: 1977 + the connection handle, for handles 0 to 9.
constexpr uint32_t kFirstDataMessage = 1977;
constexpr uint32_t kLastDataMessage = 1986;
constexpr uintptr_t kSweepTimer = 1;
constexpr uint32_t kSweepPeriodMs = 10000;
constexpr uint32_t kIdleLimitMs = 5000;
constexpr size_t kReceiveSize = 2048;

constexpr int kReceivePaneId = 501;
constexpr int kSendPaneId = 500;
constexpr int kActiveConnectionsId = 503;
constexpr int kLastAcceptedId = 505;
constexpr int kPortId = 511;
constexpr int kAddressId = 512;

const char kBlankLine[] = "\r\n\r\n";

// Marks the window busy while a read or an accept runs, so that the idle sweep keeps its
// hands off the connection table. One run nested in another (inside a message box of the
// table layer) leaves the window busy for the outer one.
class BusyScope {
 public:
  explicit BusyScope(int& flag) : flag_(flag), previous_(flag) { flag_ = 1; }
  ~BusyScope() { flag_ = previous_; }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  int& flag_;
  int previous_;
};

// Server windows with the socket component loaded for them. The component is one per process:
// only the last window to go unloads it, so that closing one window never silences another.
int& WindowsUsingComponent() {
  static int count = 0;
  return count;
}

std::string RightAligned(int32_t number, int width) {
  char text[16];
  std::snprintf(text, sizeof text, "%*d", width, static_cast<int>(number));
  return text;
}

}  // namespace

EX_ZIRUVUZ* EX_ZIRUVUZ::New(ui::WindowObject* parent, const std::string& template_name,
                            const std::string& business) {
  // The window's handler chain keeps the object alive until the window has gone.
  auto server = std::make_shared<EX_ZIRUVUZ>();
  return server->Init(parent, template_name, business);
}

EX_ZIRUVUZ* EX_ZIRUVUZ::Init(ui::WindowObject* parent, const std::string& template_name,
                             const std::string& business) {
  tables_.Negocio = business;
  nSocket.clear();
  v_Buffer.clear();
  v_Estados.clear();
  v_Times.clear();
  In_Process = 0;
  if (!WDIAG::Init(parent, template_name) || hwnd == 0) return nullptr;
  try {
    ABRIRBASES();
  } catch (...) {
    Terminar(0);  // closes what was opened
    throw;
  }
  Entrada.Init(this, kReceivePaneId);
  rBuffer.Init(this, kSendPaneId);
  Create(template_name);
  Entrada.SetFocus();
  SubClassWS(hwnd);
  const std::string address = tables_.F_DIZU->FieldGet("IP_ADDR").str;
  const auto port = static_cast<int32_t>(tables_.F_DIZU->FieldGet("IP_PORT").num);
  START_TCP(TrimBlanks(address), port);
  win::SetWindowText(win::GetDlgItem(hwnd, kPortId), std::to_string(port));
  win::SetWindowText(win::GetDlgItem(hwnd, kAddressId), address);
  win::SetTimer(hwnd, kSweepTimer, kSweepPeriodMs);
  Add_EText("Starting TARVISEN ZIRUVUZ EXCHANGE");
  ReportListenFailure(TrimBlanks(address), port);
  return this;
}

void EX_ZIRUVUZ::Terminar(intptr_t result) { EndDialog(result); }

void EX_ZIRUVUZ::ABRIRBASES() {
  tables_.Open();  // replaces the business code with DEFMAIL's
}

void EX_ZIRUVUZ::CERRARBASES() { tables_.Close(); }

void EX_ZIRUVUZ::SubClassWS(win::Hwnd hWnd) {
  auto self = std::static_pointer_cast<EX_ZIRUVUZ>(shared_from_this());
  auto below = std::make_shared<int>(0);
  *below = ui::SUBCLASSWINDOW(
      hWnd,
      [self, below](win::Hwnd h, uint32_t m, win::WPARAM w, win::LPARAM l) {
        return self->WndProcWS(*below, h, m, w, l);
      },
      0);
}

intptr_t EX_ZIRUVUZ::WndProcWS(int old_proc, win::Hwnd hWnd, uint32_t message, win::WPARAM wParam,
                               win::LPARAM lParam) {
  if (message == win::WM_TIMER && wParam == kSweepTimer) {
    if (In_Process == 0) SweepIdle();
  } else if (message == kConnectMessage) {
    Accept();
  } else if (message >= kFirstDataMessage && message <= kLastDataMessage) {
    READ_TCP(static_cast<int32_t>(message - kFirstDataMessage));
  }
  return ui::CALLWINDOWPROC(old_proc, hWnd, message, wParam, lParam);
}

void EX_ZIRUVUZ::SALIR() {
  CERRARBASES();
  if (!ws) return;
  if (--WindowsUsingComponent() == 0) {
    FREECSC(*ws);
    return;
  }
  // Another window keeps the component: nobody would read or close these connections.
  ws->AXIT();
  for (int32_t handle : nSocket) CSCCLOSE(handle);
}

ui::Result EX_ZIRUVUZ::OnNCDESTROY(win::WPARAM, win::LPARAM) {
  SALIR();
  return {};
}

void EX_ZIRUVUZ::Add_EText(const std::string& text) {
  received_shown_ = PaneWithEntry(text, received_shown_);
  Entrada._Text(received_shown_);
}

void EX_ZIRUVUZ::Add_EText3(const std::string& text) {
  sent_shown_ = PaneWithEntry(text, sent_shown_);
  rBuffer._Text(sent_shown_);
}

void EX_ZIRUVUZ::ADD3_TEXTO(int handle, const std::string& text) {
  Add_EText3("[SND:" + std::to_string(handle) + "]  " + text);
}

void EX_ZIRUVUZ::START_TCP(const std::string& address, int32_t port) {
  ws.emplace(this, hwnd, address, port, kConnectMessage, kFirstDataMessage);
  ++WindowsUsingComponent();
}

void EX_ZIRUVUZ::ReportListenFailure(const std::string& address, int32_t port) {
  const int32_t code = ws->rSock.value_or(net::kEntryPointUnavailable);
  if (code >= 0) return;
  std::string description(256, ' ');
  const int32_t length = CSCERRORTEXT(code, description, static_cast<int32_t>(description.size()));
  description.resize(length > 0 ? static_cast<size_t>(length) : 0);
  Add_EText("Not listening on " + address + ":" + std::to_string(port) + " (error " +
            std::to_string(code) + (description.empty() ? "" : ": " + description) + ")");
}

void EX_ZIRUVUZ::Accept() {
  BusyScope busy(In_Process);
  const int32_t handle = CSCACCEPTCONNECT(ws->xSocket);
  win::SetWindowText(win::GetDlgItem(hwnd, kLastAcceptedId),
                     "Accept/Connected: " + RightAligned(handle, 10));
  nSocket.push_back(handle);
  v_Buffer.emplace_back();
  v_Estados.push_back(0);
  v_Times.push_back(zvclock::TickCount());
  ShowActiveConnections();
  CSCDATAMESSAGE(hwnd, handle, static_cast<int32_t>(kFirstDataMessage) + handle);
}

void EX_ZIRUVUZ::READ_TCP(int32_t handle) {
  BusyScope busy(In_Process);
  Add_EText(std::string("Connected...") + kBlankLine);
  const std::optional<size_t> place = PlaceOf(handle);
  if (!place) return;
  ACT_TIME(handle);
  std::string buffer(kReceiveSize, ' ');
  const int32_t count = ws->RECV(handle, buffer);
  buffer.resize(count > 0 ? static_cast<size_t>(count) : 0);
  const std::string chunk = WithoutFraming(buffer);

  std::string& text = v_Buffer[*place];
  size_t searched = 0;
  if (v_Estados[*place] == 0) {
    text = chunk;
    v_Estados[*place] = 1;
  } else {
    searched = text.size();
    text += chunk;
  }
  // The pane keeps only its first characters: a long text is cut before it is copied.
  Add_EText(text.substr(0, kPaneLimit) + kBlankLine);
  if (HoldsEnvelopeEnd(text, searched)) {
    HandleRequest(handle, text);
  } else if (text.size() > kMaxGatheredBytes) {
    Add_EText("Connection " + std::to_string(handle) + ": more than " +
              std::to_string(kMaxGatheredBytes) + " bytes without " + std::string(kEnvelopeEnd) +
              ", closed");
    CLOSE_SOCKET(*place);
  }
}

void EX_ZIRUVUZ::HandleRequest(int32_t handle, std::string text) {
  try {
    PROCESSREQUEST(ExchangeContext{*this, tables_}, handle, text);
  } catch (...) {
    // A table error ends the request half-way: the gathered text goes and the connection is
    // closed, so the peer is not left waiting; the error goes on to the error handler.
    CloseConnection(handle);
    throw;
  }
  // No reply was sent: the connection stays, and its next chunk starts a new request.
  if (std::optional<size_t> place = PlaceOf(handle)) v_Estados[*place] = 0;
}

void EX_ZIRUVUZ::SweepIdle() {
  BusyScope busy(In_Process);
  const uint32_t now = zvclock::TickCount();
  for (size_t place = 0; place < nSocket.size();) {
    // Unsigned difference: right across a wrap of the tick counter. Bytes waiting unread
    // (they came while the pause after a reply held their message back) count as activity.
    if (now - v_Times[place] > kIdleLimitMs && CSCAWAITDATA(nSocket[place], 0) <= 0) {
      CLOSE_SOCKET(place);
    } else {
      ++place;
    }
  }
  ShowActiveConnections();
}

void EX_ZIRUVUZ::CLOSE_SOCKET(size_t place) {
  if (place >= nSocket.size()) return;
  const int32_t handle = nSocket[place];
  ADD3_TEXTO(handle, "Connection Closed");
  CSCCLOSE(handle);
  const auto at = static_cast<std::ptrdiff_t>(place);
  nSocket.erase(nSocket.begin() + at);
  v_Buffer.erase(v_Buffer.begin() + at);
  v_Estados.erase(v_Estados.begin() + at);
  v_Times.erase(v_Times.begin() + at);
}

void EX_ZIRUVUZ::ACT_TIME(int handle) {
  if (std::optional<size_t> place = PlaceOf(handle)) v_Times[*place] = zvclock::TickCount();
}

void EX_ZIRUVUZ::SEND(int handle, const std::string& text) { ws->SEND(handle, text); }

void EX_ZIRUVUZ::PauseAfterReply(int ms) { win::RepaintDuring(ms); }

void EX_ZIRUVUZ::CloseConnection(int handle) {
  if (std::optional<size_t> place = PlaceOf(handle)) CLOSE_SOCKET(*place);
}

std::optional<size_t> EX_ZIRUVUZ::PlaceOf(int32_t handle) const {
  for (size_t place = 0; place < nSocket.size(); ++place) {
    if (nSocket[place] == handle) return place;
  }
  return std::nullopt;
}

void EX_ZIRUVUZ::ShowActiveConnections() {
  win::SetWindowText(win::GetDlgItem(hwnd, kActiveConnectionsId),
                     "Active Connections: " + std::to_string(nSocket.size()));
}

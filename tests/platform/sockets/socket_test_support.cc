#include "tests/platform/sockets/socket_test_support.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QTcpServer>
#include <QTimer>
#include <utility>

namespace sock_test {

QCoreApplication& Application() {
  static int argc = 1;
  static char name[] = "socket_test";
  static char* argv[] = {name, nullptr};
  // Tests of the window side have made their own application object first.
  static QCoreApplication* application = QCoreApplication::instance()
                                             ? QCoreApplication::instance()
                                             : new QCoreApplication(argc, argv);
  return *application;
}

int RecordPost(intptr_t window, uint32_t message, uintptr_t wparam, intptr_t) {
  Posted().push_back({window, message, wparam});
  return 1;
}

std::deque<PostedMessage>& Posted() {
  static std::deque<PostedMessage> messages;
  return messages;
}

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  Application();
  QTimer wake_up;  // bounds each wait for events, so the deadline is seen
  wake_up.start(10);
  auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  return true;
}

void PumpFor(std::chrono::milliseconds duration) {
  auto end = std::chrono::steady_clock::now() + duration;
  PumpUntil([&] { return std::chrono::steady_clock::now() > end; }, duration * 2);
}

std::optional<PostedMessage> NextMessage() {
  if (!PumpUntil([] { return !Posted().empty(); })) return std::nullopt;
  PostedMessage message = Posted().front();
  Posted().pop_front();
  return message;
}

int32_t FreeLoopbackPort() {
  Application();
  QTcpServer probe;
  probe.listen(QHostAddress::LocalHost, 0);
  return probe.serverPort();
}

TestClient::TestClient(TestClient&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

TestClient::~TestClient() { Close(); }

bool TestClient::Connect(int32_t port) {
  Close();
  fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
  timeval limit{.tv_sec = 30, .tv_usec = 0};  // a test that waits in vain fails, not hangs
  ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
}

bool TestClient::Send(const std::string& bytes) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    ssize_t n = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return false;
    sent += static_cast<size_t>(n);
  }
  return true;
}

std::string TestClient::ReadUntilClosed() {
  std::string received;
  char chunk[65536];
  ssize_t n;
  while ((n = ::recv(fd_, chunk, sizeof chunk, 0)) > 0) received.append(chunk, n);
  return received;
}

void TestClient::Close() {
  if (fd_ >= 0) ::close(std::exchange(fd_, -1));
}

}  // namespace sock_test

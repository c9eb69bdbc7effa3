#pragma once
// Shared by the socket tests: the Qt application object, a poster that records the
// component's window messages, a pump that runs the event loop until a condition holds, and
// a plain blocking TCP client on 127.0.0.1.

#include <QCoreApplication>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <future>
#include <optional>
#include <string>

namespace sock_test {

using namespace std::chrono_literals;

// The process's application object, made on first use unless one exists already.
QCoreApplication& Application();

struct PostedMessage {
  intptr_t window;
  uint32_t message;
  uintptr_t wparam;
  friend bool operator==(const PostedMessage&, const PostedMessage&) = default;
};

// A poster for the component: queues every message in Posted().
int RecordPost(intptr_t window, uint32_t message, uintptr_t wparam, intptr_t lparam);
std::deque<PostedMessage>& Posted();

// Runs the event loop until `done` holds or `timeout` has passed; whether `done` held.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 20s);
// Runs the event loop until `future` is ready; whether it became ready.
template <typename T>
bool PumpUntilReady(const std::future<T>& future) {
  return PumpUntil([&] { return future.wait_for(0s) == std::future_status::ready; });
}
// Runs the event loop for `duration`: for checking that something does not happen.
void PumpFor(std::chrono::milliseconds duration);
// The oldest recorded message, taken off the queue, waiting for one if none is there yet.
std::optional<PostedMessage> NextMessage();

// A port on 127.0.0.1 that was free a moment ago.
int32_t FreeLoopbackPort();

class TestClient {
 public:
  TestClient() = default;
  TestClient(TestClient&& other) noexcept;
  TestClient(const TestClient&) = delete;
  TestClient& operator=(const TestClient&) = delete;
  ~TestClient();

  // Connects to 127.0.0.1:port (a listener's backlog completes it without an accept).
  bool Connect(int32_t port);
  bool Send(const std::string& bytes);
  // Reads until the server closes the connection (blocking, at most 30 s without a byte);
  // everything read.
  std::string ReadUntilClosed();
  void Close();

 private:
  int fd_ = -1;
};

}  // namespace sock_test

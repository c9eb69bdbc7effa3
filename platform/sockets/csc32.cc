// The exported entry points of the module: checks that the component is initialised and
// called from the event loop's thread, then hands each call to the one Component.

#include "platform/sockets/csc32.h"

#include <QCoreApplication>
#include <QThread>
#include <algorithm>
#include <cstring>
#include <memory>
#include <string_view>

#include "platform/sockets/component.h"
#include "platform/sockets/error_text.h"

#define CSC_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

void DestroyInstance();

// The process's one component. When the module is unloaded (or the process ends) it goes,
// and Qt forgets DestroyInstance before the module's code disappears.
struct ProcessComponent {
  std::unique_ptr<sock::Component> component;
  ~ProcessComponent() {
    if (!component) return;
    qRemovePostRoutine(&DestroyInstance);
    component.reset();
  }
} process_component;

std::unique_ptr<sock::Component>& Instance() { return process_component.component; }

// Qt objects must go while the application object still exists: when the application ends
// first, it destroys the component through this routine.
void DestroyInstance() { Instance().reset(); }

bool OnEventLoopThread() {
  QCoreApplication* application = QCoreApplication::instance();
  return application && QThread::currentThread() == application->thread();
}

// Runs `call` on the component, or returns the code that says why it cannot.
template <typename Call>
int32_t WithComponent(Call call) {
  if (!Instance()) return CSC_NOT_ATTACHED;
  if (!OnEventLoopThread()) return CSC_NO_EVENT_LOOP;
  return call(*Instance());
}

std::string_view TextOrEmpty(const char* text) { return text ? text : std::string_view(); }

}  // namespace

CSC_EXPORT int32_t cscAttach(int32_t connections, int32_t listeners) {
  if (!OnEventLoopThread()) return CSC_NO_EVENT_LOOP;
  if (connections < 1 || connections > sock::Component::kMaxConnections || listeners < 1 ||
      listeners > sock::Component::kMaxListeners) {
    return CSC_BAD_ARGUMENT;
  }
  if (Instance()) {
    DestroyInstance();
  } else {
    qAddPostRoutine(&DestroyInstance);
  }
  Instance() = std::make_unique<sock::Component>(connections, listeners);
  return 0;
}

CSC_EXPORT int32_t cscSetPoster(CscPoster post) {
  return WithComponent([&](sock::Component& component) {
    component.SetPoster(post);
    return 0;
  });
}

CSC_EXPORT int32_t cscServer(const char* host, int32_t port, int32_t backlog) {
  return WithComponent([&](sock::Component& component) {
    return component.Server(TextOrEmpty(host), port, backlog);
  });
}

CSC_EXPORT int32_t cscConnectMessage(intptr_t window, int32_t listener, int32_t message) {
  return WithComponent([&](sock::Component& component) {
    return component.ConnectMessage(window, listener, message);
  });
}

CSC_EXPORT int32_t cscAcceptConnect(int32_t listener_or_port) {
  return WithComponent(
      [&](sock::Component& component) { return component.AcceptConnect(listener_or_port); });
}

CSC_EXPORT int32_t cscDataMessage(intptr_t window, int32_t connection, int32_t message) {
  return WithComponent([&](sock::Component& component) {
    return component.DataMessage(window, connection, message);
  });
}

CSC_EXPORT int32_t cscGetData(int32_t connection, char* buffer, int32_t size) {
  return WithComponent(
      [&](sock::Component& component) { return component.GetData(connection, buffer, size); });
}

CSC_EXPORT int32_t cscPutData(int32_t connection, const char* data, int32_t length) {
  return WithComponent(
      [&](sock::Component& component) { return component.PutData(connection, data, length); });
}

CSC_EXPORT int32_t cscClose(int32_t handle) {
  return WithComponent([&](sock::Component& component) { return component.Close(handle); });
}

CSC_EXPORT int32_t cscErrorText(int32_t code, char* buffer, int32_t size) {
  if (size < 0 || (size > 0 && !buffer)) return CSC_BAD_ARGUMENT;
  std::string_view text = sock::ErrorText(code);
  size_t count = std::min(text.size(), static_cast<size_t>(size));
  if (count > 0) std::memcpy(buffer, text.data(), count);
  return static_cast<int32_t>(count);
}

CSC_EXPORT int32_t cscClient(const char* host, int32_t port) {
  return WithComponent(
      [&](sock::Component& component) { return component.Client(TextOrEmpty(host), port); });
}

CSC_EXPORT int32_t cscAwaitData(int32_t connection, int32_t timeout_ms) {
  return WithComponent(
      [&](sock::Component& component) { return component.AwaitData(connection, timeout_ms); });
}

CSC_EXPORT int32_t cscIsConnected(int32_t connection) {
  return WithComponent(
      [&](sock::Component& component) { return component.IsConnected(connection); });
}

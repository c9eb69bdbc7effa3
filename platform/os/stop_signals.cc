#include "platform/os/stop_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <csignal>
#include <utility>

namespace os {
namespace {

int g_write_end = -1;  // read by the signal handler: a plain int, set before it is installed

extern "C" void WriteStopByte(int) {
  const char byte = 1;
  ssize_t ignored = ::write(g_write_end, &byte, 1);  // async-signal-safe; a full pipe is fine
  (void)ignored;
}

struct StopListener {
  int read_end = -1;
  QSocketNotifier* notifier = nullptr;
  std::function<void()> on_stop;
};

StopListener& Listener() {
  static StopListener listener;
  return listener;
}

}  // namespace

bool CallOnStopSignal(std::function<void()> on_stop) {
  StopListener& listener = Listener();
  listener.on_stop = std::move(on_stop);
  if (listener.notifier) return true;
  int ends[2];
  if (::pipe(ends) != 0) return false;
  for (int end : ends) {
    ::fcntl(end, F_SETFL, ::fcntl(end, F_GETFL) | O_NONBLOCK);
    ::fcntl(end, F_SETFD, FD_CLOEXEC);
  }
  listener.read_end = ends[0];
  g_write_end = ends[1];
  listener.notifier = new QSocketNotifier(listener.read_end, QSocketNotifier::Read);
  QObject::connect(listener.notifier, &QSocketNotifier::activated, [] {
    char bytes[16];
    while (::read(Listener().read_end, bytes, sizeof bytes) > 0) {
    }
    if (Listener().on_stop) Listener().on_stop();
  });
  struct sigaction action = {};
  action.sa_handler = WriteStopByte;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  return ::sigaction(SIGINT, &action, nullptr) == 0 && ::sigaction(SIGTERM, &action, nullptr) == 0;
}

}  // namespace os

#pragma once
// Ending the program from outside (Ctrl-C in its terminal, a service manager's stop): SIGINT and
// SIGTERM are turned into a call on the GUI thread. The signal handler itself only writes one
// byte into a pipe; the toolkit's event loop notices the byte and makes the call.

#include <functional>

namespace os {

// Installs the handlers (once per process; a later call replaces `on_stop`). False when the pipe
// or the handlers could not be set up.
bool CallOnStopSignal(std::function<void()> on_stop);

}  // namespace os

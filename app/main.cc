// The program "Interfaz ZIRUVUZ". It takes no arguments: everything comes from its folder.
#include <string>

#include "exchange/server/ex_ziruvuz.h"
#include "frame/principal.h"
#include "frame/startup.h"
#include "platform/os/stop_signals.h"
#include "platform/win/log.h"
#include "platform/win/window.h"

namespace {

// Command 6125 of the module menu: the exchange server window for the current business.
void OpenExchangeServerWindow(ui::WindowObject* frame, const std::string& business) {
  EX_ZIRUVUZ::New(frame, "EXCHANGE", business);
}

}  // namespace

int main() {
  win::EnsureApplication();
  if (!os::CallOnStopSignal(frame::RequestStop)) {
    win::Log("Ctrl-C and SIGTERM cannot end the program cleanly: no signal pipe");
  }
  frame::SetModuleWindowOpener(OpenExchangeServerWindow);
  return frame::MAIN();
}

#include "lib/ui/socket_hooks.h"

#include "lib/net/csc32_library.h"
#include "lib/net/report.h"
#include "lib/ui/run_loop.h"
#include "platform/win/log.h"
#include "platform/win/message.h"
#include "platform/win/window.h"

namespace ui {

void InstallSocketHooks() {
  net::SetModulePoster(&win::PostMessageForModule);
  net::SetReporter([](const std::string& text) {
    // A headless box writes itself to the log; a box on the screen is logged here.
    if (!win::IsHeadless()) win::Log(text);
    MESSAGE_BOX(text);
  });
}

}  // namespace ui

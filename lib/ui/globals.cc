#include "lib/ui/globals.h"

#include "lib/settings/settings.h"

namespace ui {

UiGlobals& Globals() {
  static UiGlobals globals;
  return globals;
}

win::WPARAM GETLASTWPARAM() { return Globals().last_wparam; }
win::LPARAM GETLASTLPARAM() { return Globals().last_lparam; }
int NextSnid() { return ++settings::Current().SNID; }

}  // namespace ui

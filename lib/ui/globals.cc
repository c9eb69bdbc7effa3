#include "lib/ui/globals.h"

namespace ui {

UiGlobals& Globals() {
  static UiGlobals globals;
  return globals;
}

win::WPARAM GETLASTWPARAM() { return Globals().last_wparam; }
win::LPARAM GETLASTLPARAM() { return Globals().last_lparam; }
int NextSnid() { return ++Globals().SNID; }

}  // namespace ui

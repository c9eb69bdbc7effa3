#pragma once
// The window library's own process-wide objects. Its plain values (XAPPHANDLE, SNID,
// XBUTTON_STYLE, XTRADUCT, XID_MENU, ...) live in the one settings record (lib/settings).

#include <optional>
#include <string>
#include <vector>

#include "platform/win/types.h"

namespace ui {

class KV_APP;
class WMENUBASE;

struct UiGlobals {
  KV_APP* OAPP = nullptr;          // the application object (main frame)
  WMENUBASE* OCURMENU = nullptr;   // menu being built, then the finished bar
  std::vector<WMENUBASE*> OSTACK;  // enclosing menus while popups are open
  win::WPARAM last_wparam = 0;     // of the message being dispatched
  win::LPARAM last_lparam = 0;
};

UiGlobals& Globals();

win::WPARAM GETLASTWPARAM();
win::LPARAM GETLASTLPARAM();
// The next id the library makes up for a control or menu item.
int NextSnid();

}  // namespace ui

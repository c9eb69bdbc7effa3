#pragma once
// Process-wide values of the window library, under the names the rest of the program uses.

#include <optional>
#include <string>
#include <vector>

#include "platform/win/types.h"

namespace ui {

class KV_APP;
class WMENUBASE;

struct TermEntry {
  std::string word;
  std::string replacement;
  int whole = 0;  // 1: replace wherever the word is found
};

struct UiGlobals {
  KV_APP* OAPP = nullptr;                // the application object (main frame)
  win::Hwnd XAPPHANDLE = 0;              // the main frame's window; owner of message boxes
  int SNID = 30000;                      // last id the library made up
  int XBUTTON_STYLE = 3;                 // look of owner-drawn push buttons, 0 = none
  std::vector<TermEntry> XTRADUCT;       // term replacement of control texts
  std::string XGLOBAL_FONT_NAME;         // dialog font override when not empty
  std::optional<int> XID_MENU;           // menu command whose action is running
  int XCONSTRUCTINGMENU = 0;             // 1 while the frame rebuilds its menu
  std::vector<int> XWIN_ATRIB = {0, 0};  // [1] (second slot) 1: dialogs stay at (0, 0)
  int XDOTRANSPARENCY = 0;
  int XREMOTE_SESSION = 0;
  int XDGROUPLIMIT = 0;
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

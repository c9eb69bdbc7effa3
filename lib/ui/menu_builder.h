#pragma once
// The menu builder: begin the bar, begin a popup, append items, end the popup, end the bar.
// Choosing an item runs the action of the first item built with that id.

#include <any>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/win/types.h"

namespace ui {

class WMENUITEM;
class WPOPUP;
using MenuAction = std::function<void()>;

class WMENUBASE {
 public:
  virtual ~WMENUBASE() = default;
  win::Hmenu hMenu = 0;
  std::vector<std::variant<WPOPUP*, WMENUITEM*>> aItems;  // in the order appended
  std::any Cargo;
  bool IsMenuItem() const { return false; }
  // Depth-first in build order; the first match wins.
  WMENUITEM* GetItem(int id);
  WPOPUP* GetPopup(win::Hmenu menu);
};

class WMENU : public WMENUBASE {
 public:
  win::Hwnd oWnd = 0;
};

class WPOPUP : public WMENUBASE {
 public:
  WMENUBASE* oMenu = nullptr;
  std::string cText;
  intptr_t hBmp = 0;
};

class WMENUITEM {
 public:
  std::string cText;
  WMENUBASE* oMenu = nullptr;
  int nId = 0;
  MenuAction Action;
  uint32_t Flags = 0;
  intptr_t hBmp = 0;
  bool IsMenuItem() const { return true; }

  bool Checked() const;
  void _Checked(bool checked);
  bool Disabled() const;
  void _Disabled(bool disabled);
  bool Enabled() const { return !Disabled(); }
  void _Enabled(bool enabled) { _Disabled(!enabled); }
  bool Grayed() const;
  void _Grayed(bool grayed);
  bool Hilite() const;
  void _Hilite(bool hilite);

 private:
  uint32_t State() const;
};

struct MenuItemArgs {
  std::optional<int> id{};  // default: the library's next id
  MenuAction action{};
  bool checked = false;
  bool disabled = false;
  bool grayed = false;
};

// `current`: wrap the window's present menu instead of making a new bar.
WMENU* _MENUBEGIN(bool current, win::Hwnd window);
WPOPUP* _POPUPBEGIN(const std::string& text, WMENUBASE* parent = nullptr);
WMENUITEM* _MENUAPPEND(const std::string& text, WMENUBASE* menu, MenuItemArgs args);
WMENUBASE* _POPUPEND();
WMENUBASE* _MENUEND();
// Records the running command for the dialog-opening log, then runs the callback.
void DO_ACTION(std::optional<int> id, const MenuAction& callback);

}  // namespace ui

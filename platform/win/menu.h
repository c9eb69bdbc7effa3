#pragma once
// Menus: bars and popups with items that carry an id, a text and check / gray / disable
// state. A bar given to a top-level window is shown as its menu bar; choosing an item posts
// WM_COMMAND with the id to that window.

#include <string>
#include <string_view>

#include "platform/win/types.h"

namespace win {

Hmenu CreateMenu();
Hmenu CreatePopupMenu();
// Destroys the menu and the popups hanging in it.
bool DestroyMenu(Hmenu menu);
bool IsMenu(Hmenu menu);

// flags: MF_POPUP (id_or_popup is a popup handle), MF_SEPARATOR, MF_CHECKED, MF_GRAYED,
// MF_DISABLED, MF_BITMAP (no text is shown).
bool AppendMenu(Hmenu menu, uint32_t flags, uintptr_t id_or_popup, std::string_view text);
int GetMenuItemCount(Hmenu menu);
// The state flags of the first item with that id (searching popups), or kMenuStateError.
uint32_t GetMenuState(Hmenu menu, uint32_t id);
// Each returns the previous state bit(s) or kMenuStateError.
uint32_t CheckMenuItem(Hmenu menu, uint32_t id, uint32_t check);    // MF_CHECKED or 0
uint32_t EnableMenuItem(Hmenu menu, uint32_t id, uint32_t enable);  // MF_GRAYED, MF_DISABLED, 0
uint32_t HiliteMenuItem(Hmenu menu, uint32_t id, bool hilite);

bool SetMenu(Hwnd hwnd, Hmenu menu);
Hmenu GetMenu(Hwnd hwnd);

// Chooses the item as the user would: false when the window's bar has no enabled item with
// that id.
bool ChooseMenuItem(Hwnd hwnd, uint32_t id);

}  // namespace win

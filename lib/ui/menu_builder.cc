#include "lib/ui/menu_builder.h"

#include <memory>

#include "lib/settings/settings.h"
#include "lib/ui/globals.h"
#include "lib/ui/run_loop.h"
#include "platform/win/menu.h"
#include "platform/win/window.h"

namespace ui {
namespace {

// Menu objects live as long as the program: lookups may still reach a replaced bar.
template <typename T>
T* Keep() {
  static std::vector<std::unique_ptr<T>> kept;
  kept.push_back(std::make_unique<T>());
  return kept.back().get();
}

}  // namespace

WMENUITEM* WMENUBASE::GetItem(int id) {
  for (auto& entry : aItems) {
    if (auto* item = std::get_if<WMENUITEM*>(&entry); item && (*item)->nId == id) return *item;
    if (auto* popup = std::get_if<WPOPUP*>(&entry)) {
      if (WMENUITEM* found = (*popup)->GetItem(id)) return found;
    }
  }
  return nullptr;
}

WPOPUP* WMENUBASE::GetPopup(win::Hmenu menu) {
  for (auto& entry : aItems) {
    auto* popup = std::get_if<WPOPUP*>(&entry);
    if (!popup) continue;
    if ((*popup)->hMenu == menu) return *popup;
    if (WPOPUP* found = (*popup)->GetPopup(menu)) return found;
  }
  return nullptr;
}

uint32_t WMENUITEM::State() const {
  uint32_t state = oMenu ? win::GetMenuState(oMenu->hMenu, static_cast<uint32_t>(nId)) : 0;
  return state == win::kMenuStateError ? 0 : state;
}

bool WMENUITEM::Checked() const { return State() & win::MF_CHECKED; }
void WMENUITEM::_Checked(bool checked) {
  win::CheckMenuItem(oMenu->hMenu, nId, checked ? win::MF_CHECKED : win::MF_UNCHECKED);
  win::EnableMenuItem(oMenu->hMenu, nId, win::MF_GRAYED);
  win::EnableMenuItem(oMenu->hMenu, nId, win::MF_ENABLED);
}
bool WMENUITEM::Disabled() const { return State() & win::MF_DISABLED; }
void WMENUITEM::_Disabled(bool disabled) {
  win::EnableMenuItem(oMenu->hMenu, nId, disabled ? win::MF_DISABLED : win::MF_ENABLED);
}
bool WMENUITEM::Grayed() const { return State() & win::MF_GRAYED; }
void WMENUITEM::_Grayed(bool grayed) {
  win::EnableMenuItem(oMenu->hMenu, nId, grayed ? win::MF_GRAYED : win::MF_ENABLED);
}
bool WMENUITEM::Hilite() const { return State() & win::MF_HILITE; }
void WMENUITEM::_Hilite(bool hilite) {
  win::HiliteMenuItem(oMenu->hMenu, nId, hilite);
  win::EnableMenuItem(oMenu->hMenu, nId, win::MF_GRAYED);
  win::EnableMenuItem(oMenu->hMenu, nId, win::MF_ENABLED);
}

WMENU* _MENUBEGIN(bool current, win::Hwnd window) {
  WMENU* bar = Keep<WMENU>();
  bar->oWnd = window;
  bar->hMenu = current ? win::GetMenu(window) : win::CreateMenu();
  if (!current && !bar->hMenu) MESSAGE_BOX("Error in CreateMenu");
  Globals().OCURMENU = bar;
  return bar;
}

WPOPUP* _POPUPBEGIN(const std::string& text, WMENUBASE* parent) {
  if (!parent) parent = Globals().OCURMENU;
  WPOPUP* popup = Keep<WPOPUP>();
  popup->hMenu = win::CreatePopupMenu();
  if (!popup->hMenu) MESSAGE_BOX("Error in CreatePopupMenu");
  popup->oMenu = parent;
  popup->cText = text;
  if (parent) {
    parent->aItems.push_back(popup);
    win::AppendMenu(parent->hMenu, text.empty() ? win::MF_POPUP | win::MF_BITMAP : win::MF_POPUP,
                    static_cast<uintptr_t>(popup->hMenu), text);
  }
  Globals().OSTACK.push_back(Globals().OCURMENU);
  Globals().OCURMENU = popup;
  return popup;
}

WMENUITEM* _MENUAPPEND(const std::string& text, WMENUBASE* menu, MenuItemArgs args) {
  if (!menu) menu = Globals().OCURMENU;
  WMENUITEM* item = Keep<WMENUITEM>();
  item->cText = text;
  item->oMenu = menu;
  item->nId = args.id ? *args.id : NextSnid();
  item->Action = std::move(args.action);
  item->Flags = (args.checked ? win::MF_CHECKED : 0) | (args.disabled ? win::MF_DISABLED : 0) |
                (args.grayed ? win::MF_GRAYED : 0);
  if (!menu) return item;
  menu->aItems.push_back(item);
  uint32_t flags = item->Flags;
  if (text.empty()) flags = item->hBmp ? flags | win::MF_BITMAP : win::MF_SEPARATOR;
  win::AppendMenu(menu->hMenu, flags, static_cast<uintptr_t>(item->nId), text);
  return item;
}

WMENUBASE* _POPUPEND() {
  if (Globals().OSTACK.empty()) return Globals().OCURMENU;
  Globals().OCURMENU = Globals().OSTACK.back();
  Globals().OSTACK.pop_back();
  return Globals().OCURMENU;
}

WMENUBASE* _MENUEND() {
  auto* bar = dynamic_cast<WMENU*>(Globals().OCURMENU);
  if (bar && bar->oWnd) {
    win::Hmenu old_menu = win::GetMenu(bar->oWnd);
    win::SetMenu(bar->oWnd, bar->hMenu);
    if (old_menu && old_menu != bar->hMenu) win::DestroyMenu(old_menu);
  }
  return Globals().OCURMENU;
}

void DO_ACTION(std::optional<int> id, const MenuAction& callback) {
  settings::Current().XID_MENU = id;
  if (callback) callback();
}

}  // namespace ui

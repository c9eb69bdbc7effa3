#include "platform/win/menu.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <map>
#include <vector>

#include "platform/win/message.h"
#include "platform/win/registry.h"
#include "platform/win/text_codec.h"
#include "platform/win/window.h"

namespace win {
namespace {

struct MenuItem {
  uint32_t flags = 0;
  uintptr_t id = 0;  // the popup handle for MF_POPUP entries
  std::string text;
};

struct MenuData {
  bool is_bar = false;
  std::vector<MenuItem> items;
};

std::map<Hmenu, MenuData>& Menus() {
  static std::map<Hmenu, MenuData> menus;
  return menus;
}
Hmenu next_menu = 0x3000;

MenuData* FindMenu(Hmenu menu) {
  auto it = Menus().find(menu);
  return it == Menus().end() ? nullptr : &it->second;
}

MenuItem* FindItem(Hmenu menu, uint32_t id) {
  MenuData* data = FindMenu(menu);
  if (!data) return nullptr;
  for (MenuItem& item : data->items) {
    if (item.flags & MF_POPUP) {
      if (MenuItem* inner = FindItem(static_cast<Hmenu>(item.id), id)) return inner;
    } else if (!(item.flags & MF_SEPARATOR) && item.id == id) {
      return &item;
    }
  }
  return nullptr;
}

bool Contains(Hmenu menu, Hmenu wanted) {
  if (menu == wanted) return true;
  MenuData* data = FindMenu(menu);
  if (!data) return false;
  for (const MenuItem& item : data->items) {
    if ((item.flags & MF_POPUP) && Contains(static_cast<Hmenu>(item.id), wanted)) return true;
  }
  return false;
}

void FillQtMenu(Hmenu menu, Hwnd owner, auto* target) {
  MenuData* data = FindMenu(menu);
  if (!data) return;
  for (const MenuItem& item : data->items) {
    if (item.flags & MF_SEPARATOR) {
      target->addSeparator();
    } else if (item.flags & MF_POPUP) {
      QMenu* popup = target->addMenu(FromAnsi(item.text));
      popup->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
      FillQtMenu(static_cast<Hmenu>(item.id), owner, popup);
    } else {
      QAction* action = target->addAction(FromAnsi(item.text));
      action->setCheckable(item.flags & MF_CHECKED);
      action->setChecked(item.flags & MF_CHECKED);
      action->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
      action->setData(QVariant::fromValue<qulonglong>(item.id));
      uintptr_t id = item.id;
      QObject::connect(action, &QAction::triggered,
                       [owner, id] { PostMessage(owner, WM_COMMAND, id & 0xFFFF, 0); });
    }
  }
}

// Windows that show a bar, so that state changes reach the screen.
std::map<Hwnd, Hmenu>& BarOwners() {
  static std::map<Hwnd, Hmenu> owners;
  return owners;
}

QMainWindow* FrameOf(Hwnd hwnd) {
  internal::WindowRecord* r = internal::Find(hwnd);
  return r ? qobject_cast<QMainWindow*>(r->widget.data()) : nullptr;
}

// The bar on screen is rebuilt from the menu data whenever either changes.
void ShowBar(Hwnd hwnd, Hmenu menu) {
  QMainWindow* frame = FrameOf(hwnd);
  if (!frame) return;
  auto* bar = new QMenuBar;
  FillQtMenu(menu, hwnd, bar);
  frame->setMenuBar(bar);  // deletes the previous bar
}

void RefreshBarsShowing(Hmenu menu) {
  for (auto it = BarOwners().begin(); it != BarOwners().end();) {
    if (!IsWindow(it->first)) {
      it = BarOwners().erase(it);
      continue;
    }
    if (Contains(it->second, menu)) ShowBar(it->first, it->second);
    ++it;
  }
}

Hmenu NewMenu(bool is_bar) {
  Hmenu handle = next_menu++;
  Menus()[handle] = {is_bar, {}};
  return handle;
}

uint32_t ChangeState(Hmenu menu, uint32_t id, uint32_t mask, uint32_t value) {
  MenuItem* item = FindItem(menu, id);
  if (!item) return kMenuStateError;
  uint32_t previous = item->flags & mask;
  item->flags = (item->flags & ~mask) | (value & mask);
  RefreshBarsShowing(menu);
  return previous;
}

}  // namespace

Hmenu CreateMenu() { return NewMenu(true); }
Hmenu CreatePopupMenu() { return NewMenu(false); }

bool DestroyMenu(Hmenu menu) {
  MenuData* data = FindMenu(menu);
  if (!data) return false;
  std::vector<MenuItem> items = std::move(data->items);
  Menus().erase(menu);
  for (const MenuItem& item : items) {
    if (item.flags & MF_POPUP) DestroyMenu(static_cast<Hmenu>(item.id));
  }
  std::vector<Hwnd> showing;
  for (auto& [hwnd, bar] : BarOwners()) {
    if (bar == menu) showing.push_back(hwnd);
  }
  for (Hwnd hwnd : showing) SetMenu(hwnd, 0);
  return true;
}

bool IsMenu(Hmenu menu) { return FindMenu(menu) != nullptr; }

bool AppendMenu(Hmenu menu, uint32_t flags, uintptr_t id_or_popup, std::string_view text) {
  MenuData* data = FindMenu(menu);
  if (!data) return false;
  if ((flags & MF_POPUP) && !IsMenu(static_cast<Hmenu>(id_or_popup))) return false;
  if (flags & MF_SEPARATOR) flags = MF_SEPARATOR;
  data->items.push_back({flags, id_or_popup, (flags & MF_BITMAP) ? "" : std::string(text)});
  RefreshBarsShowing(menu);
  return true;
}

int GetMenuItemCount(Hmenu menu) {
  MenuData* data = FindMenu(menu);
  return data ? static_cast<int>(data->items.size()) : -1;
}

uint32_t GetMenuState(Hmenu menu, uint32_t id) {
  MenuItem* item = FindItem(menu, id);
  return item ? item->flags : kMenuStateError;
}

uint32_t CheckMenuItem(Hmenu menu, uint32_t id, uint32_t check) {
  return ChangeState(menu, id, MF_CHECKED, check);
}

uint32_t EnableMenuItem(Hmenu menu, uint32_t id, uint32_t enable) {
  return ChangeState(menu, id, MF_GRAYED | MF_DISABLED, enable);
}

uint32_t HiliteMenuItem(Hmenu menu, uint32_t id, bool hilite) {
  return ChangeState(menu, id, MF_HILITE, hilite ? MF_HILITE : 0);
}

bool SetMenu(Hwnd hwnd, Hmenu menu) {
  internal::WindowRecord* r = internal::Find(hwnd);
  if (!r || (menu && !IsMenu(menu))) return false;
  r->menu = menu;
  if (menu) {
    BarOwners()[hwnd] = menu;
    ShowBar(hwnd, menu);
  } else {
    BarOwners().erase(hwnd);
    if (QMainWindow* frame = FrameOf(hwnd)) frame->setMenuBar(new QMenuBar);
  }
  return true;
}

Hmenu GetMenu(Hwnd hwnd) {
  internal::WindowRecord* r = internal::Find(hwnd);
  return r ? r->menu : 0;
}

bool ChooseMenuItem(Hwnd hwnd, uint32_t id) {
  QMainWindow* frame = FrameOf(hwnd);
  if (!frame || !frame->menuBar()) return false;
  for (QAction* action : frame->menuBar()->findChildren<QAction*>()) {
    if (action->data().isValid() && action->data().toULongLong() == id && action->isEnabled()) {
      action->trigger();
      return true;
    }
  }
  return false;
}

}  // namespace win

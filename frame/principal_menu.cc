// The frame's menu bar, the state of its items and the database-server information box.
#include <cstdio>

#include "frame/principal.h"
#include "lib/data/text_fields.h"
#include "lib/data/wtable.h"
#include "lib/settings/settings.h"
#include "lib/ui/menu_builder.h"
#include "lib/ui/run_loop.h"
#include "platform/dbserver/client.h"
#include "platform/win/window.h"

namespace frame {
namespace {

// Items that only clear the last-command id in this module.
void NoAction() { settings::Current().XID_MENU.reset(); }

}  // namespace

bool PRINCIPAL::GET_RIGHTS(int) const { return false; }  // rights exist only with a login
bool PRINCIPAL::GET_CHECKS(int) const { return false; }

void PRINCIPAL::MenuSetForBusiness(const std::string& business) { MenuSet("", business, true); }

void PRINCIPAL::MenuSet(const std::string&, const std::string& business, bool) {
  settings::Settings& globals = settings::Current();
  ACT_NEG = business;
  NO_NEG = business.empty();
  globals.XCONSTRUCTINGMENU = 1;
  ui::WMENU* bar = ui::_MENUBEGIN(false, hwnd);
  auto item = [this](const std::string& text, std::optional<int> id, ui::MenuAction action) {
    ui::_MENUAPPEND(text, nullptr,
                    {.id = id,
                     .action = std::move(action),
                     .checked = GET_CHECKS(id.value_or(0)),
                     .grayed = GET_RIGHTS(id.value_or(0))});
  };
  ui::_POPUPBEGIN("Controles");
  item("TARVISEN Data Exchange ZIRUVUZ Server", kCmdOpenModuleWindow,
       [this] { OpenModuleWindow(); });
  ui::_POPUPEND();
  ui::_POPUPBEGIN("Ventanas");
  for (const char* text : {"Cascada", "Comparativo", "Acomodar Iconos", "Cerrar Todos"}) {
    item(text, std::nullopt, NoAction);
  }
  ui::_POPUPEND();
  ui::_POPUPBEGIN("Acerca de");
  item("Acerca &de", std::nullopt, NoAction);
  item("ADS Config.", std::nullopt, [this] { ADS_xINFO(); });
  ui::_POPUPEND();
  ui::_MENUEND();
  MENU = bar;
  win::InvalidateRect(hwnd);
  globals.XCONSTRUCTINGMENU = 0;
}

void PRINCIPAL::Chequear(int id, std::optional<bool> flag) {
  if (ui::WMENUITEM* found = MENU ? MENU->GetItem(id) : nullptr) {
    found->_Checked(flag.value_or(!found->Checked()));
  }
}

void PRINCIPAL::Sombrear(int id, std::optional<bool> flag) {
  if (ui::WMENUITEM* found = MENU ? MENU->GetItem(id) : nullptr) {
    found->_Grayed(flag.value_or(!found->Grayed()));
  }
}

void PRINCIPAL::Disponible(int id, std::optional<bool> flag) {
  if (ui::WMENUITEM* found = MENU ? MENU->GetItem(id) : nullptr) {
    found->_Disabled(flag.value_or(!found->Disabled()));
  }
}

void PRINCIPAL::ADS_xINFO() {
  const settings::Settings& globals = settings::Current();
  data::KILLTABLA(data::USE({}, "F_SYS"));
  if (globals.DEF_RDD != "ADSCDX") {
    ui::MESSAGE_BOX("Servidor Advantage no disponible...");
    return;
  }
  dbserver::ADSMGCONNECT(globals.XADSDIRECTORY);
  std::vector<std::string> install = dbserver::ADSMGGETINSTALLINFO();
  std::vector<std::string> config = dbserver::ADSMGGETCONFIGINFO();
  dbserver::ADSMGDISCONNECT();
  std::string text;
  if (install.size() >= 8) {
    char cache[16];
    std::snprintf(cache, sizeof cache, "%10d", globals.XADSCACHERECORDS);
    text = "Sesiones: " + TrimBlanks(config.empty() ? std::string() : config[0]) +
           "\rServer Versi\xF3n: " + TrimBlanks(install[2]) +
           "\rLocking Scheme: " + (dbserver::State().locking == 1 ? "Propietario" : "Compatible") +
           "\rRecord Cache: " + cache;
  }
  ui::MESSAGE_BOX(text, "Versi\xF3n Advantage Database Server");
}

}  // namespace frame

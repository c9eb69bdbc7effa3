#include "frame/toolbar/user_rights.h"

#include "lib/data/text_fields.h"
#include "frame/toolbar/record_access.h"
#include "lib/data/work_areas.h"
#include "lib/settings/settings.h"
#include "platform/xbase/case_table.h"
#include "platform/xbase/number_format.h"

namespace frame {
namespace {

constexpr size_t kBusinessWidth = 15;
constexpr int kFirstMenuId = 2000;
constexpr int kLastMenuId = 7000;
// Entries of MENU_VEC (1-based) that a sign-in grants whatever MENUS says.
constexpr size_t kAlwaysGranted = 10;
constexpr size_t kSupervisorGranted = 1;
constexpr size_t kPermisoGranted = 905;

// XDBACCESS: the data sub-folder and code of the user's SUBBASE, or none.
void TakeSubBase(const std::string& sub_base) {
  std::vector<std::string>& access = settings::Current().XDBACCESS;
  access.resize(3);
  access[0] = "";
  access[1] = "  ";
  if (TrimBlanks(sub_base).empty()) return;
  data::TableHandle sub_bases = data::USE({}, "SUBBASES", "SUBBASES");
  if (sub_bases->Seek(sub_base)) {
    access[0] = TrimBlanks(sub_bases->FieldGet("DIRECTORIO").str);
    access[1] = sub_bases->FieldGet("CODIGO").str;
  }
  data::KILLTABLA(sub_bases);
}

// BUTTONSTYL 0, 1, 2 give the push-button looks 3, 0, 5; other values leave the look.
void TakeButtonStyle(int value) {
  static constexpr int kLooks[] = {3, 0, 5};
  if (value >= 0 && value <= 2) settings::Current().XBUTTON_STYLE = kLooks[value];
}

}  // namespace

int UserNameWidth(data::WDBTable& users) {
  for (const xbase::FieldInfo& field : users.DBStruct()) {
    if (field.name == "NOMBRE") return field.length;
  }
  return 0;
}

std::string UserKey(data::WDBTable& users, const std::string& business, const std::string& name) {
  return PadCut(business, kBusinessWidth) + PadCut(xbase::UpperCase(name), UserNameWidth(users));
}

void TakeUserSettings(data::WDBTable& users) {
  settings::Settings& globals = settings::Current();
  globals.XSUPERACCESS = NumberField(users, "SUPERVISOR");
  globals.XUSER_NUMBER = NumberField(users, "CODIGO");
  globals.XUSER_ABREVIA = HasField(users, "ABREVIA") ? users.FieldGet("ABREVIA").str : "XX";
  if (HasField(users, "SUBBASE")) TakeSubBase(users.FieldGet("SUBBASE").str);
  if (HasField(users, "NO_CHAT")) globals.XDO_CHAT = NumberField(users, "NO_CHAT");
}

void LOAD_DERECHOS(const std::string& user, const std::string& business, FrameRights& rights) {
  data::AreaSelection keep(data::SelectedArea());
  data::TableHandle menus = data::USE({}, "MENUS", "MENUS");
  data::TableHandle users = data::USE({}, "USUARIOS", "USUARIOS");
  rights.ACT_NEG = business;
  users->Seek(UserKey(*users, business, user));
  rights.ACT_USER = user;
  rights.ACT_UID = NumberField(*users, "CODIGO");
  const bool supervisor = NumberField(*users, "SUPERVISOR") == 1;
  const std::string prefix =
      PadCut(business, kBusinessWidth) + xbase::FormatNumber(rights.ACT_UID, 8, 0);

  rights.MENU_VEC.clear();
  rights.MENU_CHK.clear();
  for (int id = kFirstMenuId; id <= kLastMenuId; ++id) {
    bool granted = supervisor;
    if (!supervisor && menus->Seek(prefix + xbase::FormatNumber(id, 8, 0))) {
      granted = menus->FieldGet("CHECK_ID").logical;
    }
    rights.MENU_VEC.push_back(granted);
    rights.MENU_CHK.push_back(false);
  }
  rights.MENU_VEC[kAlwaysGranted - 1] = true;
  if (supervisor) rights.MENU_VEC[kSupervisorGranted - 1] = true;
  if (HasField(*users, "PERMISO1") && NumberField(*users, "PERMISO1") == 1) {
    rights.MENU_VEC[kPermisoGranted - 1] = true;
  }

  TakeUserSettings(*users);
  if (HasField(*users, "BUTTONSTYL")) TakeButtonStyle(NumberField(*users, "BUTTONSTYL"));
  data::KILLTABLA(users);
  data::KILLTABLA(menus);
}

}  // namespace frame

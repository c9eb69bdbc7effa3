// The password-age check after a user signed in through the toolbar's business change, with the
// dialog in which the user sets a new password.
#include "frame/password_age.h"

#include <algorithm>
#include <cstdio>

#include "frame/principal.h"
#include "lib/data/date_time.h"
#include "lib/data/text_fields.h"
#include "lib/data/write_protocol.h"
#include "lib/data/wtable.h"
#include "lib/settings/settings.h"
#include "lib/ui/messages.h"
#include "lib/ui/run_loop.h"
#include "lib/ui/wdiag.h"
#include "platform/win/dialog.h"

namespace frame {
namespace {

constexpr int kNewPasswordControl = 101;
constexpr int kConfirmPasswordControl = 102;
constexpr size_t kBusinessWidth = 15;
constexpr size_t kPasswordWidth = 10;
constexpr char kCaption[] = "Cambio de Clave de Acceso";

std::string Padded(std::string text, size_t width) {
  text.resize(width, ' ');
  return text;
}

std::string UserKey(const std::string& business, int user_number) {
  char number[16];
  std::snprintf(number, sizeof number, "%4d", user_number);
  return Padded(business, kBusinessWidth) + number;
}

int DaysOf(data::WDBTable& table) { return static_cast<int>(table.FieldGet("DIAS_CLAVE").num); }

}  // namespace

int PasswordDayLimit(int business_days, int user_days) {
  if (business_days > 0 && user_days > 0) return std::min(business_days, user_days);
  return std::max({business_days, user_days, 0});
}

bool PasswordTooOld(std::optional<int64_t> changed, int limit, int64_t today) {
  return limit > 0 && changed && *changed > 0 && today - *changed > limit;
}

void PRINCIPAL::CheckPasswordAge() {
  const settings::Settings& globals = settings::Current();
  if (!globals.XU_COMP || !globals.XUSER_NUMBER) return;
  // The signed-in user's business: the frame's own business code stays empty in this module.
  const std::string business = *globals.XU_COMP;
  int limit = 0;
  {
    data::TableHandle businesses = data::USE({}, "NEGOCIOS", "NEGOCIOS");
    data::TableHandle users = data::USE({}, "USUARIOS", "USUARIO3");
    const bool both_have_days =
        businesses->FieldPos("DIAS_CLAVE") > 0 && users->FieldPos("DIAS_CLAVE") > 0;
    if (both_have_days) {
      int business_days =
          businesses->Seek(Padded(business, kBusinessWidth)) ? DaysOf(*businesses) : 0;
      int user_days = users->Seek(UserKey(business, *globals.XUSER_NUMBER)) ? DaysOf(*users) : 0;
      limit = PasswordDayLimit(business_days, user_days);
    }
    data::KILLTABLA(users);
    data::KILLTABLA(businesses);
  }
  if (!PasswordTooOld(globals.XFECHA_CLAVE, limit, data::XDATE().julian())) return;
  if (ACT_CLAVE() == 0) Exit();
}

intptr_t PRINCIPAL::ACT_CLAVE() {
  return ui::DIALOG_BOX(0, "ACT_CLAVE", hwnd,
                        [this](ui::Hwnd dialog, uint32_t message, ui::WPARAM wparam, ui::LPARAM) {
                          if (message != win::WM_COMMAND) return intptr_t{0};
                          if (win::LoWord(wparam) == win::IDCANCEL) {
                            win::EndDialog(dialog, 0);
                          } else if (win::LoWord(wparam) == win::IDOK && SaveNewPassword(dialog)) {
                            win::EndDialog(dialog, 1);
                          }
                          return intptr_t{1};
                        });
}

bool PRINCIPAL::SaveNewPassword(ui::Hwnd dialog) {
  settings::Settings& globals = settings::Current();
  const std::string password =
      TrimBlanks(ui::GETWINDOWTEXT(ui::GETDLGITEM(dialog, kNewPasswordControl)));
  const std::string confirmation =
      TrimBlanks(ui::GETWINDOWTEXT(ui::GETDLGITEM(dialog, kConfirmPasswordControl)));
  if (password.empty() || password.size() > kPasswordWidth || password != confirmation) {
    ui::MESSAGE_BOX(
        "Las claves no coinciden o est\xE1n vac\xED"
        "as",
        kCaption);
    return false;
  }
  data::TableHandle users = data::USE({}, "USUARIOS", "USUARIO3");
  const bool saved = users->Seek(UserKey(*globals.XU_COMP, *globals.XUSER_NUMBER));
  if (saved) {
    const data::Date today = data::XDATE();
    data::LOCK_FOR_MODIFY();
    // Stored plain (ADASIPA false): the next sign-in scrambles it, as for any plain password.
    users->FieldPut("PASSWORD", xbase::Value::Character(Padded(password, kPasswordWidth)));
    users->FieldPut("ADASIPA", xbase::Value::Numeric(0));
    if (users->FieldPos("F_CLAVE") > 0) {
      users->FieldPut("F_CLAVE", xbase::Value::Date(today.julian()));
    }
    data::UNLOCK_FOR_MODIFY();
    globals.XFECHA_CLAVE = today.julian();
  }
  data::KILLTABLA(users);
  if (!saved) ui::MESSAGE_BOX("No se pudo guardar la nueva clave", kCaption);
  return saved;
}

}  // namespace frame

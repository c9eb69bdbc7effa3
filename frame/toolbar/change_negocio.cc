#include "frame/toolbar/change_negocio.h"

#include "lib/data/text_fields.h"
#include "frame/toolbar/mtoolbar.h"
#include "frame/toolbar/record_access.h"
#include "frame/toolbar/teclado.h"
#include "frame/toolbar/user_rights.h"
#include "lib/data/date_time.h"
#include "lib/data/password_scramble.h"
#include "lib/data/work_areas.h"
#include "lib/data/write_protocol.h"
#include "lib/settings/settings.h"
#include "lib/ui/handler_chain.h"
#include "lib/ui/run_loop.h"
#include "lib/ui/texts.h"
#include "platform/win/message.h"
#include "platform/win/window.h"

namespace frame {
namespace {

constexpr int kNameEdit = 500;
constexpr int kPasswordEdit = 501;
constexpr int kKeyboardButton = 201;
constexpr size_t kPasswordWidth = 10;
constexpr size_t kBusinessWidth = 15;
constexpr int kSeriesCaption = 5008;

// A correct password still stored plainly is scrambled, unless its scrambled form could not be
// read back (it would end in a blank, which the unscrambling drops): such a password stays plain
// so that its user can still sign in.
void ScramblePlainPassword(data::WDBTable& users) {
  const std::string plain = users.FieldGet("PASSWORD").str;
  if (!data::SurvivesScrambling(plain)) return;
  ModifyRecord(users, [&] {
    users.FieldPut("PASSWORD", xbase::Value::Character(data::ENCRYPT_STRING(plain, 1)));
    users.FieldPut("ADASIPA", xbase::Value::Numeric(1));
  });
}

// The user's settings that only the business change takes (beyond those of every sign-in).
void TakeChangeSettings(data::WDBTable& users) {
  settings::Settings& globals = settings::Current();
  TakeUserSettings(users);
  if (HasField(users, "IDIOMA")) globals.XIDIOMA = NumberField(users, "IDIOMA") + 1;
  globals.XFECHA_CLAVE.reset();
  if (HasField(users, "F_CLAVE")) {
    int64_t changed = users.FieldGet("F_CLAVE").julian();
    if (changed != 0) globals.XFECHA_CLAVE = changed;
  }
  if (HasField(users, "NO_SALIR")) globals.XNO_SALIR = NumberField(users, "NO_SALIR");
}

}  // namespace

std::shared_ptr<CHANGE_NEGOCIO> CHANGE_NEGOCIO::New(MTOOLBAR* toolbar,
                                                    const std::string& business) {
  auto dialog = std::make_shared<CHANGE_NEGOCIO>();
  dialog->Negocio = business;
  dialog->oParent = toolbar;
  win::Hwnd made = ui::CREATEDIALOG(
      0, "CHANGE_NEG", 0, [dialog](win::Hwnd h, uint32_t m, win::WPARAM w, win::LPARAM l) {
        return dialog->DialogProc(h, m, w, l);
      });
  if (!made) return nullptr;
  dialog->hWnd = made;
  win::Rect outer = win::GetWindowRect(made);
  int width = outer.right - outer.left, height = outer.bottom - outer.top;
  win::MoveWindow(made, (win::GetSystemMetrics(0) - width) / 2,
                  (win::GetSystemMetrics(1) - height) / 2, width, height, true);
  if (toolbar) win::EnableWindow(toolbar->hwnd, false);
  win::ShowWindow(made, win::SW_SHOW);
  win::BringWindowToTop(made);
  win::SetFocus(win::GetDlgItem(made, kNameEdit));
  return dialog;
}

intptr_t CHANGE_NEGOCIO::DialogProc(win::Hwnd, uint32_t message, win::WPARAM wparam, win::LPARAM) {
  switch (message) {
    case win::WM_COMMAND:
      switch (win::LoWord(wparam)) {
        case win::IDOK:
          PROCESAR();
          return 1;
        case win::IDCANCEL:
          Close();
          return 1;
        case kKeyboardButton:
          OpenKeyboard(win::GetDlgItem(hWnd, kNameEdit));
          return 1;
        default:
          return 0;
      }
    case win::WM_DESTROY:
      if (!oParent) return 0;
      win::EnableWindow(oParent->hwnd, true);
      // Without an accepted user the list goes back to the current business.
      if (!accepted_) win::PostMessage(oParent->hwnd, kBusinessChanged, 0, 0);
      return 0;
    default:
      return 0;
  }
}

bool CHANGE_NEGOCIO::PROCESAR() {
  win::Hwnd name = win::GetDlgItem(hWnd, kNameEdit);
  win::Hwnd password = win::GetDlgItem(hWnd, kPasswordEdit);
  win::Hwnd focus = win::GetFocus();
  if (focus == name) {
    win::SetFocus(password);
    return false;
  }
  if (focus == password) {
    win::SetFocus(win::GetDlgItem(hWnd, win::IDOK));
    return false;
  }
  uName = win::GetWindowText(name);
  uPass = win::GetWindowText(password);
  bool accepted = false;
  try {
    accepted = Verif_CHANGE();
  } catch (const std::exception& e) {
    ui::MESSAGE_BOX(e.what(), "ERROR", win::MB_ICONHAND);
  }
  if (accepted) {
    Accept();
  } else if (win::IsWindow(hWnd)) {
    win::SetFocus(name);
  }
  return accepted;
}

bool CHANGE_NEGOCIO::Verif_CHANGE() {
  data::AreaSelection keep(data::SelectedArea());
  data::TableHandle users = data::USE({}, "USUARIOS", "USUARIOS");
  const bool exists = users->Seek(UserKey(*users, Negocio, uName));
  bool accepted = false;
  if (exists) {
    const int scrambled = NumberField(*users, "ADASIPA");
    accepted = PadCut(uPass, kPasswordWidth) ==
               data::DECRYPT_STRING(users->FieldGet("PASSWORD").str, scrambled);
    if (accepted && scrambled == 0) ScramblePlainPassword(*users);
  }
  const bool supervisor = exists && NumberField(*users, "SUPERVISOR") == 1;
  if (exists && NumberField(*users, "BLOQUEADO") == 1 && !supervisor) {
    ui::MESSAGE_BOX("Ud. tiene temporalmente bloqueado el Acceso al Sistema", "ERROR",
                    win::MB_ICONHAND);
    accepted = false;
  }
  // A refused attempt leaves the signed-in user's settings as they were.
  if (accepted) {
    TakeChangeSettings(*users);
  } else {
    ui::MESSAGE_BOX("Acceso Denegado", ui::LibraryText(kSeriesCaption), win::MB_ICONEXCLAMATION);
    CountFailure(exists ? users.get() : nullptr, supervisor);
  }
  data::KILLTABLA(users);
  return accepted;
}

void CHANGE_NEGOCIO::CountFailure(data::WDBTable* user, bool supervisor) {
  data::TableHandle businesses = data::USE({}, "NEGOCIOS", "NEGOCIOS");
  if (HasField(*businesses, "INTENTOS")) {
    businesses->Seek(PadCut(Negocio, kBusinessWidth));
    ++xCount;
    const int allowed = NumberField(*businesses, "INTENTOS");
    if (allowed > 0 && xCount >= allowed) {
      ui::MESSAGE_BOX("Se ha excedido el n\xFAmero m\xE1ximo de Intentos permitidos", "ERROR",
                      win::MB_ICONHAND);
      // A name that matches no user keeps the dialog open and the count going.
      if (user) {
        ModifyRecord(*user, [&] {
          if (HasField(*user, "BLOQUEADO") && !supervisor) {
            user->FieldPut("BLOQUEADO", xbase::Value::Numeric(1));
          }
          if (HasField(*user, "INFO_BLOQ")) {
            user->FieldPut("INFO_BLOQ", xbase::Value::Character(data::INFO_USER()));
          }
        });
        if (hWnd) win::PostMessage(hWnd, win::WM_COMMAND, win::IDCANCEL, 0);
      }
    }
  }
  data::KILLTABLA(businesses);
}

void CHANGE_NEGOCIO::Accept() {
  auto self = shared_from_this();  // the dialog's callback holds the last reference
  accepted_ = true;
  if (oParent) oParent->uName = uName;
  Close();
  if (oParent) win::PostMessage(oParent->hwnd, kBusinessChanged, 0, 0);
  const auto frame = static_cast<win::Hwnd>(settings::Current().XAPPHANDLE);
  if (frame) win::PostMessage(frame, kBusinessChanged, 0, 0);
}

void CHANGE_NEGOCIO::Close() {
  if (win::IsWindow(hWnd)) win::DestroyWindow(hWnd);
}

}  // namespace frame

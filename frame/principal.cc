#include "frame/principal.h"

#include <utility>

#include "frame/module_identity.h"
#include "frame/site_settings.h"
#include "frame/temp_dir.h"
#include "frame/toolbar/mtoolbar.h"
#include "lib/data/date_time.h"
#include "lib/data/text_search.h"
#include "lib/data/work_areas.h"
#include "lib/data/wtable.h"
#include "lib/settings/settings.h"
#include "lib/ui/menu_builder.h"
#include "lib/ui/messages.h"
#include "lib/ui/run_loop.h"
#include "platform/win/message.h"
#include "platform/win/message_box.h"
#include "platform/win/window.h"

namespace frame {
namespace {

constexpr uint32_t kWmContextMenu = 123;
constexpr uint32_t kWmActivateApp = 28;
constexpr uint32_t kWmMenuSelect = 287;
constexpr uint32_t kWmMenuRButtonUp = 290;
constexpr uint32_t kWmRButtonDown = 516;
constexpr uint32_t kWmReserved2218 = 2218;
constexpr uint32_t kCaptureOn = 1030;
constexpr uint32_t kCaptureOff = 1031;
constexpr ui::LPARAM kCaptureTag = 99;
constexpr uint32_t kConfirmStyle = win::MB_OKCANCEL | win::MB_ICONQUESTION;  // 33

ModuleWindowOpener& Opener() {
  static ModuleWindowOpener opener;
  return opener;
}

}  // namespace

void SetModuleWindowOpener(ModuleWindowOpener opener) { Opener() = std::move(opener); }

PRINCIPAL::~PRINCIPAL() {
  alarms_.clear();
  STATUSBAR.reset();
}

void PRINCIPAL::DEF_MODULO() { ID_MODULO = kThisModule; }

PRINCIPAL* PRINCIPAL::Init(const std::string& class_name, const std::string& caption) {
  settings::Settings& globals = settings::Current();
  POR_SALIR = 0;
  INWNDPROC = 0;
  ACTIVO = 1;
  DEF_MODULO();
  DO_LOGIN = true;
  std::string title = caption;
  if (const ModuleIdentity* identity = FindModuleIdentity(ID_MODULO)) {
    title = identity->title;
    globals.EXT_MODULO = identity->ext;
    DO_LOGIN = identity->login;
  }
  if (!MDIFRAME::Init(class_name, title)) return nullptr;
  globals.XAPPHANDLE = hwnd;
  globals.XAPPSELF = this;

  ReadMailSettings();
  ReadSystemSettings();
  ReadFontList();
  // This module signs nobody in: no user, no business of its own.
  globals.XTRADUCT.clear();
  MenuSet("", "", true);
  TOOLBAR = NewFrameToolbar(this);
  ReadExchangeRateHandling();
  BORRAR_TEMPS();
  DoSubClPr(hwnd);
  win::PostMessage(hwnd, kMsgStartModule, 0, 0);
  STATUSBAR = std::make_unique<XSTATUS_BAR>(hwnd, FrameStatusPanes());
  if (MTOOLBAR* toolbar = FrameToolbar()) toolbar->ShowUserAbbreviation();
  ui::SETTIMER(hwnd, kQuitCheckTimer, kQuitCheckIntervalMs);
  data::LoadTextSearchConfiguration();
  OnSize();
  return this;
}

void PRINCIPAL::OnSize() {
  UpdateClient();
  if (STATUSBAR) STATUSBAR->LayOut();
}

int PRINCIPAL::ReservedBottom() const { return STATUSBAR ? XSTATUS_BAR::kHeight - 1 : 0; }

void PRINCIPAL::DoSubClPr(ui::Hwnd frame) {
  below_pr_ = ui::SUBCLASSWINDOW(
      frame,
      [this](ui::Hwnd h, uint32_t m, ui::WPARAM w, ui::LPARAM l) {
        return WndProcPR(below_pr_, h, m, w, l);
      },
      ui::Filter{kWmMenuRButtonUp, kWmContextMenu, kWmRButtonDown, kWmMenuSelect,
                 kMsgQuitCheckTimer1, kMsgQuitCheck, kMsgForcedQuitCheck, kWmReserved2218,
                 kMsgStartModule, kMsgBusinessChanged, win::WM_TIMER, win::WM_NCDESTROY,
                 kWmActivateApp, win::WM_NCACTIVATE, kMsgInactivityLock, kCaptureOn, kCaptureOff,
                 win::WM_CLOSE, kMsgStopRequested});
}

intptr_t PRINCIPAL::WndProcPR(int prev, ui::Hwnd h, uint32_t message, ui::WPARAM wparam,
                              ui::LPARAM lparam) {
  // A stop from the system is honoured even while a question of this handler is open.
  if (message == kMsgStopRequested) {
    EXIT_LOGIN();
    return 0;
  }
  if (INWNDPROC == 1) return ui::CALLWINDOWPROC(prev, h, message, wparam, lparam);
  struct Running {
    int& flag;
    explicit Running(int& f) : flag(f) { flag = 1; }
    ~Running() { flag = 0; }
  };
  {
    Running running(INWNDPROC);
    ActOn(message, wparam, lparam);
  }
  return ui::CALLWINDOWPROC(prev, h, message, wparam, lparam);
}

void PRINCIPAL::ActOn(uint32_t message, ui::WPARAM wparam, ui::LPARAM lparam) {
  const settings::Settings& globals = settings::Current();
  switch (message) {
    case win::WM_CLOSE:
      close_answer_ = Salir();
      break;
    case win::WM_NCACTIVATE:
      ACTIVO = wparam == 0 ? 0 : 1;
      break;
    case win::WM_TIMER:
      if (wparam >= 1 && wparam <= 3) {
        win::PostMessage(hwnd, kMsgQuitCheckTimer1 + static_cast<uint32_t>(wparam) - 1, 0, 0);
      }
      break;
    case kMsgQuitCheckTimer1:
    case kMsgQuitCheck:
      CHECK_QUIT();
      break;
    case kMsgForcedQuitCheck:
      CheckForcedQuit();
      break;
    case kMsgStartModule:
      StartModule();
      break;
    case kMsgBusinessChanged:
      CheckPasswordAge();
      break;
    case kCaptureOn:
    case kCaptureOff:
      if (lparam == kCaptureTag) CAPTURA = message == kCaptureOn;
      break;
    case kWmMenuRButtonUp:
    case kWmRButtonDown:
      if ((CAPTURA || globals.XSUPERACCESS == 1) && MENU && MENU->GetItem(CUAL)) {
        win::PostMessage(hwnd, kWmMenuSelect, static_cast<ui::WPARAM>(CUAL), kCaptureTag);
      }
      break;
    case kWmMenuSelect:
      if (CAPTURA || globals.XSUPERACCESS == 1) {
        CUAL = win::LoWord(wparam);
        // The supervisor's dialog-log window belongs to modules with login.
        if (lparam == kCaptureTag && CAPTURA) Chequear(CUAL);
      }
      break;
    default:  // 28, 123, 130, 2218, 2223: nothing for this module
      break;
  }
}

void PRINCIPAL::StartModule() {
  // The command runs once the loop takes it, after the frame is minimised.
  win::PostMessage(hwnd, win::WM_COMMAND, kCmdOpenModuleWindow, 0);
  win::ShowWindow(hwnd, win::SW_SHOWMINIMIZED);
}

void PRINCIPAL::OpenModuleWindow() {
  ui::DO_ACTION(kCmdOpenModuleWindow, [this] {
    if (Opener()) Opener()(this, GET_NEGOCIO());
  });
}

bool PRINCIPAL::Salir() {
  int answer = ui::MESSAGE_BOX(
      "\xBF"
      "Desea salir de la aplicaci\xF3n?",
      "Cierre de Aplicaci\xF3n", kConfirmStyle);
  if (answer != win::IDOK) return false;
  Exit();
  return true;
}

void PRINCIPAL::SALIR_M() { win::SendMessage(hwnd, win::WM_CLOSE, 0, 0); }

bool PRINCIPAL::OnClose() {
  // A close request that passed WndProcPR was answered there; one request asks once.
  bool confirmed = close_answer_ ? *close_answer_ : Salir();
  close_answer_.reset();
  return confirmed && MDIFRAME::OnClose();
}

void PRINCIPAL::Exit() {
  LOGOUT_USER();
  EndProgram();
}

void PRINCIPAL::EXIT_LOGIN() { EndProgram(); }

void PRINCIPAL::EndProgram() {
  ui::KILLTIMER(hwnd, kQuitCheckTimer);
  settings::Settings& globals = settings::Current();
  if (auto* keep_alive = std::any_cast<data::TableHandle>(&globals.XDUMMYADSTABLE)) {
    data::KILLTABLA(*keep_alive);
  }
  globals.XDUMMYADSTABLE.reset();
  win::PostQuitMessage(0);
}

void PRINCIPAL::LOGOUT_USER() {
  settings::Settings& globals = settings::Current();
  if (!globals.XREC_E_S) return;
  data::TableHandle log = data::USE({}, "LOG_E_S");
  log->GoTo(*globals.XREC_E_S);
  if (log->RLock()) {
    log->FieldPut("FECHA_SAL", xbase::Value::Date(data::XDATE().julian()));
    log->FieldPut("HORA_SAL", xbase::Value::Character(data::XTIME()));
    log->Unlock();
  }
  data::KILLTABLA(log);
  BORRAR_TEMPS();
}

void PRINCIPAL::CloseAllTables() {
  data::CloseTextSearch();
  data::CloseAllAreas();
}

}  // namespace frame

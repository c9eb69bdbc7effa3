#include "frame/toolbar/mtoolbar.h"

#include "lib/data/text_fields.h"
#include "frame/toolbar/change_negocio.h"
#include "frame/toolbar/price_lists.h"
#include "frame/toolbar/rate_check.h"
#include "frame/toolbar/record_access.h"
#include "frame/toolbar/teclado.h"
#include "frame/toolbar/user_rights.h"
#include "lib/settings/settings.h"
#include "lib/ui/handler_chain.h"
#include "lib/ui/run_loop.h"
#include "platform/win/log.h"
#include "platform/win/message.h"
#include "platform/win/window.h"

namespace frame {
namespace {

constexpr int kBusinessList = 601;
constexpr int kUserAbbreviation = 999;
constexpr int kKeyboardButton = 236;
constexpr uintptr_t kPriceTimer = 1;
constexpr uint32_t kPriceTimerMs = 30000;
constexpr uint32_t kCheckPrices = 1913;
constexpr uint32_t kClearHelpTopic = 2023;
constexpr uint32_t kAppendHelpTopic = 2022;
constexpr uint32_t kClearWs = 1912;
constexpr size_t kBusinessWidth = 15;

// The messages the toolbar's own procedure sees. It acts on 2220, the timer, 1913, the help topic
// and 1912; keys, painting, 2011 and the socket notifications of other modules' toolbars only
// pass through. Every message goes on to the dialog.
const ui::Filter kHookedMessages = {256,  2023, 2022, 2011, 1975, 1912,
                                    5120, 5121, 15,   275,  1913, 2220};

// A fault of the toolbar's tables in its own work is logged and leaves that part undone.
void Report(const char* what, const std::exception& e) {
  win::Log(std::string("toolbar: ") + what + ": " + e.what());
}

// Marks the list's notifications as our own while the toolbar fills or selects it.
class OwnSelection {
 public:
  explicit OwnSelection(bool& flag) : flag_(flag) { flag_ = true; }
  ~OwnSelection() { flag_ = false; }
  OwnSelection(const OwnSelection&) = delete;
  OwnSelection& operator=(const OwnSelection&) = delete;

 private:
  bool& flag_;
};

}  // namespace

MTOOLBAR* MTOOLBAR::New(ui::WindowObject* frame, const std::string& template_name) {
  frame_rights_ = dynamic_cast<FrameRights*>(frame);
  vActions.clear();
  if (!Init(frame, template_name)) return nullptr;
  keyboard_button_.Init(this, kKeyboardButton);
  Add(keyboard_button_, [](ui::WDIALOG&, ui::WCONTROLWINDOW&, int) -> ui::Result {
    OpenKeyboard();
    return 1;
  });
  oNegocios.Init(this, kBusinessList);
  Add(oNegocios, [this](ui::WDIALOG&, ui::WCONTROLWINDOW&, int notification) {
    return PROC_NEGOCIOS(notification);
  });
  user_abbreviation_.Init(this, kUserAbbreviation);
  auto self = std::static_pointer_cast<MTOOLBAR>(shared_from_this());
  auto below = std::make_shared<int>(0);
  *below = ui::SUBCLASSWINDOW(
      hwnd,
      [self, below](win::Hwnd h, uint32_t m, win::WPARAM w, win::LPARAM l) {
        return self->WndProc(*below, h, m, w, l);
      },
      kHookedMessages);
  try {
    LoadBusinesses();
  } catch (const std::exception& e) {
    Report("NEGOCIOS", e);
  }
  SETNEGOCIO();
  LOAD_TRADUCT(GET_NEGOCIO());
  StartPriceTask();
  return this;
}

void MTOOLBAR::LoadBusinesses() {
  businesses_.clear();
  win::SendMessage(oNegocios.hWnd, win::CB_RESETCONTENT, 0, 0);
  data::AreaSelection keep(data::SelectedArea());
  data::TableHandle table = data::USE({}, "NEGOCIOS", "NEGOCIOS");
  const bool has_logo2 = HasField(*table, "LOGO2");
  OwnSelection own(selecting_);
  for (table->GoTop(); !table->Eof(); table->Skip()) {
    businesses_.push_back({table->FieldGet("CODIGO").str, TrimBlanks(table->FieldGet("LOGO").str),
                           has_logo2 ? TrimBlanks(table->FieldGet("LOGO2").str) : ""});
    const std::string name = TrimBlanks(table->FieldGet("DESCRIP").str);
    win::SendMessage(oNegocios.hWnd, win::CB_ADDSTRING, 0,
                     reinterpret_cast<win::LPARAM>(name.c_str()));
  }
  data::KILLTABLA(table);
}

std::string MTOOLBAR::GET_NEGOCIO() {
  const auto selected = win::SendMessage(oNegocios.hWnd, win::CB_GETCURSEL, 0, 0);
  if (selected < 0 || static_cast<size_t>(selected) >= businesses_.size()) return {};
  const Business& entry = businesses_[selected];
  settings::Current().XLOGOFILE = entry.logo;
  settings::Current().XLOGO2 = entry.logo2;
  return entry.code;
}

void MTOOLBAR::SETNEGOCIO(const std::optional<std::string>& code) {
  for (size_t i = 0; i < businesses_.size(); ++i) {
    if (!code || TrimBlanks(businesses_[i].code) == TrimBlanks(*code)) {
      Select(i);
      Cur_Neg = businesses_[i].code;
      return;
    }
  }
}

void MTOOLBAR::Select(size_t index) {
  OwnSelection own(selecting_);
  win::SendMessage(oNegocios.hWnd, win::CB_SETCURSEL, index, 0);
}

void MTOOLBAR::LOAD_TRADUCT(const std::string& business) {
  std::vector<settings::TermPair>& terms = settings::Current().XTRADUCT;
  terms.clear();
  try {
    data::AreaSelection keep(data::SelectedArea());
    const std::string negocio = PadCut(business, kBusinessWidth);
    data::TableHandle table = data::USE({}, "TRADUCT", "TRADUCT");
    for (table->Seek(negocio); !table->Eof() && table->FieldGet("NEGOCIO").str == negocio;
         table->Skip()) {
      terms.push_back({TrimBlanks(table->FieldGet("SEQUENCE1").str),
                       TrimBlanks(table->FieldGet("SEQUENCE2").str),
                       NumberField(*table, "INCRUSTADO")});
    }
    data::KILLTABLA(table);
  } catch (const std::exception& e) {
    Report("TRADUCT", e);
  }
}

void MTOOLBAR::StartPriceTask() {
  Prec_Auto = 0;
  try {
    data::AreaSelection keep(data::SelectedArea());
    data::TableHandle table = data::USE({}, "F_INV", "F_INV");
    Prec_Auto = HasField(*table, "PREC_AUTO") ? 1 : 0;
    data::KILLTABLA(table);
  } catch (const std::exception& e) {
    Report("F_INV", e);
  }
  if (Prec_Auto == 1) win::SetTimer(hwnd, kPriceTimer, kPriceTimerMs);
}

void MTOOLBAR::CHEQUEA_PRECIOS() {
  if (Prec_Auto == 0) return;
  try {
    frame::CHEQUEA_PRECIOS(Cur_Neg);
  } catch (const std::exception& e) {
    Report("ENC_PPRE", e);
  }
}

ui::Result MTOOLBAR::PROC_NEGOCIOS(int notification) {
  if (notification != win::CBN_SELCHANGE || selecting_) return {};
  const auto selected = win::SendMessage(oNegocios.hWnd, win::CB_GETCURSEL, 0, 0);
  if (selected < 0 || static_cast<size_t>(selected) >= businesses_.size()) return {};
  uName.clear();
  I_am_Out = false;
  change_dialog_ = CHANGE_NEGOCIO::New(this, businesses_[selected].code);
  if (!ChangeDialog()) SETNEGOCIO(Cur_Neg);  // no dialog, no change
  return {};
}

void MTOOLBAR::BusinessChangeFinished() {
  if (uName.empty()) {
    SETNEGOCIO(Cur_Neg);
    return;
  }
  settings::Settings& globals = settings::Current();
  try {
    globals.XU_COMP = GET_NEGOCIO();
    FrameRights& rights = Rights();
    rights.MENU_EDIT.clear();
    LOAD_DERECHOS(uName, *globals.XU_COMP, rights);
    ShowUserAbbreviation();
    rights.MenuSetForBusiness(rights.ACT_NEG);
    Cur_Neg = rights.ACT_NEG;
    CHECK_CAMBIO(Cur_Neg);
    data::AreaSelection keep(data::SelectedArea());
    data::TableHandle table = data::USE({}, "NEGOCIOS", "NEGOCIOS");
    if (HasField(*table, "MANEJO_TC") && table->Seek(PadCut(*globals.XU_COMP, kBusinessWidth))) {
      globals.XMANEJO_TC = NumberField(*table, "MANEJO_TC");
    }
    data::KILLTABLA(table);
  } catch (const std::exception& e) {
    ui::MESSAGE_BOX(e.what(), "ERROR", win::MB_ICONHAND);
  }
}

ui::Result MTOOLBAR::OnDESTROY(win::WPARAM, win::LPARAM) {
  if (auto dialog = ChangeDialog()) {
    dialog->oParent = nullptr;
    win::DestroyWindow(dialog->hWnd);
  }
  return {};
}

void MTOOLBAR::ShowUserAbbreviation() {
  user_abbreviation_._Text(settings::Current().XUSER_ABREVIA);
}

intptr_t MTOOLBAR::WndProc(int below, win::Hwnd h, uint32_t message, win::WPARAM wparam,
                           win::LPARAM lparam) {
  switch (message) {
    case kBusinessChanged:
      BusinessChangeFinished();
      break;
    case win::WM_TIMER:
      if (wparam == kPriceTimer) win::PostMessage(h, kCheckPrices, 0, 0);
      break;
    case kCheckPrices:
      CHEQUEA_PRECIOS();
      break;
    case kClearHelpTopic:
      ID.clear();
      break;
    case kAppendHelpTopic:
      ID += static_cast<char>(wparam);
      break;
    case kClearWs:
      ws_d.clear();
      break;
    default:
      break;
  }
  return ui::CALLWINDOWPROC(below, h, message, wparam, lparam);
}

ui::WindowObject* NewFrameToolbar(ui::WindowObject* frame) {
  auto toolbar = std::make_shared<MTOOLBAR>();
  if (!toolbar->New(frame, "Toolbar")) return nullptr;
  settings::Current().XTBARSELF = toolbar;
  return toolbar.get();
}

MTOOLBAR* FrameToolbar() {
  auto* toolbar = std::any_cast<std::shared_ptr<MTOOLBAR>>(&settings::Current().XTBARSELF);
  return toolbar ? toolbar->get() : nullptr;
}

std::string GET_NEGOCIO() {
  MTOOLBAR* toolbar = FrameToolbar();
  return toolbar ? toolbar->GET_NEGOCIO() : std::string();
}

}  // namespace frame

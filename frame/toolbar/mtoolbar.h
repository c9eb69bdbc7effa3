#pragma once
// The frame's toolbar: the list of the installation's businesses (the current one selected), the
// signed-in user's abbreviation and the on-screen keyboard button. Choosing another business asks
// for a user of it (CHANGE_NEG); an accepted user is signed in when message 2220 arrives. When the
// inventory settings ask for it, pending price lists are applied every 30 seconds.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "frame/toolbar/change_negocio.h"
#include "frame/toolbar/frame_rights.h"
#include "lib/ui/control_window.h"
#include "lib/ui/window_object.h"
#include "lib/ui/wtoolbar_dialog.h"

namespace frame {

class MTOOLBAR : public ui::WTOOLBARDIALOG {
 public:
  // One entry of the business list: CODIGO, LOGO and LOGO2 of a NEGOCIOS record.
  struct Business {
    std::string code;  // 15 characters, as stored
    std::string logo;
    std::string logo2;
  };

  // Creates the strip on `frame` from `template_name` (this module: no command buttons, no
  // cash-register, telephone or web buttons), lists the businesses with the first selected,
  // loads its terms and starts the price-list timer when F_INV has PREC_AUTO. Table faults are
  // reported and leave the part they concern empty. Null when no window was made.
  MTOOLBAR* New(ui::WindowObject* frame, const std::string& template_name);

  // CODIGO of the selected entry; sets XLOGOFILE and XLOGO2 to its logos. Empty without
  // entries.
  std::string GET_NEGOCIO();
  // Selects the first entry (no code) or the first entry carrying `code`, which becomes Cur_Neg.
  void SETNEGOCIO(const std::optional<std::string>& code = std::nullopt);
  // XTRADUCT := the term pairs of TRADUCT for `business`.
  void LOAD_TRADUCT(const std::string& business);
  // A business change has finished (message 2220): signs the accepted user in, or takes the
  // list back to the current business.
  void BusinessChangeFinished();
  // The 30-second price-list task (timer 1).
  void CHEQUEA_PRECIOS();
  // Puts XUSER_ABREVIA into control 999.
  void ShowUserAbbreviation();

  const std::vector<Business>& Businesses() const { return businesses_; }
  // The business-change dialog while it is open.
  std::shared_ptr<CHANGE_NEGOCIO> ChangeDialog() const { return change_dialog_.lock(); }
  // The rights state of a sign-in: the frame's when the frame derives from FrameRights.
  FrameRights& Rights() { return frame_rights_ ? *frame_rights_ : own_rights_; }

  std::string uName;
  bool I_am_Out = false;
  std::string ID;
  std::string ws, ws_d, uComp;
  int Prec_Auto = 0;
  ui::WCOMBOBOX oNegocios;
  std::vector<int> vActions;  // command ids of the buttons; none in this module
  std::string Cur_Neg;

 protected:
  // The business-change dialog does not outlive the toolbar.
  ui::Result OnDESTROY(win::WPARAM wparam, win::LPARAM lparam) override;

 private:
  intptr_t WndProc(int below, win::Hwnd hwnd, uint32_t message, win::WPARAM wparam,
                   win::LPARAM lparam);
  ui::Result PROC_NEGOCIOS(int notification);
  void LoadBusinesses();
  void Select(size_t index);
  void StartPriceTask();

  std::vector<Business> businesses_;
  std::weak_ptr<CHANGE_NEGOCIO> change_dialog_;
  bool selecting_ = false;  // our own selection makes the list notify; only the user's counts
  FrameRights* frame_rights_ = nullptr;
  FrameRights own_rights_;
  ui::WEDIT user_abbreviation_;
  ui::WPUSHBUTTON keyboard_button_;
};

// Creates the toolbar strip of `frame` (no command buttons, no cash-register, telephone or
// web button) and returns its window object; null when it could not be made. The toolbar is
// also XTBARSELF from then on.
ui::WindowObject* NewFrameToolbar(ui::WindowObject* frame);

// The toolbar made by NewFrameToolbar, or null.
MTOOLBAR* FrameToolbar();

// The code of the business the program works for now: GET_NEGOCIO of the frame's toolbar
// (empty without one).
std::string GET_NEGOCIO();

}  // namespace frame

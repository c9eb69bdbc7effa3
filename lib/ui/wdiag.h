#pragma once
// The dialog class that application dialogs derive from: reads its template from the
// program's resources, logs the opening and switches the frame's menu as it is activated.

#include <string>
#include <vector>

#include "lib/ui/wdialog.h"

namespace ui {

class WDIAG : public WDIALOG {
 public:
  // `modal` and `flag` have no effect: every dialog is modeless. Returns this, or null when
  // no window was made.
  WDIAG* Init(WindowObject* parent, const std::string& template_name, bool modal = false,
              bool flag = false, bool tab_flag = false, int position = 0, bool visible = true,
              bool resizable = false);
  // Shows the dialog and installs the menu-switching subclass. Returns 0.
  int Create(const std::string& template_name);

  std::vector<int> FONTS, T_FONTS, FIX_POS;
  std::vector<int> TAB_VARS;  // slot 17 (index 16): the frame shows its menus for this dialog
  std::string cnID_aDlg;

 private:
  intptr_t Subclass(int below, Hwnd h, uint32_t message, WPARAM w, LPARAM l);
};

// Opens `owner`'s modal dialog from the resources, the active child set aside meanwhile.
intptr_t DIALOG_BOX(int instance, const std::string& template_name, Hwnd owner, Callback callback);

}  // namespace ui

#pragma once
// Dialogs made from template descriptions. Positions and sizes in a template are dialog
// units, turned into pixels with the dialog font's metrics (x * base_x / 4, y * base_y / 8).

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win/types.h"

namespace win {

struct DialogItemTemplate {
  std::string class_name;
  int id = 0;
  uint32_t style = 0;
  int x = 0, y = 0, cx = 0, cy = 0;
  std::string text;  // bytes in the program's character set
};

struct DialogTemplate {
  uint32_t style = 0;
  uint32_t ex_style = 0;
  int x = 0, y = 0, cx = 0, cy = 0;
  std::string title;
  std::string font_name;
  int font_size = 8;
  std::vector<DialogItemTemplate> items;
};

struct DialogBaseUnits {
  int x = 6;
  int y = 13;
};
DialogBaseUnits BaseUnitsFor(const std::string& font_name, int point_size);

// Creates a modeless dialog: the window with `dlg_proc` as dialog procedure, its controls,
// then WM_INITDIALOG (wParam the first control, lParam `init_param`). Shown when the
// template style has WS_VISIBLE. Returns 0 when the window cannot be made.
Hwnd CreateDialogIndirect(const DialogTemplate& tmpl, Hwnd parent, WndProc dlg_proc,
                          LPARAM init_param);
// Modal: disables the owner and runs a nested loop until EndDialog; returns its result,
// -1 when the dialog could not be made.
intptr_t DialogBoxIndirect(const DialogTemplate& tmpl, Hwnd owner, WndProc dlg_proc,
                           LPARAM init_param);
// Marks the dialog ended with `result` and hides it; a modal loop then destroys it.
bool EndDialog(Hwnd dialog, intptr_t result);

}  // namespace win

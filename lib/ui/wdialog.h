#pragma once
// Dialogs built from templates inside the frame's MDI client, with a command registry of
// their controls and the bookkeeping of which dialog is the frame's active child.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "lib/ui/kv_wdialog.h"
#include "platform/win/dialog.h"

namespace ui {

class WDIALOG;
// A control's command, validation or enabling callback: (dialog, control, notification).
using ControlCallback = std::function<Result(WDIALOG&, WCONTROLWINDOW&, int)>;

class WDIALOG : public KV_WDIALOG {
 public:
  // Makes the window from `description` (null: the template is missing). Returns this, or
  // null when no window could be made.
  WDIALOG* Init(WindowObject* parent, const std::string& name,
                const win::DialogTemplate* description, int position = 0, bool visible = true,
                bool resizable = false);
  // Registers a control with its callbacks; missing callbacks do nothing.
  WDIALOG& Add(WCONTROLWINDOW& control, ControlCallback command = {}, ControlCallback valid = {},
               ControlCallback when = {});
  // Closes the dialog as if Cancel had been chosen; nothing while it is being created.
  void EndDialog(intptr_t code);
  void OK() { EndDialog(1); }
  virtual intptr_t Cancel() { return 1; }
  std::string Text() const;
  void _Text(const std::string& text);

  std::vector<ControlCallback> abCmd, abValid, abWhen;
  std::vector<int> xItems;
  std::vector<Hwnd> Special_Buttons;
  int Button_Style = 0;
  Result OnCOMMAND(WPARAM wparam, LPARAM lparam) override;

 protected:
  // False for a dialog that lives in its parent window instead of the frame's MDI client; it
  // then takes no part in the bookkeeping of the active child.
  virtual bool IsMdiChild() const { return true; }
  intptr_t DlgProc(Hwnd hwnd, uint32_t message, WPARAM wparam, LPARAM lparam);

 private:
  Result OnCommand(WPARAM wparam, LPARAM lparam);
  Result CommandWithoutControl(WPARAM wparam, LPARAM lparam);
  Result CloseIt(WPARAM wparam, LPARAM lparam);
  void ActivateAsChild(Hwnd hwnd);
  void SubclassSpecialButton(Hwnd button, bool owner_drawn);
  Hwnd MakeWindow(const win::DialogTemplate& description, int position, bool resizable);
};

}  // namespace ui

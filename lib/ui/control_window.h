#pragma once
// Control objects: a window held as an object, and the controls of a dialog.

#include <any>
#include <optional>
#include <string>

#include "lib/ui/window_object.h"
#include "platform/win/types.h"

namespace ui {

class WWINDOWBASE {
 public:
  virtual ~WWINDOWBASE() = default;
  win::Hwnd hWnd = 0;
  std::any Cargo;
  WindowObject* oParent = nullptr;
  intptr_t hDC = 0;
  int nId = 0;
};

class WCONTROLWINDOW : public WWINDOWBASE {
 public:
  virtual std::string WndClass() const = 0;
  virtual uint32_t WndStyle() const = 0;

  // Binds the parent's control `id` (or only remembers the id while the parent has no window
  // yet); with `create` it makes the window itself.
  WCONTROLWINDOW& Init(WindowObject* parent, int id, std::optional<std::string> text = {},
                       bool create = false);
  // Makes the window as a child of the parent; an absent id is made up, an absent position is
  // the default one.
  win::Hwnd Create(const std::string& text, std::optional<int> id = {}, std::optional<int> x = {},
                   std::optional<int> y = {}, int width = 0, int height = 0);
  // The parent dialog has initialised: look the control up when it is still unbound.
  void OnInitDialog();

  std::string Text() const;
  void _Text(const std::string& text);
  void SetFocus();
  void Show(int command = 1);
  bool Visible() const;
  void _Visible(bool visible);
  bool Valid() const { return true; }
  // Destroys a live window after warning that it is done here; always empties hWnd.
  void Axit();
};

class WPUSHBUTTON : public WCONTROLWINDOW {
 public:
  std::string WndClass() const override { return "Button"; }
  uint32_t WndStyle() const override { return 1342242816; }
};

class WEDIT : public WCONTROLWINDOW {
 public:
  std::string WndClass() const override { return "Edit"; }
  uint32_t WndStyle() const override { return 1350631552; }

  bool CanUndo() const;
  void Copy();
  void Cut();
  void Paste();
  bool Undo();
  int Len() const;
  int TextLength() const { return Len(); }
  bool Modified() const;
  void _Modified(bool modified);
  // 1-based {start, end} of the selection.
  std::pair<int, int> Selection() const;
  // An empty selection (nullopt) clears it.
  void _Selection(std::optional<std::pair<int, int>> range);
  int Position() const;
  void _Position(int position);
  std::string CurItem() const;
  void _CurItem(const std::string& text);
};

class WCOMBOBOX : public WCONTROLWINDOW {
 public:
  std::string WndClass() const override { return "ComboBox"; }
  uint32_t WndStyle() const override { return 1344339971; }  // drop-down list
};

class WMLEDIT : public WEDIT {
 public:
  uint32_t WndStyle() const override { return 1350635652; }
};

}  // namespace ui

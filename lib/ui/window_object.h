#pragma once
// Anything that owns a window: dialogs and the application object.

#include "platform/win/types.h"

namespace ui {

class WindowObject {
 public:
  virtual ~WindowObject() = default;
  virtual win::Hwnd WindowHandle() const = 0;
};

}  // namespace ui

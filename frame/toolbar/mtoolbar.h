#pragma once
// The frame's toolbar: the business list and the business change.

#include <string>

#include "lib/ui/window_object.h"

namespace frame {

// Creates the toolbar strip of `frame` (no command buttons, no cash-register, telephone or
// web button) and returns its window object; null when it could not be made.
ui::WindowObject* NewFrameToolbar(ui::WindowObject* frame);

// The code of the business the program works for now.
std::string GET_NEGOCIO();

}  // namespace frame

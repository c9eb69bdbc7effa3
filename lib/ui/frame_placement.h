#pragma once
// The frame's placement kept between runs, in section "Fenster" of the program's settings
// file under the keys <class name>_SHOW, _X, _Y, _CX and _CY.

#include <string>

#include "platform/win/types.h"

namespace ui {

// Writes where the frame sits when neither minimised nor maximised, and how it is shown. A
// settings file that cannot be written is logged; the frame closes all the same.
void SaveFramePlacement(win::Hwnd frame, const std::string& class_name);
// Moves the frame to the saved place. An incomplete or unusable placement (no size, or wholly
// off the screen) is ignored and the frame stays where it is. How it is then shown is the
// caller's choice: _SHOW is only recorded.
void RestoreFramePlacement(win::Hwnd frame, const std::string& class_name);

}  // namespace ui

#pragma once
// The on-screen keyboard (dialog "TECLADO"): its keys type into the edit control the user was
// typing in, for a screen without a physical keyboard.

#include "platform/win/types.h"

namespace frame {

// Opens the keyboard, or brings it forward when it is open. Its keys type into `target` when
// that is a writable edit control, and from then on into the writable edit control outside the
// keyboard that last held the focus.
void OpenKeyboard(win::Hwnd target = 0);

// The keyboard's window, 0 while it is closed.
win::Hwnd KeyboardWindow();
// The edit control the keys type into now, 0 for none.
win::Hwnd KeyboardTarget();

}  // namespace frame

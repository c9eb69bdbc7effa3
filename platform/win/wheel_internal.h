#pragma once
// Internal: wheel turns as window messages. The toolkit hands a wheel turn straight to the
// widget under the pointer; the filter installed here takes it away from the widget and posts
// WM_MOUSEWHEEL to that widget's window instead, so the wheel goes through the queue like any
// other input and the run loop decides where it goes. A window procedure that leaves
// WM_MOUSEWHEEL to DefWindowProc gets the toolkit's own scrolling back.

#include "platform/win/types.h"

namespace win::internal {

// Installs the filter on the application (once).
void InstallWheelFilter();
// Hands a WM_MOUSEWHEEL back to the window's widget as a toolkit wheel turn, past the filter.
void ScrollNatively(Hwnd hwnd, WPARAM wparam, LPARAM lparam);

}  // namespace win::internal

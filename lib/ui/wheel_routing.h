#pragma once
// Where the program's loops send a wheel turn (WM_MOUSEWHEEL, never dispatched as such): to
// the control under the pointer, when that control sits in the frame's active dialog and is
// of a kind that scrolls. Edits scroll by lines (or step a date by a day), combo boxes step
// their selection, browses named in a list box's or scroll bar's text scroll by a line, tree
// views and picture displays are asked to scroll. Anything else ignores the wheel.

#include "platform/win/types.h"

namespace ui {

class WheelRouter {
 public:
  // Serves one WM_MOUSEWHEEL (lParam: pointer on the screen).
  void Route(const win::Msg& wheel);
  // Before a WM_TIMER is dispatched: a browse scrolled by the wheel since the last timer is
  // told that the scrolling has ended (WM_VSCROLL with SB_ENDSCROLL).
  void EndScrollBeforeTimer();

 private:
  win::Hwnd scrolled_ = 0;  // the list box or scroll bar whose text names that browse
};

}  // namespace ui

#pragma once
// Pumps, the application message box and window transparency.

#include <string>

#include "platform/win/message_box.h"
#include "platform/win/types.h"

namespace ui {

// Dispatches every waiting message (the active dialog's included) and returns when the queue
// is empty; with `wheel`, wheel turns are routed as the run loop routes them. Restoring the
// table cursor afterwards is the data layer's part.
void LOCALEXEC(bool wheel = false);
// Removes and dispatches every waiting message, then returns.
void EMPTY_QUEUE();

// Modal box owned by the main frame; the focus goes back where it was. Returns the button.
int MESSAGE_BOX(const std::string& text, const std::string& title = {}, uint32_t type = 0);

bool SETTRANSPARENCY(win::Hwnd hwnd, int alpha);
bool REMOVETRANSPARENCY(win::Hwnd hwnd);
// Fades the window in from `from` in steps of `step`, 1 ms apart, when transparency is on and
// the session is local; then removes the layering.
void RUN_TRANSPARENCY(win::Hwnd hwnd, int from = 0, int step = 5);

}  // namespace ui

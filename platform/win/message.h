#pragma once
// The message queue and its loops.
//
// Posted messages wait in one FIFO and are dispatched in posting order by whichever loop
// runs: the main loop (GetMessage / PeekMessage + DispatchMessage), every nested loop that
// the window system starts (modal dialogs, message boxes; while one runs, a pump object
// drains the FIFO) and explicit pumps. A busy wait processes nothing, so nothing of ours is
// dispatched during it.

#include <cstdint>
#include <functional>

#include "platform/win/types.h"

namespace win {

// Appends to the FIFO; false when `hwnd` is neither 0 (a thread message) nor a live window.
bool PostMessage(Hwnd hwnd, uint32_t msg, WPARAM wparam, LPARAM lparam);
// The same with a plain signature, for components that are handed a function pointer.
int PostMessageForModule(intptr_t hwnd, uint32_t msg, uintptr_t wparam, intptr_t lparam);
// Posts WM_QUIT with the exit code.
void PostQuitMessage(int exit_code);

constexpr uint32_t PM_NOREMOVE = 0;
constexpr uint32_t PM_REMOVE = 1;
// Lets the toolkit run its pending events once (input, timers, repaints), then looks at the
// FIFO. False when it is empty.
bool PeekMessage(Msg* msg, uint32_t remove);
// Waits for the next message; false when it is WM_QUIT.
bool GetMessage(Msg* msg);
// Blocks until something arrives (a message or another event); callers loop.
void WaitMessage();
// Keyboard input reaches the widgets directly, so there is nothing to translate.
bool TranslateMessage(const Msg* msg);
LRESULT DispatchMessage(const Msg* msg);
// Dispatches every message waiting, including those posted meanwhile, then returns. A
// message for which `take` (when given) returns true is consumed by it instead.
void DispatchPending(const std::function<bool(const Msg&)>& take = {});

// Marks a nested loop: while at least one is alive, posted messages are dispatched by the
// pump object from inside that loop.
class NestedLoopScope {
 public:
  NestedLoopScope();
  ~NestedLoopScope();
  NestedLoopScope(const NestedLoopScope&) = delete;
  NestedLoopScope& operator=(const NestedLoopScope&) = delete;
};
int NestingDepth();

// Runs the toolkit's events for a while without dispatching any message of ours and without
// user input: windows repaint during a pause.
void RepaintDuring(int ms);

// Repeating timer: WM_TIMER with wParam = id is posted to `hwnd` every `interval_ms`, never
// more than one waiting at a time. Setting an existing id restarts it. Returns the id, 0 on
// failure.
uintptr_t SetTimer(Hwnd hwnd, uintptr_t id, uint32_t interval_ms);
// Stops the timer and drops its waiting WM_TIMER; false when there was no such timer.
bool KillTimer(Hwnd hwnd, uintptr_t id);
void KillTimersOf(Hwnd hwnd);

}  // namespace win

#pragma once
// Windows with integer handles, classes, window procedures and a user-data slot, kept over
// Qt widgets. All functions run on the GUI thread; a handle that names no live window is
// answered like the classic system does (0, false or an empty text) and never crashes.

#include <string>
#include <string_view>
#include <vector>

#include "platform/win/types.h"

namespace win {

// Creates the Qt application when none exists; every entry point calls it.
void EnsureApplication();
// True when no user can answer a box (no display, or the offscreen platform).
bool IsHeadless();

// Registers a window class; its windows start with `proc` as window procedure. Built-in
// classes ("Button", "Edit", "ListBox", "ComboBox", "Static", "MdiClient", the dialog
// class) exist from the start. Returns false when the name is taken.
bool RegisterClass(const std::string& class_name, WndProc proc);
bool UnregisterClass(const std::string& class_name);

// Makes a window: WM_NCCREATE, WM_CREATE (a -1 result refuses it). `id` is the control id
// of a child. x / y may be kUseDefault. Returns 0 for an unknown class or a refused window.
Hwnd CreateWindowEx(uint32_t ex_style, const std::string& class_name, std::string_view text,
                    uint32_t style, int x, int y, int width, int height, Hwnd parent, int id);
// WM_DESTROY to the window and then to its descendants, WM_NCDESTROY to the descendants and
// last to the window; timers stop and its Qt widget is released once no handler is running.
bool DestroyWindow(Hwnd hwnd);
bool IsWindow(Hwnd hwnd);

intptr_t GetWindowLongPtr(Hwnd hwnd, int index);
// Returns the previous value.
intptr_t SetWindowLongPtr(Hwnd hwnd, int index, intptr_t value);

LRESULT CallWindowProc(WndProc proc, Hwnd hwnd, uint32_t msg, WPARAM wparam, LPARAM lparam);
LRESULT DefWindowProc(Hwnd hwnd, uint32_t msg, WPARAM wparam, LPARAM lparam);
// Calls the window's procedure now and returns its result (0 for a dead window).
LRESULT SendMessage(Hwnd hwnd, uint32_t msg, WPARAM wparam, LPARAM lparam);

// Window text as bytes in the program's 8-bit character set.
std::string GetWindowText(Hwnd hwnd);
bool SetWindowText(Hwnd hwnd, std::string_view text);
std::string GetClassName(Hwnd hwnd);

constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_RESTORE = 9;
// Returns whether the window was visible before.
bool ShowWindow(Hwnd hwnd, int command);
bool IsWindowVisible(Hwnd hwnd);
bool EnableWindow(Hwnd hwnd, bool enable);
bool IsWindowEnabled(Hwnd hwnd);
Hwnd SetFocus(Hwnd hwnd);
Hwnd GetFocus();
bool BringWindowToTop(Hwnd hwnd);

Hwnd GetParent(Hwnd hwnd);
Hwnd GetDlgItem(Hwnd dialog, int id);
int GetDlgCtrlID(Hwnd hwnd);
// Children in creation order.
std::vector<Hwnd> GetChildren(Hwnd hwnd);
// The sibling created after `hwnd` that is still alive, else 0.
Hwnd GetNextSibling(Hwnd hwnd);
// The live window under a point of the screen (deepest child), else 0.
Hwnd WindowFromPoint(int x, int y);

// Position relative to the parent's client area (the screen for top-level windows).
bool MoveWindow(Hwnd hwnd, int x, int y, int width, int height, bool repaint);
Rect GetWindowRect(Hwnd hwnd);
// How a top-level window is shown (SW_SHOWNORMAL, SW_SHOWMINIMIZED or SW_SHOWMAXIMIZED) and
// where it sits when it is neither minimised nor maximised.
struct WindowPlacement {
  int show = SW_SHOWNORMAL;
  Rect normal;
};
WindowPlacement GetWindowPlacement(Hwnd hwnd);
Rect GetClientRect(Hwnd hwnd);
bool InvalidateRect(Hwnd hwnd);

// Layered-window alpha: 0 invisible, 255 opaque.
bool SetLayeredAlpha(Hwnd hwnd, int alpha);
bool RemoveLayered(Hwnd hwnd);
int GetLayeredAlpha(Hwnd hwnd);

// kRemoteSessionMetric answers 0 (no remote session); 0 and 1 give the screen size.
int GetSystemMetrics(uint32_t index);

// Renders the window and its children into a PNG file; false when that fails.
bool SaveWindowImage(Hwnd hwnd, const std::string& path);

}  // namespace win

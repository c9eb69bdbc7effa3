#pragma once
// The handler chain every library window carries: its dialog callback (for dialogs the
// library made) and its subclass chain. Callbacks run newest first; what a callback does not
// consume it passes on with CALLWINDOWPROC. The record is released after WM_NCDESTROY.

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/win/dialog.h"
#include "platform/win/types.h"

namespace ui {

using win::Hwnd;
using win::LPARAM;
using win::WPARAM;

// A callback of (window, message, wParam, lParam); its result is the window procedure's.
using Callback = std::function<intptr_t(Hwnd, uint32_t, WPARAM, LPARAM)>;

// A number takes every message whatever its value; a list only the messages it names.
class Filter {
 public:
  Filter(int) {}  // NOLINT: a number is a filter that takes all
  Filter(std::initializer_list<uint32_t> messages) : all_(false), messages_(messages) {}
  bool Takes(uint32_t message) const;

 private:
  bool all_ = true;
  std::vector<uint32_t> messages_;
};

// Adds `callback` on top of the window's chain; returns the position of the entry below it,
// for CALLWINDOWPROC. Arguments after the filter are ignored. 0 for a dead window or no
// callback.
int SubclassWindow(Hwnd hwnd, Callback callback, const Filter& filter);
template <typename... Ignored>
int SUBCLASSWINDOW(Hwnd hwnd, Callback callback, const Filter& filter, Ignored&&...) {
  return SubclassWindow(hwnd, std::move(callback), filter);
}

// Passes the message down the chain from `position` towards entry 1 (the procedure in place
// before the first subclassing); 0 for a position outside 1 .. chain length - 1.
intptr_t CALLWINDOWPROC(int position, Hwnd hwnd, uint32_t message, WPARAM wparam, LPARAM lparam);

// Modeless dialog from the named template of the program's resources through the
// dialog-procedure adapter: the callback sees WM_INITDIALOG once, with wParam and lParam 0.
// Returns the window, 0 on failure.
Hwnd CREATEDIALOG(int instance, const std::string& template_name, Hwnd parent, Callback callback);
// The same from a description (dialogs the library builds itself).
Hwnd CreateDialogFromDescription(const win::DialogTemplate& description, Hwnd parent,
                                 Callback callback);
// Modal: the callback is attached at the dialog's first message and sees the real
// WM_INITDIALOG; returns the end code, -1 when the template is missing.
intptr_t DIALOGBOX(int instance, const std::string& template_name, Hwnd owner, Callback callback);

// Registers a window class whose procedure is the platform default; behaviour comes only
// from SUBCLASSWINDOW.
bool REGISTERCLASS(const std::string& class_name);

// Whether the window carries a library record (for tests of its lifetime).
bool HasHandlerRecord(Hwnd hwnd);

// The program's dialog templates, by name (case-insensitive); null when absent.
const win::DialogTemplate* FindDialogTemplate(const std::string& name);
// Adds templates in the resource text form; returns the parse error, empty on success.
std::string AddDialogTemplates(std::string_view text);

}  // namespace ui

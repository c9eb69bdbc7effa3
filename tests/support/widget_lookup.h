#pragma once
// Test access to the toolkit side of a window: its widget and where it sits on the screen.

#include <QApplication>
#include <QPoint>
#include <QWidget>

#include "platform/win/types.h"

namespace testing_support {

// The widget that carries `hwnd` (for a dialog in an MDI client: the page inside).
inline QWidget* WidgetOf(win::Hwnd hwnd) {
  QWidget* found = nullptr;
  for (QWidget* w : QApplication::allWidgets()) {
    if (w->property("zvHwnd").toLongLong() != hwnd) continue;
    if (!found || found->isAncestorOf(w)) found = w;
  }
  return found;
}

// The centre of the window on the screen.
inline QPoint ScreenCentre(win::Hwnd hwnd) {
  QWidget* w = WidgetOf(hwnd);
  return w ? w->mapToGlobal(w->rect().center()) : QPoint();
}

// lParam of a mouse message at a point of the screen.
inline win::LPARAM ScreenLParam(QPoint at) {
  return win::MakeLParam(static_cast<uint16_t>(at.x()), static_cast<uint16_t>(at.y()));
}

}  // namespace testing_support

#pragma once
// Internal: the painter that BeginPaint hands out while a widget paints itself.

class QPainter;

#include "platform/win/types.h"

namespace win::internal {

class PaintScope {
 public:
  PaintScope(Hwnd hwnd, QPainter* painter);
  ~PaintScope();
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;

 private:
  Hwnd hwnd_;
};

// The painter of the window being painted now, else null.
QPainter* PainterFor(Hwnd hwnd);

}  // namespace win::internal

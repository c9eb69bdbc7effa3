#pragma once
// Painting: device contexts handed out while a window paints, device bitmaps made from
// device-independent bitmaps (DIBs: a 40-byte info header, colour table and pixel rows, as
// in a BMP file without its 14-byte file header), and a stretched blit.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/win/types.h"

namespace win {

using Hdc = intptr_t;
using Hgdiobj = intptr_t;

// What an owner-drawn control sends its owner in WM_DRAWITEM (lParam points at it).
struct DrawItem {
  Hwnd hwnd = 0;
  int id = 0;
  Hdc hdc = 0;
  Rect rect;
  bool pressed = false;
};

// The device context of a window that is painting now (inside WM_PAINT), else 0.
Hdc BeginPaint(Hwnd hwnd);
void EndPaint(Hwnd hwnd);
// A device context for measuring and making bitmaps; draws nowhere.
Hdc GetDC(Hwnd hwnd);
void ReleaseDC(Hwnd hwnd, Hdc hdc);

// Face of a push button drawn by its owner: a soft gradient, sunken while pressed.
void DrawButtonFace(Hdc hdc, const Rect& rect, std::string_view text, bool pressed, int look);

// A device bitmap from a DIB (uncompressed 1, 4, 8, 24 or 32 bits); 0 when unreadable.
Hgdiobj CreateBitmapFromDib(const uint8_t* dib, size_t size);
// The bitmap description: type, width, height, bytes per row (32-bit each), planes and bits
// per pixel (16-bit each), bits address (32-bit): 24 bytes. Empty for unknown handles.
std::string GetObjectBytes(Hgdiobj object);
bool DeleteObject(Hgdiobj object);

constexpr int HALFTONE = 4;
constexpr uint32_t SRCCOPY = 0x00CC0020;
constexpr uint32_t BLACKNESS = 0x00000042;
constexpr uint32_t WHITENESS = 0x00FF0062;
void SetStretchBltMode(Hdc hdc, int mode);
// Draws the source rectangle of the DIB into the destination rectangle. Without a DIB the
// destination is filled by the raster operation alone (black or white). False when nothing
// was drawn.
bool StretchDIBits(Hdc hdc, int x, int y, int width, int height, const uint8_t* dib, size_t size,
                   int src_x, int src_y, int src_width, int src_height, uint32_t rop);

}  // namespace win

#pragma once
// Bitmap files: loading a BMP into a DIB block, making device bitmaps from it, reading
// object descriptions, and stretching a DIB into a window.

#include <string>
#include <variant>
#include <vector>

#include "platform/win/gdi.h"

namespace ui {

using DibHandle = intptr_t;

// The DIB block of a BMP file (header, colour table, pixels); 0 on any failure.
DibHandle LOADDIB(const std::string& path);
// The bytes of a DIB block, empty for an unknown handle.
const std::vector<uint8_t>& DibBytes(DibHandle dib);
void FreeDib(DibHandle dib);

win::Hgdiobj BITMAPFROMDIB(DibHandle dib, win::Hdc hdc, int palette = 0);
std::string XGETOBJECT(win::Hgdiobj object);
bool STRTCHDIBBLT(win::Hdc hdc, int x, int y, int width, int height, DibHandle dib, int src_x,
                  int src_y, int src_width, int src_height, uint32_t rop);
// {width, height}; {0, 0} for an unknown handle.
std::pair<int, int> GET_DIBSIZE(DibHandle dib);
bool DELETE_OBJECT(win::Hgdiobj object);

using BinValue = std::variant<int64_t, double, std::string>;
// Reads values from `bytes` by a layout such as "int[4],byte[2], long". Reading stops at
// the end of the bytes; an unknown name ends the layout.
std::vector<BinValue> BIN2A(const std::string& bytes, const std::string& layout);

}  // namespace ui

#include "platform/win/gdi.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <cstring>
#include <map>
#include <memory>

#include "platform/win/gdi_internal.h"
#include "platform/win/text_codec.h"
#include "platform/win/window.h"

namespace win {
namespace {

struct DeviceContext {
  Hwnd hwnd = 0;
  QPainter* painter = nullptr;  // null for measuring contexts
  bool smooth = false;
};

std::map<Hdc, DeviceContext>& Contexts() {
  static std::map<Hdc, DeviceContext> contexts;
  return contexts;
}
std::map<Hgdiobj, QImage>& Bitmaps() {
  static std::map<Hgdiobj, QImage> bitmaps;
  return bitmaps;
}
intptr_t next_handle = 0x5000;

DeviceContext* Context(Hdc hdc) {
  auto it = Contexts().find(hdc);
  return it == Contexts().end() ? nullptr : &it->second;
}

uint32_t Read32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}
uint16_t Read16(const uint8_t* p) {
  uint16_t v;
  std::memcpy(&v, p, 2);
  return v;
}

// Decodes an uncompressed DIB; rows are stored bottom-up when the height is positive.
QImage DibToImage(const uint8_t* dib, size_t size) {
  if (!dib || size < 40 || Read32(dib) < 40) return {};
  int32_t width = static_cast<int32_t>(Read32(dib + 4));
  int32_t height = static_cast<int32_t>(Read32(dib + 8));
  uint16_t bits = Read16(dib + 14);
  uint32_t compression = Read32(dib + 16);
  uint32_t colours = Read32(dib + 32);
  if (width <= 0 || height == 0 || width > 30000 || std::abs(height) > 30000) return {};
  if (compression != 0 && compression != 3) return {};
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return {};
  if (colours == 0 && bits <= 8) colours = 1u << bits;
  size_t header = Read32(dib) + (compression == 3 ? 12 : 0);
  size_t table = header + 4ull * (bits <= 8 ? colours : 0);
  size_t stride = ((static_cast<size_t>(bits) * width + 31) / 32) * 4;
  int rows = std::abs(height);
  if (table + stride * rows > size) return {};
  QImage image(width, rows, QImage::Format_RGB32);
  for (int row = 0; row < rows; ++row) {
    const uint8_t* src = dib + table + stride * (height > 0 ? rows - 1 - row : row);
    auto* dst = reinterpret_cast<QRgb*>(image.scanLine(row));
    for (int x = 0; x < width; ++x) {
      if (bits >= 24) {
        const uint8_t* px = src + x * (bits / 8);
        dst[x] = qRgb(px[2], px[1], px[0]);
        continue;
      }
      uint32_t index = bits == 8   ? src[x]
                       : bits == 4 ? (src[x / 2] >> ((x % 2) ? 0 : 4)) & 0xF
                                   : (src[x / 8] >> (7 - x % 8)) & 1;
      if (index >= colours) index = 0;
      const uint8_t* entry = dib + header + 4 * index;
      dst[x] = qRgb(entry[2], entry[1], entry[0]);
    }
  }
  return image;
}

}  // namespace

namespace internal {

// A painting window's context handle is its negated window handle: one at a time per window.
PaintScope::PaintScope(Hwnd hwnd, QPainter* painter) : hwnd_(hwnd) {
  Contexts()[-hwnd] = {hwnd, painter, false};
}
PaintScope::~PaintScope() { Contexts().erase(-hwnd_); }

QPainter* PainterFor(Hwnd hwnd) {
  DeviceContext* dc = Context(-hwnd);
  return dc ? dc->painter : nullptr;
}

}  // namespace internal

Hdc BeginPaint(Hwnd hwnd) { return internal::PainterFor(hwnd) ? -hwnd : 0; }

void EndPaint(Hwnd) {}

Hdc GetDC(Hwnd hwnd) {
  Hdc hdc = next_handle++;
  Contexts()[hdc] = {hwnd, nullptr, false};
  return hdc;
}

void ReleaseDC(Hwnd, Hdc hdc) {
  if (hdc > 0) Contexts().erase(hdc);
}

void DrawButtonFace(Hdc hdc, const Rect& rect, std::string_view text, bool pressed, int look) {
  DeviceContext* dc = Context(hdc);
  if (!dc || !dc->painter) return;
  QPainter& p = *dc->painter;
  QRect r(rect.left, rect.top, rect.right - rect.left - 1, rect.bottom - rect.top - 1);
  QLinearGradient gradient(r.topLeft(), r.bottomLeft());
  QColor light = look == 2 ? QColor(232, 240, 250) : QColor(250, 250, 250);
  QColor dark = look == 2 ? QColor(180, 200, 225) : QColor(205, 205, 205);
  gradient.setColorAt(0, pressed ? dark : light);
  gradient.setColorAt(1, pressed ? light : dark);
  p.setBrush(gradient);
  p.setPen(QColor(128, 128, 128));
  p.drawRoundedRect(r, 3, 3);
  p.setPen(Qt::black);
  p.drawText(r.translated(pressed ? 1 : 0, pressed ? 1 : 0), Qt::AlignCenter | Qt::TextWordWrap,
             FromAnsi(text));
}

Hgdiobj CreateBitmapFromDib(const uint8_t* dib, size_t size) {
  QImage image = DibToImage(dib, size);
  if (image.isNull()) return 0;
  Hgdiobj handle = next_handle++;
  Bitmaps()[handle] = std::move(image);
  return handle;
}

std::string GetObjectBytes(Hgdiobj object) {
  auto it = Bitmaps().find(object);
  if (it == Bitmaps().end()) return {};
  const QImage& image = it->second;
  int32_t fields[4] = {0, image.width(), image.height(), image.width() * 4};
  int16_t planes_bits[2] = {1, 32};
  uint32_t bits_address = 0;  // the pixels live in the toolkit, not at an address of ours
  std::string bytes(24, '\0');
  std::memcpy(bytes.data(), fields, 16);
  std::memcpy(bytes.data() + 16, planes_bits, 4);
  std::memcpy(bytes.data() + 20, &bits_address, 4);
  return bytes;
}

bool DeleteObject(Hgdiobj object) { return Bitmaps().erase(object) > 0; }

void SetStretchBltMode(Hdc hdc, int mode) {
  if (DeviceContext* dc = Context(hdc)) dc->smooth = mode == HALFTONE;
}

bool StretchDIBits(Hdc hdc, int x, int y, int width, int height, const uint8_t* dib, size_t size,
                   int src_x, int src_y, int src_width, int src_height, uint32_t rop) {
  DeviceContext* dc = Context(hdc);
  if (!dc || !dc->painter) return false;
  QRect target(x, y, width, height);
  if (!dib) {
    if (rop != BLACKNESS && rop != WHITENESS) return false;
    dc->painter->fillRect(target, rop == BLACKNESS ? Qt::black : Qt::white);
    return true;
  }
  QImage image = DibToImage(dib, size);
  if (image.isNull()) return false;
  dc->painter->setRenderHint(QPainter::SmoothPixmapTransform, dc->smooth);
  dc->painter->drawImage(target, image, QRect(src_x, src_y, src_width, src_height));
  return true;
}

}  // namespace win

// The frame's picture painting into control -9001 of a dialog.
#include <filesystem>
#include <variant>

#include "lib/settings/settings.h"
#include "lib/ui/app.h"
#include "lib/ui/globals.h"
#include "platform/progdir/program_dir.h"
#include "platform/win/window.h"

namespace ui {
namespace {

constexpr int kPictureControl = -9001;

// The picture's size as a device bitmap reports it (a top-down DIB's height is positive
// there); {0, 0} when no bitmap can be made of it.
std::pair<int64_t, int64_t> MeasuredSize(DibHandle dib) {
  win::Hdc hdc = win::GetDC(settings::Current().XAPPHANDLE);
  win::Hgdiobj bitmap = BITMAPFROMDIB(dib, hdc, 0);
  std::vector<BinValue> fields = BIN2A(XGETOBJECT(bitmap).substr(0, 22), "int[4],byte[2], long");
  DELETE_OBJECT(bitmap);
  win::ReleaseDC(settings::Current().XAPPHANDLE, hdc);
  if (fields.size() < 3) return {0, 0};
  return {std::get<int64_t>(fields[1]), std::get<int64_t>(fields[2])};
}

}  // namespace

MDIFRAME::~MDIFRAME() { FreeDib(v_Datos.dib); }

void MDIFRAME::DO_FOTO(const std::string& file_name, Hwnd dialog) {
  if (file_name.empty()) return;
  std::filesystem::path path =
      std::filesystem::path(progdir::ProgramDirectory()) / "BMP" / file_name;
  FreeDib(v_Datos.dib);
  v_Datos = {LOADDIB(path.string()), "BMP"};
  Hwnd control = win::GetDlgItem(dialog, kPictureControl);
  win::InvalidateRect(control);
  SUBCL_FOTO(control);
}

void MDIFRAME::SUBCL_FOTO(Hwnd control) {
  // A control subclassed again would paint the picture once more for every call.
  if (!win::IsWindow(control) || !picture_controls_.insert(control).second) return;
  auto below = std::make_shared<int>(0);
  *below = SUBCLASSWINDOW(control,
                          [this, below](Hwnd h, uint32_t m, WPARAM w, LPARAM l) {
                            return WndProcFoto(*below, h, m, w, l);
                          },
                          {win::WM_PAINT});
}

intptr_t MDIFRAME::WndProcFoto(int below, Hwnd control, uint32_t message, WPARAM wparam,
                               LPARAM lparam) {
  win::Hdc hdc = win::BeginPaint(control);
  if (hdc && v_Datos.dib) {
    auto [width, height] = MeasuredSize(v_Datos.dib);
    if (width > 0 && height > 0) {
      int drawn_width = win::GetClientRect(control).right;
      auto drawn_height = static_cast<int>(drawn_width * height / width);
      win::SetStretchBltMode(hdc, win::HALFTONE);
      STRTCHDIBBLT(hdc, 0, 0, drawn_width, drawn_height, v_Datos.dib, 0, 0, static_cast<int>(width),
                   static_cast<int>(height), win::SRCCOPY);
    }
  }
  win::EndPaint(control);
  return CALLWINDOWPROC(below, control, message, wparam, lparam);
}

}  // namespace ui

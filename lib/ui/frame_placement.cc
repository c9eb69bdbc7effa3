#include "lib/ui/frame_placement.h"

#include <climits>

#include "platform/win/log.h"
#include "platform/win/profile.h"
#include "platform/win/window.h"

namespace ui {
namespace {

constexpr char kSection[] = "Fenster";
constexpr int kMissing = INT_MIN;
constexpr int kLargestSide = 32767;

}  // namespace

void SaveFramePlacement(win::Hwnd frame, const std::string& class_name) {
  if (!win::IsWindow(frame)) return;
  win::WindowPlacement placement = win::GetWindowPlacement(frame);
  const win::Rect& r = placement.normal;
  const std::pair<const char*, int> values[] = {{"_SHOW", placement.show},
                                                {"_X", r.left},
                                                {"_Y", r.top},
                                                {"_CX", r.right - r.left},
                                                {"_CY", r.bottom - r.top}};
  for (const auto& [suffix, value] : values) {
    if (!win::WriteProfileString(kSection, class_name + suffix, std::to_string(value))) {
      win::Log("frame placement not saved: cannot write " + win::ProfilePath());
      return;
    }
  }
}

void RestoreFramePlacement(win::Hwnd frame, const std::string& class_name) {
  int x = win::GetProfileInt(kSection, class_name + "_X", kMissing);
  int y = win::GetProfileInt(kSection, class_name + "_Y", kMissing);
  int cx = win::GetProfileInt(kSection, class_name + "_CX", kMissing);
  int cy = win::GetProfileInt(kSection, class_name + "_CY", kMissing);
  if (x == kMissing || y == kMissing || cx <= 0 || cy <= 0 || cx > kLargestSide ||
      cy > kLargestSide) {
    return;
  }
  // A placement saved on a larger or second screen must not hide the frame.
  int screen_width = win::GetSystemMetrics(0), screen_height = win::GetSystemMetrics(1);
  bool on_screen = x < screen_width && y<screen_height&& static_cast<int64_t>(x) + cx> 0 &&
                   static_cast<int64_t>(y) + cy > 0;
  if (on_screen) win::MoveWindow(frame, x, y, cx, cy, true);
}

}  // namespace ui

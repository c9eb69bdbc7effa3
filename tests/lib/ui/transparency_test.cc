// Window transparency: alpha kept within 0..255, layering on and off.
#include <gtest/gtest.h>

#include <cstdlib>

#include "lib/ui/run_loop.h"
#include "platform/win/window.h"

namespace {

const bool kOffscreen = (setenv("QT_QPA_PLATFORM", "offscreen", 1), true);

TEST(TransparencyTest, AlphaIsClampedAndLayeringRemovedAgain) {
  win::EnsureApplication();
  win::RegisterClass("Layered", &win::DefWindowProc);
  win::Hwnd hwnd = win::CreateWindowEx(0, "Layered", "", 0, 0, 0, 50, 50, 0, 0);
  struct Case {
    int asked;
    int alpha;
  } cases[] = {{300, 255}, {-5, 0}, {0, 0}, {128, 128}, {255, 255}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.asked);
    EXPECT_TRUE(ui::SETTRANSPARENCY(hwnd, c.asked));
    EXPECT_EQ(win::GetLayeredAlpha(hwnd), c.alpha);
    EXPECT_TRUE(win::GetWindowLongPtr(hwnd, win::GWL_EXSTYLE) & win::WS_EX_LAYERED);
  }
  EXPECT_TRUE(ui::REMOVETRANSPARENCY(hwnd));
  EXPECT_FALSE(win::GetWindowLongPtr(hwnd, win::GWL_EXSTYLE) & win::WS_EX_LAYERED);
  EXPECT_EQ(win::GetLayeredAlpha(hwnd), 255);
  win::DestroyWindow(hwnd);
  EXPECT_FALSE(ui::SETTRANSPARENCY(hwnd, 10)) << "a dead window is answered, not touched";
}

}  // namespace

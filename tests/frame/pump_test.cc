// MULTITASK pumps the waiting messages only on every n-th call, never inside itself.
#include "frame/pump.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "lib/settings/settings.h"
#include "platform/win/message.h"
#include "platform/win/window.h"

namespace {

int g_delivered = 0;
bool g_inside_pump = false;

win::LRESULT CountingProc(win::Hwnd hwnd, uint32_t message, win::WPARAM w, win::LPARAM l) {
  if (message == win::WM_USER) {
    ++g_delivered;
    if (g_inside_pump) frame::MULTITASK(1, true);  // from inside a pump: returns at once
    return 0;
  }
  return win::DefWindowProc(hwnd, message, w, l);
}

TEST(PumpTest, MultitaskPumpsOnEveryNthCallUnlessForced) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  win::EnsureApplication();
  ASSERT_TRUE(win::RegisterClass("PumpTestWindow", CountingProc));
  win::Hwnd window = win::CreateWindowEx(0, "PumpTestWindow", "", 0, 0, 0, 10, 10, 0, 0);
  ASSERT_NE(window, 0);

  struct Case {
    int divisor;
    bool force;
    std::string pumped;  // per call: 1 when the waiting message was delivered
  };
  const Case cases[] = {
      {3, false, "001001"},
      {1, false, "111111"},
      {0, false, "111111"},
      {3, true, "111111"},
  };
  for (const Case& c : cases) {
    settings::Reset();
    settings::Current().XMULTITASK = {1, c.divisor};
    std::string pumped;
    for (size_t call = 0; call < c.pumped.size(); ++call) {
      win::PostMessage(window, win::WM_USER, 0, 0);
      g_delivered = 0;
      g_inside_pump = true;
      frame::MULTITASK(1, c.force);
      g_inside_pump = false;
      pumped += g_delivered ? '1' : '0';
      win::DispatchPending();
    }
    EXPECT_EQ(pumped, c.pumped) << "divisor " << c.divisor << " force " << c.force;
    EXPECT_EQ(settings::Current().XINMULTITASK, 0);
  }
  win::DestroyWindow(window);
}

}  // namespace

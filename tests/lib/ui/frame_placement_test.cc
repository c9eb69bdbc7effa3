// The frame's placement saved when it closes and restored when it is shown.
#include "lib/ui/frame_placement.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>

#include "lib/ui/app.h"
#include "platform/progdir/program_dir.h"
#include "platform/win/message.h"
#include "platform/win/profile.h"
#include "platform/win/window.h"
#include "tests/support/temp_dir.h"

namespace {

const bool kOffscreen = (setenv("QT_QPA_PLATFORM", "offscreen", 1), true);

class PlacementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    win::EnsureApplication();
    progdir::SetProgramDirectory(dir_.path().string());
  }
  void TearDown() override {
    if (frame_ && win::IsWindow(frame_->hwnd)) win::DestroyWindow(frame_->hwnd);
    win::Msg msg;
    while (win::PeekMessage(&msg, win::PM_REMOVE)) {
    }
    progdir::SetProgramDirectory("");
  }

  ui::MDIFRAME& NewFrame() {
    if (frame_ && win::IsWindow(frame_->hwnd)) win::DestroyWindow(frame_->hwnd);
    win::UnregisterClass("PLACED");
    frame_ = std::make_unique<ui::MDIFRAME>();
    EXPECT_TRUE(frame_->Init("PLACED", "placed"));
    return *frame_;
  }

  testing_support::TempDir dir_;
  std::unique_ptr<ui::MDIFRAME> frame_;
};

TEST_F(PlacementTest, ClosingSavesTheNormalPlaceAndShowingRestoresIt) {
  struct Case {
    int show;
    const char* saved_show;
  } cases[] = {{win::SW_SHOWNORMAL, "1"}, {win::SW_SHOWMAXIMIZED, "3"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.show);
    ui::MDIFRAME& frame = NewFrame();
    win::MoveWindow(frame.hwnd, 30, 40, 500, 300, false);
    win::ShowWindow(frame.hwnd, c.show);
    win::SendMessage(frame.hwnd, win::WM_CLOSE, 0, 0);
    EXPECT_FALSE(win::IsWindow(frame.hwnd));
    EXPECT_EQ(win::GetProfileString("Fenster", "PLACED_SHOW", ""), c.saved_show);
    EXPECT_EQ(win::GetProfileString("Fenster", "PLACED_X", ""), "30");
    EXPECT_EQ(win::GetProfileString("Fenster", "PLACED_CY", ""), "300");

    ui::MDIFRAME& again = NewFrame();
    again.Show(win::SW_SHOWNORMAL);
    win::Rect r = win::GetWindowRect(again.hwnd);
    EXPECT_EQ(r.left, 30);
    EXPECT_EQ(r.top, 40);
    EXPECT_EQ(r.right - r.left, 500);
    EXPECT_EQ(r.bottom - r.top, 300);
  }
}

TEST_F(PlacementTest, UnusablePlacementsLeaveTheFrameWhereItIs) {
  auto shown_at = [this] {
    ui::MDIFRAME& frame = NewFrame();
    frame.Show(win::SW_SHOWNORMAL);
    return win::GetWindowRect(frame.hwnd);
  };
  win::Rect unplaced = shown_at();
  const char* profiles[] = {
      "[Fenster]\nPLACED_X=30\nPLACED_Y=40\nPLACED_CX=500\n",
      "[Fenster]\nPLACED_X=30\nPLACED_Y=40\nPLACED_CX=0\nPLACED_CY=300\n",
      "[Fenster]\nPLACED_X=abc\nPLACED_Y=40\nPLACED_CX=500\nPLACED_CY=300\n",
      "[Fenster]\nPLACED_X=50000\nPLACED_Y=40\nPLACED_CX=500\nPLACED_CY=300\n",
      "[Fenster]\nPLACED_X=-900\nPLACED_Y=40\nPLACED_CX=500\nPLACED_CY=300\n",
      "[Fenster]\nPLACED_X=30\nPLACED_Y=40\nPLACED_CX=2147483647\nPLACED_CY=300\n",
  };
  for (const char* profile : profiles) {
    SCOPED_TRACE(profile);
    std::ofstream(win::ProfilePath(), std::ios::binary | std::ios::trunc) << profile;
    win::Rect placed = shown_at();
    EXPECT_EQ(placed.left, unplaced.left);
    EXPECT_EQ(placed.right, unplaced.right);
    EXPECT_EQ(placed.bottom, unplaced.bottom);
  }
}

TEST_F(PlacementTest, FrameWithoutSavingTouchesNoFile) {
  ui::MDIFRAME& frame = NewFrame();
  frame.lSavePos = false;
  win::SendMessage(frame.hwnd, win::WM_CLOSE, 0, 0);
  EXPECT_FALSE(std::ifstream(win::ProfilePath()).good());
}

}  // namespace

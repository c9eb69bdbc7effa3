// The run loop's wheel routing: which control a turn reaches and what it is told.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "lib/ui/app.h"
#include "lib/ui/handler_chain.h"
#include "lib/ui/run_loop.h"
#include "lib/ui/wdiag.h"
#include "platform/win/message.h"
#include "platform/win/window.h"
#include "tests/support/widget_lookup.h"

namespace {

const bool kOffscreen = (setenv("QT_QPA_PLATFORM", "offscreen", 1), true);

constexpr char kTemplate[] = R"(
DIALOG WHEELTEST
  SIZE 200 120
  STYLE WS_VISIBLE WS_CAPTION
  CAPTION "wheel"
  FONT 8 "MS Sans Serif"
  CONTROL 10 Edit "" 2 2 90 40 WS_VISIBLE ES_MULTILINE
  CONTROL 11 Edit "" 2 46 60 12 WS_VISIBLE
  CONTROL 12 ComboBox "" 2 62 60 12 WS_VISIBLE CBS_DROPDOWNLIST
  CONTROL 13 ListBox "" 100 2 90 40 WS_VISIBLE
  CONTROL 14 Button "TREEVIEW_CLASS" 100 46 60 12 WS_VISIBLE
  CONTROL 15 Button "DISP_META_CLASS" 100 62 60 12 WS_VISIBLE
  CONTROL 16 Static "label" 100 80 60 12 WS_VISIBLE
END
)";

struct Seen {
  win::Hwnd hwnd;
  uint32_t message;
  win::WPARAM wparam;
  win::LPARAM lparam;
  friend bool operator==(const Seen&, const Seen&) = default;
};

class WheelRoutingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    win::EnsureApplication();
    ASSERT_EQ(ui::AddDialogTemplates(kTemplate), "");
    static int frames = 0;
    frame_ = std::make_unique<ui::MDIFRAME>();
    ASSERT_TRUE(frame_->Init("WheelFrame" + std::to_string(++frames), "frame"));
    win::MoveWindow(frame_->hwnd, 0, 0, 700, 500, false);
    frame_->Show(win::SW_SHOWNORMAL);
    dialog_ = std::make_shared<ui::WDIAG>();
    ASSERT_NE(dialog_->Init(frame_.get(), "WHEELTEST"), nullptr);
    browse_ = win::CreateWindowEx(0, "Static", "browse", 0, 0, 0, 10, 10, 0, 0);
    win::SetWindowText(Control(13), "B\t" + std::to_string(browse_) + "\t7");
    // Edits report the lines they are asked to scroll.
    ui::SUBCLASSWINDOW(
        Control(10),
        [this](win::Hwnd h, uint32_t m, win::WPARAM w, win::LPARAM l) {
          if (m == win::EM_LINESCROLL) scrolled_.push_back({h, m, w, l});
          return ui::CALLWINDOWPROC(1, h, m, w, l);
        },
        0);
    Drain();
  }
  void TearDown() override {
    win::DestroyWindow(browse_);
    win::DestroyWindow(frame_->hwnd);
    Drain();
  }

  win::Hwnd Control(int id) { return win::GetDlgItem(dialog_->hwnd, id); }

  // Posts a turn over the control, then WM_QUIT, and runs the loop; what it left queued.
  std::vector<Seen> TurnOver(int id, int16_t delta, uint16_t keys = 0) {
    QPoint at = testing_support::ScreenCentre(Control(id));
    win::PostMessage(Control(id), win::WM_MOUSEWHEEL,
                     win::MakeWParam(keys, static_cast<uint16_t>(delta)),
                     testing_support::ScreenLParam(at));
    win::PostQuitMessage(0);
    frame_->EXEC22();
    return Drain();
  }

  std::vector<Seen> Drain() {
    std::vector<Seen> left;
    win::Msg msg;
    while (win::PeekMessage(&msg, win::PM_REMOVE)) {
      left.push_back({msg.hwnd, msg.message, msg.wparam, msg.lparam});
    }
    return left;
  }

  std::unique_ptr<ui::MDIFRAME> frame_;
  std::shared_ptr<ui::WDIAG> dialog_;
  win::Hwnd browse_ = 0;
  std::vector<Seen> scrolled_;
};

TEST_F(WheelRoutingTest, EditsScrollByLinesAwayMeaningUp) {
  struct Case {
    int16_t delta;
    uint16_t keys;
    win::LPARAM lines;
  } cases[] = {{120, 0, -2}, {-120, 0, 2}, {120, win::MK_CONTROL, -6}, {-240, win::MK_CONTROL, 6}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lines);
    scrolled_.clear();
    EXPECT_TRUE(TurnOver(10, c.delta, c.keys).empty());
    EXPECT_EQ(scrolled_, (std::vector<Seen>{{Control(10), win::EM_LINESCROLL, 0, c.lines}}));
  }
}

TEST_F(WheelRoutingTest, DateInAnEditMovesByADay) {
  struct Case {
    const char* text;
    int16_t delta;
    const char* after;
  } cases[] = {
      {"01/03/24", 120, "29/02/24"},     // away: one day earlier
      {"31/12/99", -120, "01/01/00"},    // two-digit years before 80 are this century
      {"28/02/2023", -120, "01/03/23"},  // written back in the program's format
      {"31/02/24", 120, "31/02/24"},     // no such day: an ordinary edit
      {"12/34/5678x", 120, "12/34/5678x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    win::SetWindowText(Control(11), c.text);
    TurnOver(11, c.delta);
    EXPECT_EQ(win::GetWindowText(Control(11)), c.after);
  }
}

TEST_F(WheelRoutingTest, OtherControlsGetTheirOwnRequests) {
  win::Hwnd combo = Control(12), tree = Control(14);
  EXPECT_EQ(TurnOver(12, 120), (std::vector<Seen>{{combo, win::WM_KEYDOWN, win::VK_UP, 0},
                                                  {combo, win::WM_KEYUP, win::VK_UP, 0}}));
  EXPECT_EQ(TurnOver(12, -120, win::MK_CONTROL),
            (std::vector<Seen>{{combo, win::WM_KEYDOWN, win::VK_DOWN, 0},
                               {combo, win::WM_KEYDOWN, win::VK_DOWN, 0},
                               {combo, win::WM_KEYDOWN, win::VK_DOWN, 0},
                               {combo, win::WM_KEYUP, win::VK_DOWN, 0}}));
  EXPECT_EQ(TurnOver(14, -120), (std::vector<Seen>{{tree, win::WM_VSCROLL, win::SB_LINEDOWN, 0}}));
  EXPECT_EQ(TurnOver(15, 120), (std::vector<Seen>{{dialog_->hwnd, 1046, 0, 0}}));
  EXPECT_EQ(TurnOver(15, -120), (std::vector<Seen>{{dialog_->hwnd, 1045, 0, 0}}));
  EXPECT_TRUE(TurnOver(16, 120).empty()) << "a static text ignores the wheel";
}

TEST_F(WheelRoutingTest, BrowseNamedByAListBoxScrollsAndHearsTheEndAtTheNextTimer) {
  win::PostMessage(Control(13), win::WM_MOUSEWHEEL, win::MakeWParam(0, 120),
                   testing_support::ScreenLParam(testing_support::ScreenCentre(Control(13))));
  win::PostMessage(dialog_->hwnd, win::WM_TIMER, 1, 0);
  win::PostMessage(dialog_->hwnd, win::WM_TIMER, 1, 0);
  win::PostQuitMessage(0);
  frame_->EXEC22();
  EXPECT_EQ(Drain(), (std::vector<Seen>{{browse_, win::WM_VSCROLL, win::SB_LINEUP, 7},
                                        {browse_, win::WM_VSCROLL, win::SB_ENDSCROLL, 7}}));
}

TEST_F(WheelRoutingTest, OnlyTheActiveDialogsControlsAreServed) {
  frame_->ACTIVE_CHILD = frame_->hwnd;
  scrolled_.clear();
  EXPECT_TRUE(TurnOver(12, 120).empty());
  EXPECT_TRUE(TurnOver(10, 120).empty());
  EXPECT_TRUE(scrolled_.empty());
}

TEST_F(WheelRoutingTest, LocalExecRoutesTheWheelOnlyWhenAsked) {
  QPoint at = testing_support::ScreenCentre(Control(10));
  for (bool wheel : {false, true}) {
    SCOPED_TRACE(wheel);
    scrolled_.clear();
    win::PostMessage(Control(10), win::WM_MOUSEWHEEL, win::MakeWParam(0, 120),
                     testing_support::ScreenLParam(at));
    ui::LOCALEXEC(wheel);
    EXPECT_EQ(scrolled_.size(), wheel ? 1u : 0u);
  }
}

}  // namespace

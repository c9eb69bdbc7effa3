// The handler chain: filters, positions, the dialog adapter and argument marshalling.
#include "lib/ui/handler_chain.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "lib/ui/messages.h"
#include "platform/win/window.h"

namespace {

const bool kOffscreen = (setenv("QT_QPA_PLATFORM", "offscreen", 1), true);

class ChainTest : public ::testing::Test {
 protected:
  void SetUp() override {
    win::EnsureApplication();
    ui::REGISTERCLASS("ChainTest");
    hwnd_ = win::CreateWindowEx(0, "ChainTest", "", 0, 0, 0, 10, 10, 0, 0);
  }
  win::Hwnd hwnd_ = 0;
};

TEST_F(ChainTest, NumericFilterTakesEveryMessageAndListFilterOnlyItsOwn) {
  std::vector<uint32_t> all, paint_only;
  ui::SUBCLASSWINDOW(
      hwnd_,
      [&](win::Hwnd, uint32_t m, win::WPARAM, win::LPARAM) {
        all.push_back(m);
        return intptr_t{0};
      },
      1975, 1976);
  int below = 0;
  below = ui::SUBCLASSWINDOW(hwnd_,
                             [&](win::Hwnd h, uint32_t m, win::WPARAM w, win::LPARAM l) {
                               paint_only.push_back(m);
                               return ui::CALLWINDOWPROC(below, h, m, w, l);
                             },
                             {15});
  EXPECT_EQ(below, 2);
  win::SendMessage(hwnd_, 15, 0, 0);
  win::SendMessage(hwnd_, 2000, 0, 0);
  EXPECT_EQ(paint_only, (std::vector<uint32_t>{15}));
  EXPECT_EQ(all, (std::vector<uint32_t>{15, 2000}));  // the first reached through position 2
  EXPECT_EQ(ui::CALLWINDOWPROC(3, hwnd_, 15, 0, 0), 0);
  EXPECT_EQ(ui::CALLWINDOWPROC(0, hwnd_, 15, 0, 0), 0);
}

TEST_F(ChainTest, SecondCallbackPassesDownToFirstThenToPreviousProcedure) {
  std::vector<std::string> trail;
  int first_below = ui::SUBCLASSWINDOW(
      hwnd_,
      [&](win::Hwnd h, uint32_t m, win::WPARAM w, win::LPARAM l) {
        trail.push_back("first");
        return ui::CALLWINDOWPROC(1, h, m, w, l);
      },
      0);
  int second_below = ui::SUBCLASSWINDOW(
      hwnd_,
      [&](win::Hwnd h, uint32_t m, win::WPARAM w, win::LPARAM l) {
        trail.push_back("second");
        return ui::CALLWINDOWPROC(2, h, m, w, l);
      },
      0);
  EXPECT_EQ(first_below, 1);
  EXPECT_EQ(second_below, 2);
  ui::SETWINDOWTEXT(hwnd_, "abc");  // the previous (default) procedure stores the text
  EXPECT_EQ(trail, (std::vector<std::string>{"second", "first"}));
  EXPECT_EQ(ui::GETWINDOWTEXT(hwnd_), "abc");
  EXPECT_TRUE(ui::HasHandlerRecord(hwnd_));
  win::DestroyWindow(hwnd_);
  EXPECT_FALSE(ui::HasHandlerRecord(hwnd_));  // released after WM_NCDESTROY
}

TEST_F(ChainTest, CreateDialogCallbackSeesInitDialogOnceWithZeroParameters) {
  std::vector<std::pair<win::WPARAM, win::LPARAM>> inits;
  win::Hwnd dialog =
      ui::CREATEDIALOG(0, "EXCHANGE", 0, [&](win::Hwnd, uint32_t m, win::WPARAM w, win::LPARAM l) {
        if (m == win::WM_INITDIALOG) inits.emplace_back(w, l);
        return intptr_t{0};
      });
  ASSERT_NE(dialog, 0);
  EXPECT_EQ(inits, (std::vector<std::pair<win::WPARAM, win::LPARAM>>{{0, 0}}));
  win::DestroyWindow(dialog);
  EXPECT_FALSE(ui::HasHandlerRecord(dialog));
  EXPECT_EQ(ui::CREATEDIALOG(0, "MISSING", 0, [](auto...) { return intptr_t{0}; }), 0);
}

TEST_F(ChainTest, MarshallingPassesCopiesAndWritesBackReferences) {
  std::string mine = "8080";
  ui::SENDMESSAGE(hwnd_, win::WM_SETTEXT, 0, mine);
  EXPECT_EQ(ui::GETWINDOWTEXT(hwnd_), "8080");
  // A callback that scribbles on the buffer it is given.
  ui::SUBCLASSWINDOW(
      hwnd_,
      [](win::Hwnd h, uint32_t m, win::WPARAM w, win::LPARAM l) {
        if (m == win::WM_USER && l) reinterpret_cast<char*>(l)[0] = 'X';
        if (m == win::WM_USER && w) *reinterpret_cast<int32_t*>(w) += 1;
        return ui::CALLWINDOWPROC(1, h, m, w, l);
      },
      0);
  ui::SENDMESSAGE(hwnd_, win::WM_USER, 0, mine);
  EXPECT_EQ(mine, "8080");  // a copy went
  int64_t count = 41;
  ui::SENDMESSAGE(hwnd_, win::WM_USER, ui::Ref(count), ui::Ref(mine));
  EXPECT_EQ(mine, "X080");
  EXPECT_EQ(count, 42);
  std::string buffer(10, ' ');
  ui::SENDMESSAGE(hwnd_, win::WM_GETTEXT, 10, ui::Ref(buffer));
  EXPECT_EQ(buffer, "8080");  // cut at the first zero byte
}

}  // namespace

// Wheel turns become queued WM_MOUSEWHEEL messages; left to DefWindowProc they scroll natively.
#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QWheelEvent>
#include <cstdlib>
#include <vector>

#include "platform/win/message.h"
#include "platform/win/window.h"
#include "tests/support/widget_lookup.h"

namespace {

const bool kOffscreen = (setenv("QT_QPA_PLATFORM", "offscreen", 1), true);

using testing_support::ScreenCentre;
using testing_support::WidgetOf;

std::vector<uint16_t> notifications;

win::LRESULT OwnerProc(win::Hwnd h, uint32_t msg, win::WPARAM w, win::LPARAM l) {
  if (msg == win::WM_COMMAND) notifications.push_back(win::HiWord(w));
  return win::DefWindowProc(h, msg, w, l);
}

class WheelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    win::EnsureApplication();
    win::RegisterClass("WheelOwner", &OwnerProc);
    owner_ = win::CreateWindowEx(0, "WheelOwner", "owner", win::WS_VISIBLE, 0, 0, 400, 300, 0, 0);
    edit_ = win::CreateWindowEx(0, "Edit", "", win::WS_CHILD | win::WS_VISIBLE | win::ES_MULTILINE,
                                10, 10, 200, 100, owner_, 10);
    std::string text;
    for (int i = 0; i < 100; ++i) text += "line " + std::to_string(i) + "\r\n";
    win::SetWindowText(edit_, text);
    win::SendMessage(edit_, win::EM_LINESCROLL, 0, 50);
    win::Msg drained;
    while (win::PeekMessage(&drained, win::PM_REMOVE)) {
    }
    notifications.clear();
  }
  void TearDown() override { win::DestroyWindow(owner_); }

  int EditTopLine() {
    return static_cast<QPlainTextEdit*>(WidgetOf(edit_))->verticalScrollBar()->value();
  }

  win::Hwnd owner_ = 0, edit_ = 0;
};

TEST_F(WheelTest, TurnIsQueuedForItsWindowAndScrollsOnlyWhenDispatched) {
  auto* edit = static_cast<QPlainTextEdit*>(WidgetOf(edit_));
  QPoint at = ScreenCentre(edit_);
  QWheelEvent turn(edit->viewport()->mapFromGlobal(QPointF(at)), QPointF(at), QPoint(),
                   QPoint(0, 120), Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(edit->viewport(), &turn);
  EXPECT_EQ(EditTopLine(), 50) << "the widget must not see the turn itself";

  win::Msg msg;
  ASSERT_TRUE(win::PeekMessage(&msg, win::PM_REMOVE));
  EXPECT_EQ(msg.hwnd, edit_);
  EXPECT_EQ(msg.message, win::WM_MOUSEWHEEL);
  EXPECT_EQ(win::LoWord(msg.wparam), win::MK_CONTROL);
  EXPECT_EQ(static_cast<int16_t>(win::HiWord(msg.wparam)), 120);
  EXPECT_EQ(msg.lparam, testing_support::ScreenLParam(at));
  EXPECT_FALSE(win::PeekMessage(&msg, win::PM_NOREMOVE));

  // Ctrl+wheel zooms a text widget; without Ctrl it scrolls, towards the top when turned away.
  msg.wparam = win::MakeWParam(0, 120);
  win::DispatchMessage(&msg);
  EXPECT_LT(EditTopLine(), 50);
}

TEST_F(WheelTest, ComboBoxArrowKeysStepTheSelectionWithinTheList) {
  win::Hwnd combo = win::CreateWindowEx(0, "ComboBox", "", win::WS_CHILD | win::WS_VISIBLE, 10, 120,
                                        100, 20, owner_, 11);
  for (const char* item : {"a", "b", "c"}) {
    win::SendMessage(combo, win::CB_ADDSTRING, 0, reinterpret_cast<win::LPARAM>(item));
  }
  win::SendMessage(combo, win::CB_SETCURSEL, 0, 0);
  notifications.clear();
  struct Step {
    win::WPARAM key;
    intptr_t selected;
  } steps[] = {{win::VK_UP, 0}, {win::VK_DOWN, 1}, {win::VK_DOWN, 2}, {win::VK_DOWN, 2}};
  for (const Step& step : steps) {
    win::SendMessage(combo, win::WM_KEYDOWN, step.key, 0);
    EXPECT_EQ(win::SendMessage(combo, win::CB_GETCURSEL, 0, 0), step.selected);
  }
  EXPECT_EQ(notifications, (std::vector<uint16_t>{win::CBN_SELCHANGE, win::CBN_SELCHANGE}));
}

}  // namespace

namespace {

// List boxes and combo boxes answer the same item-list messages, each under its own numbers.
TEST_F(WheelTest, ListAndComboBoxesKeepTheirItemsAndSelection) {
  struct Case {
    const char* window_class;
    uint32_t add, reset, set_current, get_current, count;
  } cases[] = {
      {"ListBox", win::LB_ADDSTRING, win::LB_RESETCONTENT, win::LB_SETCURSEL, win::LB_GETCURSEL,
       win::LB_GETCOUNT},
      {"ComboBox", win::CB_ADDSTRING, win::CB_RESETCONTENT, win::CB_SETCURSEL, win::CB_GETCURSEL,
       win::CB_GETCOUNT},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.window_class);
    win::Hwnd list = win::CreateWindowEx(0, c.window_class, "", win::WS_CHILD | win::WS_VISIBLE,
                                         220, 10, 100, 100, owner_, 30);
    const char* items[] = {"uno", "dos", "tres"};
    for (int i = 0; i < 3; ++i) {  // each added item's index comes back
      EXPECT_EQ(win::SendMessage(list, c.add, 0, reinterpret_cast<win::LPARAM>(items[i])), i);
    }
    EXPECT_EQ(win::SendMessage(list, c.count, 0, 0), 3);
    EXPECT_EQ(win::SendMessage(list, c.set_current, 2, 0), 2);
    EXPECT_EQ(win::SendMessage(list, c.get_current, 0, 0), 2);
    EXPECT_EQ(win::SendMessage(list, c.reset, 0, 0), 0);
    EXPECT_EQ(win::SendMessage(list, c.count, 0, 0), 0);
    win::DestroyWindow(list);
  }
}

}  // namespace

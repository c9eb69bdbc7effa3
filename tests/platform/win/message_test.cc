// Delivery order of posted messages, nested loops and timers.
#include "platform/win/message.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/clock/clock.h"
#include "platform/win/dialog.h"
#include "platform/win/log.h"
#include "platform/win/message_box.h"
#include "platform/win/window.h"

namespace {

const bool kOffscreen = (setenv("QT_QPA_PLATFORM", "offscreen", 1), true);

std::vector<std::string> seen;

win::LRESULT RecordingProc(win::Hwnd hwnd, uint32_t msg, win::WPARAM w, win::LPARAM l) {
  if (msg >= win::WM_USER) {
    seen.push_back(std::to_string(msg - win::WM_USER));
    if (msg == win::WM_USER + 1) {
      win::PostMessage(hwnd, win::WM_USER + 4, 0, 0);
      win::MessageBox(hwnd, "inside", "box", win::MB_OK);
      seen.push_back("box closed");
    }
  }
  if (msg == win::WM_TIMER) seen.push_back("timer " + std::to_string(w));
  return win::DefWindowProc(hwnd, msg, w, l);
}

class MessageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    seen.clear();
    win::EnsureApplication();
    win::RegisterClass("Recorder", &RecordingProc);
    hwnd_ = win::CreateWindowEx(0, "Recorder", "r", 0, 0, 0, 10, 10, 0, 0);
    ASSERT_NE(hwnd_, 0);
  }
  void TearDown() override { win::DestroyWindow(hwnd_); }
  void DrainWithMainLoop() {
    win::Msg msg;
    while (win::PeekMessage(&msg, win::PM_REMOVE)) win::DispatchMessage(&msg);
  }
  win::Hwnd hwnd_ = 0;
};

TEST_F(MessageTest, PostedMessagesKeepOrderAcrossANestedMessageBox) {
  std::vector<std::string> log;
  win::SetLogSink([&](std::string_view line) { log.emplace_back(line); });
  for (int i = 1; i <= 3; ++i) win::PostMessage(hwnd_, win::WM_USER + i, 0, 0);
  DrainWithMainLoop();
  win::SetLogSink({});
  // 2 and 3 were waiting and 4 was posted inside the box: the box's loop runs them in order.
  EXPECT_EQ(seen, (std::vector<std::string>{"1", "2", "3", "4", "box closed"}));
  EXPECT_EQ(log, (std::vector<std::string>{"message box [box] inside"}));
}

TEST_F(MessageTest, HeadlessBoxTakesScriptedAnswersThenTheDefaultButton) {
  win::SetLogSink([](std::string_view) {});
  win::ScriptMessageBoxAnswers({win::IDNO});
  EXPECT_EQ(win::MessageBox(0, "q", "", win::MB_YESNO), win::IDNO);
  EXPECT_EQ(win::MessageBox(0, "q", "", win::MB_YESNO | win::MB_DEFBUTTON2), win::IDNO);
  EXPECT_EQ(win::MessageBox(0, "q", "", win::MB_YESNOCANCEL), win::IDYES);
  win::SetLogSink({});
}

TEST_F(MessageTest, BusyWaitDispatchesNothing) {
  win::PostMessage(hwnd_, win::WM_USER + 9, 0, 0);
  zvclock::BusyWaitMs(20);
  win::RepaintDuring(20);
  EXPECT_TRUE(seen.empty());
  DrainWithMainLoop();
  EXPECT_EQ(seen, (std::vector<std::string>{"9"}));
}

TEST_F(MessageTest, TimerKeepsAtMostOneMessageWaiting) {
  ASSERT_EQ(win::SetTimer(hwnd_, 7, 1), 7u);
  // Toolkit events run for a while but nothing takes our queue: ticks must not pile up.
  for (int i = 0; i < 20; ++i) {
    zvclock::BusyWaitMs(2);
    win::RepaintDuring(0);
  }
  win::Msg msg;
  int timers = 0;
  while (win::PeekMessage(&msg, win::PM_REMOVE)) timers += msg.message == win::WM_TIMER;
  EXPECT_LE(timers, 1);
  // Taken, the timer ticks again, with its id in wParam.
  while (seen.empty()) {
    win::GetMessage(&msg);
    win::DispatchMessage(&msg);
  }
  EXPECT_EQ(seen.front(), "timer 7");
  EXPECT_TRUE(win::KillTimer(hwnd_, 7));
  EXPECT_FALSE(win::KillTimer(hwnd_, 7));
}

TEST_F(MessageTest, ModalDialogLoopDispatchesPostedMessagesAndReturnsTheEndCode) {
  static win::Hwnd recorder;
  recorder = hwnd_;
  win::DialogTemplate tmpl;
  tmpl.cx = 100;
  tmpl.cy = 50;
  tmpl.title = "modal";
  auto proc = [](win::Hwnd dlg, uint32_t msg, win::WPARAM, win::LPARAM) -> win::LRESULT {
    if (msg == win::WM_INITDIALOG) {
      win::PostMessage(recorder, win::WM_USER + 5, 0, 0);
      win::PostMessage(dlg, win::WM_USER + 6, 0, 0);
    }
    if (msg == win::WM_USER + 6) win::EndDialog(dlg, 42);
    return 0;
  };
  EXPECT_EQ(win::DialogBoxIndirect(tmpl, hwnd_, proc, 0), 42);
  EXPECT_EQ(seen, (std::vector<std::string>{"5"}));
  EXPECT_TRUE(win::IsWindowEnabled(hwnd_));
}

TEST_F(MessageTest, DestroyOrdersDestroyThenNcDestroyChildrenFirst) {
  static std::vector<std::string> order;
  order.clear();
  auto proc = [](win::Hwnd h, uint32_t msg, win::WPARAM w, win::LPARAM l) -> win::LRESULT {
    if (msg == win::WM_DESTROY || msg == win::WM_NCDESTROY) {
      order.push_back(win::GetWindowText(h) + (msg == win::WM_DESTROY ? " destroy" : " nc"));
    }
    return win::DefWindowProc(h, msg, w, l);
  };
  win::RegisterClass("Ordered", proc);
  win::Hwnd parent = win::CreateWindowEx(0, "Ordered", "P", 0, 0, 0, 50, 50, 0, 0);
  win::CreateWindowEx(0, "Ordered", "C", win::WS_CHILD, 0, 0, 5, 5, parent, 1);
  EXPECT_TRUE(win::DestroyWindow(parent));
  EXPECT_EQ(order, (std::vector<std::string>{"P destroy", "C destroy", "C nc", "P nc"}));
  EXPECT_FALSE(win::IsWindow(parent));
  EXPECT_FALSE(win::PostMessage(parent, win::WM_USER, 0, 0));
}

}  // namespace

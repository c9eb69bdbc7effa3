#pragma once
// The main frame built on the demo program folder, and what a test needs to look at it.

#include <memory>
#include <string>
#include <vector>

#include "frame/principal.h"
#include "lib/ui/messages.h"
#include "platform/win/message.h"
#include "platform/win/window.h"
#include "tests/frame/program_folder.h"

namespace testing_support {

class FrameTest : public ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    frame_ = std::make_unique<frame::PRINCIPAL>();
    ASSERT_NE(frame_->Init("TARVISEN32", "TARVISEN32"), nullptr);
  }
  void TearDown() override {
    frame::SetModuleWindowOpener(nullptr);
    if (win::IsWindow(frame_->hwnd)) win::DestroyWindow(frame_->hwnd);
    win::Msg msg;
    while (win::PeekMessage(&msg, win::PM_REMOVE)) {
    }
    win::UnregisterClass(frame_->cClassName);  // as the run loop does when it ends
    frame_.reset();
    ProgramFolderTest::TearDown();
  }

  // Dispatches what waits; true when the program was asked to end.
  bool QuitRequested() {
    win::DispatchPending();
    win::Msg msg;
    return win::PeekMessage(&msg, win::PM_NOREMOVE) && msg.message == win::WM_QUIT;
  }

  // The four lines of a warning window.
  static std::vector<std::string> AlarmLines(const ui::WDIAG& alarm) {
    std::vector<std::string> lines;
    for (int id = 101; id <= 104; ++id) {
      lines.push_back(ui::GETWINDOWTEXT(ui::GETDLGITEM(alarm.WindowHandle(), id)));
    }
    return lines;
  }

  std::unique_ptr<frame::PRINCIPAL> frame_;
};

}  // namespace testing_support

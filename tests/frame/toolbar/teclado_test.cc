// The on-screen keyboard types into the edit control the user works in, and follows the focus
// into another one; read-only controls never receive keys.
#include "frame/toolbar/teclado.h"

#include <gtest/gtest.h>

#include "tests/frame/toolbar/toolbar_fixture.h"

namespace {

constexpr int kKeyA = 320;
constexpr int kKeyEnye = 329;
constexpr int kBackspace = 390;
constexpr int kSpace = 391;

class TecladoTest : public testing_support::ToolbarFixture {
 protected:
  void Press(int key) {
    win::Hwnd keyboard = frame::KeyboardWindow();
    win::SendMessage(keyboard, win::WM_COMMAND, win::MakeWParam(key, win::BN_CLICKED),
                     win::GetDlgItem(keyboard, key));
  }
};

TEST_F(TecladoTest, KeysTypeIntoTheEditTheUserWorksIn) {
  frame::MTOOLBAR& toolbar = MakeToolbar();
  ChooseBusiness(toolbar, 1);
  auto dialog = toolbar.ChangeDialog();
  ASSERT_TRUE(dialog);
  win::Hwnd name = win::GetDlgItem(dialog->hWnd, 500);
  win::Hwnd password = win::GetDlgItem(dialog->hWnd, 501);
  win::SendMessage(dialog->hWnd, win::WM_COMMAND, 201, win::GetDlgItem(dialog->hWnd, 201));
  ASSERT_TRUE(win::IsWindow(frame::KeyboardWindow()));
  EXPECT_EQ(frame::KeyboardTarget(), name);

  for (int key : {kKeyA, kSpace, kKeyEnye, kKeyA, kBackspace}) Press(key);
  EXPECT_EQ(win::GetWindowText(name), "A \xD1");

  win::SetFocus(password);
  win::SendMessage(frame::KeyboardWindow(), win::WM_TIMER, 1, 0);
  EXPECT_EQ(frame::KeyboardTarget(), password);
  Press(kKeyA);
  EXPECT_EQ(win::GetWindowText(password), "A");
  EXPECT_EQ(win::GetWindowText(name), "A \xD1");

  win::SetFocus(win::GetDlgItem(toolbar.hwnd, 999));  // read-only: the keys stay where they were
  win::SendMessage(frame::KeyboardWindow(), win::WM_TIMER, 1, 0);
  EXPECT_EQ(frame::KeyboardTarget(), password);

  Press(win::IDCANCEL);
  EXPECT_FALSE(win::IsWindow(frame::KeyboardWindow()));
}

TEST_F(TecladoTest, ToolbarButtonOpensTheKeyboardOnce) {
  frame::MTOOLBAR& toolbar = MakeToolbar();
  win::Hwnd button = win::GetDlgItem(toolbar.hwnd, 236);
  win::SendMessage(button, win::BM_CLICK, 0, 0);
  win::Hwnd keyboard = frame::KeyboardWindow();
  ASSERT_TRUE(win::IsWindow(keyboard));
  EXPECT_EQ(win::GetWindowText(keyboard), "Teclado Virtual");
  win::SendMessage(button, win::BM_CLICK, 0, 0);
  EXPECT_EQ(frame::KeyboardWindow(), keyboard);
  EXPECT_TRUE(win::SaveWindowImage(keyboard, std::string(ZV_RENDER_DIR) + "/TECLADO.png"));
}

}  // namespace

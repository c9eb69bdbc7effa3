// Menu building and command dispatch through the frame.
#include "platform/win/menu.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "lib/settings/settings.h"
#include "lib/ui/app.h"
#include "lib/ui/globals.h"
#include "lib/ui/menu_builder.h"
#include "platform/win/log.h"
#include "platform/win/message.h"
#include "platform/win/window.h"

namespace {

const bool kOffscreen = (setenv("QT_QPA_PLATFORM", "offscreen", 1), true);

TEST(MenuTest, BuildsIdsSeparatorsStatesAndDispatchesTheFirstItemOfAnId) {
  win::EnsureApplication();
  ui::MDIFRAME frame;
  ASSERT_TRUE(frame.Init("TestFrame", "frame"));
  std::vector<std::string> ran;
  ui::_MENUBEGIN(false, frame.hwnd);
  ui::WMENUBASE* bar = ui::Globals().OCURMENU;
  ui::_POPUPBEGIN("Controles");
  ui::WMENUITEM* a = ui::_MENUAPPEND("A", nullptr, {.action = [&] { ran.push_back("A"); }});
  ui::WMENUITEM* b = ui::_MENUAPPEND("B", nullptr, {});
  ui::WMENUITEM* sep = ui::_MENUAPPEND("", nullptr, {.checked = true});
  ui::_MENUAPPEND("first 6125", nullptr,
                  {.id = 6125,
                   .action = [&] { ui::DO_ACTION(6125, [&] { ran.push_back("1"); }); },
                   .grayed = true});
  ui::_MENUAPPEND("second 6125", nullptr, {.id = 6125, .action = [&] { ran.push_back("2"); }});
  EXPECT_EQ(ui::_POPUPEND(), bar);
  ui::_MENUEND();
  frame.MENU = dynamic_cast<ui::WMENU*>(bar);

  EXPECT_EQ(a->nId, 30001);
  EXPECT_EQ(b->nId, 30002);
  EXPECT_EQ(sep->nId, 30003);
  EXPECT_EQ(win::GetMenuState(bar->hMenu, 30003), win::kMenuStateError);  // a separator
  ui::WMENUITEM* grayed = bar->GetItem(6125);
  EXPECT_TRUE(grayed->Grayed());
  grayed->_Checked(true);
  EXPECT_TRUE(grayed->Checked());
  EXPECT_TRUE(grayed->Enabled());
  EXPECT_FALSE(grayed->Grayed());

  // Chosen on the bar, the command goes through the queue to the frame's procedure.
  ASSERT_TRUE(win::ChooseMenuItem(frame.hwnd, 6125));
  ASSERT_TRUE(win::ChooseMenuItem(frame.hwnd, 30001));
  win::Msg msg;
  while (win::PeekMessage(&msg, win::PM_REMOVE)) win::DispatchMessage(&msg);
  EXPECT_EQ(ran, (std::vector<std::string>{"1", "A"}));
  EXPECT_EQ(settings::Current().XID_MENU, 6125);
  ui::DO_ACTION(std::nullopt, nullptr);
  EXPECT_FALSE(settings::Current().XID_MENU.has_value());

  std::vector<std::string> log;
  win::SetLogSink([&](std::string_view line) { log.emplace_back(line); });
  win::SendMessage(frame.hwnd, win::WM_COMMAND, 4242, 0);
  win::SetLogSink({});
  EXPECT_EQ(log,
            (std::vector<std::string>{"message box [Error] Menuitem no encontrado:       4242"}));
  win::DestroyWindow(frame.hwnd);
}

}  // namespace

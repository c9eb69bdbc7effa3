// The main frame: its identity, what it reads at start, its menu and status bar, the start-up
// command, the confirmed close, and a picture of it.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "frame/module_identity.h"
#include "lib/ui/menu_builder.h"
#include "platform/win/menu.h"
#include "platform/win/message_box.h"
#include "tests/frame/frame_fixture.h"

namespace {

using Texts = std::vector<std::string>;

TEST(ModuleIdentityTest, ThisModuleAndTheRestOfTheSuite) {
  EXPECT_EQ(frame::ModuleIdentityCount(), 57);
  const frame::ModuleIdentity* self = frame::FindModuleIdentity("EX_ZIRUVUZ");
  ASSERT_NE(self, nullptr);
  EXPECT_STREQ(self->title, "Interfaz ZIRUVUZ");
  EXPECT_STREQ(self->ext, "REN");
  EXPECT_FALSE(self->login);
  EXPECT_EQ(self->quit_group, 0);
  EXPECT_EQ(frame::FindModuleIdentity("ex_ziruvuz"), nullptr) << "identifiers compare exactly";
  EXPECT_EQ(frame::FindModuleIdentity("NOT_A_MODULE"), nullptr);
}

class PrincipalTest : public testing_support::FrameTest {
 protected:
  // "Popup: item, item" for each popup of the menu bar.
  Texts MenuTexts() {
    Texts texts;
    for (const auto& entry : frame_->MENU->aItems) {
      auto* popup = std::get<ui::WPOPUP*>(entry);
      std::string line = popup->cText + ":";
      for (const auto& item : popup->aItems)
        line += " " + std::get<ui::WMENUITEM*>(item)->cText + ";";
      texts.push_back(line);
    }
    return texts;
  }
};

TEST_F(PrincipalTest, TakesItsIdentityAndTheSiteSettings) {
  const settings::Settings& globals = settings::Current();
  EXPECT_EQ(win::GetWindowText(frame_->hwnd), "Interfaz ZIRUVUZ");
  EXPECT_EQ(globals.EXT_MODULO, "REN");
  EXPECT_FALSE(frame_->DO_LOGIN);
  EXPECT_EQ(frame_->ACT_UID, -1);
  EXPECT_EQ(globals.XAPPHANDLE, frame_->hwnd);
  // DEFMAIL
  EXPECT_EQ(globals.XEMAILHOST, "127.0.0.1");
  EXPECT_EQ(globals.XEMAIL_SMTP_PORT, 25);
  EXPECT_EQ(globals.XEMAIL_ID, "Hotel Playa Esmeralda");
  EXPECT_EQ(globals.XEMAIL_AU, "") << "a missing field gives its default";
  // F_SYS: WS_SOCKET and DGROUP are 0 in the demo
  EXPECT_EQ(globals.XWS_SOCKET, 4129);
  EXPECT_EQ(globals.XDGROUPLIMIT, 6000);
  EXPECT_EQ(globals.XMAXCOMMIT, 50);
  EXPECT_EQ(globals.XMULTITASK, (std::vector<int>{1, 3}));
  EXPECT_EQ(globals.XAPP_MAX_MESSAGETIME, 600000u);
  EXPECT_EQ(globals.XTEMPPATH.flag, 0);
  // FONTS in tag order
  EXPECT_EQ(globals.XAVAILABLE_FONTS,
            (Texts{"Arial", "Calibri", "Courier", "Tahoma", "Times New Roman"}));
}

TEST_F(PrincipalTest, BuildsTheMenuBarAndTheStatusBar) {
  EXPECT_EQ(MenuTexts(), (Texts{"Controles: TARVISEN Data Exchange ZIRUVUZ Server;",
                                "Ventanas: Cascada; Comparativo; Acomodar Iconos; Cerrar Todos;",
                                "Acerca de: Acerca &de; ADS Config.;"}));
  EXPECT_NE(frame_->MENU->GetItem(frame::kCmdOpenModuleWindow), nullptr);
  EXPECT_EQ(frame_->STATUSBAR->PaneTexts(), (Texts{"Ready", "INS", "", ""}));
  EXPECT_EQ(settings::Current().XCONSTRUCTINGMENU, 0);

  // Without the server engine "ADS Config." only says so.
  ui::WPOPUP* about = std::get<ui::WPOPUP*>(frame_->MENU->aItems[2]);
  std::get<ui::WMENUITEM*>(about->aItems[1])->Action();
  EXPECT_EQ(boxes_, Texts{"[Error] Servidor Advantage no disponible..."});
}

TEST_F(PrincipalTest, ADS_xINFOShowsTheServerInformation) {
  settings::Current().DEF_RDD = "ADSCDX";
  settings::Current().XADSDIRECTORY = dir_.File("BASES");
  settings::Current().XADSCACHERECORDS = 25;
  frame_->ADS_xINFO();
  EXPECT_EQ(boxes_, Texts{"[Versi\xF3n Advantage Database Server] Sesiones: 1\rServer Versi\xF3n: "
                          "1.0 (local storage engine)\rLocking Scheme: Propietario\r"
                          "Record Cache:         25"});
}

TEST_F(PrincipalTest, TheStartUpMessageOpensTheModuleWindowOnceTheFrameIsMinimised) {
  struct Opened {
    ui::WindowObject* frame;
    std::string business;
    int show;
  };
  std::vector<Opened> opened;
  frame::SetModuleWindowOpener([&](ui::WindowObject* parent, const std::string& business) {
    opened.push_back({parent, business, win::GetWindowPlacement(frame_->hwnd).show});
  });
  frame_->Show(win::SW_SHOWNORMAL);
  win::DispatchPending();  // 2219 was posted by Init; it posts 6125
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0].frame, frame_.get());
  EXPECT_EQ(opened[0].show, win::SW_SHOWMINIMIZED);
  EXPECT_EQ(settings::Current().XID_MENU, frame::kCmdOpenModuleWindow);

  ASSERT_TRUE(win::ChooseMenuItem(frame_->hwnd, frame::kCmdOpenModuleWindow));
  win::DispatchPending();
  EXPECT_EQ(opened.size(), 2u) << "the menu runs the same command";
}

TEST_F(PrincipalTest, CloseAsksOnceAndCancelKeepsTheFrame) {
  const std::string question =
      "[Cierre de Aplicaci\xF3n] \xBF"
      "Desea salir de la aplicaci\xF3n?";
  win::ScriptMessageBoxAnswers({win::IDCANCEL});
  win::SendMessage(frame_->hwnd, win::WM_CLOSE, 0, 0);
  EXPECT_EQ(boxes_, Texts{question});
  EXPECT_TRUE(win::IsWindow(frame_->hwnd));
  EXPECT_FALSE(QuitRequested());

  win::ScriptMessageBoxAnswers({win::IDOK});
  win::SendMessage(frame_->hwnd, win::WM_CLOSE, 0, 0);
  EXPECT_EQ(boxes_, (Texts{question, question}));
  EXPECT_FALSE(win::IsWindow(frame_->hwnd));
  EXPECT_TRUE(QuitRequested());
  EXPECT_EQ(data::LowestFreeArea(), 1) << "every table closed";
}

TEST_F(PrincipalTest, AStopRequestEndsWithoutAQuestionEvenWhileTheHandlerRuns) {
  frame_->INWNDPROC = 1;  // as while the close confirmation is open
  win::SendMessage(frame_->hwnd, frame::kMsgStopRequested, 0, 0);
  frame_->INWNDPROC = 0;
  EXPECT_TRUE(boxes_.empty());
  EXPECT_TRUE(QuitRequested());
}

TEST_F(PrincipalTest, SavesAPictureOfTheFrame) {
  win::DispatchPending();  // the start-up command minimises the frame
  win::MoveWindow(frame_->hwnd, 0, 0, 1024, 640, true);
  win::ShowWindow(frame_->hwnd, win::SW_SHOWNORMAL);
  win::DispatchPending();
  EXPECT_TRUE(win::SaveWindowImage(frame_->hwnd, ZV_RENDER_DIR "/frame.png"));
}

}  // namespace

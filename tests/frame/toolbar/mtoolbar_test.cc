// The toolbar strip: the business list in tag order, the current business and its logos, the
// terms of the business, its place above the MDI client, and the list returning to the current
// business when a change is not accepted.
#include "frame/toolbar/mtoolbar.h"

#include <gtest/gtest.h>

#include "lib/ui/messages.h"
#include "tests/frame/toolbar/toolbar_fixture.h"

namespace {

using testing_support::Number;
using testing_support::Text;

class MToolbarTest : public testing_support::ToolbarFixture {};

TEST_F(MToolbarTest, ListsBusinessesInTagOrderAndYieldsTheFirstWithItsLogos) {
  frame::MTOOLBAR& toolbar = MakeToolbar();
  ASSERT_EQ(toolbar.Businesses().size(), 3u);
  EXPECT_EQ(win::SendMessage(toolbar.oNegocios.hWnd, win::CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(toolbar.Businesses()[1].code.substr(0, 5), "HTL02");
  EXPECT_EQ(win::GetWindowText(toolbar.oNegocios.hWnd), "Hotel Uno");
  EXPECT_EQ(toolbar.Cur_Neg, "HTL01          ");
  EXPECT_EQ(frame::GET_NEGOCIO(), "HTL01          ");
  EXPECT_EQ(settings::Current().XLOGOFILE, "UNO.BMP");
  EXPECT_EQ(settings::Current().XLOGO2, "2UNO.BMP");
  EXPECT_FALSE(toolbar.ChangeDialog());  // filling the list opened no business change

  toolbar.SETNEGOCIO("HTL03");
  EXPECT_EQ(toolbar.Cur_Neg, "HTL03          ");
  EXPECT_EQ(frame::GET_NEGOCIO(), "HTL03          ");
  EXPECT_EQ(settings::Current().XLOGOFILE, "TRES.BMP");
  toolbar.SETNEGOCIO("NOPE");
  EXPECT_EQ(toolbar.Cur_Neg, "HTL03          ");
}

TEST_F(MToolbarTest, LoadsTheTermsOfTheFirstBusiness) {
  Add("TRADUCT", {{"NEGOCIO", Text("HTL01")},
                  {"SEQUENCE1", Text("Cliente")},
                  {"SEQUENCE2", Text("Huesped")},
                  {"INCRUSTADO", Number(1)}});
  Add("TRADUCT",
      {{"NEGOCIO", Text("HTL02")}, {"SEQUENCE1", Text("Hotel")}, {"SEQUENCE2", Text("Casa")}});
  MakeToolbar();
  const auto& terms = settings::Current().XTRADUCT;
  ASSERT_EQ(terms.size(), 1u);
  EXPECT_EQ(terms[0].word, "Cliente");
  EXPECT_EQ(terms[0].replacement, "Huesped");
  EXPECT_EQ(terms[0].whole, 1);
}

TEST_F(MToolbarTest, MissingTablesAreReportedAndLeaveTheToolbarWorking) {
  std::filesystem::remove_all(Bases());
  std::filesystem::create_directories(Bases());
  frame::MTOOLBAR& toolbar = MakeToolbar();
  EXPECT_TRUE(toolbar.Businesses().empty());
  EXPECT_EQ(frame::GET_NEGOCIO(), "");
  EXPECT_EQ(toolbar.Prec_Auto, 0);
  int reported = 0;
  for (const std::string& line : log_) reported += line.rfind("toolbar: ", 0) == 0;
  EXPECT_EQ(reported, 3);  // NEGOCIOS, TRADUCT, F_INV
}

TEST_F(MToolbarTest, StripSitsAboveTheMdiClientAcrossTheFrame) {
  frame::MTOOLBAR& toolbar = MakeToolbar();
  win::ShowWindow(frame_->hwnd, win::SW_SHOW);
  win::MoveWindow(frame_->hwnd, 0, 0, 900, 500, true);
  frame_->UpdateClient();
  win::Rect frame_client = win::GetClientRect(frame_->hwnd);
  win::Rect strip = win::GetWindowRect(toolbar.hwnd);
  win::Rect client = win::GetWindowRect(frame_->hMDIClient);
  EXPECT_GT(toolbar.Height(), 0);
  EXPECT_EQ(strip.right - strip.left, frame_client.right - frame_client.left);
  EXPECT_GE(client.top, strip.bottom);
  EXPECT_EQ(frame_->aClient[1], toolbar.Height() + 2);
  EXPECT_TRUE(win::SaveWindowImage(frame_->hwnd, std::string(ZV_RENDER_DIR) + "/toolbar.png"));
}

TEST_F(MToolbarTest, CancelledChangeTakesTheListBackToTheCurrentBusiness) {
  frame::MTOOLBAR& toolbar = MakeToolbar();
  ChooseBusiness(toolbar, 1);
  auto dialog = toolbar.ChangeDialog();
  ASSERT_TRUE(dialog);
  EXPECT_EQ(dialog->Negocio, "HTL02          ");
  EXPECT_FALSE(win::IsWindowEnabled(toolbar.hwnd));
  // Until the dialog goes, the list shows the choice but the current business stays.
  EXPECT_EQ(frame::GET_NEGOCIO(), "HTL02          ");
  EXPECT_EQ(toolbar.Cur_Neg, "HTL01          ");

  win::SendMessage(dialog->hWnd, win::WM_COMMAND, win::IDCANCEL, 0);
  win::DispatchPending();
  EXPECT_FALSE(win::IsWindow(dialog->hWnd));
  EXPECT_TRUE(win::IsWindowEnabled(toolbar.hwnd));
  EXPECT_EQ(frame::GET_NEGOCIO(), "HTL01          ");
  EXPECT_EQ(toolbar.Cur_Neg, "HTL01          ");
  EXPECT_TRUE(frame_->menus_built.empty());
  EXPECT_FALSE(settings::Current().XU_COMP.has_value());
}

TEST_F(MToolbarTest, HelpTopicIsCollectedFromItsMessages) {
  frame::MTOOLBAR& toolbar = MakeToolbar();
  for (char c : std::string("RECEP")) win::SendMessage(toolbar.hwnd, 2022, c, 0);
  EXPECT_EQ(toolbar.ID, "RECEP");
  win::SendMessage(toolbar.hwnd, 2023, 0, 0);
  EXPECT_EQ(toolbar.ID, "");
}

}  // namespace

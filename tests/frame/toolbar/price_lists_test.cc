// Scheduled price lists: applied by the toolbar's 30-second timer once their time has come, only
// when F_INV has PREC_AUTO, and never while a table-structure check runs.
#include "frame/toolbar/price_lists.h"

#include <gtest/gtest.h>

#include "tests/frame/toolbar/toolbar_fixture.h"

namespace {

using testing_support::Day;
using testing_support::Number;
using testing_support::Text;

class PriceListsTest : public testing_support::ToolbarFixture {
 protected:
  void SetUp() override {
    ToolbarFixture::SetUp();
    Add("F_INV", {{"NEGOCIO", Text("HTL01")}, {"PREC_AUTO", Number(0)}});  // presence counts
    for (const char* article : {"CAFE", "TE"}) {
      for (const char* type : {"01", "02"}) {
        Add("DET_PREC", {{"NEGOCIO", Text("HTL01")},
                         {"T_PRECIO", Text(type)},
                         {"ARTICULO", Text(article)},
                         {"PRECIO", Number(10)}});
      }
    }
  }
  // A pending list of price type 01 for `business` with the given prices.
  uint32_t AddList(const std::string& code, xbase::Value day, const std::string& time,
                   const std::vector<std::pair<std::string, double>>& prices,
                   const std::string& business = "HTL01") {
    for (const auto& [article, price] : prices) {
      Add("DET_PPRE", {{"NEGOCIO", Text(business)},
                       {"CODIGO", Text(code)},
                       {"ARTICULO", Text(article)},
                       {"PRECIO", Number(price)}});
    }
    return Add("ENC_PPRE", {{"NEGOCIO", Text(business)},
                            {"CODIGO", Text(code)},
                            {"T_PRECIO", Text("01")},
                            {"PENDIENTE", Number(1)},
                            {"F_APLICA", day},
                            {"H_APLICA", Text(time)}});
  }
  // Price of `article` by type: {01, 02}.
  std::pair<double, double> Prices(const std::string& article) {
    xbase::Cursor prices(TablePath("DET_PREC"));
    std::pair<double, double> found;
    for (prices.GoTop(); !prices.Eof(); prices.Skip(1)) {
      if (prices.Get("ARTICULO").str.rfind(article + " ", 0) != 0) continue;
      (prices.Get("T_PRECIO").str == "01" ? found.first : found.second) = prices.Get("PRECIO").num;
    }
    return found;
  }
  xbase::Value Header(uint32_t recno, const char* field) {
    xbase::Cursor headers(TablePath("ENC_PPRE"));
    headers.GoTo(recno);
    return headers.Get(field);
  }
  // One tick of the toolbar's timer, and what it posts.
  void Tick(frame::MTOOLBAR& toolbar) {
    win::SendMessage(toolbar.hwnd, win::WM_TIMER, 1, 0);
    win::DispatchPending();
  }
};

TEST_F(PriceListsTest, TimerAppliesAListOfYesterdayAndStampsIt) {
  uint32_t list = AddList("L1", Day(2023, 12, 31), "23:00:00", {{"CAFE", 150}, {"PAN", 5}});
  uint32_t other = AddList("L9", Day(2023, 12, 31), "08:00:00", {{"CAFE", 99}}, "HTL02");
  frame::MTOOLBAR& toolbar = MakeToolbar();
  EXPECT_EQ(toolbar.Prec_Auto, 1);
  EXPECT_EQ(Prices("CAFE"), (std::pair<double, double>{10, 10}));

  Tick(toolbar);
  EXPECT_EQ(Prices("CAFE"), (std::pair<double, double>{150, 10}));
  EXPECT_EQ(Prices("TE"), (std::pair<double, double>{10, 10}));
  EXPECT_EQ(Header(list, "PENDIENTE").num, 0);
  EXPECT_EQ(Header(list, "F_PROCESA").julian(), Day(2024, 1, 1).julian());
  EXPECT_EQ(Header(list, "H_PROCESA").str, "12:00:00");
  EXPECT_EQ(Header(other, "PENDIENTE").num, 1);  // another business's list waits for its toolbar
  EXPECT_TRUE(win::KillTimer(toolbar.hwnd, 1));  // the 30-second timer runs
}

TEST_F(PriceListsTest, ListOfALaterHourWaitsForIt) {
  uint32_t later = AddList("L2", Day(2024, 1, 1), "14:00:00", {{"TE", 30}});
  uint32_t now = AddList("L1", Day(2024, 1, 1), "12:00:00", {{"CAFE", 20}});
  frame::MTOOLBAR& toolbar = MakeToolbar();
  Tick(toolbar);
  EXPECT_EQ(Header(now, "PENDIENTE").num, 0);
  EXPECT_EQ(Header(later, "PENDIENTE").num, 1);
  EXPECT_EQ(Prices("TE"), (std::pair<double, double>{10, 10}));

  clock_.SetNow({2024, 1, 1, 14, 0, 0});
  Tick(toolbar);
  EXPECT_EQ(Header(later, "PENDIENTE").num, 0);
  EXPECT_EQ(Header(later, "H_PROCESA").str, "14:00:00");
  EXPECT_EQ(Prices("TE"), (std::pair<double, double>{30, 10}));
}

TEST_F(PriceListsTest, EveryDueListIsAppliedInOneTickInDateOrder) {
  AddList("L2", Day(2023, 12, 31), "09:00:00", {{"CAFE", 300}});
  AddList("L1", Day(2023, 12, 30), "09:00:00", {{"CAFE", 200}, {"TE", 50}});
  frame::MTOOLBAR& toolbar = MakeToolbar();
  Tick(toolbar);
  EXPECT_EQ(Prices("CAFE"), (std::pair<double, double>{300, 10}));
  EXPECT_EQ(Prices("TE"), (std::pair<double, double>{50, 10}));
}

TEST_F(PriceListsTest, NothingWhileAStructureCheckRunsOrWithoutPrecAuto) {
  uint32_t list = AddList("L1", Day(2023, 12, 31), "09:00:00", {{"CAFE", 150}});
  frame::MTOOLBAR& toolbar = MakeToolbar();
  settings::Current().IN_CH_STRUC = 1;
  Tick(toolbar);
  EXPECT_EQ(Header(list, "PENDIENTE").num, 1);
  settings::Current().IN_CH_STRUC = 0;

  schema::TableLayout without_flag = *schema::FindLayout("F_INV");
  std::erase_if(without_flag.fields,
                [](const schema::FieldDef& field) { return field.name == "PREC_AUTO"; });
  std::filesystem::remove(TablePath("F_INV"));
  std::filesystem::remove(Bases() + "/F_INV.CDX");
  schema::CreateFromLayout(Bases(), without_flag);
  frame::MTOOLBAR& plain = MakeToolbar();
  EXPECT_EQ(plain.Prec_Auto, 0);
  EXPECT_FALSE(win::KillTimer(plain.hwnd, 1));
  Tick(plain);
  EXPECT_EQ(Header(list, "PENDIENTE").num, 1);
}

}  // namespace

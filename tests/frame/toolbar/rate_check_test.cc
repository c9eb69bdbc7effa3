// The oldest rate date a business accepts, and the warning about rates older than that.
#include "frame/toolbar/rate_check.h"

#include <gtest/gtest.h>

#include "tests/frame/toolbar/toolbar_fixture.h"

namespace {

using testing_support::Day;
using testing_support::Number;
using testing_support::Text;

class RateCheckTest : public testing_support::ToolbarFixture {
 protected:
  void SetBusiness(int check_mon, int cant_mon) {
    xbase::Cursor businesses(TablePath("NEGOCIOS"));
    for (businesses.GoTop(); !businesses.Eof(); businesses.Skip(1)) {
      businesses.RLock();
      businesses.Put("CHECK_MON", Number(check_mon));
      businesses.Put("CANT_MON", Number(cant_mon));
      businesses.Unlock();
    }
  }
  void AddCurrency(const std::string& code, const std::string& name) {
    Add("MONEDAS", {{"NEGOCIO", Text("HTL01")}, {"MONEDA", Text(code)}, {"DESCRIP", Text(name)}});
  }
  void AddRate(const std::string& from, const std::string& to, xbase::Value date) {
    Add("T_CAMBIO", {{"NEGOCIO", Text("HTL01")},
                     {"MONEDA1", Text(from)},
                     {"MONEDA2", Text(to)},
                     {"FECHA", date},
                     {"CAMBIO", Number(2)}});
  }
};

TEST_F(RateCheckTest, LimitDateStepsBackDaysOrMonths) {
  struct Case {
    zvclock::LocalDateTime today;
    int check_mon, cant_mon;
    xbase::Value limit;
  } cases[] = {
      {{2024, 1, 1}, 1, 30, Day(2023, 12, 2)}, {{2024, 1, 1}, 1, 0, Day(2024, 1, 1)},
      {{2024, 3, 31}, 0, 1, Day(2024, 2, 29)}, {{2023, 3, 31}, 0, 1, Day(2023, 2, 28)},
      {{2024, 3, 31}, 0, 2, Day(2024, 1, 31)}, {{2024, 1, 15}, 0, 13, Day(2022, 12, 15)},
      {{2024, 5, 31}, 2, 1, Day(2024, 4, 30)}, {{2024, 1, 15}, 0, 0, Day(2024, 1, 15)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.today.year) + "-" + std::to_string(c.today.month) + "-" +
                 std::to_string(c.today.day) + " " + std::to_string(c.check_mon) + "/" +
                 std::to_string(c.cant_mon));
    clock_.SetNow(c.today);
    SetBusiness(c.check_mon, c.cant_mon);
    data::TableHandle businesses = data::USE({}, "NEGOCIOS", "NEGOCIOS");
    ASSERT_TRUE(businesses->Seek("HTL01"));
    EXPECT_EQ(frame::OBT_DIA_F(*businesses).julian(), c.limit.julian());
    data::KILLTABLA(businesses);
  }
}

TEST_F(RateCheckTest, WarnsAboutEachCurrencyWithoutARecentRate) {
  SetBusiness(1, 30);
  AddCurrency("01", "Colones");
  AddCurrency("02", "Dolares");
  AddCurrency("03", "Euros");
  AddCurrency("04", "Yenes");
  AddCurrency("05", "Pesos");
  AddRate("02", "01", Day(2023, 11, 17));  // 45 days ago
  AddRate("02", "01", Day(2024, 1, 5));    // not yet in force
  AddRate("03", "01", Day(2023, 12, 22));  // 10 days ago
  AddRate("01", "04", Day(2023, 11, 22));  // only the reverse pair, 40 days ago
  AddRate("05", "01", Day(2023, 12, 2));   // exactly at the limit
  AddRate("02", "01", Day(2023, 12, 30));  // another business's pair
  {
    xbase::Cursor rates(TablePath("T_CAMBIO"));
    rates.GoTo(6);
    rates.RLock();
    rates.Put("NEGOCIO", Text("HTL02"));
    rates.Unlock();
  }
  frame::CHECK_CAMBIO("HTL01");
  const std::string line = "Debe actualizar la definici\xF3n de tipos de cambio de ";
  EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"[Atenci\xF3n] " + line + "Dolares a Colones\r" +
                                                  line + "Yenes a Colones\r"});
  EXPECT_EQ(data::SelectedArea(), 0);
}

TEST_F(RateCheckTest, NothingWithoutTheCheckSettingOrWithEveryRateRecent) {
  AddCurrency("01", "Colones");
  AddCurrency("02", "Dolares");
  AddRate("02", "01", Day(2023, 12, 31));
  SetBusiness(0, 1);
  frame::CHECK_CAMBIO("HTL01");
  EXPECT_TRUE(TakeBoxes().empty());

  schema::TableLayout without_check = *schema::FindLayout("NEGOCIOS");
  std::erase_if(without_check.fields,
                [](const schema::FieldDef& field) { return field.name == "CHECK_MON"; });
  std::filesystem::remove(TablePath("NEGOCIOS"));
  std::filesystem::remove(Bases() + "/NEGOCIOS.CDX");
  schema::CreateFromLayout(Bases(), without_check);
  AddBusiness("HTL01", "Hotel Uno", "UNO.BMP");
  AddCurrency("05", "Pesos");  // no rate at all
  frame::CHECK_CAMBIO("HTL01");
  EXPECT_TRUE(TakeBoxes().empty());
}

}  // namespace

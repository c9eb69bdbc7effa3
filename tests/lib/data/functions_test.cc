// Currency, date, time, numbering and card-masking functions.
#include <gtest/gtest.h>

#include "lib/data/card_mask.h"
#include "lib/data/consecutive.h"
#include "lib/data/currency.h"
#include "lib/data/database_server.h"
#include "lib/data/date_time.h"
#include "platform/clock/clock.h"
#include "tests/lib/data/data_fixture.h"

namespace {

using data::Date;
using testing_support::Number;
using testing_support::Text;

TEST(ConsecutiveTest, Base36RoundTripsAndWraps) {
  const std::pair<const char*, const char*> cases[] = {
      {"0", "0000"},       {"35", "000Z"},      {"36", "0010"},      {"      1295", "00ZZ"},
      {"1679615", "ZZZZ"}, {"1679616", "0000"}, {"1679617", "0001"}, {"", "0000"},
  };
  for (const auto& [decimal, base36] : cases) {
    EXPECT_EQ(data::GET_STRING_CONSECUT(decimal), base36) << decimal;
  }
  EXPECT_EQ(data::HILERABASE_TO_DECIMAL("00ZZ"), 1295);
  EXPECT_EQ(data::HILERABASE_TO_DECIMAL("00zz"), 1295);
  EXPECT_EQ(data::HILERABASE_TO_DECIMAL(" 1 0"), 36 * 36);  // blanks count as 0
  EXPECT_EQ(data::HILERABASE_TO_DECIMAL(""), 0);
  const std::pair<const char*, const char*> next[] = {
      {"0009", "000A"}, {"000Z", "0010"}, {"ZZZZ", "0000"}, {"0001", "0002"}};
  for (const auto& [from, to] : next) EXPECT_EQ(data::NextConsecutive(from), to) << from;
  for (int n : {0, 1, 35, 36, 46655, 46656, 1679615}) {
    EXPECT_EQ(data::HILERABASE_TO_DECIMAL(data::GET_STRING_CONSECUT(std::to_string(n))), n);
  }
}

TEST(DateTest, Dtoc2ModesAndTheDateText) {
  Date sept5 = Date::FromCivil(2024, 9, 5);
  EXPECT_EQ(data::DTOC2(sept5, 2), "05/SEP/2024");
  EXPECT_EQ(data::DTOC2(sept5), "05/SEP/2024");
  EXPECT_EQ(data::DTOC2(sept5, 1), "05/SET/2024");
  EXPECT_EQ(data::DTOC2(sept5, 3), "05/09/2024");
  for (int mode : {1, 2, 3}) EXPECT_EQ(data::DTOC2(Date(), mode), "00/00/0000");
  EXPECT_EQ(data::DateToText(sept5), "05/09/24");
  EXPECT_EQ(data::DateToText(Date()), "  /  /  ");
  EXPECT_EQ(data::TextToDate("05/09/24"), sept5);
  EXPECT_EQ(data::TextToDate("01/01/80").year(), 1980);
  EXPECT_EQ(data::TextToDate("31/12/79").year(), 2079);
  EXPECT_EQ(data::TextToDate("05/09/2024"), sept5);
  EXPECT_TRUE(data::TextToDate("30/02/24").IsEmpty());
  EXPECT_TRUE(data::TextToDate("  /  /  ").IsEmpty());
  EXPECT_TRUE(data::TextToDate("garbage").IsEmpty());
}

class FakeServer : public data::DatabaseServer {
 public:
  std::optional<data::ServerDateTime> answer;
  std::optional<data::ServerDateTime> CurrentDateTime() override { return answer; }
  void SetCacheRecords(int, int) override {}
};

TEST(DateTest, XdateAndXtimeTakeTheServerClockOnlyWhenConnectedAndPlausible) {
  settings::Reset();
  zvclock::FakeClock clock(0, {2024, 3, 15, 9, 5, 7});
  FakeServer server;
  server.answer = data::ServerDateTime{"20/03/24", (13 * 3600 + 4 * 60 + 5) * 1000 + 999};
  data::SetDatabaseServer(&server);
  struct Case {
    const char* engine;
    std::optional<bool> connected;
    const char* server_date;
    Date date;
    const char* time;
  };
  const Date local = Date::FromCivil(2024, 3, 15), remote = Date::FromCivil(2024, 3, 20);
  const Case cases[] = {
      {"DBFCDX", true, "20/03/24", local, "09:05:07"},
      {"ADSCDX", std::nullopt, "20/03/24", local, "09:05:07"},
      {"ADSCDX", false, "20/03/24", local, "09:05:07"},
      {"ADSCDX", true, "20/03/24", remote, "13:04:05"},
      {"ADSCDX", true, "nonsense", local, "13:04:05"},
  };
  for (const Case& c : cases) {
    settings::Current().DEF_RDD = c.engine;
    settings::Current().XADS_MYCONNECTION = c.connected;
    server.answer->date_text = c.server_date;
    EXPECT_EQ(data::XDATE(), c.date) << c.engine << " " << c.server_date;
    EXPECT_EQ(data::XTIME(), c.time) << c.engine;
  }
  server.answer.reset();  // a failed query
  EXPECT_EQ(data::XDATE(), local);
  EXPECT_EQ(data::XTIME(), "09:05:07");
  data::SetDatabaseServer(nullptr);
}

TEST(CardMaskTest, MasksLongDocumentsOnly) {
  EXPECT_EQ(data::SHOW_CREDITCARD("  4111111111113456  "), "************3456");
  EXPECT_EQ(data::SHOW_CREDITCARD("12345678901"), "12345678901");
  EXPECT_EQ(data::SHOW_CREDITCARD("123456789012"), "********9012");
  EXPECT_EQ(data::SHOW_CREDITCARD("   "), "");
}

class CurrencyTest : public testing_support::DataFixture {
 protected:
  void SetUp() override {
    DataFixture::SetUp();
    Create("T_CAMBIO");
    AddRate("02", "01", Date::FromCivil(2024, 3, 1), 500);
    AddRate("02", "01", Date::FromCivil(2024, 3, 10), 510);
    AddRate("02", "01", Date::FromCivil(2024, 3, 20), 520);
    AddRate("03", "01", Date::FromCivil(2024, 3, 1), 0);  // a rate of 0 in every column
  }
  void AddRate(const char* from, const char* to, Date on, double rate) {
    Add("T_CAMBIO", {{"NEGOCIO", Text("H1")},
                     {"MONEDA1", Text(from)},
                     {"MONEDA2", Text(to)},
                     {"FECHA", xbase::Value::Date(on.julian())},
                     {"CAMBIO", Number(rate)},
                     {"CAMBIO3", Number(rate * 2)}});
  }
};

TEST_F(CurrencyTest, TheRateInForceOnADateInEitherDirection) {
  data::TableHandle rates = data::USE({}, "T_CAMBIO", "T_CAMBIO");
  const Date march15 = Date::FromCivil(2024, 3, 15);
  struct Case {
    const char* target;
    const char* source;
    Date on;
    std::optional<int> column;
    double factor;
  };
  const Case cases[] = {
      {"01", "02", march15, std::nullopt, 510},           // 10 March is in force on the 15th
      {"01", "02", Date::FromCivil(2024, 3, 5), 0, 500},  // column 0 reads CAMBIO
      {"01", "02", march15, 3, 1020},
      {"01", "02", march15, 7, 0},
      {"02", "01", march15, std::nullopt, 1.0 / 510},               // the reverse pair
      {"01", "02", Date::FromCivil(2024, 2, 28), std::nullopt, 0},  // before any rate
      {"01", "04", march15, std::nullopt, 0},                       // no pair at all
      {"01", "03", march15, std::nullopt, 0},
      {"03", "01", march15, std::nullopt, 0},  // 1 / 0 yields 0
      {"01", "01", march15, std::nullopt, 1},
      {"", "02", march15, std::nullopt, 1},  // an empty target counts as equal
  };
  const int selected = data::SelectedArea();
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(data::CAMBIO_SPEC("H1", *rates, c.target, c.source, c.on, c.column), c.factor)
        << c.target << "<-" << c.source << " col " << c.column.value_or(-1);
  }
  EXPECT_EQ(data::SelectedArea(), selected);
}

TEST_F(CurrencyTest, TodaysRateWithDailyDrift) {
  zvclock::FakeClock clock(0, {2024, 3, 15, 10, 0, 0});
  data::TableHandle rates = data::USE({}, "T_CAMBIO");
  data::TableHandle other = data::USE({}, "T_CAMBIO");  // selected; must stay so
  EXPECT_DOUBLE_EQ(data::CAMBIO_ACT("H1", *rates, "01", "02"), 510);
  // (15 - 10 days + 2) x 0.5 added to the rate.
  EXPECT_DOUBLE_EQ(data::CAMBIO_ACT("H1", *rates, "01", "02", 0.5, 2), 513.5);
  EXPECT_DOUBLE_EQ(data::CAMBIO_ACT("H1", *rates, "02", "01", 0.5), 1 / 512.5);
  EXPECT_EQ(data::SelectedArea(), other->Area);
  EXPECT_EQ(data::FindArea(rates->Area)->cursor->order(),
            data::FindArea(rates->Area)->cursor->table().FindTag("T_CAMB2"));
}

TEST_F(CurrencyTest, TheFolioCurrency) {
  Create("ENC_FOL");
  Create("NEGOCIOS");
  Add("ENC_FOL", {{"MONEDA", Text("02")}});
  Add("ENC_FOL", {{"MONEDA", Text("")}});
  Add("NEGOCIOS", {{"CODIGO", Text("H1")}, {"MON_FOL", Number(1)}, {"MONEDA_CON", Text("01")}});
  Add("NEGOCIOS", {{"CODIGO", Text("H2")}, {"MON_FOL", Number(0)}, {"MONEDA_CON", Text("05")}});
  data::TableHandle folio = data::USE({}, "ENC_FOL");
  data::TableHandle property = data::USE({}, "NEGOCIOS");
  EXPECT_EQ(data::GET_MON_FOLIO({}, *folio, *property), "02");
  folio->GoTo(2);
  EXPECT_EQ(data::GET_MON_FOLIO({}, *folio, *property), "01");
  folio->GoTo(1);
  property->GoTo(2);
  EXPECT_EQ(data::GET_MON_FOLIO({}, *folio, *property), "05");
}

}  // namespace

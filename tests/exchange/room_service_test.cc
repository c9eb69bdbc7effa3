// ROOM SERVICE on the demo database: the lines, item details and counters a posting writes, the
// reply, the faults answered before anything is written, and a posting that fails part-way.
#include <gtest/gtest.h>

#include <utility>

#include "exchange/add_cargo.h"
#include "exchange/room_service_order.h"
#include "platform/xbase/table_maintenance.h"
#include "tests/exchange/exchange_fixture.h"
#include "tests/exchange/table_rows.h"

namespace {

using testing_support::Envelope;
using testing_support::Login;
using testing_support::RecordCount;
using testing_support::RowsFrom;

struct Item {
  std::string code, descrip, quantity, price, tax1, tax2, tax3;
};

std::string ItemXml(const Item& item) {
  return "<ITEM><Code>" + item.code + "</Code><Descrip>" + item.descrip + "</Descrip><Quantity>" +
         item.quantity + "</Quantity><Price>" + item.price + "</Price><Tax1>" + item.tax1 +
         "</Tax1><Tax2>" + item.tax2 + "</Tax2><Tax3>" + item.tax3 +
         "</Tax3><Notes>sin hielo</Notes></ITEM>";
}

std::string RoomServiceRequest(const std::string& arguments) {
  return Envelope(Login("ZIRUVUZ", "ZV-2024") + "<ACTIONS><Action>ROOM SERVICE</Action>" +
                  arguments + "</ACTIONS>");
}

// Two items: 2 x 10.00 with tax 1 at 10%, and 1 x 5.00 with tax 1 at 10% and tax 2 at 5%.
const std::string kTwoItems = ItemXml({"CS01", "Club sandwich", "2", "10.00", "10", "0", "0"}) +
                              ItemXml({"JN02", "Jugo de naranja", "1", "5.00", "10", "5", "0"});

const std::string kSuccessReply =
    "POST /interface/xxxxx HTTP/1.1\r\n"
    "Host: www.opentravel.org\r\n"
    "Content-Type: text/xml encoding='UTF-8'; charset=utf-8\r\n"
    "Content-Length: 294\r\n"
    "\r\n"
    "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
    "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\r\n"
    "<soap:Header>\r\n"
    "</soap:Header>\r\n"
    "<soap:Body>\r\n"
    "<ZIRUVUZ><MESSAGE>Success</MESSAGE></ZIRUVUZ>\r\n"
    "</soap:Body>\r\n"
    "</soap:Envelope>\r\n";

std::string ErrorBody(const std::string& text) {
  return "<ZIRUVUZ><ERROR>" + text + "</ERROR></ZIRUVUZ>\r\n";
}

class RoomServiceTest : public testing_support::ExchangeFixture {
 protected:
  std::string Table(const char* name) const { return dir_.File("BASES") + "/" + name + ".DBF"; }

  // Changes fields of the record found under `key` on `tag`.
  void ChangeRecord(const char* table, const char* tag, const std::string& key,
                    const std::vector<std::pair<const char*, xbase::Value>>& values) {
    xbase::Cursor cursor(Table(table));
    cursor.SetOrder(tag);
    ASSERT_TRUE(cursor.Seek(xbase::Value::Character(key))) << table << " " << key;
    ASSERT_TRUE(cursor.RLock());
    for (const auto& [field, value] : values) cursor.Put(field, value);
    cursor.Unlock();
  }

  void SetFolioCounters(const std::string& folio, const std::string& group,
                        const std::string& consecutive) {
    ChangeRecord("ENC_FOL", "ENC_FOL", Key(folio),
                 {{"GRUPO", xbase::Value::Character(group)},
                  {"CONSECUT", xbase::Value::Character(consecutive)}});
  }

  // "GRUPO CONSECUT" of a folio header.
  std::string FolioCounters(const std::string& folio) const {
    xbase::Cursor headers(Table("ENC_FOL"));
    headers.SetOrder("ENC_FOL");
    if (!headers.Seek(xbase::Value::Character(Key(folio)))) return "no folio " + folio;
    return headers.Get("GRUPO").str + " " + headers.Get("CONSECUT").str;
  }

  static std::string Key(const std::string& folio) {
    return PadCut("HTL01", 15) + PadCut(folio, 15);
  }
};

TEST_F(RoomServiceTest, AnOrderPostsItsChargeItemsAndTaxesAndAdvancesTheFolio) {
  settings::Current().XUSER_ABREVIA = "REC";
  SetFolioCounters("100001", "0041", "00A3");
  const uint32_t lines_before = RecordCount(Table("DET_FOL"));
  const uint32_t items_before = RecordCount(Table("DET_FOL2"));

  EXPECT_EQ(
      Process(RoomServiceRequest("<Room>101</Room><Ordernumber>OR-77</Ordernumber>" + kTwoItems)),
      kSuccessReply);

  const std::string common =
      "NEGOCIO=HTL01|NUMERO=100001|ROOM=101|HAB_ORIGEN=101|FECHA=20240306|HORA=10:30:15|"
      "CIERRE_DIA=20240306|FECHA_O=20240306|";
  EXPECT_EQ(
      RowsFrom(Table("DET_FOL"), lines_before + 1),
      (std::vector<std::string>{
          common + "COD_TRANS=RS|COD_TRAN=RS|COD_RACK=|GRUPO=0041|CONSECUT=00A3|DOCUMEN=OR-77|"
                   "COMENTA=OR-77 06/03/24 10:30:15|PAGO=|VOID=0|ANULA=0|SI_IMP=0|MONEDA=01|"
                   "T_CAMBIO=1.0000|DEBITO=25.00|CREDITO=|ODEBITO=|OCREDITO=|OMONEDA=|OCAMBIO=|"
                   "USUARIO=REC",
          common + "COD_TRANS=IV|COD_TRAN=RS|COD_RACK=|GRUPO=0041|CONSECUT=00A4|DOCUMEN=OR-77|"
                   "COMENTA=Room Serv OR-77 06/03/24 10:30:15|PAGO=|VOID=|ANULA=|SI_IMP=1|"
                   "MONEDA=01|T_CAMBIO=1.0000|DEBITO=2.50|CREDITO=|ODEBITO=2.50|OCREDITO=0.00|"
                   "OMONEDA=01|OCAMBIO=1.0000|USUARIO=REC",
          common + "COD_TRANS=SS|COD_TRAN=RS|COD_RACK=|GRUPO=0041|CONSECUT=00A5|DOCUMEN=OR-77|"
                   "COMENTA=Room Serv OR-77 06/03/24 10:30:15|PAGO=|VOID=|ANULA=|SI_IMP=1|"
                   "MONEDA=01|T_CAMBIO=1.0000|DEBITO=0.25|CREDITO=|ODEBITO=0.25|OCREDITO=0.00|"
                   "OMONEDA=01|OCAMBIO=1.0000|USUARIO=REC",
      }));
  const std::string detail = "NEGOCIO=HTL01|NUMERO=100001|CONSECUT=00A3|GRUPO=0041|COD_TRANS=RS|";
  EXPECT_EQ(RowsFrom(Table("DET_FOL2"), items_before + 1),
            (std::vector<std::string>{
                detail + "COD_H_ART=|DESCRIP=Club sandwich|CANTIDAD=2.00|PRECIO=20.00",
                detail + "COD_H_ART=|DESCRIP=Jugo de naranja|CANTIDAD=1.00|PRECIO=5.00",
            }));
  EXPECT_EQ(FolioCounters("100001"), "0042 00A7");
}

TEST_F(RoomServiceTest, AnEmptyOrderOnACreditCodePostsOneZeroChargeUnderTheDefaultDocument) {
  ChangeRecord("TRANSACS", "TRANSACS1", PadCut("HTL01", 15) + "RS",
               {{"CREDITO", xbase::Value::Numeric(1)}});
  const uint32_t lines_before = RecordCount(Table("DET_FOL"));
  const uint32_t items_before = RecordCount(Table("DET_FOL2"));

  // An Ordernumber before Room is not seen.
  EXPECT_EQ(Process(RoomServiceRequest("<Ordernumber>OR-1</Ordernumber><Room>101</Room>")),
            kSuccessReply);

  const std::vector<std::string> lines = RowsFrom(Table("DET_FOL"), lines_before + 1);
  ASSERT_EQ(lines.size(), 1u);
  for (const char* part :
       {"|GRUPO=0004|CONSECUT=0008|DOCUMEN=Room Serv.|COMENTA=Room Serv. 06/03/24 10:30:15|",
        "|DEBITO=|CREDITO=0.00|"}) {
    EXPECT_NE(lines[0].find(part), std::string::npos) << part << " in " << lines[0];
  }
  // Nobody has signed in at this station.
  EXPECT_TRUE(lines[0].ends_with("|USUARIO=")) << lines[0];
  EXPECT_EQ(RecordCount(Table("DET_FOL2")), items_before);
  EXPECT_EQ(FolioCounters("100001"), "0005 000A");
}

TEST_F(RoomServiceTest, TheFolioCountersAdvanceOncePerPostingAndTwoNumbers) {
  const struct {
    const char* group;
    const char* consecutive;
    const char* after;  // "GRUPO CONSECUT" of the header after an order without taxes
    bool posted;
  } cases[] = {
      {"", "", "0001 0002", true},
      {"0041", "00A3", "0042 00A5", true},
      {"0007", "ZZZZ", "0008 0001", true},  // the consecutive wraps
      // A fifth digit would repeat group 1000 and merge two postings in the statement.
      {"9999", "0001", "9999 0001", false},
  };
  for (const auto& c : cases) {
    SetFolioCounters("100001", c.group, c.consecutive);
    const std::string reply = Process(RoomServiceRequest("<Room>101</Room>"));
    EXPECT_EQ(reply == kSuccessReply, c.posted) << c.group << reply;
    EXPECT_EQ(FolioCounters("100001"), c.after) << c.group;
  }
}

TEST_F(RoomServiceTest, EachTaxLineTakesTheSideOfItsOwnCode) {
  ChangeRecord("TRANSACS", "TRANSACS1", PadCut("HTL01", 15) + "SS",
               {{"CREDITO", xbase::Value::Numeric(1)}});
  const uint32_t lines_before = RecordCount(Table("DET_FOL"));
  EXPECT_EQ(Process(RoomServiceRequest("<Room>101</Room>" + kTwoItems)), kSuccessReply);
  const std::vector<std::string> lines = RowsFrom(Table("DET_FOL"), lines_before + 1);
  ASSERT_EQ(lines.size(), 3u);
  const struct {
    const char* code;
    const char* amounts;
  } expected[] = {
      {"|COD_TRANS=RS|", "|DEBITO=25.00|CREDITO=|"},
      {"|COD_TRANS=IV|", "|DEBITO=2.50|CREDITO=|ODEBITO=2.50|OCREDITO=0.00|"},
      {"|COD_TRANS=SS|", "|DEBITO=|CREDITO=0.25|ODEBITO=0.00|OCREDITO=0.25|"},
  };
  for (size_t i = 0; i < lines.size(); ++i) {
    EXPECT_NE(lines[i].find(expected[i].code), std::string::npos) << lines[i];
    EXPECT_NE(lines[i].find(expected[i].amounts), std::string::npos) << lines[i];
  }
}

TEST_F(RoomServiceTest, AmountsAreConvertedWithTheRateTheLineStores) {
  // Room 109's folio is kept in dollars; the order comes in colones at 508.75 per dollar.
  const uint32_t lines_before = RecordCount(Table("DET_FOL"));
  EXPECT_EQ(Process(RoomServiceRequest("<Room>109</Room>" +
                                       ItemXml({"CS01", "Club", "1", "25", "0", "0", "0"}))),
            kSuccessReply);
  const std::vector<std::string> lines = RowsFrom(Table("DET_FOL"), lines_before + 1);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("|NUMERO=100009|"), std::string::npos) << lines[0];
  EXPECT_NE(lines[0].find("|T_CAMBIO=0.0020|DEBITO=0.05|"), std::string::npos) << lines[0];
}

TEST_F(RoomServiceTest, EachRoomOfAReservationPostsToItsOwnFolio) {
  // Reservation R00001 holds rooms 101, 102 and 103; the order is for the third.
  const std::string before_101 = FolioCounters("100001");
  const uint32_t lines_before = RecordCount(Table("DET_FOL"));
  EXPECT_EQ(Process(RoomServiceRequest("<Room>103</Room>" + kTwoItems)), kSuccessReply);
  for (const std::string& line : RowsFrom(Table("DET_FOL"), lines_before + 1)) {
    EXPECT_NE(line.find("|NUMERO=100003|ROOM=103|"), std::string::npos) << line;
  }
  EXPECT_EQ(FolioCounters("100001"), before_101);
}

TEST_F(RoomServiceTest, FaultsAreAnsweredBeforeAnythingIsPosted) {
  const Item good{"CS01", "Club", "1", "5", "10", "0", "0"};
  auto with = [&](auto change) {
    Item item = good;
    change(item);
    return ItemXml(item);
  };
  const struct {
    std::string arguments;
    std::string error;
  } cases[] = {
      {"<Ordernumber>1</Ordernumber>", "No Room"},
      {"<Room></Room>", "Bad Room: Empty"},
      {"<Room>101</Room><Ordernumber></Ordernumber>", "Bad Ordernumber: Empty"},
      {"<Room>101</Room>" + with([](Item& i) { i.price = ""; }), "Bad Price: Empty"},
      {"<Room>101</Room>" + with([](Item& i) { i.tax3 = ""; }), "Bad Tax3: Empty"},
      {"<Room>101</Room><ITEM><Code>A</Code><Descrip>B</Descrip></ITEM>", "No Quantity"},
      // Each child is searched from the one before it: a Code after Descrip is not seen.
      {"<Room>101</Room><ITEM><Descrip>B</Descrip><Code>A</Code><Quantity>1</Quantity>"
       "<Price>1</Price><Tax1>0</Tax1><Tax2>0</Tax2><Tax3>0</Tax3></ITEM>",
       "No Descrip"},
      // A bad second item stops the order even though the first was good.
      {"<Room>101</Room>" + ItemXml(good) + "<ITEM><Code>X</Code></ITEM>", "No Descrip"},
      // The items are read before the stay is looked up.
      {"<Room>999</Room><ITEM></ITEM>", "No Code"},
      {"<Room> 999 </Room>" + ItemXml(good), "ROOM 999 not registered"},
      // Room 106's stay has no folio.
      {"<Room>106</Room>" + ItemXml(good), "No Folio"},
  };
  const uint32_t lines_before = RecordCount(Table("DET_FOL"));
  const uint32_t items_before = RecordCount(Table("DET_FOL2"));
  const std::string counters = FolioCounters("100001");
  for (const auto& c : cases) {
    const std::string reply = Process(RoomServiceRequest(c.arguments));
    EXPECT_NE(reply.find("<soap:Body>\r\n" + ErrorBody(c.error) + "</soap:Body>"),
              std::string::npos)
        << c.arguments << "\n"
        << reply;
  }
  EXPECT_EQ(RecordCount(Table("DET_FOL")), lines_before);
  EXPECT_EQ(RecordCount(Table("DET_FOL2")), items_before);
  EXPECT_EQ(FolioCounters("100001"), counters);
}

class RoomServiceFailureTest : public RoomServiceTest {
 protected:
  void TearDown() override {
    SetPostingWriteProbe(nullptr);
    RoomServiceTest::TearDown();
  }
};

TEST_F(RoomServiceFailureTest, APostingThatFailsPartWayLeavesOnlyDeletedRecords) {
  // The writes of the two-item order: charge, two item details, two taxes, then the header.
  const struct {
    int failing_write;
    const char* name;
    size_t lines_written, items_written;  // before the failing write
  } cases[] = {{0, "charge line", 0, 0}, {1, "first item", 1, 0}, {2, "second item", 1, 1},
               {3, "first tax", 1, 2},   {4, "second tax", 2, 2}, {5, "folio header", 3, 2}};
  const std::string request =
      RoomServiceRequest("<Room>101</Room><Ordernumber>OR-9</Ordernumber>" + kTwoItems);
  const std::string counters = FolioCounters("100001");
  for (const auto& c : cases) {
    const uint32_t lines_before = RecordCount(Table("DET_FOL"));
    const uint32_t items_before = RecordCount(Table("DET_FOL2"));
    SetPostingWriteProbe([&](int writes_done) {
      if (writes_done == c.failing_write) throw std::runtime_error("disk full");
    });
    const std::string reply = Process(request);
    EXPECT_NE(reply.find(ErrorBody("Posting failed")), std::string::npos) << c.name << reply;
    const std::vector<std::string> lines = RowsFrom(Table("DET_FOL"), lines_before + 1);
    const std::vector<std::string> items = RowsFrom(Table("DET_FOL2"), items_before + 1);
    EXPECT_EQ(lines.size(), c.lines_written) << c.name;
    EXPECT_EQ(items.size(), c.items_written) << c.name;
    for (const std::vector<std::string>* rows : {&lines, &items}) {
      for (const std::string& row : *rows) EXPECT_EQ(row.substr(0, 1), "*") << c.name << row;
    }
    EXPECT_EQ(FolioCounters("100001"), counters) << c.name;
  }
  for (const char* table : {"DET_FOL", "DET_FOL2", "ENC_FOL"}) {
    for (const xbase::VerifyReport& report : xbase::Verify(Table(table))) {
      EXPECT_TRUE(report.problems.empty())
          << table << " " << report.tag << ": " << report.problems.front();
    }
  }

  // The header was released: the next posting gets the numbers the failed ones did not keep.
  SetPostingWriteProbe(nullptr);
  const uint32_t lines_before = RecordCount(Table("DET_FOL"));
  EXPECT_EQ(Process(request), kSuccessReply);
  const std::vector<std::string> lines = RowsFrom(Table("DET_FOL"), lines_before + 1);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_NE(lines[0].find("|GRUPO=0004|CONSECUT=0008|"), std::string::npos) << lines[0];
  EXPECT_EQ(FolioCounters("100001"), "0005 000C");
}

TEST_F(RoomServiceFailureTest, AnAmountTooLargeForItsFieldFailsInsteadOfStoringAsterisks) {
  const uint32_t lines_before = RecordCount(Table("DET_FOL"));
  const std::string counters = FolioCounters("100001");
  const std::string reply = Process(RoomServiceRequest(
      "<Room>101</Room>" + ItemXml({"X", "Banquete", "1", "999,999,999,999", "0", "0", "0"})));
  EXPECT_NE(reply.find(ErrorBody("Posting failed")), std::string::npos) << reply;
  const std::vector<std::string> lines = RowsFrom(Table("DET_FOL"), lines_before + 1);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].substr(0, 1), "*") << lines[0];
  EXPECT_EQ(FolioCounters("100001"), counters);
}

TEST_F(RoomServiceFailureTest, TheFolioHeaderStaysLockedWhileTheLinesAreWritten) {
  std::vector<std::string> refused;
  SetPostingWriteProbe([&](int writes_done) {
    xbase::Cursor other_station(Table("ENC_FOL"));
    other_station.SetOrder("ENC_FOL");
    ASSERT_TRUE(other_station.Seek(xbase::Value::Character(Key("100001"))));
    if (!other_station.RLock()) refused.push_back(std::to_string(writes_done));
  });
  EXPECT_EQ(Process(RoomServiceRequest("<Room>101</Room>" + kTwoItems)), kSuccessReply);
  EXPECT_EQ(refused, (std::vector<std::string>{"0", "1", "2", "3", "4", "5"}));
}

TEST(OrderNumberTest, CommasAreThousandsSeparatorsAndReadingStopsAtTheFirstStrayCharacter) {
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {"1,250.00", 1250}, {"12,5", 125}, {"  -3.5kg", -3.5}, {"+.5", 0.5}, {"1e3", 1},
      {"abc", 0},         {"", 0},       {"-", 0},           {"7.", 7},    {"0x10", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(OrderNumber(c.text), c.value) << c.text;
}

}  // namespace

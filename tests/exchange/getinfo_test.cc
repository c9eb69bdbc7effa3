// GETINFO on the demo database: the whole reply for an in-house guest, how room and names are
// matched, and the formats of numbers, dates and missing values.
#include <gtest/gtest.h>

#include "lib/data/write_protocol.h"
#include "tests/exchange/exchange_fixture.h"

namespace {

using testing_support::BodyOf;

using testing_support::Envelope;
using testing_support::Login;

std::string GetInfoRequest(const std::string& room, const std::string& first,
                           const std::string& last) {
  return Envelope(Login("ZIRUVUZ", "ZV-2024") + "<ACTIONS><Action>GETINFO</Action><Room>" + room +
                  "</Room><FirstName>" + first + "</FirstName><LastName>" + last +
                  "</LastName></ACTIONS>");
}

class GetInfoTest : public testing_support::ExchangeFixture {};

TEST_F(GetInfoTest, TheStayOfAnInHouseGuestIsAnsweredWhole) {
  // Room 101: José Muñoz, one adult and two children, 5 to 7 March, plan BAR.
  const std::string expected =
      "POST /interface/xxxxx HTTP/1.1\r\n"
      "Host: www.opentravel.org\r\n"
      "Content-Type: text/xml encoding='UTF-8'; charset=utf-8\r\n"
      "Content-Length: 522\r\n"
      "\r\n"
      "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
      "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
      "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\r\n"
      "<soap:Header>\r\n"
      "</soap:Header>\r\n"
      "<soap:Body>\r\n"
      "<ACTIONS>\r\n"
      "<Action>GETINFO</Action>\r\n"
      "<Room>101</Room>\r\n"
      "<Adults>1</Adults>\r\n"
      "<Childs>2</Childs>\r\n"
      "<email>huesped0@correo.example</email>\r\n"
      "<Arrival>2024-03-05</Arrival>\r\n"
      "<Departure>2024-03-07</Departure>\r\n"
      "<OpenCredit>1</OpenCredit>\r\n"
      "<RatePlan>Tarifa rack</RatePlan>\r\n"
      "</ACTIONS>\r\n"
      "</soap:Body>\r\n"
      "</soap:Envelope>\r\n";
  EXPECT_EQ(Process(GetInfoRequest("101", "Jos\xE9", "Mu\xF1oz")), expected);
  const std::vector<testing_support::LogRecord> log = LogRecords();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[1].info, expected.substr(expected.find("<soap:Header>")));
}

TEST_F(GetInfoTest, RoomAndNamesMatchAsTheHotelStoresThem) {
  const struct {
    const char* name;
    std::string room, first, last;
  } cases[] = {
      {"blanks around the room", " 101 ", "Jos\xE9", "Mu\xF1oz"},
      {"room cut to 15 characters", "101            X", "Jos\xE9", "Mu\xF1oz"},
      {"names in another case", "101", "jOS\xE9", "mU\xF1OZ"},
      {"only the first 20 characters count", "101", "Jos\xE9                xyz", "Mu\xF1oz"},
  };
  for (const auto& c : cases) {
    EXPECT_NE(Process(GetInfoRequest(c.room, c.first, c.last)).find("<Room>101</Room>"),
              std::string::npos)
        << c.name;
  }
}

TEST_F(GetInfoTest, OddStayValuesKeepTheirFormats) {
  // Room 102's stay: the widest count, none, no e-mail, no departure, a reservation that is gone.
  data::SelectArea(tables_.DET_RES2->Area);
  data::SelectedCursor().SetOrder("DET_RS30");
  ASSERT_TRUE(tables_.DET_RES2->Seek(tables_.Negocio + "1" + "102"));
  const std::string first = tables_.DET_RES2->FieldGet("NOMBRE").str;
  const std::string last = tables_.DET_RES2->FieldGet("APELLIDO1").str;
  data::LOCK_FOR_MODIFY();
  tables_.DET_RES2->FieldPut("N_ADULT", xbase::Value::Numeric(9999));
  tables_.DET_RES2->FieldPut("N_NINHO", xbase::Value::Numeric(0));
  tables_.DET_RES2->FieldPut("EMAIL", xbase::Value::Character(""));
  tables_.DET_RES2->FieldPut("F_FINAL", xbase::Value::Date(0));
  tables_.DET_RES2->FieldPut("COD_RES", xbase::Value::Character("GONE"));
  data::UNLOCK_FOR_MODIFY();

  EXPECT_EQ(BodyOf(Process(GetInfoRequest("102", first, last))),
            "<ACTIONS>\r\n"
            "<Action>GETINFO</Action>\r\n"
            "<Room>102</Room>\r\n"
            "<Adults>9999</Adults>\r\n"
            "<Childs>0</Childs>\r\n"
            "<email></email>\r\n"
            "<Arrival>2024-03-04</Arrival>\r\n"
            "<Departure>0000-00-00</Departure>\r\n"
            "<OpenCredit>1</OpenCredit>\r\n"
            "<RatePlan></RatePlan>\r\n"
            "</ACTIONS>\r\n");
}

}  // namespace

// Requests built from values: the frame, the elements the server reads, and values that need
// escaping read back unchanged by the server's own XML reader.
#include "tools/ziruvuz_client/request_builder.h"

#include <gtest/gtest.h>

#include <string>

#include "exchange/xml/xml_document.h"

namespace {

using zvclient::RequestAction;
using zvclient::RequestFields;

RequestFields RoomService() {
  RequestFields fields;
  fields.action = RequestAction::kRoomService;
  fields.user = "ZIRUVUZ";
  fields.password = "ZV-2024";
  fields.room = "101";
  fields.order_number = "OR-7";
  fields.items = {{"CAF", "Cafe & pan", "2", "10.00", "13", "10", "0"},
                  {"AGU", "Agua", "1", "2.50", "0", "0", "0"}};
  return fields;
}

TEST(RequestBuilderTest, TheFrameCarriesTheHeaderOfAPeerAndTheLengthOfTheEnvelope) {
  const std::string request = zvclient::BuildRequest(RoomService(), "hotel.example:7100");
  const size_t body_start = request.find("\r\n\r\n") + 4;
  const std::string header = request.substr(0, body_start);
  const std::string body = request.substr(body_start);
  EXPECT_EQ(header,
            "POST /interface HTTP/1.1\r\n"
            "Host: hotel.example:7100\r\n"
            "Content-Type: text/xml; charset=utf-8\r\n"
            "Content-Length: " +
                std::to_string(body.size()) +
                "\r\n"
                "SOAPAction: \"\"\r\n"
                "\r\n");
  EXPECT_TRUE(body.starts_with("<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<soap:Envelope "))
      << body;
  // Nothing may follow the end tag: the server hands the text on as soon as it has arrived.
  EXPECT_TRUE(body.ends_with("</soap:Body>\r\n</soap:Envelope>")) << body;
}

TEST(RequestBuilderTest, EachActionWritesTheElementsTheServerReadsInItsOrder) {
  const std::string login =
      "<ZIRUVUZ>\r\n<login>\r\n<username>ZIRUVUZ</username>\r\n"
      "<password>ZV-2024</password>\r\n</login>\r\n<ACTIONS>\r\n";
  RequestFields getinfo;
  getinfo.user = "ZIRUVUZ";
  getinfo.password = "ZV-2024";
  getinfo.room = "101";
  getinfo.first_name = "Ana";
  getinfo.last_name = "Rivas";
  RequestFields statement = getinfo;
  statement.action = RequestAction::kStatement;

  const struct {
    RequestFields fields;
    std::string expected;
  } cases[] = {
      {getinfo, login +
                    "<Action>GETINFO</Action>\r\n<Room>101</Room>\r\n<FirstName>Ana</FirstName>\r\n"
                    "<LastName>Rivas</LastName>\r\n</ACTIONS>\r\n</ZIRUVUZ>\r\n"},
      {statement, login + "<Action>GETSTATEMENT</Action>\r\n<Room>101</Room>\r\n</ACTIONS>\r\n"
                          "</ZIRUVUZ>\r\n"},
      {RoomService(),
       login + "<Action>ROOM "
               "SERVICE</Action>\r\n<Room>101</Room>\r\n<Ordernumber>OR-7</Ordernumber>\r\n"
               "<ITEM>\r\n<Code>CAF</Code>\r\n<Descrip>Cafe &amp; pan</Descrip>\r\n"
               "<Quantity>2</Quantity>\r\n<Price>10.00</Price>\r\n<Tax1>13</Tax1>\r\n"
               "<Tax2>10</Tax2>\r\n<Tax3>0</Tax3>\r\n</ITEM>\r\n"
               "<ITEM>\r\n<Code>AGU</Code>\r\n<Descrip>Agua</Descrip>\r\n"
               "<Quantity>1</Quantity>\r\n<Price>2.50</Price>\r\n<Tax1>0</Tax1>\r\n"
               "<Tax2>0</Tax2>\r\n<Tax3>0</Tax3>\r\n</ITEM>\r\n</ACTIONS>\r\n</ZIRUVUZ>\r\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(zvclient::BuildZiruvuzElement(c.fields), c.expected);
  }
}

TEST(RequestBuilderTest, ValuesThatNeedEscapingAreReadBackUnchanged) {
  for (const std::string value :
       {"a<b", "x & y", "\"q\"", "it's", "1>0", "&amp;", "Jos\xE9 Mu\xF1oz", "]]>"}) {
    RequestFields fields = RoomService();
    fields.password = value;
    fields.order_number = value;
    fields.items[0].descrip = value;
    const TXmlDocument document = TXmlDocument::New(zvclient::BuildRequest(fields, "localhost"));
    for (const char* name : {"password", "Ordernumber", "Descrip"}) {
      const TXmlNode* element = document.FindFirst(name);
      ASSERT_NE(element, nullptr) << name << " in " << value;
      EXPECT_EQ(element->CData().value_or("(none)"), value) << name;
    }
  }
}

}  // namespace

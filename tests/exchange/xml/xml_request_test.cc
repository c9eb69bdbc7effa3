// A request as the guest-services platform sends it, searched the way request handling does:
// FindFirst for the request and its actions, a fresh iterator on each found element.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exchange/xml/xml_document.h"
#include "exchange/xml/xml_iterator.h"

namespace {

constexpr char kRoomServiceRequest[] =
    "POST /interface/xxxxx HTTP/1.1\r\n"
    "Host: 192.0.2.10:8080\r\n"
    "Content-Type: text/xml; charset=utf-8\r\n"
    "Content-Length: 1024\r\n"
    "SOAPAction: \"\"\r\n"
    "\r\n"
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
    "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
    "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\r\n"
    "  <soap:Header/>\r\n"
    "  <soap:Body>\r\n"
    "    <ZIRUVUZ>\r\n"
    "      <login>\r\n"
    "        <username>FRONT1</username>\r\n"
    "        <password>s3cr&amp;t</password>\r\n"
    "      </login>\r\n"
    "      <ACTIONS>\r\n"
    "        <Action>ROOM SERVICE</Action>\r\n"
    "        <Room>101</Room>\r\n"
    "        <Ordernumber>RS-2024-0042</Ordernumber>\r\n"
    "        <ITEMS>\r\n"
    "          <ITEM>\r\n"
    "            <Code>BRK01</Code>\r\n"
    "            <Descrip>Desayuno continental &amp; zumo</Descrip>\r\n"
    "            <Quantity>2</Quantity>\r\n"
    "            <Price>1,250.00</Price>\r\n"
    "            <Tax1>10</Tax1>\r\n"
    "            <Tax2>0</Tax2>\r\n"
    "            <Tax3>0</Tax3>\r\n"
    "            <Notes/>\r\n"
    "          </ITEM>\r\n"
    "          <ITEM>\r\n"
    "            <Code>CAF02</Code>\r\n"
    "            <Descrip>Caf\xE9 con leche</Descrip>\r\n"
    "            <Quantity>1</Quantity>\r\n"
    "            <Price>3.50</Price>\r\n"
    "            <Tax1>10</Tax1>\r\n"
    "            <Tax2>0</Tax2>\r\n"
    "            <Tax3>1.5</Tax3>\r\n"
    "            <Notes>sin az\xFA"
    "car</Notes>\r\n"
    "          </ITEM>\r\n"
    "        </ITEMS>\r\n"
    "      </ACTIONS>\r\n"
    "    </ZIRUVUZ>\r\n"
    "  </soap:Body>\r\n"
    "</soap:Envelope>";

std::string TextOf(const TXmlNode* node) {
  if (!node) return "<missing>";
  return node->CData().value_or("<none>");
}

TEST(XmlRequest, RoomServiceRequestReadsAsRequestHandlingSearchesIt) {
  const TXmlDocument document = TXmlDocument::New(kRoomServiceRequest);

  const TXmlNode* request = document.FindFirst("ZIRUVUZ");
  ASSERT_NE(request, nullptr);
  TXmlIteratorScan in_request(*request);
  const TXmlNode* login = in_request.Find("login");
  ASSERT_NE(login, nullptr);
  TXmlIteratorScan in_login(*login);
  EXPECT_EQ(TextOf(in_login.Find("username")), "FRONT1");
  EXPECT_EQ(TextOf(in_login.Find("password")), "s3cr&t");

  const TXmlNode* actions = document.FindFirst("ACTIONS");
  ASSERT_NE(actions, nullptr);
  TXmlIteratorScan in_actions(*actions);
  EXPECT_EQ(TextOf(in_actions.Find("Action")), "ROOM SERVICE");
  EXPECT_EQ(TextOf(in_actions.Find("Room")), "101");
  EXPECT_EQ(TextOf(in_actions.Find("Ordernumber")), "RS-2024-0042");

  std::vector<std::vector<std::string>> items;
  TXmlIteratorScan item_scan(*actions);
  for (const TXmlNode* item = item_scan.Find("ITEM"); item; item = item_scan.Next()) {
    TXmlIteratorScan in_item(*item);
    std::vector<std::string>& fields = items.emplace_back();
    for (const char* name :
         {"Code", "Descrip", "Quantity", "Price", "Tax1", "Tax2", "Tax3", "Notes"}) {
      fields.push_back(TextOf(in_item.Find(name)));
    }
  }
  EXPECT_EQ(items,
            (std::vector<std::vector<std::string>>{
                {"BRK01", "Desayuno continental & zumo", "2", "1,250.00", "10", "0", "0", "<none>"},
                {"CAF02", "Caf\xE9 con leche", "1", "3.50", "10", "0", "1.5",
                 "sin az\xFA"
                 "car"},
            }));
}

TEST(XmlRequest, BrokenEnvelopeLosesTheWholeRequest) {
  std::string text = kRoomServiceRequest;
  text.replace(text.find("</Room>"), 7, "</Room >");
  const TXmlDocument document = TXmlDocument::New(text);
  EXPECT_EQ(document.FindFirst("ZIRUVUZ"), nullptr);
  EXPECT_EQ(document.FindFirst("ACTIONS"), nullptr);
  EXPECT_NE(document.FindFirst("xml"), nullptr);  // the declaration before it stays
}

}  // namespace

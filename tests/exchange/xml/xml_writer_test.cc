// The written bytes: layout, attribute order and escaping.

#include <gtest/gtest.h>

#include <string>

#include "exchange/xml/correct_xml.h"
#include "exchange/xml/xml_document.h"

namespace {

using namespace std::string_literals;

TEST(XmlWrite, ElementWithChildrenTextAndEmptyText) {
  auto actions = TXmlNode::New("GETINFO", "ACTIONS");
  actions->AddBelow(TXmlNode::New("GETINFO", "Action", {}, "GETINFO"));
  actions->AddBelow(TXmlNode::New("Room", "Room", {}, "101"));
  actions->AddBelow(TXmlNode::New("email", "email", {}, ""));
  EXPECT_EQ(actions->ToString(),
            "<ACTIONS>\r\n"
            "<Action>GETINFO</Action>\r\n"
            "<Room>101</Room>\r\n"
            "<email></email>\r\n"
            "</ACTIONS>\r\n");
}

TEST(XmlWrite, ElementWithoutChildrenOrTextIsClosedInItsStartTag) {
  auto entry = TXmlNode::New("ENTRY", "ENTRY");
  entry->SetAttribute("DATE", "2024-03-01");
  entry->SetAttribute("COMMENT", "Bar");
  EXPECT_EQ(entry->ToString(), "<ENTRY COMMENT=\"Bar\" DATE=\"2024-03-01\"/>\r\n");
}

TEST(XmlWrite, AttributesInAscendingUnsignedByteOrder) {
  auto entry = TXmlNode::New("", "E");
  for (const char* name : {"DATE", "DOCUMENT", "TRANSACTION", "COMMENT", "DEBIT", "CREDIT"}) {
    entry->SetAttribute(name, "");
  }
  EXPECT_EQ(
      entry->ToString(),
      "<E COMMENT=\"\" CREDIT=\"\" DATE=\"\" DEBIT=\"\" DOCUMENT=\"\" TRANSACTION=\"\"/>\r\n");

  auto room = TXmlNode::New("", "R", {{"Room", "1"}, {"Name", "2"}});
  room->SetAttribute("\xE9", "3");  // above 127: after every ASCII name
  room->SetAttribute("a", "4");
  room->SetAttribute("Room", "5");  // replaces the value in place
  EXPECT_EQ(room->ToString(), "<R Name=\"2\" Room=\"5\" a=\"4\" \xE9=\"3\"/>\r\n");
}

TEST(XmlWrite, TextsAndValuesAreEscapedUpToTheirFirstZeroByte) {
  auto node = TXmlNode::New("", "a<&", {{"v", "\"&'<>\xF1"s}}, "x\"&'<>\xF1\x01\0tail"s);
  EXPECT_EQ(node->ToString(),
            "<a<& v=\"&quot;&amp;&apos;&lt;&gt;\xF1\">"
            "x&quot;&amp;&apos;&lt;&gt;\xF1\x01</a<&>\r\n");
}

TEST(XmlWrite, ReadTextRoundTripsThroughTheEntitiesAndTheFilter) {
  const TXmlDocument document = TXmlDocument::New("<Room>Room&amp;1</Room>");
  const TXmlNode* room = document.FindFirst("Room");
  ASSERT_NE(room, nullptr);
  EXPECT_EQ(room->CData(), "Room&1");
  EXPECT_EQ(room->ToString(), "<Room>Room&amp;1</Room>\r\n");
  EXPECT_EQ(CORRECT_XML(room->ToString()), "<Room>Room amp;1</Room>\r\n");
}

TEST(XmlWrite, ReadTreeWithEveryKindOfNode) {
  const TXmlDocument document =
      TXmlDocument::New("HDR<!--c--><?pi x?><!DOCTYPE y><a>t<b/><![CDATA[<z>]]></a><c>1<d/>2</c>");
  EXPECT_EQ(document.Root().ToString(),
            "HDR\r\n<!--c-->\r\n<?pi x?>\r\n<!DOCTYPE y>\r\n"
            "<a>\r\n<b/>\r\n<![CDATA[<z>]]>\r\nt</a>\r\n"
            "<c>\r\n1\r\n<d/>\r\n2\r\n</c>\r\n");
}

}  // namespace

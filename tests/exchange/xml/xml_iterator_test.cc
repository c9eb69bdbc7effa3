// Name matching (the searched name begins with the node's whole name) and the search order.

#include "exchange/xml/xml_iterator.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exchange/xml/xml_document.h"

namespace {

std::string IdOf(const TXmlNode* node) {
  if (!node) return "none";
  const auto id = node->aAttributes.find("id");
  return id == node->aAttributes.end() ? *node->cName : id->second;
}

struct MatchCase {
  const char* element;
  const char* searched;
  bool found;
};

TEST(XmlNameMatching, SearchedNameBeginsWithTheWholeElementName) {
  const MatchCase cases[] = {
      {"password", "password", true},  {"pass", "password", true}, {"passwords", "password", false},
      {"Password", "password", false}, {"Room1", "Room", false},   {"Ro", "Room", true},
      {"soap:Body", "Body", false},
  };
  for (const MatchCase& c : cases) {
    const TXmlDocument document = TXmlDocument::New(std::string("<") + c.element + "/>");
    EXPECT_EQ(document.FindFirst(c.searched) != nullptr, c.found)
        << c.element << " searched as " << c.searched;
  }
}

// Processing instructions and directives carry a name and match like elements.
TEST(XmlNameMatching, TextCommentAndCDataNeverMatch) {
  const TXmlDocument document = TXmlDocument::New(
      "ZIRUVUZ header<!--ZIRUVUZ--><![CDATA[ZIRUVUZ]]><?ZIRUVUZ?><ZIRUVUZ id='e'/>");
  EXPECT_EQ(document.FindFirst("ZIRUVUZ")->nType, kXmlProcessingInstruction);
  TXmlIteratorScan scan(document.Root());
  EXPECT_NE(scan.Find("ZIRUVUZ"), nullptr);
  EXPECT_EQ(IdOf(scan.Next()), "e");
  EXPECT_EQ(document.FindFirst(""), nullptr);
}

TEST(XmlFindFirst, WholeDocumentInDocumentOrderFromTheStartEachTime) {
  const TXmlDocument document = TXmlDocument::New(
      "POST / HTTP/1.1\r\n\r\n"
      "<soap:Envelope><soap:Body><ZIRUVUZ id='z1'><login/></ZIRUVUZ></soap:Body>"
      "</soap:Envelope><ACTIONS id='outside'/>"
      "<soap:Envelope><ZIRUVUZ id='z2'/></soap:Envelope>");
  EXPECT_EQ(IdOf(document.FindFirst("ZIRUVUZ")), "z1");
  EXPECT_EQ(IdOf(document.FindFirst("ZIRUVUZ")), "z1");
  EXPECT_EQ(IdOf(document.FindFirst("ACTIONS")), "outside");
  EXPECT_EQ(IdOf(document.FindFirst("POST")), "none");
  EXPECT_EQ(TXmlDocument::New("").FindFirst("a"), nullptr);
}

TEST(XmlIteratorScan, TopNodeFirstThenItsSubtree) {
  const TXmlDocument document = TXmlDocument::New("<login><login id='inner'/></login>");
  TXmlIteratorScan scan(*document.FindFirst("login"));
  EXPECT_EQ(IdOf(scan.Find("login")), "login");
  EXPECT_EQ(IdOf(scan.Next()), "inner");
}

TEST(XmlIteratorScan, LaterFindStartsAtTheLastFoundNode) {
  const TXmlDocument document =
      TXmlDocument::New("<login><password>p</password><username>u</username></login>");
  TXmlIteratorScan scan(*document.FindFirst("login"));
  EXPECT_EQ(IdOf(scan.Find("username")), "username");
  EXPECT_EQ(IdOf(scan.Find("password")), "none");
  EXPECT_EQ(IdOf(scan.Find("username")), "username");  // the failed Find moved nothing
}

TEST(XmlIteratorScan, ShortElementNameMatchesALongerSearch) {
  const TXmlDocument document =
      TXmlDocument::New("<login><username>u</username><pass>p</pass></login>");
  TXmlIteratorScan scan(*document.FindFirst("login"));
  ASSERT_NE(scan.Find("username"), nullptr);
  const TXmlNode* password = scan.Find("password");
  ASSERT_NE(password, nullptr);
  EXPECT_EQ(*password->cName, "pass");
  EXPECT_EQ(password->CData(), "p");
}

TEST(XmlIteratorScan, NextGivesNestedOccurrencesBeforeLaterSiblings) {
  const TXmlDocument document = TXmlDocument::New(
      "<i id='before'/><r><i id='1'><x><i id='2'/></x></i><i id='3'/></r><i id='after'/>");
  TXmlIteratorScan scan(*document.FindFirst("r"));
  std::vector<std::string> found = {IdOf(scan.Find("i"))};
  while (const TXmlNode* next = scan.Next()) found.push_back(IdOf(next));
  EXPECT_EQ(found, (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_EQ(IdOf(scan.Next()), "none");  // still at the last one, still nothing after it
}

TEST(XmlIteratorScan, NeverLeavesTheTopNodesSubtree) {
  const TXmlDocument document =
      TXmlDocument::New("<r><a><b/></a><x id='sibling'/><q><x id='cousin'/></q></r>");
  const TXmlNode* a = document.FindFirst("a");
  ASSERT_NE(a, nullptr);
  TXmlIteratorScan from_a(*a);
  EXPECT_EQ(IdOf(from_a.Find("x")), "none");
  TXmlIteratorScan from_b(*a->oChild());  // a leaf with no next sibling
  EXPECT_EQ(IdOf(from_b.Find("x")), "none");
}

TEST(XmlIteratorScan, OnTheDocumentSearchesEveryTopLevelNode) {
  const TXmlDocument document = TXmlDocument::New("text<a id='1'/><b><a id='2'/></b>");
  TXmlIteratorScan scan(document.Root());
  EXPECT_EQ(IdOf(scan.Find("a")), "1");
  EXPECT_EQ(IdOf(scan.Next()), "2");
  EXPECT_EQ(IdOf(scan.Next()), "none");
  const TXmlDocument empty = TXmlDocument::New("");
  TXmlIteratorScan on_empty(empty.Root());
  EXPECT_EQ(on_empty.Find("a"), nullptr);
}

}  // namespace

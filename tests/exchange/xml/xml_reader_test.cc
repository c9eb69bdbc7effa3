// Reading rules: each case is a small text and the tree it must give (see xml_dump.h).

#include <gtest/gtest.h>

#include <string>

#include "exchange/xml/xml_document.h"
#include "tests/exchange/xml/xml_dump.h"

namespace {

struct ReadCase {
  const char* what;
  std::string text;
  std::string tree;
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.what; }

class XmlReadTest : public testing::TestWithParam<ReadCase> {};

TEST_P(XmlReadTest, GivesTree) {
  EXPECT_EQ(Dump(TXmlDocument::New(GetParam().text)), GetParam().tree) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    WellFormed, XmlReadTest,
    testing::Values(
        ReadCase{"header before the envelope is one nameless text",
                 "POST /interface/xxxxx HTTP/1.1\r\nHost: h\r\n\r\n<soap:Envelope><soap:Body/>"
                 "</soap:Envelope>",
                 "\"POST /interface/xxxxx HTTP/1.1\r\nHost: h\" | soap:Envelope{soap:Body}"},
        ReadCase{"text loses surrounding white space", "<Room>\r\n  101 \t\v\f\r\n</Room>",
                 "Room=\"101\""},
        ReadCase{"vertical tab and form feed start a text that trims to empty", "<a>\v\f</a>",
                 "a=\"\""},
        ReadCase{"white space inside a text stays", "<a> x \t y </a>", "a=\"x \t y\""},
        ReadCase{"predefined entities", "<a>Room&amp;1 &lt;&gt;&quot;&apos;</a>",
                 "a=\"Room&1 <>\"'\""},
        ReadCase{"other entities stay as written", "<a>&nbsp;&#233;&;&foo bar;</a>",
                 "a=\"&nbsp;&#233;&;&foo bar;\""},
        ReadCase{"bytes are not transcoded, whatever the declaration says",
                 "<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>Espa\xF1"
                 "a \xC3\xA9</a>",
                 "?xml\"version=\"1.0\" encoding=\"UTF-8\"\" | a=\"Espa\xF1"
                 "a \xC3\xA9\""},
        ReadCase{"name characters", "<soap:Envelope><a-b_c:d9/></soap:Envelope>",
                 "soap:Envelope{a-b_c:d9}"},
        ReadCase{"attributes in both quotes, blanks around =, entities decoded",
                 "<a z=\"&amp;&lt;\" x = '1\"' y\r\n=\"A&B\" x2='2'/>", "a[x=1\" x2=2 y=A&B z=&<]"},
        ReadCase{"a repeated attribute takes the last value", "<a x='1' x='2'/>", "a[x=2]"},
        ReadCase{"empty element, empty content and CDATA give no text",
                 "<r><a/><b></b><c><![CDATA[ <x>&amp; ]]></c></r>",
                 "r{a b c{#cdata\" <x>&amp; \"}}"},
        ReadCase{"a single text next to an element is folded", "<a>x<b/></a>", "a=\"x\"{b}"},
        ReadCase{"two texts are not folded", "<a>x<b/>y</a>", "a{\"x\" b \"y\"}"},
        ReadCase{"unfolded texts keep their places", "<a><b/>x<c/>y<d/>z</a>",
                 "a{b \"x\" c \"y\" d \"z\"}"},
        ReadCase{"comments are not folded", "<a><!--x--></a>", "a{#comment\"x\"}"},
        ReadCase{"processing instruction, comment and directive",
                 "<!DOCTYPE html><!-- c --><?pi  a b ?><?  ?><a/>",
                 "!DOCTYPE\"html\" | #comment\" c \" | ?pi\"a b \" | ?\"\" | a"},
        ReadCase{"several top-level elements", "<a>1</a> <a>2</a>x", "a=\"1\" | a=\"2\" | \"x\""},
        ReadCase{"nothing at all", " \r\n\t", ""}),
    [](const testing::TestParamInfo<ReadCase>& info) { return std::to_string(info.index); });

// On an error reading stops; the top-level node being read goes with all it holds.
INSTANTIATE_TEST_SUITE_P(
    Errors, XmlReadTest,
    testing::Values(
        ReadCase{"ampersand without semicolon in an element", "<a>ok</a><b><c>x & y</c></b>",
                 "a=\"ok\""},
        ReadCase{"semicolon only after the next tag", "<a>ok</a><b>x &amp<c>;</c></b>", "a=\"ok\""},
        ReadCase{"ampersand without semicolon at the top level", "GET /?a=1&b=2\r\n\r\n<a/>", ""},
        ReadCase{"blank before > of an end tag", "<a>1</a><b><c>2</c ></b><d/>", "a=\"1\""},
        ReadCase{"end tag of another element", "<a/><b><c></b></c>", "a"},
        ReadCase{"end tag longer than the name", "<a/><b></bc>", "a"},
        ReadCase{"end tag shorter than the name", "<a/><bc></b>", "a"},
        ReadCase{"end tag at the top level", "<a/></a><b/>", "a"},
        ReadCase{"end tag cut short", "<a/><b></b", "a"},
        ReadCase{"unterminated comment", "<a/><b><!-- x", "a"},
        ReadCase{"unterminated CDATA", "<a/><b><![CDATA[ x ]]", "a"},
        ReadCase{"unterminated processing instruction", "<a/><?pi x", "a"},
        ReadCase{"unterminated directive", "<a/><!DOCTYPE x", "a"},
        ReadCase{"unterminated start tag", "<a/><b x='1'", "a"},
        ReadCase{"unterminated attribute value", "<a/><b x='1>", "a"},
        ReadCase{"attribute without value", "<a/><b x>", "a"},
        ReadCase{"unquoted attribute value", "<a/><b x=1>", "a"},
        ReadCase{"attribute name not starting with a letter", "<a/><b 1x='1'>", "a"},
        ReadCase{"< followed by a blank", "<a/><b>< c/></b>", "a"},
        ReadCase{"<! followed by neither letter, -- nor [CDATA[", "<a/><!-x->", "a"},
        ReadCase{"< at the end", "<a/><", "a"}),
    [](const testing::TestParamInfo<ReadCase>& info) { return std::to_string(info.index); });

// The end of the text inside open elements keeps them as read, without folding.
INSTANTIATE_TEST_SUITE_P(
    EndInsideElements, XmlReadTest,
    testing::Values(ReadCase{"text left open", "<a>text", "a{\"text\"}"},
                    ReadCase{"inner element left open", "<a><b>x</b><c>y  ", "a{b=\"x\" c{\"y\"}}"},
                    ReadCase{"text after a child", "<a><b/>x", "a{b \"x\"}"},
                    ReadCase{"completed nodes before stay", "<z/><a><b/>", "z | a{b}"}),
    [](const testing::TestParamInfo<ReadCase>& info) { return std::to_string(info.index); });

TEST(XmlReadLinks, ParentsAndSiblingsAreLinked) {
  const TXmlDocument document = TXmlDocument::New("<r><a/>x<b/></r>");
  const TXmlNode* r = document.Root().oChild();
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->oParent(), &document.Root());
  const TXmlNode* a = r->oChild();
  const TXmlNode* b = a->oNext();
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(*b->cName, "b");  // the folded text node is unlinked
  EXPECT_EQ(b->oPrev(), a);
  EXPECT_EQ(b->oNext(), nullptr);
  EXPECT_EQ(b->oParent(), r);
  EXPECT_EQ(r->CData(), "x");
}

}  // namespace

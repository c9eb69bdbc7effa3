#include "exchange/xml/correct_xml.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

TEST(CorrectXml, FoldsAccentsAndBlanksTheRest) {
  const std::string in = "&\xE1\xE9\xED\xF3\xFA\xF1\xC1\xC9\xCD\xD3\xDA\xD1\xB4\xDD`"s;
  EXPECT_EQ(CORRECT_XML(in), " aeiounAEIOUN'  ");
  EXPECT_EQ(CORRECT_XML("a\xFC\t\x7F\x80\xFF\0\x1F\r\nz"s), "a" + std::string(7, ' ') + "\r\nz");
  EXPECT_EQ(CORRECT_XML("<E COMMENT=\"Caf&amp;\xE9 &apos;\"/>\r\n"),
            "<E COMMENT=\"Caf amp;e  apos;\"/>\r\n");
  std::string printable;
  for (char c = ' '; c <= '~'; ++c) {
    if (c != '&' && c != '`') printable += c;
  }
  EXPECT_EQ(CORRECT_XML(printable), printable);
}

}  // namespace

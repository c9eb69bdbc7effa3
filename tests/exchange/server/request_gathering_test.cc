// Gathering a request: framing bytes dropped, and the end of the envelope found even when it
// arrives split over two chunks.
#include "exchange/server/request_gathering.h"

#include <gtest/gtest.h>

namespace {

TEST(RequestGatheringTest, StxAndEtxAreDroppedWherever) {
  EXPECT_EQ(WithoutFraming("\x02<a>\x03"), "<a>");
  EXPECT_EQ(WithoutFraming("<\x02"
                           "a\x03\x03>"),
            "<a>");
  EXPECT_EQ(WithoutFraming("\x01\x04 kept"), "\x01\x04 kept");
  EXPECT_EQ(WithoutFraming(std::string("\0\x02", 2)), std::string("\0", 1));
}

TEST(RequestGatheringTest, EnvelopeEndIsFoundWhereTheLastChunkCouldHaveCompletedIt) {
  struct Case {
    const char* name;
    std::string text;
    size_t searched;
    bool holds;
  } cases[] = {
      {"in the only chunk", "x</soap:Envelope>y", 0, true},
      {"split over two chunks", "<soap:Body></soap:Envelope>", 14, true},
      {"wholly in the last chunk", "<a></soap:Envelope>", 3, true},
      {"only in text already looked at", "</soap:Envelope>" + std::string(40, ' '), 40, false},
      {"other prefix", "</SOAP:Envelope></s:Envelope>", 0, false},
      {"not yet complete", "</soap:Envelope", 0, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HoldsEnvelopeEnd(c.text, c.searched), c.holds) << c.name;
  }
}

}  // namespace

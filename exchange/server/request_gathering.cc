#include "exchange/server/request_gathering.h"

#include <algorithm>

std::string WithoutFraming(std::string_view chunk) {
  std::string text(chunk);
  std::erase_if(text, [](char byte) { return byte == '\x02' || byte == '\x03'; });
  return text;
}

bool HoldsEnvelopeEnd(std::string_view text, size_t searched) {
  // The tag may straddle the old end: start one tag length short of it.
  const size_t overlap = kEnvelopeEnd.size() - 1;
  const size_t from = searched > overlap ? std::min(searched - overlap, text.size()) : 0;
  return text.find(kEnvelopeEnd, from) != std::string_view::npos;
}

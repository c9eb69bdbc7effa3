#pragma once
// How a connection's bytes become one request text: framing bytes dropped, chunks gathered
// until the end of a SOAP envelope has arrived, and a bound on what a peer may send without
// ever closing its envelope.

#include <cstddef>
#include <string>
#include <string_view>

#include "exchange/process_request.h"

// More than this many gathered bytes without kEnvelopeEnd: the peer is not sending a request
// the exchange could ever answer, and its connection is closed before it can exhaust memory.
inline constexpr size_t kMaxGatheredBytes = size_t{1} << 20;

// The chunk without its STX (2) and ETX (3) bytes, wherever they stand.
std::string WithoutFraming(std::string_view chunk);

// Whether `text` holds kEnvelopeEnd; the first `searched` bytes were already looked at (they
// are what the text held before its last chunk), so only the end of the text is searched.
bool HoldsEnvelopeEnd(std::string_view text, size_t searched);

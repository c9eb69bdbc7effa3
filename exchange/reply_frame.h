#pragma once
// The frame around every reply body: an HTTP-style header whose Content-Length counts the
// message, and the message, a SOAP envelope holding the body unchanged.

#include <string>
#include <string_view>

struct FramedReply {
  std::string header;        // the request line, Host, Content-Type, Content-Length, empty line
  std::string envelope_tag;  // "<soap:Envelope ...>" CR LF
  std::string logged;        // from "<soap:Header>" through the final CR LF: what the log keeps

  // Everything that goes on the wire, in one block.
  std::string Wire() const { return header + envelope_tag + logged; }
};

FramedReply FrameReply(std::string_view body);

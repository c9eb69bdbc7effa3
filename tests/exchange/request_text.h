#pragma once
// Request texts as a peer sends them, for tests.

#include <string>

#include "tools/ziruvuz_client/request_frame.h"

namespace testing_support {

// Builds a request as a peer sends it: an HTTP-style header, then the SOAP envelope with
// ZIRUVUZ holding `inside`, unchanged.
inline std::string Envelope(const std::string& inside) {
  return zvclient::FrameRequest("127.0.0.1", "<ZIRUVUZ>" + inside + "</ZIRUVUZ>");
}

inline std::string Login(const std::string& user, const std::string& password) {
  return "<login><username>" + user + "</username><password>" + password + "</password></login>";
}

// The body of a reply, between the SOAP body tags.
inline std::string BodyOf(const std::string& reply) {
  const std::string open = "<soap:Body>\r\n";
  const size_t start = reply.find(open);
  const size_t end = reply.find("</soap:Body>");
  if (start == std::string::npos || end == std::string::npos) return "no body in: " + reply;
  return reply.substr(start + open.size(), end - start - open.size());
}

// The demo guest of room 101, asked for as the hotel stores the names.
inline const std::string kGetInfo101 =
    "<ACTIONS><Action>GETINFO</Action><Room>101</Room><FirstName>Jos\xE9</FirstName>"
    "<LastName>Mu\xF1oz</LastName></ACTIONS>";

}  // namespace testing_support

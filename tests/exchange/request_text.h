#pragma once
// Request texts as a peer sends them, for tests.

#include <string>

namespace testing_support {

// Builds a request as a peer sends it: an HTTP-style header, then the SOAP envelope with
// ZIRUVUZ holding `inside`.
inline std::string Envelope(const std::string& inside) {
  const std::string envelope =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
      "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\">\r\n"
      "<soap:Body><ZIRUVUZ>" +
      inside + "</ZIRUVUZ></soap:Body>\r\n</soap:Envelope>";
  return "POST /interface HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: text/xml\r\n"
         "Content-Length: " +
         std::to_string(envelope.size()) + "\r\n\r\n" + envelope;
}

inline std::string Login(const std::string& user, const std::string& password) {
  return "<login><username>" + user + "</username><password>" + password + "</password></login>";
}

}  // namespace testing_support

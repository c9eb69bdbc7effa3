#pragma once
// The frame a ZIRUVUZ peer puts around a request: an HTTP-style header, then the SOAP 1.1
// envelope. Header-only so that test helpers which build raw request texts share it without
// linking anything.

#include <string>
#include <string_view>

namespace zvclient {

// `soap_body` is written between <soap:Body> and </soap:Body> unchanged. The text ends with
// the end tag of the envelope: the server hands a request on as soon as that tag has arrived,
// so nothing may follow it. Content-Length counts the bytes after the empty line.
inline std::string FrameRequest(std::string_view host, std::string_view soap_body) {
  std::string envelope =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
      "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\""
      " xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\""
      " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\r\n"
      "<soap:Body>";
  envelope += soap_body;
  envelope += "</soap:Body>\r\n</soap:Envelope>";

  std::string request = "POST /interface HTTP/1.1\r\nHost: ";
  request += host;
  request +=
      "\r\nContent-Type: text/xml; charset=utf-8\r\n"
      "Content-Length: " +
      std::to_string(envelope.size()) +
      "\r\n"
      "SOAPAction: \"\"\r\n"
      "\r\n";
  return request + envelope;
}

}  // namespace zvclient

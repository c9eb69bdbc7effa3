#include "exchange/reply_body.h"

std::string CREATE_XML(std::string_view text) {
  std::string body = "<ZIRUVUZ><ERROR>";
  body += text;
  body += "</ERROR></ZIRUVUZ>\r\n";
  return body;
}

std::string CREATE_XML_SUCCESS(std::string_view text) {
  std::string body = "<ZIRUVUZ><MESSAGE>";
  body += text;
  body += "</MESSAGE></ZIRUVUZ>\r\n";
  return body;
}

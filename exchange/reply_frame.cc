#include "exchange/reply_frame.h"

namespace {

constexpr std::string_view kEnvelopeTag =
    "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\""
    " xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\""
    " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\r\n";

}  // namespace

FramedReply FrameReply(std::string_view body) {
  FramedReply reply;
  reply.envelope_tag = kEnvelopeTag;
  reply.logged = "<soap:Header>\r\n</soap:Header>\r\n<soap:Body>\r\n";
  reply.logged += body;
  reply.logged += "</soap:Body>\r\n</soap:Envelope>\r\n";
  const size_t message_length = reply.envelope_tag.size() + reply.logged.size();
  reply.header =
      "POST /interface/xxxxx HTTP/1.1\r\n"
      "Host: www.opentravel.org\r\n"
      "Content-Type: text/xml encoding='UTF-8'; charset=utf-8\r\n"
      "Content-Length: " +
      std::to_string(message_length) + "\r\n\r\n";
  return reply;
}

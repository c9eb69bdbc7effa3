#include "exchange/send_data.h"

#include "exchange/reply_frame.h"
#include "exchange/xml_log.h"

void SEND_DATA(const ExchangeContext& context, int connection, const std::string& body) {
  const FramedReply reply = FrameReply(body);
  const std::string wire = reply.Wire();
  context.side.SEND(connection, wire);
  context.side.ADD3_TEXTO(connection, wire);
  LogXml(context.tables, reply.logged);
  context.side.PauseAfterReply(kPauseAfterReplyMs);
  context.side.CloseConnection(connection);
}

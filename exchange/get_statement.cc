// GETSTATEMENT: the folio statement of the guest in house in a room.
#include "exchange/actions.h"
#include "exchange/imp_cta.h"
#include "exchange/in_house_stay.h"
#include "exchange/reply_body.h"
#include "exchange/request_arguments.h"
#include "exchange/send_data.h"
#include "lib/data/text_fields.h"
#include "lib/data/work_areas.h"

namespace {

// The statement, or the error reply of the first failing check.
std::string StatementReply(ExchangeTables& tables, const TXmlDocument& request) {
  // Request handling only gets here once ACTIONS has been found.
  const TXmlNode& actions = *request.FindFirst("ACTIONS");
  const ArgumentText room = FindArgumentText(actions, "Room");
  if (!room.ok()) return CREATE_XML(room.error);
  const std::string room_code = PadCut(room.text, kRoomWidth);

  data::SelectArea(tables.DET_RES2->Area);
  data::SelectedCursor().SetOrder("DET_RS30");
  if (!tables.DET_RES2->Seek(InHouseStayKey(tables.Negocio, room_code))) {
    return CREATE_XML("ROOM " + TrimBlanks(room_code) + " not registered");
  }
  return IMP_CTA(tables.Negocio, room_code, tables.F_DIZU->FieldGet("MONEDA").str);
}

}  // namespace

void GetStatement(const ExchangeContext& context, int connection, const TXmlDocument& request) {
  SEND_DATA(context, connection, StatementReply(context.tables, request));
}

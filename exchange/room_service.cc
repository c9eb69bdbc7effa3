// ROOM SERVICE: the order's items and taxes posted to the folio of the room's in-house guest.
#include "exchange/actions.h"
#include "exchange/add_cargo.h"
#include "exchange/reply_body.h"
#include "exchange/room_service_order.h"
#include "exchange/send_data.h"
#include "lib/data/text_fields.h"
#include "lib/data/data_error.h"
#include "lib/data/work_areas.h"

namespace {

// The in-house state of a stay, as the stay key holds it.
constexpr char kInHouse[] = "1";

std::string FieldOf(ExchangeTables& tables, const char* field) {
  return tables.F_DIZU->FieldGet(field).str;
}

// The reply body: "Success" once the order is posted, else the error reply.
std::string RoomServiceReply(ExchangeTables& tables, const TXmlDocument& request) {
  // Request handling only gets here once ACTIONS has been found.
  const RoomServiceOrder order = ReadRoomServiceOrder(*request.FindFirst("ACTIONS"));
  if (!order.ok()) return CREATE_XML(order.error);

  data::SelectArea(tables.DET_RES2->Area);
  data::SelectedCursor().SetOrder("DET_RS30");
  if (!tables.DET_RES2->Seek(tables.Negocio + kInHouse + order.room)) {
    return CREATE_XML("ROOM " + TrimBlanks(order.room) + " not registered");
  }
  const std::string reservation = tables.DET_RES2->FieldGet("COD_RES").str;

  const std::array<CargoTax, 3> taxes = {CargoTax{FieldOf(tables, "TAX1"), order.tax_amount[0]},
                                         CargoTax{FieldOf(tables, "TAX2"), order.tax_amount[1]},
                                         CargoTax{FieldOf(tables, "TAX3"), order.tax_amount[2]}};
  std::string folio;
  try {
    folio = ADD_CARGO(FieldOf(tables, "MONEDA"), tables.Negocio, order.room,
                      FieldOf(tables, "CARGO_RS"), order.document, order.amount, reservation,
                      order.items, taxes, {});
  } catch (const std::exception&) {
    // PostingFailed has undone what it wrote; a table that cannot be opened wrote nothing.
    return CREATE_XML("Posting failed");
  }
  if (folio.empty()) return CREATE_XML("No Folio");
  return CREATE_XML_SUCCESS("Success");
}

}  // namespace

void RoomService(const ExchangeContext& context, int connection, const TXmlDocument& request) {
  SEND_DATA(context, connection, RoomServiceReply(context.tables, request));
}

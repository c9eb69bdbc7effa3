#include "exchange/room_service_order.h"

#include "exchange/request_arguments.h"
#include "lib/data/text_fields.h"
#include "exchange/xml/xml_iterator.h"
#include "platform/xbase/number_format.h"

namespace {

constexpr size_t kRoomWidth = 15;
constexpr size_t kDocumentWidth = 15;
constexpr char kDefaultDocument[] = "Room Serv.";

// Reads the children of one ITEM, each searched from the previous one onwards. Returns the
// error reply text of the first missing or empty child, or empty.
std::string ReadItem(const TXmlNode& item_node, RoomServiceOrder& order) {
  TXmlIteratorScan scan(item_node);
  std::array<std::string, 7> texts;
  const char* const names[] = {"Code", "Descrip", "Quantity", "Price", "Tax1", "Tax2", "Tax3"};
  for (size_t i = 0; i < texts.size(); ++i) {
    ArgumentText found = TakeArgumentText(scan, names[i]);
    if (!found.ok()) return found.error;
    texts[i] = std::move(found.text);
  }
  // The article code must be there but is not kept; Notes are not needed at all.
  ItemLine line;
  line.quantity = OrderNumber(texts[2]);
  line.amount = line.quantity * OrderNumber(texts[3]);
  line.description = std::move(texts[1]);
  order.amount += line.amount;
  for (size_t tax = 0; tax < 3; ++tax) {
    order.tax_amount[tax] += line.amount * OrderNumber(texts[4 + tax]) / 100;
  }
  order.items.push_back(std::move(line));
  return {};
}

}  // namespace

double OrderNumber(std::string_view text) {
  std::string plain;
  for (char c : text) {
    if (c != ',') plain += c;
  }
  return xbase::ParseNumber(plain);
}

RoomServiceOrder ReadRoomServiceOrder(const TXmlNode& actions) {
  RoomServiceOrder order;
  TXmlIteratorScan arguments(actions);
  ArgumentText room = TakeArgumentText(arguments, "Room");
  if (!room.ok()) {
    order.error = room.error;
    return order;
  }
  order.room = PadCut(room.text, kRoomWidth);
  // Only an Ordernumber after Room counts: the search goes on from Room.
  order.document = kDefaultDocument;
  if (const TXmlNode* document = arguments.Find("Ordernumber")) {
    if (HasNoText(*document)) {
      order.error = "Bad Ordernumber: Empty";
      return order;
    }
    order.document = PadCut(*document->CData(), kDocumentWidth);
  }

  TXmlIteratorScan items(actions);
  for (const TXmlNode* item = items.Find("ITEM"); item; item = items.Next()) {
    order.error = ReadItem(*item, order);
    if (!order.ok()) return order;
  }
  return order;
}

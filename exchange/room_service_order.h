#pragma once
// A room-service order as the request carries it: the room, the document number and the items,
// read in document order, and the totals the posting needs.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/xml/xml_node.h"

// One item of the order as it goes into the folio's item details.
struct ItemLine {
  double amount = 0;  // quantity x price, unrounded
  double quantity = 0;
  std::string description;
  double discount = 0;  // percent; the exchange never sends one
};

struct RoomServiceOrder {
  std::string room;      // 15 characters, blank-padded
  std::string document;  // 15 characters, blank-padded, or "Room Serv." when the request has none
  std::vector<ItemLine> items;
  double amount = 0;                   // sum of the item amounts, unrounded
  std::array<double, 3> tax_amount{};  // per tax rate of the items, unrounded
  std::string error;                   // the error reply text when the request is unusable
  bool ok() const { return error.empty(); }
};

// Reads the order from the request's ACTIONS element. The first missing or empty argument is
// named in `error` (Room, then Ordernumber, then each item's children in their order).
RoomServiceOrder ReadRoomServiceOrder(const TXmlNode& actions);

// A number as the peer writes it: every comma is a thousands separator and is dropped; then
// leading blanks, an optional sign, digits and an optional point with digits; anything after
// that ends the number. A text without a number is 0.
double OrderNumber(std::string_view text);

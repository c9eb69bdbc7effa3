#include "tools/ziruvuz_client/request_builder.h"

#include <memory>

#include "exchange/xml/xml_node.h"
#include "tools/ziruvuz_client/request_frame.h"

namespace zvclient {
namespace {

// The element label has no effect on what is written.
constexpr std::string_view kLabel = "REQUEST";

void AddText(TXmlNode& parent, std::string name, std::string text) {
  parent.AddBelow(TXmlNode::New(kLabel, std::move(name), {}, std::move(text)));
}

const char* ActionText(RequestAction action) {
  switch (action) {
    case RequestAction::kGetInfo:
      return "GETINFO";
    case RequestAction::kStatement:
      return "GETSTATEMENT";
    case RequestAction::kRoomService:
      return "ROOM SERVICE";
  }
  return "";
}

void AddItem(TXmlNode& actions, const OrderItem& item) {
  TXmlNode* node = actions.AddBelow(TXmlNode::New(kLabel, "ITEM"));
  // The server reads the children in this order, each from the one before onwards.
  AddText(*node, "Code", item.code);
  AddText(*node, "Descrip", item.descrip);
  AddText(*node, "Quantity", item.quantity);
  AddText(*node, "Price", item.price);
  AddText(*node, "Tax1", item.tax1);
  AddText(*node, "Tax2", item.tax2);
  AddText(*node, "Tax3", item.tax3);
}

}  // namespace

std::string BuildZiruvuzElement(const RequestFields& fields) {
  std::unique_ptr<TXmlNode> ziruvuz = TXmlNode::New(kLabel, "ZIRUVUZ");
  TXmlNode* login = ziruvuz->AddBelow(TXmlNode::New(kLabel, "login"));
  AddText(*login, "username", fields.user);
  AddText(*login, "password", fields.password);

  TXmlNode* actions = ziruvuz->AddBelow(TXmlNode::New(kLabel, "ACTIONS"));
  AddText(*actions, "Action", ActionText(fields.action));
  // The server sees Ordernumber only when it comes after Room.
  AddText(*actions, "Room", fields.room);
  switch (fields.action) {
    case RequestAction::kGetInfo:
      AddText(*actions, "FirstName", fields.first_name);
      AddText(*actions, "LastName", fields.last_name);
      break;
    case RequestAction::kStatement:
      break;
    case RequestAction::kRoomService:
      if (fields.order_number) AddText(*actions, "Ordernumber", *fields.order_number);
      for (const OrderItem& item : fields.items) AddItem(*actions, item);
      break;
  }
  return ziruvuz->ToString();
}

std::string BuildRequest(const RequestFields& fields, std::string_view host) {
  return FrameRequest(host, BuildZiruvuzElement(fields));
}

}  // namespace zvclient

#pragma once
// Requests built from their values, as a ZIRUVUZ peer writes them: the ZIRUVUZ element with
// the login and the action's arguments, every value XML-escaped, inside the request frame.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zvclient {

enum class RequestAction { kGetInfo, kStatement, kRoomService };

// One line of a room-service order; the numbers are texts as the peer sends them.
struct OrderItem {
  std::string code;
  std::string descrip;
  std::string quantity;
  std::string price;
  std::string tax1;
  std::string tax2;
  std::string tax3;
};

struct RequestFields {
  RequestAction action = RequestAction::kGetInfo;
  std::string user;
  std::string password;
  std::string room;
  std::string first_name;                   // getinfo
  std::string last_name;                    // getinfo
  std::optional<std::string> order_number;  // roomservice
  std::vector<OrderItem> items;             // roomservice
};

// The ZIRUVUZ element, one element per line. Values go out as the bytes given (the hotel's
// tables hold Windows-1252 text), escaped.
std::string BuildZiruvuzElement(const RequestFields& fields);

// The whole request for a server reached as `host` (the Host header).
std::string BuildRequest(const RequestFields& fields, std::string_view host);

}  // namespace zvclient

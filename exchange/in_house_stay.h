#pragma once
// How the actions find the stay in house in a room: tag DET_RS30 of DET_RES2, keyed by business
// code, the in-house state and the room code.

#include <string>
#include <string_view>

#include "lib/data/text_fields.h"

// Room codes are cut or padded to this width before they are sought.
inline constexpr size_t kRoomWidth = 15;

// The DET_RS30 key of the in-house stay of `room_code` (already 15 characters wide).
inline std::string InHouseStayKey(std::string_view business, std::string_view room_code) {
  // "1" is the in-house state of a stay, as the key holds it.
  return std::string(business) + "1" + std::string(room_code);
}

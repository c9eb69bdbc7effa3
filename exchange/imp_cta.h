#pragma once
// IMP_CTA: the statement of the stay in house in a room, as the reply body GETSTATEMENT sends.

#include <string>

// The statement of the in-house stay of `room_code` (15 characters) of business `business`
// (15 characters), amounts in `currency` (the interface's currency): every guest folio of the
// stay, one ENTRY per single line or group, then the room and the guest's name; written and
// filtered to plain printable text. Opens and closes its own tables; a missing table throws
// data::DataError.
std::string IMP_CTA(const std::string& business, const std::string& room_code,
                    const std::string& currency);

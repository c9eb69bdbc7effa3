#pragma once
// Short forms for the layout tables.

#include "lib/data/schema/layout.h"

namespace schema {

inline FieldDef Fixed(const char* name, char type, int length, int decimals = 0) {
  return {name, type, length, decimals, Need::kFixedWidth};
}
inline FieldDef Typed(const char* name, char type, int length, int decimals = 0) {
  return {name, type, length, decimals, Need::kTyped};
}
inline FieldDef Optional(const char* name, char type, int length, int decimals = 0) {
  return {name, type, length, decimals, Need::kOptional};
}
inline FieldDef Date(const char* name) { return Typed(name, 'D', 8); }
inline FieldDef Memo(const char* name) { return Typed(name, 'M', 10); }
inline FieldDef Flag(const char* name) { return Typed(name, 'N', 1); }
inline FieldDef Business(const char* name = "NEGOCIO") { return Fixed(name, 'C', 15); }
inline FieldDef Currency(const char* name = "MONEDA") { return Fixed(name, 'C', 2); }
inline FieldDef Time(const char* name = "HORA") { return Fixed(name, 'C', 8); }

inline xbase::TagSpec Tag(const char* name, const char* key) {
  return {name, key, "", false, false};
}

// Widths the program leaves to us, one value for every table that holds the domain.
inline constexpr int kReservationWidth = 10;
inline constexpr int kRoomLineWidth = 5;
inline constexpr int kTransactionWidth = 6;
inline constexpr int kRatePlanWidth = 6;
inline constexpr int kUserAbbreviationWidth = 4;
inline constexpr int kInfoUserWidth = 80;

}  // namespace schema

#pragma once
// The folios of the stay that the statement's stay cursor stands on, walked on tag ENC_FOL10
// (business, kind, reservation, room, room line). Blocked folios count like any other.

#include <string>
#include <string_view>
#include <vector>

#include "exchange/statement_tables.h"

// The kind of folio a statement shows: the guest's own folios, not master accounts.
inline constexpr char kGuestFolios[] = "0";

// Puts the folio-header cursor on the first folio of `kind` of the stay (at the end when the
// stay has none).
void UBICAR_FOLIO(StatementTables& tables, std::string_view kind);

// True while the folio-header cursor stands on a folio of `kind` of the stay: same business,
// `reservation`, `room`, and the stay's room line.
bool CONTINUAR(StatementTables& tables, std::string_view kind, const std::string& reservation,
               const std::string& room);

// The numbers of the stay's guest folios, in tag order.
std::vector<std::string> StayFolioNumbers(StatementTables& tables);

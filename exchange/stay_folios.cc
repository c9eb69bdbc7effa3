#include "exchange/stay_folios.h"

namespace {

std::string Field(const data::TableHandle& table, std::string_view name) {
  return table->FieldGet(name).str;
}

// CTA_MAES as the tag's STR(CTA_MAES,1) writes it.
std::string KindOf(const data::TableHandle& header) {
  return std::to_string(static_cast<int>(header->FieldGet("CTA_MAES").num));
}

}  // namespace

void UBICAR_FOLIO(StatementTables& tables, std::string_view kind) {
  const data::TableHandle& stay = tables.DET_RES2;
  tables.ENC_FOL->Seek(tables.Negocio + std::string(kind) + Field(stay, "COD_RES") +
                       Field(stay, "COD_ROOMS") + Field(stay, "COD_HAB") + Field(stay, "CODIGO"));
}

bool CONTINUAR(StatementTables& tables, std::string_view kind, const std::string& reservation,
               const std::string& room) {
  const data::TableHandle& header = tables.ENC_FOL;
  const data::TableHandle& stay = tables.DET_RES2;
  return !header->Eof() && Field(header, "NEGOCIO") == tables.Negocio && KindOf(header) == kind &&
         Field(header, "COD_RES") == reservation && Field(header, "ROOM") == room &&
         Field(header, "COD_HAB") == Field(stay, "COD_HAB") &&
         Field(header, "CODIGO") == Field(stay, "CODIGO");
}

std::vector<std::string> StayFolioNumbers(StatementTables& tables) {
  std::vector<std::string> numbers;
  const std::string reservation = Field(tables.DET_RES2, "COD_RES");
  const std::string room = Field(tables.DET_RES2, "COD_ROOMS");
  for (UBICAR_FOLIO(tables, kGuestFolios); CONTINUAR(tables, kGuestFolios, reservation, room);
       tables.ENC_FOL->Skip()) {
    numbers.push_back(Field(tables.ENC_FOL, "NUMERO"));
  }
  return numbers;
}

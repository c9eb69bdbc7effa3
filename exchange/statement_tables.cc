#include "exchange/statement_tables.h"

#include <utility>

StatementTables::StatementTables(std::string business) : Negocio(std::move(business)) {
  DET_RES2 = data::USE({}, "DET_RES2", "DET_RS30");
  ENC_FOL = data::USE({}, "ENC_FOL", "ENC_FOL10");
  ENC_FOL4 = data::USE({}, "ENC_FOL", "ENC_FOL4");
  DET_FOL = data::USE({}, "DET_FOL", "DET_FOL13");
  TRANSACS = data::USE({}, "TRANSACS", "TRANSACS1");
  ENC_RACK = data::USE({}, "ENC_RACK", "ENC_RACK");
  F_HOTEL = data::USE({}, "F_HOTEL", "F_HOTEL");
  F_HOTEL3 = data::USE({}, "F_HOTEL3", "F_HOTEL3");
  T_CAMBIO = data::USE({}, "T_CAMBIO", "T_CAMBIO");
}

std::string Descriptions::Of(const data::TableHandle& table, const std::string& key) {
  auto [known, is_new] = known_.try_emplace({table->Area, key});
  if (is_new && table->Seek(key)) known->second = table->FieldGet("DESCRIP").str;
  return known->second;
}

#pragma once
// The tables a statement reads, on handles of its own that live for one statement: opened on
// construction, closed by the handles themselves when the object goes (also when an open fails
// part-way).

#include <map>
#include <string>
#include <utility>

#include "lib/data/wtable.h"

// DESCRIP of records sought by key (business code + code), empty when there is none. A
// statement names the same few transactions and rate plans over and over; each is sought once.
class Descriptions {
 public:
  std::string Of(const data::TableHandle& table, const std::string& key);

 private:
  std::map<std::pair<int, std::string>, std::string> known_;  // by work area and key
};

struct StatementTables {
  // Opens every table on its statement tag; a missing table or tag throws data::DataError.
  explicit StatementTables(std::string business);
  StatementTables(const StatementTables&) = delete;
  StatementTables& operator=(const StatementTables&) = delete;

  std::string Negocio;         // 15 characters, blank-padded
  data::TableHandle DET_RES2;  // the stay, on DET_RS30
  data::TableHandle ENC_FOL;   // the stay's folio headers, walked on ENC_FOL10
  data::TableHandle ENC_FOL4;  // one folio header by number, for its FACTURA_E
  data::TableHandle DET_FOL;   // folio lines, on DET_FOL13 (grouped lines stand together)
  data::TableHandle TRANSACS;  // transaction descriptions, on TRANSACS1
  data::TableHandle ENC_RACK;  // rate-plan descriptions
  data::TableHandle F_HOTEL;   // the property's reservation currency and business date
  data::TableHandle F_HOTEL3;  // MANEJO_DOL: lines keep their own exchange rate
  data::TableHandle T_CAMBIO;  // exchange rates
  Descriptions descriptions;   // of TRANSACS and ENC_RACK, for this statement
};

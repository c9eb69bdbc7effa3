#include "exchange/exchange_tables.h"

#include "lib/data/text_fields.h"

namespace {
constexpr size_t kBusinessWidth = 15;
}  // namespace

void ExchangeTables::Open() {
  F_DIZU = data::USE({}, "F_DIZU", "F_DIZU");
  NEGOCIOS = data::USE({}, "NEGOCIOS", "NEGOCIOS");
  U_DIZU = data::USE({}, "U_DIZU", "U_DIZU");
  DEFMAIL = data::USE({}, "DEFMAIL", "DEFMAIL");
  LOG_XML = data::USE({}, "LOG_XML", "LOG_XML");
  DET_RES2 = data::USE({}, "DET_RES2", "DET_RES2");
  ENC_RES = data::USE({}, "ENC_RES", "ENC_RES");
  ENC_RACK = data::USE({}, "ENC_RACK", "ENC_RACK");
  const std::string business = DEFMAIL->FieldGet("NEGOCIO_H").str;
  NEGOCIOS->Seek(business);
  Negocio = PadCut(business, kBusinessWidth);
}

void ExchangeTables::Close() {
  for (data::TableHandle* table :
       {&F_DIZU, &NEGOCIOS, &U_DIZU, &DEFMAIL, &LOG_XML, &DET_RES2, &ENC_RES, &ENC_RACK}) {
    data::KILLTABLA(*table);
    table->reset();
  }
}

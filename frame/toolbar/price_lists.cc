#include "frame/toolbar/price_lists.h"

#include "lib/data/text_fields.h"
#include "frame/toolbar/record_access.h"
#include "lib/data/date_time.h"
#include "lib/data/work_areas.h"
#include "lib/data/write_protocol.h"
#include "lib/settings/settings.h"

namespace frame {
namespace {

constexpr size_t kBusinessWidth = 15;

bool IsDue(data::WDBTable& header, data::Date today, const std::string& now) {
  data::Date apply_on = data::Date::FromJulian(header.FieldGet("F_APLICA").julian());
  if (apply_on < today) return true;
  return apply_on == today && TrimBlanks(header.FieldGet("H_APLICA").str) <= now;
}

}  // namespace

void APLICA_PRECIOS(const std::string& business, data::WDBTable& header) {
  const std::string negocio = PadCut(business, kBusinessWidth);
  const std::string list = header.FieldGet("CODIGO").str;
  const std::string price_type = header.FieldGet("T_PRECIO").str;
  data::TableHandle lines = data::USE({}, "DET_PPRE", "DET_PPRE");
  data::TableHandle prices = data::USE({}, "DET_PREC", "DET_PRC1");
  for (lines->Seek(negocio + list); !lines->Eof() && lines->FieldGet("NEGOCIO").str == negocio &&
                                    TrimBlanks(lines->FieldGet("CODIGO").str) == TrimBlanks(list);
       lines->Skip()) {
    if (!prices->Seek(negocio + price_type + lines->FieldGet("ARTICULO").str)) continue;
    const xbase::Value price = lines->FieldGet("PRECIO");
    ModifyRecord(*prices, [&] { prices->FieldPut("PRECIO", price); });
  }
  data::KILLTABLA(prices);
  data::KILLTABLA(lines);
  ModifyRecord(header, [&] {
    header.FieldPut("PENDIENTE", xbase::Value::Numeric(0));
    header.FieldPut("F_PROCESA", xbase::Value::Date(data::XDATE().julian()));
    header.FieldPut("H_PROCESA", xbase::Value::Character(data::XTIME()));
  });
}

void CHEQUEA_PRECIOS(const std::string& business) {
  if (settings::Current().IN_CH_STRUC == 1) return;
  data::AreaSelection keep(data::SelectedArea());
  const std::string pending = PadCut(business, kBusinessWidth) + "1";
  data::TableHandle headers = data::USE({}, "ENC_PPRE", "ENC_PPR2");
  const data::Date today = data::XDATE();
  const std::string now = data::XTIME();
  // Pending lists come first in date and time order, and an applied list leaves them; so the
  // first pending one is the next due, and once it is not due no later one is.
  while (headers->Seek(pending) && IsDue(*headers, today, now)) {
    APLICA_PRECIOS(business, *headers);
  }
  data::KILLTABLA(headers);
}

}  // namespace frame

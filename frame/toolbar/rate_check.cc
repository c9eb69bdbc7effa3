#include "frame/toolbar/rate_check.h"

#include <algorithm>

#include "lib/data/text_fields.h"
#include "frame/toolbar/record_access.h"
#include "lib/data/currency.h"
#include "lib/ui/run_loop.h"

namespace frame {
namespace {

constexpr size_t kBusinessWidth = 15;

int DaysInMonth(int year, int month) {
  return data::Date::FromCivil(month == 12 ? year + 1 : year, month % 12 + 1, 1) -
         data::Date::FromCivil(year, month, 1);
}

data::Date MonthsBefore(data::Date day, int months) {
  int index = day.year() * 12 + (day.month() - 1) - months;
  int year = index / 12, month = index % 12 + 1;
  return data::Date::FromCivil(year, month, std::min(day.day(), DaysInMonth(year, month)));
}

}  // namespace

data::Date OBT_DIA_F(data::WDBTable& business) {
  const int amount = NumberField(business, "CANT_MON");
  const data::Date today = data::XDATE();
  if (NumberField(business, "CHECK_MON") == 1) return today + (-amount);
  return MonthsBefore(today, amount);
}

void CHECK_CAMBIO(const std::string& business) {
  data::AreaSelection keep(data::SelectedArea());
  const std::string negocio = PadCut(business, kBusinessWidth);
  data::TableHandle rates = data::USE({}, "T_CAMBIO", "T_CAMB3");
  data::TableHandle businesses = data::USE({}, "NEGOCIOS", "NEGOCIOS");
  data::TableHandle currencies = data::USE({}, "MONEDAS", "MONEDAS");
  std::string lines;
  if (HasField(*businesses, "CHECK_MON")) {
    businesses->Seek(negocio);
    const std::string accounting = businesses->FieldGet("MONEDA_CON").str;
    currencies->Seek(negocio + accounting);
    const std::string accounting_name = TrimBlanks(currencies->FieldGet("DESCRIP").str);
    const data::Date limit = OBT_DIA_F(*businesses);
    const data::Date today = data::LocalDate();
    for (currencies->Seek(negocio);
         !currencies->Eof() && currencies->FieldGet("NEGOCIO").str == negocio; currencies->Skip()) {
      const std::string currency = currencies->FieldGet("MONEDA").str;
      data::Date latest = data::RateDateInForce(negocio, *rates, accounting, currency, today);
      if (latest.IsEmpty() || latest < limit) {
        lines += "Debe actualizar la definici\xF3n de tipos de cambio de " +
                 TrimBlanks(currencies->FieldGet("DESCRIP").str) + " a " + accounting_name + "\r";
      }
    }
  }
  data::KILLTABLA(currencies);
  data::KILLTABLA(businesses);
  data::KILLTABLA(rates);
  if (!lines.empty()) ui::MESSAGE_BOX(lines, "Atenci\xF3n", win::MB_ICONHAND);
}

}  // namespace frame

#include "lib/data/currency.h"

#include "lib/data/work_areas.h"
#include "platform/xbase/number_format.h"

namespace data {
namespace {

constexpr int64_t kRateHorizonDay = 2484418;  // 1 January 2090, the far end of T_CAMB2's keys

std::string Fit(std::string text, size_t width) {
  text.resize(width, ' ');
  return text;
}

std::string RightTrimmed(std::string text) {
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

const char* ColumnField(int column) {
  static const char* const kColumns[] = {"CAMBIO", "CAMBIO2", "CAMBIO3", "CAMBIO4", "CAMBIO5"};
  return column >= 1 && column <= 5 ? kColumns[column - 1] : nullptr;
}

// Stands the rate cursor on the pair's latest rate dated `on` or earlier; false when the pair
// has none.
bool SeekPair(xbase::Cursor& cursor, const std::string& business, const std::string& from,
              const std::string& to, Date on) {
  std::string key = Fit(business, 15) + Fit(from, 2) + Fit(to, 2) +
                    xbase::FormatNumber(static_cast<double>(kRateHorizonDay - on.julian()), 14, 0);
  cursor.Seek(xbase::Value::Character(key), true);
  return !cursor.Eof() && RightTrimmed(cursor.Get("NEGOCIO").str) == RightTrimmed(business) &&
         RightTrimmed(cursor.Get("MONEDA1").str) == RightTrimmed(from) &&
         RightTrimmed(cursor.Get("MONEDA2").str) == RightTrimmed(to);
}

struct Drift {
  double per_day = 0;
  int day_offset = 0;
};

double Rate(const std::string& business, WDBTable& rates, const std::string& target,
            const std::string& source, Date on, int column, std::optional<Drift> drift) {
  if (source.compare(0, target.size(), target) == 0) return 1;
  AreaSelection selection(rates.Area);
  xbase::Cursor& cursor = SelectedCursor();
  cursor.SetOrder("T_CAMB2");
  auto value = [&] {
    const char* field = ColumnField(column);
    double rate = field ? cursor.Get(field).num : 0;
    if (drift) {
      rate += static_cast<double>(on - Date::FromJulian(cursor.Get("FECHA").julian()) +
                                  drift->day_offset) *
              drift->per_day;
    }
    return rate;
  };
  if (SeekPair(cursor, business, source, target, on)) return value();
  if (SeekPair(cursor, business, target, source, on)) {
    double reverse = value();
    return reverse == 0 ? 0 : 1 / reverse;  // a division by zero yields 0
  }
  return 0;
}

int ColumnOrFirst(std::optional<int> column) { return column.value_or(0) == 0 ? 1 : *column; }

}  // namespace

double CAMBIO_ACT(const std::string& business, WDBTable& rates, const std::string& target,
                  const std::string& source, std::optional<double> daily_drift,
                  std::optional<int> day_offset, std::optional<int> column) {
  std::optional<Drift> drift;
  if (daily_drift) drift = Drift{*daily_drift, day_offset.value_or(0)};
  return Rate(business, rates, target, source, XDATE(), ColumnOrFirst(column), drift);
}

double CAMBIO_SPEC(const std::string& business, WDBTable& rates, const std::string& target,
                   const std::string& source, Date date, std::optional<int> column) {
  return Rate(business, rates, target, source, date, ColumnOrFirst(column), std::nullopt);
}

Date RateDateInForce(const std::string& business, WDBTable& rates, const std::string& target,
                     const std::string& source, Date date) {
  if (RightTrimmed(source) == RightTrimmed(target)) return date;
  AreaSelection selection(rates.Area);
  xbase::Cursor& cursor = SelectedCursor();
  cursor.SetOrder("T_CAMB2");
  if (SeekPair(cursor, business, source, target, date) ||
      SeekPair(cursor, business, target, source, date)) {
    return Date::FromJulian(cursor.Get("FECHA").julian());
  }
  return {};
}

std::string GET_MON_FOLIO(const std::any& /*owner*/, WDBTable& folio, WDBTable& property) {
  std::string own = folio.FieldGet("MONEDA").str;
  if (property.FieldGet("MON_FOL").num == 1 && !RightTrimmed(own).empty()) return own;
  return property.FieldGet("MONEDA_CON").str;
}

}  // namespace data

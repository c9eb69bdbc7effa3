#pragma once
// Exchange rates from T_CAMBIO and the currency of a folio.

#include <optional>
#include <string>

#include "lib/data/date_time.h"
#include "lib/data/wtable.h"

namespace data {

// The factor that turns an amount in `source` into `target` today: 1 for the same currency
// (compared over the target code's length, so an empty target also gives 1), the latest rate of
// the pair dated today or earlier, else 1 / the reverse pair's rate, else 0. `column` 1-5 picks
// CAMBIO..CAMBIO5 (missing or 0: 1; others give 0); `daily_drift` adds (today - rate date +
// `day_offset`) x drift to the rate. The selected area is kept; the rate table's cursor is left
// on tag T_CAMB2 and on the record found.
double CAMBIO_ACT(const std::string& business, WDBTable& rates, const std::string& target,
                  const std::string& source, std::optional<double> daily_drift = std::nullopt,
                  std::optional<int> day_offset = std::nullopt,
                  std::optional<int> column = std::nullopt);

// The same factor in force on `date`, without drift.
double CAMBIO_SPEC(const std::string& business, WDBTable& rates, const std::string& target,
                   const std::string& source, Date date, std::optional<int> column = std::nullopt);

// The date of the rate in force on `date` for the pair from `source` to `target`, else for the
// reverse pair; `date` itself for the same currency; the empty date when neither pair has one.
// The selected area is kept; the rate table's cursor is left on tag T_CAMB2.
Date RateDateInForce(const std::string& business, WDBTable& rates, const std::string& target,
                     const std::string& source, Date date);

// The folio's own currency when the property allows one per folio (MON_FOL 1) and the folio has
// one, else the property's accounting currency MONEDA_CON.
std::string GET_MON_FOLIO(const std::any& owner, WDBTable& folio, WDBTable& property);

}  // namespace data

#pragma once
// Scheduled price lists: a header of ENC_PPRE (business, list code, price type, pending flag,
// date and time to apply) with its lines in DET_PPRE is copied into the prices of DET_PREC once
// its time has come, and then marked done.

#include <string>

#include "lib/data/wtable.h"

namespace frame {

// Applies every pending list of `business` whose F_APLICA + H_APLICA is not later than
// XDATE() + XTIME(); nothing while a table-structure check runs. The selected area is kept.
void CHEQUEA_PRECIOS(const std::string& business);

// Copies the prices of the list `header` stands on into DET_PREC (lines whose article has no
// price of that type are passed over), then clears its PENDIENTE and stamps F_PROCESA and
// H_PROCESA. Each record is written under its own lock.
void APLICA_PRECIOS(const std::string& business, data::WDBTable& header);

}  // namespace frame

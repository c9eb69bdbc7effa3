#pragma once
// The warning, after a business change, about exchange rates of the business that are missing or
// older than the business allows (CHECK_MON and CANT_MON of NEGOCIOS).

#include <string>

#include "lib/data/date_time.h"
#include "lib/data/wtable.h"

namespace frame {

// The oldest rate date the business accepts, from the NEGOCIOS record `business` stands on:
// CANT_MON days before XDATE() when CHECK_MON is 1, else CANT_MON months before it (on the same
// day of the month, or the month's last day when the month is shorter).
data::Date OBT_DIA_F(data::WDBTable& business);

// One line per currency of `business` whose rate to the accounting currency is missing or dated
// before OBT_DIA_F, shown in one message box ("Atención"). Nothing when NEGOCIOS has no
// CHECK_MON. The selected area is kept.
void CHECK_CAMBIO(const std::string& business);

}  // namespace frame

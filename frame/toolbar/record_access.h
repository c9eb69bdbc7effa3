#pragma once
// Reading fields that a site's table may lack, and writing one record under its lock.

#include "lib/data/work_areas.h"
#include "lib/data/write_protocol.h"
#include "lib/data/wtable.h"

namespace frame {

inline bool HasField(data::WDBTable& table, const char* field) {
  return table.FieldPos(field) != 0;
}

// The field's value as a whole number; 0 when the table has no such field.
inline int NumberField(data::WDBTable& table, const char* field) {
  return HasField(table, field) ? static_cast<int>(table.FieldGet(field).num) : 0;
}

// Locks the record `table` stands on, runs `assign` and writes and releases the record.
template <typename Assign>
void ModifyRecord(data::WDBTable& table, Assign assign) {
  data::AreaSelection selection(table.Area);
  data::LOCK_FOR_MODIFY();
  assign();
  data::UNLOCK_FOR_MODIFY();
}

}  // namespace frame

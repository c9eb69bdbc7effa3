#pragma once
// What a key or FOR expression reads of the current record.

#include <cstdint>

#include "platform/xbase/value.h"

namespace xbase {

class RecordView {
 public:
  virtual ~RecordView() = default;
  // The value of field `index` (an index into the Schema the expression was parsed with).
  // Character fields keep their full stored width, trailing blanks included.
  virtual Value Field(int index) const = 0;
  virtual bool Deleted() const = 0;
  virtual uint32_t RecNo() const = 0;
};

}  // namespace xbase

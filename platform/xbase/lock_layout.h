#pragma once
// Byte offsets of the conventional locks, so that every xBase program on the network sees the
// same locks. A table with a structural CDX uses the high scheme; a table without one the
// dBASE-style scheme based on record positions.

#include <cstdint>

#include "platform/xbase/dbf_header.h"

namespace xbase {

struct LockRange {
  uint64_t offset;
  uint64_t length;
};

inline LockRange RecordLockRange(const DbfHeader& h, uint32_t recno) {
  if (h.HasStructuralIndex()) return {0x7FFFFFFEull - recno, 1};
  return {0x40000000ull + h.RecordOffset(recno), 1};
}

inline LockRange FileLockRange(const DbfHeader& h) {
  if (h.HasStructuralIndex()) return {0x77FFFFFFull, 0x07FFFFFFull};
  return {0x40000001ull, 0x3FFFFFFDull};
}

// The header lock serialises appends; writers wait for it.
inline LockRange HeaderLockRange(const DbfHeader& h) {
  if (h.HasStructuralIndex()) return {0x7FFFFFFEull, 1};
  return {0x40000000ull, 1};
}

// Taken on the CDX: read around every index read of a shared user, write around every change.
inline constexpr LockRange kIndexLockRange{0x7FFFFFFEull, 1};

}  // namespace xbase

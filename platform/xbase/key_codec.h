#pragma once
// Index key bytes of a value, in the machine collation the CDX files use.

#include <string>

#include "platform/xbase/value.h"

namespace xbase {

// 8 bytes that sort like the number: the big-endian IEEE double with the sign bit flipped for
// values >= 0 and every bit inverted for values < 0 (-0 counts as +0).
std::string NumericKey(double value);

// The key of `value` for a tag of `key_length` bytes: character values padded with blanks or
// cut; numbers and dates (by Julian day) as NumericKey; logicals "T" or "F".
std::string EncodeKey(const Value& value, int key_length);

// The byte that trailing-count compression stands for in keys of this type.
inline char KeyFillByte(ValueType type) { return type == ValueType::kCharacter ? ' ' : '\0'; }

}  // namespace xbase

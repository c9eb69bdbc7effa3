#pragma once
// Converts between a field's bytes in a record and its typed value.

#include <string>
#include <string_view>

#include "platform/xbase/field.h"
#include "platform/xbase/value.h"

namespace xbase {

// The value of a non-memo field, from the record bytes (`record` points at byte 0 of the record).
// Memo fields yield their block number as a number (0 = no memo); the caller reads the text.
Value DecodeField(const FieldInfo& field, const char* record);

// The block number a memo field points at (0: no memo). Throws Error(kCorrupt) naming the
// field when its bytes are not a block number.
uint32_t DecodeMemoBlock(const FieldInfo& field, const char* record, const std::string& table_path);

// The field's raw bytes as they stand in the record.
std::string_view FieldBytes(const FieldInfo& field, const char* record);

// Writes `value` into the field's bytes. Throws Error(kArgument) when the value's type does not
// suit the field or a number does not fit its width (a number is never stored as asterisks).
// Memo fields take the block number as a numeric value.
void EncodeField(const FieldInfo& field, const Value& value, char* record,
                 const std::string& table_path);

// A blank record as appenders write it: blanks, binary fields zeroed.
std::string BlankRecord(const Schema& fields, size_t record_length);

// The value a blank (freshly appended) field holds.
Value BlankValue(const FieldInfo& field);

// Whether a field of this type can be written by this engine.
bool IsWritableType(char type);

}  // namespace xbase

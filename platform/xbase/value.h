#pragma once
// A typed xBase value: what a field holds and what a key or FOR expression yields.

#include <cstdint>
#include <string>

namespace xbase {

enum class ValueType { kCharacter, kNumeric, kDate, kLogical };

struct Value {
  ValueType type = ValueType::kCharacter;
  std::string str;       // kCharacter: the bytes (memo text too)
  double num = 0;        // kNumeric: the number; kDate: the Julian day number, 0 = empty date
  bool logical = false;  // kLogical

  static Value Character(std::string s) { return {ValueType::kCharacter, std::move(s), 0, false}; }
  static Value Numeric(double n) { return {ValueType::kNumeric, {}, n, false}; }
  static Value Date(int64_t julian_day) {
    return {ValueType::kDate, {}, static_cast<double>(julian_day), false};
  }
  static Value Logical(bool b) { return {ValueType::kLogical, {}, 0, b}; }

  int64_t julian() const { return static_cast<int64_t>(num); }
  friend bool operator==(const Value&, const Value&) = default;
};

// "character", "numeric", "date" or "logical", for messages.
inline const char* TypeName(ValueType type) {
  switch (type) {
    case ValueType::kCharacter:
      return "character";
    case ValueType::kNumeric:
      return "numeric";
    case ValueType::kDate:
      return "date";
    case ValueType::kLogical:
      return "logical";
  }
  return "unknown";
}

}  // namespace xbase

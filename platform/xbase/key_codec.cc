#include "platform/xbase/key_codec.h"

#include <cstring>

namespace xbase {

std::string NumericKey(double value) {
  if (value == 0) value = 0;  // -0 sorts as +0
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  bits = value < 0 ? ~bits : bits ^ (1ull << 63);
  std::string key(8, '\0');
  for (int i = 0; i < 8; ++i) key[i] = static_cast<char>((bits >> (56 - 8 * i)) & 0xFF);
  return key;
}

std::string EncodeKey(const Value& value, int key_length) {
  switch (value.type) {
    case ValueType::kCharacter: {
      std::string key = value.str.substr(0, static_cast<size_t>(key_length));
      key.resize(static_cast<size_t>(key_length), ' ');
      return key;
    }
    case ValueType::kNumeric:
    case ValueType::kDate:
      return NumericKey(value.num);
    case ValueType::kLogical:
      return value.logical ? "T" : "F";
  }
  return {};
}

}  // namespace xbase

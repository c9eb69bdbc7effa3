#include "platform/xbase/field_codec.h"

#include <cmath>
#include <cstring>

#include "platform/xbase/error.h"
#include "platform/xbase/julian_date.h"
#include "platform/xbase/number_format.h"

namespace xbase {
namespace {

int32_t ReadLe32(const char* p) {
  auto* u = reinterpret_cast<const unsigned char*>(p);
  return static_cast<int32_t>(u[0] | (u[1] << 8) | (u[2] << 16) |
                              (static_cast<uint32_t>(u[3]) << 24));
}

[[noreturn]] void Refuse(const std::string& path, const FieldInfo& f, const std::string& why) {
  throw Error(ErrorKind::kArgument, path, "field " + f.name + ": " + why);
}

// Binary fields of Visual FoxPro tables: integers, doubles, currency, datetimes, null flags and
// 4-byte memo pointers.
bool IsBinaryField(const FieldInfo& f) {
  return f.type == 'I' || f.type == 'B' || f.type == 'Y' || f.type == 'T' || f.type == '0' ||
         ((f.type == 'M' || f.type == 'G') && f.length == 4);
}

}  // namespace

std::string_view FieldBytes(const FieldInfo& field, const char* record) {
  return {record + field.offset, static_cast<size_t>(field.length)};
}

Value DecodeField(const FieldInfo& field, const char* record) {
  std::string_view bytes = FieldBytes(field, record);
  switch (field.type) {
    case 'N':
    case 'F':
      return Value::Numeric(ParseNumber(bytes));
    case 'M':
      return Value::Numeric(DecodeMemoBlock(field, record, ""));
    case 'D':
      return Value::Date(Stod(bytes));
    case 'L':
      return Value::Logical(!bytes.empty() && (bytes[0] == 'T' || bytes[0] == 't' ||
                                               bytes[0] == 'Y' || bytes[0] == 'y'));
    case 'I':
      return Value::Numeric(field.length >= 4 ? ReadLe32(bytes.data()) : 0);
    default:
      return Value::Character(std::string(bytes));
  }
}

uint32_t DecodeMemoBlock(const FieldInfo& field, const char* record, const std::string& path) {
  if (field.length == 4) return static_cast<uint32_t>(ReadLe32(record + field.offset));
  double block = ParseNumber(FieldBytes(field, record));
  if (!(block >= 0 && block <= UINT32_MAX) || block != std::trunc(block)) {
    throw Error(ErrorKind::kCorrupt, path,
                "memo field " + field.name + " holds \"" + std::string(FieldBytes(field, record)) +
                    "\", which is not a block number");
  }
  return static_cast<uint32_t>(block);
}

std::string BlankRecord(const Schema& fields, size_t record_length) {
  std::string record(record_length, ' ');
  for (const FieldInfo& f : fields) {
    if (IsBinaryField(f)) record.replace(static_cast<size_t>(f.offset), f.length, f.length, '\0');
  }
  return record;
}

bool IsWritableType(char type) {
  return type == 'C' || type == 'N' || type == 'F' || type == 'D' || type == 'L' || type == 'M' ||
         type == 'I';
}

Value BlankValue(const FieldInfo& field) {
  switch (field.type) {
    case 'N':
    case 'F':
    case 'I':
    case 'M':
      return Value::Numeric(0);
    case 'D':
      return Value::Date(0);
    case 'L':
      return Value::Logical(false);
    default:
      return Value::Character(std::string(field.length, ' '));
  }
}

void EncodeField(const FieldInfo& field, const Value& value, char* record,
                 const std::string& path) {
  char* out = record + field.offset;
  const size_t width = static_cast<size_t>(field.length);
  auto expect = [&](ValueType t) {
    if (value.type != t) {
      Refuse(path, field,
             std::string("a ") + TypeName(value.type) +
                 " value cannot be stored in a field of type " + field.type);
    }
  };
  switch (field.type) {
    case 'C': {
      expect(ValueType::kCharacter);
      size_t n = std::min(width, value.str.size());
      std::memcpy(out, value.str.data(), n);
      std::memset(out + n, ' ', width - n);
      return;
    }
    case 'N':
    case 'F': {
      expect(ValueType::kNumeric);
      std::string text = FormatNumber(value.num, field.length, field.decimals);
      if (!std::isfinite(value.num) || text.find('*') != std::string::npos) {
        Refuse(path, field,
               "the number does not fit width " + std::to_string(field.length) + " with " +
                   std::to_string(field.decimals) + " decimals");
      }
      std::memcpy(out, text.data(), width);
      return;
    }
    case 'M': {
      expect(ValueType::kNumeric);
      if (field.length == 4) {
        auto block = static_cast<uint32_t>(value.num);
        for (int i = 0; i < 4; ++i) out[i] = static_cast<char>((block >> (8 * i)) & 0xFF);
      } else if (value.num == 0) {
        std::memset(out, ' ', width);
      } else {
        std::string text = FormatNumber(value.num, field.length, 0);
        std::memcpy(out, text.data(), width);
      }
      return;
    }
    case 'D': {
      expect(ValueType::kDate);
      std::string text = Dtos(value.julian());
      std::memcpy(out, text.data(), std::min(width, text.size()));
      return;
    }
    case 'L':
      expect(ValueType::kLogical);
      out[0] = value.logical ? 'T' : 'F';
      return;
    case 'I': {
      expect(ValueType::kNumeric);
      if (value.num != std::trunc(value.num) || value.num < INT32_MIN || value.num > INT32_MAX) {
        Refuse(path, field, "the number is not a 32-bit integer");
      }
      auto v = static_cast<uint32_t>(static_cast<int32_t>(value.num));
      for (int i = 0; i < 4; ++i) out[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
      return;
    }
    default:
      Refuse(path, field, std::string("fields of type ") + field.type + " are read-only here");
  }
}

}  // namespace xbase

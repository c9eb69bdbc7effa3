#include "platform/xbase/expr_functions.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <string>

#include "platform/xbase/case_table.h"
#include "platform/xbase/julian_date.h"
#include "platform/xbase/number_format.h"

namespace xbase::expr {

// The arguments of one call while it is being evaluated, with typed accessors that throw
// EvalFault naming the function when an argument has the wrong type.
class Call {
 public:
  Call(std::string_view name, const RecordView& record, std::span<const NodePtr> args)
      : name_(name), record_(record), args_(args) {}

  size_t size() const { return args_.size(); }
  const RecordView& record() const { return record_; }

  // Evaluates argument i into `out` and checks its type.
  void Eval(size_t i, Value& out, ValueType type) const {
    args_[i]->Eval(record_, out);
    if (out.type != type) {
      throw EvalFault(std::string(name_) + "(): argument " + std::to_string(i + 1) + " is " +
                      TypeName(out.type) + ", expected " + TypeName(type));
    }
  }
  void EvalAny(size_t i, Value& out) const { args_[i]->Eval(record_, out); }

  double Number(size_t i) const {
    Value v;
    Eval(i, v, ValueType::kNumeric);
    return v.num;
  }
  // A count or position: truncated toward zero, clamped so that it converts safely.
  int64_t Count(size_t i) const {
    const double n = Number(i);
    if (std::isnan(n)) return 0;
    return static_cast<int64_t>(std::clamp(std::trunc(n), -1e12, 1e12));
  }
  // A length a function is asked to build; beyond kMaxBuiltLength is an error.
  int64_t Length(size_t i) const {
    const int64_t n = Count(i);
    if (n > kMaxBuiltLength) {
      throw EvalFault(std::string(name_) + "(): length " + std::to_string(n) + " exceeds " +
                      std::to_string(kMaxBuiltLength));
    }
    return n;
  }

 private:
  std::string_view name_;
  const RecordView& record_;
  std::span<const NodePtr> args_;
};

using FunctionImpl = void (*)(const Call& call, Value& out);

struct FunctionDef {
  std::string_view name;
  int min_args;
  int max_args;
  FunctionImpl impl;
};

namespace {

void Str(const Call& call, Value& out) {
  const double n = call.Number(0);
  const int64_t width = std::max<int64_t>(call.size() > 1 ? call.Length(1) : 10, 0);
  const int64_t decimals = call.size() > 2 ? std::clamp<int64_t>(call.Count(2), 0, width) : 0;
  out.str = FormatNumber(n, static_cast<int>(width), static_cast<int>(decimals));
  SetCharacter(out);
}

void StrZero(const Call& call, Value& out) {
  Str(call, out);
  std::string& s = out.str;
  if (s.empty() || s[0] == '*') return;
  const size_t minus = s.find('-');
  for (char& c : s) {
    if (c == ' ') c = '0';
  }
  if (minus != std::string::npos && minus != 0) {
    s[minus] = '0';
    s[0] = '-';
  }
}

// The day number of a date value; 0 for a value no calendar day can have.
int64_t JulianOf(const Value& date) {
  return std::fabs(date.num) <= kMaxAbsDay ? static_cast<int64_t>(date.num) : 0;
}

void DtosFn(const Call& call, Value& out) {
  call.Eval(0, out, ValueType::kDate);
  out.str = Dtos(JulianOf(out));
  SetCharacter(out);
}

void StodFn(const Call& call, Value& out) {
  call.Eval(0, out, ValueType::kCharacter);
  SetDate(out, static_cast<double>(Stod(out.str)));
}

void Upper(const Call& call, Value& out) {
  call.Eval(0, out, ValueType::kCharacter);
  UpperCaseInPlace(out.str);
}

void Lower(const Call& call, Value& out) {
  call.Eval(0, out, ValueType::kCharacter);
  LowerCaseInPlace(out.str);
}

// Keeps `count` bytes of out.str from byte `from` (both already within range).
void Keep(Value& out, size_t from, size_t count) {
  out.str.erase(0, from);
  out.str.resize(std::min(count, out.str.size()));
}

void Substr(const Call& call, Value& out) {
  const int64_t start = call.Count(1);
  const int64_t count = call.size() > 2 ? call.Count(2) : INT64_MAX;
  call.Eval(0, out, ValueType::kCharacter);
  const auto size = static_cast<int64_t>(out.str.size());
  // As in xBase: a start of 0 counts as 1; a negative start counts from the end.
  int64_t from = start > 0 ? start - 1 : (start < 0 ? std::max<int64_t>(size + start, 0) : 0);
  if (count <= 0 || from >= size) {
    out.str.clear();
    return;
  }
  Keep(out, static_cast<size_t>(from), static_cast<size_t>(std::min(count, size - from)));
}

void Left(const Call& call, Value& out) {
  const int64_t count = call.Count(1);
  call.Eval(0, out, ValueType::kCharacter);
  Keep(out, 0, count <= 0 ? 0 : static_cast<size_t>(count));
}

void Right(const Call& call, Value& out) {
  const int64_t count = call.Count(1);
  call.Eval(0, out, ValueType::kCharacter);
  const auto size = static_cast<int64_t>(out.str.size());
  if (count <= 0) {
    out.str.clear();
  } else if (count < size) {
    out.str.erase(0, static_cast<size_t>(size - count));
  }
}

char PadChar(const Call& call) {
  if (call.size() < 3) return ' ';
  Value fill;
  call.Eval(2, fill, ValueType::kCharacter);
  return fill.str.empty() ? ' ' : fill.str[0];
}

enum class Side { kRight, kLeft, kCenter };

template <Side side>
void Pad(const Call& call, Value& out) {
  const int64_t length = call.Length(1);
  const char fill = PadChar(call);
  call.Eval(0, out, ValueType::kCharacter);
  if (length <= 0) {
    out.str.clear();
    return;
  }
  const auto n = static_cast<size_t>(length);
  if (out.str.size() >= n) {
    out.str.resize(n);  // too long: the leftmost bytes stay, as xBase does
    return;
  }
  const size_t missing = n - out.str.size();
  const size_t before = side == Side::kLeft ? missing : (side == Side::kCenter ? missing / 2 : 0);
  out.str.insert(0, before, fill);
  out.str.append(missing - before, fill);
}

void RTrim(const Call& call, Value& out) {
  call.Eval(0, out, ValueType::kCharacter);
  const size_t last = out.str.find_last_not_of(' ');
  out.str.resize(last == std::string::npos ? 0 : last + 1);
}

void LTrim(const Call& call, Value& out) {
  call.Eval(0, out, ValueType::kCharacter);
  const size_t first = out.str.find_first_not_of(' ');
  out.str.erase(0, first == std::string::npos ? out.str.size() : first);
}

void AllTrim(const Call& call, Value& out) {
  RTrim(call, out);
  const size_t first = out.str.find_first_not_of(' ');
  out.str.erase(0, first == std::string::npos ? out.str.size() : first);
}

void Iif(const Call& call, Value& out) {
  call.Eval(0, out, ValueType::kLogical);
  call.EvalAny(out.logical ? 1 : 2, out);
}

void Val(const Call& call, Value& out) {
  call.Eval(0, out, ValueType::kCharacter);
  SetNumeric(out, ParseNumber(out.str));
}

void DeletedFn(const Call& call, Value& out) { SetLogical(out, call.record().Deleted()); }
void RecNoFn(const Call& call, Value& out) { SetNumeric(out, call.record().RecNo()); }

void Abs(const Call& call, Value& out) {
  call.Eval(0, out, ValueType::kNumeric);
  out.num = std::fabs(out.num);
}

void Int(const Call& call, Value& out) {
  call.Eval(0, out, ValueType::kNumeric);
  out.num = std::trunc(out.num);
  if (out.num == 0) out.num = 0;  // no -0
}

void Empty(const Call& call, Value& out) {
  call.EvalAny(0, out);
  bool empty = false;
  switch (out.type) {
    case ValueType::kCharacter:
      empty = out.str.find_first_not_of(" \t\r\n") == std::string::npos;
      break;
    case ValueType::kNumeric:
    case ValueType::kDate:
      empty = out.num == 0;
      break;
    case ValueType::kLogical:
      empty = !out.logical;
      break;
  }
  SetLogical(out, empty);
}

void Space(const Call& call, Value& out) {
  const int64_t n = call.Length(0);
  out.str.assign(n > 0 ? static_cast<size_t>(n) : 0, ' ');
  SetCharacter(out);
}

void Replicate(const Call& call, Value& out) {
  const int64_t times = call.Count(1);
  call.Eval(0, out, ValueType::kCharacter);
  if (times <= 0 || out.str.empty()) {
    out.str.clear();
    return;
  }
  const size_t piece = out.str.size();
  if (static_cast<double>(piece) * static_cast<double>(times) > kMaxBuiltLength) {
    throw EvalFault("REPLICATE(): result longer than " + std::to_string(kMaxBuiltLength));
  }
  out.str.reserve(piece * static_cast<size_t>(times));
  for (int64_t i = 1; i < times; ++i) out.str.append(out.str.data(), piece);
}

template <int CivilDate::*member>
void DatePart(const Call& call, Value& out) {
  call.Eval(0, out, ValueType::kDate);
  SetNumeric(out, FromJulianDay(JulianOf(out)).*member);
}

void Len(const Call& call, Value& out) {
  call.Eval(0, out, ValueType::kCharacter);
  SetNumeric(out, static_cast<double>(out.str.size()));
}

constexpr FunctionDef kFunctions[] = {
    {"ABS", 1, 1, Abs},
    {"ALLTRIM", 1, 1, AllTrim},
    {"DAY", 1, 1, DatePart<&CivilDate::day>},
    {"DELETED", 0, 0, DeletedFn},
    {"DTOS", 1, 1, DtosFn},
    {"EMPTY", 1, 1, Empty},
    {"IF", 3, 3, Iif},
    {"IIF", 3, 3, Iif},
    {"INT", 1, 1, Int},
    {"LEFT", 2, 2, Left},
    {"LEN", 1, 1, Len},
    {"LOWER", 1, 1, Lower},
    {"LTRIM", 1, 1, LTrim},
    {"MONTH", 1, 1, DatePart<&CivilDate::month>},
    {"PADC", 2, 3, Pad<Side::kCenter>},
    {"PADL", 2, 3, Pad<Side::kLeft>},
    {"PADR", 2, 3, Pad<Side::kRight>},
    {"RECNO", 0, 0, RecNoFn},
    {"REPLICATE", 2, 2, Replicate},
    {"RIGHT", 2, 2, Right},
    {"RTRIM", 1, 1, RTrim},
    {"SPACE", 1, 1, Space},
    {"STOD", 1, 1, StodFn},
    {"STR", 1, 3, Str},
    {"STRZERO", 1, 3, StrZero},
    {"SUBSTR", 2, 3, Substr},
    {"TRIM", 1, 1, RTrim},
    {"UPPER", 1, 1, Upper},
    {"VAL", 1, 1, Val},
    {"YEAR", 1, 1, DatePart<&CivilDate::year>},
};

bool EqualsIgnoringCase(std::string_view a, std::string_view upper) {
  if (a.size() != upper.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const char c = a[i] >= 'a' && a[i] <= 'z' ? static_cast<char>(a[i] - 'a' + 'A') : a[i];
    if (c != upper[i]) return false;
  }
  return true;
}

class CallNode final : public Node {
 public:
  CallNode(const FunctionDef& def, std::vector<NodePtr> args) : def_(def), args_(std::move(args)) {}
  void Eval(const RecordView& record, Value& out) const override {
    def_.impl(Call(def_.name, record, args_), out);
  }

 private:
  const FunctionDef& def_;
  std::vector<NodePtr> args_;
};

}  // namespace

const FunctionDef* FindFunction(std::string_view name) {
  for (const FunctionDef& def : kFunctions) {
    if (EqualsIgnoringCase(name, def.name)) return &def;
  }
  return nullptr;
}

int MinArgs(const FunctionDef& def) { return def.min_args; }
int MaxArgs(const FunctionDef& def) { return def.max_args; }
std::string_view FunctionName(const FunctionDef& def) { return def.name; }

NodePtr MakeCall(const FunctionDef& def, std::vector<NodePtr> args) {
  return std::make_unique<CallNode>(def, std::move(args));
}

}  // namespace xbase::expr

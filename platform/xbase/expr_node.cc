#include "platform/xbase/expr_node.h"

#include <atomic>
#include <cmath>
#include <string_view>

namespace xbase::expr {
namespace {

const char* OpText(BinaryOp op) {
  switch (op) {
    case BinaryOp::kAdd:
      return "+";
    case BinaryOp::kSub:
      return "-";
    case BinaryOp::kMul:
      return "*";
    case BinaryOp::kDiv:
      return "/";
    case BinaryOp::kEq:
      return "=";
    case BinaryOp::kExactEq:
      return "==";
    case BinaryOp::kNe:
      return "!=";
    case BinaryOp::kLt:
      return "<";
    case BinaryOp::kLe:
      return "<=";
    case BinaryOp::kGt:
      return ">";
    case BinaryOp::kGe:
      return ">=";
    case BinaryOp::kContains:
      return "$";
  }
  return "?";
}

[[noreturn]] void Mismatch(BinaryOp op, const Value& a, const Value& b) {
  throw EvalFault(std::string("type mismatch: ") + TypeName(a.type) + " " + OpText(op) + " " +
                  TypeName(b.type));
}

bool IsNumeric(const Value& v) { return v.type == ValueType::kNumeric; }
bool IsDate(const Value& v) { return v.type == ValueType::kDate; }
bool IsCharacter(const Value& v) { return v.type == ValueType::kCharacter; }

void ApplyArithmetic(BinaryOp op, Value& a, const Value& b) {
  switch (op) {
    case BinaryOp::kAdd:
      if (IsCharacter(a) && IsCharacter(b)) {
        a.str += b.str;
      } else if (IsNumeric(a) && IsNumeric(b)) {
        a.num += b.num;
      } else if (IsDate(a) && IsNumeric(b)) {
        SetDate(a, a.num + std::trunc(b.num));
      } else if (IsNumeric(a) && IsDate(b)) {
        SetDate(a, std::trunc(a.num) + b.num);
      } else {
        Mismatch(op, a, b);
      }
      return;
    case BinaryOp::kSub:
      if (IsCharacter(a) && IsCharacter(b)) {
        // The left operand's trailing blanks move to the end of the result.
        const size_t last = a.str.find_last_not_of(' ');
        const size_t kept = last == std::string::npos ? 0 : last + 1;
        const size_t blanks = a.str.size() - kept;
        a.str.resize(kept);
        a.str += b.str;
        a.str.append(blanks, ' ');
      } else if (IsNumeric(a) && IsNumeric(b)) {
        a.num -= b.num;
      } else if (IsDate(a) && IsNumeric(b)) {
        SetDate(a, a.num - std::trunc(b.num));
      } else if (IsDate(a) && IsDate(b)) {
        SetNumeric(a, a.num - b.num);
      } else {
        Mismatch(op, a, b);
      }
      return;
    case BinaryOp::kMul:
      if (!IsNumeric(a) || !IsNumeric(b)) Mismatch(op, a, b);
      a.num *= b.num;
      return;
    case BinaryOp::kDiv:
      if (!IsNumeric(a) || !IsNumeric(b)) Mismatch(op, a, b);
      a.num = b.num == 0 ? 0 : a.num / b.num;
      return;
    default:
      Mismatch(op, a, b);
  }
}

// SET EXACT OFF comparison: the left operand is compared only up to the right one's length,
// so "ABC" = "AB" and anything = "" hold. Unsigned bytes.
int NonExactCompare(std::string_view a, std::string_view b) {
  if (a.size() > b.size()) a = a.substr(0, b.size());
  const int c = a.compare(b);  // char_traits<char>::compare works on unsigned char values
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

bool Ordered(BinaryOp op, int c) {
  switch (op) {
    case BinaryOp::kEq:
    case BinaryOp::kExactEq:
      return c == 0;
    case BinaryOp::kNe:
      return c != 0;
    case BinaryOp::kLt:
      return c < 0;
    case BinaryOp::kLe:
      return c <= 0;
    case BinaryOp::kGt:
      return c > 0;
    case BinaryOp::kGe:
      return c >= 0;
    default:
      return false;
  }
}

bool CompareValues(BinaryOp op, const Value& a, const Value& b) {
  if (a.type != b.type) Mismatch(op, a, b);
  switch (a.type) {
    case ValueType::kCharacter:
      if (op == BinaryOp::kContains)
        return !a.str.empty() && b.str.find(a.str) != std::string::npos;
      if (op == BinaryOp::kExactEq) return a.str == b.str;
      return Ordered(op, NonExactCompare(a.str, b.str));
    case ValueType::kNumeric:
    case ValueType::kDate: {
      const double x = a.num;
      const double y = b.num;
      switch (op) {
        case BinaryOp::kEq:
        case BinaryOp::kExactEq:
          return x == y;
        case BinaryOp::kNe:
          return x != y;
        case BinaryOp::kLt:
          return x < y;
        case BinaryOp::kLe:
          return x <= y;
        case BinaryOp::kGt:
          return x > y;
        case BinaryOp::kGe:
          return x >= y;
        default:
          Mismatch(op, a, b);
      }
    }
    case ValueType::kLogical:
      if (op == BinaryOp::kContains) Mismatch(op, a, b);
      return Ordered(op, static_cast<int>(a.logical) - static_cast<int>(b.logical));
  }
  Mismatch(op, a, b);
}

class ConstantNode final : public Node {
 public:
  explicit ConstantNode(Value value) : value_(std::move(value)) {}
  void Eval(const RecordView&, Value& out) const override { out = value_; }

 private:
  Value value_;
};

class FieldNode final : public Node {
 public:
  explicit FieldNode(int index) : index_(index) {}
  void Eval(const RecordView& record, Value& out) const override { out = record.Field(index_); }

 private:
  int index_;
};

class NegateNode final : public Node {
 public:
  NegateNode(NodePtr operand, bool negate) : operand_(std::move(operand)), negate_(negate) {}
  void Eval(const RecordView& record, Value& out) const override {
    operand_->Eval(record, out);
    if (!IsNumeric(out)) {
      throw EvalFault(std::string("type mismatch: unary ") + (negate_ ? "-" : "+") + " " +
                      TypeName(out.type));
    }
    if (negate_) out.num = out.num == 0 ? 0.0 : -out.num;
  }

 private:
  NodePtr operand_;
  bool negate_;
};

class NotNode final : public Node {
 public:
  explicit NotNode(NodePtr operand) : operand_(std::move(operand)) {}
  void Eval(const RecordView& record, Value& out) const override {
    operand_->Eval(record, out);
    if (out.type != ValueType::kLogical) {
      throw EvalFault(std::string("type mismatch: .NOT. ") + TypeName(out.type));
    }
    out.logical = !out.logical;
  }

 private:
  NodePtr operand_;
};

class ChainNode final : public Node {
 public:
  ChainNode(NodePtr first, std::vector<std::pair<BinaryOp, NodePtr>> rest)
      : first_(std::move(first)), rest_(std::move(rest)) {
    for (const auto& [op, node] : rest_) {
      if (op != BinaryOp::kAdd && op != BinaryOp::kSub) concatenates_ = false;
    }
  }

  void Eval(const RecordView& record, Value& out) const override {
    first_->Eval(record, out);
    if (concatenates_ && IsCharacter(out)) {
      // One allocation for the result: the length the chain had last time.
      const size_t hint = size_hint_.load(std::memory_order_relaxed);
      if (hint > out.str.capacity()) out.str.reserve(hint);
    }
    Value operand;
    for (const auto& [op, node] : rest_) {
      node->Eval(record, operand);
      if (op <= BinaryOp::kDiv) {
        ApplyArithmetic(op, out, operand);
      } else {
        const bool result = CompareValues(op, out, operand);
        SetLogical(out, result);
      }
    }
    if (concatenates_ && IsCharacter(out)) {
      size_hint_.store(out.str.size(), std::memory_order_relaxed);
    }
  }

 private:
  NodePtr first_;
  std::vector<std::pair<BinaryOp, NodePtr>> rest_;
  bool concatenates_ = true;
  mutable std::atomic<size_t> size_hint_{0};
};

class LogicalNode final : public Node {
 public:
  LogicalNode(bool is_and, std::vector<NodePtr> operands)
      : is_and_(is_and), operands_(std::move(operands)) {}

  void Eval(const RecordView& record, Value& out) const override {
    for (const NodePtr& operand : operands_) {
      operand->Eval(record, out);
      if (out.type != ValueType::kLogical) {
        throw EvalFault(std::string("type mismatch: ") + (is_and_ ? ".AND. " : ".OR. ") +
                        TypeName(out.type));
      }
      if (out.logical != is_and_) return;  // .F. decides an .AND., .T. an .OR.
    }
  }

 private:
  bool is_and_;
  std::vector<NodePtr> operands_;
};

}  // namespace

void SetCharacter(Value& out) {
  out.type = ValueType::kCharacter;
  out.num = 0;
  out.logical = false;
}

void SetNumeric(Value& out, double n) {
  out.type = ValueType::kNumeric;
  out.str.clear();
  out.num = n;
  out.logical = false;
}

void SetDate(Value& out, double julian_day) {
  if (!(std::fabs(julian_day) <= kMaxAbsDay)) throw EvalFault("date out of range");
  out.type = ValueType::kDate;
  out.str.clear();
  out.num = julian_day;
  out.logical = false;
}

void SetLogical(Value& out, bool b) {
  out.type = ValueType::kLogical;
  out.str.clear();
  out.num = 0;
  out.logical = b;
}

NodePtr MakeConstant(Value value) { return std::make_unique<ConstantNode>(std::move(value)); }
NodePtr MakeField(int index) { return std::make_unique<FieldNode>(index); }
NodePtr MakeNegate(NodePtr operand) {
  return std::make_unique<NegateNode>(std::move(operand), true);
}
NodePtr MakeUnaryPlus(NodePtr operand) {
  return std::make_unique<NegateNode>(std::move(operand), false);
}
NodePtr MakeNot(NodePtr operand) { return std::make_unique<NotNode>(std::move(operand)); }
NodePtr MakeChain(NodePtr first, std::vector<std::pair<BinaryOp, NodePtr>> rest) {
  if (rest.empty()) return first;
  return std::make_unique<ChainNode>(std::move(first), std::move(rest));
}
NodePtr MakeLogical(bool is_and, std::vector<NodePtr> operands) {
  if (operands.size() == 1) return std::move(operands.front());
  return std::make_unique<LogicalNode>(is_and, std::move(operands));
}

}  // namespace xbase::expr

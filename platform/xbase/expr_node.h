#pragma once
// The evaluation tree of an xBase expression: constants, fields and operators. Internal to
// the expression engine; functions are in expr_functions.h.

#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/xbase/record_view.h"
#include "platform/xbase/value.h"

namespace xbase::expr {

// A failure while evaluating (type mismatch, result too long); Expression::Evaluate adds the
// expression text and rethrows it as Error(kExpression).
class EvalFault : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The longest character value a function may build from a count (SPACE, PADR, STR width...).
inline constexpr int64_t kMaxBuiltLength = 65535;
// Dates reached by arithmetic must stay within this many days of day 0.
inline constexpr double kMaxAbsDay = 1e8;

class Node {
 public:
  virtual ~Node() = default;
  // Evaluates into `out`, replacing what it held.
  virtual void Eval(const RecordView& record, Value& out) const = 0;
};
using NodePtr = std::unique_ptr<const Node>;

// Setters that leave the members a type does not use at their defaults, so that values
// compare equal with operator== exactly when they are the same xBase value.
void SetCharacter(Value& out);  // keeps out.str
void SetNumeric(Value& out, double n);
void SetDate(Value& out, double julian_day);  // throws EvalFault beyond kMaxAbsDay
void SetLogical(Value& out, bool b);

enum class BinaryOp { kAdd, kSub, kMul, kDiv, kEq, kExactEq, kNe, kLt, kLe, kGt, kGe, kContains };

NodePtr MakeConstant(Value value);
NodePtr MakeField(int index);
NodePtr MakeNegate(NodePtr operand);
NodePtr MakeUnaryPlus(NodePtr operand);
NodePtr MakeNot(NodePtr operand);
// first op1 second op2 third ..., evaluated left to right (+ - * / or comparisons).
NodePtr MakeChain(NodePtr first, std::vector<std::pair<BinaryOp, NodePtr>> rest);
// .AND. (is_and) or .OR. of the operands, left to right, stopping when the result is known.
NodePtr MakeLogical(bool is_and, std::vector<NodePtr> operands);

}  // namespace xbase::expr

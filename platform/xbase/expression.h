#pragma once
// Key and FOR expressions of index tags: parsed once per tag, evaluated on every record.
//
// Language: field names and ALIAS->FIELD (the table's own alias or FIELD); literals 123 1.5,
// "..." '...' [...], .T. .F. .Y. .N.; operators by precedence (highest first): unary + -,
// * /, + -, = == != <> # < <= > >= $, .NOT. !, .AND., .OR.; parentheses. Functions: STR DTOS
// STOD UPPER LOWER SUBSTR LEFT RIGHT PADR PADL PADC TRIM RTRIM LTRIM ALLTRIM IIF IF VAL
// DELETED RECNO STRZERO ABS INT EMPTY SPACE REPLICATE LEN YEAR MONTH DAY. Names are
// case-insensitive. Anything else (CTOD, DATE, memory variables...) is rejected by Parse.

#include <memory>
#include <string>
#include <string_view>

#include "platform/xbase/field.h"
#include "platform/xbase/record_view.h"
#include "platform/xbase/value.h"

namespace xbase {

namespace expr {
class Node;
}

class Expression {
 public:
  // Parses `text` for a table with `schema`; `table_name` (e.g. "DET_FOL") is the only alias
  // accepted before "->" besides FIELD (case-insensitive). Throws Error(kExpression) whose
  // message names the expression and the problem: unknown function, unknown field, alias of
  // another table, wrong argument count, syntax error at position N (1-based), nesting deeper
  // than 256 levels, empty expression.
  static Expression Parse(std::string_view text, const Schema& schema, std::string_view table_name);

  // An empty expression: Evaluate throws. Only useful as a placeholder.
  Expression() = default;

  // The value for `record`. Throws Error(kExpression) naming the expression on a type mismatch
  // (e.g. "A" + 1) or an out-of-range result; errors of `record` itself pass through.
  Value Evaluate(const RecordView& record) const;
  // The same into `out`, reusing its storage.
  void Evaluate(const RecordView& record, Value& out) const;

  const std::string& text() const { return text_; }
  bool empty() const { return root_ == nullptr; }

  // Copies share the immutable tree; evaluation is safe from several threads at once.

 private:
  Expression(std::string text, std::shared_ptr<const expr::Node> root)
      : text_(std::move(text)), root_(std::move(root)) {}

  std::string text_;
  std::shared_ptr<const expr::Node> root_;
};

}  // namespace xbase

#include "platform/xbase/expression.h"

#include <cstdio>

#include "platform/xbase/error.h"
#include "platform/xbase/expr_lexer.h"
#include "platform/xbase/expr_node.h"
#include "platform/xbase/expr_parser.h"

namespace xbase {
namespace {

// `expression "TEXT"` for messages: control bytes as \xNN, long texts cut.
std::string Quoted(std::string_view text) {
  constexpr size_t kMaxShown = 300;
  std::string result = "expression \"";
  for (size_t i = 0; i < text.size() && i < kMaxShown; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 || c == 0x7F) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      result += buf;
    } else {
      result += static_cast<char>(c);
    }
  }
  if (text.size() > kMaxShown) result += "...";
  result += '"';
  return result;
}

}  // namespace

Expression Expression::Parse(std::string_view text, const Schema& schema,
                             std::string_view table_name) {
  try {
    std::shared_ptr<const expr::Node> root = expr::ParseTree(text, schema, table_name);
    return Expression(std::string(text), std::move(root));
  } catch (const expr::ParseFault& fault) {
    throw Error(ErrorKind::kExpression, "", Quoted(text) + ": " + fault.message);
  }
}

void Expression::Evaluate(const RecordView& record, Value& out) const {
  if (root_ == nullptr) throw Error(ErrorKind::kExpression, "", "evaluating an empty expression");
  try {
    root_->Eval(record, out);
  } catch (const expr::EvalFault& fault) {
    throw Error(ErrorKind::kExpression, "", Quoted(text_) + ": " + fault.what());
  }
}

Value Expression::Evaluate(const RecordView& record) const {
  Value out;
  Evaluate(record, out);
  return out;
}

}  // namespace xbase

#pragma once
// Builds the evaluation tree of an xBase expression. Internal to the expression engine.

#include <string_view>

#include "platform/xbase/expr_node.h"
#include "platform/xbase/field.h"

namespace xbase::expr {

// How deeply parentheses, function calls and unary operators may nest.
inline constexpr int kMaxDepth = 256;

// The tree of `text` for a table with `schema` whose alias is `table_name`. Throws ParseFault
// (expr_lexer.h) on unknown names, other aliases, wrong argument counts and bad syntax.
NodePtr ParseTree(std::string_view text, const Schema& schema, std::string_view table_name);

}  // namespace xbase::expr

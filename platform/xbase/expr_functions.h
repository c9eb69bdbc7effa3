#pragma once
// The functions an expression may call (STR, DTOS, SUBSTR, IIF...). Internal to the
// expression engine.

#include <string_view>
#include <vector>

#include "platform/xbase/expr_node.h"

namespace xbase::expr {

struct FunctionDef;

// The function named `name` (case-insensitive), or nullptr when there is none.
const FunctionDef* FindFunction(std::string_view name);
int MinArgs(const FunctionDef& def);
int MaxArgs(const FunctionDef& def);
std::string_view FunctionName(const FunctionDef& def);

// A call of `def` with `args` (their count already checked against MinArgs/MaxArgs).
NodePtr MakeCall(const FunctionDef& def, std::vector<NodePtr> args);

}  // namespace xbase::expr

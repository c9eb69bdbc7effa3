#include "platform/xbase/expr_parser.h"

#include <string>
#include <utility>
#include <vector>

#include "platform/xbase/expr_functions.h"
#include "platform/xbase/expr_lexer.h"

namespace xbase::expr {
namespace {

std::string UpperName(std::string_view name) {
  std::string result(name);
  for (char& c : result) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return result;
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && UpperName(a) == UpperName(b);
}

// Recursive descent over the xBase precedence levels, lowest first:
//   .OR.  <  .AND.  <  .NOT.  <  = == != <> # < <= > >= $  <  + -  <  * /  <  unary + -
class Parser {
 public:
  Parser(std::string_view text, const Schema& schema, std::string_view table_name)
      : tokens_(Tokenize(text)), schema_(schema), table_name_(table_name) {}

  NodePtr Run() {
    if (Peek().kind == Tok::kEnd) throw ParseFault{0, "empty expression"};
    NodePtr root = ParseOr();
    if (Peek().kind != Tok::kEnd) throw Unexpected(Peek());
    return root;
  }

 private:
  class DepthGuard {
   public:
    DepthGuard(Parser& parser, size_t pos) : parser_(parser) {
      if (++parser_.depth_ > kMaxDepth) {
        throw ParseFault{pos, "nesting deeper than " + std::to_string(kMaxDepth) + " levels at " +
                                  PositionText(pos)};
      }
    }
    ~DepthGuard() { --parser_.depth_; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

   private:
    Parser& parser_;
  };

  const Token& Peek() const { return tokens_[pos_]; }
  // The current token, then moves on (never past the final kEnd).
  const Token& Next() {
    const Token& token = tokens_[pos_];
    if (token.kind != Tok::kEnd) ++pos_;
    return token;
  }
  bool Accept(Tok kind) {
    if (Peek().kind != kind) return false;
    Next();
    return true;
  }

  static ParseFault Syntax(const Token& at, const std::string& what) {
    return ParseFault{at.pos, "syntax error at " + PositionText(at.pos) + ": " + what};
  }
  static ParseFault Unexpected(const Token& at) { return Syntax(at, "unexpected " + Describe(at)); }
  void Expect(Tok kind, const char* what) {
    if (!Accept(kind))
      throw Syntax(Peek(), std::string("expected ") + what + ", found " + Describe(Peek()));
  }

  NodePtr ParseOr() {
    DepthGuard guard(*this, Peek().pos);
    std::vector<NodePtr> operands;
    operands.push_back(ParseAnd());
    while (Accept(Tok::kOr)) operands.push_back(ParseAnd());
    return MakeLogical(false, std::move(operands));
  }

  NodePtr ParseAnd() {
    std::vector<NodePtr> operands;
    operands.push_back(ParseNot());
    while (Accept(Tok::kAnd)) operands.push_back(ParseNot());
    return MakeLogical(true, std::move(operands));
  }

  NodePtr ParseNot() {
    if (Peek().kind != Tok::kNot) return ParseRelational();
    DepthGuard guard(*this, Next().pos);
    return MakeNot(ParseNot());
  }

  static bool RelationalOp(Tok kind, BinaryOp& op) {
    switch (kind) {
      case Tok::kEq:
        op = BinaryOp::kEq;
        return true;
      case Tok::kExactEq:
        op = BinaryOp::kExactEq;
        return true;
      case Tok::kNe:
        op = BinaryOp::kNe;
        return true;
      case Tok::kLt:
        op = BinaryOp::kLt;
        return true;
      case Tok::kLe:
        op = BinaryOp::kLe;
        return true;
      case Tok::kGt:
        op = BinaryOp::kGt;
        return true;
      case Tok::kGe:
        op = BinaryOp::kGe;
        return true;
      case Tok::kDollar:
        op = BinaryOp::kContains;
        return true;
      default:
        return false;
    }
  }

  NodePtr ParseRelational() {
    NodePtr first = ParseAdditive();
    std::vector<std::pair<BinaryOp, NodePtr>> rest;
    BinaryOp op;
    while (RelationalOp(Peek().kind, op)) {
      Next();
      rest.emplace_back(op, ParseAdditive());
    }
    return MakeChain(std::move(first), std::move(rest));
  }

  NodePtr ParseAdditive() {
    NodePtr first = ParseMultiplicative();
    std::vector<std::pair<BinaryOp, NodePtr>> rest;
    while (Peek().kind == Tok::kPlus || Peek().kind == Tok::kMinus) {
      const BinaryOp op = Next().kind == Tok::kPlus ? BinaryOp::kAdd : BinaryOp::kSub;
      rest.emplace_back(op, ParseMultiplicative());
    }
    return MakeChain(std::move(first), std::move(rest));
  }

  NodePtr ParseMultiplicative() {
    NodePtr first = ParseUnary();
    std::vector<std::pair<BinaryOp, NodePtr>> rest;
    while (Peek().kind == Tok::kStar || Peek().kind == Tok::kSlash) {
      const BinaryOp op = Next().kind == Tok::kStar ? BinaryOp::kMul : BinaryOp::kDiv;
      rest.emplace_back(op, ParseUnary());
    }
    return MakeChain(std::move(first), std::move(rest));
  }

  NodePtr ParseUnary() {
    const Tok kind = Peek().kind;
    if (kind != Tok::kPlus && kind != Tok::kMinus) return ParsePrimary();
    DepthGuard guard(*this, Next().pos);
    NodePtr operand = ParseUnary();
    return kind == Tok::kMinus ? MakeNegate(std::move(operand)) : MakeUnaryPlus(std::move(operand));
  }

  NodePtr ParsePrimary() {
    const Token& token = Next();
    switch (token.kind) {
      case Tok::kNumber:
        return MakeConstant(Value::Numeric(token.number));
      case Tok::kString:
        return MakeConstant(Value::Character(std::string(token.text)));
      case Tok::kTrue:
        return MakeConstant(Value::Logical(true));
      case Tok::kFalse:
        return MakeConstant(Value::Logical(false));
      case Tok::kLParen: {
        NodePtr inner = ParseOr();
        Expect(Tok::kRParen, "')'");
        return inner;
      }
      case Tok::kIdent:
        return ParseName(token);
      case Tok::kEnd:
        throw Syntax(token, "unexpected end of expression");
      default:
        throw Unexpected(token);
    }
  }

  NodePtr ParseName(const Token& name) {
    if (Peek().kind == Tok::kLParen) return ParseCall(name);
    if (Accept(Tok::kArrow)) {
      if (!SameName(name.text, table_name_) && !SameName(name.text, "FIELD")) {
        throw ParseFault{name.pos, "alias " + UpperName(name.text) + " at " +
                                       PositionText(name.pos) + " refers to another table"};
      }
      const Token& field = Next();
      if (field.kind != Tok::kIdent) {
        throw Syntax(field, "expected a field name after '->', found " + Describe(field));
      }
      return ParseField(field);
    }
    return ParseField(name);
  }

  NodePtr ParseField(const Token& name) {
    const int index = FindField(schema_, name.text);
    if (index < 0) {
      throw ParseFault{name.pos,
                       "unknown field " + UpperName(name.text) + " at " + PositionText(name.pos)};
    }
    return MakeField(index);
  }

  NodePtr ParseCall(const Token& name) {
    const FunctionDef* def = FindFunction(name.text);
    if (def == nullptr) {
      throw ParseFault{
          name.pos, "unknown function " + UpperName(name.text) + " at " + PositionText(name.pos)};
    }
    Next();  // '('
    std::vector<NodePtr> args;
    if (!Accept(Tok::kRParen)) {
      do {
        args.push_back(ParseOr());
      } while (Accept(Tok::kComma));
      Expect(Tok::kRParen, "',' or ')'");
    }
    const int count = static_cast<int>(args.size());
    if (count < MinArgs(*def) || count > MaxArgs(*def)) {
      std::string expected = std::to_string(MinArgs(*def));
      if (MaxArgs(*def) != MinArgs(*def)) expected += " to " + std::to_string(MaxArgs(*def));
      throw ParseFault{name.pos, "wrong argument count for " + std::string(FunctionName(*def)) +
                                     " at " + PositionText(name.pos) + ": " +
                                     std::to_string(count) + " given, " + expected + " expected"};
    }
    return MakeCall(*def, std::move(args));
  }

  std::vector<Token> tokens_;
  size_t pos_ = 0;
  int depth_ = 0;
  const Schema& schema_;
  std::string_view table_name_;
};

}  // namespace

NodePtr ParseTree(std::string_view text, const Schema& schema, std::string_view table_name) {
  return Parser(text, schema, table_name).Run();
}

}  // namespace xbase::expr

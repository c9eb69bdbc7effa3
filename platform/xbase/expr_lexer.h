#pragma once
// Splits the text of an xBase expression into tokens. Internal to the expression engine.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace xbase::expr {

enum class Tok {
  kEnd,
  kIdent,   // text: the name as written
  kNumber,  // number: the value
  kString,  // text: the bytes between the delimiters
  kTrue,    // .T. .Y.
  kFalse,   // .F. .N.
  kAnd,     // .AND.
  kOr,      // .OR.
  kNot,     // .NOT. !
  kPlus,
  kMinus,
  kStar,
  kSlash,
  kEq,       // =
  kExactEq,  // ==
  kNe,       // != <> #
  kLt,
  kLe,
  kGt,
  kGe,
  kDollar,  // $
  kLParen,
  kRParen,
  kComma,
  kArrow,  // ->
};

struct Token {
  Tok kind = Tok::kEnd;
  size_t pos = 0;         // byte offset of the token in the text
  std::string_view text;  // kIdent, kString: a view into the expression text
  double number = 0;      // kNumber
};

// A problem found while reading an expression: `pos` is the byte offset it refers to.
struct ParseFault {
  size_t pos;
  std::string message;  // without the expression text, e.g. "unknown field FOO at position 3"
};

// "position N" (1-based) for byte offset `pos`.
std::string PositionText(size_t pos);

// The tokens of `text`, ending with one kEnd token. Throws ParseFault.
std::vector<Token> Tokenize(std::string_view text);

// Human-readable description of a token for messages: "')'", "end of expression", "name FOO".
std::string Describe(const Token& token);

}  // namespace xbase::expr

#include "platform/xbase/expr_lexer.h"

#include <charconv>
#include <cstdio>
#include <limits>
#include <system_error>

namespace xbase::expr {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || IsDigit(c); }
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualsUpper(std::string_view word, std::string_view upper) {
  if (word.size() != upper.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    if (Upper(word[i]) != upper[i]) return false;
  }
  return true;
}

std::string ByteText(char c) {
  const auto u = static_cast<unsigned char>(c);
  if (u >= 0x21 && u < 0x7F) return std::string("'") + c + "'";
  char buf[16];
  std::snprintf(buf, sizeof buf, "byte 0x%02X", u);
  return buf;
}

}  // namespace

std::string PositionText(size_t pos) { return "position " + std::to_string(pos + 1); }

std::string Describe(const Token& token) {
  switch (token.kind) {
    case Tok::kEnd:
      return "end of expression";
    case Tok::kIdent:
      return "name " + std::string(token.text);
    case Tok::kNumber:
      return "number";
    case Tok::kString:
      return "string";
    case Tok::kTrue:
      return "'.T.'";
    case Tok::kFalse:
      return "'.F.'";
    case Tok::kAnd:
      return "'.AND.'";
    case Tok::kOr:
      return "'.OR.'";
    case Tok::kNot:
      return "'.NOT.'";
    case Tok::kPlus:
      return "'+'";
    case Tok::kMinus:
      return "'-'";
    case Tok::kStar:
      return "'*'";
    case Tok::kSlash:
      return "'/'";
    case Tok::kEq:
      return "'='";
    case Tok::kExactEq:
      return "'=='";
    case Tok::kNe:
      return "'!='";
    case Tok::kLt:
      return "'<'";
    case Tok::kLe:
      return "'<='";
    case Tok::kGt:
      return "'>'";
    case Tok::kGe:
      return "'>='";
    case Tok::kDollar:
      return "'$'";
    case Tok::kLParen:
      return "'('";
    case Tok::kRParen:
      return "')'";
    case Tok::kComma:
      return "','";
    case Tok::kArrow:
      return "'->'";
  }
  return "token";
}

std::vector<Token> Tokenize(std::string_view text) {
  std::vector<Token> tokens;
  size_t i = 0;
  const size_t n = text.size();
  auto peek = [&](size_t k) { return i + k < n ? text[i + k] : '\0'; };
  auto syntax = [&](size_t pos, const std::string& what) -> ParseFault {
    return ParseFault{pos, "syntax error at " + PositionText(pos) + ": " + what};
  };
  while (i < n) {
    const char c = text[i];
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      ++i;
      continue;
    }
    Token token;
    token.pos = i;
    if (IsIdentStart(c)) {
      size_t j = i;
      while (j < n && IsIdentChar(text[j])) ++j;
      token.kind = Tok::kIdent;
      token.text = text.substr(i, j - i);
      i = j;
    } else if (IsDigit(c) || (c == '.' && IsDigit(peek(1)))) {
      size_t j = i;
      while (j < n && IsDigit(text[j])) ++j;
      if (j + 1 < n && text[j] == '.' && IsDigit(text[j + 1])) {
        ++j;
        while (j < n && IsDigit(text[j])) ++j;
      }
      token.kind = Tok::kNumber;
      const auto result =
          std::from_chars(text.data() + i, text.data() + j, token.number, std::chars_format::fixed);
      if (result.ec == std::errc::result_out_of_range) {
        // Only an over-long integer part can overflow; a long fraction of zeros underflows.
        size_t first = i;
        while (first < j && text[first] == '0') ++first;
        token.number =
            first < j && text[first] != '.' ? std::numeric_limits<double>::infinity() : 0;
      }
      i = j;
    } else if (c == '.') {
      size_t j = i + 1;
      while (j < n && IsIdentStart(text[j]) && j - i <= 4) ++j;
      const std::string_view word = text.substr(i + 1, j - i - 1);
      if (j >= n || text[j] != '.' || word.empty()) throw syntax(i, "unexpected '.'");
      if (EqualsUpper(word, "T") || EqualsUpper(word, "Y")) {
        token.kind = Tok::kTrue;
      } else if (EqualsUpper(word, "F") || EqualsUpper(word, "N")) {
        token.kind = Tok::kFalse;
      } else if (EqualsUpper(word, "AND")) {
        token.kind = Tok::kAnd;
      } else if (EqualsUpper(word, "OR")) {
        token.kind = Tok::kOr;
      } else if (EqualsUpper(word, "NOT")) {
        token.kind = Tok::kNot;
      } else {
        throw syntax(i, "unknown operator ." + std::string(word) + ".");
      }
      i = j + 1;
    } else if (c == '"' || c == '\'' || c == '[') {
      const char close = c == '[' ? ']' : c;
      const size_t end = text.find(close, i + 1);
      if (end == std::string_view::npos) throw syntax(i, "unterminated string");
      token.kind = Tok::kString;
      token.text = text.substr(i + 1, end - i - 1);
      i = end + 1;
    } else {
      const char d = peek(1);
      size_t len = 1;
      switch (c) {
        case '+':
          token.kind = Tok::kPlus;
          break;
        case '-':
          if (d == '>')
            token.kind = Tok::kArrow, len = 2;
          else
            token.kind = Tok::kMinus;
          break;
        case '*':
          token.kind = Tok::kStar;
          break;
        case '/':
          token.kind = Tok::kSlash;
          break;
        case '=':
          if (d == '=')
            token.kind = Tok::kExactEq, len = 2;
          else
            token.kind = Tok::kEq;
          break;
        case '!':
          if (d == '=')
            token.kind = Tok::kNe, len = 2;
          else
            token.kind = Tok::kNot;
          break;
        case '#':
          token.kind = Tok::kNe;
          break;
        case '<':
          if (d == '>')
            token.kind = Tok::kNe, len = 2;
          else if (d == '=')
            token.kind = Tok::kLe, len = 2;
          else
            token.kind = Tok::kLt;
          break;
        case '>':
          if (d == '=')
            token.kind = Tok::kGe, len = 2;
          else
            token.kind = Tok::kGt;
          break;
        case '$':
          token.kind = Tok::kDollar;
          break;
        case '(':
          token.kind = Tok::kLParen;
          break;
        case ')':
          token.kind = Tok::kRParen;
          break;
        case ',':
          token.kind = Tok::kComma;
          break;
        default:
          throw syntax(i, "unexpected " + ByteText(c));
      }
      i += len;
    }
    tokens.push_back(token);
  }
  Token end;
  end.kind = Tok::kEnd;
  end.pos = n;
  tokens.push_back(end);
  return tokens;
}

}  // namespace xbase::expr

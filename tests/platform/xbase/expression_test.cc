#include "platform/xbase/expression.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "platform/xbase/error.h"
#include "platform/xbase/julian_date.h"

namespace xbase {
namespace {

// A record held as values, one per field of kSchema.
class TestRecord : public RecordView {
 public:
  std::vector<Value> fields;
  bool deleted = false;
  uint32_t recno = 42;

  Value Field(int index) const override { return fields.at(static_cast<size_t>(index)); }
  bool Deleted() const override { return deleted; }
  uint32_t RecNo() const override { return recno; }
};

Schema TestSchema() {
  return {
      {"NAME", 'C', 10, 0, 1, 0}, {"CODE", 'C', 4, 0, 11, 0},  {"AMOUNT", 'N', 12, 2, 15, 0},
      {"QTY", 'N', 3, 0, 27, 0},  {"FECHA", 'D', 8, 0, 30, 0}, {"EMPTYD", 'D', 8, 0, 38, 0},
      {"FLAG", 'L', 1, 0, 46, 0}, {"NOTE", 'M', 10, 0, 47, 0},
  };
}

TestRecord SampleRecord() {
  TestRecord record;
  record.fields = {
      Value::Character("Gr\x81n      "),  // 10 bytes, ü in code page 850
      Value::Character("AB  "),
      Value::Numeric(1234.5),
      Value::Numeric(-7),
      Value::Date(JulianDay(2024, 3, 10)),
      Value::Date(0),
      Value::Logical(true),
      Value::Character("memo text"),
  };
  return record;
}

Value Eval(const std::string& text, const TestRecord& record = SampleRecord()) {
  return Expression::Parse(text, TestSchema(), "TEST").Evaluate(record);
}

Value C(std::string s) { return Value::Character(std::move(s)); }
Value N(double n) { return Value::Numeric(n); }
Value D(int y, int m, int d) { return Value::Date(JulianDay(y, m, d)); }
Value L(bool b) { return Value::Logical(b); }

std::string Show(const Value& v) {
  switch (v.type) {
    case ValueType::kCharacter:
      return "C\"" + v.str + "\"";
    case ValueType::kNumeric:
      return "N" + std::to_string(v.num);
    case ValueType::kDate:
      return "D" + std::to_string(v.julian());
    case ValueType::kLogical:
      return v.logical ? "L.T." : "L.F.";
  }
  return "?";
}

struct EvalCase {
  const char* text;
  Value expected;
};

TEST(ExpressionTest, EvaluatesTheLanguage) {
  const EvalCase cases[] = {
      // Fields keep their stored width; names, aliases and functions ignore case.
      {"NAME", C("Gr\x81n      ")},
      {"code", C("AB  ")},
      {"TEST->CODE", C("AB  ")},
      {"test->code", C("AB  ")},
      {"FIELD->CODE", C("AB  ")},
      {"AMOUNT", N(1234.5)},
      {"FECHA", D(2024, 3, 10)},
      {"FLAG", L(true)},
      {"NOTE", C("memo text")},
      // Literals.
      {"123", N(123)},
      {"1.5", N(1.5)},
      {".5+1", N(1.5)},
      {"\"A'B\"", C("A'B")},
      {"'A\"B'", C("A\"B")},
      {"[AB]+'C'", C("ABC")},
      {"''", C("")},
      {".T.", L(true)},
      {".f.", L(false)},
      {".Y.", L(true)},
      {".n.", L(false)},
      // Strings: + concatenates, - moves the left operand's trailing blanks to the end.
      {"CODE+NAME", C("AB  Gr\x81n      ")},
      {"CODE-'X'", C("ABX  ")},
      {"CODE-NAME", C("ABGr\x81n        ")},
      {"'   '-'X'", C("X   ")},
      {"CODE+CODE+CODE", C("AB  AB  AB  ")},
      // Numbers, precedence, division by zero.
      {"1+2*3", N(7)},
      {"(1+2)*3", N(9)},
      {"-2*3", N(-6)},
      {"- -2", N(2)},
      {"+3", N(3)},
      {"7/2", N(3.5)},
      {"1/0", N(0)},
      {"10-2-3", N(5)},
      {"8/2/2", N(2)},
      {"-QTY*2", N(14)},
      {"AMOUNT+QTY", N(1227.5)},
      // Dates.
      {"FECHA+1", D(2024, 3, 11)},
      {"1+FECHA", D(2024, 3, 11)},
      {"FECHA-10", D(2024, 2, 29)},
      {"FECHA+1.9", D(2024, 3, 11)},
      {"FECHA-STOD('20240301')", N(9)},
      {"STOD('20900101')-FECHA", N(24038)},
      {"STOD('20900101')-EMPTYD", N(2484418)},
      {"STR(STOD(\"20900101\")-FECHA,14)", C("         24038")},
      {"STR(STOD(\"20900101\")-EMPTYD,14)", C("       2484418")},
      {"DTOS(FECHA)", C("20240310")},
      {"DTOS(EMPTYD)", C("        ")},
      {"DTOS(FECHA+1)", C("20240311")},
      {"STOD('20240230')", Value::Date(0)},
      {"STOD('')", Value::Date(0)},
      {"YEAR(FECHA)", N(2024)},
      {"MONTH(FECHA)", N(3)},
      {"DAY(FECHA)", N(10)},
      {"YEAR(EMPTYD)", N(0)},
      // Comparisons: = is the non-exact xBase comparison, == exact, $ substring.
      {"'ABC'='AB'", L(true)},
      {"'AB'='ABC'", L(false)},
      {"'ABC'=''", L(true)},
      {"''=''", L(true)},
      {"'ABC'=='AB'", L(false)},
      {"'AB'=='AB'", L(true)},
      {"'AB '=='AB'", L(false)},
      {"'ABC'!='AB'", L(false)},
      {"'ABC'<>'ABD'", L(true)},
      {"'ABC'#'ABC'", L(false)},
      {"CODE='AB'", L(true)},
      {"'A'$'XAY'", L(true)},
      {"'Z'$'XAY'", L(false)},
      {"''$'XAY'", L(false)},
      {"'a'<'b'", L(true)},
      {"'\xE9'>'z'", L(true)},  // unsigned bytes
      {"'AB'<'ABC'", L(true)},
      {"'ABC'<'AB'", L(false)},
      {"'ABC'<='AB'", L(true)},
      {"'ABD'>'ABC'", L(true)},
      {"QTY<0", L(true)},
      {"AMOUNT>=1234.5", L(true)},
      {"AMOUNT>1234.5", L(false)},
      {"1=1", L(true)},
      {"1==2", L(false)},
      {"1!=2", L(true)},
      {"FECHA>STOD('20240101')", L(true)},
      {"EMPTYD<FECHA", L(true)},
      {"FLAG=.T.", L(true)},
      {".F.<.T.", L(true)},
      {".T.<=.F.", L(false)},
      // Logical operators and their precedence.
      {".NOT. FLAG", L(false)},
      {"!FLAG", L(false)},
      {"! ! FLAG", L(true)},
      {".NOT. 1=2", L(true)},
      {"FLAG .AND. QTY<0", L(true)},
      {"FLAG.AND.QTY>0", L(false)},
      {".F. .OR. .T.", L(true)},
      {"1=1 .OR. 1=2 .AND. 1=2", L(true)},
      {"(1=1 .OR. 1=2) .AND. 1=2", L(false)},
      {".F. .AND. 'A'+1", L(false)},  // decided before the right operand
      {".T. .OR. 'A'+1", L(true)},
      // Functions.
      {"STR(AMOUNT,10,2)", C("   1234.50")},
      {"STR(QTY,3)", C(" -7")},
      {"STR(QTY)", C("        -7")},
      {"STR(1.005,6,2)", C("  1.01")},
      {"STR(12345,4)", C("****")},
      {"STR(2.5,1)", C("3")},
      {"STRZERO(QTY,5)", C("-0007")},
      {"STRZERO(42,5)", C("00042")},
      {"STRZERO(4.5,6,2)", C("004.50")},
      {"STRZERO(123456,3)", C("***")},
      {"UPPER(NAME)", C("GR\x9AN      ")},
      {"LOWER('\x8E"
       "BC')",
       C("\x84"
         "bc")},
      {"SUBSTR(NAME,2,3)", C("r\x81n")},
      {"SUBSTR('ABC',2)", C("BC")},
      {"SUBSTR('ABC',3,5)", C("C")},
      {"SUBSTR('ABC',5)", C("")},
      {"SUBSTR('ABC',2,0)", C("")},
      {"SUBSTR('ABC',2,-1)", C("")},
      {"SUBSTR('ABC',0,2)", C("AB")},
      {"SUBSTR('ABCDE',-2)", C("DE")},
      {"LEFT('ABC',2)", C("AB")},
      {"LEFT('ABC',5)", C("ABC")},
      {"LEFT('ABC',-1)", C("")},
      {"RIGHT('ABC',2)", C("BC")},
      {"RIGHT('ABC',5)", C("ABC")},
      {"RIGHT('ABC',0)", C("")},
      {"PADR('AB',4)", C("AB  ")},
      {"PADR('ABCDE',3)", C("ABC")},
      {"PADR('AB',0)", C("")},
      {"PADL('AB',4,'0')", C("00AB")},
      {"PADL('ABCDE',3)", C("ABC")},
      {"PADC('AB',5,'*')", C("*AB**")},
      {"PADR('AB',4,'')", C("AB  ")},
      {"TRIM(CODE)", C("AB")},
      {"RTRIM(CODE)+'|'", C("AB|")},
      {"LTRIM('  A ')", C("A ")},
      {"ALLTRIM('  A  ')", C("A")},
      {"ALLTRIM('   ')", C("")},
      {"IIF(FLAG,'Y','N')", C("Y")},
      {"IIF(.F.,1,2)", N(2)},
      {"IIF(FLAG,1,'A'+1)", N(1)},  // only the chosen branch is evaluated
      {"IF(QTY<0,'neg','pos')", C("neg")},
      {"VAL(' -12.5xyz')", N(-12.5)},
      {"VAL(STR(AMOUNT,10,2))", N(1234.5)},
      {"DELETED()", L(false)},
      {"RECNO()", N(42)},
      {"ABS(QTY)", N(7)},
      {"INT(-2.7)", N(-2)},
      {"INT(2.7)", N(2)},
      {"EMPTY(EMPTYD)", L(true)},
      {"EMPTY(FECHA)", L(false)},
      {"EMPTY(CODE)", L(false)},
      {"EMPTY('  ')", L(true)},
      {"EMPTY(0)", L(true)},
      {"EMPTY(.F.)", L(true)},
      {"SPACE(3)", C("   ")},
      {"SPACE(-1)", C("")},
      {"REPLICATE('ab',3)", C("ababab")},
      {"REPLICATE('ab',0)", C("")},
      {"LEN(NAME)", N(10)},
      {"LEN(TRIM(NAME))", N(4)},
      // Whitespace anywhere between tokens.
      {" CODE\t+\r\n NAME ", C("AB  Gr\x81n      ")},
      {"STR ( QTY , 3 )", C(" -7")},
  };
  for (const EvalCase& c : cases) {
    SCOPED_TRACE(c.text);
    try {
      const Value got = Eval(c.text);
      EXPECT_EQ(got, c.expected) << Show(got) << " != " << Show(c.expected);
    } catch (const Error& e) {
      ADD_FAILURE() << e.what();
    }
  }
}

TEST(ExpressionTest, DeletedAndRecNoComeFromTheRecord) {
  TestRecord record = SampleRecord();
  record.deleted = true;
  record.recno = 7;
  EXPECT_EQ(Eval("DELETED()", record), L(true));
  EXPECT_EQ(Eval("STR(RECNO(),5)", record), C("    7"));
}

TEST(ExpressionTest, EvaluateIntoReusesTheValue) {
  const Expression e = Expression::Parse("CODE+NAME+CODE", TestSchema(), "TEST");
  const TestRecord record = SampleRecord();
  Value out = Value::Numeric(5);
  for (int i = 0; i < 3; ++i) {
    e.Evaluate(record, out);
    EXPECT_EQ(out, C("AB  Gr\x81n      AB  "));
  }
  EXPECT_EQ(e.text(), "CODE+NAME+CODE");
  const Expression copy = e;
  EXPECT_EQ(copy.Evaluate(record), out);
}

TEST(ExpressionTest, EmptyExpressionObjectThrows) {
  const Expression e;
  EXPECT_TRUE(e.empty());
  EXPECT_THROW(e.Evaluate(SampleRecord()), Error);
}

// The message of the Error(kExpression) that `action` throws.
template <typename F>
std::string ErrorOf(F action) {
  try {
    action();
  } catch (const Error& e) {
    EXPECT_EQ(e.kind(), ErrorKind::kExpression);
    EXPECT_EQ(e.path(), "");
    return e.what();
  }
  ADD_FAILURE() << "no error";
  return {};
}

std::string ParseError(const std::string& text) {
  return ErrorOf([&] { Expression::Parse(text, TestSchema(), "TEST"); });
}

struct ErrorCase {
  const char* text;
  const char* message;  // the part after `expression "TEXT": `
};

TEST(ExpressionTest, ParseErrorsNameTheExpressionAndTheProblem) {
  const ErrorCase cases[] = {
      {"CTOD('01/01/2024')", "unknown function CTOD at position 1"},
      {"DTOS(ctod('01/01/2024'))", "unknown function CTOD at position 6"},
      {"DATE()", "unknown function DATE at position 1"},
      {"NOSUCH+CODE", "unknown field NOSUCH at position 1"},
      {"CODE+nosuch", "unknown field NOSUCH at position 6"},
      {"OTHER->CODE", "alias OTHER at position 1 refers to another table"},
      {"CODE+det_fol->CODE", "alias DET_FOL at position 6 refers to another table"},
      {"TEST->NOSUCH", "unknown field NOSUCH at position 7"},
      {"SUBSTR(CODE)", "wrong argument count for SUBSTR at position 1: 1 given, 2 to 3 expected"},
      {"STR()", "wrong argument count for STR at position 1: 0 given, 1 to 3 expected"},
      {"DTOS(FECHA,1)", "wrong argument count for DTOS at position 1: 2 given, 1 expected"},
      {"RECNO(1)", "wrong argument count for RECNO at position 1: 1 given, 0 expected"},
      {"", "empty expression"},
      {"   ", "empty expression"},
      {"CODE+", "syntax error at position 6: unexpected end of expression"},
      {"CODE NAME", "syntax error at position 6: unexpected name NAME"},
      {"(CODE", "syntax error at position 6: expected ')', found end of expression"},
      {"CODE)", "syntax error at position 5: unexpected ')'"},
      {"CODE,NAME", "syntax error at position 5: unexpected ','"},
      {"STR(QTY,,2)", "syntax error at position 9: unexpected ','"},
      {"STR(QTY 3)", "syntax error at position 9: expected ',' or ')', found number"},
      {"'abc", "syntax error at position 1: unterminated string"},
      {"[abc", "syntax error at position 1: unterminated string"},
      {"CODE % 2", "syntax error at position 6: unexpected '%'"},
      {"1 .XOR. 2", "syntax error at position 3: unknown operator .XOR."},
      {"CODE .AND", "syntax error at position 6: unexpected '.'"},
      {"TEST->",
       "syntax error at position 7: expected a field name after '->', found end of expression"},
      {"TEST->'A'", "syntax error at position 7: expected a field name after '->', found string"},
      {"CODE:=1", "syntax error at position 5: unexpected ':'"},
      {"CODE\x01", "syntax error at position 5: unexpected byte 0x01"},
      {"CODE\xC3", "syntax error at position 5: unexpected byte 0xC3"},
      {"-", "syntax error at position 2: unexpected end of expression"},
      {"1 2", "syntax error at position 3: unexpected number"},
  };
  for (const ErrorCase& c : cases) {
    SCOPED_TRACE(c.text);
    std::string quoted;
    for (char ch : std::string(c.text)) {
      const auto u = static_cast<unsigned char>(ch);
      if (u < 0x20) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "\\x%02X", u);
        quoted += buf;
      } else {
        quoted += ch;
      }
    }
    EXPECT_EQ(ParseError(c.text), "expression \"" + quoted + "\": " + c.message);
  }
}

TEST(ExpressionTest, NestingIsBounded) {
  const std::string ok = std::string(200, '(') + "CODE" + std::string(200, ')');
  EXPECT_EQ(Eval(ok), C("AB  "));
  const std::string deep = std::string(300, '(') + "CODE" + std::string(300, ')');
  EXPECT_NE(ParseError(deep).find("nesting deeper than 256 levels"), std::string::npos);
  EXPECT_NE(ParseError(std::string(300, '-') + "1").find("nesting deeper than 256"),
            std::string::npos);
  EXPECT_NE(ParseError(std::string(300, '!') + "FLAG").find("nesting deeper than 256"),
            std::string::npos);
  std::string calls;
  for (int i = 0; i < 300; ++i) calls += "UPPER(";
  calls += "CODE" + std::string(300, ')');
  EXPECT_NE(ParseError(calls).find("nesting deeper than 256"), std::string::npos);
  // Long chains of binary operators are not nesting.
  std::string chain = "CODE";
  for (int i = 0; i < 5000; ++i) chain += "+CODE";
  EXPECT_EQ(Eval(chain).str.size(), 5001u * 4);
  std::string sum = "1";
  for (int i = 0; i < 5000; ++i) sum += "-1";
  EXPECT_EQ(Eval(sum), N(-4999));
}

std::string EvalError(const std::string& text) {
  return ErrorOf([&] { Eval(text); });
}

TEST(ExpressionTest, TypeMismatchesAreErrorsAtEvaluation) {
  const ErrorCase cases[] = {
      {"'A'+1", "type mismatch: character + numeric"},
      {"CODE+QTY", "type mismatch: character + numeric"},
      {"QTY-CODE", "type mismatch: numeric - character"},
      {"FLAG+1", "type mismatch: logical + numeric"},
      {"FECHA+FECHA", "type mismatch: date + date"},
      {"1-FECHA", "type mismatch: numeric - date"},
      {"'A'*2", "type mismatch: character * numeric"},
      {"FECHA/2", "type mismatch: date / numeric"},
      {"'A'=1", "type mismatch: character = numeric"},
      {"FECHA<1", "type mismatch: date < numeric"},
      {"1$2", "type mismatch: numeric $ numeric"},
      {"'A'$1", "type mismatch: character $ numeric"},
      {"-'A'", "type mismatch: unary - character"},
      {"+FECHA", "type mismatch: unary + date"},
      {".NOT. 1", "type mismatch: .NOT. numeric"},
      {"1 .AND. .T.", "type mismatch: .AND. numeric"},
      {".F. .OR. CODE", "type mismatch: .OR. character"},
      {"DTOS('20240101')", "DTOS(): argument 1 is character, expected date"},
      {"STOD(FECHA)", "STOD(): argument 1 is date, expected character"},
      {"SUBSTR(1,1)", "SUBSTR(): argument 1 is numeric, expected character"},
      {"SUBSTR(CODE,'1')", "SUBSTR(): argument 2 is character, expected numeric"},
      {"STR(CODE)", "STR(): argument 1 is character, expected numeric"},
      {"IIF(1,2,3)", "IIF(): argument 1 is numeric, expected logical"},
      {"UPPER(QTY)", "UPPER(): argument 1 is numeric, expected character"},
      {"PADR(QTY,5)", "PADR(): argument 1 is numeric, expected character"},
      {"FECHA+100000000000", "date out of range"},
      {"SPACE(70000)", "SPACE(): length 70000 exceeds 65535"},
      {"STR(1,100000)", "STR(): length 100000 exceeds 65535"},
      {"REPLICATE('ab',40000)", "REPLICATE(): result longer than 65535"},
  };
  for (const ErrorCase& c : cases) {
    SCOPED_TRACE(c.text);
    // Each of these parses: the types are only known when the record is read.
    EXPECT_NO_THROW(Expression::Parse(c.text, TestSchema(), "TEST"));
    EXPECT_EQ(EvalError(c.text), std::string("expression \"") + c.text + "\": " + c.message);
  }
}

TEST(ExpressionTest, ErrorsOfTheRecordPassThrough) {
  class FailingRecord : public TestRecord {
   public:
    Value Field(int) const override { throw Error(ErrorKind::kIo, "T.DBF", "read failed"); }
  };
  const Expression e = Expression::Parse("CODE", TestSchema(), "TEST");
  try {
    e.Evaluate(FailingRecord());
    ADD_FAILURE() << "no error";
  } catch (const Error& error) {
    EXPECT_EQ(error.kind(), ErrorKind::kIo);
  }
}

// Random texts made of the language's pieces and stray bytes: parsing and evaluation must
// either succeed or throw Error(kExpression), never crash or hang.
TEST(ExpressionTest, RandomTextsNeverCrash) {
  static const char* const kPieces[] = {
      "CODE",
      "NAME",
      "QTY",
      "FECHA",
      "FLAG",
      "AMOUNT",
      "EMPTYD",
      "TEST->",
      "X->",
      "(",
      ")",
      ",",
      "+",
      "-",
      "*",
      "/",
      "=",
      "==",
      "!=",
      "<>",
      "#",
      "<",
      "<=",
      ">",
      ">=",
      "$",
      "!",
      ".NOT.",
      ".AND.",
      ".OR.",
      ".T.",
      ".F.",
      "1",
      "0",
      "2.5",
      "'A'",
      "\"20240101\"",
      "[",
      "'",
      "STR(",
      "DTOS(",
      "STOD(",
      "SUBSTR(",
      "IIF(",
      "PADR(",
      "PADL(",
      "LEFT(",
      "RIGHT(",
      "UPPER(",
      "VAL(",
      "REPLICATE(",
      "SPACE(",
      "STRZERO(",
      "RECNO()",
      "DELETED()",
      " ",
      ".",
      "\x01",
      "\xFF",
      "99999999999",
      "-1",
  };
  std::mt19937 rng(12345);
  std::uniform_int_distribution<size_t> piece(0, std::size(kPieces) - 1);
  std::uniform_int_distribution<int> length(1, 12);
  const Schema schema = TestSchema();
  const TestRecord record = SampleRecord();
  int parsed = 0;
  for (int i = 0; i < 30000; ++i) {
    std::string text;
    for (int n = length(rng); n > 0; --n) text += kPieces[piece(rng)];
    try {
      const Expression e = Expression::Parse(text, schema, "TEST");
      ++parsed;
      e.Evaluate(record);
    } catch (const Error& error) {
      ASSERT_EQ(error.kind(), ErrorKind::kExpression) << text;
    }
  }
  EXPECT_GT(parsed, 100);
}

}  // namespace
}  // namespace xbase

// The formula compiler: text to token bytes, precedence, separators,
// references with their absolute bits, and refused texts.
#include "spreadsheet/engine/FormulaCompiler.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/FormulaTables.h"
#include "spreadsheet/engine/RangeNames.h"
#include "tests/spreadsheet/engine/EngineTestSupport.h"

namespace corvane {
namespace {

using testing::EngineTest;
using Bytes = std::vector<int>;

// Expected-code pieces: a token is a byte; integer, real and reference
// operands expand to their bytes.
Bytes Int(int v) { return {kTokInteger, v & 0xFF, (v >> 8) & 0xFF}; }
Bytes Real(double x) {
  Bytes b{kTokReal};
  std::uint8_t raw[8];
  std::memcpy(raw, &x, 8);
  b.insert(b.end(), raw, raw + 8);
  return b;
}
Bytes RefBytes(int row, int col, bool absRow = false, bool absCol = false) {
  TCellRef ref = CellFind(row, col) | (absRow ? kCellRefAbsRow : 0) | (absCol ? kCellRefAbsCol : 0);
  return {int(ref & 0xFF), int((ref >> 8) & 0xFF), int((ref >> 16) & 0xFF), int(ref >> 24)};
}
Bytes Cell(int row, int col, bool absRow = false, bool absCol = false) {
  Bytes b{kTokCell};
  Bytes r = RefBytes(row, col, absRow, absCol);
  b.insert(b.end(), r.begin(), r.end());
  return b;
}
Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

class FormulaCompilerTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    OpenCurrent("C:\\SHEET.WKS");
    InitParserCharSets(',', '.');
  }
  void TearDown() override {
    InitParserCharSets(',', '.');
    EngineTest::TearDown();
  }
  // The token bytes between byte 2 and END, or {-1} when the text is refused.
  Bytes Tokens(std::string text) {
    if (!CompileFormula(text)) {
      EXPECT_TRUE(ErrorFlagSet());
      return {-1};
    }
    EXPECT_FALSE(ErrorFlagSet());
    auto code = reinterpret_cast<const std::uint8_t*>(text.data());
    EXPECT_EQ(code[0] + 1u, text.size());
    EXPECT_EQ(code[code[0]], kTokEnd);
    return Bytes(code + 2, code + code[0]);
  }
};

TEST_F(FormulaCompilerTest, EmitsPostfixByPrecedence) {
  // Compile first so the referenced cells exist when the expected bytes are built.
  struct Row {
    const char* text;
    std::function<Bytes()> expected;
  } rows[] = {
      {"+A1*2", [] { return Join({Cell(0, 0), Int(2), {kTokMultiply}}); }},
      {"A1+B1*2", [] { return Join({Cell(0, 0), Cell(0, 1), Int(2), {kTokMultiply, kTokAdd}}); }},
      {"(A1+B1)*2", [] { return Join({Cell(0, 0), Cell(0, 1), {kTokAdd, kTokParen}, Int(2), {kTokMultiply}}); }},
      {"2^3^2", [] { return Join({Int(2), Int(3), {kTokPower}, Int(2), {kTokPower}}); }},
      {"-2^2", [] { return Join({Int(2), {kTokNegate}, Int(2), {kTokPower}}); }},
      {"--2", [] { return Join({Int(2), {kTokNegate, kTokNegate}}); }},
      {"9-2-3", [] { return Join({Int(9), Int(2), {kTokSubtract}, Int(3), {kTokSubtract}}); }},
      {"A1 + B1", [] { return Join({Cell(0, 0), Cell(0, 1), {kTokAdd}}); }},
      {"1<2#AND#3>2", [] { return Join({Int(1), Int(2), {kTokLess}, Int(3), Int(2), {kTokGreater, kTokAnd}}); }},
      {"1#or#0", [] { return Join({Int(1), Int(0), {kTokOr}}); }},
      {"\"ab\"&\"c\"", [] { return Bytes{kTokString, 'a', 'b', 0, kTokString, 'c', 0, kTokConcat}; }},
      {"5%", [] { return Join({Int(5), {kTokPercent}}); }},
      {"3!", [] { return Join({Int(3), {kTokFactorial}}); }},
      {"1E+5", [] { return Real(1e5); }},
      {"32767", [] { return Real(32767); }},
      {"32766", [] { return Int(32766); }},
      {"2.5", [] { return Real(2.5); }},
      {"@PI", [] { return Bytes{38}; }},
      {"@pi*2", [] { return Join({{38}, Int(2), {kTokMultiply}}); }},
      {"@ABS(-1)", [] { return Join({Int(1), {kTokNegate, 33}}); }},
      {"@IF(1,2,3)", [] { return Join({Int(1), Int(2), Int(3), {59}}); }},
      {"@NOT(0)", [] { return Join({Int(0), {kTokNot}}); }},
      // The text of a deleted reference: a reference that names no cell.
      {"+ERR*2", [] { return Join({{kTokCell, 0, 0, 0, 0}, Int(2), {kTokMultiply}}); }},
      {"@SUM(err)", [] { return Join({{kTokCell, 0, 0, 0, 0}, {kTokSum}, {1}}); }},
      {"$A$1+A$2+$A3", [] {
         return Join({Cell(0, 0, true, true), Cell(1, 0, true, false), {kTokAdd}, Cell(2, 0, false, true), {kTokAdd}});
       }},
  };
  for (const Row& row : rows) {
    Bytes got = Tokens(row.text);
    EXPECT_EQ(got, row.expected()) << row.text;
  }
}

TEST_F(FormulaCompilerTest, TwoCharacterOperatorsHaveOneMeaning) {
  EXPECT_EQ(Tokens("A1>=B1"), Tokens("A1=>B1"));
  EXPECT_EQ(Tokens("A1<=B1"), Tokens("A1=<B1"));
  EXPECT_EQ(Tokens("A1<>B1"), Tokens("A1><B1"));
  EXPECT_EQ(Tokens("1#AND#2"), Tokens("1#and#2"));
  EXPECT_EQ(Tokens("1<>2").back(), kTokNotEqual);
}

TEST_F(FormulaCompilerTest, ListFunctionsCarryTheirArgumentCount) {
  Bytes got = Tokens("@SUM(A1..A3,5)");
  Bytes r3 = RefBytes(2, 0), r1 = RefBytes(0, 0);
  Bytes expected = Join({{kTokRange}, r3, r1, Int(5), {kTokSum, 2}});
  EXPECT_EQ(got, expected);
  EXPECT_EQ(Tokens("@SUM(1)"), Join({Int(1), {kTokSum, 1}}));
  EXPECT_EQ(Tokens("@SUM(@SUM(1,2),3)"), Join({Int(1), Int(2), {kTokSum, 2}, Int(3), {kTokSum, 2}}));
}

TEST_F(FormulaCompilerTest, SeparatorsFollowTheSettings) {
  InitParserCharSets(';', ',');
  EXPECT_EQ(Tokens("@IF(1;2,5;3)"), Join({Int(1), Real(2.5), Int(3), {59}}));
  EXPECT_EQ(Tokens("@IF(1,2,3)"), Bytes{-1});
}

TEST_F(FormulaCompilerTest, ReferringToAnEmptyCellCreatesABlankRecord) {
  ASSERT_EQ(CellFind(9, 3), kNilHandle);
  Tokens("D10*2");
  const TCell* cell = CellPtr(CellFind(9, 3));
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(CellKind(*cell), kKindBlank);
  int row = -1, col = -1;
  EXPECT_TRUE(DecodeCellRef(CellFind(9, 3) | kCellRefAbsRow, row, col));
  EXPECT_EQ(row, 9);
  EXPECT_EQ(col, 3);
  EXPECT_FALSE(DecodeCellRef(0, row, col));
  EXPECT_TRUE(ErrorFlagSet());
}

TEST_F(FormulaCompilerTest, RefusesTextsWhoseCodeWouldNotBalance) {
  const char* refused[] = {
      "",       "+",       "1+",      "*2",        "1#A",       "1#X",     "1#XOR#2", "A1(B1)", "1 2",
      "(1,2)",  "1,2",     "@ABS(1,2)", "@PI(1)",  "@SUM",      "@NOSUCH", "@ABS()",  "(1",     "1)",
      "\"ab",   "12x",     "A1..",    "ZZ1",       "A8193",     "[X.WKS]", "[X.WKS",  "1#",     "()",
      "@IF(1,2)", "#AND#1", "A1 B1",  "@SUM(,1)",
  };
  std::string keep;
  for (const char* text : refused) {
    ClearErrorFlag();
    std::string t = text;
    EXPECT_FALSE(CompileFormula(t)) << text;
    EXPECT_TRUE(ErrorFlagSet()) << text;
    EXPECT_EQ(t, text) << "a refused text is left as it was";
  }
}

TEST_F(FormulaCompilerTest, RefusesCodeOverTheLengthLimit) {
  std::string longFormula = "1.5";
  for (int i = 0; i < 30; ++i) longFormula += "+1.5";  // 31 reals of 9 bytes each
  EXPECT_FALSE(CompileFormula(longFormula));
  EXPECT_EQ(ErrorMessage(), "Formula Too Long");
  std::string shortFormula = "1.5";
  for (int i = 0; i < 22; ++i) shortFormula += "+1.5";  // 23 reals: 239 bytes with END
  EXPECT_TRUE(CompileFormula(shortFormula));
}

TEST_F(FormulaCompilerTest, LinksNeedAReference) {
  std::string unresolved = "[C:\\OTHER.WKS]";
  EXPECT_FALSE(CompileFormula(unresolved));
  EXPECT_EQ(ErrorMessage(), "Unresolved Link");
  Bytes got = Tokens("[c:\\other.wks]B2..C3");
  Bytes expected = {kTokLink, 1, 0, 1, 0, 2, 0, 2, 0};
  for (char c : std::string("C:\\OTHER.WKS")) expected.push_back(static_cast<std::uint8_t>(c));
  expected.push_back(0);
  EXPECT_EQ(got, expected);
}

TEST_F(FormulaCompilerTest, NamedCellsReadAsReferencesAndCalls) {
  ASSERT_NE(RangeNameCreate("TOTAL", testing::MakeRange(2, 4, 2, 4)), 0);
  Bytes plain = Tokens("TOTAL+1");
  EXPECT_EQ(plain, Join({Cell(4, 2), Int(1), {kTokAdd}}));
  Bytes call = Tokens("@TOTAL(7)");
  EXPECT_EQ(call, Join({Int(7), {kTokNamedCell}, Cell(4, 2, true, true)}));
  EXPECT_EQ(Tokens("@TOTAL"), Bytes{-1});
}

TEST_F(FormulaCompilerTest, FunctionNamesMatchWholeEntries) {
  EXPECT_EQ(FindFunctionName("sum"), kTokSum);
  EXPECT_EQ(FindFunctionName("OSVER"), 186);
  EXPECT_EQ(FindFunctionName("SU"), 0);
  EXPECT_EQ(FindFunctionName(""), 0);
  EXPECT_EQ(FindFunctionName("NOT"), kTokNot);
}

// Random texts from formula pieces: every one either compiles to balanced,
// well-formed code or is refused with the error flag; none crashes.
TEST_F(FormulaCompilerTest, RandomTextsCompileOrFailCleanly) {
  const char* pieces[] = {"A1", "$B$2", "C3..D4", "1", "2.5", "1E+5", "\"x\"", "+", "-", "*", "/", "^", "&",
                          "(", ")", ",", "#AND#", "#OR#", "#X", "#", "<", ">=", "=", "@SUM(", "@IF(", "@PI",
                          "@ABS(", "%", "!", " ", "[F.WKS]", "@", "..", "$", "E", "'", "Z"};
  std::mt19937 rng(1234);
  int compiled = 0;
  for (int n = 0; n < 3000; ++n) {
    std::string text;
    int count = 1 + static_cast<int>(rng() % 12);
    for (int k = 0; k < count; ++k) text += pieces[rng() % std::size(pieces)];
    std::string code = text;
    ClearErrorFlag();
    if (CompileFormula(code)) {
      ++compiled;
      auto bytes = reinterpret_cast<const std::uint8_t*>(code.data());
      ASSERT_TRUE(CodeIsWellFormed(bytes, code.size())) << text;
    } else {
      ASSERT_TRUE(ErrorFlagSet()) << text;
    }
  }
  EXPECT_GT(compiled, 50);
}

}  // namespace
}  // namespace corvane

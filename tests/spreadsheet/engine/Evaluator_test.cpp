// The evaluator and the operators: formula values, error states, string
// results, the string pool and re-entrant evaluation.
#include "spreadsheet/engine/Evaluator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/FormulaTables.h"
#include "tests/spreadsheet/engine/EngineTestSupport.h"

namespace corvane {
namespace {

using testing::EngineTest;

class EvaluatorTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    OpenCurrent("C:\\SHEET.WKS");
  }
  TCellHandle PutNumber(int row, int col, double x) {
    TCellHandle cell = CellGetOrCreate(row, col);
    SetCellReal(*CellPtr(cell), x);
    CellPtr(cell)->kind = kKindReal;
    return cell;
  }
  // Compiles `text` into (row, col) as a formula cell and evaluates it.
  TCellHandle PutFormula(int row, int col, std::string text) {
    EXPECT_TRUE(CompileFormula(text)) << text;
    TCellHandle cell = CellGetOrCreate(row, col);
    CellPtr(cell)->text = PoolNewString(std::string_view(text).substr(1));
    CellPtr(cell)->kind = kKindNumberFormula;
    EvaluateCell(cell);
    return cell;
  }
  const TCell& At(TCellHandle cell) { return *CellPtr(cell); }
};

TEST_F(EvaluatorTest, OperatorsGiveTheirValues) {
  PutNumber(0, 0, 6);   // A1
  PutNumber(0, 1, 4);   // B1
  struct Row {
    const char* text;
    double value;
  } rows[] = {
      {"A1+B1*2", 14},   {"(A1+B1)*2", 20}, {"A1-B1-1", 1},     {"A1/B1", 1.5},  {"2^3^2", 64},
      {"-2^2", 4},       {"--2", 2},        {"2^-2", 0.25},     {"0^0", 0},      {"A1>B1", 1},
      {"A1<B1", 0},      {"A1=6", 1},       {"A1<>6", 0},       {"A1>=6", 1},    {"A1<=5", 0},
      {"6#AND#3", 2},    {"6#OR#3", 7},     {"@NOT(0)", 1},     {"@NOT(A1)", 0}, {"50%", 0.5},
      {"3!", 6},         {"\"ab\"=\"ab\"", 1}, {"\"ab\"=\"AB\"", 0}, {"\"a\"<\"ab\"", 1}, {"\"b\">\"ab\"", 1},
      {"+A1", 6},        {"1E+5/1E+5", 1},
  };
  for (const Row& row : rows) {
    TCellHandle cell = PutFormula(5, 0, row.text);
    EXPECT_EQ(At(cell).kind, kKindNumberFormula) << row.text;
    EXPECT_DOUBLE_EQ(CellReal(At(cell)), row.value) << row.text;
  }
  // Powers are the nearest double: to the last bit what the other way of
  // writing them gives.
  const char* same[][2] = {{"2^0.5", "@SQRT(2)"}, {"10^-2", "0.01"}, {"3^33", "5559060566555523"},
                           {"1.1^10", "2.5937424601000023"}};
  for (const auto& pair : same) {
    double power = CellReal(At(PutFormula(5, 0, pair[0])));
    EXPECT_EQ(power, CellReal(At(PutFormula(5, 1, pair[1])))) << pair[0];
  }
}

TEST_F(EvaluatorTest, ErrorsGiveErrAndSpread) {
  PutNumber(0, 0, 0);
  const char* rows[] = {"1/A1", "1/0", "(-8)^(1/3)", "171!", "@SQRT(-4)", "1E+300*1E+300", "@ERR+1"};
  for (const char* text : rows) {
    TCellHandle cell = PutFormula(4, 0, text);
    EXPECT_EQ(At(cell).kind, kKindNumberFormula | kKindErrorBit) << text;
    EXPECT_EQ(CellReal(At(cell)), -1.0) << text;
    EXPECT_TRUE(std::isfinite(CellReal(At(cell))));
  }
  // An ERR cell spreads to formulas that read it.
  TCellHandle bad = PutFormula(1, 0, "1/A1");
  ASSERT_TRUE(At(bad).kind & kKindErrorBit);
  TCellHandle reader = PutFormula(2, 0, "A2*2");
  EXPECT_TRUE(At(reader).kind & kKindErrorBit);
  // A cell carrying recalculation marks is not an error.
  TCellHandle marked = PutNumber(3, 3, 5);
  CellPtr(marked)->kind |= kKindMarkVisited | kKindMarkQueued;
  EXPECT_EQ(CellReal(At(PutFormula(3, 4, "D4+1"))), 6);
}

TEST_F(EvaluatorTest, StringResultsAndComparisons) {
  PutLabel(0, 0, "'hello");
  TCellHandle echo = PutFormula(1, 0, "+A1");
  EXPECT_EQ(At(echo).kind, kKindStringFormula);
  EXPECT_EQ(PoolStringView(CellResultText(At(echo))), "hello");
  TCellHandle joined = PutFormula(2, 0, "A1&\" \"&2.5");
  EXPECT_EQ(PoolStringView(CellResultText(At(joined))), "hello 2.5");
  // A comparison of texts is a number.
  TCellHandle cmp = PutFormula(3, 0, "A1=\"hello\"");
  EXPECT_EQ(At(cmp).kind, kKindNumberFormula);
  EXPECT_EQ(CellReal(At(cmp)), 1);
  // The same cell turning numeric frees its text.
  std::string code = "1+1";
  ASSERT_TRUE(CompileFormula(code));
  TPoolHandle old = CellPtr(joined)->text;
  PoolFreeString(old);
  CellPtr(joined)->text = PoolNewString(std::string_view(code).substr(1));
  EvaluateCell(joined);
  EXPECT_EQ(At(joined).kind, kKindNumberFormula);
  EXPECT_EQ(CellReal(At(joined)), 2);
  EXPECT_EQ(PoolCheckInvariants(), "");
}

TEST_F(EvaluatorTest, FullStringPoolIsAnErrorNotGarbage) {
  std::string big(200, 'x');
  PutLabel(0, 0, "'" + big);
  TCellHandle cell = PutFormula(1, 0, "A1&(A1&(A1&(A1&(A1&A1))))");
  EXPECT_TRUE(At(cell).kind & kKindErrorBit);
  TCellHandle fits = PutFormula(2, 0, "@NOT(A1&A1=A1)");
  EXPECT_EQ(CellReal(At(fits)), 1);
}

TEST_F(EvaluatorTest, MissingCellsReadAsErr) {
  TCellHandle ref = CellGetOrCreate(0, 0);
  std::string code = "A1+1";
  ASSERT_TRUE(CompileFormula(code));
  // The referenced cell's record is gone (a nil reference after a delete).
  for (std::size_t k = 3; k < 7; ++k) code[k] = 0;
  TCellHandle cell = CellGetOrCreate(2, 2);
  CellPtr(cell)->text = PoolNewString(std::string_view(code).substr(1));
  CellPtr(cell)->kind = kKindNumberFormula;
  EvaluateCell(cell);
  EXPECT_TRUE(At(cell).kind & kKindErrorBit);
  (void)ref;
}

TEST_F(EvaluatorTest, FunctionsWithoutHandlersGiveErr) {
  EXPECT_TRUE(At(PutFormula(0, 0, "@REPLACE(\"a\")")).kind & kKindErrorBit);
}

TEST_F(EvaluatorTest, FormulaTextIsReentrant) {
  PutNumber(0, 0, 3);
  std::string text;
  EXPECT_EQ(EvaluateFormulaText("A1*2", text), 6);
  EXPECT_EQ(text, "");
  EXPECT_EQ(EvaluateFormulaText("\"a\"&\"b\"", text), 0);
  EXPECT_EQ(text, "ab");
  EXPECT_EQ(EvaluateFormulaText("1/0", text), -1);
  EXPECT_TRUE(ErrorFlagSet());
  ClearErrorFlag();
  EXPECT_EQ(EvaluateFormulaText("1+", text), -1);
  EXPECT_TRUE(ErrorFlagSet());

  // An evaluation in the middle of another leaves the outer stack and pool alone.
  ASSERT_TRUE(PushEvalState());
  gEval.sp = 1;
  gEval.slots[1].value = 42;
  gEval.poolUsed = 17;
  EXPECT_EQ(EvaluateFormulaText("A1+1", text), 4);
  EXPECT_EQ(gEval.sp, 1);
  EXPECT_EQ(gEval.slots[1].value, 42);
  EXPECT_EQ(gEval.poolUsed, 17);
  PopEvalState();
}

TEST_F(EvaluatorTest, NestingIsBounded) {
  int pushed = 0;
  while (PushEvalState()) ++pushed;
  EXPECT_EQ(pushed, kMaxEvalNesting);
  std::string text;
  EXPECT_EQ(EvaluateFormulaText("1+1", text), -1);
  for (int k = 0; k < pushed; ++k) PopEvalState();
  ClearErrorFlag();
  EXPECT_EQ(EvaluateFormulaText("1+1", text), 2);
}

TEST_F(EvaluatorTest, RangeHelpersVisitExistingCells) {
  PutNumber(0, 0, 1);
  PutNumber(1, 0, 3);
  PutLabel(1, 1, "'x");
  PutNumber(2, 1, 8);
  int visited = 0;
  ForEachCellInRange(testing::MakeRange(1, 2, 0, 0), [&](TCellHandle) { ++visited; });
  EXPECT_EQ(visited, 4);
  // The list functions over the same cells see the three numbers only.
  std::string text;
  EXPECT_EQ(EvaluateFormulaText("@COUNT(A1..B3)", text), 3);
  EXPECT_EQ(EvaluateFormulaText("@SUM(A1..B3)", text), 12);
  EXPECT_EQ(EvaluateFormulaText("@MAX(A1..B3)", text), 8);
  EXPECT_EQ(EvaluateFormulaText("@MIN(A1..B3)", text), 1);
  EXPECT_NEAR(EvaluateFormulaText("@VAR(A1..B3)", text), (9.0 + 1 + 16) / 3, 1e-12);
}

// Random formulas over a few cells: either an error or a finite value, never
// a crash, a leak or a broken pool.
TEST_F(EvaluatorTest, RandomFormulasEvaluateSafely) {
  PutNumber(0, 0, 2);
  PutLabel(0, 1, "'t");
  const char* pieces[] = {"A1", "B1", "C1", "0", "2.5", "\"s\"", "+", "-", "*", "/", "^", "&", "(", ")",
                          "=", "<", "#AND#", "!", "%", "@NOT(", "1E+300", "A1..B1"};
  std::mt19937 rng(99);
  for (int n = 0; n < 3000; ++n) {
    std::string text;
    int count = 1 + static_cast<int>(rng() % 10);
    for (int k = 0; k < count; ++k) text += pieces[rng() % std::size(pieces)];
    std::string code = text;
    if (!CompileFormula(code)) continue;
    TCellHandle cell = CellGetOrCreate(4, 4);
    TPoolHandle old = CellPtr(cell)->text;
    PoolFreeString(old);
    if (CellKind(*CellPtr(cell)) == kKindStringFormula) {
      TPoolHandle result = CellResultText(*CellPtr(cell));
      PoolFreeString(result);
    }
    CellPtr(cell)->text = PoolNewString(std::string_view(code).substr(1));
    CellPtr(cell)->kind = kKindNumberFormula;
    EvaluateCell(cell);
    if (CellKind(*CellPtr(cell)) == kKindNumberFormula) {
      ASSERT_TRUE(std::isfinite(CellReal(*CellPtr(cell)))) << text;
    }
  }
  EXPECT_EQ(PoolCheckInvariants(), "");
}

}  // namespace
}  // namespace corvane

// Dependency links and recalculation: order in chains and diamonds, cycles,
// each formula once, the 16384 limits and what an overflow leaves behind,
// deleted cells and the relative form of references.
#include "spreadsheet/engine/Recalc.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/Evaluator.h"
#include "spreadsheet/engine/FormulaCompiler.h"
#include "spreadsheet/engine/RangeNames.h"
#include "spreadsheet/engine/ShowError.h"
#include "tests/spreadsheet/engine/EngineTestSupport.h"

namespace corvane {
namespace {

using testing::EngineTest;

int gEvaluations = 0;
std::vector<std::string> gShownErrors;

// Stands in for @PI: pushes 0 and counts how often formulas run.
void CountingHandler() {
  ++gEvaluations;
  PushSlot();
}

class RecalcTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    OpenCurrent("C:\\SHEET.WKS");
    InitHandlerTable();
    static constexpr THandlerEntry kCounter[] = {{38, CountingHandler}};
    RegisterTokenHandlers(kCounter);
    gEvaluations = 0;
    gShownErrors.clear();
    SetShowErrorHandler([](std::string_view message) { gShownErrors.emplace_back(message); });
  }
  void TearDown() override {
    SetShowErrorHandler(nullptr);
    InitHandlerTable();
    EngineTest::TearDown();
  }
  TCellHandle PutNumber(int row, int col, double x) {
    TCellHandle cell = CellGetOrCreate(row, col);
    CellClearContents(cell);
    SetCellReal(*CellPtr(cell), x);
    CellPtr(cell)->kind = kKindReal;
    return cell;
  }
  // A linked formula cell, not yet evaluated.
  TCellHandle PutFormula(int row, int col, std::string text) {
    EXPECT_TRUE(CompileFormula(text)) << text;
    TCellHandle cell = CellGetOrCreate(row, col);
    CellClearContents(cell);
    CellPtr(cell)->text = PoolNewString(std::string_view(text).substr(1));
    CellPtr(cell)->kind = kKindNumberFormula;
    EXPECT_TRUE(FormulaLinkDeps(cell, true));
    return cell;
  }
  double Value(int row, int col) { return CellReal(*CellPtr(CellFind(row, col))); }
  bool IsErr(int row, int col) { return CellPtr(CellFind(row, col))->kind & kKindErrorBit; }
};

TEST_F(RecalcTest, ChainsAndDiamondsRunInOrderOnce) {
  TCellHandle a1 = PutNumber(0, 0, 1);
  PutFormula(0, 1, "A1+1+@PI");     // B1
  PutFormula(0, 2, "A1+B1+@PI");    // C1
  PutFormula(0, 3, "C1*B1+@PI");    // D1
  PutNumber(0, 0, 5);
  RecalcFromCell(a1);
  EXPECT_EQ(Value(0, 1), 6);
  EXPECT_EQ(Value(0, 2), 11);
  EXPECT_EQ(Value(0, 3), 66);
  EXPECT_EQ(gEvaluations, 3);
  EXPECT_EQ(CountMarkedCells(), 0);
}

TEST_F(RecalcTest, CyclesEndSilentlyEachFormulaOnce) {
  PutFormula(0, 0, "B1+1+@PI");  // A1
  PutFormula(0, 1, "A1+1+@PI");  // B1
  RecalcFromCell(CellFind(0, 0));
  EXPECT_EQ(gEvaluations, 2);
  RecalcAll();
  EXPECT_EQ(gEvaluations, 4);
  EXPECT_TRUE(gShownErrors.empty());
  EXPECT_EQ(CountMarkedCells(), 0);
}

TEST_F(RecalcTest, RangeReferencesLinkEveryCell) {
  PutNumber(1, 0, 2);
  TCellHandle sum = PutFormula(5, 0, "A1+A2..A3+@PI");
  // Each cell of the range, created blank where missing, lists the formula.
  for (int row = 1; row <= 2; ++row) {
    const TCell* cell = CellPtr(CellFind(row, 0));
    ASSERT_NE(cell, nullptr);
    ASSERT_NE(cell->dependents, kNilHandle);
  }
  RecalcFromCell(CellFind(2, 0));
  EXPECT_EQ(gEvaluations, 1);
  ASSERT_TRUE(FormulaLinkDeps(sum, false));
  EXPECT_EQ(CellPtr(CellFind(2, 0))->dependents, kNilHandle);
  EXPECT_EQ(CellPtr(CellFind(0, 0))->dependents, kNilHandle);
  EXPECT_EQ(PoolCheckInvariants(), "");
}

TEST_F(RecalcTest, TooManyDependentsShowCalcStackExceededAndLeaveNoMarks) {
  PutNumber(0, 0, 1);
  int formulas = 0;
  for (int col = 1; col <= 3 && formulas <= kRecalcCapacity; ++col)
    for (int row = 0; row < 8192 && formulas <= kRecalcCapacity; ++row, ++formulas) PutFormula(row, col, "$A$1+1");
  RecalcRange(testing::MakeRange(0, 0, 0, 0));
  ASSERT_EQ(gShownErrors.size(), 1u);
  EXPECT_EQ(gShownErrors[0], "Error:Calc Stack Exceeded");
  EXPECT_EQ(CountMarkedCells(), 0);
  // The cells already queued were evaluated: the walk takes the newest link
  // first, so the last formula made (D1) is among them.
  EXPECT_EQ(Value(0, 3), 2);
}

TEST_F(RecalcTest, ADeepChainOverflowsTheWalkAndStaysRecalculable) {
  PutNumber(0, 0, 1);
  // A chain of 16400 formulas, each one more than the one before, down
  // column B, then C, then D.
  std::string previous = "A1";
  int length = 0;
  for (int col = 1; length < kRecalcCapacity + 16; ++col)
    for (int row = 0; row < 8192 && length < kRecalcCapacity + 16; ++row, ++length) {
      PutFormula(row, col, previous + "+1");
      previous = std::string(1, static_cast<char>('A' + col)) + std::to_string(row + 1);
    }
  RecalcFromCell(CellFind(0, 0));
  EXPECT_TRUE(RecalcOverflowed());
  EXPECT_EQ(CountMarkedCells(), 0);
  // A recalculation from the middle of the chain still reaches its tail.
  TCellHandle middle = CellFind(100, 2);
  PutNumber(0, 0, 1);
  RecalcFromCell(middle);
  EXPECT_FALSE(RecalcOverflowed());
  EXPECT_EQ(CountMarkedCells(), 0);
}

TEST_F(RecalcTest, DeletingACellTurnsItsReadersIntoErr) {
  PutNumber(0, 0, 3);
  TCellHandle b1 = PutFormula(0, 1, "A1+1");
  PutFormula(0, 2, "B1*2");
  RecalcAll();
  ASSERT_EQ(Value(0, 2), 8);
  ASSERT_NE(RangeNameCreate("ONB", testing::MakeRange(1, 0, 1, 0)), 0);
  CellDropDependents(b1);
  EXPECT_TRUE(IsErr(0, 2));
  // B1's own link in A1's list is gone with it.
  EXPECT_EQ(CellPtr(CellFind(0, 0))->dependents, kNilHandle);
  EXPECT_FALSE(RangeIsValid(RangeNameRange(*RangeNameAt(FindRangeName("ONB")))));
  EXPECT_EQ(PoolCheckInvariants(), "");
}

TEST_F(RecalcTest, RelativeFormKeepsRelativeAndAbsoluteReferences) {
  std::string code = "A1+$B$2+C$1+$D2";
  ASSERT_TRUE(CompileFormula(code));
  std::vector<std::uint8_t> bytes(code.begin(), code.end());
  // Stored from C3 (row 2, col 2), read back at E10 (row 9, col 4).
  ASSERT_TRUE(FormulaRelocateRefs(bytes.data(), 2, 2, false));
  ASSERT_TRUE(FormulaRelocateRefs(bytes.data(), 9, 4, true));
  std::string expected = "C8+$B$2+E$1+$D9";
  ASSERT_TRUE(CompileFormula(expected));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), expected);
}

TEST_F(RecalcTest, NilReferencesStayNilThroughTheRelativeForm) {
  std::string code = "A1*2";
  ASSERT_TRUE(CompileFormula(code));
  std::vector<std::uint8_t> bytes(code.begin(), code.end());
  WriteCellRef(bytes.data() + 3, 0);  // the reference of a deleted cell
  ASSERT_TRUE(FormulaRelocateRefs(bytes.data(), 5, 5, false));
  EXPECT_EQ(bytes[3], 0xFF);
  EXPECT_EQ(bytes[6], 0xFF);
  ASSERT_TRUE(FormulaRelocateRefs(bytes.data(), 5, 5, true));
  EXPECT_EQ(ReadCellRef(bytes.data() + 3), 0u);
  // The same words that would have named the cell up and to the left do not.
  EXPECT_EQ(CellFind(4, 4), kNilHandle);
}

}  // namespace
}  // namespace corvane

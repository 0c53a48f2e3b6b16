// Dependency links and recalculation: order in chains and diamonds, cycles,
// each formula once, the 16384 limits and what an overflow leaves behind,
// deleted cells and the relative form of references.
#include "spreadsheet/engine/Recalc.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/Evaluator.h"
#include "spreadsheet/engine/FormulaCompiler.h"
#include "spreadsheet/engine/RangeNames.h"
#include "spreadsheet/engine/RangeText.h"
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

TEST_F(RecalcTest, LongDependentsListsKeepTheirOrderThroughAnyUnlinking) {
  PutNumber(0, 0, 1);
  std::vector<TCellHandle> expected;  // A1's list: newest first
  for (int row = 0; row < 100; ++row) expected.insert(expected.begin(), PutFormula(row, 1, "$A$1+1"));
  auto list = [] {
    std::vector<TCellHandle> cells;
    for (TPoolHandle link = CellPtr(CellFind(0, 0))->dependents; link != kNilHandle;) {
      const auto* node = reinterpret_cast<const TDepLink*>(PoolBlock(link));
      cells.push_back(node->cell);
      link = node->next;
    }
    return cells;
  };
  auto unlink = [&](std::size_t at) {
    ASSERT_TRUE(FormulaLinkDeps(expected[at], false));
    expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(at));
  };
  ASSERT_EQ(list(), expected);
  ASSERT_TRUE(DepLinkToggle(expected[50], 0, 0, true));  // already there: no second link
  EXPECT_EQ(list(), expected);
  for (int k = 0; k < 20; ++k) unlink(expected.size() - 1);  // oldest first
  for (int k = 0; k < 20; ++k) unlink(0);                    // newest first
  for (int k = 0; k < 20; ++k) unlink(expected.size() / 2);  // from the middle
  EXPECT_EQ(list(), expected);
  TCellHandle back = CellFind(0, 1);  // the first formula made, unlinked above
  ASSERT_TRUE(FormulaLinkDeps(back, true));
  expected.insert(expected.begin(), back);
  for (int k = 0; k < 30; ++k) unlink(k % 2 ? 0 : expected.size() - 1);
  EXPECT_EQ(list(), expected);
  PutNumber(0, 0, 7);
  RecalcFromCell(CellFind(0, 0));
  for (TCellHandle cell : expected) EXPECT_EQ(CellReal(*CellPtr(cell)), 8);
  EXPECT_EQ(PoolCheckInvariants(), "");
}

TEST_F(RecalcTest, WalksBeyondTheFirstBuffersGrowAndOnlyMissingMemoryStopsThem) {
  // More dependents of one cell, and a longer chain, than the buffers first hold.
  PutNumber(0, 0, 1);
  int formulas = 0;
  for (int col = 1; formulas <= kRecalcCapacity + 16; ++col)
    for (int row = 0; row < 8192 && formulas <= kRecalcCapacity + 16; ++row, ++formulas) PutFormula(row, col, "$A$1+1");
  std::string previous = "A2";
  for (int row = 1; row <= 8191; ++row) {
    std::string here = "H" + std::to_string(row);
    PutFormula(row - 1, 7, previous + "+1");
    previous = here;
  }
  for (int row = 0; row < 8192; ++row) PutFormula(row, 8, (row == 0 ? std::string("H8191") : "I" + std::to_string(row)) + "+1");
  for (int row = 0; row < 100; ++row) PutFormula(row, 9, (row == 0 ? std::string("I8192") : "J" + std::to_string(row)) + "+1");
  PutNumber(1, 0, 5);
  RecalcFromCell(CellFind(1, 0));
  RecalcFromCell(CellFind(0, 0));
  EXPECT_TRUE(gShownErrors.empty());
  EXPECT_EQ(Value(0, 3), 2);          // the oldest of the fan
  EXPECT_EQ(Value(99, 9), 5 + 8191 + 8192 + 100);  // the end of the chain through H, I and J
  EXPECT_EQ(CountMarkedCells(), 0);

  // When the memory to grow cannot be had, every entry point says so, the
  // cells stay unmarked, and a later recalculation with memory completes.
  struct Path {
    const char* name;
    std::function<void()> run;
  } paths[] = {
      {"RecalcRange", [] { RecalcRange(testing::MakeRange(0, 0, 0, 0)); }},
      {"RecalcFromCell", [] { RecalcFromCell(CellFind(0, 0)); }},
      {"EnterCell", [] { EnterCell("7", 0, 0); }},
  };
  for (const Path& path : paths) {
    gShownErrors.clear();
    platform.refuseGetMemAfter = 0;
    path.run();
    platform.refuseGetMemAfter = -1;
    EXPECT_EQ(gShownErrors, std::vector<std::string>{"Error:Calc Stack Exceeded"}) << path.name;
    EXPECT_EQ(CountMarkedCells(), 0) << path.name;
  }
  gShownErrors.clear();
  RecalcFromCell(CellFind(0, 0));
  EXPECT_TRUE(gShownErrors.empty());
  EXPECT_EQ(Value(8191, 2), 8);
}

// Large sheets come out fully right after entry, after RecalcRange over the
// sheet and after RecalcAll: 100,000 formulas each reading a number of its
// own, 100,000 reading one cell, and chains of 200,000 running down the
// columns (forwards) and up them (backwards).
enum TShape { kOwnNumbers, kOneCell, kChainForwards, kChainBackwards };
struct TLargeSheet {
  const char* name;
  TShape shape;
  int formulas;
};

class LargeSheetTest : public RecalcTest, public ::testing::WithParamInterface<TLargeSheet> {};

TEST_P(LargeSheetTest, IsFullyRecalculatedOnEveryPath) {
  const TLargeSheet& r = GetParam();
  constexpr int kRows = 8000;
  const std::string source = "IV8192";
  auto at = [](int k) { return std::pair{k % kRows, k / kRows}; };
  auto name = [&](int k) {
    auto [row, col] = at(k);
    return ColRowName(row, col);
  };
  const int n = r.formulas, half = 13 * kRows;  // own numbers: numbers first, formulas 13 columns on
  auto setSource = [&](int s) {
    if (r.shape != kOwnNumbers) return void(EnterCell(std::to_string(s), kMaxRow, kMaxCol));
    for (int k = 0; k < n; ++k) EnterCell(std::to_string(s), at(k).first, at(k).second);
  };
  auto expected = [&](int k, int s) -> double {
    switch (r.shape) {
      case kOwnNumbers: return s * 2 + 1;
      case kOneCell: return s + 1;
      case kChainForwards: return s + k + 1;
      case kChainBackwards: return s + n - k;
    }
    return 0;
  };
  auto stale = [&](int s) {
    int wrong = 0;
    for (int k = 0; k < n; ++k) {
      auto [row, col] = at(r.shape == kOwnNumbers ? k + half : k);
      const TCell* cell = CellPtr(CellFind(row, col));
      wrong += !cell || CellReal(*cell) != expected(k, s);
    }
    return wrong;
  };
  setSource(1);
  for (int step = 0; step < n; ++step) {
    int k = r.shape == kChainBackwards ? n - 1 - step : step;
    std::string text;
    switch (r.shape) {
      case kOwnNumbers: text = "+" + name(k) + "*2+1"; break;
      case kOneCell: text = "+$IV$8192+1"; break;
      case kChainForwards: text = "+" + (k == 0 ? source : name(k - 1)) + "+1"; break;
      case kChainBackwards: text = "+" + (k == n - 1 ? source : name(k + 1)) + "+1"; break;
    }
    auto [row, col] = at(r.shape == kOwnNumbers ? k + half : k);
    ASSERT_TRUE(EnterCell(text, row, col)) << k;
  }
  EXPECT_EQ(stale(1), 0) << "as entered";
  setSource(2);
  EXPECT_EQ(stale(2), 0) << "after entry";
  gCurrentDoc.settings.manualRecalc = 1;
  setSource(3);
  RecalcRange(testing::MakeRange(0, 0, kMaxCol, kMaxRow));
  EXPECT_EQ(stale(3), 0) << "RecalcRange";
  setSource(4);
  RecalcAll();
  EXPECT_EQ(stale(4), 0) << "RecalcAll";
  EXPECT_EQ(CountMarkedCells(), 0);
  EXPECT_EQ(CellStoreCheckInvariants(), "");
  EXPECT_TRUE(gShownErrors.empty());
}

INSTANTIATE_TEST_SUITE_P(Shapes, LargeSheetTest,
                         ::testing::Values(TLargeSheet{"OwnNumbers", kOwnNumbers, 100000},
                                           TLargeSheet{"OneCell", kOneCell, 100000},
                                           TLargeSheet{"ChainForwards", kChainForwards, 200000},
                                           TLargeSheet{"ChainBackwards", kChainBackwards, 200000}),
                         [](const auto& info) { return std::string(info.param.name); });

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

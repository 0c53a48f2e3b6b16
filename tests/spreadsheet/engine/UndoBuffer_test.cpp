// The undo buffer: what a change followed by undo leaves on the sheet (cells of
// every kind, formats, dependents' values, sizes, range names), a pool that
// runs out while saving, undo with nothing saved, twice, and per document.
#include "spreadsheet/engine/UndoBuffer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/Evaluator.h"
#include "spreadsheet/engine/FormulaText.h"
#include "spreadsheet/engine/RangeNames.h"
#include "spreadsheet/engine/RangeText.h"
#include "spreadsheet/engine/Recalc.h"
#include "spreadsheet/engine/ShowError.h"
#include "tests/spreadsheet/engine/EngineTestSupport.h"
#include "tests/spreadsheet/engine/SheetDump.h"

namespace corvane {
namespace {

using testing::EngineTest;
using testing::MakeRange;

std::vector<std::string> gShown;

class UndoTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    OpenCurrent("C:\\UNDO.WKS");
    gShown.clear();
    SetShowErrorHandler([](std::string_view message) { gShown.emplace_back(message); });
  }
  void TearDown() override {
    gUndoEnabled = true;
    SetShowErrorHandler(nullptr);
    EngineTest::TearDown();
  }

  void Enter(int row, int col, std::string_view text) { ASSERT_TRUE(EnterCell(text, row, col)) << text; }

  double NumberAt(int row, int col) {
    const TCell* cell = CellPtr(CellFind(row, col));
    if (!cell) return NAN;
    return CellKind(*cell) == kKindInteger ? CellInteger(*cell) : CellReal(*cell);
  }

  // A sheet with a cell of every kind, formats, dependents and sizes:
  //   A1 5 (formatted), A2 2.5, A3 label, A4 picture, A5 ERR number,
  //   B1 +A1*2, B2 +A1+A2+B1, B3 +A3&"x" (text result), C6 +$A$1+A2,
  //   D7 a blank that carries only a format; column B 80, row 4 30 pixels.
  void BuildSheet() {
    Enter(0, 0, "5");
    Enter(1, 0, "2.5");
    Enter(2, 0, "abc");
    PutLabel(3, 0, "|<LOGO.BMP");
    CellPtr(CellFind(3, 0))->kind = kKindPicture;
    SetCellBitmap(*CellPtr(CellFind(3, 0)), 1234);
    SetCellValue(CellGetOrCreate(4, 0), INFINITY);
    Enter(0, 1, "+A1*2");
    Enter(1, 1, "+A1+A2+B1");
    Enter(2, 1, "+A3&\"x\"");
    Enter(5, 2, "+$A$1+A2");
    TCell* a1 = CellPtr(CellFind(0, 0));
    a1->format = 0x02;
    a1->font = 3;
    a1->size = 2;
    a1->style = 0x21;
    a1->borders = 0x0F;
    a1->attributes = 0x12345678;
    CellPtr(CellGetOrCreate(6, 3))->format = 0x05;
    windows.GridSetColSize(1, 80);
    windows.GridSetRowSize(3, 30);
  }

  std::string Dump() { return testing::SheetDump(windows); }

  // Forgets the sheet, its sizes, names and buffer, keeping the document.
  void ResetSheet() {
    UndoClear();
    CellStoreClear();
    RangeNameReset();
    windows.columnSizes.clear();
    windows.rowSizes.clear();
  }

  TRange NameRange(std::string_view name) {
    int index = FindRangeName(name);
    return index > 0 ? RangeNameRange(*RangeNameAt(index)) : TRange{};
  }
};

TEST_F(UndoTest, UndoBringsBackTheCellsSizesAndValuesBeforeAChange) {
  struct Row {
    const char* change;
    std::function<void()> apply;
  } rows[] = {
      {"entry", [this] {
         Enter(0, 0, "9");
         Enter(2, 0, "+B1*3");
         Enter(20, 30, "new");
         Enter(5, 2, "");
       }},
      {"erase", [] {
         TRange range = MakeRange(0, 0, 3, 6);
         ForEachCellInRange(range, [](TCellHandle cell) { CellClearContents(cell); });
         RecalcRange(range);
       }},
      {"sizes", [this] {
         windows.GridSetColSize(1, kDefaultSizeEntry);
         windows.GridSetColSize(4, 120);
         windows.GridSetRowSize(3, 50);
         windows.GridSetRowSize(kMaxRow, 12);
       }},
      {"formats", [] {
         CellPtr(CellFind(0, 0))->format = 0xFF;
         CellPtr(CellFind(0, 0))->attributes = 0;
         CellPtr(CellGetOrCreate(6, 3))->format = 0x7F;
       }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.change);
    ResetSheet();
    BuildSheet();
    std::string before = Dump();
    ASSERT_TRUE(UndoSave());
    EXPECT_TRUE(UndoAvailable());
    row.apply();
    ASSERT_NE(Dump(), before);
    EXPECT_TRUE(UndoApply(TUndoMode::kRestore));
    EXPECT_EQ(Dump(), before);
    EXPECT_FALSE(UndoAvailable());
    EXPECT_EQ(CountMarkedCells(), 0);
    EXPECT_EQ(PoolCheckInvariants(), "");

    // The formulas came back linked: a new A1 reaches every dependent.
    Enter(0, 0, "7");
    EXPECT_EQ(NumberAt(0, 1), 14);
    EXPECT_EQ(NumberAt(1, 1), 7 + 2.5 + 14);
    EXPECT_EQ(NumberAt(5, 2), 7 + 2.5);
    EXPECT_EQ(CellContentsText(CellFind(5, 2)), "+$A$1+A2");
  }
  EXPECT_TRUE(gShown.empty());
}

TEST_F(UndoTest, UndoFreesWhatItSavedAndRestores) {
  BuildSheet();
  std::int32_t sheetOnly = PoolUsedBytes();
  ASSERT_TRUE(UndoSave());
  std::int32_t withBuffer = PoolUsedBytes();
  EXPECT_GT(withBuffer, sheetOnly);
  ASSERT_TRUE(UndoSave());
  EXPECT_EQ(PoolUsedBytes(), withBuffer) << "saving again must free the previous copy";
  UndoClear();
  EXPECT_EQ(PoolUsedBytes(), sheetOnly);
  EXPECT_FALSE(UndoAvailable());

  ASSERT_TRUE(UndoSave());
  Enter(0, 0, "1");
  ASSERT_TRUE(UndoApply(TUndoMode::kRestore));
  EXPECT_EQ(PoolUsedBytes(), sheetOnly) << "the restored sheet takes what the saved one took";
  EXPECT_EQ(PoolCheckInvariants(), "");
}

TEST_F(UndoTest, RangeNamesShiftedByAChangeComeBack) {
  BuildSheet();
  ASSERT_NE(RangeNameCreate("TOTAL", MakeRange(0, 0, 0, 2)), 0);
  RangeNameCreate("CORNER", MakeRange(1, 1, 1, 1));
  RangeNameCreate("GONE", MakeRange(2, 0, 2, 0));
  ASSERT_TRUE(UndoSave());

  // Dropping A1 (as a deleted row does) clears TOTAL, whose corner it was, and
  // turns B1 into ERR; an insert moves CORNER; names are made and deleted.
  CellDropDependents(CellFind(0, 0));
  RangeNameCreate("CORNER", MakeRange(1, 3, 1, 3));
  RangeNameDelete("GONE");
  RangeNameCreate("LATER", MakeRange(3, 3, 4, 4));
  ASSERT_FALSE(RangeIsValid(NameRange("TOTAL")));
  ASSERT_EQ(CellContentsText(CellFind(0, 1)), "+ERR*2");

  ASSERT_TRUE(UndoApply(TUndoMode::kRestore));
  EXPECT_EQ(NameRange("TOTAL"), MakeRange(0, 0, 0, 2));
  EXPECT_EQ(NameRange("CORNER"), MakeRange(1, 1, 1, 1));
  EXPECT_EQ(FindRangeName("GONE"), 0) << "a name deleted since the save stays deleted";
  EXPECT_EQ(NameRange("LATER"), MakeRange(3, 3, 4, 4)) << "a name made since the save keeps its range";
  EXPECT_EQ(CellContentsText(CellFind(0, 1)), "+A1*2");
  EXPECT_EQ(NumberAt(0, 1), 10);
}

TEST_F(UndoTest, NothingSavedLeavesTheSheetAlone) {
  BuildSheet();
  std::string sheet = Dump();
  EXPECT_FALSE(UndoAvailable());
  EXPECT_FALSE(UndoApply(TUndoMode::kRestore));
  EXPECT_EQ(Dump(), sheet);

  // With the undo setting off nothing is saved, and an earlier copy is gone.
  ASSERT_TRUE(UndoSave());
  gUndoEnabled = false;
  EXPECT_FALSE(UndoSave());
  EXPECT_FALSE(UndoAvailable());
  Enter(0, 0, "1");
  std::string changed = Dump();
  EXPECT_FALSE(UndoApply(TUndoMode::kRestore));
  EXPECT_EQ(Dump(), changed);
  EXPECT_TRUE(gShown.empty());
}

TEST_F(UndoTest, AnEmptySheetSavedComesBackEmpty) {
  ASSERT_TRUE(UndoSave());
  EXPECT_TRUE(UndoAvailable()) << "a saved empty sheet is something to undo";
  BuildSheet();
  ASSERT_TRUE(UndoApply(TUndoMode::kRestore));
  EXPECT_EQ(Dump(), "");
  EXPECT_EQ(gCurrentDoc.highRow, 0);
  EXPECT_EQ(gCurrentDoc.highCol, 0);
}

TEST_F(UndoTest, UndoTwiceUndoesOnce) {
  BuildSheet();
  std::string original = Dump();
  ASSERT_TRUE(UndoSave());
  Enter(0, 0, "1");
  ASSERT_TRUE(UndoApply(TUndoMode::kRestore));
  ASSERT_EQ(Dump(), original);
  Enter(1, 0, "2");
  std::string changed = Dump();
  EXPECT_FALSE(UndoApply(TUndoMode::kRestore));
  EXPECT_EQ(Dump(), changed);
}

TEST_F(UndoTest, EachDocumentKeepsItsOwnBuffer) {
  int first = CurrentDocSlot();
  BuildSheet();
  std::string original = Dump();
  ASSERT_TRUE(UndoSave());
  Enter(0, 0, "1");

  int second = OpenCurrent("C:\\OTHER.WKS");
  Enter(0, 0, "42");
  EXPECT_FALSE(UndoAvailable());
  EXPECT_FALSE(UndoApply(TUndoMode::kRestore));
  EXPECT_EQ(NumberAt(0, 0), 42);

  ASSERT_TRUE(ActivateDocumentContext(first));
  EXPECT_TRUE(UndoAvailable());
  ASSERT_TRUE(UndoApply(TUndoMode::kRestore));
  EXPECT_EQ(Dump(), original);
  ASSERT_TRUE(ActivateDocumentContext(second));
  EXPECT_EQ(NumberAt(0, 0), 42);
}

TEST_F(UndoTest, RunningOutOfPoolWhileSavingLeavesNoBufferAndTheSheetIntact) {
  struct Row {
    const char* where;
    int pages;        // pool size
    int cells;        // labels on the sheet
    int pageGrants;   // new pages the save may still get (-1: no limit)
  } rows[] = {
      {"sizes, small pool", 3, 50, -1},
      {"sizes, no pages", kPoolMaxCapacity, 2000, 2},
      {"cells, no pages", kPoolMaxCapacity, 2000, 5},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.where);
    FreeAllDocuments();
    PoolInit(std::uint64_t{static_cast<unsigned>(row.pages)} * kPageBytes);
    OpenCurrent("C:\\FULL.WKS");
    windows.columnSizes = {{0, 64}};
    windows.rowSizes = {{2, 40}};
    for (int k = 0; k < row.cells; ++k) Enter(k / 10, k % 10, "x");
    Enter(0, 10, "+A1&B1");
    std::int32_t used = PoolUsedBytes();
    gShown.clear();

    platform.refuseGetMemAfter = row.pageGrants;
    EXPECT_FALSE(UndoSave());
    platform.refuseGetMemAfter = -1;
    EXPECT_EQ(gShown, std::vector<std::string>{"Error:Out of UNDO memory!"});
    EXPECT_FALSE(UndoAvailable());
    EXPECT_EQ(PoolUsedBytes(), used) << "the partial copy is freed";
    EXPECT_EQ(PoolCheckInvariants(), "");

    // The command goes on; a later undo must not replace the sheet by a part.
    Enter(0, 0, "changed");
    std::string changed = Dump();
    EXPECT_FALSE(UndoApply(TUndoMode::kRestore));
    EXPECT_EQ(Dump(), changed);
    EXPECT_EQ(PoolStringView(CellResultText(*CellPtr(CellFind(0, 10)))), "changedx");
  }
}

// Closing a document gives back every page it used, those its undo copies
// emptied included, and the memory of its tables.
TEST_F(UndoTest, ClosingABigDocumentGivesBackItsPagesAndUndoBuffer) {
  struct Row {
    const char* what;
    int cells;
    int pageGrants;  // for a second undo save; -1: none made
  } rows[] = {
      {"a kept undo buffer", 20000, -1},
      {"an undo save that ran out part-way", 20000, 10},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    FreeAllDocuments();
    PoolInit(std::uint64_t{kPoolMaxCapacity} * kPageBytes);
    int baseBlocks = platform.liveBlocks;
    std::int32_t baseBudget = PoolBudget();
    OpenCurrent("C:\\BIG.WKS");
    for (int k = 0; k < row.cells; ++k) Enter(k / 200, k % 200, k % 3 ? "label" : "+A1+1");
    ASSERT_TRUE(UndoSave());
    if (row.pageGrants >= 0) {
      // The sheet doubles: the copy outgrows the pages the first one leaves.
      for (int k = row.cells; k < 2 * row.cells; ++k) Enter(k / 200, k % 200, "label");
      platform.refuseGetMemAfter = row.pageGrants;
      EXPECT_FALSE(UndoSave());
      platform.refuseGetMemAfter = -1;
    }
    ReleaseOpenSheet(gCurrentDoc.ownerTag);
    EXPECT_EQ(platform.liveBlocks, baseBlocks) << "pages and the row-head table are all given back";
    EXPECT_EQ(PoolUsedBytes(), 0);
    EXPECT_EQ(PoolBudget(), baseBudget);
    EXPECT_EQ(PoolCheckInvariants(), "");
  }
}

}  // namespace
}  // namespace corvane

// Inserting and deleting rows and columns: formulas stay on their data and are
// recalculated, stored ranges and sizes follow, other sheets stay put, a
// refused insert changes nothing, and undo restores the sheet.
#include "spreadsheet/engine/InsertDelete.h"

#include <gtest/gtest.h>

#include <functional>

#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/Recalc.h"
#include "spreadsheet/engine/UndoBuffer.h"
#include "spreadsheet/graphs/NamedGraphs.h"
#include "tests/spreadsheet/engine/RangeEditSupport.h"

namespace corvane {
namespace {

using testing::gShownErrors;
using testing::RangeEditTest;

class InsertDeleteTest : public RangeEditTest {
 protected:
  void Lines(const char* range, int what, bool insert) { ASSERT_TRUE(InsertDeleteLines(R(range), what, insert)); }
};

TEST_F(InsertDeleteTest, FormulasStayOnTheirData) {
  struct Row {
    const char* name;
    const char* cells;
    const char* lines;
    int what;
    bool insert;
    std::vector<std::pair<const char*, const char*>> edits;  // address, edit text
    std::vector<std::pair<const char*, const char*>> shown;
    const char* later = "";  // cells typed after the change, taking freed records
  } rows[] = {
      {"two rows at row 5", "A1=1|A6=6|A10=10|B1=@SUM(A1..A10)|C1=+A6|D1=@ROWS(A1..A10)", "A5..A6", kLinesRows, true,
       {{"B1", "@SUM(A1..A12)"}, {"C1", "+A8"}}, {{"A8", "6"}, {"B1", "17"}, {"D1", "12"}, {"A6", ""}}},
      {"delete column B", "A1=1|B1=2|C1=3|D1=+B1|E1=+C1*2|F1=@COLS(A1..E1)", "B1", kLinesColumns, false,
       {{"C1", "+ERR"}, {"D1", "+B1*2"}, {"E1", "@COLS(A1..D1)"}}, {{"B1", "3"}, {"C1", "ERR"}, {"D1", "6"}, {"E1", "4"}}},
      {"rows inside a range", "A1=1|A3=3|A4=4|A10=10|B1=@SUM(A1..A10)", "A3..A4", kLinesRows, false,
       {{"B1", "@SUM(A1..A8)"}}, {{"B1", "11"}, {"A8", "10"}}},
      {"the row of a range's corner", "A1=1|A10=10|B1=@SUM(A1..A10)", "A10", kLinesRows, false, {}, {{"B1", "ERR"}}},
      {"a column inside a range", "A1=1|B1=2|C1=3|A2=@SUM(A1..C1)|B2=@COLS(A1..C1)", "B1", kLinesColumns, true,
       {{"A2", "@SUM(A1..D1)"}, {"C2", "@COLS(A1..D1)"}}, {{"A2", "6"}, {"C2", "4"}, {"D1", "3"}}},
      // A range that loses a corner reads ERR whole and never comes to name
      // the cells that take the freed records.
      {"the rows of both corners", "A7=128|A8=256|E1=@SUM(A7..A8)", "A7..A8", kLinesRows, false,
       {{"E1", "@SUM(ERR)"}}, {{"E1", "ERR"}}, "Z105=1|Z106=2|Y1=3|Y2=4"},
      {"the row of the first corner", "A7=128|A8=256|A9=1|E1=@SUM(A7..A9)", "A7", kLinesRows, false,
       {{"E1", "@SUM(ERR)"}}, {{"E1", "ERR"}, {"A7", "256"}}, "Z105=1|Z106=2|Y1=3|Y2=4"},
      {"the row of the last corner", "A7=128|A8=256|A9=1|E1=@SUM(A7..A9)|F1=@SUM(A9..A7)", "A9", kLinesRows, false,
       {{"E1", "@SUM(ERR)"}, {"F1", "@SUM(ERR)"}}, {{"E1", "ERR"}, {"F1", "ERR"}}, "Z105=1|Z106=2|Y1=3|Y2=4"},
      {"the columns of both corners", "B3=1|C3=2|E1=@SUM(B3..C3)|E2=+B3+@COUNT(B3..D3)", "B1..C1", kLinesColumns, false,
       {{"C1", "@SUM(ERR)"}, {"C2", "+ERR+@COUNT(ERR)"}}, {{"C1", "ERR"}, {"C2", "ERR"}}, "Z105=1|Z106=2|Y1=3|Y2=4"},
      {"the column of the first corner", "B3=1|C3=2|E1=@SUM(B3..C4)", "B1", kLinesColumns, false,
       {{"D1", "@SUM(ERR)"}}, {{"D1", "ERR"}}, "Z105=1|Z106=2|Y1=3|Y2=4"},
      {"the column of the last corner", "B3=1|C4=2|E1=@SUM(B3..C4)", "C1", kLinesColumns, false,
       {{"D1", "@SUM(ERR)"}}, {{"D1", "ERR"}}, "Z105=1|Z106=2|Y1=3|Y2=4"},
      {"the rows of both corners of a range taken as one value", "A1=1|A2=2|C5=+A1..A2|D5=@ISERR(A1..A2)", "A1..A2",
       kLinesRows, false, {{"C3", "+ERR"}, {"D3", "@ISERR(ERR)"}}, {{"C3", "ERR"}, {"D3", "1"}}},
      {"the row of one corner, the other kept", "B3=1|C4=2|E1=@SUM(B3..C4)|E2=+C4", "A3", kLinesRows, false,
       {{"E1", "@SUM(ERR)"}, {"E2", "+C3"}}, {{"E1", "ERR"}, {"E2", "2"}}, "Z105=1|Z106=2|Y1=3|Y2=4"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    CellStoreClear();
    Put(row.cells);
    Lines(row.lines, row.what, row.insert);
    Put(row.later);
    for (auto [addr, edit] : row.edits) EXPECT_EQ(Edit(addr), edit) << addr;
    for (auto [addr, shown] : row.shown) EXPECT_EQ(Shown(addr), shown) << addr;
    EXPECT_EQ(CountMarkedCells(), 0);
    EXPECT_EQ(PoolCheckInvariants(), "");
  }
}

TEST_F(InsertDeleteTest, StoredRangesAndSizesFollowTheirLines) {
  ASSERT_NE(RangeNameCreate("DATA", R("B6..C10")), 0);
  ASSERT_NE(RangeNameCreate("TOP", R("A1..A2")), 0);
  gCurrentDoc.settings.savedRanges[kRangePrint] = R("A4..D12");
  gCurrentDoc.settings.dataRanges[kDataRangeBinValues] = R("D5..D9");
  TGraphRecord graph = TGraphRecord::Fresh();
  graph.SetXRange(R("A6..A10"));
  graph.SetSeriesRange(2, R("E6..E10"));
  SetCurrentGraph(graph);
  ASSERT_NE(GraphStore("G1"), 0);
  windows.GridSetRowSize(5, 40);
  windows.GridSetColSize(3, 96);

  Lines("A3..A4", kLinesRows, true);
  EXPECT_EQ(NameRange("DATA"), R("B8..C12"));
  EXPECT_EQ(NameRange("TOP"), R("A1..A2"));
  EXPECT_EQ(gCurrentDoc.settings.savedRanges[kRangePrint], R("A6..D14"));
  EXPECT_EQ(gCurrentDoc.settings.dataRanges[kDataRangeBinValues], R("D7..D11"));
  EXPECT_EQ(CurrentGraph().XRange(), R("A8..A12"));
  TGraphRecord named;
  ASSERT_TRUE(GraphRecordAt(1, named));
  EXPECT_EQ(named.SeriesRange(2), R("E8..E12"));
  EXPECT_EQ(windows.rowSizes, (std::map<int, int>{{7, 40}}));

  Lines("B1", kLinesColumns, false);
  EXPECT_EQ(NameRange("DATA"), TRange{});  // a corner stood in the deleted column
  EXPECT_EQ(gCurrentDoc.settings.savedRanges[kRangePrint], R("A6..C14"));
  EXPECT_EQ(windows.columnSizes, (std::map<int, int>{{2, 96}}));
  Lines("A6", kLinesRows, false);
  EXPECT_EQ(gCurrentDoc.settings.savedRanges[kRangePrint], TRange{});
  EXPECT_EQ(CurrentGraph().XRange(), R("A7..A11"));
}

TEST_F(InsertDeleteTest, OtherSheetsStayPut) {
  windows.SetSheetCount(2);
  gCurrentDoc.settings.rowsPerSheet = 4096;
  Put("A5=5|B:A5=50|B:A6=+A:A5+B:A5");
  ASSERT_NE(RangeNameCreate("LATER", R("B:A5..B:A9")), 0);
  windows.GridSetRowSize(4096 + 4, 33);
  Lines("A:A2", kLinesRows, true);
  EXPECT_EQ(Shown("A:A6"), "5");
  EXPECT_EQ(Shown("B:A5"), "50");
  EXPECT_EQ(Edit("B:A6"), "+A:A6+B:A5");
  EXPECT_EQ(Shown("B:A6"), "55");
  EXPECT_EQ(NameRange("LATER"), R("B:A5..B:A9"));
  EXPECT_EQ(windows.rowSizes, (std::map<int, int>{{4096 + 4, 33}}));
  Lines("B:A1..B:A2", kLinesRows, false);
  EXPECT_EQ(Shown("A:A6"), "5");
  EXPECT_EQ(Shown("B:A3"), "50");
  EXPECT_EQ(NameRange("LATER"), R("B:A3..B:A7"));
  EXPECT_EQ(windows.rowSizes, (std::map<int, int>{{4096 + 2, 33}}));

  // Rows pushed past the end of sheet A would land in sheet B: refused.
  Put("A:A4096=1");
  std::string before = Dump();
  gShownErrors.clear();
  EXPECT_FALSE(InsertDeleteLines(R("A:A1"), kLinesRows, true));
  EXPECT_EQ(gShownErrors, std::vector<std::string>{std::string("Error:") + kCellsInBottomRowText});
  EXPECT_TRUE(Dump() == before);
}

TEST_F(InsertDeleteTest, RefusalsAndUndo) {
  Put("A1=1|B1=+A1*2|IV1=9");
  ASSERT_NE(RangeNameCreate("ONE", R("B1")), 0);
  std::string before = Dump();
  gShownErrors.clear();
  EXPECT_FALSE(InsertDeleteLines(R("C1"), kLinesColumns, true));
  EXPECT_EQ(gShownErrors, std::vector<std::string>{std::string("Error:") + kCellsInLastColumnText});
  EXPECT_TRUE(Dump() == before);

  struct Row {
    const char* lines;
    int what;
    bool insert;
  } rows[] = {{"A1", kLinesColumns, false}, {"A1", kLinesRows, true}, {"B1..C1", kLinesColumns, false}};
  for (const Row& row : rows) {
    Lines(row.lines, row.what, row.insert);
    ASSERT_TRUE(UndoApply(TUndoMode::kRestore));
    EXPECT_TRUE(Dump() == before) << row.lines;
    EXPECT_EQ(NameRange("ONE"), R("B1"));
  }
}

// An insert whose undo copy runs out of pool goes on without undo: the
// message is shown and no part of a copy can come back over the sheet.
TEST_F(InsertDeleteTest, AnInsertWhoseUndoCopyFailsGoesOnWithoutUndo) {
  Put("A1=1|A2=2|B1=+A2*2");
  gShownErrors.clear();
  platform.refuseGetMemAfter = 0;
  Lines("A1", kLinesRows, true);
  platform.refuseGetMemAfter = -1;
  EXPECT_EQ(gShownErrors, std::vector<std::string>{"Error:Out of UNDO memory!"});
  std::string inserted = Dump();
  EXPECT_FALSE(UndoAvailable());
  EXPECT_FALSE(UndoApply(TUndoMode::kRestore));
  EXPECT_TRUE(Dump() == inserted);
}

TEST_F(InsertDeleteTest, APageBreakRowGetsItsMark) {
  windows.cursorRow = 3;
  Put("A4=4");
  Lines("A4", kLinesRowsWithPageBreak, true);
  EXPECT_EQ(Edit("A4"), "|::");
  EXPECT_EQ(Shown("A5"), "4");
}

}  // namespace
}  // namespace corvane

// Worksheet files written and read back: every cell kind with its format and
// attributes, long texts at the limits, formulas with their saved values,
// range names, graphs, settings, file state and the window's data; a second
// save of the loaded document gives the same bytes.
#include <gtest/gtest.h>

#include <string>

#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/FormulaCompiler.h"
#include "spreadsheet/engine/RangeText.h"
#include "tests/spreadsheet/files/WorksheetTestSupport.h"

namespace corvane {
namespace {

using testing::DumpCells;
using testing::DumpDocumentState;
using testing::MakeRange;
using testing::TFakeWindowServices;
using testing::WorksheetTest;

class WorksheetRoundTripTest : public WorksheetTest {
 protected:
  // A document that uses every part of the file.
  void FillDocument() {
    Enter(0, 0, "5");
    Enter(0, 1, "123.25");
    Enter(0, 2, "-40000.5");
    Enter(0, 3, "Plain label");
    Enter(0, 4, "^Centred");
    Enter(1, 0, "+A1*2+B1");
    Enter(1, 1, "@SUM(A1..C1)");
    Enter(1, 2, "+$A$1+A$1+$A1");
    Enter(1, 3, "+\"Hi\"");
    Enter(1, 4, "+1/0");
    Enter(2, 0, std::string(240, 'x'));
    Enter(2, 1, "'" + std::string(233, 'y'));
    Enter(3, 0, "+IV8192+1");
    // Blank cell with attributes only.
    TCell* blank = CellPtr(CellGetOrCreate(4, 4));
    blank->font = 1;
    blank->size = 3;
    blank->style = 2;
    blank->borders = 5;
    blank->attributes = 0x01234567;
    CellPtr(CellFind(0, 1))->format = 0x82;
    CellPtr(CellFind(0, 3))->font = 2;
    // Names, among them one of 12 characters.
    ASSERT_LT(RangeNameCreate("TOTALS", MakeRange(0, 0, 2, 0)), 0);
    ASSERT_LT(RangeNameCreate("ABCDEFGHIJKL", MakeRange(1, 1, 1, 1)), 0);
    // Graphs: the current one and two named ones.
    TGraphRecord graph = CurrentGraph();
    graph.SetXRange(MakeRange(0, 0, 0, 3));
    graph.SetType(kGraphBar3D);
    graph.SetHeading(1, "Sales");
    graph.SetFontName(2, "Courier New");
    SetCurrentGraph(graph);
    ASSERT_GT(GraphStore("FIRST"), 0);
    graph.SetHeading(1, "Costs");
    graph.SetSeriesColour(2, 11);
    SetCurrentGraph(graph);
    ASSERT_GT(GraphStore("SECOND"), 0);
    graph.SetHeading(2, "now");
    SetCurrentGraph(graph);
    // Settings and the state only files carry.
    TSheetSettings& s = gCurrentDoc.settings;
    s.protection = 1;
    s.manualRecalc = 1;
    s.hideZeros = 1;
    s.negativeInColour = 1;
    s.labelPrefix = '"';
    s.valueColour = 0x41223344;
    s.cursorColour = 0x80FF00FF;
    for (int k = 0; k < kSavedRangeCount; ++k) s.savedRanges[k] = MakeRange(k, k + 1, k + 2, k + 3);
    TWorksheetFileState& f = CurrentFileState();
    f.printHeader = "Page #";
    f.printFooter = std::string(240, 'f');
    f.printSetup = "\\027E";
    f.marginWords = {3, 70, 60, 1, 5};
    f.whatIfType = 2;
    f.primaryOrder = kSortDescending;
    f.regressionX = MakeRange(0, 0, 0, 9);
    f.regressionY = MakeRange(1, 0, 1, 9);
    f.dataOptions = {1, 2, 3, 4, 5, 6, 7, 0, 1, 2};
    f.info.title = "Budget";
    f.info.comments = "Line two\rLine one\r";
    ProgramSettings().TopMargin = 0.75;
    ProgramSettings().FooterDistance = 1.25;
    // The window's data.
    windows.columnSizes = {{0, 12}, {255, 40}};
    windows.rowSizes = {{0, 30}, {8191, 12}};
    windows.tabNames = {"Income", "Costs", "Summary:" + std::string(120, 's')};  // a name beyond 80 characters
    windows.sheetCount = 3;
    windows.buttons = {{"Run", "{GOTO}A1~", 2, 3, 4, 5, 60, 20}, {std::string(20, 'c'), std::string(255, 'm'), 8191, 255, -1, -2, 1, 1}};
    windows.sheetFont = {26, 5, "Times New Roman"};
    windows.layout.splitVertical = true;
    windows.layout.activePane = 1;
    windows.layout.pane1 = {1, 2, 3, 4};
    windows.layout.pane1Height = 300;
    windows.layout.pane1Width = 400;
    windows.layout.pane2 = {5, 6, 7, 8};
    windows.layout.frozenFirstCol = 0;
    windows.layout.frozenLastCol = 1;
    windows.layout.frozenFirstRow = -1;
    windows.layout.frozenLastRow = -1;
    CurrentFileState().paneSplit = 1;
  }
};

TEST_F(WorksheetRoundTripTest, EverythingWrittenReadsBackAndSavesToTheSameBytes) {
  FillDocument();
  TFakeWindowServices written = windows;
  ASSERT_TRUE(SaveWorksheet(Path("all"), false, TRange{}));
  std::vector<std::string> cells = DumpCells();
  std::vector<std::string> state = DumpDocumentState();
  std::string firstBytes = testing::ReadWholeFile(Path("ALL.WKS"));

  // A second program run: fresh settings, window and document.
  ProgramSettings() = TProgramSettings{};
  windows = TFakeWindowServices{};
  NewDocument("SHEET2.WKS");
  ASSERT_TRUE(LoadWorksheet(Path("all.wks"), 0, 0, 0, "")) << ErrorMessage();
  EXPECT_EQ(DumpCells(), cells);
  EXPECT_EQ(DumpDocumentState(), state);
  EXPECT_EQ(windows.columnSizes, written.columnSizes);
  EXPECT_EQ(windows.rowSizes, written.rowSizes);
  EXPECT_EQ(windows.tabNames, written.tabNames);
  EXPECT_EQ(windows.sheetCount, 3);
  EXPECT_EQ(windows.buttons, written.buttons);
  EXPECT_EQ(windows.sheetFont, written.sheetFont);
  TSheetWindowLayout expected = written.layout;
  expected.sheetCount = 3;
  EXPECT_EQ(windows.layout, expected);
  EXPECT_EQ(CurrentFileState().paneSplit, 1);
  EXPECT_EQ(PoolCheckInvariants(), "");
  // Ranges the graph never set are unset in the file too, not A1.
  EXPECT_FALSE(RangeIsValid(CurrentGraph().SeriesRange(1)));
  EXPECT_FALSE(RangeIsValid(CurrentGraph().LabelRange(6)));

  // Fonts map through the main window's list: "Courier New" is entry 1 there
  // and "Times New Roman" entry 2.
  EXPECT_EQ(CellPtr(CellFind(0, 3))->font, 2);
  EXPECT_EQ(CellPtr(CellFind(4, 4))->font, 1);

  // Formulas were linked again: a change reaches them.
  gCurrentDoc.settings.manualRecalc = 0;
  gCurrentDoc.settings.protection = 0;
  Enter(0, 0, "10");
  EXPECT_EQ(CellReal(*CellPtr(CellFind(1, 0))), 10 * 2 + 123.25);

  Enter(0, 0, "5");
  gCurrentDoc.settings.manualRecalc = 1;
  gCurrentDoc.settings.protection = 1;
  windows.fontList = {"Arial", "Courier New", "Times New Roman"};
  ASSERT_TRUE(SaveWorksheet(Path("again.wks"), false, TRange{}));
  EXPECT_EQ(testing::ReadWholeFile(Path("AGAIN.WKS")), firstBytes);
}

TEST_F(WorksheetRoundTripTest, TextsAndNamesAtTheirLimitsSurvive) {
  // Labels and results of 234 to 241 characters, the longest formula code and
  // a 12-character name that differs from another only in its last letter.
  struct Row {
    int row;
    std::string text;
  } rows[] = {
      {0, "'" + std::string(233, 'a')}, {1, "'" + std::string(239, 'b')}, {2, std::string(240, 'c')},
      {5, "\"" + std::string(240, 'd')},
  };
  for (const Row& r : rows) Enter(r.row, 0, r.text);
  // 39 references of 6 code bytes each put END at index 239, the last there is.
  std::string longFormula = "+1";
  for (int k = 0; k < 39; ++k) longFormula += "+A1";
  std::string code = longFormula;
  ASSERT_TRUE(CompileFormula(code));
  ASSERT_EQ(static_cast<unsigned char>(code[0]), 239);
  Enter(3, 0, longFormula);
  Enter(4, 0, "+\"" + std::string(234, 'z') + "\"");
  ASSERT_LT(RangeNameCreate("QUARTERLYSUM", MakeRange(0, 0, 0, 1)), 0);
  ASSERT_LT(RangeNameCreate("QUARTERLYSUN", MakeRange(0, 2, 0, 3)), 0);
  ASSERT_EQ(PoolStringView(CellResultText(*CellPtr(CellFind(4, 0)))).size(), 234u);
  ASSERT_TRUE(SaveWorksheet(Path("LIMITS.WKS"), false, TRange{}));
  std::vector<std::string> cells = DumpCells();
  std::vector<std::string> state = DumpDocumentState();
  NewDocument("SHEET2.WKS");
  ASSERT_TRUE(LoadWorksheet(Path("LIMITS.WKS"), 0, 0, 0, "")) << ErrorMessage();
  EXPECT_EQ(DumpCells(), cells);
  EXPECT_EQ(DumpDocumentState(), state);
  ASSERT_EQ(RangeNameCount(), 2);
  EXPECT_EQ(RangeNameText(*RangeNameAt(1)), "QUARTERLYSUM");
  EXPECT_EQ(RangeNameText(*RangeNameAt(2)), "QUARTERLYSUN");
  EXPECT_EQ(PoolStringView(CellResultText(*CellPtr(CellFind(4, 0)))).size(), 234u);
  EXPECT_EQ(PoolStringView(CellPtr(CellFind(5, 0))->text), "\"" + std::string(240, 'd'));
}

TEST_F(WorksheetRoundTripTest, ErrFormulaReadsBackWithItsErrorBitAndValueZero) {
  Enter(0, 0, "+1/0");
  ASSERT_NE(CellPtr(CellFind(0, 0))->kind & kKindErrorBit, 0);
  ASSERT_TRUE(SaveWorksheet(Path("ERR.WKS"), false, TRange{}));
  NewDocument("SHEET2.WKS");
  ASSERT_TRUE(LoadWorksheet(Path("ERR.WKS"), 0, 0, 0, ""));
  const TCell* cell = CellPtr(CellFind(0, 0));
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(cell->kind, kKindNumberFormula | kKindErrorBit);
  EXPECT_EQ(CellReal(*cell), 0);
  EXPECT_EQ(CellContentsText(CellFind(0, 0)), "1/0");
}

TEST_F(WorksheetRoundTripTest, RangeWriteMovesTheBlockToA1) {
  Enter(5, 3, "7");
  Enter(5, 4, "+D6*3");
  Enter(6, 3, "'label");
  Enter(9, 9, "99");
  ASSERT_TRUE(SaveWorksheet(Path("PART.WKS"), true, MakeRange(4, 6, 3, 5)));
  NewDocument("SHEET2.WKS");
  ASSERT_TRUE(LoadWorksheet(Path("PART.WKS"), 0, 0, 0, ""));
  EXPECT_EQ(DumpCells(), (std::vector<std::string>{
                             "A1 kind 3 format 255 attr 255/0/0/0/3221225472 [7]",
                             "B1 kind 1 format 255 attr 255/0/0/0/3221225472 [+A1*3] = 21",
                             "A2 kind 4 format 255 attr 255/0/0/0/3221225472 ['label]",
                         }));
}

TEST_F(WorksheetRoundTripTest, AutoExecFileOpensUntitledAndAMissingOneIsQuiet) {
  Enter(0, 0, "1");
  ASSERT_TRUE(SaveWorksheet(Path("AUTOEXEC.WKS"), false, TRange{}));
  int slot = 0;
  ASSERT_EQ(RegisterOpenSheet(Path("AUTOEXEC.WKS"), slot), TOpenResult::kNew);
  ASSERT_TRUE(ActivateDocumentContext(slot));
  SetAutoExecMode(true);
  ASSERT_TRUE(LoadWorksheet(Path("AUTOEXEC.WKS"), 0, 0, 0, ""));
  EXPECT_EQ(DocSlot(slot)->fileName, "");
  SetAutoExecMode(true);
  EXPECT_FALSE(LoadWorksheet(Path("MISSING.WKS"), 0, 0, 0, ""));
  EXPECT_TRUE(testing::gShownErrors.empty());
  EXPECT_FALSE(LoadWorksheet(Path("MISSING.WKS"), 0, 0, 0, "")) << "the mode lasts one call";
  EXPECT_EQ(testing::gShownErrors, std::vector<std::string>{"Error:Unable to Open File"});
}

}  // namespace
}  // namespace corvane

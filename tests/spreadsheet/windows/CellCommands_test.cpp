// Speed Fill, Speed @SUM, the style toggles and the range-name dialog on the
// real engine.
#include "spreadsheet/engine/TextRoutines.h"
#include "spreadsheet/windows/CellCommands.h"

#include "spreadsheet/engine/RangeNames.h"
#include "spreadsheet/engine/UndoBuffer.h"
#include "spreadsheet/graphs/GraphRecord.h"
#include "spreadsheet/graphs/NamedGraphs.h"
#include "spreadsheet/windows/RangeNameDialog.h"
#include "tests/spreadsheet/windows/FrameTestSupport.h"

namespace corvane::testing {
namespace {

class CellCommandsTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    OpenCurrent("SHEET1.WKS");
    ASSERT_TRUE(InitNewSheet());
  }
};

TEST(CellCommandLetters, SeriesLettersGoOnPastIV) {
  struct Row {
    int n;
    const char* letters;
  } rows[] = {{0, "A"}, {25, "Z"}, {26, "AA"}, {255, "IV"}, {701, "ZZ"}, {702, "AAA"}};
  for (const Row& row : rows) EXPECT_EQ(SeriesLetters(row.n), row.letters);
}

TEST_F(CellCommandsTest, SpeedSumLeavesTheCursorsLineOut) {
  struct Row {
    TRange selection;
    int row, col;
    const char* formula;
  } rows[] = {
      {MakeRange(0, 0, 0, 4), 4, 0, "@sum(A1..A4)"},    // tall, cursor on the last row
      {MakeRange(0, 0, 0, 4), 0, 0, "@sum(A2..A5)"},    // tall, cursor on the first
      {MakeRange(0, 0, 3, 0), 0, 3, "@sum(A1..C1)"},    // wide
      {MakeRange(0, 0, 2, 2), 2, 2, "@sum(A1..B2)"},    // square
      {MakeRange(0, 0, 0, 0), 0, 0, ""},                // one cell: nothing to sum
      {MakeRange(1, 0, 1, 1), 1, 1, "@sum(B1..B1)"},    // two cells tall: the other one
  };
  for (const Row& row : rows)
    EXPECT_EQ(SpeedSumFormula(row.selection, row.row, row.col), row.formula) << row.formula;
  ASSERT_TRUE(EnterCell("2", 0, 0));
  ASSERT_TRUE(EnterCell("3", 1, 0));
  ASSERT_TRUE(SpeedSum(MakeRange(0, 0, 0, 2), 2, 0));
  EXPECT_EQ(Contents(2, 0), "@SUM(A1..A2)");
  EXPECT_EQ(CellReal(*CellPtr(CellFind(2, 0))), 5);
  EXPECT_FALSE(SpeedSum(MakeRange(0, 5, 0, 5), 5, 0));
  EXPECT_EQ(CellFind(5, 0), kNilHandle);
}

TEST_F(CellCommandsTest, SpeedFillByFirstCell) {
  // Letters, row by row.
  ASSERT_TRUE(EnterCell("'y", 0, 0));
  ASSERT_TRUE(SpeedFill(MakeRange(0, 0, 1, 1)));
  EXPECT_EQ(Contents(0, 1), "'Z");
  EXPECT_EQ(Contents(1, 0), "'AA");
  EXPECT_EQ(Contents(1, 1), "'AB");
  // A number: a series along the rows of a wide selection, down the columns of a tall one.
  ASSERT_TRUE(EnterCell("5", 3, 0));
  ASSERT_TRUE(SpeedFill(MakeRange(0, 3, 2, 4)));
  EXPECT_EQ(Contents(3, 2), "7");
  EXPECT_EQ(Contents(4, 0), "8");
  ASSERT_TRUE(SpeedFill(MakeRange(5, 0, 5, 2)));
  EXPECT_EQ(Contents(2, 5), "2") << "an empty first cell starts at 0";
  // A formula is copied with its references following.
  ASSERT_TRUE(EnterCell("+A4*2", 0, 7));
  ASSERT_TRUE(SpeedFill(MakeRange(7, 0, 7, 2)));
  EXPECT_EQ(Contents(2, 7), "+A6*2");
  // A one-character label that is no letter is copied as it is.
  ASSERT_TRUE(EnterCell("'-", 0, 9));
  ASSERT_TRUE(SpeedFill(MakeRange(9, 0, 10, 0)));
  EXPECT_EQ(Contents(0, 10), "'-");
  // Undo takes the last fill back.
  ASSERT_TRUE(UndoApply(TUndoMode::kRestore));
  EXPECT_EQ(CellFind(0, 10), kNilHandle);
  // The sort button orders the selection's rows by its first column.
  ASSERT_TRUE(SortSelection(MakeRange(5, 0, 5, 2), false));
  EXPECT_EQ(Contents(0, 5), "2");
  EXPECT_EQ(Contents(2, 5), "0");
}

TEST_F(CellCommandsTest, QuickGraphTakesTheSelection) {
  ASSERT_EQ(QuickGraph(MakeRange(1, 2, 3, 9)), 1);
  TGraphRecord graph = CurrentGraph();
  for (int series = 1; series <= kGraphSeries; ++series)
    EXPECT_FALSE(RangeIsValid(graph.LabelRange(series))) << "no data labels from A1";
  EXPECT_EQ(graph.XRange(), MakeRange(1, 2, 1, 9));
  EXPECT_EQ(graph.SeriesRange(1), MakeRange(2, 2, 2, 9));
  EXPECT_EQ(graph.SeriesRange(2), MakeRange(3, 2, 3, 9));
  EXPECT_FALSE(RangeIsValid(graph.SeriesRange(3)));
  for (int k = 2; k <= 50; ++k) ASSERT_EQ(QuickGraph(MakeRange(0, 0, 0, 3)), k);
  EXPECT_EQ(QuickGraph(MakeRange(0, 0, 0, 3)), -1) << "no slot left";
}

TEST_F(CellCommandsTest, StyleToggles) {
  ASSERT_TRUE(EnterCell("x", 0, 0));
  CellPtr(CellFind(0, 0))->style = 0x80 | 0x20 | 0x03;  // style bits ignored, centred
  ASSERT_TRUE(RangeSetStyleBit(MakeRange(0, 0, 1, 0), 4, true));
  EXPECT_EQ(CellPtr(CellFind(0, 0))->style, 0x20 | 0x04);
  EXPECT_EQ(CellPtr(CellFind(0, 1))->style & 0x07, 0x04) << "a missing cell is made";
  ASSERT_TRUE(RangeSetStyleBit(MakeRange(0, 0, 1, 0), 4, false));
  EXPECT_EQ(CellPtr(CellFind(0, 0))->style, 0x20);
  EXPECT_EQ(StepFontSize(12, 1), 14);
  EXPECT_EQ(StepFontSize(13, -1), 12);
  EXPECT_EQ(StepFontSize(72, 1), 72);
  EXPECT_EQ(FormatBoxCode("121,Date"), 121);
  EXPECT_EQ(FormatBoxCode("Date"), -1);
  // The settings' own list holds typed codes before the captions.
  EXPECT_EQ(FormatBoxCode("F2,Fixed"), FormatCodeToByte("F2"));
  EXPECT_EQ(FormatBoxCode("G,General"), FormatCodeToByte("G"));
  EXPECT_TRUE(ToggleProtection());
  EXPECT_FALSE(RangeSetFontSize(MakeRange(5, 5, 5, 5), 18) && CellFind(5, 5) != kNilHandle)
      << "no cell is made under protection";
  EXPECT_FALSE(ToggleProtection());
}

TEST_F(CellCommandsTest, RangeNameDialog) {
  TRangeNameDialog dialog;
  dialog.Activate(MakeRange(1, 1, 2, 3));
  EXPECT_EQ(dialog.rangeText, "B2..C4");
  EXPECT_EQ(dialog.TotalText(), "Total: 0");
  for (const char* name : {"b", "a", "c"}) {
    dialog.name = name;
    EXPECT_TRUE(dialog.Create());
  }
  EXPECT_EQ(dialog.names, (std::vector<std::string>{"A", "B", "C"}));
  dialog.name = "d";
  dialog.rangeText = "ZZ1";
  EXPECT_FALSE(dialog.Create());
  dialog.name = "";
  dialog.rangeText = "A1";
  EXPECT_FALSE(dialog.Create());
  dialog.Pick(1);
  EXPECT_EQ(dialog.name, "B");
  EXPECT_EQ(dialog.rangeText, "B2..C4");
  EXPECT_TRUE(dialog.Delete());
  EXPECT_EQ(dialog.names, (std::vector<std::string>{"A", "C"}));
  EXPECT_EQ(dialog.name, "");
  dialog.name = "B";
  EXPECT_FALSE(dialog.Delete());
  EXPECT_EQ(dialog.PromptPreset(), MakeRange(1, 1, 2, 3));

  // Table and build through the prompts' texts.
  ASSERT_TRUE(RangeNameTableFromText("E1"));
  EXPECT_EQ(Contents(0, 4), "'A");
  EXPECT_EQ(Contents(0, 5), "'B2..C4");
  dialog.Reset();
  EXPECT_EQ(RangeNameCount(), 0);
  ASSERT_TRUE(RangeNameBuildFromText("E1..F2"));
  EXPECT_EQ(RangeNameCount(), 2);
  EXPECT_FALSE(RangeNameBuildFromText("nonsense..."));
}

}  // namespace
}  // namespace corvane::testing

// The entry line against the real engine: typing, committing, POINT mode and
// the indicators.
#include "spreadsheet/windows/EntryLine.h"

#include "spreadsheet/engine/RangeText.h"
#include "tests/spreadsheet/windows/FrameTestSupport.h"

namespace corvane::testing {
namespace {

class EntryLineTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    OpenCurrent("SHEET1.WKS");
    ASSERT_TRUE(InitNewSheet());
  }
  void Type(std::string_view text) {
    for (char ch : text) {
      if (!line.Editing()) {
        line.PaneChar(ch);
      } else {
        view.TypeChar(ch);
        line.TextChanged();
      }
    }
  }
  // The pane moves its cursor (and selection) as the grid would.
  void PaneMoves(int firstRow, int firstCol, int lastRow, int lastCol) {
    windows.selection = MakeRange(firstCol, firstRow, lastCol, lastRow);
    windows.cursorRow = static_cast<std::int16_t>(lastRow);
    windows.cursorCol = static_cast<std::int16_t>(lastCol);
    line.UpdateCellIndicators(lastRow, lastCol);
  }

  TFakeEntryView view;
  TEntryLine line{view};
};

TEST_F(EntryLineTest, PointingBuildsTheFormulaAndCommitsIntoTheCellWherePointingBegan) {
  Type("+");
  EXPECT_EQ(windows.mode, "VALUE180");
  EXPECT_EQ(line.EntryKey(TEntryKey::kRight), TEntryKeyResult::kPassToPane);
  EXPECT_TRUE(line.Pointing());
  EXPECT_FALSE(line.Editing());
  EXPECT_EQ(windows.mode, "POINT112");
  EXPECT_EQ(CellFind(0, 0), kNilHandle) << "an arrow after an operator does not commit";
  PaneMoves(0, 1, 0, 1);
  EXPECT_EQ(view.text, "+B1");
  const char* cycle[] = {"+$B$1", "+$B1", "+B$1", "+B1", "+$B$1"};
  for (const char* expected : cycle) {
    line.CycleReferenceMode();
    EXPECT_EQ(view.text, expected);
  }
  EXPECT_TRUE(line.PointCommit());
  EXPECT_EQ(Contents(0, 0), "+$B$1");
  EXPECT_EQ(windows.cursorRow, 0);
  EXPECT_EQ(windows.cursorCol, 0);
  EXPECT_FALSE(line.Pointing());
  EXPECT_EQ(windows.mode, "READY");
  EXPECT_EQ(windows.modifiedMarks, 1);
}

TEST_F(EntryLineTest, PointingAtARangeAndTypingOnAfterIt) {
  Type("@sum(");
  EXPECT_EQ(line.EntryKey(TEntryKey::kDown), TEntryKeyResult::kPassToPane);
  PaneMoves(1, 0, 1, 0);
  line.PointAnchor();
  EXPECT_TRUE(view.extend);
  PaneMoves(1, 0, 3, 0);
  EXPECT_EQ(view.text, "@sum(A2..A4");
  line.CycleReferenceMode();
  EXPECT_EQ(view.text, "@sum(A2..$A$4") << "F4 on a range cycles its second corner";
  line.PaneChar(')');
  EXPECT_EQ(view.text, "@sum(A2..$A$4)");
  EXPECT_TRUE(line.Editing());
  EXPECT_FALSE(view.extend);
  EXPECT_EQ(windows.cursorRow, 0) << "typing after pointing goes back to the cell being entered";
  EXPECT_TRUE(line.EditExit());
  EXPECT_EQ(Contents(0, 0), "@SUM(A2..$A$4)");
}

TEST_F(EntryLineTest, KeysOfTheEntryLine) {
  // A label, then an arrow: committed and moved.
  Type("abc");
  EXPECT_EQ(windows.mode, "LABEL177");
  EXPECT_EQ(line.EntryKey(TEntryKey::kRight), TEntryKeyResult::kHandled);
  EXPECT_EQ(Contents(0, 0), "'abc");
  EXPECT_EQ(windows.cursorCol, 1);

  // Esc empties the line, a second Esc leaves editing without entering.
  Type("x");
  line.EntryKey(TEntryKey::kEscape);
  EXPECT_TRUE(line.Editing());
  EXPECT_EQ(view.text, "");
  EXPECT_EQ(windows.mode, "?180");
  line.EntryKey(TEntryKey::kEscape);
  EXPECT_FALSE(line.Editing());
  EXPECT_EQ(CellFind(0, 1), kNilHandle);

  // An empty Enter changes nothing.
  line.EditEnter();
  line.EntryKey(TEntryKey::kEnter);
  EXPECT_EQ(CellFind(0, 1), kNilHandle);
  EXPECT_EQ(windows.modifiedMarks, 1);

  // F9 puts the formula's value in its place; F2 makes the arrows the caret's.
  Type("+2*3");
  line.EntryKey(TEntryKey::kF9);
  EXPECT_EQ(view.text, "6");
  line.EntryKey(TEntryKey::kF2);
  EXPECT_EQ(windows.mode, "EDIT63");
  EXPECT_EQ(line.EntryKey(TEntryKey::kLeft), TEntryKeyResult::kNotHandled);
  view.text = "12@";
  EXPECT_EQ(line.EntryKey(TEntryKey::kF1), TEntryKeyResult::kFunctionPick);
}

TEST_F(EntryLineTest, ARefusedEntryStaysInTheLineInRed) {
  Type("+(");
  int beeps = platform.beeps;
  EXPECT_FALSE(line.EditExit());
  EXPECT_EQ(view.text, "+(");
  EXPECT_TRUE(view.red);
  EXPECT_TRUE(line.Editing());
  EXPECT_TRUE(line.EditMode());
  EXPECT_EQ(platform.beeps, beeps + 1);
  EXPECT_EQ(CellFind(0, 0), kNilHandle);
  ASSERT_EQ(gFrameErrors.size(), 1u) << "the engine's message is shown";
  EXPECT_EQ(gFrameErrors[0], "Error:Syntax Error");
  // Corrected, it goes in.
  view.text = "+(1)";
  EXPECT_TRUE(line.EditExit());
  EXPECT_FALSE(view.red);
  EXPECT_EQ(Contents(0, 0), "(1)");
}

// The frame grays its menus by the entry's editing flag when it is told the
// menus changed: the flag has its new value by then.
TEST_F(EntryLineTest, TheMenusHearOfAnEntryOnceItHasBegunOrEnded) {
  std::string told;
  windows.onMenusEnabled = [&](bool on) { told += std::string(on ? "on" : "off") + (line.Editing() ? "/editing " : "/ready "); };
  Type("abc");
  line.EntryKey(TEntryKey::kEnter);
  Type("x");
  line.EntryKey(TEntryKey::kEscape);
  line.EntryKey(TEntryKey::kEscape);
  Type("+(");
  EXPECT_FALSE(line.EditExit());
  view.text = "+(1)";
  EXPECT_TRUE(line.EditExit());
  EXPECT_EQ(told, "off/editing on/ready off/editing on/ready off/editing on/ready ")
      << "a refused entry keeps the menus off";
}

TEST_F(EntryLineTest, IndicatorsOfTheCurrentCell) {
  ASSERT_TRUE(EnterCell("12.5", 2, 1));
  CellPtr(CellFind(2, 1))->style = 5;
  PaneMoves(2, 1, 2, 1);
  EXPECT_EQ(view.text, "12.5");
  EXPECT_EQ(view.status, "B3 [,5]");
  EXPECT_TRUE(view.style.bold);
  EXPECT_FALSE(view.style.italic);
  EXPECT_TRUE(view.style.underline);
  EXPECT_EQ(view.style.fontText, "Arial *");
  EXPECT_EQ(view.style.sizeText, "12 *");
  // Protection on: a protected cell shows as such and cannot be entered.
  gCurrentDoc.settings.protection = 1;
  PaneMoves(2, 1, 2, 1);
  EXPECT_EQ(view.text, kProtectedContentsText);
  EXPECT_FALSE(view.enabled);
  // Several cells selected: the status line shows the cursor's address only.
  gCurrentDoc.settings.protection = 0;
  PaneMoves(0, 0, 2, 1);
  EXPECT_EQ(view.status, "B3");
}

TEST(EntryLineModes, FirstCharacterDecidesValueOrLabel) {
  struct Row {
    const char* text;
    const char* mode;
  } rows[] = {{"", "?"}, {"(1", "VALUE"}, {"+a", "VALUE"}, {"-", "VALUE"}, {"7", "VALUE"},
              {"@sum", "VALUE"}, {"a1", "LABEL"}, {"'7", "LABEL"}, {".5", "LABEL"}};
  for (const Row& row : rows) EXPECT_STREQ(TypingModeFor(row.text).text, row.mode) << row.text;
}

}  // namespace
}  // namespace corvane::testing

// Range editing: copies and moves that keep formulas right, the special copy,
// refused commands that change nothing, a pool that runs out part-way, and the
// in-place commands (case, alignment, formats).
#include "spreadsheet/engine/RangeEdit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "spreadsheet/engine/BlockCopy.h"
#include "spreadsheet/engine/Recalc.h"
#include "spreadsheet/engine/UndoBuffer.h"
#include "tests/spreadsheet/engine/RangeEditSupport.h"

namespace corvane {
namespace {

using testing::gShownErrors;
using testing::RangeEditTest;

struct TShown {
  const char* addr;
  const char* edit;   // nullptr: not checked
  const char* shown;
};

struct TEditRow {
  const char* name;
  const char* cells;
  std::function<bool()> command;
  std::vector<TShown> expected;
};

class RangeEditRows : public RangeEditTest {
 protected:
  void Check(const std::vector<TEditRow>& rows) {
    for (const TEditRow& row : rows) {
      SCOPED_TRACE(row.name);
      CellStoreClear();
      RangeNameReset();
      Put(row.cells);
      EXPECT_TRUE(row.command());
      for (const TShown& cell : row.expected) {
        if (cell.edit) {
          EXPECT_EQ(Edit(cell.addr), cell.edit) << cell.addr;
        }
        EXPECT_EQ(Shown(cell.addr), cell.shown) << cell.addr;
      }
      EXPECT_EQ(CountMarkedCells(), 0);
      EXPECT_EQ(PoolCheckInvariants(), "");
    }
  }
};

TEST_F(RangeEditRows, CopiesKeepReferencesRightAndFillTheDestinationsShape) {
  auto copy = [this](const char* from, const char* to) { return [=, this] { return CopyMoveRange(false, R(from), R(to)); }; };
  Check({
      {"relative follows, $ stays", "A1=+B1+$C$1|B1=2|C1=3|B2=5", copy("A1", "A2"), {{"A2", "+B2+$C$1", "8"}}},
      {"one cell into a column", "A1=7", copy("A1", "A2..A5"), {{"A2", "7", "7"}, {"A5", "7", "7"}}},
      {"one column into columns", "A1=1|A2=2|A3=3", copy("A1..A3", "B1..D1"),
       {{"B1", "1", "1"}, {"D3", "3", "3"}, {"D4", "", ""}}},
      {"overlapping downwards", "A1=1|A2=2|A3=+A2*10", copy("A1..A3", "A2"),
       {{"A2", "1", "1"}, {"A3", "2", "2"}, {"A4", "+A3*10", "20"}}},
      // Every copy gets the source as it was, not the copies made before it.
      {"a row into rows over itself", "A1=1|B1=2|C1=3", copy("A1..C1", "B1..B3"),
       {{"B1", "1", "1"}, {"D1", "3", "3"}, {"B2", "1", "1"}, {"C2", "2", "2"}, {"D3", "3", "3"}}},
      {"reference off the top", "A2=+A1+1", copy("A2", "A1"), {{"A1", "+ERR+1", "ERR"}}},
      {"reference off the left", "B2=+A1", copy("B2", "A1"), {{"A1", "+ERR", "ERR"}}},
      {"missing source clears", "A1=1|C1=5|C2=9", copy("A1..A2", "C1"), {{"C1", "1", "1"}, {"C2", "", ""}}},
      {"dependents recalculate", "A1=4|C1=1|D1=+C1*2", copy("A1", "C1"), {{"D1", "+C1*2", "8"}}},
  });
}

TEST_F(RangeEditRows, MovesTakeTheirReferencesAlong) {
  auto move = [this](const char* from, const char* to) { return [=, this] { return CopyMoveRange(true, R(from), R(to)); }; };
  Check({
      {"references follow, the old target's turn ERR", "A1=5|D1=+A1*2|E1=+C3|C3=1", move("A1", "C3"),
       {{"C3", "5", "5"}, {"D1", "+C3*2", "10"}, {"E1", "+ERR", "ERR"}, {"A1", "", ""}}},
      // The range over the block follows it; the one with a corner on the
      // overwritten A4 (a blank its own link made) loses that corner.
      {"overlapping", "A1=1|A2=2|A3=3|B1=@SUM(A1..A3)|B2=@SUM(A3..A4)", move("A1..A3", "A2"),
       {{"A2", "1", "1"}, {"A4", "3", "3"}, {"A1", "", ""}, {"B1", "@SUM(A2..A4)", "6"}, {"B2", nullptr, "ERR"}}},
      {"a formula keeps its own references", "A1=+B1+1|B1=4", move("A1", "C9"), {{"C9", "+B1+1", "5"}}},
  });
}

TEST_F(RangeEditTest, AMoveLeavesSumsLiveAtBothEnds) {
  for (int row = 1; row <= 10; ++row) Put("A" + std::to_string(row) + "=" + std::to_string(row));
  Put("B1=@SUM(A1..A10)|D1=@SUM(C1..C10)");
  ASSERT_TRUE(RangeNameCreate("FIVE", R("A5")) != 0);
  ASSERT_TRUE(CopyMoveRange(true, R("A5"), R("C5")));
  EXPECT_EQ(Shown("B1"), "50");
  EXPECT_EQ(Shown("D1"), "5");
  EXPECT_EQ(NameRange("FIVE"), R("C5"));
  // Entries in the vacated and the new place reach the sums.
  Put("A5=100");
  EXPECT_EQ(Shown("B1"), "150");
  Put("C5=7");
  EXPECT_EQ(Shown("D1"), "7");
  EXPECT_EQ(Shown("B1"), "150");
  EXPECT_EQ(PoolCheckInvariants(), "");
}

TEST_F(RangeEditRows, SpecialCopiesEnterValuesAsTheyWere) {
  auto special = [this](int mode, const char* from, const char* to, double factor = 1) {
    return [=, this] { return RangeCopy(mode, R(from), R(to), factor); };
  };
  Check({
      {"invert", "A1=0|A2=4", special(kCopyInvert, "A1..A2", "B1"), {{"B1", "@ERR", "ERR"}, {"B2", "0.25", "0.25"}}},
      {"transpose", "A1=1|B1=2|C1=3", special(kCopyTranspose, "A1..C1", "E1"),
       {{"E1", "1", "1"}, {"E2", "2", "2"}, {"E3", "3", "3"}}},
      {"scale", "A1=3", special(kCopyScale, "A1", "B1..B2", 2.5), {{"B1", "7.5", "7.5"}, {"B2", "7.5", "7.5"}}},
      // A text result stays the text it shows, never a number or a formula.
      {"text results stay text", "A1=+\"1\"&\"/2\"|A2=+\"+\"&\"B9\"|A3='x", special(kCopyValues, "A1..A3", "C1"),
       {{"C1", "'1/2", "1/2"}, {"C2", "'+B9", "+B9"}, {"C3", "'x", "x"}}},
      {"ERR stays ERR", "A1=@ERR|A2=+A1", special(kCopyValues, "A1..A2", "B1"), {{"B1", "@ERR", "ERR"}, {"B2", "@ERR", "ERR"}}},
      {"overlapping values", "A1=1|A2=2|A3=3", special(kCopyValues, "A1..A3", "A2"),
       {{"A2", "1", "1"}, {"A3", "2", "2"}, {"A4", "3", "3"}}},
      {"formulas keep their addresses", "A1=+B1*2|B1=4", special(kCopyFormulas, "A1", "C5"), {{"C5", "+B1*2", "8"}}},
  });
}

TEST_F(RangeEditTest, RefusedCommandsChangeNothingNotEvenTheUndoBuffer) {
  Put("A1=1|A2=+A1*2|B1=5");
  ASSERT_TRUE(UndoSave());
  Put("A1=2");
  std::string before = Dump();
  int marks = windows.modifiedMarks;
  struct Row {
    const char* name;
    std::function<bool()> command;
    const char* error;
  } rows[] = {
      {"copy past the last row", [this] { return CopyMoveRange(false, R("A1..A2"), R("C8192")); }, kCopyErrorText},
      {"copy past column IV", [this] { return CopyMoveRange(false, R("A1..B1"), R("IV1")); }, kCopyErrorText},
      {"move past the last row", [this] { return CopyMoveRange(true, R("A1..A2"), R("A8192")); }, kCopyErrorText},
      {"transpose past the last row", [this] { return RangeCopy(kCopyTranspose, R("A1..B1"), R("C8192"), 1); },
       kCopyErrorText},
      {"special copy onto a protected cell",
       [this] {
         gCurrentDoc.settings.protection = 1;
         bool ok = RangeCopy(kCopyValues, R("A1"), R("B1"), 1);
         gCurrentDoc.settings.protection = 0;
         return ok;
       },
       kProtectedCellText},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    gShownErrors.clear();
    EXPECT_FALSE(row.command());
    EXPECT_EQ(gShownErrors, std::vector<std::string>{std::string("Error:") + row.error});
    EXPECT_TRUE(Dump() == before);
  }
  EXPECT_EQ(windows.modifiedMarks, marks);
  ASSERT_TRUE(UndoApply(TUndoMode::kRestore));
  EXPECT_EQ(Shown("A2"), "2");
}

TEST_F(RangeEditTest, CopiesSkipProtectedTargetsAndMarkTheSheetModified) {
  Put("A1=1|B1=2|C1=9");
  RangeUnlock(R("B1"));
  gCurrentDoc.settings.protection = 1;
  int marks = windows.modifiedMarks;
  EXPECT_TRUE(CopyMoveRange(false, R("A1..B1"), R("B1")));
  gCurrentDoc.settings.protection = 0;
  EXPECT_EQ(Shown("B1"), "1");
  EXPECT_EQ(Shown("C1"), "9");  // every cell is protected until unlocked
  EXPECT_EQ(windows.modifiedMarks, marks + 1);
}

// A pool of 48 pages: room for the sheet and its undo copy, not for the copies.
class RangeEditPoolTest : public RangeEditTest {
 protected:
  RangeEditPoolTest() : RangeEditTest(48) {}
};

TEST_F(RangeEditPoolTest, APoolThatRunsOutPartWayLeavesTheSheetAsItWas) {
  for (int row = 1; row <= 400; ++row)
    Put("A" + std::to_string(row) + "=+B" + std::to_string(row) + "*2|B" + std::to_string(row) + "=" +
        std::to_string(row));
  std::string before = Dump();
  struct Row {
    const char* name;
    std::function<bool()> command;
  } rows[] = {
      {"copy", [this] { return CopyMoveRange(false, R("A1..A400"), R("C1..Z1")); }},
      {"format", [this] { return RangeSetFormat(R("A1..IV400"), 2); }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    gShownErrors.clear();
    EXPECT_FALSE(row.command());
    EXPECT_FALSE(gShownErrors.empty());
    EXPECT_TRUE(Dump() == before);
    EXPECT_EQ(PoolCheckInvariants(), "");
  }
}

TEST(ChangeCaseText, EachMode) {
  struct Row {
    const char* text;
    int mode;
    const char* expected;
  } rows[] = {
      {"Hello WORLD", 0, "hello world"}, {"Hello world", 1, "HELLO WORLD"}, {"hello WORLD", 2, "Hello World"},
      {"  a   b ", 3, "a b"},            {" a b  c ", 4, "abc"},          {"a\tb\x7f\xc8", 5, "ab\x7f"},
      {"same", 9, "same"},
  };
  for (const Row& row : rows) EXPECT_EQ(ChangeCaseText(row.text, row.mode), row.expected) << row.mode;
  EXPECT_EQ(ChangeCaseText(std::string(300, 'A'), 0).size(), 240u);
}

TEST_F(RangeEditTest, InPlaceCommands) {
  Put("A1='hello WORLD|B1=+A1&\"!\"|A3=5");
  ASSERT_TRUE(RangeChangeCase(R("A1..A3"), 2));
  EXPECT_EQ(Shown("B1"), "Hello World!");
  ASSERT_TRUE(RangeJustify(R("A1..A4"), 2 | 8));
  EXPECT_EQ(Edit("A1"), "\"Hello World");
  EXPECT_EQ(Edit("A4"), "\"");  // a label of the prefix alone
  EXPECT_EQ(CellPtr(CellFind(2, 0))->style & 0x70, 0x20);
  ASSERT_TRUE(RangeJustify(R("A1..A5"), 0));
  EXPECT_EQ(Edit("A1"), "\"Hello World");
  EXPECT_EQ(CellPtr(CellFind(2, 0))->style & 0x70, 0);
  EXPECT_EQ(CellFind(4, 0), kNilHandle);
  ASSERT_TRUE(RangeSetFormat(R("A3..B3"), 0x12));
  EXPECT_EQ(CellPtr(CellFind(2, 1))->format, 0x92);  // created, and still protected
  RangeSetPrefix(R("A1"), '^');
  EXPECT_EQ(Edit("A1"), "^Hello World");
}

}  // namespace
}  // namespace corvane

// The run state: lines loaded down a column, breaks, step mode, and the call
// and loop stacks.
#include <gtest/gtest.h>

#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/RangeArguments.h"
#include "spreadsheet/macros/MacroRun.h"
#include "tests/spreadsheet/macros/MacroTestSupport.h"

namespace corvane::testing {
namespace {

// A host whose message handling lets a paused macro go on.
class TResumingHost : public TMacroHost {
 public:
  std::string caption;
  int shortcutsOff = 0;
  int shortcutsOn = 0;
  void SetCaption(std::string_view text) override { caption = std::string(text); }
  void SetCtrlShortcuts(bool enabled) override { ++(enabled ? shortcutsOn : shortcutsOff); }
  bool ProcessMessages() override {
    MacroResume();
    return true;
  }
};

class MacroRunTest : public MacroTest {
 protected:
  // Every byte the macro gives until it stops.
  std::string Drain() {
    std::string bytes;
    for (int b; (b = MacroNextByte()) != 0;) bytes += static_cast<char>(b);
    return bytes;
  }
  TResumingHost host;
};

TEST_F(MacroRunTest, RunsLinesDownAColumnUntilABlankCell) {
  SetMacroHost(&host);
  PutLabel(0, 1, "'ab");
  PutLabel(1, 1, "^{RIGHT 2}");
  PutLabel(3, 1, "'never");
  ASSERT_TRUE(MacroStartAt(0, 1));
  EXPECT_FALSE(MacroStartAt(0, 1));  // one macro at a time
  EXPECT_FALSE(MacroStartText("x"));
  EXPECT_EQ(Drain(), "ab\x04\x04");
  EXPECT_FALSE(MacroState().running);
  EXPECT_EQ(windows.mode, "READY");
  EXPECT_EQ(host.shortcutsOff, 1);
  EXPECT_EQ(host.shortcutsOn, 1);
  EXPECT_EQ(MacroNextByte(), 0);

  ASSERT_TRUE(MacroStartText("xy~"));
  EXPECT_EQ(Drain(), "xy\r");
  EXPECT_TRUE(gShownErrors.empty());
}

TEST_F(MacroRunTest, BreakStopsAtTheNextByteWithTheLineAddress) {
  PutLabel(4, 2, "'abc");
  ASSERT_TRUE(MacroStartAt(4, 2));
  EXPECT_EQ(MacroNextByte(), 'a');
  MacroBreak();
  EXPECT_EQ(MacroNextByte(), 0);
  EXPECT_FALSE(MacroState().running);
  EXPECT_EQ(platform.beeps, 1);
  ASSERT_EQ(gShownErrors.size(), 1u);
  EXPECT_EQ(gShownErrors[0], "Error:Break! C5");
}

TEST_F(MacroRunTest, StepModeShowsEachLineAndWaits) {
  SetMacroHost(&host);
  PutLabel(0, 0, "'q");
  MacroState().step = true;
  ASSERT_TRUE(MacroStartAt(0, 0));
  EXPECT_EQ(MacroNextByte(), 'q');
  EXPECT_EQ(host.caption, "A1 : q");
  EXPECT_EQ(windows.mode, "Step31");
  EXPECT_EQ(platform.beeps, 1);
  EXPECT_EQ(MacroNextByte(), 0);
  EXPECT_FALSE(MacroState().step);  // ended at a blank cell
}

TEST_F(MacroRunTest, CallStackReturnsToTheCallingLineAndPosition) {
  PutLabel(0, 0, "'ab");
  PutLabel(1, 0, "'cd");
  ASSERT_TRUE(MacroStartAt(0, 0));
  EXPECT_EQ(MacroNextByte(), 'a');
  for (int level = 0; level < 20; ++level) ASSERT_TRUE(MacroCallPush()) << level;
  MacroState().row = 1;  // a jump elsewhere
  MacroState().line.clear();
  EXPECT_EQ(MacroNextByte(), 'c');
  for (int level = 0; level < 20; ++level) ASSERT_TRUE(MacroCallReturn()) << level;
  EXPECT_EQ(MacroNextByte(), 'b');
  EXPECT_FALSE(MacroCallReturn());
  EXPECT_EQ(gShownErrors, std::vector<std::string>{"Error:Stack Underflow, Level<1"});
  EXPECT_EQ(MacroNextByte(), 'c');

  for (int level = 0; level < 20; ++level) ASSERT_TRUE(MacroCallPush());
  EXPECT_FALSE(MacroCallPush());
  EXPECT_EQ(gShownErrors.back(), "Error:Stack Overflow, Nesting>20");
  EXPECT_FALSE(MacroState().running);  // an overflow stops the macro

  // A new macro starts with empty stacks, and a text macro can be returned to.
  ASSERT_TRUE(MacroStartText("xy"));
  EXPECT_EQ(MacroState().callTop, 0);
  EXPECT_EQ(MacroNextByte(), 'x');
  ASSERT_TRUE(MacroCallPush());
  MacroState().row = 0;
  MacroState().line.clear();
  EXPECT_EQ(MacroNextByte(), 'a');
  ASSERT_TRUE(MacroCallReturn());
  EXPECT_EQ(Drain(), "y");
}

TEST_F(MacroRunTest, LoopsCountLikeTheUserExpects) {
  struct Row {
    double start, end, step;
    int bodies;
    double last;
  } rows[] = {
      {1, 5, 1, 5, 5},
      {6, 5, 1, 1, 6},   // tested after the body: runs once
      {1, 5, 0, 1, 1},   // a zero step runs once
      {5, 1, 0, 1, 5},   // also from above the end, where the counter never moves
      {10, 4, -3, 3, 4},
      {1, 10, 4, 4, 13},
  };
  for (const Row& row : rows) {
    ASSERT_TRUE(MacroStartText(""));
    ASSERT_TRUE(MacroLoopPush(0, 3, row.start, row.end, row.step));
    int bodies = 1;
    while (MacroLoopTest() == TMacroLoopTest::kRepeat) ++bodies;
    EXPECT_EQ(bodies, row.bodies) << row.start << " " << row.end << " " << row.step;
    EXPECT_EQ(CellNumber(CellPtr(CellFind(0, 3))), row.last);
    EXPECT_EQ(MacroLoopTest(), TMacroLoopTest::kNoLoop);
    MacroStop();
  }

  ASSERT_TRUE(MacroStartText(""));
  for (int k = 0; k < 5; ++k) ASSERT_TRUE(MacroLoopPush(k, 0, 1, 2, 1));
  EXPECT_FALSE(MacroLoopPush(9, 0, 1, 2, 1));
  EXPECT_EQ(gShownErrors.back(), "Error:FOR LOOPS>5");
  EXPECT_EQ(CellFind(9, 0), kNilHandle);  // nothing stored
  EXPECT_FALSE(MacroState().running);
  ASSERT_TRUE(MacroStartText(""));
  EXPECT_EQ(MacroLoopTest(), TMacroLoopTest::kNoLoop);  // the next macro starts with no open loops
}

}  // namespace
}  // namespace corvane::testing

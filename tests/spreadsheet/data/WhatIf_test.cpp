// Goal seek and what-if tables: convergence, failure that restores the input,
// one- and two-input tables, error results, and refusals.
#include "spreadsheet/data/WhatIf.h"

#include "spreadsheet/data/DataPrompts.h"
#include "spreadsheet/engine/RangePrompt.h"

#include <cmath>

#include "spreadsheet/engine/DocumentContext.h"
#include "tests/spreadsheet/data/DataTestSupport.h"

namespace corvane {
namespace {

class WhatIfTest : public testing::DataTest {
 protected:
  void SetTable(std::string_view table, std::string_view in1, std::string_view in2) {
    TRange* saved = gCurrentDoc.settings.savedRanges;
    saved[kRangeWhatIfTable] = R(table);
    saved[kRangeWhatIfInput1] = R(in1);
    saved[kRangeWhatIfInput2] = in2.empty() ? TRange{} : R(in2);
  }
};

TEST_F(WhatIfTest, GoalSeekConvergesOrRestoresTheInput) {
  struct Case {
    const char* input;    // contents of A1
    const char* formula;  // B1
    double desired;
    bool reached;
    double expect;  // A1 afterwards when reached
  } cases[] = {
      {"1", "+A1*A1", 4, true, 2},
      {"0", "+A1+3", 5, true, 2},    // x = 0: the first slope is the guarded 1
      {"7", "+2+2", 4, true, 7},     // already there, though the slope is 0
      {"+A9+1", "+5", 4, false, 0},  // never there: A1 keeps its formula
      {"1", "+A1*A1+1", 0, false, 0},
  };
  for (const Case& c : cases) {
    CellStoreClear();
    Put("A1", c.input);
    Put("B1", c.formula);
    testing::gDataShownErrors.clear();
    EXPECT_EQ(DataGoalSeek(R("A1"), R("B1"), 1e-6, c.desired), c.reached) << c.formula;
    if (c.reached) {
      EXPECT_NEAR(Num("A1"), c.expect, 1e-5) << c.formula;
      EXPECT_LT(std::fabs(Num("B1") - c.desired), 1e-6) << c.formula;
    } else {
      EXPECT_EQ(Contents("A1"), c.input) << c.formula;
      EXPECT_EQ(LastError(), std::string("Error:") + kGoalSeekFailedText);
    }
  }
  gCurrentDoc.settings.protection = 1;
  EXPECT_REFUSED(DataGoalSeek(R("A1"), R("B1"), 1e-6, 4), kProtectedCellText);
}

TEST_F(WhatIfTest, TablesFillResultsAndRestoreInputs) {
  // One input (Z1, missing before), two formulas in the top row.
  PutRow("B1", {"+Z1*2", "+10/Z1"});
  PutRow("A2", {"1"});
  PutRow("A3", {"0"});
  PutRow("A4", {"skip"});
  SetTable("A1..C4", "Z1", "");
  ASSERT_TRUE(DataTable(1));
  EXPECT_EQ(Column("B2", 3), (std::vector<std::string>{"2", "0", ""}));
  EXPECT_EQ(Column("C2", 3), (std::vector<std::string>{"10", "@ERR", ""}));
  EXPECT_EQ(Contents("Z1"), "");

  // Two inputs: rows feed Z1, columns Z2; the formula in the corner.
  CellStoreClear();
  Put("Z1", "5");
  Put("Z2", "+Z1");
  PutRow("A1", {"+Z1*Z2", "10", "20"});
  PutRow("A2", {"1"});
  PutRow("A3", {"2"});
  SetTable("A1..C3", "Z1", "Z2");
  ASSERT_TRUE(DataTable(2));
  EXPECT_EQ(Column("B2", 2), (std::vector<std::string>{"10", "20"}));
  EXPECT_EQ(Column("C2", 2), (std::vector<std::string>{"20", "40"}));
  EXPECT_EQ(Contents("Z1"), "5");
  EXPECT_EQ(Contents("Z2"), "+Z1");
  EXPECT_EQ(Num("A1"), 25);

  SetTable("A1..C3", "B2", "Z2");
  EXPECT_REFUSED(DataTable(2), kOverlapText);
  SetTable("A1..C3", "Z1", "");
  EXPECT_FALSE(DataTable(2));  // the second input is not set
}

TEST_F(WhatIfTest, PromptsAskForTheRangesInTurn) {
  PutRow("B1", {"+Z1*2"});
  PutRow("A2", {"4"});
  ASSERT_TRUE(DataTable1Prompt());
  EXPECT_EQ(windows.promptCaption, " TABLE 1: Specify Input Cell");
  windows.promptText = "Z1";
  EXPECT_TRUE(RangePromptEnd(true));
  EXPECT_EQ(windows.promptCaption, " Output Range");
  windows.promptText = "A1..B2";
  EXPECT_TRUE(RangePromptEnd(true));
  EXPECT_EQ(Contents("B2"), "8");

  EnterCell("", 1, 1);
  ASSERT_TRUE(DataTable2Prompt());
  EXPECT_FALSE(RangePromptEnd(false));  // cancel: the chain ends, nothing runs
  EXPECT_FALSE(RangePromptActive());
  EXPECT_EQ(Contents("B2"), "");
}

}  // namespace
}  // namespace corvane

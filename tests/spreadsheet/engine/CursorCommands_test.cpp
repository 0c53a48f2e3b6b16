// End+arrow over blocks of data, and the range prompt: what the user sees
// while it runs, accept and cancel with and without the call-back-on-cancel
// flag, one prompt at a time, and a callback that starts the next prompt.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "spreadsheet/engine/BlockJump.h"
#include "spreadsheet/engine/RangePrompt.h"
#include "tests/spreadsheet/engine/RangeEditSupport.h"

namespace corvane {
namespace {

using testing::RangeEditTest;

class CursorCommandsTest : public RangeEditTest {
 protected:
  void TearDown() override {
    // A prompt left open ends without calling back into the finished test.
    RangePromptSetCallBackOnCancel(false);
    RangePromptEnd(false);
    RangeEditTest::TearDown();
  }
};

TEST_F(CursorCommandsTest, EndArrowStopsAtTheEdgesOfData) {
  // Row 1: A..D filled, F used; column H: rows 3..5; a blank with a format at C7.
  Put("A1=1|B1=1|C1=1|D1=1|F1=1|H3=1|H4=1|H5=1|C6=1");
  CellPtr(CellGetOrCreate(6, 2))->format = 2;
  struct Row {
    const char* from;
    int key;
    const char* to;
  } rows[] = {
      {"A1", kKeyRight, "D1"}, {"D1", kKeyRight, "F1"}, {"F1", kKeyRight, "IV1"}, {"F1", kKeyLeft, "D1"},
      {"D1", kKeyLeft, "A1"},  {"E2", kKeyDown, "E8192"}, {"E9", kKeyUp, "E1"},   {"Z5", kKeyLeft, "H5"},
      {"H1", kKeyDown, "H3"},  {"H3", kKeyDown, "H5"},  {"H5", kKeyUp, "H3"},    {"C2", kKeyDown, "C6"},
      {"C6", kKeyDown, "C8192"}, {"B3", 13, "B3"},
  };
  for (const Row& row : rows) {
    int r = 0, c = 0, toRow = 0, toCol = 0;
    At(row.from, r, c);
    At(row.to, toRow, toCol);
    int ends = windows.endModeLeft;
    JumpToBlockEdge(row.key, 0, 0, c, r, kMaxCol, kMaxRow);
    EXPECT_EQ(r, toRow) << row.from << " " << row.key;
    EXPECT_EQ(c, toCol) << row.from << " " << row.key;
    EXPECT_EQ(windows.endModeLeft, ends + 1);
  }
}

TEST_F(CursorCommandsTest, RangePrompt) {
  std::vector<std::string> calls;
  auto record = [&](std::string_view text) {
    calls.emplace_back(text);
    return true;
  };
  windows.selection = R("C3");
  ASSERT_TRUE(RangePromptStart("Copy what?", record, R("A1..B2")));
  EXPECT_EQ(windows.promptCaption, " Copy what?");
  EXPECT_EQ(windows.promptText, "A1..B2");
  EXPECT_EQ(windows.selection, R("A1..B2"));
  EXPECT_FALSE(windows.menusEnabled);
  EXPECT_EQ(windows.mode, "RANGE177");
  EXPECT_FALSE(RangePromptStart("Second", record, R("A1")));  // one prompt at a time
  windows.promptText = "D4..E5";  // typed or pointed
  EXPECT_TRUE(RangePromptEnd(true));
  EXPECT_EQ(calls, std::vector<std::string>{"D4..E5"});
  EXPECT_EQ(windows.selection, R("C3"));
  EXPECT_TRUE(windows.menusEnabled);
  EXPECT_FALSE(windows.promptVisible);
  EXPECT_EQ(windows.mode, "READY");

  // Cancel: the preset with the flag, nothing without it.
  ASSERT_TRUE(RangePromptStart("Keep", record, R("A1..B2")));
  RangePromptEnd(false);
  ASSERT_TRUE(RangePromptStart("Insert", record, R("A1")));
  RangePromptSetCallBackOnCancel(false);
  EXPECT_FALSE(RangePromptEnd(false));
  EXPECT_EQ(calls, (std::vector<std::string>{"D4..E5", "A1..B2"}));
  EXPECT_FALSE(RangePromptEnd(true));  // none active

  // A callback may ask for the next range.
  ASSERT_TRUE(RangePromptStart("From", [&](std::string_view) { return RangePromptStart("To", record, R("B1")); },
                               R("A1")));
  EXPECT_TRUE(RangePromptEnd(true));
  EXPECT_TRUE(RangePromptActive());
  EXPECT_EQ(windows.promptCaption, " To");
}

}  // namespace
}  // namespace corvane

// Find and replace over a real sheet: what is searched, where the walk goes,
// what replacing writes and what it refuses.
#include "spreadsheet/windows/FindReplace.h"

#include "spreadsheet/engine/RangeEdit.h"
#include "spreadsheet/engine/UndoBuffer.h"
#include "tests/spreadsheet/windows/FrameTestSupport.h"

namespace corvane::testing {
namespace {

class FindReplaceTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    OpenCurrent("SHEET1.WKS");
    ASSERT_TRUE(InitNewSheet());
    for (auto [row, col, text] : {std::tuple{0, 0, "'xABCx"}, {0, 2, "'abc"}, {1, 1, "@SUM(A1..A3)"},
                                  {2, 0, "'aaa"}, {3, 3, "12"}})
      ASSERT_TRUE(EnterCell(text, row, col));
    windows.selection = MakeRange(0, 0, 0, 0);
    dialog.Activate(windows.selection);
  }
  // The cells Find reports from the top until the scope runs out.
  std::vector<std::string> FindAll() {
    std::vector<std::string> hits;
    while (dialog.Find() == TFindResult::kFound && hits.size() < 20) hits.push_back(dialog.result);
    return hits;
  }
  TFindReplace dialog;
};

TEST_F(FindReplaceTest, FindWalksRowsByEditText) {
  struct Row {
    const char* text;
    bool caseInsensitive;
    std::vector<std::string> hits;
  } rows[] = {
      {"abc", true, {"A1]'xABCx", "C1]'abc"}},
      {"abc", false, {"C1]'abc"}},
      {"SUM", false, {"B2]@SUM(A1..A3)"}},  // the formula's text, not its value
      {"'", false, {"A1]'xABCx", "C1]'abc", "A3]'aaa"}},
      {"2", false, {"D4]12"}},
      {"", false, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    dialog.findText = row.text;
    dialog.caseInsensitive = row.caseInsensitive;
    dialog.TextsChanged();
    EXPECT_EQ(dialog.FindButtonCaption(), "Fi&nd");
    EXPECT_EQ(FindAll(), row.hits);
    EXPECT_EQ(dialog.result, "0 Occurances.");
  }
  EXPECT_EQ(platform.beeps, 6);
  // Each hit moved the cursor; a changed text starts again at the top.
  dialog.findText = "a";
  dialog.TextsChanged();
  ASSERT_EQ(dialog.Find(), TFindResult::kFound);
  EXPECT_EQ(windows.selection, MakeRange(2, 0, 2, 0));
  EXPECT_EQ(dialog.FindButtonCaption(), "Find &Next");
  dialog.findText = "x";
  dialog.TextsChanged();
  ASSERT_EQ(dialog.Find(), TFindResult::kFound);
  EXPECT_EQ(dialog.result, "A1]'xABCx");
}

TEST_F(FindReplaceTest, SelectedScopeAndHistory) {
  dialog.Activate(MakeRange(0, 1, 3, 3));  // A2..D4
  EXPECT_TRUE(dialog.selectedScope);
  EXPECT_EQ(dialog.ScopeText(), "A2..D4");
  dialog.findText = "'";
  EXPECT_EQ(FindAll(), std::vector<std::string>{"A3]'aaa"});
  dialog.Activate(MakeRange(0, 1, 3, 3));
  EXPECT_EQ(dialog.FindButtonCaption(), "Find &Next");
  windows.open = false;  // another sheet window (here none) is active
  dialog.Activate(MakeRange(0, 1, 3, 3));
  EXPECT_EQ(dialog.FindButtonCaption(), "Fi&nd");
  windows.open = true;

  for (int k = 0; k < 12; ++k) {
    dialog.findText = "t" + std::to_string(k % 11);
    dialog.FileHistory();
  }
  ASSERT_EQ(dialog.history.size(), 10u);
  EXPECT_EQ(dialog.history[0], "t0");
  EXPECT_EQ(dialog.history[1], "t10");
  EXPECT_EQ(dialog.history[9], "t2");
}

TEST_F(FindReplaceTest, ReplaceAllReplacesEveryOccurrenceWithUndoFirst) {
  dialog.findText = "a";
  dialog.replaceText = "b";
  EXPECT_EQ(dialog.ReplaceAll(), TFindResult::kExhausted);
  EXPECT_EQ(dialog.result, "4 occurances!");  // C1 once, A3 three times; A1's A only ignoring case
  EXPECT_EQ(Contents(2, 0), "'bbb");
  EXPECT_EQ(Contents(0, 0), "'xABCx");
  ASSERT_TRUE(UndoApply(TUndoMode::kRestore));
  EXPECT_EQ(Contents(2, 0), "'aaa");
  EXPECT_EQ(Contents(0, 2), "'abc");

  // A formula edited into one that reads; one that would not read is kept.
  dialog.findText = "SUM";
  dialog.replaceText = "AVG";
  dialog.TextsChanged();
  dialog.ReplaceAll();
  EXPECT_EQ(Contents(1, 1), "@AVG(A1..A3)");
  dialog.findText = "(";
  dialog.replaceText = "";
  dialog.TextsChanged();
  dialog.ReplaceAll();
  EXPECT_EQ(dialog.result, "0 occurances!");
  EXPECT_EQ(Contents(1, 1), "@AVG(A1..A3)");
  EXPECT_TRUE(gFrameErrors.empty());
}

TEST_F(FindReplaceTest, RefusalsChangeNothing) {
  struct Row {
    const char* find;
    const char* replace;
    bool caseInsensitive;
    TFindResult result;
  } rows[] = {
      {"a", "aa", false, TFindResult::kCircular},
      {"a", "xAx", true, TFindResult::kCircular},
      {"a", "A", false, TFindResult::kExhausted},  // cannot loop when case counts
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.replace);
    ASSERT_TRUE(EnterCell("'aaa", 2, 0));
    gFrameErrors.clear();
    dialog.findText = row.find;
    dialog.replaceText = row.replace;
    dialog.caseInsensitive = row.caseInsensitive;
    dialog.TextsChanged();
    EXPECT_EQ(dialog.ReplaceAll(), row.result);
    bool refused = row.result == TFindResult::kCircular;
    EXPECT_EQ(gFrameErrors, refused ? std::vector<std::string>{"Error:Circular Replace Detected"}
                                    : std::vector<std::string>{});
    EXPECT_EQ(Contents(2, 0), refused ? "'aaa" : "'AAA");
  }

  // Protected cells are passed over silently; a text that would grow to 240
  // characters only loses the match.
  ASSERT_TRUE(EnterCell("'" + std::string(230, 'y') + "a", 4, 0));
  ASSERT_TRUE(EnterCell("'a", 5, 0));
  RangeUnlock(MakeRange(0, 4, 0, 4));
  gCurrentDoc.settings.protection = 1;
  dialog.caseInsensitive = false;
  dialog.findText = "a";
  dialog.replaceText = std::string(20, 'z');
  dialog.TextsChanged();
  dialog.ReplaceAll();
  gCurrentDoc.settings.protection = 0;
  EXPECT_EQ(Contents(4, 0), "'" + std::string(230, 'y'));
  EXPECT_EQ(Contents(5, 0), "'a");
  EXPECT_TRUE(gFrameErrors.empty());
}

TEST_F(FindReplaceTest, ReplaceActsOnTheCellShown) {
  dialog.findText = "a";
  dialog.replaceText = "b";
  ASSERT_EQ(dialog.Find(), TFindResult::kFound);  // C1
  ASSERT_EQ(dialog.Find(), TFindResult::kFound);  // A3, not C1 again
  EXPECT_EQ(dialog.result, "A3]'aaa");
  EXPECT_EQ(dialog.Replace(), TFindResult::kFound);  // the rest of A3 comes next
  EXPECT_EQ(Contents(2, 0), "'baa");
  EXPECT_EQ(Contents(0, 2), "'abc");
  EXPECT_EQ(dialog.result, "A3]'baa");
  EXPECT_EQ(dialog.Replace(), TFindResult::kFound);
  EXPECT_EQ(dialog.Replace(), TFindResult::kExhausted);
  EXPECT_EQ(Contents(2, 0), "'bbb");
  EXPECT_EQ(dialog.result, "3 Occurances.");
}

}  // namespace
}  // namespace corvane::testing

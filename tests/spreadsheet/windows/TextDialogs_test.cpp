// The function list, justify and word dialogs' values on the real engine,
// with a text measure of 10 pixels a character.
#include "spreadsheet/windows/TextDialogs.h"

#include <algorithm>

#include "spreadsheet/engine/RangeEdit.h"
#include "spreadsheet/engine/UserFunctions.h"
#include "spreadsheet/macros/MacroKeywords.h"
#include "tests/spreadsheet/windows/FrameTestSupport.h"

namespace corvane::testing {
namespace {

int TenPerChar(std::string_view text) { return static_cast<int>(text.size()) * 10; }

class TextDialogsTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    OpenCurrent("SHEET1.WKS");
    ASSERT_TRUE(InitNewSheet());
  }
  void Put(int row, int col, const char* text) { ASSERT_TRUE(EnterCell(text, row, col)) << text; }
};

TEST_F(TextDialogsTest, FunctionListEntriesSearchAndPick) {
  ASSERT_TRUE(AppendDocumentUserFunction({"TWICE", "@A(1)*2", 1}));
  TFunctionList list;
  list.Build();
  EXPECT_EQ(list.Caption(), "Functions");
  auto at = [&](const std::string& entry) {
    return std::find(list.entries.begin(), list.entries.end(), entry) - list.entries.begin();
  };
  auto external = at(kExternalFunctionsLine);
  ASSERT_LT(external, static_cast<long>(list.entries.size()));
  EXPECT_TRUE(std::is_sorted(list.entries.begin(), list.entries.begin() + external));
  for (const char* entry : {"ABS(1)", "PI", "NOT(1)", "SUM( var )(5)"}) EXPECT_LT(at(entry), external) << entry;
  EXPECT_EQ(at("TWICE(1)"), external + 1);
  for (const std::string& entry : list.entries) EXPECT_LE(entry.size(), kFunctionListEntryChars) << entry;

  int s = list.Search("s");
  ASSERT_GE(s, 0);
  EXPECT_EQ(list.entries[static_cast<std::size_t>(s)][0], 'S');
  EXPECT_NE(list.entries[static_cast<std::size_t>(s) - 1][0], 'S');
  EXPECT_EQ(list.Search("QQQ"), s) << "no match keeps the selection";

  struct Row {
    const char* entry;
    const char* picked;
  } rows[] = {{"ABS(1)", "ABS("}, {"PI", "PI"}, {"SUM( var )(5)", "SUM("}, {kExternalFunctionsLine, ""}};
  for (const Row& row : rows) {
    list.Pick(static_cast<int>(at(row.entry)));
    EXPECT_EQ(list.picked, row.picked) << row.entry;
  }

  list.mode = kFunctionListMacros;
  list.Build();
  EXPECT_EQ(list.Caption(), "Macros");
  ASSERT_EQ(list.entries.size(), static_cast<std::size_t>(kMacroListEntries));
  EXPECT_EQ(list.entries[0], MacroKeyword(1).Word());
  EXPECT_TRUE(list.picked.empty());
}

TEST(TextReflow, LinesFitTheWidthAndAlwaysProgress) {
  using Lines = std::vector<std::string>;
  struct Row {
    const char* name;
    Lines texts;
    int usable;
    std::size_t maxLines;
    Lines lines;
  } rows[] = {
      {"cut at the last space", {"aaaa bbbb", "cccc", "dddd"}, 100, 3, {"aaaa bbbb", "cccc dddd"}},
      {"cut on a space", {"aaa bbbbbb ccc"}, 60, 3, {"aaa", "bbbbbb", "ccc"}},
      {"a word wider than the line", {"abcdefgh"}, 30, 5, {"abc", "def", "gh"}},
      {"narrower than a character", {"abc"}, -4, 5, {"a", "b", "c"}},
      {"no extra space at joins", {"ab ", " cd", "", "ef"}, 200, 3, {"ab  cd ef"}},
      {"stops past the cells", {"aa bb cc dd ee"}, 20, 2, {"aa", "bb", "cc"}},
      {"a label's length", {std::string(230, 'a') + " " + std::string(20, 'b')}, 99999, 3,
       {std::string(230, 'a'), std::string(20, 'b')}},
  };
  for (const Row& row : rows) EXPECT_EQ(ReflowTexts(row.texts, row.usable, row.maxLines, TenPerChar), row.lines) << row.name;
}

TEST(TextReflow, PaddingWidensBetweenWordsOnly) {
  struct Row {
    const char* line;
    int width;
    const char* padded;
  } rows[] = {
      {"a b c", 90, "a   b   c"}, {"a b c", 95, "a   b   c"}, {"end of it.", 200, "end of it."},
      {"word", 200, "word"},       {" a b ", 70, " a   b "},
  };
  for (const Row& row : rows) EXPECT_EQ(PadLine(row.line, row.width, TenPerChar), row.padded) << row.line;
  // A measure that gives spaces no width must not loop for ever.
  EXPECT_EQ(PadLine("a b", 100, [](std::string_view) { return 5; }), "a b");
}

TEST_F(TextDialogsTest, JustifyReflowsTheRangeOrRefusesWithoutChanges) {
  auto fill = [&] {
    Put(0, 0, "'aaaa bbbb");
    Put(1, 0, "'cccc");
    Put(2, 0, "dddd");
    Put(0, 1, "'keep");
  };
  fill();
  EXPECT_TRUE(JustifyRange(MakeRange(0, 0, 0, 2), 104, false, TenPerChar));
  EXPECT_EQ(Contents(0, 0), "'aaaa bbbb");
  EXPECT_EQ(Contents(1, 0), "'cccc dddd");
  EXPECT_EQ(Contents(2, 0), "");
  EXPECT_EQ(Contents(0, 1), "'keep");

  fill();
  EXPECT_TRUE(JustifyRange(MakeRange(0, 0, 0, 2), 104, true, TenPerChar));
  EXPECT_EQ(Contents(0, 0), "'aaaa  bbbb") << "padded to the width";
  EXPECT_EQ(Contents(1, 0), "'cccc dddd") << "the last line stays";

  // Too few cells, or a line bound for a protected cell: nothing changes.
  fill();
  gFrameErrors.clear();
  EXPECT_FALSE(JustifyRange(MakeRange(0, 0, 0, 0), 54, false, TenPerChar));
  RangeUnlock(MakeRange(0, 0, 0, 0));
  gCurrentDoc.settings.protection = 1;
  EXPECT_FALSE(JustifyRange(MakeRange(0, 0, 0, 2), 104, false, TenPerChar)) << "a line for protected A2";
  RangeUnlock(MakeRange(0, 1, 0, 1));
  EXPECT_FALSE(JustifyRange(MakeRange(0, 0, 0, 2), 104, false, TenPerChar)) << "protected A3 would keep dddd";
  gCurrentDoc.settings.protection = 0;
  const std::string protectedCell = std::string("Error:") + kProtectedCellText;
  EXPECT_EQ(gFrameErrors,
            (std::vector<std::string>{std::string("Error:") + kRangeTooSmallText, protectedCell, protectedCell}));
  EXPECT_EQ(Contents(0, 0), "'aaaa bbbb");
  EXPECT_EQ(Contents(1, 0), "'cccc");
  EXPECT_EQ(Contents(2, 0), "'dddd");
}

TEST_F(TextDialogsTest, JustifyDialogPresetsAndReadsItsFields) {
  TJustifyDialog dialog;
  auto pixels = [](int col) { return col == 1 ? 100 : 60; };
  dialog.Activate(MakeRange(0, 0, 1, 2), pixels);
  EXPECT_EQ(dialog.rangeText, "A1..B3");
  EXPECT_EQ(dialog.widthText, "40");
  dialog.Activate(MakeRange(3, 3, 3, 3), pixels);
  EXPECT_EQ(dialog.rangeText, "A1..B3") << "kept until the next justify";
  dialog.widthText = "10*2+1";
  dialog.SettleWidth();
  EXPECT_EQ(dialog.widthText, "21");
  dialog.PromptDone("B1", pixels);
  EXPECT_EQ(dialog.widthText, "25");

  Put(0, 1, "'x y");
  dialog.rangeText = "no such range";
  gFrameErrors.clear();
  EXPECT_FALSE(dialog.Apply(TenPerChar));
  EXPECT_EQ(gFrameErrors.size(), 1u);
  dialog.rangeText = "B1";
  dialog.widthText = "2";
  EXPECT_FALSE(dialog.Apply(TenPerChar)) << "8 pixels hold less than a line per cell";
  dialog.widthText = "30";
  EXPECT_TRUE(dialog.Apply(TenPerChar));
  EXPECT_EQ(Contents(0, 1), "'x y");
}

TEST_F(TextDialogsTest, WordDialogEditsTheFirstColumn) {
  Put(0, 0, "'one");
  Put(2, 0, "3");
  Put(3, 0, "'four");
  Put(0, 1, "'other column");
  TWordDialog dialog;
  dialog.Activate(MakeRange(0, 0, 1, 3));
  EXPECT_EQ(dialog.lines, (std::vector<std::string>{"'one", "", "3", "'four"}));

  dialog.lines = {"'uno", "2"};
  EXPECT_EQ(dialog.Apply(), 2);
  EXPECT_EQ(Contents(0, 0), "'uno");
  EXPECT_EQ(Contents(1, 0), "2");
  EXPECT_EQ(Contents(3, 0), "'four") << "rows past the lines stay";
  EXPECT_EQ(Contents(0, 1), "'other column");

  // Lines run on past the selection, but not past the last row.
  dialog.Activate(MakeRange(0, 8190, 0, 8190));
  dialog.lines = {"'a", "'b", "'c"};
  EXPECT_EQ(dialog.Apply(), 2);
  EXPECT_EQ(Contents(8191, 0), "'b");
  EXPECT_TRUE(gFrameErrors.empty());
}

}  // namespace
}  // namespace corvane::testing

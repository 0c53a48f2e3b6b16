// The dialogs as values: the data dialog's presets and page commands, the
// array dialog's pages, and the data form's records.
#include "spreadsheet/data/CurveFit.h"
#include "spreadsheet/data/DataDialog.h"
#include "spreadsheet/data/DataForm.h"
#include "spreadsheet/data/DataSort.h"
#include "spreadsheet/data/MatrixDialog.h"
#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/RangePrompt.h"
#include "tests/spreadsheet/data/DataTestSupport.h"

namespace corvane {
namespace {

using DataDialogsTest = testing::DataTest;

TEST_F(DataDialogsTest, DataDialogPresetsAndPages) {
  TDataDialogValues v;
  v.page = kPageGoal;
  v.goalInput = "B2";
  PresetDataPage(v, R("C3"));  // one cell: the field keeps its text
  EXPECT_EQ(v.goalInput, "B2");
  Put("D4", "42");
  PresetDataPage(v, R("C3..D4"));
  EXPECT_EQ(v.goalInput, "C3..D4");
  EXPECT_EQ(v.goalDesire, "42");
  EXPECT_EQ(DataDialogCaption(v.page), "Data: GOAL");
  int width = 0, height = 0;
  DataPageSize(kPageMultiRegress, 120, width, height);
  EXPECT_EQ(width, 385);
  EXPECT_EQ(height, 267);

  v.page = kPageFill;
  v.fillOutput = "A1..A3";
  v.fillStart = "1/4";
  SettleValueField(v.fillStart);
  EXPECT_EQ(v.fillStart, "0.25");
  v.fillStep = "+D4";
  ASSERT_EQ(ApplyDataPage(v), TDataApply::kRan);
  EXPECT_EQ(Column("A1", 3), (std::vector<std::string>{"0.25", "42.25", "84.25"}));
  v.fillStep = "x";
  EXPECT_EQ(ApplyDataPage(v), TDataApply::kRefused);
  EXPECT_EQ(LastError(), std::string("Error:") + kNotANumberText);

  v.page = kPageSort;
  v.sortData = "A1..A3";
  v.sortKeys = {"A1", "", "", ""};
  v.sortAscending = {false, true, true, false};
  ASSERT_EQ(ApplyDataPage(v), TDataApply::kRan);
  EXPECT_EQ(Column("A1", 3), (std::vector<std::string>{"84.25", "42.25", "0.25"}));
  EXPECT_FALSE(gSortAscending[0]);
  EXPECT_FALSE(gSortAscending[3]);
  v.sortKeys[1] = "A1..ZZ9";  // names no range: refused before anything is stored
  EXPECT_EQ(ApplyDataPage(v), TDataApply::kRefused);
  EXPECT_EQ(gCurrentDoc.settings.savedRanges[kRangeSecondaryKey], TRange{});
  ResetDataPage(v);
  EXPECT_EQ(v.sortData + v.sortKeys[0] + v.sortKeys[1], "");
  for (bool& ascending : gSortAscending) ascending = true;

  v.page = kPageTable;
  v.tableInput1 = "";
  v.tableInput2 = "Z2";  // a second input without a first runs nothing
  v.tableOutput = "A1..B3";
  windows.selection = R("Q9");
  EXPECT_EQ(ApplyDataPage(v), TDataApply::kNothing);
  EXPECT_EQ(windows.selection, R("C3..D4"));  // the selection saved at activation

  v.page = kPageMultiRegress;
  PresetDataPage(v, R("A1"));
  EXPECT_TRUE(v.terms[0][0] && v.terms[1][0] && !v.terms[2][0]);
  v.terms[2][0] = true;
  v.terms[0][0] = false;
  v.fitX = "A1..A3";
  v.fitY = "A1";
  v.fitOutput = "G1";
  ApplyDataPage(v);
  EXPECT_EQ(gFitMasks[0] & 7u, 0u);
  EXPECT_EQ(gFitMasks[2] & 7u, 1u);
  std::fill(std::begin(gFitMasks), std::end(gFitMasks), 0u);
  gFitMasks[0] = gFitMasks[1] = 1;

  v.page = kPageForm;
  v.formRange = "A1..C9";
  EXPECT_EQ(ApplyDataPage(v), TDataApply::kOpenForm);
}

TEST_F(DataDialogsTest, FieldPromptsStartAtTheFieldsRange) {
  const struct {
    const char* field;
    const char* preset;
  } rows[] = {{"B2..C3", "B2..C3"}, {"", "A1..A3"}, {"no range!", "A1..A3"}};
  for (const auto& row : rows) {
    std::string chosen;
    ASSERT_TRUE(StartFieldPrompt("X", row.field, R("A1..A3"), [&](std::string_view text) { chosen = text; }));
    EXPECT_EQ(windows.selection, R(row.preset)) << row.field;
    windows.promptText = "D4";
    RangePromptEnd(true);
    EXPECT_EQ(chosen, "D4");
  }
  EXPECT_EQ(DataPromptCaption(kPageQuestion, "Criterion"), " QUESTION:Criterion Range");
  EXPECT_EQ(ArrayPromptCaption(kArrayLinear, "Input"), " Linear: Input Range");
}

TEST_F(DataDialogsTest, ArrayDialogRunsItsPage) {
  PutMatrix("A1", 2, {2, 0, 0, 4});
  TMatrixDialogValues v;
  v.page = kArrayInvert;
  PresetArrayPage(v, R("A1..B2"));
  v.fields[kArrayInvert].output = "D1";
  EXPECT_EQ(ArrayDialogCaption(v.page), "ARRAY: Invert");
  EXPECT_EQ(ArrayPageHeight(v.page), 143);
  windows.selection = R("C5");
  ASSERT_TRUE(ApplyArrayPage(v));
  EXPECT_EQ(Contents("D1") + " " + Contents("E2"), "0.5 0.25");
  EXPECT_EQ(windows.selection, R("A1..B2"));
  v.fields[kArrayInvert].output = "nowhere!";
  EXPECT_FALSE(ApplyArrayPage(v));
}

TEST_F(DataDialogsTest, DataFormRecords) {
  PutRow("A1", {"Name", "Price", "Secret", "Code"});
  CellPtr(CellFind(0, 2))->format = 0x76;  // hidden: no field
  windows.columnSizes[3] = 0;               // zero width: a field without an edit
  PutRow("A2", {"pear", "3.14159", "x", "7"});
  PutRow("A3", {"fig", "+B2*2"});
  CellPtr(CellFind(1, 1))->format = 0x02;  // two decimals
  TDataForm form;
  form.Open(R("A1..D9"));
  ASSERT_EQ(form.Fields().size(), 3u);
  EXPECT_EQ(form.Fields()[0].caption, "Name ");
  EXPECT_EQ(form.Fields()[2].widthChars, 0);
  EXPECT_EQ(form.Caption(), "Record:1 of 2");
  EXPECT_EQ(form.Fields()[1].text, "3.14");

  form.Edit(0, "plum");  // only the edited field is written back
  form.Next(false);
  EXPECT_EQ(Contents("A2"), "'plum");
  EXPECT_EQ(Num("B2"), 3.14159);
  EXPECT_EQ(Contents("B3"), "+B2*2");
  EXPECT_EQ(form.Caption(), "Record:2 of 2");
  EXPECT_EQ(form.Fields()[2].text, "");  // D3 is empty: nothing stale shown

  EXPECT_TRUE(form.Next(true));  // past the end: a clone of the shown record
  EXPECT_EQ(form.Caption(), "Record:3 of 3");
  EXPECT_EQ(Contents("A4"), "'fig");
  form.Top();
  form.Prev();
  EXPECT_EQ(form.Record(), 1);
  form.Bottom();
  EXPECT_EQ(form.Record(), 3);

  PutRow("F20", {"Name", "Qty"});
  TDataForm empty;
  empty.Open(R("F20..G20"));
  empty.Bottom();
  EXPECT_EQ(empty.Record(), 1);  // never the header row
  int beeps = platform.beeps;
  EXPECT_FALSE(empty.Next(false));
  EXPECT_EQ(platform.beeps, beeps + 1);
  empty.Edit(0, "kiwi");
  empty.Add();
  EXPECT_EQ(Contents("F21"), "'kiwi");
  EXPECT_EQ(Contents("F20"), "'Name");
}

}  // namespace
}  // namespace corvane

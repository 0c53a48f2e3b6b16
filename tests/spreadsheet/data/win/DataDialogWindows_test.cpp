// The data dialog, the data form and the array dialog under Wine, on a
// prepared sheet with the fake window services: fields set by real input,
// Ok, Cancel and Escape, range prompts, the main window disabled while a
// dialog shows and given back whichever way it goes; a picture of each.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "classlib/win/Application.h"
#include "spreadsheet/data/CurveFit.h"
#include "spreadsheet/data/DataSort.h"
#include "spreadsheet/data/win/DataDialogWindow.h"
#include "spreadsheet/data/win/DataFormWindow.h"
#include "spreadsheet/data/win/MatrixDialogWindow.h"
#include "spreadsheet/engine/RangePrompt.h"
#include "tests/spreadsheet/data/DataTestSupport.h"
#include "tests/support/win/DialogChecks.h"
#include "tests/support/win/UiKit.h"

namespace corvane {
namespace {

using namespace classlib;

class DataDialogWindows : public testing::DataTest {
 protected:
  void SetUp() override {
    DataTest::SetUp();
    main_.Position = TPosition::poDesigned;
    main_.SetBounds(0, 0, 320, 200);
    main_.Show();
  }
  void TearDown() override {
    for (bool& ascending : gSortAscending) ascending = true;
    std::fill(std::begin(gFitMasks), std::end(gFitMasks), 0u);
    gFitMasks[0] = gFitMasks[1] = 1;
    DataTest::TearDown();
  }
  bool MainEnabled() { return IsWindowEnabled(main_.Handle()) != FALSE; }
  static bool Showing(TWinControl& dialog) { return IsWindowVisible(dialog.Handle()) != FALSE; }

  // Puts `text` in place of what the field holds, as typed.
  static void Type(TPEdit& field, std::string_view text) {
    field.Edit().SetFocus();
    field.Edit().SelectAll();
    uikit::TypeChars(field.Edit().Handle(), text);
  }
  static void Press(TWinControl& control) { uikit::Click(control.Handle(), {8, 8}); }

  static void RunInsideModal(std::function<void()> script) { uikit::RunInsideModal(std::move(script)); }

  TForm main_{nullptr, "Corvane"};
};

TEST_F(DataDialogWindows, DataDialogPagesRunTheirCommands) {
  PutMatrix("A1", 1, {3, 1, 2});
  windows.selection = R("A1..A3");
  TSortDlg& dialog = DataDialog(main_);

  // SORT: the selection presets the data range; key 1 typed, descending.
  ShowDataPage(main_, kPageSort);
  uikit::RunUntilIdle();
  EXPECT_EQ(dialog.Caption(), "Data: SORT");
  EXPECT_EQ(dialog.Field(kPageSort, 0).Text(), "A1..A3");
  EXPECT_TRUE(dialog.ResetButton().Visible());
  EXPECT_FALSE(MainEnabled());
  Type(dialog.Field(kPageSort, 1), "A1");
  Press(dialog.Ascending(0));
  Press(dialog.OkButton());
  EXPECT_EQ(Column("A1", 3), (std::vector<std::string>{"3", "2", "1"}));
  EXPECT_FALSE(Showing(dialog));
  EXPECT_TRUE(MainEnabled());

  // FILL with one cell selected: the fields keep their texts. A value field
  // is read as a formula on leaving; Escape changes nothing.
  windows.selection = R("C1");
  ShowDataPage(main_, kPageFill);
  uikit::RunUntilIdle();
  Type(dialog.Field(kPageFill, 0), "B1..B3");
  Type(dialog.Field(kPageFill, 1), "1/4");
  uikit::PressKey(dialog.Field(kPageFill, 1).Edit().Handle(), VK_TAB);
  EXPECT_EQ(dialog.Field(kPageFill, 1).Text(), "0.25");
  const std::string before = Snapshot();
  dialog.OkButton().SetFocus();
  uikit::PressKey(dialog.OkButton().Handle(), VK_ESCAPE);
  EXPECT_FALSE(Showing(dialog));
  EXPECT_TRUE(MainEnabled());
  EXPECT_EQ(Snapshot(), before);

  // A step that is not a number: its message, nothing changed, the dialog
  // back to have it put right; then the fill.
  ShowDataPage(main_, kPageFill);
  uikit::RunUntilIdle();
  EXPECT_EQ(dialog.Field(kPageFill, 0).Text(), "B1..B3");
  Type(dialog.Field(kPageFill, 2), "x");
  Press(dialog.OkButton());
  EXPECT_EQ(LastError(), std::string("Error:") + kNotANumberText);
  EXPECT_EQ(Snapshot(), before);
  EXPECT_TRUE(Showing(dialog));
  EXPECT_FALSE(MainEnabled());
  Type(dialog.Field(kPageFill, 2), "1");
  Press(dialog.OkButton());
  EXPECT_EQ(Column("B1", 3), (std::vector<std::string>{"0.25", "1.25", "2.25"}));

  // A double click on an empty range field: the dialog hides while the prompt
  // starts from the saved selection, and comes back with the chosen range.
  windows.selection = R("A1..A3");
  ShowDataPage(main_, kPageQuestion);
  uikit::RunUntilIdle();
  const int beeps = platform.beeps;
  uikit::DoubleClick(dialog.Field(kPageQuestion, 1).Edit().Handle(), {5, 5});
  EXPECT_FALSE(Showing(dialog));
  EXPECT_TRUE(MainEnabled());
  EXPECT_EQ(platform.beeps, beeps + 1);
  EXPECT_EQ(windows.promptCaption, "  QUESTION:Criterion Range");
  EXPECT_EQ(windows.selection, R("A1..A3"));
  windows.promptText = "E1..E2";
  RangePromptEnd(true);
  uikit::RunUntilIdle();
  EXPECT_TRUE(Showing(dialog));
  EXPECT_FALSE(MainEnabled());
  EXPECT_EQ(dialog.Field(kPageQuestion, 1).Text(), "E1..E2");
  Press(dialog.ResetButton());
  EXPECT_EQ(dialog.Field(kPageQuestion, 0).Text() + dialog.Field(kPageQuestion, 1).Text(), "");
  Press(dialog.CancelButton());
  EXPECT_FALSE(Showing(dialog));
  EXPECT_TRUE(MainEnabled());

  // MULTIREGRESS: a click on the term grid adds x1 squared to the model;
  // from the keyboard, Tab reaches the grid after the fields, the arrows
  // move its cell from there and Space toggles x2 cubed in and out again.
  ShowDataPage(main_, kPageMultiRegress);
  uikit::RunUntilIdle();
  EXPECT_EQ(dialog.Field(kPageMultiRegress, 0).Text(), "A1..A3");
  Type(dialog.Field(kPageMultiRegress, 1), "B1..B3");
  Type(dialog.Field(kPageMultiRegress, 2), "D1");
  TTermGrid& grid = dialog.TermGrid();
  const TRect cell = grid.CellRect(3, 1);
  uikit::Click(grid.Handle(), {(cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2});
  uikit::PressKey(dialog.Field(kPageMultiRegress, 2).Edit().Handle(), VK_TAB);
  ASSERT_EQ(GetFocus(), grid.Handle()) << uikit::ControlName(GetFocus());
  for (int key : {VK_DOWN, VK_RIGHT, VK_SPACE}) uikit::PressKey(grid.Handle(), key);
  EXPECT_TRUE(grid.Terms()[3][1]);
  uikit::PressKey(grid.Handle(), VK_SPACE);
  EXPECT_FALSE(grid.Terms()[3][1]);
  EXPECT_NE(uikit::SaveWindowPicture(dialog.Handle(), "data-dialog"), "");
  Press(dialog.OkButton());
  EXPECT_EQ(gFitMasks[2] & 7u, 1u);
  EXPECT_EQ(gFitMasks[3] & 7u, 0u);
  EXPECT_EQ(Contents("D1"), "'Const");
}

TEST_F(DataDialogWindows, DataFormFromTheFormPage) {
  PutRow("A10", {"Name", "Price"});
  PutRow("A11", {"pear", "3"});
  PutRow("A12", {"fig", "+B11*2"});
  windows.selection = R("A10..B20");
  TSortDlg& dialog = DataDialog(main_);
  ShowDataPage(main_, kPageForm);
  uikit::RunUntilIdle();
  EXPECT_EQ(dialog.Field(kPageForm, 0).Text(), "A10..B20");

  bool ran = false;
  RunInsideModal([&] {
    auto* form = dynamic_cast<TFdlg*>(TWinControl::FromHandle(GetActiveWindow()));
    ASSERT_NE(form, nullptr);
    ran = true;
    EXPECT_FALSE(MainEnabled());
    TPEdit& name = *form->ValueField(0);
    EXPECT_EQ(name.Caption(), "Name ");
    EXPECT_EQ(name.Text(), "pear");
    EXPECT_EQ(form->RecordLine().Caption(), "Record:1 of 2");
    EXPECT_FALSE(form->UpdateButton().Enabled());
    Type(name, "plum");
    EXPECT_TRUE(form->UpdateButton().Enabled());
    const int beeps = platform.beeps;
    uikit::PressKey(name.Edit().Handle(), VK_RETURN);
    EXPECT_EQ(platform.beeps, beeps + 1);

    Press(form->NextButton());  // writes the edited field only
    EXPECT_EQ(Contents("A11"), "'plum");
    EXPECT_EQ(Contents("B12"), "+B11*2");
    EXPECT_EQ(form->RecordLine().Caption(), "Record:2 of 2");
    EXPECT_EQ(form->ValueField(1)->Text(), "6");

    Press(form->CloneLast());
    Press(form->NextButton());  // past the end: a copy of the record shown
    EXPECT_EQ(form->RecordLine().Caption(), "Record:3 of 3");
    EXPECT_EQ(Contents("A13") + " " + Contents("B13"), "'fig 6");
    EXPECT_NE(uikit::SaveWindowPicture(form->Handle(), "data-form"), "");
    Press(form->CancelButton());
  });
  Press(dialog.OkButton());
  EXPECT_TRUE(ran);
  EXPECT_FALSE(Showing(dialog));
  EXPECT_TRUE(MainEnabled());
  EXPECT_EQ(Contents("A11"), "'plum");
}

TEST_F(DataDialogWindows, ArrayDialogPagesRunTheirOperations) {
  PutMatrix("A1", 2, {2, 0, 0, 4});
  windows.selection = R("A1..B2");
  TMatrixDlg& dialog = ArrayDialog(main_);

  // Invert: the selection presets the input; the output comes by prompt.
  ShowArrayPage(main_, kArrayInvert);
  uikit::RunUntilIdle();
  EXPECT_EQ(dialog.Caption(), "ARRAY: Invert");
  EXPECT_EQ(dialog.Field(kArrayInvert, 0).Text(), "A1..B2");
  EXPECT_FALSE(MainEnabled());
  uikit::DoubleClick(dialog.Field(kArrayInvert, 1).Edit().Handle(), {5, 5});
  EXPECT_FALSE(Showing(dialog));
  EXPECT_EQ(windows.promptCaption, "  Invert: Output Range");
  windows.promptText = "D1";
  RangePromptEnd(true);
  uikit::RunUntilIdle();
  EXPECT_TRUE(Showing(dialog));
  EXPECT_EQ(dialog.Field(kArrayInvert, 1).Text(), "D1");
  EXPECT_EQ(windows.selection, R("A1..B2"));
  EXPECT_NE(uikit::SaveWindowPicture(dialog.Handle(), "array-dialog"), "");
  Press(dialog.OkButton());
  EXPECT_EQ(Contents("D1") + " " + Contents("E2"), "0.5 0.25");
  EXPECT_FALSE(Showing(dialog));
  EXPECT_TRUE(MainEnabled());

  // Rows: a page, its input and output, and how the dialog ends: Cancel
  // changes nothing; a refused operation shows its message and brings the
  // dialog back.
  struct TRow {
    int page;
    const char* input;
    const char* output;
    bool ok;
    const char* error;
  };
  const TRow rows[] = {
      {kArrayTranspose, "A1..B2", "G1", false, ""},
      {kArrayDeterminant, "A1..B2", "B2", true, "Error:Output Range Overlaps Input"},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(ArrayPageWord(row.page));
    windows.selection = R("A1");
    ShowArrayPage(main_, row.page);
    uikit::RunUntilIdle();
    Type(dialog.Field(row.page, 0), row.input);
    Type(dialog.Field(row.page, 1), row.output);
    const std::string before = Snapshot();
    testing::gDataShownErrors.clear();
    Press(row.ok ? dialog.OkButton() : dialog.CancelButton());
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(LastError(), row.error);
    EXPECT_EQ(Showing(dialog), row.ok);
    EXPECT_EQ(MainEnabled(), !row.ok);
    if (Showing(dialog)) Press(dialog.CancelButton());
  }
}

// Every page of the data and array dialogs from the keyboard: each opens on
// its first field, Tab goes round every control in reading order, nothing
// overlaps; Escape empties a field with text and closes the dialog from an
// empty one.
TEST_F(DataDialogWindows, EveryPageFromTheKeyboard) {
  windows.selection = R("A1");
  struct TRow {
    TRangeDialog& dialog;
    std::function<void(int)> show;
    int pages;
    std::function<TPEdit&(int)> first;
  };
  TSortDlg& data = DataDialog(main_);
  TMatrixDlg& array = ArrayDialog(main_);
  const TRow rows[] = {
      {data, [this](int page) { ShowDataPage(main_, page); }, kDataPageCount,
       [&data](int page) -> TPEdit& { return data.Field(page, 0); }},
      {array, [this](int page) { ShowArrayPage(main_, page); }, kArrayPageCount,
       [&array](int page) -> TPEdit& { return array.Field(page, 0); }},
  };
  for (const TRow& row : rows) {
    for (int page = 0; page < row.pages; ++page) {
      SCOPED_TRACE(row.dialog.Caption() + " page " + std::to_string(page));
      row.show(page);
      uikit::RunUntilIdle();
      TPEdit& first = row.first(page);
      EXPECT_EQ(GetFocus(), first.Edit().Handle()) << uikit::ControlName(GetFocus());
      const uikit::TTabWalk walk = uikit::WalkTabOrder(row.dialog.Handle());
      ASSERT_FALSE(walk.cycle.empty());
      EXPECT_EQ(walk.cycle.back().find("trapped"), std::string::npos) << walk.cycle.back();
      EXPECT_EQ(walk.unreached, std::vector<std::string>{});
      EXPECT_EQ(walk.backwards, std::vector<std::string>{});
      EXPECT_EQ(uikit::OverlappingControls(row.dialog.Handle()), std::vector<std::string>{});
      first.Edit().SetFocus();
      first.SetText("A1");
      uikit::PressKey(first.Edit().Handle(), VK_ESCAPE);
      EXPECT_EQ(first.Text(), "");
      EXPECT_TRUE(Showing(row.dialog)) << "the first Escape empties the field";
      uikit::PressKey(first.Edit().Handle(), VK_ESCAPE);
      EXPECT_FALSE(Showing(row.dialog)) << "the second closes the dialog";
      EXPECT_TRUE(MainEnabled());
    }
  }

  // A field reached by its letter offers its whole text: what is typed
  // replaces it. Data Fill's Start holds "0"; Alt+S and 1 make it "1".
  ShowDataPage(main_, kPageFill);
  uikit::RunUntilIdle();
  data.Field(kPageFill, 0).SetText("A1..A3");
  uikit::PressKey(GetFocus(), 'S', ssAlt);
  EXPECT_EQ(GetFocus(), data.Field(kPageFill, 1).Edit().Handle());
  uikit::TypeChars(GetFocus(), "1");
  EXPECT_EQ(data.Field(kPageFill, 1).Text(), "1");
  uikit::PressKey(GetFocus(), 'U', ssAlt);
  uikit::TypeChars(GetFocus(), "B1..B3");
  EXPECT_EQ(data.Field(kPageFill, 0).Text(), "B1..B3");
  uikit::PressKey(GetFocus(), VK_TAB);
  uikit::TypeChars(GetFocus(), "5");
  EXPECT_EQ(data.Field(kPageFill, 1).Text(), "5") << "Tab selects the field's text too";
  Press(data.CancelButton());
}

// The data form opens on its first field, and letters typed there go into
// the record, never to the buttons' letters (b is Bot, a is Add).
TEST_F(DataDialogWindows, DataFormTypingStaysInTheField) {
  PutRow("A1", {"Name", "Price"});
  PutRow("A2", {"pear", "3"});
  PutRow("A3", {"fig", "4"});
  PutRow("A4", {"kiwi", "5"});
  windows.selection = R("A1..B4");
  bool ran = false;
  RunInsideModal([&] {
    auto* form = dynamic_cast<TFdlg*>(TWinControl::FromHandle(GetActiveWindow()));
    ASSERT_NE(form, nullptr);
    ran = true;
    EXPECT_EQ(GetFocus(), form->ValueField(0)->Edit().Handle()) << uikit::ControlName(GetFocus());
    uikit::TypeChars(GetFocus(), "bea");
    EXPECT_EQ(form->ValueField(0)->Text(), "bea");
    EXPECT_EQ(form->RecordLine().Caption(), "Record:1 of 3");
    const uikit::TTabWalk walk = uikit::WalkTabOrder(form->Handle());
    EXPECT_EQ(walk.unreached, std::vector<std::string>{});
    EXPECT_EQ(walk.backwards, std::vector<std::string>{});
    EXPECT_EQ(uikit::OverlappingControls(form->Handle()), std::vector<std::string>{});
    // A click on a field moves the keyboard there.
    uikit::Click(form->ValueField(1)->Edit().Handle(), {4, 4});
    EXPECT_EQ(GetFocus(), form->ValueField(1)->Edit().Handle());
    Press(form->CancelButton());
  });
  ShowDataForm(R("A1..B4"));
  EXPECT_TRUE(ran);
  EXPECT_EQ(Contents("A5"), "") << "no record was added";
  EXPECT_EQ(Contents("A2"), "'pear");
}

}  // namespace
}  // namespace corvane

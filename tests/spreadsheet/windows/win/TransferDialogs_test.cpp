// The merge, transfer and audit dialogs under Wine, on a real document with
// the fake window services: fields set by real input, Ok, the range prompts,
// the main window disabled while a dialog shows; a picture of each.
#include <string>
#include <string_view>

#include "classlib/win/Application.h"
#include "spreadsheet/engine/RangePrompt.h"
#include "spreadsheet/files/win/MergeForm.h"
#include "spreadsheet/files/win/TransferForm.h"
#include "spreadsheet/windows/win/AuditForm.h"
#include "tests/spreadsheet/windows/win/DialogWindowTest.h"

namespace corvane {
namespace {

using namespace classlib;
using testing::WriteWholeFile;

class TransferDialogWindows : public testing::DialogWindowTest {};

TEST_F(TransferDialogWindows, MergeDialog) {
  Enter(0, 0, "3");
  Enter(1, 0, "4");
  ASSERT_LT(RangeNameCreate("TOP", testing::MakeRange(0, 0, 0, 0)), 0);
  ASSERT_TRUE(SaveWorksheet(Path("SOURCE.WKS"), false, TRange{}));
  NewDocument("TARGET.WKS");
  Enter(0, 2, "10");
  windows.cursorRow = 2;
  windows.cursorCol = 1;

  TMergeDlg& dialog = MergeDialog(main_);
  dialog.Setup(Path("SOURCE.WKS"), kMergeByValue);
  uikit::RunUntilIdle();
  EXPECT_EQ(dialog.Caption(), "Merge Value");
  EXPECT_FALSE(MainEnabled());
  EXPECT_EQ(dialog.Target().Text(), "B3");
  EXPECT_EQ(dialog.Names().Items(), std::vector<std::string>{"TOP: A1"});
  EXPECT_TRUE(dialog.All().Checked());
  EXPECT_TRUE(dialog.Action(kMergeReplace).Checked());

  // A target that is no cell: its message, and the dialog stays.
  Type(dialog.Target().Edit(), "ZZ9");
  Press(dialog.OkButton());
  uikit::RunUntilIdle();
  EXPECT_TRUE(Showing(dialog));
  EXPECT_EQ(testing::gShownErrors.size(), 1u);

  // The target from a range prompt: the dialog hides meanwhile.
  uikit::DoubleClick(dialog.Target().Edit().Handle(), {5, 5});
  EXPECT_FALSE(Showing(dialog));
  EXPECT_NE(windows.promptCaption.find(kMergeInsertCellCaption), std::string::npos);
  windows.promptText = "C1";
  RangePromptEnd(true);
  uikit::RunUntilIdle();
  ASSERT_TRUE(Showing(dialog));
  EXPECT_EQ(dialog.Target().Text(), "C1");

  // Tab passing through the list leaves the source alone; a click into it
  // takes the named range, added onto C1.
  dialog.All().SetFocus();
  uikit::PressKey(dialog.All().Handle(), VK_TAB);
  EXPECT_TRUE(IsChild(dialog.Names().Handle(), GetFocus()) || GetFocus() == dialog.Names().Handle());
  EXPECT_TRUE(dialog.All().Checked());
  dialog.Target().Edit().SetFocus();
  HWND listEdit = FindWindowExA(dialog.Names().Handle(), nullptr, "Edit", nullptr);
  uikit::Click(listEdit != nullptr ? listEdit : dialog.Names().Handle(), {5, 5});
  uikit::RunUntilIdle();
  EXPECT_TRUE(dialog.RangeButton().Checked());
  Press(dialog.Action(kMergeSum));
  EXPECT_NE(uikit::SaveWindowPicture(dialog.Handle(), "merge-dialog"), "");
  Press(dialog.OkButton());
  uikit::RunUntilIdle();
  EXPECT_FALSE(Showing(dialog));
  EXPECT_TRUE(MainEnabled());
  EXPECT_EQ(Contents(0, 2), "13");
  EXPECT_EQ(CellFind(1, 2), kNilHandle) << "only the named range is merged";

  // By formula the actions are off.
  dialog.Setup(Path("SOURCE.WKS"), kMergeByFormula);
  uikit::RunUntilIdle();
  EXPECT_EQ(dialog.Caption(), "Merge by Formula");
  EXPECT_FALSE(dialog.Action(kMergeSum).Enabled());
  Press(dialog.CancelButton());
  EXPECT_FALSE(Showing(dialog));
  EXPECT_TRUE(MainEnabled());
}

TEST_F(TransferDialogWindows, TransferDialog) {
  WriteWholeFile(Path("IN.TXT"), "1,2\r\n");
  windows.selection = testing::MakeRange(1, 0, 1, 0);
  TTransdlg& dialog = TransferDialog(main_);
  dialog.Open(kTransferImportPage, Path("IN.TXT"), kImportValues);
  uikit::RunUntilIdle();
  EXPECT_EQ(dialog.Caption(), "Import Values");
  EXPECT_EQ(dialog.Field(kTransferImportPage).Text(), "B1");
  EXPECT_FALSE(MainEnabled());
  Type(dialog.Field(kTransferImportPage).Edit(), "C2");
  Press(dialog.OkButton());
  uikit::RunUntilIdle();
  EXPECT_FALSE(Showing(dialog));
  EXPECT_TRUE(MainEnabled());
  EXPECT_EQ(Contents(1, 2), "1");
  EXPECT_EQ(Contents(1, 3), "2");

  // A dBase file: its counts, records 2 to 3 from "Start:".
  Enter(5, 0, "'NAME");
  for (int r = 6; r <= 9; ++r) Enter(r, 0, "'R" + std::to_string(r - 5));
  dialog.Open(kTransferExportPage, Path("T.DBF"), kExportDbase);
  uikit::RunUntilIdle();
  Type(dialog.Field(kTransferExportPage).Edit(), "A6..A10");
  Press(dialog.OkButton());
  uikit::RunUntilIdle();
  windows.selection = testing::MakeRange(5, 0, 5, 0);
  dialog.Open(kTransferDbasePage, Path("T.DBF"), 0);
  uikit::RunUntilIdle();
  EXPECT_EQ(dialog.Caption(), "Import Dbase");
  EXPECT_EQ(dialog.Fields().Caption(), "1");
  EXPECT_EQ(dialog.Records().Caption(), "4");
  EXPECT_EQ(dialog.FileLabel(kTransferDbasePage).Caption().substr(1), ":\\...T.DBF");
  Press(dialog.StartRecord());
  EXPECT_EQ(GetFocus(), dialog.StartEdit().Handle());
  uikit::TypeChars(dialog.StartEdit().Handle(), "2");
  Type(dialog.StopEdit(), "3");
  EXPECT_NE(uikit::SaveWindowPicture(dialog.Handle(), "transfer-dialog"), "");
  Press(dialog.OkButton());
  uikit::RunUntilIdle();
  EXPECT_EQ(Contents(0, 5), "'NAME");
  EXPECT_EQ(Contents(1, 5), "'R2");
  EXPECT_EQ(Contents(2, 5), "'R3");
  EXPECT_EQ(CellFind(3, 5), kNilHandle);
}

TEST_F(TransferDialogWindows, AuditDialog) {
  Enter(0, 0, "2");
  Enter(1, 0, "1.5");
  Enter(0, 1, "+A1+1");
  Enter(1, 1, "+A1*B1");
  Enter(2, 1, "'note");
  TAuditDlg& dialog = AuditDialog(main_);
  dialog.Open();
  uikit::RunUntilIdle();
  EXPECT_EQ(dialog.Caption(), kAuditCaption);
  EXPECT_EQ(dialog.CellField().Text(), "A1");
  EXPECT_EQ(dialog.TreeContent().References(), 3);
  EXPECT_EQ(dialog.TreeTotals().Caption().substr(0, 13), "References: 3");
  EXPECT_FALSE(dialog.PrintButton().Visible());
  // A new root typed into the cell field.
  Type(dialog.CellField().Edit(), "B1");
  uikit::PressKey(dialog.CellField().Edit().Handle(), VK_RETURN);
  EXPECT_TRUE(Showing(dialog)) << "Enter builds the tree, it does not close";
  EXPECT_EQ(dialog.TreeContent().References(), 1);
  EXPECT_NE(uikit::SaveWindowPicture(dialog.Handle(), "audit-tree"), "");

  // The other pages by clicks on their tabs.
  auto clickTab = [&](int index) {
    TTabBarModel& model = dialog.Tabs().Model();
    uikit::Click(dialog.Tabs().Handle(), {model.TabLeft(index) + model.TabWidth(index) / 2, 10});
    uikit::RunUntilIdle();
  };
  clickTab(TAuditDlg::kOverviewPage);
  EXPECT_EQ(dialog.OverviewTotals().Caption(), "Last Cell: B3    Cells: 5");
  EXPECT_NE(uikit::SaveWindowPicture(dialog.Handle(), "audit-overview"), "");
  clickTab(TAuditDlg::kStatsPage);
  EXPECT_TRUE(dialog.PrintButton().Visible());
  EXPECT_NE(uikit::SaveWindowPicture(dialog.Handle(), "audit-stats"), "");
  clickTab(TAuditDlg::kXRefPage);
  Type(dialog.RangeField().Edit(), "A1..B2");
  ASSERT_EQ(dialog.XRefList().Count(), 4);
  EXPECT_EQ(dialog.XRefList().Item(0)->Caption, "A1");
  EXPECT_NE(uikit::SaveWindowPicture(dialog.Handle(), "audit-xref"), "");
  Press(dialog.OkButton());
  EXPECT_FALSE(Showing(dialog));
  EXPECT_TRUE(MainEnabled());
}

}  // namespace
}  // namespace corvane

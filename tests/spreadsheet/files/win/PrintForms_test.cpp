// The print dialog and the preview under Wine, driven by messages: the
// options page stores what was typed, a chosen graph turns preview and print
// to file off, a range prints to a text file, and the preview shows pages 1
// and 2 (pictures of both and of the dialog's pages are left in the build's
// pictures folder), zooms by a drag and counts again at a new text scale.
#include "spreadsheet/files/win/PrintForms.h"

#include <fstream>
#include <sstream>

#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/files/SettingsFile.h"
#include "spreadsheet/files/WorksheetFileState.h"
#include "spreadsheet/files/win/Printer.h"
#include "tests/spreadsheet/files/PrintTestSupport.h"
#include "tests/support/win/DialogChecks.h"
#include "tests/support/win/UiKit.h"

namespace corvane {
namespace {

using namespace classlib;

// The texts of the message box the thread shows next, closed with OK as soon
// as it is up.
std::string gMessageText;

BOOL CALLBACK CollectText(HWND child, LPARAM) {
  char text[256] = {};
  GetWindowTextA(child, text, sizeof text);
  gMessageText += text;
  gMessageText += "|";
  return TRUE;
}

BOOL CALLBACK AnswerIfMessageBox(HWND window, LPARAM) {
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  if (std::string(name) != "#32770" || !IsWindowVisible(window)) return TRUE;
  EnumChildWindows(window, CollectText, 0);
  PostMessageA(window, WM_COMMAND, IDOK, 0);
  return FALSE;
}

void CALLBACK AnswerMessageBox(HWND, UINT, UINT_PTR timer, DWORD) {
  EnumThreadWindows(GetCurrentThreadId(), AnswerIfMessageBox, 0);
  if (!gMessageText.empty()) KillTimer(nullptr, timer);
}

class PrintFormsTest : public testing::PrintTest {
 protected:
  PrintFormsTest() : PrintTest("BUDGET.WKS") {}
  void SetUp() override {
    PrintTest::SetUp();
    const char* items[] = {"'Rent", "'Power", "'Phone", "'Travel", "'Books"};
    for (int row = 0; row < 80; ++row) {
      ASSERT_TRUE(EnterCell(items[row % 5], row, 0));
      ASSERT_TRUE(EnterCell(std::to_string(100 + row * 7), row, 1));
      ASSERT_TRUE(EnterCell("+B" + std::to_string(row + 1) + "*2", row, 2));
    }
    ASSERT_TRUE(EnterCell("'Household budget, first half of the year", 0, 4));
    CurrentFileState().printHeader = "Budget|^F|Page #";
    CurrentFileState().printFooter = "Printed by Corvane";
  }
  static void Click(TWinControl& control) {
    SendMessageA(control.Handle(), BM_CLICK, 0, 0);
    uikit::RunUntilIdle();
  }
};

TEST_F(PrintFormsTest, DialogStoresOptionsChoosesAndPrintsToFile) {
  Tmyprint dialog(nullptr, [] { return std::make_unique<testing::TFakePrintSheet>(); });
  dialog.Open();
  uikit::RunUntilIdle();
  EXPECT_EQ(dialog.Text(), "Print");
  EXPECT_EQ(dialog.AllLabel.Text(), "A1..E80");
  EXPECT_TRUE(dialog.AllButton.Checked());
  uikit::SaveWindowPicture(dialog.Handle(), "print-dialog");
  // From the keyboard: it opens on its first field, Tab goes round every
  // control in reading order, nothing overlaps.
  EXPECT_EQ(uikit::ControlName(GetFocus()), "ComboBox<Printer:>");
  const uikit::TTabWalk walk = uikit::WalkTabOrder(dialog.Handle());
  ASSERT_FALSE(walk.cycle.empty());
  EXPECT_EQ(walk.cycle.back().find("trapped"), std::string::npos) << walk.cycle.back();
  EXPECT_EQ(walk.unreached, std::vector<std::string>{});
  EXPECT_EQ(walk.backwards, std::vector<std::string>{});
  EXPECT_EQ(uikit::OverlappingControls(dialog.Handle()), std::vector<std::string>{});

  Click(dialog.OptionsButton);
  EXPECT_EQ(dialog.Text(), "Print Options");
  EXPECT_EQ(dialog.TopEdit.Text(), "0.50");
  dialog.TopEdit.SetText("0.75");
  dialog.RowsEdit.SetText("A1..A1");
  dialog.FooterEdit.SetText("Page #");
  SendMessageA(dialog.FooterLineCheck.Handle(), BM_CLICK, 0, 0);
  uikit::SaveWindowPicture(dialog.Handle(), "print-dialog-options");
  Click(dialog.OkButton);
  EXPECT_EQ(dialog.Text(), "Print");
  EXPECT_EQ(ProgramSettings().TopMargin, 0.75);
  EXPECT_EQ(CurrentFileState().printFooter, "Page #");
  EXPECT_TRUE(PrintOptions().footerLine);

  Click(dialog.GraphButton);
  EXPECT_FALSE(IsWindowEnabled(dialog.PreviewButton.Handle()));
  EXPECT_FALSE(IsWindowEnabled(dialog.FileButton.Handle()));
  Click(dialog.RangeButton);
  EXPECT_TRUE(IsWindowEnabled(dialog.PreviewButton.Handle()));

  dialog.RangeEdit.SetText("A2..B3");
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  std::string file = std::string(folder) + "PRINTOUT" + std::to_string(GetCurrentProcessId());
  dialog.PrintToFile(file);
  std::ifstream in(file + ".prn", std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_NE(text.str().find("Power"), std::string::npos) << text.str();
  EXPECT_NE(text.str().find("107\r\nPhone"), std::string::npos) << text.str();
  in.close();
  DeleteFileA((file + ".prn").c_str());

  // Without a printer, Print says so and nothing else happens.
  if (InstalledPrinters().empty()) {
    gMessageText.clear();
    UINT_PTR timer = SetTimer(nullptr, 0, 100, AnswerMessageBox);
    Click(dialog.PrintButton);
    KillTimer(nullptr, timer);
    EXPECT_NE(gMessageText.find(kNoPrinterText), std::string::npos) << gMessageText;
  }
  dialog.Hide();
}

TEST_F(PrintFormsTest, PreviewShowsPagesZoomsAndCountsAgain) {
  testing::TFakePrintSheet sheet;
  TPviewdlg preview(nullptr, sheet, 0);
  preview.Show();
  uikit::RunUntilIdle();
  ASSERT_GE(preview.PageCount(), 2);
  EXPECT_EQ(preview.OfLabel.Text(), "of " + std::to_string(preview.PageCount()));
  uikit::SaveWindowPicture(preview.Handle(), "print-preview-page1");
  preview.PageBox.SetItemIndex(1);
  preview.ShowPage(2);
  uikit::RunUntilIdle();
  EXPECT_EQ(preview.Page(), 2);
  uikit::SaveWindowPicture(preview.Handle(), "print-preview-page2");

  HWND area = preview.AreaHandle();
  std::string before = preview.ZoomLabel.Text();
  uikit::MouseDown(area, {200, 100});
  uikit::MouseMove(area, {300, 180}, ssLeft);
  uikit::MouseUp(area, {300, 180});
  uikit::RunUntilIdle();
  EXPECT_NE(preview.ZoomLabel.Text(), before);
  // Each right click halves the zoom, down to 1.
  for (int i = 0; i < 4 && preview.ZoomLabel.Text() != before; ++i) {
    uikit::Click(area, {300, 180}, TMouseButton::mbRight);
    uikit::RunUntilIdle();
  }
  EXPECT_EQ(preview.ZoomLabel.Text(), before);

  preview.TextEdit.SetText("20");
  preview.TextScaleEntered();
  EXPECT_EQ(PrintOptions().textScale, kPreviewScaleMin);
  EXPECT_EQ(preview.TextEdit.Text(), "50");
  EXPECT_EQ(preview.Page(), 1);
  preview.Fit();
  EXPECT_GE(PrintOptions().textScale, kPreviewScaleMin);
  preview.Hide();
}

}  // namespace
}  // namespace corvane

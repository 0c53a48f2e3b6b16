// Every dialog of the program at the keyboard, on the real main frame with
// its real sheet windows: tables of every dialog the menus open (each page
// of the paged ones, each tab of a page walked in turn), in four groups that
// run side by side, each row put through the kit's dialog table (where it
// opens, Tab and Shift+Tab, reach, Alt letters, cut-off texts, Escape and
// Enter in every one-line field).
#include <gtest/gtest.h>

#include "classlib/win/Win32.h"

#include <functional>
#include <string>
#include <vector>

#include "classlib/win/Application.h"
#include "spreadsheet/controls/win/TabBarWindow.h"
#include "spreadsheet/data/win/DataFormWindow.h"
#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/DocumentTable.h"
#include "spreadsheet/engine/PagePool.h"
#include "spreadsheet/engine/WindowServices.h"
#include "spreadsheet/files/MergeDialog.h"
#include "spreadsheet/files/SettingsFile.h"
#include "spreadsheet/files/TransferDialog.h"
#include "spreadsheet/files/win/MergeForm.h"
#include "spreadsheet/files/win/TransferForm.h"
#include "spreadsheet/windows/win/MainFrame.h"
#include "spreadsheet/windows/win/ProgramSeamsWin.h"
#include "spreadsheet/windows/win/SheetWindows.h"
#include "tests/support/win/DialogTable.h"
#include "tests/support/win/UiKit.h"

namespace corvane {
namespace {

using namespace classlib;
using C = TCommandId;

std::vector<std::string>& Errors() {
  static std::vector<std::string> errors;
  return errors;
}
void RecordError(std::string_view message) { Errors().emplace_back(message); }

using uikit::TDialogRow;

// The tab strips of `dialog` in view.
void CollectTabBars(HWND parent, std::vector<tabbar*>& bars) {
  for (HWND h = GetWindow(parent, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT)) {
    if (!IsWindowVisible(h)) continue;
    if (auto* bar = dynamic_cast<tabbar*>(TWinControl::FromHandle(h))) bars.push_back(bar);
    CollectTabBars(h, bars);
  }
}

// Each further tab of the dialog's tab strips, chosen from the keyboard.
void WalkTabBars(HWND dialog, const std::function<void(const std::string&)>& check) {
  std::vector<tabbar*> bars;
  CollectTabBars(dialog, bars);
  for (tabbar* bar : bars)
    for (int tab = 1; tab < bar->Model().Count(); ++tab) {
      bar->SetFocus();
      uikit::PressKey(bar->Handle(), VK_SPACE);
      check("tab " + std::to_string(tab));
    }
  for (tabbar* bar : bars) bar->Model().SetItemIndex(0);
}

class DialogKeyboard : public testing::Test {
 protected:
  void SetUp() override {
    ProgramSettings() = TProgramSettings{};
    frame_ = new TForm1(nullptr, sheets_);
    sheets_.Attach(*frame_);
    InstallWindowsProgramSeams(sheets_.Views().Services(), RecordError, frame_->Handle());
    PoolInit();
    frame_->Position = TPosition::poDesigned;
    frame_->SetBounds(0, 0, 900, 650);
    frame_->Show();
    frame_->LoadStyleBoxes();
    ASSERT_TRUE(frame_->RunCommand(C::kNew));
    uikit::RunUntilIdle();
    // A small database for the data form, the cursor back on A1.
    const char* column[] = {"'Name", "'pear", "'fig", "'kiwi"};
    for (int row = 0; row < 4; ++row) ASSERT_TRUE(EnterCell(column[row], static_cast<std::int16_t>(row), 4));
    WindowServices().SetGridSelection(TRange{0, 0, 0, 0});
  }
  void TearDown() override {
    delete frame_;
    FreeAllDocuments();
    PoolFreeAll();
    RemoveProgramSeams();
  }
  std::function<void()> Command(C id) {
    return [this, id] { frame_->RunCommand(id); };
  }

  // Runs every check on each dialog of `rows`.
  void CheckDialogs(const std::vector<TDialogRow>& rows) { uikit::CheckDialogTable(frame_->Handle(), rows, WalkTabBars); }

  TProgramSheetWindows sheets_;
  TForm1* frame_ = nullptr;
};

// A worksheet to merge that is not there: the merge dialogs open on it.
constexpr const char* kMissingMerge = "C:\\NO-SUCH-FOLDER\\MERGE.WKS";

// Presses Alt+`letter` in the dialog: the way to a sub-page of a dialog.
std::function<void(HWND)> PressAlt(char letter) {
  return [letter](HWND) { uikit::PressKey(GetFocus(), letter, ssAlt); };
}

TEST_F(DialogKeyboard, FileAndCellDialogs) {
  CheckDialogs({
      {"Print", Command(C::kPrint), "ComboBox<Printer:>"},
      {"Print Options", Command(C::kPrint), "Edit<&Top: >", {}, PressAlt('T')},
      {"Merge Value", [this] { MergeDialog(*frame_).Setup(kMissingMerge, kMergeByValue); }, "Edit<&Insert at Cell: >"},
      {"Merge by Formula", [this] { MergeDialog(*frame_).Setup(kMissingMerge, kMergeByFormula); }, "Edit<&Insert at Cell: >"},
      {"Import", [this] { TransferDialog(*frame_).Open(kTransferImportPage, "C:\\IN.TXT", kImportValues); }, "Edit<&Target: >"},
      {"Export", [this] { TransferDialog(*frame_).Open(kTransferExportPage, "C:\\OUT.TXT", kExportCommaText); }, "Edit<&Source: >"},
      {"dBase", [this] { TransferDialog(*frame_).Open(kTransferDbasePage, "C:\\IN.DBF", 0); }, "Edit<&Target: >"},
      {"Doc Info", Command(C::kDocInfo), "Edit<&Title:>"},
      {"Get Info", Command(C::kGetInfo), "Button<&Ok>"},
      {"Find", Command(C::kFindReplace), "ComboBox<>", {"ComboBox<>"}},
      {"Word", Command(C::kWord), "Edit<>"},
      {"About", Command(C::kAbout), "Button<&Start Corvane>"},
  });
}

TEST_F(DialogKeyboard, SettingsAndRangeDialogs) {
  CheckDialogs({
      {"General Format", Command(C::kGeneralFormat), "TBmpBut<>"},
      {"General Option", Command(C::kGeneralOption), "Edit<Ro&ws: >"},
      {"General Typeface", Command(C::kGeneralTypeface), "ComboBox<&Face:>"},
      {"General Color", Command(C::kGeneralColor), "Button<&Label>"},
      {"General Files", Command(C::kGeneralFiles), "Edit<&Autoexec>"},
      {"General Advanced", Command(C::kGeneralAdvanced), "ComboBox<&Argument:>"},
      {"Column Width", Command(C::kColWidth), "Edit<R&ange: >"},
      {"Row Height", Command(C::kRowHeight), "Edit<R&ange: >"},
      {"Audit", Command(C::kAudit), "Edit<&Cell: >", {"Edit<&Cell: >", "Edit<&Range: >"}},
      {"Range Copy", Command(C::kRangeCopySpecial), "Edit<&From: >"},
      {"Range Name", Command(C::kRangeName), "Edit<&Name: >"},
      {"Justify", Command(C::kRangeJustify), "Edit<&Justify Range: >"},
      {"Properties Format", Command(C::kPropFormat), "ttabmenu<>"},
      {"Properties Format Label", Command(C::kPropFormat), "TBmpBut<>", {}, PressAlt('L')},
      {"Properties Shade", Command(C::kPropShade), "ttabmenu<>"},
      {"Properties Typeface", Command(C::kPropTypeface), "ttabmenu<>"},
      {"Properties Prefix", Command(C::kPropPrefix), "ttabmenu<>"},
      {"Properties Lock", Command(C::kPropLock), "ttabmenu<>"},
      {"Properties Border", Command(C::kPropBorder), "ttabmenu<>"},
  });
}

TEST_F(DialogKeyboard, DataAndArrayDialogs) {
  CheckDialogs({
      {"Data Fill", Command(C::kDataFill), "Edit<O&utput Cells: >"},
      {"Data Sort", Command(C::kDataSort), "Edit<&Data:  >"},
      {"Data Query", Command(C::kDataQuery), "Edit<&Input:  >"},
      {"Data Bin", Command(C::kDataBin), "Edit<&Input Data: >"},
      {"Data Parse", Command(C::kDataParse), "Edit<&Input Range: >"},
      {"Data Goal Seek", Command(C::kDataGoalSeek), "Edit<&Input Cell:  >"},
      {"Data Regress", Command(C::kDataRegress), "Edit<&Independant:  >"},
      {"Data MultiRegress", Command(C::kDataMultiRegress), "Edit<&X data: >"},
      {"Data Table", Command(C::kDataTable), "Edit<&1) Input:  >"},
      {"Data Form page", Command(C::kDataForm), "Edit<&Form: >"},
      {"Data Form", [] { ShowDataForm(TRange{4, 0, 4, 3}); }, "Edit<Name >",
       {"Edit<Name >"}},
      {"Array Add", Command(C::kArrayAdd), "Edit<&First: >"},
      {"Array Subtract", Command(C::kArraySubtract), "Edit<&First: >"},
      {"Array Multiply", Command(C::kArrayMultiply), "Edit<&First: >"},
      {"Array Transpose", Command(C::kArrayTranspose), "Edit<&Input: >"},
      {"Array Invert", Command(C::kArrayInvert), "Edit<&Input: >"},
      {"Array ESolve", Command(C::kArrayESolve), "Edit<&Input: >"},
      {"Array Determinate", Command(C::kArrayDeterminate), "Edit<&Input: >"},
      {"Array Linear", Command(C::kArrayLinear), "Edit<&Input: >"},
  });
}

TEST_F(DialogKeyboard, GraphDialogs) {
  CheckDialogs({
      {"Graph Type", Command(C::kGraphType), "tabbar<>"},
      {"Graph Ranges", Command(C::kGraphRanges), "tabbar<>"},
      {"Graph Legends", Command(C::kGraphLegends), "Edit<&1: >"},
      {"Graph Scale", Command(C::kGraphScale), "tabbar<>"},
      {"Graph Options", Command(C::kGraphOptions), "tabbar<>"},
      {"Graph Options Typeface", Command(C::kGraphOptions), "ListBox<>", {}, PressAlt('Y'), false},
      {"Graph Names", Command(C::kGraphNames), "Edit<N&ame:>"},
      {"Graph Headings", Command(C::kGraphHeadings), "Edit<&Main: >"},
      {"Graph Fonts", Command(C::kGraphFonts), "ListBox<>", {}, {}, false},
  });
}

}  // namespace
}  // namespace corvane

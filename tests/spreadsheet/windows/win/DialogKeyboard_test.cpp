// Every dialog of the program at the keyboard, on the real main frame with
// its real sheet windows: tables of every dialog the menus open (each page
// of the paged ones, each tab of a page walked in turn), in four groups that
// run side by side. For each: the
// control it opens on, and that field's text waiting to be typed over (also
// on the second use, when it keeps its text); Tab round every control in
// reading order and Shift+Tab back the same way; nothing that takes input
// out of reach; no Alt letter claimed twice; no text cut off; and Enter in
// every one-line field doing what the default button does (the dialog
// closes, the keyboard somewhere) unless the field has a use of its own.
#include <gtest/gtest.h>

#include "classlib/win/Win32.h"

#include <algorithm>
#include <functional>
#include <set>
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
#include "tests/support/win/DialogChecks.h"
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

std::string TextOf(HWND window) {
  char text[256] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

BOOL CALLBACK CollectVisible(HWND window, LPARAM param) {
  if (IsWindowVisible(window)) reinterpret_cast<std::set<HWND>*>(param)->insert(window);
  return TRUE;
}
std::set<HWND> VisibleWindows() {
  std::set<HWND> windows;
  EnumThreadWindows(GetCurrentThreadId(), CollectVisible, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

bool IsMessageBox(HWND window) {
  char name[16] = "";
  GetClassNameA(window, name, sizeof name);
  return lstrcmpA(name, "#32770") == 0;
}

// A script waiting for the dialog that is about to open.
struct TPendingScript {
  std::set<HWND> before;
  std::function<void(HWND)> script;
  HWND dialog = nullptr;
  bool done = false;
};
TPendingScript* gPending = nullptr;

// Message boxes are answered and written down, so that a row whose command
// shows one goes on instead of waiting for ever; a dialog that a dialog's
// command opened in turn (the data form from its page) is cancelled.
std::vector<std::string>& StrayBoxes() {
  static std::vector<std::string> boxes;
  return boxes;
}
void CALLBACK AnswerStrayWindows(HWND, UINT, UINT_PTR, DWORD) {
  for (HWND window : VisibleWindows()) {
    if (IsMessageBox(window)) {
      HWND text = GetDlgItem(window, 0xFFFF);
      StrayBoxes().push_back(TextOf(window) + ": " + (text != nullptr ? TextOf(text) : std::string()));
      PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
      PostMessageA(window, WM_COMMAND, IDOK, 0);
      continue;
    }
    auto* form = dynamic_cast<TForm*>(TWinControl::FromHandle(window));
    if (form != nullptr && form->Modal() && gPending != nullptr && gPending->dialog != nullptr &&
        gPending->dialog != window)
      form->SetModalResult(mrCancel);
  }
}

void CALLBACK RunPendingScript(HWND, UINT, UINT_PTR id, DWORD) {
  TPendingScript* pending = gPending;
  if (pending == nullptr || pending->dialog != nullptr) return;
  HWND dialog = GetActiveWindow();
  if (dialog == nullptr || pending->before.count(dialog) != 0 || !IsWindowVisible(dialog) || IsMessageBox(dialog))
    return;
  KillTimer(nullptr, id);
  pending->dialog = dialog;
  uikit::RunUntilIdle();
  pending->script(dialog);
  // A dialog the script left up is cancelled; one whose modal run has its
  // answer is left to end it.
  auto* form = dynamic_cast<TForm*>(TWinControl::FromHandle(dialog));
  const bool answered = form != nullptr && form->Modal() && form->ModalResult() != mrNone;
  if (IsWindow(dialog) && IsWindowVisible(dialog) && !answered) SendMessageA(dialog, WM_CLOSE, 0, 0);
  pending->done = true;
}

// Runs `script` on the dialog `open` brings up, from within its run (a
// modal one runs inside `open`); a dialog the script leaves up is cancelled.
// False when no dialog came.
bool WithDialog(const std::function<void()>& open, const std::function<void(HWND)>& script) {
  TPendingScript pending{VisibleWindows(), script};
  gPending = &pending;
  const UINT_PTR timer = SetTimer(nullptr, 0, 30, RunPendingScript);
  open();
  uikit::RunUntil([&] { return pending.done; }, 15000);
  KillTimer(nullptr, timer);
  gPending = nullptr;
  uikit::RunUntilIdle();
  return pending.done;
}

// A row of the table: a dialog (or one page of it) as a menu command opens
// it; `prepare` takes it to a sub-page first; `first` is the control it
// opens on; Enter in the fields of `ownEnter` has a use of its own (it stays
// in the dialog); Escape closes it (pressed twice: the first may empty a
// field) unless `escapeCloses` is false (the font pages keep it for their
// list).
struct TDialogRow {
  const char* name;
  std::function<void()> open;
  std::string first;
  std::vector<std::string> ownEnter = {};
  std::function<void(HWND)> prepare = {};
  bool escapeCloses = true;
};

// The default button of `dialog` in view, or null.
HWND DefaultButton(HWND parent) {
  for (HWND h = GetWindow(parent, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT)) {
    if (!IsWindowVisible(h)) continue;
    char name[16] = "";
    GetClassNameA(h, name, sizeof name);
    if (lstrcmpiA(name, "Button") == 0 && (GetWindowLongA(h, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) return h;
    if (HWND inner = DefaultButton(h)) return inner;
  }
  return nullptr;
}

// The dialog has gone (or its modal run has its answer).
bool Closed(HWND dialog) {
  auto* form = dynamic_cast<TForm*>(TWinControl::FromHandle(dialog));
  return !IsWindowVisible(dialog) || (form != nullptr && form->Modal() && form->ModalResult() != mrNone);
}

// The tab strips of `dialog` in view.
void CollectTabBars(HWND parent, std::vector<tabbar*>& bars) {
  for (HWND h = GetWindow(parent, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT)) {
    if (!IsWindowVisible(h)) continue;
    if (auto* bar = dynamic_cast<tabbar*>(TWinControl::FromHandle(h))) bars.push_back(bar);
    CollectTabBars(h, bars);
  }
}

// The checks that need no second opening, on what shows now.
void CheckWhatShows(HWND dialog, const std::string& where) {
  SCOPED_TRACE(where);
  const uikit::TTabWalk walk = uikit::WalkTabOrder(dialog);
  if (!walk.cycle.empty()) {
    EXPECT_EQ(walk.cycle.back().find("trapped"), std::string::npos) << walk.cycle.back();
  }
  EXPECT_EQ(walk.reverse, std::vector<std::string>{});
  EXPECT_EQ(walk.unreached, std::vector<std::string>{});
  EXPECT_EQ(walk.backwards, std::vector<std::string>{});
  EXPECT_EQ(uikit::AltLetterClashes(dialog), std::vector<std::string>{});
  EXPECT_EQ(uikit::ClippedTexts(dialog), std::vector<std::string>{});
  EXPECT_EQ(uikit::OverlappingControls(dialog), std::vector<std::string>{});
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
    strayTimer_ = SetTimer(nullptr, 0, 250, AnswerStrayWindows);
  }
  void TearDown() override {
    KillTimer(nullptr, strayTimer_);
    delete frame_;
    FreeAllDocuments();
    PoolFreeAll();
    RemoveProgramSeams();
  }
  std::function<void()> Command(C id) {
    return [this, id] { frame_->RunCommand(id); };
  }

  // Runs every check on each dialog of `rows`.
  void CheckDialogs(const std::vector<TDialogRow>& rows) {
    setvbuf(stdout, nullptr, _IONBF, 0);
    for (const TDialogRow& row : rows) {
      SCOPED_TRACE(row.name);
      std::printf("-- %s\n", row.name);
      const auto prepare = [&row](HWND dialog) {
        if (row.prepare) {
          row.prepare(dialog);
          uikit::RunUntilIdle();
        }
      };
      // First use: where it opens, then the checks on each tab; what is typed
      // into the opening field stays for the second use of a dialog that keeps
      // its texts.
      ASSERT_TRUE(WithDialog(row.open, [&](HWND dialog) {
        prepare(dialog);
        const HWND focus = GetFocus();
        std::printf("%-24s opens on %s\n", row.name, uikit::ControlName(focus).c_str());
        if (!row.first.empty()) {
          EXPECT_EQ(uikit::ControlName(focus), row.first);
        }
        EXPECT_EQ(uikit::OpeningTextProblem(focus), "");
        CheckWhatShows(dialog, "tab 0");
        std::vector<tabbar*> bars;
        CollectTabBars(dialog, bars);
        for (tabbar* bar : bars)
          for (int tab = 1; tab < bar->Model().Count(); ++tab) {
            bar->SetFocus();
            uikit::PressKey(bar->Handle(), VK_SPACE);
            CheckWhatShows(dialog, "tab " + std::to_string(tab));
          }
        for (tabbar* bar : bars) bar->Model().SetItemIndex(0);
        char focusClass[16] = "";
        GetClassNameA(focus, focusClass, sizeof focusClass);
        if (focus != nullptr && IsWindowVisible(focus) && lstrcmpiA(focusClass, "Edit") == 0) {
          SetFocus(focus);
          SendMessageA(focus, EM_SETSEL, 0, -1);
          uikit::TypeChars(focus, "A1");
        }
      })) << "no dialog came";
      EXPECT_TRUE(IsWindowEnabled(frame_->Handle()));
      // Second use: the field it opens on offers its text whole; Escape
      // closes it.
      ASSERT_TRUE(WithDialog(row.open, [&](HWND dialog) {
        prepare(dialog);
        EXPECT_EQ(uikit::OpeningTextProblem(GetFocus()), "") << "on the second use";
        for (int press = 0; press < 2 && !Closed(dialog); ++press) uikit::PressKey(GetFocus(), VK_ESCAPE);
        EXPECT_EQ(Closed(dialog), row.escapeCloses) << "after Escape";
      }));

      // What the default button does, pressed with the keyboard in the first
      // field (a button waiting for a change, or one that refuses what the
      // fields hold, leaves the dialog up).
      bool okCloses = false;
      ASSERT_TRUE(WithDialog(row.open, [&](HWND dialog) {
        prepare(dialog);
        const HWND button = DefaultButton(dialog);
        if (button == nullptr || !IsWindowEnabled(button)) return;
        const std::vector<HWND> fields = uikit::EnterFields(dialog);
        if (!fields.empty()) SetFocus(fields.front());
        uikit::Click(button, {8, 8});
        okCloses = Closed(dialog);
      }));
      // Enter in each one-line field, one opening each: the same, unless the
      // field has a use of its own for it.
      for (std::size_t k = 0;; ++k) {
        bool more = false, closed = false;
        std::string field;
        ASSERT_TRUE(WithDialog(row.open, [&](HWND dialog) {
          prepare(dialog);
          const std::vector<HWND> fields = uikit::EnterFields(dialog);
          if (k >= fields.size()) return;
          more = true;
          field = uikit::ControlName(fields[k]);
          SetFocus(fields[k]);
          uikit::PressKey(GetFocus(), VK_RETURN);
          closed = Closed(dialog);
          if (!closed) {
            EXPECT_TRUE(GetFocus() != nullptr && IsChild(dialog, GetFocus())) << "Enter in " << field;
          }
        }));
        if (!more) break;
        const bool own = std::find(row.ownEnter.begin(), row.ownEnter.end(), field) != row.ownEnter.end();
        EXPECT_EQ(closed, okCloses && !own) << "Enter in " << field;
        EXPECT_NE(GetFocus(), nullptr) << "after Enter in " << field;
        EXPECT_TRUE(IsWindowEnabled(frame_->Handle())) << "after Enter in " << field;
      }
    }
    // The message boxes the commands showed (printing without a printer).
    for (const std::string& box : StrayBoxes()) std::printf("message box: %s\n", box.c_str());
  }

  TProgramSheetWindows sheets_;
  TForm1* frame_ = nullptr;
  UINT_PTR strayTimer_ = 0;
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

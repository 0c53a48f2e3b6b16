// The main frame under Wine with plain MDI children standing in for the sheet
// windows: the menus in the no-sheet and sheet-open states, new sheets,
// tiling, the recent-file items, Close All, every offered command bound,
// every menu's letters unique; then a picture.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "classlib/win/Application.h"
#include "spreadsheet/engine/DocumentTable.h"
#include "spreadsheet/engine/PagePool.h"
#include "spreadsheet/files/SettingsFile.h"
#include "spreadsheet/windows/NewSheet.h"
#include "spreadsheet/windows/win/MainFrame.h"
#include "tests/support/MenuLetters.h"
#include "tests/support/win/UiKit.h"

namespace corvane {
namespace {

using namespace classlib;

// Each sheet window is a plain MDI child that holds its document.
class TTestSheets : public TSheetWindows {
 public:
  TForm* CreateSheetWindow(TForm1& frame, std::string_view name, bool untitled) override {
    frame_ = &frame;
    int slot = 0;
    TOpenResult result = RegisterOpenSheet(name, slot, untitled);
    if (result == TOpenResult::kFailed || !ActivateDocumentContext(slot)) return nullptr;
    if (result == TOpenResult::kNew) InitNewSheet();
    auto* window = new TForm(&frame, std::string(name));
    window->FormStyle = TFormStyle::fsMDIChild;
    window->OnClose = [this, window](TObject*, TCloseAction& action) {
      Forget(window);
      action = caFree;
    };
    slots_[window] = slot;
    window->Show();
    return window;
  }
  void DiscardSheetWindow(TForm* window) override {
    Forget(window);
    delete window;
  }
  void RenameActiveSheetWindow(std::string_view name) override {
    if (frame_ != nullptr && frame_->ActiveMDIChild() != nullptr) frame_->ActiveMDIChild()->SetCaption(std::string(name));
  }
  void SetGridExtendMode(bool) override {}
  TSheetFonts SheetFonts() override { return {"Arial", 12, nullptr}; }
  void SetFontList(const std::vector<std::string>&) override {}
  void RecalculateAll() override {}
  TSheetView* ActiveView() override { return nullptr; }

 private:
  void Forget(TForm* window) {
    auto it = slots_.find(window);
    if (it == slots_.end()) return;
    ReleaseOpenSheet(DocSlot(it->second)->ownerTag);
    slots_.erase(it);
  }
  std::map<TForm*, int> slots_;
  TForm1* frame_ = nullptr;
};

bool Grayed(HMENU menu, int position) {
  return (GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION) & MF_GRAYED) != 0;
}

// The letter faults of the frame's menu bar and the panes' pop-up as they
// are now.
std::vector<std::string> MenuLetterFaults(TForm1& frame) {
  std::vector<std::string> faults = testsupport::MenuLetterFaults(*frame.MainMenu().Items(), "menu bar");
  for (const std::string& fault : testsupport::MenuLetterFaults(*frame.PaneMenu()->Items(), "pop-up"))
    faults.push_back(fault);
  return faults;
}

TEST(FrameWindow, MenusSheetsAndRecentFiles) {
  PoolInit();
  ProgramSettings() = TProgramSettings{};
  ProgramSettings().History = {"C:\\A\\ONE.WKS", "C:\\B\\TWO.WKS"};
  TTestSheets sheets;
  auto* frame = new TForm1(nullptr, sheets);
  frame->SetBounds(0, 0, 900, 600);
  frame->Show();
  frame->LoadStyleBoxes();
  uikit::RunUntilIdle();
  // The columns' states change on the bar the frame has: a bar made again as
  // a menu opens would take the one the system tracks away.
  auto bar = [frame] { return GetMenu(frame->Handle()); };
  ASSERT_NE(bar(), nullptr);
  const HMENU firstBar = bar();
  EXPECT_EQ(GetMenuItemCount(bar()), static_cast<int>(MainMenuSpec().size()));
  EXPECT_FALSE(Grayed(bar(), 0)) << "File is always there";
  EXPECT_TRUE(Grayed(bar(), 1)) << "Edit needs a sheet window";
  EXPECT_EQ(frame->PnProgress.Text(), "Empty");
  EXPECT_FALSE(frame->RunCommand(TCommandId::kSave));
  // Every command the built frame offers has a handler, but for the two
  // Across Row items, whose action is not defined.
  std::size_t offered = 0;
  for (const auto& [where, id] : frame->OfferedCommands()) {
    const bool acrossRow = id == TCommandId::kInsertAcross || id == TCommandId::kDeleteAcross;
    EXPECT_EQ(frame->Commands().Bound(id), !acrossRow) << where;
    ++offered;
  }
  EXPECT_GT(offered, 150u);
  // Resting the mouse on a quick-bar button puts its hint in the caption;
  // the caption comes back once the mouse is elsewhere.
  HWND firstButton = GetWindow(frame->QuickBar.Handle(), GW_CHILD);
  ASSERT_NE(firstButton, nullptr);
  uikit::MouseMove(firstButton, {5, 5});
  EXPECT_EQ(frame->Caption(), QuickBarSpec()[0].hint);
  SetCursorPos(0, 0);
  Sleep(300);
  uikit::RunUntilIdle();
  EXPECT_EQ(frame->Caption(), "Corvane");

  // The recent files: newest first, under the File menu.
  TMenuItem& file = *frame->MainMenu().Items()->Items(0);
  EXPECT_EQ(file.Items(file.Count() - 2)->Caption, "&0 TWO.WKS");
  EXPECT_EQ(file.Items(file.Count() - 1)->Caption, "&1 ONE.WKS");
  EXPECT_EQ(MenuLetterFaults(*frame), std::vector<std::string>{}) << "no sheet open";

  ASSERT_TRUE(frame->RunCommand(TCommandId::kNew));
  ASSERT_TRUE(frame->RunCommand(TCommandId::kNew));
  uikit::RunUntilIdle();
  ASSERT_EQ(frame->SheetWindows().size(), 2u);
  EXPECT_EQ(frame->ActiveMDIChild()->Caption(), "SHEET2.WKS");
  EXPECT_FALSE(Grayed(bar(), 1));
  EXPECT_EQ(bar(), firstBar);
  // With sheets open, and with a recent list long enough for "More" whose
  // names hold "&": each name shows its "&" and takes no letter.
  EXPECT_EQ(MenuLetterFaults(*frame), std::vector<std::string>{}) << "sheets open";
  const TProgramSettings settings = ProgramSettings();
  ProgramSettings().HSize = 10;
  ProgramSettings().History = {"C:\\1.WKS", "C:\\2.WKS", "C:\\3.WKS", "C:\\4.WKS", "C:\\5.WKS", "C:\\R&D\\T&C.WKS",
                               "C:\\6.WKS"};
  frame->RecentFilesChanged();
  EXPECT_EQ(file.Items(file.Count() - 1)->Caption, "More");
  EXPECT_EQ(file.Items(file.Count() - 5)->Caption, "&1 T&&C.WKS");
  EXPECT_EQ(MenuLetterFaults(*frame), std::vector<std::string>{}) << "a long recent list";
  ProgramSettings() = settings;
  frame->RecentFilesChanged();
  EXPECT_EQ(frame->PnProgress.Text(), "");
  // The graph settings, not modal from the menu, keep the frame waiting
  // until they go.
  ASSERT_TRUE(frame->RunCommand(TCommandId::kGraphType));
  uikit::RunUntilIdle();
  HWND graphSettings = GetActiveWindow();
  EXPECT_NE(graphSettings, frame->Handle());
  EXPECT_FALSE(IsWindowEnabled(frame->Handle()));
  SendMessageA(graphSettings, WM_COMMAND, IDCANCEL, 0);
  uikit::RunUntilIdle();
  EXPECT_FALSE(IsWindowVisible(graphSettings));
  EXPECT_TRUE(IsWindowEnabled(frame->Handle()));
  ASSERT_TRUE(frame->RunCommand(TCommandId::kTile));
  frame->MDIActivate(frame->SheetWindows().back());
  uikit::RunUntilIdle();
  EXPECT_EQ(frame->ActiveMDIChild()->Caption(), "SHEET1.WKS");
  EXPECT_FALSE(uikit::SaveWindowPicture(frame->Handle(), "corvane-frame").empty());

  // Two files of one name in two folders: a macro's FILEFOCUS and FILECLOSE
  // with a folder act on that one file, however it is spelt.
  frame->RenameActiveSheetWindow("C:\\A\\X.WKS");
  for (TForm* window : frame->SheetWindows())
    if (window->Caption() == "SHEET2.WKS") frame->MDIActivate(window);
  frame->RenameActiveSheetWindow("C:\\B\\X.WKS");
  frame->RunMacroText("{FILEFOCUS \"C:\\A\\X.WKS\"}");
  uikit::RunUntilIdle();
  EXPECT_EQ(frame->ActiveMDIChild()->Caption(), "C:\\A\\X.WKS");
  frame->RunMacroText("{FILECLOSE \"c:/b/x.wks\"}");
  uikit::RunUntilIdle();
  ASSERT_EQ(frame->SheetWindows().size(), 1u) << "the file of the same name in another folder stays open";
  EXPECT_EQ(frame->ActiveMDIChild()->Caption(), "C:\\A\\X.WKS");
  // A sheet never saved is known by its bare name: closing it leaves a
  // saved file of that name open.
  ASSERT_TRUE(frame->RunCommand(TCommandId::kNew));
  const std::string untitled = frame->ActiveMDIChild()->Caption();
  frame->MDIActivate(frame->SheetWindows().back());
  frame->RenameActiveSheetWindow("C:\\A\\" + untitled);
  for (TForm* window : frame->SheetWindows())
    if (window->Caption() == untitled) frame->MDIActivate(window);
  frame->RunMacroText("{FILECLOSE \"" + untitled + "\"}");
  uikit::RunUntilIdle();
  ASSERT_EQ(frame->SheetWindows().size(), 1u) << "a saved file of the unsaved sheet's name stays open";
  EXPECT_EQ(frame->ActiveMDIChild()->Caption(), "C:\\A\\" + untitled);
  ASSERT_TRUE(frame->RunCommand(TCommandId::kNew));

  ASSERT_TRUE(frame->RunCommand(TCommandId::kCloseAll));
  uikit::RunUntilIdle();
  EXPECT_TRUE(frame->SheetWindows().empty());
  EXPECT_EQ(frame->PnProgress.Text(), "Empty");
  EXPECT_TRUE(Grayed(bar(), 1));
  // Nothing can take an entry now: the entry line refuses typing. With the
  // recent list emptied the File column ends at Exit, with no separator.
  EXPECT_FALSE(frame->EntryEnabled());
  uikit::TypeChars(frame->Edit1.Handle(), "12");
  EXPECT_EQ(frame->Edit1.Text(), "");
  ProgramSettings().History.clear();
  frame->RecentFilesChanged();
  EXPECT_EQ(file.Items(file.Count() - 1)->Caption, "E&xit");
  delete frame;
  FreeAllDocuments();
  PoolFreeAll();
}

}  // namespace
}  // namespace corvane

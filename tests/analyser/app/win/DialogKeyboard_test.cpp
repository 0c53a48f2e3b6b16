// Every dialog and page of Foldwick at the keyboard, on the real main window
// with a folder scanned: the options dialog (each page, and again once a
// cluster size chosen has turned OK into Scan), the About box, the size box
// of the tree commands, the file search window (each page) and the boxes it
// opens, each row put through the kit's dialog table (where it opens, Tab
// and Shift+Tab, reach, Alt letters, cut-off texts, Escape and Enter in
// every one-line field). Page Setup is the system's dialog and wants a
// printer, which these machines lack.
#include <gtest/gtest.h>

#include "classlib/win/Win32.h"

#include <memory>
#include <string>
#include <vector>

#include "analyser/app/win/MainForm.h"
#include "analyser/app/win/SearchForm.h"
#include "classlib/win/Registry.h"
#include "tests/analyser/win/TestFolders.h"
#include "tests/support/MenuLetters.h"
#include "tests/support/win/DialogTable.h"
#include "tests/support/win/UiKit.h"

namespace foldwick {
namespace {

using uikit::TDialogRow;

TSearchForm* SearchFormOf(HWND window) { return dynamic_cast<TSearchForm*>(classlib::TWinControl::FromHandle(window)); }

// Shows the search window's options page with Ctrl+Tab, as a user turns
// its pages.
void ShowSearchOptions(TSearchForm& search) {
  for (int turn = 0; turn < search.Pages().PageCount() && search.Pages().ActivePageIndex() != 0; ++turn)
    uikit::PressKey(GetFocus() != nullptr ? GetFocus() : search.Handle(), VK_TAB, classlib::ssCtrl);
}

class FoldwickDialogs : public testing::Test {
 protected:
  void SetUp() override {
    classlib::TRegistry registry;
    registry.DeleteKey(std::string("\\") + kSettingsKey + "\\TempPatterns");
    root_ = TestFolderPath("fwdialogs-");
    RemoveTree(root_);
    ASSERT_TRUE(CreateDirectoryA(root_.c_str(), nullptr));
    CreateSizedFile(root_ + "\\data.bin", 40 * 1024);
    form_ = std::make_unique<TMainForm>(std::vector<std::string>{});
    form_->Show();
    uikit::RunUntilIdle();
    // A scanned folder: a new filter or cluster size is offered as a rescan.
    TIdList folder = PathToPIDL(nullptr, root_);
    ASSERT_TRUE(folder);
    form_->Engine().ScanPath(folder.get());
    ASSERT_TRUE(uikit::RunUntil([this] { return !form_->Engine().AnyScanRunning(); }, 20000));
    // The search looks in the test folder only, which the editable drive
    // row names; the first temporary pattern is chosen for its Edit button.
    TSearchForm& search = OpenSearch();
    for (int i = 0; i < search.Drives().Count(); ++i) SetItemChecked(search.Drives(), search.Drives().Item(i), false);
    ASSERT_TRUE(search.EditDriveRow(root_));
    classlib::TListItem* editable = search.Drives().Item(search.Drives().Count() - 1);
    editable->SetSelected(true);
    editable->SetFocused(true);
    search.TempPatterns().SetItemIndex(0);
    search.Close();
    uikit::RunUntilIdle();
  }
  void TearDown() override {
    form_.reset();
    RemoveTree(root_);
  }

  std::function<void()> Menu(std::vector<std::string> path) {
    return [this, path] {
      classlib::TMenuItem* item = testsupport::MenuItemAt(*form_->MainMenu().Items(), path);
      ASSERT_NE(item, nullptr) << path.back();
      item->Click();
    };
  }
  // The file search window, brought up by its menu command.
  TSearchForm& OpenSearch() {
    Menu({"&File", "S&earch Files..."})();
    uikit::RunUntilIdle();
    TSearchForm* search = SearchFormOf(FindWindowA(nullptr, "File Search"));
    EXPECT_NE(search, nullptr);
    return *search;
  }
  // The search window up on its options page, from which its boxes open.
  std::function<void()> SearchOptionsShown() {
    return [this] { ShowSearchOptions(OpenSearch()); };
  }

  std::string root_;
  std::unique_ptr<TMainForm> form_;
};

// The keys that choose the second cluster size on the Scan page: OK turns
// into Scan.
void ChooseClusterSize(HWND) {
  uikit::PressKey(GetFocus(), VK_TAB, classlib::ssCtrl);
  uikit::PressKey(GetFocus(), VK_TAB);
  uikit::PressKey(GetFocus(), VK_TAB);
  uikit::PressKey(GetFocus(), VK_DOWN);
}

TEST_F(FoldwickDialogs, EveryDialogAndPage) {
  uikit::CheckDialogTable(
      form_->Handle(),
      {
          {"Options", Menu({"&File", "&Options..."}), "SysTabControl32<>"},
          {"Options to rescan", Menu({"&File", "&Options..."}), "Button<    512 Bytes (NTFS, Floppy)>", {},
           ChooseClusterSize},
          {"About", Menu({"&Help", "&About..."}), "Button<OK>"},
          {"Set Size", Menu({"&Branch", "&Set Size..."}), "Edit<>"},
          // Start searches: from the options page the first result page shows.
          {"File Search", Menu({"&File", "S&earch Files..."}), "SysTabControl32<>", {},
           [](HWND dialog) { ShowSearchOptions(*SearchFormOf(dialog)); }, true,
           [](HWND dialog) {
             TSearchForm& search = *SearchFormOf(dialog);
             return search.Searching() || search.Pages().ActivePageIndex() != 0;
           }},
          // The Edit button's letter, and F2 on the drive row that names a
          // folder.
          {"Temporary Pattern", [] { uikit::PostKey(GetFocus(), 'E', true); }, "Edit<>", {}, {}, true, {},
           SearchOptionsShown()},
          {"Search Folder",
           [] { uikit::PressKey(SearchFormOf(GetActiveWindow())->Drives().Handle(), VK_F2); }, "Edit<>", {}, {}, true,
           {}, SearchOptionsShown()},
      });
}

}  // namespace
}  // namespace foldwick

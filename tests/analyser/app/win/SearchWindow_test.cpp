// The file search window on a folder tree made here: big, old and temporary
// files are listed on their tabs, a second Start replaces the first search,
// Stop ends a search, and a file checked in two lists is sent to the recycle
// bin once, with the shell's confirmation answered; names in any script are
// listed whole, and a search folder named in Greek is pasted and typed into
// the drive row and searched. A picture of the window goes to the pictures
// folder. While a search runs, Stop takes Start's place and the keyboard.
// Then the keyboard: Tab walks every control of the search window's and the
// options dialog's pages, Ctrl+Tab turns their pages, and the main window's
// menus give every item a letter of its own.
#include <gtest/gtest.h>

#include "classlib/win/Win32.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <thread>

#include "analyser/app/win/FileListing.h"
#include "analyser/app/win/FolderData.h"
#include "analyser/app/win/MainForm.h"
#include "analyser/app/win/OptionDlg.h"
#include "analyser/app/win/SearchForm.h"
#include "classlib/win/Registry.h"
#include "tests/analyser/win/TestFolders.h"
#include "tests/support/MenuLetters.h"
#include "tests/support/win/DialogChecks.h"
#include "tests/support/win/UiKit.h"

namespace foldwick {
namespace {

constexpr TFileTime kDay = 864000000000ull;

TFileTime Now() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return (TFileTime{now.dwHighDateTime} << 32) | now.dwLowDateTime;
}

// A file of `size` bytes last accessed and changed `ageDays` ago.
void AgedFile(const std::string& path, std::uint64_t size, int accessAgeDays, int changeAgeDays) {
  CreateSizedFile(path, size);
  HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  auto at = [](int days) {
    const TFileTime t = Now() - kDay * static_cast<TFileTime>(days);
    return FILETIME{static_cast<DWORD>(t), static_cast<DWORD>(t >> 32)};
  };
  const FILETIME access = at(accessAgeDays), change = at(changeAgeDays);
  EXPECT_TRUE(SetFileTime(h, nullptr, &access, &change));
  CloseHandle(h);
}

std::vector<std::string> Names(TExtListView& list) {
  std::vector<std::string> names;
  for (int i = 0; i < list.Count(); ++i) names.push_back(list.Item(i)->Caption);
  std::sort(names.begin(), names.end());
  return names;
}

classlib::TListItem* Row(TExtListView& list, const std::string& name) {
  for (int i = 0; i < list.Count(); ++i)
    if (list.Item(i)->Caption == name) return list.Item(i);
  return nullptr;
}

// Answers the shell's questions (dialogs of this program on the test's
// desktop) with Yes until told to stop.
class TDialogAnswerer {
 public:
  TDialogAnswerer() : desktop_(GetThreadDesktop(GetCurrentThreadId())), thread_([this] { Run(); }) {}
  ~TDialogAnswerer() {
    stop_ = true;
    thread_.join();
  }
  std::atomic<int> answered{0};

 private:
  static BOOL CALLBACK Answer(HWND window, LPARAM self) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char cls[32] = "";
    GetClassNameA(window, cls, sizeof cls);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window) || std::string(cls) != "#32770") return TRUE;
    HWND yes = GetDlgItem(window, IDYES);
    if (yes == nullptr) yes = GetDlgItem(window, IDOK);
    if (yes != nullptr) {
      PostMessageA(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(yes), BN_CLICKED), reinterpret_cast<LPARAM>(yes));
      ++reinterpret_cast<TDialogAnswerer*>(self)->answered;
    }
    return TRUE;
  }
  void Run() {
    SetThreadDesktop(desktop_);
    while (!stop_) {
      EnumWindows(Answer, reinterpret_cast<LPARAM>(this));
      Sleep(200);
    }
  }
  std::atomic<bool> stop_{false};
  HDESK desktop_;
  std::thread thread_;
};

TEST(FileSearch, ListsBigOldAndTemporaryFilesStopsAndDeletesChecked) {
  classlib::TRegistry registry;
  registry.DeleteKey(std::string("\\") + kSettingsKey + "\\TempPatterns");
  for (const char* list : {"\\Biggest File List", "\\Oldest File List", "\\Temporary File List"})
    registry.DeleteKey(std::string("\\") + kSettingsKey + list);
  const std::string root = TestFolderPath("fwsearch-");
  RemoveTree(root);
  ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr));
  CreateDirectoryA((root + "\\sub").c_str(), nullptr);
  CreateDirectoryA((root + "\\Templates").c_str(), nullptr);
  AgedFile(root + "\\big.bin", 300 * 1024, 0, 0);
  AgedFile(root + "\\exact.bin", 100 * 1024, 0, 0);        // exactly the minimum
  AgedFile(root + "\\old.doc", 200 * 1024, 1200, 1200);     // old and big
  AgedFile(root + "\\data.tmp", 10, 10, 10);                 // a stale temporary file
  AgedFile(root + "\\fresh.tmp", 10, 0, 0);                  // accessed just now
  AgedFile(root + "\\sub\\deep.bak", 10, 5, 900);
  AgedFile(root + "\\Templates\\notes.txt", 10, 0, 0);       // a folder holding "temp"

  auto form = std::make_unique<TSearchForm>(nullptr);
  form->Show();
  SetForegroundWindow(form->Handle());
  uikit::RunUntilIdle();
  TExtListView& drives = form->Drives();
  ASSERT_GT(drives.Count(), 0);
  for (int i = 0; i < drives.Count(); ++i) SetItemChecked(drives, drives.Item(i), false);
  ASSERT_TRUE(form->EditDriveRow(root));
  form->MinimumSize().SetValue(100);
  form->SizeUnit().SetItemIndex(0);  // Kb
  uikit::RunUntilIdle();
  uikit::SaveWindowPicture(form->Handle(), "foldwick-search-options");

  auto searchEnded = [&] { return uikit::RunUntil([&] { return !form->Searching(); }, 30000); };
  // A second Start stops the first search and empties the lists.
  form->StartButton().Click();
  form->StartButton().Click();
  ASSERT_TRUE(searchEnded());
  EXPECT_TRUE(form->StartButton().Enabled());
  EXPECT_EQ(Names(form->Results(kBiggestList)), (std::vector<std::string>{"big.bin", "old.doc"}));
  EXPECT_EQ(Names(form->Results(kOldestList)), std::vector<std::string>{"old.doc"});
  EXPECT_EQ(Names(form->Results(kTemporaryList)), (std::vector<std::string>{"data.tmp", "deep.bak"}));
  classlib::TListItem* big = Row(form->Results(kBiggestList), "big.bin");
  ASSERT_NE(big, nullptr);
  EXPECT_EQ(big->SubItems[0], root);
  EXPECT_EQ(big->SubItems[1], "300 kb");
  EXPECT_FALSE(big->SubItems[2].empty());
  // The biggest tab is shown, with its count and size.
  EXPECT_EQ(form->Pages().ActivePageIndex(), 1);
  EXPECT_EQ(form->Status().PanelText(0).substr(0, 13), "2  Objects (0");
  EXPECT_TRUE(form->SaveButton().Enabled());
  uikit::RunUntilIdle();
  uikit::SaveWindowPicture(form->Handle(), "foldwick-search");

  // Stop ends a running search; Start is offered again.
  form->StartButton().Click();
  form->StopButton().Click();
  ASSERT_TRUE(searchEnded());
  EXPECT_TRUE(form->StartButton().Enabled());
  EXPECT_FALSE(form->StopButton().Enabled());

  // old.doc checked in two lists goes once; its rows leave both lists.
  // Space checks the focused row and moves on to the next.
  form->StartButton().Click();
  ASSERT_TRUE(searchEnded());
  TExtListView& biggest = form->Results(kBiggestList);
  biggest.SortByColumn(0, false);
  ASSERT_EQ(biggest.Item(0)->Caption, "old.doc");
  biggest.Item(0)->SetFocused(true);
  biggest.SetFocus();
  uikit::PressKey(biggest.Handle(), VK_SPACE);
  EXPECT_TRUE(ItemChecked(biggest, biggest.Item(0)));
  EXPECT_FALSE(ItemChecked(biggest, biggest.Item(1)));
  EXPECT_TRUE(biggest.Item(1)->Focused());
  SetItemChecked(form->Results(kOldestList), Row(form->Results(kOldestList), "old.doc"), true);
  TDialogAnswerer answerer;
  form->DeleteCheckedClick();
  EXPECT_EQ(GetFileAttributesA((root + "\\old.doc").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(GetFileAttributesA((root + "\\big.bin").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(Names(form->Results(kBiggestList)), std::vector<std::string>{"big.bin"});
  EXPECT_TRUE(Names(form->Results(kOldestList)).empty());
  EXPECT_GT(answerer.answered, 0);

  // A file named in Greek in a folder named in Chinese is listed by its whole
  // names, and the list shows them whole.
  const std::wstring folder = WideFromUtf8(root) + L"\\\x6570\x636E";
  const std::wstring name = L"\x0394\x03B5\x03B4\x03BF\x03BC\x03AD\x03BD\x03B1.bin";
  CreateDirectoryW(folder.c_str(), nullptr);
  CreateSizedFile(folder + L"\\" + name, 150 * 1024);
  form->StartButton().Click();
  ASSERT_TRUE(searchEnded());
  EXPECT_EQ(Names(biggest), (std::vector<std::string>{"big.bin", Utf8FromWide(name.c_str())}));
  classlib::TListItem* named = Row(biggest, Utf8FromWide(name.c_str()));
  ASSERT_NE(named, nullptr);
  EXPECT_EQ(named->SubItems[0], Utf8FromWide(folder.c_str()));
  wchar_t shown[MAX_PATH] = L"";
  LVITEMW cell = {};
  cell.pszText = shown;
  cell.cchTextMax = MAX_PATH;
  for (int column = 0; column < 2; ++column) {
    cell.iSubItem = column;
    SendMessageW(biggest.Handle(), LVM_GETITEMTEXTW, static_cast<WPARAM>(named->Index()), reinterpret_cast<LPARAM>(&cell));
    EXPECT_EQ(std::wstring(shown), column == 0 ? name : folder);
  }

  // A search rooted in a folder named in Greek: the parent's path pasted
  // into the drive row's input box (F2 on the row), the folder's name typed
  // after it; kept and shown whole.
  const std::wstring parent = WideFromUtf8(root) + L"\\";
  const std::wstring typedName = L"\x03A6\x03AC\x03BA\x03B5\x03BB\x03BF\x03C2 \x03B1\x20AC";
  const std::wstring greek = parent + typedName;
  ASSERT_TRUE(CreateDirectoryW(greek.c_str(), nullptr));
  CreateSizedFile(greek + L"\\g.bin", 120 * 1024);
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, (parent.size() + 1) * sizeof(wchar_t));
  std::memcpy(GlobalLock(copy), parent.c_str(), (parent.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(copy);
  SetClipboardData(CF_UNICODETEXT, copy);
  CloseClipboard();
  for (int i = 0; i < drives.Count(); ++i) SetItemChecked(drives, drives.Item(i), false);
  classlib::TListItem* editable = drives.Item(drives.Count() - 1);
  editable->SetSelected(true);
  editable->SetFocused(true);
  form->Pages().SetActivePageIndex(0);
  drives.SetFocus();
  std::wstring boxText;
  uikit::RunInsideModal([&] {
    uikit::PressKey(GetFocus(), 'V', classlib::ssCtrl);  // over the text the box selected
    uikit::TypeWideChars(GetFocus(), typedName);
    wchar_t text[MAX_PATH] = L"";
    GetWindowTextW(GetFocus(), text, MAX_PATH);
    boxText = text;
    uikit::PressKey(GetFocus(), VK_RETURN);
  });
  {
    TDialogAnswerer cannotFind;
    uikit::PressKey(drives.Handle(), VK_F2);
    EXPECT_EQ(cannotFind.answered, 0) << "a box said it cannot find the folder";
  }
  EXPECT_EQ(boxText, greek) << "every typed character kept";
  EXPECT_EQ(editable->Caption, Utf8FromWide(greek.c_str()));
  ASSERT_EQ(editable->SubItems.size(), 1u);
  EXPECT_EQ(editable->SubItems[0], Utf8FromWide(greek.c_str()));
  cell.iSubItem = 1;
  SendMessageW(drives.Handle(), LVM_GETITEMTEXTW, static_cast<WPARAM>(editable->Index()), reinterpret_cast<LPARAM>(&cell));
  EXPECT_EQ(std::wstring(shown), greek) << "the row's path is shown whole";
  EXPECT_TRUE(ItemChecked(drives, editable));
  form->StartButton().Click();
  ASSERT_TRUE(searchEnded());
  EXPECT_EQ(Names(biggest), std::vector<std::string>{"g.bin"});
  ASSERT_EQ(biggest.Count(), 1);
  EXPECT_EQ(biggest.Item(0)->SubItems[0], Utf8FromWide(greek.c_str()));

  form->Close();
  form.reset();
  ASSERT_TRUE(registry.OpenKey(std::string("\\") + kSettingsKey + "\\TempPatterns", false));
  EXPECT_EQ(registry.ReadString("0"), "temp");
  EXPECT_EQ(registry.ReadString("5"), "");
  registry.CloseKey();
  // Each result list keeps its column layout under its own key.
  for (const char* list : {"\\Biggest File List", "\\Oldest File List", "\\Temporary File List"}) {
    ASSERT_TRUE(registry.OpenKey(std::string("\\") + kSettingsKey + list + "\\Columns", false)) << list;
    EXPECT_FALSE(registry.ReadString("Sizes").empty()) << list;
    registry.CloseKey();
  }
  RemoveTree(root);
}

// While a search runs Stop takes Start's place: Alt+S starts a search of
// thousands of files, which runs a while, and the keyboard goes from Start
// to Stop; no letter is claimed twice, not even the tabs' with Stop
// pressable; Alt+S stops it and the keyboard comes back to Start.
TEST(FileSearch, StopTakesStartsPlaceAndTheKeyboard) {
  const std::string root = TestFolderPath("fwstop-");
  RemoveTree(root);
  ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr));
  // Folders take the search longer than files do, so it still runs when
  // the keys have been handled.
  for (int i = 0; i < 2000; ++i) CreateDirectoryA((root + "\\d" + std::to_string(i)).c_str(), nullptr);
  auto form = std::make_unique<TSearchForm>(nullptr);
  form->Show();
  SetForegroundWindow(form->Handle());
  uikit::RunUntilIdle();
  TExtListView& drives = form->Drives();
  for (int i = 0; i < drives.Count(); ++i) SetItemChecked(drives, drives.Item(i), false);
  ASSERT_TRUE(form->EditDriveRow(root));
  form->MinimumSize().SetValue(0);

  uikit::PressKey(GetFocus(), 'S', classlib::ssAlt);
  ASSERT_TRUE(form->Searching());
  EXPECT_EQ(GetFocus(), form->StopButton().Handle());
  EXPECT_EQ(uikit::AltLetterClashes(form->Handle()), std::vector<std::string>{});
  uikit::PressKey(GetFocus(), 'S', classlib::ssAlt);
  ASSERT_TRUE(uikit::RunUntil([&] { return !form->Searching(); }, 30000));
  EXPECT_EQ(GetFocus(), form->StartButton().Handle());
  form->Close();
  form.reset();
  RemoveTree(root);
}

TEST(OptionDialog, CopiesItsControlsAndOffersARescan) {
  TOptionValues values;
  values.filterText = "*.doc *.txt";
  values.columns = {{"Name", true}, {"Size  ", false}, {"Objects", true}};
  TOptionDlg dialog(nullptr, values, true);
  dialog.Show();
  SetForegroundWindow(dialog.Handle());
  uikit::RunUntilIdle();
  EXPECT_EQ(dialog.Values().columns[1].visible, false);
  EXPECT_EQ(dialog.Values().columns[2].visible, true);
  EXPECT_FALSE(dialog.ScanRequested());

  dialog.Pages().SetActivePageIndex(1);
  SendMessageA(dialog.ClusterChoice(3).Handle(), BM_CLICK, 0, 0);
  uikit::RunUntilIdle();
  EXPECT_TRUE(dialog.ScanRequested());
  EXPECT_EQ(dialog.OkButton().Caption(), "&Scan");
  uikit::SaveWindowPicture(dialog.Handle(), "foldwick-options-scan");
  dialog.Pages().SetActivePageIndex(2);
  uikit::RunUntilIdle();
  uikit::SaveWindowPicture(dialog.Handle(), "foldwick-options-columns");

  // The bold factor takes digits only.
  dialog.BoldFactor().SetText("");
  uikit::TypeChars(dialog.BoldFactor().Handle(), "4x-2");
  const TOptionValues chosen = dialog.Values();
  EXPECT_EQ(chosen.clusterChoice, 3);
  EXPECT_EQ(chosen.boldFactor, 42);
  EXPECT_EQ(chosen.filterText, "*.doc *.txt");
}

using Texts = std::vector<std::string>;

// Tab walks the page shown from the first stop round to it again, in
// reading order, reaching every control; Ctrl+Tab then shows the next page.
// Gives the walk.
uikit::TTabWalk WalkPageThenTurn(classlib::TForm& form, TPageControl& pages) {
  const int page = pages.ActivePageIndex();
  const uikit::TTabWalk walk = uikit::WalkTabOrder(form.Handle());
  EXPECT_EQ(walk.unreached, Texts{}) << "page " << page;
  EXPECT_EQ(walk.backwards, Texts{}) << "page " << page;
  uikit::PressKey(GetFocus(), VK_TAB, classlib::ssCtrl);
  EXPECT_EQ(pages.ActivePageIndex(), (page + 1) % pages.PageCount()) << "Ctrl+Tab on page " << page;
  EXPECT_TRUE(IsWindowVisible(GetFocus())) << "the focus went with the page it was on";
  return walk;
}

TEST(OptionDialog, TabWalksEveryPageAndCtrlTabTurnsThem) {
  TOptionValues values;
  values.filterText = "*";
  values.columns = {{"Name", true}, {"Size  ", true}};
  TOptionDlg dialog(nullptr, values, true);
  dialog.Show();
  SetForegroundWindow(dialog.Handle());
  uikit::RunUntilIdle();
  const Texts buttons = {"Button<OK>", "Button<Cancel>", "Button<&Help>"};
  auto cycle = [&](Texts controls) {
    controls.insert(controls.end(), buttons.begin(), buttons.end());
    return controls;
  };
  uikit::TTabWalk walk = WalkPageThenTurn(dialog, dialog.Pages());
  EXPECT_EQ(walk.first, "SysTabControl32<>");
  EXPECT_EQ(walk.cycle, cycle({"ComboBox<Show &Values as>", "Edit<&Decimals>", "Edit<&Bold Factor>",
                               "Button<Show &Files>", "Button<Show &Chart Toolbar>"}));
  walk = WalkPageThenTurn(dialog, dialog.Pages());
  EXPECT_EQ(walk.cycle, cycle({"Edit<&Filter(s):>", "Button<Original>", "Button<Show &Error Messages>"}));
  walk = WalkPageThenTurn(dialog, dialog.Pages());
  EXPECT_EQ(walk.cycle, cycle({"SysListView32<>"}));
  // Ctrl+Shift+Tab goes back; the arrows choose within the cluster sizes.
  uikit::PressKey(GetFocus(), VK_TAB, classlib::ssCtrl | classlib::ssShift);
  EXPECT_EQ(dialog.Pages().ActivePageIndex(), 2);
  uikit::PressKey(GetFocus(), VK_TAB, classlib::ssCtrl);
  uikit::PressKey(GetFocus(), VK_TAB, classlib::ssCtrl);
  ASSERT_EQ(dialog.Pages().ActivePageIndex(), 1);
  dialog.ClusterChoice(0).SetFocus();
  uikit::PressKey(GetFocus(), VK_DOWN);
  uikit::PressKey(GetFocus(), VK_DOWN);
  EXPECT_EQ(GetFocus(), dialog.ClusterChoice(2).Handle());
  EXPECT_EQ(dialog.Values().clusterChoice, 2);
  EXPECT_TRUE(dialog.ScanRequested());
}

TEST(FileSearch, TabWalksEveryControlOfEachPage) {
  auto form = std::make_unique<TSearchForm>(nullptr);
  form->Show();
  SetForegroundWindow(form->Handle());
  uikit::RunUntilIdle();
  // The options page: the drives, then each search type with its settings,
  // the names and their buttons, then the window's buttons.
  const uikit::TTabWalk walk = WalkPageThenTurn(*form, form->Pages());
  EXPECT_EQ(walk.first, "SysTabControl32<>");
  ASSERT_GE(walk.cycle.size(), 12u);
  EXPECT_EQ(Texts(walk.cycle.begin(), walk.cycle.begin() + 12),
            (Texts{"SysListView32<>", "Button<B&iggest Files>", "Edit<larger than>", "ComboBox<larger than>",
                   "Button<O&ldest Files>", "ComboBox<>", uikit::ControlName(form->DateLimit().Handle()),
                   "Button<Te&mporary Files>",
                   "ListBox<>", "Button<&New>", "Button<&Edit>", "Button<&Delete>"}));
  // A result page: its list, then the buttons.
  EXPECT_EQ(WalkPageThenTurn(*form, form->Pages()).cycle.front(), "SysListView32<>");
  form->Close();
}

using testsupport::MenuItemAt;

using classlib::TTreeNode;

TEST(MainWindowMenus, EveryItemHasALetterOfItsOwnAndRemoveFolderKeepsOnlyLargeBranches) {
  TMainForm form({});
  form.Show();
  uikit::RunUntilIdle();
  auto faults = [&form] {
    Texts found = testsupport::MenuLetterFaults(*form.MainMenu().Items(), "menu bar");
    for (const std::string& fault : testsupport::MenuLetterFaults(*form.RootPopup().Items(), "folder pop-up"))
      found.push_back(fault);
    return found;
  };
  EXPECT_EQ(faults(), Texts{}) << "the chart shown";
  // The list shown: the print item names the folder contents.
  classlib::TMenuItem* list = MenuItemAt(*form.MainMenu().Items(), {"&View", "&Detailed List"});
  ASSERT_NE(list, nullptr);
  list->Click();
  uikit::RunUntilIdle();
  EXPECT_NE(MenuItemAt(*form.MainMenu().Items(), {"&File", "Print &Folder Contents..."}), nullptr);
  EXPECT_EQ(faults(), Texts{}) << "the list shown";

  // Remove Folder over a folder of hundreds of small subfolders and one large
  // one: the small ones go, with them their branches, and below the large one
  // its small subfolders too; the large one and its large subfolder stay.
  const std::string root = TestFolderPath("fwremove-");
  RemoveTree(root);
  ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr));
  for (int i = 0; i < 300; ++i) {
    const std::string small = root + "\\s" + std::to_string(i);
    CreateDirectoryA(small.c_str(), nullptr);
    if (i % 50 == 0) CreateDirectoryA((small + "\\inner").c_str(), nullptr);
  }
  const std::string big = root + "\\big";
  CreateDirectoryA(big.c_str(), nullptr);
  CreateDirectoryA((big + "\\large").c_str(), nullptr);
  CreateSizedFile(big + "\\large\\data.bin", 12 * 1024 * 1024);
  for (int i = 0; i < 20; ++i) CreateDirectoryA((big + "\\t" + std::to_string(i)).c_str(), nullptr);

  ViewSettings().MinimumExpandSize = 10;
  LPITEMIDLIST folder = ILCreateFromPathA(root.c_str());
  ASSERT_NE(folder, nullptr);
  form.Engine().ScanPath(folder);
  ILFree(folder);
  ASSERT_EQ(form.Engine().Roots().size(), 1u);
  TScanRoot& scanned = *form.Engine().Roots().front();
  ASSERT_TRUE(uikit::RunUntil([&] { return scanned.runningScan == nullptr; }, 60000));
  TTreeNode* rootNode = scanned.rootNode;
  ASSERT_EQ(rootNode->Children().size(), 301u);
  form.Tree().SetSelected(rootNode);
  uikit::RunUntilIdle();

  classlib::TMenuItem& popup = *form.RootPopup().Items();
  classlib::TMenuItem* remove = nullptr;
  for (int i = 0; i < popup.Count(); ++i)
    if (popup.Items(i)->Caption.rfind("&Remove Folder", 0) == 0) remove = popup.Items(i);
  ASSERT_NE(remove, nullptr);
  remove->Click();
  uikit::RunUntilIdle();
  ASSERT_EQ(rootNode->Children().size(), 1u);
  TTreeNode* kept = rootNode->Children().front();
  EXPECT_NE(NodeData(kept)->GetFolderName().find("big"), std::string::npos);
  ASSERT_EQ(kept->Children().size(), 1u) << "only its large folder";
  // The tree control holds what the nodes hold.
  EXPECT_EQ(kept->Parent(), rootNode);
  EXPECT_EQ(rootNode->GetFirstChild(), kept);
  EXPECT_EQ(kept->GetNextSibling(), nullptr);
  RemoveTree(root);
}


}  // namespace
}  // namespace foldwick

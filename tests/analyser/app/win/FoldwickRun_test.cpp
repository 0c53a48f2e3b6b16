// Foldwick from start to close, as its own program on the test desktop: it
// scans a folder tree made here, shows the root's totals, switches its view
// through the menu by keyboard, writes its settings at close and reads them
// at the next start. Pictures of the running program go to the pictures
// folder.
#include <gtest/gtest.h>

#include "classlib/win/Win32.h"
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "analyser/app/FolderValues.h"
#include "analyser/app/Settings.h"
#include "classlib/win/Registry.h"
#include "tests/analyser/win/TestFolders.h"
#include "tests/support/win/RemoteWindow.h"
#include "tests/support/win/UiKit.h"
#include "tests/win/RunProgram.h"

namespace foldwick {
namespace {

constexpr char kTitle[] = "Kestrum Professional";

// A folder tree with known sizes; every file has some bytes (empty files
// are not counted).
struct TTestTree {
  std::string root;
  std::int64_t bytes = 0;
  std::int64_t objects = 1;  // the root folder itself

  TTestTree() {
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    root = std::string(temp) + "foldwick-run-" + std::to_string(GetCurrentProcessId());
    Folder("");
    Folder("\\alpha");
    Folder("\\alpha\\beta");
    Folder("\\gamma");
    Folder("\\empty");
    File("\\top.txt", 1234);
    File("\\alpha\\one.bin", 300000);
    File("\\alpha\\two.bin", 4096);
    File("\\alpha\\beta\\three.bin", 1048576);
    File("\\gamma\\four.bin", 700001);
    File("\\gamma\\five.bin", 17);
  }
  ~TTestTree() {
    std::string from = root + '\0';
    SHFILEOPSTRUCTA op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationA(&op);
  }
  void Folder(const std::string& relative) {
    CreateDirectoryA((root + relative).c_str(), nullptr);
    if (!relative.empty()) ++objects;
  }
  void File(const std::string& relative, std::int64_t size) {
    std::ofstream(root + relative, std::ios::binary) << std::string(static_cast<size_t>(size), 'x');
    bytes += size;
    ++objects;
  }
};

std::wstring WideExeDir() {
  const std::string dir = testsupport::ExeDir();
  wchar_t wide[MAX_PATH + 1] = L"";
  MultiByteToWideChar(CP_ACP, 0, dir.c_str(), -1, wide, MAX_PATH + 1);
  return wide;
}

// Foldwick running on this test's desktop.
class TFoldwick {
 public:
  explicit TFoldwick(const std::string& args, bool waitForWindow = true)
      : program_("\"" + testsupport::ExeDir() + "\\Foldwick.exe\" " + args) {
    if (program_.Started() && waitForWindow) window = uikit::WaitForTopWindow(kTitle, 60000);
  }
  explicit TFoldwick(const std::wstring& args) : program_(L"\"" + WideExeDir() + L"\\Foldwick.exe\" " + args) {
    if (program_.Started()) window = uikit::WaitForTopWindow(kTitle, 60000);
  }
  // Closes the window and waits for the program to end; true when it did.
  bool Close() { return program_.Close(window); }
  // True when the program ended by itself within the time.
  bool WaitForExit(DWORD timeoutMs) const { return program_.Ended(timeoutMs); }
  bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = 60000) const {
    return testsupport::WaitFor(done, timeoutMs);
  }
  // Alt and a menu's letter, then an item's letter, as typed keys: the
  // program's own message loop makes them the characters its menu reads.
  void MenuKeys(char menu, char item) const {
    uikit::PressKey(window, menu, classlib::ssAlt);
    Sleep(700);
    uikit::PostKey(window, item);
  }
  HWND Child(const char* className) const { return uikit::FindChildOfClass(window, className); }

  HWND window = nullptr;

 private:
  testsupport::TStartedProgram program_;
};

std::string LocaleText(LCTYPE type, const char* fallback) {
  char buffer[16] = "";
  return GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof buffer) > 1 ? buffer : fallback;
}

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  return first == std::string::npos ? std::string() : text.substr(first);
}

// "/SAVE file folder": the folder is scanned, its report appended to the file,
// and the program ends by itself.
TEST(FoldwickRun, SavesTheReportOfACommandLineScanAndEnds) {
  const TTestTree tree;
  classlib::TRegistry registry;
  ASSERT_TRUE(registry.OpenKey(std::string("\\") + kSettingsKey, true));
  registry.WriteString("SplitFileAndPath", "0");
  registry.WriteString("IncludeHeader", "0");
  registry.WriteString("ShowType", "1");
  registry.CloseKey();
  const std::string report = tree.root + "-report.txt";
  std::ofstream(report, std::ios::binary) << "earlier\r\n";
  {
    TFoldwick program("/SAVE \"" + report + "\" \"" + tree.root + "\"", false);
    EXPECT_TRUE(program.WaitForExit(90000));
  }
  std::stringstream content;
  content << std::ifstream(report, std::ios::binary).rdbuf();
  DeleteFileA(report.c_str());
  // The earlier text stays; the root's row (its name is its path) and its
  // children's follow, with their percentages.
  const std::string text = content.str();
  EXPECT_EQ(text.rfind("earlier\r\n" + tree.root + "\t", 0), 0u) << text;
  EXPECT_NE(text.find("\r\n" + tree.root + "\\alpha\t"), std::string::npos) << text;
  EXPECT_NE(text.find(" %\t"), std::string::npos) << text;
}

TEST(FoldwickRun, ScansShowsSwitchesViewAndKeepsItsSettings) {
  classlib::TRegistry registry;
  registry.DeleteKey(std::string("\\") + kSettingsKey);
  const TTestTree tree;

  {
    TFoldwick program("\"" + tree.root + "\"");
    ASSERT_NE(program.window, nullptr) << "Foldwick's window did not appear";
    HWND treeView = program.Child(WC_TREEVIEWA);
    HWND status = program.Child(STATUSCLASSNAMEA);
    ASSERT_TRUE(treeView != nullptr && status != nullptr);

    // The scan has ended when the root shows no progress image and the
    // status bar counts every object below the root.
    TNumberFormat number;
    number.thousandSeparator = LocaleText(LOCALE_STHOUSAND, ",");
    number.decimalSeparator = LocaleText(LOCALE_SDECIMAL, ".");
    const std::string objects = FormatNumber(static_cast<double>(tree.objects - 1), 0, number) + " Objects";
    const bool ended = program.WaitFor([&] {
      HTREEITEM root = uikit::RemoteTreeRoot(treeView);
      return root != nullptr && uikit::RemoteTreeStateImage(treeView, root) == 0 &&
             uikit::RemoteStatusText(status, 1) == objects;
    });
    EXPECT_TRUE(ended) << "status: " << uikit::RemoteStatusText(status, 1) << ", expected " << objects;

    // The root's tree text: its size in MB with one decimal, then its path.
    TValueFormat format;
    format.number = number;
    const std::string size = FormatFolderValue(static_cast<double>(tree.bytes) / 1024 / 1024, kViewSize, false, format);
    EXPECT_EQ(Trimmed(uikit::RemoteTreeItemText(treeView, uikit::RemoteTreeRoot(treeView))), size + "  " + tree.root);
    EXPECT_EQ(uikit::WindowCaption(program.window), std::string(kTitle) + " - (Size)");
    Sleep(1000);
    uikit::SaveWindowPicture(program.window, "foldwick-chart");

    // Export > Copy Scanned Data puts the root's report on the clipboard.
    if (OpenClipboard(nullptr)) {
      EmptyClipboard();
      CloseClipboard();
    }
    program.MenuKeys('E', 'C');
    std::string copied;
    EXPECT_TRUE(program.WaitFor([&] {
      if (!OpenClipboard(nullptr)) return false;
      if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* text = static_cast<const char*>(GlobalLock(data))) {
          copied = text;
          GlobalUnlock(data);
        }
      }
      CloseClipboard();
      return copied.find(tree.root + "\t") != std::string::npos;
    }, 10000)) << copied;

    // View > Allocated, then View > Detailed List, by keyboard.
    program.MenuKeys('V', 'A');
    EXPECT_TRUE(program.WaitFor([&] { return uikit::WindowCaption(program.window).find("(Bytes Allocated)") != std::string::npos; }, 10000))
        << uikit::WindowCaption(program.window);
    program.MenuKeys('V', 'D');
    HWND list = program.Child(WC_LISTVIEWA);
    EXPECT_TRUE(program.WaitFor([&] { return list != nullptr && IsWindowVisible(list); }, 10000));
    Sleep(1000);
    uikit::SaveWindowPicture(program.window, "foldwick-list");
    // With the list shown, File > Search Files by its letter opens the
    // search, not Print Folder Contents.
    program.MenuKeys('F', 'E');
    HWND search = uikit::WaitForTopWindow("File Search", 20000);
    EXPECT_NE(search, nullptr);
    if (search != nullptr) PostMessageA(search, WM_CLOSE, 0, 0);
    EXPECT_TRUE(program.Close());
  }

  ASSERT_TRUE(registry.OpenKey(std::string("\\") + kSettingsKey, false));
  for (int i = 0; i < kSettingCount; ++i) EXPECT_TRUE(registry.ValueExists(SettingName(i))) << SettingName(i);
  EXPECT_EQ(registry.ReadString("ShowType"), "2");
  EXPECT_EQ(std::stoi(registry.ReadString("Charttype")) & 0xF, 8);
  registry.CloseKey();

  // The next start opens as the last one closed.
  TFoldwick again("");
  ASSERT_NE(again.window, nullptr);
  EXPECT_TRUE(again.WaitFor([&] { return uikit::WindowCaption(again.window).find("(Bytes Allocated)") != std::string::npos; }, 10000))
      << uikit::WindowCaption(again.window);
  HWND list = again.Child(WC_LISTVIEWA);
  EXPECT_TRUE(list != nullptr && IsWindowVisible(list));
  EXPECT_TRUE(again.Close());
}

struct TFindText {
  const std::string& text;
  HWND found = nullptr;
};

BOOL CALLBACK MatchText(HWND child, LPARAM param) {
  auto* find = reinterpret_cast<TFindText*>(param);
  char buffer[256] = "";
  SendMessageA(child, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
  if (find->text != buffer) return TRUE;
  find->found = child;
  return FALSE;
}

// The first child window (at any depth) whose text is `text`, asked of the
// window itself so that it works across programs.
HWND ChildWithText(HWND parent, const std::string& text) {
  TFindText find{text};
  EnumChildWindows(parent, MatchText, reinterpret_cast<LPARAM>(&find));
  return find.found;
}

std::string Utf8Of(const std::wstring& text);

// The search window's list of folders to search: the one whose last row is
// the row the user names a folder in.
HWND SearchFolderList(HWND search) {
  struct TFind {
    HWND found = nullptr;
  } find;
  EnumChildWindows(search, [](HWND child, LPARAM param) -> BOOL {
    char name[64] = "";
    GetClassNameA(child, name, sizeof name);
    const int rows = lstrcmpiA(name, WC_LISTVIEWA) == 0 ? uikit::RemoteListCount(child) : 0;
    if (rows == 0 || uikit::RemoteListItemText(child, rows - 1, 0) != "\\\\host\\share") return TRUE;
    reinterpret_cast<TFind*>(param)->found = child;
    return FALSE;
  }, reinterpret_cast<LPARAM>(&find));
  return find.found;
}

// The visible top-level window that holds a child with text `text`, other
// than `besides`; waited for up to `timeoutMs`.
HWND WaitForWindowWithChild(const std::string& text, HWND besides, DWORD timeoutMs) {
  struct TFind {
    const std::string& text;
    HWND besides;
    HWND found = nullptr;
  } find{text, besides};
  const DWORD start = GetTickCount();
  while (find.found == nullptr && GetTickCount() - start < timeoutMs) {
    EnumWindows([](HWND window, LPARAM param) -> BOOL {
      auto* f = reinterpret_cast<TFind*>(param);
      if (window == f->besides || !IsWindowVisible(window) || ChildWithText(window, f->text) == nullptr) return TRUE;
      f->found = window;
      return FALSE;
    }, reinterpret_cast<LPARAM>(&find));
    if (find.found == nullptr) Sleep(100);
  }
  return find.found;
}

TEST(FoldwickRun, OpensTheSearchWindowAndKeepsAnOptionChosen) {
  classlib::TRegistry registry;
  registry.DeleteKey(std::string("\\") + kSettingsKey);
  {
    TFoldwick program("/SEARCH");
    ASSERT_NE(program.window, nullptr) << "Foldwick's window did not appear";
    HWND search = uikit::WaitForTopWindow("File Search", 20000);
    ASSERT_NE(search, nullptr) << "/SEARCH did not open the search window";

    // End and F2 on the folder list open the box for a folder of one's own;
    // a name typed there in any script shows whole, and Escape leaves it.
    HWND folders = SearchFolderList(search);
    ASSERT_NE(folders, nullptr);
    SetForegroundWindow(search);
    uikit::PostKey(folders, VK_END);
    uikit::PostKey(folders, VK_F2);
    HWND box = WaitForWindowWithChild("Folder or network share to search:", search, 10000);
    ASSERT_NE(box, nullptr) << "F2 opened no box";
    HWND field = uikit::FindChildOfClass(box, "Edit");
    ASSERT_NE(field, nullptr);
    const std::wstring typed = L"\x03A6\x03AC\x03BA\x03B5\x03BB\x03BF\x03C2 \x03B1\x20AC";
    for (wchar_t c : typed) PostMessageW(field, WM_CHAR, c, 1);
    wchar_t shown[64] = L"";
    EXPECT_TRUE(program.WaitFor([&] {
      SendMessageW(field, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(shown));
      return typed == shown;
    }, 5000)) << "the box shows " << Utf8Of(shown);
    uikit::PostKey(field, VK_ESCAPE);
    EXPECT_TRUE(program.WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 5000));

    PostMessageA(search, WM_CLOSE, 0, 0);
    EXPECT_TRUE(program.WaitFor([&] { return !IsWindowVisible(search); }, 10000));

    // File > Options: "Show Files" off, then OK.
    program.MenuKeys('F', 'O');
    HWND options = uikit::WaitForTopWindow("Kestrum Pro - Options", 20000);
    ASSERT_NE(options, nullptr);
    Sleep(700);
    uikit::SaveWindowPicture(options, "foldwick-options");
    HWND showFiles = ChildWithText(options, "Show &Files");
    HWND ok = ChildWithText(options, "OK");
    ASSERT_TRUE(showFiles != nullptr && ok != nullptr);
    SendMessageA(showFiles, BM_CLICK, 0, 0);
    SendMessageA(ok, BM_CLICK, 0, 0);
    EXPECT_TRUE(program.WaitFor([&] { return !IsWindow(options) || !IsWindowVisible(options); }, 10000));

    // Help > About.
    program.MenuKeys('H', 'A');
    HWND about = uikit::WaitForTopWindow("Info", 20000);
    ASSERT_NE(about, nullptr);
    Sleep(700);
    uikit::SaveWindowPicture(about, "foldwick-about");
    PostMessageA(about, WM_CLOSE, 0, 0);
    EXPECT_TRUE(program.WaitFor([&] { return !IsWindow(about) || !IsWindowVisible(about); }, 10000));

    // The drive box: the arrows move its choice and scan nothing; Enter
    // scans the drive chosen and the box offers its first entry again.
    HWND drives = program.Child(WC_COMBOBOXA);
    HWND treeView = program.Child(WC_TREEVIEWA);
    ASSERT_TRUE(drives != nullptr && treeView != nullptr);
    ASSERT_GE(SendMessageA(drives, CB_GETCOUNT, 0, 0), 3) << "the first entry and two drives";
    for (int key : {VK_DOWN, VK_DOWN, VK_UP}) {
      uikit::PostKey(drives, key);
      Sleep(300);
    }
    EXPECT_TRUE(program.WaitFor([&] { return SendMessageA(drives, CB_GETCURSEL, 0, 0) == 1; }, 5000));
    Sleep(500);
    EXPECT_EQ(uikit::RemoteTreeRoot(treeView), nullptr) << "an arrow scanned";
    char chosen[MAX_PATH] = "";
    SendMessageA(drives, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(chosen));
    uikit::PostKey(drives, VK_RETURN);
    EXPECT_TRUE(program.WaitFor([&] { return uikit::RemoteTreeRoot(treeView) != nullptr; }, 10000)) << chosen;
    EXPECT_EQ(SendMessageA(drives, CB_GETCURSEL, 0, 0), 0);
    EXPECT_TRUE(program.Close());
  }
  ASSERT_TRUE(registry.OpenKey(std::string("\\") + kSettingsKey, false));
  EXPECT_EQ(registry.ReadString("ShowFiles"), "0");
  EXPECT_TRUE(registry.ValueExists("SF_Width"));
  registry.CloseKey();
}

// A tree whose folders are named in other scripts and whose deepest files
// lie past 260 characters, made with the wide functions.
struct TWideTree {
  std::wstring root;
  std::map<std::wstring, std::uint64_t> files;  // path below the root, size

  TWideTree() {
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    root = WideOf(std::string(temp) + "foldwick-wide-" + std::to_string(GetCurrentProcessId()));
    RemoveTree(root);
    Folder(L"");
    File(L"\\top.txt", 1234);
    Folder(L"\\\x0394\x03B5\x03B4\x03BF\x03BC\x03AD\x03BD\x03B1");  // Greek
    File(L"\\\x0394\x03B5\x03B4\x03BF\x03BC\x03AD\x03BD\x03B1\\a.bin", 48000);
    Folder(L"\\\x0394\x03B5\x03B4\x03BF\x03BC\x03AD\x03BD\x03B1\\one");
    File(L"\\\x0394\x03B5\x03B4\x03BF\x03BC\x03AD\x03BD\x03B1\\one\\x.txt", 10);
    Folder(L"\\\x6570\x636E");  // Chinese
    File(L"\\\x6570\x636E\\b.bin", 3000);
    Folder(L"\\\x6570\x636E\\inner");
    File(L"\\\x6570\x636E\\inner\\c.txt", 5);
    std::wstring chain;
    for (int level = 1; level <= 25; ++level) {
      chain += L"\\chain_folder_level_" + std::to_wstring(level);
      Folder(chain);
      File(chain + L"\\f.txt", 100 + static_cast<std::uint64_t>(level));
    }
  }
  ~TWideTree() { RemoveTree(root); }
  static std::wstring WideOf(const std::string& ansi) {
    wchar_t wide[MAX_PATH + 1] = L"";
    MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, wide, MAX_PATH + 1);
    return wide;
  }
  void Folder(const std::wstring& relative) { CreateDirectoryW(LongTestPath(root + relative).c_str(), nullptr); }
  void File(const std::wstring& relative, std::uint64_t size) {
    CreateSizedFile(root + relative, size);
    files[relative] = size;
  }
  std::string AnsiRoot() const {
    char ansi[MAX_PATH + 1] = "";
    WideCharToMultiByte(CP_ACP, 0, root.c_str(), -1, ansi, sizeof ansi, nullptr, nullptr);
    return ansi;
  }
};

bool Expanded(HWND tree, HTREEITEM item) {
  return (SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}
HTREEITEM NextItem(HWND tree, HTREEITEM item, UINT how) {
  return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
}
// The children of the root that have children of their own, and how many of
// them are expanded.
std::pair<int, int> ExpandedChildren(HWND tree, HTREEITEM root) {
  int parents = 0, expanded = 0;
  for (HTREEITEM c = NextItem(tree, root, TVGN_CHILD); c != nullptr; c = NextItem(tree, c, TVGN_NEXT))
    if (NextItem(tree, c, TVGN_CHILD) != nullptr) {
      ++parents;
      if (Expanded(tree, c)) ++expanded;
    }
  return {parents, expanded};
}

std::string Utf8Of(const std::wstring& text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string utf8(n > 0 ? static_cast<size_t>(n) : 0, '\0');
  if (n > 0) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8.data(), n, nullptr, nullptr);
  return utf8.c_str();
}

std::wstring ClipboardUnicodeText() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* p = static_cast<const wchar_t*>(GlobalLock(data))) text = p;
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

// The clipboard's Unicode text after the Export menu's `item`, typed into an
// emptied clipboard; empty when none came.
std::wstring CopiedByExportItem(const TFoldwick& program, char item) {
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    CloseClipboard();
  }
  program.MenuKeys('E', item);
  std::wstring copied;
  EXPECT_TRUE(program.WaitFor([&] {
    copied = ClipboardUnicodeText();
    return !copied.empty();
  }, 20000));
  return copied;
}

// The commands a user reaches by keys and mouse on a tree named in other
// scripts and deeper than 260 characters: the folder pop-up's Expand, a
// recent entry clicked twice, a column width kept over a restart, the list of
// files, and the hints of the menus.
TEST(FoldwickRun, CommandsDoWhatTheySayAndTheLayoutIsKept) {
  classlib::TRegistry registry;
  registry.DeleteKey(std::string("\\") + kSettingsKey);
  const TWideTree tree;
  const std::string root = tree.AnsiRoot();
  int width = 0;
  {
    TFoldwick program("\"" + root + "\"");
    ASSERT_NE(program.window, nullptr) << "Foldwick's window did not appear";
    HWND treeView = program.Child(WC_TREEVIEWA);
    HWND status = program.Child(STATUSCLASSNAMEA);
    ASSERT_TRUE(treeView != nullptr && status != nullptr);
    auto scanEnded = [&] {
      HTREEITEM item = uikit::RemoteTreeRoot(treeView);
      return item != nullptr && uikit::RemoteTreeStateImage(treeView, item) == 0 &&
             uikit::RemoteStatusText(status, 1) != "0 Objects" && !uikit::RemoteStatusText(status, 1).empty();
    };
    ASSERT_TRUE(program.WaitFor(scanEnded)) << uikit::RemoteStatusText(status, 1);
    HTREEITEM rootItem = uikit::RemoteTreeRoot(treeView);

    // The menu key on the selected root opens its pop-up, the shell's commands
    // with the tree's own below; the last of those and three up is Expand,
    // whose second item expands two levels.
    SetForegroundWindow(program.window);
    SetFocus(treeView);
    uikit::PostKey(treeView, VK_APPS);
    Sleep(1500);
    for (int i = 0; i < 4; ++i) {
      uikit::PostKey(treeView, VK_UP);
      Sleep(150);
    }
    uikit::PostKey(treeView, VK_RIGHT);
    Sleep(400);
    uikit::PostKey(treeView, '2');
    EXPECT_TRUE(program.WaitFor([&] {
      const auto [parents, expanded] = ExpandedChildren(treeView, rootItem);
      return Expanded(treeView, rootItem) && parents >= 3 && expanded == parents;
    }, 10000)) << "root expanded " << Expanded(treeView, rootItem) << ", children expanded "
               << ExpandedChildren(treeView, rootItem).second << " of " << ExpandedChildren(treeView, rootItem).first;
    uikit::SaveWindowPicture(program.window, "foldwick-expanded");

    // The View menu's first item says what its button says in panel 3, and
    // the cluster text returns when the menu closes.
    uikit::PressKey(program.window, 'V', classlib::ssAlt);
    EXPECT_TRUE(program.WaitFor([&] { return uikit::RemoteStatusText(status, 3) == "Show sizes"; }, 5000))
        << uikit::RemoteStatusText(status, 3);
    uikit::PostKey(program.window, VK_ESCAPE);
    uikit::PostKey(program.window, VK_ESCAPE);
    EXPECT_TRUE(program.WaitFor([&] {
      return uikit::RemoteStatusText(status, 3).find("Bytes per Cluster") != std::string::npos;
    }, 5000)) << uikit::RemoteStatusText(status, 3);

    // File > 1, twice: the recent entry rescans and stays.
    for (int click = 0; click < 2; ++click) {
      program.MenuKeys('F', '1');
      Sleep(1000);
      EXPECT_TRUE(program.WaitFor(scanEnded)) << "click " << click;
      EXPECT_EQ(uikit::WaitForTopWindow("Cannot", 200), nullptr);
    }

    // Export > Copy List of Files: every file, by its whole name and path,
    // with its size.
    const std::wstring copied = CopiedByExportItem(program, 'L');
    for (const auto& [relative, size] : tree.files) {
      const size_t slash = relative.rfind(L'\\');
      const std::wstring line = L"\n" + relative.substr(slash + 1) + L"\t" + tree.root + relative.substr(0, slash + 1) +
                                L"\t" + std::to_wstring(size) + L"\t";
      EXPECT_NE(copied.find(line), std::wstring::npos) << relative.size();
    }
    EXPECT_EQ(std::count(copied.begin(), copied.end(), L'\n'), static_cast<std::ptrdiff_t>(tree.files.size() + 3));

    // The detailed list, its first column dragged wider by its header.
    program.MenuKeys('V', 'D');
    HWND list = program.Child(WC_LISTVIEWA);
    ASSERT_TRUE(program.WaitFor([&] { return list != nullptr && IsWindowVisible(list); }, 10000));
    HWND header = uikit::FindChildOfClass(list, WC_HEADERA);
    ASSERT_NE(header, nullptr);
    const int before = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0));
    uikit::MouseDown(header, {before, 5});
    uikit::MouseMove(header, {before + 40, 5}, classlib::ssLeft);
    uikit::MouseMove(header, {before + 77, 5}, classlib::ssLeft);
    uikit::MouseUp(header, {before + 77, 5});
    EXPECT_TRUE(program.WaitFor([&] { return SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0) != before; }, 5000));
    width = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0));
    EXPECT_NE(width, before);
    EXPECT_TRUE(program.Close());
  }
  ASSERT_TRUE(registry.OpenKey(std::string("\\") + kSettingsKey + "\\MRU Items", false));
  EXPECT_EQ(registry.ReadString("F0"), root);
  registry.CloseKey();
  ASSERT_TRUE(registry.OpenKey(std::string("\\") + kSettingsKey + "\\Columns", false));
  EXPECT_EQ(registry.ReadString("Sizes").rfind(std::to_string(width) + ",", 0), 0u) << registry.ReadString("Sizes");
  registry.CloseKey();

  // The next start shows the list with the width the user left.
  TFoldwick again("\"" + root + "\"");
  ASSERT_NE(again.window, nullptr);
  HWND list = again.Child(WC_LISTVIEWA);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0), width);

  // Once the scan has ended, the pie, then File > Options > "Show Chart
  // Toolbar": the chart shows its own tool bar.
  HWND againTree = again.Child(WC_TREEVIEWA);
  EXPECT_TRUE(again.WaitFor([&] {
    HTREEITEM item = uikit::RemoteTreeRoot(againTree);
    return item != nullptr && uikit::RemoteTreeStateImage(againTree, item) == 0;
  }));
  Sleep(500);
  again.MenuKeys('V', 'I');
  HWND chart = nullptr;
  EXPECT_TRUE(again.WaitFor([&] {
    chart = again.Child("CFX2032.Chart");
    return chart != nullptr && IsWindowVisible(chart);
  }, 20000));
  EXPECT_EQ(FindWindowExA(chart, nullptr, TOOLBARCLASSNAMEA, nullptr), nullptr);
  again.MenuKeys('F', 'O');
  HWND options = uikit::WaitForTopWindow("Kestrum Pro - Options", 20000);
  ASSERT_NE(options, nullptr);
  Sleep(700);
  uikit::PressKey(options, 'C', classlib::ssAlt);
  Sleep(300);
  uikit::PressKey(options, VK_RETURN);
  EXPECT_TRUE(again.WaitFor([&] {
    HWND tools = FindWindowExA(chart, nullptr, TOOLBARCLASSNAMEA, nullptr);
    return tools != nullptr && IsWindowVisible(tools);
  }, 10000));
  Sleep(700);
  uikit::SaveWindowPicture(again.window, "foldwick-chart-toolbar");
  EXPECT_TRUE(again.Close());
  ASSERT_TRUE(registry.OpenKey(std::string("\\") + kSettingsKey, false));
  EXPECT_EQ(registry.ReadString("ChartTool"), "1");
  registry.CloseKey();

  // A folder named in Greek, given on the command line: it is scanned, and
  // the recent list keeps its name whole, so that File > 1 reopens it at the
  // next start.
  const std::wstring greek = tree.root + L"\\\x0394\x03B5\x03B4\x03BF\x03BC\x03AD\x03BD\x03B1";
  auto scanEnded = [](const TFoldwick& program) {
    HWND treeView = program.Child(WC_TREEVIEWA);
    HWND status = program.Child(STATUSCLASSNAMEA);
    return program.WaitFor([&] {
      HTREEITEM item = treeView != nullptr ? uikit::RemoteTreeRoot(treeView) : nullptr;
      return item != nullptr && uikit::RemoteTreeStateImage(treeView, item) == 0 &&
             uikit::RemoteStatusText(status, 1) != "0 Objects" && !uikit::RemoteStatusText(status, 1).empty();
    });
  };
  {
    TFoldwick named(L"\"" + greek + L"\"");
    ASSERT_NE(named.window, nullptr);
    EXPECT_EQ(uikit::WaitForTopWindow("Cannot", 3000), nullptr);
    EXPECT_TRUE(scanEnded(named));
    // Copy Scanned Data puts the root's caption and path and its children's
    // paths whole on the clipboard as Unicode text.
    const std::wstring copied = CopiedByExportItem(named, 'C');
    const std::wstring name = greek.substr(greek.rfind(L'\\') + 1);
    for (const std::wstring& line : {L"\n" + name + L" on [", L"\n" + greek + L"\t\t", L"\none\t" + greek + L"\\\t"})
      EXPECT_NE(copied.find(line), std::wstring::npos) << Utf8Of(line) << "\n" << Utf8Of(copied);
    EXPECT_TRUE(named.Close());
  }
  ASSERT_TRUE(registry.OpenKey(std::string("\\") + kSettingsKey + "\\MRU Items", false));
  EXPECT_EQ(registry.ReadUtf8String("F0"), Utf8Of(greek));
  registry.CloseKey();
  TFoldwick reopened("");
  ASSERT_NE(reopened.window, nullptr);
  Sleep(500);
  reopened.MenuKeys('F', '1');
  EXPECT_TRUE(scanEnded(reopened));
  EXPECT_EQ(uikit::WaitForTopWindow("Cannot", 200), nullptr);
  EXPECT_TRUE(reopened.Close());
}


// Some hundreds of top folders, each with a subfolder two levels deep and
// files of differing sizes: a scan finishes them over many steps.
struct TFanTree {
  std::string root = TestFolderPath("foldwick-fan-");
  static constexpr int kTop = 240;

  TFanTree() {
    RemoveTree(root);
    CreateDirectoryA(root.c_str(), nullptr);
    for (int i = 0; i < kTop; ++i) {
      const std::string top = root + "\\f" + std::to_string(1000 + i);
      CreateDirectoryA(top.c_str(), nullptr);
      CreateSizedFile(top + "\\own.bin", static_cast<std::uint64_t>(i) * 37003 % 2900000 + 1);
      CreateDirectoryA((top + "\\s").c_str(), nullptr);
      CreateDirectoryA((top + "\\s\\t").c_str(), nullptr);
      CreateSizedFile(top + "\\s\\t\\deep.bin", static_cast<std::uint64_t>(i) * 91001 % 5300000 + 1);
    }
  }
  ~TFanTree() { RemoveTree(root); }
};

// The tree texts of a node's children that differ from the detailed list's
// size and name for the same folder, while the node is selected.
std::vector<std::string> TextsUnlikeTheList(HWND tree, HTREEITEM node, HWND list) {
  std::map<std::string, std::string> listed;  // name, size
  for (int row = 0, rows = uikit::RemoteListCount(list); row < rows; ++row)
    listed[uikit::RemoteListItemText(list, row, 0)] = uikit::RemoteListItemText(list, row, 1);
  std::vector<std::string> wrong;
  for (HTREEITEM c = NextItem(tree, node, TVGN_CHILD); c != nullptr; c = NextItem(tree, c, TVGN_NEXT)) {
    const std::string text = Trimmed(uikit::RemoteTreeItemText(tree, c));
    const size_t gap = text.find("  ");
    const std::string name = gap == std::string::npos ? text : text.substr(gap + 2);
    const auto row = listed.find(name);
    if (row == listed.end() || text != row->second + "  " + name) wrong.push_back(text);
  }
  return wrong;
}

// The expanded items of a node's branch, the node included.
int ExpandedItems(HWND tree, HTREEITEM node) {
  if (!Expanded(tree, node)) return 0;
  int count = 1;
  for (HTREEITEM c = NextItem(tree, node, TVGN_CHILD); c != nullptr; c = NextItem(tree, c, TVGN_NEXT))
    count += ExpandedItems(tree, c);
  return count;
}

// The selected item's text, and whether the item is scrolled into the window.
std::pair<std::string, bool> Selection(HWND tree) {
  HTREEITEM item = NextItem(tree, nullptr, TVGN_CARET);
  if (item == nullptr) return {};
  bool inView = false;
  HTREEITEM shown = NextItem(tree, nullptr, TVGN_FIRSTVISIBLE);
  for (LRESULT n = SendMessageA(tree, TVM_GETVISIBLECOUNT, 0, 0); n > 0 && shown != nullptr && !inView; --n) {
    inView = shown == item;
    shown = NextItem(tree, shown, TVGN_NEXTVISIBLE);
  }
  return {Trimmed(uikit::RemoteTreeItemText(tree, item)), inView};
}

// With the detailed list shown, the tree's texts after the first scan and
// after each Update are those the list gives for the same folders; an Update
// keeps the folders the user opened and the one selected, in view.
TEST(FoldwickRun, TreeTextsAreFinalAndTheViewSurvivesAnUpdate) {
  classlib::TRegistry registry;
  registry.DeleteKey(std::string("\\") + kSettingsKey);
  ASSERT_TRUE(registry.OpenKey(std::string("\\") + kSettingsKey, true));
  registry.WriteString("Charttype", "8");
  registry.CloseKey();
  const TFanTree tree;
  TFoldwick program("\"" + tree.root + "\"");
  ASSERT_NE(program.window, nullptr) << "Foldwick's window did not appear";
  HWND treeView = program.Child(WC_TREEVIEWA);
  HWND list = program.Child(WC_LISTVIEWA);
  ASSERT_TRUE(treeView != nullptr && list != nullptr);
  auto scanEnded = [&] {
    HTREEITEM item = uikit::RemoteTreeRoot(treeView);
    return item != nullptr && uikit::RemoteTreeStateImage(treeView, item) == 0 && Expanded(treeView, item) &&
           uikit::RemoteListCount(list) >= TFanTree::kTop;
  };
  auto textsAgree = [&](const char* pass) {
    ASSERT_TRUE(program.WaitFor(scanEnded, 240000)) << pass;
    HTREEITEM root = uikit::RemoteTreeRoot(treeView);
    std::vector<std::string> wrong = TextsUnlikeTheList(treeView, root, list);
    for (int tries = 0; tries < 10 && !wrong.empty(); ++tries) {
      Sleep(300);  // the list may still be filling
      wrong = TextsUnlikeTheList(treeView, root, list);
    }
    EXPECT_TRUE(wrong.empty()) << pass << ": " << wrong.size() << " texts, the first " << wrong.front();
  };
  // A rescan closes the root and shows its progress until it ends.
  auto rootBusy = [&] {
    HTREEITEM item = uikit::RemoteTreeRoot(treeView);
    return item != nullptr && (uikit::RemoteTreeStateImage(treeView, item) != 0 || !Expanded(treeView, item));
  };
  auto rescan = [&](char item) {
    program.MenuKeys('F', item);
    EXPECT_TRUE(program.WaitFor(rootBusy, 10000)) << item;
    EXPECT_TRUE(program.WaitFor([&] { return !rootBusy(); }, 240000)) << item;
  };
  textsAgree("first scan");

  // Branch > Expand > To Level 5, then End: the last folder, far below.
  SetForegroundWindow(program.window);
  program.MenuKeys('B', 'E');
  Sleep(500);
  uikit::PostKey(program.window, '5');
  HTREEITEM root = uikit::RemoteTreeRoot(treeView);
  ASSERT_TRUE(program.WaitFor([&] { return ExpandedItems(treeView, root) == 1 + TFanTree::kTop * 2; }, 30000))
      << ExpandedItems(treeView, root);
  const int expanded = ExpandedItems(treeView, root);
  SetFocus(treeView);
  uikit::PostKey(treeView, VK_END);
  ASSERT_TRUE(program.WaitFor([&] { return NextItem(treeView, nullptr, TVGN_CARET) != root; }, 10000));
  const std::string selected = Selection(treeView).first;

  // The recent entry rescans the root with the selection far below it, File
  // > Update with the root selected.
  rescan('1');
  EXPECT_EQ(ExpandedItems(treeView, uikit::RemoteTreeRoot(treeView)), expanded);
  EXPECT_EQ(Selection(treeView), std::make_pair(selected, true));
  uikit::PostKey(treeView, VK_HOME);
  ASSERT_TRUE(program.WaitFor([&] { return NextItem(treeView, nullptr, TVGN_CARET) == uikit::RemoteTreeRoot(treeView); }, 5000));
  rescan('U');
  textsAgree("update");
  EXPECT_EQ(ExpandedItems(treeView, uikit::RemoteTreeRoot(treeView)), expanded);
  EXPECT_EQ(NextItem(treeView, nullptr, TVGN_CARET), uikit::RemoteTreeRoot(treeView));
  EXPECT_TRUE(program.Close());
}

// A folder of thousands of files, chosen in the tree by keys with the detail
// list shown: passed over, none of its files reaches the list of the next
// folder; chosen, every file comes into the list (listed away from the window),
// in the order of the list's sort column, and Sort > by Name orders them by
// name.
TEST(FoldwickRun, AFolderOfThousandsOfFilesListsThemAllInOrder) {
  classlib::TRegistry registry;
  registry.DeleteKey(std::string("\\") + kSettingsKey);
  ASSERT_TRUE(registry.OpenKey(std::string("\\") + kSettingsKey, true));
  registry.WriteString("Charttype", "8");
  registry.CloseKey();
  const std::string rootPath = TestFolderPath("foldwick-files-");
  RemoveTree(rootPath);
  CreateDirectoryA(rootPath.c_str(), nullptr);
  CreateDirectoryA((rootPath + "\\many").c_str(), nullptr);
  CreateDirectoryA((rootPath + "\\other").c_str(), nullptr);
  CreateSizedFile(rootPath + "\\other\\o.bin", 10);
  constexpr int kFiles = 5000;
  auto fileName = [](int i) {
    char name[16];
    std::snprintf(name, sizeof name, "f%05d.dat", i);
    return std::string(name);
  };
  // Each size once, so that the order by size is one order: f00999 the
  // largest, f01000 the smallest.
  auto fileSize = [](int i) { return static_cast<std::uint64_t>((i + 4000) % kFiles + 1) * 100; };
  for (int i = 0; i < kFiles; ++i) CreateSizedFile(rootPath + "\\many\\" + fileName(i), fileSize(i));
  TFoldwick program("\"" + rootPath + "\"");
  ASSERT_NE(program.window, nullptr) << "Foldwick's window did not appear";
  HWND treeView = program.Child(WC_TREEVIEWA);
  HWND list = program.Child(WC_LISTVIEWA);
  ASSERT_TRUE(treeView != nullptr && list != nullptr);
  ASSERT_TRUE(program.WaitFor([&] {
    HTREEITEM item = uikit::RemoteTreeRoot(treeView);
    return item != nullptr && uikit::RemoteTreeStateImage(treeView, item) == 0 && Expanded(treeView, item);
  }, 60000));
  // The largest folder comes first below the root.
  SetForegroundWindow(program.window);
  SetFocus(treeView);
  // Passing over it to the next folder lists only that folder's file: what
  // was listed of the big one on the way never reaches the list.
  uikit::PostKey(treeView, VK_HOME);
  uikit::PostKey(treeView, VK_DOWN);
  uikit::PostKey(treeView, VK_DOWN);
  auto onlyOther = [&] { return uikit::RemoteListCount(list) == 1 && uikit::RemoteListItemText(list, 0, 0) == "o.bin"; };
  EXPECT_TRUE(program.WaitFor(onlyOther, 10000)) << uikit::RemoteListCount(list) << " rows";
  Sleep(1000);
  EXPECT_TRUE(onlyOther()) << uikit::RemoteListCount(list) << " rows";
  uikit::PostKey(treeView, VK_UP);
  EXPECT_TRUE(program.WaitFor([&] { return uikit::RemoteListCount(list) == kFiles; }, 30000))
      << uikit::RemoteListCount(list) << " rows";
  auto names = [&](std::initializer_list<int> rows) {
    std::vector<std::string> shown;
    for (int row : rows) shown.push_back(uikit::RemoteListItemText(list, row, 0));
    return shown;
  };
  // By size, largest first.
  EXPECT_TRUE(program.WaitFor([&] { return names({0, kFiles - 1}) == std::vector<std::string>{fileName(999), fileName(1000)}; }, 10000))
      << names({0, kFiles - 1})[0] << " ... " << names({0, kFiles - 1})[1];
  program.MenuKeys('S', 'N');
  EXPECT_TRUE(program.WaitFor([&] {
    return names({0, 1, 2500, kFiles - 1}) == std::vector<std::string>{fileName(0), fileName(1), fileName(2500), fileName(kFiles - 1)};
  }, 10000)) << names({0, 1, 2500, kFiles - 1})[0] << " " << names({0, 1, 2500, kFiles - 1})[2];
  EXPECT_TRUE(program.Close());
  RemoveTree(rootPath);
}

// Two Updates in a row, the second while the first rescans, end with the
// folders the user had open and the one selected; an Update of one folder
// through its pop-up marks it when it cannot be read, clears the mark when it
// can again and takes it out of the tree once it is deleted.
TEST(FoldwickRun, UpdatesKeepTheViewAndTellTheTruthOfABranch) {
  classlib::TRegistry registry;
  registry.DeleteKey(std::string("\\") + kSettingsKey);
  // Enough folders that a rescan is still running when the next Update comes.
  const std::string rootPath = TestFolderPath("foldwick-updates-");
  RemoveTree(rootPath);
  CreateDirectoryA(rootPath.c_str(), nullptr);
  constexpr int kTop = 40;
  for (int i = 0; i < kTop; ++i) {
    const std::string top = rootPath + "\\t" + std::to_string(100 + i);
    CreateDirectoryA(top.c_str(), nullptr);
    CreateSizedFile(top + "\\own.bin", static_cast<std::uint64_t>(i + 1) * 100003);
    for (int j = 0; j < 200; ++j) CreateDirectoryA((top + "\\s" + std::to_string(j)).c_str(), nullptr);
  }
  TFoldwick program("\"" + rootPath + "\"");
  ASSERT_NE(program.window, nullptr) << "Foldwick's window did not appear";
  HWND treeView = program.Child(WC_TREEVIEWA);
  ASSERT_NE(treeView, nullptr);
  auto idle = [&] {
    HTREEITEM item = uikit::RemoteTreeRoot(treeView);
    return item != nullptr && uikit::RemoteTreeStateImage(treeView, item) == 0 && Expanded(treeView, item);
  };
  ASSERT_TRUE(program.WaitFor(idle, 120000));
  HTREEITEM root = uikit::RemoteTreeRoot(treeView);

  // Branch > Expand > To Level 2, then End: the last folder, one level down.
  SetForegroundWindow(program.window);
  program.MenuKeys('B', 'E');
  Sleep(500);
  uikit::PostKey(program.window, '2');
  ASSERT_TRUE(program.WaitFor([&] { return ExpandedItems(treeView, root) == 1 + kTop; }, 30000))
      << ExpandedItems(treeView, root);
  SetFocus(treeView);
  uikit::PostKey(treeView, VK_END);
  ASSERT_TRUE(program.WaitFor([&] { return NextItem(treeView, nullptr, TVGN_CARET) != root; }, 10000));
  const std::string selected = Selection(treeView).first;
  // The recent entry rescans the root, twice: the second stops the first.
  program.MenuKeys('F', '1');
  program.MenuKeys('F', '1');
  Sleep(500);
  ASSERT_TRUE(program.WaitFor(idle, 120000));
  root = uikit::RemoteTreeRoot(treeView);
  EXPECT_EQ(ExpandedItems(treeView, root), 1 + kTop);
  EXPECT_EQ(Selection(treeView), std::make_pair(selected, true));

  // The first folder, its name from its text, updated through its pop-up:
  // the tree's Update is the sixth item up from the pop-up's end.
  SetFocus(treeView);
  uikit::PostKey(treeView, VK_HOME);
  uikit::PostKey(treeView, VK_DOWN);
  ASSERT_TRUE(program.WaitFor([&] { return NextItem(treeView, root, TVGN_CHILD) == NextItem(treeView, nullptr, TVGN_CARET); }, 10000));
  const HTREEITEM folder = NextItem(treeView, nullptr, TVGN_CARET);
  const std::string text = Trimmed(uikit::RemoteTreeItemText(treeView, folder));
  const std::string name = text.substr(text.rfind(' ') + 1);
  ASSERT_EQ(name.rfind("t1", 0), 0u) << text;
  const std::string path = rootPath + "\\" + name;
  auto updateSelected = [&] {
    SetFocus(treeView);
    uikit::PostKey(treeView, VK_APPS);
    Sleep(1500);
    for (int i = 0; i < 6; ++i) {
      uikit::PostKey(treeView, VK_UP);
      Sleep(150);
    }
    uikit::PostKey(treeView, VK_RETURN);
    Sleep(500);
    EXPECT_TRUE(program.WaitFor(idle, 60000));
  };
  auto shownText = [&] { return uikit::RemoteTreeItemText(treeView, NextItem(treeView, nullptr, TVGN_CARET)); };
  // Another program holds the folder for itself alone: it cannot be read.
  HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  updateSelected();
  EXPECT_TRUE(program.WaitFor([&] { return shownText().find(name + " [Error!]") != std::string::npos; }, 10000)) << shownText();
  CloseHandle(held);
  updateSelected();
  EXPECT_TRUE(program.WaitFor([&] { return shownText().find("[Error!]") == std::string::npos; }, 10000)) << shownText();
  EXPECT_NE(shownText().find(name), std::string::npos) << shownText();
  RemoveTree(path);
  updateSelected();
  auto listed = [&] {
    int count = 0;
    bool named = false;
    for (HTREEITEM c = NextItem(treeView, root, TVGN_CHILD); c != nullptr; c = NextItem(treeView, c, TVGN_NEXT)) {
      ++count;
      const std::string t = uikit::RemoteTreeItemText(treeView, c);
      named = named || t.substr(t.rfind(' ') + 1) == name;
    }
    return std::make_pair(count, named);
  };
  EXPECT_TRUE(program.WaitFor([&] { return listed() == std::make_pair(kTop - 1, false); }, 10000))
      << listed().first << " folders, the deleted one among them " << listed().second;
  EXPECT_TRUE(program.Close());
  RemoveTree(rootPath);
}

// A folder named outside the ANSI code page, given on the command line, is
// scanned and enters the recent list whole; the entry reopens it.
TEST(FoldwickRun, OpensAndReopensAFolderNamedInAnyScript) {
  classlib::TRegistry registry;
  registry.DeleteKey(std::string("\\") + kSettingsKey);
  wchar_t temp[MAX_PATH] = L"";
  GetTempPathW(MAX_PATH, temp);
  const std::wstring root = std::wstring(temp) + L"\x0394\x03B5\x03B4\x03BF\x03BC\x03AD\x03BD\x03B1_\x6570\x636E" +
                            std::to_wstring(GetCurrentProcessId());
  RemoveTree(root);
  CreateDirectoryW(root.c_str(), nullptr);
  CreateDirectoryW((root + L"\\a").c_str(), nullptr);
  CreateSizedFile(root + L"\\a\\f.bin", 5000);
  for (const std::wstring& args : {L"\"" + root + L"\"", std::wstring()}) {
    TFoldwick program(args);
    ASSERT_NE(program.window, nullptr) << "Foldwick's window did not appear";
    if (args.empty()) program.MenuKeys('F', '1');  // the recent entry
    HWND treeView = program.Child(WC_TREEVIEWA);
    EXPECT_TRUE(program.WaitFor([&] {
      HTREEITEM item = uikit::RemoteTreeRoot(treeView);
      return item != nullptr && uikit::RemoteTreeStateImage(treeView, item) == 0 && Expanded(treeView, item);
    }, 30000)) << (args.empty() ? "recent entry" : "command line");
    EXPECT_EQ(uikit::WaitForTopWindow("Cannot", 200), nullptr);
    // Export > Copy Scanned Data: the root's row and its child's, by their whole names.
    if (OpenClipboard(nullptr)) {
      EmptyClipboard();
      CloseClipboard();
    }
    program.MenuKeys('E', 'C');
    std::wstring copied;
    EXPECT_TRUE(program.WaitFor([&] { return !(copied = ClipboardUnicodeText()).empty(); }, 10000));
    EXPECT_NE(copied.find(root + L"\t"), std::wstring::npos) << Utf8Of(copied);
    EXPECT_NE(copied.find(L"\na\t" + root + L"\\\t"), std::wstring::npos) << copied.size();
    EXPECT_TRUE(program.Close());
    ASSERT_TRUE(registry.OpenKey(std::string("\\") + kSettingsKey + "\\MRU Items", false));
    EXPECT_TRUE(registry.ReadUtf8String("F0") == Utf8Of(root));
    registry.CloseKey();
  }
  RemoveTree(root);
}

}  // namespace
}  // namespace foldwick

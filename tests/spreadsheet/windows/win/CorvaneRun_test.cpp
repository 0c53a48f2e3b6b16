// Corvane from start to close, as its own program on the test desktop, run
// from a folder of its own so that its settings file starts fresh. Driven by
// window messages only: cells typed through the keyboard, arrows, a menu
// command by Alt and letters, Save As through its dialog, quit; the saved
// file read back with the worksheet reader; a second start with the file on
// its command line, the recent-file list, a cell's status on the entry line;
// the graph ranges of a new sheet; a third start that hands its file to the
// running one. One picture of the running program goes to the pictures
// folder.
#include <gtest/gtest.h>

#include "classlib/win/Win32.h"

#include <dlgs.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/CellStore.h"
#include "spreadsheet/engine/DocumentTable.h"
#include "spreadsheet/engine/FormulaText.h"
#include "spreadsheet/engine/PagePool.h"
#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/RangeNames.h"
#include "spreadsheet/files/WorksheetFile.h"
#include "spreadsheet/windows/NewSheet.h"
#include "tests/spreadsheet/engine/FakeWindowServices.h"
#include "tests/support/win/RemoteWindow.h"
#include "tests/support/win/UiKit.h"
#include "tests/win/RunProgram.h"

namespace corvane {
namespace {

constexpr char kFrameClass[] = "TForm1";

using testsupport::WaitFor;

std::string TextOf(HWND window) {
  char text[512] = "";
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, nullptr);
  return text;
}

// The text of a message box: its caption and the texts of its children.
BOOL CALLBACK AppendText(HWND child, LPARAM param) {
  *reinterpret_cast<std::string*>(param) += TextOf(child) + "\n";
  return TRUE;
}
std::string WindowText(HWND window) {
  std::string text = TextOf(window) + "\n";
  EnumChildWindows(window, AppendText, reinterpret_cast<LPARAM>(&text));
  return text;
}

BOOL CALLBACK MatchAddress(HWND child, LPARAM param) {
  std::string text = TextOf(child);
  if (text.size() < 3 || text[1] != ':' || text[0] < 'A' || text[0] > 'Z' || text.find('\\') != std::string::npos)
    return TRUE;
  *reinterpret_cast<std::string*>(param) = text;
  return FALSE;
}

BOOL CALLBACK MatchEntryLine(HWND child, LPARAM param) {
  char name[32] = "", parent[32] = "";
  GetClassNameA(child, name, sizeof name);
  GetClassNameA(GetParent(child), parent, sizeof parent);
  if (lstrcmpiA(name, "Edit") != 0 || lstrcmpiA(parent, "ComboBox") == 0) return TRUE;
  *reinterpret_cast<HWND*>(param) = child;
  return FALSE;
}

BOOL CALLBACK CollectEditTexts(HWND child, LPARAM param) {
  char name[32] = "";
  GetClassNameA(child, name, sizeof name);
  if (lstrcmpiA(name, "Edit") == 0) reinterpret_cast<std::vector<std::string>*>(param)->push_back(TextOf(child));
  return TRUE;
}

// Counts the list boxes in view (IsWindowVisible: their pages too).
BOOL CALLBACK CountVisibleListBoxes(HWND child, LPARAM param) {
  char name[32] = "";
  GetClassNameA(child, name, sizeof name);
  if (lstrcmpiA(name, "ListBox") == 0 && IsWindowVisible(child)) ++*reinterpret_cast<int*>(param);
  return TRUE;
}

BOOL CALLBACK MatchVisibleBox(HWND window, LPARAM param) {
  char name[32] = "";
  GetClassNameA(window, name, sizeof name);
  if (!IsWindowVisible(window) || lstrcmpA(name, "#32770") != 0) return TRUE;
  *reinterpret_cast<bool*>(param) = true;
  return FALSE;
}

// A message box of the program that owns `frame` is up.
bool AsksQuestion(HWND frame) {
  bool found = false;
  EnumThreadWindows(GetWindowThreadProcessId(frame, nullptr), MatchVisibleBox, reinterpret_cast<LPARAM>(&found));
  return found;
}

// A folder of its own with a copy of the program in it.
struct TProgramFolder {
  std::string path;
  TProgramFolder() {
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    path = std::string(temp) + "corvane-run-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(path.c_str(), nullptr);
    CopyFileA((testsupport::ExeDir() + "\\Corvane.exe").c_str(), (path + "\\Corvane.exe").c_str(), FALSE);
  }
  // Removed whole with whatever the runs left in it (settings, saved sheets,
  // the macro toolbar's files).
  ~TProgramFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
  std::string File(const std::string& name) const { return path + "\\" + name; }
};

// A key going down or up as the keyboard sends it, for SendInput.
INPUT KeyEvent(WORD vk, bool up) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
  const bool extended = vk == VK_LEFT || vk == VK_RIGHT || vk == VK_UP || vk == VK_DOWN || vk == VK_HOME ||
                        vk == VK_END || vk == VK_DELETE || vk == VK_INSERT || vk == VK_PRIOR || vk == VK_NEXT;
  input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
  return input;
}

// Corvane running on the test desktop.
class TCorvane {
 public:
  TCorvane(const TProgramFolder& folder, const std::string& args)
      : program_("\"" + folder.File("Corvane.exe") + "\" " + args, folder.path.c_str()) {
    if (!program_.Started()) return;
    WaitFor([&] { return (window = FindWindowA(kFrameClass, nullptr)) != nullptr; }, 60000);
    // Start-up has ended when the frame takes input, or asks a question first.
    if (window != nullptr) WaitFor([&] { return IsWindowEnabled(window) != FALSE || AsksQuestion(window); }, 60000);
    Settle();
  }
  bool Close() { return program_.Close(window); }
  // Lets the program handle what was posted to it.
  void Settle() const { Sleep(300); }
  // The window that has the program's keyboard focus.
  HWND Focus() const {
    GUITHREADINFO info = {sizeof info};
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus != nullptr ? info.hwndFocus : window;
  }
  void Key(int vk) const {
    HWND target = Focus();
    PostMessageA(target, WM_KEYDOWN, static_cast<WPARAM>(vk), 1);
    PostMessageA(target, WM_KEYUP, static_cast<WPARAM>(vk), 0xC0000001);
    Settle();
  }
  void Type(const std::string& text) const {
    for (char ch : text) {
      PostMessageA(Focus(), WM_CHAR, static_cast<unsigned char>(ch), 1);
      Sleep(60);
    }
    Settle();
  }
  // A cell entered as typed in the sheet, then the arrow that commits it.
  void Enter(const std::string& text, int arrow) const {
    Type(text);
    Key(arrow);
  }
  // Ctrl with a letter or digit, from the keyboard: posted key messages
  // would leave Ctrl up in the state the program's TranslateMessage reads,
  // and Ctrl+1 would type a 1 as well.
  void CtrlKey(char key) const {
    SetForegroundWindow(window);
    INPUT keys[] = {KeyEvent(VK_CONTROL, false), KeyEvent(static_cast<WORD>(key), false),
                    KeyEvent(static_cast<WORD>(key), true), KeyEvent(VK_CONTROL, true)};
    SendInput(static_cast<UINT>(std::size(keys)), keys, sizeof keys[0]);
    Settle();
  }
  // Alt and a menu's letter, then an item's letter.
  void MenuKeys(char menu, char item) const {
    uikit::PressKey(window, menu, classlib::ssAlt);
    Sleep(700);
    uikit::PostKey(window, item);
    Settle();
  }
  // The entry line: the edit that is not part of a combo box.
  HWND EntryLine() const {
    HWND found = nullptr;
    EnumChildWindows(window, MatchEntryLine, reinterpret_cast<LPARAM>(&found));
    return found;
  }
  // The cell address on the status line ("A:B3"): the text of the panel that
  // starts with a sheet letter and ":".
  std::string StatusAddress() const {
    std::string found;
    EnumChildWindows(window, MatchAddress, reinterpret_cast<LPARAM>(&found));
    return found;
  }
  // The sheet windows, the active one first.
  std::string ActiveSheetCaption() const {
    HWND client = uikit::FindChildOfClass(window, "MDIClient");
    HWND active = client != nullptr ? reinterpret_cast<HWND>(SendMessageA(client, WM_MDIGETACTIVE, 0, 0)) : nullptr;
    return active != nullptr ? TextOf(active) : "";
  }
  // How many sheet windows are open.
  int SheetWindowCount() const {
    HWND client = uikit::FindChildOfClass(window, "MDIClient");
    int count = 0;
    for (HWND child = client != nullptr ? GetWindow(client, GW_CHILD) : nullptr; child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT))
      ++count;
    return count;
  }
  bool Ended(DWORD timeoutMs) const { return program_.Ended(timeoutMs); }

  HWND window = nullptr;

 private:
  testsupport::TStartedProgram program_;
};

// A file command of the File menu (its item letter) through its dialog,
// captioned `caption`, given `path`.
bool ThroughFileDialog(const TCorvane& program, char item, const char* caption, const std::string& path) {
  program.MenuKeys('F', item);
  HWND dialog = uikit::WaitForTopWindow(caption, 15000);
  if (dialog == nullptr) return false;
  HWND edit = uikit::FindChildOfClass(dialog, "Edit");
  if (edit == nullptr) return false;
  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  return WaitFor([&] { return !IsWindow(dialog); }, 15000);
}

// Opens a worksheet through File > Open.
bool OpenThroughDialog(const TCorvane& program, const std::string& path) {
  return ThroughFileDialog(program, 'O', "CORVANE OPEN", path);
}

struct TBoxSearch {
  std::string wanted;
  HWND found = nullptr;
  std::string text;
};

BOOL CALLBACK MatchBoxText(HWND child, LPARAM param) {
  auto& search = *reinterpret_cast<TBoxSearch*>(param);
  std::string text = TextOf(child);
  if (text.find(search.wanted) == std::string::npos) return TRUE;
  search.text = text;
  return FALSE;
}

BOOL CALLBACK MatchBox(HWND window, LPARAM param) {
  auto& search = *reinterpret_cast<TBoxSearch*>(param);
  char name[32] = "";
  GetClassNameA(window, name, sizeof name);
  if (!IsWindowVisible(window) || lstrcmpA(name, "#32770") != 0) return TRUE;
  EnumChildWindows(window, MatchBoxText, param);
  if (search.text.empty()) return TRUE;
  search.found = window;
  return FALSE;
}

// The program's message box whose text holds `wanted`, waited for; its text
// in `text`.
HWND WaitForBox(const TCorvane& program, const std::string& wanted, std::string& text, DWORD timeoutMs = 15000) {
  TBoxSearch search{wanted};
  const DWORD thread = GetWindowThreadProcessId(program.window, nullptr);
  WaitFor([&] {
    EnumThreadWindows(thread, MatchBox, reinterpret_cast<LPARAM>(&search));
    return search.found != nullptr;
  }, timeoutMs);
  text = search.text;
  return search.found;
}

// The question a worksheet with macros asks as it opens (its text, holding
// `file`, in `text`), answered Yes; false when none came.
bool AllowMacros(const TCorvane& program, const std::string& file, std::string& text) {
  if (WaitForBox(program, file, text) == nullptr) return false;
  program.Key(VK_TAB);
  program.Key(VK_RETURN);
  return true;
}

// The program handles a message sent to its frame within a second.
bool Answers(const TCorvane& program) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(program.window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result) != 0;
}

std::string FileText(const std::string& path) {
  std::string text;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "(missing)";
  char buffer[256];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
  CloseHandle(file);
  return text;
}

void WriteText(const std::string& path, const std::string& text) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

// Saves the active sheet through File > Save As.
bool SaveAs(const TCorvane& program, const std::string& path) {
  return ThroughFileDialog(program, 'A', "Corvane SAVE AS...", path);
}

// A worksheet file as the program's reader reads it, or one of `sheets`
// sheets written by its writer, with the cells `fill` enters and `buttons`
// on the sheet.
class TSavedSheet {
 public:
  explicit TSavedSheet(const std::string& path, int sheets = 0, const std::function<void()>& fill = {},
                       const std::vector<TSheetButton>& buttons = {}) {
    SetWindowServices(&windows_);
    PoolInit();
    int slot = 0;
    RegisterOpenSheet("CHECK.WKS", slot);
    ActivateDocumentContext(slot);
    InitNewSheet();
    if (sheets > 0) {
      windows_.sheetCount = sheets;
      windows_.buttons = buttons;
      gCurrentDoc.settings.rowsPerSheet = static_cast<std::int16_t>(kRowsPerWorksheet / sheets);
      if (fill) fill();
      loaded = SaveWorksheet(path, false, TRange{});
    } else {
      loaded = LoadWorksheet(path, 0, 0, 0, "");
    }
  }
  ~TSavedSheet() {
    FreeAllDocuments();
    PoolFreeAll();
    SetWindowServices(nullptr);
  }
  std::string Contents(int row, int col) const { return CellContentsText(CellFind(row, col)); }
  const std::vector<std::string>& TabNames() const { return windows_.tabNames; }
  double Value(int row, int col) const {
    const TCell* cell = CellPtr(CellFind(row, col));
    if (cell == nullptr) return -9999;
    return CellKind(*cell) == kKindInteger ? CellInteger(*cell) : CellReal(*cell);
  }
  bool loaded = false;

 private:
  testing::TFakeWindowServices windows_;
};

TEST(CorvaneRun, TypesSavesReopensAndHandsOver) {
  const TProgramFolder folder;
  const std::string budget = folder.File("BUDGET.WKS");
  const std::string twoSheets = folder.File("TWO.WKS");
  ASSERT_TRUE(TSavedSheet(twoSheets, 2).loaded);

  {
    // A worksheet of two sheets of 4096 rows: cells typed on the first, the
    // tab of the second picked, a cell typed there.
    TCorvane program(folder, "\"" + twoSheets + "\"");
    ASSERT_NE(program.window, nullptr) << "Corvane's window did not appear";
    ASSERT_EQ(program.ActiveSheetCaption(), WksFileName(twoSheets));
    program.Enter("42", VK_DOWN);
    program.Enter("Apples", VK_DOWN);
    program.Enter("+A1*2", VK_DOWN);
    program.Enter("@DATE(95,10,28)", VK_RIGHT);
    program.Enter("7", VK_UP);
    // The tab of sheet B: clicked along the tab bar until the status line's
    // address says the cursor is on B (the tabs' widths follow the font).
    HWND tabs = uikit::FindChildOfClass(program.window, "tabbar");
    ASSERT_NE(tabs, nullptr);
    bool onB = false;
    for (int x = 44; x < 200 && !onB; x += 6) {
      uikit::Click(tabs, {x, 12});
      program.Settle();
      onB = program.StatusAddress().rfind("B:", 0) == 0;
    }
    ASSERT_TRUE(onB) << program.StatusAddress();
    program.Enter("second sheet", VK_DOWN);
    ASSERT_TRUE(SaveAs(program, budget));
    EXPECT_EQ(program.ActiveSheetCaption(), WksFileName(budget));
    uikit::SaveWindowPicture(program.window, "corvane-run");
    EXPECT_TRUE(program.Close());
  }

  TSavedSheet saved(budget);
  ASSERT_TRUE(saved.loaded);
  EXPECT_EQ(saved.Value(0, 0), 42);
  EXPECT_EQ(saved.Contents(1, 0), "'Apples");
  EXPECT_EQ(saved.Contents(2, 0), "+A1*2");
  EXPECT_EQ(saved.Value(2, 0), 84);
  EXPECT_EQ(saved.Contents(3, 0), "@DATE(95,10,28)");
  EXPECT_EQ(saved.Value(3, 0), 35000);
  EXPECT_EQ(saved.Value(3, 1), 7);
  EXPECT_EQ(saved.Contents(4096 + 2, 1), "'second sheet") << "B:B3, the second sheet's cell under the cursor";

  {
    // Quoted files on the command line, each opened in turn; one that is
    // missing says so. The last one's cell status on the entry line.
    const std::string missing = folder.File("MISSING.WKS");
    TCorvane program(folder, "\"" + twoSheets + "\" \"" + missing + "\" \"" + budget + "\"");
    ASSERT_NE(program.window, nullptr);
    std::string text;
    HWND notFound = WaitForBox(program, "not found", text);
    ASSERT_NE(notFound, nullptr) << "a missing file on the command line said nothing";
    EXPECT_NE(text.find(missing), std::string::npos) << text;
    program.Key(VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return program.ActiveSheetCaption() == WksFileName(budget); }, 15000))
        << program.ActiveSheetCaption();
    EXPECT_EQ(program.SheetWindowCount(), 2);
    program.Key(VK_HOME);
    program.Key(VK_DOWN);
    program.Key(VK_DOWN);
    EXPECT_EQ(TextOf(program.EntryLine()), "+A:A1*2");
    EXPECT_TRUE(program.Close());
  }

  {
    // No file: a new sheet; the recent-file list's first item opens the file.
    TCorvane program(folder, "");
    ASSERT_NE(program.window, nullptr);
    EXPECT_EQ(program.ActiveSheetCaption(), "SHEET1.WKS");
    // Graph > Ranges on the new sheet: its graph has no ranges yet, so every
    // range field is empty (none reads A1). Escape leaves the dialog.
    program.MenuKeys('G', 'R');
    HWND ranges = uikit::WaitForTopWindow("Specify Ranges", 15000);
    ASSERT_NE(ranges, nullptr);
    EXPECT_FALSE(IsWindowEnabled(program.window)) << "the main window waits while the dialog is up";
    std::vector<std::string> fields;
    EnumChildWindows(ranges, CollectEditTexts, reinterpret_cast<LPARAM>(&fields));
    EXPECT_GE(std::count(fields.begin(), fields.end(), ""), 13);
    EXPECT_EQ(std::count(fields.begin(), fields.end(), "A1"), 0);
    program.Key(VK_ESCAPE);
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(ranges); }, 15000));
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(program.window) != FALSE; }, 15000));
    // Graph > Options, then Alt+Y: the Typeface sub-page shows the font list;
    // Alt+C cancels.
    program.MenuKeys('G', 'O');
    HWND options = uikit::WaitForTopWindow("Options", 15000);
    ASSERT_NE(options, nullptr);
    auto listBoxes = [&] {
      int count = 0;
      EnumChildWindows(options, CountVisibleListBoxes, reinterpret_cast<LPARAM>(&count));
      return count;
    };
    EXPECT_EQ(listBoxes(), 0);
    uikit::PressKey(options, 'Y', classlib::ssAlt);
    EXPECT_TRUE(WaitFor([&] { return listBoxes() == 1; }, 15000));
    uikit::PressKey(options, 'C', classlib::ssAlt);
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(options); }, 15000));
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(program.window) != FALSE; }, 15000));
    program.MenuKeys('F', '0');
    EXPECT_TRUE(WaitFor([&] { return program.ActiveSheetCaption() == WksFileName(budget); }, 15000))
        << program.ActiveSheetCaption();

    // A second start hands its file over and ends.
    program.MenuKeys('F', 'N');
    TCorvane second(folder, "\"" + budget + "\"");
    EXPECT_TRUE(second.Ended(30000)) << "the second start ended";
    EXPECT_TRUE(WaitFor([&] { return program.ActiveSheetCaption() == WksFileName(budget); }, 15000))
        << program.ActiveSheetCaption();

    // One while a dialog shows: the dialog, owned by the frame, comes to the
    // front, and the file opens once it has closed.
    program.MenuKeys('S', 'C');
    HWND width = uikit::WaitForTopWindow("Set  Width or Height", 15000);
    ASSERT_NE(width, nullptr);
    EXPECT_EQ(GetWindow(width, GW_OWNER), program.window);
    TCorvane third(folder, "\"" + twoSheets + "\"");
    EXPECT_TRUE(third.Ended(30000)) << "the third start ended";
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == width; }, 15000)) << "the dialog in front";
    Sleep(1000);
    EXPECT_TRUE(IsWindowVisible(width));
    EXPECT_NE(program.ActiveSheetCaption(), WksFileName(twoSheets)) << "opened under the dialog";
    PostMessageA(width, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitFor([&] { return program.ActiveSheetCaption() == WksFileName(twoSheets); }, 15000))
        << program.ActiveSheetCaption();
    EXPECT_TRUE(program.Close());
  }
}

std::string FileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// A message box of the program with the given thread, or null.
HWND FindMessageBox(DWORD thread) {
  struct TSearch {
    DWORD thread;
    HWND found;
  } search{thread, nullptr};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<TSearch*>(param);
        char name[32] = "";
        GetClassNameA(window, name, sizeof name);
        if (!IsWindowVisible(window) || lstrcmpA(name, "#32770") != 0 ||
            GetWindowThreadProcessId(window, nullptr) != s->thread || TextOf(window) != "Corvane")
          return TRUE;
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

TEST(CorvaneRun, ADamagedFileOpensWithWhatWasRead) {
  const TProgramFolder folder;
  // The damaged file in a folder of its own; another worksheet of its name
  // where the program starts (its current folder, where Save As starts when
  // nothing was saved yet).
  CreateDirectoryA(folder.File("SUB").c_str(), nullptr);
  const std::string good = folder.File("GOOD.WKS"), damaged = folder.File("SUB\\DAMAGED.WKS");
  const std::string other = folder.File("DAMAGED.WKS");
  ASSERT_TRUE(TSavedSheet(good, 1, [] {
                EnterCell("42", 0, 0);
                EnterCell("Apples", 1, 0);
                EnterCell("+A1*2", 2, 0);
              }).loaded);
  // The extension section's end cut off: the cells are all in the main section.
  std::string bytes = FileBytes(good);
  const std::string cut = bytes.substr(0, bytes.size() - 7) + std::string("\x0f\x00\x40\x00", 4);
  {
    std::ofstream(damaged, std::ios::binary) << cut;
  }

  TCorvane program(folder, "");
  ASSERT_NE(program.window, nullptr);
  DWORD thread = GetWindowThreadProcessId(program.window, nullptr);
  HWND box = nullptr;
  // A file of another format is refused whole: the error box, and no window.
  const std::string notSheet = folder.File("OTHER.WKS");
  {
    std::ofstream(notSheet, std::ios::binary) << std::string("MZ\x02\x00\x04\x04\x01\x00\x00\x00", 10);
  }
  ASSERT_TRUE(OpenThroughDialog(program, notSheet));
  ASSERT_TRUE(WaitFor([&] { return (box = FindMessageBox(thread)) != nullptr; }, 15000));
  EXPECT_NE(TextOf(GetDlgItem(box, 0xFFFF)).find("Invalid WKS File!"), std::string::npos) << TextOf(GetDlgItem(box, 0xFFFF));
  program.Key(VK_RETURN);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }, 15000));
  EXPECT_NE(program.ActiveSheetCaption(), WksFileName(notSheet));

  program.MenuKeys('F', 'O');
  HWND dialog = uikit::WaitForTopWindow("CORVANE OPEN", 15000);
  ASSERT_NE(dialog, nullptr);
  HWND edit = uikit::FindChildOfClass(dialog, "Edit");
  ASSERT_NE(edit, nullptr);
  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(damaged.c_str()));
  program.Key(VK_RETURN);
  // The error box names the damaged record; Enter closes it.
  ASSERT_TRUE(WaitFor([&] { return (box = FindMessageBox(thread)) != nullptr; }, 15000));
  EXPECT_NE(TextOf(GetDlgItem(box, 0xFFFF)).find("Error at Record:"), std::string::npos) << TextOf(GetDlgItem(box, 0xFFFF));
  program.Key(VK_RETURN);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }, 15000));
  // The window stays with what was read.
  EXPECT_TRUE(WaitFor([&] { return program.ActiveSheetCaption() == WksFileName(damaged); }, 15000))
      << program.ActiveSheetCaption();
  program.Key(VK_HOME);
  program.Key(VK_DOWN);
  program.Key(VK_DOWN);
  EXPECT_EQ(TextOf(program.EntryLine()), "+A1*2");
  // Closing asks nothing and leaves the file as it was.
  EXPECT_TRUE(program.Close());
  EXPECT_EQ(FileBytes(damaged), cut);

  // Opened again and saved: Save asks for the name in the damaged file's own
  // folder, so Enter and Yes replace the damaged file, which is kept as the
  // backup; the other worksheet of that name stays as it was.
  WriteText(other, "another worksheet");
  TCorvane again(folder, "\"" + damaged + "\"");
  ASSERT_NE(again.window, nullptr);
  ASSERT_TRUE(WaitFor([&] { return (box = FindMessageBox(GetWindowThreadProcessId(again.window, nullptr))) != nullptr; },
                      15000));
  again.Key(VK_RETURN);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }, 15000));
  again.MenuKeys('F', 'S');
  dialog = uikit::WaitForTopWindow("Corvane SAVE AS...", 15000);
  ASSERT_NE(dialog, nullptr);
  again.Key(VK_RETURN);
  std::string text;
  HWND replace = WaitForBox(again, "DAMAGED.WKS", text);
  ASSERT_NE(replace, nullptr) << "no question about replacing the file";
  again.Key('Y');
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog); }, 15000));
  EXPECT_TRUE(WaitFor([&] { return FileBytes(folder.File("SUB\\DAMAGED.WKB")) == cut; }, 15000))
      << "the damaged file was not kept as the backup";
  EXPECT_EQ(FileText(other), "another worksheet") << "another worksheet of that name was replaced";
  EXPECT_TRUE(again.Close());
}

TEST(CorvaneRun, ToolbarMacroTypesAndRunsCommands) {
  const TProgramFolder folder;
  {
    // The macro library's one button: keys typed into a cell through the
    // entry line, then commands of the interpreter and of a family.
    HANDLE library = CreateFileA(folder.File("Corvane.MAC").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(library, INVALID_HANDLE_VALUE);
    const std::string line = "Go|Run|{GOTO B2}hello~{LET C3 6*7}{COPYVAL B2 D4}{GOTO D4}\r\n";
    DWORD written = 0;
    WriteFile(library, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(library);
  }
  const std::string saved = folder.File("MACRO.WKS");
  {
    TCorvane program(folder, "");
    ASSERT_NE(program.window, nullptr);
    HWND bar = uikit::FindChildOfClass(program.window, "tbarmenu");
    ASSERT_NE(bar, nullptr);
    // The first button lies below the bar's arrow strip, whose height follows
    // the bar's: clicked down the bar until the macro has run.
    for (int y = 2; y < 80 && TextOf(program.EntryLine()).empty(); y += 4) {
      uikit::Click(bar, {10, y});
      program.Settle();
    }
    EXPECT_NE(TextOf(program.EntryLine()).find("hello"), std::string::npos) << TextOf(program.EntryLine());
    ASSERT_TRUE(SaveAs(program, saved));
    EXPECT_TRUE(program.Close());
  }
  TSavedSheet sheet(saved);
  ASSERT_TRUE(sheet.loaded);
  EXPECT_EQ(sheet.Contents(1, 1), "'hello");
  EXPECT_EQ(sheet.Value(2, 2), 42);
  EXPECT_EQ(sheet.Contents(3, 3), "'hello");
}

TEST(CorvaneRun, MacrosAskBeforeTheyRunAndCanAlwaysBeStopped) {
  const TProgramFolder folder;
  const std::string target = folder.File("TARGET.TXT");
  WriteText(target, "original");
  // A worksheet from someone else, whose AUTOEXEC macro replaces a file.
  auto gift = [] {
    EnterCell("'{OPEN 0,2,\"TARGET.TXT\"}{WRITELN 0,\"replaced\"}{CLOSE 0}", 0, 0);
    RangeNameCreate("AUTOEXEC", TRange{0, 0, 0, 0});
  };
  ASSERT_TRUE(TSavedSheet(folder.File("GIFT.WKS"), 1, gift).loaded);
  ASSERT_TRUE(TSavedSheet(folder.File("GIFT2.WKS"), 1, gift).loaded);
  // The user's own macros: three that would run for ever, one with function
  // arguments and an input box, one asking in a loop.
  const std::string work = folder.File("WORK.WKS");
  ASSERT_TRUE(TSavedSheet(work, 1, [] {
                EnterCell("'{LET B1 B1+1}{BRANCH A1}", 0, 0);
                EnterCell("'x{BRANCH A3}", 2, 0);
                EnterCell("'{FOR C5,5,1,0}{NEXT}", 4, 0);
                EnterCell("'{LET B7 @IF(A9>3,\"big\",\"small\")}{LET B8 @SUM(A9,A9,1)}{GETNUMBER \"Number?\",B9}", 6, 0);
                EnterCell("4", 8, 0);
                EnterCell("7", 8, 1);
                EnterCell("'{GETNUMBER \"Again?\",B11}{BRANCH A11}", 10, 0);
                // A macro menu of two items, whose Esc branch is a blank cell.
                EnterCell("'{MENUBRANCH A15}", 12, 0);
                EnterCell("'One", 14, 0);
                EnterCell("'Two", 14, 1);
                const int starts[] = {0, 2, 4, 6, 10, 12};
                for (int k = 0; k < 6; ++k)
                  RangeNameCreate("\\" + std::to_string(k + 1), TRange{0, static_cast<std::int16_t>(starts[k]), 0,
                                                                     static_cast<std::int16_t>(starts[k])});
              }).loaded);

  {
    TCorvane program(folder, "\"" + work + "\"");
    ASSERT_NE(program.window, nullptr);
    std::string text;
    // The user's own worksheet holds Ctrl+letter macros: it asks too; Yes.
    ASSERT_TRUE(AllowMacros(program, "WORK.WKS", text)) << "no question for the Ctrl+letter macros";
    EXPECT_NE(text.find("Ctrl+1"), std::string::npos) << text;
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(program.window) != FALSE; }, 30000));

    // Opened through File Open, the worksheet asks first; No, the default,
    // opens it and runs nothing.
    ASSERT_TRUE(OpenThroughDialog(program, folder.File("GIFT.WKS")));
    HWND question = WaitForBox(program, "AUTOEXEC", text);
    ASSERT_NE(question, nullptr) << "no question before the AUTOEXEC macro";
    EXPECT_NE(text.find("GIFT.WKS"), std::string::npos) << text;
    EXPECT_NE(text.find("{OPEN 0,2,\"TARGET.TXT\"}"), std::string::npos) << text;
    program.Key(VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(question); }, 10000));
    EXPECT_TRUE(WaitFor([&] { return program.ActiveSheetCaption() == WksFileName(folder.File("GIFT.WKS")); }, 10000));
    Sleep(1000);
    EXPECT_EQ(FileText(target), "original");

    // Yes runs it.
    ASSERT_TRUE(OpenThroughDialog(program, folder.File("GIFT2.WKS")));
    question = WaitForBox(program, "AUTOEXEC", text);
    ASSERT_NE(question, nullptr);
    program.Key(VK_TAB);
    program.Key(VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return FileText(target) == "replaced\r\n"; }, 10000)) << FileText(target);

    // The user's worksheet to the front again (it is open: no question).
    ASSERT_TRUE(OpenThroughDialog(program, work));
    ASSERT_TRUE(WaitFor([&] { return program.ActiveSheetCaption() == WksFileName(work); }, 10000));

    // Each runaway macro started by its Ctrl key: the window keeps answering,
    // and Ctrl+Break stops it with "Break!" and the line.
    program.Key(VK_RIGHT);
    program.Key(VK_RIGHT);
    program.Key(VK_RIGHT);  // D1: where the typing macro types
    // The typing one is stopped by Esc as well.
    const struct {
      const char* cell;
      char ctrlKey;
      int breakKey;
    } runaways[] = {{"A1", '1', VK_CANCEL}, {"A3", '2', VK_CANCEL}, {"A3", '2', VK_ESCAPE}};
    for (const auto& [cell, ctrlKey, breakKey] : runaways) {
      program.CtrlKey(ctrlKey);
      Sleep(1500);
      EXPECT_TRUE(Answers(program)) << cell << ": the window stopped answering";
      program.Key(breakKey);
      HWND box = WaitForBox(program, "Break!", text, 5000);
      ASSERT_NE(box, nullptr) << cell << ": Ctrl+Break did not stop the macro";
      EXPECT_NE(text.find(std::string("Break! ") + cell), std::string::npos) << text;
      program.Key(VK_RETURN);
      EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }, 5000));
    }
    program.Key(VK_ESCAPE);  // the typed x's are not entered
    // A loop of step 0 ends by itself.
    program.CtrlKey('3');
    Sleep(1000);
    EXPECT_TRUE(Answers(program));
    EXPECT_EQ(WaitForBox(program, "Break!", text, 500), nullptr);

    // Function arguments, then the input box closed with Esc keeps B9.
    program.CtrlKey('4');
    HWND input = uikit::WaitForTopWindow("Number?", 10000);
    ASSERT_NE(input, nullptr) << "no input box";
    program.Type("99");
    program.Key(VK_ESCAPE);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(input); }, 5000));

    // A loop around the input box: Ctrl+Break while the box waits closes it
    // and stops the macro at once.
    program.CtrlKey('5');
    input = uikit::WaitForTopWindow("Again?", 10000);
    ASSERT_NE(input, nullptr) << "no input box in the loop";
    program.Key(VK_CANCEL);
    HWND stopped = WaitForBox(program, "Break!", text, 5000);
    ASSERT_NE(stopped, nullptr) << "Ctrl+Break left the loop around the input box running";
    EXPECT_NE(text.find("Break! A11"), std::string::npos) << text;
    program.Key(VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(stopped); }, 5000));

    // Ctrl+Break on the macro's menu says "Break!" too.
    program.CtrlKey('6');
    HWND menu = uikit::WaitForTopWindow("Macro Menu", 10000);
    ASSERT_NE(menu, nullptr) << "no macro menu";
    program.Key(VK_CANCEL);
    stopped = WaitForBox(program, "Break!", text, 5000);
    ASSERT_NE(stopped, nullptr) << "Ctrl+Break on the macro menu said nothing";
    EXPECT_NE(text.find("Break! A13"), std::string::npos) << text;
    program.Key(VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(stopped); }, 5000));

    // Closing asks to save what the macros changed.
    PostMessageA(program.window, WM_CLOSE, 0, 0);
    HWND save = WaitForBox(program, "WORK.WKS", text);
    ASSERT_NE(save, nullptr) << "closing asked nothing about the macros' changes";
    EXPECT_NE(text.find("Save Worksheet"), std::string::npos) << text;
    program.Key(VK_RETURN);
    // Saved and closed: the frame goes once every document is closed.
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(program.window) || !IsWindowVisible(program.window); }, 30000));
  }

  TSavedSheet saved(work);
  ASSERT_TRUE(saved.loaded);
  EXPECT_GT(saved.Value(0, 1), 0) << "B1 counted up";
  EXPECT_EQ(saved.Contents(0, 3), "") << "D1: nothing typed was entered";
  EXPECT_EQ(saved.Value(4, 2), 5) << "C5, the step-0 loop's counter";
  EXPECT_EQ(saved.Contents(6, 1), "'big");
  EXPECT_EQ(saved.Value(7, 1), 9);
  EXPECT_EQ(saved.Value(8, 1), 7) << "B9 kept through the cancelled input box";
}

// The status line's cell panel: letters and digits of a cell address (after
// a sheet letter and ":" when the document has several sheets) and what
// follows; gives the address alone.
BOOL CALLBACK MatchCellPanel(HWND child, LPARAM param) {
  char name[32] = "";
  GetClassNameA(child, name, sizeof name);
  if (lstrcmpiA(name, "TPanel") != 0) return TRUE;
  const std::string text = TextOf(child);
  std::size_t at = text.size() > 2 && text[1] == ':' ? 2 : 0;
  const std::size_t letters = text.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ", at);
  if (letters == std::string::npos || letters == at || letters - at > 2) return TRUE;
  const std::size_t digits = text.find_first_not_of("0123456789", letters);
  if (digits == letters) return TRUE;
  *reinterpret_cast<std::string*>(param) = text.substr(0, digits);
  return FALSE;
}

// Real key input through the system, as a user types it: each key goes to
// whichever window of the program has the keyboard.
void SendKeyEvent(WORD vk, bool up) {
  INPUT input = KeyEvent(vk, up);
  SendInput(1, &input, sizeof input);
}

void PressKeys(std::initializer_list<WORD> held, WORD vk) {
  for (WORD m : held) SendKeyEvent(m, false);
  SendKeyEvent(vk, false);
  SendKeyEvent(vk, true);
  for (auto it = std::rbegin(held); it != std::rend(held); ++it) SendKeyEvent(*it, true);
}

// The program's keyboard user: keys and typed text, then time for the
// program to handle them.
struct TKeyboardUser {
  const TCorvane& program;
  void Key(WORD vk) const {
    PressKeys({}, vk);
    program.Settle();
  }
  void AltKey(WORD vk) const {
    PressKeys({VK_MENU}, vk);
    program.Settle();
  }
  void Type(const std::string& text) const {
    for (char ch : text) {
      const SHORT scan = VkKeyScanA(ch);
      if (scan == -1 || (HIBYTE(scan) & ~1) != 0) {
        // A character with no key of its own on the keyboard's layout.
        INPUT input[2] = {};
        for (INPUT& i : input) {
          i.type = INPUT_KEYBOARD;
          i.ki.wScan = static_cast<unsigned char>(ch);
          i.ki.dwFlags = KEYEVENTF_UNICODE;
        }
        input[1].ki.dwFlags |= KEYEVENTF_KEYUP;
        SendInput(2, input, sizeof input[0]);
      } else if (HIBYTE(scan) & 1) {
        PressKeys({VK_SHIFT}, LOBYTE(scan));
      } else {
        PressKeys({}, LOBYTE(scan));
      }
      Sleep(60);
    }
    program.Settle();
  }
  // F5 and a cell's address: the cursor goes there.
  void GoTo(const std::string& cell) const {
    Key(VK_F5);
    Type(cell);
    Key(VK_RETURN);
  }
  // Alt and the letters of a menu path.
  void Menu(const std::string& letters) const {
    SendKeyEvent(VK_MENU, false);
    SendKeyEvent(VK_MENU, true);
    Sleep(300);
    Type(letters);
  }
  // The cell under the cursor as the user sees it: the address that starts
  // the status line and the text of the entry line.
  std::string Cell() const {
    std::string address;
    EnumChildWindows(program.window, MatchCellPanel, reinterpret_cast<LPARAM>(&address));
    return address + " [" + TextOf(program.EntryLine()) + "]";
  }
};

// The "Define Tabs" dialog a right click on the sheet's first tab opens, and
// its memo's lines, one item a line.
HWND DefineTabs(const TCorvane& program, std::string& lines) {
  HWND client = uikit::FindChildOfClass(program.window, "MDIClient");
  HWND sheet = reinterpret_cast<HWND>(SendMessageA(client, WM_MDIGETACTIVE, 0, 0));
  HWND tabs = uikit::FindChildOfClass(sheet, "tabbar");
  if (tabs == nullptr) return nullptr;
  uikit::Click(tabs, {60, 12}, classlib::TMouseButton::mbRight);
  HWND dialog = uikit::WaitForTopWindow("Define Tabs", 15000);
  if (dialog != nullptr) lines = TextOf(uikit::FindChildOfClass(dialog, "Edit"));
  return dialog;
}

// Tab names typed in Define Tabs are saved with the sheet and come back:
// one the file had renamed, one added beyond it; keys only in the dialog. A
// label as long as the entry line takes is saved whole, and the title bar
// shows an accented file name in capitals.
TEST(CorvaneRun, TabNamesAndLongLabelsAreSavedAndReadBack) {
  const TProgramFolder folder;
  const std::string named = folder.File("NAMED.WKS"), saved = folder.File("renamed \xE9t\xE9.wks");
  ASSERT_TRUE(TSavedSheet(named, 3, [] {
                TSheetViewState view;
                WindowServices().GetSheetView(view);
                view.tabNames = {"Sales"};
                WindowServices().SetSheetView(view, kViewTabNames);
              }).loaded);
  {
    TCorvane program(folder, "\"" + named + "\"");
    ASSERT_NE(program.window, nullptr);
    SetForegroundWindow(program.window);
    program.Settle();
    // 245 characters typed into A1: the entry line takes 240.
    program.Type("x");
    HWND entry = program.EntryLine();
    for (int i = 1; i < 245; ++i) PostMessageA(entry, WM_CHAR, 'x', 1);
    program.Settle();
    EXPECT_EQ(TextOf(entry), std::string(240, 'x'));
    program.Key(VK_RETURN);
    std::string lines;
    HWND dialog = DefineTabs(program, lines);
    ASSERT_NE(dialog, nullptr) << "no Define Tabs dialog";
    EXPECT_EQ(lines.rfind("Sales\r\nB\r\nC\r\n", 0), 0u) << lines;
    // The first line becomes "Income", the second "Costs".
    const TKeyboardUser user{program};
    PressKeys({VK_CONTROL}, VK_HOME);
    PressKeys({VK_SHIFT}, VK_END);
    user.Type("Income");
    user.Key(VK_DOWN);
    user.Key(VK_HOME);
    PressKeys({VK_SHIFT}, VK_END);
    user.Type("Costs");
    user.AltKey('O');
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 15000));
    ASSERT_TRUE(SaveAs(program, saved));
    const std::string caption = program.ActiveSheetCaption();
    EXPECT_EQ(caption, WksFileName(saved));
    EXPECT_EQ(caption.substr(caption.size() - 15), "RENAMED \xC9T\xC9.WKS") << caption;
    EXPECT_TRUE(program.Close());
  }
  TSavedSheet file(saved);
  ASSERT_TRUE(file.loaded);
  EXPECT_EQ(file.TabNames(), (std::vector<std::string>{"Income", "Costs"}));
  EXPECT_EQ(file.Contents(0, 0), "'" + std::string(240, 'x'));

  // Opened again, the tabs carry the names.
  TCorvane program(folder, "\"" + saved + "\"");
  ASSERT_NE(program.window, nullptr);
  SetForegroundWindow(program.window);
  program.Settle();
  std::string lines;
  HWND dialog = DefineTabs(program, lines);
  ASSERT_NE(dialog, nullptr) << "no Define Tabs dialog";
  EXPECT_EQ(lines.rfind("Income\r\nCosts\r\nC\r\n", 0), 0u) << lines;
  TKeyboardUser{program}.Key(VK_ESCAPE);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 15000));
  EXPECT_TRUE(program.Close());
}

struct TFormSearch {
  DWORD thread;
  HWND frame;
  HWND found = nullptr;
};

BOOL CALLBACK MatchOtherForm(HWND window, LPARAM param) {
  auto& search = *reinterpret_cast<TFormSearch*>(param);
  char name[32] = "";
  GetClassNameA(window, name, sizeof name);
  if (window == search.frame || !IsWindowVisible(window) || lstrcmpA(name, "TForm") != 0) return TRUE;
  search.found = window;
  return FALSE;
}

// File > Import (`item` 'I') or File > Export ('E'): the file dialog given
// `path` and its file type from 0, the transfer dialog that follows given
// `range` by keys and Enter. An existing file is replaced (Yes by key).
bool Transfer(const TCorvane& program, char item, int fileType, const std::string& path, const std::string& range) {
  const TKeyboardUser user{program};
  user.Menu(std::string("F") + item);
  HWND dialog = uikit::WaitForTopWindow(item == 'I' ? "Import" : "Export", 15000);
  HWND edit = dialog != nullptr ? uikit::FindChildOfClass(dialog, "Edit") : nullptr;
  HWND types = dialog != nullptr ? GetDlgItem(dialog, cmb1) : nullptr;
  if (edit == nullptr || types == nullptr) return false;
  SendMessageA(types, CB_SETCURSEL, static_cast<WPARAM>(fileType), 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELENDOK), reinterpret_cast<LPARAM>(types));
  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  std::string text;
  if (item == 'E' && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES &&
      WaitForBox(program, "replace", text) != nullptr)
    user.Key('Y');
  if (!WaitFor([&] { return !IsWindow(dialog); }, 15000)) return false;
  // The transfer dialog opens on its range field, its text selected.
  TFormSearch search{GetWindowThreadProcessId(program.window, nullptr), program.window};
  if (!WaitFor([&] {
        EnumThreadWindows(search.thread, MatchOtherForm, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr && GetAncestor(program.Focus(), GA_ROOT) == search.found;
      }, 15000))
    return false;
  user.Type(range);
  user.Key(VK_RETURN);
  return WaitFor([&] { return !IsWindowVisible(search.found); }, 15000);
}

// What the program writes it reads back the same, or it says why not before
// the file is touched: a label holding a line break goes out as comma text
// and comes back by Import Values in its own cell, the rows below it in
// place; a label under a fixed-format name stops a dBase export with its
// address, and the old file stays. With a decimal comma from the settings
// file the fields part at ";" and numbers come back as numbers; a label
// that reads like a number there still stops a dBase export into a numeric
// field. Menus and dialogs by keys.
TEST(CorvaneRun, ExportsReadBackTheSameOrRefuseFirst) {
  const TProgramFolder folder;
  const std::string csv = folder.File("OUT.CSV"), dbf = folder.File("OUT.DBF");
  WriteText(dbf, "old file");
  // Opens `sheet`, exports A1..B2 as comma-delimited text (checked against
  // `written`) and reads it back at D1 by Import Values, has the dBase export
  // of A4..A5 refused with `refusal`, the old file kept, and saves the sheet
  // as `saved`.
  auto exportAndImport = [&](const std::string& sheet, const std::string& written, const std::string& refusal,
                             const std::string& saved) {
    TCorvane program(folder, "\"" + sheet + "\"");
    ASSERT_NE(program.window, nullptr);
    SetForegroundWindow(program.window);
    program.Settle();
    ASSERT_TRUE(Transfer(program, 'E', 2, csv, "A1..B2")) << "Export Comma Delimited Text";
    EXPECT_TRUE(WaitFor([&] { return FileText(csv) == written; }, 15000)) << FileText(csv);
    ASSERT_TRUE(Transfer(program, 'I', 0, csv, "D1")) << "Import Values";
    ASSERT_TRUE(Transfer(program, 'E', 3, dbf, "A4..A5")) << "dBase export";
    std::string text;
    EXPECT_NE(WaitForBox(program, "dBase Field", text), nullptr);
    EXPECT_EQ(text, refusal);
    TKeyboardUser{program}.Key(VK_RETURN);
    EXPECT_EQ(FileText(dbf), "old file");
    ASSERT_TRUE(SaveAs(program, saved));
    EXPECT_TRUE(program.Close());
  };

  const std::string sheet = folder.File("TRANSFER.WKS"), saved = folder.File("BACK.WKS");
  ASSERT_TRUE(TSavedSheet(sheet, 1, [] {
                EnterCell("'two\r\nlines", 0, 0);
                EnterCell("42", 0, 1);
                EnterCell("'next", 1, 0);
                EnterCell("'QTY", 3, 0);
                CellPtr(CellFind(3, 0))->format = 0x02;  // fixed, two decimals: a numeric field
                EnterCell("'n/a", 4, 0);
              }).loaded);
  exportAndImport(sheet, "\"two\r\nlines\",42\r\nnext,\r\n", "Error:Not a Number for a dBase Field: A5", saved);
  {
    TSavedSheet file(saved);
    ASSERT_TRUE(file.loaded);
    EXPECT_EQ(file.Contents(0, 3), "'two\r\nlines");
    EXPECT_EQ(file.Value(0, 4), 42);
    EXPECT_EQ(file.Contents(1, 3), "'next");
    EXPECT_EQ(file.Contents(2, 3), "");
  }

  const std::string commaSheet = folder.File("COMMA.WKS"), commaSaved = folder.File("COMMA2.WKS");
  ASSERT_TRUE(TSavedSheet(commaSheet, 1, [] {
                EnterCell("1.5", 0, 0);
                EnterCell("2", 0, 1);
                EnterCell("'abc", 1, 0);
                EnterCell("7", 1, 1);
                EnterCell("'PRICE", 3, 0);
                CellPtr(CellFind(3, 0))->format = 0x02;  // fixed, two decimals: a numeric field
                EnterCell("'1,5", 4, 0);
              }).loaded);
  WriteText(folder.File("Corvane.INI"), "[Chars]\r\nSEP=|\r\nCOMMA=.\r\nPERIOD=,\r\n");
  exportAndImport(commaSheet, "1,5;2\r\nabc;7\r\n", "Error:Not a Number for a dBase Field: A5", commaSaved);
  TSavedSheet comma(commaSaved);
  ASSERT_TRUE(comma.loaded);
  EXPECT_EQ(comma.Value(0, 3), 1.5);
  EXPECT_EQ(comma.Value(0, 4), 2);
  EXPECT_EQ(comma.Contents(1, 3), "'abc");
  EXPECT_EQ(comma.Value(1, 4), 7);
}

// The keyboard never gets lost: prompts, dialogs and message boxes hand it
// back to the sheet, every step checked on the cell under the cursor and the
// entry line, with real keys only.
TEST(CorvaneRun, KeyboardOnly) {
  const TProgramFolder folder;
  TCorvane program(folder, "");
  ASSERT_NE(program.window, nullptr);
  SetForegroundWindow(program.window);
  program.Settle();
  const TKeyboardUser user{program};
  user.Type("100");
  user.Key(VK_DOWN);
  user.Type("+A1*2");
  user.Key(VK_DOWN);
  EXPECT_EQ(user.Cell(), "A3 []");
  // Window > New View on the sheet never saved: a second window on it,
  // closed again with Ctrl+F4 without a question.
  user.Menu("WN");
  EXPECT_EQ(user.Cell(), "A1 [100]") << "the second window";
  PressKeys({VK_CONTROL}, VK_F4);
  program.Settle();
  EXPECT_EQ(user.Cell(), "A3 []") << "the first window again";
  user.Key(VK_UP);
  EXPECT_EQ(user.Cell(), "A2 [+A1*2]");

  // F5 twice: the offered address is replaced by what is typed.
  user.Key(VK_F5);
  user.Type("C3");
  user.Key(VK_RETURN);
  EXPECT_EQ(user.Cell(), "C3 []") << "F5 C3";
  user.Type("5");
  user.Key(VK_DOWN);
  EXPECT_EQ(user.Cell(), "C4 []") << "arrows and typing after F5";
  user.Key(VK_F5);
  user.Type("A1");
  user.Key(VK_RETURN);
  EXPECT_EQ(user.Cell(), "A1 [100]") << "the second F5";
  user.Key(VK_RIGHT);
  EXPECT_EQ(user.Cell(), "B1 []");

  // F3 and F11 prompts cancelled with Esc; the arrows work after each.
  for (WORD key : {VK_F3, VK_F11}) {
    user.Key(key);
    user.Key(VK_ESCAPE);
    user.Key(VK_LEFT);
    EXPECT_EQ(user.Cell(), "A1 [100]") << "after prompt key " << key;
    user.Key(VK_RIGHT);
  }
  user.Key(VK_LEFT);

  // Sheet > Insert > Row at A1 through its range prompt: A1 is empty now, and
  // F2 Enter leaves it so.
  user.Menu("SIR");
  user.Key(VK_RETURN);
  EXPECT_EQ(user.Cell(), "A1 []") << "after Insert Row";
  user.Key(VK_F2);
  user.Key(VK_RETURN);
  EXPECT_EQ(user.Cell(), "A1 []") << "F2 Enter on the new row";
  user.Key(VK_DOWN);
  EXPECT_EQ(user.Cell(), "A2 [100]");

  // A refused formula: the engine's message in a box that blocks the
  // program; after it the formula stays for correction.
  user.Type("+(1");
  EXPECT_EQ(user.Cell(), "A2 [+(1]") << "typed";
  user.Key(VK_RETURN);
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = FindWindowA("#32770", nullptr)) != nullptr; }, 5000)) << "no error box " << user.Cell();
  EXPECT_EQ(GetWindow(box, GW_OWNER), program.window);
  EXPECT_FALSE(IsWindowEnabled(program.window)) << "the box blocks the program";
  EXPECT_NE(WindowText(box).find("Error:"), std::string::npos) << WindowText(box);
  user.Key(VK_RETURN);
  EXPECT_EQ(TextOf(program.EntryLine()), "+(1");
  user.Key(VK_ESCAPE);
  user.Key(VK_ESCAPE);
  EXPECT_EQ(user.Cell(), "A2 [100]") << "after the refused formula";

  // An address out of range: the error box, then the keyboard is back.
  user.Key(VK_F5);
  user.Type("ZZ99999");
  user.Key(VK_RETURN);
  ASSERT_TRUE(WaitFor([&] { return (box = FindWindowA("#32770", nullptr)) != nullptr; }, 5000)) << "no error box";
  EXPECT_EQ(GetWindow(box, GW_OWNER), program.window);
  user.Key(VK_RETURN);
  user.Key(VK_DOWN);
  EXPECT_EQ(user.Cell(), "A3 [+A2*2]") << "after the error box";

  // Dialogs closed from the keyboard: Save As (a name typed), Open, Find,
  // the width dialog and the general settings; after each the arrows and
  // typing reach the sheet again.
  const std::string saved = folder.File("KEYS.WKS");
  user.Menu("FA");
  HWND dialog = uikit::WaitForTopWindow("Corvane SAVE AS...", 15000);
  ASSERT_NE(dialog, nullptr);
  user.Key(VK_BACK);
  user.Type(saved);
  user.Key(VK_RETURN);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog); }, 15000));
  EXPECT_EQ(program.ActiveSheetCaption(), WksFileName(saved));
  int row = 3;
  // The width dialog's first field takes Escape for itself (it empties
  // the field), so that dialog is left with Alt+O, its "&Ok" with nothing
  // changed.
  const struct {
    const char* keys;
    const char* caption;
    WORD close;
    bool alt;
  } dialogs[] = {{"FO", "CORVANE OPEN", VK_ESCAPE, false},
                 {"EF", "Find", VK_ESCAPE, false},
                 {"SC", "Set  Width or Height", 'O', true},
                 {"SGF", "General", VK_ESCAPE, false}};
  for (const auto& d : dialogs) {
    user.Menu(d.keys);
    dialog = uikit::WaitForTopWindow(d.caption, 15000);
    EXPECT_NE(dialog, nullptr) << d.caption;
    if (d.alt)
      user.AltKey(d.close);
    else
      user.Key(d.close);
    EXPECT_TRUE(WaitFor([&] { return dialog == nullptr || !IsWindowVisible(dialog); }, 15000)) << d.caption;
    user.Key(VK_DOWN);
    user.Type(std::to_string(row));
    user.Key(VK_RETURN);
    ++row;
    EXPECT_EQ(user.Cell(), "A" + std::to_string(row) + " [" + std::to_string(row - 1) + "]") << "after " << d.caption;
  }

  // Home, Delete and Ctrl+Z reach the sheet after all those dialogs.
  user.Key(VK_HOME);
  user.Key(VK_DOWN);
  EXPECT_EQ(user.Cell(), "A2 [100]");
  user.Key(VK_DELETE);
  EXPECT_EQ(user.Cell(), "A2 []") << "Delete erases";
  PressKeys({VK_CONTROL}, 'Z');
  program.Settle();
  EXPECT_EQ(user.Cell(), "A2 [100]") << "Ctrl+Z brings it back";
  for (int down = 2; down < row; ++down) user.Key(VK_DOWN);

  // F1: the help system opens (it has no file to show and says so).
  user.Key(VK_F1);
  HWND help = nullptr;
  EXPECT_TRUE(WaitFor([&] {
    help = GetForegroundWindow();
    return help != nullptr && GetWindowThreadProcessId(help, nullptr) != GetWindowThreadProcessId(program.window, nullptr);
  }, 15000)) << "F1 opened no help window";
  // The help system's own message names the help file beside the program.
  const std::string helpText = WindowText(help);
  EXPECT_NE(helpText.find("\\Corvane.HLP"), std::string::npos) << helpText;
  EXPECT_EQ(helpText.find("\\\\"), std::string::npos) << helpText;
  uikit::SaveWindowPicture(program.window, "corvane-keyboard");
  DWORD helpProcessId = 0;
  GetWindowThreadProcessId(help, &helpProcessId);
  if (HANDLE helpProcess = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, helpProcessId)) {
    // The help system's window closed from the keyboard, as a user leaves it.
    user.AltKey(VK_F4);
    if (WaitForSingleObject(helpProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(helpProcess, 0);
    CloseHandle(helpProcess);
  }
  SetForegroundWindow(program.window);
  program.Settle();
  user.Key(VK_DOWN);
  EXPECT_EQ(user.Cell(), "A" + std::to_string(row + 1) + " []") << "after the help window";

  // Data > Fill: a field reached by its letter offers its text to be typed
  // over ("0" becomes "1", not "10"); Enter in the output field fills, as
  // Ok does, and the keyboard is back on the sheet.
  user.Menu("DF");
  dialog = uikit::WaitForTopWindow("Data: FILL", 15000);
  ASSERT_NE(dialog, nullptr);
  user.AltKey('S');
  user.Type("1");
  EXPECT_EQ(TextOf(program.Focus()), "1") << "Start after Alt+S and 1";
  user.AltKey('U');
  user.Type("G1..G3");
  user.Key(VK_RETURN);
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(dialog); }, 5000)) << "Enter in the output field";
  EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(program.window) != FALSE; }, 5000));
  user.GoTo("G3");
  EXPECT_EQ(user.Cell(), "G3 [3]") << "the fill Enter ran";

  // Sheet > Colwidth: Enter in the width field sets it; the dialog opened
  // again shows it.
  user.Menu("SC");
  dialog = uikit::WaitForTopWindow("Set  Width or Height", 15000);
  ASSERT_NE(dialog, nullptr);
  user.AltKey('W');
  user.Type("12");
  user.Key(VK_RETURN);
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(dialog); }, 5000)) << "Enter in the width field";
  user.Menu("SC");
  dialog = uikit::WaitForTopWindow("Set  Width or Height", 15000);
  ASSERT_NE(dialog, nullptr);
  user.AltKey('W');
  EXPECT_EQ(TextOf(program.Focus()), "12") << "the width Enter set";
  user.AltKey('C');
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(dialog); }, 5000));

  // Range > Copy typed: the offered From is replaced by what is typed, To
  // by its letter, Enter copies (values: A3's formula gives 200).
  user.Menu("RC");
  dialog = uikit::WaitForTopWindow("Copy", 15000);
  ASSERT_NE(dialog, nullptr);
  user.Type("A2..A3");
  EXPECT_EQ(TextOf(program.Focus()), "A2..A3") << "From typed over";
  user.AltKey('T');
  user.Type("H1");
  user.Key(VK_RETURN);
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(dialog); }, 5000)) << "Enter in To";
  user.GoTo("H2");
  EXPECT_EQ(user.Cell(), "H2 [200]") << "the copy";

  // Ctrl+V pastes at the selection's first cell, wherever the cursor is.
  user.GoTo("A2");
  PressKeys({VK_CONTROL}, 'C');
  user.GoTo("D3");
  PressKeys({VK_SHIFT}, VK_DOWN);
  PressKeys({VK_SHIFT}, VK_DOWN);
  program.Settle();
  PressKeys({VK_CONTROL}, 'V');
  program.Settle();
  user.GoTo("D3");
  EXPECT_EQ(user.Cell(), "D3 [100]") << "pasted at the selection's first cell";
  user.Key(VK_DOWN);
  user.Key(VK_DOWN);
  EXPECT_EQ(user.Cell(), "D5 []") << "nothing pasted at the cursor's end";

  // A data form on three records opens on its first field; what is typed
  // goes there (b and a are also the letters of Bot and Add), and two
  // Escapes (the first empties the field) leave it with nothing written.
  user.GoTo("E1");
  for (const char* text : {"Name", "pear", "fig", "kiwi"}) {
    user.Type(text);
    user.Key(VK_DOWN);
  }
  user.Menu("DO");
  dialog = uikit::WaitForTopWindow("Data: FORM", 15000);
  ASSERT_NE(dialog, nullptr);
  user.AltKey('F');
  user.Type("E1..E4");
  user.AltKey('O');
  HWND form = uikit::WaitForTopWindow("Data Form", 15000);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(TextOf(program.Focus()), "pear") << "the form opens on its first field";
  // Alt+N shows the next record and gives the keyboard back to the field.
  user.AltKey('N');
  EXPECT_EQ(TextOf(program.Focus()), "fig") << "the field has the keyboard after Alt+N";
  user.Type("bea");
  EXPECT_EQ(TextOf(program.Focus()), "bea");
  user.Key(VK_ESCAPE);
  user.Key(VK_ESCAPE);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(form) || !IsWindowVisible(form); }, 5000)) << "Escape closes the form";
  user.GoTo("E5");
  EXPECT_EQ(user.Cell(), "E5 []") << "no record was added";
  user.Key(VK_UP);
  user.Key(VK_UP);
  EXPECT_EQ(user.Cell(), "E3 ['fig]") << "no record was changed";

  // Graph > Type: Tab goes round the dialog's controls and back, Escape
  // closes it; then Shift+F10, the key Graph > View shows, opens the graph,
  // and Escape closes that.
  user.Menu("GT");
  dialog = uikit::WaitForTopWindow("Select Type", 15000);
  ASSERT_NE(dialog, nullptr);
  const HWND start = program.Focus();
  std::vector<HWND> visited;
  for (int step = 0; step < 40; ++step) {
    user.Key(VK_TAB);
    if (program.Focus() == start) break;
    if (std::find(visited.begin(), visited.end(), program.Focus()) == visited.end()) visited.push_back(program.Focus());
  }
  EXPECT_EQ(program.Focus(), start) << "Tab comes back round";
  EXPECT_GE(visited.size(), 4u) << "the tab strip, the type buttons, Ok and Cancel";
  user.Key(VK_ESCAPE);
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(dialog); }, 5000)) << "Escape closes the graph settings";
  // Alt+O is Ok's on the 2-D types too.
  user.Menu("GT");
  dialog = uikit::WaitForTopWindow("Select Type", 15000);
  ASSERT_NE(dialog, nullptr);
  user.AltKey('O');
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(dialog); }, 5000)) << "Alt+O on Graph > Type";
  PressKeys({VK_SHIFT}, VK_F10);
  HWND graph = uikit::WaitForTopWindow("Graph", 15000);
  EXPECT_NE(graph, nullptr) << "Shift+F10 opened no graph";
  if (graph != nullptr) {
    user.Key(VK_ESCAPE);
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(graph); }, 5000));
  }
  user.Menu("FS");
  EXPECT_TRUE(program.Close());
}

// Whether a menu of the program is dropped down.
bool MenuOpen(const TCorvane& program) {
  GUITHREADINFO info = {sizeof info};
  if (GetGUIThreadInfo(GetWindowThreadProcessId(program.window, nullptr), &info) && (info.flags & GUI_INMENUMODE) != 0)
    return true;
  HWND menu = FindWindowA("#32768", nullptr);
  return menu != nullptr && IsWindowVisible(menu);
}

// Typing over a selection starts a new entry, F2 edits the old one; a Ctrl
// let go is let go: Alt and a letter after Ctrl+movement keys open a menu and
// change no cell, a plain letter starts a label. Real keys only.
TEST(CorvaneRun, TypingReplacesAndCtrlLetGoIsLetGo) {
  const TProgramFolder folder;
  TCorvane program(folder, "");
  ASSERT_NE(program.window, nullptr);
  SetForegroundWindow(program.window);
  program.Settle();
  const TKeyboardUser user{program};
  user.Type("200");
  user.Key(VK_RETURN);
  user.Key(VK_DOWN);
  user.Type("300");
  user.Key(VK_RETURN);
  user.Key(VK_HOME);
  PressKeys({VK_SHIFT}, VK_DOWN);
  program.Settle();
  user.Type("9");
  EXPECT_EQ(TextOf(program.EntryLine()), "9") << "typing over A1..A2";
  user.Key(VK_RETURN);
  EXPECT_EQ(user.Cell(), "A2 [9]");
  user.Key(VK_UP);
  EXPECT_EQ(user.Cell(), "A1 [200]");
  PressKeys({VK_SHIFT}, VK_DOWN);
  program.Settle();
  user.Key(VK_F2);
  user.Type("1");
  user.Key(VK_RETURN);
  EXPECT_EQ(user.Cell(), "A2 [91]") << "F2 edits the old contents";

  user.Key(VK_HOME);
  user.Type("42");
  user.Key(VK_RETURN);
  // Each Ctrl+movement key, then Alt+D: the Data menu, nothing erased.
  for (WORD move : {VK_END, VK_RIGHT, VK_LEFT, VK_NEXT, VK_PRIOR, VK_DOWN, VK_UP, VK_HOME}) {
    PressKeys({VK_CONTROL}, move);
    program.Settle();
    user.AltKey('D');
    EXPECT_TRUE(WaitFor([&] { return MenuOpen(program); }, 5000)) << "Alt+D after Ctrl+key " << move << " opened no menu";
    user.Key(VK_ESCAPE);
    user.Key(VK_ESCAPE);
    EXPECT_TRUE(WaitFor([&] { return !MenuOpen(program); }, 5000));
  }
  EXPECT_EQ(user.Cell(), "A1 [42]") << "Alt+D after Ctrl+Home";
  user.Type("d");
  EXPECT_EQ(TextOf(program.EntryLine()), "d") << "a letter after Ctrl+Home starts a label";
  user.Key(VK_ESCAPE);
  user.Key(VK_ESCAPE);
  EXPECT_EQ(user.Cell(), "A1 [42]");
  PressKeys({VK_CONTROL}, VK_END);
  PressKeys({VK_CONTROL}, VK_HOME);
  user.Key(VK_DOWN);
  user.AltKey('X');
  user.Key(VK_ESCAPE);
  EXPECT_EQ(user.Cell(), "A2 [91]") << "Alt+X after Ctrl+End, Ctrl+Home, Down";
  PostMessageA(program.window, WM_CLOSE, 0, 0);
  std::string text;
  ASSERT_NE(WaitForBox(program, "Save Worksheet", text), nullptr);
  user.Key('N');
  EXPECT_TRUE(program.Ended(30000));
}

// Whether two pictures of one size show the same pixels from row `top` down.
bool SamePixels(classlib::TBitmap& a, classlib::TBitmap& b, int top) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  const auto rowBytes = static_cast<std::size_t>(a.Width()) * static_cast<std::size_t>(a.BytesPerPixel());
  for (int y = top; y < a.Height(); ++y)
    if (std::memcmp(a.ScanLine(y), b.ScanLine(y), rowBytes) != 0) return false;
  return true;
}

// A worksheet from someone else runs nothing unasked: not the lines after
// the user's own macro opens it, not its Ctrl+letter macro or the button over
// its cells after a No. A file already open is never opened twice, however
// its path is spelt. What a macro changed is on the screen when it ends.
// Real keys, and clicks where a user clicks.
TEST(CorvaneRun, OpenedWorksheetsRunNothingUnaskedAndMacroChangesShow) {
  const TProgramFolder folder;
  const std::string target = folder.File("TARGET.TXT");
  WriteText(target, "original");
  // The folders the sheet buttons' macros remove.
  const std::string victim = folder.File("VICTIM"), victim2 = folder.File("VICTIM2");
  CreateDirectoryA(victim.c_str(), nullptr);
  CreateDirectoryA(victim2.c_str(), nullptr);
  auto folderExists = [](const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; };
  const std::string attack = folder.File("ATTACK.WKS");
  // A button as large as the window over the cells, captioned like a command.
  ASSERT_TRUE(TSavedSheet(attack, 1, [] {
                EnterCell("'{BEEP}", 0, 0);
                EnterCell("'{OPEN 0,2,\"TARGET.TXT\"}{WRITELN 0,\"replaced\"}{CLOSE 0}", 1, 0);
                RangeNameCreate("AUTOEXEC", TRange{0, 0, 0, 0});
                RangeNameCreate("\\S", TRange{0, 1, 0, 1});
              }, {TSheetButton{"Sort", "{RMDIR \"VICTIM\"}", 0, 0, 0, 0, 900, 700}}).loaded);
  // A worksheet whose only macro is a button.
  const std::string buttons = folder.File("BUTTONS.WKS");
  ASSERT_TRUE(TSavedSheet(buttons, 1, [] { EnterCell("'plain", 0, 0); },
                          {TSheetButton{"Go", "{RMDIR \"VICTIM2\"}", 0, 0, 0, 0, 900, 700}}).loaded);
  const std::string good = folder.File("GOOD.WKS");
  ASSERT_TRUE(TSavedSheet(good, 1, [] { EnterCell("'good", 0, 0); }).loaded);
  std::string goodSlashed = good;
  std::replace(goodSlashed.begin(), goodSlashed.end(), '\\', '/');
  // The user's macros, started by F3: one opens that worksheet, closes it
  // again and marks C1; one counts in a loop; one opens GOOD.WKS by another
  // spelling of its path and marks C3 there.
  const std::string user = folder.File("USER.WKS");
  ASSERT_TRUE(TSavedSheet(user, 1, [&] {
                EnterCell("'{FILEOPEN \"ATTACK.WKS\"}", 0, 0);
                EnterCell("'{FILECLOSE \"ATTACK.WKS\"}", 1, 0);
                EnterCell("'{LET C1 7}", 2, 0);
                EnterCell("'{FOR A12,1,5,1}{LET B12 A12}{NEXT}", 9, 0);
                EnterCell("'{FILEOPEN \"" + goodSlashed + "\"}{LET C3 99}", 14, 0);
                EnterCell("'{GET B20}{LET C20 5}", 19, 0);
              }).loaded);
  const std::string late = folder.File("LATE.WKS");
  ASSERT_TRUE(TSavedSheet(late, 1, [] { EnterCell("'late", 0, 0); }).loaded);

  TCorvane program(folder, "\"" + user + "\"");
  ASSERT_NE(program.window, nullptr);
  SetForegroundWindow(program.window);
  program.Settle();
  const TKeyboardUser keys{program};
  std::string text;
  auto answerNo = [&](const char* step) {
    HWND question = WaitForBox(program, "ATTACK.WKS", text);
    ASSERT_NE(question, nullptr) << step << ": no question";
    EXPECT_NE(text.find("AUTOEXEC"), std::string::npos) << text;
    EXPECT_NE(text.find("Ctrl+S"), std::string::npos) << text;
    EXPECT_NE(text.find("Button \"Sort\": {RMDIR \"VICTIM\"}"), std::string::npos) << text;
    keys.Key(VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(question); }, 10000));
  };
  // File > Open with the name typed, from the keyboard.
  auto openByKeys = [&](const std::string& path) {
    keys.Menu("FO");
    HWND open = uikit::WaitForTopWindow("CORVANE OPEN", 15000);
    ASSERT_NE(open, nullptr);
    keys.Type(path);
    keys.Key(VK_RETURN);
  };
  // A click in the middle of the active sheet's cells, where a button over
  // them takes it.
  auto clickOnCells = [&] {
    HWND client = uikit::FindChildOfClass(program.window, "MDIClient");
    HWND grid = uikit::FindChildOfClass(reinterpret_cast<HWND>(SendMessageA(client, WM_MDIGETACTIVE, 0, 0)), "TGrid");
    ASSERT_NE(grid, nullptr);
    uikit::SendClick(grid, {150, 120});
    program.Settle();
  };

  // The macro's next lines are its own, not those of the file it opened.
  keys.Key(VK_F3);
  keys.Type("A1");
  keys.Key(VK_RETURN);
  answerNo("FILEOPEN");
  EXPECT_TRUE(WaitFor([&] { return program.ActiveSheetCaption() == WksFileName(user); }, 10000));
  Sleep(1000);
  EXPECT_EQ(FileText(target), "original") << "the opened file's line ran";
  keys.Key(VK_RIGHT);
  keys.Key(VK_RIGHT);
  EXPECT_EQ(keys.Cell(), "C1 [7]") << "the macro did not go on with its own lines";

  // Opened by the user and refused, its Ctrl+S runs nothing.
  openByKeys(attack);
  answerNo("File Open");
  ASSERT_TRUE(WaitFor([&] { return program.ActiveSheetCaption() == WksFileName(attack); }, 10000));
  PressKeys({VK_CONTROL}, 'S');
  Sleep(1500);
  EXPECT_EQ(FileText(target), "original") << "Ctrl+S ran the refused macro";
  // Its button over the cells says the macros are off, and removes nothing.
  clickOnCells();
  HWND off = WaitForBox(program, "are off", text);
  ASSERT_NE(off, nullptr) << "a click on the refused button said nothing";
  EXPECT_NE(text.find("ATTACK.WKS"), std::string::npos) << text;
  keys.Key(VK_RETURN);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(off); }, 10000));
  Sleep(1000);
  EXPECT_TRUE(folderExists(victim)) << "the refused button's macro ran";
  PressKeys({VK_CONTROL}, VK_F4);
  ASSERT_TRUE(WaitFor([&] { return program.ActiveSheetCaption() == WksFileName(user); }, 10000));

  // A worksheet whose only macro is a button asks too; Yes lets it run.
  openByKeys(buttons);
  HWND question = WaitForBox(program, "BUTTONS.WKS", text);
  ASSERT_NE(question, nullptr) << "a worksheet with only a button asked nothing";
  EXPECT_NE(text.find("Button \"Go\": {RMDIR \"VICTIM2\"}"), std::string::npos) << text;
  keys.Key(VK_TAB);
  keys.Key(VK_RETURN);
  ASSERT_TRUE(WaitFor([&] { return program.ActiveSheetCaption() == WksFileName(buttons); }, 10000));
  clickOnCells();
  EXPECT_TRUE(WaitFor([&] { return !folderExists(victim2); }, 10000)) << "the button allowed did not run";
  PressKeys({VK_CONTROL}, VK_F4);
  ASSERT_TRUE(WaitFor([&] { return program.ActiveSheetCaption() == WksFileName(user); }, 10000));

  // GOOD.WKS open, then opened again by other spellings of its path: a
  // macro's FILEOPEN with "/" and File Open with its short name bring the
  // one document to the front, and the macro's next command acts on it.
  openByKeys(good);
  ASSERT_TRUE(WaitFor([&] { return program.ActiveSheetCaption() == WksFileName(good); }, 10000));
  keys.Key(VK_F7);  // the next sheet window: the user's
  ASSERT_TRUE(WaitFor([&] { return program.ActiveSheetCaption() == WksFileName(user); }, 10000));
  const int windows = program.SheetWindowCount();
  // GOOD.WKS is in front, alone, with the macro's 99 in C3.
  auto goodInFront = [&](const char* how) {
    EXPECT_TRUE(WaitFor([&] { return program.ActiveSheetCaption() == WksFileName(good); }, 10000))
        << how << ": " << program.ActiveSheetCaption();
    EXPECT_EQ(program.SheetWindowCount(), windows) << how << " opened a second copy";
    keys.Key(VK_F5);
    keys.Type("C3");
    keys.Key(VK_RETURN);
    EXPECT_EQ(keys.Cell(), "C3 [99]") << how;
  };
  keys.Key(VK_F3);
  keys.Type("A15");
  keys.Key(VK_RETURN);
  goodInFront("FILEOPEN");
  char shortName[MAX_PATH] = "";
  ASSERT_NE(GetShortPathNameA(good.c_str(), shortName, MAX_PATH), 0u);
  ASSERT_NE(WksFileName(shortName), WksFileName(good)) << "no short name to try";
  keys.Key(VK_F7);
  ASSERT_TRUE(WaitFor([&] { return program.ActiveSheetCaption() != WksFileName(good); }, 10000));
  openByKeys(shortName);
  goodInFront("File Open");
  PressKeys({VK_CONTROL}, VK_F4);
  HWND save = WaitForBox(program, "Save Worksheet", text);
  ASSERT_NE(save, nullptr);
  keys.Key('N');
  ASSERT_TRUE(WaitFor([&] { return program.ActiveSheetCaption() == WksFileName(user); }, 10000));

  // The loop's cells (row 12) show when it ends: the screen is what a full
  // repaint draws.
  HWND client = uikit::FindChildOfClass(program.window, "MDIClient");
  HWND grid = uikit::FindChildOfClass(reinterpret_cast<HWND>(SendMessageA(client, WM_MDIGETACTIVE, 0, 0)), "TGrid");
  ASSERT_NE(grid, nullptr);
  classlib::TBitmap before, after, repainted;
  ASSERT_TRUE(uikit::CaptureWindow(grid, before));
  keys.Key(VK_F3);
  keys.Type("A10");
  keys.Key(VK_RETURN);
  Sleep(1500);
  ASSERT_TRUE(uikit::CaptureWindow(grid, after));
  RedrawWindow(grid, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  ASSERT_TRUE(uikit::CaptureWindow(grid, repainted));
  // Below the cursor's row, whose cell mark may blink.
  const int top = after.Height() / 4;
  EXPECT_FALSE(SamePixels(before, after, top)) << "nothing the loop changed was painted";
  EXPECT_TRUE(SamePixels(after, repainted, top)) << "a cell the loop changed was stale on the screen";

  // A file a second start hands over while a macro waits for a key opens
  // once the macro has ended, so the macro's next command still acts on the
  // document it was working in.
  keys.Key(VK_F3);
  keys.Type("A20");
  keys.Key(VK_RETURN);
  {
    TCorvane second(folder, "\"" + late + "\"");
    EXPECT_TRUE(second.Ended(30000)) << "the second start ended";
  }
  Sleep(1000);
  EXPECT_EQ(program.ActiveSheetCaption(), WksFileName(user)) << "the handed-over file opened while the macro ran";
  keys.Type("x");
  EXPECT_TRUE(WaitFor([&] { return program.ActiveSheetCaption() == WksFileName(late); }, 10000))
      << program.ActiveSheetCaption();
  PressKeys({VK_CONTROL}, VK_F4);
  ASSERT_TRUE(WaitFor([&] { return program.ActiveSheetCaption() == WksFileName(user); }, 10000));
  keys.Key(VK_F5);
  keys.Type("C20");
  keys.Key(VK_RETURN);
  EXPECT_EQ(keys.Cell(), "C20 [5]") << "the macro's LET went into the handed-over file";
  EXPECT_EQ(FileText(target), "original");
  keys.Menu("FS");
  EXPECT_TRUE(program.Close());
}

// The pane of the active sheet window that lies furthest right: pane 2 of a
// side-by-side split.
BOOL CALLBACK MatchRightmostPane(HWND child, LPARAM param) {
  char name[32] = "";
  GetClassNameA(child, name, sizeof name);
  RECT r{};
  GetWindowRect(child, &r);
  auto* found = reinterpret_cast<std::pair<HWND, LONG>*>(param);
  if (lstrcmpA(name, "TGrid") == 0 && r.right > r.left && r.bottom > r.top &&
      (found->first == nullptr || r.left > found->second))
    *found = {child, r.left};
  return TRUE;
}
HWND RightmostPane(const TCorvane& program) {
  HWND client = uikit::FindChildOfClass(program.window, "MDIClient");
  HWND sheet = reinterpret_cast<HWND>(SendMessageA(client, WM_MDIGETACTIVE, 0, 0));
  std::pair<HWND, LONG> found{nullptr, 0};
  if (sheet != nullptr) EnumChildWindows(sheet, MatchRightmostPane, reinterpret_cast<LPARAM>(&found));
  return found.first;
}

// Split panes from the keyboard, each way: F6 shows the other pane's cell at
// once, the keys move the pane that has them, View > Split Current Window >
// Clear hands them back to the pane that stays. Synchronised side by side,
// PgDn turns the page: the following pane shows what a fresh paint of it
// shows, with the cursor on a row it shows whole. Real keys only.
TEST(CorvaneRun, SplitPanesFollowTheKeys) {
  const TProgramFolder folder;
  const std::string path = folder.File("PANES.WKS");
  // Every cell of A1..H200 holds its own address.
  ASSERT_TRUE(TSavedSheet(path, 1, [] {
                for (int row = 0; row < 200; ++row)
                  for (int col = 0; col < 8; ++col)
                    EnterCell("'" + std::string(1, static_cast<char>('A' + col)) + std::to_string(row + 1), row, col);
              }).loaded);
  TCorvane program(folder, "\"" + path + "\"");
  ASSERT_NE(program.window, nullptr);
  SetForegroundWindow(program.window);
  program.Settle();
  const TKeyboardUser user{program};
  auto shown = [](const std::string& address) { return address + " ['" + address + "]"; };
  ASSERT_EQ(user.Cell(), shown("A1"));

  const struct {
    const char* menu;
    const char* what;
    const char* pane2;      // its cursor after the split at D5
    const char* pane2Down;  // and after Down
  } splits[] = {{"VWH", "one above the other", "D6", "D7"}, {"VWV", "side by side", "E5", "E6"}};
  for (const auto& split : splits) {
    SCOPED_TRACE(split.what);
    for (WORD key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_RIGHT, VK_RIGHT}) user.Key(key);
    ASSERT_EQ(user.Cell(), shown("D5"));
    user.Menu(split.menu);
    EXPECT_EQ(user.Cell(), shown("D5")) << "the split moved the keyboard";
    user.Key(VK_F6);
    EXPECT_EQ(user.Cell(), shown(split.pane2)) << "F6 left pane 1's cell showing";
    user.Key(VK_DOWN);
    EXPECT_EQ(user.Cell(), shown(split.pane2Down));
    user.Menu("VWC");
    EXPECT_EQ(user.Cell(), shown("D5")) << "Clear left pane 2's cell showing";
    user.Key(VK_DOWN);
    EXPECT_EQ(user.Cell(), shown("D6")) << "the arrows stayed with the hidden pane";
    user.Key(VK_NEXT);
    EXPECT_NE(user.Cell(), shown("D6")) << "PgDn stayed with the hidden pane";
    PressKeys({VK_CONTROL}, VK_HOME);
    program.Settle();
    EXPECT_EQ(user.Cell(), shown("A1")) << "Ctrl+Home stayed with the hidden pane";
  }

  // Side by side at D1, synchronised; pane 1 keeps the keyboard.
  for (WORD key : {VK_RIGHT, VK_RIGHT, VK_RIGHT}) user.Key(key);
  ASSERT_EQ(user.Cell(), shown("D1"));
  user.Menu("VWV");
  user.Menu("VWS");
  HWND pane2 = RightmostPane(program);
  ASSERT_NE(pane2, nullptr);
  classlib::TBitmap before;
  ASSERT_TRUE(uikit::CaptureWindow(pane2, before));
  const classlib::TColor cursorFill = TSheetSettings{}.cursorColour & 0xFFFFFF;
  const classlib::TRect whole{0, 0, before.Width(), before.Height()};
  const classlib::TRect cursorE1 = uikit::ColorBounds(before, cursorFill, whole);
  ASSERT_FALSE(cursorE1.IsEmpty()) << "no cursor in pane 2";
  std::string last = user.Cell();
  for (int page = 1; page <= 2; ++page) {
    SCOPED_TRACE(::testing::Message() << "PgDn " << page);
    user.Key(VK_NEXT);
    const std::string now = user.Cell();
    EXPECT_NE(now, last);
    EXPECT_EQ(now.substr(0, 1), "D");
    last = now;
    classlib::TBitmap after, repainted;
    ASSERT_TRUE(uikit::CaptureWindow(pane2, after));
    RedrawWindow(pane2, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    program.Settle();
    ASSERT_TRUE(uikit::CaptureWindow(pane2, repainted));
    EXPECT_TRUE(SamePixels(after, repainted, 0)) << "pane 2 kept cells of rows it no longer shows";
    const classlib::TRect cursor = uikit::ColorBounds(after, cursorFill, whole);
    EXPECT_EQ(cursor.Height(), cursorE1.Height()) << "the cursor's row is cut by the pane's edge";
    EXPECT_EQ(cursor.Left, cursorE1.Left) << "pane 2's cursor left column E";
  }
  EXPECT_TRUE(program.Close()) << "nothing was changed, yet closing did not end the program";
}

// The text on the clipboard, or "" when there is none.
std::string ClipboardText() {
  std::string text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_TEXT); data != nullptr) {
    if (const char* chars = static_cast<const char*>(GlobalLock(data)); chars != nullptr) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

// Numbers at the ends of the doubles, and data commands on awkward data, in
// the running program: powers typed with real keys; the user's own Ctrl+1
// macro runs Invert and E-Solve on rows of 1e-9 beside rows of 1e6 and the
// curve fit of a line over x = 1e9 + 0.001 i, and copies 999.4999999999999
// from a column three characters wide. An entry begun by a key typed straight
// after Ctrl+1 is no longer open once the macro has run: Alt+F, A opens Save
// As. The results saved and read back, the copy taken from the clipboard.
TEST(CorvaneRun, NumbersAtTheEdgesOfTheRange) {
  const TProgramFolder folder;
  const std::string work = folder.File("EDGES.WKS"), solved = folder.File("SOLVED.WKS");
  ASSERT_TRUE(TSavedSheet(work, 1, [] {
                const char* cells[][3] = {{"1E-9", "2E-9", "5E-9"}, {"3E6", "4E6", "1E7"}};
                for (int r = 0; r < 2; ++r)
                  for (int c = 0; c < 3; ++c) {
                    if (c < 2) EnterCell(cells[r][c], r, 2 + c);  // C1..D2
                    EnterCell(cells[r][c], 3 + r, 2 + c);         // C4..E5: x + 2y = 5, 3x + 4y = 10
                  }
                for (int i = 0; i < 20; ++i) {
                  char number[64];
                  std::snprintf(number, sizeof number, "%.17g", 1e9 + 0.001 * i);
                  EnterCell(number, i, 6);  // G: x
                  std::snprintf(number, sizeof number, "%.17g", 5 + 0.5 * i + 0.01 * ((i * 7) % 5 - 2));
                  EnterCell(number, i, 7);  // H: y
                }
                // B1..B6 compare the powers typed into A1..A6 with the
                // doubles their numbers read as: 1 where they are the same.
                const char* expected[] = {"9.3326361850321888E-302", "4.9406564584124654E-324", "1E-308",
                                          "1.0715086071862673E+301", "5.817087478696201E-305",
                                          "3.541160810715764E+302"};
                for (int r = 0; r < 6; ++r) EnterCell("+A" + std::to_string(r + 1) + "=" + expected[r], r, 1);
                EnterCell("999.4999999999999", 0, 9);  // J1
                EnterCell("'{MATINV C1..D2,C10}{MATSLV C4..E5,F10}{DATAMULREG G1..G20,H1,L10,\"A01\"}"
                          "{COLWIDTH J1,1}{EDITCOPY J1}",
                          0, 11);
                RangeNameCreate("\\1", TRange{11, 0, 11, 0});
              }).loaded);
  {
    TCorvane program(folder, "\"" + work + "\"");
    ASSERT_NE(program.window, nullptr);
    std::string text;
    ASSERT_TRUE(AllowMacros(program, "EDGES.WKS", text)) << "no question for the Ctrl+1 macro";
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(program.window) != FALSE; }, 30000));
    for (const char* power : {"+2^-1000", "+2^-1074", "+10^-308", "+0.5^-1000", "+7^-360", "+3.8577630901614297^516"})
      program.Enter(power, VK_DOWN);  // A1..A6
    if (OpenClipboard(program.window)) {
      EmptyClipboard();
      CloseClipboard();
    }
    // Ctrl+1 with real keys, and a 5 typed straight after it, before the
    // macro starts: the entry the 5 began is dropped as the macro starts, and
    // the menus work as before once the macro has run.
    SetForegroundWindow(program.window);
    program.Settle();
    const TKeyboardUser user{program};
    // In one piece, so that the 5 comes before the macro's timer whatever
    // else the machine is doing.
    INPUT keys[] = {KeyEvent(VK_CONTROL, false), KeyEvent('1', false), KeyEvent('1', true),
                    KeyEvent(VK_CONTROL, true),  KeyEvent('5', false), KeyEvent('5', true)};
    SendInput(static_cast<UINT>(std::size(keys)), keys, sizeof keys[0]);
    program.Settle();
    EXPECT_TRUE(WaitFor([] { return !ClipboardText().empty(); }, 20000)) << "the macro copied nothing";
    EXPECT_EQ(ClipboardText(), "999\r\n") << "999.4999999999999 in a column of 1 character (3 in text)";
    user.AltKey('F');
    user.Type("a");
    HWND dialog = uikit::WaitForTopWindow("Corvane SAVE AS...", 10000);
    ASSERT_NE(dialog, nullptr) << "Alt+F, A opened no Save As; the caption shows " << TextOf(program.window);
    SendMessageA(uikit::FindChildOfClass(dialog, "Edit"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(solved.c_str()));
    user.Key(VK_RETURN);
    ASSERT_TRUE(WaitFor([&] { return program.ActiveSheetCaption() == WksFileName(solved); }, 15000))
        << program.ActiveSheetCaption();
    EXPECT_TRUE(program.Close());
  }

  TSavedSheet sheet(solved);
  ASSERT_TRUE(sheet.loaded);
  EXPECT_EQ(sheet.Contents(6, 0), "") << "A7: the dropped entry";
  for (int r = 0; r < 6; ++r) EXPECT_EQ(sheet.Value(r, 1), 1) << sheet.Contents(r, 0);
  const struct {
    int row, col;
    double value;
  } results[] = {{9, 2, -2e9}, {9, 3, 1e-6},  {10, 2, 1.5e9},                  // the inverse, C10..D11
                 {10, 3, -5e-7}, {9, 5, 0},   {10, 5, 2.5},                    // the solution, F10..F11
                 {9, 12, -500300328007.4444}, {10, 12, 500.3003280124415},     // the fit's coefficients, M10..M11
                 {13, 12, 0.999976314177796}};                                 // and its R^2, M14
  for (const auto& r : results)
    EXPECT_NEAR(sheet.Value(r.row, r.col), r.value, 1e-12 * std::max(1.0, std::fabs(r.value))) << r.row << "," << r.col;
}

}  // namespace
}  // namespace corvane

// The macro interpreter: argument readers, option lists, the control-flow,
// cell and user commands, and the file table.
#include "spreadsheet/macros/MacroInterp.h"

#include <array>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

#include "spreadsheet/engine/BlockCopy.h"
#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/CellStore.h"
#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/DocumentTable.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/Evaluator.h"
#include "spreadsheet/engine/FormulaText.h"
#include "spreadsheet/engine/FunctionHost.h"
#include "spreadsheet/engine/InsertDelete.h"
#include "spreadsheet/engine/RangeEdit.h"
#include "spreadsheet/engine/RangeText.h"
#include "spreadsheet/engine/Recalc.h"
#include "spreadsheet/engine/ShowError.h"
#include "spreadsheet/engine/TextRoutines.h"
#include "spreadsheet/engine/WindowServices.h"
#include "spreadsheet/macros/MacroRun.h"

namespace corvane {

namespace {

TMacroArgs gArgs;
bool gArgWasString = false;
bool gArgUnevaluated = false;

constexpr int kEnd = 13;
// INRANGE's letter: the command does nothing and its arguments, with the end
// mark as Enter, are played as the keys they are.
constexpr int kInRange = 0x2E;

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

// Evaluates `expression`; the number, with its string result in `text`. A
// text that does not evaluate leaves `text` as it was and gives 0.
double Evaluate(const std::string& expression, std::string& text, bool& isString) {
  std::string result;
  double x = EvaluateFormulaText(expression, result);
  isString = false;
  if (ErrorFlagSet()) return 0;
  isString = !result.empty();
  text = result;
  return x;
}

// The string rule: "(", "+", "-" and "@" start an expression as it is; any
// other text gets "+" in front, so a quoted text gives itself and an address
// the cell's contents.
std::string StringExpression(std::string_view text) {
  if (!text.empty() && (text[0] == '(' || text[0] == '+' || text[0] == '-' || text[0] == '@')) return std::string(text);
  return "+" + std::string(text);
}

std::string EvaluateString(std::string_view text) {
  if (text.empty()) return "";
  std::string out;
  bool isString = false;
  Evaluate(StringExpression(text), out, isString);
  return isString ? out : std::string();
}

void ShowRefused() { MacroShowRefused(); }

// A change a macro makes marks the active document modified, as a typed one
// does, so that closing it asks to save the macro's work.
void MarkChanged() {
  TWindowServices& windows = WindowServices();
  if (windows.ActiveSheet() != kNoSheet) windows.MarkSheetModified(windows.ActiveSheet());
}

// The command families that change the document (ranges, copies, data,
// editing, graphs, general settings, matrices); files, printing and the view
// leave it as it is.
bool FamilyChangesDocument(int letter) {
  switch (letter) {
    case 'b': case 'c': case 'd': case 'e': case 'g': case 'h': case 'm':
      return true;
    default:
      return false;
  }
}
bool HasCell(const TRange& range) { return MacroHasCell(range); }

char LabelPrefix() { return gCurrentDoc.settings.labelPrefix ? gCurrentDoc.settings.labelPrefix : '\''; }

// Ends the macro at a branch that leaves the worksheet.
bool BranchTo(int row, int col) {
  if (row < 0 || row > 8191 || col < 0 || col > 255) {
    MacroStop();
    WindowServices().ShowReadyMode();
    return false;
  }
  return MacroBranchTo(row, col);
}

// Skips the rest of the present line: the next macro line is loaded (a text
// macro has none and ends).
void SkipLine() {
  TMacroRunState& s = MacroState();
  if (s.row == kMacroTextRow) {
    s.pos = static_cast<int>(s.line.size()) + 1;
    return;
  }
  MacroBranchTo(s.row, s.col);
}

// A cell's text as the macro menu shows it: a label's or a string formula's
// without its first character.
std::string MenuCellText(TCellHandle handle) {
  std::string text = CellContentsText(handle);
  auto kind = CellKindOf(CellPtr(handle));
  if ((kind == kKindLabel || kind == kKindStringFormula) && !text.empty()) text.erase(0, 1);
  return text;
}

bool CellUsable(TCellHandle handle) {
  auto kind = CellKindOf(CellPtr(handle));
  return kind != kKindOfNoCell && kind != kKindBlank;
}

void MacroMenuBranch() {
  const TRange cell = MacroArgCell();
  if (!HasCell(cell)) return;
  const int r = cell.firstRow;
  const int c = cell.firstCol;
  if (!CellPtr(CellFind(r, c))) return;
  std::vector<std::string> items;
  for (int col = c; col < c + 15 && col <= 255; ++col) {
    TCellHandle h = CellFind(r, col);
    if (!CellUsable(h)) break;
    items.push_back(MenuCellText(h));
  }
  if (items.empty()) return;
  const int n = static_cast<int>(items.size());
  std::vector<std::string> descriptions;
  for (int k = 0; k < n; ++k) {
    TCellHandle h = r < 8191 ? CellFind(r + 1, c + k) : TCellHandle{};
    descriptions.push_back(CellPtr(h) ? "*  " + MenuCellText(h) : std::string());
  }
  std::string title;
  if (r < 8191 && c + n <= 255) {
    TCellHandle h = CellFind(r + 1, c + n);
    if (CellPtr(h)) title = MenuCellText(h);
  }
  int choice = MacroHost().MacroMenu(items, descriptions, title);
  // A break closed the menu: no branch, so the next byte fetch says "Break!"
  // where the menu stood (the Esc branch may be a blank cell, which would end
  // the macro without a word).
  if (MacroState().breakRequested) return;
  if (choice < 1 || choice > n + 1) choice = n + 1;
  BranchTo(r + 2, c + choice - 1);
}

// GETLABEL and GETNUMBER: the prompt, the input box, the answer entered.
void AskInto(bool label) {
  std::string prompt = MacroArgText();
  if (!prompt.empty() && (IsValueStartChar(prompt[0]) || prompt[0] == '"')) prompt = EvaluateString(prompt);
  std::optional<std::string> given = MacroHost().InputBox(prompt);
  const TRange cell = MacroArgCell();
  // A box closed without Ok leaves the cell as it was.
  if (!given || !HasCell(cell)) return;
  std::string answer = std::move(*given);
  if (answer.size() > kMacroArgMaxChars) answer.resize(kMacroArgMaxChars);
  if (label) answer = std::string(1, LabelPrefix()) + answer;
  if (answer.size() > kMacroArgMaxChars) answer.resize(kMacroArgMaxChars);
  if (EnterCell(answer, cell.firstRow, cell.firstCol)) MarkChanged();
  ShowRefused();
}

void Let() {
  const TRange cell = MacroArgCell();
  bool badCell = ErrorFlagSet();
  double x = MacroArgValue();
  if (!HasCell(cell) || badCell) {
    ShowRefused();
    return;
  }
  const std::string word = Upper(gArgs.text);
  if (gArgWasString) {
    // A string value is text, so it goes in as a label whatever it starts with.
    EnterCell(std::string(1, LabelPrefix()) + gArgs.text, cell.firstRow, cell.firstCol);
  } else if (ErrorFlagSet() || word == "TRUE" || word == "FALSE") {
    // Text that does not evaluate goes in as typed; what cannot go in even so
    // (a formula with a mistake) stops the macro, never leaving the cell
    // quietly empty.
    ClearErrorFlag();
    if (!EnterCell(gArgs.text, cell.firstRow, cell.firstCol)) {
      ClearErrorFlag();
      MacroSyntaxError();
      return;
    }
  } else {
    SetCellNumber(cell.firstRow, cell.firstCol, x);
  }
  MarkChanged();
  ShowRefused();
}

void While() {
  TMacroRunState& s = MacroState();
  // The read position of this command's prefix, so that a return reads the
  // command again and tests its value afresh.
  const int entryRow = s.row;
  const int entryPos = s.pos - 2;
  const std::string entryLine = s.line;
  double x = MacroArgValue();
  const TRange cell = MacroArgCell();
  if (x != 1) return;
  if (ErrorFlagSet() || !HasCell(cell)) {
    MacroSyntaxError();
    return;
  }
  const int pos = s.pos;
  if (s.row == entryRow && s.line == entryLine) s.pos = entryPos;
  bool pushed = MacroCallPush();
  s.pos = pos;
  if (pushed) BranchTo(cell.firstRow, cell.firstCol);
}

void For() {
  const TRange cell = MacroArgCell();
  std::int32_t start = MacroArgWhole();
  std::int32_t end = MacroArgWhole();
  std::int32_t step = MacroArgWhole();
  if (!HasCell(cell)) {
    MacroSyntaxError();
    return;
  }
  if (MacroLoopPush(cell.firstRow, cell.firstCol, start, end, step)) MacroCallPush();
  MarkChanged();  // the counter cell
}

void Next() {
  TMacroRunState& s = MacroState();
  switch (MacroLoopTest()) {
    case TMacroLoopTest::kNoLoop:
      ShowError("NEXT without FOR");
      break;
    case TMacroLoopTest::kFinished:
      if (s.callTop > 0) --s.callTop;
      break;
    case TMacroLoopTest::kRepeat:
      MarkChanged();  // the counter moved on
      if (MacroCallReturn()) MacroCallPush();
      break;
  }
}

void Lines(int what, bool insert) {
  const TRange range = MacroArgRange();
  if (HasCell(range)) InsertDeleteLines(range, what, insert);
  ShowRefused();
}

void Branch(bool call) {
  const TRange cell = MacroArgCell();
  if (ErrorFlagSet() || !HasCell(cell)) {
    MacroSyntaxError();
    return;
  }
  if (call && !MacroCallPush()) return;
  BranchTo(cell.firstRow, cell.firstCol);
}

void Get() {
  MacroState().oneKey = true;
  MacroPause();
  MacroState().oneKey = false;
  if (!MacroState().running) return;
  const TRange cell = MacroArgCell();
  char key = MacroHost().LastKey();
  if (!HasCell(cell) || key == 0) return;
  if (EnterCell(std::string(1, LabelPrefix()) + key, cell.firstRow, cell.firstCol)) MarkChanged();
  ShowRefused();
}

void PlayWave() {
  std::string name = MacroArgText();
  // A leading "+" already makes the text an expression.
  if (!name.empty()) {
    std::string out;
    bool isString = false;
    Evaluate(name[0] == '+' ? name : "+" + name, out, isString);
    name = isString ? out : std::string();
    ClearErrorFlag();
  }
  int mode = MacroArgWhole();
  MacroHost().PlayWave(name, mode);
}

// ---- The file table -------------------------------------------------------------

struct TFileSlot {
  std::string name;
  std::FILE* file = nullptr;
};
std::array<TFileSlot, kMacroFileSlots> gFiles;

int ErrnoResult(int error) {
  switch (error) {
    case 0: return 0;
    case ENOENT: return kIoFileNotFound;
    case ENOTDIR: return kIoPathNotFound;
    case EACCES:
    case EPERM:
    case EEXIST:
    case EISDIR:
      return kIoAccessDenied;
    default:
      return kIoWriteFault;
  }
}

int ErrorCodeResult(const std::error_code& error) {
  if (!error) return 0;
  if (error == std::errc::no_such_file_or_directory) return kIoPathNotFound;
  if (error == std::errc::not_a_directory) return kIoPathNotFound;
  return kIoAccessDenied;
}

// The handle of a file command; slots 0-5 only.
int ReadHandle() {
  std::int32_t handle = MacroArgWhole();
  return handle >= 0 && handle < kMacroFileSlots ? handle : -1;
}

// A file command's text argument; false (the syntax error shown, the macro
// stopped) when it does not evaluate, so that nothing is written in its place.
bool ReadFileText(std::string& text) {
  MacroArgValue();
  text = gArgWasString ? gArgs.text : std::string();
  ClearErrorFlag();
  if (!gArgUnevaluated) return true;
  MacroSyntaxError();
  return false;
}

void CloseSlot(TFileSlot& slot) {
  if (slot.file) std::fclose(slot.file);
  slot = TFileSlot{};
}

void OpenFile(int handle, int mode, const std::string& name) {
  if (handle < 0) {
    SetIoResult(kIoBadHandle);
    return;
  }
  TFileSlot& slot = gFiles[static_cast<std::size_t>(handle)];
  // A slot given a new file lets go of the old one first.
  CloseSlot(slot);
  slot.name = name;
  const char* how = mode == 1 ? "rb" : mode == 2 ? "wb" : mode == 3 ? "ab" : nullptr;
  if (!how) {
    SetIoResult(0);
    return;
  }
  errno = 0;
  slot.file = name.empty() ? nullptr : std::fopen(name.c_str(), how);
  SetIoResult(slot.file ? 0 : name.empty() ? kIoFileNotFound : ErrnoResult(errno ? errno : ENOENT));
}

void WriteFile(int handle, std::string text, bool line) {
  if (line) {
    if (text.size() > kMacroArgMaxChars - 2) text.resize(kMacroArgMaxChars - 2);
    text += "\r\n";
  }
  if (handle < 0) {
    SetIoResult(kIoBadHandle);
    return;
  }
  std::FILE* file = gFiles[static_cast<std::size_t>(handle)].file;
  if (!file) {
    SetIoResult(kIoFileNotOpen);
    return;
  }
  bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size() && std::fflush(file) == 0;
  SetIoResult(ok ? 0 : kIoWriteFault);
}

void FileCommand() {
  namespace fs = std::filesystem;
  int letter = MacroNextByte();
  switch (letter) {
    case 'O': {
      int handle = ReadHandle();
      int mode = MacroArgWhole();
      std::string name;
      if (ReadFileText(name)) OpenFile(handle, mode, name);
      break;
    }
    case 'A': {
      int handle = ReadHandle();
      std::string name;
      if (ReadFileText(name)) OpenFile(handle, 3, name);
      break;
    }
    case 'C': {
      int handle = ReadHandle();
      if (handle < 0) {
        SetIoResult(kIoBadHandle);
        break;
      }
      TFileSlot& slot = gFiles[static_cast<std::size_t>(handle)];
      SetIoResult(slot.file ? (std::fclose(slot.file) == 0 ? 0 : kIoWriteFault) : kIoFileNotOpen);
      slot = TFileSlot{};
      break;
    }
    case 'W':
    case 'F': {
      int handle = ReadHandle();
      std::string text;
      if (ReadFileText(text)) WriteFile(handle, text, letter == 'F');
      break;
    }
    case 'H':
    case 'M':
    case 'D': {
      std::string dir;
      if (!ReadFileText(dir) || dir.empty()) break;
      std::error_code error;
      if (letter == 'H') {
        fs::current_path(fs::path(dir), error);
      } else if (letter == 'M') {
        if (!fs::create_directory(fs::path(dir), error) && !error) error = std::make_error_code(std::errc::file_exists);
      } else {
        if (!fs::is_directory(fs::path(dir), error) && !error) error = std::make_error_code(std::errc::not_a_directory);
        if (!error) fs::remove(fs::path(dir), error);
      }
      SetIoResult(ErrorCodeResult(error));
      break;
    }
    default:
      MacroSyntaxError();
      break;
  }
}

}  // namespace

TMacroArgs& MacroArgs() { return gArgs; }

std::string MacroStringResult(std::string_view text) { return EvaluateString(text); }

bool MacroHasCell(const TRange& range) { return range.firstCol >= 0 && range.firstRow >= 0; }

void MacroShowRefused() {
  if (ErrorFlagSet() && !ErrorMessage().empty()) ShowError(ErrorMessage());
  ClearErrorFlag();
}

const std::string& MacroArgText() {
  gArgs.text.clear();
  for (int b; (b = MacroNextArgByte()) != 0;) {
    if (b == kEnd) break;
    if (gArgs.text.size() < kMacroArgMaxChars) gArgs.text += static_cast<char>(b);
  }
  return gArgs.text;
}

const std::string& MacroArgString() {
  MacroArgText();
  gArgs.text = EvaluateString(gArgs.text);
  return gArgs.text;
}

const TRange& MacroArgCell() {
  MacroArgText();
  std::string text = gArgs.text.empty() ? std::string("CURSOR") : Upper(gArgs.text);
  gArgs.cell = TRange{};
  if (text == "NUL") return gArgs.cell;
  TRange range;
  if (ParseRange(text, range)) gArgs.cell = range;
  return gArgs.cell;
}

const TRange& MacroArgRange() { return MacroArgCell(); }

double MacroArgValue() {
  MacroArgText();
  gArgWasString = false;
  gArgUnevaluated = false;
  const std::string word = Upper(gArgs.text);
  if (word == "TRUE") return gArgs.number = 1;
  if (word == "FALSE") return gArgs.number = 0;
  if (gArgs.text.empty()) return gArgs.number = 0;
  std::string expression = gArgs.text[0] == '+' || gArgs.text[0] == '-' ? gArgs.text : "+" + gArgs.text;
  double x = Evaluate(expression, gArgs.text, gArgWasString);
  if (ErrorFlagSet()) gArgWasString = false;
  gArgUnevaluated = ErrorFlagSet();
  return gArgs.number = ErrorFlagSet() || std::isnan(x) ? 0 : x;
}

std::int32_t MacroArgWhole() {
  double x = MacroArgValue();
  // Out-of-range values are held at the ends rather than keeping a stale one.
  if (x >= 2147483647.0)
    gArgs.whole = INT32_MAX;
  else if (x <= -2147483648.0)
    gArgs.whole = INT32_MIN;
  else
    gArgs.whole = static_cast<std::int32_t>(std::nearbyint(x));
  return gArgs.whole;
}

bool MacroArgWasString() { return gArgWasString; }
bool MacroArgUnevaluated() { return gArgUnevaluated; }

void ForEachMacroOption(std::string_view list, std::size_t maxItem,
                        const std::function<void(char letter, std::string_view value)>& apply) {
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t comma = list.find(',', start);
    if (comma == std::string_view::npos) comma = list.size();
    std::string_view item = list.substr(start, comma - start);
    if (item.size() > maxItem) item = item.substr(0, maxItem);
    if (!item.empty())
      apply(static_cast<char>(std::toupper(static_cast<unsigned char>(item[0]))), item.substr(1));
    start = comma + 1;
  }
}

int OptionWhole(std::string_view value) {
  std::string text(value);
  char* end = nullptr;
  long n = std::strtol(text.c_str(), &end, 10);
  if (end == text.c_str() || n > INT32_MAX || n < INT32_MIN) return 0;
  return static_cast<int>(n);
}

double OptionReal(std::string_view value) {
  std::string text(value);
  char* end = nullptr;
  double x = std::strtod(text.c_str(), &end);
  return end == text.c_str() || !std::isfinite(x) ? 0 : x;
}

void MacroSyntaxError() {
  TMacroRunState& s = MacroState();
  if (s.running && s.trapRow >= 0) {
    // The macro handles its own error: it goes on at the trap cell, which is
    // used up, so an error there stops the macro rather than looping.
    const int row = s.trapRow;
    const int col = s.trapCol;
    s.trapRow = -1;
    ClearErrorFlag();
    if (MacroBranchTo(row, col)) return;
    WindowServices().ShowReadyMode();
    return;
  }
  ShowError("Syntax Error:" + MacroLineAddress());
  MacroStop();
  WindowServices().ShowReadyMode();
}

void MacroCloseFiles() {
  for (TFileSlot& slot : gFiles) CloseSlot(slot);
}

void ForEachMacroRange(const std::function<void(TRange&)>& adjust) {
  TMacroRunState& s = MacroState();
  if (!s.running || s.row == kMacroTextRow) return;
  // The macro's lines stay put when another document's rows move.
  if (s.docSlot != 0 && s.docSlot != CurrentDocSlot()) return;
  auto follow = [&](auto& row, auto& col) {
    TRange cell{static_cast<std::int16_t>(col), static_cast<std::int16_t>(row), static_cast<std::int16_t>(col),
                static_cast<std::int16_t>(row)};
    adjust(cell);
    // A cell whose line was deleted stays where it was: the line that moved
    // up into its place is the one to run.
    if (cell.firstCol < 0) return;
    row = cell.firstRow;
    col = cell.firstCol;
  };
  follow(s.row, s.col);
  for (int i = 0; i < s.callTop; ++i) {
    TMacroCallLevel& level = s.calls[static_cast<std::size_t>(i)];
    if (level.row != kMacroTextRow) follow(level.row, level.col);
  }
  for (int i = 0; i < s.loopCount; ++i) follow(s.loops[static_cast<std::size_t>(i)].row, s.loops[static_cast<std::size_t>(i)].col);
}

namespace {

void ExecCommand(int letter) {
  TMacroRunState& s = MacroState();
  TMacroHost& host = MacroHost();
  switch (letter) {
    case 0x47:  // BRANCH, JUMP
      Branch(false);
      break;
    case 0x43:  // CALL
    case 0x5A:  // MENUCALL
      Branch(true);
      break;
    case 0x52:  // RETURN
      MacroCallReturn();
      break;
    case 0x4A:  // EXIT
      if (s.callTop > 0) --s.callTop;
      break;
    case 0x48:  // RESTART: only the outermost return level stays (none when there is none)
      if (s.callTop > 1) s.callTop = 1;
      break;
    case 0x51:  // QUIT
      s.breakRequested = false;
      s.callTop = 0;
      MacroStop();
      WindowServices().ShowReadyMode();
      break;
    case 0x49: {  // IF
      double x = MacroArgValue();
      if (MacroArgUnevaluated())
        MacroSyntaxError();
      else if (!(x > 0))
        SkipLine();
      break;
    }
    case 0x57:
      While();
      break;
    case 0x16:
      For();
      break;
    case 0x17:
      Next();
      break;
    case 0x39: {  // ONERROR: the error-trap cell, NUL clears it
      const TRange cell = MacroArgCell();
      s.trapRow = HasCell(cell) ? cell.firstRow : -1;
      s.trapCol = HasCell(cell) ? cell.firstCol : 0;
      break;
    }
    case 0x40: {  // GOTO
      const TRange cell = MacroArgCell();
      if (HasCell(cell)) host.GotoCell(cell.firstRow, cell.firstCol);
      break;
    }
    case 0x02:  // XDN
      LoadCursorGlobals();
      host.CursorDown();
      break;
    case 0x45:
      Let();
      break;
    case 0x4B: {  // RECALC
      const TRange range = MacroArgRange();
      if (HasCell(range)) RecalcRange(range);
      MarkChanged();
      ShowRefused();
      break;
    }
    case 0x33: {  // BLANK
      const TRange range = MacroArgRange();
      if (HasCell(range)) RangeErase(range);
      ShowRefused();
      break;
    }
    case 0x31:  // COPY
    case 0x32: {  // MOVE
      const TRange source = MacroArgRange();
      const TRange destination = MacroArgRange();
      if (HasCell(source) && HasCell(destination)) CopyMoveRange(letter == 0x32, source, destination);
      ShowRefused();
      break;
    }
    case 0x34:
      Lines(kLinesColumns, true);
      break;
    case 0x35:
      Lines(kLinesColumns, false);
      break;
    case 0x36:
      Lines(kLinesRows, true);
      break;
    case 0x37:
      Lines(kLinesRows, false);
      break;
    case 0x61:    // COLWIDTH
    case 0x72: {  // ROWHEIGHT
      const TRange range = MacroArgRange();
      int size = MacroArgWhole();
      if (!HasCell(range)) break;
      if (letter == 0x61)
        RangeSetColWidths(range, size);
      else
        RangeSetRowHeights(range, size);
      MarkChanged();
      ShowRefused();
      break;
    }
    case 0x77: {  // BORDER
      int mode = MacroArgWhole();
      const TRange cell = MacroArgCell();
      if (mode >= 0 && mode <= 3 && HasCell(cell)) host.FreezeTitles(mode, cell.firstRow, cell.firstCol);
      break;
    }
    case 0x78:  // ANCHOR
      host.SetAnchor(MacroArgWhole() == 1);
      break;
    case 0x75:  // UNDO
      host.RunCommand("Undo");
      break;
    case 0x55:  // UPDATE
      host.RefreshActiveSheet();
      break;
    case 0x3F:  // ? and GET: the byte after tells them apart
      if (MacroNextByte() == '1')
        Get();
      else
        MacroPause();
      break;
    case 0x4C:
      AskInto(true);
      break;
    case 0x4E:
      AskInto(false);
      break;
    case 0x4D:
      MacroMenuBranch();
      break;
    case 0x42:
      host.Beep();
      break;
    case 0x54: {  // TONE
      int frequency = MacroArgWhole();
      int duration = MacroArgWhole();
      host.Tone(frequency, duration);
      break;
    }
    case 0x01:
      host.Delay(MacroArgWhole());
      break;
    case 0x5B:
      PlayWave();
      break;
    case 0x5C:  // BREAKON, BREAKOFF: the break key is always on
    case 0x5D:
      break;
    case kInRange:  // does nothing: its arguments are played as keys
      break;
    case 0x15:
      FileCommand();
      break;
    default:
      if (!MacroExecFamily(static_cast<char>(letter)))
        MacroSyntaxError();
      else if (FamilyChangesDocument(letter))
        MarkChanged();
      break;
  }
}

}  // namespace

void MacroExecCommand() {
  // Each command starts with no reference error of an earlier one.
  ClearErrorFlag();
  TMacroRunState& s = MacroState();
  // Where this command's bytes lie: what it leaves of them unread is dropped
  // afterwards, unless it moved the macro elsewhere.
  const int row = s.row;
  const int col = s.col;
  const int start = s.pos;
  const std::string line = s.line;
  int letter = MacroNextByte();
  if (!s.running) return;
  ExecCommand(letter);
  if (letter == kInRange) return;
  if (s.row == row && s.col == col && s.pos >= start && s.line == line) MacroDropCommandRest();
}

}  // namespace corvane

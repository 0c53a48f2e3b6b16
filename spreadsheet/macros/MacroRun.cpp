// The macro run state, line loading and byte fetch, and the call and loop
// stacks.
#include "spreadsheet/macros/MacroRun.h"

#include <cmath>

#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/CellStore.h"
#include "spreadsheet/engine/DocumentScope.h"
#include "spreadsheet/engine/DocumentTable.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/EnginePlatform.h"
#include "spreadsheet/engine/FormulaText.h"
#include "spreadsheet/engine/PoolString.h"
#include "spreadsheet/engine/RangeArguments.h"
#include "spreadsheet/engine/RangeText.h"
#include "spreadsheet/engine/ShowError.h"
#include "spreadsheet/engine/TextRoutines.h"
#include "spreadsheet/engine/WindowServices.h"
#include "spreadsheet/macros/MacroCompiler.h"

namespace corvane {

namespace {

TMacroRunState gState;
TMacroHost gDefaultHost;
TMacroHost* gHost = &gDefaultHost;

// The mode field's colour while a line waits in step mode: that of READY.
constexpr int kStepModeColour = 31;

// A whole number from a loop bound: truncated, and held within 32 bits.
std::int32_t WholeNumber(double x) {
  if (!(x == x)) return 0;
  if (x >= 2147483647.0) return INT32_MAX;
  if (x <= -2147483648.0) return INT32_MIN;
  return static_cast<std::int32_t>(x);
}

// The macro text of a cell: a label without its prefix, a formula's text, a
// number's edit text; false for a missing or blank cell.
bool CurrentCellMacroText(int row, int col, std::string& text) {
  TCellHandle handle = CellFind(row, col);
  const TCell* cell = CellPtr(handle);
  switch (CellKindOf(cell)) {
    case kKindOfNoCell:
    case kKindBlank:
      return false;
    case kKindLabel:
    case kKindPicture:
      text = std::string(PoolStringView(cell->text));
      if (!text.empty() && IsLabelPrefix(text.front())) text.erase(0, 1);
      return true;
    case kKindStringFormula:
    case kKindNumberFormula:
      text = FormulaToText(PoolBlock(cell->text), PoolStringBlockBytes(cell->text));
      return true;
    default:
      text = CellContentsText(handle);
      return true;
  }
}

// The macro text of the cell in the document the macro started in; false, as
// for a missing cell, when that document has been closed. A text macro
// started with no document open reads the current one's cells.
bool CellMacroText(int row, int col, std::string& text) {
  if (gState.docSlot == 0) return CurrentCellMacroText(row, col, text);
  const TDocSlot* doc = DocSlot(gState.docSlot);
  if (doc == nullptr || doc->rowHeads == nullptr || doc->ownerTag != gState.docTag) return false;
  if (gState.docSlot == CurrentDocSlot()) return CurrentCellMacroText(row, col, text);
  TDocumentScope scope(gState.docSlot);
  return scope.Ok() && CurrentCellMacroText(row, col, text);
}

void Begin() {
  // A bad reference of an earlier macro must not spoil this one's arguments.
  ClearErrorFlag();
  gState.running = true;
  gState.breakRequested = false;
  gState.paused = false;
  gState.callTop = 0;
  gState.loopCount = 0;
  gState.trapRow = -1;
  gState.pos = 1;
  gState.docSlot = CurrentDocSlot();
  const TDocSlot* doc = DocSlot(gState.docSlot);
  gState.docTag = doc != nullptr ? doc->ownerTag : 0;
  MacroHost().SetCtrlShortcuts(false);
}

// Loads the line at the state's row and column and moves the row on. A
// missing or blank cell ends the macro (READY, step mode off); false then.
bool LoadLine() {
  std::string text;
  if (!CellMacroText(gState.row, gState.col, text)) {
    MacroStop();
    gState.step = false;
    WindowServices().ShowReadyMode();
    return false;
  }
  if (gState.step) {
    EnginePlatform().MessageBeep();
    WindowServices().SetModeIndicator("Step", kStepModeColour);
    MacroHost().SetCaption(ColRowName(gState.row, gState.col) + " : " + text);
    MacroPause();
    if (!gState.running) return false;
  }
  gState.line = MacroCompile(text);
  gState.line += '\0';
  gState.pos = 1;
  ++gState.row;
  return true;
}

constexpr int kCommandEnd = static_cast<unsigned char>(kMacroCommandEnd);

bool LineUsedUp() {
  return gState.pos > static_cast<int>(gState.line.size()) || gState.line[static_cast<std::size_t>(gState.pos - 1)] == 0;
}

}  // namespace

TMacroRunState& MacroState() { return gState; }

TMacroHost& MacroHost() { return *gHost; }
void SetMacroHost(TMacroHost* host) { gHost = host ? host : &gDefaultHost; }

bool MacroStartAt(int row, int col) {
  if (gState.running) return false;
  Begin();
  gState.row = row;
  gState.col = col;
  gState.line.clear();
  gState.textLine.clear();
  return true;
}

bool MacroStartText(std::string_view text) {
  if (gState.running) return false;
  Begin();
  gState.row = kMacroTextRow;
  gState.line = MacroCompile(text);
  gState.line += '\0';
  gState.textLine = gState.line;
  return true;
}

void MacroStop() {
  bool wasRunning = gState.running;
  gState.running = false;
  gState.paused = false;
  if (wasRunning) MacroHost().SetCtrlShortcuts(true);
}

void MacroBreak() {
  if (!gState.running || gState.breakRequested) return;
  gState.breakRequested = true;
  gState.paused = false;
  EnginePlatform().MessageBeep();
  MacroHost().BreakRequested();
}

void MacroPause() {
  gState.paused = true;
  while (gState.paused && gState.running) {
    if (!MacroHost().ProcessMessages()) break;
  }
  gState.paused = false;
}

void MacroResume() { gState.paused = false; }

bool MacroBranchTo(int row, int col) {
  if (!gState.running) return false;
  gState.row = row;
  gState.col = col;
  return LoadLine();
}

std::string MacroLineAddress() {
  if (gState.row == kMacroTextRow) return "";
  return ColRowName(gState.row - 1, gState.col);
}

int MacroNextByte() {
  while (gState.running) {
    if (gState.breakRequested) {
      ShowError("Break! " + MacroLineAddress());
      MacroStop();
      return 0;
    }
    if (!LineUsedUp()) {
      int b = static_cast<unsigned char>(gState.line[static_cast<std::size_t>(gState.pos++ - 1)]);
      if (b == kCommandEnd) continue;
      return b;
    }
    if (gState.row == kMacroTextRow) {
      MacroStop();
      return 0;
    }
    if (!LoadLine()) return 0;
  }
  return 0;
}

int MacroNextArgByte() {
  if (!gState.running || LineUsedUp()) return 0;
  int b = static_cast<unsigned char>(gState.line[static_cast<std::size_t>(gState.pos - 1)]);
  if (b == kCommandEnd) return 0;
  ++gState.pos;
  return b;
}

void MacroDropCommandRest() {
  while (gState.running && !LineUsedUp()) {
    if (static_cast<unsigned char>(gState.line[static_cast<std::size_t>(gState.pos++ - 1)]) == kCommandEnd) return;
  }
}

bool MacroCallPush() {
  if (gState.callTop >= kMacroCallLevels) {
    ShowError("Stack Overflow, Nesting>20");
    MacroStop();
    return false;
  }
  TMacroCallLevel& level = gState.calls[static_cast<std::size_t>(gState.callTop++)];
  level.row = static_cast<std::int16_t>(gState.row == kMacroTextRow ? kMacroTextRow : gState.row - 1);
  level.col = static_cast<std::int16_t>(gState.col);
  level.pos = static_cast<std::int16_t>(gState.pos);
  return true;
}

bool MacroCallReturn() {
  if (gState.callTop <= 0) {
    ShowError("Stack Underflow, Level<1");
    return false;
  }
  const TMacroCallLevel level = gState.calls[static_cast<std::size_t>(--gState.callTop)];
  gState.col = level.col;
  if (level.row == kMacroTextRow) {
    gState.row = kMacroTextRow;
    gState.line = gState.textLine;
  } else {
    gState.row = level.row;
    if (!LoadLine()) return false;
  }
  gState.pos = level.pos;
  return true;
}

bool MacroLoopPush(int row, int col, double start, double end, double step) {
  if (gState.loopCount >= kMacroLoopLevels) {
    ShowError("FOR LOOPS>5");
    MacroStop();
    return false;
  }
  SetCellNumber(row, col, start);
  TMacroLoopLevel& loop = gState.loops[static_cast<std::size_t>(gState.loopCount++)];
  loop.row = static_cast<std::int16_t>(row);
  loop.col = static_cast<std::int16_t>(col);
  loop.end = WholeNumber(end);
  loop.step = WholeNumber(step);
  return true;
}

TMacroLoopTest MacroLoopTest() {
  if (gState.loopCount <= 0) return TMacroLoopTest::kNoLoop;
  const TMacroLoopLevel& loop = gState.loops[static_cast<std::size_t>(gState.loopCount - 1)];
  double counter = CellNumber(CellPtr(CellFind(loop.row, loop.col)));
  // A step of 0 would never reach the end from below it: the body runs once.
  bool finished = loop.step > 0 ? loop.end <= counter : loop.step == 0 || loop.end >= counter;
  if (finished) {
    --gState.loopCount;
    return TMacroLoopTest::kFinished;
  }
  SetCellNumber(loop.row, loop.col, counter + loop.step);
  return TMacroLoopTest::kRepeat;
}

}  // namespace corvane

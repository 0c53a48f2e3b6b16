// The find-and-replace walk over the current document's cells.
#include "spreadsheet/windows/FindReplace.h"

#include <algorithm>

#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/CellStore.h"
#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/EnginePlatform.h"
#include "spreadsheet/engine/FormulaText.h"
#include "spreadsheet/engine/RangeEdit.h"
#include "spreadsheet/engine/RangeText.h"
#include "spreadsheet/engine/ShowError.h"
#include "spreadsheet/engine/TextCase.h"
#include "spreadsheet/engine/WindowServices.h"

namespace corvane {

namespace {

// Replacements in one cell during Replace All before the walk moves on: a
// pair of texts that rebuild a match at each step cannot hold it forever.
constexpr int kReplacementsPerCell = 1000;

void GotoCell(int row, int col) {
  TRange cell;
  RangeSet(cell, col, row, col, row);
  WindowServices().SetGridSelection(cell);
}

}  // namespace

void TFindReplace::Activate(const TRange& gridSelection) {
  if (WindowServices().ActiveSheet() != sheet) TextsChanged();
  sheet = WindowServices().ActiveSheet();
  selection = gridSelection;
  if (!RangeIsValid(selection) || selection.firstRow < 0 || selection.lastRow < 0) {
    std::int16_t cursorRow = 0, cursorCol = 0;
    WindowServices().GetCursorCell(cursorRow, cursorCol);
    RangeSet(selection, cursorCol, cursorRow, cursorCol, cursorRow);
  }
  selection = OrderedRange(selection);
  if (selection.firstRow != selection.lastRow || selection.firstCol != selection.lastCol) selectedScope = true;
}

std::string TFindReplace::ScopeText() const { return RangeText(selection); }

std::string TFindReplace::FindButtonCaption() const { return newSearch ? "Fi&nd" : "Find &Next"; }

void TFindReplace::TextsChanged() {
  newSearch = true;
  haveHit = false;
}

void TFindReplace::FileHistory() {
  if (findText.empty()) return;
  std::erase(history, findText);
  if (history.size() > static_cast<std::size_t>(kFindHistoryLimit - 1))
    history.resize(static_cast<std::size_t>(kFindHistoryLimit - 1));
  history.insert(history.begin(), findText);
}

std::string TFindReplace::MatchKey(std::string_view text) const {
  return caseInsensitive ? UpperCaseText(text) : std::string(text);
}

void TFindReplace::ReadOptions() {
  if (!newSearch) return;
  if (selectedScope) {
    scope = selection;
  } else {
    RangeSet(scope, 0, 0, gCurrentDoc.highCol, gCurrentDoc.highRow);
  }
  row = scope.firstRow;
  col = scope.firstCol;
  haveHit = false;
  newSearch = false;
}

bool TFindReplace::Circular() const { return MatchKey(replaceText).find(MatchKey(findText)) != std::string::npos; }

TFindResult TFindReplace::Next() {
  std::string key = MatchKey(findText);
  bool found = false;
  auto visit = [&](TCellHandle handle, const TCell& cell) {
    if (MatchKey(CellContentsText(handle)).find(key) == std::string::npos) return true;
    hitRow = cell.row;
    hitCol = cell.column;
    found = true;
    return false;
  };
  if (!key.empty() && row <= scope.lastRow) {
    col = std::max(col, static_cast<int>(scope.firstCol));
    TRange part;
    if (col <= scope.lastCol) {
      RangeSet(part, col, row, scope.lastCol, row);
      ForEachCellInRange(part, visit);
    }
    if (!found && row < scope.lastRow) {
      RangeSet(part, scope.firstCol, row + 1, scope.lastCol, scope.lastRow);
      ForEachCellInRange(part, visit);
    }
  }
  if (found) {
    row = hitRow;
    col = hitCol;
    haveHit = true;
    result = CellAddrText(hitRow, hitCol, false, false) + "]" + CellContentsText(CellFind(hitRow, hitCol));
    return TFindResult::kFound;
  }
  row = scope.lastRow + 1;
  col = scope.firstCol;
  haveHit = false;
  result = std::to_string(replaced) + " Occurances.";
  EnginePlatform().MessageBeep();
  return TFindResult::kExhausted;
}

bool TFindReplace::ReplaceAtHit() {
  TCellHandle cell = CellFind(hitRow, hitCol);
  std::string key = MatchKey(findText);
  if (cell == kNilHandle || key.empty() || CellIsProtected(CellPtr(cell))) return false;
  std::string text = CellContentsText(cell);
  std::size_t at = MatchKey(text).find(key);
  if (at == std::string::npos) return false;
  text.erase(at, key.size());
  if (text.size() + replaceText.size() < kReplacedTextLimit) text.insert(at, replaceText);
  return EnterCell(text, hitRow, hitCol);
}

TFindResult TFindReplace::ShowNext() {
  TFindResult found = Next();
  if (found == TFindResult::kFound) {
    GotoCell(hitRow, hitCol);
    col = hitCol + 1;  // the next search goes on after the cell shown
  }
  return found;
}

bool TFindReplace::RefuseCircular() {
  ReadOptions();
  if (!Circular()) return false;
  ShowError(kCircularReplaceText);
  return true;
}

TFindResult TFindReplace::Find() {
  lastCommand = 1;
  ReadOptions();
  return ShowNext();
}

TFindResult TFindReplace::Replace() {
  lastCommand = 2;
  if (RefuseCircular()) return TFindResult::kCircular;
  if (haveHit) {
    TCellCommand command;
    command.Begin();
    if (ReplaceAtHit()) {
      ++replaced;
      command.Done();
      // The same cell may hold the text again further on.
      row = hitRow;
      col = hitCol;
    } else if (ErrorFlagSet()) {
      ShowError(ErrorMessage());
      ClearErrorFlag();
    }
  }
  return ShowNext();
}

TFindResult TFindReplace::ReplaceAll() {
  replaced = 0;
  if (RefuseCircular()) return TFindResult::kCircular;
  TCellCommand command;
  bool begun = false;
  int inCell = 0, cellRow = -1, cellCol = -1;
  while (Next() == TFindResult::kFound) {
    if (hitRow != cellRow || hitCol != cellCol) {
      cellRow = hitRow;
      cellCol = hitCol;
      inCell = 0;
    }
    if (!begun) command.Begin();  // the undo copy, once, before the first change
    begun = true;
    bool again = inCell < kReplacementsPerCell && ReplaceAtHit();
    ClearErrorFlag();  // a refused cell keeps its text and is passed over
    if (again) {
      ++replaced;
      ++inCell;
    } else {
      col = hitCol + 1;
    }
  }
  if (replaced > 0) command.Done();
  result = std::to_string(replaced) + " occurances!";
  return TFindResult::kExhausted;
}

}  // namespace corvane

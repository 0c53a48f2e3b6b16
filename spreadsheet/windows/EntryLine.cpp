// The entry line's logic: editing, committing, POINT mode and the indicators.
#include "spreadsheet/windows/EntryLine.h"

#include <algorithm>

#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/CellStore.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/EnginePlatform.h"
#include "spreadsheet/engine/Evaluator.h"
#include "spreadsheet/engine/FormulaCompiler.h"
#include "spreadsheet/engine/FormulaText.h"
#include "spreadsheet/engine/NumberText.h"
#include "spreadsheet/engine/RangePrompt.h"
#include "spreadsheet/engine/RangeText.h"
#include "spreadsheet/engine/ShowError.h"
#include "spreadsheet/engine/WindowServices.h"

namespace corvane {

namespace {

constexpr std::uint32_t kNoOwnFillBit = 0x80000000u;
constexpr std::uint8_t kStyleIgnoredBit = 0x80;
constexpr int kFontDefault = 255;

void ShowMode(const TModeIndicator& mode) { WindowServices().SetModeIndicator(mode.text, mode.colour); }

// Characters after which an arrow key starts pointing rather than committing:
// an operator, an opening parenthesis, "@" or an argument separator.
bool PointingTrigger(char last) {
  return std::string_view("&(*+,-/@").find(last) != std::string_view::npos || last == ArgumentSeparator();
}

TRange SingleCell(int row, int col) {
  TRange range;
  RangeSet(range, col, row, col, row);
  return range;
}

TRange CursorRange() {
  std::int16_t row = 0, col = 0;
  WindowServices().GetCursorCell(row, col);
  return SingleCell(row, col);
}

// The two low bits of a reference mode cycle 3, 2, 1, 0, 3, ...
int NextReference(int mode) { return (mode + 3) & 3; }

}  // namespace

TModeIndicator TypingModeFor(std::string_view text) {
  if (text.empty()) return kModeEmpty;
  char first = text.front();
  if (first == '(' || first == '+' || first == '-' || first == '@' || (first >= '0' && first <= '9')) return kModeValue;
  return kModeLabel;
}

TCellStyleIndicators CellStyleIndicators(int row, int col, const TSheetFonts& fonts) {
  TCellStyleIndicators out;
  const TCell* cell = CellPtr(CellFind(row, col));
  const TCell& source = cell != nullptr ? *cell : kDefaultCellTemplate;
  std::uint8_t style = (source.style & kStyleIgnoredBit) ? 0 : source.style;
  out.bold = (style & 1) != 0;
  out.italic = (style & 2) != 0;
  out.underline = (style & 4) != 0;
  out.fillColour = (source.attributes & kNoOwnFillBit) ? 0xFFFFFFu : (source.attributes & 0xFFFFFFu);
  out.textPalette = static_cast<int>((source.attributes >> 24) & 0x0F);
  out.fontText = CellFontName(fonts, source.font);
  if (source.font == kFontDefault) out.fontText += " *";
  out.sizeText = std::to_string(CellFontSize(fonts, source.size));
  if (source.size == 0) out.sizeText += " *";
  return out;
}

void TEntryLine::EditEnter() {
  view_.SetPickButtonsEnabled(true);
  if (editMode_) ShowMode(kModeEdit);
  TWindowServices& ws = WindowServices();
  // Editing is on before the selection collapses: the cursor move that
  // collapsing makes must not put the cell's contents back into the line.
  // The menus read the flag to gray their items, so they hear of it after.
  editing_ = true;
  ws.SetMainMenusEnabled(false);
  TRange selection;
  ws.GetGridSelection(selection);
  if (selection.firstRow >= 0 && RangeIsMulti(selection)) ws.SetGridSelection(CursorRange());
  view_.SetEditButtonsVisible(true);
  view_.SetEntryColours(true, false);
  referenceMode_ = 0;
  overwrite_ = !view_.InsertToggleOn();
}

void TEntryLine::EditCurrentCell() {
  if (pointing_) return;
  editMode_ = true;
  if (!editing_) EditEnter();
  ShowMode(kModeEdit);
  view_.FocusEntry();
  view_.CaretToEnd();
}

void TEntryLine::PaneChar(char ch) {
  // A typed character always starts a new entry (only F2 edits the old one):
  // after pointing it goes on from the pointed text, otherwise from an empty
  // line, set after EditEnter so that nothing the selection's collapse shows
  // is kept.
  std::string text;
  if (pointing_) {
    text = PointedEntryText();
    EndPointing();
  }
  view_.SetGridExtendMode(false);
  EditEnter();
  view_.SetEntryText(text);
  view_.FocusEntry();
  view_.CaretToEnd();
  view_.TypeChar(ch);
  TextChanged();
}

void TEntryLine::TextChanged() {
  if (!editing_) return;
  view_.SetEntryColours(true, false);
  ShowMode(editMode_ ? kModeEdit : TypingModeFor(view_.EntryText()));
}

TEntryKeyResult TEntryLine::EntryKey(TEntryKey key) {
  std::string text = view_.EntryText();
  char last = text.empty() ? '\0' : text.back();
  switch (key) {
    case TEntryKey::kEnter:
      EditExit();
      return TEntryKeyResult::kHandled;
    case TEntryKey::kEscape:
      if (!text.empty()) {
        view_.SetEntryText("");
        TextChanged();
      } else {
        EditCancel();
      }
      return TEntryKeyResult::kHandled;
    case TEntryKey::kHome:
    case TEntryKey::kLeft:
    case TEntryKey::kUp:
    case TEntryKey::kRight:
    case TEntryKey::kDown: {
      if (editMode_) return TEntryKeyResult::kNotHandled;
      if (!text.empty() && PointingTrigger(last) && WindowServices().ActiveSheet() != kNoSheet) {
        std::int16_t row = 0, col = 0;
        WindowServices().GetCursorCell(row, col);
        savedText_ = text;
        savedRow_ = row;
        savedCol_ = col;
        pointing_ = true;
        anchored_ = false;
        ShowMode(kModePoint);
        EditExit();
        return TEntryKeyResult::kPassToPane;
      }
      if (!EditExit()) return TEntryKeyResult::kHandled;
      TWindowServices& ws = WindowServices();
      std::int16_t row = 0, col = 0;
      ws.GetCursorCell(row, col);
      int r = row, c = col;
      if (key == TEntryKey::kHome) r = c = 0;
      if (key == TEntryKey::kLeft) c = std::max(0, c - 1);
      if (key == TEntryKey::kRight) c = std::min(kMaxCol, c + 1);
      if (key == TEntryKey::kUp) r = std::max(0, r - 1);
      if (key == TEntryKey::kDown) r = std::min(kMaxRow, r + 1);
      ws.SetGridSelection(SingleCell(r, c));
      return TEntryKeyResult::kHandled;
    }
    case TEntryKey::kF1:
      if (last == '@') return TEntryKeyResult::kFunctionPick;
      if (last == '{') return TEntryKeyResult::kMacroPick;
      return TEntryKeyResult::kHandled;
    case TEntryKey::kF2:
      editMode_ = true;
      ShowMode(kModeEdit);
      return TEntryKeyResult::kHandled;
    case TEntryKey::kF9: {
      std::string resultText;
      double value = EvaluateFormulaText(text, resultText);
      if (!ErrorFlagSet()) {
        view_.SetEntryText(resultText.empty() ? RealToGeneralText(value) : resultText);
        view_.CaretToEnd();
        TextChanged();
      }
      ClearErrorFlag();
      return TEntryKeyResult::kHandled;
    }
  }
  return TEntryKeyResult::kNotHandled;
}

bool TEntryLine::EditExit() {
  TWindowServices& ws = WindowServices();
  if (ws.ActiveSheet() == kNoSheet) return false;
  view_.SetPickButtonsEnabled(false);
  std::string text = view_.EntryText();
  if ((text.empty() && !editMode_) || pointing_) {
    Finish();
    return true;
  }
  if (RangePromptActive()) {
    RangePromptEnd(true);
    if (!RangePromptActive()) {
      std::int16_t row = 0, col = 0;
      ws.GetCursorCell(row, col);
      UpdateCellIndicators(row, col);
    }
    return true;
  }
  std::int16_t row = 0, col = 0;
  ws.GetCursorCell(row, col);
  bool entered = EnterCell(text, row, col);
  ws.SetGridSelection(SingleCell(row, col));
  ws.RepaintSheet(ws.ActiveSheet());
  if (!entered || ErrorFlagSet()) {
    // The engine's message first (a formula the compiler refuses has none of
    // its own); then the text stays for correction.
    const std::string message = ErrorFlagSet() && !ErrorMessage().empty() ? ErrorMessage() : kSyntaxErrorText;
    ClearErrorFlag();
    ShowError(message);
    view_.SetEntryText(text);
    EnginePlatform().MessageBeep();
    editMode_ = true;
    ShowMode(kModeEdit);
    view_.SetEntryColours(true, true);
    view_.FocusEntry();
    view_.CaretToEnd();
    ClearErrorFlag();
    return false;
  }
  ws.MarkSheetModified(ws.ActiveSheet());
  bool recalculated = EntryRecalculated();
  Finish();
  if (recalculated) ws.RepaintSheet(ws.ActiveSheet());
  UpdateCellIndicators(row, col);
  return true;
}

void TEntryLine::EditCancel() {
  view_.SetPickButtonsEnabled(false);
  Finish();
  std::int16_t row = 0, col = 0;
  WindowServices().GetCursorCell(row, col);
  UpdateCellIndicators(row, col);
}

void TEntryLine::Finish() {
  view_.SetEditButtonsVisible(false);
  editMode_ = false;
  if (!pointing_) {
    view_.SetEntryColours(false, false);
    WindowServices().ShowReadyMode();
  }
  editing_ = false;
  // The menus come back once the entry has ended; a refused entry keeps
  // them grayed while its text waits for correction.
  WindowServices().SetMainMenusEnabled(true);
  WindowServices().FocusActiveGrid();
}

void TEntryLine::EndPointing() {
  pointing_ = false;
  anchored_ = false;
  view_.SetGridExtendMode(false);
  WindowServices().SetGridSelection(SingleCell(savedRow_, savedCol_));
}

void TEntryLine::PointAnchor() {
  if (!pointing_) return;
  anchored_ = true;
  view_.SetGridExtendMode(true);
}

void TEntryLine::CycleReferenceMode() {
  TRange selection;
  WindowServices().GetGridSelection(selection);
  bool range = anchored_ || (selection.firstRow >= 0 && RangeIsMulti(selection));
  if (range) {
    referenceMode_ = (referenceMode_ & 3) | NextReference(referenceMode_ >> 2) << 2;
  } else {
    referenceMode_ = NextReference(referenceMode_ & 3);
  }
  if (pointing_) view_.SetEntryText(PointedEntryText());
}

std::string TEntryLine::PointedRangeText() const {
  TRange selection;
  WindowServices().GetGridSelection(selection);
  if (selection.firstRow < 0 || !RangeIsValid(selection)) selection = CursorRange();
  bool range = anchored_ || RangeIsMulti(selection);
  // While only one cell is pointed at, its address takes the low two bits.
  unsigned mask = static_cast<unsigned>(range ? referenceMode_ : referenceMode_ & 3);
  return RangeTextAbs(selection, mask, range);
}

std::string TEntryLine::PointedEntryText() const { return savedText_ + PointedRangeText(); }

bool TEntryLine::PointCommit() {
  if (!pointing_) return false;
  std::string text = PointedEntryText();
  EndPointing();
  view_.SetEntryText(text);
  editing_ = true;
  return EditExit();
}

void TEntryLine::PointEscape() {
  if (!pointing_) return;
  EndPointing();
  view_.SetEntryText(savedText_);
  EditEnter();
  TextChanged();
  view_.FocusEntry();
  view_.CaretToEnd();
}

void TEntryLine::UpdateCellIndicators(int row, int col) {
  if (pointing_) {
    view_.SetEntryText(PointedEntryText());
    return;
  }
  view_.ShowCellStyle(CellStyleIndicators(row, col, view_.SheetFonts()));
  TWindowServices& ws = WindowServices();
  TRange selection;
  ws.GetGridSelection(selection);
  bool multi = selection.firstRow >= 0 && RangeIsMulti(selection);
  if (RangePromptActive()) {
    view_.SetPromptText(RangeText(multi ? selection : SingleCell(row, col)));
    return;
  }
  if (editing_) return;
  std::string status, contents;
  bool editable = CellStatusText(row, col, status, contents);
  view_.SetEntryText(contents);
  view_.SetEntryEnabled(editable);
  std::string address = CellAddrText(row, col, false, false);
  view_.SetStatusText(multi ? address : address + status);
}

}  // namespace corvane

// The function list, justify and word dialogs' logic over the engine.
#include "spreadsheet/windows/TextDialogs.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "spreadsheet/data/DataDialog.h"
#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/CellStore.h"
#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/FormulaTables.h"
#include "spreadsheet/engine/FormulaText.h"
#include "spreadsheet/engine/RangeEdit.h"
#include "spreadsheet/engine/RangeText.h"
#include "spreadsheet/engine/Recalc.h"
#include "spreadsheet/engine/ShowError.h"
#include "spreadsheet/engine/WindowServices.h"
#include "spreadsheet/engine/UserFunctions.h"
#include "spreadsheet/macros/MacroKeywords.h"
#include "spreadsheet/windows/CellPainter.h"

namespace corvane {

namespace {

constexpr int kFirstFunctionToken = 31;
constexpr std::size_t kMaxEntryText = 240;

std::string CutEntry(std::string text) {
  if (text.size() > kFunctionListEntryChars) text.resize(kFunctionListEntryChars);
  return text;
}

std::string UpperCased(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

// The user-defined functions as list entries: the document's table first,
// then the library's that the document does not hold yet, sorted.
std::vector<std::string> UserFunctionEntries() {
  std::vector<std::string> names;
  std::vector<std::string> entries;
  auto add = [&](const TUserFunc& function) {
    if (function.name.empty() || std::find(names.begin(), names.end(), function.name) != names.end()) return;
    names.push_back(function.name);
    entries.push_back(CutEntry(function.name + "(" + std::to_string(function.argCount) + ")"));
  };
  TUserFunc function;
  for (int k = 1; k <= DocumentUserFunctionCount(); ++k)
    if (DocumentUserFunction(k, function)) add(function);
  for (int k = 1; k <= LibraryFunctionCount(); ++k)
    if (LibraryFunction(k, function)) add(function);
  std::sort(entries.begin(), entries.end());
  return entries;
}

// The cells of `range` in column order: down the first column, then the next.
template <class Visit>
void ForEachInColumnOrder(const TRange& range, int limit, Visit&& visit) {
  int k = 0;
  for (int col = range.firstCol; col <= range.lastCol; ++col)
    for (int row = range.firstRow; row <= range.lastRow; ++row) {
      if (k == limit) return;
      visit(k++, row, col);
    }
}

std::string JustifyCellText(int row, int col, bool pad) {
  TCellHandle handle = CellFind(row, col);
  if (handle == kNilHandle) return "";
  std::string text = CellContentsText(handle);
  if ((CellPtr(handle)->kind & kKindTypeMask) == kKindLabel && !text.empty()) text.erase(0, 1);
  if (pad)
    while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

// Sets and shows `message`; false.
bool Refused(std::string_view message) {
  SetErrorFlag(message);
  ShowError(message);
  return false;
}

bool IsGap(const std::string& line, std::size_t at) {
  return line[at] == ' ' && at > 0 && line.find_first_not_of(' ', at) != std::string::npos &&
         line.find_last_not_of(' ', at) != std::string::npos;
}

}  // namespace

// ---- Function list -------------------------------------------------------------

std::string TFunctionList::Caption() const { return mode == kFunctionListMacros ? "Macros" : "Functions"; }

void TFunctionList::Build() {
  entries.clear();
  picked.clear();
  selected = -1;
  if (mode == kFunctionListMacros) {
    for (int k = 1; k <= kMacroListEntries; ++k) entries.push_back(CutEntry(std::string(MacroKeyword(k).Word())));
    return;
  }
  entries.push_back("NOT(1)");
  for (int token = kFirstFunctionToken; token <= kLastNamedToken; ++token) {
    std::string_view name = TokenName(token);
    if (name.empty()) continue;
    std::string entry(name);
    int tokenClass = TokenClassTable[token];
    if (tokenClass == kClassFunctionList) entry += "( var )";
    if (int n = tokenClass - kClassFunction0; n > 0) entry += "(" + std::to_string(n) + ")";
    entries.push_back(CutEntry(entry));
  }
  std::sort(entries.begin(), entries.end());
  entries.push_back(kExternalFunctionsLine);
  for (std::string& entry : UserFunctionEntries()) entries.push_back(std::move(entry));
}

int TFunctionList::Search(std::string_view text) {
  std::string key = UpperCased(text.substr(0, std::min(text.size(), kFunctionListSearchChars)));
  for (std::size_t k = 0; k < entries.size(); ++k)
    if (entries[k].compare(0, key.size(), key) == 0) {
      selected = static_cast<int>(k);
      break;
    }
  return selected;
}

void TFunctionList::Pick(int index) {
  if (index < 0 || index >= static_cast<int>(entries.size())) return;
  selected = index;
  picked = FunctionPickText(entries[static_cast<std::size_t>(index)]);
  if (picked.size() > kFunctionListPickChars) picked.resize(kFunctionListPickChars);
}

std::string FunctionPickText(std::string_view entry) {
  if (entry == kExternalFunctionsLine) return "";
  std::size_t paren = entry.find('(');
  return std::string(paren == std::string_view::npos ? entry : entry.substr(0, paren + 1));
}

// ---- Justify -------------------------------------------------------------------

std::vector<std::string> ReflowTexts(const std::vector<std::string>& texts, int usableWidth, std::size_t maxLines,
                                     const TTextWidthFn& width) {
  // A line must also fit a label: the prefix and 239 characters.
  auto fits = [&](std::string_view text) { return text.size() < kMaxEntryText && width(text) <= usableWidth; };
  std::vector<std::string> lines;
  std::string joined;
  for (const std::string& text : texts) {
    if (lines.size() > maxLines) break;
    if (text.empty()) continue;
    if (!joined.empty() && joined.back() != ' ' && text.front() != ' ') joined += ' ';
    joined += text;
    while (!joined.empty() && !fits(joined) && lines.size() <= maxLines) {
      // The longest fitting front; at least one character, so a width
      // narrower than any character still makes progress.
      std::size_t fit = 1;
      while (fit < joined.size() && fits(std::string_view(joined).substr(0, fit + 1))) ++fit;
      if (fit >= joined.size()) break;
      std::size_t cut = fit;
      if (joined[fit] != ' ') {
        std::size_t space = joined.rfind(' ', fit - 1);
        if (space != std::string::npos && space > 0) cut = space;
      }
      std::string line = joined.substr(0, cut);
      while (!line.empty() && line.back() == ' ') line.pop_back();
      if (!line.empty()) lines.push_back(line);
      std::size_t rest = joined.find_first_not_of(' ', cut);
      joined = rest == std::string::npos ? std::string() : joined.substr(rest);
    }
  }
  if (!joined.empty() && lines.size() <= maxLines) lines.push_back(joined);
  return lines;
}

std::string PadLine(std::string line, int width, const TTextWidthFn& textWidth) {
  if (line.empty() || line.back() == '.') return line;
  int current = textWidth(line);
  for (bool grew = true; grew;) {
    grew = false;
    for (std::size_t at = 0; at < line.size(); ++at) {
      if (!IsGap(line, at) || (at + 1 < line.size() && line[at + 1] == ' ')) continue;
      if (line.size() >= kMaxEntryText) return line;
      std::string wider = line.substr(0, at + 1) + ' ' + line.substr(at + 1);
      int w = textWidth(wider);
      if (w > width || w <= current) return line;
      line = std::move(wider);
      current = w;
      grew = true;
      ++at;  // past the inserted space, on to the next gap
    }
  }
  return line;
}

TJustifyFont JustifyFontFor(const TRange& range, const TSheetFonts& fonts) {
  TRange r = OrderedRange(range);
  const TCell* cell = CellPtr(CellFind(r.firstRow, r.firstCol));
  const TCell& source = cell != nullptr ? *cell : kDefaultCellTemplate;
  return {CellFontName(fonts, source.font), CellFontSize(fonts, source.size)};
}

bool JustifyRange(const TRange& range, int widthPixels, bool pad, const TTextWidthFn& width) {
  TRange r = OrderedRange(range);
  if (!RangeIsValid(r)) return false;
  int cells = std::min((r.lastRow - r.firstRow + 1) * (r.lastCol - r.firstCol + 1), kJustifyMaxCells);
  std::vector<std::string> texts;
  ForEachInColumnOrder(r, cells, [&](int, int row, int col) { texts.push_back(JustifyCellText(row, col, pad)); });
  int usable = widthPixels - kJustifyWidthMargin;
  std::vector<std::string> lines = ReflowTexts(texts, usable, static_cast<std::size_t>(cells), width);
  if (lines.size() > static_cast<std::size_t>(cells)) return Refused(kRangeTooSmallText);
  // A line meant for a protected cell would be lost once its source cells
  // are erased, and the text of a protected cell left behind would stand
  // twice, so such a range is refused whole.
  bool blocked = false;
  ForEachInColumnOrder(r, cells, [&](int k, int row, int col) {
    blocked = blocked || (CellIsProtected(CellPtr(CellFind(row, col))) &&
                          (k < static_cast<int>(lines.size()) || !JustifyCellText(row, col, false).empty()));
  });
  if (blocked) return Refused(kProtectedCellText);

  TCellCommand command;
  command.Begin();
  // Only the cells read are erased: a range of more than 500 cells keeps the
  // rest.
  ForEachInColumnOrder(r, cells, [](int, int row, int col) {
    TCellHandle handle = CellFind(row, col);
    if (handle != kNilHandle && CellIsEditable(CellPtr(handle))) CellClearContents(handle);
  });
  RecalcRange(r);
  const std::string prefix(1, gCurrentDoc.settings.labelPrefix);
  bool entered = true;
  ForEachInColumnOrder(r, static_cast<int>(lines.size()), [&](int k, int row, int col) {
    std::string line = lines[static_cast<std::size_t>(k)];
    if (pad && k + 1 < static_cast<int>(lines.size())) line = PadLine(line, usable, width);
    entered = entered && EnterCell(prefix + line, row, col);
  });
  if (!entered) return command.Fail("");
  command.Done();
  return true;
}

void TJustifyDialog::Activate(const TRange& selection, const TColumnPixelsFn& columnPixels) {
  if (!reload) return;
  reload = false;
  saved = selection;
  rangeText = RangeToText(OrderedRange(selection));
  PresetWidth(selection, columnPixels);
}

void TJustifyDialog::PresetWidth(const TRange& range, const TColumnPixelsFn& columnPixels) {
  TRange r = OrderedRange(range);
  if (!RangeIsValid(r)) return;
  int pixels = 0;
  for (int col = r.firstCol; col <= r.lastCol; ++col) pixels += columnPixels(col);
  widthText = std::to_string(pixels / kJustifyWidthUnit);
}

void TJustifyDialog::SettleWidth() { SettleValueField(widthText); }

void TJustifyDialog::PromptDone(std::string_view text, const TColumnPixelsFn& columnPixels) {
  rangeText = std::string(text);
  TRange range;
  if (ParseRange(rangeText, range) && RangeIsValid(range)) PresetWidth(range, columnPixels);
  ClearErrorFlag();
}

bool TJustifyDialog::Apply(const TTextWidthFn& width) {
  TRange range;
  ClearErrorFlag();
  if (!ParseRange(rangeText, range)) return Refused(ErrorMessage().empty() ? "Invalid Range" : ErrorMessage());
  if (!RangeIsValid(range)) range = saved;
  SettleWidth();
  double units = std::atof(widthText.c_str());
  int pixels = units > 0 && units < 1e6 ? static_cast<int>(units) * kJustifyWidthUnit : 0;
  return JustifyRange(range, pixels, pad, width);
}

// ---- Word ----------------------------------------------------------------------

void TWordDialog::Activate(const TRange& currentSelection) {
  selection = OrderedRange(currentSelection);
  if (!RangeIsValid(selection)) {
    LoadCursorGlobals();
    selection = TRange{gCursorCell.col, gCursorCell.row, gCursorCell.col, gCursorCell.row};
  }
  lines.clear();
  for (int row = selection.firstRow; row <= selection.lastRow; ++row) {
    TCellHandle handle = CellFind(row, selection.firstCol);
    lines.push_back(handle == kNilHandle ? std::string() : CellContentsText(handle));
  }
}

int TWordDialog::Apply() const {
  int entered = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    int row = selection.firstRow + static_cast<int>(i);
    if (row > kMaxRow) break;
    if (EnterCell(lines[i], row, selection.firstCol)) ++entered;
    ClearErrorFlag();
  }
  MarkChangedAndRepaint();
  return entered;
}

}  // namespace corvane

// Commands of the quick bar and the style bar over the selection.
#include "spreadsheet/engine/TextRoutines.h"
#include "spreadsheet/windows/CellCommands.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "spreadsheet/engine/BlockCopy.h"
#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/CellStore.h"
#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/PoolString.h"
#include "spreadsheet/engine/RangeEdit.h"
#include "spreadsheet/engine/RangeText.h"
#include "spreadsheet/engine/Recalc.h"
#include "spreadsheet/engine/WindowServices.h"
#include "spreadsheet/data/DataSort.h"
#include "spreadsheet/graphs/GraphRecord.h"
#include "spreadsheet/graphs/NamedGraphs.h"
#include "spreadsheet/data/FillBinsParse.h"

namespace corvane {

namespace {

constexpr std::uint8_t kStyleIgnoredBit = 0x80;
constexpr std::uint8_t kStyleFontBits = 0x07;

// The label text of a cell without its prefix; false for a cell that is no
// label.
bool LabelBody(const TCell* cell, std::string& body) {
  if (!CellIsLabel(cell)) return false;
  std::string_view text = PoolStringView(cell->text);
  body = std::string(text.empty() ? text : text.substr(1));
  return true;
}

double CellNumber(const TCell* cell) {
  switch (CellKindOf(cell)) {
    case kKindInteger: return CellInteger(*cell);
    case kKindReal:
    case kKindNumberFormula: return CellReal(*cell);
    default: return 0;
  }
}

bool FillLetters(const TRange& r, int startColumn) {
  TCellCommand command;
  command.Begin();
  int n = startColumn;
  for (int row = r.firstRow; row <= r.lastRow; ++row) {
    for (int col = r.firstCol; col <= r.lastCol; ++col) {
      if (!EnterCell("'" + SeriesLetters(n++), row, col)) return command.Fail("");
    }
  }
  command.Done();
  return true;
}

// One dimension of Speed @SUM: the summed part of first..last with the
// cursor's line left out.
void LeaveOut(int& first, int& last, int cursor) {
  if (cursor == last) {
    --last;
  } else {
    first = std::max(first, cursor + 1);
  }
}

}  // namespace

const std::vector<int>& FontSizeSteps() {
  static const std::vector<int> sizes = {6, 8, 10, 12, 14, 18, 24, 32, 48, 72};
  return sizes;
}

std::string SeriesLetters(int n) {
  std::string letters;
  for (int k = std::max(n, 0) + 1; k > 0; k = (k - 1) / 26) letters.insert(letters.begin(), static_cast<char>('A' + (k - 1) % 26));
  return letters;
}

bool SpeedFill(const TRange& selection) {
  TRange r = OrderedRange(selection);
  if (!RangeIsValid(r)) return false;
  WindowServices().SetWaitCursor(true);
  const TCell* first = CellPtr(CellFind(r.firstRow, r.firstCol));
  std::string body;
  bool ok;
  if (LabelBody(first, body) && body.size() == 1 && std::isalpha(static_cast<unsigned char>(body[0]))) {
    ok = FillLetters(r, std::toupper(static_cast<unsigned char>(body[0])) - 'A');
  } else if (CellIsLabel(first) || CellIsFormula(first)) {
    TRange source;
    RangeSet(source, r.firstCol, r.firstRow, r.firstCol, r.firstRow);
    ok = CopyMoveRange(false, source, r);
  } else {
    // A series with step 1, along the rows of a selection at least as wide as
    // it is tall.
    bool alongRows = r.lastCol - r.firstCol >= r.lastRow - r.firstRow;
    ok = DataFill(r, kFillLinear, alongRows, 1, CellNumber(first));
  }
  WindowServices().SetWaitCursor(false);
  return ok;
}

std::string SpeedSumFormula(const TRange& selection, int cursorRow, int cursorCol) {
  TRange r = OrderedRange(selection);
  if (!RangeIsValid(r)) return "";
  int firstRow = r.firstRow, lastRow = r.lastRow, firstCol = r.firstCol, lastCol = r.lastCol;
  int height = lastRow - firstRow, width = lastCol - firstCol;
  if (height >= width) LeaveOut(firstRow, lastRow, cursorRow);
  if (width >= height) LeaveOut(firstCol, lastCol, cursorCol);
  if (firstRow > lastRow || firstCol > lastCol) return "";
  return "@sum(" + CellAddrText(firstRow, firstCol, false, false) + ".." + CellAddrText(lastRow, lastCol, false, false) +
         ")";
}

bool SpeedSum(const TRange& selection, int cursorRow, int cursorCol) {
  std::string formula = SpeedSumFormula(selection, cursorRow, cursorCol);
  if (formula.empty()) return false;
  if (!EnterCell(formula, cursorRow, cursorCol)) return false;
  MarkChangedAndRepaint();
  return true;
}

bool RangeSetStyleBit(const TRange& range, int bit, bool on) {
  auto mask = static_cast<std::uint8_t>(bit & kStyleFontBits);
  return RangeSetCells(range, [mask, on](TCell& cell) {
    std::uint8_t style = cell.style;
    if (style & kStyleIgnoredBit) style &= static_cast<std::uint8_t>(~(kStyleIgnoredBit | kStyleFontBits));
    cell.style = on ? (style | mask) : (style & static_cast<std::uint8_t>(~mask));
  });
}

bool RangeSetFontNumber(const TRange& range, int font) {
  auto value = static_cast<std::uint8_t>(std::clamp(font, 0, 255));
  return RangeSetCells(range, [value](TCell& cell) { cell.font = value; });
}

bool RangeSetFontSize(const TRange& range, int size) {
  auto value = static_cast<std::uint8_t>(std::clamp(size, 0, 255));
  return RangeSetCells(range, [value](TCell& cell) { cell.size = value; });
}

int StepFontSize(int size, int direction) {
  const std::vector<int>& sizes = FontSizeSteps();
  if (direction > 0) {
    for (int s : sizes)
      if (s > size) return s;
    return sizes.back();
  }
  for (auto it = sizes.rbegin(); it != sizes.rend(); ++it)
    if (*it < size) return *it;
  return sizes.front();
}

int FormatBoxCode(std::string_view entry) {
  std::size_t comma = entry.find(',');
  std::string_view code = entry.substr(0, comma);
  if (code.empty() || code.size() > 3) return -1;
  if (code.find_first_not_of("0123456789") != std::string_view::npos) {
    // A typed format code ("F2", "G") before its caption, as the settings'
    // format list holds them.
    return comma == std::string_view::npos ? -1 : FormatCodeToByte(code);
  }
  int value = 0;
  for (char c : code) value = value * 10 + (c - '0');
  return value <= 255 ? value : -1;
}

bool SortSelection(const TRange& selection, bool ascending) {
  TRange r = OrderedRange(selection);
  if (!RangeIsValid(r)) return false;
  TSheetSettings& settings = gCurrentDoc.settings;
  settings.savedRanges[kRangeSort] = r;
  RangeSet(settings.savedRanges[kRangePrimaryKey], r.firstCol, r.firstRow, r.firstCol, r.lastRow);
  gSortAscending[0] = ascending;
  bool sorted = DataSort();
  if (sorted) MarkChangedAndRepaint();
  return sorted;
}

int QuickGraph(const TRange& selection) {
  TRange r = OrderedRange(selection);
  if (!RangeIsValid(r)) return -1;
  TGraphRecord graph = CurrentGraph();
  TRange unset;
  graph.SetXRange(unset);
  for (int series = 1; series <= kGraphSeries; ++series) graph.SetSeriesRange(series, unset);
  int col = r.firstCol;
  if (r.lastCol > r.firstCol) {
    TRange x;
    RangeSet(x, col, r.firstRow, col, r.lastRow);
    graph.SetXRange(x);
    ++col;
  }
  for (int series = 1; series <= kGraphSeries && col <= r.lastCol; ++series, ++col) {
    TRange data;
    RangeSet(data, col, r.firstRow, col, r.lastRow);
    graph.SetSeriesRange(series, data);
  }
  SetCurrentGraph(graph);
  return GraphNewAuto();
}

bool ToggleProtection() {
  gCurrentDoc.settings.protection = gCurrentDoc.settings.protection != 0 ? 0 : 1;
  MarkChangedAndRepaint();
  return gCurrentDoc.settings.protection != 0;
}

}  // namespace corvane

// The lookup and database family: the table lookups VTABLE, HTABLE, VTERP and
// HTERP, two-way interpolation XYTERP, INDEX, COLS, ROWS, S, N, the cell
// attributes CELL and CELLPT, the selector CASE, the indirect reference "@",
// and the database functions QSUM..QSTD that aggregate the cells a criteria
// formula accepts.
//
// No function here reads a cell outside its range argument or outside the
// worksheet, and none creates a cell.
#include <string>
#include <string_view>
#include <vector>

#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/Evaluator.h"
#include "spreadsheet/engine/FormulaTables.h"
#include "spreadsheet/engine/FormulaText.h"
#include "spreadsheet/engine/NumberFormat.h"
#include "spreadsheet/engine/NumericLibrary.h"
#include "spreadsheet/engine/Operators.h"
#include "spreadsheet/engine/PoolString.h"
#include "spreadsheet/engine/RangeArguments.h"
#include "spreadsheet/engine/RangeFunctionFamilies.h"
#include "spreadsheet/engine/RangeText.h"
#include "spreadsheet/engine/TextCase.h"
#include "spreadsheet/engine/WindowServices.h"

namespace corvane {

namespace {

bool InSheet(int row, int col) { return row >= 0 && row <= kMaxRow && col >= 0 && col <= kMaxCol; }

// Leaves the value of `cell` (a number or a text, see PushCellValue) as the
// result of a function of `count` arguments; a missing cell gives 0 without
// error. The result carries the arguments' error marks.
void FinishWithCell(int count, const TCell* cell) {
  std::uint8_t marks = 0;
  for (int arg = 1; arg <= count; ++arg) marks |= ArgumentSlot(arg, count).error;
  for (int k = 1; k < count; ++k) Pop1();
  if (cell) {
    PushCellValue(cell);
  } else {
    SetSlotNumber(TopSlot(), 0);
  }
  TopSlot().error |= marks;
}

// ---- Table lookups ------------------------------------------------------------------

// Where a lookup's walk along the key line (the range's first column, or its
// first row) ended.
struct TLookupWalk {
  int match = 0;  // the matching entry's row (vertical) or column (horizontal)
  int stop = 0;   // the first key greater than the sought one, or one past the end
};

// Walks the key line from its first cell to the first cell holding a number
// greater than `key`. The vertical forms match the row just above that stop,
// the horizontal forms the column of the last number passed. False, with the
// calc error flag set, when no number was passed or a key cell holds ERR.
bool WalkKeyLine(const TRange& range, double key, bool vertical, TLookupWalk& walk) {
  const int first = vertical ? range.firstRow : range.firstCol;
  const int last = vertical ? range.lastRow : range.lastCol;
  bool passed = false, error = false;
  walk.stop = last + 1;
  for (int k = first; k <= last; ++k) {
    const TCell* cell = CellPtr(vertical ? CellFind(k, range.firstCol) : CellFind(range.firstRow, k));
    if (!CellIsNumeric(cell)) continue;
    if (CellNumber(cell, error) > key) {
      walk.stop = k;
      break;
    }
    passed = true;
    if (!vertical) walk.match = k;
  }
  if (vertical) walk.match = walk.stop - 1;
  if (!passed || error) {
    SetCalcError();
    return false;
  }
  return true;
}

// The result line's position: first column plus offset (vertical) or first
// row plus offset (horizontal). False, with the calc error flag set, when the
// offset leads outside the range.
bool ResultLine(const TRange& range, int offset, bool vertical, int& line) {
  line = (vertical ? range.firstCol : range.firstRow) + offset;
  if (offset >= 0 && line <= (vertical ? range.lastCol : range.lastRow)) return true;
  SetCalcError();
  return false;
}

// Tokens 85 and 90, VTABLE and HTABLE(key, range, offset): the value (number or
// text) of the matching entry's cell on the result line.
template <bool kVertical>
void TableLookup() {
  TRange range;
  TLookupWalk walk;
  int line = 0;
  if (!ArgumentRange(2, 3, CurrentTokenPosition(), range) ||
      !ResultLine(range, TruncToInt32(ArgumentSlot(3, 3).value), kVertical, line) ||
      !WalkKeyLine(range, ArgumentSlot(1, 3).value, kVertical, walk))
    return FinishNumber(3, 0);
  const TCellHandle cell = kVertical ? CellFind(walk.match, line) : CellFind(line, walk.match);
  FinishWithCell(3, CellPtr(cell));
}

// Tokens 124 and 125, HTERP and VTERP(key, range, offset): linear interpolation
// between the matching entry's result y1 (key k1) and the next entry's y2 (the
// entry where the walk stopped, key k2). Without a next entry's result cell the
// key must equal k1, and y1 is the result. In a key row with labels between
// the numbers, y2 is taken under k2 too, not from the column right after the
// match, which has no key of its own and would bend the line.
template <bool kVertical>
void InterpolatingLookup() {
  TRange range;
  TLookupWalk walk;
  int line = 0;
  const double key = ArgumentSlot(1, 3).value;
  if (!ArgumentRange(2, 3, CurrentTokenPosition(), range) ||
      !ResultLine(range, TruncToInt32(ArgumentSlot(3, 3).value), kVertical, line) ||
      !WalkKeyLine(range, key, kVertical, walk))
    return FinishNumber(3, 0);
  auto keyCell = [&](int k) { return CellPtr(kVertical ? CellFind(k, range.firstCol) : CellFind(range.firstRow, k)); };
  auto resultCell = [&](int k) { return CellPtr(kVertical ? CellFind(k, line) : CellFind(line, k)); };
  const int last = kVertical ? range.lastRow : range.lastCol;
  bool error = false;
  const double k1 = CellNumber(keyCell(walk.match), error);
  const double y1 = CellNumber(resultCell(walk.match), error);
  const TCell* next = walk.stop <= last ? resultCell(walk.stop) : nullptr;
  double value = y1;
  if (!next) {
    if (key != k1) error = true;
  } else {
    const double k2 = CellNumber(keyCell(walk.stop), error);
    const double y2 = CellNumber(next, error);
    value = y1 + SafeDivision(key - k1, k2 - k1) * (y2 - y1);
  }
  if (error) SetCalcError();
  FinishNumber(3, value);
}

// Token 183, XYTERP(range, x, y): two-way interpolation in a table whose first
// row holds the x headings and first column the y headings.
void FnXyTerp() {
  TRange range;
  if (!ArgumentRange(1, 3, CurrentTokenPosition(), range)) return FinishNumber(3, 1);
  const TRangeBlock table = RangeBlock(range);
  numeric::TCalcStatus status;
  const double value = numeric::XyTerp(table.Matrix(), ArgumentSlot(2, 3).value, ArgumentSlot(3, 3).value, status);
  FinishNumber(3, value, status);
}

// ---- Cells of a range -----------------------------------------------------------------

// Token 98, INDEX(range, column, row): the value of the cell `column` - 1
// columns and `row` - 1 rows from the range's first corner; a missing cell
// gives 0. A position outside the range is an error: the formula depends only
// on its range, so a cell outside it would never be recalculated.
void FnIndex() {
  TRange range;
  if (!ArgumentRange(1, 3, CurrentTokenPosition(), range)) return FinishNumber(3, 0);
  const int col = TruncToInt32(ArgumentSlot(2, 3).value);
  const int row = TruncToInt32(ArgumentSlot(3, 3).value);
  if (col < 1 || row < 1 || col > RangeCols(range) || row > RangeRows(range)) {
    SetCalcError();
    return FinishNumber(3, 0);
  }
  FinishWithCell(3, CellPtr(CellFind(range.firstRow + row - 1, range.firstCol + col - 1)));
}

// Tokens 99 and 100, COLS and ROWS(range): the range's number of columns or rows.
template <bool kColumns>
void RangeSize() {
  TRange range;
  if (!ArgumentRange(1, 1, CurrentTokenPosition(), range)) return FinishNumber(1, 0);
  FinishNumber(1, kColumns ? RangeCols(range) : RangeRows(range), false);
}

// The text of a label (without its prefix) or of a text formula; false for
// other cells.
bool CellTextValue(const TCell* cell, std::string& text) {
  if (CellKindOf(cell) == kKindLabel) {
    std::string_view label = PoolStringView(cell->text);
    text.assign(label.empty() ? label : label.substr(1));
    return true;
  }
  if (CellKindOf(cell) == kKindStringFormula) {
    text.assign(PoolStringView(CellResultText(*cell)));
    return true;
  }
  return false;
}

// Token 111, S(range): the first cell's text, "" when it holds none.
void FnS() {
  TRange range;
  if (!ArgumentRange(1, 1, CurrentTokenPosition(), range)) return FinishNumber(1, 0);
  const TCell* cell = CellPtr(CellFind(range.firstRow, range.firstCol));
  if (cell && (cell->kind & kKindErrorBit)) SetCalcError();
  std::string text;
  CellTextValue(cell, text);
  FinishText(1, text, false);
}

// Token 112, N(range): the first cell's number, 0 when it holds text.
void FnN() {
  TRange range;
  if (!ArgumentRange(1, 1, CurrentTokenPosition(), range)) return FinishNumber(1, 0);
  FinishNumber(1, CellNumber(CellPtr(CellFind(range.firstRow, range.firstCol))), false);
}

// ---- Cell attributes ------------------------------------------------------------------

// The three-letter attribute codes, in the order of TCellAttribute.
constexpr std::string_view kAttributeCodes = "ADDROWCOLCONTYPPREWIDFOR";
enum TCellAttribute {
  kAttrAddress,
  kAttrRow,
  kAttrColumn,
  kAttrContents,
  kAttrType,
  kAttrPrefix,
  kAttrWidth,
  kAttrFormat,
};

// The attribute a kind text names by its first three letters (any case), or -1.
// Only whole codes match: "DRO" or "OWC", which straddle two codes, do not.
int FindCellAttribute(std::string_view kind) {
  if (kind.size() < 3) return -1;
  const std::string code = UpperCaseText(kind.substr(0, 3));
  for (std::size_t at = 0; at + 3 <= kAttributeCodes.size(); at += 3)
    if (kAttributeCodes.substr(at, 3) == code) return static_cast<int>(at / 3);
  return -1;
}

// Leaves attribute `which` of the cell at (row, col) as the result of a
// function of `count` arguments whose first is the kind text.
void FinishWithAttribute(int count, int which, int row, int col) {
  const TCellHandle handle = CellFind(row, col);
  const TCell* cell = CellPtr(handle);
  switch (which) {
    case kAttrAddress: return FinishText(count, CellAddrText(row, col, false, false));
    case kAttrRow: return FinishNumber(count, row + 1);
    case kAttrColumn: return FinishNumber(count, col + 1);
    case kAttrContents: return FinishText(count, CellContentsText(handle));
    case kAttrType: return FinishNumber(count, cell ? CellKind(*cell) : 6);
    case kAttrPrefix: return FinishText(count, CellContentsText(handle).substr(0, 1));
    case kAttrWidth: return FinishNumber(count, WindowServices().ColumnWidthChars(col));
    case kAttrFormat: return FinishText(count, FormatLetterText(cell ? cell->format : kDefaultCellTemplate.format));
    default: break;
  }
}

// Token 108, CELL(kind, range): the attribute `kind` names of the range's first
// cell: "ADD" its address, "ROW" and "COL" its row and column from 1, "CON"
// its contents text, "TYP" its kind (6 for a missing cell), "PRE" the first
// character of its contents, "WID" its column's width, "FOR" its format code.
// An unknown kind leaves the kind text as the result.
void FnCell() {
  TRange range;
  if (!ArgumentRange(2, 2, CurrentTokenPosition(), range)) return FinishNumber(2, 0);
  const int which = FindCellAttribute(SlotText(ArgumentSlot(1, 2)));
  if (which < 0) return Pop1();
  FinishWithAttribute(2, which, range.firstRow, range.firstCol);
}

// Token 79, CELLPT(kind): the same attribute of the active grid's cursor cell.
void FnCellPt() {
  const int which = FindCellAttribute(SlotText(TopSlot()));
  if (which < 0) return;
  std::int16_t row = 0, col = 0;
  WindowServices().GetCursorCell(row, col);
  if (!InSheet(row, col)) {
    SetCalcError();
    return FinishNumber(1, 0);
  }
  FinishWithAttribute(1, which, row, col);
}

// ---- Selection and indirection ----------------------------------------------------------

// Token 48, CASE(n, v1, v2, ...): the n-th value after the selector (n
// truncated, from 1), keeping its type; n outside them is an error. The result
// carries the chosen value's and the selector's error marks.
void FnCase() {
  const int count = gEval.code[gEval.index++];
  if (count == 0) {
    if (PushSlot()) SetSlotErr();
    return;
  }
  const int chosen = TruncToInt32(ArgumentSlot(1, count).value);
  if (chosen < 1 || chosen > count - 1) {
    SetCalcError();
    return FinishNumber(count, 0);
  }
  FinishWithArgument(count, chosen + 1, ArgumentSlot(chosen + 1, count).error | ArgumentSlot(1, count).error);
}

// Token 115, "@"(text): the value of the cell whose address the text spells
// (any case); a text that is no address is an error, as is a cell that does
// not exist.
void FnIndirect() {
  int row = 0, col = 0;
  bool absCol = false, absRow = false;
  const std::uint8_t marks = TopSlot().error;
  if (!ParseCellAddr(UpperCaseText(SlotText(TopSlot())), row, col, absCol, absRow)) {
    SetCalcError();
    return FinishNumber(1, 0);
  }
  PushCellValue(CellPtr(CellFind(row, col)));
  TopSlot().error |= marks;
}

// ---- Database functions -------------------------------------------------------------------

// Tokens 91-97, QSUM..QSTD(criteria, range, offset): every existing cell of
// the range is offered to the criteria formula with X set to its number; for
// each cell the formula accepts (a result other than 0), the number in its row
// `offset` columns to the right (0 when that cell is missing) is aggregated
// as in the list functions. A criteria text that does not compile, an error in
// the criteria, or a cell holding ERR makes the result an error.
template <TListAggregate kAggregate>
void DatabaseFunction() {
  TRange range;
  std::string code;
  if (!ArgumentRange(2, 3, CurrentTokenPosition(), range) || !CompileArgumentFormula(ArgumentSlot(1, 3), code))
    return FinishNumber(3, 0);
  const int offset = TruncToInt32(ArgumentSlot(3, 3).value);
  // The cells are listed first: the criteria formula may change the sheet.
  struct TCandidate {
    int row, col;
    double x;
  };
  std::vector<TCandidate> candidates;
  bool error = false;
  ForEachCellInRange(range, [&](TCellHandle handle) {
    const TCell* cell = CellPtr(handle);
    candidates.push_back({cell->row, cell->column, CellNumber(cell, error)});
  });
  std::vector<double> values;
  {
    TIterationScope scope;
    for (const TCandidate& candidate : candidates) {
      if (error) break;
      scope.Set(candidate.x);
      double accepted = 0.0;
      if (!EvaluateIterationFormula(code, accepted)) {
        error = true;
        break;
      }
      if (accepted == 0.0) continue;
      const int col = candidate.col + offset;
      if (!InSheet(candidate.row, col)) {
        error = true;
        break;
      }
      values.push_back(CellNumber(CellPtr(CellFind(candidate.row, col)), error));
    }
  }
  const double result = AggregateList(kAggregate, values);
  if (error) SetCalcError();
  FinishNumber(3, result);
}

constexpr THandlerEntry kLookupHandlers[] = {
    {kTokCase, FnCase},                                     {kTokCellPt, FnCellPt},
    {kTokVTable, TableLookup<true>},                        {kTokHTable, TableLookup<false>},
    {kTokQSum, DatabaseFunction<TListAggregate::kSum>},     {kTokQAvg, DatabaseFunction<TListAggregate::kAvg>},
    {kTokQCount, DatabaseFunction<TListAggregate::kCount>}, {kTokQMin, DatabaseFunction<TListAggregate::kMin>},
    {kTokQMax, DatabaseFunction<TListAggregate::kMax>},     {kTokQVar, DatabaseFunction<TListAggregate::kVar>},
    {kTokQStd, DatabaseFunction<TListAggregate::kStd>},     {kTokIndex, FnIndex},
    {kTokCols, RangeSize<true>},                            {kTokRows, RangeSize<false>},
    {kTokCellInfo, FnCell},                                 {kTokS, FnS},
    {kTokN, FnN},                                           {kTokIndirect, FnIndirect},
    {kTokHTerp, InterpolatingLookup<false>},                {kTokVTerp, InterpolatingLookup<true>},
    {kTokXyTerp, FnXyTerp},
};

}  // namespace

void RegisterLookupHandlers() { RegisterTokenHandlers(kLookupHandlers); }

}  // namespace corvane

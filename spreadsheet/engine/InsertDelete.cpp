// Row and column insertion and deletion, and the stored ranges that follow.
#include "spreadsheet/engine/InsertDelete.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/Evaluator.h"
#include "spreadsheet/engine/RangeEdit.h"
#include "spreadsheet/engine/RangeNames.h"
#include "spreadsheet/engine/RangeText.h"
#include "spreadsheet/engine/Recalc.h"
#include "spreadsheet/engine/ShowError.h"
#include "spreadsheet/engine/WindowServices.h"

namespace corvane {

namespace {

std::vector<TKeptRangesVisitor> gKeptRangesVisitors;

// One run of lines to shift: `count` lines from `first`, moving within
// first..last (the end of the sheet band for rows, column IV for columns).
struct TLineShift {
  int first;
  int count;
  int last;
};

// What a row or column shift needs to know about its axis.
struct TAxis {
  bool columns;
};
constexpr TAxis kRowAxis{false};
constexpr TAxis kColumnAxis{true};

// The ranges of the lines a..b of an axis across the whole sheet.
TRange LinesRange(const TAxis& axis, int a, int b) {
  TRange range;
  if (axis.columns) RangeSet(range, a, 0, b, kMaxRow);
  else RangeSet(range, 0, a, kMaxCol, b);
  return range;
}

// The highest row of first..last that holds a cell, or first - 1.
int LastUsedRow(int first, int last) {
  for (int row = last; row >= first; --row)
    if (RowListHead(row) != kNilHandle) return row;
  return first - 1;
}

// The highest column that holds a cell in any row, or -1.
int LastUsedColumn() {
  int last = -1;
  TRange sheet;
  RangeSet(sheet, 0, 0, kMaxCol, kMaxRow);
  ForEachCellInRange(sheet, [&](TCellHandle, const TCell& cell) { last = std::max<int>(last, cell.column); });
  return last;
}

// Splits rows first..last into runs that each lie in one sheet band.
std::vector<TLineShift> RowRunsBySheet(int first, int last) {
  std::vector<TLineShift> runs;
  int perSheet = RowsPerSheet();
  for (int row = first; row <= last;) {
    int bandEnd = std::min(kMaxRow, (row / perSheet + 1) * perSheet - 1);
    int runEnd = std::min(last, bandEnd);
    runs.push_back({row, runEnd - row + 1, bandEnd});
    row = runEnd + 1;
  }
  return runs;
}

// Deletes every cell of the lines: formulas that referred to one show ERR.
void DeleteLineCells(const TAxis& axis, const TLineShift& run) {
  UnlinkRange(LinesRange(axis, run.first, run.first + run.count - 1));
  int lastRow = axis.columns ? gCurrentDoc.highRow : run.first + run.count - 1;
  for (int row = axis.columns ? 0 : run.first; row <= std::min(lastRow, kMaxRow); ++row) {
    int firstCol = axis.columns ? run.first : 0;
    int lastCol = axis.columns ? run.first + run.count - 1 : kMaxCol;
    for (;;) {
      TCellHandle cell = CellFindRowPos(row, firstCol);
      if (cell == kNilHandle || CellPtr(cell)->column > lastCol) break;
      CellDropDependents(cell);
      CellDelete(cell);
    }
  }
}

// Moves the cells of the lines run.first.. (insert) or run.first + count..
// (delete) by +count or -count.
void MoveLineCells(const TAxis& axis, const TLineShift& run, bool insert) {
  int delta = insert ? run.count : -run.count;
  if (axis.columns) {
    for (int row = 0; row <= std::min<int>(gCurrentDoc.highRow, kMaxRow); ++row)
      CellRowShiftColumns(row, insert ? run.first : run.first + run.count, delta);
    return;
  }
  int lastUsed = LastUsedRow(run.first, run.last);
  if (insert) {
    for (int row = lastUsed; row >= run.first; --row) CellRowMove(row, row + delta);
  } else {
    for (int row = run.first + run.count; row <= lastUsed; ++row) CellRowMove(row, row + delta);
  }
}

// Shifts the size entries of first..last by the run's count; the lines that
// open up take the default size.
void ShiftSizes(const TAxis& axis, const TLineShift& run, bool insert) {
  TWindowServices& windows = WindowServices();
  TSheetViewState view;
  if (!windows.GetSheetView(view)) return;
  std::span<std::uint16_t> sizes = SizeTable(view.sizes, axis.columns);
  if (insert) {
    for (int i = run.last; i >= run.first + run.count; --i) sizes[i] = sizes[i - run.count];
    for (int i = run.first; i < std::min(run.first + run.count, run.last + 1); ++i) sizes[i] = kDefaultSizeEntry;
  } else {
    for (int i = run.first; i + run.count <= run.last; ++i) sizes[i] = sizes[i + run.count];
    for (int i = std::max(run.first, run.last - run.count + 1); i <= run.last; ++i) sizes[i] = kDefaultSizeEntry;
  }
  windows.SetSheetView(view, kViewSizes);
}

// After an insert: the formulas that refer to a cell of the line now at
// first + count span the new lines, and are linked again to take in the cells
// there. False when the pool ran out.
bool RelinkAcrossInsert(const TAxis& axis, const TLineShift& run) {
  std::vector<TCellHandle> formulas;
  int line = run.first + run.count;
  if (line > run.last) return true;
  ForEachCellInRange(LinesRange(axis, line, line), [&](TCellHandle cell) {
    for (TPoolHandle link = CellPtr(cell)->dependents; link != kNilHandle;) {
      const auto* node = reinterpret_cast<const TDepLink*>(PoolBlock(link));
      formulas.push_back(node->cell);
      link = node->next;
    }
  });
  std::sort(formulas.begin(), formulas.end());
  formulas.erase(std::unique(formulas.begin(), formulas.end()), formulas.end());
  for (TCellHandle formula : formulas)
    if (!FormulaLinkDeps(formula, true)) return false;
  return true;
}

// The extent's row or column after the run moved.
void AdjustExtent(const TAxis& axis, const TLineShift& run, bool insert) {
  std::int16_t& high = axis.columns ? gCurrentDoc.highCol : gCurrentDoc.highRow;
  if (high < run.first || high > run.last) return;
  int moved = insert ? std::min<int>(high + run.count, run.last) : std::max(high - run.count, run.first);
  high = static_cast<std::int16_t>(std::max(moved, 0));
}

// The stored ranges of a shifted run: corners in the run's lines (which end
// with its sheet band) shift; a range with a corner in deleted lines is
// cleared.
void StoredRangesFollow(const TAxis& axis, const TLineShift& run, bool insert) {
  int delta = insert ? run.count : -run.count;
  ForEachStoredRange([&](TRange& range) {
    std::int16_t* corners[2] = {axis.columns ? &range.firstCol : &range.firstRow,
                                axis.columns ? &range.lastCol : &range.lastRow};
    for (std::int16_t* corner : corners) {
      if (!insert && *corner >= run.first && *corner < run.first + run.count) {
        RangeClear(range);
        return;
      }
    }
    for (std::int16_t* corner : corners) {
      if (*corner < run.first || *corner > run.last) continue;
      *corner = static_cast<std::int16_t>(std::min(*corner + delta, run.last));
    }
  });
}

bool ShiftRun(const TAxis& axis, const TLineShift& run, bool insert) {
  if (!insert) DeleteLineCells(axis, run);
  MoveLineCells(axis, run, insert);
  ShiftSizes(axis, run, insert);
  AdjustExtent(axis, run, insert);
  StoredRangesFollow(axis, run, insert);
  if (insert && !RelinkAcrossInsert(axis, run)) return false;
  RecalcRange(LinesRange(axis, run.first, run.last));
  return true;
}

}  // namespace

void ForEachStoredRange(const std::function<void(TRange&)>& adjust) {
  auto ifSet = [&](TRange& range) {
    if (RangeIsValid(range)) adjust(range);
  };
  for (TRange& range : gCurrentDoc.settings.savedRanges) ifSet(range);
  for (TRange& range : gCurrentDoc.settings.dataRanges) ifSet(range);
  for (int index = 1; index <= RangeNameCount(); ++index) {
    auto* entry = const_cast<TRangeName*>(RangeNameAt(index));
    TRange range = RangeNameRange(*entry);
    ifSet(range);
    std::memcpy(entry->rangeBytes, &range, sizeof range);
  }
  for (TKeptRangesVisitor visitor : gKeptRangesVisitors) visitor(ifSet);
}

void SetKeptRangesVisitor(TKeptRangesVisitor visitor) {
  gKeptRangesVisitors.clear();
  if (visitor) gKeptRangesVisitors.push_back(visitor);
}

void AddKeptRangesVisitor(TKeptRangesVisitor visitor) {
  if (visitor && std::find(gKeptRangesVisitors.begin(), gKeptRangesVisitors.end(), visitor) == gKeptRangesVisitors.end())
    gKeptRangesVisitors.push_back(visitor);
}

void RangesFollowMove(const TRange& region, int rowOffset, int colOffset) {
  TRange r = OrderedRange(region);
  auto inside = [&](int row, int col) {
    return row >= r.firstRow && row <= r.lastRow && col >= r.firstCol && col <= r.lastCol;
  };
  ForEachStoredRange([&](TRange& range) {
    bool firstIn = inside(range.firstRow, range.firstCol);
    bool lastIn = inside(range.lastRow, range.lastCol);
    if (firstIn) {
      range.firstRow = static_cast<std::int16_t>(range.firstRow + rowOffset);
      range.firstCol = static_cast<std::int16_t>(range.firstCol + colOffset);
    }
    if (lastIn) {
      range.lastRow = static_cast<std::int16_t>(range.lastRow + rowOffset);
      range.lastCol = static_cast<std::int16_t>(range.lastCol + colOffset);
    }
  });
}

bool InsertDeleteLines(const TRange& range, int what, bool insert) {
  TRange r = OrderedRange(range);
  if (!RangeIsValid(r) || !HaveCurrentDocument()) return false;
  bool columns = what == kLinesColumns;
  const TAxis& axis = columns ? kColumnAxis : kRowAxis;
  std::vector<TLineShift> runs;
  if (columns) {
    runs.push_back({std::max<int>(r.firstCol, 0), r.lastCol - std::max<int>(r.firstCol, 0) + 1, kMaxCol});
  } else {
    runs = RowRunsBySheet(std::max<int>(r.firstRow, 0), std::min<int>(r.lastRow, kMaxRow));
  }
  if (runs.empty() || runs.front().count <= 0) return false;
  // An insert that would push cells past the end is refused before anything changes.
  for (const TLineShift& run : runs) {
    int lastUsed = columns ? LastUsedColumn() : LastUsedRow(run.first, run.last);
    if (insert && lastUsed >= run.first && lastUsed + run.count > run.last) {
      const char* text = columns ? kCellsInLastColumnText : kCellsInBottomRowText;
      SetErrorFlag(text);
      ShowError(text);
      return false;
    }
  }
  TWindowServices& windows = WindowServices();
  windows.SetWaitCursor(true);
  TCellCommand command;
  command.Begin();
  bool ok = true;
  // The lowest band first, so the rows of the runs above stay where they are.
  for (auto run = runs.rbegin(); ok && run != runs.rend(); ++run) ok = ShiftRun(axis, *run, insert);
  windows.SetWaitCursor(false);
  if (!ok) return command.Fail(kOutOfMemoryText);
  if (insert && what == kLinesRowsWithPageBreak) {
    std::int16_t row = 0, col = 0;
    windows.GetCursorCell(row, col);
    EnterCell("|::", row, col);
  }
  command.Done();
  return true;
}

}  // namespace corvane

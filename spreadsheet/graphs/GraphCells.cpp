// Cell reading for graphs: numbers, label texts, range statistics and the
// X-range walk.
#include "spreadsheet/graphs/GraphCells.h"

#include <algorithm>

#include "spreadsheet/engine/NumberFormat.h"
#include "spreadsheet/engine/PoolString.h"
#include "spreadsheet/engine/RangeArguments.h"

namespace corvane {
namespace {

constexpr std::size_t kMaxLabelChars = 80;

// The part of a range (corners ordered) that lies on the sheet; false when
// none does.
bool RangeOnSheet(const TRange& range, TRange& out) {
  if (!RangeIsValid(range)) return false;
  out = GraphOrderedRange(range);
  out.firstRow = static_cast<std::int16_t>(std::max<int>(out.firstRow, 0));
  out.firstCol = static_cast<std::int16_t>(std::max<int>(out.firstCol, 0));
  out.lastRow = static_cast<std::int16_t>(std::min<int>(out.lastRow, kMaxRow));
  out.lastCol = static_cast<std::int16_t>(std::min<int>(out.lastCol, kMaxCol));
  return out.firstRow <= out.lastRow && out.firstCol <= out.lastCol;
}

// Reads the cells of one row in rising column order: At(col) gives the cell at
// that column, for columns that never decrease between calls.
class TRowReader {
 public:
  TRowReader(int row, int firstCol) : cell_(CellPtr(CellFindRowPos(row, firstCol))) {}
  const TCell* At(int col) {
    while (cell_ && cell_->column < col) cell_ = CellPtr(cell_->next);
    return cell_ && cell_->column == col ? cell_ : nullptr;
  }

 private:
  const TCell* cell_;
};

}  // namespace

bool GraphCellEmpty(const TCell* cell) { return cell == nullptr || CellKind(*cell) == kKindBlank; }

std::string GraphTrim(std::string_view text) {
  std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return "";
  return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

bool GraphCellNumber(const TCell* cell, double& value) {
  if (!CellIsNumeric(cell) || (cell->kind & kKindErrorBit)) return false;
  value = CellNumber(cell);
  return true;
}

std::string GraphCellText(const TCell* cell) {
  std::string text;
  if (cell == nullptr) return text;
  if (cell->kind & kKindErrorBit) {
    text = "ERR";
  } else if (CellIsNumeric(cell)) {
    text = GraphTrim(FormatValue(7, cell->format & 0x7F, CellNumber(cell)));
  } else if (CellKind(*cell) == kKindLabel || CellKind(*cell) == kKindPicture) {
    std::string_view label = PoolStringView(cell->text);
    if (!label.empty()) text = label.substr(1);
  } else if (CellKind(*cell) == kKindStringFormula) {
    text = PoolStringView(CellResultText(*cell));
  }
  if (text.size() > kMaxLabelChars) text.resize(kMaxLabelChars);
  return text;
}

TRange GraphOrderedRange(const TRange& range) {
  TRange r = range;
  OrderPair(r.firstRow, r.lastRow);
  OrderPair(r.firstCol, r.lastCol);
  return r;
}

int GraphRangeCells(const TRange& range) {
  TRange r;
  if (!RangeOnSheet(range, r)) return 0;
  return (r.lastRow - r.firstRow + 1) * (r.lastCol - r.firstCol + 1);
}

TGraphRangeStats GraphRangeStatistics(const TRange& range) {
  TGraphRangeStats stats;
  TRange r;
  if (!RangeOnSheet(range, r)) return stats;
  ForEachCellInRange(r, [&](TCellHandle, const TCell& cell) {
    double x;
    if (!GraphCellNumber(&cell, x)) return;
    if (stats.count == 0 || x > stats.max) stats.max = x;
    if (stats.count == 0 || x < stats.min) stats.min = x;
    stats.sum += x;
    ++stats.count;
  });
  return stats;
}

void ForEachGraphCellPair(const TRange& xRange, const TRange& series, const TRange& labels,
                          const std::function<void(const TGraphCellPair&)>& visit) {
  TRange x;
  if (!RangeOnSheet(xRange, x)) return;
  TRange s, l;
  bool haveSeries = RangeIsValid(series), haveLabels = RangeIsValid(labels);
  if (haveSeries) s = GraphOrderedRange(series);
  if (haveLabels) l = GraphOrderedRange(labels);
  int cols = x.lastCol - x.firstCol + 1;
  int rows = x.lastRow - x.firstRow + 1;
  auto inside = [](const TRange& r, int row, int col) {
    return row >= r.firstRow && row <= r.lastRow && col >= r.firstCol && col <= r.lastCol && row >= 0 &&
           row <= kMaxRow && col >= 0 && col <= kMaxCol;
  };
  TGraphCellPair pair;
  for (int i = 0; i < rows; ++i) {
    TRowReader xRow(x.firstRow + i, x.firstCol);
    TRowReader sRow(haveSeries ? s.firstRow + i : -1, haveSeries ? s.firstCol : 0);
    TRowReader lRow(haveLabels ? l.firstRow + i : -1, haveLabels ? l.firstCol : 0);
    for (int j = 0; j < cols; ++j) {
      pair.index = i * cols + j + 1;
      pair.rowOffset = i;
      pair.colOffset = j;
      pair.xCell = xRow.At(x.firstCol + j);
      pair.inSeries = haveSeries && inside(s, s.firstRow + i, s.firstCol + j);
      pair.seriesCell = pair.inSeries ? sRow.At(s.firstCol + j) : nullptr;
      pair.inLabels = haveLabels && inside(l, l.firstRow + i, l.firstCol + j);
      pair.labelCell = pair.inLabels ? lRow.At(l.firstCol + j) : nullptr;
      pair.lastInRow = j == cols - 1;
      pair.lastCell = pair.lastInRow && i == rows - 1;
      visit(pair);
    }
  }
}

}  // namespace corvane

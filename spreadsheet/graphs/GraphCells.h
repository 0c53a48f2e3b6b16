// What graphs read from the worksheet: the numbers and texts of cells, the
// statistics of a range, and the walk that pairs the cells of the X range with
// the cells of a series range and of its label range. Reads the current
// document's cell store; changes nothing.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "spreadsheet/engine/CellStore.h"
#include "spreadsheet/engine/Range.h"

namespace corvane {

// The number a cell holds when it is a numeric cell or a numeric formula
// without ERR; false for missing, blank, text and error cells.
bool GraphCellNumber(const TCell* cell, double& value);

// True for a missing cell and a blank one: an empty X cell breaks a line.
bool GraphCellEmpty(const TCell* cell);

// The text without its leading and trailing spaces.
std::string GraphTrim(std::string_view text);

// The text a cell shows as a category or data label: a number in its own cell
// format (width 7, spaces trimmed), a label without its alignment prefix, a
// formula's text result; at most 80 characters; empty for a missing or blank
// cell.
std::string GraphCellText(const TCell* cell);

// Count, sum, maximum and minimum of the numeric cells of a range (corners in
// any order); all zero for a range without numbers.
struct TGraphRangeStats {
  int count = 0;
  double sum = 0, max = 0, min = 0;
};
TGraphRangeStats GraphRangeStatistics(const TRange& range);

// The range with its corners ordered.
TRange GraphOrderedRange(const TRange& range);
// Number of cells of a valid range (rows times columns); 0 for an invalid one.
int GraphRangeCells(const TRange& range);

// One step of a series walk: cell `index` (1-based) of the X range, read row by
// row with the column varying fastest, and the cells at the same row and column
// offset in the series range and the label range.
struct TGraphCellPair {
  int index = 0;
  int rowOffset = 0, colOffset = 0;  // within the X range
  const TCell* xCell = nullptr;
  bool inSeries = false;  // the offset lies inside the series range
  const TCell* seriesCell = nullptr;
  bool inLabels = false;  // the offset lies inside a valid label range
  const TCell* labelCell = nullptr;
  bool lastInRow = false;   // last cell of its row of the X range
  bool lastCell = false;    // last cell of the X range
};

// Walks every cell position of `xRange` (even where no cell exists), pairing
// it with `series` and `labels` (either may be invalid: then nothing lies
// inside it). Nothing is walked for an invalid X range.
void ForEachGraphCellPair(const TRange& xRange, const TRange& series, const TRange& labels,
                          const std::function<void(const TGraphCellPair&)>& visit);

}  // namespace corvane

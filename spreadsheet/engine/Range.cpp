// The range record's operations.
#include "spreadsheet/engine/Range.h"

#include <utility>

namespace corvane {

void RangeSet(TRange& range, int c1, int r1, int c2, int r2) {
  range.firstCol = static_cast<std::int16_t>(c1);
  range.firstRow = static_cast<std::int16_t>(r1);
  range.lastCol = static_cast<std::int16_t>(c2);
  range.lastRow = static_cast<std::int16_t>(r2);
}

void RangeClear(TRange& range) { range = TRange{}; }

bool RangeIsValid(const TRange& range) { return range.firstCol != -1; }

bool RangeIsMulti(const TRange& range) {
  return RangeIsValid(range) && (range.firstCol != range.lastCol || range.firstRow != range.lastRow);
}

void RangeCollapse(TRange& range) {
  range.lastCol = range.firstCol;
  range.lastRow = range.firstRow;
}

void OrderPair(std::int16_t& low, std::int16_t& high) {
  if (low > high) std::swap(low, high);
}

}  // namespace corvane

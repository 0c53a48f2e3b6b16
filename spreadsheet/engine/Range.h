// The range record: four signed 16-bit words naming a rectangle of cells, and
// the small operations on it. A range is valid when its first column is not -1;
// an unset range has first column -1 and the other words 0. Operations that take
// a range put its corners in order first (OrderPair); the record itself keeps
// whatever order it was given.
#pragma once

#include <cstdint>

namespace corvane {

struct TRange {
  std::int16_t firstCol = -1;
  std::int16_t firstRow = 0;
  std::int16_t lastCol = 0;
  std::int16_t lastRow = 0;

  friend bool operator==(const TRange&, const TRange&) = default;
};
static_assert(sizeof(TRange) == 8, "a range is four 16-bit words");

// Sets the four words as given (columns and rows are not checked or ordered).
void RangeSet(TRange& range, int c1, int r1, int c2, int r2);
// Makes the range unset: first column -1, the rest 0.
void RangeClear(TRange& range);
// True when the first column is not -1.
bool RangeIsValid(const TRange& range);
// True for a valid range of more than one cell.
bool RangeIsMulti(const TRange& range);
// Makes the range the single cell at its first corner.
void RangeCollapse(TRange& range);
// Swaps the two values when the first is the greater, so low <= high after.
void OrderPair(std::int16_t& low, std::int16_t& high);
// The rows and columns of a range whose corners are in order.
inline int RangeRows(const TRange& r) { return r.lastRow - r.firstRow + 1; }
inline int RangeCols(const TRange& r) { return r.lastCol - r.firstCol + 1; }

}  // namespace corvane

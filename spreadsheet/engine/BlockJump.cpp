// End+arrow over the current document's cells.
#include "spreadsheet/engine/BlockJump.h"

#include <algorithm>

#include "spreadsheet/engine/CellStore.h"
#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/WindowServices.h"

namespace corvane {

namespace {

bool Occupied(int row, int col) {
  const TCell* cell = CellPtr(CellFind(row, col));
  return cell != nullptr && CellKind(*cell) != kKindBlank;
}

// The walk along one line from `at` in steps of `step` (-1 or +1), where
// `occupiedAt(i)` tells the state of position i. Backwards the walk ends at
// `low`; forwards past `extent`, where it lands on `high`.
template <typename OccupiedAt>
int WalkLine(int at, int step, int low, int high, int extent, OccupiedAt occupiedAt) {
  int probe = std::clamp(at + step, low, high);
  if (step < 0) {
    if (probe > extent) probe = extent + 1;
    bool state = occupiedAt(probe);
    int i = probe;
    while (i >= low && occupiedAt(i) == state) --i;
    if (state) return i + 1;
    return i >= low ? i : low;
  }
  bool state = occupiedAt(probe);
  int i = probe;
  while (i <= extent && occupiedAt(i) == state) ++i;
  if (state) return std::min(i - 1, high);
  return i <= extent ? std::min(i, high) : high;
}

}  // namespace

void JumpToBlockEdge(int key, int minRow, int minCol, int& col, int& row, int maxCol, int maxRow) {
  if (key >= kKeyLeft && key <= kKeyDown) {
    int r = row, c = col;
    int step = key == kKeyLeft || key == kKeyUp ? -1 : 1;
    if (key == kKeyLeft || key == kKeyRight)
      col = WalkLine(c, step, minCol, maxCol, gCurrentDoc.highCol, [r](int i) { return Occupied(r, i); });
    else
      row = WalkLine(r, step, minRow, maxRow, gCurrentDoc.highRow, [c](int i) { return Occupied(i, c); });
  }
  WindowServices().LeaveEndMode();
}

}  // namespace corvane

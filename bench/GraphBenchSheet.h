// The sheet and graphs both graph benchmarks draw: 8,000 rows of X values and
// six series, a line graph over all of them and a pie of the first 500 rows.
#pragma once

#include <string>

#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/DocumentTable.h"
#include "spreadsheet/engine/PagePool.h"
#include "spreadsheet/graphs/NamedGraphs.h"

namespace corvane::bench {

inline constexpr int kPoints = 8000;
inline constexpr int kSlices = 500;

inline TRange ColumnRange(int col, int rows) {
  TRange range;
  RangeSet(range, col, 0, col, rows - 1);
  return range;
}

// Opens a document and fills it; false when that fails.
inline bool PrepareGraphSheet() {
  PoolInit();
  int slot = 0;
  if (RegisterOpenSheet("GRAPHS.WKS", slot) != TOpenResult::kNew || !ActivateDocumentContext(slot) ||
      !GraphInitDocument())
    return false;
  for (int row = 0; row < kPoints; ++row) {
    SetCellNumber(row, 0, row + 1);
    for (int s = 1; s <= 6; ++s) SetCellNumber(row, s, (row * 37 + s * 101) % 1000 + s * 100);
  }
  return true;
}

inline TGraphRecord LineGraph() {
  TGraphRecord line = TGraphRecord::Fresh();
  line.SetType(kGraphLine);
  line.SetXRange(ColumnRange(0, kPoints));
  for (int s = 1; s <= 6; ++s) {
    line.SetSeriesRange(s, ColumnRange(s, kPoints));
    line.SetLabelRange(s, TRange{});
    line.SetLegend(s, "Series " + std::to_string(s));
  }
  return line;
}

inline TGraphRecord PieGraph(int type) {
  TGraphRecord pie = TGraphRecord::Fresh();
  pie.SetType(type);
  pie.SetXRange(ColumnRange(0, kSlices));
  pie.SetSeriesRange(1, ColumnRange(1, kSlices));
  for (int s = 2; s <= 6; ++s) pie.SetSeriesRange(s, TRange{});
  for (int s = 1; s <= 6; ++s) pie.SetLabelRange(s, TRange{});
  return pie;
}

}  // namespace corvane::bench

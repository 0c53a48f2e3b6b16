// The sheet the worksheet-file benchmarks read and write: 800 rows of 250
// cells (200,000), numbers, reals and labels with 16,000 formulas in columns
// 5, 17, 30, 42, ... of every row (20 a row), reading cells of their own row.
#pragma once

#include <string>

#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/DocumentContext.h"

namespace corvane::bench {

inline constexpr int kSheetColumns = 250;
inline constexpr int kSheetRows = 800;

// Fills the current document with recalculation off; the number of formulas,
// or -1 when a cell refused its text.
inline int FillBenchSheet() {
  constexpr int kFormulaEvery = 25;  // two formulas in every 25 columns
  gCurrentDoc.settings.manualRecalc = 1;
  int formulas = 0;
  for (int row = 0; row < kSheetRows; ++row) {
    for (int col = 0; col < kSheetColumns; ++col) {
      int k = col % kFormulaEvery;
      std::string r = std::to_string(row + 1), text;
      if (k == 5 || k == 17) {
        text = k == 5 ? "+A" + r + "*2+B" + r : "@SUM(C" + r + "..E" + r + ")";
        ++formulas;
      } else if (k % 3 == 0) {
        text = std::to_string(row * col % 30000);
      } else if (k % 3 == 1) {
        text = std::to_string(row + col / 7.0);
      } else {
        text = "'item " + std::to_string(row * kSheetColumns + col);
      }
      if (!EnterCell(text, row, col)) return -1;
    }
  }
  return formulas;
}

}  // namespace corvane::bench

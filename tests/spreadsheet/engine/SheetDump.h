// What a user can see of the current sheet, as text for comparisons: every
// cell with its attributes, edit text and value, then the grid's non-default
// sizes.
#pragma once

#include <cstdio>
#include <string>

#include "spreadsheet/engine/CellStore.h"
#include "spreadsheet/engine/FormulaText.h"
#include "spreadsheet/engine/PoolString.h"
#include "spreadsheet/engine/RangeText.h"
#include "tests/spreadsheet/engine/FakeWindowServices.h"

namespace corvane::testing {

// A cell's value as shown: "ERR", a text result, or the number.
inline std::string CellValueText(const TCell& cell) {
  if (cell.kind & kKindErrorBit) return "ERR";
  char text[40] = "";
  switch (CellKind(cell)) {
    case kKindStringFormula:
      return std::string(PoolStringView(CellResultText(cell)));
    case kKindNumberFormula:
    case kKindReal:
      std::snprintf(text, sizeof text, "%.17g", CellReal(cell));
      break;
    case kKindInteger:
      std::snprintf(text, sizeof text, "%d", CellInteger(cell));
      break;
    default:
      break;
  }
  return text;
}

inline std::string SheetDump(const TFakeWindowServices& windows) {
  std::string out;
  char line[160];
  for (int row = 0; row <= kMaxRow; ++row) {
    for (TCellHandle handle = RowListHead(row); handle != kNilHandle; handle = CellPtr(handle)->next) {
      const TCell& cell = *CellPtr(handle);
      std::snprintf(line, sizeof line, "%s kind=%d font=%d size=%d style=%d borders=%d attr=%08X fmt=%02X ",
                    ColRowName(row, cell.column).c_str(), cell.kind & 0x0F, cell.font, cell.size, cell.style,
                    cell.borders, static_cast<unsigned>(cell.attributes), cell.format);
      out += line + ("[" + CellContentsText(handle) + "] = " + CellValueText(cell) + "\n");
    }
  }
  for (auto [index, size] : windows.columnSizes) out += "column " + std::to_string(index) + " " + std::to_string(size) + "\n";
  for (auto [index, size] : windows.rowSizes) out += "row " + std::to_string(index) + " " + std::to_string(size) + "\n";
  return out;
}

}  // namespace corvane::testing

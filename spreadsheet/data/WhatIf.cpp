// Goal seek and what-if tables.
#include "spreadsheet/data/WhatIf.h"

#include <cmath>
#include <string>

#include "spreadsheet/data/DataCommon.h"
#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/Evaluator.h"
#include "spreadsheet/engine/FormulaText.h"
#include "spreadsheet/engine/PoolString.h"

namespace corvane {

namespace {

constexpr int kGoalSeekIterations = 26;

// A cell's contents as typed, put back by entering them again: numbers in
// their exact general text, formulas as their text, labels with their prefix;
// a blank or missing cell becomes blank.
class TSavedContents {
 public:
  TSavedContents(int row, int col) : row_(row), col_(col), text_(CellContentsText(CellFind(row, col))) {}
  void Restore() const {
    bool failed = ErrorFlagSet();
    std::string message = failed ? ErrorMessage() : std::string();
    EnterCell(text_, row_, col_);
    if (failed) SetErrorFlag(message);
    else ClearErrorFlag();
  }

 private:
  int row_, col_;
  std::string text_;
};

}  // namespace

bool DataGoalSeek(const TRange& inputCell, const TRange& outputCell, double tolerance, double desired) {
  if (!RangeIsValid(inputCell) || !RangeIsValid(outputCell)) return false;
  if (!CheckOnSheet(inputCell) || !CheckOnSheet(outputCell)) return false;
  if (!std::isfinite(tolerance) || !std::isfinite(desired)) return Refuse(kNotANumberText);
  int inRow = OrderedRange(inputCell).firstRow, inCol = OrderedRange(inputCell).firstCol;
  int outRow = OrderedRange(outputCell).firstRow, outCol = OrderedRange(outputCell).firstCol;
  if (!CheckWritable(BlockAt(inRow, inCol, 1, 1))) return false;

  BeginChange();
  TSavedContents saved(inRow, inCol);
  ClearCalcError();
  double x = NumberAt(inRow, inCol);
  bool reached = false;
  for (int k = 1; k <= kGoalSeekIterations && std::isfinite(x); ++k) {
    double x1 = 0.99 * x;
    WriteNumber(inRow, inCol, x1);
    double y1 = NumberAt(outRow, outCol);
    WriteNumber(inRow, inCol, x);
    double y = NumberAt(outRow, outCol);
    if (std::fabs(y - desired) < tolerance) {
      reached = true;
      break;
    }
    double slope = SafeDivision(y - y1, x - x1);
    if (slope == 0) break;
    x -= (y - desired) / slope;
  }
  if (!reached) {
    saved.Restore();
    Refuse(kGoalSeekFailedText);
  }
  EndChange();
  return reached;
}

bool DataTable(int mode) {
  const TSheetSettings& settings = gCurrentDoc.settings;
  TRange table = settings.savedRanges[kRangeWhatIfTable];
  TRange input1 = settings.savedRanges[kRangeWhatIfInput1], input2 = settings.savedRanges[kRangeWhatIfInput2];
  bool two = mode == 2;
  if (!RangeIsValid(table) || !RangeIsValid(input1) || (two && !RangeIsValid(input2))) return false;
  if (!CheckOnSheet(table) || !CheckOnSheet(input1) || (two && !CheckOnSheet(input2))) return false;
  table = OrderedRange(table);
  if (table.lastRow == table.firstRow || table.lastCol == table.firstCol) return false;
  TRange in1 = BlockAt(OrderedRange(input1).firstRow, OrderedRange(input1).firstCol, 1, 1);
  TRange in2 = two ? BlockAt(OrderedRange(input2).firstRow, OrderedRange(input2).firstCol, 1, 1) : TRange{};
  TRange results{static_cast<std::int16_t>(table.firstCol + 1), static_cast<std::int16_t>(table.firstRow + 1),
                 table.lastCol, table.lastRow};
  if (!CheckApart(results, {in1, in2})) return false;
  if (!CheckWritable(in1) || (two && !CheckWritable(in2)) || !CheckWritable(results)) return false;

  BeginChange();
  TSavedContents saved1(in1.firstRow, in1.firstCol), saved2(in2.firstRow, in2.firstCol);
  for (int q = table.firstCol + 1; q <= table.lastCol; ++q) {
    for (int r = table.firstRow + 1; r <= table.lastRow; ++r) {
      const TCell* rowInput = CellPtr(CellFind(r, table.firstCol));
      const TCell* colInput = two ? CellPtr(CellFind(table.firstRow, q)) : nullptr;
      TCellHandle formula = two ? CellFind(table.firstRow, table.firstCol) : CellFind(table.firstRow, q);
      if (!CellIsNumeric(rowInput) || (two && !CellIsNumeric(colInput)) || formula == kNilHandle) continue;
      WriteNumber(in1.firstRow, in1.firstCol, NumberAt(r, table.firstCol));
      if (two) WriteNumber(in2.firstRow, in2.firstCol, NumberAt(table.firstRow, q));
      const TCell* result = CellPtr(formula);
      if (result->kind & kKindErrorBit) {
        WriteText(r, q, "@ERR");
      } else if (CellIsNumeric(result)) {
        WriteNumber(r, q, NumberAt(table.firstRow, two ? table.firstCol : q));
      } else if (CellKind(*result) == kKindLabel) {
        WriteText(r, q, std::string(PoolStringView(result->text)));
      } else if (CellKind(*result) == kKindStringFormula) {
        WriteText(r, q, "'" + std::string(PoolStringView(CellResultText(*result))));
      }
    }
  }
  saved1.Restore();
  if (two) saved2.Restore();
  ClearCalcError();
  EndChange();
  return true;
}

}  // namespace corvane

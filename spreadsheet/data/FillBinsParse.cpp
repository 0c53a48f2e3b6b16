// Fill, frequency bins and parse.
#include "spreadsheet/data/FillBinsParse.h"

#include <cmath>
#include <string>
#include <vector>

#include "spreadsheet/data/DataCommon.h"
#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/Evaluator.h"
#include "spreadsheet/engine/PagePool.h"
#include "spreadsheet/engine/PoolString.h"
#include "spreadsheet/engine/WindowServices.h"

namespace corvane {

namespace {
constexpr int kProgressStep = 2048;
}  // namespace

bool DataFill(const TRange& range, int type, bool rowOrder, double step, double start) {
  if (!RangeIsValid(range)) return false;
  if (!CheckOnSheet(range)) return false;
  if (!std::isfinite(step) || !std::isfinite(start)) return Refuse(kNotANumberText);
  TRange r = OrderedRange(range);
  BeginChange();
  ClearCalcError();
  int rows = r.lastRow - r.firstRow + 1, cols = r.lastCol - r.firstCol + 1;
  int total = rows * cols;
  double value = start;
  for (int done = 0; done < total; ++done) {
    int major = done / (rowOrder ? cols : rows), minor = done % (rowOrder ? cols : rows);
    int row = r.firstRow + (rowOrder ? major : minor), col = r.firstCol + (rowOrder ? minor : major);
    if (ErrorFlagSet() || !std::isfinite(value)) break;
    if (!WriteNumber(row, col, value) && PoolIsFull()) {
      Refuse(kOutOfMemoryText);
      break;
    }
    ClearCalcError();  // a dependent's failing formula does not stop the series
    if (type == kFillMultiply) value *= step;
    else if (type == kFillPower) value = SafePower(value, step);
    else value += step;
    if ((done + 1) % kProgressStep == 0) WindowServices().ShowProgress(done + 1, total);
  }
  WindowServices().HideProgress();
  EndChange();
  return true;
}

bool DataBins() {
  const TSheetSettings& settings = gCurrentDoc.settings;
  TRange values = settings.dataRanges[kDataRangeBinValues], bins = settings.dataRanges[kDataRangeBinTable];
  if (!RangeIsValid(values) || !RangeIsValid(bins)) return false;
  if (!CheckOnSheet(values) || !CheckOnSheet(bins)) return false;
  values = OrderedRange(values);
  bins = OrderedRange(bins);
  TRange valueColumn = values;
  valueColumn.lastCol = valueColumn.firstCol;
  int binCol = bins.firstCol, binCount = bins.lastRow - bins.firstRow + 1;
  TRange output = BlockAt(bins.firstRow, binCol + 1, binCount + 1, 2);
  if (!CheckOnSheet(output) || !CheckApart(output, {valueColumn})) return false;

  std::vector<double> xs;
  for (int row = values.firstRow; row <= values.lastRow; ++row)
    if (CellFind(row, values.firstCol) != kNilHandle) xs.push_back(NumberAt(row, values.firstCol));
  bool upperIncluded = settings.binsUpperIncluded != 0;
  std::vector<int> counts(binCount);
  double prev = 0;
  for (int i = 0; i < binCount; ++i) {
    double bound = NumberAt(bins.firstRow + i, binCol);
    for (double x : xs) {
      bool in = upperIncluded ? x <= bound && (i == 0 || x > prev) : x < bound && (i == 0 || x >= prev);
      if (in) ++counts[i];
    }
    prev = bound;
  }

  BeginChange();
  ClearCalcError();
  int total = values.lastRow - values.firstRow + 1, remaining = total;
  auto share = [&](int count) { return count * (1.0 / total); };
  for (int i = 0; i < binCount; ++i) {
    WriteNumber(bins.firstRow + i, binCol + 1, counts[i]);
    WriteNumber(bins.firstRow + i, binCol + 2, share(counts[i]));
    remaining -= counts[i];
  }
  WriteNumber(bins.lastRow + 1, binCol + 1, remaining);
  WriteNumber(bins.lastRow + 1, binCol + 2, share(remaining));
  ClearCalcError();
  EndChange();
  return true;
}

bool DataBinsRanges(const TRange& values, const TRange& bins) {
  gCurrentDoc.settings.dataRanges[kDataRangeBinValues] = values;
  gCurrentDoc.settings.dataRanges[kDataRangeBinTable] = bins;
  return DataBins();
}

bool DataParse(const TRange& range) {
  if (!RangeIsValid(range)) return false;
  if (!CheckOnSheet(range)) return false;
  TRange r = OrderedRange(range);
  struct TLine {
    int row, col, fields;
    std::string text;
  };
  std::vector<TLine> lines;
  int outputEnd = -1;  // the last column an earlier split of the row fills
  bool fits = ForEachCellInRange(r, [&](TCellHandle, const TCell& cell) {
    if (!lines.empty() && lines.back().row != cell.row) outputEnd = -1;
    if (CellKind(cell) != kKindLabel || cell.column <= outputEnd) return true;
    std::string_view label = PoolStringView(cell.text);
    TLine line{cell.row, cell.column, 0, std::string(label.substr(label.empty() ? 0 : 1))};
    line.fields = LineFieldCount(line.text);
    TRange filled = BlockAt(cell.row, line.col, 1, std::max(line.fields, 1));
    if (!CheckOnSheet(filled) || !CheckWritable(filled)) return false;
    outputEnd = filled.lastCol;
    lines.push_back(std::move(line));
    return true;
  });
  if (!fits) return false;
  BeginChange();
  for (const TLine& line : lines) ParseLineIntoCells(line.text, line.row, line.col);
  EndChange();
  return true;
}

}  // namespace corvane

// Checks, cell reading and writing, and the command frame of the data commands.
#include "spreadsheet/data/DataCommon.h"

#include <algorithm>

#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/EngineHelpers.h"
#include "spreadsheet/engine/FormulaText.h"
#include "spreadsheet/engine/NumberText.h"
#include "spreadsheet/engine/PoolString.h"
#include "spreadsheet/engine/RangePrompt.h"
#include "spreadsheet/engine/RangeText.h"
#include "spreadsheet/engine/RangeArguments.h"
#include "spreadsheet/engine/ShowError.h"
#include "spreadsheet/engine/UndoBuffer.h"
#include "spreadsheet/engine/WindowServices.h"

namespace corvane {

TCentred Centred(std::span<const double> values) {
  TCentred c;
  if (values.empty()) return c;
  const double n = static_cast<double>(values.size());
  for (double v : values) c.mean += v;
  c.mean /= n;
  for (double v : values) c.correction += v - c.mean;
  c.correction /= n;
  for (double v : values) c.deviations.push_back((v - c.mean) - c.correction);
  return c;
}

TRange OrderedRange(TRange range) {
  OrderPair(range.firstCol, range.lastCol);
  OrderPair(range.firstRow, range.lastRow);
  return range;
}

bool RangeOnSheet(const TRange& range) {
  if (!RangeIsValid(range)) return false;
  TRange r = OrderedRange(range);
  return r.firstCol >= 0 && r.lastCol <= kMaxCol && r.firstRow >= 0 && r.lastRow <= kMaxRow;
}

TRange BlockAt(int row, int col, int rows, int cols) {
  // Corners beyond the 16-bit words are clamped just past the sheet, so the
  // block still reads as off the sheet.
  auto word = [](int v) { return static_cast<std::int16_t>(std::clamp(v, -2, kMaxRow + 2)); };
  TRange block;
  block.firstCol = word(col);
  block.firstRow = word(row);
  block.lastCol = word(col + cols - 1);
  block.lastRow = word(row + rows - 1);
  return block;
}

bool RangesOverlap(const TRange& a, const TRange& b) {
  if (!RangeIsValid(a) || !RangeIsValid(b)) return false;
  TRange x = OrderedRange(a), y = OrderedRange(b);
  return x.firstCol <= y.lastCol && y.firstCol <= x.lastCol && x.firstRow <= y.lastRow && y.firstRow <= x.lastRow;
}

bool Refuse(std::string_view message) {
  SetErrorFlag(message);
  ShowError(message);
  return false;
}

bool CheckOnSheet(const TRange& block) { return RangeOnSheet(block) || Refuse(kOutOfRangeText); }

bool CheckApart(const TRange& output, std::initializer_list<TRange> inputs) {
  for (const TRange& input : inputs)
    if (RangesOverlap(output, input)) return Refuse(kOverlapText);
  return true;
}

bool CheckWritable(const TRange& block) {
  if (!ProtectionOn()) return true;
  TRange r = OrderedRange(block);
  for (int row = r.firstRow; row <= r.lastRow; ++row)
    for (int col = r.firstCol; col <= r.lastCol; ++col)
      if (CellIsProtected(CellPtr(CellFind(row, col)))) return Refuse(kProtectedCellText);
  return true;
}

bool ReadRangeField(std::string_view text, TRange& range) {
  ClearErrorFlag();
  if (ParseRange(text, range)) return true;
  return Refuse(ErrorMessage().empty() ? std::string("Invalid Range") : std::string(ErrorMessage()));
}

bool StartFieldPrompt(std::string_view caption, std::string_view fieldText, const TRange& saved,
                      std::function<void(std::string_view text)> done) {
  if (RangePromptActive()) return false;
  TRange preset;
  if (fieldText.empty() || !ParseRange(fieldText, preset) || !RangeIsValid(preset)) preset = saved;
  ClearErrorFlag();
  DefaultBeep();
  return RangePromptStart(
      caption,
      [done = std::move(done)](std::string_view text) {
        done(text);
        return true;
      },
      preset);
}

void RestoreSavedSelection(const TRange& selection) {
  TWindowServices& windows = WindowServices();
  if (RangeIsValid(selection)) windows.SetGridSelection(selection);
  windows.RepaintSheet(windows.ActiveSheet());
}

void BeginChange() { UndoSave(); }

void EndChange() {
  TWindowServices& windows = WindowServices();
  windows.MarkSheetModified(windows.ActiveSheet());
  windows.RepaintSheet(windows.ActiveSheet());
}

double NumberAt(int row, int col) {
  bool error = false;
  return CellNumber(CellPtr(CellFind(row, col)), error);
}

std::string CellValueText(int row, int col) {
  TCellHandle handle = CellFind(row, col);
  const TCell* cell = CellPtr(handle);
  if (cell != nullptr && (cell->kind & kKindErrorBit)) return "ERR";
  switch (CellKindOf(cell)) {
    case kKindNumberFormula:
      return RealToGeneralText(CellReal(*cell));
    case kKindStringFormula:
      return "'" + std::string(PoolStringView(CellResultText(*cell)));
    default:
      return CellContentsText(handle);
  }
}

bool WriteNumber(int row, int col, double x) { return SetCellNumber(row, col, x); }

bool WriteText(int row, int col, std::string_view text) { return EnterCell(text, row, col); }

}  // namespace corvane

// The width-or-height and special copy dialogs' logic.
#include "spreadsheet/windows/SizeCopyDialogs.h"

#include <algorithm>

#include "spreadsheet/data/DataCommon.h"
#include "spreadsheet/engine/CellStore.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/Evaluator.h"
#include "spreadsheet/engine/NumberText.h"
#include "spreadsheet/engine/RangeEdit.h"
#include "spreadsheet/engine/RangeText.h"
#include "spreadsheet/engine/WindowServices.h"

namespace corvane {

namespace {

// The range with its corners in order (the engine's and the data commands'
// helpers share a name).
TRange Ordered(const TRange& range) { return static_cast<TRange (*)(const TRange&)>(OrderedRange)(range); }

// One axis of the width-or-height dialog, read and checked.
struct TLineSizes {
  bool used = false;
  int typed = 0;  // the size in the field
  int size = 0;   // what the lines get: the typed size, or 255 with reset
  int skip = 0;
  bool global = false;
};

bool ReadLineSizes(bool used, std::string_view sizeText, std::string_view skipText, bool global, bool reset,
                   TLineSizes& lines) {
  lines.used = used;
  if (!used) return true;
  double size = 0, skip = 0;
  if (!NumberFieldValue(sizeText, size) || !NumberFieldValue(skipText, skip)) return Refuse(ErrorMessage());
  if (size < 0 || size > kLargestLineSize) return Refuse(kOutOfRangeText);
  lines.typed = static_cast<int>(size);
  lines.size = reset ? kDefaultSizeEntry : lines.typed;
  lines.skip = skip > 0 ? static_cast<int>(std::min(skip, 8192.0)) : 0;
  lines.global = global;
  return true;
}

void SetLines(std::span<std::uint16_t> table, int first, int last, const TLineSizes& lines) {
  for (int line = first; line <= last && line < static_cast<int>(table.size()); ++line)
    if (line % (lines.skip + 1) == 0) table[static_cast<std::size_t>(line)] = static_cast<std::uint16_t>(lines.size);
}

}  // namespace

std::string EvaluateNumberField(std::string_view text) {
  if (text.empty()) return "";
  std::string resultText;
  double x = EvaluateFormulaText(text, resultText);
  ClearErrorFlag();
  return RealToGeneralText(resultText.empty() ? x : -1);
}

bool TWidthHeightDialog::Activate(const TRange& gridSelection) {
  if (!reload) return false;
  reload = false;
  changed = 0;
  selection = Ordered(gridSelection);
  rangeText = RangeText(selection);
  int row = std::clamp(static_cast<int>(selection.firstRow), 0, kMaxRow);
  int col = std::clamp(static_cast<int>(selection.firstCol), 0, kMaxCol);
  TWindowServices& windows = WindowServices();
  TSheetViewState view;
  int height = 0;
  if (windows.GetSheetView(view))
    height = view.sizes.rows[static_cast<std::size_t>(row)] == kDefaultSizeEntry ? view.font.rowHeight
                                                                                 : view.sizes.rows[static_cast<std::size_t>(row)];
  heightText = std::to_string(height);
  widthText = std::to_string(windows.ColumnWidthChars(col));
  globalWidth = globalHeight = false;
  return true;
}

bool TWidthHeightDialog::Apply(const TDefaultSizeSetter& setDefault) {
  TRange range;
  if (!ReadRangeField(rangeText, range)) return false;
  if (!RangeIsValid(range)) return Refuse("Invalid Range");
  TLineSizes columns, rows;
  if (!ReadLineSizes(changed & 1, widthText, skipColumnsText, globalWidth, resetWidth, columns) ||
      !ReadLineSizes(changed & 2, heightText, skipRowsText, globalHeight, resetHeight, rows))
    return false;
  range = Ordered(range);
  TWindowServices& windows = WindowServices();
  TSheetViewState view;
  if (!windows.GetSheetView(view)) return false;
  // "&Global:" takes the typed size as the default even when "R&eset:" then
  // marks the lines as default.
  if (columns.used && columns.global) setDefault(true, columns.typed * 8);
  if (rows.used && rows.global) setDefault(false, rows.typed);
  if (columns.used) SetLines(view.sizes.columns, range.firstCol, range.lastCol, columns);
  if (rows.used) SetLines(view.sizes.rows, range.firstRow, range.lastRow, rows);
  windows.SetSheetView(view, kViewSizes);
  MarkChangedAndRepaint();
  return true;
}

bool NumberFieldValue(std::string_view text, double& x) {
  std::string resultText;
  x = EvaluateFormulaText(text.empty() ? std::string_view("0") : text, resultText);
  if (ErrorFlagSet() || !resultText.empty()) {
    ClearErrorFlag();
    SetErrorFlag("Invalid Number");
    return false;
  }
  return true;
}

bool TSpecialCopyDialog::Activate(const TRange& gridSelection) {
  if (!reload) return false;
  reload = false;
  selection = Ordered(gridSelection);
  fromText = RangeText(selection);
  return true;
}

bool TSpecialCopyDialog::Apply() {
  double factor = 1;
  if (mode == kCopyScale && !NumberFieldValue(factorText, factor)) return Refuse(ErrorMessage());
  TRange from, to;
  if (!ReadRangeField(fromText, from) || !ReadRangeField(toText, to)) return false;
  return RangeCopy(mode, from, to, factor);
}

}  // namespace corvane

#include "spreadsheet/windows/SheetObjects.h"

#include <algorithm>

#include "spreadsheet/controls/Grid.h"
#include "spreadsheet/engine/RangeText.h"

namespace corvane {

using classlib::TPoint;
using classlib::TRect;

TRect PlacementRect(TPoint from, TPoint to) {
  int left = std::min(from.x, to.x), top = std::min(from.y, to.y);
  int width = std::max(from.x, to.x) - left, height = std::max(from.y, to.y) - top;
  if (width < kMinDragSize) width = kDefaultObjectWidth;
  if (height < kMinDragSize) height = kDefaultObjectHeight;
  return {left, top, left + width, top + height};
}

void AnchorAt(const TGridModel& pane, TPoint at, TSheetButton& record) {
  int col = 0, row = 0;
  pane.PointToCell(at.x, at.y, col, row);
  record.anchorRow = static_cast<std::int16_t>(row);
  record.anchorCol = static_cast<std::int16_t>(col);
  record.left = at.x - pane.ColOffset(col);
  record.top = at.y - pane.RowOffset(row);
}

TRect ObjectBounds(const TGridModel& pane, const TSheetButton& record) {
  // A record from a file may name any cell: keep it on the sheet.
  int row = std::clamp<int>(record.anchorRow, 0, TGridModel::kLastRow);
  int col = std::clamp<int>(record.anchorCol, 0, TGridModel::kLastCol);
  int left = pane.ColOffset(col) + record.left;
  int top = pane.RowOffset(row) + record.top;
  return {left, top, left + std::max(0, record.width), top + std::max(0, record.height)};
}

std::string GraphBoxName(const TSheetObject& object) { return object.record.macro.substr(0, kGraphBoxNameChars); }

std::string AnchorAddress(const TSheetButton& record) {
  int row = std::clamp<int>(record.anchorRow, 0, TGridModel::kLastRow);
  int col = std::clamp<int>(record.anchorCol, 0, TGridModel::kLastCol);
  return ColumnLetters(col) + std::to_string(row + 1);
}

TButtonDialogValue ButtonDialogValue(const TSheetObject& object) {
  return {object.record.caption, {object.record.macro}};
}

void ApplyButtonDialog(const TButtonDialogValue& value, TSheetObject& object) {
  object.record.caption = value.caption.substr(0, kObjectCaptionChars);
  std::string macro;
  for (const std::string& line : value.macroLines) macro += line;
  object.record.macro = macro.substr(0, kObjectTextChars);
}

}  // namespace corvane

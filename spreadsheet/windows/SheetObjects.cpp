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

int SheetButtonGrab(const TRect& inset, TPoint p) {
  constexpr int kNear = 3;
  if (p.x > inset.Left + kNear && p.x < inset.Right - kNear && p.y > inset.Top + kNear && p.y < inset.Bottom - kNear)
    return kGrabMove;
  if (p.x < inset.Left - kNear || p.x > inset.Right + kNear || p.y < inset.Top - kNear || p.y > inset.Bottom + kNear)
    return 0;
  auto near = [](int a, int b) { return a - b <= kNear && b - a <= kNear; };
  return (near(p.x, inset.Left) ? kGrabLeft : 0) | (near(p.x, inset.Right) ? kGrabRight : 0) |
         (near(p.y, inset.Top) ? kGrabTop : 0) | (near(p.y, inset.Bottom) ? kGrabBottom : 0);
}

int GrabCursor(int grab) {
  switch (grab) {
    case kGrabLeft: case kGrabRight: return classlib::crSizeWE;
    case kGrabTop: case kGrabBottom: return classlib::crSizeNS;
    case kGrabLeft | kGrabTop: case kGrabRight | kGrabBottom: return classlib::crSizeNWSE;
    case kGrabRight | kGrabTop: case kGrabLeft | kGrabBottom: return classlib::crSizeNESW;
    case kGrabMove: return classlib::crSizeAll;
    default: return classlib::crDefault;
  }
}

TRect DragOutline(const TRect& inset, int grab, int dx, int dy) {
  TRect r = inset;
  if (grab & kGrabLeft) r.Left += dx;
  if (grab & kGrabRight) r.Right += dx;
  if (grab & kGrabTop) r.Top += dy;
  if (grab & kGrabBottom) r.Bottom += dy;
  return r;
}

bool DroppedBounds(const TRect& outline, TPoint origin, TRect& bounds) {
  TRect r{std::min(outline.Left, outline.Right) - 2 - origin.x, std::min(outline.Top, outline.Bottom) - 2 - origin.y,
          std::max(outline.Left, outline.Right) + 2 - origin.x, std::max(outline.Top, outline.Bottom) + 2 - origin.y};
  if (r.Left < 0) return false;
  bounds = r;
  return true;
}

TRect OutlineStep(const TRect& from, const TRect& to, int step) {
  constexpr int kSpan = 20;
  auto mix = [step](int a, int b) { return (a * (kSpan - step) + b * step) / kSpan; };
  return {mix(from.Left, to.Left), mix(from.Top, to.Top), mix(from.Right, to.Right), mix(from.Bottom, to.Bottom)};
}

TButtonDialogValue ButtonDialogValue(const TSheetObject& object) {
  return {object.record.caption, {object.record.macro}};
}

void ApplyButtonDialog(const TButtonDialogValue& value, TSheetObject& object) {
  object.record.caption = value.caption.substr(0, kObjectCaptionChars);
  std::string macro;
  for (const std::string& line : value.macroLines) macro += line;
  macro = macro.substr(0, kObjectTextChars);
  if (macro != object.record.macro) object.userMade = true;
  object.record.macro = std::move(macro);
}

}  // namespace corvane

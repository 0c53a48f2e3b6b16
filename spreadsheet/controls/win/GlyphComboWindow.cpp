// The glyph combo box: its items and how each is drawn.
#include "spreadsheet/controls/win/GlyphComboWindow.h"

#include <algorithm>
#include <string>
#include <vector>

#include "spreadsheet/controls/ControlDrawing.h"
#include "spreadsheet/controls/GlyphGrid.h"
#include "spreadsheet/controls/win/GlyphGridWindow.h"

namespace corvane {

using namespace classlib;

TBmpCombo::TBmpCombo(TComponent* AOwner) : TOwnerDrawnList(AOwner), glyph_(std::make_unique<TBitmap>()) {
  Style = TComboBoxStyle::csDropDownList;
  OnDrawItem = [this](const TDrawnItem& item) { DrawItem(item); };
}

void TBmpCombo::SetGlyph(TBitmap& glyph) {
  auto copy = std::make_unique<TBitmap>(glyph.Width(), glyph.Height());
  TRect all{0, 0, glyph.Width(), glyph.Height()};
  copy->Canvas().CopyRect(all, glyph.Canvas(), all);
  glyph_ = std::move(copy);
  // Item heights are set by message when Rows is written or the box is
  // loaded, so the window need not be made again to measure them.
  Invalidate();
}

void TBmpCombo::MakeItems() {
  count_ = rows_ * cols_;
  SetItems(std::vector<std::string>(count_, " "));
  Invalidate();
}

void TBmpCombo::SetRows(int rows) {
  rows_ = std::max(rows, 1);
  MakeItems();
  SetItemHeight(GlyphComboItemHeight(glyph_->Height(), rows_, 14));
}

void TBmpCombo::SetCols(int cols) {
  if (std::max(cols, 1) == cols_ && count_ >= 0) return;
  cols_ = std::max(cols, 1);
  MakeItems();
}

void TBmpCombo::Loaded() {
  if (count_ > 0) SetItemIndex(0);
  SetItemHeight(GlyphComboItemHeight(glyph_->Height(), rows_, 22));
}

void TBmpCombo::DrawItem(const TDrawnItem& item) {
  TCanvas& canvas = item.Canvas;
  FillSolid(canvas, item.Rect, item.Selected || item.Focused ? clGray : clWhite);
  if (glyph_->Width() >= 2) {
    TRect cell = GlyphCellRect(glyph_->Width(), glyph_->Height(), rows_, cols_, item.Index);
    int w = std::min(cell.Width(), item.Rect.Width()), h = std::min(cell.Height(), item.Rect.Height());
    int left = item.Rect.Left + (item.Rect.Width() - w) / 2, top = item.Rect.Top + (item.Rect.Height() - h) / 2;
    DrawGlyphCell(canvas, {left, top, left + w, top + h}, *glyph_, {cell.Left, cell.Top, cell.Left + w, cell.Top + h});
  }
  if (!item.Selected) return;
  DrawBevel(canvas, item.Rect, kEdgeLight, kEdgeShadow);
  if (item.Focused) canvas.DrawFocusRect(item.Rect.Inflate(-2, -2));
}

}  // namespace corvane

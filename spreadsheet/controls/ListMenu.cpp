// The list menu's items, keys, mouse and paint.
#include "spreadsheet/controls/ListMenu.h"

#include <algorithm>

#include "spreadsheet/controls/ControlDrawing.h"
#include "spreadsheet/controls/GlyphGrid.h"

namespace corvane {

using namespace classlib;

namespace {
constexpr int kMaxText = 80;
}  // namespace

TTabMenuModel::TTabMenuModel(TControlHost& host) : host_(host) {}

void TTabMenuModel::SetMargin(int pixels) {
  if (SetField(margin_, pixels)) host_.InvalidateAll();
}

void TTabMenuModel::SetItemIndex(int i) {
  if (i < -1 || i >= Count() || !SetField(itemIndex_, i)) return;
  if (OnChange) OnChange();
  if (i >= 0 && i < static_cast<int>(Hints.size()) && OnHint) OnHint(Hints[i]);
}

void TTabMenuModel::SetItems(std::vector<std::string> items) {
  items_ = std::move(items);
  accelerators_.clear();
  for (const std::string& item : items_) accelerators_ += ItemAccelerator(item);
  if (itemIndex_ >= Count()) itemIndex_ = -1;
  host_.InvalidateAll();
}

void TTabMenuModel::SetCaption(const std::string& caption) {
  if (SetField(caption_, caption)) host_.InvalidateAll();
}

void TTabMenuModel::SetBackcolor(TColor c) {
  if (SetField(backcolor_, c)) host_.InvalidateAll();
}

void TTabMenuModel::SetBarfocus(bool on) {
  if (SetField(barfocus_, on)) host_.InvalidateAll();
}

void TTabMenuModel::SetNoblue(bool on) {
  if (SetField(noblue_, on)) host_.InvalidateAll();
}

int TTabMenuModel::Maxwidth() const {
  int widest = MeasureText ? MeasureText(caption_) : 0;
  for (const std::string& item : items_)
    widest = std::max(widest, MeasureText ? MeasureText(ItemDisplayText(item)) : 0);
  return widest + 32;
}

TRect TTabMenuModel::ItemRect(int i) const {
  int top = FirstItemTop() + i * kItemHeight;
  return {4, top, host_.ClientRect().Right - (barfocus_ ? 3 : 0) - 4, top + kItemHeight - 1};
}

int TTabMenuModel::ItemAt(int y) const {
  if (y < FirstItemTop()) return -1;
  int i = (y - FirstItemTop()) / kItemHeight;
  return i < Count() ? i : -1;
}

void TTabMenuModel::Mark(int i) {
  if (i < 0 || i >= Count() || i >= kMarks || marks_[i] != 0) return;
  marks_[i] = 1;
  host_.Invalidate(ItemRect(i));
}

void TTabMenuModel::ClearMarks() {
  marks_.fill(0);
  host_.InvalidateAll();
}

void TTabMenuModel::Select(int i) {
  if (i == itemIndex_) return;
  if (itemIndex_ >= 0) host_.Invalidate(ItemRect(itemIndex_));
  SetItemIndex(i);
  host_.Invalidate(ItemRect(i));
}

bool TTabMenuModel::KeyDown(int key) {
  switch (key) {
    case vk::Return:
      if (OnEnterkey) OnEnterkey();
      return true;
    case vk::Escape:
      if (OnEsckey) OnEsckey();
      return false;
    default: break;
  }
  int count = Count();
  if (count == 0) return false;
  switch (key) {
    case vk::Space:
    case vk::Down: Select(WrapIndex(itemIndex_ + 1, count)); return false;
    case vk::Up: Select(WrapIndex(itemIndex_ - 1, count)); return false;
    case vk::Home: Select(0); return false;
    case vk::End: Select(count - 1); return false;
    default: break;
  }
  int at = AcceleratorIndex(accelerators_, key);
  if (at < 0) return false;
  Select(at);
  if (OnEnterkey) OnEnterkey();
  return true;
}

void TTabMenuModel::MouseDown(TMouseButton button, int, int y) {
  if (button != TMouseButton::mbLeft) return;
  host_.SetFocus();
  pressed_ = true;
  int i = ItemAt(y);
  if (i >= 0) Select(i);
}

void TTabMenuModel::MouseMove(int, int y) {
  if (!pressed_ && !Float) return;
  int i = ItemAt(y);
  if (i >= 0) Select(i);
}

void TTabMenuModel::MouseUp(TMouseButton button, int, int y) {
  if (button != TMouseButton::mbLeft || !pressed_) return;
  pressed_ = false;
  if (ItemAt(y) >= 0 && OnEnterkey) OnEnterkey();
}

void TTabMenuModel::PaintItem(TCanvas& canvas, int i, bool focused) {
  TRect r = ItemRect(i);
  bool lit = i == itemIndex_ && (focused || barfocus_);
  TColor fill = lit && !noblue_ ? clHighlight : backcolor_;
  TColor text = lit && !noblue_ ? clWhite : clBlack;
  if (noblue_) text = Marked(i) ? clBlue : clBlack;
  FillSolid(canvas, r, fill);
  if (i == itemIndex_ && Border) DrawBevel(canvas, r, kEdgeShadow, kEdgeLight);
  canvas.Brush.Style = TBrushStyle::bsClear;
  canvas.Font.Color = text;
  std::string shown = ItemDisplayText(items_[i]).substr(0, kMaxText);
  int y = r.Top + (r.Height() - canvas.TextHeight(shown)) / 2;
  if (Marked(i)) canvas.TextRect(r, r.Left + 1, y, "+");
  canvas.TextRect(r, r.Left + 6, y, shown);
  canvas.Brush.Style = TBrushStyle::bsSolid;
}

void TTabMenuModel::Paint(TCanvas& canvas, bool focused) {
  TCanvasStateSaver saved(canvas);
  TRect client = host_.ClientRect();
  TRect inside = client;
  if (Border)
    inside = barfocus_ ? DrawBevel(canvas, DrawBevel(canvas, client, kEdgeLight, clBlack), kEdgeLight, kEdgeShadow)
                       : DrawBevel(canvas, client, kEdgeLight, kEdgeShadow);
  FillSolid(canvas, inside, backcolor_);
  if (!caption_.empty()) {
    TRect band{inside.Left, inside.Top, inside.Right, inside.Top + TitleHeight()};
    FillSolid(canvas, band, focused ? clActiveCaption : clInactiveCaption);
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Font.Color = focused ? clCaptionText : clInactiveCaptionText;
    int x = band.Left + (band.Width() - canvas.TextWidth(caption_)) / 2;
    canvas.TextRect(band, x, band.Top + 2, caption_);
    canvas.Brush.Style = TBrushStyle::bsSolid;
  }
  for (int i = 0; i < Count(); ++i) PaintItem(canvas, i, focused);
}

}  // namespace corvane

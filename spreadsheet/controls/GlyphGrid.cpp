// The glyph button grid's geometry, selection, keys, mouse and paint.
#include "spreadsheet/controls/GlyphGrid.h"

#include <algorithm>
#include <cstdlib>
#include <cctype>

#include "spreadsheet/controls/ControlDrawing.h"

namespace corvane {

using namespace classlib;

namespace {

constexpr int kDefaultGlyphCell = 40;
constexpr int kLabelBand = 22;
constexpr int kMaxLabel = 40;


}  // namespace

char ItemAccelerator(std::string_view item) {
  for (size_t i = 0; i + 1 < item.size(); ++i) {
    if (item[i] != '&') continue;
    if (item[i + 1] == '&') {
      ++i;
      continue;
    }
    return static_cast<char>(std::toupper(static_cast<unsigned char>(item[i + 1])));
  }
  return 0;
}

int AcceleratorIndex(std::string_view letters, int key) {
  if (key <= 0 || key > 0xFF) return -1;
  char upper = static_cast<char>(std::toupper(key));
  size_t at = letters.find(upper);
  return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

std::string ItemDisplayText(std::string_view item) {
  std::string text;
  for (size_t i = 0; i < item.size(); ++i) {
    if (item[i] == '&' && i + 1 < item.size()) ++i;
    text += item[i];
  }
  return text;
}

TRect GlyphCellRect(int glyphWidth, int glyphHeight, int rows, int cols, int index) {
  rows = std::max(rows, 1);
  cols = std::max(cols, 1);
  int w = glyphWidth / cols, h = glyphHeight / rows;
  int col = index % cols, row = index / cols;
  return {col * w, row * h, col * w + w, row * h + h};
}

int GlyphComboItemHeight(int glyphHeight, int rows, int minCell) {
  int cell = glyphHeight / std::max(rows, 1);
  return cell >= minCell ? cell + 2 : minCell + 2;
}

TBmpButModel::TBmpButModel(TControlHost& host) : host_(host) {}

void TBmpButModel::SetSticky(bool on) {
  if (SetField(sticky_, on)) host_.InvalidateAll();
}

void TBmpButModel::SetAlignment(talign a) {
  if (SetField(alignment_, a)) host_.InvalidateAll();
}

void TBmpButModel::SetMask(int32_t mask) {
  if (toggle_ && SetField(mask_, mask)) host_.InvalidateAll();
}

void TBmpButModel::SetToggle(bool on) {
  if (SetField(toggle_, on)) host_.InvalidateAll();
}

void TBmpButModel::SetLabelOn(bool on) {
  if (SetField(labelOn_, on)) host_.InvalidateAll();
}

void TBmpButModel::SetGroupon(bool on) {
  groupon_ = on;
  Resized();
}

void TBmpButModel::SetCollapse(bool on) {
  collapse_ = on;
  Resized();
}

void TBmpButModel::SetRows(int n) {
  if (SetField(rows_, std::max(n, 1))) Resized();
}

void TBmpButModel::SetCols(int n) {
  if (SetField(cols_, std::max(n, 1))) Resized();
}

void TBmpButModel::SetBrows(int n) {
  if (SetField(brows_, std::max(n, 1))) host_.InvalidateAll();
}

void TBmpButModel::SetBcols(int n) {
  if (SetField(bcols_, std::max(n, 1))) host_.InvalidateAll();
}

void TBmpButModel::SetBw(int pixels) {
  // A button is at least 8 pixels wide and high.
  if (SetField(bw_, pixels > 0 ? pixels : 8)) Resized();
}

void TBmpButModel::SetBh(int pixels) {
  if (SetField(bh_, pixels > 0 ? pixels : 8)) Resized();
}

void TBmpButModel::SetItems(std::vector<std::string> items) {
  items_ = std::move(items);
  accelerators_.clear();
  for (int i = 0; i < ItemCount() && i < kMaxAccelerators; ++i) accelerators_ += ItemAccelerator(items_[i]);
  host_.InvalidateAll();
}

void TBmpButModel::SetCaption(const std::string& caption) {
  if (SetField(caption_, caption)) host_.InvalidateAll();
}

void TBmpButModel::SetGlyphSize(int width, int height) {
  glyphWidth_ = std::max(width, 0);
  glyphHeight_ = std::max(height, 0);
  host_.InvalidateAll();
}

void TBmpButModel::SetTextHeight(int pixels) {
  if (SetField(textHeight_, pixels) && groupon_) Resized();
}

void TBmpButModel::Resized() {
  if (OnResize) OnResize();
  host_.InvalidateAll();
}

int TBmpButModel::GlyphCellWidth() const { return HasGlyph() ? glyphWidth_ / bcols_ : kDefaultGlyphCell; }
int TBmpButModel::GlyphCellHeight() const { return HasGlyph() ? glyphHeight_ / brows_ : kDefaultGlyphCell; }

TSize TBmpButModel::PreferredSize() const {
  int cols = Collapsed() ? 1 : cols_, rows = Collapsed() ? 1 : rows_;
  return {cols * CellWidth() + FrameWidth() + 1, rows * CellHeight() + 1 + FrameHeight()};
}

TRect TBmpButModel::ButtonArea() const {
  int cols = Collapsed() ? 1 : cols_, rows = Collapsed() ? 1 : rows_;
  int left = groupon_ ? FrameWidth() / 2 : 0, top = groupon_ ? textHeight_ + 4 : 0;
  return {left, top, left + cols * CellWidth() + 1, top + rows * CellHeight() + 1};
}

TRect TBmpButModel::ButtonRect(int k) const {
  TRect area = ButtonArea();
  int r = Collapsed() ? 0 : k / cols_, c = Collapsed() ? 0 : k % cols_;
  int left = area.Left + c * CellWidth(), top = area.Top + r * CellHeight();
  return {left, top, left + CellWidth() + 1, top + CellHeight() + 1};
}

int TBmpButModel::ButtonAt(int x, int y) const {
  TRect area = ButtonArea();
  if (!area.Contains({x, y})) return -1;
  int c = std::min((x - area.Left) / CellWidth(), cols_ - 1);
  int r = std::min((y - area.Top) / CellHeight(), rows_ - 1);
  return r * cols_ + c;
}

bool TBmpButModel::Selected(int k) const {
  if (toggle_) return k >= 0 && k < kMaxToggles && (mask_ >> k & 1) != 0;
  return k == itemIndex_;
}

TRect TBmpButModel::GlyphSource(int k) const {
  int i = WrapIndex(k, ButtonCount());
  int w = GlyphCellWidth(), h = GlyphCellHeight();
  int col = i % bcols_, row = i / bcols_;
  return {col * w, row * h, col * w + w, row * h + h};
}

TRect TBmpButModel::GlyphDest(int k) const {
  TRect button = ButtonRect(k);
  TRect source = GlyphSource(k);
  int left = button.Left + (button.Width() - source.Width()) / 2, top = button.Top + 2;
  TRect dest{left, top, left + source.Width(), top + source.Height()};
  return IntersectRect(dest, {button.Left + 2, button.Top + 2, button.Right - 2, button.Bottom - 2});
}

void TBmpButModel::SetItemindex(int i) {
  if (toggle_) {
    if (i >= 0 && i < kMaxToggles) {
      mask_ ^= int32_t(1) << i;
      itemIndex_ = i;
      host_.Invalidate(ButtonRect(i));
    }
  } else if (i != itemIndex_) {
    if (itemIndex_ >= 0) host_.Invalidate(ButtonRect(itemIndex_));
    itemIndex_ = i;
    if (i >= 0) host_.Invalidate(ButtonRect(i));
    if (collapse_) host_.InvalidateAll();
  }
  if (Onchange) Onchange();
}

bool TBmpButModel::KeyDown(int key) {
  int count = ItemCount();
  switch (key) {
    case vk::Return:
      if (toggle_ && itemIndex_ >= 0) SetItemindex(itemIndex_);
      if (OnEnterKey) OnEnterKey();
      return true;
    case vk::Escape:
      if (OnEscKey) OnEscKey();
      return false;
    default: break;
  }
  if (count == 0) return false;
  switch (key) {
    case vk::Space:
    case vk::Down: SetItemindex(WrapIndex(itemIndex_ + cols_, count)); return false;
    case vk::Up: SetItemindex(WrapIndex(itemIndex_ - cols_, count)); return false;
    case vk::Left: SetItemindex(WrapIndex(itemIndex_ - 1, count)); return false;
    case vk::Right: SetItemindex(WrapIndex(itemIndex_ + 1, count)); return false;
    case vk::Home: SetItemindex(0); return false;
    case vk::End: SetItemindex(count - 1); return false;
    default: break;
  }
  int at = AcceleratorIndex(accelerators_, key);
  if (at < 0) return false;
  SetItemindex(at);
  return true;
}

void TBmpButModel::KeyPress(char) { host_.Beep(kBeepSimple); }

std::string TBmpButModel::Accelerators() const {
  std::string letters;
  if (char letter = ItemAccelerator(caption_)) letters += letter;
  for (char letter : accelerators_)
    if (letter != ' ' && letter != 0) letters += letter;
  return letters;
}

bool TBmpButModel::DialogChar(char ch) {
  char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  if (upper == 0) return false;
  if (ItemAccelerator(caption_) == upper) {
    host_.SetFocus();
    return true;
  }
  int n = static_cast<int>(accelerators_.size());
  for (int step = 1; step <= n; ++step) {
    int i = WrapIndex(itemIndex_ + step, n);
    if (accelerators_[i] != upper) continue;
    host_.SetFocus();
    SetItemindex(i);
    return true;
  }
  return false;
}

void TBmpButModel::SelectFrom(int i, bool beep) {
  if (i < 0 || i >= ItemCount()) return;
  SetItemindex(i);
  if (beep) host_.Beep(kBeepSimple);
}

void TBmpButModel::MouseDown(TMouseButton button, int x, int y) {
  if (button != TMouseButton::mbLeft) return;
  host_.SetFocus();
  if (collapse_ && !open_) {
    open_ = true;
    Resized();
  }
  if (!ButtonArea().Contains({x, y})) return;
  SetSticky(true);
  int k = ButtonAt(x, y);
  if (k < 0 || k >= ItemCount()) return;
  pressed_ = true;
  SelectFrom(k, true);
}

void TBmpButModel::MouseMove(int x, int y) {
  if (!pressed_ || toggle_) return;
  int k = ButtonAt(x, y);
  if (k >= 0 && k < ItemCount() && k != itemIndex_) SetItemindex(k);
}

void TBmpButModel::MouseUp(TMouseButton button, int, int) {
  if (button != TMouseButton::mbLeft) return;
  pressed_ = false;
  if (open_) {
    open_ = false;
    Resized();
  }
}

void TBmpButModel::PaintButton(TCanvas& canvas, int k, const TGlyphPainter& drawGlyph) {
  TRect r = ButtonRect(k);
  bool selected = Selected(k);
  TRect face;
  if (selected && sticky_) {
    face = DrawBevel(canvas, {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1}, kEdgeShadow, kEdgeLight);
    FillSolid(canvas, face, kEdgeShadow);
  } else {
    face = DrawButton(canvas, {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1}, false);
  }
  TRect dest = GlyphDest(k);
  if (HasGlyph() && drawGlyph && !dest.IsEmpty()) drawGlyph(canvas, dest, GlyphSource(k));
  int i = WrapIndex(k, ButtonCount());
  if (!labelOn_ || i >= ItemCount()) return;
  std::string text = ItemDisplayText(items_[i]).substr(0, kMaxLabel);
  // Under a glyph the label takes the lowest 22 pixels; alone, the face.
  TRect band{face.Left + 1, HasGlyph() ? r.Bottom - kLabelBand : face.Top, face.Right - 1, r.Bottom - 2};
  canvas.Brush.Style = TBrushStyle::bsClear;
  canvas.Font.Color = !selected ? clBlack : sticky_ ? clBlue : clWhite;
  int width = canvas.TextWidth(text);
  // A label wider than its button is drawn smaller, down to a legible
  // height, so that it shows whole.
  constexpr int kSmallestLabelHeight = 8;
  while (width > band.Width() && std::abs(canvas.Font.Height) > kSmallestLabelHeight) {
    canvas.Font.Height += canvas.Font.Height < 0 ? 1 : -1;
    width = canvas.TextWidth(text);
  }
  int x = alignment_ == talign::ta_left     ? r.Left + 4
          : alignment_ == talign::ta_center ? r.Left + (r.Width() - width) / 2
                                            : r.Right - 4 - width;
  // A label wider than its button shows its beginning.
  if (width > band.Width()) x = band.Left;
  int y = band.Top + (band.Height() - canvas.TextHeight(text)) / 2;
  canvas.TextRect(band, x, y, text);
  canvas.Brush.Style = TBrushStyle::bsSolid;
}

void TBmpButModel::Paint(TCanvas& canvas, bool focused, const TGlyphPainter& drawGlyph) {
  TCanvasStateSaver saved(canvas);
  TRect client = host_.ClientRect();
  if (groupon_) {
    FillSolid(canvas, client, clBtnFace);
    int half = textHeight_ / 2;
    TRect frame{0, half, client.Right, client.Bottom};
    TRect inner = DrawBevel(canvas, frame, kEdgeShadow, kEdgeLight);
    DrawBevel(canvas, inner, kEdgeLight, kEdgeShadow);
    std::string caption = ItemDisplayText(caption_);
    canvas.Font.Color = focused ? clBlue : clBlack;
    canvas.Brush = TBrush{clBtnFace};
    canvas.TextOut(frame.Left + 8, 0, caption);
  }
  TRect area = ButtonArea();
  canvas.Brush = TBrush{clBlack};
  canvas.FrameRect(area);
  // Collapsed, only the selected button shows, in the first cell.
  if (Collapsed()) {
    PaintButton(canvas, std::max(itemIndex_, 0), drawGlyph);
    return;
  }
  for (int k = 0; k < ButtonCount(); ++k) PaintButton(canvas, k, drawGlyph);
}

}  // namespace corvane

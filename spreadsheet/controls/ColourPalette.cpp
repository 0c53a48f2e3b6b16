// Palettes, the palette control's cells and selection, and the drop-down
// panels' faces.
#include "spreadsheet/controls/ColourPalette.h"

#include <algorithm>
#include <cstdlib>

#include "spreadsheet/controls/ControlDrawing.h"

namespace corvane {

using namespace classlib;

const std::array<TColor, 56> kBigPalette = {
    0xFFFFFF, 0xDFDFDF, 0xFF8080, 0xFFC080, 0xFFFF80, 0xC0FF80, 0x80FF80, 0x80FFC0, 0x80FFFF, 0x80C0FF,
    0x8080FF, 0xC080FF, 0xFF80FF, 0xFF80C0, 0xC0C0C0, 0xA1A1A1, 0xFF0000, 0xFF8000, 0xFFFF00, 0x80FF00,
    0x00FF00, 0x00FF80, 0x00FFFF, 0x0080FF, 0x0000FF, 0x8000FF, 0xFF00FF, 0xFF0080, 0x808080, 0x606060,
    0xC00000, 0xC06000, 0xC0C000, 0x60C000, 0x00C000, 0x00C060, 0x00C0C0, 0x0060C0, 0x0000C0, 0x6000C0,
    0xC000C0, 0xC00060, 0x404040, 0x000000, 0x800000, 0x804000, 0x808000, 0x408000, 0x008000, 0x008040,
    0x008080, 0x004080, 0x000080, 0x400080, 0x800080, 0x800040};
const std::array<TColor, 16> kSmallPalette = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                              0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                              0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

namespace {
int Red(TColor c) { return static_cast<int>(c & 0xFF); }
int Green(TColor c) { return static_cast<int>(c >> 8 & 0xFF); }
int Blue(TColor c) { return static_cast<int>(c >> 16 & 0xFF); }
constexpr int kMaxDropRows = 20;
constexpr int kScrollBarWidth = 20;
}  // namespace

int NearestPaletteCell(const TColor* palette, int count, TColor color) {
  int best = 0, bestDistance = 0;
  for (int i = 0; i < count; ++i) {
    TColor p = palette[i];
    int d = std::abs(Red(p) - Red(color)) + std::abs(Green(p) - Green(color)) + std::abs(Blue(p) - Blue(color));
    if (i == 0 || d < bestDistance) best = i, bestDistance = d;
    if (d == 0) break;
  }
  return count > 0 ? best + 1 : 0;
}

TColor SwatchTextColor(TColor swatch) { return Red(swatch) > 128 || Green(swatch) > 128 ? clBlack : clWhite; }

TRect PaintDropPanel(TCanvas& canvas, const TRect& client, TColor color, bool pressed) {
  FillSolid(canvas, client, color);
  return pressed ? DrawBevel(canvas, DrawBevel(canvas, client, clBlack, kEdgeLight), kEdgeShadow, color)
                 : DrawBevel(canvas, DrawBevel(canvas, client, kEdgeLight, clBlack), color, kEdgeShadow);
}

void PaintColourCombo(TCanvas& canvas, const TRect& client, TColor clr, const std::string& caption, bool pressed) {
  TCanvasStateSaver saved(canvas);
  PaintDropPanel(canvas, client, clBtnFace, pressed);
  TRect swatch{4, 2, client.Right - 16, client.Bottom - 2};
  canvas.Brush = TBrush{clr};
  canvas.Pen = TPen{canvas.Font.Color};
  canvas.Rectangle(swatch);
  canvas.Brush.Style = TBrushStyle::bsClear;
  canvas.Font.Color = SwatchTextColor(clr);
  canvas.TextRect(swatch, 8, 4, caption);
  int x = client.Right - 12, y = client.Height() / 2 - 1;
  const TPoint arrow[3] = {{x - 1, y - 1}, {x + 7, y - 1}, {x + 3, y + 3}};
  canvas.Pen = TPen{clBlack};
  canvas.Brush = TBrush{clBlack};
  canvas.Polygon(arrow);
}

TDropListSize DropListSize(int itemCount, int itemHeight, int widestItem, int panelWidth) {
  int rows = std::min(std::max(itemCount, 0), kMaxDropRows);
  int extra = itemCount > kMaxDropRows ? kScrollBarWidth : 0;
  return {rows, std::max(panelWidth, widestItem + extra), itemHeight * rows + 4};
}

TRect PopupAbove(const TRect& panel, TSize size) {
  return {panel.Left, panel.Top - size.cy, panel.Left + size.cx, panel.Top};
}

TClrboxModel::TClrboxModel(TControlHost& host) : host_(host) {}

void TClrboxModel::SetBig(bool on) {
  if (!SetField(big_, on)) return;
  if (cindex_ > CellCount()) cindex_ = 0;
  host_.InvalidateAll();
}

void TClrboxModel::SetOrient(int orient) {
  if (SetField(orient_, orient == 1 ? 1 : 0)) host_.InvalidateAll();
}

void TClrboxModel::SetCindex(int k) {
  if (k < 0 || k > CellCount()) return;
  if (k == 0) {
    if (SetField(cindex_, 0)) host_.InvalidateAll();
    return;
  }
  Select(k);
}

void TClrboxModel::Setvalue(TColor c) {
  value_ = c;
  const TColor* palette = big_ ? kBigPalette.data() : kSmallPalette.data();
  Select(NearestPaletteCell(palette, CellCount(), c));
}

TColor TClrboxModel::CellColor(int k) const {
  if (k < 1 || k > CellCount()) return clBlack;
  return big_ ? kBigPalette[k - 1] : kSmallPalette[k - 1];
}

int TClrboxModel::Rows() const {
  int rows = big_ ? 4 : 2, cols = big_ ? 14 : 8;
  return orient_ == 1 ? cols : rows;
}

int TClrboxModel::Columns() const {
  int rows = big_ ? 4 : 2, cols = big_ ? 14 : 8;
  return orient_ == 1 ? rows : cols;
}

TSize TClrboxModel::CellSize() const {
  TRect client = host_.ClientRect();
  return {std::max((client.Width() - 1) / Columns(), 4), std::max((client.Height() - 1) / Rows(), 4)};
}

TRect TClrboxModel::CellRect(int k) const {
  int a = (k - 1) % (orient_ == 1 ? Rows() : Columns()), b = (k - 1) / (orient_ == 1 ? Rows() : Columns());
  int col = orient_ == 1 ? b : a, row = orient_ == 1 ? a : b;
  TSize cell = CellSize();
  return {col * cell.cx, row * cell.cy, col * cell.cx + cell.cx + 1, row * cell.cy + cell.cy + 1};
}

int TClrboxModel::CellAt(int x, int y) const {
  TSize cell = CellSize();
  int col = std::clamp(x / cell.cx, 0, Columns() - 1), row = std::clamp(y / cell.cy, 0, Rows() - 1);
  if (x < 0) col = 0;
  if (y < 0) row = 0;
  return orient_ == 1 ? col * Rows() + row + 1 : row * Columns() + col + 1;
}

void TClrboxModel::Select(int k) {
  if (k == cindex_) {
    value_ = CellColor(k);
    return;
  }
  int old = cindex_;
  cindex_ = k;
  value_ = CellColor(k);
  host_.DrawNow([&](TCanvas& canvas) {
    if (old > 0) PaintCell(canvas, old);
    PaintCell(canvas, k);
  });
  host_.Beep(kBeepSimple);
  if (Onchange) Onchange();
}

void TClrboxModel::MouseDown(TMouseButton button, int x, int y) {
  if (button != TMouseButton::mbLeft) return;
  pressed_ = true;
  Select(CellAt(x, y));
}

void TClrboxModel::MouseMove(int x, int y) {
  if (pressed_) Select(CellAt(x, y));
}

void TClrboxModel::MouseUp(TMouseButton button, int x, int y) {
  if (button != TMouseButton::mbLeft || !pressed_) return;
  pressed_ = false;
  Select(CellAt(x, y));
  if (onclick) onclick();
}

bool TClrboxModel::KeyDown(int key) {
  const int k = cindex_ > 0 ? cindex_ : 1;
  const int along = orient_ == 1 ? Rows() : Columns();
  const int a = (k - 1) % along, b = (k - 1) / along;
  int col = orient_ == 1 ? b : a, row = orient_ == 1 ? a : b;
  if (!GridKeyMove(key, Rows(), Columns(), row, col)) return false;
  const int next = orient_ == 1 ? col * Rows() + row + 1 : row * Columns() + col + 1;
  host_.InvalidateAll();
  Select(std::clamp(next, 1, CellCount()));
  if (onclick) onclick();
  return true;
}

void TClrboxModel::PaintFocus(TCanvas& canvas) {
  if (cindex_ > 0) canvas.DrawFocusRect(CellRect(cindex_));
}

void TClrboxModel::PaintCell(TCanvas& canvas, int k) {
  TRect r = CellRect(k);
  canvas.Pen = TPen{clBlack};
  canvas.Brush = TBrush{CellColor(k)};
  canvas.Rectangle(r);
  if (k != cindex_) return;
  canvas.Brush = TBrush{clWhite};
  canvas.FrameRect(r);
  canvas.Brush = TBrush{clBlack};
  canvas.FrameRect(r.Inflate(-1, -1));
}

void TClrboxModel::Paint(TCanvas& canvas) {
  TCanvasStateSaver saved(canvas);
  FillSolid(canvas, host_.ClientRect(), clBtnFace);
  for (int k = 1; k <= CellCount(); ++k) PaintCell(canvas, k);
}

}  // namespace corvane

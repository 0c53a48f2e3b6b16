// The colour palette and the drop-down pickers' portable parts: the 56- and
// 16-colour palettes (their order is stored in cells and graphs, so it never
// changes), the nearest palette cell of a colour, TClrboxModel (the palette
// control without its window), the faces of the drop-down panels and the
// size of a string list's pop-up.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "spreadsheet/controls/ControlBase.h"

namespace corvane {

extern const std::array<TColor, 56> kBigPalette;
extern const std::array<TColor, 16> kSmallPalette;

// The 1-based cell of `palette` nearest to `color` by the sum of the absolute
// differences of red, green and blue; the first cell wins ties.
int NearestPaletteCell(const TColor* palette, int count, TColor color);

// The caption colour over a swatch of `swatch`: black when its red or green
// part exceeds 128, else white.
TColor SwatchTextColor(TColor swatch);

// The face of a drop-down panel: `color` with a raised edge (white left,
// grey and black right; swapped while pressed). Returns the inside.
TRect PaintDropPanel(TCanvas& canvas, const TRect& client, TColor color, bool pressed);
// The colour picker's face: the panel, a swatch of `clr` with the caption
// over it and the drop arrow at the right.
void PaintColourCombo(TCanvas& canvas, const TRect& client, TColor clr, const std::string& caption, bool pressed);

// The string list's pop-up: 20 rows at most, 20 pixels more for the scroll
// bar when there are more items; as wide as the panel or the widest item.
struct TDropListSize {
  int Rows, Width, Height;
};
TDropListSize DropListSize(int itemCount, int itemHeight, int widestItem, int panelWidth);
// Where a pop-up of `size` opens above a panel whose screen rectangle is
// `panel`: at its left, its bottom at the panel's top.
TRect PopupAbove(const TRect& panel, TSize size);

class TClrboxModel {
 public:
  explicit TClrboxModel(TControlHost& host);

  bool Big() const { return big_; }
  void SetBig(bool on);
  int Orient() const { return orient_; }
  void SetOrient(int orient);
  int Cindex() const { return cindex_; }
  // Accepted from 0 (none) to the palette's size; others are ignored.
  void SetCindex(int k);
  TColor value() const { return value_; }
  // Selects the nearest palette cell; value becomes that cell's colour.
  void Setvalue(TColor c);

  int CellCount() const { return big_ ? 56 : 16; }
  TColor CellColor(int k) const;
  int Rows() const;
  int Columns() const;
  TSize CellSize() const;
  TRect CellRect(int k) const;
  // The cell under (x, y), clamped to the grid.
  int CellAt(int x, int y) const;

  void MouseDown(TMouseButton button, int x, int y);
  void MouseMove(int x, int y);
  void MouseUp(TMouseButton button, int x, int y);
  // The arrows, Home and End choose the neighbouring cell (the first when
  // none is chosen) as a click does; false for other keys.
  bool KeyDown(int key);
  void Paint(TCanvas& canvas);
  // The focus frame around the chosen cell, while the palette has the focus.
  void PaintFocus(TCanvas& canvas);

  std::function<void()> Onchange;
  std::function<void()> onclick;

 private:
  // Selects cell k: redraws the old and new cells, takes the colour, beeps and
  // fires Onchange; nothing when k is already selected.
  void Select(int k);
  void PaintCell(TCanvas& canvas, int k);

  TControlHost& host_;
  TColor value_ = classlib::clBlack;
  int cindex_ = 0;
  int orient_ = 0;
  bool big_ = true;
  bool pressed_ = false;
};

}  // namespace corvane

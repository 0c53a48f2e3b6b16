// TBmpButModel: the glyph button grid without its window. Rows x Cols push
// buttons, each showing one cell of a shared glyph bitmap and, below it, an
// optional label from Items. It is a single-choice selector (Itemindex) or,
// with Toggle, a set of independent toggles (Mask, one bit per button). With
// Groupon it draws a captioned group frame; with Collapse it shows only the
// selected button and opens to the whole grid while the mouse is held.
//
// Also here: the cells of a glyph bitmap cut into equal parts, which the
// glyph combo box uses as well.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "spreadsheet/controls/ControlBase.h"

namespace corvane {

// The upper-cased character after the first "&" of an item; 0 when it has
// none (0 is never typed, so such items never match a key).
char ItemAccelerator(std::string_view item);
// The first of `letters` (one per item, from ItemAccelerator) that is the
// key's letter upper-cased; -1 when none, and for keys beyond one byte.
int AcceleratorIndex(std::string_view letters, int key);
// a mod n within 0..n-1 for either sign of a; n > 0.
inline int WrapIndex(int a, int n) { return ((a % n) + n) % n; }
// An item's text without its accelerator mark ("&&" shows one "&").
std::string ItemDisplayText(std::string_view item);

// Cell `index` of a glyph bitmap `glyphWidth` x `glyphHeight` cut into `rows`
// x `cols` equal cells, counted along the rows: column index mod cols, row
// index div cols. Rows and columns below 1 count as 1.
TRect GlyphCellRect(int glyphWidth, int glyphHeight, int rows, int cols, int index);
// The item height of a glyph combo box: the cell height + 2 when the cell is
// at least `minCell` pixels high, else minCell + 2 (14 when Rows is set, 22
// once the box is loaded).
int GlyphComboItemHeight(int glyphHeight, int rows, int minCell);

enum class talign : std::uint8_t { ta_left, ta_center, ta_right };

class TBmpButModel {
 public:
  // Mask holds one bit per toggle, so a toggle grid uses its first 32 items.
  static constexpr int kMaxToggles = 32;
  // Accelerator letters are kept for this many items.
  static constexpr int kMaxAccelerators = 40;

  explicit TBmpButModel(TControlHost& host);

  // ---- Properties ----------------------------------------------------------
  bool Sticky() const { return sticky_; }
  void SetSticky(bool on);
  talign Alignment() const { return alignment_; }
  void SetAlignment(talign a);
  int32_t Mask() const { return mask_; }
  // Taken only in Toggle mode.
  void SetMask(int32_t mask);
  bool Toggle() const { return toggle_; }
  void SetToggle(bool on);
  bool LabelOn() const { return labelOn_; }
  void SetLabelOn(bool on);
  bool Groupon() const { return groupon_; }
  void SetGroupon(bool on);
  bool Collapse() const { return collapse_; }
  void SetCollapse(bool on);
  int Rows() const { return rows_; }
  void SetRows(int n);
  int Cols() const { return cols_; }
  void SetCols(int n);
  int Brows() const { return brows_; }
  void SetBrows(int n);
  int Bcols() const { return bcols_; }
  void SetBcols(int n);
  int Bw() const { return bw_; }
  void SetBw(int pixels);
  int Bh() const { return bh_; }
  void SetBh(int pixels);
  const std::vector<std::string>& Items() const { return items_; }
  void SetItems(std::vector<std::string> items);
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  // The glyph bitmap's size (0 x 0 without one): its cells are the
  // bitmap cut into Brows x Bcols, else 40 x 40.
  void SetGlyphSize(int width, int height);
  bool HasGlyph() const { return glyphWidth_ > 0 && glyphHeight_ > 0; }
  // The height of the caption's text, measured by the window.
  void SetTextHeight(int pixels);

  int Itemindex() const { return itemIndex_; }
  // Choice mode: selects button i (redrawing the old and the new one). Toggle
  // mode: flips bit i of Mask. Onchange fires after every write, changed or
  // not. A value outside the buttons is ignored in Toggle mode.
  void SetItemindex(int i);

  // ---- Geometry ------------------------------------------------------------
  int ItemCount() const { return static_cast<int>(items_.size()); }
  // The buttons the grid has: Rows x Cols.
  int ButtonCount() const { return rows_ * cols_; }
  int CellWidth() const { return bw_ + 4; }
  int CellHeight() const { return bh_ + 4; }
  // The size the control takes: the grid (one cell when collapsed and not
  // open) and the group frame's margins.
  TSize PreferredSize() const;
  TRect ButtonArea() const;
  // Button k's rectangle in the client area (collapsed: the first cell).
  TRect ButtonRect(int k) const;
  // The button under (x, y) inside the button area; -1 outside it.
  int ButtonAt(int x, int y) const;
  bool Selected(int k) const;
  // The glyph cell button k shows, its place in the bitmap, and where it is
  // drawn (centred, 2 pixels below the top, cut 2 pixels above the bottom).
  TRect GlyphSource(int k) const;
  TRect GlyphDest(int k) const;
  // True while a collapsed grid is held open.
  bool Open() const { return open_; }

  // ---- Input ---------------------------------------------------------------
  // A key down; true when it was consumed.
  bool KeyDown(int key);
  // A typed character (every one beeps).
  void KeyPress(char ch);
  // Alt+letter on the form: true when the caption's letter or an item's took
  // it (the control then has the focus).
  // The letters DialogChar takes (upper case): the caption's and the items'.
  std::string Accelerators() const;
  bool DialogChar(char ch);
  void MouseDown(TMouseButton button, int x, int y);
  void MouseMove(int x, int y);
  void MouseUp(TMouseButton button, int x, int y);

  // Paints the frame and the buttons; `drawGlyph` copies a cell of the glyph
  // bitmap (source rectangle) to the canvas (destination rectangle), with
  // silver as the transparent colour. `focused` colours the caption.
  using TGlyphPainter = std::function<void(TCanvas&, const TRect& dest, const TRect& source)>;
  void Paint(TCanvas& canvas, bool focused, const TGlyphPainter& drawGlyph);

  // ---- Events --------------------------------------------------------------
  std::function<void()> Onchange;
  std::function<void()> OnEnterKey;
  std::function<void()> OnEscKey;
  // The size changed: the window takes PreferredSize.
  std::function<void()> OnResize;

 private:
  void Resized();
  int FrameWidth() const { return groupon_ ? 12 : 0; }
  int FrameHeight() const { return groupon_ ? textHeight_ + 8 : 0; }
  bool Collapsed() const { return collapse_ && !open_; }
  void SelectFrom(int i, bool beep);
  void PaintButton(TCanvas& canvas, int k, const TGlyphPainter& drawGlyph);
  int GlyphCellWidth() const;
  int GlyphCellHeight() const;

  TControlHost& host_;
  bool sticky_ = false;
  talign alignment_ = talign::ta_center;
  int32_t mask_ = 0;
  bool toggle_ = false;
  int itemIndex_ = -1;
  bool labelOn_ = true;
  bool groupon_ = false;
  bool collapse_ = false;
  int brows_ = 1, bcols_ = 1;
  int glyphWidth_ = 0, glyphHeight_ = 0;
  int bw_ = 40, bh_ = 40;
  int rows_ = 1, cols_ = 1;
  std::vector<std::string> items_;
  std::string accelerators_;
  std::string caption_;
  int textHeight_ = 13;
  bool pressed_ = false;
  bool open_ = false;
};

}  // namespace corvane

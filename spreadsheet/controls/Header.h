// THeaderModel: the column or row header strip of a grid pane, without its
// window. It owns (or shares) the size table of its indices and the prefix-sum
// table of their positions, scales both by the zoom percent, knows the frozen
// band and the first scrolled index, and turns presses and drags into span
// clicks and border resizes. The Windows TCheader is a thin window over it.
//
// Size-table entries are 16-bit: 255 means the default size; a column entry
// counts units of 8 pixels, a row entry pixels, both at 100 % zoom. Worksheet
// files keep each entry in one byte, so explicit sizes stay at 254 or less.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "spreadsheet/controls/ControlBase.h"

namespace corvane {

inline constexpr int kDefaultSize = 255;    // a size entry meaning "the default size"
inline constexpr int kMaxExplicitSize = 254;  // the largest explicit size a file can keep

// A header's two tables. Two panes of one sheet window share one set through
// shared ownership; positions are rebuilt lazily from the sizes for whichever
// header reads them with another scale or default size.
struct THeaderTables {
  explicit THeaderTables(int maxCols);
  std::vector<std::uint16_t> sizes;      // MaxCols + 2 entries, 255 everywhere at first
  std::vector<std::int32_t> positions;   // pos[0] = 0, pos[i + 1] = pos[i] + size(i)
  bool positionsValid = false;
  int builtScale = 0, builtDefwidth = 0, builtDir = -1;
};

class THeaderModel {
 public:
  explicit THeaderModel(TControlHost& host);

  // ---- Properties -----------------------------------------------------------
  int Dir() const { return dir_; }  // 0 column header, 1 row header
  void SetDir(int dir);
  int MaxCols() const { return maxCols_; }
  // New tables of `n` entries, all default; a borrowed pair is let go.
  void SetMaxCols(int n);
  int Leftcol() const { return leftcol_; }
  // At least Fixpos; repaints when it changes.
  void SetLeftcol(int index);
  int Fixsize() const { return fixsize_; }
  void SetFixsize(int pixels);
  int Defwidth() const { return defwidth_; }
  void SetDefwidth(int pixels);
  // The zoom percent; 0 or less counts as 100 so that no size divides by 0.
  int Scale() const { return scale_; }
  void SetScale(int percent);
  int Fixpos() const { return fixpos_; }
  void SetFixpos(int index);
  int Fixpos2() const { return fixpos2_; }
  void SetFixpos2(int index);
  int Page() const { return page_; }
  void SetPage(int page);
  int Pagesize() const { return pagesize_; }
  void SetPagesize(int n);
  bool D3on() const { return d3on_; }
  void SetD3on(bool on);

  // ---- Geometry -------------------------------------------------------------
  // The scaled size of index i in pixels; indices at MaxCols and beyond
  // measure 254 (rows) or 2032 (columns) pixels at any zoom.
  int Size(int i) const;
  // The sum of the sizes before index i (0 for i < 0).
  int Pos(int i) const;
  // The pixel size of the frozen band, Fixpos..Fixpos2 - 1.
  int FixAmt() const;
  // The indices drawn from Leftcol in the client length: the last one, and
  // how many count as in view (the last drawn one less, so that the index
  // after the view is never taken for a visible one). 0 when none fits.
  int RightCol() const;
  int NCols() const;
  // The stored entry of index i (255 for indices outside the table).
  int Entry(int i) const;

  // ---- Size changes -----------------------------------------------------------
  // Stores the entry for a size of `pixels` at the current zoom (columns in
  // units of 8). Entries above 255 are kept at 254 so that a file keeps them;
  // 255 itself stays "default". Repaints when the entry changed.
  void SizeFromPixels(int i, int pixels);
  // Stores a raw entry (negative as 0, above 255 as 254) without repainting;
  // indices outside 0..MaxCols - 1 are ignored.
  void SetRawEntry(int i, int v);
  // Inserts n entries at i: the entries from i move up by n (the last n fall
  // off the end) and i..i + n - 1 keep the sizes they had. Counts that reach
  // past the table are cut to it; n <= 0 does nothing.
  void InsertEntries(int i, int n);
  // Deletes n entries at i: the entries from i + n move down by n and the n
  // freed at the end become default. Counts are cut to the table.
  void DeleteEntries(int i, int n);
  // Makes this header use `tables` (shared with another header).
  void UseTables(std::shared_ptr<THeaderTables> tables);
  const std::shared_ptr<THeaderTables>& Tables() const { return tables_; }

  // ---- Mouse ------------------------------------------------------------------
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  void MouseMove(TShiftState shift, int x, int y);
  // Over a border (not pressed) the mouse shows the split shape of the
  // header's direction, elsewhere the default.
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  // The border hit at coordinate c along the header: i when the border at the
  // end of index i - 1 lies within 3 pixels, else 0.
  int BorderAt(int c) const;
  // The index at coordinate c: -1 in the corner or the frozen band.
  int IndexAt(int c) const;

  // ---- Painting ---------------------------------------------------------------
  void Paint(TCanvas& canvas);

  // ---- Events -------------------------------------------------------------------
  std::function<void(const std::string& s)> Onmsg;  // never fired by the header
  std::function<void(int x)> OnSizing;   // a border moves; x is its position along the header
  std::function<void()> OnSized;         // a resize starts or ends, or the header scrolled itself
  std::function<void(int cf, int ct)> Onclick;  // a span of indices was pressed, first to last

  TControlHost& Host() const { return host_; }

 private:
  int EffectiveScale() const { return scale_ > 0 ? scale_ : 100; }
  int ClientLength() const;
  int ZoneStart() const { return FixAmt() + fixsize_; }
  int Along(int x, int y) const { return dir_ == 0 ? x : y; }
  void EnsurePositions() const;
  void NewTables();
  void Repaint() { host_.InvalidateAll(); }
  int SizingPosition(int i) const;
  void ApplyResize(int c);
  void PaintIndex(TCanvas& canvas, int i, int start, int length);

  TControlHost& host_;
  std::shared_ptr<THeaderTables> tables_;
  int dir_ = 0;
  int maxCols_ = 10;
  int leftcol_ = 0;
  int fixsize_ = 40;
  int defwidth_ = 64;
  int scale_ = 100;
  int fixpos_ = 0;
  int fixpos2_ = 0;
  int page_ = 0;
  int pagesize_ = 10;
  bool d3on_ = false;

  bool pressed_ = false;
  bool resizing_ = false;
  int resizeIndex_ = 0;
  int resizeStartSize_ = 0;
  int pressIndex_ = -1;
  int currentIndex_ = -1;
  int pressPosition_ = 0;
};

// The letters a header shows for column n counted from 1: "A".."Z",
// "AA".."IV" (the engine's ColumnLetters counts from 0).
std::string HeaderLetters(int n);

}  // namespace corvane

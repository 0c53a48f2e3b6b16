// TGridModel: the worksheet view of one sheet pane, without its windows. It
// keeps view state only (cursor, selection and anchor, scroll origin, frozen
// titles, zoom, sheet pages) for 256 columns by 8192 rows and paints no cell
// itself: every visible row goes to the owner's OnDrawRow, and cursor and
// scroll changes are reported through OnChange and OnChangeTop.
//
// It drives four parts: the column and row headers (THeaderModel), which hold
// the sizes and positions, the vertical scroll bar (TScrollBarModel), and the
// cell area, whose host carries the caret, the drag timer and the drawing.
// The Windows TGrid puts a window under each and forwards their input here.
//
// Indices are rows 0..8191 and columns 0..255. A negative index handed to
// OnDrawRow or CellRect is the one's complement (~i) of a row or column of the
// frozen title band. Every move is clamped to the sheet, with a beep, before
// any arithmetic can take it past IV or row 8192.
#pragma once

#include <cstdint>
#include <functional>

#include "classlib/ControlHost.h"
#include "spreadsheet/controls/Header.h"
#include "spreadsheet/controls/ScrollBar.h"
#include "spreadsheet/engine/Range.h"

namespace corvane {


// The program-wide values the grids read: the zoom percent, whether every
// cursor move plays the default sound, and a style added to the grids' window
// style. The main frame keeps them from its settings.
struct TGridSettings {
  int Zoom = 100;
  bool MoveSound = false;
  std::uint32_t WindowStyle = 0;
};
TGridSettings& GridSettings();

// Where the grid puts its four parts, in its own client coordinates.
struct TGridLayout {
  TRect ColHeader, RowHeader, ScrollBar, Cells;
};

// Replay key codes outside the standard key set: one screen right (like Tab),
// one screen left, and one page plus one screen down or up.
namespace vkgrid {
constexpr int ScreenRight = 146, ScreenLeft = 147, PageScreenDown = 148, PageScreenUp = 149;
}

class TGridModel {
 public:
  static constexpr int kLastRow = 8191;
  static constexpr int kLastCol = 255;
  static constexpr int kRows = 8192;
  static constexpr int kCols = 256;
  static constexpr int kDragTimer = 1;
  static constexpr unsigned kDragTimerMs = 50;

  TGridModel(TControlHost& cells, THeaderModel& colHeader, THeaderModel& rowHeader, TScrollBarModel& bar);
  TGridModel(const TGridModel&) = delete;
  TGridModel& operator=(const TGridModel&) = delete;

  // ---- Geometry, in cell-area pixels ----------------------------------------------
  TRect CellRect(int row, int col) const;
  TRect RangeRect(const TRange& range) const;
  // Draws at once on the cell area (a rubber rectangle, say), outside painting.
  void DrawOnCells(const std::function<void(TCanvas&)>& draw) { cells_.DrawNow(draw); }
  // The cell under a point; beyond an edge every 8 pixels count one more cell.
  // The result lies in first scrollable column..255 and first scrollable row..8191.
  void PointToCell(int x, int y, int& col, int& row) const;
  int ColWidth(int col) const { return colHeader_.Size(col); }
  int RowHeight(int row) const { return rowHeader_.Size(row); }
  int ColOffset(int col) const { return colHeader_.Pos(col) - colHeader_.Pos(Leftcol()); }
  int RowOffset(int row) const { return rowHeader_.Pos(row) - rowHeader_.Pos(Toprow()); }
  bool ColIsDefault(int col) const { return colHeader_.Entry(col) == kDefaultSize; }

  // ---- Cursor and selection --------------------------------------------------------
  // Moves the cursor, scrolling as needed; a target outside the sheet or in
  // the frozen band is clamped with a beep. `bottom` asks a downward jump to
  // put the target row at the bottom of the view. However the move scrolls,
  // the cursor cell ends wholly in view (a cell larger than the pane with
  // its top left corner in view).
  void MoveTo(int row, int col, bool bottom = false);
  // Scrolls the view, when needed, until the cursor cell shows as MoveTo
  // leaves it (after the scroll bars took the view elsewhere, say).
  void ScrollToCursor();
  void GetCursor(int& row, int& col) const { row = cursorRow_; col = cursorCol_; }
  int CursorRow() const { return cursorRow_; }
  int CursorCol() const { return cursorCol_; }
  // Moves the stored cursor by (drow, dcol), kept on the sheet; no painting.
  void OffsetCursor(int drow, int dcol);
  TRange GetSelection() const { return selection_; }
  // Replaces the selection (put in order) and repaints.
  void SetSelection(const TRange& range);
  void CollapseSelection();
  void ResetDefaults();
  bool ExtendMode() const { return extend_; }
  void SetExtendMode(bool on) { extend_ = on; }
  // Sticky extend mode set by the owner: keys do not end it.
  bool Anchored() const { return anchored_; }
  void SetAnchored(bool on) { anchored_ = on; }
  int AnchorRow() const { return anchorRow_; }
  int AnchorCol() const { return anchorCol_; }

  // ---- Scrolling and titles ----------------------------------------------------------
  // SetToprow and SetLeftcol repaint the cells and the header when the view
  // moves; the cursor stays where it is.
  int Toprow() const { return rowHeader_.Leftcol(); }
  void SetToprow(int row);
  int Leftcol() const { return colHeader_.Leftcol(); }
  void SetLeftcol(int col);
  // Rows and columns in view from Toprow and Leftcol (see THeaderModel::NCols).
  int Nrows() const { return rowHeader_.NCols(); }
  int Ncols() const { return colHeader_.NCols(); }
  // The last row (column) from Toprow (Leftcol) that the cell area shows
  // whole; Toprow (Leftcol) itself when even that one is cut.
  int LastWholeRow() const;
  int LastWholeCol() const;
  // mode 0 clears; bit 0 freezes the rows from Toprow to row - 1, bit 1 the
  // columns from Leftcol to col - 1. An axis whose band would be empty or
  // fill the whole pane is refused with a beep.
  void FreezeTitles(int mode, int row, int col);
  void SetTitles(int mode) { FreezeTitles(mode, cursorRow_, cursorCol_); }
  void ClearTitles();
  bool HasTitles() const { return colHeader_.FixAmt() != 0 || rowHeader_.FixAmt() != 0; }
  int Fixcol1() const { return colHeader_.Fixpos(); }
  int FixCol2() const { return colHeader_.Fixpos2(); }
  int Fixrow1() const { return rowHeader_.Fixpos(); }
  int Fixrow2() const { return rowHeader_.Fixpos2(); }
  void SetFixcol1(int col) { colHeader_.SetFixpos(col); }
  void SetFixCol2(int col);
  void SetFixrow1(int row) { rowHeader_.SetFixpos(row); }
  void SetFixrow2(int row);
  int FirstScrollableRow() const { return firstRow_; }
  int FirstScrollableCol() const { return firstCol_; }

  // ---- Sizes --------------------------------------------------------------------------
  // Raw size-table entries (255 the default); see THeaderModel::SetRawEntry.
  void SetColSize(int col, int v) { colHeader_.SetRawEntry(col, v); }
  void SetRowSize(int row, int v) { rowHeader_.SetRawEntry(row, v); }
  int ColSize(int col) const { return colHeader_.Entry(col); }
  int RowSize(int row) const { return rowHeader_.Entry(row); }
  void SetColWidth(int col, int pixels);
  void SetRowHeight(int row, int pixels);
  // n > 0 inserts n entries at index, n <= 0 deletes -n.
  void ShiftColSizes(int index, int n);
  void ShiftRowSizes(int index, int n);
  // Both grids then use one set of size and position tables; each grid keeps
  // a share of them, so either may go first.
  void ShareSizeTables(TGridModel& other);
  int Pages() const { return pages_; }
  // Divides the rows into p sheet pages (1..8192); other values are ignored.
  void SetPages(int p);
  int RowsPerPage() const { return rowsPerPage_; }

  // ---- Properties -------------------------------------------------------------------------
  bool IgCtrl = false;
  bool Select = true;
  int PaneNumber = 0;  // written by the owner, never read here
  int Grid() const { return grid_; }
  void SetGrid(int mode);
  bool D3on() const { return colHeader_.D3on(); }
  void SetD3on(bool on);
  int DefWidth() const { return colHeader_.Defwidth(); }
  void SetDefWidth(int pixels);
  int DefHeight() const { return rowHeader_.Defwidth(); }
  void SetDefHeight(int pixels);
  int Fwidth() const { return fwidth_; }
  void SetFwidth(int pixels);
  int FHeight() const { return fheight_; }
  void SetFHeight(int pixels);
  int Mid() const { return bar_.Mid(); }
  // Passed on to the bar only when it differs and is above 60.
  void SetMid(int v);

  // ---- Layout and painting -----------------------------------------------------------------
  // Places the parts for a grid of the given size and asks for a repaint.
  void LayoutChildren(int width, int height);
  const TGridLayout& Layout() const { return layout_; }
  std::function<void(const TGridLayout&)> PlaceChildren;
  // Paints the cell area rows that meet `dirty`, frozen rows first, each
  // through OnDrawRow; a new program-wide zoom is applied first instead.
  void PaintCells(TCanvas& canvas, const TRect& dirty);
  void PaintCells(TCanvas& canvas) { PaintCells(canvas, cells_.ClientRect()); }
  // Draws the rows of `range` in view at once.
  void RedrawRange(const TRange& range);
  // Asks for the cell area and both headers to be painted again, after the
  // cells or the sizes changed behind the grid's back.
  void Repaint();
  void TakeFocus() { cells_.SetFocus(); }
  bool Focused() const { return cells_.Focused(); }
  void PlaceCaret();
  // Split-drag feedback across the cell area, in not-XOR red (drawn twice,
  // it is gone), and an inverting focus rectangle.
  void XorHLine(int y);
  void XorVLine(int x);
  void XorFocusRect(const TRect& r);
  // Fires OnDrawcell / OnGetcolor for the owner (the grid never calls them).
  void DrawCell(TCanvas& canvas, int row, int col, int& ncol, const TRect& r, int fmode);
  void GetCellColor(int row, int col, std::int32_t& t);

  // ---- Input from the windows ----------------------------------------------------------------
  // Keys reach the grid before its Onkeydown, which sees 0 for a key it used.
  void KeyDown(int& key, TShiftState shift);
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  void MouseMove(TShiftState shift, int x, int y);
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  void Timer(int id);
  void FocusChanged(bool focused);

  // ---- Events ----------------------------------------------------------------------------------
  std::function<void(TGridModel&)> OnVchange;
  std::function<void(TGridModel&)> Onsize;
  std::function<void(TGridModel&)> Onsized;
  std::function<void(TGridModel&, TCanvas&, int row, int cols, int cole, bool flag)> OnDrawRow;
  std::function<void(TGridModel&, int row, int col)> OnChange;
  std::function<void(TGridModel&, int row, int col)> OnChangeTop;
  std::function<void(TCanvas&, int row, int col, int& ncol, const TRect& r, int fmode)> OnDrawcell;
  std::function<void(int row, int col, std::int32_t& t)> OnGetcolor;
  std::function<void(TGridModel&, TMouseButton, TShiftState, int x, int y)> OnMouseDown;
  std::function<void(TGridModel&, TShiftState, int x, int y)> OnMouseMove;
  std::function<void(TGridModel&, TMouseButton, TShiftState, int x, int y)> Onmouseup;
  std::function<void(TGridModel&, int& key, TShiftState)> Onkeydown;

  THeaderModel& ColHeader() { return colHeader_; }
  THeaderModel& RowHeader() { return rowHeader_; }
  TScrollBarModel& ScrollBar() { return bar_; }

 private:
  class CaretHider;

  int CellWidth() const { return cells_.ClientRect().Width(); }
  int CellHeight() const { return cells_.ClientRect().Height(); }
  void Beep() { cells_.Beep(classlib::kBeepSimple); }
  // The top row (left column) that makes `row` (`col`) the last in view.
  int TopEndingAt(int row) const;
  int LeftEndingAt(int col) const;
  TRect RowRect(int row) const;
  // Sets the top row without drawing (a one-row scroll draws what it uncovers).
  void MoveTop(int row);
  // Moves the view so that (row, col) shows whole, keeping it as near as it
  // was; true when it moved.
  bool BringIntoView(int row, int col);
  void RebuildSelection();
  void RepaintAll() { cells_.InvalidateAll(); }
  void DrawRow(TCanvas& canvas, int row);
  void ScrollOneRow(bool down);
  void Change(int row, int col);
  void ChangeTop(int top, int left);
  void ExtendStep(int x, int y);
  void ColumnClick(int cf, int ct);
  void RowClick(int cf, int ct);
  void HeaderSizing();
  void HeaderSized();
  void BarChange();
  int CornerSize(int zoom) const;

  TControlHost& cells_;
  THeaderModel& colHeader_;
  THeaderModel& rowHeader_;
  TScrollBarModel& bar_;
  TGridLayout layout_;
  int width_ = 100, height_ = 100;

  int firstRow_ = 0, firstCol_ = 0;
  int fheight_ = 18, fwidth_ = 40;
  int appliedZoom_ = 100;
  int reportedTop_ = 0, reportedLeft_ = 0;
  int pages_ = 1, rowsPerPage_ = kRows;
  int grid_ = 3;
  bool dragging_ = false;
  bool dragTimerRunning_ = false;
  bool anchored_ = false;
  bool extend_ = false;
  bool barFeedbackOff_ = false;
  bool caretCreated_ = false;
  int cursorRow_ = 0, cursorCol_ = 0;
  int lastX_ = 0, lastY_ = 0;
  TRange selection_{0, 0, 0, 0};
  TRange previousSelection_{0, 0, 0, 0};
  int anchorRow_ = -1, anchorCol_ = -1;
};

}  // namespace corvane

// The grid view: geometry, cursor moves and their scroll decisions, keys,
// mouse and drag, header clicks, titles, pages and painting through OnDrawRow.
#include "spreadsheet/controls/Grid.h"

#include <algorithm>
#include <cstdlib>

#include "spreadsheet/controls/ControlDrawing.h"

namespace corvane {

using namespace classlib;

namespace {

constexpr int kBarWidth = 16;
constexpr int kHeaderHeight = 18;  // column header height at 100 %
constexpr int kCornerWidth = 40;   // row header width at 100 % and 96 pixels per inch
constexpr int kCaretWidth = 7, kCaretHeight = 2;

TRange Ordered(int c1, int r1, int c2, int r2) {
  TRange r;
  r.firstCol = static_cast<std::int16_t>(std::min(c1, c2));
  r.lastCol = static_cast<std::int16_t>(std::max(c1, c2));
  r.firstRow = static_cast<std::int16_t>(std::min(r1, r2));
  r.lastRow = static_cast<std::int16_t>(std::max(r1, r2));
  return r;
}

int EffectiveZoom(int zoom) { return zoom > 0 ? zoom : 100; }

}  // namespace

TGridSettings& GridSettings() {
  static TGridSettings settings;
  return settings;
}

// Hides the caret of a focused grid for its lifetime (nested hides are
// counted by the window system, so every hide gets its show).
class TGridModel::CaretHider {
 public:
  explicit CaretHider(TGridModel& grid) : grid_(grid), hidden_(grid.caretCreated_ && grid.cells_.Focused()) {
    if (hidden_) grid_.cells_.HideCaret();
  }
  ~CaretHider() {
    if (hidden_) grid_.cells_.ShowCaret();
  }
  CaretHider(const CaretHider&) = delete;
  CaretHider& operator=(const CaretHider&) = delete;

 private:
  TGridModel& grid_;
  bool hidden_;
};

TGridModel::TGridModel(TControlHost& cells, THeaderModel& colHeader, THeaderModel& rowHeader, TScrollBarModel& bar)
    : cells_(cells), colHeader_(colHeader), rowHeader_(rowHeader), bar_(bar) {
  fwidth_ = CornerSize(100);
  colHeader_.SetDir(0);
  colHeader_.SetMaxCols(kCols);
  colHeader_.SetFixsize(fwidth_);
  colHeader_.SetLeftcol(0);
  rowHeader_.SetDir(1);
  rowHeader_.SetMaxCols(kRows);
  rowHeader_.SetFixsize(0);
  rowHeader_.SetDefwidth(16);
  rowHeader_.SetLeftcol(0);
  rowHeader_.SetPagesize(kRows);
  ResetDefaults();
  bar_.SetDither(true);
  bar_.Largechange = 20;
  bar_.SetBand(20);
  bar_.SetBackcolor(kFaceSilver);
  bar_.SetMax(kLastRow);
  bar_.OnChange = [this] { BarChange(); };
  colHeader_.Onclick = [this](int cf, int ct) { ColumnClick(cf, ct); };
  rowHeader_.Onclick = [this](int cf, int ct) { RowClick(cf, ct); };
  colHeader_.OnSizing = rowHeader_.OnSizing = [this](int) { HeaderSizing(); };
  colHeader_.OnSized = rowHeader_.OnSized = [this] { HeaderSized(); };
}

int TGridModel::CornerSize(int zoom) const {
  return kCornerWidth * EffectiveZoom(zoom) * cells_.ScreenPixelsPerInch() / (100 * 96);
}

// ---- Geometry ---------------------------------------------------------------------------

TRect TGridModel::CellRect(int row, int col) const {
  TRect r;
  if (col >= 0) {
    r.Left = colHeader_.FixAmt() + colHeader_.Pos(col) - colHeader_.Pos(Leftcol());
    r.Right = r.Left + colHeader_.Size(col);
  } else {
    r.Left = colHeader_.Pos(~col) - colHeader_.Pos(colHeader_.Fixpos());
    r.Right = r.Left + colHeader_.Size(~col);
  }
  if (row >= 0) {
    r.Top = rowHeader_.FixAmt() + rowHeader_.Pos(row) - rowHeader_.Pos(Toprow());
    r.Bottom = r.Top + rowHeader_.Size(row);
  } else {
    r.Top = rowHeader_.Pos(~row) - rowHeader_.Pos(rowHeader_.Fixpos());
    r.Bottom = r.Top + rowHeader_.Size(~row);
  }
  return r;
}

TRect TGridModel::RangeRect(const TRange& range) const {
  TRect a = CellRect(range.firstRow, range.firstCol);
  TRect b = CellRect(range.lastRow, range.lastCol);
  return {a.Left, a.Top, b.Right, b.Bottom};
}

TRect TGridModel::RowRect(int row) const {
  TRect r = CellRect(row, 0);
  return {0, r.Top, CellWidth(), r.Bottom};
}

void TGridModel::PointToCell(int x, int y, int& col, int& row) const {
  int fix = colHeader_.FixAmt();
  if (x < fix) {
    col = Leftcol() - (fix - x + 8) / 8;
  } else if (x > CellWidth()) {
    col = cursorCol_ + (x - CellWidth() + 8) / 8;
  } else {
    int along = x - fix + colHeader_.Pos(Leftcol());
    int last = std::min(Leftcol() + Ncols(), kLastCol);
    col = last;
    for (int k = std::max(Leftcol() - 1, 0); k < last; ++k)
      if (colHeader_.Pos(k) <= along && along < colHeader_.Pos(k + 1)) {
        col = k;
        break;
      }
  }
  col = std::clamp(col, firstCol_, kLastCol);

  fix = rowHeader_.FixAmt();
  if (y < fix) {
    row = cursorRow_ - (fix - y + 8) / 8;
  } else if (y > CellHeight()) {
    row = cursorRow_ + (y - CellHeight() + 8) / 8;
  } else {
    // A point on a row border belongs to the upper row, so the top edge of
    // the first row in view belongs to the row above it.
    int along = y - fix + rowHeader_.Pos(Toprow());
    int last = std::min(Toprow() + Nrows(), kLastRow);
    row = along <= rowHeader_.Pos(Toprow()) ? Toprow() - 1 : last;
    for (int r = Toprow(); r < last && row == last; ++r)
      if (rowHeader_.Pos(r) < along && along <= rowHeader_.Pos(r + 1)) row = r;
  }
  row = std::clamp(row, firstRow_, kLastRow);
}

int TGridModel::TopEndingAt(int row) const {
  int room = CellHeight() - rowHeader_.FixAmt();
  int top = row, used = RowHeight(row);
  while (top > firstRow_ && used + RowHeight(top - 1) <= room) used += RowHeight(--top);
  return top;
}

int TGridModel::LeftEndingAt(int col) const {
  int room = CellWidth() - colHeader_.FixAmt();
  int left = col, used = ColWidth(col);
  while (left > firstCol_ && used + ColWidth(left - 1) <= room) used += ColWidth(--left);
  return left;
}

int TGridModel::LastWholeRow() const {
  int row = std::min(Toprow() + Nrows(), kLastRow);
  while (row > Toprow() && RowRect(row).Bottom > CellHeight()) --row;
  return row;
}

int TGridModel::LastWholeCol() const {
  int col = std::min(Leftcol() + Ncols(), kLastCol);
  while (col > Leftcol() && CellRect(0, col).Right > CellWidth()) --col;
  return col;
}

// ---- Cursor and selection ----------------------------------------------------------------

void TGridModel::RebuildSelection() {
  if (extend_ && anchorRow_ >= 0 && anchorCol_ >= 0)
    selection_ = Ordered(anchorCol_, anchorRow_, cursorCol_, cursorRow_);
  else
    selection_ = Ordered(cursorCol_, cursorRow_, cursorCol_, cursorRow_);
}

void TGridModel::MoveTo(int row, int col, bool bottom) {
  if (GridSettings().MoveSound) cells_.Beep(kBeepDefault);
  CaretHider hider(*this);
  const int oldRow = cursorRow_, oldCol = cursorCol_;
  bool scrolled = false;
  bool rowsDone = false;  // a one-row scroll or an edge clamp placed the view

  // Clamp into the sheet first, in plain int arithmetic.
  bool clampScrolled = false;
  if (row < firstRow_) row = firstRow_, Beep();
  if (col < firstCol_) col = firstCol_, Beep();
  if (row > kLastRow) {
    row = kLastRow;
    Beep();
    int top = TopEndingAt(kLastRow);
    if (top != Toprow()) SetToprow(top), clampScrolled = true;
  }
  if (col > kLastCol) {
    col = kLastCol;
    Beep();
    int left = LeftEndingAt(kLastCol);
    if (left != Leftcol()) SetLeftcol(left), clampScrolled = true;
  }
  if (clampScrolled) {
    scrolled = true;
  } else {
    // In view means shown whole: a row or column cut by the pane's edge
    // counts as outside, so that the cursor never lands on a sliver of one.
    const int top = Toprow(), lastRow = LastWholeRow();
    const int left = Leftcol(), lastCol = LastWholeCol();
    const bool colInView = col >= left && col <= lastCol;
    if (colInView && std::abs(row - oldRow) == 1 && row == lastRow + 1 && TopEndingAt(row) <= top + 1) {
      ScrollOneRow(true);
      rowsDone = true;
    } else if (colInView && std::abs(row - oldRow) == 1 && top == row + 1) {
      ScrollOneRow(false);
      rowsDone = true;
    } else {
      bool columnsDone = false;
      if (row < top) {
        // The view moves as far as the cursor, keeping the target in view.
        SetToprow(std::clamp(row + top - oldRow, TopEndingAt(row), row));
        scrolled = true;
      } else if (row > lastRow) {
        int newTop = bottom ? TopEndingAt(row) : row + top - oldRow;
        newTop = std::clamp(newTop, TopEndingAt(row), row);
        if (rowHeader_.Pos(kRows) - rowHeader_.Pos(newTop) < CellHeight() - rowHeader_.FixAmt())
          newTop = std::min(newTop, TopEndingAt(kLastRow));
        SetToprow(newTop);
        scrolled = true;
      } else if ((col == lastCol + 1 || col == left - 1) && std::abs(col - oldCol) == 1) {
        // One column on: the view moves by one, or as far as a wide column needs.
        SetLeftcol(col == left - 1 ? left - 1 : std::max(left + 1, LeftEndingAt(col)));
        scrolled = columnsDone = true;
      }
      if (!columnsDone) {
        if (col < left) {
          SetLeftcol(std::max(firstCol_, std::clamp(col + left - oldCol, LeftEndingAt(col), col)));
          scrolled = true;
        } else if (col > lastCol) {
          SetLeftcol(std::clamp(col + left - oldCol, LeftEndingAt(col), col));
          scrolled = true;
        }
      }
    }
  }
  // Whatever placed the view (a clamp at the sheet's edge, a one-row scroll
  // past a taller row), the cursor cell ends in it.
  if (BringIntoView(row, col)) {
    scrolled = true;
    rowsDone = false;
  }

  cursorRow_ = row;
  cursorCol_ = col;
  previousSelection_ = selection_;
  if (scrolled && !rowsDone) {
    RebuildSelection();
    RepaintAll();
    Change(row, col);
    return;
  }
  if (GridSettings().MoveSound) cells_.Beep(kBeepDefault);
  const TRange before = selection_;
  RebuildSelection();
  const TRange& after = selection_;
  if (before.firstCol == after.firstCol && before.lastCol == after.lastCol && before.firstRow <= after.lastRow &&
      after.firstRow <= before.lastRow) {
    // Same columns, overlapping rows: only the rows between the edges that moved.
    int lo = before.firstRow != after.firstRow ? std::min(before.firstRow, after.firstRow)
                                               : std::min(before.lastRow, after.lastRow);
    int hi = before.lastRow != after.lastRow ? std::max(before.lastRow, after.lastRow)
                                             : std::max(before.firstRow, after.firstRow);
    RedrawRange(Ordered(after.firstCol, lo, after.lastCol, hi));
  } else {
    RedrawRange(before);
    RedrawRange(after);
  }
  previousSelection_ = selection_;
  Change(row, col);
}

void TGridModel::ScrollToCursor() {
  CaretHider hider(*this);
  if (BringIntoView(cursorRow_, cursorCol_)) PlaceCaret();
}

bool TGridModel::BringIntoView(int row, int col) {
  bool moved = false;
  if (row < Toprow() || row > LastWholeRow()) {
    SetToprow(std::clamp(Toprow(), TopEndingAt(row), row));
    moved = true;
  }
  if (col < Leftcol() || col > LastWholeCol()) {
    SetLeftcol(std::clamp(Leftcol(), LeftEndingAt(col), col));
    moved = true;
  }
  return moved;
}

void TGridModel::OffsetCursor(int drow, int dcol) {
  cursorRow_ = std::clamp(cursorRow_ + drow, 0, kLastRow);
  cursorCol_ = std::clamp(cursorCol_ + dcol, 0, kLastCol);
}

void TGridModel::SetSelection(const TRange& range) {
  selection_ = Ordered(range.firstCol, range.firstRow, range.lastCol, range.lastRow);
  RepaintAll();
}

void TGridModel::CollapseSelection() {
  selection_ = Ordered(cursorCol_, cursorRow_, cursorCol_, cursorRow_);
  anchorRow_ = anchorCol_ = -1;
  extend_ = false;
}

void TGridModel::ResetDefaults() {
  grid_ = 3;
  cursorRow_ = cursorCol_ = 0;
  SetDefHeight(12);
  SetDefWidth(64);
  CollapseSelection();
}

// ---- Scrolling and titles ------------------------------------------------------------------

void TGridModel::SetToprow(int row) {
  if (row == Toprow()) return;
  MoveTop(row);
  RepaintAll();
}

void TGridModel::MoveTop(int row) {
  rowHeader_.SetLeftcol(std::clamp(row, firstRow_, kLastRow));
  ChangeTop(Toprow(), Leftcol());
}

void TGridModel::SetLeftcol(int col) {
  if (col == Leftcol()) return;
  col = std::clamp(col, firstCol_, kLastCol);
  // Keep column 255 wholly visible: when the columns from col to the end are
  // narrower than the cell area, move left until they fill it.
  int room = CellWidth() - colHeader_.FixAmt();
  auto rest = [this](int k) { return colHeader_.Pos(kCols) - colHeader_.Pos(k); };
  if (rest(col) < room) {
    while (col > firstCol_ && rest(col) < room) --col;
    if (rest(col) > room) ++col;
  }
  colHeader_.SetLeftcol(col);
  RepaintAll();
}

void TGridModel::FreezeTitles(int mode, int row, int col) {
  if (mode == 0) {
    ClearTitles();
    return;
  }
  if (mode & 1) {
    int band = rowHeader_.Pos(row) - rowHeader_.Pos(Toprow());
    if (row > Toprow() && row <= kLastRow && band < CellHeight()) {
      rowHeader_.SetFixpos(Toprow());
      rowHeader_.SetFixpos2(row);
      firstRow_ = row;
      SetToprow(row);
    } else {
      Beep();
    }
  }
  if (mode & 2) {
    int band = colHeader_.Pos(col) - colHeader_.Pos(Leftcol());
    if (col > Leftcol() && col <= kLastCol && band < CellWidth()) {
      colHeader_.SetFixpos(Leftcol());
      colHeader_.SetFixpos2(col);
      firstCol_ = col;
      SetLeftcol(col);
    } else {
      Beep();
    }
  }
  if (cursorRow_ < firstRow_ || cursorCol_ < firstCol_) {
    cursorRow_ = std::max(cursorRow_, firstRow_);
    cursorCol_ = std::max(cursorCol_, firstCol_);
    RebuildSelection();
  }
  RepaintAll();
}

void TGridModel::ClearTitles() {
  colHeader_.SetFixpos(0);
  colHeader_.SetFixpos2(0);
  rowHeader_.SetFixpos(0);
  rowHeader_.SetFixpos2(0);
  SetLeftcol(firstCol_);
  SetToprow(firstRow_);
  firstCol_ = firstRow_ = 0;
  RepaintAll();
}

void TGridModel::SetFixCol2(int col) {
  colHeader_.SetFixpos2(col);
  firstCol_ = std::clamp(col, 0, kLastCol);
}

void TGridModel::SetFixrow2(int row) {
  rowHeader_.SetFixpos2(row);
  firstRow_ = std::clamp(row, 0, kLastRow);
}

// ---- Sizes ------------------------------------------------------------------------------------

void TGridModel::SetColWidth(int col, int pixels) {
  colHeader_.SizeFromPixels(col, pixels);
  RepaintAll();
}

void TGridModel::SetRowHeight(int row, int pixels) {
  rowHeader_.SizeFromPixels(row, pixels);
  RepaintAll();
}

void TGridModel::ShiftColSizes(int index, int n) {
  if (n > 0)
    colHeader_.InsertEntries(index, n);
  else
    colHeader_.DeleteEntries(index, -n);
  RepaintAll();
}

void TGridModel::ShiftRowSizes(int index, int n) {
  if (n > 0)
    rowHeader_.InsertEntries(index, n);
  else
    rowHeader_.DeleteEntries(index, -n);
  RepaintAll();
}

void TGridModel::ShareSizeTables(TGridModel& other) {
  colHeader_.UseTables(other.colHeader_.Tables());
  rowHeader_.UseTables(other.rowHeader_.Tables());
  RepaintAll();
}

void TGridModel::SetPages(int p) {
  if (p <= 0 || p > kRows || p == pages_) return;
  pages_ = p;
  rowsPerPage_ = kRows / p;
  rowHeader_.SetPagesize(rowsPerPage_);
  colHeader_.SetPage(cursorRow_ / rowsPerPage_);
}

// ---- Properties ---------------------------------------------------------------------------------

void TGridModel::SetGrid(int mode) {
  if (mode == grid_) return;
  grid_ = mode;
  RepaintAll();
}

void TGridModel::SetD3on(bool on) {
  colHeader_.SetD3on(on);
  rowHeader_.SetD3on(on);
}

void TGridModel::SetDefWidth(int pixels) {
  colHeader_.SetDefwidth(pixels);
  RepaintAll();
}

void TGridModel::SetDefHeight(int pixels) {
  rowHeader_.SetDefwidth(pixels);
  RepaintAll();
}

void TGridModel::SetFwidth(int pixels) {
  fwidth_ = std::max(0, pixels);
  colHeader_.SetFixsize(fwidth_);
  LayoutChildren(width_, height_);
}

void TGridModel::SetFHeight(int pixels) {
  fheight_ = std::max(0, pixels);
  LayoutChildren(width_, height_);
}

void TGridModel::SetMid(int v) {
  if (v != bar_.Mid() && v > 60) bar_.SetMid(v);
}

// ---- Layout and painting -------------------------------------------------------------------------

void TGridModel::LayoutChildren(int width, int height) {
  width_ = std::max(0, width);
  height_ = std::max(0, height);
  int top = std::min(fheight_, height_);
  int barLeft = std::max(0, width_ - kBarWidth);
  int cellsLeft = std::min(fwidth_, barLeft);
  // The column header ends where the bar begins, so that every column it
  // counts as in view is a column of the cell area.
  layout_.ColHeader = {0, 0, barLeft, top};
  layout_.RowHeader = {0, top, cellsLeft, height_};
  layout_.ScrollBar = {barLeft, top, width_, height_};
  layout_.Cells = {cellsLeft, top, barLeft, height_};
  if (PlaceChildren) PlaceChildren(layout_);
  colHeader_.Host().InvalidateAll();
  rowHeader_.Host().InvalidateAll();
  RepaintAll();
}

void TGridModel::DrawRow(TCanvas& canvas, int row) {
  if (!OnDrawRow) {
    FillSolid(canvas, RowRect(row), clWhite);
    return;
  }
  if (colHeader_.Fixpos() < firstCol_) OnDrawRow(*this, canvas, row, ~colHeader_.Fixpos(), ~(firstCol_ - 1), false);
  OnDrawRow(*this, canvas, row, Leftcol(), std::min(Leftcol() + Ncols() + 1, kLastCol), false);
  // Right of the last column there is nothing to draw but the background. It
  // is painted with every row: a scroll copies pixels sideways, and what it
  // brought there must not stay.
  TRect r = RowRect(row);
  int right = std::max(CellRect(row, kLastCol).Right, colHeader_.FixAmt());
  if (right < r.Right) FillSolid(canvas, {right, r.Top, r.Right, r.Bottom}, clWhite);
}

void TGridModel::PaintCells(TCanvas& canvas, const TRect& dirty) {
  int zoom = EffectiveZoom(GridSettings().Zoom);
  if (zoom != appliedZoom_) {
    // A new zoom: scale the headers and lay out again; the layout repaints.
    appliedZoom_ = zoom;
    colHeader_.SetScale(zoom);
    rowHeader_.SetScale(zoom);
    fheight_ = kHeaderHeight * zoom / 100;
    fwidth_ = CornerSize(zoom);
    colHeader_.SetFixsize(fwidth_);
    LayoutChildren(width_, height_);
    return;
  }
  CaretHider hider(*this);
  int bottom = 0;
  auto paint = [&](int row) {
    TRect r = RowRect(row);
    bottom = std::max(bottom, r.Bottom);
    if (r.Bottom > dirty.Top && r.Top < dirty.Bottom) DrawRow(canvas, row);
  };
  for (int row = rowHeader_.Fixpos(); row < firstRow_; ++row) paint(~row);
  int last = std::min(Toprow() + Nrows() + 1, kLastRow);
  for (int row = Toprow(); row <= last && RowRect(row).Top < CellHeight(); ++row) paint(row);
  // Below row 8192 there is nothing to draw but the background.
  if (last == kLastRow && bottom < CellHeight())
    FillSolid(canvas, IntersectRect({0, bottom, CellWidth(), CellHeight()}, dirty), clWhite);
  if (cells_.Focused()) PlaceCaret();
}

void TGridModel::Repaint() {
  colHeader_.Host().InvalidateAll();
  rowHeader_.Host().InvalidateAll();
  RepaintAll();
}

void TGridModel::RedrawRange(const TRange& range) {
  TRange r = Ordered(range.firstCol, range.firstRow, range.lastCol, range.lastRow);
  int left = Leftcol(), right = left + Ncols(), top = Toprow(), bottom = top + Nrows();
  if (r.lastCol < left || r.firstCol > right || r.lastRow < top || r.firstRow > bottom) return;
  int first = std::max<int>(r.firstRow, top), last = std::min({static_cast<int>(r.lastRow), bottom, kLastRow});
  cells_.DrawNow([&](TCanvas& canvas) {
    for (int row = first; row <= last; ++row) DrawRow(canvas, row);
  });
}

// Scrolls the rows below the frozen band by one row: the pixels move by a
// copy and only the rows the copy uncovered are drawn.
void TGridModel::ScrollOneRow(bool down) {
  if (down ? Toprow() >= kLastRow : Toprow() <= firstRow_) return;
  CaretHider hider(*this);
  const int fix = rowHeader_.FixAmt();
  const TRect area{0, fix, CellWidth(), CellHeight()};
  const int h = RowHeight(down ? Toprow() : Toprow() - 1);
  if (h >= area.Height()) {
    SetToprow(Toprow() + (down ? 1 : -1));
    RepaintAll();
    return;
  }
  cells_.ScrollRect(area, 0, down ? -h : h);
  MoveTop(Toprow() + (down ? 1 : -1));
  const TRect uncovered = down ? TRect{0, area.Bottom - h, area.Right, area.Bottom} : TRect{0, fix, area.Right, fix + h};
  cells_.DrawNow([&](TCanvas& canvas) {
    for (int row = Toprow(); row <= kLastRow; ++row) {
      TRect r = RowRect(row);
      if (r.Top >= uncovered.Bottom) break;
      if (r.Bottom > uncovered.Top) DrawRow(canvas, row);
    }
  });
}

void TGridModel::PlaceCaret() {
  TRect r = CellRect(cursorRow_, cursorCol_);
  cells_.SetCaretPos((r.Left + r.Right) / 2 - 4, r.Bottom - 4);
}

void TGridModel::XorHLine(int y) {
  cells_.DrawNow([&](TCanvas& canvas) {
    TCanvasStateSaver saved(canvas);
    canvas.Pen = TPen{clRed, 1, TPenStyle::psSolid, TPenMode::pmNotXor};
    canvas.MoveTo(0, y);
    canvas.LineTo(CellWidth(), y);
  });
}

void TGridModel::XorVLine(int x) {
  cells_.DrawNow([&](TCanvas& canvas) {
    TCanvasStateSaver saved(canvas);
    canvas.Pen = TPen{clRed, 1, TPenStyle::psSolid, TPenMode::pmNotXor};
    canvas.MoveTo(x, 0);
    canvas.LineTo(x, CellHeight());
  });
}

void TGridModel::XorFocusRect(const TRect& r) {
  TRect n{std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right), std::max(r.Top, r.Bottom)};
  cells_.DrawNow([&](TCanvas& canvas) { canvas.DrawFocusRect(n); });
}

void TGridModel::DrawCell(TCanvas& canvas, int row, int col, int& ncol, const TRect& r, int fmode) {
  if (OnDrawcell) OnDrawcell(canvas, row, col, ncol, r, fmode);
}

void TGridModel::GetCellColor(int row, int col, std::int32_t& t) {
  if (OnGetcolor) OnGetcolor(row, col, t);
}

// ---- Events -----------------------------------------------------------------------------------------

void TGridModel::Change(int row, int col) {
  if (OnChange) OnChange(*this, row, col);
  PlaceCaret();
}

void TGridModel::ChangeTop(int top, int left) {
  if (top == reportedTop_ && left == reportedLeft_) return;
  reportedTop_ = top;
  reportedLeft_ = left;
  barFeedbackOff_ = true;
  bar_.SetPosition(top);
  barFeedbackOff_ = false;
  if (OnChangeTop) OnChangeTop(*this, top, left);
}

// ---- Keys and mouse -----------------------------------------------------------------------------------

void TGridModel::KeyDown(int& key, TShiftState shift) {
  const TShiftState mods = shift & (ssShift | ssAlt | ssCtrl);
  const bool shiftOnly = mods == ssShift;
  const bool ctrl = mods == ssCtrl && !IgCtrl;
  if (extend_ && !shiftOnly && !anchored_) {
    extend_ = false;
    previousSelection_ = selection_;
  } else if (!extend_ && shiftOnly) {
    extend_ = true;
    anchorRow_ = cursorRow_;
    anchorCol_ = cursorCol_;
    previousSelection_ = Ordered(cursorCol_, cursorRow_, cursorCol_, cursorRow_);
  }

  const int row = cursorRow_, col = cursorCol_;
  const int nr = Nrows(), nc = Ncols(), page = rowsPerPage_;
  int toRow = row, toCol = col;
  bool move = true;
  switch (key) {
    case vk::Tab:
    case vkgrid::ScreenRight:
      extend_ = false;
      toCol = shiftOnly ? col - nc : col + nc;
      break;
    case vkgrid::ScreenLeft:
      extend_ = false;
      toCol = col - nc;
      break;
    case vk::Prior: toRow = row - (ctrl ? page : nr); break;
    case vk::Next: toRow = row + (ctrl ? page : nr); break;
    case vk::Home: toRow = toCol = 0; break;
    case vk::Left:
      if (ctrl) {
        toCol = col <= nc ? 0 : col - nc;
      } else if (col == 0) {
        key = 0;  // consumed without a move
        move = false;
      } else {
        toCol = col - 1;
      }
      break;
    case vk::Up: toRow = row - 1; break;
    case vk::Right: toCol = col + (ctrl ? nc : 1); break;
    case vk::Down: toRow = row + 1; break;
    case vkgrid::PageScreenDown: toRow = row + nr + page; break;
    case vkgrid::PageScreenUp: toRow = row - nr - page; break;
    default: move = false; break;
  }
  if (move) {
    MoveTo(toRow, toCol);
    key = 0;
    Change(cursorRow_, cursorCol_);
  }
  if (Onkeydown) Onkeydown(*this, key, shift);
}

void TGridModel::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(*this, button, shift, x, y);
  lastX_ = x;
  lastY_ = y;
  cells_.SetFocus();
  if (button != TMouseButton::mbLeft || !Select) return;
  cells_.SetCapture();
  int col, row;
  PointToCell(x, y, col, row);
  if (!dragging_) {
    dragging_ = true;
    if (!(shift & ssShift)) {
      anchorRow_ = row;
      anchorCol_ = col;
      extend_ = true;
    }
  }
  MoveTo(row, col);
  Change(cursorRow_, cursorCol_);
}

void TGridModel::MouseMove(TShiftState shift, int x, int y) {
  lastX_ = x;
  lastY_ = y;
  if (dragging_) {
    if (x < 0 || y < 0 || x > CellWidth() || y > CellHeight()) {
      // Past the edge the drag timer extends the selection, 8 pixels a cell.
      if (!dragTimerRunning_) cells_.StartTimer(kDragTimer, kDragTimerMs);
      dragTimerRunning_ = true;
      return;
    }
    if (dragTimerRunning_) cells_.StopTimer(kDragTimer);
    dragTimerRunning_ = false;
    int col, row;
    PointToCell(x, y, col, row);
    if (row != cursorRow_ || col != cursorCol_) {
      MoveTo(row, col);
      Change(cursorRow_, cursorCol_);
    }
  }
  cells_.SetMouseCursor(classlib::crDefault);
  if (OnMouseMove) OnMouseMove(*this, shift, x, y);
}

void TGridModel::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (dragTimerRunning_) cells_.StopTimer(kDragTimer);
  dragTimerRunning_ = false;
  if (dragging_) cells_.ReleaseCapture();
  dragging_ = false;
  if (Onmouseup) Onmouseup(*this, button, shift, x, y);
}

void TGridModel::Timer(int id) {
  if (id != kDragTimer) return;
  if (!dragging_) {
    cells_.StopTimer(kDragTimer);
    dragTimerRunning_ = false;
    return;
  }
  ExtendStep(lastX_, lastY_);
}

void TGridModel::ExtendStep(int x, int y) {
  int col, row;
  PointToCell(x, y, col, row);
  if (extend_ && anchorRow_ >= 0) {
    MoveTo(row, col);
  } else {
    extend_ = true;
    anchorRow_ = row;
    anchorCol_ = col;
    selection_ = Ordered(col, row, col, row);
    RepaintAll();
  }
  Change(cursorRow_, cursorCol_);
}

void TGridModel::FocusChanged(bool focused) {
  if (focused) {
    cells_.CreateCaret(kCaretWidth, kCaretHeight);
    caretCreated_ = true;
    PlaceCaret();
    cells_.ShowCaret();
  } else {
    cells_.DestroyCaret();
    caretCreated_ = false;
  }
}

// ---- Headers and bar -------------------------------------------------------------------------------------

void TGridModel::ColumnClick(int cf, int ct) {
  TakeFocus();
  if (cf < 0) {
    extend_ = false;
    SetLeftcol(0);
    SetToprow(0);
    MoveTo(0, 0);
    RepaintAll();
    return;
  }
  ct = std::clamp(ct < 0 ? cf : ct, 0, kLastCol);
  cf = std::min(cf, kLastCol);
  extend_ = true;
  cursorRow_ = Toprow();
  cursorCol_ = cf;
  selection_ = Ordered(cf, 0, ct, kLastRow);
  RepaintAll();
  Change(Toprow(), cf);
}

void TGridModel::RowClick(int cf, int ct) {
  TakeFocus();
  if (cf < 0) {
    ExtendStep(0, 0);
    return;
  }
  ct = std::clamp(ct < 0 ? cf : ct, 0, kLastRow);
  cf = std::min(cf, kLastRow);
  extend_ = true;
  cursorRow_ = cf;
  cursorCol_ = Leftcol();
  selection_ = Ordered(0, cf, kLastCol, ct);
  RepaintAll();
  Change(cf, Leftcol());
}

void TGridModel::HeaderSizing() {
  TakeFocus();
  cells_.DrawNow([this](TCanvas& canvas) { PaintCells(canvas); });
  PlaceCaret();
  if (Onsize) Onsize(*this);
}

void TGridModel::HeaderSized() {
  // A header that scrolled itself while a span was dragged past its end has
  // moved the view: the cells and the bar follow.
  if (Toprow() != reportedTop_ || Leftcol() != reportedLeft_) {
    RepaintAll();
    ChangeTop(Toprow(), Leftcol());
  }
  if (Onsized) Onsized(*this);
}

void TGridModel::BarChange() {
  if (barFeedbackOff_) return;
  if (OnVchange) OnVchange(*this);
  const int b = bar_.Position();
  const int nr = Nrows();
  if (nr + b > kLastRow) {
    SetToprow(kLastRow - nr);
    RepaintAll();
  } else if (b == Toprow() + 1) {
    ScrollOneRow(true);
  } else if (b == Toprow() - 1 && b >= firstRow_) {
    ScrollOneRow(false);
  } else {
    SetToprow(b);
    RepaintAll();
  }
  if (bar_.Position() != Toprow()) {
    barFeedbackOff_ = true;
    bar_.SetPosition(Toprow());
    barFeedbackOff_ = false;
  }
}

}  // namespace corvane

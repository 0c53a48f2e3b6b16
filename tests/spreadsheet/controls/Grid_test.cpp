// The grid model: the key table at the sheet's edges, one-row scrolls, extend
// mode, frozen titles and what painting hands the owner, mouse drags and
// header clicks, pages, zoom and the shared size tables.
#include "spreadsheet/controls/Grid.h"

#include <gtest/gtest.h>

#include <memory>

#include "tests/spreadsheet/controls/GridFixture.h"

namespace corvane::testing {
namespace {

using classlib::ssCtrl;
using classlib::ssShift;
using classlib::TCanvasOp;
using classlib::TMouseButton;
namespace vk = classlib::vk;

TEST_F(GridTest, KeysClampAtTheSheetsEdgesWithABeep) {
  struct Row {
    int row, col, key;
    classlib::TShiftState shift;
    int pages;
    bool igCtrl;
    int toRow, toCol;
    bool beep;
  } rows[] = {
      {0, 255, vk::Right, 0, 1, false, 0, 255, true},
      {0, 250, vk::Tab, 0, 1, false, 0, 255, true},
      {0, 252, vkgrid::ScreenRight, 0, 1, false, 0, 255, true},
      {0, 252, vk::Right, ssCtrl, 1, false, 0, 255, true},
      {0, 3, vk::Tab, ssShift, 1, false, 0, 0, true},
      {0, 3, vkgrid::ScreenLeft, 0, 1, false, 0, 0, true},
      {8190, 0, vk::Next, 0, 1, false, 8191, 0, true},
      {8191, 0, vk::Down, 0, 1, false, 8191, 0, true},
      {0, 0, vkgrid::PageScreenDown, 0, 1, false, 8191, 0, true},
      {5, 0, vk::Prior, 0, 1, false, 0, 0, true},
      {100, 0, vkgrid::PageScreenUp, 0, 4, false, 0, 0, true},
      {0, 0, vk::Next, ssCtrl, 4, false, 2048, 0, false},
      {0, 0, vk::Next, ssCtrl, 4, true, 19, 0, false},
      {0, 0, vkgrid::PageScreenDown, 0, 4, false, 2067, 0, false},
      {10, 10, vk::Left, ssCtrl, 1, false, 10, 4, false},
      {10, 4, vk::Left, ssCtrl, 1, false, 10, 0, false},
      {300, 40, vk::Home, 0, 1, false, 0, 0, false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(::testing::Message() << "from " << r.row << "," << r.col << " key " << r.key);
    grid.SetPages(r.pages);
    grid.IgCtrl = r.igCtrl;
    grid.MoveTo(r.row, r.col);
    Clear();
    EXPECT_EQ(Key(r.key, r.shift), 0);
    EXPECT_EQ(Cursor(), std::make_pair(r.toRow, r.toCol));
    EXPECT_EQ(!cells.Beeps.empty(), r.beep);
    EXPECT_EQ(changes.back(), std::make_pair(r.toRow, r.toCol));
    // Whatever the move, the view still shows the cursor.
    EXPECT_GE(grid.CursorRow(), grid.Toprow());
    EXPECT_LE(grid.CursorRow(), grid.Toprow() + grid.Nrows());
    EXPECT_GE(grid.CursorCol(), grid.Leftcol());
    EXPECT_LE(grid.CursorCol(), grid.Leftcol() + grid.Ncols());
  }
}

// Whatever the key and however the view has to move, the cursor cell ends
// wholly in view: never on the sliver of a row or column the pane's edge
// cuts, and a column wider than the pane starts at its left edge. Sizes are
// changed after the start, with the cursor where it was.
TEST_F(GridTest, TheCursorCellEndsWhollyInView) {
  struct Row {
    const char* what;
    int defHeight;  // pixels; 16 leaves rows 0..17 whole and a sliver of 18
    int wideCol, tallRow;  // column C made 240 characters wide, row 21 40 pixels high (-1: neither)
    int row, col, key;
    classlib::TShiftState shift;
    int toRow, toCol, top, left;
  } rows[] = {
      {"PgDn onto the cut row turns the page", 16, -1, -1, 0, 4, vk::Next, 0, 18, 4, 18, 0},
      {"Down onto the cut row scrolls one row", 16, -1, -1, 17, 0, vk::Down, 0, 18, 0, 1, 0},
      {"Right onto the cut column G", 15, -1, -1, 0, 5, vk::Right, 0, 0, 6, 0, 1},
      {"Ctrl+Right a screen onto G", 15, -1, -1, 0, 0, vk::Right, ssCtrl, 0, 6, 0, 6},
      {"Tab onto G", 15, -1, -1, 3, 0, vk::Tab, 0, 3, 6, 0, 6},
      {"Right from the wide column C", 15, 2, -1, 0, 2, vk::Right, 0, 0, 3, 0, 3},
      {"Left back onto the wide column", 15, 2, -1, 0, 3, vk::Left, 0, 0, 2, 0, 2},
      {"Down onto a row taller than the one scrolled away", 15, -1, 20, 19, 0, vk::Down, 0, 20, 0, 3, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    grid.SetDefHeight(r.defHeight);
    grid.SetColSize(2, kDefaultSize);
    grid.SetRowSize(20, kDefaultSize);
    grid.SetToprow(0);
    grid.SetLeftcol(0);
    grid.MoveTo(r.row, r.col);
    ASSERT_EQ(std::make_pair(grid.Toprow(), grid.Leftcol()), std::make_pair(0, 0));
    if (r.wideCol >= 0) grid.SetColWidth(r.wideCol, 240 * 8);
    if (r.tallRow >= 0) grid.SetRowHeight(r.tallRow, 40);
    Clear();
    Key(r.key, r.shift);
    EXPECT_EQ(Cursor(), std::make_pair(r.toRow, r.toCol));
    EXPECT_EQ(grid.Toprow(), r.top);
    EXPECT_EQ(grid.Leftcol(), r.left);
    classlib::TRect cell = grid.CellRect(r.toRow, r.toCol);
    EXPECT_TRUE(cell.Top >= 0 && cell.Bottom <= 300) << cell.Top << ".." << cell.Bottom;
    EXPECT_TRUE(cell.Left >= 0 && (cell.Right <= 400 || r.toCol == grid.Leftcol())) << cell.Left << ".." << cell.Right;
  }

  // The scroll bar may take the view away from the cursor; ScrollToCursor
  // brings it back as far as the cursor cell needs.
  grid.SetDefHeight(15);
  grid.MoveTo(5, 1);
  bar.SetPosition(500);
  ASSERT_EQ(grid.Toprow(), 500);
  grid.ScrollToCursor();
  EXPECT_EQ(grid.Toprow(), 5);
  EXPECT_EQ(Cursor(), std::make_pair(5, 1));
}

TEST_F(GridTest, PointsBeyondTheEdgesCountACellPer8Pixels) {
  grid.MoveTo(5, 2);
  struct {
    int x, y, col, row;
  } rows[] = {{0, 0, 0, 0},    {10, 10, 0, 0},  {64, 15, 1, 0},  {10, 300, 0, 19},
              {10, 301, 0, 6}, {10, 320, 0, 8}, {401, 10, 3, 0}, {-20, 10, 0, 0}};
  for (auto& r : rows) {
    int col, row;
    grid.PointToCell(r.x, r.y, col, row);
    EXPECT_EQ(std::make_pair(col, row), std::make_pair(r.col, r.row)) << r.x << "," << r.y;
  }
}

TEST_F(GridTest, LeftAtColumnAIsConsumedWithoutAMove) {
  EXPECT_EQ(Key(vk::Left), 0);
  EXPECT_EQ(Cursor(), std::make_pair(0, 0));
  EXPECT_TRUE(cells.Beeps.empty());
  EXPECT_TRUE(changes.empty());
  EXPECT_EQ(Key(vk::F5), vk::F5) << "keys outside the table pass unchanged";
}

TEST_F(GridTest, DownFromTheLastVisibleRowCopiesTheCellsAndDrawsOnlyTheNewRow) {
  grid.MoveTo(19, 0);
  Clear();
  Key(vk::Down);
  EXPECT_EQ(grid.Toprow(), 1);
  EXPECT_EQ(Cursor(), std::make_pair(20, 0));
  auto copies = cells.Canvas.CallsOf(TCanvasOp::CopyRect);
  ASSERT_EQ(copies.size(), 1u);
  EXPECT_EQ(copies[0].Rect, (classlib::TRect{0, 0, 400, 285}));
  EXPECT_EQ(copies[0].SourceRect, (classlib::TRect{0, 15, 400, 300}));
  EXPECT_TRUE(cells.Invalidated.empty()) << "no full repaint";
  ASSERT_FALSE(drawn.empty());
  EXPECT_EQ(drawn.front().row, 20) << "the uncovered row first";
  for (const TDrawnRow& d : drawn) EXPECT_TRUE(d.row == 19 || d.row == 20) << d.row;

  Clear();
  Key(vk::Up);  // row 19 is in view: no scroll
  Key(vk::Up);
  Key(vk::Up);
  EXPECT_EQ(grid.Toprow(), 1);
  grid.MoveTo(1, 0);
  Clear();
  Key(vk::Up);
  EXPECT_EQ(grid.Toprow(), 0);
  ASSERT_EQ(cells.Canvas.CallsOf(TCanvasOp::CopyRect).size(), 1u);
  EXPECT_EQ(drawn.front().row, 0);
}

TEST_F(GridTest, ShiftExtendsFromTheAnchorAndAPlainKeyEndsIt) {
  grid.MoveTo(1, 1);
  Key(vk::Shift, ssShift);
  Key(vk::Down, ssShift);
  Key(vk::Down, ssShift);
  EXPECT_EQ(grid.GetSelection(), (TRange{1, 1, 1, 3}));
  EXPECT_EQ(grid.AnchorRow(), 1);
  Key(vk::Right);
  EXPECT_EQ(grid.GetSelection(), (TRange{2, 3, 2, 3}));
  EXPECT_FALSE(grid.ExtendMode());

  grid.SetAnchored(true);
  grid.SetExtendMode(true);
  Key(vk::Down);
  EXPECT_TRUE(grid.ExtendMode()) << "an anchored selection survives plain keys";
}

TEST_F(GridTest, PaintingHandsFrozenColumnsComplementedAndNeverPassesTheSheet) {
  grid.FreezeTitles(2, 0, 2);
  ASSERT_TRUE(grid.HasTitles());
  std::vector<TDrawnRow> rows = PaintAll();
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows[0], (TDrawnRow{0, ~0, ~1}));
  EXPECT_EQ(rows[1], (TDrawnRow{0, 2, 2 + grid.Ncols() + 1}));

  grid.ClearTitles();
  bar.SetPosition(8191);  // the bar at its end
  grid.MoveTo(8191, 255);
  rows = PaintAll();
  ASSERT_FALSE(rows.empty());
  for (const TDrawnRow& d : rows) {
    EXPECT_LE(d.row, TGridModel::kLastRow);
    EXPECT_LE(d.cole, TGridModel::kLastCol);
  }
  EXPECT_EQ(rows.back().row, 8191);
  EXPECT_LE(grid.CellRect(8191, 255).Right, 400) << "column IV wholly visible";
}

TEST_F(GridTest, FrozenRowsArePaintedFirstAndHomeStopsBelowThem) {
  grid.MoveTo(3, 0);
  grid.SetTitles(1);
  std::vector<TDrawnRow> rows = PaintAll();
  ASSERT_GE(rows.size(), 3u);
  EXPECT_EQ(rows[0].row, ~0);
  EXPECT_EQ(rows[2].row, ~2);
  EXPECT_EQ(rows[3].row, 3);
  Clear();
  Key(vk::Home);
  EXPECT_EQ(Cursor(), std::make_pair(3, 0));
  EXPECT_FALSE(cells.Beeps.empty());
}

TEST_F(GridTest, TitlesThatWouldBeEmptyOrFillThePaneAreRefused) {
  grid.SetToprow(10);
  struct Row {
    int mode, row, col;
  } rows[] = {{1, 5, 0}, {1, 10, 0}, {1, 40, 0}, {2, 0, 0}, {2, 0, 9}, {1, 9000, 0}};
  for (const Row& r : rows) {
    SCOPED_TRACE(::testing::Message() << r.mode << " " << r.row << " " << r.col);
    Clear();
    grid.FreezeTitles(r.mode, r.row, r.col);
    EXPECT_FALSE(grid.HasTitles());
    EXPECT_FALSE(cells.Beeps.empty());
  }
  grid.MoveTo(20, 3);
  EXPECT_EQ(Cursor(), std::make_pair(20, 3)) << "the grid stays usable";
}

TEST_F(GridTest, DraggingPastTheBottomExtendsThreeRowsPerTick) {
  grid.MouseDown(TMouseButton::mbLeft, 0, 10, 10);
  EXPECT_TRUE(cells.HasFocus);
  grid.MouseMove(0, 10, 320);
  ASSERT_TRUE(cells.TimerRunning(TGridModel::kDragTimer));
  EXPECT_EQ(cells.Timers().at(TGridModel::kDragTimer), 50u);
  grid.Timer(TGridModel::kDragTimer);
  EXPECT_EQ(grid.CursorRow(), 3);
  grid.Timer(TGridModel::kDragTimer);
  EXPECT_EQ(grid.GetSelection(), (TRange{0, 0, 0, 6}));
  grid.MouseUp(TMouseButton::mbLeft, 0, 10, 320);
  EXPECT_FALSE(cells.TimerRunning(TGridModel::kDragTimer));
  grid.MouseMove(0, 10, 100);
  EXPECT_EQ(grid.CursorRow(), 6) << "no drag after the release";
}

TEST_F(GridTest, HeaderClicksSelectWholeColumnsAndRows) {
  grid.SetToprow(7);
  colHeader.MouseDown(TMouseButton::mbLeft, 0, 40 + 128 + 10, 5);  // column C
  colHeader.MouseUp(TMouseButton::mbLeft, 0, 40 + 128 + 10, 5);
  EXPECT_EQ(grid.GetSelection(), (TRange{2, 0, 2, 8191}));
  EXPECT_EQ(Cursor(), std::make_pair(7, 2));
  EXPECT_EQ(changes.back(), std::make_pair(7, 2));

  rowHeader.MouseDown(TMouseButton::mbLeft, 0, 5, 20);
  rowHeader.MouseMove(0, 5, 50);
  rowHeader.MouseUp(TMouseButton::mbLeft, 0, 5, 50);
  EXPECT_EQ(grid.GetSelection(), (TRange{0, 8, 255, 10}));
  EXPECT_EQ(Cursor(), std::make_pair(8, 0));
}

TEST_F(GridTest, ScrollBarMovesTheViewNotTheCursor) {
  bar.SetPosition(1);
  EXPECT_EQ(grid.Toprow(), 1);
  EXPECT_EQ(cells.Canvas.CallsOf(TCanvasOp::CopyRect).size(), 1u);
  bar.SetPosition(500);
  EXPECT_EQ(grid.Toprow(), 500);
  EXPECT_EQ(Cursor(), std::make_pair(0, 0));
  int reported = -1;
  grid.OnChangeTop = [&](TGridModel&, int top, int) { reported = top; };
  Clear();
  grid.SetToprow(42);
  EXPECT_EQ(reported, 42);
  EXPECT_EQ(bar.Position(), 42);
  // A top row set from outside (a synchronised pane) repaints the cells, not
  // only the row numbers.
  EXPECT_FALSE(cells.Invalidated.empty());
}

TEST_F(GridTest, ZoomScalesTheHeadersOnTheNextPaintAndZeroZoomIsHarmless) {
  GridSettings().Zoom = 150;
  PaintAll();
  EXPECT_EQ(grid.Layout().Cells.Top, 27);
  EXPECT_EQ(grid.Layout().Cells.Left, 60);
  EXPECT_EQ(grid.RowHeight(0), 23);
  GridSettings().Zoom = 0;
  PaintAll();
  EXPECT_EQ(grid.Layout().Cells.Top, 18);
  EXPECT_FALSE(PaintAll().empty());
}

TEST_F(GridTest, ZeroSizedPaneNeitherHangsNorDivides) {
  grid.LayoutChildren(0, 0);
  EXPECT_EQ(grid.Nrows(), 0);
  Key(vk::Next);
  Key(vk::Down);
  Key(vk::Tab);
  PaintAll();
  EXPECT_EQ(Cursor(), std::make_pair(1, 0));
}

TEST_F(GridTest, LeftcolKeepsColumnIVWhollyVisible) {
  grid.SetLeftcol(253);
  EXPECT_EQ(grid.Leftcol(), 250);
  EXPECT_LE(grid.CellRect(0, 255).Right, 400);
}

TEST_F(GridTest, EveryRowPaintsTheAreaRightOfColumnIVWithTheBackground) {
  struct Row {
    const char* where;
    int leftcol;
    bool blankRight;
  } rows[] = {{"column A first", 0, false}, {"column IV in view", 255, true}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.where);
    grid.SetLeftcol(row.leftcol);
    classlib::TRecordingCanvas canvas;
    grid.PaintCells(canvas);
    int right = grid.CellRect(0, TGridModel::kLastCol).Right;
    int blanks = 0;
    for (const classlib::TCanvasCall& call : canvas.CallsOf(classlib::TCanvasOp::FillRect))
      if (call.Rect.Left == right && call.Rect.Right == cells.ClientRect().Width() && call.Brush.Color == classlib::clWhite) ++blanks;
    int rowsDrawn = static_cast<int>(drawn.size());
    drawn.clear();
    EXPECT_EQ(blanks, row.blankRight ? rowsDrawn : 0);
  }
}

TEST_F(GridTest, PagesSizesAndCursorOffsetsStayInRange) {
  grid.SetPages(3);
  EXPECT_EQ(grid.RowsPerPage(), 2730);
  grid.SetPages(0);
  grid.SetPages(9000);
  EXPECT_EQ(grid.RowsPerPage(), 2730);

  grid.SetColSize(0, 300);
  grid.SetRowSize(1, -5);
  grid.SetColSize(256, 10);
  EXPECT_EQ(grid.ColSize(0), 254);
  EXPECT_EQ(grid.RowSize(1), 0);
  grid.ShiftRowSizes(8190, 5);
  grid.ShiftColSizes(250, -20);

  grid.MoveTo(8191, 200);
  grid.OffsetCursor(5, 300);
  EXPECT_EQ(Cursor(), std::make_pair(8191, 255));
  grid.OffsetCursor(-9000, -300);
  EXPECT_EQ(Cursor(), std::make_pair(0, 0));
}

TEST_F(GridTest, SharedSizeTablesOutliveEitherGrid) {
  {
    classlib::TRecordingControlHost c2, ch2, rh2, bh2;
    THeaderModel col2{ch2}, row2{rh2};
    TScrollBarModel bar2{bh2};
    TGridModel grid2{c2, col2, row2, bar2};
    grid.ShareSizeTables(grid2);
    grid2.SetColWidth(3, 100);
  }
  EXPECT_EQ(grid.ColSize(3), 12);
  EXPECT_EQ(grid.ColWidth(3), 96);
}

}  // namespace
}  // namespace corvane::testing

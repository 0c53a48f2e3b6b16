// The grid pane and the tab strip on a form under Wine, driven by real key
// and mouse messages: the key table at the edges, the replay codes, extend
// mode, the one-row scroll, frozen titles, drags past the edge, header resizes
// and clicks, tab picks and the "Define Tabs" dialog; then a picture, with
// the cursor rectangle, grid lines and split line read back from it.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "classlib/win/Controls.h"
#include "spreadsheet/controls/win/GridWindow.h"
#include "spreadsheet/controls/win/TabBarWindow.h"
#include "tests/spreadsheet/controls/DemoRowPainter.h"
#include "tests/support/win/UiKit.h"

namespace corvane::testing {
namespace {

using namespace classlib;

// While a tab bar's "Define Tabs" dialog runs: new items and "&Ok".
tabbar* gEditing = nullptr;
void CALLBACK AnswerDefineTabs(HWND, UINT, UINT_PTR, DWORD) {
  if (TTabdlg* d = gEditing->OpenDialog(); d != nullptr && IsWindowVisible(d->Handle())) {
    d->Memo1.SetLines({"North", "South"});
    d->Ok.Click();
  }
}

class GridWindowTest : public ::testing::Test {
 protected:
  GridWindowTest() {
    GridSettings() = TGridSettings{};
    form.Position = TPosition::poDesigned;
    form.SetBounds(20, 20, 640, 420);
    tabs.SetParent(&form);
    tabs.SetAlign(alBottom);
    tabs.SetHeight(26);
    grid.SetParent(&form);
    grid.SetAlign(alClient);
    g.SetDefHeight(15);
    g.SetD3on(true);
    g.OnDrawRow = [this](TGridModel& sender, TCanvas& canvas, int row, int cols, int cole, bool) {
      drawn.push_back({row, cols, cole});
      PaintDemoRow(sender, canvas, row, cols, cole);
    };
    g.OnChange = [this](TGridModel&, int row, int col) { changes.emplace_back(row, col); };
    form.Show();
    uikit::RunUntilIdle();
    g.TakeFocus();
    uikit::RunUntilIdle();
  }

  HWND Cells() { return grid.CellPanel().Handle(); }
  void Key(int vk, TShiftState shift = 0) {
    drawn.clear();
    uikit::PressKey(Cells(), vk, shift);
  }
  std::pair<int, int> Cursor() { return {g.CursorRow(), g.CursorCol()}; }
  // A point inside a cell, in the cell area.
  TPoint In(int row, int col) {
    TRect r = g.CellRect(row, col);
    return {r.Left + 5, r.Top + 5};
  }

  TForm form{nullptr, "Grid"};
  tabbar tabs{nullptr};
  TGrid grid{nullptr};
  TGridModel& g = grid.Model();
  std::vector<TDrawnRow> drawn;
  std::vector<std::pair<int, int>> changes;
};

TEST_F(GridWindowTest, KeysMouseHeadersTabsAndAPicture) {
  ASSERT_TRUE(grid.CellPanel().Focused());
  ASSERT_GT(g.Nrows(), 5);
  const int nr = g.Nrows(), nc = g.Ncols();

  // The key table, each move from a known cell.
  g.SetPages(4);
  struct Step {
    int fromRow, fromCol, key;
    TShiftState shift;
    int toRow, toCol;
  } steps[] = {
      {0, 0, VK_DOWN, 0, 1, 0},
      {0, 255, VK_RIGHT, 0, 0, 255},
      {0, 252, VK_TAB, 0, 0, 255},
      {0, 3, VK_TAB, ssShift, 0, 0},
      {0, 3, vkgrid::ScreenLeft, 0, 0, 0},
      {0, 10, vkgrid::ScreenRight, 0, 0, 10 + nc},
      {8190, 0, VK_NEXT, 0, 8191, 0},
      {0, 0, VK_NEXT, ssCtrl, 2048, 0},
      {0, 0, vkgrid::PageScreenDown, 0, nr + 2048, 0},
      {3000, 0, vkgrid::PageScreenUp, 0, 3000 - nr - 2048, 0},
      {400, 40, VK_HOME, 0, 0, 0},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(::testing::Message() << "key " << s.key << " from " << s.fromRow << "," << s.fromCol);
    g.MoveTo(s.fromRow, s.fromCol);
    changes.clear();
    Key(s.key, s.shift);
    EXPECT_EQ(Cursor(), std::make_pair(s.toRow, s.toCol));
    ASSERT_FALSE(changes.empty());
    EXPECT_EQ(changes.back(), Cursor());
  }

  // Extend mode by Shift, ended by a plain key unless anchored.
  g.MoveTo(1, 1);
  Key(VK_DOWN, ssShift);
  Key(VK_DOWN, ssShift);
  EXPECT_EQ(g.GetSelection(), (TRange{1, 1, 1, 3}));
  Key(VK_RIGHT);
  EXPECT_EQ(g.GetSelection(), (TRange{2, 3, 2, 3}));
  g.SetAnchored(true);
  g.SetExtendMode(true);
  Key(VK_DOWN);
  EXPECT_EQ(g.GetSelection(), (TRange{1, 1, 2, 4})) << "from the anchor, which a plain key kept";
  g.SetAnchored(false);
  g.CollapseSelection();

  // Down from the last row shown whole scrolls by one row and paints only
  // the rows the scroll uncovered and the two cursor rows.
  g.MoveTo(g.LastWholeRow(), 0);
  uikit::RunUntilIdle();
  const int top = g.Toprow();
  Key(VK_DOWN);
  uikit::RunUntilIdle();
  EXPECT_EQ(g.Toprow(), top + 1);
  std::set<int> rows;
  for (const TDrawnRow& d : drawn) rows.insert(d.row);
  EXPECT_LE(rows.size(), 3u) << "not a full repaint";
  EXPECT_TRUE(rows.count(g.CursorRow()));

  // Frozen titles come first in every paint, complemented.
  g.MoveTo(0, 0);
  g.MoveTo(3, 2);
  g.SetTitles(3);
  drawn.clear();
  grid.CellPanel().Invalidate();
  uikit::RunUntilIdle();
  ASSERT_FALSE(drawn.empty());
  EXPECT_EQ(drawn[0], (TDrawnRow{~0, ~0, ~1}));
  EXPECT_EQ(drawn[1].row, ~0);
  EXPECT_EQ(drawn[1].cols, 2);
  g.ClearTitles();
  g.MoveTo(0, 0);

  // A click, then a drag held below the cell area extends on the timer.
  uikit::Click(Cells(), In(2, 1));
  EXPECT_EQ(Cursor(), std::make_pair(2, 1));
  uikit::MouseDown(Cells(), In(2, 1));
  uikit::MouseMove(Cells(), {20, grid.CellPanel().ClientHeight() + 20}, ssLeft);
  EXPECT_TRUE(uikit::RunUntil([&] { return g.CursorRow() >= 2 + 9; }));
  uikit::MouseUp(Cells(), {20, grid.CellPanel().ClientHeight() + 20});
  EXPECT_EQ(g.GetSelection().firstRow, 2);
  g.MoveTo(0, 0);

  // Header borders dragged: column A 40 pixels wider, row 1 ten taller.
  int sized = 0;
  g.Onsized = [&](TGridModel&) { ++sized; };
  HWND colHeader = grid.ColHeader().Handle(), rowHeader = grid.RowHeader().Handle();
  const int border = g.Fwidth() + g.ColWidth(0);
  uikit::MouseDown(colHeader, {border, 5});
  uikit::MouseMove(colHeader, {border + 40, 5}, ssLeft);
  uikit::MouseUp(colHeader, {border + 40, 5});
  EXPECT_EQ(g.ColSize(0), (64 + 40) / 8);
  uikit::MouseDown(rowHeader, {10, 15});
  uikit::MouseMove(rowHeader, {10, 25}, ssLeft);
  uikit::MouseUp(rowHeader, {10, 25});
  EXPECT_EQ(g.RowSize(0), 25);
  EXPECT_EQ(sized, 4);
  // A click on column C's letter selects the column.
  uikit::Click(colHeader, {g.Fwidth() + g.ColOffset(2) + 10, 5});
  EXPECT_EQ(g.GetSelection(), (TRange{2, 0, 2, 8191}));
  g.CollapseSelection();
  grid.CellPanel().Invalidate();

  // Tabs: a click picks the text after the colon; the right click edits.
  tabs.Model().SetItems({"Sales:Q1", "B", "C"});
  tabs.Model().SetMax(3);
  std::vector<std::string> picks;
  tabs.Model().Onpick = [&](TTabBarModel&, const std::string& text) { picks.push_back(text); };
  auto tabPoint = [&](int i) { return TPoint{tabs.Model().TabLeft(i) + 8, 8}; };
  uikit::Click(tabs.Handle(), tabPoint(0));
  uikit::Click(tabs.Handle(), tabPoint(1));
  EXPECT_EQ(picks, (std::vector<std::string>{"Q1", "B"}));
  // The dialog runs modally: a timer fills its memo and presses "&Ok".
  gEditing = &tabs;
  UINT_PTR timer = SetTimer(nullptr, 0, 50, AnswerDefineTabs);
  uikit::Click(tabs.Handle(), tabPoint(1), TMouseButton::mbRight);
  KillTimer(nullptr, timer);
  EXPECT_EQ(tabs.Model().Items(), (std::vector<std::string>{"North", "South"}));
  EXPECT_EQ(tabs.Model().ItemIndex(), 1);

  // The picture: the cursor cell, the grid lines and a split line.
  g.MoveTo(2, 1);
  uikit::RunUntilIdle();
  TBitmap picture;
  ASSERT_TRUE(uikit::CaptureClient(grid.Handle(), picture));
  uikit::SavePicture(picture, "grid");
  const TRect cells = grid.CellPanel().BoundsRect();
  const TRect cursor = g.CellRect(2, 1).Offset(cells.Left, cells.Top);
  EXPECT_EQ(uikit::ColorBounds(picture, kDemoCursor, cells), (TRect{cursor.Left, cursor.Top + 1, cursor.Right - 1, cursor.Bottom}));
  const int lineX = cells.Left + g.CellRect(5, 0).Right - 1;
  EXPECT_EQ(uikit::CountColor(picture, clSilver, {lineX, cells.Top, lineX + 1, cells.Top + 60}), 60);
  const int splitY = g.CellRect(6, 0).Top + 7;
  g.XorHLine(splitY);
  ASSERT_TRUE(uikit::CaptureClient(grid.Handle(), picture));
  uikit::SavePicture(picture, "grid-split-line");
  TRect red = uikit::ColorBounds(picture, clRed, {cells.Left, cells.Top + splitY - 3, cells.Right, cells.Top + splitY + 4});
  EXPECT_EQ(red.Top, cells.Top + splitY);
  EXPECT_EQ(red.Height(), 1);
  EXPECT_GT(red.Width(), cells.Width() / 2);
  g.XorHLine(splitY);
  ASSERT_TRUE(uikit::CaptureClient(grid.Handle(), picture));
  EXPECT_EQ(uikit::CountColor(picture, clRed, {cells.Left, cells.Top + splitY, cells.Right, cells.Top + splitY + 1}), 0);
}

}  // namespace
}  // namespace corvane::testing

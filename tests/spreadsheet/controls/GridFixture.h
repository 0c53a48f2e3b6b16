// A grid model on recording hosts, laid out as a 400 x 300 cell area with
// rows of 15 pixels (20 rows) and columns of 64 pixels (six and a quarter),
// and an owner that records every OnDrawRow and OnChange.
#pragma once

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "classlib/RecordingControlHost.h"
#include "spreadsheet/controls/Grid.h"
#include "tests/spreadsheet/controls/DemoRowPainter.h"

namespace corvane::testing {

// Makes the recording hosts of a grid's parts take the sizes its layout
// gives them.
inline void HostsFollowLayout(TGridModel& grid, classlib::TRecordingControlHost& colHost,
                              classlib::TRecordingControlHost& rowHost, classlib::TRecordingControlHost& barHost,
                              classlib::TRecordingControlHost& cells, TScrollBarModel& bar) {
  grid.PlaceChildren = [&](const TGridLayout& l) {
    colHost.Resize(l.ColHeader.Width(), l.ColHeader.Height());
    rowHost.Resize(l.RowHeader.Width(), l.RowHeader.Height());
    barHost.Resize(l.ScrollBar.Width(), l.ScrollBar.Height());
    cells.Resize(l.Cells.Width(), l.Cells.Height());
    bar.Layout();
  };
}

class GridTest : public ::testing::Test {
 protected:
  GridTest() {
    GridSettings() = TGridSettings{};
    HostsFollowLayout(grid, colHost, rowHost, barHost, cells, bar);
    grid.SetDefHeight(15);
    grid.LayoutChildren(456, 318);
    grid.OnDrawRow = [this](TGridModel&, classlib::TCanvas&, int row, int cols, int cole, bool) {
      drawn.push_back({row, cols, cole});
    };
    grid.OnChange = [this](TGridModel&, int row, int col) { changes.emplace_back(row, col); };
    cells.ClearRecords();
  }

  // Sends a key; returns what the grid's Onkeydown would see.
  int Key(int key, classlib::TShiftState shift = 0) {
    grid.KeyDown(key, shift);
    return key;
  }
  void Clear() {
    drawn.clear();
    changes.clear();
    cells.ClearRecords();
  }
  std::pair<int, int> Cursor() const { return {grid.CursorRow(), grid.CursorCol()}; }
  // Paints the whole cell area on a fresh canvas; the rows drawn.
  std::vector<TDrawnRow> PaintAll() {
    drawn.clear();
    classlib::TRecordingCanvas canvas;
    grid.PaintCells(canvas);
    return drawn;
  }

  classlib::TRecordingControlHost cells{400, 300}, colHost, rowHost, barHost;
  THeaderModel colHeader{colHost}, rowHeader{rowHost};
  TScrollBarModel bar{barHost};
  TGridModel grid{cells, colHeader, rowHeader, bar};
  std::vector<TDrawnRow> drawn;
  std::vector<std::pair<int, int>> changes;
};

}  // namespace corvane::testing

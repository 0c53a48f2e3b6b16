// The grid's painting under Wine: a full screen of rows painted through
// OnDrawRow, and one-row scrolls, which copy the cell area and paint only the
// rows the copy uncovered (by the scroll bar: the new row; by Down from the
// last row in view: the new row and the two cursor rows). Prints rows painted
// and milliseconds per paint or scroll. Run it with the win64 tree built:
//   tools/wine-run build/win64/wine build/win64/bin/grid_paint_bench.exe
#include <cstdio>

#include "classlib/win/Controls.h"
#include "bench/win/PaintTiming.h"
#include "spreadsheet/controls/win/GridWindow.h"
#include "tests/spreadsheet/controls/DemoRowPainter.h"
#include "tests/support/win/UiKit.h"

using namespace classlib;
using namespace corvane;

int main() {
  constexpr int kRounds = 200;
  TForm form(nullptr, "Grid paint benchmark");
  form.Position = TPosition::poDesigned;
  form.SetBounds(0, 0, 1024, 768);
  TGrid grid(nullptr);
  grid.SetParent(&form);
  grid.SetAlign(alClient);
  TGridModel& model = grid.Model();
  model.SetDefHeight(15);
  long rows = 0;
  model.OnDrawRow = [&](TGridModel& sender, TCanvas& canvas, int row, int cols, int cole, bool) {
    ++rows;
    testing::PaintDemoRow(sender, canvas, row, cols, cole);
  };
  form.Show();
  uikit::RunUntilIdle();
  HWND cells = grid.CellPanel().Handle();
  std::printf("cell area %d x %d pixels, %d rows and %d columns in view\n", grid.CellPanel().ClientWidth(),
              grid.CellPanel().ClientHeight(), model.Nrows(), model.Ncols());

  bench::TimePaints("full screen:", cells, rows, kRounds, [&] { InvalidateRect(cells, nullptr, FALSE); });
  bench::TimePaints("one-row scroll (bar):", cells, rows, kRounds,
                    [&] { model.ScrollBar().SetPosition(model.Toprow() + 1); });
  model.MoveTo(model.Toprow() + model.Nrows(), 0);
  uikit::RunUntilIdle();
  bench::TimePaints("one-row scroll (Down):", cells, rows, kRounds, [&] {
    int key = VK_DOWN;
    model.KeyDown(key, 0);
  });
  return 0;
}

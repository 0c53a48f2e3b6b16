// A stand-in for the sheet window's row painting, for pictures, Wine tests
// and the paint benchmark: every cell of the row filled (frozen titles light
// cyan, the selection red with white text, the cursor cell yellow), a silver
// grid line at its right and top, and its address as text.
#pragma once

#include <string>

#include "classlib/Canvas.h"
#include "spreadsheet/controls/Grid.h"

namespace corvane::testing {

// One OnDrawRow call as an owner saw it.
struct TDrawnRow {
  int row, cols, cole;
  friend bool operator==(const TDrawnRow&, const TDrawnRow&) = default;
};

inline constexpr classlib::TColor kDemoFrozen = classlib::RGBColor(128, 255, 255);
inline constexpr classlib::TColor kDemoSelection = classlib::clRed;
inline constexpr classlib::TColor kDemoCursor = classlib::clYellow;

inline void PaintDemoRow(TGridModel& grid, classlib::TCanvas& canvas, int row, int cols, int cole) {
  using namespace classlib;
  const bool frozenRow = row < 0, frozenCols = cols < 0;
  const int r = frozenRow ? ~row : row;
  const int first = frozenCols ? ~cols : cols, last = frozenCols ? ~cole : cole;
  const TRange sel = grid.GetSelection();
  TCanvasStateSaver saved(canvas);
  canvas.TextAlign = taLeft | taTop;
  for (int c = first; c <= last; ++c) {
    const TRect cell = grid.CellRect(row, frozenCols ? ~c : c);
    const bool cursor = !frozenRow && !frozenCols && r == grid.CursorRow() && c == grid.CursorCol();
    const bool selected = !frozenRow && !frozenCols && r >= sel.firstRow && r <= sel.lastRow && c >= sel.firstCol &&
                          c <= sel.lastCol;
    canvas.Brush = TBrush{cursor ? kDemoCursor : selected ? kDemoSelection : (frozenRow || frozenCols) ? kDemoFrozen
                                                                                                      : clWhite};
    canvas.FillRect(cell);
    canvas.Pen = TPen{clSilver};
    canvas.MoveTo(cell.Left, cell.Top);
    canvas.LineTo(cell.Right, cell.Top);
    canvas.MoveTo(cell.Right - 1, cell.Top);
    canvas.LineTo(cell.Right - 1, cell.Bottom);
    canvas.Font.Color = selected && !cursor ? clWhite : clBlack;
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.TextRect(cell.Inflate(-2, -1), cell.Left + 3, cell.Top + 2, HeaderLetters(c + 1) + std::to_string(r + 1));
  }
}

}  // namespace corvane::testing

// The sheet window's side of printing.
#include "spreadsheet/windows/SheetPrint.h"

#include "spreadsheet/engine/DocumentContext.h"

namespace corvane {

namespace {

// A size-table entry at 100 % zoom: the default for 255, columns in units of
// 8 pixels, rows in pixels.
int EntryPixels(const THeaderModel& header, int index, bool columns) {
  int entry = header.Entry(index);
  if (entry == kDefaultSize) return header.Defwidth();
  return columns ? entry * 8 : entry;
}

}  // namespace

int TSheetPrint::ColumnWidth(int col) { return EntryPixels(view_.Pane(1).ColHeader(), col, true); }

int TSheetPrint::RowHeight(int row) { return EntryPixels(view_.Pane(1).RowHeader(), row, false); }

int TSheetPrint::FontPointSize() { return view_.Fonts().defaultSize; }

std::string TSheetPrint::Caption() { return view_.Name(); }

std::string TSheetPrint::FileName() { return view_.Name(); }

void TSheetPrint::PaintRow(classlib::TCanvas& canvas, int row, int firstCol, int lastCol,
                           const std::function<classlib::TRect(int col)>& cellRect, const TPrintLook& look) {
  TRowPaintContext context;
  context.settings = &gCurrentDoc.settings;
  context.fonts = view_.Fonts();
  context.zoom = look.zoom;
  context.print = true;
  context.printNoColour = look.mono;
  context.printGrid = look.grid;
  context.pictures = view_.pictures;
  context.cellRect = cellRect;
  PaintCellRow(canvas, context, row, firstCol, lastCol);
}

}  // namespace corvane

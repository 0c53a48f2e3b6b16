// The sheet window as the print engine sees it: its column widths and row
// heights, its font, its caption, and its cell painter set for the page.
#pragma once

#include "spreadsheet/files/PrintEngine.h"
#include "spreadsheet/windows/SheetView.h"

namespace corvane {

// Reads `view` (borrowed; it must outlive the object). The view's document
// must be the current one while the engine runs.
class TSheetPrint : public TPrintSheet {
 public:
  explicit TSheetPrint(TSheetView& view) : view_(view) {}
  int ColumnWidth(int col) override;
  int RowHeight(int row) override;
  int FontPointSize() override;
  std::string Caption() override;
  std::string FileName() override;
  void PaintRow(classlib::TCanvas& canvas, int row, int firstCol, int lastCol,
                const std::function<classlib::TRect(int col)>& cellRect, const TPrintLook& look) override;

 private:
  TSheetView& view_;
};

}  // namespace corvane

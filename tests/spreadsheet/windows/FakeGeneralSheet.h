// A sheet window as the general settings dialog sees it, recording what it
// was given.
#pragma once

#include "spreadsheet/windows/GeneralSettings.h"

namespace corvane::testing {

class TFakeGeneralSheet : public TGeneralSheet {
 public:
  int gridLines = 3, sheets = 1, rowHeight = 15, columnWidth = 72, refreshes = 0, recentChanges = 0;
  bool threeD = true;
  TSheetFont font{15, 0, "Arial"};
  int GridLines() override { return gridLines; }
  void SetGridLines(int mode) override { gridLines = mode; }
  bool ThreeD() override { return threeD; }
  void SetThreeD(bool on) override { threeD = on; }
  int SheetCount() override { return sheets; }
  void SetSheetCount(int count) override { sheets = count; }
  int DefaultRowHeight() override { return rowHeight; }
  int DefaultColumnWidth() override { return columnWidth; }
  void SetDefaultSizes(int rows, int columns) override {
    if (rows >= 0) rowHeight = rows;
    if (columns >= 0) columnWidth = columns;
  }
  TSheetFont DefaultFont() override { return font; }
  void SetDefaultFont(const TSheetFont& f) override { font = f; }
  void Refresh() override { ++refreshes; }
  void RecentFilesChanged() override { ++recentChanges; }
};

}  // namespace corvane::testing

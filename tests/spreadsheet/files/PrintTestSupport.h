// A sheet for print tests: equal columns and rows (one column and one row may
// be made wide or tall) painted by the real cell painter from the current
// document.
#pragma once

#include <functional>
#include <string>

#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/files/PrintEngine.h"
#include "spreadsheet/files/SettingsFile.h"
#include "spreadsheet/files/WorksheetFileState.h"
#include "spreadsheet/windows/CellPainter.h"
#include "tests/spreadsheet/engine/EngineTestSupport.h"

namespace corvane::testing {

inline constexpr int kColWidth = 64;
inline constexpr int kRowHeight = 15;

class TFakePrintSheet : public TPrintSheet {
 public:
  int ColumnWidth(int col) override { return col == wideCol ? 4 * kColWidth : kColWidth; }
  int RowHeight(int row) override { return row == tallRow ? 2000 : kRowHeight; }
  int FontPointSize() override { return 12; }
  std::string Caption() override { return "BUDGET.WKS"; }
  std::string FileName() override { return "C:\\DATA\\BUDGET.WKS"; }
  void PaintRow(classlib::TCanvas& canvas, int row, int firstCol, int lastCol,
                const std::function<classlib::TRect(int)>& cellRect,
                const TPrintLook& look) override {
    TRowPaintContext context;
    context.settings = &gCurrentDoc.settings;
    context.zoom = look.zoom;
    context.print = true;
    context.printNoColour = look.mono;
    context.printGrid = look.grid;
    context.cellRect = cellRect;
    PaintCellRow(canvas, context, row, firstCol, lastCol);
  }
  int wideCol = -1;
  int tallRow = -1;
};

// A fresh engine with the document `name` current, default program settings
// and print options, and no print texts; the settings are put back after.
class PrintTest : public EngineTest {
 protected:
  explicit PrintTest(const char* name) : name_(name) {}
  void SetUp() override {
    EngineTest::SetUp();
    OpenCurrent(name_);
    ResetFileStates();
    program_ = ProgramSettings();
    ProgramSettings() = TProgramSettings{};
    PrintOptions() = TPrintOptions{};
  }
  void TearDown() override {
    ProgramSettings() = program_;
    PrintOptions() = TPrintOptions{};
    ResetFileStates();
    EngineTest::TearDown();
  }

 private:
  const char* name_;
  TProgramSettings program_;
};

}  // namespace corvane::testing

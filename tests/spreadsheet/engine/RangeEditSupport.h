// A sheet to edit ranges on: cells entered by address as a user types them,
// what the cells show, the errors shown, and ranges written as text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/FormulaText.h"
#include "spreadsheet/engine/InsertDelete.h"
#include "spreadsheet/engine/RangeNames.h"
#include "spreadsheet/engine/RangeText.h"
#include "spreadsheet/engine/ShowError.h"
#include "spreadsheet/graphs/NamedGraphs.h"
#include "tests/spreadsheet/engine/EngineTestSupport.h"
#include "tests/spreadsheet/engine/SheetDump.h"

namespace corvane::testing {

inline std::vector<std::string> gShownErrors;

class RangeEditTest : public EngineTest {
 protected:
  using EngineTest::EngineTest;

  void SetUp() override {
    EngineTest::SetUp();
    InstallGraphRangeVisitor();
    OpenCurrent("C:\\EDIT.WKS");
    gShownErrors.clear();
    SetShowErrorHandler([](std::string_view message) { gShownErrors.emplace_back(message); });
  }
  void TearDown() override {
    SetShowErrorHandler(nullptr);
    SetKeptRangesVisitor(nullptr);
    EngineTest::TearDown();
  }

  static void At(std::string_view addr, int& row, int& col) {
    bool absCol = false, absRow = false;
    ASSERT_TRUE(ParseCellAddr(addr, row, col, absCol, absRow)) << addr;
  }
  static TRange R(std::string_view text) {
    TRange range;
    EXPECT_TRUE(ParseRange(text, range)) << text;
    return range;
  }

  // Enters "ADDR=text" items separated by "|" as typed input.
  void Put(std::string_view items) {
    while (!items.empty()) {
      std::size_t bar = items.find('|');
      std::string_view item = items.substr(0, bar);
      items = bar == std::string_view::npos ? std::string_view() : items.substr(bar + 1);
      std::size_t eq = item.find('=');
      if (eq == std::string_view::npos) {
        ADD_FAILURE() << "no '=' in " << item;
        continue;
      }
      int row = 0, col = 0;
      At(item.substr(0, eq), row, col);
      EXPECT_TRUE(EnterCell(item.substr(eq + 1), row, col)) << item;
    }
  }

  // What the cell shows (its value), "" for a missing or blank cell.
  std::string Shown(std::string_view addr) {
    int row = 0, col = 0;
    At(addr, row, col);
    const TCell* cell = CellPtr(CellFind(row, col));
    if (cell == nullptr) return "";
    if (CellIsLabel(cell)) return std::string(PoolStringView(cell->text).substr(1));
    return CellValueText(*cell);
  }
  // The cell's edit text.
  std::string Edit(std::string_view addr) {
    int row = 0, col = 0;
    At(addr, row, col);
    return CellContentsText(CellFind(row, col));
  }

  TRange NameRange(std::string_view name) {
    int index = FindRangeName(name);
    return index > 0 ? RangeNameRange(*RangeNameAt(index)) : TRange{};
  }

  std::string Dump() { return SheetDump(windows); }
};

}  // namespace corvane::testing

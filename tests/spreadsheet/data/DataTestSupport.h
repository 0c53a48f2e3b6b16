// Shared set-up for the data-command tests: an open document, the error box
// captured, and helpers that address cells by their A1 names.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "spreadsheet/data/DataCommon.h"
#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/FormulaText.h"
#include "spreadsheet/engine/RangeText.h"
#include "spreadsheet/engine/ShowError.h"
#include "spreadsheet/engine/UndoBuffer.h"
#include "tests/spreadsheet/engine/EngineTestSupport.h"

namespace corvane::testing {

inline std::vector<std::string> gDataShownErrors;

class DataTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    OpenCurrent("C:\\DATA.WKS");
    gDataShownErrors.clear();
    SetShowErrorHandler([](std::string_view message) { gDataShownErrors.emplace_back(message); });
  }
  void TearDown() override {
    SetShowErrorHandler(nullptr);
    EngineTest::TearDown();
  }

  static TRange R(std::string_view text) {
    TRange range;
    EXPECT_TRUE(ParseRange(text, range)) << text;
    return range;
  }
  static void Put(std::string_view addr, std::string_view text) {
    TRange r = R(addr);
    ASSERT_TRUE(EnterCell(text, r.firstRow, r.firstCol)) << addr << " " << text;
  }
  // Enters one row of texts from `addr` rightwards ("" leaves a cell missing).
  static void PutRow(std::string_view addr, const std::vector<std::string_view>& texts) {
    TRange r = R(addr);
    int col = r.firstCol;
    for (std::string_view text : texts) {
      if (!text.empty()) {
        EXPECT_TRUE(EnterCell(text, r.firstRow, col)) << text;
      }
      ++col;
    }
  }
  static double Num(std::string_view addr) {
    TRange r = R(addr);
    return NumberAt(r.firstRow, r.firstCol);
  }
  // What the cell holds as typed: a label with its prefix, a number in general
  // text, a formula as its text; "" for blank and missing cells.
  static std::string Contents(std::string_view addr) {
    TRange r = R(addr);
    return CellContentsText(CellFind(r.firstRow, r.firstCol));
  }
  // The texts of a column of cells from `addr` down.
  static std::vector<std::string> Column(std::string_view addr, int rows) {
    TRange r = R(addr);
    std::vector<std::string> texts;
    for (int i = 0; i < rows; ++i) texts.push_back(CellContentsText(CellFind(r.firstRow + i, r.firstCol)));
    return texts;
  }
  // Every cell of the sheet as "address=contents", for checks that nothing changed.
  static std::string Snapshot() {
    std::string all;
    for (int row = 0; row <= kMaxRow; ++row)
      for (TCellHandle cell = RowListHead(row); cell != kNilHandle; cell = CellPtr(cell)->next)
        all += ColRowName(row, CellPtr(cell)->column) + "=" + CellContentsText(cell) + ";";
    return all;
  }
  // Fills a block with numbers given row by row.
  static void PutMatrix(std::string_view addr, int cols, std::initializer_list<double> values) {
    TRange r = R(addr);
    int k = 0;
    for (double v : values) {
      ASSERT_TRUE(SetCellNumber(r.firstRow + k / cols, r.firstCol + k % cols, v));
      ++k;
    }
  }
  static std::string LastError() { return gDataShownErrors.empty() ? "" : gDataShownErrors.back(); }
};

// Checks that a refused command showed `message`, changed no cell and kept
// the undo buffer: a marker cell entered after the save must be the one
// change that undo takes back. The sheet is left as it was before the marker.
#define EXPECT_REFUSED(call, message)                                   \
  do {                                                                  \
    UndoSave();                                                         \
    EnterCell("undo-marker", 8000, 200);                                \
    std::string before = Snapshot();                                    \
    testing::gDataShownErrors.clear();                                  \
    EXPECT_FALSE(call);                                                 \
    EXPECT_EQ(LastError(), std::string("Error:") + (message)) << #call; \
    EXPECT_EQ(Snapshot(), before) << #call;                             \
    EXPECT_TRUE(UndoApply(TUndoMode::kRestore));                        \
    EXPECT_EQ(CellFind(8000, 200), kNilHandle) << #call;                \
  } while (0)

}  // namespace corvane::testing

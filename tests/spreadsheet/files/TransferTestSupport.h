// Shared set-up for the transfer tests: a fresh engine with one open document,
// the errors shown collected, a temporary folder, and cell readers.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "spreadsheet/engine/CellStore.h"
#include "spreadsheet/engine/FormatSettings.h"
#include "spreadsheet/engine/FormulaCompiler.h"
#include "spreadsheet/engine/ShowError.h"
#include "spreadsheet/files/TextTransfer.h"
#include "tests/spreadsheet/engine/EngineTestSupport.h"
#include "tests/spreadsheet/files/TempFolder.h"

namespace corvane::testing {

inline std::vector<std::string> gShownErrors;

class TransferTest : public EngineTest {
 protected:
  explicit TransferTest(int pages = kPoolMaxCapacity) : EngineTest(pages) {}

  void SetUp() override {
    EngineTest::SetUp();
    FormatSettings() = TFormatSettings{};
    OpenCurrent("C:\\SHEET.WKS");
    InitParserCharSets(',', '.');
    gShownErrors.clear();
    SetShowErrorHandler([](std::string_view message) { gShownErrors.emplace_back(message); });
  }
  void TearDown() override {
    SetShowErrorHandler(nullptr);
    FormatSettings() = TFormatSettings{};
    EngineTest::TearDown();
  }

  const TCell* At(int row, int col) { return CellPtr(CellFind(row, col)); }
  // What a cell holds, as a user would read it: "" for no cell, a label's text
  // with its prefix, a number in general text with "#" in front.
  std::string Shown(int row, int col) {
    const TCell* cell = At(row, col);
    if (cell == nullptr) return "";
    if (CellIsNumeric(cell)) return "#" + CellTransferText(cell);
    return LabelAt(row, col);
  }
  // Counts the cells of the document.
  int CellCount() {
    int count = 0;
    for (int row = 0; row <= kMaxRow; ++row)
      for (TCellHandle c = RowListHead(row); c != kNilHandle; c = CellPtr(c)->next) ++count;
    return count;
  }

  TTempFolder folder;
};

}  // namespace corvane::testing

// Shared set-up for the function-family tests: a document to enter formulas
// into, a scripted function host, and a table check that enters each row's
// formula into a cell as a user would and compares what the cell then shows.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <string_view>

#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/FunctionHost.h"
#include "spreadsheet/engine/FunctionSettings.h"
#include "tests/spreadsheet/engine/EngineTestSupport.h"

namespace corvane::testing {

class TFakeFunctionHost : public TFunctionHost {
 public:
  double random = 0.25;
  std::string directory = "C:\\WORK";
  int major = 4, minor = 10;
  std::map<std::string, TFileFacts> files;
  std::string lastQueried;

  double Random() override { return random; }
  std::string CurrentDirectory() override { return directory; }
  void SystemVersion(int& ma, int& mi) override {
    ma = major;
    mi = minor;
  }
  bool QueryFile(std::string_view name, TFileFacts& facts) override {
    lastQueried = name;
    auto it = files.find(std::string(name));
    if (it == files.end()) return false;
    facts = it->second;
    return true;
  }
};

// The expected text of a row whose cell shows ERR.
inline constexpr char kErr[] = "\x01" "ERR";  // one object, so rows can compare its address

// One row: a formula and what its cell shows: ERR, a text, or a number within
// `tolerance` relative (absolute below 1).
struct TFormulaRow {
  const char* formula;
  double number = 0;
  const char* text = nullptr;
  double tolerance = 1e-12;
};
inline TFormulaRow Text(const char* formula, const char* text) { return {formula, 0, text}; }
inline TFormulaRow Err(const char* formula) { return {formula, 0, kErr}; }

class FunctionTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    OpenCurrent("C:\\SHEET.WKS");
    SetFunctionHost(&host);
    FunctionSettings() = TFunctionSettings{};
  }
  void TearDown() override {
    SetFunctionHost(nullptr);
    FunctionSettings() = TFunctionSettings{};
    EngineTest::TearDown();
  }

  // Enters `text` at (row, col) as typed input.
  void Enter(int row, int col, std::string_view text) { ASSERT_TRUE(EnterCell(text, row, col)) << text; }

  // Enters each row's formula into K20 and checks the cell.
  void CheckRows(std::initializer_list<TFormulaRow> rows) {
    for (const TFormulaRow& row : rows) {
      ClearErrorFlag();
      ASSERT_TRUE(EnterCell(row.formula, 19, 10)) << row.formula;
      const TCell* cell = CellPtr(CellFind(19, 10));
      ASSERT_NE(cell, nullptr) << row.formula;
      bool error = cell->kind & kKindErrorBit;
      if (row.text == kErr) {
        EXPECT_TRUE(error) << row.formula << " should show ERR";
        continue;
      }
      ASSERT_FALSE(error) << row.formula << " shows ERR";
      if (row.text) {
        ASSERT_EQ(CellKind(*cell), kKindStringFormula) << row.formula << " gives a number";
        EXPECT_EQ(PoolStringView(CellResultText(*cell)), row.text) << row.formula;
        continue;
      }
      ASSERT_EQ(CellKind(*cell), kKindNumberFormula) << row.formula << " gives a text";
      double got = CellReal(*cell);
      double allowed = row.tolerance * std::max(1.0, std::fabs(row.number));
      EXPECT_NEAR(got, row.number, allowed) << row.formula;
    }
  }

  TFakeFunctionHost host;
};

}  // namespace corvane::testing

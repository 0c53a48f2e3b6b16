// External links: LINK and "[file]" references before and after a refresh,
// values from a fake linked-file reader, links into several sheets, and the
// texts LINK refuses.
#include "spreadsheet/engine/ExternalLinks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/Evaluator.h"
#include "spreadsheet/engine/FormulaCompiler.h"
#include "tests/spreadsheet/engine/EngineTestSupport.h"

namespace corvane {
namespace {

using testing::EngineTest;

// One cell of a fake linked file, as the worksheet reader hands it over.
struct TFileCell {
  int absoluteRow;
  int column;
  bool isText;
  std::string text;
  double number;
};

class ExternalLinksTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    OpenCurrent("C:\\SHEET.WKS");
    InitParserCharSets(',', '.');
    ClearLinks();
    files_.clear();
    reads_.clear();
    SetLinkedFileReader([this](const std::string& name) {
      reads_.push_back(name);
      auto file = files_.find(name);
      if (file == files_.end()) return false;
      for (const TFileCell& cell : file->second)
        LinkStoreValue(cell.absoluteRow, cell.column, fileRowsPerSheet_, cell.isText, cell.text, cell.number);
      return true;
    });
  }
  void TearDown() override {
    SetLinkedFileReader(nullptr);
    ClearLinks();
    EngineTest::TearDown();
  }

  // Enters `formula` at (row, col) and gives what the cell shows.
  std::string Enter(int row, int col, const std::string& formula) {
    EXPECT_TRUE(EnterCell(formula, row, col)) << formula;
    return Shown(row, col);
  }
  std::string Shown(int row, int col) {
    const TCell* cell = CellPtr(CellFind(row, col));
    if (!cell) return "<none>";
    if (cell->kind & kKindErrorBit) return "ERR";
    if (CellKind(*cell) == kKindStringFormula) return std::string(PoolStringView(CellResultText(*cell)));
    char text[32];
    std::snprintf(text, sizeof text, "%g", CellReal(*cell));
    return text;
  }
  std::string Reevaluated(int row, int col) {
    EvaluateCell(CellFind(row, col));
    return Shown(row, col);
  }

  std::map<std::string, std::vector<TFileCell>> files_;
  int fileRowsPerSheet_ = 8192;  // the linked files' layout
  std::vector<std::string> reads_;
};

TEST_F(ExternalLinksTest, LinkValuesArriveWithTheRefresh) {
  files_["C:\\DATA.WKS"] = {
      {0, 0, false, "", 1},       {2, 1, false, "", 42},  // B3
      {3, 1, true, "north", 0},                           // B4
      {5, 5, false, "", 7},                               // F6, which no formula asks for
  };
  EXPECT_EQ(Enter(0, 0, "@LINK(\"c:\\data.wks>B3\")"), kLinkNotAvailableText);
  EXPECT_EQ(Enter(1, 0, "@LINK(\"C:\\DATA.WKS>b4\")"), kLinkNotAvailableText);
  EXPECT_EQ(Enter(2, 0, "@LINK(\"C:\\DATA.WKS>B3\")"), kLinkNotAvailableText);
  EXPECT_EQ(Enter(3, 0, "+[C:\\DATA.WKS]B3"), kLinkNotAvailableText);
  ASSERT_EQ(LinkedFiles().size(), 1u);
  EXPECT_EQ(LinkedFiles()[0].cells.size(), 2u);  // B3 and B4: the formulas share nodes

  EXPECT_EQ(RefreshLinkedFiles(), 1);
  EXPECT_EQ(reads_, std::vector<std::string>{"C:\\DATA.WKS"});
  EXPECT_EQ(Reevaluated(0, 0), "42");
  EXPECT_EQ(Reevaluated(1, 0), "north");
  EXPECT_EQ(Reevaluated(2, 0), "42");
  EXPECT_EQ(Reevaluated(3, 0), "42");
  EXPECT_EQ(Enter(4, 0, "+[C:\\DATA.WKS]B3*2"), "84");
  EXPECT_EQ(LinkedFiles()[0].cells.size(), 2u);

  // The next refresh replaces the values; a text cell that became a number
  // loses its text.
  files_["C:\\DATA.WKS"] = {{2, 1, true, "now text", 0}, {3, 1, false, "", 9}};
  RefreshLinkedFiles();
  EXPECT_EQ(Reevaluated(0, 0), "now text");
  EXPECT_EQ(Reevaluated(1, 0), "9");
  // A file that cannot be read keeps the values it gave.
  files_.clear();
  EXPECT_EQ(RefreshLinkedFiles(), 0);
  EXPECT_EQ(Reevaluated(1, 0), "9");
}

TEST_F(ExternalLinksTest, ValuesOutsideARefreshAreDropped) {
  EXPECT_EQ(Enter(0, 0, "@LINK(\"F.WKS>A1\")"), kLinkNotAvailableText);
  LinkStoreValue(0, 0, 8192, false, "", 5);
  EXPECT_EQ(Reevaluated(0, 0), kLinkNotAvailableText);
  SetLinkedFileReader(nullptr);
  EXPECT_EQ(RefreshLinkedFiles(), 0);
  EXPECT_EQ(Reevaluated(0, 0), kLinkNotAvailableText);
}

TEST_F(ExternalLinksTest, LinksIntoSeveralSheetsAllResolve) {
  fileRowsPerSheet_ = 2048;  // files of four sheets
  struct Row {
    const char* reference;
    int absoluteRow;
    int column;
    double value;
  } rows[] = {
      {"D:C7", 3 * 2048 + 6, 2, 4}, {"A:B2", 1, 1, 1}, {"C:B2", 2 * 2048 + 1, 1, 3},
      {"B:A1", 2048, 0, 2},         {"B2", 1, 1, 1},   {"B:IV2048", 2048 + 2047, 255, 5},
  };
  // Two files: one read in row order, the other column by column.
  std::vector<TFileCell> rowOrder, columnOrder;
  for (const Row& row : rows) rowOrder.push_back({row.absoluteRow, row.column, false, "", row.value});
  std::sort(rowOrder.begin(), rowOrder.end(),
            [](const TFileCell& a, const TFileCell& b) { return std::tie(a.absoluteRow, a.column) < std::tie(b.absoluteRow, b.column); });
  columnOrder = rowOrder;
  std::sort(columnOrder.begin(), columnOrder.end(),
            [](const TFileCell& a, const TFileCell& b) { return std::tie(a.column, a.absoluteRow) < std::tie(b.column, b.absoluteRow); });
  files_["ROWS.WKS"] = rowOrder;
  files_["COLS.WKS"] = columnOrder;
  int col = 0;
  for (const char* file : {"ROWS.WKS", "COLS.WKS"}) {
    for (int k = 0; k < static_cast<int>(std::size(rows)); ++k)
      Enter(k, col, std::string("@LINK(\"") + file + ">" + rows[k].reference + "\")");
    ++col;
  }
  ASSERT_EQ(RefreshLinkedFiles(), 2);
  for (int c = 0; c < col; ++c) {
    for (int k = 0; k < static_cast<int>(std::size(rows)); ++k) {
      char expected[16];
      std::snprintf(expected, sizeof expected, "%g", rows[k].value);
      EXPECT_EQ(Reevaluated(k, c), expected) << rows[k].reference << " in column " << c;
    }
  }
}

TEST_F(ExternalLinksTest, BadLinkTextsAreErr) {
  gCurrentDoc.settings.rowsPerSheet = 4096;  // two sheets
  const std::string longPath = "C:\\" + std::string(80, 'X') + ".WKS>A1";
  const char* rows[] = {
      "@LINK(\"C:\\DATA.WKS\")",        // no ">"
      "@LINK(\">B3\")",                 // no file
      "@LINK(\"C:\\DATA.WKS>\")",       // no cell
      "@LINK(\"C:\\DA?TA.WKS>B3\")",    // not a file name
      "@LINK(\"C:\\DATA.WKS>1:B3\")",   // sheet letters
      "@LINK(\"C:\\DATA.WKS>ABC:B3\")",
      "@LINK(\"C:\\DATA.WKS>B:A:B3\")",
      "@LINK(\"C:\\DATA.WKS>B:B4097\")",  // beyond a sheet of any file with two or more
      "@LINK(\"C:\\DATA.WKS>AB:IV8192\")",  // likewise for 28 sheets
      "@LINK(\"C:\\DATA.WKS>TOTAL\")",  // not a cell address
      "@LINK(\"C:\\DATA.WKS>B3X\")",
      "@LINK(5)",
      "@LINK(1/0)",
  };
  for (const char* formula : rows) EXPECT_EQ(Enter(0, 0, formula), "ERR") << formula;
  EXPECT_EQ(Enter(0, 0, "@LINK(\"" + longPath + "\")"), "ERR");
  EXPECT_TRUE(LinkedFiles().empty());
  EXPECT_EQ(Enter(0, 0, "@LINK(\"C:\\DATA.WKS>B:B4096\")"), kLinkNotAvailableText);
}

TEST_F(ExternalLinksTest, SheetsAreTheLinkedFilesWhateverTheDocumentHas) {
  // This document has one sheet; the linked file three of 2730 rows.
  fileRowsPerSheet_ = 2730;
  files_["F.WKS"] = {{2730 + 4, 2, false, "", 35}, {2 * 2730 + 2729, 0, false, "", 7}, {4, 2, false, "", 5}};
  EXPECT_EQ(Enter(0, 0, "@LINK(\"F.WKS>B:C5\")"), kLinkNotAvailableText);
  EXPECT_EQ(Enter(1, 0, "@LINK(\"F.WKS>C:A2730\")"), kLinkNotAvailableText);
  EXPECT_EQ(Enter(2, 0, "@LINK(\"F.WKS>C5\")"), kLinkNotAvailableText);
  RefreshLinkedFiles();
  EXPECT_EQ(Reevaluated(0, 0), "35");
  EXPECT_EQ(Reevaluated(1, 0), "7");
  EXPECT_EQ(Reevaluated(2, 0), "5");
}

TEST_F(ExternalLinksTest, TheKeyIsTheFirstCornerAsWritten) {
  gCurrentDoc.settings.rowsPerSheet = 4096;  // two sheets
  fileRowsPerSheet_ = 4096;
  files_["F.WKS"] = {{0, 0, false, "", 1}, {4, 1, false, "", 5}, {4096 + 99, 0, false, "", 100}};
  struct Row {
    const char* reference;
    const char* shown;
  } rows[] = {
      {"B5..A1", "5"},            // a reversed pair names its first corner
      {"B:A100..C200", "100"},    // cut to 10 characters: only the last corner is cut
      {"A1..IV8192", "1"},
      {"B:$IV$40960", "ERR"},     // the cut would turn it into another cell
      {"B:A100..", "ERR"},
  };
  for (int k = 0; k < static_cast<int>(std::size(rows)); ++k)
    Enter(k, 0, std::string("@LINK(\"F.WKS>") + rows[k].reference + "\")");
  RefreshLinkedFiles();
  for (int k = 0; k < static_cast<int>(std::size(rows)); ++k)
    EXPECT_EQ(Reevaluated(k, 0), rows[k].shown) << rows[k].reference;
}

TEST_F(ExternalLinksTest, SheetLettersCountLikeColumns) {
  struct Row {
    const char* letters;
    int index;
  } rows[] = {{"A", 0}, {"Z", 25}, {"b", 1}, {"AA", 26}, {"AZ", 51}, {"BA", 52}, {"ZZ", 701},
              {"", -1}, {"ABC", -1}, {"1", -1}, {"A1", -1}, {"$A", -1}};
  for (const Row& row : rows) EXPECT_EQ(SheetLettersToIndex(row.letters), row.index) << row.letters;
}

}  // namespace
}  // namespace corvane

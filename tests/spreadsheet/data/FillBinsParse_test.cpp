// Fill series, frequency bins and parse.
#include "spreadsheet/data/FillBinsParse.h"

#include <cmath>

#include "spreadsheet/engine/DocumentContext.h"
#include "tests/spreadsheet/data/DataTestSupport.h"

namespace corvane {
namespace {

using FillBinsParseTest = testing::DataTest;

TEST_F(FillBinsParseTest, FillWritesTheSeriesInTheOrderAsked) {
  struct Case {
    const char* range;
    int type;
    bool rowOrder;
    double start, step;
    std::vector<std::string> column;  // A1 down
  } cases[] = {
      {"A1..A5", kFillLinear, false, 1, 2, {"1", "3", "5", "7", "9"}},
      {"A1..A5", kFillMultiply, false, 1, 2, {"1", "2", "4", "8", "16"}},
      {"A1..A5", kFillPower, false, 2, 2, {"2", "4", "16", "256", "65536"}},
      {"A1..B3", kFillLinear, true, 0, 1, {"0", "2", "4"}},   // row order: A1 B1 A2 ...
      {"A1..B3", kFillLinear, false, 0, 1, {"0", "1", "2"}},  // column order: A1 A2 A3 B1 ...
      {"A1..A4", kFillMultiply, false, 1e300, 1e10, {"1E+300", "", "", ""}},  // stops at the overflow
      {"A1..A4", kFillPower, false, -2, 0.5, {"-2", "", "", ""}},           // and at a failed power
  };
  for (const Case& c : cases) {
    CellStoreClear();
    ASSERT_TRUE(DataFill(R(c.range), c.type, c.rowOrder, c.step, c.start)) << c.range;
    EXPECT_EQ(Column("A1", static_cast<int>(c.column.size())), c.column) << c.range << " type " << c.type;
  }
  CellStoreClear();
  DataFill(R("A1..A10"), kFillLinear, false, 0.1, 0.1);
  double sum = 0.1;
  for (int i = 1; i < 10; ++i) sum += 0.1;
  EXPECT_EQ(Num("A10"), sum);  // accumulated in reals, step by step

  EXPECT_REFUSED(DataFill(TRange{0, 8190, 0, 8200}, kFillLinear, false, 1, 0), kOutOfRangeText);
  EXPECT_REFUSED(DataFill(R("A1..A3"), kFillLinear, false, NAN, 0), kNotANumberText);
}

TEST_F(FillBinsParseTest, BinsCountValuesOnceAndRowsWithoutOneAsOverflow) {
  struct Case {
    bool upperIncluded;
    bool blankCell;                   // A6 a blank cell with a format (a value 0), else A1..A5 only
    std::vector<std::string> counts;  // the two bins, then the overflow
    double rows;                      // the shares' divisor
  } cases[] = {
      // 5 rows, 4 values: the empty A5 counts in the overflow, shares of 5
      {true, false, {"2", "1", "2"}, 5},
      {false, false, {"1", "1", "3"}, 5},
      {true, true, {"3", "1", "2"}, 6},
      {false, true, {"2", "1", "3"}, 6},
  };
  for (const Case& c : cases) {
    CellStoreClear();
    PutMatrix("A1", 1, {1, 2, 3, 4});
    if (c.blankCell) CellGetOrCreate(5, 0);
    PutMatrix("C1", 1, {2, 3});
    gCurrentDoc.settings.binsUpperIncluded = c.upperIncluded;
    ASSERT_TRUE(DataBinsRanges(R(c.blankCell ? "A1..A6" : "A1..A5"), R("C1..C2")));
    EXPECT_EQ(Column("D1", 3), c.counts);
    EXPECT_DOUBLE_EQ(Num("E1"), std::stod(c.counts[0]) / c.rows);
    EXPECT_DOUBLE_EQ(Num("E3"), std::stod(c.counts[2]) / c.rows);
  }
  EXPECT_REFUSED(DataBinsRanges(R("A1..A6"), R("IU1..IU2")), kOutOfRangeText);
  EXPECT_REFUSED(DataBinsRanges(R("D1..D6"), R("C1..C2")), kOverlapText);
}

TEST_F(FillBinsParseTest, ParseSplitsEachLabelOnceIntoItsRow) {
  Put("A1", "a 12 \"p q\"");
  Put("B2", "x y");
  Put("A2", "first");
  Put("C1", "'old");  // overwritten by A1's third field, not split again
  ASSERT_TRUE(DataParse(R("A1..C2")));
  EXPECT_EQ(Contents("A1"), "'a");
  EXPECT_EQ(Contents("B1"), "12");
  EXPECT_EQ(Contents("C1"), "'p q");
  EXPECT_EQ(Contents("D1"), "");
  EXPECT_EQ(Contents("A2"), "'first");
  EXPECT_EQ(Contents("C2"), "'y");

  Put("IU5", "one two three");
  EXPECT_REFUSED(DataParse(R("IU5")), kOutOfRangeText);
}

}  // namespace
}  // namespace corvane

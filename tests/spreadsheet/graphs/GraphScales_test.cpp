// Scale ends from the cells of a graph's ranges: automatic, manual, stacked,
// logarithmic, and the degenerate ranges that must still give usable scales.
#include "spreadsheet/graphs/GraphScales.h"

#include "tests/spreadsheet/graphs/GraphTestSupport.h"

namespace corvane::testing {
namespace {

using GraphScalesTest = GraphTest;

TEST_F(GraphScalesTest, EndsAndDecadesByTypeAndData) {
  struct TCase {
    const char* name;
    int type;
    std::vector<std::vector<std::string>> columns;  // X, then the series
    int axisOptions;
    bool manualY;
    double xMin, xMax, yMin, yMax;
    int xStep, yStep;  // -1: not checked
  };
  const TCase cases[] = {
      {"bar X over five cells", kGraphBar, {{"a", "b", "c", "d", "e"}, {"1", "2", "3", "4", "5"}}, 0, false,
       1, 6, 1, 5, -1, -1},
      {"line takes the top series", kGraphLine, {{"a", "b"}, {"3", "1"}, {"4", "2"}}, 0, false, 1, 3, 1, 4, -1, -1},
      // Stacks grow from zero; the totals 2+1 and 4+3 bound them.
      {"stack of two series", kGraphStack, {{"a", "b"}, {"1", "3"}, {"2", "4"}}, 0, false, 1, 3, 0, 7, -1, -1},
      {"stack going negative", kGraphStack, {{"a", "b"}, {"-5", "1"}, {"2", "-4"}}, 0, false, 1, 3, -4, 2, -1, -1},
      {"manual Y over a stack", kGraphStack, {{"a", "b"}, {"1", "3"}, {"2", "4"}}, 0, true, 1, 3, -10, 100, -1, -1},
      {"pie uses its first series", kGraphPie, {{"a", "b"}, {"1", "2"}, {"10", "20"}}, 0, false, 1, 3, 1, 2, -1, -1},
      {"cum holds the running sums", kGraphCum, {{"1", "2", "3"}, {"1", "2", "3"}}, 0, false, 1, 3, 1, 6, -1, -1},
      {"xy value X", kGraphXy, {{"2", "8"}, {"1", "1.5"}}, 0, false, 2, 8, 1, 1.5, -1, -1},
      {"log Y 2 to 950", kGraphLine, {{"a", "b"}, {"2", "950"}}, 0x40, false, 1, 3, 1, 1000, -1, 3},
      {"log Y 1005 stays in its decade", kGraphLine, {{"a", "b"}, {"2", "1005"}}, 0x40, false, 1, 3, 1, 1000, -1,
       3},
      {"log Y 1020 takes the next decade", kGraphLine, {{"a", "b"}, {"2", "1020"}}, 0x40, false, 1, 3, 1, 10000,
       -1, 4},
      {"log Y over values not above 0", kGraphLine, {{"a", "b", "c"}, {"-5", "0", "100"}}, 0x40, false, 1, 4, 0.1,
       100, -1, 3},
      {"log X 3 to 700", kGraphXy, {{"3", "700"}, {"1", "2"}}, 0x80, false, 1, 1000, 1, 2, 3, -1},
      {"constant values get room", kGraphLine, {{"a", "b", "c"}, {"5", "5", "5"}}, 0, false, 1, 4, 0, 5, -1, -1},
      {"one value X gets room", kGraphXy, {{"4"}, {"-2"}}, 0, false, 3, 5, -2, 0, -1, -1},
      {"series without numbers", kGraphLine, {{"a", "b"}, {"x", "y"}}, 0, false, 1, 3, 0, 1, -1, -1},
      {"errors are left out", kGraphLine, {{"a", "b", "c"}, {"@ERR", "7", "2"}}, 0, false, 1, 4, 2, 7, -1, -1},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(GraphInitDocument());
    CellStoreClear();
    for (std::size_t col = 0; col < c.columns.size(); ++col) Column(static_cast<int>(col), c.columns[col]);
    int rows = static_cast<int>(c.columns[0].size());
    TGraphRecord g = Graph(c.type, rows, static_cast<int>(c.columns.size()) - 1);
    g.SetAxisOptions(c.axisOptions);
    if (c.manualY) {
      g.SetYManual(true);
      g.SetYScale(-10, 100);
    }
    TGraphScales sc = GraphComputeScales(g);
    EXPECT_DOUBLE_EQ(sc.xMin, c.xMin);
    EXPECT_DOUBLE_EQ(sc.xMax, c.xMax);
    EXPECT_DOUBLE_EQ(sc.yMin, c.yMin);
    EXPECT_DOUBLE_EQ(sc.yMax, c.yMax);
    if (c.xStep >= 0) {
      EXPECT_EQ(g.XStep(), c.xStep);
    }
    if (c.yStep >= 0) {
      EXPECT_EQ(g.YStep(), c.yStep);
    }
    EXPECT_EQ(sc.validSeries, static_cast<int>(c.columns.size()) - 1);
  }
}

TEST_F(GraphScalesTest, ContourScalesToTheMatrixShape) {
  TGraphRecord g = Graph(kGraphContour, 4, 1);
  g.SetXRange(MakeRange(2, 3, 4, 6));  // 3 columns by 4 rows
  g.SetYManual(true);
  g.SetYScale(50, 60);  // the matrix decides Y all the same
  TGraphScales sc = GraphComputeScales(g);
  EXPECT_EQ(sc.xMin, 0);
  EXPECT_EQ(sc.xMax, 2);
  EXPECT_EQ(sc.yMin, 0);
  EXPECT_EQ(sc.yMax, 3);
}

TEST(GraphDecadeTest, DecadesAndTheirCount) {
  const struct {
    double x, decade;
  } decades[] = {{950, 1000}, {1005, 1000}, {2, 1}, {0.05, 0.1}, {0.005, 0.01}, {0.09, 0.1}, {0, 1}, {-300, 100}};
  for (auto d : decades) EXPECT_DOUBLE_EQ(GraphDecade(d.x), d.decade) << d.x;
  EXPECT_EQ(GraphDecadeCount(1, 1000), 3);
  EXPECT_EQ(GraphDecadeCount(0.001, 1e6), 9);
  EXPECT_EQ(GraphDecadeCount(1e-300, 1e300), 255);
  EXPECT_EQ(GraphDecadeCount(0, 10), 0);
}

}  // namespace
}  // namespace corvane::testing

// The graph window's zoom arithmetic, scaling to the data, element pages and
// quick-print areas.
#include "spreadsheet/graphs/GraphViewModel.h"

#include "tests/spreadsheet/graphs/GraphTestSupport.h"

namespace corvane::testing {
namespace {

using classlib::TRect;

class GraphViewModelTest : public GraphTest {
 protected:
  TGraphRecord Scaled(double xl, double xu, double yl, double yu, int axisOptions = 0) {
    TGraphRecord g = Graph(kGraphXy, 2, 1);
    g.SetXScale(xl, xu);
    g.SetYScale(yl, yu);
    g.SetAxisOptions(axisOptions);
    return g;
  }
  const TRect plot{100, 50, 500, 250};  // 400 x 200
};

TEST_F(GraphViewModelTest, ZoomPanAndTheMenuSteps) {
  const struct {
    const char* name;
    TRect rect;
    double xl, xu, yl, yu;
  } rows[] = {
      {"left half, top half", {100, 50, 300, 150}, 0, 50, 50, 100},
      {"corners in any order", {300, 150, 100, 50}, 0, 50, 50, 100},
      {"10 x 40 pans: centred on (305, 150)", {300, 130, 310, 170}, 1.25, 101.25, 0, 100},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    TGraphRecord g = Scaled(0, 100, 0, 100);
    ASSERT_TRUE(GraphZoomToRect(g, r.rect, plot));
    EXPECT_DOUBLE_EQ(g.XLower(), r.xl);
    EXPECT_DOUBLE_EQ(g.XUpper(), r.xu);
    EXPECT_DOUBLE_EQ(g.YLower(), r.yl);
    EXPECT_DOUBLE_EQ(g.YUpper(), r.yu);
  }
  TGraphRecord g = Scaled(-10, 30, 5, 25);
  for (int i = 0; i < 2; ++i) GraphZoomToRect(g, GraphZoomInRect(plot), plot);
  EXPECT_DOUBLE_EQ(g.XUpper() - g.XLower(), 10);
  for (int i = 0; i < 2; ++i) GraphZoomToRect(g, GraphZoomOutRect(plot), plot);
  EXPECT_DOUBLE_EQ(g.XLower(), -10);
  EXPECT_DOUBLE_EQ(g.XUpper(), 30);
  EXPECT_DOUBLE_EQ(g.YLower(), 5);
  EXPECT_DOUBLE_EQ(g.YUpper(), 25);

  g = Scaled(1, 10000, 1, 100, 0xC0);
  GraphZoomToRect(g, {100, 50, 300, 150}, plot);
  EXPECT_NEAR(g.XUpper(), 100, 1e-9) << "halfway along a logarithmic axis";
  EXPECT_NEAR(g.YLower(), 10, 1e-9);

  TGraphRecord before = g;
  EXPECT_FALSE(GraphZoomToRect(g, {0, 0, 50, 50}, {10, 10, 10, 40})) << "a plot without width";
  EXPECT_EQ(g, before);

  for (int type : {kGraphPie, kGraphPie3D, kGraphDonut3D, kGraphRadar, kGraphPolar}) EXPECT_FALSE(GraphZoomable(type));
  for (int type : {kGraphXy, kGraphBar, kGraphContour, kGraphBar3D}) EXPECT_TRUE(GraphZoomable(type));
}

TEST_F(GraphViewModelTest, ScaleToDataTakesEverySeries) {
  Column(0, {"2", "9"});
  Column(1, {"1", "10"});
  Column(2, {"-4", "50"});
  TGraphRecord g = Graph(kGraphXy, 2, 2);
  g.SetYManual(true);
  g.SetYScale(0, 1);
  GraphScaleToData(g);
  EXPECT_EQ(g.XLower(), 2);
  EXPECT_EQ(g.XUpper(), 9);
  EXPECT_EQ(g.YLower(), -4);
  EXPECT_EQ(g.YUpper(), 50);
  EXPECT_TRUE(g.YManual());

  g.SetXManual(false);
  g.SetXScale(0, 0);
  GraphTakeManualScales(g);
  EXPECT_TRUE(g.XManual() && g.YManual());
  EXPECT_EQ(g.XUpper(), 9);
}

TEST(GraphViewPagesTest, ElementsOpenTheirPages) {
  const struct {
    int id, code;
  } rows[] = {{7, 2 | 6 << 4}, {8, 2 | 6 << 4}, {9, 5},  {12, 5},         {13, 3},        {14, 3 | 1 << 4},
              {15, 8},         {-1, 2},         {-6, 2 | 5 << 4}, {1, -1}, {6, -1}, {0, -1}};
  for (auto r : rows) EXPECT_EQ(GraphElementPageCode(r.id), r.code) << r.id;
  EXPECT_EQ(GraphAttributesCaption(0), "No Selection");
  EXPECT_EQ(GraphAttributesCaption(-3), "&Attributes (3)");
}

TEST(GraphViewPagesTest, QuickPrintMarginsAndArea) {
  EXPECT_EQ(GraphQuickPrintMargin(2400, 3300, 300), 275) << "a quarter of an 11-inch page";
  EXPECT_EQ(GraphQuickPrintMargin(3300, 2400, 300), 50);
  EXPECT_EQ(GraphQuickPrintMargin(2400, 3300, 0), 50);
  EXPECT_EQ(GraphQuickPrintArea(2400, 3300, 300, 300, 50, 275, 50, 100, 275), (TRect{150, 825, 2250, 2475}));
  EXPECT_EQ(GraphQuickPrintArea(2400, 3300, 300, 300, 50, 50, 50, 50, 50).Width(), 1050);
}

}  // namespace
}  // namespace corvane::testing

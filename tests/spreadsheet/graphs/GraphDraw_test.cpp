// What a drawn graph shows, read off the recording canvas: layout, axes and
// their labels, legend, hit regions, the series of each type, data labels,
// and which graph DrawGraph draws.
#include <cmath>
#include <numbers>

#include "spreadsheet/engine/FormatSettings.h"
#include "spreadsheet/graphs/GraphCells.h"
#include "tests/spreadsheet/graphs/GraphTestSupport.h"

namespace corvane::testing {
namespace {

using classlib::TBrushStyle;
using classlib::TCanvasCall;
using classlib::TCanvasOp;
using classlib::TColor;
using classlib::TPoint;
using classlib::TRect;

struct TLine {
  TPoint from, to;
  classlib::TPen pen;
};

class GraphDrawTest : public GraphTest {
 protected:
  std::vector<TLine> Lines() const {
    std::vector<TLine> lines;
    TPoint at;
    for (const TCanvasCall& c : canvas.Calls) {
      if (c.Op == TCanvasOp::MoveTo) at = c.Points[0];
      if (c.Op == TCanvasOp::LineTo) {
        lines.push_back({at, c.Points[0], c.Pen});
        at = c.Points[0];
      }
    }
    return lines;
  }
  // Polygons filled in `color`, in drawing order.
  std::vector<TCanvasCall> Polygons(TColor color) const {
    std::vector<TCanvasCall> out;
    for (const TCanvasCall& c : canvas.CallsOf(TCanvasOp::Polygon))
      if (c.Brush.Color == color && c.Brush.Style != TBrushStyle::bsClear) out.push_back(c);
    return out;
  }
  // Texts drawn left of x, trimmed, in order.
  std::vector<std::string> TextsLeftOf(int x) const {
    std::vector<std::string> out;
    for (const TCanvasCall& c : canvas.CallsOf(TCanvasOp::TextOut))
      if (c.Points[0].x < x) out.push_back(GraphTrim(c.Text));
    return out;
  }
  int HitsOf(int id) const {
    int n = 0;
    for (const auto& node : hits.Nodes()) n += node.id == id;
    return n;
  }
  static TColor SeriesColor(const TGraphRecord& g, int series) { return GraphPaletteColor(g.SeriesColour(series)); }
};

TEST_F(GraphDrawTest, LayoutScalesWithTheCanvasHeight) {
  const struct {
    int type, height, tick, depth, s, dx, dy;
  } rows[] = {{kGraphBar3D, 350, 3, 20, 6, 18, -10}, {kGraphBar, 350, 3, 0, 0, 0, 0}, {kGraphBar3D, 700, 6, 40, 12, 35, -20}};
  for (auto r : rows) {
    TGraphFrame f(Graph(r.type, 1, 1), 700, r.height, {}, nullptr);
    f.Layout(canvas);
    EXPECT_EQ(f.tick, r.tick);
    EXPECT_EQ(f.depth, r.depth);
    EXPECT_EQ(f.s, r.s);
    EXPECT_EQ(f.dx, r.dx);
    EXPECT_EQ(f.dy, r.dy);
  }
}

TEST_F(GraphDrawTest, YAxisLabelsZeroLineAndLogDecades) {
  Column(0, {"a", "b"});
  Column(1, {"1", "2"});
  const struct {
    double lower, upper;
    int axisOptions;
    std::vector<std::string> labels;
    bool zeroLine;
    int minorTicks;
  } rows[] = {
      {0, 100, 0, {"100", "75", "50", "25", "0"}, false, 0},
      {-50, 50, 0, {"50", "25", "0", "-25", "-50"}, true, 0},
      {1, 1000, 0x40, {"1000", "100", "10", "1"}, false, 26},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.upper);
    TGraphRecord g = Graph(kGraphLine, 2, 1);
    g.SetYManual(true);
    g.SetYScale(r.lower, r.upper);
    g.SetAxisOptions(r.axisOptions);
    g.SetYFormat(0);
    TRect plot = Draw(g);
    EXPECT_EQ(TextsLeftOf(plot.Left), r.labels);
    bool zeroLine = false;
    int minor = 0;
    for (const TLine& l : Lines()) {
      zeroLine |= l.from.x == plot.Left && l.to.x == plot.Right && l.from.y == (plot.Top + plot.Bottom) / 2;
      minor += l.from.x == plot.Right - 1 && l.to.x == plot.Right + 1;
    }
    EXPECT_EQ(zeroLine, r.zeroLine);
    EXPECT_EQ(minor, r.minorTicks);
    EXPECT_EQ(HitsOf(14), static_cast<int>(r.labels.size()));
  }
}

// Values near the top of the doubles: labels in exponent form where the
// axis format would write out 300 digits, and a plot that keeps its room.
TEST_F(GraphDrawTest, HugeValuesKeepShortLabelsAndThePlotArea) {
  Column(0, {"1E+300", "2E+300", "3E+300", "4E+300", "5E+300"});
  Column(1, {"1E+300", "3E+300", "-2E+300", "5E+300", "1E+299"});
  for (int type : {kGraphLine, kGraphXy}) {
    SCOPED_TRACE(type);
    TRect plot = Draw(Graph(type, 5, 1));
    EXPECT_GT(plot.Width(), 500);
    std::vector<std::string> yLabels;
    for (const TCanvasCall& c : canvas.CallsOf(TCanvasOp::TextOut)) {
      EXPECT_LE(GraphTrim(c.Text).size(), 10u) << c.Text;
      if (c.Points[0].x < plot.Left && c.Points[0].y < plot.Bottom) yLabels.push_back(GraphTrim(c.Text));
    }
    EXPECT_EQ(yLabels, (std::vector<std::string>{"5E+300", "3.25E+300", "1.5E+300", "-2.5E+299", "-2E+300"}));
    int segments = 0;
    for (const auto& node : hits.Nodes()) {
      if (node.id != -1) continue;
      ++segments;
      for (TPoint p : {TPoint{node.x1, node.y1}, TPoint{node.x2, node.y2}}) {
        EXPECT_TRUE(plot.Left <= p.x && p.x <= plot.Right && plot.Top <= p.y && p.y <= plot.Bottom)
            << p.x << "," << p.y;
      }
    }
    EXPECT_EQ(segments, 4);
  }
}

TEST_F(GraphDrawTest, CategoryLabelsSitInTheMiddleOfTheirSlotsInOneOrTwoRows) {
  Column(0, {"a", "b", "c", "d", "e"});
  Column(1, {"1", "2", "3", "4", "5"});
  TGraphRecord g = Graph(kGraphBar, 5, 1);
  TRect plot = Draw(g);
  std::vector<int> centres, tops;
  for (const TCanvasCall& c : canvas.CallsOf(TCanvasOp::TextOut)) {
    if (c.Text.size() != 1 || c.Points[0].y < plot.Bottom) continue;
    centres.push_back(c.Points[0].x + canvas.TextExtent(c.Text).cx / 2);
    tops.push_back(c.Points[0].y);
  }
  ASSERT_EQ(centres.size(), 5u);
  for (int k = 0; k < 5; ++k) EXPECT_NEAR(centres[k], plot.Left + (k + 0.5) * plot.Width() / 5, 1) << k;
  EXPECT_EQ(tops[0], tops[1]);

  g.SetXStep(11);
  TRect staggered = Draw(g);
  EXPECT_EQ(plot.Bottom - staggered.Bottom, 12) << "a second row of labels one values-height tall";
  tops.clear();
  for (const TCanvasCall& c : canvas.CallsOf(TCanvasOp::TextOut))
    if (c.Text.size() == 1 && c.Points[0].y > staggered.Bottom) tops.push_back(c.Points[0].y);
  ASSERT_EQ(tops.size(), 5u);
  EXPECT_EQ(tops[1] - tops[0], 12);
  EXPECT_EQ(tops[2], tops[0]);
}

TEST_F(GraphDrawTest, RadarSpokesAndRings) {
  Column(0, {"0", "1", "2"});
  Column(1, {"1", "2", "3"});
  TGraphRecord g = Graph(kGraphRadar, 3, 1);
  g.SetXStep(5);
  g.SetXFormat(0);
  g.SetOptions(0x01);  // rings
  Draw(g);
  std::vector<std::string> spokes;
  for (const auto& node : hits.Nodes())
    if (node.id == 6) spokes.push_back("");
  EXPECT_EQ(spokes.size(), 5u);
  std::vector<std::string> texts = canvas.Texts();
  for (const char* angle : {"0\xB0", "60\xB0", "120\xB0", "180\xB0", "240\xB0"})
    EXPECT_NE(std::find(texts.begin(), texts.end(), angle), texts.end()) << angle;
  EXPECT_EQ(std::find(texts.begin(), texts.end(), "300\xB0"), texts.end());
  // Outer circle and the three dashed rings inside it (Y step 4).
  EXPECT_EQ(canvas.CallsOf(TCanvasOp::Ellipse).size(), 4u);
}

TEST_F(GraphDrawTest, LegendRowTableAndHidden) {
  Column(0, {"a", "b"});
  for (int s = 1; s <= 3; ++s) Column(s, {"1", "2"});
  TGraphRecord g = Graph(kGraphBar, 2, 3);
  Draw(g);
  EXPECT_TRUE(TextsOfHeight(8).empty()) << "no legend texts";
  EXPECT_EQ(HitsOf(15), 1);

  g.SetLegend(1, "North");
  g.SetLegend(3, "South");
  Draw(g);
  EXPECT_EQ(TextsOfHeight(8), (std::vector<std::string>{"North", "South"}));

  g.SetOptions(0x08);  // table
  Draw(g);
  const auto& nodes = hits.Nodes();
  auto box = std::find_if(nodes.begin(), nodes.end(), [](const auto& n) { return n.id == 15; });
  ASSERT_NE(box, nodes.end());
  std::vector<int> ys;
  for (const TCanvasCall& c : canvas.CallsOf(TCanvasOp::TextOut)) {
    if (-c.Font.Height != 8) continue;
    EXPECT_GE(c.Points[0].y, box->y1);
    EXPECT_LE(c.Points[0].y + 8, box->y2) << c.Text << " stands inside the box";
    ys.push_back(c.Points[0].y);
  }
  ASSERT_EQ(ys.size(), 2u);
  EXPECT_EQ(ys[1] - ys[0], 20) << "entries on consecutive rows";

  g.SetOptions(0x10);
  Draw(g);
  EXPECT_EQ(HitsOf(15), 0);
  EXPECT_TRUE(TextsOfHeight(8).empty());
}

TEST_F(GraphDrawTest, HitTestSelectsDeselectsAndFindsSeriesSegments) {
  Column(0, {"a", "b", "c"});
  Column(1, {"1", "3", "2"});
  TGraphRecord g = Graph(kGraphLine, 3, 1);
  g.SetHeading(1, "Sales");
  Draw(g);
  const auto& nodes = hits.Nodes();
  auto heading = std::find_if(nodes.begin(), nodes.end(), [](const auto& n) { return n.id == 9; });
  ASSERT_NE(heading, nodes.end());
  classlib::TRecordingCanvas screen;
  EXPECT_EQ(hits.HitTest(heading->x1 + 1, heading->y1 + 1, &screen), 9);
  EXPECT_EQ(hits.HitTest(heading->x1 + 1, heading->y1 + 1, &screen), 0);
  // Highlighted, then the same XOR outline again to remove it.
  auto xor_ = screen.CallsOf(TCanvasOp::Rectangle);
  ASSERT_EQ(xor_.size(), 2u);
  EXPECT_EQ(xor_[0].Pen.Mode, classlib::TPenMode::pmXor);
  EXPECT_EQ(xor_[0].Rect, xor_[1].Rect);

  auto segment = std::find_if(nodes.begin(), nodes.end(), [](const auto& n) { return n.id == -1; });
  ASSERT_NE(segment, nodes.end());
  int mx = (segment->x1 + segment->x2) / 2, my = (segment->y1 + segment->y2) / 2;
  EXPECT_EQ(hits.IdAt(mx, my + 3), -1);
  EXPECT_EQ(hits.IdAt(mx, my + 12), 8) << "further off the line lies the plot";

  // A selection outlasts a new drawing of the graph and is outlined on it;
  // it goes once its element is drawn no more.
  const int hx = heading->x1 + 1, hy = heading->y1 + 1;
  ASSERT_EQ(hits.HitTest(hx, hy, &screen), 9);
  Draw(g);
  EXPECT_EQ(hits.Selected(), 9);
  hits.ShowSelection(canvas);
  ASSERT_FALSE(canvas.CallsOf(TCanvasOp::Rectangle).empty());
  EXPECT_EQ(canvas.CallsOf(TCanvasOp::Rectangle).back().Pen.Mode, classlib::TPenMode::pmXor);
  g.SetHeading(1, "");
  Draw(g);
  hits.ShowSelection(canvas);
  EXPECT_EQ(hits.Selected(), 0);
}

TEST_F(GraphDrawTest, BarsStacksAndLinesByTypeAndOrder) {
  Column(0, {"a", "b", "c"});
  Column(1, {"2", "", "-2"});
  Column(2, {"3", "4", "3"});
  Column(3, {"1", "1", "1"});
  TGraphRecord g = Graph(kGraphBar, 3, 3);
  Draw(g);
  int lefts[4] = {};
  for (int s = 1; s <= 3; ++s) lefts[s] = Polygons(SeriesColor(g, s)).front().Points[0].x;
  EXPECT_LT(lefts[1], lefts[2]);
  EXPECT_LT(lefts[2], lefts[3]) << "series 1 leftmost";

  g = Graph(kGraphStack, 3, 2);
  TRect plot = Draw(g);
  auto s1 = Polygons(SeriesColor(g, 1)), s2 = Polygons(SeriesColor(g, 2));
  ASSERT_EQ(s2.size(), 3u);
  ASSERT_EQ(s1.size(), 2u);
  // Polygon corners: foot-left, top-left, top-right, foot-right.
  EXPECT_EQ(s2[0].Points[0].y, plot.Bottom) << "series 2 at the bottom (the zero line)";
  EXPECT_EQ(s1[0].Points[0].y, s2[0].Points[1].y) << "series 1 stands on series 2";
  EXPECT_GT(s1[1].Points[1].y, s1[1].Points[0].y) << "a negative value stacks downwards";

  g = Graph(kGraphLine, 3, 3);
  Draw(g);
  std::vector<TLine> lines = Lines();
  auto first = std::find_if(lines.begin(), lines.end(), [&](const TLine& l) { return l.pen.Color == SeriesColor(g, 3); });
  auto firstOfOne =
      std::find_if(lines.begin(), lines.end(), [&](const TLine& l) { return l.pen.Color == SeriesColor(g, 1); });
  EXPECT_LT(first, firstOfOne) << "series 3 drawn before series 1";
  EXPECT_EQ(HitsOf(-1), 0) << "the blank cell breaks series 1's line";
  EXPECT_EQ(HitsOf(-2), 2);
}

TEST_F(GraphDrawTest, PieExplodesColoursAndOmitsSlices) {
  Column(0, {"a", "b", "c"});
  Column(1, {"1", "1", "1"});
  Column(2, {"0", "20", "150"});
  Column(3, {"1193046", "0", "0"});  // 0x123456
  TGraphRecord g = Graph(kGraphPie, 3, 3);
  TRect plot = Draw(g);
  auto pies = canvas.CallsOf(TCanvasOp::Pie);
  ASSERT_EQ(pies.size(), 2u) << "slice 3 explodes beyond 100 and is left out";
  EXPECT_EQ(pies[0].Brush.Color, 0x123456u);
  EXPECT_EQ(pies[1].Brush.Color, 0x0000FFu) << "0 takes the default colour of slice 2";
  EXPECT_EQ(pies[1].Brush.Style, TBrushStyle::bsHorizontal) << "slice 2 takes series 2's pattern";
  int R = plot.Height() / 2;
  double cx = (pies[1].Rect.Left + pies[1].Rect.Right) / 2.0, cy = (pies[1].Rect.Top + pies[1].Rect.Bottom) / 2.0;
  EXPECT_NEAR(std::hypot(cx - (plot.Left + plot.Right) / 2, cy - (plot.Top + plot.Bottom) / 2), R / 5.0, 1.5);
  EXPECT_EQ(pies[0].Rect.Width(), 2 * R);
  std::vector<std::string> texts = canvas.Texts();
  EXPECT_NE(std::find(texts.begin(), texts.end(), "b (0.3)"), texts.end());
}

TEST_F(GraphDrawTest, HiloTicksOpenAndClose) {
  Column(0, {"a", "b"});
  for (int s = 1; s <= 4; ++s) Column(s, {std::to_string(10 + s), std::to_string(20 + s)});
  TGraphRecord g = Graph(kGraphHilo, 2, 4);
  Draw(g);
  // Series 4 is drawn first, then 3, 2 and 1; each after the first gets a bar
  // from the value before it at each point.
  std::vector<TLine> ticks;
  int bars = 0;
  for (const TLine& l : Lines()) {
    if (l.pen.Width != 4) continue;
    if (l.from.y == l.to.y) ticks.push_back(l);
    bars += l.from.x == l.to.x;
  }
  ASSERT_EQ(ticks.size(), 4u);
  EXPECT_GT(ticks[0].to.x, ticks[0].from.x);
  EXPECT_EQ(ticks[2].to.x, ticks[0].from.x) << "series 4 closes right of the point, series 3 opens left of it";
  EXPECT_LT(ticks[2].from.x, ticks[2].to.x);
  EXPECT_EQ(bars, 6);
}

TEST_F(GraphDrawTest, ContourOfAFlatMatrixIsOneBand) {
  for (int c = 0; c < 3; ++c) Column(c, {"5", "5", "5"});
  TGraphRecord g = Graph(kGraphContour, 3, 1);
  g.SetXRange(MakeRange(0, 0, 2, 2));
  Draw(g);
  int fills = 0;
  for (const TCanvasCall& c : canvas.CallsOf(TCanvasOp::FillRect)) {
    if (!c.Clipped) continue;
    EXPECT_EQ(c.Brush.Color, GraphPaletteColor(1));
    ++fills;
  }
  EXPECT_EQ(fills, 4);
}

TEST_F(GraphDrawTest, DataLabelsByLocationAndTheirLimit) {
  Column(0, {"a", "b"});
  Column(1, {"5", "3"});
  Column(4, {"first", "second"});
  TGraphRecord g = Graph(kGraphBar, 2, 1);
  g.SetLabelRange(1, MakeRange(4, 0, 4, 1));
  g.SetLabelLocation(1, 5);
  Draw(g);
  std::vector<std::string> texts = canvas.Texts();
  EXPECT_EQ(std::find(texts.begin(), texts.end(), "first"), texts.end());

  g.SetLabelLocation(1, 1);
  Draw(g);
  auto bar = Polygons(SeriesColor(g, 1)).front();
  int barCentre = (bar.Points[0].x + bar.Points[2].x) / 2, barTop = bar.Points[1].y;
  bool found = false;
  for (const TCanvasCall& c : canvas.CallsOf(TCanvasOp::TextOut)) {
    if (c.Text != "first") continue;
    found = true;
    int height = -c.Font.Height, width = static_cast<int>(c.Text.size()) * height / 2;
    EXPECT_NEAR(c.Points[0].x + width / 2, barCentre, 1);
    EXPECT_EQ(c.Points[0].y + height, barTop) << "just above the bar";
  }
  EXPECT_TRUE(found);

  std::vector<std::string> many(1100, "1"), names(1100, "n");
  Column(0, many);
  Column(1, many);
  Column(4, names);
  g = Graph(kGraphLine, 1100, 1);
  g.SetLabelRange(1, MakeRange(4, 0, 4, 1099));
  Draw(g);
  int drawn = 0;
  for (const TCanvasCall& c : canvas.CallsOf(TCanvasOp::TextOut)) drawn += c.Text == "n";
  EXPECT_EQ(drawn, 1000);
}

TEST_F(GraphDrawTest, DrawGraphTakesTheCurrentOrANamedGraphAndChangesNoRecord) {
  Column(0, {"a", "b", "c"});
  Column(1, {"0", "2", "1"});
  SetCurrentGraph(Graph(kGraphPie, 3, 1));
  ASSERT_EQ(GraphStore("P"), 1);
  SetCurrentGraph(Graph(kGraphBar, 3, 1));
  ASSERT_EQ(GraphStore("B"), 2);
  TGraphRecord current = Graph(kGraphLine, 3, 1);
  SetCurrentGraph(current);
  FormatSettings().Zero = true;
  const struct {
    int index;
    TCanvasOp shows;
  } rows[] = {{-1, TCanvasOp::LineTo}, {0, TCanvasOp::LineTo}, {1, TCanvasOp::Pie},
              {2, TCanvasOp::Polygon}, {3, TCanvasOp::LineTo}};
  for (auto r : rows) {
    SCOPED_TRACE(r.index);
    canvas.Clear();
    DrawGraph(canvas, 400, 300, r.index, &hits);
    EXPECT_FALSE(canvas.CallsOf(r.shows).empty());
    EXPECT_EQ(CurrentGraph(), current);
    EXPECT_TRUE(FormatSettings().Zero);
  }
  std::vector<std::string> texts = canvas.Texts();
  EXPECT_NE(std::find(texts.begin(), texts.end(), "0.0 "), texts.end()) << "zero labels shown while drawing";
  FormatSettings().Zero = false;

  TGraphRecord undefined = current;
  undefined.SetXRange(TRange{});
  SetCurrentGraph(undefined);
  canvas.Clear();
  DrawGraph(canvas, 400, 300, -1, &hits);
  EXPECT_EQ(canvas.Texts(), std::vector<std::string>{"Graph Undefined!"});
  EXPECT_TRUE(hits.Nodes().empty());
  EXPECT_EQ(CurrentGraph(), undefined);
  GraphResetCurrent();  // a new sheet's graph
  canvas.Clear();
  DrawGraph(canvas, 400, 300, -1, &hits);
  EXPECT_EQ(canvas.Texts(), std::vector<std::string>{"Graph Undefined!"});
}

TEST_F(GraphDrawTest, RotationTurnsOnly3DPies) {
  Column(0, {"a", "b", "c"});
  Column(1, {"1", "2", "3"});
  double saved = Graph3DRotation();
  for (int type : {kGraphPie3D, kGraphDonut3D, kGraphBar3D}) {
    SCOPED_TRACE(type);
    TGraphRecord g = Graph(type, 3, 1);
    Draw(g);
    auto before = canvas.CallsOf(TCanvasOp::Polygon);
    Graph3DRotate();
    Draw(g);
    auto after = canvas.CallsOf(TCanvasOp::Polygon);
    SetGraph3DRotation(saved);
    bool same = before.size() == after.size();
    for (std::size_t i = 0; same && i < before.size(); ++i) same = before[i].Points == after[i].Points;
    EXPECT_EQ(same, type == kGraphBar3D);
  }
}

}  // namespace
}  // namespace corvane::testing

// Type properties and scale ends of a graph.
#include "spreadsheet/graphs/GraphScales.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "spreadsheet/graphs/GraphCells.h"

namespace corvane {
namespace {

bool TypeIn(int type, std::initializer_list<int> types) {
  return std::find(types.begin(), types.end(), type) != types.end();
}

// Lowest and highest of the values seen; empty until the first.
struct TSpan {
  bool any = false;
  double low = 0, high = 0;
  void Add(double v) {
    low = any ? std::min(low, v) : v;
    high = any ? std::max(high, v) : v;
    any = true;
  }
};

// The stacked totals of every point, added up in drawing order; the zero line
// the stacks start from is part of the span.
TSpan StackedSpan(const TGraphRecord& graph) {
  TSpan span;
  span.Add(0);
  std::vector<double> totals(static_cast<std::size_t>(GraphRangeCells(graph.XRange())) + 1, 0.0);
  for (int position = 1; position <= kGraphSeries; ++position) {
    int series = GraphSeriesInOrder(graph.Type(), position);
    if (!RangeIsValid(graph.SeriesRange(series))) continue;
    ForEachGraphCellPair(graph.XRange(), graph.SeriesRange(series), TRange{}, [&](const TGraphCellPair& pair) {
      double v;
      if (GraphCellEmpty(pair.xCell) || !GraphCellNumber(pair.seriesCell, v)) return;
      totals[pair.index] += v;
      span.Add(totals[pair.index]);
    });
  }
  return span;
}

// The running sums a Cum series draws.
TSpan RunningSpan(const TGraphRecord& graph, int series) {
  TSpan span;
  double running = 0;
  ForEachGraphCellPair(graph.XRange(), graph.SeriesRange(series), TRange{}, [&](const TGraphCellPair& pair) {
    double v;
    if (GraphCellEmpty(pair.xCell) || !GraphCellNumber(pair.seriesCell, v)) return;
    running += v;
    span.Add(running);
  });
  return span;
}

}  // namespace

TGraphTypeProps GraphTypeProperties(int type) {
  TGraphTypeProps p;
  p.stacked = TypeIn(type, {kGraphStack, kGraphArea, kGraphStack3D});
  p.valueX = TypeIn(type, {kGraphXy, kGraphCum, kGraphRadar, kGraphDelta, kGraphPolar, kGraphContour});
  p.hasYAxis = !TypeIn(type, {kGraphPie, kGraphPie3D, kGraphDonut3D});
  p.polar = TypeIn(type, {kGraphRadar, kGraphPolar});
  p.category = TypeIn(type, {kGraphBar, kGraphStack, kGraphLine, kGraphHilo, kGraphArea, kGraphStrip3D, kGraphWall3D});
  p.bars = TypeIn(type, {kGraphBar, kGraphStack, kGraphBar3D});
  p.threeD = GraphTypeIs3D(type);
  return p;
}

int GraphSeriesInOrder(int type, int position) {
  return type == kGraphBar ? position : kGraphSeries + 1 - position;
}

double GraphDecade(double x) {
  if (x == 0 || !std::isfinite(x)) return 1;
  double l = std::log10(std::fabs(x));
  double k = l >= 0 ? std::trunc(l + 0.1) : -std::trunc(std::fabs(l) + 0.1);
  return std::pow(10.0, k);
}

int GraphDecadeCount(double lower, double upper) {
  double decades = std::fabs(std::log10(std::fabs(upper)) - std::log10(std::fabs(lower)));
  if (!std::isfinite(decades)) return 0;
  // log10 of an exact power of ten may come out a hair below the whole number.
  return static_cast<int>(std::min(255.0, std::floor(decades + 1e-9)));
}

double GraphLn(double x) {
  if (x == 0) return 1;
  return std::log(std::fabs(x));
}

double GraphRatio(double a, double b) { return b == 0 ? 1 : a / b; }

TGraphScales GraphComputeScales(TGraphRecord& graph, bool roundLogAxes) {
  TGraphScales sc;
  int type = graph.Type();
  TGraphTypeProps props = GraphTypeProperties(type);
  TRange xRange = GraphOrderedRange(graph.XRange());

  // X scale.
  sc.xMin = graph.XLower();
  sc.xMax = graph.XUpper();
  bool xAuto = false;
  if (!props.valueX) {
    sc.xMin = 1;
    sc.xMax = GraphRangeCells(graph.XRange()) + 1;
  } else if (!graph.XManual() && type != kGraphContour) {
    TGraphRangeStats stats = GraphRangeStatistics(graph.XRange());
    sc.xMin = stats.min;
    sc.xMax = stats.max;
    xAuto = true;
  } else if (!graph.XManual()) {
    sc.xMin = 0;
    sc.xMax = xRange.lastCol - xRange.firstCol;
  }
  if (xAuto && sc.xMin == sc.xMax) {
    sc.xMin -= 1;
    sc.xMax += 1;
  }
  sc.xExtent = sc.xMax - sc.xMin;
  bool xLog = (graph.AxisOptions() & 0x80) != 0;
  if (roundLogAxes && xLog && props.valueX) {
    double top = GraphDecade(sc.xMax);
    sc.xMax = top < sc.xMax ? top * 10 : top;
    double bottom = GraphDecade(sc.xMin);
    sc.xMin = bottom > sc.xMin ? bottom * 0.1 : bottom;
    sc.xExtent = GraphLn(sc.xMax) - GraphLn(sc.xMin);
    graph.SetXStep(GraphDecadeCount(sc.xMin, sc.xMax));
  }

  // Y scale.
  TSpan span;
  for (int series = 1; series <= kGraphSeries; ++series) {
    if (!RangeIsValid(graph.SeriesRange(series))) continue;
    ++sc.validSeries;
    if (span.any && !props.hasYAxis) continue;  // a pie takes its first series alone
    TGraphRangeStats stats = GraphRangeStatistics(graph.SeriesRange(series));
    span.Add(stats.min);
    span.Add(stats.max);
    if (type == kGraphCum) {
      TSpan running = RunningSpan(graph, series);
      if (running.any) {
        span.Add(running.low);
        span.Add(running.high);
      }
    }
  }
  if (props.stacked && sc.validSeries > 0) span = StackedSpan(graph);
  sc.yMin = span.low;
  sc.yMax = span.high;
  bool yAuto = true;
  if (graph.YManual()) {
    sc.yMin = graph.YLower();
    sc.yMax = graph.YUpper();
    yAuto = false;
  }
  if (type == kGraphContour) {
    sc.yMin = 0;
    sc.yMax = xRange.lastRow - xRange.firstRow;
    yAuto = false;
  }
  if (yAuto && sc.yMin == sc.yMax) {
    sc.yMin = std::min(sc.yMin, 0.0);
    sc.yMax = std::max(sc.yMax, 0.0);
    if (sc.yMin == sc.yMax) sc.yMax = 1;
  }
  sc.yExtent = sc.yMax - sc.yMin;
  bool yLog = (graph.AxisOptions() & 0x40) != 0;
  if (roundLogAxes && yLog && props.hasYAxis) {
    double top = GraphDecade(sc.yMax);
    sc.yMax = top * 1.01 >= sc.yMax ? top : top * 10;
    double bottom = GraphDecade(sc.yMin);
    sc.yMin = sc.yMin * 1.01 >= bottom ? bottom : bottom * 0.1;
    sc.yExtent = GraphLn(sc.yMax) - GraphLn(sc.yMin);
    graph.SetYStep(GraphDecadeCount(sc.yMin, sc.yMax));
  }
  return sc;
}

}  // namespace corvane

// Zoom arithmetic, scaling to the data, element pages and quick-print areas.
#include "spreadsheet/graphs/GraphViewModel.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "spreadsheet/graphs/GraphCells.h"
#include "spreadsheet/graphs/GraphScales.h"

namespace corvane {

using classlib::TRect;

namespace {

constexpr int kClickLimit = 16;  // a zoom rectangle narrower or lower than this pans

// The span [lower, upper] cut to the part from `from` to `to` of `pixels`
// (`to` may lie before `from`: Y counts down the screen), between the values
// or, on a logarithmic axis, between their logarithms.
void CutSpan(double& lower, double& upper, double from, double to, int pixels, bool logarithmic) {
  if (logarithmic && lower > 0 && upper > 0) {
    double a = std::log(lower), b = std::log(upper);
    double step = (b - a) / pixels;
    lower = std::exp(a + from * step);
    upper = std::exp(a + to * step);
    return;
  }
  double step = (upper - lower) / pixels;
  double newLower = lower + from * step;
  upper = lower + to * step;
  lower = newLower;
}

}  // namespace

bool GraphZoomable(int type) {
  TGraphTypeProps props = GraphTypeProperties(type);
  return props.hasYAxis && !props.polar;
}

void GraphTakeManualScales(TGraphRecord& graph) {
  if (!graph.XManual() || !graph.YManual()) GraphScaleToData(graph);
  graph.SetXManual(true);
  graph.SetYManual(true);
}

bool GraphZoomToRect(TGraphRecord& graph, TRect rect, const TRect& plot) {
  int pw = plot.Width(), ph = plot.Height();
  if (pw <= 0 || ph <= 0) return false;
  if (rect.Left > rect.Right) std::swap(rect.Left, rect.Right);
  if (rect.Top > rect.Bottom) std::swap(rect.Top, rect.Bottom);
  rect = rect.Offset(-plot.Left, -plot.Top);
  if (rect.Width() < kClickLimit || rect.Height() < kClickLimit) {
    int cx = (rect.Left + rect.Right) / 2, cy = (rect.Top + rect.Bottom) / 2;
    rect = classlib::Bounds(cx - pw / 2, cy - ph / 2, pw, ph);
  }
  bool xLog = (graph.AxisOptions() & 0x80) != 0 && GraphTypeProperties(graph.Type()).valueX;
  bool yLog = (graph.AxisOptions() & 0x40) != 0;
  double xLower = graph.XLower(), xUpper = graph.XUpper();
  CutSpan(xLower, xUpper, rect.Left, rect.Right, pw, xLog);
  // Y runs up from the plot's bottom edge.
  double yLower = graph.YLower(), yUpper = graph.YUpper();
  CutSpan(yLower, yUpper, ph - rect.Bottom, ph - rect.Top, ph, yLog);
  graph.SetXScale(xLower, xUpper);
  graph.SetYScale(yLower, yUpper);
  return true;
}

TRect GraphZoomOutRect(const TRect& plot) { return plot.Inflate(plot.Width() / 2, plot.Height() / 2); }

TRect GraphZoomInRect(const TRect& plot) { return plot.Inflate(-plot.Width() / 4, -plot.Height() / 4); }

void GraphScaleToData(TGraphRecord& graph) {
  TGraphRangeStats x = GraphRangeStatistics(graph.XRange());
  TGraphRecord automatic = graph;
  automatic.SetYManual(false);
  TGraphScales sc = GraphComputeScales(automatic, false);
  graph.SetXScale(x.min, x.max);
  graph.SetYScale(sc.yMin, sc.yMax);
}

int GraphElementPageCode(int id) {
  constexpr int kOtherTab = 6;
  if (id >= -6 && id <= -1) return GraphPageCode(kGraphPageOptions, -id - 1);
  switch (id) {
    case 7:
    case 8:
      return GraphPageCode(kGraphPageOptions, kOtherTab);
    case 9:
    case 10:
    case 11:
    case 12:
      return kGraphPageHeadings;
    case 13:
      return GraphPageCode(kGraphPageScales, 0);
    case 14:
      return GraphPageCode(kGraphPageScales, 1);
    case 15:
      return kGraphPageLegends;
    default:
      return -1;
  }
}

std::string GraphAttributesCaption(int selected) {
  if (selected == 0) return "No Selection";
  return "&Attributes (" + std::to_string(std::abs(selected)) + ")";
}

int GraphQuickPrintMargin(int pageWidth, int pageHeight, int pixelsPerInchY) {
  if (pageHeight > pageWidth && pixelsPerInchY > 0) return pageHeight * 25 / pixelsPerInchY;
  return 50;
}

TRect GraphQuickPrintArea(int pageWidth, int pageHeight, int pixelsPerInchX, int pixelsPerInchY, int left, int top,
                          int right, int scalePercent, int bottom) {
  int x = pixelsPerInchX * left / 100, y = pixelsPerInchY * top / 100;
  int width = scalePercent * (pageWidth - x - pixelsPerInchX * right / 100) / 100;
  int height = scalePercent * (pageHeight - y - pixelsPerInchY * bottom / 100) / 100;
  return classlib::Bounds(x, y, std::max(width, 0), std::max(height, 0));
}

}  // namespace corvane

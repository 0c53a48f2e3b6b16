// Chart painting: layout of titles, legends and plot, then the pie, the bars
// or the list.
#include "chartlib/ChartPainter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace chartlib {

using classlib::TCanvas;
using classlib::TColor;
using classlib::TPoint;
using classlib::TRect;

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kAxisSteps = 5;
constexpr int kLegendBox = 10;
// The largest value axis drawn; bigger values reach its top. Far from the
// double's limit, so that the axis and its steps stay finite.
constexpr double kLargestAxis = 1e300;
// Values from here on are labelled with an exponent ("1.5e+20"), which fits
// beside the axis.
constexpr double kExponentFrom = 1e15;
// The least rim a pie's wedge is drawn with.
constexpr double kMinWedgePixels = 4;

TColor Shade(TColor c, double factor) {
  auto part = [&](int v) { return std::clamp(static_cast<int>(v * factor), 0, 255); };
  return classlib::RGBColor(part(classlib::RedOf(c)), part(classlib::GreenOf(c)), part(classlib::BlueOf(c)));
}

// The value with `decimals` places and thousands separators; a huge one as
// three significant digits and an exponent.
std::string FormatValue(double value, int decimals) {
  char buffer[64];
  if (std::fabs(value) >= kExponentFrom) {
    std::snprintf(buffer, sizeof buffer, "%.3g", value);
    return buffer;
  }
  std::snprintf(buffer, sizeof buffer, "%.*f", std::clamp(decimals, 0, 10), std::fabs(value));
  std::string digits = buffer;
  const size_t point = std::min(digits.find('.'), digits.size());
  std::string text;
  for (size_t i = 0; i < point; ++i) {
    if (i > 0 && (point - i) % 3 == 0) text += ',';
    text += digits[i];
  }
  text += digits.substr(point);
  return value < 0 && std::fabs(value) >= 0.5 * std::pow(10.0, -decimals) ? "-" + text : text;
}

void FillBox(TCanvas& canvas, const TRect& r, TColor color) {
  canvas.Brush.Style = classlib::TBrushStyle::bsSolid;
  canvas.Brush.Color = color;
  canvas.FillRect(r);
}

void OutlinedBox(TCanvas& canvas, const TRect& r, TColor color) {
  canvas.Pen = classlib::TPen{Shade(color, 0.55)};
  canvas.Brush.Style = classlib::TBrushStyle::bsSolid;
  canvas.Brush.Color = color;
  canvas.Rectangle(r);
}

// Text with a transparent background at (x, y), its top left.
void PlainText(TCanvas& canvas, int x, int y, const std::string& text) {
  canvas.Brush.Style = classlib::TBrushStyle::bsClear;
  canvas.TextAlign = classlib::taLeft | classlib::taTop;
  canvas.TextOut(x, y, text);
}

TPoint OnEllipse(const TRect& r, double degrees) {
  const double a = degrees * kPi / 180;
  const double rx = r.Width() / 2.0, ry = r.Height() / 2.0;
  return {static_cast<int>(std::lround(r.Left + rx + rx * std::cos(a))),
          static_cast<int>(std::lround(r.Top + ry - ry * std::sin(a)))};
}

// One legend row per entry: a colour box and the text. When not all fit,
// the last row that would show one says how many are left out instead
// ("... 12 more"). Each entry's row becomes a hit box of (series, point).
struct TLegendEntry {
  std::string text;
  TColor color;
  int series;
  int point;
};

int LegendLine(TCanvas& canvas) { return std::max(canvas.TextHeight("Wy") + 3, kLegendBox + 3); }

// How many of `count` entries a legend column of `height` shows, and the text
// of the row that counts the rest (empty when all show).
std::pair<size_t, std::string> LegendFit(TCanvas& canvas, int height, size_t count) {
  const size_t rows = static_cast<size_t>(std::max(height / LegendLine(canvas), 0));
  if (count <= rows) return {count, std::string()};
  const size_t shown = rows > 0 ? rows - 1 : 0;
  return {shown, rows > 0 ? "... " + std::to_string(count - shown) + " more" : std::string()};
}

void DrawLegendColumn(TCanvas& canvas, const TRect& r, const std::vector<TLegendEntry>& entries,
                      TChartHitMap& hits) {
  const int line = LegendLine(canvas);
  const auto [shown, more] = LegendFit(canvas, r.Height(), entries.size());
  int y = r.Top;
  for (size_t i = 0; i < shown; ++i) {
    const TLegendEntry& e = entries[i];
    const int boxTop = y + (line - kLegendBox) / 2;
    OutlinedBox(canvas, {r.Left, boxTop, r.Left + kLegendBox, boxTop + kLegendBox}, e.color);
    PlainText(canvas, r.Left + kLegendBox + 5, y + 1, FitText(canvas, e.text, r.Width() - kLegendBox - 5));
    hits.boxes.push_back({{r.Left, y, r.Right, y + line}, e.series, e.point});
    y += line;
  }
  if (!more.empty()) PlainText(canvas, r.Left + kLegendBox + 5, y + 1, FitText(canvas, more, r.Width() - kLegendBox - 5));
}

void DrawLegendRow(TCanvas& canvas, const TRect& r, const std::vector<TLegendEntry>& entries) {
  int total = 0;
  for (const TLegendEntry& e : entries) total += kLegendBox + 5 + canvas.TextWidth(e.text) + 14;
  int x = r.Left + std::max(0, (r.Width() - total) / 2);
  const int boxTop = r.Top + (r.Height() - kLegendBox) / 2;
  for (const TLegendEntry& e : entries) {
    if (x + kLegendBox > r.Right) break;
    OutlinedBox(canvas, {x, boxTop, x + kLegendBox, boxTop + kLegendBox}, e.color);
    const std::string text = FitText(canvas, e.text, r.Right - x - kLegendBox - 5);
    PlainText(canvas, x + kLegendBox + 5, r.Top + (r.Height() - canvas.TextHeight("Wy")) / 2, text);
    x += kLegendBox + 5 + canvas.TextWidth(text) + 14;
  }
}

void PaintPie(const TChartModel& chart, TCanvas& canvas, const TRect& plot, TChartHitMap& hits) {
  const int points = chart.PointCount();
  double total = 0;
  for (int p = 0; p < points; ++p) total += std::max(0.0, chart.Value(0, p));

  // The pie on the left, the legend of the points on its right when there
  // is room for one.
  canvas.Font = chart.Font(kFontLegend);
  int legendWidth = 0;
  for (int p = 0; p < points; ++p) legendWidth = std::max(legendWidth, canvas.TextWidth(chart.PointLegend(p)));
  legendWidth = std::max(legendWidth, canvas.TextWidth(LegendFit(canvas, plot.Height(), static_cast<size_t>(points)).second));
  legendWidth = std::min(legendWidth + kLegendBox + 10, plot.Width() / 2);
  if (legendWidth < 60) legendWidth = 0;
  const int pieWidth = std::min(plot.Width() - legendWidth - (legendWidth > 0 ? 12 : 0), plot.Height() * 3 / 2);
  if (pieWidth < 8) return;
  const bool is3D = chart.Is3D();
  int pieHeight = std::min(is3D ? pieWidth * 3 / 5 : pieWidth, plot.Height());
  const int depth = is3D ? std::clamp(pieHeight * std::max(chart.View3DDepth(), 20) / 600, 4, 24) : 0;
  pieHeight = std::min(pieHeight, plot.Height() - depth);
  const int left = plot.Left + std::max(0, (plot.Width() - legendWidth - pieWidth) / 2 - (legendWidth > 0 ? 6 : 0));
  const int pieTop = plot.Top + (plot.Height() - pieHeight - depth) / 2;
  const TRect top{left, pieTop, left + pieWidth, pieTop + pieHeight};
  hits.pie = top;

  // The slices, as the hit map keeps them. A wedge too thin to span a few
  // pixels of the rim cannot be drawn (the system takes a pie between two
  // points that round alike for the whole ellipse), so consecutive thin
  // slices are gathered into wedges of at least kMinWedgePixels of rim, each
  // in the colour of its largest slice, and a thin rest joins the wedge
  // before it: the wedges always cover the pie whole.
  struct TWedge {
    double start, sweep;
    int point;
  };
  std::vector<TWedge> wedges;
  double angle = 90;
  const double minSweep = std::clamp(kMinWedgePixels * 180 / (kPi * std::max(std::min(pieWidth, pieHeight) / 2.0, 1.0)),
                                     0.5, 10.0);
  TWedge run{angle, 0, -1};
  double runLargest = 0;
  for (int p = 0; p < points && total > 0; ++p) {
    const double sweep = 360 * std::max(0.0, chart.Value(0, p)) / total;
    if (sweep <= 0) continue;
    hits.slices.push_back({angle, sweep, p});
    angle += sweep;
    if (run.point < 0 || sweep > runLargest) {
      run.point = p;
      runLargest = sweep;
    }
    run.sweep = angle - run.start;
    if (run.sweep >= minSweep) {
      wedges.push_back(run);
      run = {angle, 0, -1};
    }
  }
  if (run.point >= 0) {
    if (wedges.empty())
      wedges.push_back(run);
    else
      wedges.back().sweep += run.sweep;
  }
  auto wedge = [&](const TRect& r, const TWedge& w, TColor color) {
    canvas.Brush.Style = classlib::TBrushStyle::bsSolid;
    canvas.Brush.Color = color;
    canvas.Pen = classlib::TPen{Shade(color, 0.6)};
    if (w.sweep >= 359.99)
      canvas.Ellipse(r);
    else
      canvas.Pie(r, OnEllipse(r, w.start), OnEllipse(r, w.start + w.sweep));
  };
  if (wedges.empty()) {
    canvas.Pen = classlib::TPen{classlib::RGBColor(128, 128, 128)};
    canvas.Brush.Style = classlib::TBrushStyle::bsClear;
    canvas.Ellipse(top);
  }
  // Each layer lies on an ellipse in the colour of its largest wedge: where
  // the system rounds the wedges' edges apart, that shows, not the paper.
  const TWedge* largest = nullptr;
  for (const TWedge& w : wedges)
    if (largest == nullptr || w.sweep > largest->sweep) largest = &w;
  auto layer = [&](const TRect& r, double shade) {
    if (largest == nullptr) return;
    wedge(r, {0, 360, largest->point}, Shade(chart.SeriesColor(0, largest->point), shade));
    for (const TWedge& w : wedges) wedge(r, w, Shade(chart.SeriesColor(0, w.point), shade));
  };
  // The side: the pie drawn darker, from the bottom layer up.
  for (int d = depth; d > 0; --d) layer(top.Offset(0, d), 0.7);
  layer(top, 1);

  if (legendWidth > 0) {
    std::vector<TLegendEntry> entries;
    for (int p = 0; p < points; ++p) entries.push_back({chart.PointLegend(p), chart.SeriesColor(0, p), 0, p});
    const int x = plot.Right - legendWidth;
    DrawLegendColumn(canvas, {x, plot.Top, plot.Right, plot.Bottom}, entries, hits);
  }
}

void PaintBars(const TChartModel& chart, TCanvas& canvas, TRect plot, TColor plotColor, TChartHitMap& hits) {
  const int series = chart.SeriesCount(), points = chart.PointCount();
  double maximum = 0;
  for (int s = 0; s < series; ++s)
    for (int p = 0; p < points; ++p) maximum = std::max(maximum, chart.Value(s, p));
  const double axisMax = NiceAxisMaximum(maximum, kAxisSteps);
  // The axis labels show as many decimals as their step needs.
  const double step = axisMax / kAxisSteps;
  int decimals = chart.Decimals();
  while (decimals < 6 && std::fabs(step * std::pow(10.0, decimals) - std::round(step * std::pow(10.0, decimals))) > 1e-6)
    ++decimals;

  // Series legends at the bottom, point legends above them.
  canvas.Font = chart.Font(kFontLegend);
  const int lineHeight = canvas.TextHeight("Wy");
  bool seriesLegends = false;
  for (int s = 0; s < series; ++s) seriesLegends = seriesLegends || !chart.SeriesLegend(s).empty();
  if (seriesLegends) {
    const TRect row{plot.Left, plot.Bottom - lineHeight - 4, plot.Right, plot.Bottom};
    std::vector<TLegendEntry> entries;
    for (int s = 0; s < series; ++s) entries.push_back({chart.SeriesLegend(s), chart.SeriesColor(s, 0), s, 0});
    DrawLegendRow(canvas, row, entries);
    plot.Bottom = row.Top - 4;
  }
  canvas.Font = chart.Font(kFontXLegend);
  const int xLegendHeight = canvas.TextHeight("Wy") + 6;
  plot.Bottom -= xLegendHeight;

  // The value axis: its labels and unit on the left of the plot.
  canvas.Font = chart.Font(kFontLeft);
  int labelWidth = canvas.TextWidth(chart.Title(kTitleLeft));
  for (int i = 0; i <= kAxisSteps; ++i)
    labelWidth = std::max(labelWidth, canvas.TextWidth(FormatValue(axisMax * i / kAxisSteps, decimals)));
  const int labelHeight = canvas.TextHeight("0");
  plot.Left += labelWidth + 8;
  plot.Top += labelHeight;
  const bool is3D = chart.Is3D();
  const int depth = is3D ? std::clamp(chart.View3DDepth() / 6, 4, 14) : 0;
  plot.Top += depth;
  plot.Right -= depth;
  if (plot.Width() < 10 || plot.Height() < 10) return;

  FillBox(canvas, plot, plotColor);
  if (is3D) {
    // The wall behind and the floor.
    const TPoint wall[] = {{plot.Left, plot.Top}, {plot.Left + depth, plot.Top - depth},
                           {plot.Right + depth, plot.Top - depth}, {plot.Right, plot.Top}};
    canvas.Pen = classlib::TPen{classlib::RGBColor(160, 160, 160)};
    canvas.Brush.Style = classlib::TBrushStyle::bsSolid;
    canvas.Brush.Color = Shade(plotColor, 0.92);
    canvas.Polygon(wall);
    const TPoint side[] = {{plot.Right, plot.Top}, {plot.Right + depth, plot.Top - depth},
                           {plot.Right + depth, plot.Bottom - depth}, {plot.Right, plot.Bottom}};
    canvas.Brush.Color = Shade(plotColor, 0.85);
    canvas.Polygon(side);
  }
  hits.axisZeroY = plot.Bottom;
  hits.axisMaxY = plot.Top;
  hits.axisMax = axisMax;
  // The share of the axis first: a value near the double's limit times the
  // plot's height would overflow.
  auto yOf = [&](double v) {
    return plot.Bottom - static_cast<int>(std::lround(plot.Height() * (std::clamp(v, 0.0, axisMax) / axisMax)));
  };
  for (int i = 0; i <= kAxisSteps; ++i) {
    const double v = axisMax * i / kAxisSteps;
    const int y = yOf(v);
    if (chart.Grid() & 1 && i > 0) {
      canvas.Pen = classlib::TPen{classlib::RGBColor(192, 192, 192)};
      canvas.MoveTo(plot.Left, y);
      canvas.LineTo(plot.Right, y);
    }
    const std::string label = FormatValue(v, decimals);
    PlainText(canvas, plot.Left - 6 - canvas.TextWidth(label), y - labelHeight / 2, label);
  }
  PlainText(canvas, plot.Left - 6 - canvas.TextWidth(chart.Title(kTitleLeft)), plot.Top - depth - labelHeight * 2,
            chart.Title(kTitleLeft));
  canvas.Pen = classlib::TPen{classlib::RGBColor(64, 64, 64)};
  canvas.MoveTo(plot.Left, plot.Top);
  canvas.LineTo(plot.Left, plot.Bottom);
  canvas.LineTo(plot.Right + 1, plot.Bottom);
  if (points == 0 || series == 0) return;

  // Each point's slot holds its series side by side; the gap between slots
  // is BarGap percent of a bar.
  const double slot = static_cast<double>(plot.Width()) / points;
  const double barWidth = slot / (series + chart.BarGap() / 100.0);
  canvas.Font = chart.Font(kFontXLegend);
  for (int p = 0; p < points; ++p) {
    const double groupLeft = plot.Left + slot * p + (slot - barWidth * series) / 2;
    for (int s = 0; s < series; ++s) {
      const int x0 = static_cast<int>(std::lround(groupLeft + barWidth * s));
      const int x1 = std::max(x0 + 1, static_cast<int>(std::lround(groupLeft + barWidth * (s + 1))));
      const int y = yOf(chart.Value(s, p));
      const TColor color = chart.SeriesColor(s, p);
      const TRect front{x0, y, x1, plot.Bottom};
      if (y < plot.Bottom) {
        if (depth > 0) {
          const int d = std::min(depth, std::max(2, (x1 - x0) / 2));
          const TPoint topFace[] = {{x0, y}, {x0 + d, y - d}, {x1 + d, y - d}, {x1, y}};
          const TPoint sideFace[] = {{x1, y}, {x1 + d, y - d}, {x1 + d, plot.Bottom - d}, {x1, plot.Bottom}};
          canvas.Pen = classlib::TPen{Shade(color, 0.55)};
          canvas.Brush.Style = classlib::TBrushStyle::bsSolid;
          canvas.Brush.Color = Shade(color, 1.2);
          canvas.Polygon(topFace);
          canvas.Brush.Color = Shade(color, 0.7);
          canvas.Polygon(sideFace);
        }
        OutlinedBox(canvas, {x0, y, x1 + 1, plot.Bottom + 1}, color);
      }
      hits.boxes.push_back({{front.Left, std::min(front.Top, plot.Bottom - 3) - depth, front.Right + depth, front.Bottom},
                            s, p});
    }
    const int slotLeft = static_cast<int>(plot.Left + slot * p);
    const std::string legend = FitText(canvas, chart.PointLegend(p), static_cast<int>(slot) - 2);
    PlainText(canvas, slotLeft + (static_cast<int>(slot) - canvas.TextWidth(legend)) / 2, plot.Bottom + 3, legend);
  }
}

void PaintList(const TChartModel& chart, TCanvas& canvas, const TRect& plot, TColor plotColor, TChartHitMap& hits) {
  FillBox(canvas, plot, plotColor);
  canvas.Font = chart.Font(kFontFixed);
  const int series = chart.SeriesCount();
  const int line = canvas.TextHeight("Wy") + 4;
  const int columnWidth = series > 0 ? std::max(60, plot.Width() / (series + 2)) : plot.Width();
  const int nameWidth = plot.Width() - columnWidth * series;
  auto row = [&](int y, const std::string& name, auto valueText) {
    PlainText(canvas, plot.Left + 4, y + 2, FitText(canvas, name, nameWidth - 8));
    for (int s = 0; s < series; ++s) {
      const std::string text = FitText(canvas, valueText(s), columnWidth - 8);
      PlainText(canvas, plot.Left + nameWidth + columnWidth * (s + 1) - 4 - canvas.TextWidth(text), y + 2, text);
    }
  };
  int y = plot.Top;
  row(y, "", [&](int s) { return chart.SeriesLegend(s); });
  y += line;
  canvas.Pen = classlib::TPen{classlib::RGBColor(128, 128, 128)};
  canvas.MoveTo(plot.Left, y - 1);
  canvas.LineTo(plot.Right, y - 1);
  for (int p = 0; p < chart.PointCount() && y + line <= plot.Bottom; ++p, y += line) {
    row(y, chart.PointLegend(p), [&](int s) { return FormatValue(chart.Value(s, p), chart.Decimals()); });
    hits.boxes.push_back({{plot.Left, y, plot.Right, y + line}, 0, p});
  }
}

}  // namespace

double NiceAxisMaximum(double value, int steps) {
  if (!(value > 0) || steps < 1) return 1;
  value = std::min(value, kLargestAxis);
  const double step = value / steps;
  const double power = std::pow(10.0, std::floor(std::log10(step)));
  for (double m : {1.0, 2.0, 2.5, 5.0, 10.0})
    if (m * power * steps >= value * (1 - 1e-12)) return m * power * steps;
  return 10 * power * steps;
}

std::string FitText(TCanvas& canvas, const std::string& text, int width) {
  if (canvas.TextWidth(text) <= width) return text;
  const std::string dots = "...";
  if (canvas.TextWidth(dots) > width) return {};
  size_t low = 0, high = text.size();
  while (low < high) {
    const size_t mid = (low + high + 1) / 2;
    if (canvas.TextWidth(text.substr(0, mid) + dots) <= width)
      low = mid;
    else
      high = mid - 1;
  }
  return text.substr(0, low) + dots;
}

TChartHitMap PaintChart(const TChartModel& chart, TCanvas& canvas, const TRect& area, TColor windowColor) {
  classlib::TCanvasStateSaver saver(canvas);
  TChartHitMap hits;
  const TColor back = chart.AreaColor(1, windowColor);
  FillBox(canvas, area, back);

  TRect plot{area.Left + chart.Gap(0), area.Top + chart.Gap(2), area.Right - chart.Gap(1), area.Bottom - chart.Gap(3)};
  const std::string& title = chart.Title(kTitleTop);
  if (!title.empty()) {
    canvas.Font = chart.Font(kFontTop);
    const std::string text = FitText(canvas, title, area.Width() - 8);
    const int height = canvas.TextHeight(text);
    const int y = std::max(area.Top + 4, plot.Top - height - 6);
    PlainText(canvas, area.Left + (area.Width() - canvas.TextWidth(text)) / 2, y, text);
    plot.Top = std::max(plot.Top, y + height + 6);
  }
  if (plot.Width() < 10 || plot.Height() < 10) return hits;
  const TColor plotColor = chart.AreaColor(chart.Is3D() ? 3 : 2, back);
  switch (chart.ChartType()) {
    case kTypePie: PaintPie(chart, canvas, plot, hits); break;
    case kTypeList: PaintList(chart, canvas, plot, plotColor, hits); break;
    default: PaintBars(chart, canvas, plot, plotColor, hits); break;
  }
  return hits;
}

}  // namespace chartlib

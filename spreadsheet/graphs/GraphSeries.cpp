// The series of a graph, drawn by type: bars, lines and strips, pies and 3D
// pies, Hilo, Radar and Polar, Area and Wall bands, the Delta step line and
// contour squares, then the data labels. One TSeriesPainter holds the state
// of one drawing of the series; this file is long because each graph type is
// a case of its own.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "spreadsheet/engine/NumberFormat.h"
#include "spreadsheet/graphs/GraphCells.h"
#include "spreadsheet/graphs/GraphDraw.h"

namespace corvane {

using classlib::TBrushStyle;
using classlib::TCanvas;
using classlib::TColor;
using classlib::TPenStyle;
using classlib::TPoint;
using classlib::TRect;

namespace {

constexpr double kPi = std::numbers::pi;
constexpr std::size_t kMaxDataLabels = 1000;
constexpr std::size_t kMaxBandPoints = 500;  // Area and Wall accumulators
constexpr std::size_t kMaxTopFacePoints = 100;

// Default slice colours, by point index.
constexpr TColor kSliceColors[16] = {0x00FF00, 0x0000FF, 0x00FFFF, 0x0080FF, 0x800000, 0x00C0C0,
                                     0x00C000, 0xC0C000, 0x0000C0, 0xC0C0FF, 0x80FFFF, 0x80FF80,
                                     0xFFFF80, 0x80FFFF, 0x000080, 0x7F7F7F};

// Brush style of a hatched polygon for a record pattern: lines and crosses
// become the matching hatch, everything else a solid brush.
TBrushStyle PolygonHatch(int hatch) {
  switch (hatch) {
    case 3: return TBrushStyle::bsVertical;
    case 4: return TBrushStyle::bsCross;
    case 5: return TBrushStyle::bsBDiagonal;
    case 6: return TBrushStyle::bsFDiagonal;
    case 7: return TBrushStyle::bsDiagCross;
    default: return TBrushStyle::bsSolid;
  }
}

struct TDataLabel {
  int x, y;
  std::string text;
  int location;
};

struct TSlice {
  int startDeg, endDeg;  // whole degrees, at most 180 apart
  int explosion;         // percent of the radius
  double middle;         // radians, of the whole slice
  TColor color;
  std::string label;     // empty on the second half of a split slice
};

// Values kept per point for the next series: stacked offsets, Hilo heights,
// pie explosions and colours. One entry per cell of the X range.
struct TPointStore {
  std::vector<int> offset;
  std::vector<bool> has;
  std::vector<std::int32_t> value32;
  void Reset(std::size_t points) {
    offset.assign(points + 1, 0);
    has.assign(points + 1, false);
    value32.assign(points + 1, 0);
  }
  bool Holds(int index) const { return index >= 0 && static_cast<std::size_t>(index) < offset.size(); }
};

class TSeriesPainter {
 public:
  TSeriesPainter(TCanvas& canvas, TGraphFrame& frame) : c_(canvas), f_(frame), g_(frame.g) {}
  void Draw();

 private:
  void DrawSeries();
  TPoint DrawValue(const TGraphCellPair& pair, double xValue, double value);
  void QueueLabel(const TGraphCellPair& pair, TPoint at, bool bar);

  // By type.
  TPoint Bar(TPoint p, int index);
  void LineTo(TPoint p);
  void StepTo(TPoint p);
  void Ribbon(TPoint from, TPoint to);
  TPoint PieValue(const TGraphCellPair& pair, double value);
  void Hilo(TPoint p, int index, double value);
  TPoint Radar(double xValue, double value);
  TPoint AreaValue(TPoint p, int index);
  void CloseArea();
  void WallValue(TPoint p);
  void CloseWall(bool endFace);
  void Contour();
  void ContourSquare(double x0, double y0, double x1, double y1, const double (&h)[4], double low, double high,
                     TColor color);

  void Mark(TPoint p);
  void HatchedPolygon(std::span<const TPoint> points);
  void SolidPolygon(std::span<const TPoint> points, TColor color, bool outline);
  TPoint SetBack(TPoint p) const;
  // A foot or base line held within the plot's front plane: never below the
  // plot nor, for bars and walls hanging from a zero line above it, above its
  // top (the clip shows the same shape).
  int PlotHeight(int y) const { return std::clamp(y, std::min(f_.top, f_.bottom), f_.bottom); }
  TPoint RibbonDepth() const;
  TColor RibbonColor() const { return GraphShade(GraphPaletteColor(series_ + 8), 75); }
  void Draw3DSlices();
  void DrawSliceLabel(TPoint anchor, TPoint centre, const std::string& text);
  void DrawDataLabels();

  TCanvas& c_;
  TGraphFrame& f_;
  TGraphRecord& g_;
  int type_ = 0;
  int slotWidth_ = 0, gap3d_ = 0, barWidth_ = 0, barCount_ = 1, barPosition_ = 1;
  int zeroLine_ = 0;
  double pieSum_ = 0;
  TPointStore store_;
  std::vector<TDataLabel> labels_;
  std::vector<TSlice> slices_;
  std::vector<TPoint> upper_, lower_;  // the Area band being collected
  std::vector<TPoint> wall_;           // the Wall band being collected
  int wallBase_ = 0;

  // The series being drawn.
  int series_ = 0;
  int baseline_ = 0;
  double running_ = 0, xCounter_ = 0, pieAngle_ = 0;
  bool lineBreak_ = true;
  TPoint prev_;
};

void TSeriesPainter::Draw() {
  type_ = g_.Type();
  labels_.clear();
  slotWidth_ = GraphRound(GraphRatio(f_.plotW, f_.sc.xMax - f_.sc.xMin + 1));
  gap3d_ = f_.props.threeD && slotWidth_ >= 2 * f_.dx ? f_.dx : 0;
  barCount_ = f_.props.stacked ? 1 : std::max(1, f_.sc.validSeries);
  barWidth_ = GraphRound(static_cast<double>(slotWidth_ - gap3d_) / barCount_);
  barPosition_ = 1;
  zeroLine_ = f_.top + f_.MapPoint(f_.sc.xMin, 0).y;
  store_.Reset(static_cast<std::size_t>(GraphRangeCells(g_.XRange())));
  for (int series = 1; series <= kGraphSeries; ++series) {
    if (RangeIsValid(g_.SeriesRange(series))) {
      pieSum_ = GraphRangeStatistics(g_.SeriesRange(series)).sum;
      break;
    }
  }
  if (f_.props.hasYAxis) c_.SetClipRect(f_.SeriesClip());
  f_.SetElementFont(c_, 5);
  if (type_ == kGraphContour) {
    Contour();
  } else {
    for (int position = 1; position <= kGraphSeries; ++position) {
      series_ = GraphSeriesInOrder(type_, position);
      if (RangeIsValid(g_.SeriesRange(series_))) DrawSeries();
    }
  }
  if (type_ == kGraphPie3D || type_ == kGraphDonut3D) Draw3DSlices();
  DrawDataLabels();
  if (f_.props.hasYAxis) c_.RemoveClip();
}

void TSeriesPainter::DrawSeries() {
  running_ = 0;
  xCounter_ = 0.5;
  pieAngle_ = 0;
  lineBreak_ = true;
  f_.SeriesPen(c_, series_);
  c_.Pen.Style = TPenStyle::psSolid;
  int yMinLine = f_.top + f_.MapPoint(f_.sc.xMin, f_.sc.yMin).y;
  baseline_ = std::min(zeroLine_, yMinLine);
  if (g_.YManual() && type_ != kGraphBar && type_ != kGraphStack) baseline_ = yMinLine;
  upper_.clear();
  lower_.clear();
  wall_.clear();
  bool categories = !f_.props.valueX;
  int location = g_.LabelLocation(series_);
  TRange labels = location >= 1 && location <= 4 ? g_.LabelRange(series_) : TRange{};
  ForEachGraphCellPair(g_.XRange(), g_.SeriesRange(series_), labels, [&](const TGraphCellPair& pair) {
    double value;
    if (GraphCellEmpty(pair.xCell)) {
      // The category still counts, so that later points stay over their labels.
      if (categories && pair.inSeries) xCounter_ += 1;
      lineBreak_ = true;
    } else if (pair.inSeries) {
      xCounter_ += 1;
      if (!GraphCellNumber(pair.seriesCell, value)) {
        lineBreak_ = true;
      } else {
        double xValue = 0;
        if (f_.props.valueX) GraphCellNumber(pair.xCell, xValue);
        prev_ = DrawValue(pair, xValue, value);
        lineBreak_ = false;
      }
    }
    if (type_ == kGraphArea && (lineBreak_ || pair.lastCell)) CloseArea();
    if (type_ == kGraphWall3D && (lineBreak_ || pair.lastCell)) CloseWall(true);
  });
  if (!f_.props.stacked) ++barPosition_;
}

// Draws one value; the point it leaves as the previous point.
TPoint TSeriesPainter::DrawValue(const TGraphCellPair& pair, double xValue, double value) {
  if (type_ == kGraphCum) running_ += value;
  double x = f_.props.valueX ? xValue : xCounter_;
  TPoint p = f_.CanvasPoint(x, type_ == kGraphCum ? running_ : value);
  TPoint anchor = p;
  bool bar = false;
  switch (type_) {
    case kGraphXy:
    case kGraphLine:
    case kGraphCum:
      Mark(p);
      if (!lineBreak_) LineTo(p);
      break;
    case kGraphStrip3D:
      if (!lineBreak_) Ribbon(prev_, p);
      break;
    case kGraphBar:
    case kGraphStack:
    case kGraphBar3D:
    case kGraphStack3D:
      anchor = Bar(p, pair.index);
      bar = true;
      break;
    case kGraphPie:
    case kGraphPie3D:
    case kGraphDonut3D:
      anchor = PieValue(pair, value);
      break;
    case kGraphHilo:
      Hilo(p, pair.index, value);
      break;
    case kGraphRadar:
    case kGraphPolar:
      p = anchor = Radar(xValue, value);
      break;
    case kGraphArea:
      anchor = AreaValue(p, pair.index);
      break;
    case kGraphDelta:
      Mark(p);
      if (!lineBreak_) StepTo(p);
      break;
    case kGraphWall3D:
      WallValue(p);
      break;
    default:
      break;
  }
  QueueLabel(pair, anchor, bar);
  return p;
}

void TSeriesPainter::QueueLabel(const TGraphCellPair& pair, TPoint at, bool bar) {
  if (!pair.inLabels || pair.labelCell == nullptr || labels_.size() >= kMaxDataLabels) return;
  std::string text = GraphCellText(pair.labelCell);
  if (text.empty()) return;
  int location = g_.LabelLocation(series_);
  int x = at.x;
  if (bar && (location == 1 || location == 2)) x += barWidth_ / 2;
  if (bar && location == 4) x += barWidth_;
  labels_.push_back({x, at.y, std::move(text), location});
}

void TSeriesPainter::Mark(TPoint p) {
  if (!(g_.SeriesDisplay(series_) & 2)) return;
  c_.Pen.Color = f_.PositionColor(series_);
  DrawMark(c_, f_, g_.Mark(series_), p.x, p.y);
}

void TSeriesPainter::LineTo(TPoint p) {
  if (!(g_.SeriesDisplay(series_) & 1)) return;
  f_.SeriesPen(c_, series_);
  TGraphFrame::Line(c_, prev_.x, prev_.y, p.x, p.y);
  f_.AddHitSegment(-series_, prev_, p);
  c_.Pen.Width = 1;
  c_.Pen.Style = TPenStyle::psSolid;
}

void TSeriesPainter::StepTo(TPoint p) {
  if (!(g_.SeriesDisplay(series_) & 1)) return;
  f_.SeriesPen(c_, series_);
  TPoint corner{p.x, prev_.y};
  TGraphFrame::Line(c_, prev_.x, prev_.y, corner.x, corner.y);
  c_.LineTo(p.x, p.y);
  f_.AddHitSegment(-series_, prev_, corner);
  f_.AddHitSegment(-series_, corner, p);
  c_.Pen.Width = 1;
  c_.Pen.Style = TPenStyle::psSolid;
}

TPoint TSeriesPainter::SetBack(TPoint p) const {
  int m = std::max(1, f_.sc.validSeries);
  // Deeper series stand further towards the back plane.
  return {p.x + (series_ - 1) * f_.dx / m, p.y + (series_ - 1) * f_.dy / m};
}

TPoint TSeriesPainter::RibbonDepth() const {
  int m = std::max(1, f_.sc.validSeries);
  return {f_.dx / m, f_.dy / m};
}

void TSeriesPainter::Ribbon(TPoint from, TPoint to) {
  TPoint a = SetBack(from), b = SetBack(to), d = RibbonDepth();
  TPoint face[4] = {a, b, {b.x + d.x, b.y + d.y}, {a.x + d.x, a.y + d.y}};
  SolidPolygon(face, RibbonColor(), false);
  f_.AddHitSegment(-series_, a, b);
}

TPoint TSeriesPainter::Bar(TPoint p, int index) {
  int foot = baseline_, top = p.y;
  if (f_.props.stacked && store_.Holds(index)) {
    int offset = store_.offset[static_cast<std::size_t>(index)];
    foot = baseline_ + offset;
    top = p.y + offset;
    store_.offset[static_cast<std::size_t>(index)] = top - baseline_;
  }
  foot = PlotHeight(foot);
  int left = f_.props.stacked ? p.x - barWidth_ / 2
                              : p.x + (barPosition_ - 1) * barWidth_ - barCount_ * barWidth_ / 2;
  int right = left + barWidth_;
  f_.SeriesFill(c_, series_);
  TPoint front[4] = {{left, foot}, {left, top}, {right, top}, {right, foot}};
  c_.Polygon(front);
  f_.AddHit(series_, {left, top, right, foot});
  if (f_.props.threeD) {
    TColor color = f_.PositionColor(series_);
    int dx = f_.dx, dy = f_.dy;
    TPoint side[4] = {{right, top}, {right + dx, top + dy}, {right + dx, foot + dy}, {right, foot}};
    SolidPolygon(side, GraphShade(color, 50), true);
    TPoint lid[4] = {{left, top}, {left + dx, top + dy}, {right + dx, top + dy}, {right, top}};
    SolidPolygon(lid, GraphShade(color, 33), true);
  }
  return {left, top};
}

TPoint TSeriesPainter::PieValue(const TGraphCellPair& pair, double value) {
  int index = pair.index;
  if (series_ == 2 || series_ == 3) {
    if (store_.Holds(index)) {
      double rounded = std::clamp(std::round(value), -2147483647.0, 2147483647.0);
      auto at = static_cast<std::size_t>(index);
      if (series_ == 2) {
        store_.offset[at] = static_cast<int>(rounded);
      } else {
        store_.value32[at] = static_cast<std::int32_t>(rounded);
      }
    }
    return {};
  }
  if (series_ != 1) return {};
  double fraction = GraphRatio(value, pieSum_);
  xCounter_ = fraction;
  // A slice of no or negative size has nothing to draw; it does not turn the pie back.
  if (!(fraction > 0) || pieAngle_ >= 2 * kPi) return {};
  double start = pieAngle_;
  double end = std::min(start + fraction * 2 * kPi, 2 * kPi);
  pieAngle_ = end;
  int R = GraphRound(f_.plotH / 2.0);
  auto at = static_cast<std::size_t>(index);
  int explosion = store_.Holds(index) ? store_.offset[at] : 0;
  if (explosion < 0 || explosion > 100) return {};
  std::int32_t stored = store_.Holds(index) ? store_.value32[at] : 0;
  TColor color = stored != 0 ? static_cast<TColor>(stored) & 0xFFFFFF : kSliceColors[(index - 1) % 16];
  std::string label = GraphCellText(pair.xCell) + " (" +
                      GraphTrim(FormatValue(7, static_cast<std::uint8_t>(g_.YFormat()), fraction)) + ")";
  double middle = (start + end) / 2;
  if (type_ != kGraphPie) {
    int startDeg = GraphRound(start * 180 / kPi), endDeg = GraphRound(end * 180 / kPi);
    int split = endDeg - startDeg > 180 ? startDeg + 180 : endDeg;
    slices_.push_back({startDeg, split, explosion, middle, color, label});
    if (split < endDeg) slices_.push_back({split, endDeg, explosion, middle, color, ""});
    return {};
  }
  double offset = explosion * R / 100.0;
  TPoint centre{f_.cx + GraphRound(offset * std::cos(middle)), f_.cy - GraphRound(offset * std::sin(middle))};
  TRect box{centre.x - R, centre.y - R, centre.x + R, centre.y + R};
  // The wedge's ends are given as far points on its rays, so that a thin
  // slice keeps distinct ends.
  constexpr double kRay = 4096;
  TPoint from{centre.x + GraphRound(kRay * std::cos(start)), centre.y - GraphRound(kRay * std::sin(start))};
  TPoint to{centre.x + GraphRound(kRay * std::cos(end)), centre.y - GraphRound(kRay * std::sin(end))};
  {
    classlib::TCanvasStateSaver saver(c_);
    int hatchSeries = (index - 1) % kGraphSeries + 1;
    c_.Pen = {classlib::clBlack, 1, TPenStyle::psSolid, classlib::TPenMode::pmCopy};
    c_.Brush = {color, f_.HatchStyle(hatchSeries), GraphPaletteColor((index + 1) % 16)};
    if (end - start >= 2 * kPi - 1e-9) {
      c_.Ellipse(box);
    } else if (from != to) {  // equal ends would draw the whole circle
      c_.Pie(box, from, to);
    }
  }
  double labelRadius = R + c_.TextHeight("Y");
  DrawSliceLabel({centre.x + GraphRound(labelRadius * std::cos(middle)),
                  centre.y - GraphRound(labelRadius * std::sin(middle))},
                 centre, label);
  return {centre.x + GraphRound(R / 2.0 * std::cos(middle)), centre.y - GraphRound(R / 2.0 * std::sin(middle))};
}

void TSeriesPainter::DrawSliceLabel(TPoint anchor, TPoint centre, const std::string& text) {
  f_.SetElementFont(c_, 5);
  classlib::TSize size = c_.TextExtent(text);
  int x = anchor.x, y = anchor.y;
  if (x < centre.x) x -= size.cx + c_.TextWidth("X");
  if (y < centre.y) y -= size.cy;
  f_.DrawLeftText(c_, text, x, y);
  f_.AddHit(13, f_.textBox);
}

void TSeriesPainter::Hilo(TPoint p, int index, double value) {
  if (g_.SeriesDisplay(series_) & 2) {
    std::string text = GraphTrim(FormatValue(7, static_cast<std::uint8_t>(g_.YFormat()), value));
    if (value < 0) text = " " + text;
    f_.DrawLeftText(c_, text, p.x + f_.smallGap, p.y - f_.textHeight / 2);
  }
  c_.Pen = {GraphPaletteColor(1), 4, TPenStyle::psSolid, classlib::TPenMode::pmCopy};
  if (store_.Holds(index)) {
    auto at = static_cast<std::size_t>(index);
    // Only a point that an earlier series gave a value gets its high-low bar.
    if (store_.has[at]) {
      TPoint from{p.x, store_.offset[at]};
      TGraphFrame::Line(c_, from.x, from.y, p.x, p.y);
      f_.AddHitSegment(-series_, from, p);
    }
    store_.offset[at] = p.y;
    store_.has[at] = true;
  }
  int tick = f_.smallGap / 2;
  if (series_ == 3) TGraphFrame::Line(c_, p.x - tick, p.y, p.x, p.y);
  if (series_ == 4) TGraphFrame::Line(c_, p.x, p.y, p.x + tick, p.y);
  f_.SeriesPen(c_, series_);
  c_.Pen.Style = TPenStyle::psSolid;
}

TPoint TSeriesPainter::Radar(double xValue, double value) {
  double r = GraphRatio(value, f_.sc.yMax) * f_.polarR;
  bool radar = type_ == kGraphRadar;
  double angle = radar ? xValue - kPi / 2 : xValue;
  int vertical = GraphRound(std::sin(angle) * r);
  TPoint p{f_.cx + GraphRound(r * std::cos(angle)), radar ? f_.cy + vertical : f_.cy - vertical};
  Mark(p);
  if (!lineBreak_) {
    if (g_.Hatch(series_) != 0) {
      TPoint wedge[3] = {prev_, p, {f_.cx, f_.cy}};
      HatchedPolygon(wedge);
    }
    LineTo(p);
  }
  return p;
}

TPoint TSeriesPainter::AreaValue(TPoint p, int index) {
  int offset = 0;
  if (store_.Holds(index)) {
    auto at = static_cast<std::size_t>(index);
    offset = store_.offset[at];
    store_.offset[at] = offset + p.y - zeroLine_;
  }
  TPoint up{p.x, p.y + offset}, down{p.x, zeroLine_ + offset};
  upper_.push_back(up);
  lower_.push_back(down);
  if (upper_.size() + lower_.size() >= kMaxBandPoints) {
    // A full band is filled and the next one starts where it ended.
    CloseArea();
    upper_.push_back(up);
    lower_.push_back(down);
  }
  return up;
}

void TSeriesPainter::CloseArea() {
  if (upper_.empty()) return;
  std::vector<TPoint> band(upper_);
  band.insert(band.end(), lower_.rbegin(), lower_.rend());
  HatchedPolygon(band);
  upper_.clear();
  lower_.clear();
}

void TSeriesPainter::WallValue(TPoint p) {
  TPoint q = SetBack(p);
  if (wall_.empty()) {
    wallBase_ = SetBack({0, PlotHeight(baseline_)}).y;
    wall_.push_back({q.x, wallBase_});
  } else {
    TPoint last = wall_.back(), d = RibbonDepth();
    TPoint top[4] = {last, q, {q.x + d.x, q.y + d.y}, {last.x + d.x, last.y + d.y}};
    SolidPolygon(top, RibbonColor(), false);
  }
  wall_.push_back(q);
  if (wall_.size() >= kMaxBandPoints) {
    CloseWall(false);
    wall_ = {{q.x, wallBase_}, q};
  }
}

void TSeriesPainter::CloseWall(bool endFace) {
  if (wall_.size() < 2) {
    wall_.clear();
    return;
  }
  TPoint last = wall_.back();
  wall_.push_back({last.x, wallBase_});
  HatchedPolygon(wall_);
  if (endFace) {
    TPoint d = RibbonDepth();
    TPoint face[4] = {last, {last.x + d.x, last.y + d.y}, {last.x + d.x, wallBase_ + d.y}, {last.x, wallBase_}};
    SolidPolygon(face, classlib::clRed, true);
  }
  wall_.clear();
}

void TSeriesPainter::Contour() {
  TGraphRangeStats stats = GraphRangeStatistics(g_.XRange());
  int rows = 0, cols = 0;
  std::vector<double> heights;
  ForEachGraphCellPair(g_.XRange(), TRange{}, TRange{}, [&](const TGraphCellPair& pair) {
    double v = 0;
    GraphCellNumber(pair.xCell, v);
    // Heights 0-200 between the lowest and the highest value; a flat matrix is all 0.
    heights.push_back(stats.max == stats.min ? 0 : (v - stats.min) * 200 / (stats.max - stats.min));
    rows = pair.rowOffset + 1;
    cols = pair.colOffset + 1;
  });
  auto height = [&](int i, int j) { return heights[static_cast<std::size_t>(i * cols + j)]; };
  auto px = [&](int j) { return f_.left + (j - f_.sc.xMin) * f_.xPerUnit; };
  auto py = [&](int i) { return f_.top + f_.plotH - (i - f_.sc.yMin) * f_.yPerUnit; };
  for (int band = 1; band <= 5; ++band) {
    TColor color = GraphPaletteColor((band - 1) % 6 + 1);
    for (int i = 0; i + 1 < rows; ++i) {
      for (int j = 0; j + 1 < cols; ++j) {
        const double corners[4] = {height(i, j), height(i, j + 1), height(i + 1, j), height(i + 1, j + 1)};
        ContourSquare(px(j), py(i), px(j + 1), py(i + 1), corners, 50.0 * (band - 1), 50.0 * band, color);
      }
    }
  }
}

// Corners h: (x0, y0), (x1, y0), (x0, y1), (x1, y1).
void TSeriesPainter::ContourSquare(double x0, double y0, double x1, double y1, const double (&h)[4], double low,
                                   double high, TColor color) {
  int inside = 0;
  for (double v : h) inside += v >= low && v < high;
  if (inside == 4) {
    TRect r{GraphRound(std::min(x0, x1)), GraphRound(std::min(y0, y1)), GraphRound(std::max(x0, x1)),
            GraphRound(std::max(y0, y1))};
    c_.Brush = {color, TBrushStyle::bsSolid, classlib::clNone};
    c_.FillRect(r);
    return;
  }
  double lowest = std::min({h[0], h[1], h[2], h[3]}), highest = std::max({h[0], h[1], h[2], h[3]});
  if (highest < low || lowest >= high) return;  // the band misses this square
  if (std::fabs(x1 - x0) < 2 && std::fabs(y1 - y0) < 2) return;
  double xm = (x0 + x1) / 2, ym = (y0 + y1) / 2;
  double top = (h[0] + h[1]) / 2, bottom = (h[2] + h[3]) / 2, left = (h[0] + h[2]) / 2, right = (h[1] + h[3]) / 2;
  double centre = (h[0] + h[1] + h[2] + h[3]) / 4;
  ContourSquare(x0, y0, xm, ym, {h[0], top, left, centre}, low, high, color);
  ContourSquare(xm, y0, x1, ym, {top, h[1], centre, right}, low, high, color);
  ContourSquare(x0, ym, xm, y1, {left, centre, h[2], bottom}, low, high, color);
  ContourSquare(xm, ym, x1, y1, {centre, right, bottom, h[3]}, low, high, color);
}

void TSeriesPainter::HatchedPolygon(std::span<const TPoint> points) {
  classlib::TCanvasStateSaver saver(c_);
  c_.Pen.Style = TPenStyle::psClear;
  c_.Brush = {f_.PositionColor(series_), PolygonHatch(g_.Hatch(series_)), f_.SeriesBackColor(series_)};
  c_.Polygon(points);
}

void TSeriesPainter::SolidPolygon(std::span<const TPoint> points, TColor color, bool outline) {
  classlib::TCanvasStateSaver saver(c_);
  c_.Pen = {classlib::clBlack, 1, outline ? TPenStyle::psSolid : TPenStyle::psClear, classlib::TPenMode::pmCopy};
  c_.Brush = {color, TBrushStyle::bsSolid, classlib::clNone};
  c_.Polygon(points);
}

void TSeriesPainter::Draw3DSlices() {
  if (slices_.empty()) return;
  double rotation = Graph3DRotation();
  auto entryMiddle = [](const TSlice& s) { return (s.startDeg + s.endDeg) / 2.0 * kPi / 180; };
  // Back slices first: those whose middle turns furthest away from the viewer.
  std::stable_sort(slices_.begin(), slices_.end(), [&](const TSlice& a, const TSlice& b) {
    return std::sin(entryMiddle(a) - rotation) > std::sin(entryMiddle(b) - rotation);
  });
  f_.SetView(f_.cx, f_.cy);
  int R = GraphRound(f_.plotH / 2.0);
  double t = R / 8.0;
  double inner = type_ == kGraphDonut3D ? R / 2.0 : 0;
  for (const TSlice& slice : slices_) {
    double offset = slice.explosion * R / 100.0;
    double ox = offset * std::cos(slice.middle), oy = offset * std::sin(slice.middle);
    auto at = [&](double radius, double radians, double z) {
      TPoint p = f_.Project(radius * std::cos(radians) + ox, radius * std::sin(radians) + oy, z);
      return TPoint{f_.cx + p.x, f_.cy + p.y};
    };
    int steps = std::max(2, GraphRound((slice.endDeg - slice.startDeg) / 6.0));
    auto angle = [&](int i) { return (slice.startDeg + (slice.endDeg - slice.startDeg) * i / double(steps)) * kPi / 180; };
    TColor side = GraphShade(slice.color, 75);
    auto face = [&](double r1, double a1, double r2, double a2) {
      TPoint quad[4] = {at(r1, a1, t), at(r2, a2, t), at(r2, a2, -t), at(r1, a1, -t)};
      SolidPolygon(quad, side, false);
    };
    // A face shows when its outward direction turns towards the viewer.
    auto towardViewer = [&](double direction) { return std::sin(direction - rotation) < 0; };
    for (int i = 0; inner > 0 && i < steps; ++i)
      if (towardViewer((angle(i) + angle(i + 1)) / 2 + kPi)) face(inner, angle(i), inner, angle(i + 1));
    if (towardViewer(angle(0) - kPi / 2)) face(inner, angle(0), R, angle(0));
    if (towardViewer(angle(steps) + kPi / 2)) face(inner, angle(steps), R, angle(steps));
    for (int i = 0; i < steps; ++i)
      if (towardViewer((angle(i) + angle(i + 1)) / 2)) face(R, angle(i), R, angle(i + 1));
    std::vector<TPoint> top;
    for (int i = 0; i <= steps && top.size() < kMaxTopFacePoints; ++i) top.push_back(at(R, angle(i), t));
    if (inner > 0) {
      for (int i = steps; i >= 0 && top.size() < kMaxTopFacePoints; --i) top.push_back(at(inner, angle(i), t));
    } else {
      top.push_back(at(0, 0, t));
    }
    SolidPolygon(top, slice.color, true);
    if (slice.label.empty()) continue;
    c_.Pen = {classlib::clBlack, 1, TPenStyle::psSolid, classlib::TPenMode::pmCopy};
    TPoint from = at(R * 3 / 4.0, slice.middle, t), to = at(R * 5 / 4.0, slice.middle, t);
    TGraphFrame::Line(c_, from.x, from.y, to.x, to.y);
    f_.SetElementFont(c_, 5);
    double labelRadius = c_.TextHeight("Y") + R * 5 / 4.0;
    DrawSliceLabel(at(labelRadius, slice.middle, R / 8.0), {f_.cx, f_.cy}, slice.label);
  }
}

void TSeriesPainter::DrawDataLabels() {
  if (labels_.empty()) return;
  f_.SetElementFont(c_, 6);
  int h = c_.TextHeight("Xg");
  int wX = c_.TextWidth("X");
  bool shifted = f_.props.threeD && type_ != kGraphPie3D && type_ != kGraphDonut3D;
  for (const TDataLabel& label : labels_) {
    int w = c_.TextWidth(label.text);
    int x = label.x + (shifted ? f_.dx : 0);
    int base = label.y + h / 2 + (shifted ? f_.dy : 0);
    switch (label.location) {
      case 1: f_.DrawLeftText(c_, label.text, x - w / 2, base - 3 * h / 2); break;
      case 2: f_.DrawLeftText(c_, label.text, x - w / 2, base + h / 2); break;
      case 3: f_.DrawLeftText(c_, label.text, x - w - wX, base - h / 2); break;
      default: f_.DrawLeftText(c_, label.text, x + wX, base - h / 2); break;
    }
  }
}

}  // namespace

void DrawGraphSeries(TCanvas& canvas, TGraphFrame& frame) { TSeriesPainter(canvas, frame).Draw(); }

}  // namespace corvane

// Layout, value mapping, colours, fonts, text, the 3D projection and marks.
#include "spreadsheet/graphs/GraphFrame.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "spreadsheet/engine/DecimalDigits.h"
#include "spreadsheet/engine/EngineHelpers.h"
#include "spreadsheet/engine/FormatSettings.h"
#include "spreadsheet/engine/NumberFormat.h"
#include "spreadsheet/graphs/GraphCells.h"

namespace corvane {

using classlib::TBrushStyle;
using classlib::TCanvas;
using classlib::TColor;
using classlib::TPenStyle;
using classlib::TPoint;
using classlib::TRect;

namespace {

constexpr double kCos30 = 0.86602540378443864676;  // sqrt(3) / 2, exactly as a double can
constexpr double kSin30 = 0.5;

// The longest tick label in the axis format: 15 digits, the most a double
// holds, and a sign and separator or two.
constexpr std::size_t kLongestTickLabel = 17;

double gRotation = 0;

// Brush style of a record pattern 1-8 (outside: solid).
TBrushStyle PatternStyle(int hatch) {
  static constexpr TBrushStyle kStyles[8] = {TBrushStyle::bsSolid,    TBrushStyle::bsHorizontal,
                                             TBrushStyle::bsVertical, TBrushStyle::bsDiagCross,
                                             TBrushStyle::bsBDiagonal, TBrushStyle::bsFDiagonal,
                                             TBrushStyle::bsCross,    TBrushStyle::bsClear};
  return hatch >= 1 && hatch <= 8 ? kStyles[hatch - 1] : TBrushStyle::bsSolid;
}

TPenStyle LineStyle(int style) {
  static constexpr TPenStyle kStyles[6] = {TPenStyle::psSolid,   TPenStyle::psDash,         TPenStyle::psDot,
                                           TPenStyle::psDashDot, TPenStyle::psDashDotDot, TPenStyle::psClear};
  return style >= 1 && style <= 6 ? kStyles[style - 1] : TPenStyle::psSolid;
}

}  // namespace

std::string GraphTickLabel(int width, int format, double v) {
  std::string text = FormatValue(width, static_cast<std::uint8_t>(format), v);
  if (GraphTrim(text).size() <= kLongestTickLabel) return text;
  return ExponentText(DecimalDigitsOf(v, 6), -1, 1, FormatSettings().Period) + " ";
}

int GraphRound(double x) {
  if (std::isnan(x)) return 0;
  x = std::clamp(x, -static_cast<double>(kGraphPixelLimit), static_cast<double>(kGraphPixelLimit));
  return static_cast<int>(std::round(x));
}

TColor GraphPaletteColor(int index) { return kPalette16[index & 15]; }

TColor GraphShade(TColor color, int percent) {
  return classlib::RGBColor(classlib::RedOf(color) * percent / 100, classlib::GreenOf(color) * percent / 100,
                            classlib::BlueOf(color) * percent / 100);
}

void Graph3DRotate() { gRotation += std::numbers::pi / 16; }
double Graph3DRotation() { return gRotation; }
void SetGraph3DRotation(double radians) { gRotation = radians; }

TGraphFrame::TGraphFrame(const TGraphRecord& graph, int width, int height, const TGraphDrawOptions& options,
                         TGraphHitList* hitList)
    : g(graph), props(GraphTypeProperties(graph.Type())), opt(options), hits(hitList), W(width), H(height) {
  opt.zoomPercent = std::clamp(opt.zoomPercent, 20, 200);
}

void TGraphFrame::Layout(TCanvas& canvas) {
  sc = GraphComputeScales(g);
  xLog = (g.AxisOptions() & 0x80) != 0 && props.valueX;
  yLog = (g.AxisOptions() & 0x40) != 0;
  u = H / 350.0;
  tick = GraphRound(3 * u);
  if (props.threeD) {
    depth = GraphRound(20 * u);
    s = GraphRound(6 * u);
    TPoint d = DepthOffset(0, 0, depth);
    dx = d.x;
    dy = d.y;
  }
  for (int k = 1; k <= kGraphTextElements; ++k) h[k] = GraphRound(g.FontSize(k) * u);
  labelRows = g.XStep() <= 10 ? 1 : 2;

  SetElementFont(canvas, 4);
  int t = canvas.TextHeight("Hg");
  SetElementFont(canvas, 5);
  // Room for the widest Y label actually drawn.
  int w = 0;
  for (double v : {sc.yMax, sc.yMin})
    w = std::max(w, canvas.TextWidth(GraphTickLabel(2, g.YFormat(), v) + "000"));
  int zoom = opt.zoomPercent;
  left = w + t + s;
  right = W - w - dx - s;
  top = (h[1] + h[2]) * zoom / 100 + s - dy;
  bottom = H - 2 * s - (h[5] * labelRows + h[3] * 3 / 2 + h[7]) * zoom / 100;
  plotW = right - left;
  plotH = bottom - top;
  cx = (left + right) / 2;
  cy = (top + bottom) / 2;
  SetView(cx, cy);
  yPerUnit = std::fabs(sc.yExtent) > 0 ? plotH / sc.yExtent : 0;
  xPerUnit = std::fabs(sc.xExtent) > 0 ? plotW / sc.xExtent : 0;
  xDiv = g.XDivisions();
  yDiv = g.YDivisions();
  g.SetDivisionsCopies(xDiv, yDiv);
}

void TGraphFrame::SetView(int centreX, int centreY) {
  cosA = std::cos(gRotation);
  sinA = std::sin(gRotation);
  cosE = std::cos(std::numbers::pi / 4);
  sinE = std::sin(std::numbers::pi / 4);
  viewX = centreX;
  viewY = centreY;
}

TPoint TGraphFrame::Project(double x, double y, double z) const {
  int xr = GraphRound(x * cosA + y * sinA);
  int yr = GraphRound(y * cosA - x * sinA);
  return {xr, -GraphRound(yr * sinE + z * cosE)};
}

TPoint TGraphFrame::DepthOffset(int x, int y, int length) const {
  return {GraphRound(x + length * kCos30 + 0.5), GraphRound(y - length * kSin30 + 0.5)};
}

TPoint TGraphFrame::MapPoint(double x, double y) const {
  double xv = x, xm = sc.xMin, yv = y, ym = sc.yMin;
  if (xLog) {
    xv = GraphLn(x);
    xm = GraphLn(sc.xMin);
  }
  if (yLog) {
    yv = GraphLn(y);
    ym = GraphLn(sc.yMin);
  }
  return {GraphRound((xv - xm) * xPerUnit), GraphRound(plotH - (yv - ym) * yPerUnit)};
}

TColor TGraphFrame::PositionColor(int position) const {
  int index = 0;
  if (position >= 1 && position <= 6) {
    index = g.SeriesColour(position);
  } else if (position == 7) {
    if (opt.monochrome) return classlib::clWhite;
    index = g.OutsideColour();
  } else if (position == 8) {
    if (opt.monochrome) return classlib::clWhite;
    index = g.InsideColour();
  } else if (position >= 9 && position <= 15) {
    if (opt.monochrome) return classlib::clBlack;
    index = g.TextColour(position - 8);
  }
  return GraphPaletteColor(index);
}

TColor TGraphFrame::SeriesBackColor(int series) const { return GraphPaletteColor(g.SeriesBackground(series)); }

TBrushStyle TGraphFrame::HatchStyle(int series) const { return PatternStyle(g.Hatch(series)); }

void TGraphFrame::SeriesFill(TCanvas& canvas, int series) const {
  canvas.Pen = {classlib::clBlack, 1, TPenStyle::psSolid, classlib::TPenMode::pmCopy};
  canvas.Brush = {PositionColor(series), HatchStyle(series), SeriesBackColor(series)};
}

void TGraphFrame::SeriesPen(TCanvas& canvas, int series) const {
  canvas.Pen = {PositionColor(series), std::clamp(g.Thickness(series), 1, 5), LineStyle(g.LineStyle(series)),
                classlib::TPenMode::pmCopy};
}

void TGraphFrame::SetElementFont(TCanvas& canvas, int element) {
  int height = std::max(1, h[element] * opt.zoomPercent / 100);
  textHeight = height;
  smallGap = height * 7 / 10;
  std::string face = g.FontName(element);
  if (face.empty()) {
    face = "Arial";
    g.SetFontName(element, face);
  }
  canvas.Font.Name = face;
  canvas.Font.Height = -height;
  canvas.Font.Style = static_cast<classlib::TFontStyles>(g.FontStyle(element) & 0x0F);
  canvas.Font.Color = PositionColor(8 + element);
  canvas.Font.Escapement = 0;
}

void TGraphFrame::DrawLeftText(TCanvas& canvas, std::string_view text, int x, int y) {
  classlib::TSize size = canvas.TextExtent(text);
  canvas.Brush.Style = TBrushStyle::bsClear;
  canvas.TextAlign = classlib::taLeft | classlib::taTop;
  canvas.TextOut(x, y, text);
  textBox = {x, y, x + size.cx, y + size.cy};
}

void TGraphFrame::DrawCentredText(TCanvas& canvas, int x, int y, std::string_view text) {
  DrawLeftText(canvas, text, x - canvas.TextWidth(text) / 2, y);
}

void TGraphFrame::DrawRotatedText(TCanvas& canvas, std::string_view text, int x, int y) {
  int w = canvas.TextWidth(text);
  classlib::TCanvasStateSaver saver(canvas);
  canvas.Font.Escapement = 900;
  canvas.Brush.Style = TBrushStyle::bsClear;
  // Top alignment: the tops of the turned letters face left, so the text
  // stands to the right of x rather than off the canvas's edge.
  canvas.TextAlign = classlib::taCenter | classlib::taTop;
  canvas.TextOut(x, y, text);
  textBox = {x, y - w / 2, x + textHeight, y + w - w / 2};
}

void TGraphFrame::AddHit(int id, const TRect& r) const {
  if (hits) hits->AddRect(id, r);
}

void TGraphFrame::AddHitSegment(int id, TPoint a, TPoint b) const {
  if (hits) hits->Add(id, a.x, a.y, b.x, b.y);
}

void TGraphFrame::Line(TCanvas& canvas, int x1, int y1, int x2, int y2) {
  canvas.MoveTo(x1, y1);
  canvas.LineTo(x2, y2);
}

void TGraphFrame::ShiftedLine(TCanvas& canvas, int x1, int y1, int x2, int y2) const {
  Line(canvas, x1 + dx, y1 + dy, x2 + dx, y2 + dy);
}

TRect TGraphFrame::SeriesClip() const {
  return TRect{left + 1, top + dy + 1, right + dx - 1, bottom - 1}.Offset(opt.origin.x, opt.origin.y);
}

void DrawMark(TCanvas& canvas, const TGraphFrame& f, int mark, int x, int y) {
  int s = std::max(3, GraphRound(3 * f.u));
  if (mark < 0) {
    mark = -mark;
    s = 5;
  }
  if (mark < 1 || mark > 16) return;
  classlib::TCanvasStateSaver saver(canvas);
  canvas.Brush.Color = canvas.Pen.Color;
  canvas.Brush.Style = mark % 2 == 1 ? TBrushStyle::bsClear : TBrushStyle::bsSolid;
  canvas.Pen = {classlib::clBlack, 1, TPenStyle::psSolid, classlib::TPenMode::pmCopy};
  auto diagonalCross = [&] {
    for (int shift = 0; shift <= 1; ++shift) {
      TGraphFrame::Line(canvas, x - s + shift, y - s, x + s + shift, y + s);
      TGraphFrame::Line(canvas, x - s + shift, y + s, x + s + shift, y - s);
    }
  };
  auto uprightCross = [&] {
    TGraphFrame::Line(canvas, x - s, y, x + s + 1, y);
    TGraphFrame::Line(canvas, x, y - s, x, y + s + 1);
  };
  auto polygon = [&](std::initializer_list<TPoint> points) {
    canvas.Polygon(std::span<const TPoint>(points.begin(), points.size()));
  };
  switch (mark) {
    case 1:
      diagonalCross();
      break;
    case 2:
      canvas.Rectangle({x - s, y - s, x + s + 1, y + s + 2});
      diagonalCross();
      break;
    case 3:
      uprightCross();
      break;
    case 4:
      canvas.Rectangle({x - s, y - s, x + s + 1, y + s + 1});
      uprightCross();
      break;
    case 5:
    case 6:
      canvas.Rectangle({x - s, y - s, x + s + 1, y + s + 1});
      break;
    case 7:
    case 8:
      polygon({{x - s, y - s}, {x + s, y + s}, {x - s, y + s}, {x + s, y - s}});
      break;
    case 9:
    case 10:
      canvas.Ellipse({x - s, y - s, x + s + 1, y + s + 1});
      break;
    case 11:
    case 12:
      polygon({{x - s, y}, {x, y + s}, {x + s, y}, {x, y - s}});
      break;
    case 13:
    case 14:
      polygon({{x - s, y - s}, {x, y + s}, {x + s, y - s}});
      break;
    default:  // 15, 16
      polygon({{x - s, y + s}, {x, y - s / 2}, {x + s, y + s}});
      break;
  }
}

}  // namespace corvane

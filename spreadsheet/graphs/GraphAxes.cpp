// The elements around the series: axes, the radar and polar grid, the legend
// and the headings.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "spreadsheet/engine/NumberFormat.h"
#include "spreadsheet/graphs/GraphCells.h"
#include "spreadsheet/graphs/GraphFrame.h"

namespace corvane {

using classlib::TBrushStyle;
using classlib::TCanvas;
using classlib::TPenStyle;
using classlib::TPoint;
using classlib::TRect;

namespace {

constexpr char kDegreeSign = '\xB0';  // in the ANSI code page

void AxisPen(TCanvas& canvas) {
  canvas.Pen = {classlib::clBlack, 1, TPenStyle::psSolid, classlib::TPenMode::pmCopy};
}

// The major step between ticks: extent / steps (one tick for 0 steps), and
// on a logarithmic axis the factor per tick.
double MajorStep(double extent, int steps, bool logarithmic) {
  double step = GraphRatio(extent, steps);
  if (step == 0) step = 1;
  if (logarithmic) {
    step = std::exp(step);
    if (std::fabs(step - 10) < 0.0001) step = 10;
  }
  return step;
}

int GridBits(const TGraphFrame& f) { return f.g.Options() & 3; }
bool SolidGrid(const TGraphFrame& f) { return (f.g.Options() & 0x04) != 0; }
bool MinorGrid(const TGraphFrame& f) { return (f.g.Options() & 0x40) != 0; }

// A Y tick at height y; `grid` says whether this tick may carry a grid line.
void YTick(TCanvas& canvas, const TGraphFrame& f, int y, int length, bool grid) {
  if (!(f.top < y && y < f.bottom)) return;
  if (f.props.threeD) {
    TGraphFrame::Line(canvas, f.left, y, f.left + f.dx, y + f.dy);
    TGraphFrame::Line(canvas, f.left - f.s, y, f.left, y);
  }
  int bits = GridBits(f);
  if ((bits == 1 || bits == 3) && grid) {
    if (SolidGrid(f)) {
      f.ShiftedLine(canvas, f.left, y, f.right, y);
    } else {
      for (int x = f.left | 1; x < f.right; x += 2) canvas.SetPixel(x + f.dx, y + f.dy, classlib::clBlack);
    }
  }
  f.ShiftedLine(canvas, f.right - length, y, f.right + length, y);
  if (f.props.threeD) {
    TGraphFrame::Line(canvas, f.left - f.s - length, y, f.left - f.s, y);
  } else {
    TGraphFrame::Line(canvas, f.left + length, y, f.left - length, y);
  }
}

// An X tick at x; `counter` is the label counter that picks the label row.
void XTick(TCanvas& canvas, const TGraphFrame& f, int x, int length, int counter, bool grid) {
  if (!(f.left < x && x < f.right)) return;
  if (f.props.threeD) {
    TGraphFrame::Line(canvas, x, f.bottom, x + f.dx, f.bottom + f.dy);
    TGraphFrame::Line(canvas, x, f.bottom, x, f.bottom + f.s);
  }
  if (GridBits(f) >= 2 && grid) {
    if (SolidGrid(f)) {
      f.ShiftedLine(canvas, x, f.top, x, f.bottom);
    } else {
      for (int y = f.top | 1; y < f.bottom; y += 2) canvas.SetPixel(x + f.dx, y + f.dy, classlib::clBlack);
    }
  }
  f.ShiftedLine(canvas, x, f.top + length, x, f.top);
  if (f.props.threeD || f.props.category || f.labelRows == 2) {
    int row = (counter - 1) % f.labelRows + 1;
    TGraphFrame::Line(canvas, x, f.bottom, x, f.bottom + 2 * length * row / 3);
    if (f.props.threeD) TGraphFrame::Line(canvas, x, f.bottom, x, f.bottom + f.s + length);
  }
  if (!f.props.threeD && !f.props.category) TGraphFrame::Line(canvas, x, f.bottom - length, x, f.bottom);
}

// The sample of a legend entry in the box (left, centreY) to (left + width).
void LegendSample(TCanvas& canvas, TGraphFrame& f, int series, int left, int width, int centreY) {
  classlib::TCanvasStateSaver saver(canvas);
  int type = f.g.Type();
  bool filled = f.props.bars || f.props.stacked || f.props.polar || type == kGraphStrip3D || type == kGraphWall3D;
  int half = std::max(1, f.textHeight / 4);
  if (filled) {
    f.SeriesFill(canvas, series);
    int slant = std::max(1, width / 3);
    TPoint points[4] = {{left, centreY + half},
                        {left + slant, centreY - half},
                        {left + width, centreY - half},
                        {left + width - slant, centreY + half}};
    canvas.Polygon(points);
    return;
  }
  int display = f.g.SeriesDisplay(series);
  if (display & 1) {
    f.SeriesPen(canvas, series);
    TGraphFrame::Line(canvas, left, centreY, left + width, centreY);
  }
  if (display & 2) {
    canvas.Pen.Color = f.PositionColor(series);
    DrawMark(canvas, f, f.g.Mark(series), left + width / 2, centreY);
  }
}

}  // namespace

void DrawYAxis(TCanvas& canvas, TGraphFrame& f, int tickLength, bool labels) {
  AxisPen(canvas);
  int steps = f.g.YStep();
  double step = MajorStep(f.sc.yExtent, steps, f.yLog);
  if (f.sc.yMin < 0 && 0 < f.sc.yMax) {
    int y = f.top + f.MapPoint(f.sc.xMin, 0).y;
    if (f.props.threeD) TGraphFrame::Line(canvas, f.left, y, f.left + f.dx, y + f.dy);
    f.ShiftedLine(canvas, f.left, y, f.right, y);
  }
  f.SetElementFont(canvas, 5);
  int half = tickLength / 2;
  auto minorTick = [&](double v, bool grid) { YTick(canvas, f, f.top + f.MapPoint(f.sc.xMin, v).y, half, grid); };
  double v = f.sc.yMax;
  for (int k = 0; k <= steps; ++k) {
    int y = f.top + f.MapPoint(f.sc.xMin, v).y;
    std::string label = GraphTickLabel(2, f.g.YFormat(), v);
    int x = labels ? f.left - f.s - canvas.TextWidth(label + " ") : f.right + canvas.TextWidth(" ") + f.s;
    f.DrawLeftText(canvas, label, x, y - f.textHeight / 2);
    f.AddHit(14, f.textBox);
    YTick(canvas, f, y, tickLength, true);
    if (f.yLog) {
      if (k < steps) {
        f.ShiftedLine(canvas, f.left, y, f.right, y);
        for (int c = 2; c <= 10; ++c) minorTick(c * v / 10, true);
      }
      v /= 10;
    } else if (f.yDiv >= 1 && k < steps) {
      double next = v - step;
      for (int c = 1; c <= f.yDiv; ++c) minorTick(next + c * step / f.yDiv, MinorGrid(f));
      v = next;
    } else {
      v -= step;
    }
  }
}

void DrawXAxis(TCanvas& canvas, TGraphFrame& f, int tickLength, bool labels) {
  AxisPen(canvas);
  bool valueX = f.props.valueX;
  double step = 1, v = 1.5;
  int count = 0;
  std::vector<std::string> categories;
  if (valueX) {
    step = MajorStep(f.sc.xExtent, f.g.XStep(), f.xLog);
    v = f.sc.xMin;
    count = f.g.XStep();
  } else {
    count = GraphRound(f.sc.xMax - f.sc.xMin) - 1;
    ForEachGraphCellPair(f.g.XRange(), TRange{}, TRange{},
                         [&](const TGraphCellPair& pair) { categories.push_back(GraphCellText(pair.xCell)); });
  }
  f.SetElementFont(canvas, 5);
  if (count < 0) return;
  int half = tickLength / 2;
  int counter = 0;
  auto minorTick = [&](double at, bool grid) {
    XTick(canvas, f, f.left + f.MapPoint(at, f.sc.yMin).x, half, counter, grid);
  };
  for (int k = 0; k <= count; ++k) {
    ++counter;
    int x = f.left + f.MapPoint(v, f.sc.yMin).x;
    XTick(canvas, f, x, tickLength, counter, true);
    std::string label;
    if (valueX) {
      label = GraphTrim(GraphTickLabel(7, f.g.XFormat(), v));
    } else if (static_cast<std::size_t>(k) < categories.size()) {
      label = categories[static_cast<std::size_t>(k)];
    }
    if (labels) {
      f.DrawCentredText(canvas, x, (k % f.labelRows) * f.textHeight + f.bottom + tickLength + f.s, label);
      f.AddHit(13, f.textBox);
    }
    if (valueX && k < count && (f.xLog || f.xDiv > 0)) {
      if (f.xLog) {
        f.ShiftedLine(canvas, x, f.top, x, f.bottom);
        for (int c = 2; c <= 10; ++c) minorTick(c * v, true);
        v *= step;
      } else {
        for (int c = 1; c <= f.xDiv; ++c) minorTick(v + c * step / f.xDiv, MinorGrid(f));
        v += step;
      }
    } else {
      v += step;
    }
  }
}

void DrawPolarGrid(TCanvas& canvas, TGraphFrame& f) {
  AxisPen(canvas);
  f.SetElementFont(canvas, 5);
  int g = f.textHeight;
  int R = std::max(0, GraphRound(f.plotH / 2.0 - g));
  f.polarR = R;
  if (R == 0) return;
  int steps = f.g.YStep();
  int ringStep = steps != 0 ? R / steps : R / 2;
  canvas.Brush.Style = TBrushStyle::bsClear;
  canvas.Ellipse({f.cx - R, f.cy - R, f.cx + R, f.cy + R});
  // Rings need a whole pixel between them, or the loop would never shrink.
  if ((f.g.Options() & 1) && ringStep >= 1) {
    int r = R;
    double v = f.sc.yMax;
    double d = GraphRatio(f.sc.yMax, steps);
    do {
      std::string label = GraphTickLabel(2, f.g.YFormat(), v);
      int w = canvas.TextWidth(label);
      const TPoint at[4] = {{f.cx + r - w, f.cy}, {f.cx - r, f.cy + g}, {f.cx - w, f.cy + r - g / 2},
                            {f.cx, f.cy - r + g}};
      for (TPoint p : at) {
        f.DrawLeftText(canvas, label, p.x, p.y);
        f.AddHit(13, f.textBox);
      }
      v -= d;
      r -= ringStep;
      if (r > 0) {
        canvas.Pen.Style = TPenStyle::psDash;
        canvas.Brush.Style = TBrushStyle::bsClear;
        canvas.Ellipse({f.cx - r, f.cy - r, f.cx + r, f.cy + r});
        canvas.Pen.Style = TPenStyle::psSolid;
      }
    } while (r >= ringStep);
  }
  int spokes = f.g.XStep();
  if (spokes == 0) return;
  int positions = spokes + spokes % 2;
  double angleStep = 360.0 / positions;
  bool polar = f.g.Type() == kGraphPolar;
  double start = polar ? 0 : -90;
  int sign = polar ? 1 : -1;
  for (int k = 0; k < spokes; ++k) {
    double a = k * angleStep;
    double radians = (a + start) * std::numbers::pi / 180;
    int H = GraphRound(R * std::cos(radians));
    int V = GraphRound(sign * R * std::sin(radians));
    // V counts upwards: the spoke ends where its label and the points of
    // that angle stand.
    if ((f.g.Options() & 2) || H == 0 || V == 0) TGraphFrame::Line(canvas, f.cx, f.cy, f.cx + H, f.cy - V);
    std::string label = FormatValue(2, static_cast<std::uint8_t>(f.g.XFormat()), a);
    if (!label.empty() && label.back() == ' ') {
      label.back() = kDegreeSign;
    } else {
      label += kDegreeSign;
    }
    int w = canvas.TextWidth(label);
    int j = H < -f.smallGap ? -w : H <= f.smallGap ? -w / 2 : f.smallGap;
    int y = f.cy - V + GraphRound(static_cast<double>(f.cy - V - f.top) * g / R / 2);
    f.DrawLeftText(canvas, label, f.cx + H + j, y);
    f.AddHit(6, f.textBox);
  }
}

void DrawLegend(TCanvas& canvas, TGraphFrame& f) {
  if (f.g.Options() & 0x10) return;
  classlib::TCanvasStateSaver saver(canvas);
  f.SetElementFont(canvas, 7);
  std::vector<int> entries;
  int widest = 0;
  for (int series = 1; series <= kGraphSeries; ++series) {
    std::string text = f.g.Legend(series);
    if (text.empty()) continue;
    entries.push_back(series);
    widest = std::max(widest, canvas.TextWidth(text + "00"));
  }
  int m = static_cast<int>(entries.size());
  int gap = f.smallGap;
  int h7 = f.textHeight;
  bool table = (f.g.Options() & 0x08) != 0;
  if (!table) {
    int entryWidth = (f.W - 3 * gap) / std::max(m, 1);
    int top = f.H - h7 * 11 / 8;
    f.AddHit(15, {0, top, f.W, f.H});
    for (int i = 0; i < m; ++i) {
      int x = 3 * gap + i * entryWidth + gap;
      LegendSample(canvas, f, entries[i], x - 5 * gap / 2, 2 * gap, top + h7 / 2);
      f.SetElementFont(canvas, 7);
      f.DrawLeftText(canvas, f.g.Legend(entries[i]), x, top);
    }
    return;
  }
  int e = f.W - gap / 2;
  int x0 = e - widest - f.dx;
  f.right = x0 - 3 * gap / 2;
  f.plotW = f.right - f.left;
  f.cx = (f.left + f.right) / 2;
  f.SetView(f.cx, f.cy);
  if (f.sc.xExtent != 0) f.xPerUnit = f.plotW / f.sc.xExtent;
  TRect box{x0, f.top, e, f.top + (5 * m + 1) * h7 / 2};
  if (f.props.threeD) box = box.Offset(f.dx, f.dy);
  canvas.Brush = {f.PositionColor(7), TBrushStyle::bsSolid, classlib::clNone};
  canvas.FillRect(box);
  canvas.SetClipRect(box.Offset(f.opt.origin.x, f.opt.origin.y));
  f.AddHit(15, box);
  for (int i = 0; i < m; ++i) {
    int x = box.Left - gap / 2 + gap;
    int y = box.Top + h7 / 2 + i * h7 * 5 / 2;
    f.SetElementFont(canvas, 7);
    f.DrawLeftText(canvas, f.g.Legend(entries[i]), x, y);
    LegendSample(canvas, f, entries[i], x, 2 * gap, y + 3 * h7 / 2);
  }
  canvas.RemoveClip();
}

void DrawHeadings(TCanvas& canvas, TGraphFrame& f) {
  int x = (f.left + f.right) / 2;
  struct THeading {
    int element, id;
  };
  for (THeading heading : {THeading{1, 9}, THeading{2, 10}, THeading{3, 11}, THeading{4, 12}}) {
    std::string text = f.g.Heading(heading.element);
    if (text.empty()) continue;
    f.SetElementFont(canvas, heading.element);
    switch (heading.element) {
      case 1:
        f.DrawCentredText(canvas, x, 0, text);
        break;
      case 2:
        f.DrawCentredText(canvas, x, f.h[1] * f.opt.zoomPercent / 100, text);
        break;
      case 3: {
        int labelRoom = f.h[5] * f.labelRows * f.opt.zoomPercent / 100;
        f.DrawCentredText(canvas, x, labelRoom + f.bottom + f.h[3] / 4 + f.s, text);
        break;
      }
      default:
        f.DrawRotatedText(canvas, text, 5, (f.top + f.bottom) / 2);
        break;
    }
    f.AddHit(heading.id, f.textBox);
  }
}

}  // namespace corvane

// Tool-button and progress pictures.
#include "analyser/app/ToolGlyphs.h"

#include <cmath>
#include <string>

namespace foldwick {

using classlib::RGBColor;
using classlib::TColor;
using classlib::TPoint;
using classlib::TRect;

namespace {

constexpr TColor kInk = RGBColor(40, 40, 40);
constexpr TColor kFolder = RGBColor(240, 200, 80);
constexpr TColor kBlue = RGBColor(40, 90, 200);
constexpr TColor kRed = RGBColor(200, 50, 50);
constexpr TColor kGreen = RGBColor(50, 160, 70);

void Box(classlib::TCanvas& c, TRect r, TColor fill, TColor line = kInk) {
  c.Pen = classlib::TPen{line};
  c.Brush.Style = classlib::TBrushStyle::bsSolid;
  c.Brush.Color = fill;
  c.Rectangle(r);
}

void Poly(classlib::TCanvas& c, std::initializer_list<TPoint> points, TColor fill) {
  c.Pen = classlib::TPen{kInk};
  c.Brush.Style = classlib::TBrushStyle::bsSolid;
  c.Brush.Color = fill;
  c.Polygon(std::span<const TPoint>(points.begin(), points.size()));
}

void Line(classlib::TCanvas& c, int x0, int y0, int x1, int y1, TColor color = kInk) {
  c.Pen = classlib::TPen{color};
  c.MoveTo(x0, y0);
  c.LineTo(x1, y1);
}

void Letters(classlib::TCanvas& c, int x, int y, const char* text, TColor color) {
  c.Font.Name = "Arial";
  c.Font.Height = -11;
  c.Font.Style = classlib::fsBold;
  c.Font.Color = color;
  c.Brush.Style = classlib::TBrushStyle::bsClear;
  c.TextAlign = classlib::taLeft | classlib::taTop;
  const int width = c.TextWidth(text);
  c.TextOut(x + (16 - width) / 2, y + 2, text);
}

TPoint Around(int cx, int cy, int r, double degrees) {
  const double a = degrees * 3.14159265358979323846 / 180;
  return {cx + static_cast<int>(std::lround(r * std::cos(a))), cy - static_cast<int>(std::lround(r * std::sin(a)))};
}

}  // namespace

void DrawToolGlyph(classlib::TCanvas& c, int glyph, int x, int y) {
  classlib::TCanvasStateSaver saver(c);
  switch (glyph) {
    case kGlyphBrowse:
      Poly(c, {{x + 1, y + 4}, {x + 6, y + 4}, {x + 7, y + 5}, {x + 14, y + 5}, {x + 14, y + 13}, {x + 1, y + 13}},
           kFolder);
      Poly(c, {{x + 3, y + 8}, {x + 15, y + 8}, {x + 13, y + 13}, {x + 1, y + 13}}, RGBColor(250, 225, 130));
      break;
    case kGlyphParent:
      Poly(c, {{x + 8, y + 2}, {x + 14, y + 8}, {x + 10, y + 8}, {x + 10, y + 14}, {x + 6, y + 14}, {x + 6, y + 8},
               {x + 2, y + 8}},
           kGreen);
      break;
    case kGlyphUpdate:
      c.Pen = classlib::TPen{kBlue, 2};
      c.Arc({x + 2, y + 2, x + 14, y + 14}, {x + 14, y + 2}, {x + 14, y + 10});
      Poly(c, {{x + 11, y + 1}, {x + 15, y + 5}, {x + 10, y + 6}}, kBlue);
      break;
    case kGlyphSortName:
      Letters(c, x, y - 3, "A", kBlue);
      Letters(c, x, y + 5, "Z", kRed);
      break;
    case kGlyphSortSize:
      Box(c, {x + 1, y + 3, x + 15, y + 6}, kBlue);
      Box(c, {x + 1, y + 7, x + 11, y + 10}, kBlue);
      Box(c, {x + 1, y + 11, x + 6, y + 14}, kBlue);
      break;
    case kGlyphNoSort:
      for (int i = 0; i < 3; ++i) Line(c, x + 2, y + 4 + 4 * i, x + 14, y + 4 + 4 * i, kInk);
      break;
    case kGlyphViewSize: Letters(c, x, y, "S", kBlue); break;
    case kGlyphViewAllocated: Letters(c, x, y, "A", kBlue); break;
    case kGlyphViewPercent: Letters(c, x, y, "%", kBlue); break;
    case kGlyphViewWasted: Letters(c, x, y, "W", kRed); break;
    case kGlyphViewCdRom:
      c.Pen = classlib::TPen{kInk};
      c.Brush.Color = RGBColor(200, 200, 220);
      c.Ellipse({x + 1, y + 1, x + 15, y + 15});
      c.Brush.Color = RGBColor(255, 255, 255);
      c.Ellipse({x + 6, y + 6, x + 10, y + 10});
      break;
    case kGlyphPie:
      c.Pen = classlib::TPen{kInk};
      c.Brush.Color = kBlue;
      c.Ellipse({x + 1, y + 1, x + 15, y + 15});
      c.Brush.Color = kRed;
      c.Pie({x + 1, y + 1, x + 15, y + 15}, {x + 15, y + 8}, {x + 8, y + 1});
      break;
    case kGlyphBar:
      Box(c, {x + 2, y + 7, x + 6, y + 15}, kBlue);
      Box(c, {x + 6, y + 3, x + 10, y + 15}, kRed);
      Box(c, {x + 10, y + 9, x + 14, y + 15}, kGreen);
      break;
    case kGlyphList:
      Box(c, {x + 1, y + 2, x + 15, y + 14}, RGBColor(255, 255, 255));
      for (int i = 0; i < 3; ++i) Line(c, x + 3, y + 5 + 3 * i, x + 13, y + 5 + 3 * i, kBlue);
      break;
    case kGlyphPrint:
      Box(c, {x + 4, y + 1, x + 12, y + 7}, RGBColor(255, 255, 255));
      Box(c, {x + 1, y + 6, x + 15, y + 13}, RGBColor(190, 190, 190));
      Box(c, {x + 4, y + 10, x + 12, y + 15}, RGBColor(255, 255, 255));
      break;
    case kGlyphSearch:
      c.Pen = classlib::TPen{kInk, 2};
      c.Brush.Color = RGBColor(210, 230, 255);
      c.Ellipse({x + 2, y + 2, x + 11, y + 11});
      Line(c, x + 10, y + 10, x + 14, y + 14);
      Line(c, x + 11, y + 10, x + 15, y + 14);
      break;
    default:
      break;
  }
}

void DrawProgressGlyph(classlib::TCanvas& c, int step, int x, int y) {
  if (step <= 0) return;
  classlib::TCanvasStateSaver saver(c);
  const TRect r{x + 2, y + 2, x + 14, y + 14};
  c.Pen = classlib::TPen{RGBColor(90, 90, 90)};
  c.Brush.Style = classlib::TBrushStyle::bsSolid;
  c.Brush.Color = RGBColor(255, 255, 255);
  c.Ellipse(r);
  const double fraction = std::min(step, 15) / 15.0;
  c.Brush.Color = kGreen;
  if (fraction >= 1)
    c.Ellipse(r);
  else
    c.Pie(r, Around(8 + x, 8 + y, 8, 90 - 360 * fraction), Around(8 + x, 8 + y, 8, 90));
}

}  // namespace foldwick

// The frame every graph is drawn in: the layout that sizes fonts, margins and
// the plot area from the canvas size alone, the mapping of values to pixels,
// the text and colour helpers, the 3D projection, and the elements around the
// series (axes with ticks, grids and labels, the radar and polar grid, the
// legend and the headings). One TGraphFrame holds the state of one drawing;
// it starts from a working copy of the graph record, which the drawing may
// change (steps, division copies, font faces) without touching the document.
//
// All positions are whole pixels of the canvas, rounded half away from zero
// and held within +-32000, so that no coordinate can wrap on a 16-bit device.
#pragma once

#include <string>
#include <string_view>

#include "classlib/Canvas.h"
#include "spreadsheet/graphs/GraphHits.h"
#include "spreadsheet/graphs/GraphRecord.h"
#include "spreadsheet/graphs/GraphScales.h"

namespace corvane {

inline constexpr int kGraphPixelLimit = 32000;

// How a drawing is made, beyond the canvas and its size.
struct TGraphDrawOptions {
  // Added to every clip rectangle: the printer margins when the device's
  // origin was moved for them.
  classlib::TPoint origin;
  // Printing in monochrome: white backgrounds and black texts.
  bool monochrome = false;
  // The worksheet's display zoom (20-200), applied to the text heights and the
  // room the layout keeps for headings and labels.
  int zoomPercent = 100;
};

// A value rounded to a pixel: halves away from zero, NaN as 0, held within
// +-kGraphPixelLimit.
int GraphRound(double x);

// The label of a tick at v: FormatValue (width, format, v). Where that is
// longer than a label may be (a fixed format writes 1e300 out in 300 digits),
// the exponent form with up to six significant digits instead ("-2.5E+299 "),
// so that the labels leave the plot its room.
std::string GraphTickLabel(int width, int format, double v);

// The program's 16-entry palette, by index (only the low four bits count).
classlib::TColor GraphPaletteColor(int index);
// A colour scaled to `percent` of its red, green and blue.
classlib::TColor GraphShade(classlib::TColor color, int percent);

// The rotation of 3D pies and donuts: starts at 0 and grows by pi/16 with each
// Graph3DRotate, for as long as the program runs.
void Graph3DRotate();
double Graph3DRotation();
void SetGraph3DRotation(double radians);

struct TGraphFrame {
  TGraphFrame(const TGraphRecord& graph, int width, int height, const TGraphDrawOptions& options,
              TGraphHitList* hitList);

  TGraphRecord g;  // the working copy
  TGraphTypeProps props;
  TGraphScales sc;
  TGraphDrawOptions opt;
  TGraphHitList* hits;  // may be null: nothing is recorded
  bool xLog = false, yLog = false;

  int W = 0, H = 0;
  double u = 0;
  int tick = 0, depth = 0, s = 0, dx = 0, dy = 0;
  int h[8] = {};  // element heights h[1]..h[7]
  int left = 0, right = 0, top = 0, bottom = 0;
  int plotW = 0, plotH = 0, cx = 0, cy = 0;
  double xPerUnit = 0, yPerUnit = 0;
  int labelRows = 1, xDiv = 0, yDiv = 0;
  int polarR = 0;  // radius of the radar and polar grid
  classlib::TRect textBox;
  int textHeight = 0, smallGap = 0;

  // 3D view for pies and donuts.
  double cosA = 1, sinA = 0, cosE = 0, sinE = 0;
  int viewX = 0, viewY = 0;

  // Scales, layout and the view: everything the frame and the series read.
  void Layout(classlib::TCanvas& canvas);
  void SetView(int centreX, int centreY);
  // A point on the ground plane of a 3D pie (x right, y away from the viewer)
  // at height z, projected through the rotation and elevation, relative to
  // the view centre; heights go up the screen.
  classlib::TPoint Project(double x, double y, double z) const;
  // (x, y) moved by `length` along the 30-degree depth direction.
  classlib::TPoint DepthOffset(int x, int y, int length) const;

  // Pixel offsets of a value pair from the plot's left and top edges.
  classlib::TPoint MapPoint(double x, double y) const;
  // The canvas point of a value pair.
  classlib::TPoint CanvasPoint(double x, double y) const {
    classlib::TPoint p = MapPoint(x, y);
    return {left + p.x, top + p.y};
  }

  // Colours by position 1-15: 1-6 series, 7 outside, 8 inside, 9-15 the text
  // colours of elements 1-7.
  classlib::TColor PositionColor(int position) const;
  classlib::TColor SeriesBackColor(int series) const;
  // The brush style of the series' pattern 1-8 (solid for other values).
  classlib::TBrushStyle HatchStyle(int series) const;
  // Pen black and solid; brush in the series' colour and pattern on its
  // background colour.
  void SeriesFill(classlib::TCanvas& canvas, int series) const;
  // The series' line pen: colour, thickness and line style.
  void SeriesPen(classlib::TCanvas& canvas, int series) const;

  // Text element 1-7: font face, height, style and colour; sets the current
  // text height and small gap.
  void SetElementFont(classlib::TCanvas& canvas, int element);
  // Text with a transparent background in the current font: top-left at
  // (x, y); centred on x with its top at y; reading upwards, centred on y with
  // its top edge at x. Each leaves its rectangle in textBox.
  void DrawLeftText(classlib::TCanvas& canvas, std::string_view text, int x, int y);
  void DrawCentredText(classlib::TCanvas& canvas, int x, int y, std::string_view text);
  void DrawRotatedText(classlib::TCanvas& canvas, std::string_view text, int x, int y);
  // Enters a region (nothing without a hit list).
  void AddHit(int id, const classlib::TRect& r) const;
  void AddHitSegment(int id, classlib::TPoint a, classlib::TPoint b) const;

  // A line with the current pen, moved by the depth offset (dx, dy): axis and
  // grid lines on the back plane of a 3D graph.
  void ShiftedLine(classlib::TCanvas& canvas, int x1, int y1, int x2, int y2) const;
  static void Line(classlib::TCanvas& canvas, int x1, int y1, int x2, int y2);

  // The rectangle the series are clipped to (origin offset included).
  classlib::TRect SeriesClip() const;
};

// The elements around the series, in the order DrawGraph calls them.
void DrawLegend(classlib::TCanvas& canvas, TGraphFrame& f);
void DrawHeadings(classlib::TCanvas& canvas, TGraphFrame& f);
void DrawXAxis(classlib::TCanvas& canvas, TGraphFrame& f, int tickLength, bool labels);
void DrawYAxis(classlib::TCanvas& canvas, TGraphFrame& f, int tickLength, bool labels);
void DrawPolarGrid(classlib::TCanvas& canvas, TGraphFrame& f);

// A series symbol 1-16 centred at (x, y) in the canvas's current pen colour; a
// negative mark draws mark |mark| at size 5. Marks outside 1-16 draw nothing.
void DrawMark(classlib::TCanvas& canvas, const TGraphFrame& f, int mark, int x, int y);

}  // namespace corvane

// What a graph's type decides before it is drawn, and the ends of its X and Y
// scales: from the cells of its ranges, or from the record's manual values,
// rounded out to whole decades on logarithmic axes.
#pragma once

#include "spreadsheet/graphs/GraphRecord.h"

namespace corvane {

struct TGraphTypeProps {
  bool stacked = false;   // Y extent is the sum over the series: Stack, Area, 3D Stack
  bool valueX = false;    // X values are numbers: Xy, Cum, Radar, Delta, Polar, Contour
  bool hasYAxis = false;  // all but the pies
  bool polar = false;     // Radar, Polar
  bool category = false;  // Bar, Stack, Line, Hilo, Area, 3D Strip, 3D Wall
  bool bars = false;      // Bar, Stack, 3D Bar
  bool threeD = false;    // 3D Strip, 3D Wall, 3D Pie, Donut, 3D Bar, 3D Stack
};
TGraphTypeProps GraphTypeProperties(int type);

struct TGraphScales {
  double xMin = 0, xMax = 0, xExtent = 0;
  double yMin = 0, yMax = 0, yExtent = 0;
  int validSeries = 0;  // series 1-6 with a valid range
};

// The scale ends of `graph`, read from the current document's cells. On a
// logarithmic value X axis, and on a logarithmic Y axis of a type with one,
// the ends are rounded out to decades, the extent is the natural logarithm of
// their ratio and the record's X or Y step is set to the number of decades
// (at most 255). With `roundLogAxes` false the raw ends are returned and the
// record is left alone.
//
// Automatic scales hold every value drawn: for stacked types every stacked
// total and the zero line the stacks grow from, for Cum every running sum.
// An automatic scale whose ends meet is widened (Y to take in 0, X by one on
// each side), so that a constant or single value still has room.
TGraphScales GraphComputeScales(TGraphRecord& graph, bool roundLogAxes = true);

// The series ranges a graph of this type draws, in drawing order: Bar draws
// series 1 to 6, every other type 6 down to 1. Invalid ranges are included;
// callers skip them.
int GraphSeriesInOrder(int type, int position);

// Decade of x: 10 to the power of the whole number of decades of |x|, with a
// tenth of a decade of tolerance (950 gives 1000); 1 for 0.
double GraphDecade(double x);
// The whole number of decades between two ends (|upper / lower|), tolerant of
// the rounding of logarithms, at least 0 and at most 255.
int GraphDecadeCount(double lower, double upper);
// Natural logarithm with the drawing's guards: ln 0 is taken as 1 and a
// negative value by its magnitude.
double GraphLn(double x);
// a / b, or 1 when b is 0 (the drawing's ratio guard; no error is flagged).
double GraphRatio(double a, double b);

}  // namespace corvane

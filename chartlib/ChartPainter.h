// Draws a chart on any canvas: a pie (type 5) of the first series with a
// legend of the points, bars (type 2) of every series over a value axis with
// the point legends below and the series legends at the bottom, or a plain
// list of the points and their values (type 8). The 3D flag gives pies and
// bars depth. A pie is always whole: slices too thin to draw are gathered
// into wedges a few pixels wide. The top title is centred above; title 0
// names the value axis's unit. Other chart types draw as bars.
#pragma once

#include "chartlib/ChartModel.h"
#include "classlib/Canvas.h"

namespace chartlib {

// Paints `chart` into `area` of `canvas` and says where each element went.
// `windowColor` stands in for the default background.
TChartHitMap PaintChart(const TChartModel& chart, classlib::TCanvas& canvas, const classlib::TRect& area,
                        classlib::TColor windowColor = classlib::RGBColor(255, 255, 255));

// The smallest "nice" number (1, 2, 2.5 or 5 times a power of ten, times `steps`)
// at or above `value`, the top of a value axis of `steps` equal steps; 1 for
// a value of 0 or less. The scale is clamped: a value above 1e300 (infinity
// too) gives the axis of 1e300.
double NiceAxisMaximum(double value, int steps);

// `text` cut at the end (with "...") to fit `width` pixels in the canvas's
// font; empty when not even the dots fit.
std::string FitText(classlib::TCanvas& canvas, const std::string& text, int width);

}  // namespace chartlib

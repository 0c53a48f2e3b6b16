// The straight-line fit y = intercept + slope x over pairs of cells, written as
// a labelled block of statistics with the fitted formula under it.
#pragma once

#include <span>
#include <string>

#include "spreadsheet/engine/Range.h"

namespace corvane {

inline constexpr const char* kCalcErrorText = "Calc Error";

// The statistics of a straight-line fit.
struct TLineFit {
  double intercept = 0, slope = 0, r2 = 0;
  double sumX2 = 0, sumY2 = 0, sumXY = 0, count = 0;
  double varX = 0, varY = 0;  // population variances
  double regErr = 0;          // residual standard deviation, sqrt(SSE / (n - 2)); 0 for n <= 2
  double slopeErr = 0;        // standard error of the slope; 0 for n <= 2
};

enum class TLineFitStatus { kOk, kEmpty, kConstantX };

// Fits the pairs (x[i], y[i]). The slope and intercept come from the sums of
// deviations from the means (the same quantities as n Sxx - (Sx)^2 and so on,
// without their cancellation), the residual error from the residuals. All x
// equal (to 12 digits) gives kConstantX; all y equal gives slope 0 and R^2 0.
// R^2 and the errors never go negative or become NaN through rounding.
TLineFitStatus FitLine(std::span<const double> x, std::span<const double> y, TLineFit& fit);

// The regression command. The X range is walked row by row; the cell at (r, c)
// pairs with the cell at the same offset from the Y range's first cell. A pair
// counts when both cells hold a value (labels as 0). Writes 12 rows of two
// columns from the output range's first cell: "Intercept", "Slope", "R^2",
// "Sum x^2", "Sum y^2", "Sum x*y", "Count", "Sigma x^2", "Sigma y^2",
// "RegErr", "SlopeErr" with their values, then "Formula:" and the fit as a
// formula in @X (such as +1.5+2*@X).
//
// Unset ranges and an empty pairing write nothing. Refused, changing nothing:
// ranges or the output block off the sheet, an output block over the X range
// or the paired Y cells, a protected output cell, and all X equal ("Calc
// Error"). True when the block was written.
bool DataRegress(const TRange& xRange, const TRange& yRange, const TRange& output);

// The formula text of a fit: "+" and the intercept's general text when it is
// not 0, then "+", the slope's text and "*@X".
std::string LineFormulaText(double intercept, double slope);

}  // namespace corvane

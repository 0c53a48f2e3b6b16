// The straight-line fit and its statistics block.
#include "spreadsheet/data/Regression.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "spreadsheet/data/DataCommon.h"
#include "spreadsheet/engine/NumberText.h"

namespace corvane {

TLineFitStatus FitLine(std::span<const double> x, std::span<const double> y, TLineFit& fit) {
  std::size_t count = std::min(x.size(), y.size());
  if (count == 0) return TLineFitStatus::kEmpty;
  double n = static_cast<double>(count);
  double sxx = 0, syy = 0, sxy = 0;
  for (std::size_t i = 0; i < count; ++i) {
    sxx += x[i] * x[i];
    syy += y[i] * y[i];
    sxy += x[i] * y[i];
  }
  const TCentred cx = Centred(x.first(count)), cy = Centred(y.first(count));
  const std::vector<double>&dxs = cx.deviations, &dys = cy.deviations;
  double dxx = 0, dyy = 0, dxy = 0;  // sums of products of deviations from the means
  for (std::size_t i = 0; i < count; ++i) {
    dxx += dxs[i] * dxs[i];
    dyy += dys[i] * dys[i];
    dxy += dxs[i] * dys[i];
  }
  if (dxx <= sxx * kRoundingSpread) return TLineFitStatus::kConstantX;
  fit = TLineFit{};
  fit.count = n;
  fit.sumX2 = sxx;
  fit.sumY2 = syy;
  fit.sumXY = sxy;
  fit.slope = dxy / dxx;
  fit.intercept = (cy.mean - fit.slope * cx.mean) + (cy.correction - fit.slope * cx.correction);
  bool constantY = dyy <= syy * kRoundingSpread;
  fit.r2 = constantY ? 0.0 : std::clamp(dxy / dxx * (dxy / dyy), 0.0, 1.0);
  fit.varX = dxx / n;
  fit.varY = constantY ? 0.0 : dyy / n;
  if (count > 2) {
    // n (1 - R^2) vy is the sum of squared residuals; summed directly it
    // keeps the digits that 1 - R^2 cancels away on a close fit. Taken from
    // the deviations, so that a large intercept and slope times x do not
    // cancel.
    double sse = 0;
    for (std::size_t i = 0; i < count && !constantY; ++i) {
      double residual = dys[i] - fit.slope * dxs[i];
      sse += residual * residual;
    }
    fit.regErr = std::sqrt(sse / (n - 2));
    fit.slopeErr = fit.regErr / std::sqrt(n * fit.varX);
  }
  return TLineFitStatus::kOk;
}

std::string LineFormulaText(double intercept, double slope) {
  std::string text = intercept != 0 ? "+" + RealToGeneralText(intercept) : "";
  return text + "+" + RealToGeneralText(slope) + "*@X";
}

bool DataRegress(const TRange& xRange, const TRange& yRange, const TRange& output) {
  if (!RangeIsValid(xRange) || !RangeIsValid(yRange) || !RangeIsValid(output)) return false;
  if (!CheckOnSheet(xRange) || !CheckOnSheet(yRange) || !CheckOnSheet(output)) return false;
  TRange xr = OrderedRange(xRange), yr = OrderedRange(yRange), out = OrderedRange(output);
  int rows = xr.lastRow - xr.firstRow + 1, cols = xr.lastCol - xr.firstCol + 1;
  TRange paired = BlockAt(yr.firstRow, yr.firstCol, rows, cols);
  TRange block = BlockAt(out.firstRow, out.firstCol, 12, 2);
  if (!CheckOnSheet(paired) || !CheckOnSheet(block) || !CheckApart(block, {xr, paired})) return false;

  std::vector<double> xs, ys;
  auto holdsValue = [](int row, int col) {
    const TCell* cell = CellPtr(CellFind(row, col));
    return cell != nullptr && CellKind(*cell) != kKindBlank;
  };
  int dr = yr.firstRow - xr.firstRow, dc = yr.firstCol - xr.firstCol;
  for (int row = xr.firstRow; row <= xr.lastRow; ++row)
    for (int col = xr.firstCol; col <= xr.lastCol; ++col)
      if (holdsValue(row, col) && holdsValue(row + dr, col + dc)) {
        xs.push_back(NumberAt(row, col));
        ys.push_back(NumberAt(row + dr, col + dc));
      }
  TLineFit fit;
  TLineFitStatus status = FitLine(xs, ys, fit);
  if (status == TLineFitStatus::kEmpty) return false;
  if (status == TLineFitStatus::kConstantX) return Refuse(kCalcErrorText);
  if (!CheckWritable(block)) return false;

  BeginChange();
  const struct {
    const char* label;
    double value;
  } rowsOut[] = {{"Intercept", fit.intercept}, {"Slope", fit.slope},       {"R^2", fit.r2},
                 {"Sum x^2", fit.sumX2},       {"Sum y^2", fit.sumY2},     {"Sum x*y", fit.sumXY},
                 {"Count", fit.count},         {"Sigma x^2", fit.varX},    {"Sigma y^2", fit.varY},
                 {"RegErr", fit.regErr},       {"SlopeErr", fit.slopeErr}};
  int row = out.firstRow;
  for (const auto& line : rowsOut) {
    WriteText(row, out.firstCol, line.label);
    WriteNumber(row, out.firstCol + 1, line.value);
    ++row;
  }
  WriteText(row, out.firstCol, "Formula:");
  WriteText(row, out.firstCol + 1, LineFormulaText(fit.intercept, fit.slope));
  EndChange();
  return true;
}

}  // namespace corvane

// Curve fitting: least squares by Householder QR over the model's term values.
#include "spreadsheet/data/CurveFit.h"

#include <cmath>

#include "spreadsheet/data/DataCommon.h"
#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/NumberText.h"
#include "spreadsheet/engine/NumericLibrary.h"
#include "spreadsheet/engine/RangeArguments.h"
#include "spreadsheet/engine/RangeText.h"

namespace corvane {

std::uint32_t gFitMasks[kTermForms] = {1, 1, 0, 0, 0, 0, 0, 0, 0};

namespace {

constexpr double kFitMinDigits = 4;
constexpr std::size_t kMaxFormulaChars = 240;

const char* const kFormLabels[kTermForms] = {"Const", "x", "x^2", "x^3", "x^4", "x^5", "Sqrt(x)", "Ln(x)", "e^x"};

std::string TermFormula(int form, const std::string& v) {
  switch (form) {
    case 0:
      return "";
    case 1:
      return v;
    case 6:
      return "@SQRT(@ABS(" + v + "))";
    case 7:
      return "@LN(" + v + ")";
    case 8:
      return "@EXP(" + v + ")";
    default:
      return v + "^" + std::to_string(form);
  }
}

}  // namespace

std::vector<TFitTerm> FitTermList(const std::uint32_t (&masks)[kTermForms], int xColumns) {
  std::vector<TFitTerm> terms;
  bool haveConstant = false;
  for (int k = 0; k < xColumns && k < 32; ++k)
    for (int form = 0; form < kTermForms; ++form) {
      if (!(masks[form] >> k & 1u) || (form == 0 && haveConstant)) continue;
      haveConstant = haveConstant || form == 0;
      terms.push_back({k, form});
    }
  return terms;
}

bool TermValue(int form, double x, double& value) {
  numeric::TCalcStatus status;
  switch (form) {
    case 0:
      value = 1;
      break;
    case 1:
      value = x;
      break;
    case 6:
      value = std::sqrt(std::fabs(x));
      break;
    case 7:
      value = numeric::SafeLn(x, status);
      break;
    case 8:
      value = numeric::SafeExp(x, status);
      break;
    default:
      value = numeric::SafePower(x, form, status);
      break;
  }
  return !status.error && std::isfinite(value);
}

bool FitModel(const TMatrix& x, std::span<const double> y, const std::vector<TFitTerm>& terms,
              std::vector<double>& coefficients, double& residualSquares) {
  int n = static_cast<int>(terms.size());
  if (n == 0) return false;
  TMatrix t(x.rows, n);  // the term values, one row per data row
  for (int row = 0; row < x.rows; ++row)
    for (int i = 0; i < n; ++i)
      if (!TermValue(terms[i].form, x.At(row, terms[i].column), t.At(row, i))) return false;
  return SolveLeastSquares(t, y, coefficients, kFitMinDigits, residualSquares) == TSolveStatus::kOk;
}

std::string FitTermLabel(const TFitTerm& term) {
  std::string label = kFormLabels[term.form];
  if (std::size_t x = label.find('x'); x != std::string::npos) label.insert(x + 1, std::to_string(term.column + 1));
  return label;
}

std::string FitFormulaText(const std::vector<TFitTerm>& terms, const std::vector<double>& coefficients,
                           const std::vector<std::string>& variables) {
  std::string text;
  for (std::size_t i = 0; i < terms.size(); ++i) {
    std::string number = RealToGeneralText(coefficients[i]);
    if (number[0] != '-') number.insert(0, "+");
    text += number;
    if (terms[i].form != 0) text += "*" + TermFormula(terms[i].form, variables[terms[i].column]);
    if (text.size() > kMaxFormulaChars) return "";
  }
  return text;
}

bool DataMultiRegress() {
  const TSheetSettings& settings = gCurrentDoc.settings;
  TRange xRange = settings.dataRanges[kDataRangeRegressX], yRange = settings.dataRanges[kDataRangeRegressY],
         output = settings.dataRanges[kDataRangeRegressOutput];
  if (!RangeIsValid(xRange) || !RangeIsValid(yRange) || !RangeIsValid(output)) return false;
  if (!CheckOnSheet(xRange) || !CheckOnSheet(yRange) || !CheckOnSheet(output)) return false;
  TRange xr = OrderedRange(xRange), yr = OrderedRange(yRange), out = OrderedRange(output);
  int rows = xr.lastRow - xr.firstRow + 1, cols = xr.lastCol - xr.firstCol + 1;
  TRange yColumn = BlockAt(yr.firstRow, yr.firstCol, rows, 1);
  if (!CheckOnSheet(yColumn)) return false;
  std::vector<TFitTerm> terms = FitTermList(gFitMasks, cols);
  if (terms.empty() || static_cast<int>(terms.size()) > kMaxFitTerms) return Refuse(kCannotRegressText);
  TRange block = BlockAt(out.firstRow, out.firstCol, static_cast<int>(terms.size()) + 3, 2);
  if (!CheckOnSheet(block) || !CheckApart(block, {xr, yColumn})) return false;

  TMatrix x(rows, cols);
  std::vector<double> y(rows);
  bool error = false;
  for (int r = 0; r < rows; ++r) {
    for (int k = 0; k < cols; ++k) x.At(r, k) = CellNumber(CellPtr(CellFind(xr.firstRow + r, xr.firstCol + k)), error);
    y[r] = CellNumber(CellPtr(CellFind(yr.firstRow + r, yr.firstCol)), error);
  }
  std::vector<double> coefficients;
  double sse = 0;
  if (error || !FitModel(x, y, terms, coefficients, sse)) return Refuse(kCannotRegressText);
  if (!CheckWritable(block)) return false;

  auto modelAt = [&](int r) {
    double sum = 0, t = 0;
    for (std::size_t i = 0; i < terms.size(); ++i)
      if (TermValue(terms[i].form, x.At(r, terms[i].column), t)) sum += coefficients[i] * t;
    return sum;
  };
  // R^2 = 1 - SSE / SST. The fit hands over SSE from its own residuals: the
  // model recomputed from the rounded coefficients would be the difference of
  // large terms on a close fit, with only the digits they leave.
  double sumSquares = 0, sst = 0;
  for (double v : y) sumSquares += v * v;
  for (double d : Centred(y).deviations) sst += d * d;
  bool constantY = sst <= sumSquares * kRoundingSpread;
  std::vector<std::string> variables;
  for (int k = 0; k < cols; ++k) variables.push_back(cols == 1 ? "@X" : CellAddrText(xr.firstRow, xr.firstCol + k, false, false));
  std::string formula = FitFormulaText(terms, coefficients, variables);

  BeginChange();
  int row = out.firstRow;
  for (std::size_t i = 0; i < terms.size(); ++i, ++row) {
    WriteText(row, out.firstCol, FitTermLabel(terms[i]));
    WriteNumber(row, out.firstCol + 1, coefficients[i]);
  }
  {
    TIterationScope scope;  // the formula shows the model at the first X value
    scope.Set(x.At(0, 0));
    WriteText(row, out.firstCol, "Formula:");
    WriteText(row, out.firstCol + 1, formula.empty() ? std::string("'") + kFormulaTooLargeText
                                                     : (cols == 1 ? formula : "'" + formula));
  }
  ++row;
  WriteText(row, out.firstCol, "Result:");
  WriteNumber(row, out.firstCol + 1, modelAt(0));
  ++row;
  WriteText(row, out.firstCol, "R^2");
  WriteNumber(row, out.firstCol + 1, constantY ? 0.0 : 1 - sse / sst);
  EndChange();
  return true;
}

}  // namespace corvane

// Curve fitting and multiple regression: least squares over a model that sums
// chosen terms, each a function of one column of an X range, fitted to a Y
// column by least squares.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "spreadsheet/data/LinearAlgebra.h"
#include "spreadsheet/engine/Range.h"

namespace corvane {

inline constexpr int kTermForms = 9;
inline constexpr int kMaxFitTerms = 27;
inline constexpr const char* kCannotRegressText = "Can not regress! Try another function";
inline constexpr const char* kFormulaTooLargeText = "Formula too large";

// Term forms: 0 the constant 1, 1..5 x to the power 1..5, 6 the square root
// of |x|, 7 ln x (x must be above 0), 8 e to the x. Bit k of a form's mask
// puts that form of X column k (from 0) into the model. Program-wide; they
// start as a straight line in the first column (forms 0 and 1, bit 0).
extern std::uint32_t gFitMasks[kTermForms];

struct TFitTerm {
  int column = 0;  // X column, from 0
  int form = 0;
};

// The model's terms: X columns in order, forms 0..8 within each, the
// constant only once. Empty when no mask bit names one of the `xColumns`.
std::vector<TFitTerm> FitTermList(const std::uint32_t (&masks)[kTermForms], int xColumns);

// The value of a term form at x; false when x is outside the form's domain
// or the value overflows.
bool TermValue(int form, double x, double& value);

// Fits the terms to the rows of `x` (rows x columns, row-major in a TMatrix)
// and `y` by least squares, through a Householder QR factorisation of the
// term values (SolveLeastSquares). False (no coefficients) for a term outside
// its domain, an overflow, fewer rows than terms, and a singular or
// numerically singular model: one where the refined coefficients keep fewer
// than about four digits. `residualSquares` receives the fit's sum of squared
// residuals.
bool FitModel(const TMatrix& x, std::span<const double> y, const std::vector<TFitTerm>& terms,
              std::vector<double>& coefficients, double& residualSquares);

// The output label of a term: the form's label with the column number (from
// 1) after its first "x": "Const", "x1", "x2^3", "Sqrt(x1)", "Ln(x2)", "e^x1".
std::string FitTermLabel(const TFitTerm& term);

// The formula text of a fitted model with `variables[k]` standing for X
// column k: coefficients in general text ("+" before those not negative),
// "*" and each term's formula. Empty when it would pass 240 characters.
std::string FitFormulaText(const std::vector<TFitTerm>& terms, const std::vector<double>& coefficients,
                           const std::vector<std::string>& variables);

// The command over the working settings' regression X, Y and output ranges.
// Data rows are the X range's rows; row r's Y value is the cell at the same
// row offset from the Y range's first cell, in its first column. Cells read as
// numbers (empty cells and labels as 0). Writes from the output's first cell
// down: each term's label and coefficient, "Formula:" with the fitted
// formula (in @X for one X column; a label with cell addresses for several;
// "Formula too large" when it would pass 240 characters), "Result:" with the
// model at the first data row, and "R^2" (0 when all Y are equal).
//
// Refused, changing nothing: unset ranges do nothing; ranges, the paired Y
// cells or the output block off the sheet, an output over the data or on a
// protected cell are refused; an empty model, more than 27 terms, a cell
// holding ERR, a term outside its domain and a singular system give "Can not
// regress! Try another function". True when the fit was written.
bool DataMultiRegress();

}  // namespace corvane

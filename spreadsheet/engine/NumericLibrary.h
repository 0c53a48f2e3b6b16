// The numeric library behind the formula language's statistical, special and
// matrix functions: guarded arithmetic, incomplete beta and gamma, the error
// function, the normal density, Poisson probabilities, Bessel functions of
// integral order, the median and moments of a list of cells, and trace,
// determinant, rank and two-way interpolation over a block of cells.
//
// Error reporting. Every routine takes a TCalcStatus and reports a domain error,
// an overflow or a failed iteration by setting its `error` member; no routine
// ever clears it, so one status can be threaded through a whole calculation and
// the evaluator takes it over onto its calculation error flag in one line:
//
//     if (status.error) calcError = true;
//
// A routine that fails returns the substitute value its comment names (mostly 1)
// alongside the error. A result that is not finite is never returned: it becomes
// an error with the substitute value. The routines never throw, never read past
// their input and always end (series and continued fractions run at most 100
// rounds with a relative tolerance of 3e-7).
//
// Cells arrive as plain numbers: the caller reads each cell of a range as a number
// (empty cells and texts count as 0) in column-major order, so cell k of a range
// of `rows` rows, counted from 0, is at row k % rows and column k / rows.
#pragma once

#include <cstddef>
#include <span>

namespace corvane::numeric {

struct TCalcStatus {
  bool error = false;
};

// ---- Guarded operations ----------------------------------------------------

// a / b. A zero divisor, or a quotient that overflows, is an error with value 1.
double SafeDivide(double a, double b, TCalcStatus& status);

// e to the x. |x| of 700 or more is an error with value 1.
double SafeExp(double x, TCalcStatus& status);

// Natural logarithm. x not greater than 0 is an error with value 1.
double SafeLn(double x, TCalcStatus& status);

// base to the power exponent:
// - base 0 gives 0 for exponents 0 and above, and is an error with value 1 for
//   a negative exponent (it would divide by zero);
// - exponent 0 gives 1;
// - a fractional exponent of a negative base is an error with value 1;
// - otherwise the power rounded once to the nearest double, at every size
//   (subnormal results included) and the same on every build: whole
//   exponents up to 65536 by repeated squaring in double-double (exact
//   wherever the power is: 3^20, 2^-10, 2^-1074), 0.5 as the square root,
//   others as e to the exponent times ln base in double-double.
// An overflowing result is an error with value 1; one below half the smallest
// subnormal gives 0.
double SafePower(double base, double exponent, TCalcStatus& status);

// Natural logarithm of the gamma function, from a six-term Lanczos series
// (absolute error below 2e-10). x not greater than 0 is an error with value 1.
double GammaLn(double x, TCalcStatus& status);

// ---- Special functions -----------------------------------------------------

// Regularised incomplete beta function I_x(a, b). x outside 0..1, or a or b not
// greater than 0, is an error with value 1. I_0 is 0 and I_1 is 1. A continued
// fraction that does not settle in 100 rounds sets the error but keeps its value.
double BetaI(double a, double b, double x, TCalcStatus& status);

// Regularised incomplete gamma functions P(a, x) and Q(a, x) = 1 - P(a, x).
// a not greater than 0 or x below 0 is an error with value 1; x = 0 gives P = 0.
// A part too small to represent (below e to the -700) is an error when it is
// the result itself, and counts as 0 when the result is 1 minus it. A series
// that does not settle in 100 rounds sets the error but keeps its value; a
// continued fraction that does not is an error with value 1.
double GammaP(double a, double x, TCalcStatus& status);
double GammaQ(double a, double x, TCalcStatus& status);

// Error function, P(1/2, x squared) with the sign of x; accurate to about 3e-7
// relative, the tolerance of its series and continued fraction.
double Erf(double x, TCalcStatus& status);

// Normal probability density at x. A deviation not greater than 0 is an error
// with value 1; a density below e to the -700 is an error too.
double Gauss(double x, double mean, double deviation, TCalcStatus& status);

// Probability of k events when rate times time are expected: e^-m m^k / K!,
// m = rate time, K = k rounded to the nearest integer (halves to even). Computed
// in logarithms, so large k and m do not overflow. K below 0, |k| of 2147483647
// or more, and a probability below e to the -700 are errors with value 1.
double Poisson(double k, double rate, double time, TCalcStatus& status);

// Bessel functions of the first and second kind J_n(x), Y_n(x) and the modified
// ones I_n(x), K_n(x), with n truncated to an integer. Orders 0 and 1 use
// rational and asymptotic approximations (absolute error about 1e-8, relative
// about 2e-7 for I and K); higher orders recur from them or use Miller's
// downward recurrence. Negative orders follow J_-n = (-1)^n J_n, Y likewise,
// I_-n = I_n and K_-n = K_n. Errors, each with value 1: |n| above
// kMaxBesselOrder; x = 0 for orders of 2 and more; x not greater than 0 for Y
// and K; |x| of 700 or more for I and K; a result that overflows.
inline constexpr int kMaxBesselOrder = 100000;
double BesselJ(double x, double n, TCalcStatus& status);
double BesselY(double x, double n, TCalcStatus& status);
double BesselI(double x, double n, TCalcStatus& status);
double BesselK(double x, double n, TCalcStatus& status);

// ---- Functions of a list of cells ------------------------------------------

// Median of the cells, by an iterative estimate that needs no sorted copy. An
// empty list, or a cell that is not finite, is an error with value 0.
double Median(std::span<const double> cells, TCalcStatus& status);

// Mean absolute deviation, skewness, excess kurtosis and coefficient of
// variation (sample standard deviation over mean) of the cells. Errors: fewer
// than 2 cells, or a cell that is not finite (value 0); all cells equal (value
// 0 for AveDev, 1 for the others); a mean of 0 for Cov (value 1).
double AveDev(std::span<const double> cells, TCalcStatus& status);
double Skew(std::span<const double> cells, TCalcStatus& status);
double Kurt(std::span<const double> cells, TCalcStatus& status);
double Cov(std::span<const double> cells, TCalcStatus& status);

// ---- Functions of a block of cells -----------------------------------------

// A block of `rows` by `cols` cells, column-major: cell (i, j), from 0, is
// cells[j * rows + i]. Routines given a block whose size does not match its
// cells report an error with their usual substitute value.
struct TCellMatrix {
  std::span<const double> cells;
  int rows = 0;
  int cols = 0;

  bool IsValid() const {
    return rows >= 0 && cols >= 0 && cells.size() == static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols);
  }
  double At(int i, int j) const { return cells[static_cast<std::size_t>(j) * static_cast<std::size_t>(rows) + i]; }
};

// Sum of the diagonal cells (i, i). A block that is not square is an error; its
// value is the sum over the diagonal that lies inside the block. No rows give 0.
double Trace(const TCellMatrix& m, TCalcStatus& status);

// Determinant of a square block of at most kMaxDetRows rows; other blocks, and a
// result that overflows, are errors with value 0. A singular block gives 0.
inline constexpr int kMaxDetRows = 20;
double Det(const TCellMatrix& m, TCalcStatus& status);

// Rank of the block as a matrix: Gaussian elimination with full pivoting in
// which entries within 1e-7 of 0 count as 0. Any size is accepted (the work
// matrix is sized from the block); a cell that is not finite is an error with
// value 0.
inline constexpr double kRankTolerance = 1e-7;
double Rank(const TCellMatrix& m, TCalcStatus& status);

// Two-way linear interpolation in a table whose first row holds the x headings
// from its second column on, whose first column holds the y headings from its
// second row on, and whose other cells hold the values. The headings must
// increase around the point; x or y outside the headings' span, a table of
// fewer than three rows or columns, and headings that do not increase are errors
// with value 1.
double XyTerp(const TCellMatrix& table, double x, double y, TCalcStatus& status);

}  // namespace corvane::numeric

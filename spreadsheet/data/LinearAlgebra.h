// Dense linear algebra for the data commands, over plain doubles: a row-major
// matrix, the determinant, the solution of linear systems and inverses by
// Gaussian elimination with partial pivoting, and least squares by Householder
// QR. No cells here: the commands load ranges into matrices and write the
// results back.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace corvane {

struct TMatrix {
  int rows = 0;
  int cols = 0;
  std::vector<double> a;  // row-major

  TMatrix() = default;
  TMatrix(int r, int c) : rows(r), cols(c), a(static_cast<std::size_t>(r) * static_cast<std::size_t>(c), 0.0) {}
  double& At(int i, int j) { return a[static_cast<std::size_t>(i) * cols + j]; }
  double At(int i, int j) const { return a[static_cast<std::size_t>(i) * cols + j]; }
  static TMatrix Identity(int n);
};

// The determinant of the square matrix `m` by elimination with partial
// pivoting (each row exchange changes the sign); 0 when a column has no
// non-zero pivot left.
double Determinant(TMatrix m);

enum class TSolveStatus {
  kOk,
  kSingular,    // no usable pivot, or too ill-conditioned to give digits
  kPivotError,  // the elimination overflowed
};

// Solves a * x = b for every column of b (a square, b with a's rows) by
// Gaussian elimination with partial pivoting (the first of equally large
// pivots wins) and back substitution, each equation first scaled so that its
// largest coefficient is about 1. The system counts as singular when a pivot
// is 0 or when the reciprocal condition number (1-norm) of the scaled a is
// below `minRcond`, so rows in very different units do not make it so; x is
// set only on kOk.
TSolveStatus SolveLinear(const TMatrix& a, const TMatrix& b, TMatrix& x, double minRcond);

// The reciprocal condition number below which a system counts as singular:
// n times the double's epsilon, where the solution keeps no digit worth showing.
double SingularRcond(int n);

// The reciprocal condition number 1 / (|a| |a^-1|) in the 1-norm; 0 when a is
// singular.
double ReciprocalCondition(const TMatrix& a);

// Least squares: the x that minimises |a x - b| (2-norm) for a with at least
// as many rows as columns and b with a's rows. The columns are scaled to unit
// length and factorised by Householder reflections into Q R (the products of
// the normal equations, which square the condition, are never formed); the
// solution and its residual are then corrected together, a few times, from
// residuals summed exactly, which brings them to about the last digit a double
// holds wherever the condition leaves some digits at all. The fit counts as
// singular (x unset) when a column is zero, a has fewer rows than columns, the
// 1-norm condition of the scaled R leaves no digit, or the corrections do not
// settle to `minDigitsLeft` digits of the solution (the error left after the
// last one is estimated from the rate at which they shrink). On kOk,
// `residualSquares` is the sum of the squared residuals of the least-squares
// solution, summed exactly from the corrected residual (a close fit's
// residuals are not the small differences of rounded large terms there).
// kPivotError for values that are not finite.
TSolveStatus SolveLeastSquares(const TMatrix& a, std::span<const double> b, std::vector<double>& x,
                               double minDigitsLeft, double& residualSquares);

}  // namespace corvane

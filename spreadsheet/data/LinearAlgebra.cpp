// Gaussian elimination with partial pivoting: determinant, solve, inverse.
#include "spreadsheet/data/LinearAlgebra.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace corvane {

namespace {

// An LU factorisation with row exchanges, kept as the eliminated matrix and
// the row order. `ok` is false when a column has no non-zero pivot.
struct TLu {
  TMatrix lu;
  std::vector<int> order;
  int swaps = 0;
  bool ok = true;
};

TLu Factorise(TMatrix m) {
  TLu f;
  int n = m.rows;
  f.order.resize(n);
  for (int i = 0; i < n; ++i) f.order[i] = i;
  for (int c = 0; c < n; ++c) {
    int pivot = c;
    for (int r = c + 1; r < n; ++r)
      if (std::fabs(m.At(r, c)) > std::fabs(m.At(pivot, c))) pivot = r;
    if (m.At(pivot, c) == 0) {
      f.ok = false;
      continue;
    }
    if (pivot != c) {
      for (int j = 0; j < n; ++j) std::swap(m.At(c, j), m.At(pivot, j));
      std::swap(f.order[c], f.order[pivot]);
      ++f.swaps;
    }
    double inverse = 1.0 / m.At(c, c);
    for (int r = c + 1; r < n; ++r) {
      double factor = m.At(r, c) * inverse;
      m.At(r, c) = factor;
      if (factor == 0) continue;
      for (int j = c + 1; j < n; ++j) m.At(r, j) -= factor * m.At(c, j);
    }
  }
  f.lu = std::move(m);
  return f;
}

// Solves with a factorisation that is ok, column by column of b.
TMatrix SolveFactorised(const TLu& f, const TMatrix& b) {
  int n = f.lu.rows;
  TMatrix x(n, b.cols);
  std::vector<double> y(n);
  for (int k = 0; k < b.cols; ++k) {
    for (int i = 0; i < n; ++i) {
      double s = b.At(f.order[i], k);
      for (int j = 0; j < i; ++j) s -= f.lu.At(i, j) * y[j];
      y[i] = s;
    }
    for (int i = n - 1; i >= 0; --i) {
      double s = y[i];
      for (int j = i + 1; j < n; ++j) s -= f.lu.At(i, j) * x.At(j, k);
      x.At(i, k) = s / f.lu.At(i, i);
    }
  }
  return x;
}

double NormOne(const TMatrix& m) {
  double norm = 0;
  for (int j = 0; j < m.cols; ++j) {
    double sum = 0;
    for (int i = 0; i < m.rows; ++i) sum += std::fabs(m.At(i, j));
    norm = std::max(norm, sum);
  }
  return norm;
}

bool AllFinite(const TMatrix& m) {
  return std::all_of(m.a.begin(), m.a.end(), [](double v) { return std::isfinite(v); });
}

double RcondOf(const TMatrix& a, const TLu& f) {
  if (!f.ok) return 0;
  TMatrix inverse = SolveFactorised(f, TMatrix::Identity(a.rows));
  double product = NormOne(a) * NormOne(inverse);
  return std::isfinite(product) && product > 0 ? 1.0 / product : 0.0;
}

}  // namespace

TMatrix TMatrix::Identity(int n) {
  TMatrix m(n, n);
  for (int i = 0; i < n; ++i) m.At(i, i) = 1;
  return m;
}

double Determinant(TMatrix m) {
  TLu f = Factorise(std::move(m));
  if (!f.ok) return 0;
  double det = f.swaps % 2 ? -1.0 : 1.0;
  for (int i = 0; i < f.lu.rows; ++i) det *= f.lu.At(i, i);
  return det;
}

double SingularRcond(int n) { return std::max(n, 1) * std::numeric_limits<double>::epsilon(); }

double ReciprocalCondition(const TMatrix& a) { return RcondOf(a, Factorise(a)); }

TSolveStatus SolveLinear(const TMatrix& a, const TMatrix& b, TMatrix& x, double minRcond) {
  if (!AllFinite(a) || !AllFinite(b)) return TSolveStatus::kPivotError;
  TLu f = Factorise(a);
  if (!f.ok || RcondOf(a, f) < minRcond) return TSolveStatus::kSingular;
  TMatrix solution = SolveFactorised(f, b);
  if (!AllFinite(solution)) return TSolveStatus::kPivotError;
  x = std::move(solution);
  return TSolveStatus::kOk;
}

}  // namespace corvane

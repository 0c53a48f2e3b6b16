// Gaussian elimination with partial pivoting: determinant, solve, inverse;
// Householder QR: least squares.
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

// A Householder QR factorisation of an m x n matrix (m >= n), held by
// columns: on and below the diagonal of column k the vector v of reflection k
// (H = I - beta v v'), above it the column of R; R's diagonal apart.
struct TQr {
  int m = 0, n = 0;
  std::vector<double> w;  // column-major, m x n
  std::vector<double> beta, rDiag;
  double* Column(int k) { return w.data() + static_cast<std::size_t>(k) * m; }
  const double* Column(int k) const { return w.data() + static_cast<std::size_t>(k) * m; }
  double R(int i, int j) const { return i == j ? rDiag[i] : Column(j)[i]; }
};

// Factorises the columns already in `f.w`; false when a column has nothing
// left to reflect (it lies in the span of the ones before it).
bool FactoriseQr(TQr& f) {
  f.beta.assign(f.n, 0.0);
  f.rDiag.assign(f.n, 0.0);
  for (int k = 0; k < f.n; ++k) {
    double* v = f.Column(k);
    double norm = 0;
    for (int i = k; i < f.m; ++i) norm += v[i] * v[i];
    norm = std::sqrt(norm);
    if (norm == 0) return false;
    double alpha = v[k] > 0 ? -norm : norm;  // away from v[k], so v[k] - alpha never cancels
    f.beta[k] = 1 / (norm * (norm + std::fabs(v[k])));
    v[k] -= alpha;
    f.rDiag[k] = alpha;
    for (int j = k + 1; j < f.n; ++j) {
      double* c = f.Column(j);
      double dot = 0;
      for (int i = k; i < f.m; ++i) dot += v[i] * c[i];
      dot *= f.beta[k];
      for (int i = k; i < f.m; ++i) c[i] -= dot * v[i];
    }
  }
  return true;
}

// The least-squares solution z of the factorised system for the right-hand
// side b (m values): R z = the first n values of Q' b.
std::vector<double> SolveQr(const TQr& f, std::vector<double> b) {
  for (int k = 0; k < f.n; ++k) {
    const double* v = f.Column(k);
    double dot = 0;
    for (int i = k; i < f.m; ++i) dot += v[i] * b[i];
    dot *= f.beta[k];
    for (int i = k; i < f.m; ++i) b[i] -= dot * v[i];
  }
  std::vector<double> z(f.n);
  for (int i = f.n - 1; i >= 0; --i) {
    double s = b[i];
    for (int j = i + 1; j < f.n; ++j) s -= f.R(i, j) * z[j];
    z[i] = s / f.rDiag[i];
  }
  return z;
}

// The 1-norm condition number of R, from its inverse (built column by column
// by back substitution).
double TriangleCondition(const TQr& f) {
  double norm = 0, inverseNorm = 0;
  std::vector<double> column(f.n);
  for (int c = 0; c < f.n; ++c) {
    double sum = 0;
    for (int i = 0; i <= c; ++i) sum += std::fabs(f.R(i, c));
    norm = std::max(norm, sum);
    sum = 0;
    for (int i = c; i >= 0; --i) {
      double s = i == c ? 1.0 : 0.0;
      for (int j = i + 1; j <= c; ++j) s -= f.R(i, j) * column[j];
      column[i] = s / f.rDiag[i];
      sum += std::fabs(column[i]);
    }
    inverseNorm = std::max(inverseNorm, sum);
  }
  return norm * inverseNorm;
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

TSolveStatus SolveLeastSquares(const TMatrix& a, std::span<const double> b, std::vector<double>& x,
                               double minDigitsLeft) {
  if (!AllFinite(a) || !std::all_of(b.begin(), b.end(), [](double v) { return std::isfinite(v); }))
    return TSolveStatus::kPivotError;
  int m = a.rows, n = a.cols;
  if (n == 0 || m < n || static_cast<int>(b.size()) != m) return TSolveStatus::kSingular;
  // Unit columns: the condition then measures the model, not the units of its
  // columns, and the solution is scaled back at the end.
  TQr f;
  f.m = m;
  f.n = n;
  f.w.resize(static_cast<std::size_t>(m) * n);
  std::vector<double> scale(n);
  for (int j = 0; j < n; ++j) {
    double largest = 0, sum = 0;
    for (int i = 0; i < m; ++i) largest = std::max(largest, std::fabs(a.At(i, j)));
    if (largest == 0) return TSolveStatus::kSingular;
    for (int i = 0; i < m; ++i) sum += (a.At(i, j) / largest) * (a.At(i, j) / largest);
    scale[j] = 1 / (std::sqrt(sum) * largest);
    if (!std::isfinite(scale[j])) return TSolveStatus::kSingular;
    for (int i = 0; i < m; ++i) f.Column(j)[i] = a.At(i, j) * scale[j];
  }
  if (!FactoriseQr(f)) return TSolveStatus::kSingular;

  std::vector<double> rhs(b.begin(), b.end()), residual(m);
  double residualNorm = 0, fittedNorm = 0;
  // The residual, summed in extended precision: the correction it gives back
  // is only as good as the residual, which on a close fit is the small
  // difference of large values.
  auto measureResidual = [&](const std::vector<double>& z) {
    residualNorm = fittedNorm = 0;
    for (int i = 0; i < m; ++i) {
      long double fitted = 0;
      for (int j = 0; j < n; ++j) fitted += static_cast<long double>(a.At(i, j)) * (z[j] * scale[j]);
      residual[i] = static_cast<double>(rhs[i] - fitted);
      residualNorm += residual[i] * residual[i];
      fittedNorm += static_cast<double>(fitted * fitted);
    }
  };
  std::vector<double> z = SolveQr(f, rhs);
  measureResidual(z);
  std::vector<double> correction = SolveQr(f, residual);  // one correction: a second gains nothing
  for (int j = 0; j < n; ++j) z[j] += correction[j];
  measureResidual(z);

  double condition = TriangleCondition(f);
  double tangent = fittedNorm > 0 ? std::sqrt(residualNorm / fittedNorm) : 0;  // how far b lies from the columns
  double bound = std::numeric_limits<double>::epsilon() * condition * (1 + condition * tangent);
  if (!std::isfinite(bound) || bound > std::pow(10.0, -minDigitsLeft)) return TSolveStatus::kSingular;
  std::vector<double> solution(n);
  for (int j = 0; j < n; ++j) solution[j] = z[j] * scale[j];
  if (!std::all_of(solution.begin(), solution.end(), [](double v) { return std::isfinite(v); }))
    return TSolveStatus::kPivotError;
  x = std::move(solution);
  return TSolveStatus::kOk;
}

}  // namespace corvane

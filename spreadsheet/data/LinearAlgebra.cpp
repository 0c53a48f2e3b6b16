// Gaussian elimination with partial pivoting: determinant, solve, inverse;
// Householder QR: least squares.
#include "spreadsheet/data/LinearAlgebra.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "spreadsheet/engine/ExactArithmetic.h"

namespace corvane {

namespace {

constexpr int kRefinements = 4;     // correction steps at most
constexpr double kSettled = 1e-32;  // a squared step this small against |z|^2 ends them

// A sum kept as two doubles, the second holding what rounding took from the
// first, with products added exactly: a residual of a close fit, the small
// difference of large values, keeps the digits a double cannot.
struct TExactSum {
  double hi = 0, lo = 0;

  void Add(double v) {
    TDoubleDouble sum = TwoSum(hi, v);
    hi = sum.hi;
    lo += sum.lo;
  }
  void AddProduct(double a, double b) {
    TDoubleDouble product = TwoProduct(a, b);
    lo += product.lo;
    Add(product.hi);
  }
  double Value() const { return hi + lo; }
};

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

// v = Q' v (m values).
void ApplyQt(const TQr& f, std::vector<double>& v) {
  for (int k = 0; k < f.n; ++k) {
    const double* w = f.Column(k);
    double dot = 0;
    for (int i = k; i < f.m; ++i) dot += w[i] * v[i];
    dot *= f.beta[k];
    for (int i = k; i < f.m; ++i) v[i] -= dot * w[i];
  }
}

// v = Q v (m values): the reflections in reverse order.
void ApplyQ(const TQr& f, std::vector<double>& v) {
  for (int k = f.n - 1; k >= 0; --k) {
    const double* w = f.Column(k);
    double dot = 0;
    for (int i = k; i < f.m; ++i) dot += w[i] * v[i];
    dot *= f.beta[k];
    for (int i = k; i < f.m; ++i) v[i] -= dot * w[i];
  }
}

// The z of R z = the first n values of v.
std::vector<double> SolveR(const TQr& f, const std::vector<double>& v) {
  std::vector<double> z(f.n);
  for (int i = f.n - 1; i >= 0; --i) {
    double s = v[i];
    for (int j = i + 1; j < f.n; ++j) s -= f.R(i, j) * z[j];
    z[i] = s / f.rDiag[i];
  }
  return z;
}

// The h of R' h = g.
std::vector<double> SolveRt(const TQr& f, const std::vector<double>& g) {
  std::vector<double> h(f.n);
  for (int i = 0; i < f.n; ++i) {
    double s = g[i];
    for (int j = 0; j < i; ++j) s -= f.R(j, i) * h[j];
    h[i] = s / f.rDiag[i];
  }
  return h;
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
  // Each equation scaled by a power of two (exact) that brings its largest
  // coefficient to between 1/2 and 1: rows in very different units (1e-9
  // beside 1e6) then neither look singular to the condition test nor steer
  // the choice of pivots. The solution is the same.
  TMatrix sa = a, sb = b;
  for (int i = 0; i < a.rows; ++i) {
    double largest = 0;
    for (int j = 0; j < a.cols; ++j) largest = std::max(largest, std::fabs(a.At(i, j)));
    if (largest == 0) continue;
    int exponent = 0;
    std::frexp(largest, &exponent);
    for (int j = 0; j < sa.cols; ++j) sa.At(i, j) = std::ldexp(sa.At(i, j), -exponent);
    for (int j = 0; j < sb.cols; ++j) sb.At(i, j) = std::ldexp(sb.At(i, j), -exponent);
  }
  TLu f = Factorise(sa);
  if (!f.ok || RcondOf(sa, f) < minRcond) return TSolveStatus::kSingular;
  TMatrix solution = SolveFactorised(f, sb);
  if (!AllFinite(solution)) return TSolveStatus::kPivotError;
  x = std::move(solution);
  return TSolveStatus::kOk;
}

TSolveStatus SolveLeastSquares(const TMatrix& a, std::span<const double> b, std::vector<double>& x,
                               double minDigitsLeft, double& residualSquares) {
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

  // The solution z (of the unit columns) and the residual r = b - A x are
  // corrected together from the augmented system [I A; A' 0] [r; z] = [b; 0],
  // whose residuals are summed in extended precision. Correcting z alone
  // would leave the error that a large residual brings in through the square
  // of the condition; corrected together, each step gains the digits of the
  // condition until the solution is as good as a double holds.
  std::vector<double> r(b.begin(), b.end());
  ApplyQt(f, r);
  std::vector<double> z = SolveR(f, r);
  std::vector<double> solution(n);
  for (int j = 0; j < n; ++j) solution[j] = z[j] * scale[j];
  std::fill(r.begin(), r.begin() + n, 0.0);
  ApplyQ(f, r);
  // The relative size of each correction: the first is about the error of
  // the unrefined solution, and their ratio is the rate at which the steps
  // gain digits.
  std::vector<double> corrections;
  for (int step = 0; step < kRefinements; ++step) {
    std::vector<double> e(m), g(n);
    std::vector<TExactSum> gSum(n);
    for (int i = 0; i < m; ++i) {
      TExactSum sum;
      sum.Add(b[i]);
      sum.Add(-r[i]);
      for (int j = 0; j < n; ++j) {
        sum.AddProduct(-a.At(i, j), solution[j]);
        gSum[j].AddProduct(-a.At(i, j), r[i]);
      }
      e[i] = sum.Value();
    }
    for (int j = 0; j < n; ++j) g[j] = gSum[j].Value() * scale[j];
    ApplyQt(f, e);
    std::vector<double> h = SolveRt(f, g);
    for (int j = 0; j < n; ++j) e[j] -= h[j];
    std::vector<double> dz = SolveR(f, e);
    for (int j = 0; j < n; ++j) e[j] = h[j];  // e becomes [h; the rest of Q' e]: Q of it corrects r
    ApplyQ(f, e);
    double change = 0, zNorm = 0;
    for (int j = 0; j < n; ++j) {
      solution[j] += dz[j] * scale[j];
      change += dz[j] * dz[j];
      zNorm += (solution[j] / scale[j]) * (solution[j] / scale[j]);
    }
    for (int i = 0; i < m; ++i) r[i] += e[i];
    corrections.push_back(zNorm > 0 ? std::sqrt(change / zNorm) : 0.0);
    if (change <= zNorm * kSettled) break;
  }
  if (!std::all_of(solution.begin(), solution.end(), [](double v) { return std::isfinite(v); }))
    return TSolveStatus::kPivotError;

  // The digits the refined solution keeps. Each step takes the error down by
  // about the ratio of its correction to the one before, so what is left after
  // the last is about that ratio over one minus it, times the last correction;
  // a correction within a few roundings of the solution leaves only rounding.
  // Without a ratio below 1 the steps did not settle, and where the condition
  // of the scaled R leaves no digit at all there is nothing for them to settle
  // on: both count as singular.
  const double eps = std::numeric_limits<double>::epsilon();
  const double last = corrections.back();
  double error = last;
  if (last > 16 * eps) {  // so more than one step ran: only a settled step ends them early
    const double ratio = last / corrections[corrections.size() - 2];
    error = ratio < 1 ? last * ratio / (1 - ratio) : HUGE_VAL;
  }
  if (!(eps * TriangleCondition(f) < 1) || !(error <= std::pow(10.0, -minDigitsLeft)))
    return TSolveStatus::kSingular;
  TExactSum squares;
  for (double v : r) squares.AddProduct(v, v);
  residualSquares = squares.Value();
  x = std::move(solution);
  return TSolveStatus::kOk;
}

}  // namespace corvane

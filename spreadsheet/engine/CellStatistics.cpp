// Functions of the cells of a range: the median and the moments of a list of
// cells, and trace, determinant, rank and two-way interpolation of a block.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <utility>
#include <vector>

#include "spreadsheet/engine/NumericDetail.h"
#include "spreadsheet/engine/NumericLibrary.h"

namespace corvane::numeric {

// ---- Median ----------------------------------------------------------------

namespace {

// The median by selection on a copy: the fallback when the estimate below has
// not settled after its rounds.
double MedianBySelection(std::span<const double> cells) {
  std::vector<double> copy(cells.begin(), cells.end());
  const std::size_t upper = copy.size() / 2;
  std::nth_element(copy.begin(), copy.begin() + upper, copy.end());
  const double high = copy[upper];
  if (copy.size() % 2 != 0) return high;
  return (*std::max_element(copy.begin(), copy.begin() + upper) + high) / 2.0;
}

}  // namespace

double Median(std::span<const double> cells, TCalcStatus& status) {
  const std::size_t n = cells.size();
  if (n == 0 || !detail::AllFinite(cells)) return detail::Fail(status, 0.0);
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  // The estimate a starts halfway between the first and the last cell and moves
  // towards the side holding too many cells: to the nearest cell on that side,
  // plus 1.5 times the pull of a weighted mean that favours cells near a, but
  // never past an earlier estimate found on the other side (then halfway to it).
  // It ends when both median ranks lo and hi (from 1, equal for an odd count)
  // fall on a, or on the nearest cell either side of it. Cells equal to a count
  // towards those ranks, so ties end it too. An estimate that circles a tie
  // slowly is cut short after the round limit by a plain selection.
  double a = cells.front() / 2.0 + cells.back() / 2.0;
  double eps = std::min(std::fabs(cells.back() - cells.front()), std::numeric_limits<double>::max());
  double lowerBound = -kInfinity;
  double upperBound = kInfinity;
  const std::size_t lo = (n + 1) / 2;
  const std::size_t hi = n / 2 + 1;
  for (int round = 0; round < detail::kMaxRounds; ++round) {
    std::size_t above = 0, below = 0;
    double nearestAbove = kInfinity, nearestBelow = -kInfinity;
    double sumWeights = 0.0, sumWeighted = 0.0;
    for (double x : cells) {
      if (x > a) {
        ++above;
        nearestAbove = std::min(nearestAbove, x);
      } else if (x < a) {
        ++below;
        nearestBelow = std::max(nearestBelow, x);
      }
      // A cell at a while eps is 0 has no weight (it would divide by zero).
      const double distance = eps + std::fabs(x - a);
      if (distance > 0.0) {
        sumWeights += 1.0 / distance;
        sumWeighted += x / distance;
      }
    }
    const std::size_t atA = n - above - below;
    double pull = 0.0;
    if (sumWeights > 0.0 && std::isfinite(sumWeighted / sumWeights)) pull = sumWeighted / sumWeights - a;
    double next;
    if (hi > below + atA + 1) {  // the median lies above the nearest cell above a
      next = nearestAbove + 1.5 * std::max(0.0, pull);
      if (next > upperBound) next = a / 2.0 + upperBound / 2.0;
      lowerBound = a;
    } else if (lo < below) {  // ... or below the nearest cell below a
      next = nearestBelow + 1.5 * std::min(0.0, pull);
      if (next < lowerBound) next = a / 2.0 + lowerBound / 2.0;
      upperBound = a;
    } else {
      // Both ranks are the nearest cell below a, a itself, or the nearest above.
      auto valueAt = [&](std::size_t rank) {
        return rank == below ? nearestBelow : rank <= below + atA ? a : nearestAbove;
      };
      return lo == hi ? valueAt(lo) : valueAt(lo) / 2.0 + valueAt(hi) / 2.0;
    }
    if (!std::isfinite(next)) next = hi > below + atA + 1 ? nearestAbove : nearestBelow;
    eps = std::min(1.5 * std::fabs(next - a), std::numeric_limits<double>::max());
    a = next;
  }
  return MedianBySelection(cells);
}

// ---- Moments ---------------------------------------------------------------

namespace {

enum class TMoment { kAveDev, kSkew, kKurt, kCov };

double Moment(std::span<const double> cells, TMoment which, TCalcStatus& status) {
  const std::size_t n = cells.size();
  if (n < 2 || !detail::AllFinite(cells)) return detail::Fail(status, 0.0);
  // Cells all equal have no spread; their computed variance could be a rounding
  // residue instead of 0.
  const auto [least, greatest] = std::minmax_element(cells.begin(), cells.end());
  const double noSpread = which == TMoment::kAveDev ? 0.0 : 1.0;
  if (*least == *greatest) return detail::Fail(status, noSpread);
  double sum = 0.0;
  for (double x : cells) sum += x;
  const double count = static_cast<double>(n);
  const double mean = sum / count;
  double absSum = 0.0, squareSum = 0.0, cubeSum = 0.0, fourthSum = 0.0;
  for (double x : cells) {
    const double d = x - mean;
    const double d2 = d * d;
    absSum += std::fabs(d);
    squareSum += d2;
    cubeSum += d2 * d;
    fourthSum += d2 * d2;
  }
  if (squareSum == 0.0) return detail::Fail(status, noSpread);  // differences too small to square
  const double variance = squareSum / (count - 1.0);
  const double deviation = std::sqrt(std::fabs(variance));
  double value = 0.0;
  switch (which) {
    case TMoment::kAveDev:
      value = absSum / count;
      break;
    case TMoment::kSkew:
      value = SafeDivide(cubeSum, count * deviation * deviation * deviation, status);
      break;
    case TMoment::kKurt:
      value = SafeDivide(fourthSum, count * variance * variance, status) - 3.0;
      break;
    case TMoment::kCov:
      value = SafeDivide(deviation, mean, status);
      break;
  }
  return detail::Checked(value, status, noSpread);
}

}  // namespace

double AveDev(std::span<const double> cells, TCalcStatus& status) {
  return Moment(cells, TMoment::kAveDev, status);
}

double Skew(std::span<const double> cells, TCalcStatus& status) {
  return Moment(cells, TMoment::kSkew, status);
}

double Kurt(std::span<const double> cells, TCalcStatus& status) {
  return Moment(cells, TMoment::kKurt, status);
}

double Cov(std::span<const double> cells, TCalcStatus& status) {
  return Moment(cells, TMoment::kCov, status);
}

// ---- Trace, determinant and rank --------------------------------------------

namespace {

// A block copied into a row-major work matrix that elimination can change.
class TWorkMatrix {
 public:
  TWorkMatrix(int rows, int cols) : rows_(rows), cols_(cols), cells_(static_cast<std::size_t>(rows) * cols) {}
  double& operator()(int i, int j) { return cells_[static_cast<std::size_t>(i) * cols_ + j]; }
  int Rows() const { return rows_; }
  int Cols() const { return cols_; }
  void SwapRows(int r, int s, int fromCol) {
    for (int j = fromCol; j < cols_; ++j) std::swap((*this)(r, j), (*this)(s, j));
  }

 private:
  int rows_;
  int cols_;
  std::vector<double> cells_;
};

}  // namespace

double Trace(const TCellMatrix& m, TCalcStatus& status) {
  if (!m.IsValid()) return detail::Fail(status, 0.0);
  if (m.rows != m.cols) status.error = true;
  double sum = 0.0;
  for (int i = 0; i < std::min(m.rows, m.cols); ++i) sum += m.At(i, i);
  return detail::Checked(sum, status, 0.0);
}

double Det(const TCellMatrix& m, TCalcStatus& status) {
  if (!m.IsValid() || m.rows != m.cols || m.rows > kMaxDetRows || !detail::AllFinite(m.cells))
    return detail::Fail(status, 0.0);
  const int n = m.rows;
  TWorkMatrix w(n, n);
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) w(i, j) = m.At(i, j);
  bool negate = false;
  for (int i = 0; i + 1 < n; ++i) {
    if (w(i, i) == 0.0) {
      int s = i + 1;
      while (s < n && w(s, i) == 0.0) ++s;
      if (s == n) return 0.0;
      w.SwapRows(i, s, i);
      negate = !negate;
    }
    for (int r = i + 1; r < n; ++r) {
      if (w(r, i) == 0.0) continue;
      const double factor = w(r, i) / w(i, i);
      for (int j = i; j < n; ++j) w(r, j) -= factor * w(i, j);
    }
  }
  double product = 1.0;  // a block of no rows has determinant 1
  for (int i = 0; i < n; ++i) product *= w(i, i);
  return detail::Checked(negate ? -product : product, status, 0.0);
}

double Rank(const TCellMatrix& m, TCalcStatus& status) {
  if (!m.IsValid() || !detail::AllFinite(m.cells)) return detail::Fail(status, 0.0);
  // Work on the shape with no more rows than columns: the rank is the same.
  const bool transpose = m.cols < m.rows;
  TWorkMatrix w(transpose ? m.cols : m.rows, transpose ? m.rows : m.cols);
  for (int i = 0; i < m.rows; ++i)
    for (int j = 0; j < m.cols; ++j) (transpose ? w(j, i) : w(i, j)) = m.At(i, j);
  int counted = w.Rows();
  auto isZeroRow = [&](int r) {
    for (int j = 0; j < w.Cols(); ++j)
      if (std::fabs(w(r, j)) > kRankTolerance) return false;
    return true;
  };
  for (int r = 0; r < counted; ++r) {
    // Rows that have become 0 go to the end and no longer count.
    for (int s = r; s < counted;) {
      if (isZeroRow(s)) {
        w.SwapRows(s, --counted, 0);
      } else {
        ++s;
      }
    }
    if (r >= counted) break;
    // The pivot is the entry of largest magnitude among the remaining rows.
    int pivotRow = r, pivotCol = 0;
    for (int s = r; s < counted; ++s)
      for (int j = 0; j < w.Cols(); ++j)
        if (std::fabs(w(s, j)) > std::fabs(w(pivotRow, pivotCol))) {
          pivotRow = s;
          pivotCol = j;
        }
    w.SwapRows(r, pivotRow, 0);
    const double pivot = w(r, pivotCol);
    for (int j = 0; j < w.Cols(); ++j) w(r, j) /= pivot;
    for (int s = r + 1; s < counted; ++s) {
      const double factor = w(s, pivotCol);
      if (factor == 0.0) continue;
      for (int j = 0; j < w.Cols(); ++j) w(s, j) -= factor * w(r, j);
    }
  }
  return counted;
}

// ---- Two-way interpolation ----------------------------------------------------

namespace {

// The position i of the heading interval [i, i + 1] that holds `value`, where
// positions 1..count-1 hold the headings (position 0 is the table's corner), or
// -1 when there is none. The first heading from position 1 to count-2 not below
// the value, else the last, gives the position, one less when the value lies
// below that heading. A value on the last heading takes the last interval; one
// below the first or above the last heading has none.
template <typename Heading>
int FindInterval(double value, int count, Heading heading) {
  if (count < 3) return -1;
  int c = count - 1;
  for (int k = 1; k <= count - 2; ++k) {
    if (heading(k) >= value) {
      c = k;
      break;
    }
  }
  int i = value < heading(c) ? c - 1 : c;
  if (i == count - 1 && value == heading(i)) i = count - 2;
  return i >= 1 && i <= count - 2 ? i : -1;
}

}  // namespace

double XyTerp(const TCellMatrix& table, double x, double y, TCalcStatus& status) {
  if (!table.IsValid() || !std::isfinite(x) || !std::isfinite(y)) return detail::Fail(status, 1.0);
  const int i = FindInterval(x, table.cols, [&](int k) { return table.At(0, k); });
  const int j = FindInterval(y, table.rows, [&](int k) { return table.At(k, 0); });
  if (i < 0 || j < 0) return detail::Fail(status, 1.0);
  const double xSpan = table.At(0, i + 1) - table.At(0, i);
  const double ySpan = table.At(j + 1, 0) - table.At(j, 0);
  if (!(xSpan > 0.0) || !(ySpan > 0.0)) return detail::Fail(status, 1.0);
  const double dx = (x - table.At(0, i)) / xSpan;
  const double dy = (y - table.At(j, 0)) / ySpan;
  const double low = table.At(j, i) + dx * (table.At(j, i + 1) - table.At(j, i));
  const double high = table.At(j + 1, i) + dx * (table.At(j + 1, i + 1) - table.At(j + 1, i));
  return detail::Checked(low + dy * (high - low), status, 1.0);
}

}  // namespace corvane::numeric

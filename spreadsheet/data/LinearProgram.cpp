// The big-M simplex and the linear-program command.
#include "spreadsheet/data/LinearProgram.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "spreadsheet/data/DataCommon.h"
#include "spreadsheet/data/MatrixOps.h"
#include "spreadsheet/engine/TextCase.h"

namespace corvane {

namespace {

constexpr double kTooLargeRatio = 1e20;
constexpr double kRelativeTolerance = 1e-9;
constexpr int kDegenerateStepsBeforeBland = 10;

double MaxAbs(const std::vector<double>& v) {
  double m = 0;
  for (double x : v) m = std::max(m, std::fabs(x));
  return m;
}

// The tableau in minimisation form. The reduced costs and the objective each
// have an M part and a real part, compared M part first.
class TTableau {
 public:
  explicit TTableau(const TLinearProgram& lp);
  TLpResult Solve(const TLinearProgram& lp);

 private:
  bool Negative(int j) const { return w_[j] < -tolW_ || (std::fabs(w_[j]) <= tolW_ && r_[j] < -tolR_); }
  bool Smaller(int j, int k) const {
    return w_[j] < w_[k] - tolW_ || (std::fabs(w_[j] - w_[k]) <= tolW_ && r_[j] < r_[k] - tolR_);
  }
  int EnteringColumn(bool bland) const;
  int LeavingRow(int e, bool bland, double& ratio) const;
  void Pivot(int p, int e);
  double& T(int i, int j) { return t_[static_cast<std::size_t>(i) * cols_ + j]; }
  double T(int i, int j) const { return t_[static_cast<std::size_t>(i) * cols_ + j]; }

  int m_ = 0, cols_ = 0;
  std::vector<double> t_, b_, w_, r_;
  double zw_ = 0;  // the M part of the objective: the sum of the artificial variables
  std::vector<int> basis_;
  double tolP_ = 0, tolW_ = 0, tolR_ = 0, tolZ_ = 0;
};

TTableau::TTableau(const TLinearProgram& lp) : m_(lp.m) {
  // Rows with a negative right-hand side are turned round first.
  std::vector<TRelation> relation = lp.relation;
  std::vector<double> a = lp.a, b = lp.b;
  for (int i = 0; i < m_; ++i) {
    if (b[i] >= 0) continue;
    b[i] = -b[i];
    for (int j = 0; j < lp.n; ++j) a[static_cast<std::size_t>(i) * lp.n + j] *= -1;
    if (relation[i] != TRelation::kEq) relation[i] = relation[i] == TRelation::kLe ? TRelation::kGe : TRelation::kLe;
  }
  int added = 0;
  for (TRelation rel : relation) added += rel == TRelation::kGe ? 2 : 1;
  cols_ = lp.n + added;
  t_.assign(static_cast<std::size_t>(m_) * cols_, 0.0);
  b_ = b;
  w_.assign(cols_, 0.0);
  r_.assign(cols_, 0.0);
  basis_.assign(m_, -1);
  for (int j = 0; j < lp.n; ++j) r_[j] = lp.minimise ? lp.c[j] : -lp.c[j];
  int next = lp.n;
  for (int i = 0; i < m_; ++i) {
    for (int j = 0; j < lp.n; ++j) T(i, j) = a[static_cast<std::size_t>(i) * lp.n + j];
    if (relation[i] == TRelation::kLe) {
      T(i, next) = 1;
      basis_[i] = next++;
      continue;
    }
    if (relation[i] == TRelation::kGe) T(i, next++) = -1;  // surplus
    T(i, next) = 1;                                        // artificial, cost M
    basis_[i] = next++;
    for (int j = 0; j < cols_; ++j)
      if (j != basis_[i]) w_[j] -= T(i, j);
    zw_ += b_[i];
  }
  double scaleA = std::max(1.0, MaxAbs(a));
  tolP_ = kRelativeTolerance * scaleA;
  tolW_ = kRelativeTolerance * scaleA * std::max(1, m_);
  tolR_ = kRelativeTolerance * std::max(1.0, MaxAbs(lp.c));
  tolZ_ = kRelativeTolerance * std::max(1.0, MaxAbs(b));
}

int TTableau::EnteringColumn(bool bland) const {
  int choice = -1;
  for (int j = 0; j < cols_; ++j) {
    if (!Negative(j)) continue;
    if (choice < 0) {
      choice = j;
      if (bland) break;
    } else if (Smaller(j, choice)) {
      choice = j;
    } else {
      break;
    }
  }
  return choice;
}

int TTableau::LeavingRow(int e, bool bland, double& best) const {
  int row = -1;
  best = kTooLargeRatio;
  for (int i = 0; i < m_; ++i) {
    if (T(i, e) <= tolP_) continue;
    double ratio = b_[i] / T(i, e);
    bool tie = row >= 0 && std::fabs(ratio - best) <= 1e-12 * std::max(1.0, std::fabs(best));
    if ((!tie && ratio < best) || (tie && bland && basis_[i] < basis_[row])) {
      best = ratio;
      row = i;
    }
  }
  return row;
}

void TTableau::Pivot(int p, int e) {
  double pivot = T(p, e);
  for (int j = 0; j < cols_; ++j) T(p, j) /= pivot;
  b_[p] /= pivot;
  T(p, e) = 1;
  for (int i = 0; i < m_; ++i) {
    double f = T(i, e);
    if (i == p || f == 0) continue;
    for (int j = 0; j < cols_; ++j) T(i, j) -= f * T(p, j);
    T(i, e) = 0;
    b_[i] -= f * b_[p];
    if (b_[i] < 0 && b_[i] > -tolZ_) b_[i] = 0;
  }
  double fw = w_[e], fr = r_[e];
  for (int j = 0; j < cols_; ++j) {
    w_[j] -= fw * T(p, j);
    r_[j] -= fr * T(p, j);
  }
  w_[e] = r_[e] = 0;
  zw_ += fw * b_[p];
  basis_[p] = e;
}

TLpResult TTableau::Solve(const TLinearProgram& lp) {
  TLpResult result;
  int limit = 50 * (m_ + cols_) + 1000;
  int degenerate = 0;
  for (;;) {
    bool phaseOneOpen = false;
    for (int j = 0; j < cols_ && !phaseOneOpen; ++j) phaseOneOpen = w_[j] < -tolW_;
    if (!phaseOneOpen && zw_ > tolZ_) return result.status = TLpStatus::kInfeasible, result;
    int e = EnteringColumn(degenerate >= kDegenerateStepsBeforeBland);
    if (e < 0) break;
    if (result.iterations >= limit) return result.status = TLpStatus::kIterationLimit, result;
    bool anyPositive = false;
    for (int i = 0; i < m_ && !anyPositive; ++i) anyPositive = T(i, e) > tolP_;
    if (!anyPositive) return result.status = TLpStatus::kUnbounded, result;
    double ratio = 0;
    int p = LeavingRow(e, degenerate >= kDegenerateStepsBeforeBland, ratio);
    if (p < 0) return result.status = TLpStatus::kTooLarge, result;
    degenerate = ratio <= tolZ_ ? degenerate + 1 : 0;
    Pivot(p, e);
    ++result.iterations;
  }
  result.status = TLpStatus::kOptimal;
  result.x.assign(lp.n, 0.0);
  for (int i = 0; i < m_; ++i)
    if (basis_[i] < lp.n) result.x[basis_[i]] = b_[i];
  for (int j = 0; j < lp.n; ++j) result.optimum += lp.c[j] * result.x[j];
  return result;
}

// The keyword of a cell: its value text less its first character, at most
// three characters, upper case.
std::string Keyword(int row, int col) {
  std::string text = CellValueText(row, col);
  return UpperCaseText(text.size() > 1 ? text.substr(1, 3) : "");
}

}  // namespace

TLpResult SolveLinearProgram(const TLinearProgram& lp) {
  TTableau tableau(lp);
  return tableau.Solve(lp);
}

bool LinearProgram(const TRange& problemRange, const TRange& output) {
  if (!RangeIsValid(problemRange) || !RangeIsValid(output)) return false;
  if (!CheckOnSheet(problemRange) || !CheckOnSheet(output)) return false;
  TRange problem = OrderedRange(problemRange), out = OrderedRange(output);
  TMatrix cells;
  if (!MatrixLoad(problem, cells)) return false;
  TLinearProgram lp;
  lp.m = cells.rows - 1;
  lp.n = cells.cols - 2;
  if (lp.m < 1 || lp.n < 1) return Refuse(kLpLayoutText);
  for (int i = 0; i < lp.m; ++i) {
    std::string keyword = Keyword(problem.firstRow + i, problem.firstCol + lp.n);
    if (keyword == "LE") lp.relation.push_back(TRelation::kLe);
    else if (keyword == "GE") lp.relation.push_back(TRelation::kGe);
    else if (keyword == "EQ") lp.relation.push_back(TRelation::kEq);
    else return Refuse(kLpLayoutText);
    for (int j = 0; j < lp.n; ++j) lp.a.push_back(cells.At(i, j));
    lp.b.push_back(cells.At(i, lp.n + 1));
  }
  for (int j = 0; j < lp.n; ++j) lp.c.push_back(cells.At(lp.m, j));
  int objectiveRow = problem.firstRow + lp.m, keywordCol = problem.firstCol + lp.n + 1;
  lp.minimise = Keyword(objectiveRow, keywordCol) == "MIN";
  TRange block = BlockAt(out.firstRow, out.firstCol, lp.n + 1, 2);
  if (!CheckOnSheet(block) || !CheckApart(block, {problem}) || !CheckWritable(block)) return false;

  TLpResult result = SolveLinearProgram(lp);
  switch (result.status) {
    case TLpStatus::kOptimal:
      break;
    case TLpStatus::kInfeasible:
      return Refuse(kInfeasibleText);
    case TLpStatus::kUnbounded:
      return Refuse(kUnboundedText);
    case TLpStatus::kTooLarge:
      return Refuse(kElementsTooLargeText);
    case TLpStatus::kIterationLimit:
      return Refuse(kTooManyIterationsText);
  }
  BeginChange();
  std::string keyword = CellValueText(objectiveRow, keywordCol).substr(0, 5);
  WriteText(out.firstRow, out.firstCol, keyword.empty() ? keyword : keyword.substr(1));
  WriteNumber(out.firstRow, out.firstCol + 1, result.optimum);
  for (int j = 0; j < lp.n; ++j) {
    WriteText(out.firstRow + 1 + j, out.firstCol, "X" + std::to_string(j + 1));
    WriteNumber(out.firstRow + 1 + j, out.firstCol + 1, result.x[j]);
  }
  EndChange();
  return true;
}

}  // namespace corvane

// What the data commands cost: sorting 8,000 rows of 10 columns by two keys,
// a query over 8,000 records, a 100 x 100 matrix inverse, a regression over
// 8,000 points (the straight line and a cubic, the cubic's solver by QR
// beside the normal equations it replaced), and a linear program of 50
// variables and 50 constraints. The commands include their undo save, as a
// user pays it; the inverse and the linear program are larger than the
// sheet's work matrix allows, so they time the solvers themselves.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "spreadsheet/data/CurveFit.h"
#include "spreadsheet/data/DataCommon.h"
#include "spreadsheet/data/DataSort.h"
#include "spreadsheet/data/LinearAlgebra.h"
#include "spreadsheet/data/LinearProgram.h"
#include "spreadsheet/data/Query.h"
#include "spreadsheet/data/Regression.h"
#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/CellStore.h"
#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/DocumentTable.h"
#include "spreadsheet/engine/PagePool.h"

namespace {

using namespace corvane;
using Clock = std::chrono::steady_clock;

constexpr int kRows = 8000;

double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

void Report(const char* what, int runs, double seconds) {
  std::printf("%-58s %8.2f ms per run (%d runs)\n", what, seconds * 1e3 / runs, runs);
}

bool OpenDocument(const char* name) {
  int slot = 0;
  return RegisterOpenSheet(name, slot) == TOpenResult::kNew && ActivateDocumentContext(slot);
}

unsigned gSeed = 1;
double Random(double low, double high) {
  gSeed = gSeed * 1103515245u + 12345u;
  return low + (high - low) * static_cast<double>(gSeed >> 16 & 0x7FFF) / 32767.0;
}

TRange Block(int r1, int c1, int r2, int c2) {
  TRange r;
  RangeSet(r, c1, r1, c2, r2);
  return r;
}

// Key 1 a label of 26 values, key 2 a number; eight more columns of numbers.
void FillTable() {
  for (int row = 0; row < kRows; ++row) {
    EnterCell(std::string(1, static_cast<char>('a' + row * 7 % 26)) + "item", row, 0);
    for (int col = 1; col < 10; ++col) SetCellNumber(row, col, std::round(Random(0, 1000)));
  }
}

void BenchSort() {
  FillTable();
  TSheetSettings& s = gCurrentDoc.settings;
  s.savedRanges[kRangeSort] = Block(0, 0, kRows - 1, 9);
  s.savedRanges[kRangePrimaryKey] = Block(0, 0, 0, 0);
  s.savedRanges[kRangeSecondaryKey] = Block(0, 1, 0, 1);
  constexpr int kRuns = 5;
  Clock::time_point start = Clock::now();
  for (int n = 0; n < kRuns; ++n) {
    gSortAscending[0] = gSortAscending[1] = n % 2 == 0;  // each run reorders every row
    DataSort();
  }
  Report("sort 8000 rows x 10 columns by two keys", kRuns, Seconds(start));
}

void BenchQuery() {
  // The table of the sort, with names in row 1 of columns L..N and criteria.
  for (int row = 0; row < kRows; ++row) {
    EnterCell(std::string(1, static_cast<char>('a' + row * 7 % 26)) + "item", row + 1, 12);
    SetCellNumber(row + 1, 13, std::round(Random(0, 1000)));
  }
  EnterCell("Name", 0, 12);
  EnterCell("Qty", 0, 13);
  EnterCell("Name", 0, 15);
  EnterCell("Qty", 0, 16);
  EnterCell("'b*", 1, 15);
  EnterCell("+N2>500", 1, 16);
  EnterCell("Name", 0, 18);
  EnterCell("Qty", 0, 19);
  constexpr int kRuns = 5;
  Clock::time_point start = Clock::now();
  for (int n = 0; n < kRuns; ++n)
    DataQuery(Block(0, 12, kRows, 13), Block(0, 15, 1, 16), Block(0, 18, 0, 19), kQueryExtract);
  Report("query 8000 records (label pattern and a formula)", kRuns, Seconds(start));
}

void BenchInverse() {
  constexpr int n = 100;
  TMatrix a(n, n);
  for (double& x : a.a) x = Random(-10, 10);
  constexpr int kRuns = 20;
  TMatrix inverse;
  Clock::time_point start = Clock::now();
  for (int k = 0; k < kRuns; ++k) SolveLinear(a, TMatrix::Identity(n), inverse, SingularRcond(n));
  Report("inverse of a 100 x 100 matrix (with its condition check)", kRuns, Seconds(start));
}

// The cubic fit by the normal equations, as curve fitting solved it before
// its QR least squares: sums of term products, equilibrated, then Gaussian
// elimination. Kept here only as the figure to compare with.
bool FitByNormalEquations(const TMatrix& x, const std::vector<double>& y, const std::vector<TFitTerm>& terms,
                          std::vector<double>& coefficients) {
  int n = static_cast<int>(terms.size());
  TMatrix a(n, n), rhs(n, 1);
  std::vector<double> t(n);
  for (int row = 0; row < x.rows; ++row) {
    for (int i = 0; i < n; ++i)
      if (!TermValue(terms[i].form, x.At(row, terms[i].column), t[i])) return false;
    for (int i = 0; i < n; ++i) {
      for (int j = i; j < n; ++j) a.At(i, j) += t[i] * t[j];
      rhs.At(i, 0) += t[i] * y[row];
    }
  }
  std::vector<double> d(n);
  for (int i = 0; i < n; ++i) {
    if (!(a.At(i, i) > 0)) return false;
    d[i] = 1 / std::sqrt(a.At(i, i));
  }
  for (int i = 0; i < n; ++i) {
    for (int j = i; j < n; ++j) a.At(j, i) = a.At(i, j) = a.At(i, j) * d[i] * d[j];
    rhs.At(i, 0) *= d[i];
  }
  TMatrix z;
  if (SolveLinear(a, rhs, z, 1e-12) != TSolveStatus::kOk) return false;
  coefficients.assign(n, 0.0);
  for (int i = 0; i < n; ++i) coefficients[i] = z.At(i, 0) * d[i];
  return true;
}

void BenchCubicSolvers() {
  TMatrix x(kRows, 1);
  std::vector<double> y(kRows);
  for (int row = 0; row < kRows; ++row) {
    x.At(row, 0) = NumberAt(row, 0);
    y[row] = NumberAt(row, 1);
  }
  std::vector<TFitTerm> terms = FitTermList(gFitMasks, 1);
  std::vector<double> qr, normal;
  constexpr int kRuns = 50;
  Clock::time_point start = Clock::now();
  double residualSquares = 0;
  for (int n = 0; n < kRuns; ++n) FitModel(x, y, terms, qr, residualSquares);
  Report("  its solver: QR least squares", kRuns, Seconds(start));
  start = Clock::now();
  for (int n = 0; n < kRuns; ++n) FitByNormalEquations(x, y, terms, normal);
  Report("  the same by the normal equations (the former method)", kRuns, Seconds(start));
  double largest = 0;
  for (std::size_t i = 0; i < qr.size() && i < normal.size(); ++i)
    largest = std::max(largest, std::fabs(qr[i] - normal[i]) / std::fabs(qr[i]));
  std::printf("  (largest relative difference of their coefficients %.1e)\n", largest);
}

void BenchRegression() {
  for (int row = 0; row < kRows; ++row) {
    double x = row * 0.01;
    SetCellNumber(row, 0, x);
    SetCellNumber(row, 1, 3 + 2 * x - 0.1 * x * x + Random(-1, 1));
  }
  constexpr int kRuns = 10;
  Clock::time_point start = Clock::now();
  for (int n = 0; n < kRuns; ++n) DataRegress(Block(0, 0, kRows - 1, 0), Block(0, 1, 0, 1), Block(0, 3, 0, 3));
  Report("straight-line regression over 8000 points", kRuns, Seconds(start));
  TSheetSettings& s = gCurrentDoc.settings;
  s.dataRanges[kDataRangeRegressX] = Block(0, 0, kRows - 1, 0);
  s.dataRanges[kDataRangeRegressY] = Block(0, 1, 0, 1);
  s.dataRanges[kDataRangeRegressOutput] = Block(0, 6, 0, 6);
  gFitMasks[2] = gFitMasks[3] = 1;
  start = Clock::now();
  for (int n = 0; n < kRuns; ++n) DataMultiRegress();
  Report("cubic curve fit over 8000 points", kRuns, Seconds(start));
  BenchCubicSolvers();
}

void BenchLinearProgram() {
  constexpr int m = 50, n = 50;
  TLinearProgram lp;
  lp.m = m;
  lp.n = n;
  for (int j = 0; j < n; ++j) lp.c.push_back(std::round(Random(1, 20)));
  for (int i = 0; i < m; ++i) {
    for (int j = 0; j < n; ++j) lp.a.push_back(std::round(Random(0, 9)));
    lp.relation.push_back(i % 5 == 4 ? TRelation::kGe : TRelation::kLe);
    lp.b.push_back(i % 5 == 4 ? std::round(Random(10, 50)) : std::round(Random(200, 500)));
  }
  constexpr int kRuns = 20;
  TLpResult result;
  Clock::time_point start = Clock::now();
  for (int k = 0; k < kRuns; ++k) result = SolveLinearProgram(lp);
  Report("linear program, 50 variables x 50 constraints", kRuns, Seconds(start));
  std::printf("  (%s after %d pivots, optimum %.6g)\n", result.status == TLpStatus::kOptimal ? "optimal" : "no optimum",
              result.iterations, result.optimum);
}

}  // namespace

int main() {
  PoolInit();
  if (!OpenDocument("SORT.WKS")) return std::fprintf(stderr, "cannot open a document\n"), 1;
  BenchSort();
  if (!OpenDocument("QUERY.WKS")) return std::fprintf(stderr, "cannot open a document\n"), 1;
  BenchQuery();
  BenchInverse();
  if (!OpenDocument("REGRESS.WKS")) return std::fprintf(stderr, "cannot open a document\n"), 1;
  BenchRegression();
  BenchLinearProgram();
  return 0;
}

// Matrix commands: small exact cases, refusals, and determinant, inverse,
// solve and product against numpy on random and ill-conditioned matrices.
#include "spreadsheet/data/MatrixOps.h"

#include <cmath>
#include <cstdio>

#include "tests/spreadsheet/data/DataTestSupport.h"
#include "tests/spreadsheet/data/PeerTools.h"

namespace corvane {
namespace {

using MatrixOpsTest = testing::DataTest;

std::vector<std::string> Block(std::string_view addr, int rows, int cols) {
  TRange r;
  ParseRange(addr, r);
  std::vector<std::string> texts;
  for (int i = 0; i < rows; ++i)
    for (int j = 0; j < cols; ++j) texts.push_back(CellContentsText(CellFind(r.firstRow + i, r.firstCol + j)));
  return texts;
}

TEST_F(MatrixOpsTest, ExactResults) {
  using Texts = std::vector<std::string>;
  PutMatrix("A1", 2, {1, 2, 3, 4});
  PutMatrix("D1", 2, {10, 20});  // D2..E2 missing: 0
  PutMatrix("A5", 3, {1, 2, 3, 4, 5, 6});
  PutMatrix("E5", 2, {1, 0, 0, 1, 1, 1});
  PutMatrix("A10", 2, {0, 1, 1, 0});
  PutMatrix("A13", 2, {2, 0, 0, 4});
  PutMatrix("A16", 4, {2, 0, 2, 4, 0, 4, 4, 8});  // 2x = (2, 4), 4y = (4, 8)
  struct Case {
    bool ok;
    const char* output;
    int rows, cols;
    Texts expected;
  } cases[] = {
      {MatrixAddSub(kMatrixAdd, R("A1..B2"), R("D1"), R("G1")), "G1", 2, 2, {"11", "22", "3", "4"}},
      {MatrixAddSub(kMatrixSubtract, R("A1..B2"), R("D1"), R("J1")), "J1", 2, 2, {"-9", "-18", "3", "4"}},
      {MatrixMultiply(R("A5..C6"), R("E5..F7"), R("G5")), "G5", 2, 2, {"4", "5", "10", "11"}},
      {MatrixTranspose(R("A5..C6"), R("J5")), "J5", 3, 2, {"1", "4", "2", "5", "3", "6"}},
      {MatrixDetToCell(R("A10..B11"), R("G10")), "G10", 1, 1, {"-1"}},
      {MatrixInvertSolve(kMatrixInvert, R("A13..B14"), R("G13")), "G13", 2, 2, {"0.5", "0", "0", "0.25"}},
      {MatrixInvertSolve(kMatrixSolve, R("A16..D17"), R("G16")), "G16", 2, 2, {"1", "2", "1", "2"}},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(c.ok) << c.output;
    EXPECT_EQ(Block(c.output, c.rows, c.cols), c.expected) << c.output;
  }
}

TEST_F(MatrixOpsTest, RefusalsChangeNothing) {
  PutMatrix("A1", 2, {1, 2, 2, 4});
  PutMatrix("D1", 3, {1, 2, 3, 4, 5, 6, 7, 8, 9});
  EXPECT_REFUSED(MatrixInvertSolve(kMatrixInvert, R("A1..B2"), R("G1")), kDeterminantZeroText);
  EXPECT_REFUSED(MatrixInvertSolve(kMatrixInvert, R("D1..F3"), R("G1")), kDeterminantZeroText);  // singular in rounding
  EXPECT_REFUSED(MatrixInvertSolve(kMatrixInvert, R("A1..A32"), R("G1")), kArraySizeText);
  EXPECT_REFUSED(MatrixInvertSolve(kMatrixInvert, R("A1..AD31"), R("AH1")), kArraySizeText);
  EXPECT_REFUSED(MatrixDetToCell(R("A1..A32"), R("G1")), kArraySizeText);
  EXPECT_REFUSED(MatrixTranspose(R("A1..B2"), R("B1")), kOverlapText);
  EXPECT_REFUSED(MatrixMultiply(R("A1..B2"), R("D1..E2"), R("IV8192")), kOutOfRangeText);
  EXPECT_REFUSED(MatrixAddSub(kMatrixAdd, R("A1..B2"), R("IV1"), R("G1")), kOutOfRangeText);
}

// Equations in very different units: rows of 1e-9 beside rows of 1e6 are
// not singular (Determinate shows -0.002 for the first).
TEST_F(MatrixOpsTest, RowsInDifferentUnitsAreSolved) {
  PutMatrix("A1", 2, {1e-9, 2e-9, 3e6, 4e6});
  PutMatrix("A4", 3, {1e-9, 2e-9, 5e-9, 3e6, 4e6, 1e7});  // x + 2y = 5, 3x + 4y = 10
  ASSERT_TRUE(MatrixInvertSolve(kMatrixInvert, R("A1..B2"), R("G1")));
  ASSERT_TRUE(MatrixInvertSolve(kMatrixSolve, R("A4..C5"), R("G4")));
  const struct {
    const char* cell;
    double value;
  } rows[] = {{"G1", -2e9}, {"H1", 1e-6}, {"G2", 1.5e9}, {"H2", -5e-7}, {"G4", 0}, {"G5", 2.5}};
  for (const auto& r : rows) EXPECT_NEAR(Num(r.cell), r.value, 1e-14 * std::max(1.0, std::fabs(r.value))) << r.cell;
}

// A reproducible matrix: entries in -10..10 from a linear congruential
// sequence, or the Hilbert matrix.
std::vector<double> MakeMatrix(int n, int cols, bool hilbert, unsigned seed) {
  std::vector<double> m;
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < cols; ++j) {
      seed = seed * 1103515245u + 12345u;
      m.push_back(hilbert && j < n ? 1.0 / (i + j + 1) : static_cast<int>(seed >> 16 & 0x7FFF) / 1638.35 - 10);
    }
  return m;
}

TEST_F(MatrixOpsTest, AgreesWithNumpy) {
  if (!testing::HaveNumpy()) GTEST_SKIP() << "python3-numpy is not installed: no outside reference for matrices";
  struct Case {
    const char* name;
    int n;
    bool hilbert;
    bool scaledRows;   // row i times 10^(-9 + 15 i / (n - 1)): from 1e-9 to 1e6
    double tolerance;  // largest difference relative to the largest entry of its column
  } cases[] = {{"random 5x5", 5, false, false, 1e-12},
               {"random 30x30", 30, false, false, 1e-10},
               {"Hilbert 8x8 (condition 1.5e10)", 8, true, false, 1e-5},
               {"random 6x6, rows 1e-9 to 1e6", 6, false, true, 1e-12}};
  for (const Case& c : cases) {
    CellStoreClear();
    int n = c.n;
    std::vector<double> values = MakeMatrix(n, n + 2, c.hilbert, 7u * n);
    for (int i = 0; c.scaledRows && i < n; ++i)
      for (int j = 0; j < n + 2; ++j) values[i * (n + 2) + j] *= std::pow(10.0, -9 + 15 * i / (n - 1));
    for (int i = 0; i < n; ++i)
      for (int j = 0; j < n + 2; ++j) SetCellNumber(i, j, values[i * (n + 2) + j]);
    std::string script = "n=" + std::to_string(n) +
                         "\nM=np.array(v).reshape(n,n+2);A=M[:,:n];B=M[:,n:]\n"
                         "print(np.linalg.det(A));print(*np.linalg.inv(A).ravel());"
                         "print(*np.linalg.solve(A,B).ravel());print(*(A@B).ravel())\n";
    std::optional<std::vector<double>> reference = testing::RunNumpy(script, values);
    ASSERT_TRUE(reference && reference->size() == static_cast<std::size_t>(1 + n * n + 4 * n)) << c.name;
    TRange a = BlockAt(0, 0, n, n), ab = BlockAt(0, 0, n, n + 2), b = BlockAt(0, n, n, 2);
    int out = n + 5;  // first output column
    ASSERT_TRUE(MatrixDetToCell(a, BlockAt(40, out, 1, 1)));
    ASSERT_TRUE(MatrixInvertSolve(kMatrixInvert, a, BlockAt(41, out, 1, 1)));
    ASSERT_TRUE(MatrixInvertSolve(kMatrixSolve, ab, BlockAt(80, out, 1, 1)));
    ASSERT_TRUE(MatrixMultiply(a, b, BlockAt(80, out + 3, 1, 1)));
    struct Part {
      const char* what;
      int row, col, rows, cols;
      std::size_t at;
    } parts[] = {{"det", 40, out, 1, 1, 0},
                 {"inverse", 41, out, n, n, 1},
                 {"solve", 80, out, n, 2, 1 + static_cast<std::size_t>(n) * n},
                 {"product", 80, out + 3, n, 2, 1 + static_cast<std::size_t>(n) * n + 2 * n}};
    for (const Part& p : parts) {
      double worst = 0;
      for (int j = 0; j < p.cols; ++j) {
        double largest = 0, difference = 0;
        for (int i = 0; i < p.rows; ++i) {
          double expected = (*reference)[p.at + i * p.cols + j];
          largest = std::max(largest, std::fabs(expected));
          difference = std::max(difference, std::fabs(NumberAt(p.row + i, p.col + j) - expected));
        }
        worst = std::max(worst, difference / largest);
      }
      std::printf("%-32s %-8s relative difference %.1e\n", c.name, p.what, worst);
      EXPECT_LE(worst, c.tolerance) << c.name << " " << p.what;
    }
  }
}

}  // namespace
}  // namespace corvane

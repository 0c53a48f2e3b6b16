// Curve fitting: labels, formulas and results on exact models, the fits it
// must refuse, the certified coefficients of the Longley data set (NIST StRD,
// linear least squares), polynomials of degree 5 and 10 against their exact
// least-squares solutions, and agreement with numpy's least squares.
#include "spreadsheet/data/CurveFit.h"

#include <cmath>
#include <cstdio>

#include "spreadsheet/engine/DocumentContext.h"
#include "tests/spreadsheet/data/DataTestSupport.h"

namespace corvane {
namespace {

class CurveFitTest : public testing::DataTest {
 protected:
  void SetUp() override {
    DataTest::SetUp();
    SetMasks({1, 1});
  }
  void TearDown() override {
    SetMasks({1, 1});
    DataTest::TearDown();
  }
  static void SetMasks(std::initializer_list<std::uint32_t> masks) {
    std::fill(std::begin(gFitMasks), std::end(gFitMasks), 0u);
    std::copy(masks.begin(), masks.end(), gFitMasks);
  }
  void SetRanges(std::string_view x, std::string_view y, std::string_view output) {
    TRange* ranges = gCurrentDoc.settings.dataRanges;
    ranges[kDataRangeRegressX] = R(x);
    ranges[kDataRangeRegressY] = R(y);
    ranges[kDataRangeRegressOutput] = R(output);
  }
  // Rows of x (one or more columns from A1) and y (in column E).
  void PutData(const std::vector<std::vector<double>>& xs, const std::vector<double>& ys) {
    for (std::size_t r = 0; r < ys.size(); ++r) {
      for (std::size_t k = 0; k < xs[r].size(); ++k) SetCellNumber(static_cast<int>(r), static_cast<int>(k), xs[r][k]);
      SetCellNumber(static_cast<int>(r), 4, ys[r]);
    }
  }
};

TEST_F(CurveFitTest, ExactModels) {
  struct Case {
    std::initializer_list<std::uint32_t> masks;
    std::vector<double> y;  // at x = 1..5
    std::vector<std::string> labels;
    std::vector<double> coefficients;
    const char* formula;
  } cases[] = {
      {{1, 1}, {3, 5, 7, 9, 11}, {"'Const", "'x1"}, {1, 2}, "1+2*@X"},
      {{1, 1, 1}, {2, 7, 14, 23, 34}, {"'Const", "'x1", "'x1^2"}, {-1, 2, 1}, "-1+2*@X+1*@X^2"},
      {{0, 1, 0, 1}, {0.5, 10, 37.5, 92, 182.5}, {"'x1", "'x1^3"}, {-1, 1.5}, "-1*@X+1.5*@X^3"},
      {{1, 0, 0, 0, 0, 0, 1}, {2, 1 + std::sqrt(2.0), 1 + std::sqrt(3.0), 3, 1 + std::sqrt(5.0)},
       {"'Const", "'Sqrt(x1)"}, {1, 1}, "1+1*@SQRT(@ABS(@X))"},
  };
  for (const Case& c : cases) {
    CellStoreClear();
    SetMasks(c.masks);
    PutData({{1}, {2}, {3}, {4}, {5}}, c.y);
    SetRanges("A1..A5", "E1", "G1");
    ASSERT_TRUE(DataMultiRegress()) << c.formula;
    int n = static_cast<int>(c.labels.size());
    EXPECT_EQ(Column("G1", n + 3), [&] {
      std::vector<std::string> all = c.labels;
      all.insert(all.end(), {"'Formula:", "'Result:", "'R^2"});
      return all;
    }()) << c.formula;
    for (int i = 0; i < n; ++i) EXPECT_NEAR(NumberAt(i, 7), c.coefficients[i], 1e-9) << c.formula;
    TCell* formula = CellPtr(CellFind(n, 7));
    ASSERT_TRUE(CellIsFormula(formula)) << c.formula;
    EXPECT_NEAR(NumberAt(n, 7), c.y[0], 1e-9) << "shown at the first x";
    EXPECT_NEAR(NumberAt(n + 1, 7), c.y[0], 1e-9);
    EXPECT_NEAR(NumberAt(n + 2, 7), 1, 1e-12);
  }
  // Two X columns: the formula stays a label with cell addresses.
  CellStoreClear();
  SetMasks({1, 3});
  PutData({{1, 0}, {2, 1}, {3, 5}, {4, 2}}, {1, 5, 15, 11});  // y = -1 + 2 x1 + 2 x2
  SetRanges("A1..B4", "E1", "G1");
  ASSERT_TRUE(DataMultiRegress());
  EXPECT_EQ(Column("G1", 3), (std::vector<std::string>{"'Const", "'x1", "'x2"}));
  EXPECT_NEAR(Num("H3"), 2, 1e-9);
  EXPECT_EQ(Contents("H4").substr(0, 1), "'");
  EXPECT_NE(Contents("H4").find("*A1+"), std::string::npos) << Contents("H4");
}

TEST_F(CurveFitTest, FitsItCannotMakeAreRefused) {
  PutData({{1, 1}, {2, 2}, {3, 3}, {0, 0}}, {2, 4, 7, 1});
  SetRanges("A1..A4", "E1", "G1");
  SetMasks({1, 0, 0, 0, 0, 0, 0, 1});  // ln x at x = 0
  EXPECT_REFUSED(DataMultiRegress(), kCannotRegressText);
  SetRanges("A1..B4", "E1", "G1");
  SetMasks({0, 3});  // the same column twice
  EXPECT_REFUSED(DataMultiRegress(), kCannotRegressText);
  SetMasks({});
  EXPECT_REFUSED(DataMultiRegress(), kCannotRegressText);
  SetMasks({1, 1});
  SetRanges("A1..A4", "E1", "A3");
  EXPECT_REFUSED(DataMultiRegress(), kOverlapText);
  SetRanges("A1..A4", "E8190", "G1");
  EXPECT_REFUSED(DataMultiRegress(), kOutOfRangeText);

  CellStoreClear();
  PutData({{1}, {2}, {3}}, {5, 5, 5});
  SetRanges("A1..A3", "E1", "G1");
  ASSERT_TRUE(DataMultiRegress());
  EXPECT_EQ(Contents("H5"), "0");  // R^2 of a constant Y
}

// Correct decimal digits of `value` against a certified one (at most 15).
double Digits(double value, double certified) {
  double error = std::fabs(value - certified) / std::fabs(certified);
  return error == 0 ? 15 : std::min(15.0, -std::log10(error));
}

TEST_F(CurveFitTest, LongleyCertifiedValues) {
  static const double data[16][7] = {
      {60323, 83.0, 234289, 2356, 1590, 107608, 1947},  {61122, 88.5, 259426, 2325, 1456, 108632, 1948},
      {60171, 88.2, 258054, 3682, 1616, 109773, 1949},  {61187, 89.5, 284599, 3351, 1650, 110929, 1950},
      {63221, 96.2, 328975, 2099, 3099, 112075, 1951},  {63639, 98.1, 346999, 1932, 3594, 113270, 1952},
      {64989, 99.0, 365385, 1870, 3547, 115094, 1953},  {63761, 100.0, 363112, 3578, 3350, 116219, 1954},
      {66019, 101.2, 397469, 2904, 3048, 117388, 1955}, {67857, 104.6, 419180, 2822, 2857, 118734, 1956},
      {68169, 108.4, 442769, 2936, 2798, 120445, 1957}, {66513, 110.8, 444546, 4681, 2637, 121950, 1958},
      {68655, 112.6, 482704, 3813, 2552, 123366, 1959}, {69564, 114.2, 502601, 3931, 2514, 125368, 1960},
      {69331, 115.7, 518173, 4806, 2572, 127852, 1961}, {70551, 116.9, 554894, 4007, 2827, 130081, 1962}};
  for (int r = 0; r < 16; ++r)
    for (int k = 0; k < 7; ++k) SetCellNumber(r, k, data[r][k]);  // y in A, x1..x6 in B..G
  SetRanges("B1..G16", "A1", "I1");
  SetMasks({1, 0x3F});
  ASSERT_TRUE(DataMultiRegress());
  static const double certified[] = {-3482258.63459582,     15.0618722713733,  -0.358191792925910E-01,
                                     -2.02022980381683,     -1.03322686717359, -0.511041056535807E-01,
                                     1829.15146461355};
  double fewest = 15;
  for (int i = 0; i < 7; ++i) {
    double digits = Digits(NumberAt(i, 9), certified[i]);
    std::printf("Longley %-6s %.1f digits\n", i == 0 ? "Const" : ("x" + std::to_string(i)).c_str(), digits);
    fewest = std::min(fewest, digits);
  }
  double r2 = Digits(NumberAt(9, 9), 0.995479004577296);
  std::printf("Longley R^2    %.1f digits\n", r2);
  EXPECT_GE(fewest, 10);  // numpy's least squares keeps 11.0 to 13.5
  EXPECT_GE(r2, 10);
}

// Polynomials in x = 0..20 (integer powers, so every term value is exact),
// fitted from X columns x, x^6, x^7, ..., x^10 in A..F with y in H; y is the
// polynomial with all coefficients 1 plus scale times a fixed integer noise.
// The expected values are the exact least-squares solution of these data,
// worked in rational arithmetic; numpy's double-precision least squares
// (numpy.linalg.lstsq) keeps the digits given beside them.
TEST_F(CurveFitTest, PolynomialsAgainstExactSolutions) {
  struct Case {
    int degree;
    double noiseScale;
    std::vector<double> coefficients;
    double r2;
    double minDigits;
  } cases[] = {
      // numpy: 9.0 to 14.1 digits
      {5, 0, {1, 1, 1, 1, 1, 1}, 1, 12},
      // numpy: 10.2 to 11.8 digits
      {5, 100, {-66311.487512487511, 128849.66433566433, -35232.479020979023, 3844.5139860139861,
                -186.08041958041957, 4.3461538461538458}, 0.99961367732396367, 10},
      // numpy: 2.0 to 10.8 digits (it does not scale the columns)
      {10, 0, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, 1, 7},
      // numpy: 3.0 to 9.3 digits
      {10, 1000, {-996029.72196620586, 4207773.6769560874, -3437294.2801916464, 1409238.2075791687,
                  -337608.64090146212, 50470.80133839677, -4844.7105094726066, 299.71570193190774,
                  -10.424472118596542, 1.246657902507877, 0.99770296410081361}, 1, 8},
  };
  for (const Case& c : cases) {
    CellStoreClear();
    for (int x = 0; x <= 20; ++x) {
      double power = 1, y = 0;
      for (int k = 0; k <= c.degree; ++k, power *= x) {
        y += power;
        if (k >= 6) SetCellNumber(x, k - 5, power);
      }
      SetCellNumber(x, 0, x);
      SetCellNumber(x, 7, y + c.noiseScale * ((x * 7919) % 2001 - 1000));
    }
    SetRanges(c.degree == 5 ? "A1..A21" : "A1..F21", "H1", "J1");
    SetMasks({1, c.degree == 5 ? 1u : 0x3Fu, 1, 1, 1, 1});
    ASSERT_TRUE(DataMultiRegress()) << "degree " << c.degree << " noise " << c.noiseScale;
    for (std::size_t i = 0; i < c.coefficients.size(); ++i) {
      double digits = Digits(NumberAt(static_cast<int>(i), 10), c.coefficients[i]);
      std::printf("degree %d noise %g term %zu: %.1f digits\n", c.degree, c.noiseScale, i, digits);
      EXPECT_GE(digits, c.minDigits) << "degree " << c.degree << " noise " << c.noiseScale << " term " << i;
    }
    int r2Row = static_cast<int>(c.coefficients.size()) + 2;
    EXPECT_NEAR(NumberAt(r2Row, 10), c.r2, 1e-13);
  }
}

// The expected coefficients are numpy.linalg.lstsq's on the same 40 rows.
TEST_F(CurveFitTest, AgreesWithNumpyLeastSquares) {
  // 40 rows of two X columns; a model of six terms over both.
  unsigned seed = 11;
  for (int r = 0; r < 40; ++r) {
    double x1 = 0.25 * r + 0.5, x2 = std::sin(r) * 3;
    seed = seed * 1103515245u + 12345u;
    double noise = static_cast<int>(seed >> 16 & 0x7FFF) / 32768.0 - 0.5;
    double y = 2 - 0.5 * x1 + 0.1 * x1 * x1 + std::log(x1) + 1.5 * x2 + noise;
    SetCellNumber(r, 0, x1);
    SetCellNumber(r, 1, x2);
    SetCellNumber(r, 4, y);
  }
  SetRanges("A1..B40", "E1", "G1");
  SetMasks({1, 3, 1, 0, 0, 0, 2, 1, 2});  // const, x1, x2, x1^2, sqrt|x2|, ln x1, e^x2
  ASSERT_TRUE(DataMultiRegress());
  static const double reference[] = {2.5495601806400723,  -0.794781551131022,   0.11798057175766685,
                                     1.4724613144130489,  1.4654333813490532,   -0.34349820159344158,
                                     0.01960036248691728};
  EXPECT_EQ(Column("G1", 7), (std::vector<std::string>{"'Const", "'x1", "'x1^2", "'Ln(x1)", "'x2", "'Sqrt(x2)",
                                                        "'e^x2"}));
  for (int i = 0; i < 7; ++i) {
    double expected = reference[i];
    std::printf("curve fit term %d relative difference %.1e\n", i, std::fabs(NumberAt(i, 7) - expected) / std::fabs(expected));
    EXPECT_NEAR(NumberAt(i, 7), expected, 1e-12 * std::fabs(expected)) << i;
  }
}

}  // namespace
}  // namespace corvane

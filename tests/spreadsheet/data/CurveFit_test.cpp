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

// Fits that double precision solves although they are ill-conditioned: the
// certified Wampler3 and Filip data sets (NIST StRD, linear least squares;
// Filip a polynomial of degree 10 in x, fitted here from the X columns x, x^6,
// ..., x^10), two X columns that differ by at most 1e-7, and a quadratic and
// a straight line over x far from 0, whose expected coefficients and R^2 are
// the exact least-squares solution worked in rational arithmetic. numpy's
// least squares (numpy.linalg.lstsq) keeps the digits given beside them.
TEST_F(CurveFitTest, IllConditionedFitsKeepTheirDigits) {
  static const double filipX[] = {
      -6.860120914, -4.324130045, -4.358625055, -4.358426747, -6.955852379, -6.661145254, -6.355462942,
      -6.118102026, -7.115148017, -6.815308569, -6.519993057, -6.204119983, -5.853871964, -6.109523091,
      -5.79832982, -5.482672118, -5.171791386, -4.851705903, -4.517126416, -4.143573228, -3.709075441,
      -3.499489089, -6.300769497, -5.953504836, -5.642065153, -5.031376979, -4.680685696, -4.329846955,
      -3.928486195, -8.56735134, -8.363211311, -8.107682739, -7.823908741, -7.522878745, -7.218819279,
      -6.920818754, -6.628932138, -6.323946875, -5.991399828, -8.781464495, -8.663140179, -8.473531488,
      -8.247337057, -7.971428747, -7.676129393, -7.352812702, -7.072065318, -6.774174009, -6.478861916,
      -6.159517513, -6.835647144, -6.53165267, -6.224098421, -5.910094889, -5.598599459, -5.290645224,
      -4.974284616, -4.64454848, -4.290560426, -3.885055584, -3.408378962, -3.13200249, -8.726767166, -8.66695597,
      -8.511026475, -8.165388579, -7.886056648, -7.588043762, -7.283412422, -6.995678626, -6.691862621,
      -6.392544977, -6.067374056, -6.684029655, -6.378719832, -6.065855188, -5.752272167, -5.132414673,
      -4.811352704, -4.098269308, -3.66174277, -3.2644011};
  static const double filipY[] = {
      0.8116, 0.9072, 0.9052, 0.9039, 0.8053, 0.8377, 0.8667, 0.8809, 0.7975, 0.8162, 0.8515, 0.8766, 0.8885,
      0.8859, 0.8959, 0.8913, 0.8959, 0.8971, 0.9021, 0.909, 0.9139, 0.9199, 0.8692, 0.8872, 0.89, 0.891, 0.8977,
      0.9035, 0.9078, 0.7675, 0.7705, 0.7713, 0.7736, 0.7775, 0.7841, 0.7971, 0.8329, 0.8641, 0.8804, 0.7668,
      0.7633, 0.7678, 0.7697, 0.77, 0.7749, 0.7796, 0.7897, 0.8131, 0.8498, 0.8741, 0.8061, 0.846, 0.8751, 0.8856,
      0.8919, 0.8934, 0.894, 0.8957, 0.9047, 0.9129, 0.9209, 0.9219, 0.7739, 0.7681, 0.7665, 0.7703, 0.7702,
      0.7761, 0.7809, 0.7961, 0.8253, 0.8602, 0.8809, 0.8301, 0.8664, 0.8834, 0.8898, 0.8964, 0.8963, 0.9074,
      0.9119, 0.9228};
  struct Case {
    const char* name;
    std::vector<std::vector<double>> x;  // rows of X columns
    std::vector<double> y;
    std::initializer_list<std::uint32_t> masks;
    std::vector<double> expected;
    double minDigits;
    double r2;  // certified, or exact for these data
    double minR2Digits;
  } cases[] = {
      // numpy: 9.5 to 13.9 digits
      {"Wampler3", {}, {760, -2042, 2111, -1684, 3888, 1858, 11379, 17560, 39287, 64382, 113159, 175108, 273291,
                        400186, 581243, 811568, 1121004, 1506550, 2002767, 2611612, 3369180},
       {1, 1, 1, 1, 1, 1}, {1, 1, 1, 1, 1, 1}, 14, 0.9999955590258199, 15},
      // numpy: about 7 digits
      {"Filip", {}, {}, {1, 0x3F, 1, 1, 1, 1},
       {-1467.48961422980, -2772.17959193342, -2316.37108160893, -1127.97394098372, -354.478233703349,
        -75.1242017393757, -10.8753180355343, -1.06221498588947, -0.670191154593408E-01,
        -0.246781078275479E-02, -0.402962525080404E-04},
       7, 0.996727416185620, 11},
      // numpy: 9.3 to 10.7 digits
      {"two close columns", {}, {}, {1, 3}, {1.0036296296300105, -41479.48302173111, 41484.48154024963}, 14,
       0.9999775102272732, 15},
      // x = 1e6 + i, i = 0..19, the model's condition 1.4e11; numpy: no digit
      // (it does not scale the columns)
      {"quadratic at 1e6", {}, {}, {1, 1, 1}, {9430368316.956137, -18860.76247436773, 0.009430394167236268}, 10,
       0.749913546232982, 15},
      // x = 1e9 + 0.001 i, i = 0..19, condition 3.5e11; numpy: no digit
      {"line at 1e9", {}, {}, {1, 1}, {-500300328007.4444, 500.3003280124415}, 10, 0.999976314177796, 15},
  };
  for (int i = 0; i <= 20; ++i) cases[0].x.push_back({static_cast<double>(i)});
  for (int i = 0; i < 82; ++i) {
    cases[1].x.push_back({filipX[i]});
    for (int k = 6; k <= 10; ++k) cases[1].x.back().push_back(std::pow(filipX[i], k));
    cases[1].y.push_back(filipY[i]);
  }
  for (int i = 0; i < 30; ++i) {
    double x1 = 1 + 0.1 * i, x2 = x1 + 1e-7 * ((i * 7) % 3 - 1);
    cases[2].x.push_back({x1, x2});
    cases[2].y.push_back(1 + 2 * x1 + 3 * x2 + 0.01 * ((i * 13) % 7 - 3));
  }
  for (int i = 0; i < 20; ++i) {
    int noise = (i * 7) % 5 - 2;
    cases[3].x.push_back({1e6 + i});
    cases[3].y.push_back(10 + 0.01 * i * i + 0.5 * noise);
    cases[4].x.push_back({1e9 + 0.001 * i});
    cases[4].y.push_back(5 + 0.5 * i + 0.01 * noise);
  }
  for (const Case& c : cases) {
    CellStoreClear();
    for (std::size_t r = 0; r < c.y.size(); ++r) {
      for (std::size_t k = 0; k < c.x[r].size(); ++k) SetCellNumber(static_cast<int>(r), static_cast<int>(k), c.x[r][k]);
      SetCellNumber(static_cast<int>(r), 8, c.y[r]);
    }
    int rows = static_cast<int>(c.y.size()), cols = static_cast<int>(c.x[0].size());
    SetRanges("A1.." + std::string(1, static_cast<char>('A' + cols - 1)) + std::to_string(rows), "I1", "K1");
    SetMasks(c.masks);
    ASSERT_TRUE(DataMultiRegress()) << c.name;
    double fewest = 15;
    for (std::size_t i = 0; i < c.expected.size(); ++i)
      fewest = std::min(fewest, Digits(NumberAt(static_cast<int>(i), 11), c.expected[i]));
    double r2 = Digits(NumberAt(static_cast<int>(c.expected.size()) + 2, 11), c.r2);
    std::printf("%s: at least %.1f digits, R^2 %.1f digits\n", c.name, fewest, r2);
    EXPECT_GE(fewest, c.minDigits) << c.name;
    EXPECT_GE(r2, c.minR2Digits) << c.name;
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

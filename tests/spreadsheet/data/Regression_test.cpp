// The straight-line fit: the statistics block on small exact cases, the
// certified results of the Norris data set (NIST StRD, linear least squares),
// and refusals.
#include "spreadsheet/data/Regression.h"

#include <cmath>
#include <cstdio>

#include "tests/spreadsheet/data/DataTestSupport.h"

namespace corvane {
namespace {

using RegressionTest = testing::DataTest;

// Correct decimal digits of `value` against a certified one (at most 15).
double Digits(double value, double certified) {
  double error = std::fabs(value - certified) / std::fabs(certified);
  return error == 0 ? 15 : std::min(15.0, -std::log10(error));
}

TEST_F(RegressionTest, BlockAndFormulaOnExactLines) {
  struct Case {
    std::vector<double> x, y;
    double intercept, slope, r2, regErr;
    const char* formula;
  } cases[] = {
      {{1, 2, 3}, {3, 5, 7}, 1, 2, 1, 0, "+1+2*@X"},
      {{1, 2, 4}, {2, 4, 8}, 0, 2, 1, 0, "+2*@X"},
      {{1, 2}, {5, 1}, 9, -4, 1, 0, "+9+-4*@X"},
      {{1, 2, 3}, {4, 4, 4}, 4, 0, 0, 0, "+4+0*@X"},  // constant y: R^2 written as 0
  };
  for (const Case& c : cases) {
    CellStoreClear();
    for (std::size_t i = 0; i < c.x.size(); ++i) {
      SetCellNumber(static_cast<int>(i), 0, c.x[i]);
      SetCellNumber(static_cast<int>(i), 1, c.y[i]);
    }
    std::string rows = std::to_string(c.x.size());
    ASSERT_TRUE(DataRegress(R("A1..A" + rows), R("B1"), R("D1"))) << c.formula;
    EXPECT_EQ(Column("D1", 12), (std::vector<std::string>{"'Intercept", "'Slope", "'R^2", "'Sum x^2", "'Sum y^2",
                                                           "'Sum x*y", "'Count", "'Sigma x^2", "'Sigma y^2",
                                                           "'RegErr", "'SlopeErr", "'Formula:"}));
    EXPECT_NEAR(Num("E1"), c.intercept, 1e-12);
    EXPECT_NEAR(Num("E2"), c.slope, 1e-12);
    EXPECT_NEAR(Num("E3"), c.r2, 1e-12);
    EXPECT_EQ(Num("E7"), static_cast<double>(c.x.size()));
    EXPECT_NEAR(Num("E10"), c.regErr, 1e-7);
    EXPECT_EQ(Contents("E12"), std::string(c.formula).substr(1)) << "entered as a formula in @X";
  }
}

TEST_F(RegressionTest, PairsNeedBothCellsAndLabelsCountAsZero) {
  PutMatrix("A1", 2, {1, 1, 2, 3});
  Put("A3", "3");   // its Y cell B3 is missing: not counted
  Put("A4", "4");
  Put("B4", "n/a");  // a label counts as 0
  ASSERT_TRUE(DataRegress(R("A1..A4"), R("B1"), R("D1")));
  EXPECT_EQ(Num("E7"), 3);
  EXPECT_NEAR(Num("E4"), 1 + 4 + 16, 1e-12);
}

TEST_F(RegressionTest, NorrisCertifiedValues) {
  static const double x[] = {0.2,   337.4, 118.2, 884.6, 10.1,  226.5, 666.3, 996.3, 448.6, 777.0, 558.2, 0.4,
                             0.6,   775.5, 666.9, 338.0, 447.5, 11.6,  556.0, 228.1, 995.8, 887.6, 120.2, 0.3,
                             0.3,   556.8, 339.1, 887.2, 999.0, 779.0, 11.1,  118.3, 229.2, 669.1, 448.9, 0.5};
  static const double y[] = {0.1,   338.8, 118.1, 888.0, 9.2,   228.1, 668.5, 998.5, 449.1, 778.9, 559.2, 0.3,
                             0.1,   778.1, 668.8, 339.3, 448.9, 10.8,  557.7, 228.3, 998.0, 888.8, 119.6, 0.3,
                             0.6,   557.6, 339.3, 888.0, 998.5, 778.9, 10.2,  117.6, 228.9, 668.4, 449.2, 0.2};
  for (int i = 0; i < 36; ++i) {
    SetCellNumber(i, 0, x[i]);
    SetCellNumber(i, 1, y[i]);
  }
  ASSERT_TRUE(DataRegress(R("A1..A36"), R("B1..B36"), R("D1")));
  const struct {
    const char* name;
    const char* cell;
    double certified;
  } rows[] = {{"intercept", "E1", -0.262323073774029},
              {"slope", "E2", 1.00211681802045},
              {"R^2", "E3", 0.999993745883712},
              {"residual SD", "E10", 0.884796396144373},
              {"slope SD", "E11", 0.429796848199937E-03}};
  for (const auto& row : rows) {
    double digits = Digits(Num(row.cell), row.certified);
    std::printf("Norris %-12s %.1f digits\n", row.name, digits);
    EXPECT_GE(digits, 12) << row.name;
  }
}

// x far from zero with a small spread: 1e9 + 0.001 i. The expected values
// are the exact least-squares results for these doubles, worked in rational
// arithmetic.
TEST_F(RegressionTest, LargeOffsetInX) {
  for (int i = 0; i < 20; ++i) {
    SetCellNumber(i, 0, 1e9 + 0.001 * i);
    SetCellNumber(i, 1, 1 + 0.0005 * i + 0.0001 * ((7 * i) % 5 - 2));
  }
  ASSERT_TRUE(DataRegress(R("A1..A20"), R("B1..B20"), R("D1")));
  const struct {
    const char* name;
    const char* cell;
    double exact;
    double minDigits;
  } rows[] = {{"intercept", "E1", -503007054.53951674631, 13},
              {"slope", "E2", 0.50300705553948817785, 14},
              {"R^2", "E3", 0.99766372629476590272, 14},
              {"residual SD", "E10", 0.00014795129836607479031, 13},
              {"slope SD", "E11", 0.0057373004522894542397, 13}};
  for (const auto& row : rows) {
    double digits = Digits(Num(row.cell), row.exact);
    std::printf("offset x %-12s %.1f digits\n", row.name, digits);
    EXPECT_GE(digits, row.minDigits) << row.name;
  }
}

TEST_F(RegressionTest, RefusalsChangeNothing) {
  PutMatrix("A1", 2, {1, 1, 1, 2, 1, 3});
  EXPECT_REFUSED(DataRegress(R("A1..A3"), R("B1"), R("D1")), kCalcErrorText);
  Put("A2", "2");
  EXPECT_REFUSED(DataRegress(R("A1..A3"), R("B1"), R("B2")), kOverlapText);
  EXPECT_REFUSED(DataRegress(R("A1..A3"), R("B1"), R("A8185")), kOutOfRangeText);
  EXPECT_REFUSED(DataRegress(R("A1..A3"), R("B8191"), R("D1")), kOutOfRangeText);
  EXPECT_FALSE(DataRegress(R("A10..A12"), R("B10"), R("D1")));  // no pairs: nothing written
  EXPECT_EQ(Contents("D1"), "");
}

}  // namespace
}  // namespace corvane

// The financial functions. Reference values are the closed forms worked by
// hand (a two-period loan of 1000 at 10 % pays 121 / 0.21 = 576.19...), or
// the published payment on a 30-year 6 % loan of 100000 (599.55 a month).
#include "tests/spreadsheet/engine/FunctionTestSupport.h"

namespace corvane {
namespace {

using testing::Err;
using testing::FunctionTest;

TEST_F(FunctionTest, AnnuitiesRatesAndTerms) {
  CheckRows({
      {"@PMT(1000,0.1,2)", 576.1904761904762},
      {"@PMT(100000,0.005,360)", 599.5505251527569, nullptr, 1e-10},
      {"@PV(100,0.1,2)", 173.55371900826447},
      {"@FV(100,0.1,2)", 210},
      {"@RATE(200,100,10)", 0.07177346253629313},  // 2^(1/10) - 1
      {"@TERM(100,0.1,210)", 2},                   // ln 1.21 / ln 1.1
      {"@CTERM(0.1,121,100)", 2},
      // Degenerate inputs divide by zero or take the logarithm of 0: ERR.
      Err("@PMT(1000,0,12)"),
      Err("@PV(100,0,5)"),
      Err("@FV(100,0,5)"),
      Err("@PMT(1000,0.1,0)"),
      Err("@RATE(200,0,10)"),
      Err("@RATE(200,100,0)"),
      Err("@RATE(-200,100,2.5)"),
      Err("@TERM(100,0,210)"),
      Err("@TERM(0,0.1,210)"),
      Err("@TERM(100,-1,210)"),
      Err("@CTERM(0,200,100)"),
      Err("@CTERM(0.1,200,0)"),
      Err("@CTERM(0.1,-200,100)"),
  });
}

TEST_F(FunctionTest, Depreciation) {
  CheckRows({
      {"@SLN(1000,100,9)", 100},
      Err("@SLN(1000,100,0)"),
      {"@SYD(1000,100,9,1)", 180},
      {"@SYD(1000,100,9,9)", 20},
      Err("@SYD(1000,100,0,1)"),
      Err("@SYD(1000,100,-1,1)"),
      // Book values 1000, 600, 360, 216, 129.6: the last period stops at salvage.
      {"@DDB(1000,100,5,1)", 400},
      {"@DDB(1000,100,5,2)", 240},
      {"@DDB(1000,100,5,3)", 144},
      {"@DDB(1000,100,5,4)", 86.4},
      {"@DDB(1000,100,5,5)", 29.6},
      {"@DDB(1000,100,5,4.9)", 86.4},
      Err("@DDB(1000,100,5,6)"),
      Err("@DDB(1000,100,5,0)"),
      Err("@DDB(1000,100,0,1)"),
      Err("@DDB(1,0,1E+9,1E+9)"),
  });
}

TEST_F(FunctionTest, LoanBalanceInterestAndPaymentInAdvance) {
  CheckRows({
      {"@BAL(1000,0.1,2,1)", 523.8095238095239},  // 1100 - 576.19
      {"@BAL(1000,0.1,2,0)", 1000},
      {"@BAL(1000,0.1,2,2)", 0},
      Err("@BAL(1000,0.1,2,3)"),
      Err("@BAL(1000,0.1,2,-1)"),
      Err("@BAL(1000,0,2,1)"),
      {"@ACI(1000,0.1,2,1)", 100},  // the first period's interest
      {"@ACI(1000,0.1,2,2)", 152.38095238095238},
      Err("@ACI(1000,0.1,2,3)"),
      {"@PMTP(1000,0.1,2,0)", 523.8095238095238},   // P + P / 1.1 = 1000
      {"@PMTP(1000,0.1,2,121)", 471.42857142857144}, // P + P / 1.1 + 121 / 1.21 = 1000
      Err("@PMTP(1000,-1,2,0)"),
      Err("@PMTP(1000,0,2,0)"),
  });
}

TEST_F(FunctionTest, NetPresentValueAndInternalRate) {
  Enter(0, 0, "100");
  Enter(1, 0, "200");
  Enter(2, 0, "300");
  Enter(0, 1, "100");
  Enter(1, 1, "text");  // counts a period, adds nothing
  Enter(2, 1, "300");
  Enter(0, 2, "-1000");
  Enter(1, 2, "600");
  Enter(2, 2, "600");
  Enter(0, 3, "1");
  Enter(1, 3, "@ERR");
  Enter(0, 4, "100");  // E2 is left empty
  Enter(2, 4, "300");
  CheckRows({
      {"@NPV(0.1,A1..A3)", 481.59278737791135},  // 100/1.1 + 200/1.21 + 300/1.331
      {"@NPV(0.1,B1..B3)", 316.30353117956423},  // 100/1.1 + 300/1.331
      {"@NPV(0,A1..A3)", 600},
      // The formula's range links make E2 a blank cell, which counts a period.
      {"@NPV(0.1,E1..E3)", 100 / 1.1 + 300 / 1.331},
      Err("@NPV(-1,A1..A3)"),
      Err("@NPV(0.1,D1..D2)"),
      Err("@NPV(0.1,5)"),
      Err("@NPV(0.1,A1*2)"),  // an expression is no range, even when it starts with one
      // 1000 = 600 x + 600 x^2 with x = 1 / (1 + r): r = 0.130662386...
      {"@IRR(0.2,C1..C3)", 0.1306623862918075, nullptr, 1e-6},
      {"@IRR(0.05,C1..C3)", 0.1306623862918075, nullptr, 1e-6},
      Err("@IRR(0,C1..C3)"),
      Err("@IRR(0.1,D1..D2)"),
  });
}

}  // namespace
}  // namespace corvane

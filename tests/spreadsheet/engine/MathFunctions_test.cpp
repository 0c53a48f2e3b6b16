// The mathematical functions and powers, as a user entering them sees them.
// Reference values are closed forms (ln(1 + sqrt 2) for ASINH(1) and so on)
// or worked by hand.
#include "tests/spreadsheet/engine/FunctionTestSupport.h"

namespace corvane {
namespace {

using testing::Err;
using testing::FunctionTest;
using testing::Text;

constexpr double kPi = 3.141592653589793;

TEST_F(FunctionTest, MathFunctionsGiveTheirValues) {
  CheckRows({
      {"@ABS(-3.5)", 3.5},        {"@INT(-2.7)", -2},          {"@INT(2.7)", 2},
      {"@SQRT(16)", 4},           Err("@SQRT(-4)"),            {"@LOG(1000)", 3},
      Err("@LOG(0)"),             {"@LN(1)", 0},               Err("@LN(-1)"),
      {"@PI", kPi},               {"@SIN(@PI/6)", 0.5},        {"@COS(0)", 1},
      {"@TAN(@PI/4)", 1},         {"@ATAN(1)", kPi / 4},       {"@ASIN(1)", kPi / 2},
      {"@ASIN(-1)", -kPi / 2},    {"@ASIN(0.5)", kPi / 6},     Err("@ASIN(1.01)"),
      {"@ACOS(0.5)", kPi / 3},    Err("@ACOS(2)"),             {"@EXP(1)", 2.718281828459045},
      Err("@EXP(1000)"),          {"@MOD(7,3)", 1},            {"@MOD(-7,3)", -1},
      {"@MOD(7.5,2)", 1.5},       Err("@MOD(5,0)"),            {"@CSC(@PI/2)", 1},
      {"@SEC(0)", 1},             {"@CTN(@PI/4)", 1},          Err("@CSC(0)"),
      Err("@CTN(0)"),             {"@RGB(1,2,3)", 197121},     {"@LOGB(8,2)", 3},
      Err("@LOGB(8,1)"),          Err("@LOGB(0,2)"),           {"@GAMMALN(5)", 3.1780538303479458, nullptr, 1e-9},
      Err("@GAMMALN(0)"),
      // An exact power of ten has the exact integer as its logarithm.
      {"@LOG(100)", 2, nullptr, 0}, {"@LOG(1E22)", 22, nullptr, 0}, {"@LOG(0.001)", -3, nullptr, 0},
      {"@LOG(1E-300)", -300, nullptr, 0}, {"@LOG(1E308)", 308, nullptr, 0}, {"@LOG(2)", 0.30102999566398120},
  });
}

TEST_F(FunctionTest, HyperbolicFunctionsStayFiniteOrErr) {
  CheckRows({
      {"@COSH(0)", 1},
      {"@COSH(1)", 1.5430806348152437},
      {"@SINH(1)", 1.1752011936438014},
      {"@TANH(0.5)", 0.46211715726000974},
      Err("@COSH(700)"),
      Err("@SINH(-700)"),
      {"@TANH(800)", 1},  // sinh / cosh tends to 1, it does not overflow
      {"@ASINH(1)", 0.881373587019543},           // ln(1 + sqrt 2)
      {"@ASINH(-1E+10)", -23.718998110500402},     // -ln(2e10): no cancellation to ln 0
      {"@ACOSH(1)", 0},
      {"@ACOSH(2)", 1.3169578969248166},           // ln(2 + sqrt 3)
      {"@ACOSH(1E+200)", 461.2101657793691},       // ln(2e200): x^2 does not overflow
      Err("@ACOSH(0.5)"),
      {"@ATANH(0.5)", 0.5493061443340549},         // ln(3) / 2
      Err("@ATANH(1)"),
      Err("@ATANH(-1)"),
  });
}

TEST_F(FunctionTest, RoundingFunctions) {
  CheckRows({
      {"@ROUND(2.5,0)", 3},        {"@ROUND(-2.5,0)", -3},       {"@ROUND(1.2345,2)", 1.23},
      {"@ROUND(1.235,2)", 1.24},   {"@ROUND(1234.5,-2)", 1200},  {"@ROUND(1250,-2)", 1300},
      {"@ROUND(-1250,-2)", -1300}, {"@ROUND(7,0)", 7},           Err("@ROUND(1,400)"),
      {"@CEIL(1.21,1)", 1.3},      {"@CEIL(-1.21,1)", -1.3},     {"@CEIL(1.2,1)", 1.2},
      {"@CEIL(1201,-2)", 1300},    {"@FLOOR(1.29,1)", 1.2},      {"@FLOOR(-1.29,1)", -1.2},
      {"@FLOOR(1299,-2)", 1200},   {"@FLOOR(5,0)", 5},
  });
  FunctionSettings().halfUpRounding = true;
  CheckRows({{"@ROUND(-2.5,0)", -2}, {"@ROUND(2.5,0)", 3}, {"@ROUND(-2.6,0)", -3}});
}

TEST_F(FunctionTest, FactorialsCombinationsAndPowers) {
  CheckRows({
      {"@FACT(0)", 1},
      {"@FACT(5)", 120},
      {"@FACT(3.9)", 6},
      {"@FACT(170)", 7.257415615307999e306, nullptr, 1e-13},
      Err("@FACT(171)"),
      Err("@FACT(-1)"),
      {"3!", 6},
      {"@COMB(5,2)", 10},
      {"@COMB(5,0)", 1},
      Err("@COMB(2,5)"),
      {"@COMB(200,2)", 19900},  // 200! itself is beyond a double
      {"@COMB(1000,997)", 166167000},
      Err("@COMB(2000,1000)"),
      Err("@COMB(-1,0)"),
      {"@PERM(200,2)", 39800},
      {"@PERM(5,0)", 1},
      Err("@PERM(2,3)"),
      Err("@PERM(400,400)"),
      {"@PERM(5,2)", 20},
      // Powers: huge whole exponents overflow to ERR rather than wrapping.
      {"0^0", 0},
      Err("0^-1"),
      {"2^-2", 0.25},
      {"(-2)^3", -8},
      Err("(-8)^(1/3)"),
      {"2^(1+1)", 4},
      {"8^(1/3)", 2},
      {"2^1023", 8.98846567431158e307},
      Err("2^1024"),
      Err("2^1E+10"),
      {"1^1E+10", 1},
      {"0.5^1E+10", 0},
      // The reciprocal of a power past 1e300 is an ordinary double.
      {"2^-1000*2^1000", 1},
      {"10^-308*1E+308", 1},
      {"0.5^-1000", 1.0715086071862673e+301},
      {"(-1)^1E+10", 1},
  });
}

TEST_F(FunctionTest, HexadecimalTexts) {
  CheckRows({
      Text("@HEX(255)", "FF"),   Text("@HEX(65535)", "FFFF"), Text("@HEX(0)", "0"),
      Text("@HEX(10.6)", "B"),   Err("@HEX(65536)"),          Err("@HEX(-1)"),
      {"@DEC(\"FF\")", 255},     {"@DEC(\"$ff\")", 255},      {"@DEC(\"FFFFFFFF\")", 4294967295.0},
      {"@DEC(@HEX(4660))", 4660}, Err("@DEC(\"123456789\")"), Err("@DEC(\"G1\")"),
      Err("@DEC(\"\")"),         Err("@DEC(\"$\")"),
  });
}

}  // namespace
}  // namespace corvane

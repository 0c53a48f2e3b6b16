// The range, lookup, special, matrix and iterative function families, one
// table per family: each row is a formula entered into a cell of a prepared
// sheet and the value, text or ERR the cell then shows. Reference values come
// from closed forms, hand work or published tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/Evaluator.h"
#include "spreadsheet/engine/FormulaTables.h"
#include "tests/spreadsheet/engine/EngineTestSupport.h"

namespace corvane {
namespace {

using testing::EngineTest;

constexpr double kErr = std::numeric_limits<double>::quiet_NaN();

// A formula and what its cell shows: a text when `text` is set, else ERR when
// the value is kErr, else a number (within `tolerance`, relative to the larger
// of 1 and the value).
struct TFormulaRow {
  const char* formula;
  double value;
  const char* text = nullptr;
  double tolerance = 1e-9;
};

class RangeFunctionsTest : public EngineTest {
 protected:
  static constexpr int kResultRow = 8000;

  void SetUp() override {
    EngineTest::SetUp();
    OpenCurrent("C:\\SHEET.WKS");
  }

  // Enters `text` at a cell given as column letter and row number ("B3").
  void Put(const char* address, const char* text) {
    const int col = address[0] - 'A';
    const int row = std::atoi(address + 1) - 1;
    ASSERT_TRUE(EnterCell(text, row, col)) << address << " " << text;
  }

  void ExpectRows(std::initializer_list<TFormulaRow> rows) {
    for (const TFormulaRow& row : rows) ExpectRow(row);
  }

  void ExpectRow(const TFormulaRow& row) {
    ClearErrorFlag();
    ASSERT_TRUE(EnterCell(row.formula, kResultRow, 0)) << row.formula;
    const TCell* cell = CellPtr(CellFind(kResultRow, 0));
    ASSERT_NE(cell, nullptr) << row.formula;
    const bool isErr = (cell->kind & kKindErrorBit) != 0;
    if (!row.text && std::isnan(row.value)) {
      EXPECT_TRUE(isErr) << row.formula << " gave " << CellReal(*cell);
      return;
    }
    ASSERT_FALSE(isErr) << row.formula;
    if (row.text) {
      ASSERT_EQ(CellKind(*cell), kKindStringFormula) << row.formula;
      EXPECT_EQ(PoolStringView(CellResultText(*cell)), row.text) << row.formula;
      return;
    }
    ASSERT_EQ(CellKind(*cell), kKindNumberFormula) << row.formula;
    const double got = CellReal(*cell);
    EXPECT_NEAR(got, row.value, row.tolerance * std::max(1.0, std::fabs(row.value))) << row.formula;
  }
};

// ---- Statistics -------------------------------------------------------------------------

TEST_F(RangeFunctionsTest, StatisticsAndListFunctions) {
  // A1..A5: 1 2 3 4 10 (mean 4, squared deviations 50, cubes 180, fourth powers 1394).
  for (const char* cell : {"A1", "A2", "A3", "A4", "A5"}) Put(cell, cell[1] == '5' ? "10" : cell + 1);
  Put("B1", "5");
  Put("B2", "abc");          // B3 stays missing
  CellGetOrCreate(3, 1);     // B4: a blank cell
  Put("B5", "@ERR");
  Put("C1", "x");
  Put("C2", "y");
  for (const char* cell : {"D1", "D2", "D3"}) Put(cell, "7");
  const double s = std::sqrt(12.5);  // sample deviation of A1..A5
  ExpectRows({
      {"@SUM(A1..A5)", 20},
      {"@SUM(B1..B4)", 5},  // number, label, missing and blank: only the number
      {"@SUM(B1..B5)", kErr},
      {"@SUM(A1..A5,100)", 120},
      {"@SUM(A5..A1)", 20},     // corners in either order
      {"@SUM(A1*2)", 2},        // an expression starting with a reference is a value
      {"@SUM((A1..A2),A3)", 6},
      {"@SUM(A1,@ERR)", kErr},
      {"@COUNT(A1..A5,B1..B4)", 6},
      {"@AVG(A1..A5)", 4},
      {"@AVG(C1..C2)", kErr},   // no numbers
      {"@MIN(C1..C2)", 0},
      {"@MAX(C1..C2)", 0},
      {"@MIN(A1..A5,-3)", -3},
      {"@MAX(A1..A5)", 10},
      {"@VAR(A1..A5)", 10},
      {"@STD(A1..A5)", std::sqrt(10.0)},
      {"@VARU(A1..A5)", 12.5},
      {"@STDU(A1..A5)", s},
      {"@VARU(5)", kErr},       // one value: division by zero
      {"@COUNTA(B1..B5)", 2},   // blank, missing and ERR cells do not count
      // A lone reference to a cell holding ERR names a range: the ERR it
      // pushed is not an argument of the function.
      {"@COUNTA(B5)", 0},
      {"@CELL(\"typ\",B5)", kKindNumberFormula},
      {"@CELL(\"address\",B5)", 0, "B5"},
      {"@MEDIAN(A1..A5)", 3},
      {"@MEDIAN(A1..A4)", 2.5},
      {"@MEDIAN(A1..A6)", 2.5},  // the missing A6 counts as 0
      {"@MEDIAN(D1..D3)", 7},
      {"@AVEDEV(A1..A5)", 2.4},
      {"@AVEDEV(D1..D3)", kErr},  // no spread
      {"@SKEW(A1..A5)", 180.0 / (5 * s * s * s)},
      {"@KURT(A1..A5)", 1394.0 / (5 * 12.5 * 12.5) - 3},
      {"@COV(A1..A5)", s / 4},
      {"@PSUM(A1..A3,A2..A4)", 1 * 2 + 2 * 3 + 3 * 4},
      {"@PSUM(A1..A3,A1..B2)", kErr},
      {"@MEDIAN(A1+1)", kErr},  // not a range
  });
}

// ---- Lookup and database ----------------------------------------------------------------

TEST_F(RangeFunctionsTest, LookupAndDatabaseFunctions) {
  // E1..G4: keys 10 20 30 40, values 100..400, labels a..d.
  const char* keys[] = {"10", "20", "30", "40"};
  const char* values[] = {"100", "200", "300", "400"};
  const char* labels[] = {"a", "b", "c", "d"};
  for (int k = 0; k < 4; ++k) {
    ASSERT_TRUE(EnterCell(keys[k], k, 4));
    ASSERT_TRUE(EnterCell(values[k], k, 5));
    ASSERT_TRUE(EnterCell(labels[k], k, 6));
  }
  // E10..H11: keys 1..4 across, values 5..8 below.
  for (int k = 0; k < 4; ++k) {
    ASSERT_TRUE(EnterCell(std::to_string(k + 1), 9, 4 + k));
    ASSERT_TRUE(EnterCell(std::to_string(k + 5), 10, 4 + k));
  }
  // E13..G14: keys 1, a label, 3 across; values 10, 20, 30 below.
  Put("E13", "1");
  Put("F13", "gap");
  Put("G13", "3");
  Put("E14", "10");
  Put("F14", "20");
  Put("G14", "30");
  // J1..L3: x headings 1, 2; y headings 10, 20; values 100 200 / 300 400.
  Put("K1", "1");
  Put("L1", "2");
  Put("J2", "10");
  Put("J3", "20");
  Put("K2", "100");
  Put("L2", "200");
  Put("K3", "300");
  Put("L3", "400");
  Put("A20", "'@X>15");
  windows.cursorRow = 4;
  windows.cursorCol = 2;
  windows.columnSizes[5] = 12;  // column F: 12 characters
  ExpectRows({
      {"@VTABLE(5,E1..G4,1)", kErr},   // below the first key
      {"@VTABLE(10,E1..G4,1)", 100},
      {"@VTABLE(25,E1..G4,1)", 200},
      {"@VTABLE(99,E1..G4,1)", 400},   // above the last key: the last row
      {"@VTABLE(20,E1..G4,2)", 0, "b"},
      {"@VTABLE(20,E1..G4,3)", kErr},  // offset beyond the range
      {"@VTABLE(20,E1..G4,-1)", kErr},
      {"@VTERP(25,E1..F4,1)", 250},
      {"@VTERP(40,E1..F4,1)", 400},
      {"@VTERP(45,E1..F4,1)", kErr},   // beyond the last key without equalling it
      {"@HTABLE(2.5,E10..H11,1)", 6},
      {"@HTABLE(0.5,E10..H11,1)", kErr},
      {"@HTABLE(9,E10..H11,1)", 8},
      {"@HTERP(2.5,E10..H11,1)", 6.5},
      {"@HTABLE(2,E13..G14,1)", 10},   // the label column is passed over
      {"@HTERP(2,E13..G14,1)", 20},    // between keys 1 and 3: y2 is the 3's, not the label's
      {"@HTABLE(2,E10..H11,2)", kErr},
      {"@XYTERP(J1..L3,1.5,15)", 250},
      {"@XYTERP(J1..L3,2,20)", 400},
      {"@XYTERP(J1..L3,0.5,15)", kErr},  // below the first heading
      {"@INDEX(E1..G4,2,3)", 300},
      {"@INDEX(E1..G4,3,1)", 0, "a"},
      {"@INDEX(E1..G4,4,1)", kErr},     // outside the range
      {"@INDEX(E1..G4,1,0)", kErr},
      {"@INDEX(E1..G4,1,1E+10)", 10},  // whole numbers beyond 32 bits count as 1
      {"@COLS(E1..G4)", 3},
      {"@ROWS(E1..G4)", 4},
      {"@COLS(E1)", 1},
      {"@S(G1)", 0, "a"},
      {"@S(E1)", 0, ""},
      {"@N(E1)", 10},
      {"@N(G1)", 0},
      {"@CELL(\"row\",F3)", 3},
      {"@CELL(\"col\",F3)", 6},
      {"@CELL(\"address\",F3..G4)", 0, "F3"},
      {"@CELL(\"typ\",G1)", kKindLabel},
      {"@CELL(\"contents\",F1)", 0, "100"},
      {"@CELL(\"prefix\",G1)", 0, "'"},
      {"@CELL(\"width\",F3)", 12},
      {"@CELL(\"dro\",F3)", 0, "dro"},  // straddles "ADD" and "ROW": no code
      {"@CELL(\"owc\",F3)", 0, "owc"},
      {"@CELL(\"ro\",F3)", 0, "ro"},
      {"@CELLPT(\"row\")", 5},
      {"@CELLPT(\"COL\")", 3},
      {"@CELLPT(\"ddr\")", 0, "ddr"},
      {"@CASE(2,10,\"x\",30)", 0, "x"},
      {"@CASE(3.9,10,20,30)", 30},
      {"@CASE(4,10,20,30)", kErr},
      {"@CASE(0,10,20)", kErr},
      {"@CASE(1,10,@ERR)", 10},
      {"@@(\"f2\")", 200},
      {"@@(\"$G$3\")", 0, "c"},
      {"@@(\"zz\")", kErr},
      {"@QSUM(\"@X>15\",E1..E4,1)", 900},
      {"@QCOUNT(A20,E1..E4,1)", 3},
      {"@QAVG(\"@X>15\",E1..E4,1)", 300},
      {"@QMIN(\"@X>15\",E1..E4,1)", 200},
      {"@QMAX(\"@X>15\",E1..E4,1)", 400},
      {"@QVAR(\"@X>15\",E1..E4,1)", 20000.0 / 3},
      {"@QSTD(\"@X>15\",E1..E4,1)", std::sqrt(20000.0 / 3)},
      {"@QCOUNT(\"@X>100\",E1..E4,1)", 0},
      {"@QAVG(\"@X>100\",E1..E4,1)", kErr},
      {"@QSUM(\"@X>\",E1..E4,1)", kErr},     // criteria that do not compile
      {"@QSUM(\"@X>15\",E1..E4,300)", kErr},  // offset beyond the sheet
      {"@QSUM(\"1/0\",E1..E4,1)", kErr},
  });
}

// ---- Special functions ------------------------------------------------------------------

TEST_F(RangeFunctionsTest, SpecialFunctions) {
  const double kSeries = 1e-6;  // series and continued fractions stop at 3e-7
  const double kApprox = 1e-7;  // the Bessel approximations' own accuracy
  const double pi = 3.14159265358979323846;
  ExpectRows({
      // Error function (tables of erf).
      {"@ERF(0)", 0},
      {"@ERF(0.5)", 0.5204998778, nullptr, kSeries},
      {"@ERF(1)", 0.8427007929, nullptr, kSeries},
      {"@ERF(-1)", -0.8427007929, nullptr, kSeries},
      {"@ERF(3)", 0.9999779095, nullptr, kSeries},
      // Bessel functions (tables of J, Y, I and K at x = 1 and 10).
      {"@BESSELJ(1,0)", 0.7651976866, nullptr, kApprox},
      {"@BESSELJ(1,1)", 0.4400505857, nullptr, kApprox},
      {"@BESSELJ(1,2)", 0.1149034849, nullptr, kApprox},
      {"@BESSELJ(1,5)", 2.497577302e-4, nullptr, kApprox},
      {"@BESSELJ(10,0)", -0.2459357645, nullptr, kApprox},
      {"@BESSELJ(10,1)", 0.0434727462, nullptr, kApprox},
      {"@BESSELJ(1,-1)", -0.4400505857, nullptr, kApprox},
      {"@BESSELJ(0,2)", kErr},
      {"@BESSELJ(1,1E+9)", kErr},  // an order beyond any table: refused, not looped
      {"@BESSELY(1,0)", 0.0882569642, nullptr, kApprox},
      {"@BESSELY(1,1)", -0.7812128213, nullptr, kApprox},
      {"@BESSELY(1,2)", -1.650682607, nullptr, kApprox},
      {"@BESSELY(0,0)", kErr},
      {"@BESSELI(1,0)", 1.266065878, nullptr, kApprox},
      {"@BESSELI(1,1)", 0.565159104, nullptr, kApprox},
      {"@BESSELI(1,2)", 0.1357476698, nullptr, kApprox},
      {"@BESSELK(1,0)", 0.4210244382, nullptr, kApprox},
      {"@BESSELK(1,1)", 0.6019072302, nullptr, kApprox},
      {"@BESSELK(1,2)", 1.624838899, nullptr, kApprox},
      // Beta and incomplete beta: closed forms for whole a and b.
      {"@BETA(2,3)", 1.0 / 12},
      {"@BETA(0.5,0.5)", pi},
      {"@BETA(0,1)", kErr},
      {"@BETAI(2,3,0.4)", 6 * 0.16 * 0.36 + 4 * 0.064 * 0.6 + 0.0256, nullptr, kSeries},
      {"@BETAI(1,1,0.3)", 0.3, nullptr, kSeries},
      {"@BETAI(2,3,0)", 0},
      {"@BETAI(2,3,1.5)", kErr},
      // Incomplete gamma: P(1, x) = 1 - e^-x, P(3, x) = 1 - e^-x (1 + x + x^2/2).
      {"@GAMMAP(1,2)", 1 - std::exp(-2.0), nullptr, kSeries},
      {"@GAMMAQ(1,2)", std::exp(-2.0), nullptr, kSeries},
      {"@GAMMAP(3,5)", 1 - std::exp(-5.0) * 18.5, nullptr, kSeries},
      {"@GAMMAP(3,1)", 1 - std::exp(-1.0) * 2.5, nullptr, kSeries},
      {"@GAMMAP(2,0)", 0},
      {"@GAMMAP(0,1)", kErr},
      {"@GAMMAQ(1,-1)", kErr},
      // Normal density and Poisson probabilities.
      {"@GAUSS(0,0,1)", 1 / std::sqrt(2 * pi)},
      {"@GAUSS(1,0,2)", std::exp(-0.125) / (2 * std::sqrt(2 * pi))},
      {"@GAUSS(1,0,0)", kErr},
      {"@POISSON(2,1,3)", std::exp(-3.0) * 4.5},
      {"@POISSON(0,2,1)", std::exp(-2.0)},
      {"@POISSON(2.4,1,3)", std::exp(-3.0) * std::pow(3.0, 2.4) / 2},  // the factorial takes k rounded
      {"@POISSON(200,1,150)", std::exp(200 * std::log(150.0) - 150 - std::lgamma(201.0))},
      {"@POISSON(-1,1,1)", kErr},
      {"@POISSON(3E+9,1,1)", kErr},
  });
}

// ---- Matrices ---------------------------------------------------------------------------

TEST_F(RangeFunctionsTest, MatrixFunctions) {
  // A1..B2 [[2 1] [1 3]]; D1..E2 [[0 2] [3 1]]; A5..C7 1..9 by rows (singular);
  // G1..H2 [[0 -1] [-1 0]].
  const char* cells[][2] = {{"A1", "2"}, {"B1", "1"}, {"A2", "1"},  {"B2", "3"},  {"D1", "0"}, {"E1", "2"},
                            {"D2", "3"}, {"E2", "1"}, {"G1", "0"}, {"H1", "-1"}, {"G2", "-1"}, {"H2", "0"}};
  for (const auto& cell : cells) Put(cell[0], cell[1]);
  const char* nine[] = {"A5", "B5", "C5", "A6", "B6", "C6", "A7", "B7", "C7"};
  for (int k = 0; k < 9; ++k) Put(nine[k], std::to_string(k + 1).c_str());
  // Rows 101..140: the identity in 40 rows of a 70-column block, larger than a
  // fixed 30 by 60 work matrix; rows 201..221: a 21 by 21 identity.
  for (int k = 0; k < 40; ++k) ASSERT_TRUE(EnterCell("1", 100 + k, k));
  for (int k = 0; k < 21; ++k) ASSERT_TRUE(EnterCell("1", 200 + k, k));
  ExpectRows({
      {"@DET(A1..B2)", 5},
      {"@DET(D1..E2)", -6},  // a zero first pivot: one row exchange
      {"@DET(A5..C7)", 0},
      {"@DET(A1..B1)", kErr},
      {"@DET(A201..T220)", 1},
      {"@DET(A201..U221)", kErr},  // 21 by 21
      {"@RANK(A1..B2)", 2},
      {"@RANK(A5..C7)", 2},        // singular
      {"@RANK(G1..H2)", 2},        // pivots found by magnitude
      {"@RANK(A5..A7)", 1},
      {"@RANK(A101..BR140)", 40},
      {"@RANK(A201..U221)", 21},
      {"@TRACE(A1..B2)", 5},
      {"@TRACE(A5..C7)", 15},
      {"@TRACE(A5..C6)", kErr},    // not square
      {"@TRACE(B2)", 3},
  });
}

// ---- Iteration ---------------------------------------------------------------------------

TEST_F(RangeFunctionsTest, IterativeFunctions) {
  // x' = x/2 + 1 from 0 moves 1, 1/2, 1/4, ...: the 11th step, 1/1024, is the
  // first below 0.001, giving 2 - 1/1024.
  const double recur = 2 - 1.0 / 1024;
  // Formula texts kept as labels.
  Put("A1", "'@X/2+1");
  Put("A2", "'@RECUR(A1,0,0.001)+@X");
  Put("A3", "'@QCOUNT(A4,E1..E4,1)+@X");
  Put("A4", "'@X>15");
  for (int k = 0; k < 4; ++k) {
    ASSERT_TRUE(EnterCell(std::to_string(10 * (k + 1)), k, 4));
    ASSERT_TRUE(EnterCell(std::to_string(k), k, 5));
  }
  ExpectRows({
      {"@X", 0},
      {"@RECUR(\"@X/2+1\",0,0.001)", recur},
      {"@RECUR(\"@X+1\",0,0.5)", kErr},           // never settles: stops after 20
      {"@RECUR(\"@X/2+1\",0,1E-09)", kErr},       // would need 31 steps
      {"@RECUR(\"@X/2+1\",2,0.001)", 2},
      {"@RECUR(\"@X+\",0,1)", kErr},
      {"@RECUR(\"1/(@X-1)\",1,1)", kErr},
      {"@RECUR(5,0,1)", kErr},                    // no formula text
      {"@INTG(\"@X^2\",0,3)", 9},
      {"@INTG(\"@X^7\",0,1)", 0.125},             // exact up to degree 7
      {"@INTG(\"1/(1+@X)\",0,1)", std::log(2.0), nullptr, 1e-10},
      {"@INTG(\"@X\",1,0)", -0.5},
      {"@INTG(\"5\",0,2)", 10},
      {"@INTG(\"1/@X\",-1,1)", kErr},
      {"@INTG(A2,0,1)", recur + 0.5},             // RECUR inside INTG keeps INTG's X
      {"@INTG(A3,0,1)", 3.5},                     // and so does a database function
      {"@INTG(\"@X\",0,1)+@X", 0.5},
  });
}

// ---- Tokens without a function and the string pool ---------------------------------------------

TEST_F(RangeFunctionsTest, UnknownTokensAndStringPool) {
  ExpectRows({
      {"@REPLACE(1)", kErr},
      {"@REPLACE(\"abc\")+1", kErr},
  });
  // Tokens 187..253 carry one argument and leave it unchanged; 27 gives ERR.
  for (int token : {187, 200, 253, 27, 42, 114}) {
    std::string code(13, '\0');
    code[0] = 12;
    code[2] = static_cast<char>(kTokReal);
    const double five = 5;
    std::memcpy(&code[3], &five, 8);
    code[11] = static_cast<char>(token);
    code[12] = static_cast<char>(kTokEnd);
    std::string text;
    ClearErrorFlag();
    const double value = EvaluateFormulaCode(code, text);
    if (token >= 187) {
      EXPECT_EQ(value, 5) << token;
      EXPECT_FALSE(ErrorFlagSet()) << token;
    } else {
      EXPECT_EQ(value, -1) << token;
      EXPECT_TRUE(ErrorFlagSet()) << token;
    }
  }
  // Six texts of 200 characters on the stack at once do not fit the 1024-byte
  // pool: the formula is ERR rather than a silently emptied text.
  const std::string label(200, 'q');
  ASSERT_TRUE(EnterCell(label, 0, 0));
  ExpectRows({
      {"@CASE(1,A1,A1,A1)", 0, label.c_str()},
      {"@CASE(1,A1,A1,A1,A1,A1,A1)", kErr},
  });
}

}  // namespace
}  // namespace corvane

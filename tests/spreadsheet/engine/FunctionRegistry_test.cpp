// The function registry: every named token of the formula language has a
// handler of its own and an example that runs it and gives a value.
#include "spreadsheet/engine/FunctionRegistry.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "spreadsheet/engine/Evaluator.h"
#include "spreadsheet/engine/FormulaTables.h"
#include "spreadsheet/engine/UserFunctions.h"
#include "tests/spreadsheet/engine/FunctionTestSupport.h"

namespace corvane {
namespace {

using testing::FunctionTest;

TTokenHandler gWrapped = nullptr;
int gCalls = 0;

// Stands in for the handler under test, counting the times it runs.
void CountingHandler() {
  ++gCalls;
  gWrapped();
}

class FunctionRegistryTest : public FunctionTest {
 protected:
  void SetUp() override {
    FunctionTest::SetUp();
    InitHandlerTable();
    // A block of numbers A1..C3, a label in D1, cash flows in E1..E3, a file
    // the host knows and a user function whose body reads its argument.
    const char* cells[3][5] = {{"1", "2", "3", "abc", "-100"}, {"4", "5", "6", "", "60"}, {"7", "8", "10", "", "60"}};
    for (int row = 0; row < 3; ++row)
      for (int col = 0; col < 5; ++col) Enter(row, col, cells[row][col]);
    host.files["C:\\DATA.TXT"] = TFileFacts{10, true, 0x20};
    ASSERT_TRUE(AppendDocumentUserFunction({"TWICE", "@A(1)*2", 1}));
  }
  void TearDown() override {
    InitHandlerTable();
    FunctionTest::TearDown();
  }
};

TEST_F(FunctionRegistryTest, EveryNamedTokenHasAHandlerAndAnExampleThatRunsIt) {
  struct Row {
    int token;
    const char* example;
  } rows[] = {
      {kTokNa, "@ISNA(@NA)"},
      {kTokErr, "@ISERR(@ERR)"},
      {kTokAbs, "@ABS(-2)"},
      {kTokInt, "@INT(2.5)"},
      {kTokSqrt, "@SQRT(4)"},
      {kTokLog, "@LOG(100)"},
      {kTokLn, "@LN(2)"},
      {kTokPi, "@PI"},
      {kTokSin, "@SIN(1)"},
      {kTokCos, "@COS(1)"},
      {kTokTan, "@TAN(1)"},
      {kTokAtan, "@ATAN(1)"},
      {kTokAsin, "@ASIN(0.5)"},
      {kTokAcos, "@ACOS(0.5)"},
      {kTokExp, "@EXP(1)"},
      {kTokMod, "@MOD(7,3)"},
      {kTokCase, "@CASE(2,10,20,30)"},
      {kTokIsNa, "@ISNA(1)"},
      {kTokIsErr, "@ISERR(1)"},
      {kTokFalse, "@FALSE"},
      {kTokTrue, "@TRUE"},
      {kTokRand, "@RAND"},
      {kTokDate, "@DATE(95,1,2)"},
      {kTokToday, "@TODAY"},
      {kTokPmt, "@PMT(1000,0.1,5)"},
      {kTokPv, "@PV(100,0.1,5)"},
      {kTokFv, "@FV(100,0.1,5)"},
      {kTokIf, "@IF(1,2,3)"},
      {kTokDay, "@DAY(35000)"},
      {kTokMonth, "@MONTH(35000)"},
      {kTokYear, "@YEAR(35000)"},
      {kTokRound, "@ROUND(2.345,2)"},
      {kTokTime, "@TIME(12,30,0)"},
      {kTokHour, "@HOUR(0.5)"},
      {kTokMinute, "@MINUTE(0.5)"},
      {kTokSecond, "@SECOND(0.5)"},
      {kTokIsNum, "@ISNUM(1)"},
      {kTokIsStr, "@ISSTR(\"a\")"},
      {kTokLength, "@LENGTH(\"abc\")"},
      {kTokVal, "@VAL(\"12\")"},
      {kTokStr, "@STR(1.5,2)"},
      {kTokMid, "@MID(\"abcdef\",1,2)"},
      {kTokChr, "@CHR(65)"},
      {kTokOrd, "@ORD(\"A\")"},
      {kTokFind, "@FIND(\"c\",\"abc\",0)"},
      {kTokDateVal, "@DATEVAL(\"1/2/95\")"},
      {kTokTimeVal, "@TIMEVAL(\"12:30\")"},
      {kTokCellPt, "@CELLPT(\"ROW\")"},
      {kTokSum, "@SUM(A1..C3)"},
      {kTokAvg, "@AVG(A1..C3)"},
      {kTokCount, "@COUNT(A1..C3)"},
      {kTokMin, "@MIN(A1..C3)"},
      {kTokMax, "@MAX(A1..C3)"},
      {kTokVTable, "@VTABLE(4,A1..C3,1)"},
      {kTokNpv, "@NPV(0.1,A1..C1)"},
      {kTokVar, "@VAR(A1..C3)"},
      {kTokStd, "@STD(A1..C3)"},
      {kTokIrr, "@IRR(0.1,E1..E3)"},
      {kTokHTable, "@HTABLE(2,A1..C3,1)"},
      {kTokQSum, "@QSUM(\"@X>2\",A1..A3,1)"},
      {kTokQAvg, "@QAVG(\"@X>2\",A1..A3,1)"},
      {kTokQCount, "@QCOUNT(\"@X>2\",A1..A3,1)"},
      {kTokQMin, "@QMIN(\"@X>2\",A1..A3,1)"},
      {kTokQMax, "@QMAX(\"@X>2\",A1..A3,1)"},
      {kTokQVar, "@QVAR(\"@X>2\",A1..A3,1)"},
      {kTokQStd, "@QSTD(\"@X>2\",A1..A3,1)"},
      {kTokIndex, "@INDEX(A1..C3,2,2)"},
      {kTokCols, "@COLS(A1..C3)"},
      {kTokRows, "@ROWS(A1..C3)"},
      {kTokRepeat, "@REPEAT(\"ab\",3)"},
      {kTokUpper, "@UPPER(\"ab\")"},
      {kTokLower, "@LOWER(\"AB\")"},
      {kTokLeft, "@LEFT(\"abc\",2)"},
      {kTokRight, "@RIGHT(\"abc\",2)"},
      {kTokReplace, "@REPLACE(1)"},
      {kTokProper, "@PROPER(\"ab cd\")"},
      {kTokCellInfo, "@CELL(\"ROW\",B2)"},
      {kTokTrim, "@TRIM(\" a \")"},
      {kTokClean, "@CLEAN(\"a\")"},
      {kTokS, "@S(D1)"},
      {kTokN, "@N(A1)"},
      {kTokExact, "@EXACT(\"a\",\"a\")"},
      {kTokIndirect, "@@(\"B2\")"},
      {kTokRate, "@RATE(200,100,10)"},
      {kTokTerm, "@TERM(100,0.1,1000)"},
      {kTokCTerm, "@CTERM(0.1,200,100)"},
      {kTokSln, "@SLN(1000,100,5)"},
      {kTokSyd, "@SYD(1000,100,5,1)"},
      {kTokDdb, "@DDB(1000,100,5,1)"},
      {kTokFact, "@FACT(5)"},
      {kTokLinkFunction, "@LINK(\"F.WKS>A1\")"},
      {kTokHTerp, "@HTERP(1.5,A1..C3,1)"},
      {kTokVTerp, "@VTERP(2,A1..C3,1)"},
      {kTokCsc, "@CSC(1)"},
      {kTokCtn, "@CTN(1)"},
      {kTokSec, "@SEC(1)"},
      {kTokCosh, "@COSH(1)"},
      {kTokSinh, "@SINH(1)"},
      {kTokTanh, "@TANH(1)"},
      {kTokAsinh, "@ASINH(1)"},
      {kTokAcosh, "@ACOSH(2)"},
      {kTokAtanh, "@ATANH(0.5)"},
      {kTokComb, "@COMB(5,2)"},
      {kTokPerm, "@PERM(5,2)"},
      {kTokGammaLn, "@GAMMALN(5)"},
      {kTokIterationX, "@X"},
      {kTokMemAvail, "@MEMAVAIL(0)"},
      {kTokPSum, "@PSUM(A1..C1,A2..C2)"},
      {kTokDosVer, "@DOSVER"},
      {kTokVersion, "@VERSION"},
      {kTokAuto, "@AUTO"},
      {kTokProtect, "@PROTECT"},
      {kTokQView, "@QVIEW(1)"},
      {kTokHex, "@HEX(255)"},
      {kTokDec, "@DEC(\"FF\")"},
      {kTokPath, "@PATH"},
      {kTokVarU, "@VARU(A1..C3)"},
      {kTokStdU, "@STDU(A1..C3)"},
      {kTokFileInfo, "@FILEINFO(\"C:\\DATA.TXT\",1)"},
      {kTokIoResult, "@IORESULT"},
      {kTokBal, "@BAL(1000,0.1,5,2)"},
      {kTokAci, "@ACI(1000,0.1,5,2)"},
      {kTokPmtP, "@PMTP(1000,0.1,5,2)"},
      {kTokFileName, "@FILENAME"},
      {kTokErf, "@ERF(0.5)"},
      {kTokBesselJ, "@BESSELJ(1,1)"},
      {kTokBesselY, "@BESSELY(1,1)"},
      {kTokBesselI, "@BESSELI(1,1)"},
      {kTokBesselK, "@BESSELK(1,1)"},
      {kTokMedian, "@MEDIAN(A1..C3)"},
      {kTokDet, "@DET(A1..C3)"},
      {kTokRank, "@RANK(A1..C3)"},
      {kTokTrace, "@TRACE(A1..C3)"},
      {kTokBeta, "@BETA(2,3)"},
      {kTokBetaI, "@BETAI(2,3,0.5)"},
      {kTokGammaP, "@GAMMAP(2,1)"},
      {kTokGammaQ, "@GAMMAQ(2,1)"},
      {kTokAveDev, "@AVEDEV(A1..C3)"},
      {kTokSkew, "@SKEW(A1..C3)"},
      {kTokKurt, "@KURT(A1..C3)"},
      {kTokCov, "@COV(A1..B3)"},
      {kTokLogB, "@LOGB(8,2)"},
      {kTokCeil, "@CEIL(2.5,1)"},
      {kTokFloor, "@FLOOR(2.5,1)"},
      {kTokGauss, "@GAUSS(0,0,1)"},
      {kTokPoisson, "@POISSON(2,1,0)"},
      {kTokArgument, "@TWICE(3)"},
      {kTokDms, "@DMS(1.5)"},
      {kTokCountA, "@COUNTA(A1..D3)"},
      {kTokIntg, "@INTG(\"@X\",0,1)"},
      {kTokXyTerp, "@XYTERP(A1..C3,2.5,5)"},
      {kTokRecur, "@RECUR(\"@X/2+1\",1,0.0001)"},
      {kTokRgb, "@RGB(1,2,3)"},
      {kTokOsVer, "@OSVER"},
  };
  std::set<int> covered;
  for (const Row& row : rows) covered.insert(row.token);
  for (int token = kTokFactorial + 1; token <= kLastNamedToken; ++token) {
    if (TokenName(token).empty()) continue;
    EXPECT_EQ(covered.count(token), 1u) << "no example of " << TokenName(token);
  }

  for (const Row& row : rows) {
    const std::string name(TokenName(row.token));
    TTokenHandler handler = TokenHandler(row.token);
    // REPLACE alone is named without a function: it gives ERR.
    EXPECT_EQ(handler == DefaultTokenHandler, row.token == kTokReplace) << name;
    gWrapped = handler;
    gCalls = 0;
    const THandlerEntry counting[] = {{static_cast<std::uint8_t>(row.token), CountingHandler}};
    RegisterTokenHandlers(counting);
    bool entered = EnterCell(row.example, 19, 10);
    const THandlerEntry original[] = {{static_cast<std::uint8_t>(row.token), handler}};
    RegisterTokenHandlers(original);
    ASSERT_TRUE(entered) << row.example;
    EXPECT_GT(gCalls, 0) << name << ": " << row.example;
    const TCell* cell = CellPtr(CellFind(19, 10));
    EXPECT_EQ((cell->kind & kKindErrorBit) != 0, row.token == kTokReplace) << name << ": " << row.example;
  }
}

}  // namespace
}  // namespace corvane

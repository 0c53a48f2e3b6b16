// The constant tables of the formula language: the spelling of every token
// (0..186) and the argument class of every token (0..255). The compiler looks
// names up here, the formula-text converter spells tokens from here and the
// evaluator decides its error step and argument counts by the class.
#pragma once

#include <cstdint>
#include <string_view>

namespace corvane {

// Token numbers: the operands, the operators, the named functions, and the
// calls of user-defined functions and named cells.
enum TToken : std::uint8_t {
  kTokReal = 0,        // 8-byte IEEE double follows
  kTokCell = 1,        // 4-byte cell reference follows
  kTokRange = 2,       // two references follow: last corner, then first corner
  kTokEnd = 3,
  kTokParen = 4,       // parentheses marker
  kTokInteger = 5,     // signed 16-bit integer follows
  kTokString = 6,      // characters and a 0 byte follow
  kTokLink = 7,        // 8-byte TRange, upper-case path, 0 byte
  kTokNegate = 8,
  kTokAdd = 9,
  kTokSubtract = 10,
  kTokMultiply = 11,
  kTokDivide = 12,
  kTokPower = 13,
  kTokEqual = 14,
  kTokNotEqual = 15,
  kTokLessEqual = 16,
  kTokGreaterEqual = 17,
  kTokLess = 18,
  kTokGreater = 19,
  kTokAnd = 20,
  kTokOr = 21,
  kTokNot = 22,
  kTokUnaryPlus = 23,
  kTokConcat = 24,
  kTokPercent = 25,
  kTokFactorial = 26,
  // The named functions, 31 to 186 (42 and 114 have no name); spelled as in
  // FunctionNameTable.
  kTokNa = 31,  // "NA"
  kTokErr = 32,  // "ERR"
  kTokAbs = 33,  // "ABS"
  kTokInt = 34,  // "INT"
  kTokSqrt = 35,  // "SQRT"
  kTokLog = 36,  // "LOG"
  kTokLn = 37,  // "LN"
  kTokPi = 38,  // "PI"
  kTokSin = 39,  // "SIN"
  kTokCos = 40,  // "COS"
  kTokTan = 41,  // "TAN"
  kTokAtan = 43,  // "ATAN"
  kTokAsin = 44,  // "ASIN"
  kTokAcos = 45,  // "ACOS"
  kTokExp = 46,  // "EXP"
  kTokMod = 47,  // "MOD"
  kTokCase = 48,  // "CASE"
  kTokIsNa = 49,  // "ISNA"
  kTokIsErr = 50,  // "ISERR"
  kTokFalse = 51,  // "FALSE"
  kTokTrue = 52,  // "TRUE"
  kTokRand = 53,  // "RAND"
  kTokDate = 54,  // "DATE"
  kTokToday = 55,  // "TODAY"
  kTokPmt = 56,  // "PMT"
  kTokPv = 57,  // "PV"
  kTokFv = 58,  // "FV"
  kTokIf = 59,  // "IF"
  kTokDay = 60,  // "DAY"
  kTokMonth = 61,  // "MONTH"
  kTokYear = 62,  // "YEAR"
  kTokRound = 63,  // "ROUND"
  kTokTime = 64,  // "TIME"
  kTokHour = 65,  // "HOUR"
  kTokMinute = 66,  // "MINUTE"
  kTokSecond = 67,  // "SECOND"
  kTokIsNum = 68,  // "ISNUM"
  kTokIsStr = 69,  // "ISSTR"
  kTokLength = 70,  // "LENGTH"
  kTokVal = 71,  // "VAL"
  kTokStr = 72,  // "STR"
  kTokMid = 73,  // "MID"
  kTokChr = 74,  // "CHR"
  kTokOrd = 75,  // "ORD"
  kTokFind = 76,  // "FIND"
  kTokDateVal = 77,  // "DATEVAL"
  kTokTimeVal = 78,  // "TIMEVAL"
  kTokCellPt = 79,  // "CELLPT"
  kTokSum = 80,  // "SUM"
  kTokAvg = 81,  // "AVG"
  kTokCount = 82,  // "COUNT"
  kTokMin = 83,  // "MIN"
  kTokMax = 84,  // "MAX"
  kTokVTable = 85,  // "VTABLE"
  kTokNpv = 86,  // "NPV"
  kTokVar = 87,  // "VAR"
  kTokStd = 88,  // "STD"
  kTokIrr = 89,  // "IRR"
  kTokHTable = 90,  // "HTABLE"
  kTokQSum = 91,  // "QSUM"
  kTokQAvg = 92,  // "QAVG"
  kTokQCount = 93,  // "QCOUNT"
  kTokQMin = 94,  // "QMIN"
  kTokQMax = 95,  // "QMAX"
  kTokQVar = 96,  // "QVAR"
  kTokQStd = 97,  // "QSTD"
  kTokIndex = 98,  // "INDEX"
  kTokCols = 99,  // "COLS"
  kTokRows = 100,  // "ROWS"
  kTokRepeat = 101,  // "REPEAT"
  kTokUpper = 102,  // "UPPER"
  kTokLower = 103,  // "LOWER"
  kTokLeft = 104,  // "LEFT"
  kTokRight = 105,  // "RIGHT"
  kTokReplace = 106,  // "REPLACE"
  kTokProper = 107,  // "PROPER"
  kTokCellInfo = 108,  // "CELL"
  kTokTrim = 109,  // "TRIM"
  kTokClean = 110,  // "CLEAN"
  kTokS = 111,  // "S"
  kTokN = 112,  // "N"
  kTokExact = 113,  // "EXACT"
  kTokIndirect = 115,  // "@"
  kTokRate = 116,  // "RATE"
  kTokTerm = 117,  // "TERM"
  kTokCTerm = 118,  // "CTERM"
  kTokSln = 119,  // "SLN"
  kTokSyd = 120,  // "SYD"
  kTokDdb = 121,  // "DDB"
  kTokFact = 122,  // "FACT"
  kTokLinkFunction = 123,  // "LINK"
  kTokHTerp = 124,  // "HTERP"
  kTokVTerp = 125,  // "VTERP"
  kTokCsc = 126,  // "CSC"
  kTokCtn = 127,  // "CTN"
  kTokSec = 128,  // "SEC"
  kTokCosh = 129,  // "COSH"
  kTokSinh = 130,  // "SINH"
  kTokTanh = 131,  // "TANH"
  kTokAsinh = 132,  // "ASINH"
  kTokAcosh = 133,  // "ACOSH"
  kTokAtanh = 134,  // "ATANH"
  kTokComb = 135,  // "COMB"
  kTokPerm = 136,  // "PERM"
  kTokGammaLn = 137,  // "GAMMALN"
  kTokIterationX = 138,  // "X"
  kTokMemAvail = 139,  // "MEMAVAIL"
  kTokPSum = 140,  // "PSUM"
  kTokDosVer = 141,  // "DOSVER"
  kTokVersion = 142,  // "VERSION"
  kTokAuto = 143,  // "AUTO"
  kTokProtect = 144,  // "PROTECT"
  kTokQView = 145,  // "QVIEW"
  kTokHex = 146,  // "HEX"
  kTokDec = 147,  // "DEC"
  kTokPath = 148,  // "PATH"
  kTokVarU = 149,  // "VARU"
  kTokStdU = 150,  // "STDU"
  kTokFileInfo = 151,  // "FILEINFO"
  kTokIoResult = 152,  // "IORESULT"
  kTokBal = 153,  // "BAL"
  kTokAci = 154,  // "ACI"
  kTokPmtP = 155,  // "PMTP"
  kTokFileName = 156,  // "FILENAME"
  kTokErf = 157,  // "ERF"
  kTokBesselJ = 158,  // "BESSELJ"
  kTokBesselY = 159,  // "BESSELY"
  kTokBesselI = 160,  // "BESSELI"
  kTokBesselK = 161,  // "BESSELK"
  kTokMedian = 162,  // "MEDIAN"
  kTokDet = 163,  // "DET"
  kTokRank = 164,  // "RANK"
  kTokTrace = 165,  // "TRACE"
  kTokBeta = 166,  // "BETA"
  kTokBetaI = 167,  // "BETAI"
  kTokGammaP = 168,  // "GAMMAP"
  kTokGammaQ = 169,  // "GAMMAQ"
  kTokAveDev = 170,  // "AVEDEV"
  kTokSkew = 171,  // "SKEW"
  kTokKurt = 172,  // "KURT"
  kTokCov = 173,  // "COV"
  kTokLogB = 174,  // "LOGB"
  kTokCeil = 175,  // "CEIL"
  kTokFloor = 176,  // "FLOOR"
  kTokGauss = 177,  // "GAUSS"
  kTokPoisson = 178,  // "POISSON"
  kTokArgument = 179,  // "A"
  kTokDms = 180,  // "DMS"
  kTokCountA = 181,  // "COUNTA"
  kTokIntg = 182,  // "INTG"
  kTokXyTerp = 183,  // "XYTERP"
  kTokRecur = 184,  // "RECUR"
  kTokRgb = 185,  // "RGB"
  kTokOsVer = 186,  // "OSVER"
  kTokUserFunction = 254,
  kTokNamedCell = 255,
};

inline constexpr int kLastNamedToken = 186;
inline constexpr std::size_t kTokenNameChars = 12;

// Argument classes.
inline constexpr int kClassReal = 0;
inline constexpr int kClassCell = 1;
inline constexpr int kClassRange = 2;
inline constexpr int kClassEnd = 3;
inline constexpr int kClassParen = 4;
inline constexpr int kClassInteger = 5;
inline constexpr int kClassString = 6;
inline constexpr int kClassLink = 7;
inline constexpr int kClassPrefix = 8;
inline constexpr int kClassBinary = 9;
inline constexpr int kClassFunction0 = 10;  // 10 + n: a function of n fixed arguments (n = 0..4)
inline constexpr int kClassFunctionList = 15;
inline constexpr int kClassPostfix = 16;
inline constexpr int kClassUserFunction = 254;

// One entry of the name table: a length byte and up to 12 characters.
struct TTokenName {
  std::uint8_t length;
  char text[kTokenNameChars];
};
static_assert(sizeof(TTokenName) == 13);

extern const TTokenName FunctionNameTable[kLastNamedToken + 1];
extern const std::int16_t TokenClassTable[256];

// The spelling of a token; empty for tokens without a name and above 186.
std::string_view TokenName(int token);

// The fixed argument count of a function class (10..14), else -1.
inline int FunctionArgCount(int tokenClass) {
  return tokenClass >= kClassFunction0 && tokenClass < kClassFunctionList ? tokenClass - kClassFunction0 : -1;
}

}  // namespace corvane

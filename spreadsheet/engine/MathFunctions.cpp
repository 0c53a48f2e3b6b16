// The mathematical functions: absolute value and truncation, roots, logarithms
// and exponentials, the circular and hyperbolic functions and their inverses,
// remainders, rounding to decimals, factorials, combinations, log-gamma, the
// colour number of RGB and the hexadecimal texts of HEX and DEC.
//
// Every division here is the safe one and every logarithm and exponential the
// guarded one, so a domain error gives ERR and never an infinity or NaN.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

#include "spreadsheet/engine/FormulaTables.h"
#include "spreadsheet/engine/FunctionArguments.h"
#include "spreadsheet/engine/FunctionFamilies.h"
#include "spreadsheet/engine/FunctionSettings.h"
#include "spreadsheet/engine/TextCase.h"

namespace corvane {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kHalfPi = 1.5707963267948966;
constexpr double kLog10OfE = 0.4342944819032510136;
constexpr double kCeilAddend = 0.9999999999;
constexpr int kHexMax = 65535;
constexpr std::size_t kDecMaxDigits = 8;

double X() { return ArgNumber(1, 0); }
void Result(double value) { FinishNumber(1, value); }

// Arc sine: |x| > 1 is ERR, |x| = 1 gives a right angle with the sign of x.
double ArcSine(double x) {
  if (std::fabs(x) > 1) {
    SetCalcError();
    return 1;
  }
  if (std::fabs(x) == 1) return std::copysign(kHalfPi, x);
  return std::atan(x / std::sqrt(1 - x * x));
}

// The scale of ROUND, CEIL and FLOOR: 10 to the |d|, as a whole number. A
// scale too large for a double is ERR.
double DecimalScale(int d) { return std::trunc(SafePower(10, std::fabs(static_cast<double>(d))) + 0.5); }

// ROUND, CEIL and FLOOR on the magnitude of x, `addend` before truncation,
// the sign of x restored: d >= 0 rounds to d decimals, d < 0 to a multiple of
// 10 to the -d.
double ScaleAndTruncate(double x, int d, double addend) {
  double m = DecimalScale(d);
  double magnitude = std::fabs(x);
  double result = d >= 0 ? SafeDivision(std::trunc(magnitude * m + addend), m)
                         : std::trunc(SafeDivision(magnitude, m) + addend) * m;
  return Finite(std::copysign(result, x));
}

// The common logarithm; an exact power of ten (the double nearest 10^n) gives
// n itself, which the product of the natural logarithm and log10(e) misses by a
// bit (LOG(100) would show 1.9999999).
double CommonLog(double x) {
  double result = SafeLog(x) * kLog10OfE;
  if (!(x > 0) || !std::isfinite(result)) return result;
  double n = std::round(result);
  if (std::fabs(result - n) > 1e-9) return result;
  std::string power = "1e" + std::to_string(static_cast<int>(n));
  double exact = 0;
  std::from_chars(power.data(), power.data() + power.size(), exact);
  return exact == x ? n : result;
}

// ---- Tokens 31 to 47 ----------------------------------------------------------

// ABS(x): the magnitude.
void FnAbs() { Result(std::fabs(X())); }
// INT(x): the whole part, truncated toward zero.
void FnInt() { Result(std::trunc(X())); }
// SQRT(x): a negative x is ERR (the root of its magnitude is left).
void FnSqrt() {
  if (X() < 0) SetCalcError();
  Result(std::sqrt(std::fabs(X())));
}
// LOG(x), LN(x): x <= 0 is ERR.
void FnLog() { Result(CommonLog(X())); }
void FnLn() { Result(SafeLog(X())); }
// PI: no arguments.
void FnPi() { FinishNumber(0, kPi); }
// SIN, COS, TAN (radians); TAN is sine over cosine by safe division.
void FnSin() { Result(std::sin(X())); }
void FnCos() { Result(std::cos(X())); }
void FnTan() { Result(SafeDivision(std::sin(X()), std::cos(X()))); }
// ATAN, ASIN, ACOS: ASIN of |x| > 1 is ERR; ACOS is a right angle minus ASIN.
void FnAtan() { Result(std::atan(X())); }
void FnAsin() { Result(ArcSine(X())); }
void FnAcos() { Result(kHalfPi - ArcSine(X())); }
// EXP(x): a result too large for a double is ERR.
void FnExp() { Result(Finite(std::exp(X()))); }
// MOD(x, y): x - trunc(x / y) * y; y = 0 is ERR.
void FnMod() {
  double x = ArgNumber(2, 0), y = ArgNumber(2, 1);
  FinishNumber(2, Finite(x - std::trunc(SafeDivision(x, y)) * y));
}

// ---- Tokens 63, 122 and 126 to 137 ---------------------------------------------

// ROUND(x, d): halves away from zero, or upward (-2.5 to -2) when the
// half-upward setting is on; d < 0 rounds to tens, hundreds and so on. The
// half-upward rule takes the floor of x + 0.5, since truncating it would
// round -2.6 to -2.
void FnRound() {
  double x = ArgNumber(2, 0);
  int d = ArgInt(2, 1);
  double m = DecimalScale(d);
  bool halfUp = FunctionSettings().halfUpRounding;
  auto whole = [&](double v) { return halfUp ? std::floor(v + 0.5) : std::trunc(v + (x < 0 ? -0.5 : 0.5)); };
  double result = d >= 0 ? SafeDivision(whole(x * m), m) : whole(SafeDivision(x, m)) * m;
  FinishNumber(2, Finite(result));
}
// FACT(x): trunc(x)! for 0..170, else ERR.
void FnFact() { Result(Factorial(X())); }
// CSC, CTN, SEC: reciprocals by safe division.
void FnCsc() { Result(SafeDivision(1, std::sin(X()))); }
void FnCtn() { Result(SafeDivision(std::cos(X()), std::sin(X()))); }
void FnSec() { Result(SafeDivision(1, std::cos(X()))); }
// COSH, SINH: an exponent of magnitude 700 or more is ERR.
void FnCosh() { Result((SafeExpValue(X()) + SafeExpValue(-X())) / 2); }
void FnSinh() { Result((SafeExpValue(X()) - SafeExpValue(-X())) / 2); }
// TANH: the hyperbolic tangent, which tends to 1 and -1 and so has no error.
void FnTanh() { Result(std::tanh(X())); }
// ASINH; ACOSH of x below 1 is ERR; ATANH of |x| >= 1 is ERR. Computed by the
// runtime's own routines, which avoid the cancellation and overflow of the
// logarithm forms for large |x|.
void FnAsinh() { Result(std::asinh(X())); }
void FnAcosh() {
  if (X() < 1) return FinishError(1);
  Result(std::acosh(X()));
}
void FnAtanh() {
  if (std::fabs(X()) >= 1) return FinishError(1);
  Result(std::atanh(X()));
}
// COMB(n, k): n! / ((n - k)! k!) and PERM(n, k): n! / (n - k)!, for whole n
// and k (truncated) with 0 <= k <= n; others are ERR. The quotient is built
// term by term, so that n past 170 still gives its value when a double holds
// it (COMB(200, 2) is 19900); a result too large for a double is ERR. Every
// term after the first is at least 2 (COMB takes the smaller of k and n - k),
// so the loop ends within a few thousand terms.
double FactorialQuotient(double n, double k, bool overKFactorial) {
  n = std::trunc(n);
  k = std::trunc(k);
  if (!(n >= 0 && k >= 0 && k <= n)) {
    SetCalcError();
    return 1;
  }
  if (overKFactorial && n - k < k) k = n - k;
  double result = 1;
  for (double i = 1; i <= k && std::isfinite(result); ++i)
    result = overKFactorial ? result * (n - k + i) / i : result * (n - k + i);
  if (!std::isfinite(result)) SetCalcError();
  return result;
}
void FnComb() { FinishNumber(2, FactorialQuotient(ArgNumber(2, 0), ArgNumber(2, 1), true)); }
void FnPerm() { FinishNumber(2, FactorialQuotient(ArgNumber(2, 0), ArgNumber(2, 1), false)); }
// GAMMALN(x): x <= 0 is ERR.
void FnGammaLn() { Result(Guarded(numeric::GammaLn, X())); }

// ---- Tokens 146, 147 and 174 to 176, 185 --------------------------------------

// HEX(x): the rounded value as upper-case hexadecimal digits; values above
// 65535 or below 0 are ERR.
void FnHex() {
  double x = std::round(X());
  if (!(x >= 0 && x <= kHexMax)) return FinishError(1);
  static const char kDigits[] = "0123456789ABCDEF";
  unsigned v = static_cast<unsigned>(x);
  std::string text;
  do {
    text.insert(text.begin(), kDigits[v % 16]);
    v /= 16;
  } while (v != 0);
  FinishText(1, text);
}
// DEC(text): hexadecimal digits, with or without a leading "$", at most 8 of
// them, as a number from 0 to 4294967295. Empty or bad text is ERR.
void FnDec() {
  std::string text = UpperCaseText(ArgText(1, 0));
  if (!text.empty() && text[0] == '$') text.erase(0, 1);
  if (text.empty() || text.size() > kDecMaxDigits) return FinishError(1);
  std::uint32_t v = 0;
  for (char c : text) {
    int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    if (digit < 0) return FinishError(1);
    v = v * 16 + static_cast<std::uint32_t>(digit);
  }
  Result(v);
}
// LOGB(x, base): ln x / ln base; x <= 0 or base <= 1 is ERR.
void FnLogB() {
  double x = ArgNumber(2, 0), base = ArgNumber(2, 1);
  if (x <= 0 || base <= 1) return FinishError(2);
  FinishNumber(2, SafeDivision(std::log(x), std::log(base)));
}
// CEIL(x, d): the magnitude raised to d decimals; FLOOR(x, d): truncated.
void FnCeil() { FinishNumber(2, ScaleAndTruncate(ArgNumber(2, 0), ArgInt(2, 1), kCeilAddend)); }
void FnFloor() { FinishNumber(2, ScaleAndTruncate(ArgNumber(2, 0), ArgInt(2, 1), 0)); }
// RGB(red, green, blue): red + 256 green + 65536 blue.
void FnRgb() { FinishNumber(3, ArgNumber(3, 0) + 256 * ArgNumber(3, 1) + 65536 * ArgNumber(3, 2)); }

constexpr THandlerEntry kMathHandlers[] = {
    {kTokAbs, FnAbs},         {kTokInt, FnInt},         {kTokSqrt, FnSqrt},       {kTokLog, FnLog},
    {kTokLn, FnLn},           {kTokPi, FnPi},           {kTokSin, FnSin},         {kTokCos, FnCos},
    {kTokTan, FnTan},         {kTokAtan, FnAtan},       {kTokAsin, FnAsin},       {kTokAcos, FnAcos},
    {kTokExp, FnExp},         {kTokMod, FnMod},         {kTokRound, FnRound},     {kTokFact, FnFact},
    {kTokCsc, FnCsc},         {kTokCtn, FnCtn},         {kTokSec, FnSec},         {kTokCosh, FnCosh},
    {kTokSinh, FnSinh},       {kTokTanh, FnTanh},       {kTokAsinh, FnAsinh},     {kTokAcosh, FnAcosh},
    {kTokAtanh, FnAtanh},     {kTokComb, FnComb},       {kTokPerm, FnPerm},       {kTokGammaLn, FnGammaLn},
    {kTokHex, FnHex},         {kTokDec, FnDec},         {kTokLogB, FnLogB},       {kTokCeil, FnCeil},
    {kTokFloor, FnFloor},     {kTokRgb, FnRgb},
};

}  // namespace

void RegisterMathHandlers() { RegisterTokenHandlers(kMathHandlers); }

}  // namespace corvane

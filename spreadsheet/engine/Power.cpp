// The power operator's arithmetic: base to any exponent, rounded once to the
// nearest double at every size, subnormal results included, the same on
// every build (no C library power, whose last bit differs between them).
#include <array>
#include <cfloat>
#include <cmath>

#include "spreadsheet/engine/ExactArithmetic.h"
#include "spreadsheet/engine/NumericDetail.h"
#include "spreadsheet/engine/NumericLibrary.h"

namespace corvane::numeric {

namespace {

// ---- Double-double arithmetic (about 104 bits) ------------------------------

// a + b exactly, for |a| not below |b|.
TDoubleDouble FastTwoSum(double a, double b) {
  const double sum = a + b;
  return {sum, b - (sum - a)};
}

TDoubleDouble Add(const TDoubleDouble& a, const TDoubleDouble& b) {
  TDoubleDouble s = TwoSum(a.hi, b.hi);
  const TDoubleDouble t = TwoSum(a.lo, b.lo);
  s = FastTwoSum(s.hi, s.lo + t.hi);
  return FastTwoSum(s.hi, s.lo + t.lo);
}

TDoubleDouble Negated(const TDoubleDouble& a) { return {-a.hi, -a.lo}; }

TDoubleDouble Multiply(const TDoubleDouble& a, const TDoubleDouble& b) {
  const TDoubleDouble p = TwoProduct(a.hi, b.hi);
  return FastTwoSum(p.hi, p.lo + (a.hi * b.lo + a.lo * b.hi));
}

TDoubleDouble Divide(const TDoubleDouble& a, double b) {
  const double q = a.hi / b;
  const TDoubleDouble p = TwoProduct(q, b);
  return FastTwoSum(q, (((a.hi - p.hi) - p.lo) + a.lo) / b);
}

// ln 2 to 107 bits.
constexpr TDoubleDouble kLn2 = {0x1.62e42fefa39efp-1, 0x1.abc9e3b39803fp-56};

// ---- Values of any size -----------------------------------------------------

// A positive value kept as a double-double mantissa from 0.5 to below 1 times
// 2 to a whole exponent, so that no step of a power overflows or underflows
// (the exact products of TwoProduct need their operands well inside the
// doubles), whatever the size of the result.
struct TScaled {
  TDoubleDouble mantissa;
  long long exponent = 0;
};

// Any exponent beyond this is far outside the doubles either way.
constexpr long long kFarExponent = 1 << 20;

TScaled Normalised(const TDoubleDouble& m, long long exponent) {
  int shift = 0;
  const double hi = std::frexp(m.hi, &shift);
  return {{hi, std::ldexp(m.lo, -shift)}, exponent + shift};
}

TScaled Far(bool large) { return Normalised({1.0, 0.0}, large ? kFarExponent : -kFarExponent); }

TScaled Multiply(const TScaled& a, const TScaled& b) {
  return Normalised(Multiply(a.mantissa, b.mantissa), a.exponent + b.exponent);
}

// 1 / v: the quotient of the high parts, refined by the exact remainder of
// 1 - q v.
TScaled Reciprocal(const TScaled& v) {
  const TDoubleDouble& m = v.mantissa;
  const double q = 1.0 / m.hi;
  const TDoubleDouble t = TwoProduct(q, m.hi);
  const double remainder = ((1.0 - t.hi) - t.lo) - q * m.lo;
  return Normalised(TwoSum(q, q * remainder), -v.exponent);
}

// The double nearest to v, ties to even: infinite above the largest double,
// with the precision of the subnormals below the smallest normal one, 0 at
// half the smallest subnormal and below.
double Rounded(const TScaled& v) {
  if (v.exponent > 1024) return HUGE_VAL;
  if (v.exponent < -1100) return 0.0;
  const int exponent = static_cast<int>(v.exponent);
  const double normal = std::ldexp(v.mantissa.hi + v.mantissa.lo, exponent);
  if (normal > DBL_MIN) return normal;
  // Counted in units of the smallest subnormal the value is below 2^52, and
  // both parts scale exactly; rounding the count to a whole number is the one
  // rounding the result takes.
  const double high = std::ldexp(v.mantissa.hi, exponent + 1074);
  const double low = std::ldexp(v.mantissa.lo, exponent + 1074);
  double count = detail::RoundHalfEven(high);
  const double rest = (high - count) + low;
  const bool odd = std::fmod(count, 2.0) != 0.0;
  if (rest > 0.5 || (rest == 0.5 && odd)) count += 1.0;
  if (rest < -0.5 || (rest == -0.5 && odd)) count -= 1.0;
  return std::ldexp(count, -1074);
}

// ---- Whole exponents ----------------------------------------------------------

// Up to this exponent a whole power is made by repeated squaring, which is
// exact wherever the power is (3^34 lies exactly halfway between two doubles
// and must go to the even one); its error grows with the exponent, about
// n 2^-104, so larger exponents go by the logarithm, where no power is exact.
constexpr double kSquaringLimit = 65536.0;

// |base|^n for a whole n from 1 to kSquaringLimit by repeated squaring.
TScaled WholePower(double base, double n) {
  TScaled power = Normalised({1.0, 0.0}, 0);
  TScaled square = Normalised({std::fabs(base), 0.0}, 0);
  for (;;) {
    if (std::fmod(n, 2.0) != 0.0) power = Multiply(power, square);
    n = std::floor(n / 2.0);
    if (n == 0.0) return power;
    square = Multiply(square, square);
  }
}

// ---- Other exponents: e to the exponent times ln base ----------------------

// e^r - 1 for |r| up to about 0.35, to about 100 bits relative to the result:
// the Taylor series at r / 256 (its terms past r^10 / 10! are below 2^-106 of
// the first), then eight doublings by e^2x - 1 = (e^x - 1)(e^x - 1 + 2).
TDoubleDouble ExpM1(const TDoubleDouble& r) {
  constexpr int kTerms = 10, kHalvings = 8;
  static const auto kInverseFactorials = [] {  // 1/k! from k = 0
    std::array<TDoubleDouble, kTerms + 1> f{};
    f[0] = {1.0, 0.0};
    for (int k = 1; k <= kTerms; ++k) f[k] = Divide(f[k - 1], k);
    return f;
  }();
  const TDoubleDouble x = {std::ldexp(r.hi, -kHalvings), std::ldexp(r.lo, -kHalvings)};
  TDoubleDouble s = kInverseFactorials[kTerms];
  for (int k = kTerms - 1; k >= 1; --k) s = Add(kInverseFactorials[k], Multiply(x, s));
  s = Multiply(x, s);
  for (int i = 0; i < kHalvings; ++i) s = Multiply(s, Add(s, {2.0, 0.0}));
  return s;
}

// ln x for a finite x above 0 (subnormals too): k ln 2 + ln m with m from
// sqrt(1/2) to sqrt(2), ln m by one Newton step y + (m - 1) + m (e^-y - 1)
// from the library's logarithm y, which doubles its 53 bits. Each part keeps
// its digits relative to ln m, so a base next to 1 loses none.
TDoubleDouble Ln(double x) {
  int k = 0;
  double m = std::frexp(x, &k);
  if (m < 0x1.6a09e667f3bcdp-1) {  // sqrt(1/2)
    m *= 2.0;
    --k;
  }
  const double y = std::log(m);
  const TDoubleDouble correction = Add({m - 1.0, 0.0}, Multiply(ExpM1({-y, 0.0}), {m, 0.0}));
  return Add(Multiply({static_cast<double>(k), 0.0}, kLn2), Add({y, 0.0}, correction));
}

// e^t for |t| up to 1000, with t = k ln 2 + r and |r| at most half ln 2.
TScaled Exp(const TDoubleDouble& t) {
  const double k = detail::RoundHalfEven(t.hi / kLn2.hi);
  const TDoubleDouble r = Add(t, Negated(Multiply({k, 0.0}, kLn2)));
  return Normalised(Add({1.0, 0.0}, ExpM1(r)), static_cast<long long>(k));
}

}  // namespace

double SafePower(double base, double exponent, TCalcStatus& status) {
  if (!std::isfinite(base) || !std::isfinite(exponent)) return detail::Fail(status, 1.0);
  if (base == 0.0) return exponent < 0.0 ? detail::Fail(status, 1.0) : 0.0;
  if (exponent == 0.0) return 1.0;
  const bool whole = exponent == std::trunc(exponent);
  if (!whole && base < 0.0) return detail::Fail(status, 1.0);
  if (exponent == 0.5) return std::sqrt(base);
  TScaled power;
  if (whole && std::fabs(exponent) <= kSquaringLimit) {
    // A power that overflows has a reciprocal that underflows (0), and one
    // that underflows a reciprocal that overflows (an error).
    power = WholePower(base, std::fabs(exponent));
    if (exponent < 0.0) power = Reciprocal(power);
  } else {
    const TDoubleDouble lnBase = Ln(std::fabs(base));
    const double estimate = exponent * lnBase.hi;  // never a NaN: both finite
    power = std::fabs(estimate) > 1000.0 ? Far(estimate > 0.0) : Exp(Multiply({exponent, 0.0}, lnBase));
  }
  double magnitude = Rounded(power);
  if (base < 0.0 && std::fmod(exponent, 2.0) != 0.0 && magnitude != 0.0) magnitude = -magnitude;
  return detail::Checked(magnitude, status, 1.0);
}

}  // namespace corvane::numeric

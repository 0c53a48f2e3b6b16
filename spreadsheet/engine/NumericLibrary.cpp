// Guarded arithmetic and the special functions built on it: log-gamma,
// incomplete beta and gamma, the error function, the normal density and Poisson
// probabilities. The power is in Power.cpp, the Bessel functions in
// BesselFunctions.cpp, the functions of cell lists and blocks in
// CellStatistics.cpp.
#include "spreadsheet/engine/NumericLibrary.h"

#include <cmath>

#include "spreadsheet/engine/NumericDetail.h"

namespace corvane::numeric {

namespace {

// ln K! - (K ln K - K) for a whole K above 170 by the Stirling series
// ln(2 pi K)/2 + 1/(12K) - 1/(360K^3) + 1/(1260K^5); the first omitted term is
// below 1e-16.
double StirlingRemainder(double k) {
  const double r = 1.0 / k;
  const double r2 = r * r;
  return 0.5 * std::log(2.0 * detail::kPi * k) + r * (1.0 / 12.0 - r2 * (1.0 / 360.0 - r2 / 1260.0));
}

// ln K! for a whole K from 0 to 170: the product itself, exact to a rounding.
double LnSmallFactorial(double k) {
  double product = 1.0;
  for (double i = 2.0; i <= k; i += 1.0) product *= i;
  return std::log(product);
}

}  // namespace

// ---- Guarded operations ----------------------------------------------------

double SafeDivide(double a, double b, TCalcStatus& status) {
  if (b == 0.0) return detail::Fail(status, 1.0);
  return detail::Checked(a / b, status, 1.0);
}

double SafeExp(double x, TCalcStatus& status) {
  if (!(std::fabs(x) < detail::kExpLimit)) return detail::Fail(status, 1.0);
  return std::exp(x);
}

double SafeLn(double x, TCalcStatus& status) {
  if (!(x > 0.0) || !std::isfinite(x)) return detail::Fail(status, 1.0);
  return std::log(x);
}

double GammaLn(double x, TCalcStatus& status) {
  if (!(x > 0.0) || !std::isfinite(x)) return detail::Fail(status, 1.0);
  // Lanczos series with g = 5 and six terms.
  static const double kCoefficients[6] = {76.18009172947146,     -86.50532032941677,
                                          24.01409824083091,     -1.231739572450155,
                                          0.1208650973866179e-2, -0.5395239384953e-5};
  double series = 1.000000000190015;
  double denominator = x;
  for (double c : kCoefficients) {
    denominator += 1.0;
    series += c / denominator;
  }
  const double t = x + 5.5;
  const double result = (x + 0.5) * std::log(t) - t + std::log(2.50662827465 * series / x);
  return detail::Checked(result, status, 1.0);
}

// ---- Incomplete beta -------------------------------------------------------

namespace {

// The continued fraction of I_x(a, b), evaluated by the recurrence on numerators
// and denominators, renormalised at every step so that they stay near 1.
double BetaContinuedFraction(double a, double b, double x, TCalcStatus& status) {
  const double sum = a + b;
  double numerator = 1.0;  // the current convergent's numerator and denominator
  double denominator = 1.0 - sum * x / (a + 1.0);
  double prevNumerator = 1.0;
  double prevDenominator = 1.0;
  double value = 1.0;
  for (int m = 1; m <= detail::kMaxRounds; ++m) {
    const double twoM = 2.0 * m;
    const double even = m * (b - m) * x / ((a - 1.0 + twoM) * (a + twoM));
    const double evenNumerator = numerator + even * prevNumerator;
    const double evenDenominator = denominator + even * prevDenominator;
    const double odd = -(a + m) * (sum + m) * x / ((a + twoM) * (a + 1.0 + twoM));
    const double oddNumerator = evenNumerator + odd * numerator;
    const double oddDenominator = evenDenominator + odd * denominator;
    if (oddDenominator == 0.0 || !std::isfinite(oddNumerator) || !std::isfinite(oddDenominator))
      return detail::Fail(status, value);
    const double previous = value;
    prevNumerator = evenNumerator / oddDenominator;
    prevDenominator = evenDenominator / oddDenominator;
    numerator = oddNumerator / oddDenominator;
    denominator = 1.0;
    value = numerator;
    if (std::fabs(value - previous) < detail::kTolerance * std::fabs(value)) return value;
  }
  return detail::Fail(status, value);
}

}  // namespace

double BetaI(double a, double b, double x, TCalcStatus& status) {
  if (!(x >= 0.0 && x <= 1.0) || !(a > 0.0) || !(b > 0.0) || !std::isfinite(a) || !std::isfinite(b))
    return detail::Fail(status, 1.0);
  if (x == 0.0) return 0.0;
  if (x == 1.0) return 1.0;
  const double lnFactor = GammaLn(a + b, status) - GammaLn(a, status) - GammaLn(b, status) + a * std::log(x) +
                          b * std::log1p(-x);
  if (!std::isfinite(lnFactor)) return detail::Fail(status, 1.0);
  // The direct form below the switch point (a + 1)/(a + b + 2), the mirrored form
  // 1 - I_(1-x)(b, a) from there on: each continued fraction converges fast only
  // on its own side of that point. A factor too small to represent is an error
  // in the direct form and leaves 1 in the mirrored one.
  if (x < (a + 1.0) / (a + b + 2.0)) {
    if (lnFactor <= -detail::kExpLimit) return detail::Fail(status, 1.0);
    const double factor = SafeExp(lnFactor, status);
    return detail::Checked(factor * BetaContinuedFraction(a, b, x, status) / a, status, 1.0);
  }
  if (lnFactor <= -detail::kExpLimit) return 1.0;
  const double factor = SafeExp(lnFactor, status);
  return detail::Checked(1.0 - factor * BetaContinuedFraction(b, a, 1.0 - x, status) / b, status, 1.0);
}

// ---- Incomplete gamma ------------------------------------------------------

namespace {

// P(a, x) / prefactor by its series, for x < a + 1.
double GammaSeries(double a, double x, TCalcStatus& status) {
  double term = 1.0 / a;
  double sum = term;
  for (int round = 1; round <= detail::kMaxRounds; ++round) {
    term *= x / (a + round);
    sum += term;
    if (std::fabs(term) < detail::kTolerance * std::fabs(sum)) return sum;
  }
  status.error = true;  // the sum so far is still the result
  return sum;
}

// Q(a, x) / prefactor by its continued fraction, for x >= a + 1, evaluated by the
// even-odd recurrence, renormalised by the last numerator.
double GammaContinuedFraction(double a, double x, TCalcStatus& status) {
  double a0 = 1.0, a1 = x;  // numerators
  double b0 = 0.0, b1 = 1.0;  // denominators
  double factor = 1.0;
  double previous = 0.0;
  for (int n = 1; n <= detail::kMaxRounds; ++n) {
    const double ana = n - a;
    a0 = (a1 + a0 * ana) * factor;
    b0 = (b1 + b0 * ana) * factor;
    const double anf = n * factor;
    a1 = x * a0 + anf * a1;
    b1 = x * b0 + anf * b1;
    if (!std::isfinite(a1) || !std::isfinite(b1)) break;
    if (a1 != 0.0) {
      factor = 1.0 / a1;
      const double g = b1 * factor;
      if (g != 0.0 && std::fabs(g - previous) < detail::kTolerance * std::fabs(g)) return g;
      previous = g;
    }
  }
  return detail::Fail(status, 1.0);
}

enum class TGammaPart { kLower, kUpper };

double IncompleteGamma(double a, double x, TGammaPart wanted, TCalcStatus& status) {
  if (!(a > 0.0) || !(x >= 0.0) || !std::isfinite(a) || !std::isfinite(x)) return detail::Fail(status, 1.0);
  if (x == 0.0) return wanted == TGammaPart::kLower ? 0.0 : 1.0;
  // The form that converges fast gives one part directly, the series P below
  // a + 1 and the continued fraction Q from there on; the other part is 1 minus
  // it. Both carry the prefactor x^a e^-x / Gamma(a).
  const bool seriesGivesLower = x < a + 1.0;
  const bool direct = seriesGivesLower == (wanted == TGammaPart::kLower);
  const double lnPrefactor = a * std::log(x) - x - GammaLn(a, status);
  if (!std::isfinite(lnPrefactor)) return detail::Fail(status, 1.0);
  if (lnPrefactor <= -detail::kExpLimit) return direct ? detail::Fail(status, 1.0) : 1.0;
  const double prefactor = SafeExp(lnPrefactor, status);
  double part;
  if (seriesGivesLower) {
    part = GammaSeries(a, x, status);
  } else {
    TCalcStatus fraction;
    part = GammaContinuedFraction(a, x, fraction);
    if (fraction.error) return detail::Fail(status, 1.0);
  }
  const double value = prefactor * part;
  return detail::Checked(direct ? value : 1.0 - value, status, 1.0);
}

}  // namespace

double GammaP(double a, double x, TCalcStatus& status) {
  return IncompleteGamma(a, x, TGammaPart::kLower, status);
}

double GammaQ(double a, double x, TCalcStatus& status) {
  return IncompleteGamma(a, x, TGammaPart::kUpper, status);
}

double Erf(double x, TCalcStatus& status) {
  if (!std::isfinite(x)) return detail::Fail(status, 1.0);
  // Beyond 1e100 the square would overflow; erf is 1 there to every digit.
  const double square = std::fabs(x) < 1e100 ? x * x : 1e200;
  const double p = GammaP(0.5, square, status);
  return x < 0.0 ? -p : p;
}

// ---- Normal density and Poisson probabilities -------------------------------

double Gauss(double x, double mean, double deviation, TCalcStatus& status) {
  return detail::ValueOrSubstitute(status, 1.0, [&](TCalcStatus& s) {
    if (!(deviation > 0.0) || !std::isfinite(x) || !std::isfinite(mean)) return detail::Fail(s, 1.0);
    const double d = (x - mean) / deviation;
    return SafeExp(-d * d / 2.0, s) / (deviation * 2.506628274631);
  });
}

double Poisson(double k, double rate, double time, TCalcStatus& status) {
  return detail::ValueOrSubstitute(status, 1.0, [&](TCalcStatus& s) {
    const double m = rate * time;
    if (!std::isfinite(k) || !std::isfinite(m) || std::fabs(k) >= 2147483647.0) return detail::Fail(s, 1.0);
    const double whole = detail::RoundHalfEven(k);
    if (whole < 0.0) return detail::Fail(s, 1.0);
    // m^k: exponent 0 gives 1, base 0 gives 0.
    if (k == 0.0) return SafeExp(-m, s);
    if (m == 0.0) return 0.0;
    if (m < 0.0) {
      // A negative mean has no probability; the formula is evaluated as it stands.
      if (whole > 170.0) return detail::Fail(s, 1.0);
      return SafeExp(-m, s) * SafePower(m, k, s) / std::exp(LnSmallFactorial(whole));
    }
    double lnP;
    if (whole <= 170.0) {
      lnP = k * std::log(m) - m - LnSmallFactorial(whole);
    } else {
      // K ln m - m - (K ln K - K) rewritten as K (ln(1 + t) - t), t = (m - K)/K,
      // which keeps its precision when m and K are both large and close.
      const double t = (m - whole) / whole;
      lnP = whole * (std::log1p(t) - t) + (k - whole) * std::log(m) - StirlingRemainder(whole);
    }
    return SafeExp(lnP, s);
  });
}

}  // namespace corvane::numeric

// Bessel functions J, Y, I and K of integral order. Orders 0 and 1 come from
// rational approximations below a break point and from asymptotic forms (or,
// for I and K, polynomial forms) beyond it; higher orders recur from them,
// except where the upward recurrence is unstable: J at x not above n and I
// everywhere, which run Miller's downward recurrence and normalise the result.
#include <cmath>
#include <cstddef>

#include "spreadsheet/engine/NumericDetail.h"
#include "spreadsheet/engine/NumericLibrary.h"

namespace corvane::numeric {

namespace {

template <std::size_t N>
double Polynomial(const double (&c)[N], double y) {
  double sum = c[N - 1];
  for (std::size_t i = N - 1; i > 0; --i) sum = sum * y + c[i - 1];
  return sum;
}

// 2/pi, pi/4 and 3pi/4 to the digits the asymptotic forms were fitted with.
constexpr double kTwoOverPi = 0.636619772;
constexpr double kPhase0 = 0.785398164;
constexpr double kPhase1 = 2.356194491;

// J0 and Y0 below 8: ratios of polynomials in x squared.
constexpr double kJ0Num[] = {57568490574.0, -13362590354.0, 651619640.7, -11214424.18, 77392.33017, -184.9052456};
constexpr double kJ0Den[] = {57568490411.0, 1029532985.0, 9494680.718, 59272.64853, 267.8532712, 1.0};
constexpr double kY0Num[] = {-2957821389.0, 7062834065.0, -512359803.6, 10879881.29, -86327.92757, 228.4622733};
constexpr double kY0Den[] = {40076544269.0, 745249964.8, 7189466.438, 47447.26470, 226.1030244, 1.0};

// J1 and Y1 below 8: x times a ratio of polynomials in x squared.
constexpr double kJ1Num[] = {72362614232.0, -7895059235.0, 242396853.1, -2972611.439, 15704.48260, -30.16036606};
constexpr double kJ1Den[] = {144725228442.0, 2300535178.0, 18583304.74, 99447.43394, 376.9991397, 1.0};
constexpr double kY1Num[] = {-0.4900604943e13, 0.1275274390e13, -0.5153438139e11,
                             0.7349264551e9,   -0.4237922726e7, 0.8511937935e4};
constexpr double kY1Den[] = {0.2499580570e14, 0.4244419664e12, 0.3733650367e10, 0.2245904002e8,
                             0.1020426050e6,  0.3549632885e3,  1.0};

// From 8 on: modulus and phase corrections P and Q in (8/x) squared, so that
// J = sqrt(2/(pi x)) (P cos(x - phase) - (8/x) Q sin(x - phase)) and
// Y = sqrt(2/(pi x)) (P sin(x - phase) + (8/x) Q cos(x - phase)).
constexpr double kP0[] = {1.0, -0.1098628627e-2, 0.2734510407e-4, -0.2073370639e-5, 0.2093887211e-6};
constexpr double kQ0[] = {-0.1562499995e-1, 0.1430488765e-3, -0.6911147651e-5, 0.7621095161e-6, -0.934935152e-7};
constexpr double kP1[] = {1.0, 0.183105e-2, -0.3516396496e-4, 0.2457520174e-5, -0.240337019e-6};
constexpr double kQ1[] = {0.04687499995, -0.2002690873e-3, 0.8449199096e-5, -0.88228987e-6, 0.105787412e-6};

// I0 and I1 below 3.75: polynomials in (x/3.75) squared (I1 over x); from 3.75
// on: sqrt(x) e^-x I as a polynomial in 3.75/x.
constexpr double kI0Small[] = {1.0, 3.5156229, 3.0899424, 1.2067492, 0.2659732, 0.0360768, 0.0045813};
constexpr double kI0Large[] = {0.39894228,  0.01328592, 0.00225319,  -0.00157565, 0.00916281,
                               -0.02057706, 0.02635537, -0.01647633, 0.00392377};
constexpr double kI1Small[] = {0.5, 0.87890594, 0.51498869, 0.15084934, 0.02658733, 0.00301532, 0.00032411};
constexpr double kI1Large[] = {0.39894228, -0.03988024, -0.00362018, 0.00163801, -0.01031555,
                               0.02282967, -0.02895312, 0.01787654,  -0.00420059};

// K0 and K1 up to 2: polynomials in x squared / 4 added to -ln(x/2) I0(x) and
// (x K1) to x ln(x/2) I1(x); above 2: sqrt(x) e^x K as a polynomial in 2/x.
constexpr double kK0Small[] = {-0.57721566, 0.42278420, 0.23069756, 0.03488590, 0.00262698, 0.00010750, 0.00000740};
constexpr double kK0Large[] = {1.25331414, -0.07832358, 0.02189568, -0.01062446, 0.00587872, -0.00251540, 0.00053208};
constexpr double kK1Small[] = {1.0, 0.15443144, -0.67278579, -0.18156897, -0.01919402, -0.00110404, -0.00004686};
constexpr double kK1Large[] = {1.25331414, 0.23498619, -0.03655620, 0.01504268, -0.00780353, 0.00325614, -0.00068245};

// Miller's recurrences scale their values down by this factor whenever one
// passes its reciprocal, so that they never overflow.
constexpr double kRescaleAbove = 1e10;
constexpr double kRescaleBy = 1e-10;

double J0(double x) {
  const double ax = std::fabs(x);
  if (ax < 8.0) {
    const double y = x * x;
    return Polynomial(kJ0Num, y) / Polynomial(kJ0Den, y);
  }
  const double z = 8.0 / ax;
  const double y = z * z;
  const double phase = ax - kPhase0;
  return std::sqrt(kTwoOverPi / ax) * (std::cos(phase) * Polynomial(kP0, y) - z * std::sin(phase) * Polynomial(kQ0, y));
}

double J1(double x) {
  const double ax = std::fabs(x);
  if (ax < 8.0) {
    const double y = x * x;
    return x * Polynomial(kJ1Num, y) / Polynomial(kJ1Den, y);
  }
  const double z = 8.0 / ax;
  const double y = z * z;
  const double phase = ax - kPhase1;
  const double value =
      std::sqrt(kTwoOverPi / ax) * (std::cos(phase) * Polynomial(kP1, y) - z * std::sin(phase) * Polynomial(kQ1, y));
  return x < 0.0 ? -value : value;
}

// Y0 and Y1 for x above 0.
double Y0(double x, TCalcStatus& status) {
  if (x < 8.0) {
    const double y = x * x;
    return Polynomial(kY0Num, y) / Polynomial(kY0Den, y) + kTwoOverPi * J0(x) * SafeLn(x, status);
  }
  const double z = 8.0 / x;
  const double y = z * z;
  const double phase = x - kPhase0;
  return std::sqrt(kTwoOverPi / x) * (std::sin(phase) * Polynomial(kP0, y) + z * std::cos(phase) * Polynomial(kQ0, y));
}

double Y1(double x, TCalcStatus& status) {
  if (x < 8.0) {
    const double y = x * x;
    return x * Polynomial(kY1Num, y) / Polynomial(kY1Den, y) +
           kTwoOverPi * (J1(x) * SafeLn(x, status) - SafeDivide(1.0, x, status));
  }
  const double z = 8.0 / x;
  const double y = z * z;
  const double phase = x - kPhase1;
  return std::sqrt(kTwoOverPi / x) * (std::sin(phase) * Polynomial(kP1, y) + z * std::cos(phase) * Polynomial(kQ1, y));
}

// I0 and I1 for |x| below 700 (e^|x| is guarded).
double I0(double x, TCalcStatus& status) {
  const double ax = std::fabs(x);
  if (ax < 3.75) {
    const double t = x / 3.75;
    return Polynomial(kI0Small, t * t);
  }
  return SafeExp(ax, status) / std::sqrt(ax) * Polynomial(kI0Large, 3.75 / ax);
}

double I1(double x, TCalcStatus& status) {
  const double ax = std::fabs(x);
  if (ax < 3.75) {
    const double t = x / 3.75;
    return x * Polynomial(kI1Small, t * t);
  }
  const double value = SafeExp(ax, status) / std::sqrt(ax) * Polynomial(kI1Large, 3.75 / ax);
  return x < 0.0 ? -value : value;
}

// K0 and K1 for x above 0.
double K0(double x, TCalcStatus& status) {
  if (x <= 2.0) return -SafeLn(x / 2.0, status) * I0(x, status) + Polynomial(kK0Small, x * x / 4.0);
  return SafeExp(-x, status) / std::sqrt(x) * Polynomial(kK0Large, 2.0 / x);
}

double K1(double x, TCalcStatus& status) {
  if (x <= 2.0)
    return SafeLn(x / 2.0, status) * I1(x, status) + SafeDivide(1.0, x, status) * Polynomial(kK1Small, x * x / 4.0);
  return SafeExp(-x, status) / std::sqrt(x) * Polynomial(kK1Large, 2.0 / x);
}

// The running values of Miller's downward recurrence from order m + 1 = 0 and
// m = 1: the values at k + 1 and k, the value kept at the wanted order and a sum
// the caller may collect. All are scaled down together whenever the newest
// value passes kRescaleAbove, so the recurrence never overflows.
struct TDownward {
  double above = 0.0;
  double current = 1.0;
  double kept = 0.0;
  double evenSum = 0.0;

  // Moves one order down to `below`, the value at k - 1; keeps the value at
  // `order` once k reaches it.
  void Step(double below, int k, int order) {
    above = current;
    current = below;
    if (std::fabs(current) > kRescaleAbove) {
      current *= kRescaleBy;
      above *= kRescaleBy;
      kept *= kRescaleBy;
      evenSum *= kRescaleBy;
    }
    if (k == order) kept = above;
  }
};

// J_n(x) for n >= 2 and x > 0.
double JOfOrder(int n, double x) {
  const double tox = 2.0 / x;
  if (x > n) {
    // Upward: J(k+1) = k (2/x) J(k) - J(k-1), stable while k stays below x.
    double previous = J0(x);
    double current = J1(x);
    for (int k = 1; k < n; ++k) {
      const double next = k * tox * current - previous;
      previous = current;
      current = next;
    }
    return current;
  }
  // Downward from an even start well above n with J(m+1) = 0 and J(m) = 1;
  // J(0) + 2 (J(2) + J(4) + ...) = 1 gives the scale.
  const int start = 2 * ((n + static_cast<int>(std::sqrt(40.0 * n))) / 2);
  TDownward d;
  bool even = false;
  for (int k = start; k > 0; --k) {
    d.Step(k * tox * d.current - d.above, k, n);
    if (even) d.evenSum += d.current;
    even = !even;
  }
  return d.kept / (2.0 * d.evenSum - d.current);
}

// I_n(x) for n >= 2 and x > 0 below 700.
double IOfOrder(int n, double x, TCalcStatus& status) {
  const double tox = 2.0 / x;
  // Downward with I(m+1) = 0 and I(m) = 1, normalised by I0. The start must lie
  // well above n and, for large x, well above sqrt(x) too: the relative error of
  // the start is about exp(-(m^2 - n^2)/x).
  int start = 2 * (n + static_cast<int>(std::sqrt(40.0 * n)));
  const int forLargeX = static_cast<int>(std::sqrt(static_cast<double>(n) * n + 40.0 * x)) + 2;
  if (start < forLargeX) start = forLargeX;
  TDownward d;
  for (int k = start; k > 0; --k) d.Step(d.above + k * tox * d.current, k, n);
  return d.kept * I0(x, status) / d.current;
}

// The order as a whole number, or false (with the error set) when it is not
// finite or beyond kMaxBesselOrder.
bool TakeOrder(double n, int& order, TCalcStatus& status) {
  if (!std::isfinite(n) || std::fabs(std::trunc(n)) > kMaxBesselOrder) {
    status.error = true;
    return false;
  }
  order = static_cast<int>(std::trunc(n));
  return true;
}

// Upward recurrence from f0 and f1 to order n: Y(k+1) = k (2/x) Y(k) - Y(k-1),
// or for the modified kind K(k+1) = K(k-1) + k (2/x) K(k). Both grow with k and
// may overflow, which is an error.
double RecurUp(double f0, double f1, int n, double x, bool modified, TCalcStatus& status) {
  const double tox = 2.0 / x;
  double previous = f0;
  double current = f1;
  for (int k = 1; k < n; ++k) {
    const double next = modified ? previous + k * tox * current : k * tox * current - previous;
    if (!std::isfinite(next)) return detail::Fail(status, 1.0);
    previous = current;
    current = next;
  }
  return current;
}

}  // namespace

double BesselJ(double x, double n, TCalcStatus& status) {
  return detail::ValueOrSubstitute(status, 1.0, [&](TCalcStatus& s) {
    int order;
    if (!TakeOrder(n, order, s) || !std::isfinite(x)) return detail::Fail(s, 1.0);
    const double sign = (order < 0 && order % 2 != 0) ? -1.0 : 1.0;
    order = std::abs(order);
    if (order == 0) return J0(x);
    if (order == 1) return sign * J1(x);
    if (x == 0.0) return detail::Fail(s, 1.0);
    const double parity = (x < 0.0 && order % 2 != 0) ? -1.0 : 1.0;
    return sign * parity * JOfOrder(order, std::fabs(x));
  });
}

double BesselY(double x, double n, TCalcStatus& status) {
  return detail::ValueOrSubstitute(status, 1.0, [&](TCalcStatus& s) {
    int order;
    if (!TakeOrder(n, order, s) || !(x > 0.0) || !std::isfinite(x)) return detail::Fail(s, 1.0);
    const double sign = (order < 0 && order % 2 != 0) ? -1.0 : 1.0;
    order = std::abs(order);
    if (order == 0) return Y0(x, s);
    if (order == 1) return sign * Y1(x, s);
    return sign * RecurUp(Y0(x, s), Y1(x, s), order, x, false, s);
  });
}

double BesselI(double x, double n, TCalcStatus& status) {
  return detail::ValueOrSubstitute(status, 1.0, [&](TCalcStatus& s) {
    int order;
    if (!TakeOrder(n, order, s) || !(std::fabs(x) < detail::kExpLimit)) return detail::Fail(s, 1.0);
    order = std::abs(order);
    if (order == 0) return I0(x, s);
    if (order == 1) return I1(x, s);
    if (x == 0.0) return detail::Fail(s, 1.0);
    const double parity = (x < 0.0 && order % 2 != 0) ? -1.0 : 1.0;
    return parity * IOfOrder(order, std::fabs(x), s);
  });
}

double BesselK(double x, double n, TCalcStatus& status) {
  return detail::ValueOrSubstitute(status, 1.0, [&](TCalcStatus& s) {
    int order;
    if (!TakeOrder(n, order, s) || !(x > 0.0) || !(x < detail::kExpLimit)) return detail::Fail(s, 1.0);
    order = std::abs(order);
    if (order == 0) return K0(x, s);
    if (order == 1) return K1(x, s);
    return RecurUp(K0(x, s), K1(x, s), order, x, true, s);
  });
}

}  // namespace corvane::numeric

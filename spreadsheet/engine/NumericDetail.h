// Helpers and limits shared by the numeric library's source files; not for
// callers of the library.
#pragma once

#include <cmath>
#include <span>

#include "spreadsheet/engine/NumericLibrary.h"

namespace corvane::numeric::detail {

// Every series and continued fraction runs at most this many rounds and stops
// when its change falls below this fraction of its value.
inline constexpr int kMaxRounds = 100;
inline constexpr double kTolerance = 3e-7;

// The guarded exponential refuses arguments of this magnitude and more.
inline constexpr double kExpLimit = 700.0;

inline constexpr double kPi = 3.14159265358979323846;

// Sets the error and hands back the substitute value.
inline double Fail(TCalcStatus& status, double substitute) {
  status.error = true;
  return substitute;
}

// `value` when it is finite, else an error with the substitute value.
inline double Checked(double value, TCalcStatus& status, double substitute) {
  return std::isfinite(value) ? value : Fail(status, substitute);
}

// Runs `compute` on a status of its own and gives its value, or the substitute
// with the error set when anything inside failed or the value is not finite.
// For routines whose every error has the one substitute value.
template <typename Compute>
double ValueOrSubstitute(TCalcStatus& status, double substitute, Compute compute) {
  TCalcStatus inner;
  const double value = compute(inner);
  if (inner.error || !std::isfinite(value)) return Fail(status, substitute);
  return value;
}

inline bool AllFinite(std::span<const double> cells) {
  for (double v : cells)
    if (!std::isfinite(v)) return false;
  return true;
}

// Nearest whole number, halves to the even neighbour, whatever the floating
// point rounding mode. For finite x.
inline double RoundHalfEven(double x) {
  double r = std::round(x);  // halves away from zero, exactly
  if (std::fabs(r - x) == 0.5 && std::fmod(r, 2.0) != 0.0) r -= std::copysign(1.0, x);
  return r;
}

}  // namespace corvane::numeric::detail

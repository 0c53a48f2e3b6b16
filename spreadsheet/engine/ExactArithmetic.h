// Error-free sums and products of doubles: the rounded result and, exactly,
// what rounding took from it. For sums and powers that must keep more digits
// than a double holds. Round to nearest, no fused multiply-add; values beyond
// about 1e300 overflow the product's split and give no number.
#pragma once

namespace corvane {

// A value held as the unevaluated sum hi + lo of two doubles (about 106 bits).
struct TDoubleDouble {
  double hi = 0, lo = 0;
};

// a + b exactly (Knuth).
inline TDoubleDouble TwoSum(double a, double b) {
  double sum = a + b;
  double back = sum - a;
  return {sum, (a - (sum - back)) + (b - back)};
}

// a * b exactly, through halves of 26 bits whose products are exact (Dekker).
inline TDoubleDouble TwoProduct(double a, double b) {
  auto split = [](double v, double& high, double& low) {
    double c = 134217729.0 * v;  // 2^27 + 1
    high = c - (c - v);
    low = v - high;
  };
  double p = a * b, aHi = 0, aLo = 0, bHi = 0, bLo = 0;
  split(a, aHi, aLo);
  split(b, bHi, bLo);
  return {p, ((aHi * bHi - p) + aHi * bLo + aLo * bHi) + aLo * bLo};
}

}  // namespace corvane

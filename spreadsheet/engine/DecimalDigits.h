// Decimal digits of a double and their fixed-point and exponent texts, written
// here rather than by the C runtime so that every build shows the same text:
// the runtimes differ in exponent digits and in how they round halves.
#pragma once

#include <string>

namespace corvane {

// A finite number as 0.<digits> x 10^pointPos. The digits have no leading or
// trailing zeros; zero has no digits.
struct TDecimalDigits {
  bool negative = false;
  std::string digits;
  int pointPos = 0;

  bool IsZero() const { return digits.empty(); }
};

// The shortest digits that read back as exactly x. x must be finite.
TDecimalDigits DecimalDigitsOf(double x);

// The digits of x correctly rounded to `count` significant digits (1 to 17),
// trailing zeros dropped. x must be finite.
TDecimalDigits DecimalDigitsOf(double x, int count);

// Round to `count` leading digits, halves away from zero. A count below 0
// gives zero; a count at or above the number of digits changes nothing.
void RoundToDigitCount(TDecimalDigits& d, int count);

// Round to `decimals` places after the point, halves away from zero.
void RoundToDecimals(TDecimalDigits& d, int decimals);

// Fixed-point text of the digits without a sign: at least one integer digit,
// then `separator` and exactly `decimals` places (none when decimals is 0).
// Digits beyond `decimals` are dropped, so round first.
std::string FixedDigitText(const TDecimalDigits& d, int decimals, char separator);

// Exponent text with a sign for negatives: one digit, `separator` and the next
// `decimals` digits (padded with zeros; all remaining digits when decimals is
// negative, no separator when none remain), "E", the exponent's sign and at
// least `exponentDigits` digits. Digits beyond `decimals` are dropped.
std::string ExponentText(const TDecimalDigits& d, int decimals, int exponentDigits, char separator);

// Fixed-point text of x rounded to `decimals` places (at most 255; a negative
// count rounds to tens, hundreds and so on), with "-" for x below 0. x must be
// finite.
std::string FixedText(double x, int decimals, char separator);

}  // namespace corvane

// Reading number text and writing the general text of a number, both with the
// decimal separator of the settings.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

inline constexpr int kMaxNumberText = 240;  // longest text StrToReal reads

// Reads `text` as a decimal real: an optional sign, digits, an optional
// separator and digits, an optional exponent ("E" or "e", optional sign,
// digits). A leading separator counts as "0" before it. errPos is 0 on success,
// else the 1-based position in `text` of the first character that is not part
// of the number (one past the end when the text stops short, 1 when the value
// is too large for a double); x is then 0. Values too small for a double read
// as 0. A text longer than 240 characters is an error at position 241.
void StrToReal(std::string_view text, double& x, int& errPos);

// The general text of x: fixed-point for 1e-6 <= |x| <= 1e6, "0" for zero,
// else one digit, the separator, more digits and an exponent such as "E+07" or
// "E-123". It carries the fewest digits that read back as exactly x, so edit
// texts and formula constants never change a value. Infinities and NaN give
// "ERR".
std::string RealToGeneralText(double x);

// The general text of x as the sheet shows it: the same form, rounded to 15
// significant digits, so that the last bits of a computed value (0.1+0.2,
// 100*1.1) do not show, while any number typed with up to 15 digits shows as
// typed.
std::string RealToGeneralDisplayText(double x);

// The general display text of x for a column `width` characters wide: when the text is
// longer than the width, has no exponent and its decimal separator lies before
// the width, the decimals beyond the width are cut off (not rounded). Returns
// the 1-based position of the separator when it was looked for (0 when absent),
// else 4.
int GeneralTextInWidth(int width, std::string& text, double x);

// The general display text of x shortened to at most `width` characters and
// rounded, not cut: the fixed form with fewer decimals, down to the whole
// number, at any magnitude whose whole digits fit (1234567.89 in 7 gives
// 1234568); else the exponent form with fewer mantissa digits (1.2E+20). Of
// the two it takes the exponent form only where it keeps more significant
// digits (1.23E-06 rather than 0.000001 in 8). False, `text` unchanged, when
// neither fits; a fixed form that rounds a non-zero x to 0 never counts.
bool ShortenGeneralText(int width, double x, std::string& text);

}  // namespace corvane

// Decimal digits of a double and their fixed-point and exponent texts.
#include "spreadsheet/engine/DecimalDigits.h"

#include <charconv>
#include <cstdlib>

namespace corvane {

namespace {

constexpr int kMaxFixedDecimals = 255;

void StripTrailingZeros(TDecimalDigits& d) {
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
  if (d.digits.empty()) d.pointPos = 0;
}

// Digits from the library's scientific text, e.g. "-1.2345e+02"; the library
// writes it itself, the same on every target.
TDecimalDigits DigitsOfScientificText(const char* buf, std::to_chars_result r) {
  TDecimalDigits d;
  const char* p = buf;
  const char* end = r.ptr;
  if (p < end && *p == '-') {
    d.negative = true;
    ++p;
  }
  for (; p < end && *p != 'e'; ++p)
    if (*p >= '0' && *p <= '9') d.digits += *p;
  int exponent = 0;
  if (p < end) std::from_chars(p + 1 + (p[1] == '+'), end, exponent);
  size_t lead = d.digits.find_first_not_of('0');
  if (lead == std::string::npos) {
    d.digits.clear();
    d.pointPos = 0;
    return d;
  }
  d.digits.erase(0, lead);
  d.pointPos = exponent + 1 - static_cast<int>(lead);
  StripTrailingZeros(d);
  return d;
}

}  // namespace

TDecimalDigits DecimalDigitsOf(double x) {
  char buf[64];
  return DigitsOfScientificText(buf, std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific));
}

TDecimalDigits DecimalDigitsOf(double x, int count) {
  char buf[64];
  int precision = count < 1 ? 0 : count > 17 ? 16 : count - 1;
  return DigitsOfScientificText(buf, std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, precision));
}

void RoundToDigitCount(TDecimalDigits& d, int count) {
  if (count >= static_cast<int>(d.digits.size())) return;
  if (count < 0) {
    d.digits.clear();
    d.pointPos = 0;
    return;
  }
  bool up = d.digits[count] >= '5';
  d.digits.resize(count);
  if (up) {
    int i = count - 1;
    while (i >= 0 && d.digits[i] == '9') d.digits[i--] = '0';
    if (i >= 0) {
      ++d.digits[i];
    } else {
      d.digits.insert(d.digits.begin(), '1');
      ++d.pointPos;
    }
  }
  StripTrailingZeros(d);
}

void RoundToDecimals(TDecimalDigits& d, int decimals) {
  if (d.IsZero()) return;
  // Keep the digits down to the last place; guard the sum against huge counts.
  long long keep = static_cast<long long>(d.pointPos) + decimals;
  if (keep > static_cast<long long>(d.digits.size())) return;
  RoundToDigitCount(d, static_cast<int>(keep));
}

std::string FixedDigitText(const TDecimalDigits& d, int decimals, char separator) {
  std::string text;
  int size = static_cast<int>(d.digits.size());
  if (d.pointPos <= 0) {
    text = "0";
  } else {
    text.reserve(d.pointPos + decimals + 2);
    for (int i = 0; i < d.pointPos; ++i) text += i < size ? d.digits[i] : '0';
  }
  if (decimals > 0) {
    text += separator;
    for (int i = 0; i < decimals; ++i) {
      int index = d.pointPos + i;
      text += index >= 0 && index < size ? d.digits[index] : '0';
    }
  }
  return text;
}

std::string ExponentText(const TDecimalDigits& d, int decimals, int exponentDigits, char separator) {
  std::string text = d.negative && !d.IsZero() ? "-" : "";
  int size = static_cast<int>(d.digits.size());
  text += d.IsZero() ? '0' : d.digits[0];
  int shown = decimals >= 0 ? decimals : size - 1;
  if (shown > 0) {
    text += separator;
    for (int i = 1; i <= shown; ++i) text += i < size ? d.digits[i] : '0';
  }
  int exponent = d.IsZero() ? 0 : d.pointPos - 1;
  text += 'E';
  text += exponent < 0 ? '-' : '+';
  std::string number = std::to_string(std::abs(exponent));
  if (static_cast<int>(number.size()) < exponentDigits) text.append(exponentDigits - number.size(), '0');
  text += number;
  return text;
}

std::string FixedText(double x, int decimals, char separator) {
  if (decimals > kMaxFixedDecimals) decimals = kMaxFixedDecimals;
  TDecimalDigits d = DecimalDigitsOf(x);
  RoundToDecimals(d, decimals);
  return (x < 0 ? "-" : "") + FixedDigitText(d, decimals, separator);
}

}  // namespace corvane

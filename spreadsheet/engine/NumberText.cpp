// Reading number text and writing the general text of a number.
#include "spreadsheet/engine/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

#include "spreadsheet/engine/DecimalDigits.h"
#include "spreadsheet/engine/FormatSettings.h"

namespace corvane {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

void StrToReal(std::string_view original, double& x, int& errPos) {
  x = 0;
  std::string text(original.substr(0, kMaxNumberText));
  size_t sep = text.find(FormatSettings().Period);
  if (sep != std::string::npos) text[sep] = '.';
  // A leading point reads as "0."; remember where the "0" went so that error
  // positions refer to the caller's text.
  size_t inserted = std::string::npos;
  if (!text.empty() && text[0] == '.') {
    inserted = 0;
  } else if (text.size() > 1 && (text[0] == '+' || text[0] == '-') && text[1] == '.') {
    inserted = 1;
  }
  if (inserted != std::string::npos) text.insert(inserted, 1, '0');
  auto callerPos = [&](size_t i) {
    return static_cast<int>(i + 1 - (inserted != std::string::npos && i > inserted ? 1 : 0));
  };

  // Scan the syntax; from_chars alone would also take "inf" and "nan".
  size_t i = 0, n = text.size();
  if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
  size_t intStart = i;
  while (i < n && IsDigit(text[i])) ++i;
  size_t intEnd = i;
  if (intEnd == intStart) {
    errPos = callerPos(i);
    return;
  }
  size_t fracStart = intEnd, fracEnd = intEnd;
  if (i < n && text[i] == '.') {
    fracStart = ++i;
    while (i < n && IsDigit(text[i])) ++i;
    fracEnd = i;
  }
  long exponent = 0;
  if (i < n && (text[i] == 'E' || text[i] == 'e')) {
    ++i;
    bool minus = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) minus = text[i++] == '-';
    if (i == n || !IsDigit(text[i])) {
      errPos = callerPos(i);
      return;
    }
    for (; i < n && IsDigit(text[i]); ++i)
      if (exponent < 100000) exponent = exponent * 10 + (text[i] - '0');
    if (minus) exponent = -exponent;
  }
  if (i < n) {
    errPos = callerPos(i);
    return;
  }
  if (original.size() > static_cast<size_t>(kMaxNumberText)) {
    errPos = kMaxNumberText + 1;
    return;
  }

  size_t start = text[0] == '+' ? 1 : 0;  // from_chars takes no "+"
  double value = 0;
  std::from_chars_result r =
      std::from_chars(text.data() + start, text.data() + n, value, std::chars_format::general);
  if (r.ec == std::errc::result_out_of_range) {
    // Out of range either way: the magnitude (digits before the point, or
    // minus the zeros after it) plus the exponent says which.
    long magnitude = 0;
    size_t firstDigit = text.find_first_not_of('0', intStart);
    if (firstDigit < intEnd) {
      magnitude = static_cast<long>(intEnd - firstDigit);
    } else {
      size_t firstFrac = text.find_first_not_of('0', fracStart);
      magnitude = -static_cast<long>((firstFrac < fracEnd ? firstFrac : fracEnd) - fracStart);
    }
    if (magnitude + exponent > 0) {
      errPos = 1;
      return;
    }
    value = text[0] == '-' ? -0.0 : 0.0;
  } else if (r.ec != std::errc() || !std::isfinite(value)) {
    errPos = 1;
    return;
  }
  x = value;
  errPos = 0;
}

namespace {

constexpr int kShownDigits = 15;

std::string GeneralDigitText(double x, const TDecimalDigits& d) {
  char sep = FormatSettings().Period;
  double magnitude = std::fabs(x);
  if (magnitude >= 1e-6 && magnitude <= 1e6) {
    int decimals = static_cast<int>(d.digits.size()) - d.pointPos;
    if (decimals < 0) decimals = 0;
    return (d.negative ? "-" : "") + FixedDigitText(d, decimals, sep);
  }
  return ExponentText(d, -1, 2, sep);
}

}  // namespace

std::string RealToGeneralText(double x) {
  if (!std::isfinite(x)) return "ERR";
  if (x == 0) return "0";
  return GeneralDigitText(x, DecimalDigitsOf(x));
}

std::string RealToGeneralDisplayText(double x) {
  if (!std::isfinite(x)) return "ERR";
  if (x == 0) return "0";
  return GeneralDigitText(x, DecimalDigitsOf(x, kShownDigits));
}

int GeneralTextInWidth(int width, std::string& text, double x) {
  text = RealToGeneralDisplayText(x);
  if (static_cast<int>(text.size()) <= width || text.find('E') != std::string::npos) return 4;
  size_t sep = text.find(FormatSettings().Period);
  int pos = sep == std::string::npos ? 0 : static_cast<int>(sep) + 1;
  if (pos > 0 && pos < width) text.resize(width);
  return pos;
}

namespace {

// The fixed form of the digits `d` with the most decimals that fit in
// `width` characters and show at most the display's 15 significant digits,
// trailing zeros dropped; false when even the whole number is too long or
// rounds to 0.
bool FixedInWidth(int width, const TDecimalDigits& d, std::string& text, int& significant) {
  int sign = d.negative ? 1 : 0;
  int wholeDigits = std::max(d.pointPos, 1);
  if (sign + wholeDigits > width) return false;
  int most = std::max(0, std::min(static_cast<int>(d.digits.size()), kShownDigits) - d.pointPos);
  for (int decimals = std::clamp(width - sign - wholeDigits - 1, 0, most); decimals >= 0; --decimals) {
    TDecimalDigits rounded = d;
    RoundToDecimals(rounded, decimals);
    if (rounded.IsZero()) return false;
    int shown = std::clamp(static_cast<int>(rounded.digits.size()) - rounded.pointPos, 0, decimals);
    std::string candidate = (sign ? "-" : "") + FixedDigitText(rounded, shown, FormatSettings().Period);
    if (static_cast<int>(candidate.size()) <= width) {
      text = candidate;
      significant = static_cast<int>(rounded.digits.size());
      return true;
    }
  }
  return false;
}

// The exponent form of the digits `d` with the most mantissa digits
// that fit, at most the display's 15.
bool ExponentInWidth(int width, const TDecimalDigits& d, std::string& text, int& significant) {
  for (int count = std::min(static_cast<int>(d.digits.size()), kShownDigits); count >= 1; --count) {
    TDecimalDigits rounded = d;
    RoundToDigitCount(rounded, count);
    std::string candidate = ExponentText(rounded, -1, 2, FormatSettings().Period);
    if (static_cast<int>(candidate.size()) <= width) {
      text = candidate;
      significant = static_cast<int>(rounded.digits.size());
      return true;
    }
  }
  return false;
}

}  // namespace

bool ShortenGeneralText(int width, double x, std::string& text) {
  if (!std::isfinite(x) || width <= 0) return false;
  std::string whole = RealToGeneralDisplayText(x);
  if (static_cast<int>(whole.size()) <= width) {
    text = whole;
    return true;
  }
  // Rounded once, from the number's own digits (the shortest that read back
  // as it, as the edit line shows them): rounding its 15-digit display text
  // again would take 999.4999999999999 (shown 999.5) to 1000, too wide for 3.
  TDecimalDigits d = DecimalDigitsOf(x);
  std::string fixed, exponent;
  int fixedDigits = 0, exponentDigits = 0;
  bool haveFixed = FixedInWidth(width, d, fixed, fixedDigits);
  bool haveExponent = ExponentInWidth(width, d, exponent, exponentDigits);
  if (!haveFixed && !haveExponent) return false;
  text = haveFixed && (!haveExponent || fixedDigits >= exponentDigits) ? fixed : exponent;
  return true;
}

}  // namespace corvane

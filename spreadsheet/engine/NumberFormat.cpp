// Display text of a number by its cell format byte, and the status-line code
// of a format.
#include "spreadsheet/engine/NumberFormat.h"

#include <cmath>

#include "spreadsheet/engine/DateTime.h"
#include "spreadsheet/engine/DecimalDigits.h"
#include "spreadsheet/engine/FormatSettings.h"
#include "spreadsheet/engine/NumberText.h"

namespace corvane {

namespace {

constexpr int kMaxEngineeringText = 15;
constexpr int kEngineeringWidth = 5;
constexpr int kLowestEngineeringGroup = -6;
constexpr int kHighestEngineeringGroup = 4;

// The integer digits of a fixed text grouped by threes with the separator.
std::string GroupThousands(const std::string& fixed, char separator, char thousands) {
  size_t intEnd = fixed.find(separator);
  if (intEnd == std::string::npos) intEnd = fixed.size();
  std::string grouped;
  for (size_t i = 0; i < intEnd; ++i) {
    if (i > 0 && (intEnd - i) % 3 == 0) grouped += thousands;
    grouped += fixed[i];
  }
  return grouped + fixed.substr(intEnd);
}

std::string ScientificText(int decimals, double x) {
  TDecimalDigits d = DecimalDigitsOf(x);
  RoundToDigitCount(d, decimals + 1);
  return ExponentText(d, decimals, 3, FormatSettings().Period);
}

std::string PercentText(int decimals, double x) {
  TDecimalDigits d = DecimalDigitsOf(x);
  if (!d.IsZero()) d.pointPos += 2;  // times 100, exactly in decimal
  RoundToDecimals(d, decimals);
  return (x < 0 ? "-" : "") + FixedDigitText(d, decimals, FormatSettings().Period);
}

std::string BarText(double x) {
  double n = std::trunc(x);
  if (n == 0) return ".";
  double count = std::fmin(std::fabs(n), kMaxBarLength);
  return std::string(static_cast<size_t>(count), n > 0 ? '+' : '-');
}

// The time of day of |x|, rounded to the nearest second.
std::string TimeOfDayText(double x, int mode) {
  double magnitude = std::fabs(x);
  double seconds = std::round((magnitude - std::floor(magnitude)) * 86400);
  int total = static_cast<int>(seconds) % 86400;
  std::string sign = x < 0 ? "-" : " ";
  return sign + FormatTimeOfDay(total / 3600, total / 60 % 60, total % 60, mode);
}

std::string SpecialText(int width, int code, double x) {
  switch (code) {
    case 0x0:
      return BarText(x);
    case 0x2:
    case 0x3:
    case 0x4:
    case 0x9:
    case 0xA:
      return FormatDate(code, x);
    case 0x6:
      return "";
    case 0x7:
    case 0x8:
    case 0xB:
    case 0xC:
      return TimeOfDayText(x, code - 7);
    default: {
      std::string text;
      GeneralTextInWidth(width, text, x);
      return text;
    }
  }
}

// The format byte FormatValue goes by: hidden for a zero shown as blank, the
// sheet's default format for $7F, general when that is $7F too.
int ResolvedFormat(uint8_t format, double x) {
  const TFormatSettings& settings = FormatSettings();
  int f = format & 0x7F;
  if (settings.Zero && x == 0) f = kFormatHidden;
  if (f == kFormatDefault) f = settings.GForm & 0x7F;
  if (f == kFormatDefault) f = kFormatGeneral;
  return f;
}

}  // namespace

bool ShowsGeneralText(uint8_t format, double x) {
  int f = ResolvedFormat(format, x);
  if (!std::isfinite(x) || f >> 4 < 6) return false;
  int code = f & 0x0F;
  return f >> 4 == 6 || code == 0x1 || code == 0x5 || code >= 0xD;
}

std::string FormatValueInWidth(int width, uint8_t format, double x) {
  if (!ShowsGeneralText(format, x)) return FormatValue(width, format, x);
  // Rounded to the width rather than cut: 2/3 shows as 0.6667, not 0.6666.
  std::string text;
  if (!ShortenGeneralText(width, x, text)) text = RealToGeneralDisplayText(x);
  return text + " ";
}

std::string FormatValue(int width, uint8_t format, double x) {
  if (!std::isfinite(x)) return "ERR";
  const TFormatSettings& settings = FormatSettings();
  int f = ResolvedFormat(format, x);

  std::string text;
  std::string suffix = " ";
  int low = f & 0x0F;
  switch (f >> 4) {
    case 0:
      text = FixedText(x, low, settings.Period);
      break;
    case 1:
      text = ScientificText(low, x);
      break;
    case 2:
      if (low & 8) {
        text = FormatFraction(low & 7, x);
      } else {
        text = FormatThousands(low, x);
        if (x < 0) {
          text.insert(1, settings.Curr);  // after the "("
          suffix.clear();                 // the ")" stands in for the space
        } else {
          text.insert(0, settings.Curr);
        }
        text += settings.Curs;
      }
      break;
    case 3:
      text = PercentText(low & 7, x);
      suffix = "%";
      break;
    case 4:
      text = FormatThousands(low, x);
      if (x < 0) suffix.clear();
      break;
    case 5:
      text = FormatNumber(low, x);
      break;
    case 6:
      text = SpecialText(width, 1, x);
      break;
    default:
      text = SpecialText(width, low, x);
      break;
  }
  text += suffix;
  size_t first = text.find_first_not_of(' ');
  text.erase(0, first == std::string::npos ? text.size() : first);
  if (text.size() > static_cast<size_t>(kMaxShortText)) text.resize(kMaxShortText);
  return text;
}

std::string FormatThousands(int decimals, double x) {
  const TFormatSettings& settings = FormatSettings();
  if (!std::isfinite(x)) return "ERR";
  TDecimalDigits d = DecimalDigitsOf(x);
  RoundToDecimals(d, decimals);
  std::string text = GroupThousands(FixedDigitText(d, decimals, settings.Period), settings.Period, settings.Comma);
  if (x < 0) text = "(" + text + ")";
  if (text.size() > static_cast<size_t>(kMaxShortText)) text.resize(kMaxShortText);
  return text;
}

std::string FormatNumber(int decimals, double x) {
  const TFormatSettings& settings = FormatSettings();
  if (!std::isfinite(x)) return "ERR";
  int group = 0;
  if (x != 0) {
    double e = std::round(std::log10(std::fabs(x)) + 0.0001);
    group = static_cast<int>(std::floor(e / 3));
  }
  if (group < kLowestEngineeringGroup || group > kHighestEngineeringGroup) {
    TDecimalDigits d = DecimalDigitsOf(x);
    RoundToDigitCount(d, 11);
    return ExponentText(d, 10, 3, settings.Period);
  }
  int slot = group - kLowestEngineeringGroup;
  double scaled = x / settings.EngScales[slot];
  if (!std::isfinite(scaled)) scaled = x;  // a scale of 0 in the settings
  std::string text = FixedText(scaled, decimals, settings.Period);
  if (text.size() < static_cast<size_t>(kEngineeringWidth)) text.insert(0, kEngineeringWidth - text.size(), ' ');
  // Cut the number, not its unit: a text without the letter would read a
  // thousand times off.
  if (text.size() > static_cast<size_t>(kMaxEngineeringText - 1)) text.resize(kMaxEngineeringText - 1);
  if (static_cast<size_t>(slot) < settings.EngUnitLetters.size()) text += settings.EngUnitLetters[slot];
  return text;
}

std::string FormatFraction(int style, double x) {
  static const int kDenominators[8] = {1, 2, 4, 8, 16, 32, 64, 128};
  if (!std::isfinite(x)) return "ERR";
  style &= 7;
  bool negative = x < 0;
  double magnitude = std::fabs(x);
  double whole = std::trunc(magnitude);
  double numerator = std::round((magnitude - whole) * kDenominators[style]);
  while (numerator > 0 && std::fmod(numerator, 2) == 0 && style > 0) {
    numerator /= 2;
    --style;
  }
  if (numerator < 0) return "<Err>";
  std::string wholeText = RealToGeneralText(whole);
  std::string fraction;
  if (numerator > 0) {
    if (numerator >= kDenominators[style]) {
      wholeText = RealToGeneralText(whole + 1);
    } else {
      wholeText = wholeText == "0" ? "" : wholeText + "-";
      fraction = std::to_string(static_cast<int>(numerator)) + "/" + std::to_string(kDenominators[style]);
    }
  }
  return (negative ? "-" : " ") + wholeText + fraction;
}

std::string FormatLetterText(uint8_t format) {
  const TFormatSettings& settings = FormatSettings();
  // Position of each type's letter in the format letters.
  static const int kTypeLetter[7] = {0, 1, 4, 8, 5, 2, 6};
  int f = format & 0x7F;
  int type = f >> 4;
  std::string code;
  if (type == 7) {
    code = settings.SpecialCodes[f & 15];
    while (!code.empty() && code.back() == ' ') code.pop_back();
  } else if (type == 2 && (f & 8)) {
    code = "Fr" + std::to_string(f & 7);
  } else {
    size_t position = static_cast<size_t>(kTypeLetter[type]);
    code = position < settings.FormatLetters.size() ? settings.FormatLetters[position] : '?';
    if (type == 2 || type == 3) {
      code += std::to_string(f & 7);
    } else if (type != 6) {
      code += std::to_string(f & 15);
    }
  }
  if (code.size() > 5) code.resize(5);
  if (settings.Pro) code.insert(0, format & 0x80 ? "Pr " : "Un ");
  return code;
}

}  // namespace corvane

// Character classes, short-string helpers, format codes and the word stack.
#include "spreadsheet/engine/TextRoutines.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "spreadsheet/engine/FormatSettings.h"
#include "spreadsheet/engine/FormulaCompiler.h"
#include "spreadsheet/engine/TextCase.h"

namespace corvane {
namespace {

std::int16_t gWordStack[kWordStackDepth];
int gWordStackTop = 0;

}  // namespace

bool IsValueStartChar(char c) {
  return (c >= '0' && c <= '9') || c == '!' || c == '%' || c == '(' || c == '+' || c == '-' || c == '@' ||
         c == DecimalSeparator();
}

bool IsRefStartChar(char c) { return c == '$' || (c >= 'A' && c <= 'Z'); }

bool IsLabelPrefix(char c) { return c == '\'' || c == '"' || c == '\\' || c == '^' || c == '|'; }

bool IsDefaultLabelPrefix(char c) { return c != '|' && IsLabelPrefix(c); }

char PlainMacroCharacter(char c) {
  switch (static_cast<unsigned char>(c)) {
    case 0x93:
    case 0x94:
      return '"';
    case 0x82:
      return ',';
    case 0x88:
      return '^';
    case 0x98:
      return '~';
    case 0xA6:
      return '|';
    case 0xB7:
      return '.';
    default:
      return c;
  }
}

bool IsNameChar(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }

std::int16_t RealToWord(double x) {
  if (!(std::fabs(x) < 2147483647.0)) return 1;
  auto whole = static_cast<std::int32_t>(std::nearbyint(x));
  return static_cast<std::int16_t>(whole);
}

std::string SubStr(std::string_view text, int pos, int count) {
  if (pos <= 0 || count <= 0 || static_cast<std::size_t>(pos) > text.size()) return "";
  return std::string(text.substr(static_cast<std::size_t>(pos - 1), static_cast<std::size_t>(count)));
}

std::string StripPrefix(std::string_view text) { return text.empty() ? "" : std::string(text.substr(1)); }

std::string UpperNoSpaces(std::string_view text) {
  std::string out;
  for (char c : text)
    if (c != ' ') out += UpperChar(c);
  return out;
}

char HexDigit(int v) { return "0123456789ABCDEF"[v & 15]; }

std::string WordToHex(std::uint16_t v) {
  return {'$', HexDigit(v >> 12), HexDigit(v >> 8), HexDigit(v >> 4), HexDigit(v)};
}

std::string CharString(char c, int n) { return std::string(static_cast<std::size_t>(std::clamp(n, 0, kMaxCellText)), c); }

std::string PadText(std::string_view text, int width) {
  auto room = static_cast<std::size_t>(std::abs(std::clamp(width, -kMaxCellText, kMaxCellText)));
  if (text.size() >= room) return std::string(text.substr(0, room));
  std::string pad(room - text.size(), ' ');
  return width < 0 ? pad + std::string(text) : std::string(text) + pad;
}

std::uint8_t FormatCodeToByte(std::string_view code) {
  // The letters' positions in the settings' string name the types in this
  // order: fixed, scientific, engineering, A, currency, comma, general, bar,
  // percent, date, time, hidden, text, default, label.
  enum { kFixed, kScientific, kEngineering, kCommaA, kCurrency, kComma, kGeneral, kBar, kPercent, kDate, kTime,
         kHidden, kText, kDefault, kLabel };
  std::size_t type = code.empty() ? std::string::npos : FormatSettings().FormatLetters.find(UpperChar(code[0]));
  int decimals = 0;
  bool haveDigits = false;
  for (std::size_t i = 1; i < code.size() && i < 3 && code[i] >= '0' && code[i] <= '9'; ++i) {
    decimals = decimals * 10 + (code[i] - '0');
    haveDigits = true;
  }
  auto add = [&](int base, int most) { return static_cast<std::uint8_t>(base + std::min(decimals, most)); };
  switch (static_cast<int>(type)) {
    case kFixed: return add(0x00, 15);
    case kScientific: return add(0x10, 15);
    case kEngineering: return add(0x50, 15);
    case kCommaA: return add(0x48, 7);
    case kCurrency: return add(0x20, 7);
    case kComma: return add(0x40, 15);
    case kGeneral: return 0x71;
    case kBar: return 0x70;
    case kPercent: return add(0x30, 7);
    case kDate: {
      // D1..D3 the day-month-year family, D4 and D5 the numeric dates.
      int d = std::min(decimals, 5);
      return static_cast<std::uint8_t>(d <= 3 ? 0x70 + d + 1 : 0x70 + d + 5);
    }
    case kTime: {
      if (!haveDigits) return 0x75;
      int d = std::clamp(decimals, 1, 4);
      return static_cast<std::uint8_t>(d <= 2 ? 0x70 + d + 6 : 0x70 + d + 8);
    }
    case kHidden: return 0x76;
    case kText: return 0x75;
    case kLabel: return 0x7E;
    default: return 0x7F;  // an unknown letter, or the default format
  }
}

bool WordStackPush(std::int16_t v) {
  if (gWordStackTop >= kWordStackDepth) return false;
  gWordStack[gWordStackTop++] = v;
  return true;
}

bool WordStackPop(std::int16_t& v) {
  if (gWordStackTop == 0) {
    v = 0;
    return false;
  }
  v = gWordStack[--gWordStackTop];
  return true;
}

void WordStackClear() { gWordStackTop = 0; }

}  // namespace corvane

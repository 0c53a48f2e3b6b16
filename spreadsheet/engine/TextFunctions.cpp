// The text functions: length, reading and writing numbers, pieces of a text,
// character codes, searching, repetition, case, blanks and control
// characters, exact comparison and the degrees-minutes-seconds text of DMS.
//
// Positions count from 1. Results are cut to 240 characters, as every text of
// the evaluator is; a result the string pool has no room for is ERR.
#include <algorithm>
#include <cmath>
#include <string>

#include "spreadsheet/engine/DecimalDigits.h"
#include "spreadsheet/engine/FormatSettings.h"
#include "spreadsheet/engine/FormulaTables.h"
#include "spreadsheet/engine/FunctionArguments.h"
#include "spreadsheet/engine/FunctionFamilies.h"
#include "spreadsheet/engine/NumberText.h"
#include "spreadsheet/engine/PoolString.h"
#include "spreadsheet/engine/TextCase.h"

namespace corvane {

namespace {

constexpr int kMaxDecimals = 255;
// Truncating a number of seconds keeps a whole second that floating point
// left a hair short (12.5083333 degrees is 12:30:30, not 12:30:29).
constexpr double kSecondsTolerance = 1e-6;  // seconds

char LowerChar(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// A count argument clamped to 0..240, the longest text there is.
std::size_t CountArg(int n, int i) {
  return static_cast<std::size_t>(std::clamp(ArgInt(n, i), 0, static_cast<int>(kPoolStringMaxChars)));
}

// LENGTH(text): its number of characters.
void FnLength() { FinishNumber(1, static_cast<double>(ArgText(1, 0).size())); }
// VAL(text): the text without its spaces, read as a number; 0 when it is not one.
void FnVal() {
  std::string text = ArgText(1, 0);
  std::erase(text, ' ');
  double x = 0;
  int errPos = 0;
  StrToReal(text, x, errPos);
  FinishNumber(1, errPos == 0 ? x : 0);
}
// STR(x, d): x as fixed-point text with d decimals (d below 0 rounds to tens,
// hundreds and so on).
void FnStr() {
  double x = ArgNumber(2, 0);
  int d = std::clamp(ArgInt(2, 1), -kMaxDecimals, kMaxDecimals);
  FinishText(2, FixedText(x, d, FormatSettings().Period));
}
// MID(text, start, count): count characters from start; a start below 1 acts
// as 1, a count below 0 as 0.
void FnMid() {
  std::string text = ArgText(3, 0);
  std::size_t start = static_cast<std::size_t>(std::max(ArgInt(3, 1), 1)) - 1;
  std::size_t count = CountArg(3, 2);
  FinishText(3, start < text.size() ? text.substr(start, count) : std::string());
}
// CHR(code): the one-character text of a code 0..255; other codes are ERR.
void FnChr() {
  int code = ArgInt(1, 0);
  if (code < 0 || code > 255) return FinishError(1);
  FinishText(1, std::string(1, static_cast<char>(code)));
}
// ORD(text): the code of its first character; 0 for an empty text.
void FnOrd() {
  std::string text = ArgText(1, 0);
  FinishNumber(1, text.empty() ? 0 : static_cast<unsigned char>(text[0]));
}
// FIND(search, text, start): the position of the first occurrence of search
// at or after position start (below 1 acts as 1); 0 when there is none.
void FnFind() {
  std::string search = ArgText(3, 0), text = ArgText(3, 1);
  std::size_t start = static_cast<std::size_t>(std::max(ArgInt(3, 2), 1)) - 1;
  std::size_t at = start <= text.size() ? text.find(search, start) : std::string::npos;
  FinishNumber(3, at == std::string::npos ? 0 : static_cast<double>(at + 1));
}
// REPEAT(text, n): text n times, cut to 240 characters; stops as soon as the
// cut is reached, so an empty text or a huge n costs nothing.
void FnRepeat() {
  std::string text = ArgText(2, 0);
  int n = ArgInt(2, 1);
  std::string result;
  for (int k = 0; k < n && !text.empty() && result.size() < kPoolStringMaxChars; ++k) result += text;
  FinishText(2, result);
}
// UPPER(text), LOWER(text): the letters a..z and A..Z changed.
void FnUpper() { FinishText(1, UpperCaseText(ArgText(1, 0))); }
void FnLower() {
  std::string text = ArgText(1, 0);
  for (char& c : text) c = LowerChar(c);
  FinishText(1, text);
}
// LEFT(text, n), RIGHT(text, n): the first or last n characters.
void FnLeft() {
  std::string text = ArgText(2, 0);
  FinishText(2, text.substr(0, CountArg(2, 1)));
}
void FnRight() {
  std::string text = ArgText(2, 0);
  std::size_t n = std::min(CountArg(2, 1), text.size());
  FinishText(2, text.substr(text.size() - n));
}
// PROPER(text): the first character and each one after a blank in upper case,
// all others in lower case.
void FnProper() {
  std::string text = ArgText(1, 0);
  for (std::size_t i = 0; i < text.size(); ++i)
    text[i] = i == 0 || text[i - 1] == ' ' ? UpperChar(text[i]) : LowerChar(text[i]);
  FinishText(1, text);
}
// TRIM(text): runs of blanks made one blank, then one leading and one
// trailing blank removed.
void FnTrim() {
  std::string text = ArgText(1, 0), result;
  for (char c : text)
    if (c != ' ' || result.empty() || result.back() != ' ') result += c;
  if (!result.empty() && result.front() == ' ') result.erase(0, 1);
  if (!result.empty() && result.back() == ' ') result.pop_back();
  FinishText(1, result);
}
// CLEAN(text): without the characters whose codes are below 32 or above 127.
void FnClean() {
  std::string text = ArgText(1, 0);
  std::erase_if(text, [](char c) { return static_cast<unsigned char>(c) < 32 || static_cast<unsigned char>(c) > 127; });
  FinishText(1, text);
}
// EXACT(a, b): 1 when both texts are equal byte for byte (case counts).
void FnExact() { FinishBool(2, ArgText(2, 0) == ArgText(2, 1)); }
// DMS(degrees): sign, whole degrees, ":", minutes and ":" seconds as two
// digits each, every part truncated.
void FnDms() {
  double x = ArgNumber(1, 0);
  double seconds = std::trunc(std::fabs(x) * 3600 + kSecondsTolerance);
  double degrees = std::trunc(seconds / 3600);
  // Beyond 2^53 seconds the parts below a degree are lost; keep them in range.
  int rest = static_cast<int>(std::clamp(seconds - degrees * 3600, 0.0, 3599.0));
  auto two = [](int v) { return std::string(1, static_cast<char>('0' + v / 10)) + static_cast<char>('0' + v % 10); };
  std::string text = (x < 0 ? "-" : "") + FixedText(degrees, 0, '.') + ":" + two(rest / 60) + ":" + two(rest % 60);
  FinishText(1, text);
}

constexpr THandlerEntry kTextHandlers[] = {
    {kTokLength, FnLength}, {kTokVal, FnVal},       {kTokStr, FnStr},       {kTokMid, FnMid},
    {kTokChr, FnChr},       {kTokOrd, FnOrd},       {kTokFind, FnFind},     {kTokRepeat, FnRepeat},
    {kTokUpper, FnUpper},   {kTokLower, FnLower},   {kTokLeft, FnLeft},     {kTokRight, FnRight},
    {kTokProper, FnProper}, {kTokTrim, FnTrim},     {kTokClean, FnClean},   {kTokExact, FnExact},
    {kTokDms, FnDms},
};

}  // namespace

void RegisterTextHandlers() { RegisterTokenHandlers(kTextHandlers); }

}  // namespace corvane

// The engine's small text and number routines: the character classes of the
// entry and formula parsers, short-string helpers, typed format codes, the
// 16-bit rounding of reals and the word stack of the graph drawing.
//
// Texts are 8-bit; a cell text is at most 240 characters, and the routines
// that build cell texts cut their results there.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

inline constexpr int kMaxCellText = 240;

// Character classes. A value starts with a digit, "!", "%", "(", "+", "-",
// "@" or the decimal separator of the settings; a reference with "$" or a
// letter A..Z (callers upper-case first); label prefixes are the apostrophe,
// the double quote, "\", "^" and "|"; name characters are letters and "_".
bool IsValueStartChar(char c);
bool IsRefStartChar(char c);
bool IsLabelPrefix(char c);
bool IsNameChar(char c);
// The prefixes a sheet may give typed labels by default: the label prefixes
// but "|", which would make a typed "<" or ">" text a picture label. A value
// read from a file or the settings that is none of them keeps the default.
bool IsDefaultLabelPrefix(char c);
// The plain character that macro text reads for a typographic one of the
// Windows code page, as a word processor may put it there (curly quotes, the
// low comma, the small tilde, ...); any other character as it is.
char PlainMacroCharacter(char c);

// x rounded to the nearest integer (ties to even) and taken as 16 bits, so
// values from 32768 up wrap; 1 when |x| is 2147483647 or more, or not a
// number. Callers that need the value itself check its bounds first.
std::int16_t RealToWord(double x);

// The `count` characters from the 1-based `pos`; "" when pos is not positive
// or lies beyond the text.
std::string SubStr(std::string_view text, int pos, int count);
// The text without its first character (a label's prefix).
std::string StripPrefix(std::string_view text);
// The text with its spaces removed and a..z upper-cased.
std::string UpperNoSpaces(std::string_view text);

// "0".."9", "A".."F" for the low four bits of v.
char HexDigit(int v);
// "$" and four hexadecimal digits, high nibble first.
std::string WordToHex(std::uint16_t v);

// n copies of c; n is taken as 0..240.
std::string CharString(char c, int n);
// The text cut to |width| characters, or padded with spaces up to |width|:
// after it for a positive width, before it for a negative one. |width| counts
// as at most 240.
std::string PadText(std::string_view text, int width);

// The format byte of a typed format code: a format letter of the settings
// ("FSEACMG+PDTHXRL", either case) and up to two decimal digits. An unknown
// letter or an empty code gives $7F (the sheet's default). Decimals are held
// to what each type's field can carry (fixed, scientific, engineering and
// comma up to 15; currency, percent and "A" up to 7; dates 1..5; times 1..4),
// so a code never yields another type or the protection bit.
std::uint8_t FormatCodeToByte(std::string_view code);

// A stack of 16-bit words for saving values across nested drawing steps.
// Push refuses (false) once it holds kWordStackDepth words; Pop gives false
// and 0 on an empty stack.
inline constexpr int kWordStackDepth = 256;
bool WordStackPush(std::int16_t v);
bool WordStackPop(std::int16_t& v);
void WordStackClear();

}  // namespace corvane

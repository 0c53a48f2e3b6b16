// Display text of a number by its cell format byte, and the short code of a
// format for the status line.
//
// Format byte (bit 7, the protection bit, is ignored): bits 4-6 the type,
// bits 0-3 the decimals or subtype.
//   $00-$0F fixed, $10-$1F scientific, $20-$27 currency, $28-$2F fraction
//   (bits 0-2: denominator 2^n), $30-$3F percent (decimals bits 0-2),
//   $40-$4F comma, $50-$5F engineering, $60-$6F general, and the specials:
//   $70 "+/-" bar, $71 general, $72 dd-Mon-yyyy, $73 dd-Mon, $74 Mon yyyy,
//   $75 text (numbers in general), $76 hidden, $77 h:mm:ss am, $78 h:mm am,
//   $79 mm/dd/yyyy, $7A dd/mm/yyyy, $7B hh:mm:ss, $7C hh:mm, $7D general,
//   $7E label (numbers in general), $7F the sheet's default format.
#pragma once

#include <cstdint>
#include <string>

namespace corvane {

inline constexpr uint8_t kFormatBar = 0x70;
inline constexpr uint8_t kFormatGeneral = 0x71;
inline constexpr uint8_t kFormatText = 0x75;
inline constexpr uint8_t kFormatHidden = 0x76;
inline constexpr uint8_t kFormatLabel = 0x7E;
inline constexpr uint8_t kFormatDefault = 0x7F;
inline constexpr int kMaxShortText = 255;  // every text here is cut to this
inline constexpr int kMaxBarLength = 239;

// The text a cell `width` characters wide shows for x in `format`. Leading
// spaces are removed; most formats end in one space so that numbers line up
// with the ")" of negatives, percent ends in "%", hidden and a zero shown as
// blank give "". Infinities and NaN give "ERR".
std::string FormatValue(int width, uint8_t format, double x);

// The text a cell `width` characters wide shows for x: FormatValue's text,
// except that a number in a general format is shortened to the width and
// rounded (ShortenGeneralText, then the trailing space). A text
// still longer than the width (not counting that space) cannot fit: callers
// show a row of "*" (or "x") instead.
std::string FormatValueInWidth(int width, uint8_t format, double x);

// True when FormatValue shows x in `format` as general text (so that
// FormatValueInWidth shortens it to the width).
bool ShowsGeneralText(uint8_t format, double x);

// |x| with `decimals` places and the thousands separator before every group of
// three integer digits; a negative number between "(" and ")". At most 255
// characters.
std::string FormatThousands(int decimals, double x);

// Engineering text: x scaled into its group of powers of 1000 with `decimals`
// places, padded on the left to 5 characters, followed by the group's unit
// letter, at most 15 characters (the letter is always kept). Numbers beyond the
// groups (below 1e-18 or from 1e15 on, roughly) get an exponent text with ten
// decimals instead.
std::string FormatNumber(int decimals, double x);

// Fraction text for fraction style 0-7 (denominator 1 to 128): "-" or a space,
// the whole part unless it is 0, "-" and numerator/denominator in lowest terms
// unless the fraction rounds to 0 or 1. 1.5 in style 1 gives " 1-1/2".
std::string FormatFraction(int style, double x);

// The status-line code of a format: the type's letter and the decimals ("F2",
// "P1"), "Fr" and the style for fractions, the special formats' codes from the
// settings; "Pr " or "Un " in front while protection is on, by bit 7.
std::string FormatLetterText(uint8_t format);

}  // namespace corvane

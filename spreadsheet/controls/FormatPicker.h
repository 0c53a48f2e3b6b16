// The number-format picker's rules, without its windows: the fifteen kinds
// and the captions of their sub-panels, the conversion between a cell format
// byte and what the picker shows (kind, digits, date, time or denominator
// choice), and which sub-panel or note a kind brings up.
#pragma once

#include <array>
#include <cstdint>

namespace corvane {

// The kinds, in the order of the kinds grid (5 rows of 3).
enum TFormatKind : int {
  fkFixed, fkScientific, fkEng, fkFrac, fkCurrency, fkComma, fkGeneral, fkBar,
  fkPercent, fkDate, fkTime, fkHidden, fkText, fkLabel, fkReset
};
inline constexpr int kFormatKindCount = 15;
// The largest digits value; currency and percent keep at most 7, since their
// bit 3 means something else.
inline constexpr int kMaxFormatDigits = 15;
inline constexpr int kMaxCurrencyDigits = 7;

extern const std::array<const char*, kFormatKindCount> kFormatKindCaptions;
extern const std::array<const char*, 5> kFormatDateCaptions;
extern const std::array<const char*, 4> kFormatTimeCaptions;
extern const std::array<const char*, 8> kFormatDenominatorCaptions;

// What the picker shows. Sub-grid items are 0-based; a sub-grid without a
// choice counts as item 0.
struct TFormatChoice {
  int Kind = fkGeneral;
  int Digits = 0;
  int DateItem = 0;
  int TimeItem = 0;
  int DenominatorItem = 0;
  bool operator==(const TFormatChoice&) const = default;
};

// The choice a format byte shows, starting from `current` (what the picker
// showed before: the sub-grids it does not touch keep their items). Bit 7
// (protection) is ignored; $7F (the sheet's default) shows General.
TFormatChoice FormatChoiceFor(std::uint8_t format, TFormatChoice current = {});
// The format byte of a choice. Digits are kept within 0..15 (0..7 for
// currency and percent).
std::uint8_t FormatByteOf(const TFormatChoice& choice);

// The sub-panel a kind shows beside the kinds grid.
enum class TFormatPanel { None, Digits, Dates, Times, Denominators, Note };
TFormatPanel FormatPanelFor(int kind);
// The note a kind shows in the note box; "" for kinds without one.
const char* FormatNoteFor(int kind);
// True for the kinds that take the digits field, and the +/- kind.
bool FormatKindEditsDigits(int kind);

}  // namespace corvane

// Format byte to picker choice and back.
#include "spreadsheet/controls/FormatPicker.h"

#include <algorithm>

namespace corvane {

const std::array<const char*, kFormatKindCount> kFormatKindCaptions = {
    "&Fixed", "&Scientific", "&Eng", "Fr&ac", "&Currency", "Co&mma", "&General", "&+/- ",
    "&Percent", "&Date", "&Time", "&Hidden", "Te&xt", "&Label", "&Reset"};
const std::array<const char*, 5> kFormatDateCaptions = {"&1) d-mon-y", "&4) M/D/Y", "&2) d-mon", "&5) D/M/Y",
                                                        "&3) mon-y"};
const std::array<const char*, 4> kFormatTimeCaptions = {"&1) 11:59:59am", "&2) 11:59am", "&3) 23:59:59",
                                                        "&4) 23:59"};
const std::array<const char*, 8> kFormatDenominatorCaptions = {"&1) Whole", "&2) 2",  "&3) 4",  "&4) 8",
                                                               "&5) 16",    "&6) 32", "&7) 64", "&8)128"};

namespace {

// The special codes (low bits of $7x) of the date and time items.
constexpr std::array<int, 5> kDateCodes = {2, 9, 3, 10, 4};
constexpr std::array<int, 4> kTimeCodes = {7, 8, 11, 12};
// The kinds of types 0 to 5 (bits 4 to 6).
constexpr std::array<int, 6> kNumericKinds = {fkFixed, fkScientific, fkCurrency, fkPercent, fkComma, fkEng};

template <size_t N>
int IndexOf(const std::array<int, N>& codes, int code) {
  auto at = std::find(codes.begin(), codes.end(), code);
  return at == codes.end() ? -1 : static_cast<int>(at - codes.begin());
}

template <size_t N>
int CodeAt(const std::array<int, N>& codes, int item) {
  return codes[item >= 0 && item < static_cast<int>(N) ? item : 0];
}

}  // namespace

TFormatChoice FormatChoiceFor(std::uint8_t format, TFormatChoice current) {
  TFormatChoice c = current;
  int type = format >> 4 & 7, low = format & 15;
  if (type == 2 && low > 7) {
    c.Kind = fkFrac;
    c.DenominatorItem = low - 8;
  } else if (type <= 5) {
    c.Kind = kNumericKinds[type];
    // Percent reads only bits 0 to 2.
    c.Digits = type == 3 ? (low & 7) : low;
  } else if (type == 6) {
    c.Kind = fkGeneral;
  } else if (int date = IndexOf(kDateCodes, low); date >= 0) {
    c.Kind = fkDate;
    c.DateItem = date;
  } else if (int time = IndexOf(kTimeCodes, low); time >= 0) {
    c.Kind = fkTime;
    c.TimeItem = time;
  } else {
    switch (low) {
      case 0: c.Kind = fkBar; break;
      case 5: c.Kind = fkText; break;
      case 6: c.Kind = fkHidden; break;
      case 14: c.Kind = fkLabel; break;
      default: c.Kind = fkGeneral; break;  // 1, 13 and 15 show as General
    }
  }
  return c;
}

std::uint8_t FormatByteOf(const TFormatChoice& choice) {
  int d = std::clamp(choice.Digits, 0, kMaxFormatDigits);
  int narrow = std::min(d, kMaxCurrencyDigits);
  switch (choice.Kind) {
    case fkFixed: return static_cast<std::uint8_t>(d);
    case fkScientific: return static_cast<std::uint8_t>(0x10 + d);
    case fkEng: return static_cast<std::uint8_t>(0x50 + d);
    case fkFrac: return static_cast<std::uint8_t>(0x28 + std::clamp(choice.DenominatorItem, 0, 7));
    case fkCurrency: return static_cast<std::uint8_t>(0x20 + narrow);
    case fkComma: return static_cast<std::uint8_t>(0x40 + d);
    case fkBar: return 0x70;
    case fkPercent: return static_cast<std::uint8_t>(0x30 + narrow);
    case fkDate: return static_cast<std::uint8_t>(0x70 + CodeAt(kDateCodes, choice.DateItem));
    case fkTime: return static_cast<std::uint8_t>(0x70 + CodeAt(kTimeCodes, choice.TimeItem));
    case fkHidden: return 0x76;
    case fkText: return 0x75;
    case fkLabel: return 0x7E;
    case fkReset: return 0x7F;
    default: return 0x71;
  }
}

TFormatPanel FormatPanelFor(int kind) {
  switch (kind) {
    case fkFixed: case fkScientific: case fkEng: case fkCurrency: case fkComma: case fkPercent:
      return TFormatPanel::Digits;
    case fkDate: return TFormatPanel::Dates;
    case fkTime: return TFormatPanel::Times;
    case fkFrac: return TFormatPanel::Denominators;
    default: return *FormatNoteFor(kind) != 0 ? TFormatPanel::Note : TFormatPanel::None;
  }
}

const char* FormatNoteFor(int kind) {
  switch (kind) {
    case fkGeneral: return "Remove Trailing Zeros";
    case fkBar: return "Show a Bar";
    case fkHidden: return "Hide Cell Contents";
    case fkText: return "Display Contents as Text";
    case fkLabel: return "All Data Converted to Labels";
    case fkReset: return "Reset to Global Format";
    default: return "";
  }
}

bool FormatKindEditsDigits(int kind) { return FormatPanelFor(kind) == TFormatPanel::Digits || kind == fkBar; }

}  // namespace corvane

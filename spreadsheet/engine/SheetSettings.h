// The per-document settings block: protection, display flags, label prefix,
// currency texts, the seven document colour words, rows per sheet and the
// twelve saved command ranges, followed by one 16-bit word. The document slot
// keeps the stored copy; the engine works on one working copy in the current
// document context, and the sheet window copies it between the two.
//
// The block is 1544 bytes plus the word. Byte 0 (protection) and byte 5
// (modified) are fixed places; the other fields are laid out here, and the rest
// of the 1544 bytes is held for the settings that later parts of the program
// keep in the block. It is never written to a file as it stands: the file code
// reads and writes it field by field.
#pragma once

#include <cstddef>
#include <cstdint>

#include "spreadsheet/engine/Range.h"

namespace corvane {

inline constexpr int kRowsPerWorksheet = 8192;
inline constexpr int kSavedRangeCount = 12;
inline constexpr std::size_t kSheetSettingsBlockBytes = 1544;

// What each of the twelve saved command ranges holds.
enum TSavedRange : int {
  kRangeWhatIfTable = 0,
  kRangeWhatIfInput1 = 1,
  kRangeWhatIfInput2 = 2,
  kRangeQueryInput = 3,
  kRangeQueryCriteria = 4,
  kRangeQueryOutput = 5,
  kRangePrint = 6,
  kRangeSort = 7,
  kRangePrimaryKey = 8,
  kRangeSecondaryKey = 9,
  kRangeTitleRows = 10,
  kRangeTitleColumns = 11,
};

// Ranges the data commands keep beside the twelve saved ones.
enum TDataRange : int {
  kDataRangeSortKey3 = 0,
  kDataRangeSortKey4 = 1,
  kDataRangeBinValues = 2,
  kDataRangeBinTable = 3,
  kDataRangeRegressX = 4,
  kDataRangeRegressY = 5,
  kDataRangeRegressOutput = 6,
};
inline constexpr int kDataRangeCount = 7;

// A text of at most two characters with its length in front (currency texts).
struct TShortText2 {
  std::uint8_t length = 0;
  char text[2] = {};
};

// Packed to 2 so the block is exactly 1546 bytes while ranges and words stay on
// even offsets (references to the saved ranges are fine).
#pragma pack(push, 2)
struct TSheetSettings {
  std::uint8_t protection = 0;        // 0: cell protection on (locked cells refuse changes)
  std::uint8_t negativeInColour = 0;  // 1: negative values in the negative colour
  std::uint8_t hideZeros = 0;         // 2: zero values hidden
  std::uint8_t banding = 1;           // 3: every second row in the band colour
  std::uint8_t manualRecalc = 0;      // 4: recalculation only on request
  std::uint8_t modified = 0;          // 5: the document has unsaved changes
  std::uint8_t threeD = 0;            // 6: grid drawn with the raised look
  std::uint8_t dist = 1;              // 7: the sheet flag kept under the DIST= key
  char labelPrefix = '\'';            // 8: prefix given to typed labels
  TShortText2 currency{1, {'$', 0}};        // 9: currency symbol
  TShortText2 secondCurrency{1, {' ', 0}};  // 12: second currency text
  std::uint8_t spare = 0;                   // 15
  // 16: colour words (RGB in the low 24 bits, red lowest; bits 24-27 a palette
  // index for the text; bits 30 and 31 "ignore background" and "ignore foreground").
  std::uint32_t backgroundColour = 0x00FFFFFF;
  std::uint32_t bandColour = 0x00E0FFFF;
  std::uint32_t valueColour = 0x41FFFFFF;
  std::uint32_t negativeColour = 0x4CFFFFFF;
  std::uint32_t labelColour = 0x42FFFFFF;
  std::uint32_t unlockedColour = 0x07800000;
  std::uint32_t cursorColour = 0x0FFF0000;
  // 44: rows in each sheet band: 8192 divided by the number of sheets (8192 or
  // 0 for one sheet; RowsPerSheet in RangeText.h reads 0 as 8192).
  std::int16_t rowsPerSheet = kRowsPerWorksheet;
  // 46: ranges the commands remember between uses; unset at first.
  TRange savedRanges[kSavedRangeCount];
  // 142: the data commands' further ranges; unset at first.
  TRange dataRanges[kDataRangeCount];
  // 198: 1 when frequency bins include their upper bound ("a< x <= b"), 0
  // when they include the lower one ("a<= x <b").
  std::uint8_t binsUpperIncluded = 0;
  std::uint8_t spare2 = 0;  // 199
  std::uint8_t reserved[kSheetSettingsBlockBytes - 200] = {};
  // 1544: the word that travels with the block.
  std::uint16_t trailer = 0;
};
#pragma pack(pop)

static_assert(offsetof(TSheetSettings, protection) == 0);
static_assert(offsetof(TSheetSettings, modified) == 5);
static_assert(offsetof(TSheetSettings, backgroundColour) == 16);
static_assert(offsetof(TSheetSettings, dataRanges) == 142);
static_assert(offsetof(TSheetSettings, reserved) == 200);
static_assert(offsetof(TSheetSettings, trailer) == kSheetSettingsBlockBytes);
static_assert(sizeof(TSheetSettings) == kSheetSettingsBlockBytes + 2);

// The program-wide defaults that every new sheet copies: the settings file
// fills the flags, characters and colours; the rest keeps the values above.
TSheetSettings& DefaultSheetSettings();

// Copies the 1544 bytes of the default block into `settings`, keeping its
// trailing word.
void CopyDefaultSheetSettings(TSheetSettings& settings);

// Brings the number formats' copies of the protection and zero-hiding flags and
// the two currency texts (TFormatSettings) in line with `settings`. Called
// whenever a settings block becomes the working copy.
void ApplySheetFormatSettings(const TSheetSettings& settings);

}  // namespace corvane

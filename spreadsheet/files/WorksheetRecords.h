// The record types and fixed sizes of worksheet files, shared by the writer
// and the reader. Main-section and extension-section types overlap (the
// extension section follows the main end record, where other programs stop
// reading), so each section has its own names.
#pragma once

#include <cstddef>
#include <cstdint>

namespace corvane::wks {

// Main section.
enum TMainRecord : int {
  kBof = 0, kEof = 1, kCalcMode = 2, kCalcOrder = 3, kSplit = 4, kSync = 5, kExtent = 6, kWindow1 = 7,
  kColumnWidth = 8, kWindow2 = 9, kName = 11, kBlank = 12, kInteger = 13, kNumber = 14, kLabel = 15,
  kFormula = 16, kWhatIfTable = 24, kQueryRanges = 25, kPrintRange = 26, kSortRange = 27, kPrimaryKey = 29,
  kSecondaryKey = 35, kProtection = 36, kFooter = 37, kHeader = 38, kSetup = 39, kMargins = 40,
  kLabelPrefix = 41, kTitles = 42, kGraph = 45, kNamedGraph = 46, kActiveWindow = 49, kStringResult = 51,
  kLongName = 71,
};

// Extension section.
enum TExtRecord : int {
  kExtEof = 1, kExtCellAttributes = 8, kExtRowHeight = 10, kExtColumnWidth = 11, kExtSortKeys = 29,
  kExtGraph = 45, kExtNamedGraph = 46, kExtInfoBytes = 7, kExtButton = 80, kExtRegression = 103,
  kExtUserFunction = 105, kExtColours = 110, kExtPrintDistances = 112, kExtTabName = 114, kExtFontName = 116,
  kExtSheetFont = 118, kExtWindowLayout = 120, kExtTitle = 122, kExtComments = 124, kExtRevisedBy = 126,
  kExtCreated = 128,
};

inline constexpr std::uint16_t kVersionWord = 0x0404;
inline constexpr std::size_t kWindowRecordBytes = 31;
inline constexpr std::size_t kNameFieldBytes = 16;
inline constexpr std::size_t kNameRecordBytes = 24;
inline constexpr std::size_t kCellHeadBytes = 5;
inline constexpr std::size_t kFormulaHeadBytes = 15;  // head, value, size word
inline constexpr std::size_t kGraphMainOffset = 13;    // the classic part of the graph record
inline constexpr std::size_t kGraphMainBytes = 437;
inline constexpr std::size_t kGraphExtOffset = 454;    // the program's own part
inline constexpr std::size_t kGraphExtBytes = 385;
inline constexpr std::size_t kButtonRecordBytes = 297;
inline constexpr std::size_t kButtonCaptionChars = 20;
inline constexpr std::size_t kButtonMacroChars = 255;
inline constexpr std::size_t kLayoutRecordBytes = 34;
inline constexpr std::size_t kLayoutShortBytes = 26;  // without the frozen areas
inline constexpr std::size_t kTabNameChars = 255;  // a tab name is written and read whole up to this
inline constexpr std::size_t kFontNameMaxChars = 80;
inline constexpr int kMaxTabNames = 64;
inline constexpr std::uint32_t kDefaultAttributes = 0xC0000000u;
inline constexpr std::uint8_t kDefaultFont = 255;
// Kind-byte mark of a formula read from a file whose references are still in
// the stored form (a read that leaves formulas unlinked).
inline constexpr std::uint8_t kKindRelinkPending = 0x10;

// The longest cell records the writer makes: a 240-character label or result
// with its zero byte, and a formula of 240 code bytes.
inline constexpr std::size_t kMaxTextRecord = kCellHeadBytes + 240 + 1;
inline constexpr std::size_t kMaxFormulaRecord = 14 + 239;

// The two bytes after each section's end record.
inline constexpr std::uint8_t kSectionMark = 0x1A;

}  // namespace corvane::wks

// dBase III transfer: the records of a dBase III file imported into the sheet,
// one record per row and one field per column under a row of field names, and
// a range exported as a dBase III file. The transfer dialog calls these for its
// dBase page; they work on the current document.
//
// File layout (little-endian): a 32-byte header (version, date of the last
// update as year - 1900, month and day, the record count in 32 bits, the
// header and record lengths in 16 bits), one 32-byte descriptor per field
// (name in 11 zero-padded bytes, type letter, field length, decimal count),
// the byte $0D, then the records (a "*" or space, then the fields in order)
// and the end mark $1A.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "spreadsheet/engine/Range.h"

namespace corvane {

inline constexpr int kDbfMaxFields = 256;
inline constexpr int kDbfMaxImportRecords = 8192;
inline constexpr int kDbfProgressStep = 128;
inline constexpr std::size_t kDbfFieldTextChars = 240;

// What dBase III allows in the fields this program writes.
inline constexpr std::size_t kDbfMaxNameChars = 10;
inline constexpr int kDbfMaxCharLength = 254;
inline constexpr int kDbfMaxNumericLength = 19;
inline constexpr int kDbfDateLength = 8;

// Formats that imported cells take by field type; numeric fields take the fixed
// format with the field's decimals.
inline constexpr std::uint8_t kDbfTextFormat = 0x75;
inline constexpr std::uint8_t kDbfDateFormatMonthFirst = 0x79;
inline constexpr std::uint8_t kDbfDateFormatDayFirst = 0x7A;
inline constexpr std::uint8_t kDbfOtherFormat = 0x7F;

inline constexpr const char* kUnableToReadText = "Unable to Read";
// Followed by the address of the first cell an export cannot write whole.
inline constexpr const char* kDbfTooWideText = "Too Wide for a dBase Field: ";
inline constexpr const char* kDbfNotANumberText = "Not a Number for a dBase Field: ";
inline constexpr const char* kFieldCountExceedsText = "Field count Exceeds ";
// kWriteErrorText ("Write Error") is shared with the text export.

struct TDbfInfo {
  int fieldCount = 0;
  std::uint32_t recordCount = 0;
};

// The field and record counts of a dBase file; 0 and 0 when it cannot be read
// or its header does not fit the file (lengths too short for the fields, more
// records than the file holds). A file with too many fields to import still
// reports its count.
TDbfInfo DbfFileInfo(const std::string& fileName);

// The record filter the dialog sets. Text fields (every type but "N" and "D")
// compare their text, upper-cased and without trailing spaces, with the value,
// upper-cased: 0 equal, 3 not equal, -1 and -2 the value contained in the
// field. Numeric and date fields (a date as its serial) compare their number
// with the value read as a number: 0 equal, 1 greater, 2 greater or equal,
// 3 not equal, -2 not greater, -1 less. Any other operator, an empty field or a
// value that is no number rejects the record. A filter holds for every import
// until it is cleared or replaced.
inline constexpr int kDbfFilterEqual = 0;
inline constexpr int kDbfFilterGreater = 1;
inline constexpr int kDbfFilterGreaterOrEqual = 2;
inline constexpr int kDbfFilterNotEqual = 3;
inline constexpr int kDbfFilterNotGreater = -2;
inline constexpr int kDbfFilterLess = -1;
inline constexpr int kDbfFilterContainedA = -1;
inline constexpr int kDbfFilterContainedB = -2;

struct TDbfFilter {
  int field = 0;  // field number from 1; 0 (or a number the file lacks) filters nothing
  int op = kDbfFilterEqual;
  std::string value;
};
void SetDbfFilter(const TDbfFilter& filter);
void ClearDbfFilter();

// The main window's gauge: called with the record number and the total every
// 128 records, and with 0 and 0 when the import ends.
using TDbfProgressFn = void (*)(std::uint32_t record, std::uint32_t total);
void SetDbfProgressHandler(TDbfProgressFn handler);

// Imports `fileName` into the cells from (row, col): the field names as
// protected labels across `row` (each column as wide as its field, each name
// in its field's format), then one row per accepted record below them, from
// record `firstRecord` (from 1; 0: the first) for `recordCount` records
// (negative: to the end), or every record when `firstRecord` is negative; at
// most 8192 records. Deleted records and
// those the filter rejects leave no row. Numeric fields become numbers ("."
// the decimal point whatever the separator setting, a lone "." 0), date fields
// date serials, the others labels (at most 240 characters); a numeric or date
// field that does not read as one is kept as a label. Empty fields leave no
// cell. A file that cannot be read, or whose header does not fit it, shows
// "Unable to Read"; more than 256 fields show "Field count Exceeds 256"; fields
// that would pass column 255 show "Out of Range": each before any cell
// changes. A cell that refuses its value (protection, the last row, a full
// pool) shows why and ends the import at that record. False when the import
// stopped on an error.
bool ImportDbf(int row, int col, const std::string& fileName, std::int32_t firstRecord, std::int32_t recordCount);

// Writes `range` as a dBase III file dated today: one field per column, named
// by the text of the range's first row (cut to 10 characters; "FIELDn" for an
// empty name, a "_2"-style tail for a repeated one) and typed by that cell's
// format: a fixed format (code below 16) gives a numeric field with the
// code's low three bits as decimals, a date format a date field, anything
// else (and a missing cell) a character field. A field is as wide as its
// column in characters, or as its longest value when that is wider, within
// dBase III's limits (character 1-254, numeric up to 19 and wide enough for
// the decimals, date 8): no value is cut. Each further row is a record: text
// left-aligned and space-filled, numbers right-aligned with "." as the decimal
// point, dates as yyyymmdd; a missing or blank cell (or an empty text) gives
// an empty field. A number wider than 19 characters in a numeric field, or
// one that names no date in a date field, cannot be written: "Too Wide for a
// dBase Field: " and its address are shown and nothing is written. Nor can a
// label, a text result or an error value in a numeric or date field: "Not a
// Number for a dBase Field: " and its address. An existing file is replaced
// only once the new one is complete. "Out of Range" for a range outside the
// sheet, "Write Error" when the file cannot be written, each shown; false
// then.
bool ExportDbf(const TRange& range, const std::string& fileName);

}  // namespace corvane

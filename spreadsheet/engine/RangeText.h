// Cell addresses and ranges as text: column letters, addresses with "$" marks
// and sheet letters ("B:$C$5"), range text ("A1..B5"), and the parser that
// reads them back together with range names, "RANGE" (the grid's selection)
// and "CURSOR" (the grid's cursor cell).
//
// The 8192 rows may be divided into equal sheet bands (rows per sheet, from the
// current document's settings). Row r lies in sheet r div rows-per-sheet, shown
// as a letter like a column, at row number r mod rows-per-sheet + 1. When rows
// per sheet does not divide 8192, the last band is shorter.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "spreadsheet/engine/Range.h"

namespace corvane {

// Rows per sheet band of the current document: its setting when 1..8191,
// otherwise (0 = one sheet, or a damaged value) 8192.
int RowsPerSheet();
// True when the current document is divided into more than one sheet band.
bool HasSeveralSheets();

// Column letters: 0 "A", 25 "Z", 26 "AA", 255 "IV"; "" outside 0..255.
std::string ColumnLetters(int col);

// The address of a cell: "$" before the letters for an absolute column, the
// sheet letter and ":" in front when the document has several sheets, "$"
// before the digits for an absolute row, then the row number within its sheet
// (for example "B:$C$5"). "" for a cell outside the worksheet.
std::string CellAddrText(int row, int col, bool absRow, bool absCol);
// Letters and row number within the sheet, without sheet letter or "$".
std::string ColRowName(int row, int col);

// "" for an invalid range; else the first corner's address, followed by ".."
// and the last corner's address when the range has more than one cell.
std::string RangeText(const TRange& range);
std::string RangeToText(const TRange& range);
// The same with "$" marks from `mask` (bit 0 first row, bit 1 first column,
// bit 2 last row, bit 3 last column); `forcePair` writes the ".." form also
// for a single cell.
std::string RangeTextAbs(const TRange& range, unsigned mask, bool forcePair);

// Reads one address: an optional "$" (absolute column), a sheet letter and ":"
// when given, an optional "$", one or two column letters up to "IV", an
// optional "$" (absolute row) and one to six digits; any case. With a sheet
// letter the row number counts within that sheet (1..rows per sheet) and the
// sheet must exist; without one it counts from the top (1..8192). False with
// the error flag set for anything else: text left over, no digits, a column
// beyond "IV" or a row outside the sheet ("Out of Range", code 101). The
// outputs are written only on success.
bool ParseCellAddr(std::string_view text, int& row, int& col, bool& absCol, bool& absRow);

// True when `text` has the form of an address or an address pair ("A1",
// "$b$2", "C:A1..IV9"), whatever its bounds. Range names of that form are
// refused, since they would hide the cells they spell.
bool IsAddressText(std::string_view text);

// The absolute marks of a parsed range's corners ("$" before a row or column;
// all four for a range name written with "$" in front).
struct TRangeAbsFlags {
  std::uint8_t firstRow = 0;
  std::uint8_t firstCol = 0;
  std::uint8_t lastRow = 0;
  std::uint8_t lastCol = 0;
};

// Reads a range from `text` (cut to 240 characters, any case):
// - empty text: an unset range;
// - "RANGE": the active grid's selection; "CURSOR": its cursor cell;
// - a range name: its range (all four absolute marks when it began with "$");
// - an address, or two joined by "." or "..": first and last corner, kept in
//   the order given.
// False with the error flag set for bad text, an address outside the sheet,
// "RANGE" or "CURSOR" with no sheet window open, and "RANGE" with nothing
// selected; `range` is then left as it was. The second form also gives the
// absolute marks of the corners (all clear for "RANGE", "CURSOR" and an
// empty text).
bool ParseRange(std::string_view text, TRange& range);
bool ParseRange(std::string_view text, TRange& range, TRangeAbsFlags& abs);

// Copies the active grid's cursor cell into gCursorCell (WindowServices.h);
// nothing when no sheet window is open.
void LoadCursorGlobals();

}  // namespace corvane

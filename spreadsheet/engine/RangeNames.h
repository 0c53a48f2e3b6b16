// The current document's range names: up to 240 entries of a name (at most 12
// characters, upper case) and a range, in pool blocks of 21 bytes, numbered from
// 1 and kept sorted by name in byte order. Names are compared after dropping one
// leading "$", upper-casing and cutting to 12 characters, the same way for
// create, lookup, delete and build.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "spreadsheet/engine/Range.h"

namespace corvane {

inline constexpr int kMaxRangeNames = 240;
inline constexpr std::size_t kRangeNameMaxChars = 12;

// The pool record. The range sits at an odd offset, so it is kept as bytes and
// read through RangeNameRange.
#pragma pack(push, 1)
struct TRangeName {
  std::uint8_t nameLength;
  char name[kRangeNameMaxChars];
  std::uint8_t rangeBytes[sizeof(TRange)];
};
#pragma pack(pop)
static_assert(sizeof(TRangeName) == 21, "a range-name entry is 21 bytes");

// The name as it is compared and stored: one leading "$" dropped, upper case,
// cut to 12 characters.
std::string RangeNameKey(std::string_view name);

// Binary search of the entries low..high for `key` (already a RangeNameKey):
// its index when found, else minus the index at which it would be inserted.
int RangeNameSearch(std::string_view key, int low, int high);

// The index (1..count) of the name written as `text` ("$NAME" finds NAME), or 0.
int FindRangeName(std::string_view text);

// Inserts a new entry for `key` at `index` (1..count + 1), moving the later
// entries up. The block is taken before anything moves, so a full pool ("Out
// of Memory"), a full table or a bad index changes nothing and gives false.
bool RangeNameInsert(std::string_view key, const TRange& range, int index);

// Whether `key` (a RangeNameKey) begins with "G!": worksheet files keep the
// sheet's display settings in a name record of that form, so no range name
// may take it.
bool IsReservedRangeName(std::string_view key);
inline constexpr const char* kReservedNameText = "Reserved Range Name";

// Creates or redefines a name. An existing name gets the new range and its
// index is returned; a new one is inserted and minus its index returned. 0 for
// an empty name, and with the error flag set for a name that would hide cells
// (it has the form of an address, or is "RANGE" or "CURSOR"), a name
// beginning "G!" ("Reserved Range Name"), a full table (240 names) or a full
// pool.
int RangeNameCreate(std::string_view name, const TRange& range);

// Removes the name and frees its entry; its former index, or 0 when unknown.
int RangeNameDelete(std::string_view name);

// Names from a two-column table: for each row of `range` (corners ordered),
// the text of the cell in its first column (a label without its prefix, or a
// formula's text result) names the range written in the cell to its right.
// Rows without a name, or whose range text does not read, are skipped; once 240
// names exist, only existing names are redefined. Stops with the error flag set
// when the pool is full.
void RangeNameBuild(const TRange& range);

// Enters the table of names from the range's first cell downwards: "'" and the
// name in the first column and, for a valid range, its RangeText in the column
// to the right. Cells are entered through `enterCell` (row, column, typed text;
// false on an entry error), which stops the table. False when an entry failed.
using TCellEntryFn = std::function<bool(int row, int col, std::string_view text)>;
bool RangeNameTable(const TRange& range, const TCellEntryFn& enterCell);

// Removes every name and frees the entries.
void RangeNameReset();

// The number of names, an entry (nullptr outside 1..count), its name and range.
int RangeNameCount();
const TRangeName* RangeNameAt(int index);
std::string RangeNameText(const TRangeName& entry);
TRange RangeNameRange(const TRangeName& entry);

}  // namespace corvane

// User-defined functions: formulas with numbered arguments that users define in
// the library file (the program's name with ".USR", read at start) and call by
// "@" and their name. A formula's first use of a library function copies its
// definition into the current document's table, which the worksheet file
// carries as 274-byte records; compiled formulas call it by its index there
// (token 254). Also here: the "A" function that reads the arguments of the
// function being evaluated, and the call of the formula held in a named cell
// (token 255).
//
// Calls nest: each call evaluates the body re-entrantly with its own argument
// table. Calls more than kMaxUserCallDepth deep (a function or named cell that
// calls itself, directly or not) give ERR instead of exhausting the stack.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "spreadsheet/engine/Range.h"

namespace corvane {

inline constexpr std::size_t kUserFuncNameChars = 12;
inline constexpr std::size_t kUserFuncBodyChars = 255;
inline constexpr int kMaxUserFuncArgs = 10;
inline constexpr int kMaxUserFuncs = 255;
inline constexpr int kMaxUserCallDepth = 24;

// One user-defined function.
struct TUserFunc {
  std::string name;   // at most 12 characters, upper case
  std::string body;   // the definition formula text, at most 255 characters
  std::int32_t argCount = 0;  // 0..10
};

// ---- The 274-byte record ---------------------------------------------------
//
// The record as documents hold it and worksheet files store it, little-endian:
//   0    name length (0..12), 1..12 the name's characters (unused bytes 0)
//   13   body length (0..255), 14..268 the body's characters (unused bytes 0)
//   269  a pad byte (0)
//   270  argument count, signed 32-bit (0..10)
inline constexpr std::size_t kUserFuncRecordBytes = 274;

// Writes `function` into `out`. False, writing nothing, when `out` is not 274
// bytes or a field is out of bounds (name over 12 or body over 255
// characters, argument count outside 0..10).
bool EncodeUserFunctionRecord(const TUserFunc& function, std::span<std::uint8_t> out);
// Reads a record. False, leaving `function` as it was, when `bytes` is not 274
// bytes long or the record is damaged: a name length above 12, a body length
// above 255 or an argument count outside 0..10.
bool DecodeUserFunctionRecord(std::span<const std::uint8_t> bytes, TUserFunc& function);

// ---- The library -------------------------------------------------------------

// Reads the library file at `path`: line pairs of a definition line ("NAME,n",
// upper-cased) and a body line (case kept); text from the first ";" on is a
// comment; empty definition lines are skipped. A count above 10 counts as 10,
// a negative or unreadable one as 0; a definition without "," gives an empty
// name and count 0. At most 255 functions are read. Clears the error flag and
// empties the library first. A file that cannot be opened leaves the library
// empty, sets the error flag and gives false. The current document's table is
// kept: its formulas call entries by index, so emptying it would break them.
// Installs the user-function hooks of the compiler and the formula text.
bool LoadUserFunctions(const std::string& path);
// The library's functions (1..count); false for other indexes.
int LibraryFunctionCount();
bool LibraryFunction(int index, TUserFunc& function);
// Empties the library (program end, tests).
void ClearUserFunctionLibrary();

// ---- The current document's table -----------------------------------------

// Makes the compiler and the formula text look user functions up here
// (LoadUserFunctions and AppendDocumentUserFunction do it themselves).
void InstallUserFunctionHooks();

// The index (1..255) of the function `name` (any case) of the current
// document; else a library function of that name is copied to the end of the
// document's table and its new index returned; else 0. A full table or a pool
// without room also gives 0.
int FindDocumentUserFunction(std::string_view name);
int DocumentUserFunctionCount();
// The function at `index` of the current document's table; false for an index
// of 0 or above the count, or a damaged entry.
bool DocumentUserFunction(int index, TUserFunc& function);
// The worksheet reader's side of the table: empty it before the records of a
// file, then append each record read. Appending is false (the table
// unchanged) for a damaged record, a full table or a pool without room.
void ClearDocumentUserFunctions();
bool AppendDocumentUserFunctionRecord(std::span<const std::uint8_t> record);
bool AppendDocumentUserFunction(const TUserFunc& function);

// Lists the document's functions from the range's first cell down: each row
// gets the label "'" + name in the first column and "'" + body in the next.
// Stops at the last row of the worksheet.
void UserFunctionsToRange(const TRange& range);
// Turns every formula that calls a user function into a label holding "'"
// and its formula text (written with addresses when range names would make it
// too long), recalculates what depends on them, and then empties the
// document's table. Other formulas are unchanged. A formula whose text is too
// long even with addresses, or whose label finds no pool room, stays a
// formula, and the table stays for it.
void UserFunctionsReset();

// Registers the handlers of token 254 (user-function call), 255 (named-cell
// call) and 179 ("A"). The function registry calls it.
void RegisterUserFunctionHandlers();

}  // namespace corvane

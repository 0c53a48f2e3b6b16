// Compiled formulas back to infix text: the entry line, the status line, the
// text display format, printed formulas and text export all show a formula
// this way. References are spelled from the cells they name now, so the text
// follows inserted and deleted rows and columns, and a reference to a cell that
// a single-cell range name covers shows the name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "spreadsheet/engine/CellStore.h"

namespace corvane {

inline constexpr std::size_t kMaxFormulaText = 240;
// The texts of one conversion share a stack of this many bytes, each text
// taking its length + 1.
inline constexpr std::size_t kTextStackBytes = 998;

// The markers shown instead of a formula's text.
inline constexpr const char* kNoEndText = "NOEND";        // the code does not end in END
inline constexpr const char* kOverflowText = "OVERFLOW";  // the text would be too long
inline constexpr const char* kUnknownTokenText = "UKW";   // a token with no name
inline constexpr const char* kNoFunctionText = "@NOFUN";  // a user function the document lacks
inline constexpr const char* kBadRefText = "ERR";         // a reference to a deleted cell
inline constexpr const char* kBadCodeText = "@ERR";       // code whose tokens do not fit together

// True (the default) while references show range names.
extern bool gFormulaTextNames;

// The name of a user function of the current document by index, installed by
// the user-function code; "" when there is none. With no hook, none have names.
using TUserFunctionNameFn = std::string (*)(int index);
void SetUserFunctionNameHook(TUserFunctionNameFn name);

// The infix text of a compiled formula (`bytes` of code), at most 240
// characters. Clears the calc error flag first; a text that would be too long
// sets it and gives "OVERFLOW". Code without END at its length gives "NOEND",
// a call of a user function the document does not have "@NOFUN".
std::string FormulaToText(const std::uint8_t* code, std::size_t bytes);
std::string FormulaToText(std::string_view code);

// The text of one compiled reference: a single-cell range name ("$" in front
// when the reference has an absolute flag) or the cell's address with its "$"
// marks; "ERR" for a nil reference or a deleted cell.
std::string RefText(TCellRef ref);

// The edit text of a formula: its text, with "+" in front when it would
// otherwise enter as a label. A text too long to hold gives "+OVERFLOW" with
// the calc error flag set.
std::string FormulaEditText(const std::uint8_t* code, std::size_t bytes);

// The edit text of a cell: formulas as FormulaEditText gives them, reals in
// general text, integers in decimal, labels and pictures with their prefix;
// "" for blank and nil cells.
std::string CellContentsText(TCellHandle cell);

// The status-line summary of the cell at (row, col) (" [format,style width]",
// or "" when there is nothing to show) and its edit text. While protection is
// on a missing or protected cell shows "* Protected *" as its contents and the
// result is false.
inline constexpr const char* kProtectedContentsText = "* Protected *";
bool CellStatusText(int row, int col, std::string& status, std::string& contents);

}  // namespace corvane

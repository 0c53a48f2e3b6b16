// Cell entry: typed text (from the entry line, a macro, a text import or a data
// command) becomes a label, a number, a date or time serial or a compiled
// formula, with the dependency links and recalculation kept in step.
#pragma once

#include <string_view>

#include "spreadsheet/engine/CellStore.h"
#include "spreadsheet/engine/NumberFormat.h"

namespace corvane {

inline constexpr const char* kProtectedCellText = "Protected Cell";

// Display formats that change how typed text is read.
inline constexpr int kFormatDateMonthFirst = 121;
inline constexpr int kFormatDateDayFirst = 122;
inline constexpr int kFormatTimeFirst = 123;
inline constexpr int kFormatTimeLast = 124;

// Enters `text` (cut to 240 characters, a leading label prefix not counted)
// into the cell at (row, col):
// - protected cells (and missing ones) refuse it while protection is on: the
//   error "Protected Cell" is shown and set;
// - in a date-format cell a text with "/", in a time-format cell one with ":",
//   is read as a date or time serial unless it starts with a label prefix; a
//   text that names no date is refused;
// - text that starts like a value is a number, or else a formula, compiled
//   and linked to the cells it reads;
// - anything else is a label, given the default label prefix unless it has one;
// - an empty text makes an existing cell blank, keeping its attributes.
// A refused text (protection, a formula that does not compile, a bad date)
// leaves the cell as it was and the error flag set, so the caller can show the
// text again. Dependents are recalculated when recalculation is automatic.
// False when the text was refused.
bool EnterCell(std::string_view text, int row, int col);

// True when the last EnterCell recalculated dependents of the cell.
bool EntryRecalculated();

// Stores a number: kind 3 with a 16-bit integer when x is whole and its
// magnitude below 32767, else kind 2 with the real. A value that is not finite
// is stored as ERR.
void SetCellValue(TCellHandle cell, double x);

// For commands: stores x at (row, col) (created when missing) and recalculates
// its dependents unless recalculation is suppressed. While protection is on
// only existing unprotected cells change. False when nothing was stored.
bool SetCellNumber(int row, int col, double x);

// Set by commands that store many numbers and recalculate once at the end.
extern bool gSuppressRecalc;

// Enters the fields of a delimited line into successive cells of a row from
// (row, col): fields end at a space, ";" or the argument separator outside
// double quotes; a quoted field loses its quotes and becomes a label, an empty
// one a label of the prefix alone. A field that would be a formula but does
// not compile is entered as a label, so nothing read is lost.
void ParseLineIntoCells(std::string_view line, int row, int col);

// Enters one field read from a line of text as typed input; a field that would
// be a formula (or a date) but is refused is entered as a label instead, so
// nothing read is lost. A protected cell refuses it with its message.
void EnterLineField(std::string_view field, int row, int col);

// The number of fields ParseLineIntoCells finds in `line` (at most 256), so a
// caller can check the cells they will fill first.
int LineFieldCount(std::string_view line);

// True while the working settings have cell protection on.
bool ProtectionOn();
// True while protection is on for a cell whose protected bit is set, and for
// a missing cell (nullptr); always false while protection is off.
bool CellIsProtected(const TCell* cell);

}  // namespace corvane

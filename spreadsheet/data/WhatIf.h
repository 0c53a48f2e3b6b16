// Goal seek and what-if tables: commands that drive recalculation by storing
// trial values in input cells (through the number entry, so the input's
// dependents recalculate as for typed numbers) and reading formula results.
// Both leave their input cells as they were found when they end without a
// solution.
#pragma once

#include "spreadsheet/engine/Range.h"

namespace corvane {

inline constexpr const char* kGoalSeekFailedText = "Unable to Reach Goal";

// Changes the input cell (the range's first cell) until the output cell's
// value is within `tolerance` of `desired`: secant steps on a 1 % offset
// (x1 = 0.99 x), at most 26 iterations. On success the input cell keeps the x
// that produced the last y. When no iteration comes within the tolerance, or
// a step has slope 0 or leaves the numbers, the input cell gets its former
// contents back and "Unable to Reach Goal" is shown; the result is false.
// Unset ranges do nothing; a protected input cell, a range off the sheet and
// a desired value or tolerance that is not finite are refused.
bool DataGoalSeek(const TRange& inputCell, const TRange& outputCell, double tolerance, double desired);

// Fills the what-if table of the working settings: table range with the row
// inputs in its first column, and in mode 1 one formula per column in its top
// row (input cell 1), in mode 2 the column inputs in its top row and the
// formula in its top-left corner (input cells 1 and 2). Each result cell gets
// the formula's number, "@ERR" for an error, or its text. Rows (columns)
// whose input is not a number and missing formulas are skipped. The input
// cells get their former contents back at the end.
//
// Nothing happens when the table or a needed input cell is unset, or the
// table has no result cells. Refused, changing nothing: ranges off the sheet,
// an input cell among the result cells, and protected input or result cells.
// True when the table was filled.
bool DataTable(int mode);

}  // namespace corvane

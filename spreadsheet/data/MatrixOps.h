// Matrix operations on cell ranges: sum, difference, product, transpose,
// determinant, inverse and the solution of linear equations. Cells count as
// numbers (missing cells and labels as 0); results are stored through the
// number entry, right and down from the output range's first cell whatever
// its size. Every operand is read before anything is written.
//
// Each command saves undo before it writes. Refused, changing nothing: an
// operand or the output block off the sheet, an output block that overlaps an
// operand, and the errors named below.
#pragma once

#include "spreadsheet/data/LinearAlgebra.h"
#include "spreadsheet/engine/Range.h"

namespace corvane {

// The work matrix that determinant, inverse, solve and the linear program
// load their operand into: 31 rows of 61 values.
inline constexpr int kWorkMatrixRows = 31;
inline constexpr int kWorkMatrixCols = 61;
inline constexpr int kMaxInvertSize = 30;  // inversion doubles the columns

inline constexpr const char* kArraySizeText = "Array size>30x30";
inline constexpr const char* kDeterminantZeroText = "Unable to Solve, Determinant=0";
inline constexpr const char* kPivotErrorText = "Unable to Solve, Pivot Error?";
inline constexpr const char* kDeterminantDivisionText = " Unable to Solve Determinant, /0 ";

enum TMatrixMode : int { kMatrixAdd = 1, kMatrixSubtract = 2, kMatrixInvert = 4, kMatrixSolve = 5 };

// The operand of the latest load.
extern TRange gLastMatrixRange;

// Loads `range` (a valid range on the sheet) into `m`, row for row. More than
// 31 rows or 61 columns shows "Array size>30x30", sets the calc error flag and
// gives false.
bool MatrixLoad(const TRange& range, TMatrix& m);

// Mode 1 adds, mode 2 subtracts: a's cells and the cells at the same offsets
// from b's first cell (b's size plays no part).
bool MatrixAddSub(int mode, const TRange& a, const TRange& b, const TRange& output);
// a times the block of b's columns and as many rows as a has columns.
bool MatrixMultiply(const TRange& a, const TRange& b, const TRange& output);
bool MatrixTranspose(const TRange& a, const TRange& output);
// The determinant of a's square part (as many columns as it has rows, missing
// ones 0) into the output cell; an overflow shows " Unable to Solve
// Determinant, /0 " and writes 0.
bool MatrixDetToCell(const TRange& a, const TRange& output);
// Mode 4: the inverse of a's square part (at most 30 rows). Mode 5: the
// solution of the equations whose coefficients are a's first n columns (n =
// its rows) and whose right-hand sides are its other columns, one solution
// column each. A matrix that is singular, or numerically singular once each
// row is scaled by its largest value (rows of 1e-9 beside rows of 1e6 are
// not), shows "Unable to Solve, Determinant=0", an overflow "Unable to
// Solve, Pivot Error?".
bool MatrixInvertSolve(int mode, const TRange& a, const TRange& output);

}  // namespace corvane

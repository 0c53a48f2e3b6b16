// Copy and move of cell blocks with their formulas kept working, and the
// special copy (formulas as typed, values, transposed, scaled or inverted).
#pragma once

#include <string>

#include "spreadsheet/engine/Range.h"

namespace corvane {

inline constexpr const char* kCopyErrorText = "Copy Error";

// What a command that enters cells shows when an entry was refused: nothing
// when the entry showed it already (a protected cell), else the entry's
// error message, or "Copy Error" when it left none.
std::string RefusedEntryText();

// The copy and move commands. The destination takes the source's shape: a
// single cell is copied into every cell of the destination, one column into
// every destination column, one row into every destination row, and a block
// (or any move) to the destination's top-left corner only.
//
// Copy: every copy gets the source as it was before the command (so copies
// that overlap the source or each other read no copied cell); formulas are
// relocated (relative references shift, "$" references stay, a reference that
// would leave the sheet becomes ERR), a missing source cell clears its target,
// protected targets are skipped, and the copied area is recalculated.
//
// Move: the cell records themselves go to the target, so every formula that
// referred to a moved cell follows it; a cell at a target position is deleted
// (formulas that referred to it show ERR); saved ranges, range names and graph
// ranges with a corner in the source follow the move; the links of formulas
// whose ranges cover the source or target are made again, and both areas are
// recalculated. A missing or protected source cell leaves its target alone.
//
// A target area that would pass row 8192 or column IV shows "Copy Error" and
// changes nothing (not even the undo buffer); a pool that runs out part-way
// shows "Copy Error" and puts the sheet back from the undo copy. False on
// either, and for an unset range.
bool CopyMoveRange(bool move, const TRange& source, const TRange& destination);

// Special copy modes.
enum TCopyMode : int {
  kCopyFormulas = 0,   // edit text entered again (addresses unchanged) and attributes copied
  kCopyValues = 1,     // the value
  kCopyTranspose = 2,  // the value, row and column offsets exchanged
  kCopyScale = 3,      // the value times the factor
  kCopyInvert = 4,     // the reciprocal (0 gives an ERR formula)
};

// The special copy: a single-cell source is copied into every cell of the
// destination; otherwise each existing source cell goes to the destination's
// first corner plus its offset. In the value modes labels keep their text, a
// formula's text result becomes a label holding that text, and ERR (a cell in
// error, or the reciprocal of 0) becomes the formula @ERR. Every target is
// entered from the source as it was before the command, so an overlap reads no
// copied cell. The whole target area is checked first: one that leaves the
// sheet shows "Copy Error", a protected target (while protection is on)
// "Protected Cell", and nothing changes; an entry refused part-way puts the
// sheet back from the undo copy. False on any of these and for unset ranges.
bool RangeCopy(int mode, const TRange& source, const TRange& destination, double factor);

}  // namespace corvane

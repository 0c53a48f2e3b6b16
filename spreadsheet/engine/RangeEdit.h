// The range commands that change cells in place: erase, sizes, formats,
// attributes, protection marks, label prefixes, alignment and case. Copy and
// move are in BlockCopy.h, insert and delete in InsertDelete.h.
//
// Commands that change cells save the undo buffer first (all but lock, unlock
// and prefix), skip protected cells silently while protection is on, mark the
// active sheet modified and repaint it. A command that fails part-way (the
// pool runs out) shows its error and puts the sheet back from the undo copy it
// saved, so it changes no cell; with undo off, the cells done so far stay.
// Ranges may be given with their corners in any order.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "spreadsheet/engine/CellStore.h"
#include "spreadsheet/engine/Range.h"

namespace corvane {

// The scope of one command that changes cells: Begin saves the undo copy;
// Fail puts the saved sheet back (when one was saved) and sets and shows
// `message` (an empty one: the failure was shown already; the error flag is
// set again with its text); Done marks the active sheet modified and repaints.
class TCellCommand {
 public:
  void Begin();
  bool Fail(std::string_view message);
  void Done();

 private:
  bool undoSaved_ = false;
};

// Marks the active sheet modified and repaints it (commands without undo).
void MarkChangedAndRepaint();

// The range with its corners ordered.
TRange OrderedRange(const TRange& range);

// False for nil; else true while protection is off or the cell's protected
// bit is clear.
bool CellIsEditable(const TCell* cell);

// Clears the contents of every existing editable cell (formats and the cells'
// dependents stay) and recalculates the range.
void RangeErase(const TRange& range);

// Sets the row entries (pixels) of the range's rows, or the width (size-table
// units) of its columns, in the active grid.
void RangeSetRowHeights(const TRange& range, int size);
void RangeSetColWidths(const TRange& range, int width);

// Sets bits 0-6 of the format byte (keeping the protected bit), or replaces the
// attributes word, of every editable cell position of the range, creating the
// missing cells (none while protection is on, as a new cell is protected).
// False, with "Out of Memory" shown and nothing changed, when the pool runs out.
bool RangeSetFormat(const TRange& range, int format);
bool RangeSetAttributes(const TRange& range, std::uint32_t attributes);
// The same for any change of a cell's attribute fields: `set` is called on
// every editable cell position of the range (missing cells made first).
bool RangeSetCells(const TRange& range, const std::function<void(TCell&)>& set);

// Sets or clears the protected bit of every existing cell (no undo).
void RangeLock(const TRange& range);
void RangeUnlock(const TRange& range);

// Replaces the prefix (first character) of every existing label and
// recalculates the range (no undo, no protection test).
void RangeSetPrefix(const TRange& range, char prefix);

// Alignment by code bits 0-1 (1 left, 2 right, 3 centred; bit 3 and the others
// are ignored): labels get the matching prefix (a label starting with "/"
// keeps its first character), missing cells outside protection become a label
// of the prefix alone, and every cell's style bits 4-6 take the code. Code 0
// only clears the style's alignment and creates nothing. False when a cell
// could not be made (nothing changed).
bool RangeJustify(const TRange& range, int code);

// Case modes: 0 lower, 1 upper, 2 proper, 3 tidy spaces, 4 remove spaces,
// 5 remove characters below 32 and above 127. Other modes leave the text.
std::string ChangeCaseText(std::string_view text, int mode);

// Applies the case mode to the text after the prefix of every editable label
// and recalculates the formulas that read them. False when the pool refused a
// text (nothing changed).
bool RangeChangeCase(const TRange& range, int mode);

}  // namespace corvane

// Defaults for a new worksheet in the current document: what a fresh document
// holds before anything is typed or read into it.
#pragma once

namespace corvane {

// Resets the per-sheet state that commands keep between uses: the current graph
// record to its fresh defaults and the twelve saved command ranges to unset.
void ResetSheetDefaults();

// Makes the current document a new, empty worksheet: the working settings block
// becomes a copy of the program's default block (the number formats follow it),
// the extent is 0, 0, there are no range names, the graphs are reset with the
// stored copy of the current graph in the document's pool, and the saved command
// ranges are unset. Cells already in the document are not touched. False, with
// "Out of Memory", when the graph block cannot be had; the rest is done then.
// The print, page and grid defaults belong to the print engine and the sheet
// window, which set their own.
bool InitNewSheet();

}  // namespace corvane

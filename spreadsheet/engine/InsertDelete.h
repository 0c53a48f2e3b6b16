// Insertion and deletion of whole rows and columns, and the stored ranges
// (saved command ranges, range names, graph ranges) that follow the cells when
// rows, columns or blocks move.
//
// Rows move within their sheet band only: in a document of several sheets an
// insert or delete in one sheet leaves the cells, row heights and stored
// ranges of the others where they are (a range of rows that spans several
// sheets is handled sheet by sheet). Columns belong to the whole worksheet,
// as do their widths, so a column insert or delete shifts every sheet.
#pragma once

#include <functional>

#include "spreadsheet/engine/Range.h"

namespace corvane {

inline constexpr const char* kCellsInLastColumnText = "Cells in last Column";
inline constexpr const char* kCellsInBottomRowText = "CELLS in bottom row";

// What InsertDeleteLines shifts.
enum TLines : int {
  kLinesColumns = 1,
  kLinesRows = 2,               // any value but 1 and 3 means rows
  kLinesRowsWithPageBreak = 3,  // rows, and an insert puts the page-break mark "|::" at the cursor cell
};

// Inserts (or deletes) as many columns or rows as the range spans, from its
// first column or row on. Formulas keep pointing at the same data: references
// to a deleted cell become ERR, ranges that span the lines grow or shrink and
// are recalculated. Stored ranges follow; one with a corner inside deleted
// lines is cleared. Row heights and column widths shift with their lines.
// Refused, changing nothing, with "Cells in last Column" or "CELLS in bottom
// row" when an insert would push cells past column IV or the last row of
// their sheet; a pool that runs out part-way shows "Out of Memory" and puts
// the sheet back from the undo copy. False when refused or for an unset range.
bool InsertDeleteLines(const TRange& range, int what, bool insert);

// Calls `adjust` on every stored range that is set: the twelve saved command
// ranges and the data commands' further ones, the range names, and the ranges
// kept outside the engine (the current and the named graphs') through the
// visitor installed for them.
void ForEachStoredRange(const std::function<void(TRange&)>& adjust);

// The ranges other parts of the program keep for the document, which follow
// inserts, deletes and moves with the engine's own: the graph code and the
// macro interpreter each add a visitor that calls `adjust` on each of their
// ranges (InstallGraphRangeVisitor, NamedGraphs.h), as the program's start-up
// does. Without one only the engine's ranges follow. Set replaces them all
// with `visitor` (nullptr removes them); Add adds one not there yet.
using TKeptRangesVisitor = void (*)(const std::function<void(TRange&)>& adjust);
void SetKeptRangesVisitor(TKeptRangesVisitor visitor);
void AddKeptRangesVisitor(TKeptRangesVisitor visitor);

// Adds the offsets to every corner of a stored range that lies inside `region`
// (rows and columns inclusive); each corner is tested by itself.
void RangesFollowMove(const TRange& region, int rowOffset, int colOffset);

}  // namespace corvane

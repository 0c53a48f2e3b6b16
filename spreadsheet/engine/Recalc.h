// Dependency links and recalculation. Every cell keeps the list of formula
// cells that refer to it (TDepLink nodes from the page pool, one per
// referenced cell, a formula at most once per list). A change recalculates only
// the formulas reachable through those lists, each once and after everything
// it depends on: a depth-first walk queues them in post-order and the queue is
// evaluated backwards. Reference cycles are cut silently where the walk meets a
// cell it already visited. The queue and the walk stack hold 16384 entries
// each; an overflow evaluates what was queued and leaves every other cell
// without walk marks, so the next recalculation reaches it again.
//
// Stored and copied formulas hold references in a relative form: two signed
// 16-bit words, column then row; bit 15 clear means absolute (bits 0-13 the
// column or row), bit 15 set relative (bits 0-13 the offset from the formula's
// own cell in 14-bit two's complement). A nil reference is -1, -1.
#pragma once

#include <cstdint>

#include "spreadsheet/engine/CellStore.h"
#include "spreadsheet/engine/Range.h"

namespace corvane {

inline constexpr int kRecalcCapacity = 16384;
inline constexpr const char* kCalcStackExceededText = "Calc Stack Exceeded";

// Adds (creating the cell at (row, col) when missing) or removes the link from
// that cell to `formulaCell`. False when adding failed (no cell or no pool room).
bool DepLinkToggle(TCellHandle formulaCell, int row, int col, bool add);

// Adds or removes the links of every reference of a formula cell (kinds 0 and
// 1): one per single cell, one per cell of a range, creating the cells a range
// covers when adding (links the formula has already stay as they are). False,
// with "Out of Memory" set, when a link could not be added: the links this
// call made are taken away again, so the formula is linked as it was before
// (the cells made for them are left blank). A reference to a range too large
// for the pool's room is refused before any cell is made.
bool FormulaLinkDeps(TCellHandle cell, bool add);

// True when the code calls a user-defined function.
bool FormulaHasUserFunction(const std::uint8_t* code);

// Empties a cell: its own links removed, its text and result text freed, kind
// 5 and value 0. Its dependents list and attributes stay. Nil and blank cells
// are left alone.
void CellClearContents(TCellHandle cell);

// For a cell about to be deleted: every formula that refers to it loses that
// reference (it shows ERR from then on), the cell's own links and texts go, and
// the saved ranges and range names with a corner on it are cleared.
void CellDropDependents(TCellHandle cell);

// Sets every reference to (row, col) in the formula's code to nil (both
// corners of a range with such a corner), removes the formula's links to that
// range, and recalculates from it.
void FormulaDropRef(TCellHandle formulaCell, int row, int col);

// Turns the references of `code` (a TFormulaCode of length code[0] + 1) into
// the relative form against (row, col), or (toHandles) back into cell
// handles, creating the cells. A nil reference stays nil both ways, as does a
// relative one that lands outside the sheet. False for code that is not well
// formed, changing nothing.
bool FormulaRelocateRefs(std::uint8_t* code, int row, int col, bool toHandles);

// The column or row a word of a stored reference names for a formula whose own
// column or row is `base`. A relative word is not wrapped: a result outside
// 0..8191 (or a column beyond 255) names no cell.
int StoredRefCoordinate(std::uint16_t word, int base);

// Removes the links of every formula cell in the range.
void UnlinkRange(const TRange& range);

// The walk and the queue.
void QueueDependents(TCellHandle start);
void EvaluateQueue();
// Recalculates the formulas that depend on `cell` (and the cell itself when it
// is a formula). An overflow is not reported.
void RecalcFromCell(TCellHandle cell);
// Recalculates every formula reachable from the existing cells of the range;
// shows "Calc Stack Exceeded" on overflow. A call made while one runs does nothing.
void RecalcRange(const TRange& range);
// RecalcRange over A1 to the highest used row and column.
void RecalcAll();

// Set when the last walk overflowed the queue or the stack.
bool RecalcOverflowed();

// The number of cells of the current document that carry walk marks (for
// tests: 0 after every recalculation).
int CountMarkedCells();

}  // namespace corvane

// The undo buffer: one level of undo per document. Before a command changes
// many cells it saves a copy of every cell of the sheet (attributes, content
// kind, and the formula code with relative references, the label text or the
// value), the range names' ranges and the active grid's column widths and row
// heights; undo puts that copy back in place of the whole sheet and
// recalculates. Saving again drops the previous copy.
//
// Everything lives in the page pool under the document's owner tag and hangs
// from the document's row-head table: entry 8192 holds the buffer's head
// record, 8193 the saved column sizes, 8194..8197 the saved row sizes. So the
// buffer follows its document through window switches and is freed with it.
//
// A buffer is installed only when the whole copy succeeded: when the pool runs
// out part-way, the partial copy is freed at once and "Out of UNDO memory!" is
// shown, so a later undo never replaces the sheet with part of it. A saved
// empty sheet is a buffer too: undoing it empties the sheet again. Main
// thread only.
#pragma once

#include <cstdint>

#include "spreadsheet/engine/CellStore.h"

namespace corvane {

inline constexpr const char* kOutOfUndoMemoryText = "Out of UNDO memory!";

// The undo setting of the settings file: while false nothing is saved.
extern bool gUndoEnabled;

// A saved cell as the pool holds it: 17 bytes, then the payload.
#pragma pack(push, 1)
struct TUndoRec {
  TPoolHandle next;                                // the next record, nil at the end
  std::uint8_t attributes[kCellAttributeBytes];    // the cell's font..row block
  std::uint8_t kind;                               // content type and error bit
  // Payload: for formulas and labels (and pictures, which are labels naming a
  // bitmap) a length-prefixed string (the code with relative references, or
  // the text); for every other kind the 8-byte value field.
};
#pragma pack(pop)
static_assert(sizeof(TUndoRec) == 17, "an undo record is 17 bytes before its payload");

// Saves the undo copy of the current document: drops the previous buffer,
// then, while the undo setting is on, copies the sizes, the range names and
// every cell. When the pool refuses a block the partial copy is freed, the
// error "Out of UNDO memory!" is shown and the result is false (no buffer is
// left). True when a buffer was saved; false also when the setting is off or
// no document is current.
bool UndoSave();

enum class TUndoMode {
  kDrop = 0,     // free the buffer and the saved sizes
  kRestore = 1,  // put the saved copy back, then free it
};

// kDrop frees the buffer (true). kRestore replaces every cell of the sheet by
// the saved cells (formulas relinked), puts the saved sizes back into the
// active grid, gives the range names that still exist their saved ranges,
// frees the buffer and recalculates the used area; true when something was
// restored, false (changing nothing) when nothing was saved. Without saved
// cells the cells are left alone (saved sizes alone are still put back). A
// cell the pool cannot rebuild is left blank and "Out of Memory" is set.
// False for both when no document is current.
bool UndoApply(TUndoMode mode);

// Frees the buffer and the saved sizes (UndoApply(kDrop)).
void UndoClear();

// True when the current document has a buffer that undo would restore: saved
// cells (possibly none, from an empty sheet) or saved sizes.
bool UndoAvailable();

// One record made from a cell (not yet in any list); nil when the pool refuses
// or the cell does not exist. A formula whose code cannot be read is saved as
// a blank cell with its attributes.
TPoolHandle UndoRecordFromCell(TCellHandle cell);

// The pool bytes a record takes (17 + its payload); 0 for nil. For freeing.
std::uint32_t UndoRecordBytes(TPoolHandle record);

enum class TSizeSaveMode {
  kSave = 0,     // copy the active grid's table into the buffer
  kRestore = 1,  // set the grid's entries from the saved copy, then free it
  kFree = 2,     // free the saved copy only
};

// The saved column-size table (one block of 512 bytes) and row-size table
// (four blocks of 4096 bytes). kSave replaces any earlier copy; without an
// active grid it saves nothing and succeeds. A block the pool refuses leaves
// its entry nil (the blocks already made are freed) and gives false.
// kRestore sets only the entries that differ (255 restores the default size)
// and gives false when nothing was saved.
bool UndoSaveColumnSizes(TSizeSaveMode mode);
bool UndoSaveRowSizes(TSizeSaveMode mode);

}  // namespace corvane

// The open-document table: one slot per open document, holding what is swapped
// out of the engine's current context (DocumentContext.h) while another document
// is current: its extent, owner tag, row-head table, graph, range-name and
// user-function tables, settings block and file name. Several windows may show
// one document; the slot counts the extra windows, and the document's store and
// pages are freed with the last of them.
//
// Slots 1..255 hold documents; slot 0 is a scratch slot that parks the current
// store while a temporary one is built (file merge). Main thread only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "spreadsheet/engine/DocumentContext.h"

namespace corvane {

inline constexpr int kDocSlotCount = 256;  // slot 0 scratch, documents in 1..255
inline constexpr std::size_t kMaxFileNameChars = 255;

struct TDocSlot {
  std::int16_t refCount = 0;  // windows on the document beyond the first
  TSheetSettings settings;    // the stored settings block
  TOwnerTag ownerTag = kNoOwner;
  std::int16_t highRow = 0;
  std::int16_t highCol = 0;
  TPoolHandle* rowHeads = nullptr;  // owned (GetMem); nullptr marks a free slot
  std::uint8_t graphCount = 0;
  std::uint8_t rangeNameCount = 0;
  std::uint8_t userFuncCount = 0;
  TPoolHandle graphs[kGraphTableSlots] = {};
  TPoolHandle rangeNames[kRangeNameTableSlots] = {};
  TPoolHandle userFuncs[kUserFuncTableSlots] = {};
  std::string fileName;  // upper case (the ANSI code page's letters), at most 255 characters
  bool untitled = false;  // a new sheet not yet saved: never shared by name
  bool partlyRead = false;  // read from a damaged file: never saved over it unasked
  // The user would not let the document's macros run when it was opened:
  // the names below and the sheet buttons that came with the file stay
  // refused until it is closed.
  bool macrosRefused = false;
  // The macro names (upper case) refused then.
  std::vector<std::string> refusedMacros;
};

enum class TOpenResult {
  kNew,     // a new store was made in `slot`
  kShared,  // the document was open: `slot` is its slot, one more window counted
  kFailed,  // no store: the error flag says "Out of Memory"; `slot` is 0
};

// The slot of the open, titled document named `name` (compared in upper case);
// the last match wins. False (slot 0) when none, and always for an empty name.
bool FindOpenSheet(std::string_view name, int& slot);

// Opens a document. A titled name that is already open shares that slot
// (kShared, reference count + 1). Otherwise the first free slot from 1 is taken
// (the table grows by one when none is free), with reference count 0, a new
// owner tag, the upper-case name cut to 255 characters, extent 0, 0, empty
// tables, the default settings block (DefaultSheetSettings) and a cleared
// row-head table. An untitled document
// (a new sheet, or an empty name) never shares: each gets its own store. Fails
// with "Out of Memory" when the table has no slot left or the row-head table
// cannot be had. Does not make the document current.
TOpenResult RegisterOpenSheet(std::string_view name, int& slot, bool untitled = false);
// One more window on the document open in `slot`, named or untitled; false
// when no document is open there.
bool ShareOpenSheet(int slot);

// Gives the name of an open document a new name (after Save As); the document
// counts as titled from then on unless the name is empty. False for a free slot.
bool RenameOpenSheet(int slot, std::string_view name);

// Closes one window on the document with owner tag `tag`: the count drops, and
// at the last window the row-head table and every pool page of the tag are
// freed and the slot becomes free. When that document was current, the current
// context is cleared (no document is current afterwards). Unknown tags and 0
// are ignored.
void ReleaseOpenSheet(TOwnerTag tag);

// Frees every open document (program end); no document is current afterwards.
void FreeAllDocuments();

// Parks the current row-head table, extent and owner tag in slot 0, and brings
// them back (the restore also makes the tag the pool's current owner).
void SaveCurrentStore();
void RestoreCurrentStore();

// Copies the current context (extent, counts, the current graph record into its
// pool block, and the three tables) into the slot whose row-head table is the
// current one, and back. Nothing happens when no slot holds the current table
// (a temporary store). Restoring a document without a graph block clears the
// current graph record.
void SaveSheetContext();
void RestoreSheetContext();

// Makes the document of `slot` current: its owner tag becomes the pool's owner;
// unless it is current already, the previous document's context is saved into
// its slot, this one's row-head table, extent and tag become current, its
// settings block is loaded into the working copy and its context restored.
// The caller stores the previous document's working settings first
// (StoreSlotSettings) when they may have changed. False for a free slot.
bool ActivateDocumentContext(int slot);

// Copy the settings block (with its trailing word) from the slot into the
// working copy, or back; loading also brings the number formats' copies of
// its flags and currency texts in line. Ignored for a free slot.
void LoadSlotSettings(int slot);
void StoreSlotSettings(int slot);

// A worksheet file name: every letter of the ANSI code page upper case, with
// ".WKS" added when the last part of the path has no extension.
std::string WksFileName(std::string_view name);

// The slot record (nullptr outside 0..255), for the windows that show the
// document's name, count and settings.
TDocSlot* DocSlot(int slot);
// Slots counted as in use: documents live in 1..DocSlotCount().
int DocSlotCount();
// The slot of the current document, 0 when none.
int CurrentDocSlot();

}  // namespace corvane

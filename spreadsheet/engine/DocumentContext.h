// The current document: the engine's one set of working globals. Every engine
// operation works on the document held here; none takes a document argument.
// The document table (DocumentTable.h) swaps these fields in and out of its
// slots when another sheet window becomes active.
#pragma once

#include <cstddef>
#include <cstdint>

#include "spreadsheet/engine/PagePool.h"
#include "spreadsheet/engine/SheetSettings.h"

namespace corvane {

inline constexpr int kGraphTableSlots = 256;       // entry 0: the current graph's pool block
inline constexpr std::size_t kGraphRecordBytes = 839;
inline constexpr int kRangeNameTableSlots = 256;   // entries 1..240 in use
inline constexpr int kUserFuncTableSlots = 256;    // entries 1..255 in use

struct TDocContext {
  // The row-head table (8198 handles, CellStore.h); nullptr when no document is
  // current. Owned by the document's slot, borrowed here.
  TPoolHandle* rowHeads = nullptr;
  // Highest row and column that ever received a cell.
  std::int16_t highRow = 0;
  std::int16_t highCol = 0;
  TOwnerTag ownerTag = kNoOwner;
  std::uint8_t graphCount = 0;
  TPoolHandle graphs[kGraphTableSlots] = {};
  // The working copy of the current graph record; its stored copy is the pool
  // block of graphs[0]. The graph code gives the bytes their meaning.
  std::uint8_t currentGraph[kGraphRecordBytes] = {};
  std::uint8_t rangeNameCount = 0;
  TPoolHandle rangeNames[kRangeNameTableSlots] = {};  // TRangeName blocks, sorted by name
  std::uint8_t userFuncCount = 0;
  TPoolHandle userFuncs[kUserFuncTableSlots] = {};
  TSheetSettings settings;  // the working settings block
};

// The engine's current document.
extern TDocContext gCurrentDoc;

// True when a document is current (its row-head table is set).
inline bool HaveCurrentDocument() { return gCurrentDoc.rowHeads != nullptr; }

// Forgets the current document: no row-head table, extent 0, 0, empty tables,
// no pool owner. The working settings block is kept.
void ClearDocumentContext();

}  // namespace corvane

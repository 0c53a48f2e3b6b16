// The undo buffer of the current document: saving the sheet, its sizes and its
// range names' ranges into pool records, and putting them back.
#include "spreadsheet/engine/UndoBuffer.h"

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/FormulaCompiler.h"
#include "spreadsheet/engine/PoolString.h"
#include "spreadsheet/engine/RangeNames.h"
#include "spreadsheet/engine/Recalc.h"
#include "spreadsheet/engine/ShowError.h"
#include "spreadsheet/engine/WindowServices.h"

namespace corvane {

bool gUndoEnabled = true;

namespace {

constexpr std::uint32_t kValueBytes = sizeof(TCell::value);
constexpr std::uint8_t kSavedKindBits = kKindTypeMask | kKindErrorBit;
// A length-prefixed payload: at most 255 bytes after the length byte.
constexpr std::size_t kMaxStringPayload = 256;

// The head record that row-head entry 8192 points to: the first cell record
// and a copy of the range-name entries (their names and ranges) as they were
// when the buffer was saved.
#pragma pack(push, 1)
struct TUndoHead {
  TPoolHandle first;
  std::uint8_t nameCount;
  // nameCount TRangeName entries follow.
};
#pragma pack(pop)

std::uint32_t HeadBytes(int nameCount) {
  return static_cast<std::uint32_t>(sizeof(TUndoHead) + nameCount * sizeof(TRangeName));
}
TUndoHead* HeadPtr(TPoolHandle head) { return reinterpret_cast<TUndoHead*>(PoolBlock(head)); }
TRangeName* HeadNames(TUndoHead* head) {
  return reinterpret_cast<TRangeName*>(reinterpret_cast<std::uint8_t*>(head) + sizeof(TUndoHead));
}

TUndoRec* RecPtr(TPoolHandle record) { return reinterpret_cast<TUndoRec*>(PoolBlock(record)); }
std::uint8_t* Payload(TUndoRec* record) { return reinterpret_cast<std::uint8_t*>(record) + sizeof(TUndoRec); }

// Formulas, labels and pictures carry a string; every other kind its value.
bool HasStringPayload(std::uint8_t kind) {
  std::uint8_t type = kind & kKindTypeMask;
  return type <= kKindNumberFormula || type == kKindLabel || type == kKindPicture;
}

// The row and column carried in a record's attribute block.
int RecordRow(const TUndoRec& record) {
  std::int16_t row;
  std::memcpy(&row, record.attributes + (offsetof(TCell, row) - kCellAttributeOffset), sizeof row);
  return row;
}
int RecordColumn(const TUndoRec& record) { return record.attributes[offsetof(TCell, column) - kCellAttributeOffset]; }

void FreeRecordList(TPoolHandle record) {
  while (record != kNilHandle) {
    TPoolHandle next = RecPtr(record)->next;
    PoolFree(record, UndoRecordBytes(record));
    record = next;
  }
}

void FreeHead(TPoolHandle head) {
  TUndoHead* record = HeadPtr(head);
  if (!record) return;
  FreeRecordList(record->first);
  PoolFree(head, HeadBytes(record->nameCount));
}

// A head record holding the current range names, with no cells yet.
TPoolHandle NewHead() {
  int count = RangeNameCount();
  TPoolHandle head = PoolAlloc(HeadBytes(count));
  TUndoHead* record = HeadPtr(head);
  if (!record) return kNilHandle;
  record->first = kNilHandle;
  record->nameCount = static_cast<std::uint8_t>(count);
  for (int index = 1; index <= count; ++index)
    std::memcpy(&HeadNames(record)[index - 1], RangeNameAt(index), sizeof(TRangeName));
  return head;
}

// Gives every range name that still exists the range it had when the buffer
// was saved. Names made since keep theirs; names deleted since stay deleted.
void RestoreRangeNames(TUndoHead* head) {
  for (int k = 0; k < head->nameCount; ++k) {
    const TRangeName& saved = HeadNames(head)[k];
    std::string key = RangeNameText(saved);
    int index = RangeNameSearch(key, 1, RangeNameCount());
    if (index <= 0) continue;
    auto* entry = const_cast<TRangeName*>(RangeNameAt(index));
    std::memcpy(entry->rangeBytes, saved.rangeBytes, sizeof entry->rangeBytes);
  }
}

// Puts one record back as the cell at its row and column. False when the
// cell or its text could not be had (the cell is then blank, or missing).
bool RestoreRecord(TUndoRec& record) {
  int row = RecordRow(record);
  int col = RecordColumn(record);
  TCellHandle cell = CellGetOrCreate(row, col);
  if (cell == kNilHandle) return false;
  // A cell made earlier in this restore, as the target of a formula's
  // reference, is blank; clearing keeps the links that formula put on it.
  CellClearContents(cell);
  TCell* target = CellPtr(cell);
  std::memcpy(&target->font, record.attributes, kCellAttributeBytes);
  std::uint8_t* payload = Payload(&record);
  if (!HasStringPayload(record.kind)) {
    std::memcpy(target->value, payload, kValueBytes);
    target->kind = record.kind;
    return true;
  }
  TPoolHandle text = PoolNewString(std::string_view(reinterpret_cast<const char*>(payload + 1), payload[0]));
  if (text == kNilHandle) return false;
  target->text = text;
  target->kind = record.kind;
  SetCellReal(*target, 0);
  if (CellIsFormula(target)) {
    // Relocation creates the cells the formula refers to; the links follow.
    FormulaRelocateRefs(PoolBlock(text), row, col, true);
    return FormulaLinkDeps(cell, true);
  }
  return true;
}

// The saved-size tables: the column sizes in one block, the row sizes in four.
struct TSizeTable {
  int firstEntry;
  int blocks;
  int entriesPerBlock;
  bool columns;
};
constexpr TSizeTable kColumnSizeTable{kSavedColumnSizesEntry, 1, kMaxCol + 1, true};
constexpr TSizeTable kRowSizeTable{kSavedRowSizesEntry, 4, (kMaxRow + 1) / 4, false};
static_assert(kColumnSizeTable.entriesPerBlock * 2 == 512 && kRowSizeTable.entriesPerBlock * 2 == 4096);

std::uint32_t SizeBlockBytes(const TSizeTable& table) {
  return static_cast<std::uint32_t>(table.entriesPerBlock * sizeof(std::uint16_t));
}

bool SizesSaved(const TSizeTable& table) {
  for (int b = 0; b < table.blocks; ++b)
    if (RowListHead(table.firstEntry + b) != kNilHandle) return true;
  return false;
}

void FreeSizeBlocks(const TSizeTable& table) {
  for (int b = 0; b < table.blocks; ++b) {
    TPoolHandle block = RowListHead(table.firstEntry + b);
    if (block != kNilHandle) PoolFree(block, SizeBlockBytes(table));
    RowListSet(table.firstEntry + b, kNilHandle);
  }
}

bool SaveSizeBlocks(const TSizeTable& table) {
  FreeSizeBlocks(table);
  if (!HaveCurrentDocument()) return false;
  TSheetViewState view;
  if (!WindowServices().GetSheetView(view)) return true;
  std::span<const std::uint16_t> sizes = SizeTable(view.sizes, table.columns);
  for (int b = 0; b < table.blocks; ++b) {
    TPoolHandle block = PoolAlloc(SizeBlockBytes(table));
    std::uint8_t* bytes = PoolBlock(block);
    if (!bytes) {
      FreeSizeBlocks(table);
      return false;
    }
    std::memcpy(bytes, sizes.data() + b * table.entriesPerBlock, SizeBlockBytes(table));
    RowListSet(table.firstEntry + b, block);
  }
  return true;
}

bool RestoreSizeBlocks(const TSizeTable& table) {
  bool restored = false;
  TSheetViewState view;
  bool haveView = WindowServices().GetSheetView(view);
  std::span<std::uint16_t> sizes = SizeTable(view.sizes, table.columns);
  for (int b = 0; b < table.blocks; ++b) {
    const std::uint8_t* bytes = PoolBlock(RowListHead(table.firstEntry + b));
    if (!bytes) continue;
    restored = true;
    std::memcpy(sizes.data() + b * table.entriesPerBlock, bytes, SizeBlockBytes(table));
  }
  if (restored && haveView) WindowServices().SetSheetView(view, kViewSizes);
  FreeSizeBlocks(table);
  return restored;
}

bool SaveSizes(const TSizeTable& table, TSizeSaveMode mode) {
  switch (mode) {
    case TSizeSaveMode::kSave:
      return SaveSizeBlocks(table);
    case TSizeSaveMode::kRestore:
      return RestoreSizeBlocks(table);
    case TSizeSaveMode::kFree:
      FreeSizeBlocks(table);
      return true;
  }
  return false;
}

// Ends a save that ran out of pool: nothing of it is kept.
bool AbandonSave(TPoolHandle head) {
  FreeHead(head);
  UndoSaveColumnSizes(TSizeSaveMode::kFree);
  UndoSaveRowSizes(TSizeSaveMode::kFree);
  ShowError(kOutOfUndoMemoryText);
  return false;
}

bool RestoreSheet() {
  TPoolHandle head = RowListHead(kUndoListEntry);
  if (head == kNilHandle && !SizesSaved(kColumnSizeTable) && !SizesSaved(kRowSizeTable)) return false;
  ClearErrorFlag();
  bool complete = true;
  if (head != kNilHandle) CellStoreClear();
  UndoSaveColumnSizes(TSizeSaveMode::kRestore);
  UndoSaveRowSizes(TSizeSaveMode::kRestore);
  if (TUndoHead* record = HeadPtr(head)) {
    // Each record is freed once its cell is back, so the restore needs little
    // more pool than the sheet it rebuilds. Pool blocks never move, so the
    // record pointers stay valid while cells are made.
    while (record->first != kNilHandle) {
      TPoolHandle first = record->first;
      TUndoRec* saved = RecPtr(first);
      if (!RestoreRecord(*saved)) complete = false;
      record->first = saved->next;
      PoolFree(first, UndoRecordBytes(first));
    }
    RestoreRangeNames(record);
    FreeHead(head);
    RowListSet(kUndoListEntry, kNilHandle);
  }
  RecalcAll();
  if (!complete) SetOutOfMemoryError();
  TWindowServices& windows = WindowServices();
  windows.RepaintSheet(windows.ActiveSheet());
  return true;
}

}  // namespace

TPoolHandle UndoRecordFromCell(TCellHandle handle) {
  const TCell* cell = CellPtr(handle);
  if (!cell) return kNilHandle;
  std::uint8_t kind = cell->kind & kSavedKindBits;
  std::uint8_t payload[kMaxStringPayload] = {};
  std::uint32_t payloadBytes = kValueBytes;
  std::uint32_t textBytes = PoolStringBlockBytes(cell->text);
  if (CellIsFormula(cell)) {
    // The code is saved with relative references, so it no longer names cells
    // that the restore frees; a code that does not read is saved as a blank.
    bool readable = textBytes > 0 && textBytes <= kMaxFormulaCode;
    if (readable) std::memcpy(payload, PoolBlock(cell->text), textBytes);
    if (readable && FormulaRelocateRefs(payload, cell->row, cell->column, false)) {
      payloadBytes = textBytes;
    } else {
      kind = kKindBlank;
      std::memset(payload, 0, sizeof payload);
    }
  } else if (HasStringPayload(kind)) {
    if (textBytes > 0) std::memcpy(payload, PoolBlock(cell->text), textBytes);
    payloadBytes = textBytes > 0 ? textBytes : 1;
  } else {
    std::memcpy(payload, cell->value, kValueBytes);
  }
  TPoolHandle record = PoolAlloc(static_cast<std::uint32_t>(sizeof(TUndoRec)) + payloadBytes);
  TUndoRec* saved = RecPtr(record);
  if (!saved) return kNilHandle;
  cell = CellPtr(handle);
  saved->next = kNilHandle;
  std::memcpy(saved->attributes, &cell->font, kCellAttributeBytes);
  saved->kind = kind;
  std::memcpy(Payload(saved), payload, payloadBytes);
  return record;
}

std::uint32_t UndoRecordBytes(TPoolHandle record) {
  TUndoRec* saved = RecPtr(record);
  if (!saved) return 0;
  std::uint32_t payloadBytes = HasStringPayload(saved->kind) ? Payload(saved)[0] + 1u : kValueBytes;
  return static_cast<std::uint32_t>(sizeof(TUndoRec)) + payloadBytes;
}

bool UndoSaveColumnSizes(TSizeSaveMode mode) { return SaveSizes(kColumnSizeTable, mode); }
bool UndoSaveRowSizes(TSizeSaveMode mode) { return SaveSizes(kRowSizeTable, mode); }

bool UndoSave() {
  UndoApply(TUndoMode::kDrop);
  if (!gUndoEnabled || !HaveCurrentDocument()) return false;
  if (!UndoSaveColumnSizes(TSizeSaveMode::kSave) || !UndoSaveRowSizes(TSizeSaveMode::kSave))
    return AbandonSave(kNilHandle);
  TPoolHandle head = NewHead();
  if (head == kNilHandle) return AbandonSave(kNilHandle);
  // Every row is walked, not only those up to the extent: the restore empties
  // the whole store, so a cell left out would be lost.
  TPoolHandle last = kNilHandle;
  TRange sheet;
  RangeSet(sheet, 0, 0, kMaxCol, kMaxRow);
  bool saved = ForEachCellInRange(sheet, [&](TCellHandle cell) {
    TPoolHandle record = UndoRecordFromCell(cell);
    if (record == kNilHandle) return false;
    if (last == kNilHandle) HeadPtr(head)->first = record;
    else RecPtr(last)->next = record;
    last = record;
    return true;
  });
  if (!saved) return AbandonSave(head);
  RowListSet(kUndoListEntry, head);
  return true;
}

bool UndoApply(TUndoMode mode) {
  if (!HaveCurrentDocument()) return false;
  if (mode == TUndoMode::kRestore) return RestoreSheet();
  FreeHead(RowListHead(kUndoListEntry));
  RowListSet(kUndoListEntry, kNilHandle);
  UndoSaveColumnSizes(TSizeSaveMode::kFree);
  UndoSaveRowSizes(TSizeSaveMode::kFree);
  return true;
}

void UndoClear() { UndoApply(TUndoMode::kDrop); }

bool UndoAvailable() {
  return HaveCurrentDocument() && (RowListHead(kUndoListEntry) != kNilHandle || SizesSaved(kColumnSizeTable) ||
                                   SizesSaved(kRowSizeTable));
}

}  // namespace corvane

// Row lists of the current document: lookups, creation, linking and clearing.
#include "spreadsheet/engine/CellStore.h"

#include <algorithm>

#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/PoolString.h"

namespace corvane {

const TCell kDefaultCellTemplate = {
    kNilHandle, kNilHandle, 255, 0, 0, 0, 0xC0000000u, 255, 0, 0, kNilHandle, kKindBlank, {}};
const TCell kFormulaCellTemplate = {
    kNilHandle, kNilHandle, 255, 0, 0, 0, 0xC0000000u, 255, 0, 0, kNilHandle, kKindNumberFormula, {}};

namespace {

TCellHandle gRowPosPrevious = kNilHandle;
bool gStoreChanged = false;

bool InSheet(int row, int col) { return row >= 0 && row <= kMaxRow && col >= 0 && col <= kMaxCol; }

void RaiseExtent(int row, int col) {
  gCurrentDoc.highRow = static_cast<std::int16_t>(std::max<int>(gCurrentDoc.highRow, row));
  gCurrentDoc.highCol = static_cast<std::int16_t>(std::max<int>(gCurrentDoc.highCol, col));
}

// Links `cell` after `prev` (nil: at the head) of `row`.
void LinkAfter(TCellHandle cell, TCellHandle prev, int row) {
  TPoolHandle* heads = gCurrentDoc.rowHeads;
  TCell* c = CellPtr(cell);
  if (prev == kNilHandle) {
    c->next = heads[row];
    heads[row] = cell;
  } else {
    TCell* p = CellPtr(prev);
    c->next = p->next;
    p->next = cell;
  }
}

void FreeDependents(TPoolHandle link) {
  for (int guard = 0; link != kNilHandle && guard < 1 << 24; ++guard) {
    const auto* node = reinterpret_cast<const TDepLink*>(PoolBlock(link));
    if (node == nullptr) break;
    TPoolHandle next = node->next;
    PoolFree(link, sizeof(TDepLink));
    link = next;
  }
}

void FreeCell(TCellHandle cell) {
  TCell* c = CellPtr(cell);
  FreeDependents(c->dependents);
  TPoolHandle text = c->text;  // a copy: members of the packed record take no references
  PoolFreeString(text);        // labels and compiled formulas are both length-prefixed
  if (CellKind(*c) == kKindStringFormula && (c->kind & kKindErrorBit) == 0) {
    TPoolHandle result = CellResultText(*c);
    PoolFreeString(result);
  }
  PoolFree(cell, sizeof(TCell));
}

}  // namespace

TPoolHandle RowListHead(int row) {
  if (!HaveCurrentDocument() || row < 0 || row >= kRowHeadEntries) return kNilHandle;
  return gCurrentDoc.rowHeads[row];
}

void RowListSet(int row, TPoolHandle first) {
  if (!HaveCurrentDocument() || row < 0 || row >= kRowHeadEntries) return;
  gCurrentDoc.rowHeads[row] = first;
}

TCellHandle CellFindRowPos(int row, int col) {
  gRowPosPrevious = kNilHandle;
  if (!HaveCurrentDocument() || row < 0 || row > kMaxRow) return kNilHandle;
  TCellHandle cell = gCurrentDoc.rowHeads[row];
  while (cell != kNilHandle) {
    const TCell* c = CellPtr(cell);
    if (c->column >= col) break;
    gRowPosPrevious = cell;
    cell = c->next;
  }
  return cell;
}

TCellHandle CellRowPosPrevious() { return gRowPosPrevious; }

TCellHandle CellFind(int row, int col) {
  TCellHandle cell = CellFindRowPos(row, col);
  return cell != kNilHandle && CellPtr(cell)->column == col ? cell : kNilHandle;
}

TCellHandle CellGetOrCreate(int row, int col) {
  if (!InSheet(row, col)) {
    SetOutOfRangeError();
    return kNilHandle;
  }
  if (!HaveCurrentDocument()) return kNilHandle;
  MarkStoreChanged();
  TCellHandle at = CellFindRowPos(row, col);
  if (at != kNilHandle && CellPtr(at)->column == col) return at;
  TCellHandle prev = gRowPosPrevious;
  RaiseExtent(row, col);
  TCellHandle cell = PoolAlloc(sizeof(TCell));
  TCell* c = CellPtr(cell);
  if (c == nullptr) return kNilHandle;
  *c = kDefaultCellTemplate;
  c->column = static_cast<std::uint8_t>(col);
  c->row = static_cast<std::int16_t>(row);
  LinkAfter(cell, prev, row);
  return cell;
}

bool CellLinkIntoRow(TCellHandle cell, int row, int col) {
  TCell* c = CellPtr(cell);
  if (c == nullptr || !InSheet(row, col) || !HaveCurrentDocument()) return false;
  TCellHandle at = CellFindRowPos(row, col);
  if (at == cell || (at != kNilHandle && CellPtr(at)->column == col)) return false;
  c->column = static_cast<std::uint8_t>(col);
  c->row = static_cast<std::int16_t>(row);
  LinkAfter(cell, gRowPosPrevious, row);
  RaiseExtent(row, col);
  return true;
}

bool CellUnlinkFromRow(TCellHandle cell, TCellHandle prev, int row) {
  TCell* c = CellPtr(cell);
  if (c == nullptr || !HaveCurrentDocument() || row < 0 || row > kMaxRow) return false;
  if (prev == kNilHandle) {
    if (gCurrentDoc.rowHeads[row] != cell) return false;
    gCurrentDoc.rowHeads[row] = c->next;
  } else {
    TCell* p = CellPtr(prev);
    if (p == nullptr || p->next != cell) return false;
    p->next = c->next;
  }
  c->next = kNilHandle;
  return true;
}

bool CellDelete(TCellHandle cell) {
  const TCell* c = CellPtr(cell);
  if (c == nullptr) return false;
  int row = c->row;
  if (CellFindRowPos(row, c->column) != cell || !CellUnlinkFromRow(cell, gRowPosPrevious, row)) return false;
  FreeCell(cell);
  gRowPosPrevious = kNilHandle;
  return true;
}

// Both go through RowListSet, which every lookup of a row follows.
bool CellRowMove(int from, int to) {
  if (!HaveCurrentDocument() || !InSheet(from, 0) || !InSheet(to, 0)) return false;
  TCellHandle first = RowListHead(from);
  if (from == to || first == kNilHandle) return true;
  if (RowListHead(to) != kNilHandle) return false;
  for (TCellHandle cell = first; cell != kNilHandle; cell = CellPtr(cell)->next)
    CellPtr(cell)->row = static_cast<std::int16_t>(to);
  RowListSet(from, kNilHandle);
  RowListSet(to, first);
  gRowPosPrevious = kNilHandle;
  RaiseExtent(to, 0);
  return true;
}

bool CellRowShiftColumns(int row, int fromCol, int delta) {
  if (!HaveCurrentDocument() || !InSheet(row, 0)) return false;
  TCellHandle first = CellFindRowPos(row, fromCol);
  TCellHandle prev = gRowPosPrevious;
  if (first == kNilHandle || delta == 0) return true;
  int lastCol = CellPtr(first)->column;
  for (TCellHandle cell = first; cell != kNilHandle; cell = CellPtr(cell)->next) lastCol = CellPtr(cell)->column;
  int firstCol = CellPtr(first)->column;
  int prevCol = prev != kNilHandle ? CellPtr(prev)->column : -1;
  if (firstCol + delta <= prevCol || firstCol + delta < 0 || lastCol + delta > kMaxCol) return false;
  for (TCellHandle cell = first; cell != kNilHandle; cell = CellPtr(cell)->next)
    CellPtr(cell)->column = static_cast<std::uint8_t>(CellPtr(cell)->column + delta);
  RowListSet(row, RowListHead(row));
  gRowPosPrevious = kNilHandle;
  RaiseExtent(row, lastCol + delta);
  return true;
}

void CellStoreClear() {
  if (!HaveCurrentDocument()) return;
  for (int row = 0; row <= kMaxRow; ++row) {
    TCellHandle cell = gCurrentDoc.rowHeads[row];
    while (cell != kNilHandle) {
      TCellHandle next = CellPtr(cell)->next;
      FreeCell(cell);
      cell = next;
    }
    gCurrentDoc.rowHeads[row] = kNilHandle;
  }
  gRowPosPrevious = kNilHandle;
  gCurrentDoc.highRow = 0;
  gCurrentDoc.highCol = 0;
}

void MarkStoreChanged() { gStoreChanged = true; }

bool TakeStoreChanged() {
  bool changed = gStoreChanged;
  gStoreChanged = false;
  return changed;
}

void CellProgressHook(int, int) {}
void ReadProgressHook() {}

}  // namespace corvane

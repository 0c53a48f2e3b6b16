// Row lists of the current document and the cell index beside them: lookups,
// creation, linking, clearing and the walk over a rectangle.
#include "spreadsheet/engine/CellStore.h"

#include <algorithm>
#include <memory>
#include <new>

#include "spreadsheet/engine/CellIndex.h"
#include "spreadsheet/engine/DependentsIndex.h"
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
TCellCreationLog* gCreationLog = nullptr;

bool InSheet(int row, int col) { return row >= 0 && row <= kMaxRow && col >= 0 && col <= kMaxCol; }

// ---- One index per row-head table ----

struct TIndexedTable {
  const TPoolHandle* rowHeads;
  std::unique_ptr<TCellIndex> index;
  std::unique_ptr<TDependentsIndex> hubs;
};
std::vector<TIndexedTable> gIndexes;
const TPoolHandle* gIndexHeads = nullptr;  // the table gIndex belongs to
TCellIndex* gIndex = nullptr;
TDependentsIndex* gHubs = nullptr;

// Builds an index from the row lists of the current table; nullptr when the
// memory cannot be had.
std::unique_ptr<TCellIndex> BuildIndex() {
  auto index = std::unique_ptr<TCellIndex>(new (std::nothrow) TCellIndex);
  if (!index) return nullptr;
  for (int row = 0; row <= kMaxRow; ++row)
    for (TCellHandle cell = gCurrentDoc.rowHeads[row]; cell != kNilHandle; cell = CellPtr(cell)->next)
      if (!index->Set(row, CellPtr(cell)->column, cell)) return nullptr;
  return index;
}

// The index of the current document's row-head table, made on first use;
// nullptr when no document is current or the memory for it cannot be had
// (lookups then walk the rows and no cell can be made).
TCellIndex* SelectIndex() {
  gIndexHeads = gCurrentDoc.rowHeads;
  gIndex = nullptr;
  gHubs = nullptr;
  if (!gIndexHeads) return nullptr;
  for (TIndexedTable& table : gIndexes) {
    if (table.rowHeads != gIndexHeads) continue;
    gHubs = table.hubs.get();
    return gIndex = table.index.get();
  }
  std::unique_ptr<TCellIndex> index = BuildIndex();
  auto hubs = std::unique_ptr<TDependentsIndex>(new (std::nothrow) TDependentsIndex);
  if (!index || !hubs) return nullptr;
  try {
    gIndexes.push_back({gIndexHeads, std::move(index), std::move(hubs)});
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  gHubs = gIndexes.back().hubs.get();
  return gIndex = gIndexes.back().index.get();
}

inline TCellIndex* CurrentIndex() {
  return gCurrentDoc.rowHeads == gIndexHeads && gIndex ? gIndex : SelectIndex();
}

// The dependents hubs of the current document, nullptr when it has no index.
TDependentsIndex* CurrentHubs() {
  CurrentIndex();
  return gHubs;
}

TDepLink* LinkPtr(TPoolHandle link) { return reinterpret_cast<TDepLink*>(PoolBlock(link)); }

void RaiseExtent(int row, int col) {
  gCurrentDoc.highRow = static_cast<std::int16_t>(std::max<int>(gCurrentDoc.highRow, row));
  gCurrentDoc.highCol = static_cast<std::int16_t>(std::max<int>(gCurrentDoc.highCol, col));
}

// Links `cell` after `prev` (nil: at the head) of `row` and enters it in the
// index. False, changing nothing, when the index has no room for it.
bool LinkAfter(TCellHandle cell, TCellHandle prev, int row) {
  TCellIndex* index = CurrentIndex();
  TCell* c = CellPtr(cell);
  if (!index || !index->Set(row, c->column, cell)) return false;
  TPoolHandle* heads = gCurrentDoc.rowHeads;
  if (prev == kNilHandle) {
    c->next = heads[row];
    heads[row] = cell;
  } else {
    TCell* p = CellPtr(prev);
    c->next = p->next;
    p->next = cell;
  }
  return true;
}

void FreeDependents(TPoolHandle link) {
  for (int guard = 0; link != kNilHandle && guard < 1 << 24; ++guard) {
    const TDepLink* node = LinkPtr(link);
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
  if (row > kMaxRow) return;
  // A row given a new list is indexed again from it.
  if (TCellIndex* index = CurrentIndex()) {
    index->ClearRow(row);
    for (TCellHandle cell = first; cell != kNilHandle; cell = CellPtr(cell)->next)
      if (!index->Set(row, CellPtr(cell)->column, cell)) {
        CellStoreForgetRowHeads(gCurrentDoc.rowHeads);  // rebuilt whole on next use
        break;
      }
  }
}

TCellHandle CellFindRowPos(int row, int col) {
  gRowPosPrevious = kNilHandle;
  if (!HaveCurrentDocument() || row < 0 || row > kMaxRow) return kNilHandle;
  const TCellIndex* index = CurrentIndex();
  if (!index) {
    TCellHandle cell = gCurrentDoc.rowHeads[row];
    while (cell != kNilHandle && CellPtr(cell)->column < col) {
      gRowPosPrevious = cell;
      cell = CellPtr(cell)->next;
    }
    return cell;
  }
  return index->Position(row, col, gRowPosPrevious);
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
  if (!LinkAfter(cell, prev, row)) {
    PoolFree(cell, sizeof(TCell));
    return kNilHandle;
  }
  if (gCreationLog && !gCreationLog->Record(cell)) {
    CellUnlinkFromRow(cell, prev, row);
    PoolFree(cell, sizeof(TCell));
    return kNilHandle;
  }
  return cell;
}

bool CellLinkIntoRow(TCellHandle cell, int row, int col) {
  TCell* c = CellPtr(cell);
  if (c == nullptr || !InSheet(row, col) || !HaveCurrentDocument()) return false;
  TCellHandle at = CellFindRowPos(row, col);
  if (at == cell || (at != kNilHandle && CellPtr(at)->column == col)) return false;
  std::uint8_t oldColumn = c->column;
  std::int16_t oldRow = c->row;
  c->column = static_cast<std::uint8_t>(col);
  c->row = static_cast<std::int16_t>(row);
  if (!LinkAfter(cell, gRowPosPrevious, row)) {
    c->column = oldColumn;
    c->row = oldRow;
    return false;
  }
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
  if (TCellIndex* index = CurrentIndex()) index->Erase(row, c->column);
  return true;
}

bool CellDelete(TCellHandle cell) {
  const TCell* c = CellPtr(cell);
  if (c == nullptr) return false;
  int row = c->row;
  if (CellFindRowPos(row, c->column) != cell || !CellUnlinkFromRow(cell, gRowPosPrevious, row)) return false;
  if (TDependentsIndex* hubs = CurrentHubs()) hubs->Drop(cell);
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
  if (TCellIndex* index = CurrentIndex()) index->Clear();
  if (TDependentsIndex* hubs = CurrentHubs()) hubs->Clear();
  gRowPosPrevious = kNilHandle;
  gCurrentDoc.highRow = 0;
  gCurrentDoc.highCol = 0;
}

// ---- Dependents lists ----

namespace {
// The hub kept for `target`'s list, when it has one.
TDependentsHub* HubOf(TCellHandle target, const TCell& cell, TDependentsIndex* hubs) {
  return hubs ? hubs->Hub(target, cell.dependents) : nullptr;
}
}  // namespace

bool CellAddDependent(TCellHandle target, TCellHandle formula, bool* added) {
  if (added) *added = false;
  TCell* cell = CellPtr(target);
  if (!cell) return false;
  TDependentsIndex* hubs = CurrentHubs();
  TDependentsHub* hub = HubOf(target, *cell, hubs);
  TPoolHandle pred = kNilHandle;
  if (hub) {
    if (hub->Find(formula, pred)) return true;
  } else {
    std::uint32_t length = 0;
    for (TPoolHandle link = cell->dependents; link != kNilHandle; link = LinkPtr(link)->next, ++length)
      if (LinkPtr(link)->cell == formula) return true;
    if (hubs && length + 1 >= TDependentsHub::kHubLinks) hub = hubs->Build(target, cell->dependents);
  }
  TPoolHandle link = PoolAlloc(sizeof(TDepLink));
  if (link == kNilHandle) return false;
  cell = CellPtr(target);
  TPoolHandle oldHead = cell->dependents;
  *LinkPtr(link) = TDepLink{formula, oldHead};
  cell->dependents = link;
  if (hub) {
    bool kept = hub->Put(formula, kNilHandle) && (oldHead == kNilHandle || hub->Put(LinkPtr(oldHead)->cell, link));
    if (kept) hub->head = link;
    else hubs->Drop(target);  // the list is walked again until a hub can be had
  }
  if (added) *added = true;
  return true;
}

bool CellRemoveDependent(TCellHandle target, TCellHandle formula) {
  TCell* cell = CellPtr(target);
  if (!cell) return false;
  TDependentsIndex* hubs = CurrentHubs();
  TDependentsHub* hub = HubOf(target, *cell, hubs);
  TPoolHandle pred = kNilHandle;
  TPoolHandle link = cell->dependents;
  if (hub) {
    if (!hub->Find(formula, pred)) return false;
    link = pred == kNilHandle ? cell->dependents : LinkPtr(pred)->next;
    if (link == kNilHandle || LinkPtr(link)->cell != formula) {  // cannot be: walk the list instead
      hubs->Drop(target);
      return CellRemoveDependent(target, formula);
    }
  } else {
    while (link != kNilHandle && LinkPtr(link)->cell != formula) {
      pred = link;
      link = LinkPtr(link)->next;
    }
    if (link == kNilHandle) return false;
  }
  TPoolHandle next = LinkPtr(link)->next;
  if (pred == kNilHandle) cell->dependents = next;
  else LinkPtr(pred)->next = next;
  PoolFree(link, sizeof(TDepLink));
  if (hub) {
    hub->Erase(formula);
    if (next != kNilHandle && !hub->Put(LinkPtr(next)->cell, pred)) {
      hubs->Drop(target);
    } else if (hub->Count() < TDependentsHub::kHubLinks / 2) {
      hubs->Drop(target);
    } else {
      hub->head = cell->dependents;
    }
  }
  return true;
}

TPoolHandle CellTakeDependents(TCellHandle target) {
  TCell* cell = CellPtr(target);
  if (!cell) return kNilHandle;
  if (TDependentsIndex* hubs = CurrentHubs()) hubs->Drop(target);
  TPoolHandle first = cell->dependents;
  cell->dependents = kNilHandle;
  return first;
}

TCellHandle CellFirstInRow(int row, int col) {
  if (!HaveCurrentDocument() || row < 0 || row > kMaxRow) return kNilHandle;
  if (col <= 0) return gCurrentDoc.rowHeads[row];  // the list itself: one read fewer than the index
  const TCellIndex* index = CurrentIndex();
  if (!index) return CellFindRowPos(row, col);
  TPoolHandle previous;
  return index->Position(row, col, previous);
}

bool CellWalkBounds(const TRange& range, TRange& bounds) {
  if (!RangeIsValid(range) || !HaveCurrentDocument()) return false;
  bounds = range;
  OrderPair(bounds.firstRow, bounds.lastRow);
  OrderPair(bounds.firstCol, bounds.lastCol);
  int rowLimit = kMaxRow;
  if (const TCellIndex* index = CurrentIndex()) rowLimit = std::min(rowLimit, index->RowLimit() - 1);
  bounds.firstRow = static_cast<std::int16_t>(std::max<int>(bounds.firstRow, 0));
  bounds.firstCol = static_cast<std::int16_t>(std::max<int>(bounds.firstCol, 0));
  bounds.lastRow = static_cast<std::int16_t>(std::min<int>(bounds.lastRow, rowLimit));
  bounds.lastCol = static_cast<std::int16_t>(std::min<int>(bounds.lastCol, kMaxCol));
  return bounds.firstRow <= bounds.lastRow && bounds.firstCol <= bounds.lastCol;
}

long CellCountInRange(const TRange& range) {
  TRange r;
  if (!CellWalkBounds(range, r)) return 0;
  const TCellIndex* index = CurrentIndex();
  long count = 0;
  if (!index) {
    ForEachCellInRange(r, [&](TCellHandle) { ++count; });
    return count;
  }
  for (int row = r.firstRow; row <= r.lastRow; ++row) count += index->CountColumns(row, r.firstCol, r.lastCol);
  return count;
}

// ---- Undoing creation ----

// The attribute bytes a new cell takes from the template: font through format.
constexpr std::size_t kTemplateAttributeBytes = offsetof(TCell, column) - kCellAttributeOffset;

TCellCreationLog::TCellCreationLog()
    : outer_(gCreationLog), highRow_(gCurrentDoc.highRow), highCol_(gCurrentDoc.highCol) {
  gCreationLog = this;
}

TCellCreationLog::~TCellCreationLog() {
  gCreationLog = outer_;
  if (!outer_) return;
  for (TCellHandle cell : cells_)
    if (!outer_->Record(cell)) break;  // the outer log then cannot take these back
}

bool TCellCreationLog::Record(TCellHandle cell) {
  try {
    cells_.push_back(cell);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

void TCellCreationLog::RemoveUnused() {
  bool all = true;
  for (auto it = cells_.rbegin(); it != cells_.rend(); ++it) {
    TCell* c = CellPtr(*it);
    bool unused = c && c->kind == kKindBlank && c->text == kNilHandle && c->dependents == kNilHandle &&
                  std::memcmp(&c->font, &kDefaultCellTemplate.font, kTemplateAttributeBytes) == 0;
    if (!unused) {
      all = false;
      continue;
    }
    int row = c->row, col = c->column;
    CellFindRowPos(row, col);
    if (!CellUnlinkFromRow(*it, gRowPosPrevious, row)) {
      all = false;
      continue;
    }
    PoolFree(*it, sizeof(TCell));
  }
  cells_.clear();
  gRowPosPrevious = kNilHandle;
  if (all) {
    gCurrentDoc.highRow = highRow_;
    gCurrentDoc.highCol = highCol_;
  }
}

// ---- The index ----

void CellStoreForgetRowHeads(const TPoolHandle* rowHeads) {
  std::erase_if(gIndexes, [&](const TIndexedTable& table) { return table.rowHeads == rowHeads; });
  if (gIndexHeads == rowHeads) {
    gIndexHeads = nullptr;
    gIndex = nullptr;
  }
}

std::size_t CellIndexBytes() {
  const TCellIndex* index = CurrentIndex();
  return index ? index->MemoryBytes() : 0;
}

std::size_t DependentsHubBytes() {
  const TDependentsIndex* hubs = CurrentHubs();
  return hubs ? hubs->MemoryBytes() : 0;
}

std::string CellStoreCheckInvariants() {
  if (!HaveCurrentDocument()) return "";
  const TCellIndex* index = CurrentIndex();
  if (!index) return "no index";
  long listed = 0;
  for (int row = 0; row <= kMaxRow; ++row) {
    int lastCol = -1;
    for (TCellHandle cell = gCurrentDoc.rowHeads[row]; cell != kNilHandle; cell = CellPtr(cell)->next) {
      const TCell* c = CellPtr(cell);
      std::string where = "row " + std::to_string(row) + " column " + std::to_string(c ? c->column : -1) + ": ";
      if (!c) return where + "a cell outside the pool";
      if (c->row != row) return where + "the cell says row " + std::to_string(c->row);
      if (c->column <= lastCol) return where + "columns out of order";
      if (index->Find(row, c->column) != cell) return where + "the index does not name the cell";
      if (row > gCurrentDoc.highRow || c->column > gCurrentDoc.highCol) return where + "beyond the extent";
      lastCol = c->column;
      ++listed;
    }
  }
  TRange sheet;
  RangeSet(sheet, 0, 0, kMaxCol, kMaxRow);
  long indexed = CellCountInRange(sheet);
  if (indexed != listed)
    return "the index holds " + std::to_string(indexed) + " cells, the rows " + std::to_string(listed);
  return "";
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

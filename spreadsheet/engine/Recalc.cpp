// Dependency links, reference relocation and the recalculation walk.
#include "spreadsheet/engine/Recalc.h"

#include <cstring>
#include <vector>

#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/Evaluator.h"
#include "spreadsheet/engine/FormulaCompiler.h"
#include "spreadsheet/engine/FormulaTables.h"
#include "spreadsheet/engine/PoolString.h"
#include "spreadsheet/engine/RangeNames.h"
#include "spreadsheet/engine/ShowError.h"

namespace corvane {

namespace {

constexpr std::uint8_t kWalkMarks = kKindMarkVisited | kKindMarkQueued;
constexpr std::uint16_t kNilWord = 0xFFFF;

struct TWalkEntry {
  TCellHandle cell;
  TPoolHandle link;
};

std::vector<TCellHandle> gQueue;
std::vector<TWalkEntry> gWalkStack;
bool gOverflow = false;
bool gRangeRecalcRunning = false;

void EnsureWalkStorage() {
  if (gQueue.capacity() < kRecalcCapacity) gQueue.reserve(kRecalcCapacity);
  if (gWalkStack.capacity() < kRecalcCapacity) gWalkStack.reserve(kRecalcCapacity);
}

TDepLink* LinkPtr(TPoolHandle link) { return reinterpret_cast<TDepLink*>(PoolBlock(link)); }

void ClearMarks(TCellHandle cell) {
  if (TCell* record = CellPtr(cell)) record->kind &= static_cast<std::uint8_t>(~kWalkMarks);
}

// A cut-short walk: the cells on the stack and the current one lose their
// marks, so later walks reach them again.
void AbandonWalk(TCellHandle current) {
  gOverflow = true;
  ClearMarks(current);
  for (const TWalkEntry& entry : gWalkStack) ClearMarks(entry.cell);
  gWalkStack.clear();
}

// Finishes a cell: a formula joins the queue, any other cell loses its marks.
// False when the queue is full.
bool FinishCell(TCellHandle handle) {
  TCell* cell = CellPtr(handle);
  if (!cell || (cell->kind & kKindMarkQueued)) return true;
  if (!CellIsFormula(cell)) {
    cell->kind &= static_cast<std::uint8_t>(~kWalkMarks);
    return true;
  }
  if (gQueue.size() >= static_cast<std::size_t>(kRecalcCapacity)) return false;
  cell->kind |= kKindMarkQueued;
  gQueue.push_back(handle);
  return true;
}

// The cell of a compiled reference, or false for a nil or dead one.
bool RefCell(const std::uint8_t* at, int& row, int& col) {
  TCellRef ref = ReadCellRef(at);
  const TCell* cell = ref == 0 ? nullptr : CellPtr(CellRefHandle(ref));
  if (!cell) return false;
  row = cell->row;
  col = cell->column;
  return true;
}

// Calls `visit(index)` for the position of every reference operand of the
// code, a range's two in code order. False for code that is not well formed.
template <typename Visit>
bool ForEachReference(const std::uint8_t* code, std::size_t bytes, Visit visit) {
  if (!code || !CodeIsWellFormed(code, bytes)) return false;
  int length = code[0];
  for (int i = kFirstTokenIndex; i < length;) {
    int token = code[i];
    if (token == kTokNamedCell) {  // its reference operand follows as a token of its own
      ++i;
      continue;
    }
    int next = NextTokenIndex(code, i, length);
    if (next > length) return false;
    if (token == kTokCell) {
      visit(i + 1, false);
    } else if (token == kTokRange) {
      visit(i + 1, true);
    }
    i = next;
  }
  return true;
}

// Links or unlinks a formula to every cell of a rectangle. Adding creates the
// missing cells; removing walks only the cells that exist.
bool ToggleRectangle(TCellHandle formula, int r1, int c1, int r2, int c2, bool add) {
  if (r1 > r2) std::swap(r1, r2);
  if (c1 > c2) std::swap(c1, c2);
  for (int row = r1; row <= r2; ++row) {
    if (add) {
      for (int col = c1; col <= c2; ++col)
        if (!DepLinkToggle(formula, row, col, true)) return false;
      continue;
    }
    for (TCellHandle cell = CellFindRowPos(row, c1); cell != kNilHandle;) {
      const TCell* record = CellPtr(cell);
      if (!record || record->column > c2) break;
      TCellHandle next = record->next;
      DepLinkToggle(formula, row, record->column, false);
      cell = next;
    }
  }
  return true;
}

std::uint16_t RelativeWord(int target, int base, bool absolute) {
  if (absolute) return static_cast<std::uint16_t>(target & 0x3FFF);
  return static_cast<std::uint16_t>(0x8000 | ((target - base) & 0x3FFF));
}

void ClearRangeIfCornerAt(TRange& range, int row, int col) {
  if (!RangeIsValid(range)) return;
  if ((range.firstRow == row && range.firstCol == col) || (range.lastRow == row && range.lastCol == col))
    RangeClear(range);
}

}  // namespace

bool DepLinkToggle(TCellHandle formulaCell, int row, int col, bool add) {
  if (add) {
    TCellHandle target = CellGetOrCreate(row, col);
    if (target == kNilHandle) return false;
    for (TPoolHandle link = CellPtr(target)->dependents; link != kNilHandle; link = LinkPtr(link)->next)
      if (LinkPtr(link)->cell == formulaCell) return true;
    TPoolHandle link = PoolAlloc(sizeof(TDepLink));
    if (link == kNilHandle) return false;
    TCell* record = CellPtr(target);
    *LinkPtr(link) = TDepLink{formulaCell, record->dependents};
    record->dependents = link;
    return true;
  }
  TCellHandle target = CellFind(row, col);
  if (target == kNilHandle) return true;
  TPoolHandle* at = &CellPtr(target)->dependents;
  while (*at != kNilHandle) {
    TDepLink* link = LinkPtr(*at);
    if (link->cell == formulaCell) {
      TPoolHandle dead = *at;
      *at = link->next;
      PoolFree(dead, sizeof(TDepLink));
      break;
    }
    at = &link->next;
  }
  return true;
}

bool FormulaLinkDeps(TCellHandle cell, bool add) {
  const TCell* record = CellPtr(cell);
  if (!CellIsFormula(record)) return true;
  // The code is copied: adding links allocates from the pool.
  std::uint8_t code[kMaxFormulaCode] = {};
  std::uint32_t bytes = std::min<std::uint32_t>(PoolStringBlockBytes(record->text), sizeof code);
  if (bytes > 0) std::memcpy(code, PoolBlock(record->text), bytes);
  bool ok = true;
  ForEachReference(code, bytes, [&](int at, bool range) {
    if (!ok) return;
    int row = 0, col = 0, row2 = 0, col2 = 0;
    if (!RefCell(code + at, row, col)) return;
    if (!range) {
      ok = DepLinkToggle(cell, row, col, add);
    } else if (RefCell(code + at + 4, row2, col2)) {
      ok = ToggleRectangle(cell, row, col, row2, col2, add);
    }
  });
  if (!ok) SetOutOfMemoryError();
  return ok;
}

bool FormulaHasUserFunction(const std::uint8_t* code) {
  if (!code || code[0] >= kMaxFormulaCode || code[code[0]] != kTokEnd) return false;
  for (int i = kFirstTokenIndex; i < code[0];) {
    if (code[i] == kTokUserFunction) return true;
    i = code[i] == kTokNamedCell ? i + 1 : NextTokenIndex(code, i, code[0]);
  }
  return false;
}

void CellClearContents(TCellHandle handle) {
  TCell* cell = CellPtr(handle);
  if (!cell || CellKind(*cell) == kKindBlank) return;
  if (CellIsFormula(cell)) FormulaLinkDeps(handle, false);
  cell = CellPtr(handle);
  if (CellKind(*cell) == kKindStringFormula) {
    TPoolHandle result = CellResultText(*cell);
    PoolFreeString(result);
  }
  PoolFreeString(cell->text);
  cell->kind = kKindBlank;
  SetCellReal(*cell, 0);
}

void CellDropDependents(TCellHandle handle) {
  TCell* cell = CellPtr(handle);
  if (!cell) return;
  int row = cell->row, col = cell->column;
  // The cell's own references go first, so no list keeps a link to a formula
  // that is about to be freed.
  CellClearContents(handle);
  cell = CellPtr(handle);
  TPoolHandle link = cell->dependents;
  cell->dependents = kNilHandle;
  while (link != kNilHandle) {
    TDepLink node = *LinkPtr(link);
    PoolFree(link, sizeof(TDepLink));
    FormulaDropRef(node.cell, row, col);
    link = node.next;
  }
  for (TRange& range : gCurrentDoc.settings.savedRanges) ClearRangeIfCornerAt(range, row, col);
  for (TRange& range : gCurrentDoc.settings.dataRanges) ClearRangeIfCornerAt(range, row, col);
  for (int index = 1; index <= RangeNameCount(); ++index) {
    auto* entry = const_cast<TRangeName*>(RangeNameAt(index));
    TRange range = RangeNameRange(*entry);
    ClearRangeIfCornerAt(range, row, col);
    std::memcpy(entry->rangeBytes, &range, sizeof range);
  }
}

void FormulaDropRef(TCellHandle formulaCell, int row, int col) {
  TCell* formula = CellPtr(formulaCell);
  if (!CellIsFormula(formula)) return;
  std::uint8_t* code = PoolBlock(formula->text);
  std::uint32_t bytes = PoolStringBlockBytes(formula->text);
  std::vector<TRange> unlink;
  ForEachReference(code, bytes, [&](int at, bool range) {
    int r1 = 0, c1 = 0, r2 = 0, c2 = 0;
    bool first = RefCell(code + at, r1, c1);
    bool second = range && RefCell(code + at + 4, r2, c2);
    bool hitFirst = first && r1 == row && c1 == col;
    bool hitSecond = second && r2 == row && c2 == col;
    if (range && (hitFirst || hitSecond) && first && second) unlink.push_back(TRange{
        static_cast<std::int16_t>(c1), static_cast<std::int16_t>(r1), static_cast<std::int16_t>(c2),
        static_cast<std::int16_t>(r2)});
    if (hitFirst) WriteCellRef(code + at, 0);
    if (hitSecond) WriteCellRef(code + at + 4, 0);
  });
  for (const TRange& r : unlink) ToggleRectangle(formulaCell, r.firstRow, r.firstCol, r.lastRow, r.lastCol, false);
  formula = CellPtr(formulaCell);
  formula->kind |= kKindErrorBit;
  RecalcFromCell(formulaCell);
}

int StoredRefCoordinate(std::uint16_t word, int base) {
  if ((word & 0x8000) == 0) return word & 0x1FFF;
  int offset = word & 0x3FFF;
  if (offset & 0x2000) offset -= 0x4000;  // 14-bit two's complement
  return base + offset;
}

bool FormulaRelocateRefs(std::uint8_t* code, int row, int col, bool toHandles) {
  std::size_t bytes = code ? std::size_t{code[0]} + 1 : 0;
  if (!code || !CodeIsWellFormed(code, bytes)) return false;
  auto relocate = [&](std::uint8_t* at) {
    if (!toHandles) {
      int r = 0, c = 0;
      TCellRef ref = ReadCellRef(at);
      std::uint16_t words[2] = {kNilWord, kNilWord};
      if (RefCell(at, r, c)) {
        words[0] = RelativeWord(c, col, (ref & kCellRefAbsCol) != 0);
        words[1] = RelativeWord(r, row, (ref & kCellRefAbsRow) != 0);
      }
      at[0] = static_cast<std::uint8_t>(words[0]);
      at[1] = static_cast<std::uint8_t>(words[0] >> 8);
      at[2] = static_cast<std::uint8_t>(words[1]);
      at[3] = static_cast<std::uint8_t>(words[1] >> 8);
      return;
    }
    auto colWord = static_cast<std::uint16_t>(at[0] | at[1] << 8);
    auto rowWord = static_cast<std::uint16_t>(at[2] | at[3] << 8);
    TCellRef ref = 0;
    if (colWord != kNilWord || rowWord != kNilWord) {
      int c = StoredRefCoordinate(colWord, col);
      int r = StoredRefCoordinate(rowWord, row);
      bool inSheet = c >= 0 && c <= kMaxCol && r >= 0 && r <= kMaxRow;
      TCellHandle cell = inSheet ? CellGetOrCreate(r, c) : kNilHandle;
      if (cell != kNilHandle)
        ref = cell | ((rowWord & 0x8000) ? 0 : kCellRefAbsRow) | ((colWord & 0x8000) ? 0 : kCellRefAbsCol);
    }
    WriteCellRef(at, ref);
  };
  return ForEachReference(code, bytes, [&](int at, bool range) {
    relocate(code + at);
    if (range) relocate(code + at + 4);
  });
}

void UnlinkRange(const TRange& range) {
  ForEachCellInRange(range, [](TCellHandle cell) { FormulaLinkDeps(cell, false); });
}

void QueueDependents(TCellHandle start) {
  EnsureWalkStorage();
  TCell* first = CellPtr(start);
  if (!first || (first->kind & kKindMarkVisited)) return;
  gWalkStack.clear();
  first->kind |= kKindMarkVisited;
  TCellHandle cell = start;
  TPoolHandle link = first->dependents;
  for (;;) {
    if (link != kNilHandle) {
      const TDepLink* node = LinkPtr(link);
      TCell* dependent = CellPtr(node->cell);
      if (!dependent) {
        link = node->next;
        continue;
      }
      if (dependent->kind & kKindMarkVisited) {  // a diamond or a cycle: finished at once
        if (!FinishCell(node->cell)) return AbandonWalk(cell);
        link = node->next;
        continue;
      }
      if (gWalkStack.size() >= static_cast<std::size_t>(kRecalcCapacity)) return AbandonWalk(cell);
      gWalkStack.push_back({cell, link});
      dependent->kind |= kKindMarkVisited;
      cell = node->cell;
      link = dependent->dependents;
      continue;
    }
    if (!FinishCell(cell)) return AbandonWalk(cell);
    if (gWalkStack.empty()) return;
    TWalkEntry back = gWalkStack.back();
    gWalkStack.pop_back();
    cell = back.cell;
    link = LinkPtr(back.link)->next;
  }
}

void EvaluateQueue() {
  for (std::size_t k = gQueue.size(); k-- > 0;) EvaluateCell(gQueue[k]);
  gQueue.clear();
  ClearCalcError();
}

void RecalcFromCell(TCellHandle cell) {
  TCell* record = CellPtr(cell);
  if (!record) return;
  record->kind &= 0x0F;
  EnsureWalkStorage();
  gQueue.clear();
  gOverflow = false;
  QueueDependents(cell);
  EvaluateQueue();
}

void RecalcRange(const TRange& range) {
  if (gRangeRecalcRunning) return;
  gRangeRecalcRunning = true;
  EnsureWalkStorage();
  gOverflow = false;
  gQueue.clear();
  TRange r = range;
  OrderPair(r.firstRow, r.lastRow);
  OrderPair(r.firstCol, r.lastCol);
  for (int row = std::max<int>(r.firstRow, 0); RangeIsValid(r) && row <= std::min<int>(r.lastRow, kMaxRow); ++row) {
    for (TCellHandle cell = CellFindRowPos(row, r.firstCol); cell != kNilHandle && !gOverflow;) {
      const TCell* record = CellPtr(cell);
      if (record->column > r.lastCol) break;
      TCellHandle next = record->next;
      QueueDependents(cell);
      cell = next;
    }
  }
  EvaluateQueue();
  gRangeRecalcRunning = false;
  if (gOverflow) ShowError(kCalcStackExceededText);
}

void RecalcAll() {
  TRange range;
  RangeSet(range, 0, 0, gCurrentDoc.highCol, gCurrentDoc.highRow);
  RecalcRange(range);
}

bool RecalcOverflowed() { return gOverflow; }

int CountMarkedCells() {
  int marked = 0;
  for (int row = 0; row <= gCurrentDoc.highRow; ++row)
    for (TCellHandle cell = RowListHead(row); cell != kNilHandle; cell = CellPtr(cell)->next)
      if (CellPtr(cell)->kind & kWalkMarks) ++marked;
  return marked;
}

}  // namespace corvane

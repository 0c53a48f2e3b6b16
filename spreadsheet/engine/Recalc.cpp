// Dependency links, reference relocation and the recalculation walk.
#include "spreadsheet/engine/Recalc.h"

#include <cstring>
#include <new>
#include <vector>

#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/EnginePlatform.h"
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

// The queue and the walk stack: kRecalcCapacity entries that exist for the
// program's life, and beyond them memory from the heap (outside the pool)
// that doubles as the work needs and goes back when the recalculation ends.
template <typename T>
class TWalkBuffer {
 public:
  TWalkBuffer() = default;
  TWalkBuffer(const TWalkBuffer&) = delete;
  TWalkBuffer& operator=(const TWalkBuffer&) = delete;
  ~TWalkBuffer() {
    if (items_ != fixed_) EnginePlatform().FreeMem(items_);
  }

  // False when the buffer is full and no more memory can be had.
  bool Push(const T& item) {
    if (count_ == capacity_ && !Grow()) return false;
    items_[count_++] = item;
    return true;
  }
  T Pop() { return items_[--count_]; }
  bool Empty() const { return count_ == 0; }
  std::uint32_t Count() const { return count_; }
  T& operator[](std::uint32_t k) { return items_[k]; }
  void Clear() { count_ = 0; }
  // Empties the buffer and gives back the memory it grew into.
  void Release() {
    count_ = 0;
    if (items_ == fixed_) return;
    EnginePlatform().FreeMem(items_);
    items_ = fixed_;
    capacity_ = kRecalcCapacity;
  }

 private:
  bool Grow() {
    if (capacity_ > UINT32_MAX / 2 / sizeof(T)) return false;
    std::uint32_t capacity = capacity_ * 2;
    auto* items = static_cast<T*>(EnginePlatform().GetMem(std::size_t{capacity} * sizeof(T)));
    if (!items) return false;
    std::memcpy(items, items_, std::size_t{count_} * sizeof(T));
    if (items_ != fixed_) EnginePlatform().FreeMem(items_);
    items_ = items;
    capacity_ = capacity;
    return true;
  }

  T fixed_[kRecalcCapacity];
  T* items_ = fixed_;
  std::uint32_t count_ = 0;
  std::uint32_t capacity_ = kRecalcCapacity;
};

TWalkBuffer<TCellHandle> gQueue;
TWalkBuffer<TWalkEntry> gWalkStack;
bool gOverflow = false;
bool gRangeRecalcRunning = false;

void ClearMarks(TCellHandle cell) {
  if (TCell* record = CellPtr(cell)) record->kind &= static_cast<std::uint8_t>(~kWalkMarks);
}

// A walk cut short for lack of memory: the cells on the stack and the
// current one lose their marks, so later walks reach them again.
void AbandonWalk(TCellHandle current) {
  gOverflow = true;
  ClearMarks(current);
  for (std::uint32_t k = 0; k < gWalkStack.Count(); ++k) ClearMarks(gWalkStack[k].cell);
  gWalkStack.Clear();
}

// Finishes a cell: a formula joins the queue, any other cell loses its marks.
// False when the queue cannot grow.
bool FinishCell(TCellHandle handle) {
  TCell* cell = CellPtr(handle);
  if (!cell || (cell->kind & kKindMarkQueued)) return true;
  if (!CellIsFormula(cell)) {
    cell->kind &= static_cast<std::uint8_t>(~kWalkMarks);
    return true;
  }
  if (!gQueue.Push(handle)) return false;
  cell->kind |= kKindMarkQueued;
  return true;
}

TDepLink* LinkPtr(TPoolHandle link) { return reinterpret_cast<TDepLink*>(PoolBlock(link)); }

// Asks the processor to fetch the memory at `p` into its cache; a hint only,
// harmless for any address.
inline void Prefetch(const void* p) {
#if defined(__GNUC__)
  __builtin_prefetch(p);
#else
  (void)p;
#endif
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

TRange RectangleOf(int r1, int c1, int r2, int c2) {
  TRange range;
  RangeSet(range, c1, r1, c2, r2);
  OrderPair(range.firstRow, range.lastRow);
  OrderPair(range.firstCol, range.lastCol);
  return range;
}

// Unlinks a formula from every existing cell of a rectangle.
void UnlinkRectangle(TCellHandle formula, const TRange& r) {
  ForEachCellInRange(r, [&](TCellHandle cell) { CellRemoveDependent(cell, formula); });
}

// Links a formula to every cell of a rectangle, creating the missing cells;
// the cells given a new link are added to `linked`. False when a cell or a
// link cannot be had.
bool LinkRectangle(TCellHandle formula, const TRange& r, std::vector<TCellHandle>& linked) {
  for (int row = r.firstRow; row <= r.lastRow; ++row) {
    for (int col = r.firstCol; col <= r.lastCol; ++col) {
      TCellHandle target = CellGetOrCreate(row, col);
      bool added = false;
      if (target == kNilHandle || !CellAddDependent(target, formula, &added)) return false;
      if (!added) continue;
      try {
        linked.push_back(target);
      } catch (const std::bad_alloc&) {
        CellRemoveDependent(target, formula);
        return false;
      }
    }
  }
  return true;
}

// Calls `visit(range)` for the rectangle of every reference of a formula's
// code (a single cell as a one-cell rectangle); references that no longer name
// a cell are passed over. False for code that is not well formed.
template <typename Visit>
bool ForEachReferencedRectangle(const std::uint8_t* code, std::size_t bytes, Visit visit) {
  return ForEachReference(code, bytes, [&](int at, bool range) {
    int row = 0, col = 0, row2 = 0, col2 = 0;
    if (!RefCell(code + at, row, col)) return;
    if (!range) {
      row2 = row;
      col2 = col;
    } else if (!RefCell(code + at + 4, row2, col2)) {
      return;
    }
    visit(RectangleOf(row, col, row2, col2));
  });
}

// True when linking the code's references can fit in the pool: each
// rectangle alone needs a link for every cell and a cell for every missing
// one. Checked only for large rectangles, where a failure would otherwise
// come after creating many cells.
bool LinksCanFit(const std::uint8_t* code, std::size_t bytes) {
  constexpr long kCheckedCells = 4096;
  std::int64_t needed = 0;
  ForEachReferencedRectangle(code, bytes, [&](const TRange& r) {
    long cells = long{RangeRows(r)} * RangeCols(r);
    if (cells < kCheckedCells) return;
    long missing = cells - CellCountInRange(r);
    needed = std::max<std::int64_t>(needed, std::int64_t{cells} * PoolRoundSize(sizeof(TDepLink)) +
                                                std::int64_t{missing} * PoolRoundSize(sizeof(TCell)));
  });
  return needed == 0 || PoolHasRoomFor(needed);
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
    return target != kNilHandle && CellAddDependent(target, formulaCell);
  }
  if (TCellHandle target = CellFind(row, col)) CellRemoveDependent(target, formulaCell);
  return true;
}

bool FormulaLinkDeps(TCellHandle cell, bool add) {
  const TCell* record = CellPtr(cell);
  if (!CellIsFormula(record)) return true;
  // The code is copied: adding links allocates from the pool.
  std::uint8_t code[kMaxFormulaCode] = {};
  std::uint32_t bytes = std::min<std::uint32_t>(PoolStringBlockBytes(record->text), sizeof code);
  if (bytes > 0) std::memcpy(code, PoolBlock(record->text), bytes);
  if (!add) {
    ForEachReferencedRectangle(code, bytes, [&](const TRange& r) { UnlinkRectangle(cell, r); });
    return true;
  }
  // The cells given a link by this call, kept between calls so that linking
  // a formula seldom takes memory of its own.
  static std::vector<TCellHandle> linked;
  linked.clear();
  bool ok = LinksCanFit(code, bytes);
  if (ok) {
    ForEachReferencedRectangle(code, bytes, [&](const TRange& r) {
      if (ok) ok = LinkRectangle(cell, r, linked);
    });
  }
  if (!ok) {
    // The links this call made go again: a formula is linked whole or stays as it was.
    for (TCellHandle target : linked) CellRemoveDependent(target, cell);
    SetOutOfMemoryError();
  }
  if (linked.capacity() > kRecalcCapacity) std::vector<TCellHandle>().swap(linked);  // a large range's list goes
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
  TPoolHandle link = CellTakeDependents(handle);
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
    // A range that loses a corner loses both: its links to the other corner
    // went with the rectangle, so that cell's deletion would never reach this
    // formula and the handle would come to name whatever cell takes it next.
    if (range && (hitFirst || hitSecond)) {
      WriteCellRef(code + at, 0);
      WriteCellRef(code + at + 4, 0);
    }
  });
  for (const TRange& r : unlink) UnlinkRectangle(formulaCell, RectangleOf(r.firstRow, r.firstCol, r.lastRow, r.lastCol));
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
  TCell* first = CellPtr(start);
  if (!first || (first->kind & kKindMarkVisited)) return;
  gWalkStack.Clear();
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
      if (!gWalkStack.Push({cell, link})) return AbandonWalk(cell);
      dependent->kind |= kKindMarkVisited;
      cell = node->cell;
      link = dependent->dependents;
      continue;
    }
    if (!FinishCell(cell)) return AbandonWalk(cell);
    if (gWalkStack.Empty()) return;
    TWalkEntry back = gWalkStack.Pop();
    cell = back.cell;
    link = LinkPtr(back.link)->next;
  }
}

void EvaluateQueue() {
  // The queue runs backwards through cells spread over the pool, so each
  // cell's record, and then the code it points to, are fetched a few cells
  // ahead: evaluation then seldom waits on memory.
  constexpr std::uint32_t kRecordAhead = 8, kCodeAhead = 4;
  for (std::uint32_t k = gQueue.Count(); k-- > 0;) {
    if (k >= kRecordAhead) Prefetch(CellPtr(gQueue[k - kRecordAhead]));
    if (k >= kCodeAhead)
      if (const TCell* ahead = CellPtr(gQueue[k - kCodeAhead])) Prefetch(PoolBlock(ahead->text));
    EvaluateCell(gQueue[k]);
  }
  gQueue.Release();
  gWalkStack.Release();
  ClearCalcError();
}

void RecalcFromCell(TCellHandle cell) {
  TCell* record = CellPtr(cell);
  if (!record) return;
  record->kind &= 0x0F;
  gQueue.Clear();
  gOverflow = false;
  QueueDependents(cell);
  EvaluateQueue();
  if (gOverflow) ShowError(kCalcStackExceededText);
}

void RecalcRange(const TRange& range) {
  if (gRangeRecalcRunning) return;
  gRangeRecalcRunning = true;
  gOverflow = false;
  gQueue.Clear();
  ForEachCellInRange(range, [](TCellHandle handle, const TCell& cell) {
    // Cells already walked, and plain cells nothing reads, have nothing to add.
    if ((cell.kind & kKindMarkVisited) || (cell.dependents == kNilHandle && !CellIsFormula(&cell))) return true;
    QueueDependents(handle);
    return !gOverflow;
  });
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
  TRange sheet;
  RangeSet(sheet, 0, 0, kMaxCol, kMaxRow);
  ForEachCellInRange(sheet, [&](TCellHandle, TCell& cell) { marked += (cell.kind & kWalkMarks) != 0; });
  return marked;
}

}  // namespace corvane

// The cell store of the current document: a worksheet of 8192 rows by 256
// columns in which only touched cells exist. Each row is a singly linked list of
// 33-byte TCell records in ascending column order, reached through the
// document's row-head table; every record and text comes from the page pool
// under the document's owner tag. All cell reads and changes go through here.
//
// Cells are named by their pool handles (TCellHandle); CellPtr gives the record.
// A pointer from CellPtr stays valid until the cell is freed or its document is
// closed. Beside the row lists the store keeps a cell index (CellIndex.h) per
// row-head table, outside the pool, so a cell is found by its row and column
// in constant time. Main thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "spreadsheet/engine/EnginePlatform.h"
#include "spreadsheet/engine/PagePool.h"
#include "spreadsheet/engine/Range.h"

namespace corvane {

inline constexpr int kMaxRow = 8191;
inline constexpr int kMaxCol = 255;

// Row-head table: entries 0..8191 are the rows' first cells; the others belong
// to the undo buffer (its list head, the saved column-size table and the four
// saved blocks of the row-size table).
inline constexpr int kRowHeadEntries = 8198;
inline constexpr int kUndoListEntry = 8192;
inline constexpr int kSavedColumnSizesEntry = 8193;
inline constexpr int kSavedRowSizesEntry = 8194;  // first of four
inline constexpr std::size_t kRowHeadTableBytes = kRowHeadEntries * sizeof(TPoolHandle);
static_assert(kRowHeadTableBytes == 32792);

using TCellHandle = TPoolHandle;

// A cell reference as compiled formulas store it: the cell's handle with bit 31
// set for an absolute row and bit 30 for an absolute column.
using TCellRef = std::uint32_t;
inline constexpr TCellRef kCellRefAbsRow = 0x80000000u;
inline constexpr TCellRef kCellRefAbsCol = 0x40000000u;
inline constexpr TCellHandle CellRefHandle(TCellRef ref) { return ref & ~(kCellRefAbsRow | kCellRefAbsCol); }
static_assert(sizeof(TCellRef) == 4, "a cell reference is 4 bytes on every build");

// Kind byte: the low three bits give the content, bit 3 marks an ERR value,
// bits 5 and 6 are the recalculation walk's marks.
inline constexpr std::uint8_t kKindStringFormula = 0;  // formula with a text result (value: its pool string)
inline constexpr std::uint8_t kKindNumberFormula = 1;  // formula with a numeric result (value: real)
inline constexpr std::uint8_t kKindReal = 2;           // number stored as a real
inline constexpr std::uint8_t kKindInteger = 3;        // number stored as a 16-bit integer
inline constexpr std::uint8_t kKindLabel = 4;          // label: text holds prefix + text
inline constexpr std::uint8_t kKindBlank = 5;          // exists for its attributes or dependents only
inline constexpr std::uint8_t kKindPicture = 6;        // label naming a bitmap (value: its cached handle)
inline constexpr std::uint8_t kKindTypeMask = 0x07;
inline constexpr std::uint8_t kKindErrorBit = 0x08;
inline constexpr std::uint8_t kKindMarkVisited = 0x20;
inline constexpr std::uint8_t kKindMarkQueued = 0x40;
inline constexpr std::uint8_t kKindOfNoCell = 255;

#pragma pack(push, 1)
// Bit 7 of a cell's format byte: the cell is protected while protection is on.
inline constexpr std::uint8_t kFormatProtectedBit = 0x80;

struct TCell {
  TPoolHandle next;        // next cell of the row (higher column), nil at the end
  TPoolHandle dependents;  // first TDepLink of the formulas that refer to this cell
  std::uint8_t font;       // index into the sheet's font list; 255: the default font
  std::uint8_t size;       // index of the font size
  std::uint8_t style;      // bits 0-2 font style, 4-6 alignment override, 7: style bits count as 0
  std::uint8_t borders;    // border line flags
  std::uint32_t attributes;  // further display attributes (colour word)
  std::uint8_t format;     // bits 0-6 display format, bit 7 protected (kFormatProtectedBit)
  std::uint8_t column;     // 0..255
  std::int16_t row;        // 0..8191
  TPoolHandle text;        // label text (kinds 4, 6) or compiled formula (kinds 0, 1)
  std::uint8_t kind;       // see the kind constants
  std::uint8_t value[8];   // real, 16-bit integer, result text or bitmap by kind; -1.0 for ERR
};
#pragma pack(pop)
static_assert(sizeof(TCell) == 33, "a cell record is 33 bytes on every build");

// The attribute block (font through row) that undo records and cell copies move
// as one piece.
inline constexpr std::size_t kCellAttributeOffset = offsetof(TCell, font);
inline constexpr std::size_t kCellAttributeBytes = 12;
static_assert(offsetof(TCell, row) + sizeof(std::int16_t) - kCellAttributeOffset == kCellAttributeBytes);

// A node of a cell's dependents list: a formula cell that refers to it.
struct TDepLink {
  TCellHandle cell;
  TPoolHandle next;
};
static_assert(sizeof(TDepLink) == 8);

// The templates that new cells are copied from: a blank (kind 5, font 255,
// attributes $C0000000, format 255 = protected with the sheet's default format)
// and its twin of kind 1 for formula cells.
extern const TCell kDefaultCellTemplate;
extern const TCell kFormulaCellTemplate;

// The record of a cell handle; nullptr for nil.
inline TCell* CellPtr(TCellHandle cell) { return reinterpret_cast<TCell*>(PoolBlock(cell)); }

// The value field read and written by kind. Each reads the bytes its kind
// uses; the writers clear the bytes they do not use.
template <typename T>
T CellValueAs(const TCell& cell) {
  static_assert(sizeof(T) <= sizeof(TCell::value));
  T v;
  std::memcpy(&v, cell.value, sizeof v);
  return v;
}
template <typename T>
void SetCellValueAs(TCell& cell, T v) {
  static_assert(sizeof(T) <= sizeof(TCell::value));
  std::memset(cell.value, 0, sizeof cell.value);
  std::memcpy(cell.value, &v, sizeof v);
}
inline double CellReal(const TCell& cell) { return CellValueAs<double>(cell); }
inline void SetCellReal(TCell& cell, double v) { SetCellValueAs(cell, v); }
inline std::int16_t CellInteger(const TCell& cell) { return CellValueAs<std::int16_t>(cell); }
inline void SetCellInteger(TCell& cell, std::int16_t v) { SetCellValueAs(cell, v); }
inline TPoolHandle CellResultText(const TCell& cell) { return CellValueAs<TPoolHandle>(cell); }
inline void SetCellResultText(TCell& cell, TPoolHandle text) { SetCellValueAs(cell, text); }
inline TBitmapHandle CellBitmap(const TCell& cell) { return CellValueAs<TBitmapHandle>(cell); }
inline void SetCellBitmap(TCell& cell, TBitmapHandle bitmap) { SetCellValueAs(cell, bitmap); }

// Kind predicates. They look at the low three bits only, so the error bit and
// the recalculation marks never change the answer; a missing cell (nullptr)
// has kind 255 and every predicate is false for it.
inline std::uint8_t CellKind(const TCell& cell) { return cell.kind & kKindTypeMask; }
inline std::uint8_t CellKindOf(const TCell* cell) { return cell ? CellKind(*cell) : kKindOfNoCell; }
inline bool CellIsFormula(const TCell* cell) { return CellKindOf(cell) <= kKindNumberFormula; }
inline bool CellIsNumeric(const TCell* cell) {
  std::uint8_t k = CellKindOf(cell);
  return k >= kKindNumberFormula && k <= kKindInteger;
}
inline bool CellIsText(const TCell* cell) {
  std::uint8_t k = CellKindOf(cell);
  return k == kKindStringFormula || k == kKindLabel;
}
inline bool CellIsLabel(const TCell* cell) { return CellKindOf(cell) == kKindLabel; }

// A row-head entry (0..8197); nil for an entry outside the table or when no
// document is current. RowListSet ignores such calls.
TPoolHandle RowListHead(int row);
void RowListSet(int row, TPoolHandle first);

// The first cell of `row` whose column is at least `col`, or nil. Remembers the
// cell before that position (nil when it would be the row's first) for
// CellRowPosPrevious. A row outside 0..8191 gives nil.
TCellHandle CellFindRowPos(int row, int col);
// The predecessor remembered by the last CellFindRowPos (or CellFind).
TCellHandle CellRowPosPrevious();

// The cell at exactly (row, col), or nil.
TCellHandle CellFind(int row, int col);

// The cell at (row, col), made from the default template and linked into its
// row when it does not exist. A row outside 0..8191 or a column outside 0..255
// sets the error "Out of Range" (code 101) and gives nil without creating
// anything. A full pool gives nil without a message (the pool sets its full
// flag; callers report it), as does the lack of a current document.
TCellHandle CellGetOrCreate(int row, int col);

// Links a cell that is in no row into `row` at `col` (setting its row and
// column fields) and raises the extent. False, changing nothing, when the
// position is outside the sheet or already holds a cell.
bool CellLinkIntoRow(TCellHandle cell, int row, int col);

// Takes `cell` out of `row`, given the cell before it (nil when it is the row's
// first). False, changing nothing, when `prev` is not the cell's predecessor.
bool CellUnlinkFromRow(TCellHandle cell, TCellHandle prev, int row);

// Takes `cell` out of its row and frees it with its dependency links, its text
// and its result text. Formulas that refer to it are the caller's concern
// (CellDropDependents first). False, changing nothing, for nil or a cell not
// found in its row.
bool CellDelete(TCellHandle cell);

// Moves the whole list of row `from` to row `to`, which must be empty, giving
// every cell its new row number. False, changing nothing, for a row outside
// the sheet or a `to` that holds cells.
bool CellRowMove(int from, int to);

// Adds `delta` to the column of every cell of `row` at or beyond `fromCol`.
// The caller makes room first: false, changing nothing, when a shifted cell
// would leave 0..255 or meet a cell that stays.
bool CellRowShiftColumns(int row, int fromCol, int delta);

// Frees every cell of the current document with its dependency links, its text
// and its result text, empties the rows and resets the extent to 0, 0. The undo
// entries of the row-head table are left to the undo buffer. Bitmaps of picture
// cells belong to the bitmap cache and are not freed here.
void CellStoreClear();

// ---- Dependents lists -------------------------------------------------------------
// A cell's dependents list holds each formula at most once, newest first.
// Adding and taking out take the same time however long the list is (long
// lists have a hub beside them, DependentsIndex.h). Every change to a list
// goes through these.

// Puts a link to `formula` at the head of `target`'s list unless the list has
// one; `added` (when given) says whether a link was made. False, changing
// nothing, when the pool has no room for the link.
bool CellAddDependent(TCellHandle target, TCellHandle formula, bool* added = nullptr);
// Takes the link to `formula` out of `target`'s list and frees it; false when
// there was none.
bool CellRemoveDependent(TCellHandle target, TCellHandle formula);
// Detaches `target`'s whole list and gives its first link; the caller frees
// the links (8 bytes each).
TPoolHandle CellTakeDependents(TCellHandle target);

// ---- Walking a rectangle --------------------------------------------------------

// The first cell of `row` at or after column `col`, or nil.
TCellHandle CellFirstInRow(int row, int col);
// `range` with its corners in order and cut to the sheet and to the rows that
// hold cells; false when nothing of it can hold a cell (an unset range, or one
// wholly outside).
bool CellWalkBounds(const TRange& range, TRange& bounds);

// Calls `visit` for each existing cell of `range` (corners in either order,
// cut to the sheet), row by row and by ascending column within a row. `visit`
// takes (TCellHandle) or (TCellHandle, TCell&) and returns void, or bool where
// false stops the walk; the result is false when it stopped early. The next
// cell is taken before `visit` runs, so it may free or unlink the cell it is
// given, and change any cell; cells it creates in the rectangle may or may
// not be visited.
template <typename Visit>
bool ForEachCellInRange(const TRange& range, Visit&& visit) {
  TRange r;
  if (!CellWalkBounds(range, r)) return true;
  for (int row = r.firstRow; row <= r.lastRow; ++row) {
    for (TCellHandle handle = CellFirstInRow(row, r.firstCol); handle != kNilHandle;) {
      TCell* cell = CellPtr(handle);
      if (!cell || cell->column > r.lastCol) break;
      TCellHandle next = cell->next;
#if defined(__GNUC__)
      __builtin_prefetch(PoolBlock(next));  // the list's next cell, while this one is visited
#endif
      if constexpr (std::is_invocable_v<Visit&, TCellHandle, TCell&>) {
        if constexpr (std::is_void_v<std::invoke_result_t<Visit&, TCellHandle, TCell&>>) {
          visit(handle, *cell);
        } else if (!visit(handle, *cell)) {
          return false;
        }
      } else if constexpr (std::is_void_v<std::invoke_result_t<Visit&, TCellHandle>>) {
        visit(handle);
      } else if (!visit(handle)) {
        return false;
      }
      handle = next;
    }
  }
  return true;
}

// Calls visit(row, col, cell) for every position of `range` (corners in
// either order, cut to the sheet), row by row: `cell` is the cell there, or
// nil where there is none. `visit` returns void, or bool where false stops the
// walk (the result is false then); it may create the cell at its own position.
// Built on ForEachCellInRange, for writers and commands that need the gaps too.
template <typename Visit>
bool ForEachPositionInRange(const TRange& range, Visit&& visit) {
  if (!RangeIsValid(range)) return true;
  TRange r = range;
  OrderPair(r.firstRow, r.lastRow);
  OrderPair(r.firstCol, r.lastCol);
  r.firstRow = static_cast<std::int16_t>(r.firstRow < 0 ? 0 : r.firstRow);
  r.firstCol = static_cast<std::int16_t>(r.firstCol < 0 ? 0 : r.firstCol);
  r.lastRow = static_cast<std::int16_t>(r.lastRow > kMaxRow ? kMaxRow : r.lastRow);
  r.lastCol = static_cast<std::int16_t>(r.lastCol > kMaxCol ? kMaxCol : r.lastCol);
  if (r.firstRow > r.lastRow || r.firstCol > r.lastCol) return true;
  int row = r.firstRow, col = r.firstCol;  // the next position to visit
  bool going = true;
  auto step = [&](TCellHandle cell) {
    if constexpr (std::is_void_v<std::invoke_result_t<Visit&, int, int, TCellHandle>>) {
      visit(row, col, cell);
    } else {
      going = visit(row, col, cell);
    }
    if (++col > r.lastCol) {
      col = r.firstCol;
      ++row;
    }
    return going;
  };
  auto gapsUpTo = [&](int toRow, int toCol) {
    while (going && (row < toRow || (row == toRow && col < toCol))) step(kNilHandle);
    return going;
  };
  if (ForEachCellInRange(r, [&](TCellHandle handle, const TCell& cell) {
        return gapsUpTo(cell.row, cell.column) && step(handle);
      }))
    gapsUpTo(r.lastRow + 1, r.firstCol);
  return going;
}

// The number of existing cells in `range` (corners in either order).
long CellCountInRange(const TRange& range);

// ---- Undoing creation ------------------------------------------------------------

// Records the cells that CellGetOrCreate makes while it lives, so that an
// operation that is refused can take them away again with the extent they
// raised. Logs nest: a log that ends without RemoveUnused hands its cells to
// the log around it. While a log lives, a cell it cannot record is not made
// (CellGetOrCreate gives nil, as for a full pool).
class TCellCreationLog {
 public:
  TCellCreationLog();
  ~TCellCreationLog();
  TCellCreationLog(const TCellCreationLog&) = delete;
  TCellCreationLog& operator=(const TCellCreationLog&) = delete;

  // Frees, newest first, every recorded cell that is still blank with no
  // text, no dependents and the default attributes, and forgets them all. When
  // every one went, the extent is put back to what it was when the log began.
  void RemoveUnused();

  // Adds a cell that was just made; false when there is no memory to.
  bool Record(TCellHandle cell);

 private:
  std::vector<TCellHandle> cells_;
  TCellCreationLog* outer_;
  std::int16_t highRow_, highCol_;
};

// ---- The index -------------------------------------------------------------------

// Forgets the index kept for the row-head table `rowHeads`: the document table
// calls it when it frees a table or makes a new one at a reused address.
void CellStoreForgetRowHeads(const TPoolHandle* rowHeads);
// Heap bytes of the current document's cell index and of its dependents hubs
// (for the benchmarks).
std::size_t CellIndexBytes();
std::size_t DependentsHubBytes();
// Checks the current document's row lists (ascending columns, row and column
// fields matching the row and the index) against its index. Empty when all
// holds, else a description of the first fault. For tests.
std::string CellStoreCheckInvariants();

// Sets the flag that tells the sheet window cells were created since it last
// looked; TakeStoreChanged reads and clears it.
void MarkStoreChanged();
bool TakeStoreChanged();

// Progress hooks for long reads and writes; they do nothing.
void CellProgressHook(int row, int col);
void ReadProgressHook();

}  // namespace corvane

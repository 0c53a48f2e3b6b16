// The cell index: finds the cell at a row and column in constant time, beside
// the row lists that remain the store's record of its cells. Each row up to
// the highest used one has 64 bytes in one table: a bit per column that says
// which columns hold a cell, and the handles of its cells in column order (up
// to six in the row's own bytes, more in a block of their own). A cell's place
// among the handles is the number of bits below its column, so a lookup, and
// the first cell at or after a column with the one before it, cost one or two
// cache lines. An empty sheet costs nothing. The memory comes from the heap,
// outside the page pool.
//
// The cell store keeps one index per row-head table and changes it with every
// change to the row lists; nothing else uses this class.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "spreadsheet/engine/PagePool.h"

namespace corvane {

class TCellIndex {
 public:
  static constexpr int kColumns = 256;

  // The cell at (row, col), or nil. Rows and columns outside the sheet give nil.
  TPoolHandle Find(int row, int col) const {
    const TRowSlots* slots = Row(row);
    if (!slots || col < 0 || col >= kColumns || !(slots->used[col / 64] >> (col % 64) & 1)) return kNilHandle;
    return slots->Handles()[Rank(*slots, col)];
  }
  // The first cell of `row` at or after `col` (nil when none), and in
  // `previous` the last one before it (nil when none).
  TPoolHandle Position(int row, int col, TPoolHandle& previous) const {
    previous = kNilHandle;
    const TRowSlots* slots = Row(row);
    if (!slots) return kNilHandle;
    int rank = col <= 0 ? 0 : col >= kColumns ? slots->count : Rank(*slots, col);
    const TPoolHandle* handles = slots->Handles();
    if (rank > 0) previous = handles[rank - 1];
    return rank < slots->count ? handles[rank] : kNilHandle;
  }
  // The number of cells of `row` in columns c1..c2 (ordered, within the sheet).
  int CountColumns(int row, int c1, int c2) const;
  // One past the highest row that may have cells.
  int RowLimit() const { return static_cast<int>(rows_.size()); }

  // Puts `cell` in the slot of (row, col). False, changing nothing, when the
  // memory for it cannot be had.
  bool Set(int row, int col, TPoolHandle cell);
  // Empties the slot of (row, col).
  void Erase(int row, int col);
  // Empties a row, or every row; their memory is kept for the cells that come
  // next (it goes with the index).
  void ClearRow(int row);
  void Clear();

  // Heap bytes the index holds.
  std::size_t MemoryBytes() const;

 private:
  static constexpr std::uint16_t kInline = 6;

  class TRowSlots {
   public:
    TRowSlots() = default;
    TRowSlots(TRowSlots&& other) noexcept;
    TRowSlots& operator=(TRowSlots&&) = delete;
    ~TRowSlots();

    TPoolHandle* Handles() { return capacity > kInline ? heap : own; }
    const TPoolHandle* Handles() const { return capacity > kInline ? heap : own; }
    // Room for one more handle; false when the memory cannot be had.
    bool Reserve();

    std::uint64_t used[kColumns / 64] = {};  // bit c: column c holds a cell
    std::uint16_t count = 0;
    std::uint16_t capacity = kInline;
    union {
      TPoolHandle own[kInline] = {};
      TPoolHandle* heap;
    };
  };
  static_assert(sizeof(TRowSlots) <= 64, "a row's index fits one cache line");

  // The number of cells of the row in columns below `col` (0..255).
  static int Rank(const TRowSlots& slots, int col) {
    int rank = 0;
    for (int w = 0; w < col / 64; ++w) rank += CountBits(slots.used[w]);
    std::uint64_t below = col % 64 == 0 ? 0 : ~std::uint64_t{0} >> (64 - col % 64);
    return rank + CountBits(slots.used[col / 64] & below);
  }
  // The set bits of a word, without the library call some targets would make.
  static int CountBits(std::uint64_t x) {
    x = x - ((x >> 1) & 0x5555555555555555u);
    x = (x & 0x3333333333333333u) + ((x >> 2) & 0x3333333333333333u);
    x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Fu;
    return static_cast<int>((x * 0x0101010101010101u) >> 56);
  }

  const TRowSlots* Row(int row) const {
    return row >= 0 && row < static_cast<int>(rows_.size()) ? &rows_[static_cast<std::size_t>(row)] : nullptr;
  }

  std::vector<TRowSlots> rows_;
};

}  // namespace corvane

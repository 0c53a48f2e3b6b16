// The cell index: finds the cell at a row and column in constant time, beside
// the row lists that remain the store's record of its cells. Each used row has
// a block of 256 column slots, kept in four chunks of 64 that exist only where
// the row has cells, with a bit per column that says which slots are taken, so
// the first cell at or after a column and the last one before it are found
// without walking the list. An empty sheet costs one pointer per row up to the
// highest used one. The memory comes from the heap, outside the page pool.
//
// The cell store keeps one index per row-head table and changes it with every
// change to the row lists; nothing else uses this class.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "spreadsheet/engine/PagePool.h"

namespace corvane {

class TCellIndex {
 public:
  static constexpr int kColumns = 256;
  static constexpr int kChunkColumns = 64;

  // The cell at (row, col), or nil. Rows and columns outside the sheet give nil.
  TPoolHandle Find(int row, int col) const {
    const TRowSlots* slots = Row(row);
    if (!slots || col < 0 || col >= kColumns) return kNilHandle;
    const TPoolHandle* chunk = slots->chunk[col / kChunkColumns].get();
    return chunk ? chunk[col % kChunkColumns] : kNilHandle;
  }
  // The column of the first cell of `row` at or after `col`, or -1.
  int FirstColumnFrom(int row, int col) const;
  // The column of the last cell of `row` before `col`, or -1.
  int LastColumnBefore(int row, int col) const;
  // The number of cells of `row` in columns c1..c2 (ordered, within the sheet).
  int CountColumns(int row, int c1, int c2) const;
  // True when the row has a slot block (it had a cell since it was cleared).
  bool RowHasCells(int row) const { return Row(row) != nullptr; }
  // One past the highest row that may have cells.
  int RowLimit() const { return static_cast<int>(rows_.size()); }

  // Puts `cell` in the slot of (row, col). False, changing nothing, when the
  // memory for the row's block cannot be had.
  bool Set(int row, int col, TPoolHandle cell);
  // Empties the slot of (row, col).
  void Erase(int row, int col);
  // Empties a row, or every row, giving their memory back.
  void ClearRow(int row);
  void Clear();

  // Heap bytes the index holds (blocks, chunks and the row table).
  std::size_t MemoryBytes() const;

 private:
  struct TRowSlots {
    std::uint64_t used[kColumns / kChunkColumns] = {};
    std::unique_ptr<TPoolHandle[]> chunk[kColumns / kChunkColumns];
  };

  const TRowSlots* Row(int row) const {
    return row >= 0 && row < static_cast<int>(rows_.size()) ? rows_[static_cast<std::size_t>(row)].get() : nullptr;
  }

  std::vector<std::unique_ptr<TRowSlots>> rows_;
};

}  // namespace corvane

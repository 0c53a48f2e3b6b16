// The cell index: column slots per used row with a bit per taken slot.
#include "spreadsheet/engine/CellIndex.h"

#include <bit>
#include <new>

namespace corvane {

namespace {

constexpr int kWords = TCellIndex::kColumns / TCellIndex::kChunkColumns;

// Bits from `col` (0..63) upwards, and below it.
std::uint64_t BitsFrom(int col) { return ~std::uint64_t{0} << col; }
std::uint64_t BitsBelow(int col) { return col == 0 ? 0 : ~std::uint64_t{0} >> (64 - col); }

}  // namespace

int TCellIndex::FirstColumnFrom(int row, int col) const {
  const TRowSlots* slots = Row(row);
  if (!slots || col >= kColumns) return -1;
  if (col < 0) col = 0;
  for (int w = col / kChunkColumns; w < kWords; ++w) {
    std::uint64_t bits = slots->used[w];
    if (w == col / kChunkColumns) bits &= BitsFrom(col % kChunkColumns);
    if (bits) return w * kChunkColumns + std::countr_zero(bits);
  }
  return -1;
}

int TCellIndex::LastColumnBefore(int row, int col) const {
  const TRowSlots* slots = Row(row);
  if (!slots || col <= 0) return -1;
  if (col > kColumns) col = kColumns;
  for (int w = (col - 1) / kChunkColumns; w >= 0; --w) {
    std::uint64_t bits = slots->used[w];
    if (w == col / kChunkColumns) bits &= BitsBelow(col % kChunkColumns);
    if (bits) return w * kChunkColumns + 63 - std::countl_zero(bits);
  }
  return -1;
}

int TCellIndex::CountColumns(int row, int c1, int c2) const {
  const TRowSlots* slots = Row(row);
  if (!slots) return 0;
  int count = 0;
  for (int w = c1 / kChunkColumns; w <= c2 / kChunkColumns; ++w) {
    std::uint64_t bits = slots->used[w];
    if (w == c1 / kChunkColumns) bits &= BitsFrom(c1 % kChunkColumns);
    if (w == c2 / kChunkColumns && c2 % kChunkColumns != 63) bits &= BitsBelow(c2 % kChunkColumns + 1);
    count += std::popcount(bits);
  }
  return count;
}

bool TCellIndex::Set(int row, int col, TPoolHandle cell) {
  if (row < 0 || col < 0 || col >= kColumns) return false;
  auto at = static_cast<std::size_t>(row);
  if (at >= rows_.size()) {
    try {
      rows_.resize(at + 1);
    } catch (const std::bad_alloc&) {
      return false;
    }
  }
  std::unique_ptr<TRowSlots>& slots = rows_[at];
  if (!slots) {
    slots.reset(new (std::nothrow) TRowSlots);
    if (!slots) return false;
  }
  std::unique_ptr<TPoolHandle[]>& chunk = slots->chunk[col / kChunkColumns];
  if (!chunk) {
    chunk.reset(new (std::nothrow) TPoolHandle[kChunkColumns]());
    if (!chunk) return false;
  }
  chunk[col % kChunkColumns] = cell;
  std::uint64_t bit = std::uint64_t{1} << (col % kChunkColumns);
  if (cell != kNilHandle) slots->used[col / kChunkColumns] |= bit;
  else slots->used[col / kChunkColumns] &= ~bit;
  return true;
}

void TCellIndex::Erase(int row, int col) {
  if (row < 0 || row >= static_cast<int>(rows_.size()) || col < 0 || col >= kColumns) return;
  TRowSlots* slots = rows_[static_cast<std::size_t>(row)].get();
  if (!slots) return;
  int w = col / kChunkColumns;
  if (slots->chunk[w]) slots->chunk[w][col % kChunkColumns] = kNilHandle;
  slots->used[w] &= ~(std::uint64_t{1} << (col % kChunkColumns));
}

void TCellIndex::ClearRow(int row) {
  if (row >= 0 && row < static_cast<int>(rows_.size())) rows_[static_cast<std::size_t>(row)].reset();
}

void TCellIndex::Clear() {
  rows_.clear();
  rows_.shrink_to_fit();
}

std::size_t TCellIndex::MemoryBytes() const {
  std::size_t bytes = rows_.capacity() * sizeof(rows_[0]);
  for (const auto& slots : rows_) {
    if (!slots) continue;
    bytes += sizeof(TRowSlots);
    for (const auto& chunk : slots->chunk)
      if (chunk) bytes += kChunkColumns * sizeof(TPoolHandle);
  }
  return bytes;
}

}  // namespace corvane

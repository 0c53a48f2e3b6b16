// The cell index: per row a bit per column and the cells in column order.
#include "spreadsheet/engine/CellIndex.h"

#include <algorithm>
#include <iterator>
#include <new>

namespace corvane {

namespace {

// Bits from `col` (0..63) upwards, and below it.
std::uint64_t BitsFrom(int col) { return ~std::uint64_t{0} << col; }
std::uint64_t BitsBelow(int col) { return col == 0 ? 0 : ~std::uint64_t{0} >> (64 - col); }

}  // namespace

TCellIndex::TRowSlots::TRowSlots(TRowSlots&& other) noexcept : count(other.count), capacity(other.capacity) {
  std::copy(std::begin(other.used), std::end(other.used), used);
  if (capacity > kInline) {
    heap = other.heap;
    other.capacity = kInline;
    other.count = 0;
  } else {
    std::copy(std::begin(other.own), std::end(other.own), own);
  }
}

TCellIndex::TRowSlots::~TRowSlots() {
  if (capacity > kInline) delete[] heap;
}

bool TCellIndex::TRowSlots::Reserve() {
  if (count < capacity) return true;
  auto grown = static_cast<std::uint16_t>(std::min(2 * capacity, kColumns));
  auto* handles = new (std::nothrow) TPoolHandle[grown];
  if (!handles) return false;
  std::copy(Handles(), Handles() + count, handles);
  if (capacity > kInline) delete[] heap;
  heap = handles;
  capacity = grown;
  return true;
}

int TCellIndex::CountColumns(int row, int c1, int c2) const {
  const TRowSlots* slots = Row(row);
  if (!slots) return 0;
  int count = 0;
  for (int w = c1 / 64; w <= c2 / 64; ++w) {
    std::uint64_t bits = slots->used[w];
    if (w == c1 / 64) bits &= BitsFrom(c1 % 64);
    if (w == c2 / 64 && c2 % 64 != 63) bits &= BitsBelow(c2 % 64 + 1);
    count += CountBits(bits);
  }
  return count;
}

bool TCellIndex::Set(int row, int col, TPoolHandle cell) {
  if (row < 0 || col < 0 || col >= kColumns) return false;
  if (cell == kNilHandle) {
    Erase(row, col);
    return true;
  }
  auto at = static_cast<std::size_t>(row);
  if (at >= rows_.size()) {
    try {
      rows_.resize(at + 1);
    } catch (const std::bad_alloc&) {
      return false;
    }
  }
  TRowSlots& slots = rows_[at];
  int rank = Rank(slots, col);
  std::uint64_t bit = std::uint64_t{1} << (col % 64);
  if (slots.used[col / 64] & bit) {
    slots.Handles()[rank] = cell;
    return true;
  }
  if (!slots.Reserve()) return false;
  TPoolHandle* handles = slots.Handles();
  std::copy_backward(handles + rank, handles + slots.count, handles + slots.count + 1);
  handles[rank] = cell;
  ++slots.count;
  slots.used[col / 64] |= bit;
  return true;
}

void TCellIndex::Erase(int row, int col) {
  if (row < 0 || row >= static_cast<int>(rows_.size()) || col < 0 || col >= kColumns) return;
  TRowSlots& slots = rows_[static_cast<std::size_t>(row)];
  std::uint64_t bit = std::uint64_t{1} << (col % 64);
  if (!(slots.used[col / 64] & bit)) return;
  int rank = Rank(slots, col);
  TPoolHandle* handles = slots.Handles();
  std::copy(handles + rank + 1, handles + slots.count, handles + rank);
  --slots.count;
  slots.used[col / 64] &= ~bit;
}

void TCellIndex::ClearRow(int row) {
  if (row < 0 || row >= static_cast<int>(rows_.size())) return;
  TRowSlots& slots = rows_[static_cast<std::size_t>(row)];
  std::fill(std::begin(slots.used), std::end(slots.used), 0);
  slots.count = 0;
}

void TCellIndex::Clear() {
  for (std::size_t row = 0; row < rows_.size(); ++row) ClearRow(static_cast<int>(row));
}

std::size_t TCellIndex::MemoryBytes() const {
  std::size_t bytes = rows_.capacity() * sizeof(TRowSlots);
  for (const TRowSlots& slots : rows_)
    if (slots.capacity > kInline) bytes += slots.capacity * sizeof(TPoolHandle);
  return bytes;
}

}  // namespace corvane

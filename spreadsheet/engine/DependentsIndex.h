// Long dependents lists found without walking them. A cell's dependents list
// is singly linked in the pool, newest first; taking a formula out of it, or
// making sure a formula is not in it twice, would walk the list. For a cell
// with many dependents (kHubLinks or more) the store keeps a hub beside the
// list, outside the pool: a table from each dependent formula to the link
// before its own (nil when its link is the head). Adding at the head and
// taking a link out each change two entries, so both stay independent of the
// list's length. A hub remembers the head it was kept for; one whose list
// was changed behind its back is dropped and made again from the list.
//
// Used by the cell store's dependents operations only.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "spreadsheet/engine/PagePool.h"

namespace corvane {

class TDependentsHub {
 public:
  // Lists this long get a hub; a hub whose list falls below half of it goes.
  static constexpr std::uint32_t kHubLinks = 32;

  // The link before `formula`'s link (nil: the head) in `pred`; false when
  // the formula is not in the list.
  bool Find(TPoolHandle formula, TPoolHandle& pred) const;
  // Sets or adds the entry of `formula`; false when there is no memory.
  bool Put(TPoolHandle formula, TPoolHandle pred);
  void Erase(TPoolHandle formula);

  std::uint32_t Count() const { return count_; }
  TPoolHandle head = kNilHandle;  // the list head the hub was kept for
  std::size_t MemoryBytes() const { return slots_.capacity() * sizeof(slots_[0]); }

 private:
  // Open addressing with linear probing: the formula in the high word, its
  // predecessor in the low word; 0 marks a free slot (formulas are never nil).
  std::vector<std::uint64_t> slots_;
  std::uint32_t count_ = 0;

  std::size_t Home(TPoolHandle formula) const;
  bool Grow();
};

// The hubs of one row-head table's cells, by cell handle.
class TDependentsIndex {
 public:
  // The hub of `target` when it has one kept for `head`; a hub kept for
  // another head is dropped first.
  TDependentsHub* Hub(TPoolHandle target, TPoolHandle head);
  // Makes a hub for the list that starts at `head`; nullptr when there is no
  // memory (the list is then walked as before).
  TDependentsHub* Build(TPoolHandle target, TPoolHandle head);
  void Drop(TPoolHandle target) { hubs_.erase(target); }
  void Clear() { hubs_.clear(); }
  std::size_t MemoryBytes() const;

 private:
  std::unordered_map<TPoolHandle, std::unique_ptr<TDependentsHub>> hubs_;
};

}  // namespace corvane

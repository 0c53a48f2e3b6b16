// Hubs of long dependents lists: an open-addressing table per cell.
#include "spreadsheet/engine/DependentsIndex.h"

#include <new>

#include "spreadsheet/engine/CellStore.h"

namespace corvane {

namespace {

constexpr std::size_t kFirstCapacity = 2 * TDependentsHub::kHubLinks;

std::uint64_t Entry(TPoolHandle formula, TPoolHandle pred) { return std::uint64_t{formula} << 32 | pred; }
TPoolHandle KeyOf(std::uint64_t entry) { return static_cast<TPoolHandle>(entry >> 32); }
TPoolHandle ValueOf(std::uint64_t entry) { return static_cast<TPoolHandle>(entry); }

}  // namespace

std::size_t TDependentsHub::Home(TPoolHandle formula) const {
  return (std::size_t{formula} * 0x9E3779B1u) & (slots_.size() - 1);
}

bool TDependentsHub::Find(TPoolHandle formula, TPoolHandle& pred) const {
  if (slots_.empty()) return false;
  for (std::size_t at = Home(formula);; at = (at + 1) & (slots_.size() - 1)) {
    std::uint64_t entry = slots_[at];
    if (entry == 0) return false;
    if (KeyOf(entry) == formula) {
      pred = ValueOf(entry);
      return true;
    }
  }
}

bool TDependentsHub::Grow() {
  std::vector<std::uint64_t> old;
  try {
    std::vector<std::uint64_t> fresh(slots_.empty() ? kFirstCapacity : slots_.size() * 2, 0);
    old.swap(slots_);
    slots_.swap(fresh);
  } catch (const std::bad_alloc&) {
    return false;
  }
  count_ = 0;
  for (std::uint64_t entry : old)
    if (entry != 0) Put(KeyOf(entry), ValueOf(entry));
  return true;
}

bool TDependentsHub::Put(TPoolHandle formula, TPoolHandle pred) {
  if ((count_ + 1) * 4 > slots_.size() * 3 && !Grow()) return false;
  for (std::size_t at = Home(formula);; at = (at + 1) & (slots_.size() - 1)) {
    std::uint64_t& entry = slots_[at];
    if (entry == 0) ++count_;
    if (entry == 0 || KeyOf(entry) == formula) {
      entry = Entry(formula, pred);
      return true;
    }
  }
}

void TDependentsHub::Erase(TPoolHandle formula) {
  if (slots_.empty()) return;
  std::size_t mask = slots_.size() - 1;
  std::size_t at = Home(formula);
  while (slots_[at] != 0 && KeyOf(slots_[at]) != formula) at = (at + 1) & mask;
  if (slots_[at] == 0) return;
  // Backward shift: later entries of the run move up so no probe stops early.
  for (std::size_t next = (at + 1) & mask; slots_[next] != 0; next = (next + 1) & mask) {
    std::size_t home = Home(KeyOf(slots_[next]));
    bool movable = at <= next ? (home <= at || home > next) : (home <= at && home > next);
    if (movable) {
      slots_[at] = slots_[next];
      at = next;
    }
  }
  slots_[at] = 0;
  --count_;
}

TDependentsHub* TDependentsIndex::Hub(TPoolHandle target, TPoolHandle head) {
  auto it = hubs_.find(target);
  if (it == hubs_.end()) return nullptr;
  if (it->second->head == head) return it->second.get();
  hubs_.erase(it);
  return nullptr;
}

TDependentsHub* TDependentsIndex::Build(TPoolHandle target, TPoolHandle head) {
  auto hub = std::unique_ptr<TDependentsHub>(new (std::nothrow) TDependentsHub);
  if (!hub) return nullptr;
  TPoolHandle pred = kNilHandle;
  for (TPoolHandle link = head; link != kNilHandle;) {
    const auto* node = reinterpret_cast<const TDepLink*>(PoolBlock(link));
    if (!node || !hub->Put(node->cell, pred)) return nullptr;
    pred = link;
    link = node->next;
  }
  hub->head = head;
  try {
    auto& slot = hubs_[target];
    slot = std::move(hub);
    return slot.get();
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

std::size_t TDependentsIndex::MemoryBytes() const {
  std::size_t bytes = 0;
  for (const auto& [target, hub] : hubs_) bytes += sizeof(*hub) + hub->MemoryBytes();
  return bytes;
}

}  // namespace corvane

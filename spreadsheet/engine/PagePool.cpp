// The page pool: page table, owner selection, next-fit block search and the
// merging free. See PagePool.h for the rules.
#include "spreadsheet/engine/PagePool.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "spreadsheet/engine/EnginePlatform.h"

namespace corvane {

namespace pool_detail {
std::uint8_t* gPages[kPoolSlots] = {};
std::uint8_t* NoBlock() { return nullptr; }
}  // namespace pool_detail

namespace {

using pool_detail::gPages;

constexpr std::uint32_t kFirstBlock = 4;
// More steps than a page can have blocks: a chain walk that takes longer is broken.
constexpr int kMaxChainSteps = kPageBytes / 4;

struct TSlot {
  std::uint16_t rover = 0;  // offset of the free block where searches start
  TOwnerTag owner = kNoOwner;
  std::uint16_t used = 0;   // bytes handed out from this page
};

struct TPoolState {
  TSlot slots[kPoolSlots];
  int capacity = 0;
  int highestSlot = -1;
  TOwnerTag owner = kNoOwner;
  TOwnerTag lastSelectedOwner = kNoOwner;  // kNoOwner: select again
  int ownerCursor = 0;                     // slot where the owner's allocations begin
  int currentSlot = -1;
  std::int32_t budget = 0;
  std::int32_t startBudget = 0;
  TOwnerTag tagCounter = 0;
  bool full = false;
};

TPoolState gPool;
bool gUnitInitDone = false;

// The two 16-bit words at the start of a free block: its size, then the offset
// of the next free block. Kept in native order: pages never leave memory.
std::uint16_t Word(const std::uint8_t* page, std::uint32_t offset) {
  std::uint16_t w;
  std::memcpy(&w, page + offset, sizeof w);
  return w;
}
void SetWord(std::uint8_t* page, std::uint32_t offset, std::uint32_t value) {
  std::uint16_t w = static_cast<std::uint16_t>(value);
  std::memcpy(page + offset, &w, sizeof w);
}
std::uint32_t SizeOf(const std::uint8_t* page, std::uint32_t block) { return Word(page, block); }
std::uint32_t NextOf(const std::uint8_t* page, std::uint32_t block) { return Word(page, block + 2); }
void SetSize(std::uint8_t* page, std::uint32_t block, std::uint32_t size) { SetWord(page, block, size); }
void SetNext(std::uint8_t* page, std::uint32_t block, std::uint32_t next) { SetWord(page, block + 2, next); }

// The last slot an owner may take: slots 0 to the capacity.
int LastUsableSlot() { return std::min(gPool.capacity, kPoolSlots - 1); }

void ReleasePage(int slot) {
  EnginePlatform().FreeMem(gPages[slot]);
  gPages[slot] = nullptr;
  gPool.slots[slot] = TSlot{};
  if (gPool.currentSlot == slot) gPool.currentSlot = -1;
}

// A fresh page: bytes cleared, the zero-size head at 0 linking to one free
// block of 7928 bytes at offset 4, which links back to the head.
void PoolInitPage(int slot) {
  std::uint8_t* page = gPages[slot];
  std::memset(page, 0, kPageBytes);
  SetSize(page, 0, 0);
  SetNext(page, 0, kFirstBlock);
  SetSize(page, kFirstBlock, kPageBlockBytes);
  SetNext(page, kFirstBlock, 0);
  gPool.slots[slot].rover = 0;
  gPool.slots[slot].used = 0;
}

// Makes `slot` the current page, taking memory for it when it has none.
// False when the heap refuses the page.
bool PoolOpenPage(int slot) {
  if (gPages[slot] == nullptr) {
    if (slot > gPool.highestSlot) {
      gPool.highestSlot = slot;
      if (gPool.highestSlot >= gPool.capacity) gPool.full = true;
    }
    void* memory = EnginePlatform().GetMem(kPageBytes);
    if (memory == nullptr) return false;
    gPages[slot] = static_cast<std::uint8_t*>(memory);
    PoolInitPage(slot);
  }
  // An unowned page (new, or emptied by frees) becomes the current owner's.
  if (gPool.slots[slot].owner == kNoOwner) gPool.slots[slot].owner = gPool.owner;
  gPool.currentSlot = slot;
  return true;
}

// Next-fit search for `bytes` (already rounded) in the page of `slot`, from its
// rover. Blocks are cut from the end of a free block so its header stays put.
// The page offset of the block, or 0 when the page has no room.
std::uint32_t PoolFirstFit(int slot, std::uint32_t bytes) {
  std::uint8_t* page = gPages[slot];
  TSlot& s = gPool.slots[slot];
  std::uint32_t prev = s.rover;
  std::uint32_t cur = NextOf(page, prev);
  for (int steps = 0; SizeOf(page, cur) < bytes; ++steps) {
    if (cur == s.rover || steps > kMaxChainSteps) return 0;
    prev = cur;
    cur = NextOf(page, cur);
  }
  std::uint32_t block;
  if (SizeOf(page, cur) == bytes) {
    SetNext(page, prev, NextOf(page, cur));
    block = cur;
  } else {
    std::uint32_t remaining = SizeOf(page, cur) - bytes;
    SetSize(page, cur, remaining);
    block = cur + remaining;
  }
  s.rover = static_cast<std::uint16_t>(prev);
  s.used = static_cast<std::uint16_t>(s.used + bytes);
  gPool.budget -= static_cast<std::int32_t>(bytes);
  return block;
}

// The owner's first slot: the first slot it owns, or the first unowned slot,
// which it then takes, whichever comes first. False when every slot within the
// capacity belongs to another owner.
bool PoolSelectOwnerSlot() {
  for (int slot = 0; slot <= LastUsableSlot(); ++slot) {
    TOwnerTag owner = gPool.slots[slot].owner;
    if (owner == gPool.owner || owner == kNoOwner) {
      gPool.slots[slot].owner = gPool.owner;
      gPool.ownerCursor = slot;
      return true;
    }
  }
  return false;
}

// The first unowned slot within the capacity (a page freed with its document, an
// emptied page, or one never used), or -1.
int FirstUnownedSlot() {
  for (int slot = 0; slot <= LastUsableSlot(); ++slot)
    if (gPool.slots[slot].owner == kNoOwner) return slot;
  return -1;
}

TPoolHandle HandleOf(int slot, std::uint32_t offset) {
  return static_cast<TPoolHandle>(slot) * kPageBytes + offset;
}

void PoolExitRoutine() {
  gPool.full = false;
  PoolFreeAll();
}

}  // namespace

void PoolUnitInit() {
  if (gUnitInitDone) return;
  gUnitInitDone = true;
  std::atexit(PoolExitRoutine);
}

void PoolInit() { PoolInit(EnginePlatform().TotalPhysicalMemory()); }

void PoolInit(std::uint64_t totalPhysicalBytes) {
  PoolUnitInit();
  PoolFreeAll();
  TOwnerTag counter = gPool.tagCounter;  // tags stay unique across a re-init
  gPool = TPoolState{};
  gPool.tagCounter = counter;
  gPool.capacity = static_cast<int>(std::min<std::uint64_t>(totalPhysicalBytes / kPageBytes, kPoolMaxCapacity));
  gPool.startBudget = gPool.capacity * static_cast<std::int32_t>(kPageBytes);
  gPool.budget = gPool.startBudget;
}

TOwnerTag PoolNextOwner() {
  ++gPool.tagCounter;
  if (gPool.tagCounter == kNoOwner) ++gPool.tagCounter;
  return gPool.tagCounter;
}

TOwnerTag PoolGetOwner() { return gPool.owner; }
void PoolSetOwner(TOwnerTag tag) { gPool.owner = tag; }

TPoolHandle PoolAlloc(std::uint32_t size) {
  if (gPool.owner == kNoOwner) return kNilHandle;
  std::uint32_t bytes = PoolRoundSize(size);
  if (bytes > kPageBlockBytes) return kNilHandle;
  if (gPool.budget < kPoolReserveBytes) {
    gPool.full = true;
    return kNilHandle;
  }
  // Select again when the owner changed or its cursor page was emptied and lost
  // its owner (another document may have taken it since).
  if (gPool.owner != gPool.lastSelectedOwner || gPool.slots[gPool.ownerCursor].owner != gPool.owner) {
    if (!PoolSelectOwnerSlot()) {
      gPool.full = true;
      return kNilHandle;
    }
    gPool.lastSelectedOwner = gPool.owner;
  }
  for (bool freshSlot = false;; freshSlot = true) {
    bool opened = PoolOpenPage(gPool.ownerCursor);
    if (opened) {
      if (std::uint32_t offset = PoolFirstFit(gPool.ownerCursor, bytes)) return HandleOf(gPool.ownerCursor, offset);
      // An empty page always holds a block this size; failing here means a broken chain.
      if (freshSlot) return kNilHandle;
    } else {
      // The heap refused the page: the slot goes back, and the room left in
      // the owner's other pages still serves this and later requests.
      gPool.slots[gPool.ownerCursor].owner = kNoOwner;
    }
    for (int slot = 0; slot <= gPool.highestSlot; ++slot) {
      if (slot == gPool.ownerCursor || gPool.slots[slot].owner != gPool.owner || gPages[slot] == nullptr) continue;
      if (std::uint32_t offset = PoolFirstFit(slot, bytes)) {
        // Later allocations start where room was found.
        gPool.ownerCursor = slot;
        gPool.currentSlot = slot;
        return HandleOf(slot, offset);
      }
    }
    if (!opened) return kNilHandle;
    int slot = FirstUnownedSlot();
    if (slot < 0) {
      gPool.full = true;
      return kNilHandle;
    }
    gPool.slots[slot].owner = gPool.owner;
    gPool.ownerCursor = slot;
  }
}

bool PoolFree(TPoolHandle block, std::uint32_t size) {
  std::uint32_t slot = block / kPageBytes;
  std::uint32_t c = block % kPageBytes;
  if (block == kNilHandle || slot >= std::uint32_t{kPoolSlots} || gPages[slot] == nullptr) return false;
  std::uint8_t* page = gPages[slot];
  TSlot& s = gPool.slots[slot];
  std::uint32_t b = PoolRoundSize(size);
  if (c < kFirstBlock || c % 4 != 0 || c + b > kPageUsableEnd || b > s.used) return false;

  // Find the free blocks on either side: prev < c < next (next 0: none above).
  std::uint32_t prev = s.rover < c ? s.rover : 0;
  std::uint32_t next = NextOf(page, prev);
  for (int steps = 0; next != 0 && next < c; ++steps) {
    if (steps > kMaxChainSteps) return false;
    prev = next;
    next = NextOf(page, next);
  }
  if (next == c) return false;                                  // already free
  if (prev != 0 && prev + SizeOf(page, prev) > c) return false;  // overlaps the free block below
  if (next != 0 && c + b > next) return false;                   // overlaps the free block above

  SetSize(page, c, b);
  if (next != 0 && c + b == next) {
    SetSize(page, c, b + SizeOf(page, next));
    SetNext(page, c, NextOf(page, next));
  } else {
    SetNext(page, c, next);
  }
  if (prev != 0 && prev + SizeOf(page, prev) == c) {
    SetSize(page, prev, SizeOf(page, prev) + SizeOf(page, c));
    SetNext(page, prev, NextOf(page, c));
  } else {
    SetNext(page, prev, c);
  }
  s.rover = static_cast<std::uint16_t>(prev);
  s.used = static_cast<std::uint16_t>(s.used - b);
  if (s.used == 0) s.owner = kNoOwner;
  gPool.budget += static_cast<std::int32_t>(b);
  return true;
}

void PoolFreeOwner(TOwnerTag tag) {
  if (tag == kNoOwner) return;
  bool freed = false;
  for (int slot = 0; slot < kPoolSlots; ++slot) {
    // Pages emptied by frees lost their owner but kept their memory; most of
    // them held the closing document's blocks (an undo copy freed at once
    // leaves thousands), so they go back to the heap with its pages.
    if (gPool.slots[slot].owner == kNoOwner && gPages[slot] != nullptr) ReleasePage(slot);
    if (gPool.slots[slot].owner != tag) continue;
    gPool.budget += gPool.slots[slot].used;
    if (gPages[slot] != nullptr) freed = true;
    ReleasePage(slot);
  }
  gPool.ownerCursor = 0;
  gPool.lastSelectedOwner = kNoOwner;
  if (freed) gPool.full = false;
}

void PoolFreeAll() {
  for (int slot = 0; slot < kPoolSlots; ++slot)
    if (gPages[slot] != nullptr || gPool.slots[slot].owner != kNoOwner) ReleasePage(slot);
  gPool.budget = gPool.startBudget;
  gPool.highestSlot = -1;
  gPool.ownerCursor = 0;
  gPool.lastSelectedOwner = kNoOwner;
  gPool.full = false;
}

std::int32_t PoolUsedByOwner(TOwnerTag tag) {
  std::int32_t used = 0;
  for (const TSlot& s : gPool.slots)
    if (s.owner == tag && tag != kNoOwner) used += s.used;
  return used;
}

std::int32_t PoolUsedBytes() {
  std::int32_t used = 0;
  for (const TSlot& s : gPool.slots)
    if (s.owner != kNoOwner) used += s.used;
  return used;
}

std::int32_t PoolTotalSize() { return kPoolReportedSize; }
std::int32_t PoolLimit() { return kPoolReportedSize; }
std::int32_t PoolFreeBytes() { return kPoolReportedSize - PoolUsedBytes(); }

bool PoolHasRoom() { return PoolHasRoomFor(kPoolRoomBytes + 1); }

bool PoolHasRoomFor(std::int64_t bytes) {
  if (gPool.owner == kNoOwner || std::int64_t{gPool.budget} - kPoolReserveBytes < bytes) return false;
  std::int64_t pageRoom = 0;
  for (int slot = 0; slot <= LastUsableSlot() && pageRoom < bytes; ++slot) {
    const TSlot& s = gPool.slots[slot];
    if (s.owner == kNoOwner) pageRoom += kPageBlockBytes;
    else if (s.owner == gPool.owner) pageRoom += kPageBlockBytes - s.used;
  }
  return pageRoom >= bytes;
}

bool PoolIsFull() { return gPool.full; }
int PoolCapacity() { return gPool.capacity; }
std::int32_t PoolBudget() { return gPool.budget; }

std::string PoolCheckInvariants() {
  std::int64_t used = 0;
  for (int slot = 0; slot < kPoolSlots; ++slot) {
    const TSlot& s = gPool.slots[slot];
    std::string where = "slot " + std::to_string(slot) + ": ";
    used += s.used;
    if (gPages[slot] == nullptr) {
      if (s.used != 0) return where + "bytes in use without a page";
      continue;
    }
    if (s.used != 0 && s.owner == kNoOwner) return where + "blocks in use on an unowned page";
    const std::uint8_t* page = gPages[slot];
    if (SizeOf(page, 0) != 0) return where + "head block has a size";
    std::uint32_t freeBytes = 0;
    bool roverSeen = s.rover == 0;
    std::uint32_t prevEnd = 0;
    int steps = 0;
    for (std::uint32_t block = NextOf(page, 0); block != 0; block = NextOf(page, block)) {
      if (++steps > kMaxChainSteps) return where + "free chain does not close";
      std::uint32_t size = SizeOf(page, block);
      if (block < kFirstBlock || block % 4 != 0 || size < 4 || size % 4 != 0 || block + size > kPageUsableEnd)
        return where + "free block out of place at " + std::to_string(block);
      if (block < prevEnd) return where + "free chain out of order at " + std::to_string(block);
      if (block == prevEnd && prevEnd != 0) return where + "adjacent free blocks not merged at " + std::to_string(block);
      if (block == s.rover) roverSeen = true;
      freeBytes += size;
      prevEnd = block + size;
    }
    if (!roverSeen) return where + "rover is not on the free chain";
    if (freeBytes + s.used != kPageBlockBytes) return where + "free and used bytes do not add up";
  }
  if (gPool.budget != gPool.startBudget - used) return "budget does not match the bytes in use";
  return "";
}

}  // namespace corvane

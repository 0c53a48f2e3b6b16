// The page pool: every block of an open document (cells, texts, formulas,
// dependency links, undo records, range names) comes from fixed 8192-byte pages,
// each owned by one document's owner tag, so closing a document gives back all of
// its pages at once. Blocks carry no header: the caller keeps the size and passes
// it again when freeing. The free list of a page is an address-ordered circular
// chain kept inside its free blocks, searched next-fit from a rover.
//
// Blocks are named by 32-bit pool handles (slot x 8192 + page offset), never by
// raw pointers, so records that link blocks keep the same size on every build and
// a handle always has its two top bits clear. Handle 0 is nil: slot 0's offset 0
// is the page head, which is never handed out.
//
// Allocation only ever uses pages that the current owner holds (or unowned ones,
// which it then takes over), so one document's blocks never sit in another
// document's page. Main thread only.
#pragma once

#include <cstdint>
#include <string>

namespace corvane {

using TPoolHandle = std::uint32_t;
inline constexpr TPoolHandle kNilHandle = 0;

// A document's owner tag; 0 is "unowned" and never allocates.
using TOwnerTag = std::uint16_t;
inline constexpr TOwnerTag kNoOwner = 0;

inline constexpr int kPoolSlots = 4081;            // page table slots 0..4080
inline constexpr int kPoolMaxCapacity = 4080;      // pages allowed at most
inline constexpr std::uint32_t kPageBytes = 8192;
inline constexpr std::uint32_t kPageBlockBytes = 7928;   // the one free block of a fresh page
inline constexpr std::uint32_t kPageUsableEnd = 7932;    // bytes from here on are never handed out
inline constexpr std::int32_t kPoolReserveBytes = 8000;  // below this budget every allocation fails
inline constexpr std::int32_t kPoolRoomBytes = 16000;    // what PoolHasRoom asks for
inline constexpr std::int32_t kPoolReportedSize = 66842640;  // the pool size shown to the user

static_assert(std::uint64_t{kPoolSlots} * kPageBytes <= (std::uint64_t{1} << 30),
              "pool handles must leave bits 30 and 31 free for the absolute flags of cell references");
static_assert(sizeof(TPoolHandle) == 4, "pool handles are 32 bits on every build");

// The bytes a request of `n` bytes takes: (n and $FFFC) + 4, so 1..3 take 4,
// 4 takes 8 and 33 takes 36. Every block size is a multiple of 4.
constexpr std::uint32_t PoolRoundSize(std::uint32_t n) { return (n & ~std::uint32_t{3}) + 4; }

// Arranges for every page to be released when the program ends. Called by
// PoolInit; calling it again does nothing.
void PoolUnitInit();

// Resets the pool (freeing any pages it held) and sizes it to
// min(totalPhysicalBytes / 8192, 4080) pages. The budget starts at that many
// pages times 8192 bytes. The first form asks the installed platform.
void PoolInit();
void PoolInit(std::uint64_t totalPhysicalBytes);

// A fresh owner tag for a new document (never 0; wraps after 65535).
TOwnerTag PoolNextOwner();
// The tag that allocations are made for. The document table sets it whenever
// the current document changes.
TOwnerTag PoolGetOwner();
void PoolSetOwner(TOwnerTag tag);

// Allocates `size` bytes for the current owner; kNilHandle when the budget is
// below 8000 bytes, no page slot is left within the capacity or the heap refuses
// a page (the first two set the pool-full flag), when there is no current owner,
// or when the rounded size is beyond 7928 bytes (no page holds it). The block's
// contents are whatever the page held.
TPoolHandle PoolAlloc(std::uint32_t size);

// Returns a block of `size` bytes (the size it was allocated with). Nil, an
// address outside every page, and a block that overlaps free space (a double
// free or a wrong size) are refused: the call changes nothing and returns false.
// A page whose last block comes back stays allocated but loses its owner.
bool PoolFree(TPoolHandle block, std::uint32_t size);

// Frees every page owned by `tag` (a document is closed), and every page
// emptied by frees (unowned, holding nothing), and clears the pool-full flag
// when that gave pages back. Tag 0 is ignored.
void PoolFreeOwner(TOwnerTag tag);
// Frees every page of every slot and resets the budget and the full flag.
void PoolFreeAll();

// Bytes handed out to `tag`, or to every owner.
std::int32_t PoolUsedByOwner(TOwnerTag tag);
std::int32_t PoolUsedBytes();
// The size shown to the user as the pool's size (a constant), and the shown
// free bytes derived from it. These are display figures only; use PoolHasRoom
// to decide whether a large operation may start.
std::int32_t PoolTotalSize();
std::int32_t PoolLimit();
std::int32_t PoolFreeBytes();
// True when the current owner can still get more than 16,000 bytes: counted
// from the real budget and from the room left in its own pages and in the
// unowned slots within the capacity.
bool PoolHasRoom();
// True when the current owner can still get `bytes` more: they fit both in
// the real budget above the reserve and in the room left in its own pages and
// the unowned slots within the capacity. Looks at no more pages than it must.
bool PoolHasRoomFor(std::int64_t bytes);

// Set when an allocation was refused for lack of room, or when the last slot
// within the capacity was taken; long operations test it and stop.
bool PoolIsFull();
// Pages allowed (the capacity set by PoolInit) and the real free budget in bytes.
int PoolCapacity();
std::int32_t PoolBudget();

// Checks every page's free chain (ordered, inside the page, merged, sizes adding
// up with the used count), the owners and the budget. Empty when all holds,
// else a description of the first fault. For tests.
std::string PoolCheckInvariants();

namespace pool_detail {
extern std::uint8_t* gPages[kPoolSlots];
// Returns nullptr. Out of line on purpose: with a visible constant nullptr,
// GCC's -Warray-bounds flags every inlined caller that writes through the
// result on a path it cannot rule out.
std::uint8_t* NoBlock();
}  // namespace pool_detail

// The bytes of a block: a pointer that stays valid until the block or its page
// is freed. nullptr for nil or a handle whose page does not exist. Inline, as
// row walks resolve a handle per cell.
inline std::uint8_t* PoolBlock(TPoolHandle block) {
  std::uint32_t slot = block / kPageBytes;
  std::uint8_t* page = block != kNilHandle && slot < std::uint32_t{kPoolSlots} ? pool_detail::gPages[slot] : nullptr;
  return page ? page + block % kPageBytes : pool_detail::NoBlock();
}

}  // namespace corvane

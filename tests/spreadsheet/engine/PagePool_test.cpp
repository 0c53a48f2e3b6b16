// The page pool: block rounding, next-fit cutting and merging, owner rules across
// documents, slot reuse, the budget and the full flag.
#include "spreadsheet/engine/PagePool.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "tests/spreadsheet/engine/EngineTestSupport.h"

namespace corvane::testing {
namespace {

int SlotOf(TPoolHandle block) { return static_cast<int>(block / kPageBytes); }

class PagePool : public EngineTest {
 protected:
  TOwnerTag NewOwner() {
    TOwnerTag tag = PoolNextOwner();
    PoolSetOwner(tag);
    return tag;
  }
  void Fill(TPoolHandle block, std::uint32_t size, std::uint8_t pattern) {
    std::memset(PoolBlock(block), pattern, size);
  }
  bool Holds(TPoolHandle block, std::uint32_t size, std::uint8_t pattern) {
    const std::uint8_t* bytes = PoolBlock(block);
    if (bytes == nullptr) return false;
    for (std::uint32_t i = 0; i < size; ++i)
      if (bytes[i] != pattern) return false;
    return true;
  }
};

class SmallPool : public PagePool {
 protected:
  void SetUp() override {
    PagePool::SetUp();
    PoolInit(4 * kPageBytes);
  }
};

TEST_F(PagePool, RequestsTakeTheirSizeRoundedDownToFourPlusFour) {
  struct Case {
    std::uint32_t request, takes;
  } cases[] = {{0, 4}, {1, 4}, {3, 4}, {4, 8}, {32, 36}, {33, 36}, {239, 240}, {7924, 7928}, {7927, 7928}};
  for (const Case& c : cases) {
    PoolInit(kPoolMaxCapacity * std::uint64_t{kPageBytes});
    NewOwner();
    ASSERT_NE(PoolAlloc(c.request), kNilHandle) << c.request;
    EXPECT_EQ(PoolUsedBytes(), static_cast<std::int32_t>(c.takes)) << c.request;
    EXPECT_EQ(PoolBudget(), kPoolMaxCapacity * 8192 - static_cast<std::int32_t>(c.takes)) << c.request;
  }
}

TEST_F(PagePool, AFreshPageHoldsOneBlockOf7928BytesAndNothingLarger) {
  NewOwner();
  TPoolHandle whole = PoolAlloc(7927);  // rounds to 7928: the page's single free block
  ASSERT_NE(whole, kNilHandle);
  EXPECT_EQ(whole % kPageBytes, 4u);
  TPoolHandle next = PoolAlloc(4);
  ASSERT_NE(next, kNilHandle);
  EXPECT_NE(SlotOf(next), SlotOf(whole)) << "the first page is exactly full";
  // 7928 rounds to 7932 and 7929 to 7932: no page holds them, and no page is
  // taken trying.
  EXPECT_EQ(PoolAlloc(7928), kNilHandle);
  EXPECT_EQ(PoolAlloc(7929), kNilHandle);
  EXPECT_FALSE(PoolIsFull());
  EXPECT_EQ(PoolUsedBytes(), 7928 + 8);
  EXPECT_EQ(PoolCheckInvariants(), "");
}

TEST_F(PagePool, FreedNeighboursMergeSoTheWholePageIsUsableAgain) {
  NewOwner();
  TPoolHandle keeper = PoolAlloc(4);  // keeps the page owned throughout
  TPoolHandle a = PoolAlloc(100), b = PoolAlloc(100), c = PoolAlloc(100), d = PoolAlloc(100);
  ASSERT_TRUE(keeper && a && b && c && d);
  // Blocks are cut from the end of the free block: each lies below the last.
  EXPECT_EQ(a - b, 104u);
  EXPECT_TRUE(PoolFree(b, 100));
  EXPECT_TRUE(PoolFree(a, 100));  // merges with b, its free neighbour below
  EXPECT_TRUE(PoolFree(d, 100));
  EXPECT_TRUE(PoolFree(c, 100));  // between two free neighbours: merges with both
  EXPECT_EQ(PoolCheckInvariants(), "");
  TPoolHandle big = PoolAlloc(7919);  // 7920 = everything but the keeper's 8 bytes
  ASSERT_NE(big, kNilHandle);
  EXPECT_EQ(SlotOf(big), SlotOf(keeper));
  EXPECT_EQ(PoolCheckInvariants(), "");
}

TEST_F(PagePool, AnEmptiedPageLosesItsOwnerAndServesTheNextOwner) {
  TOwnerTag a = NewOwner();
  TPoolHandle x = PoolAlloc(40);
  ASSERT_EQ(SlotOf(x), 0);
  EXPECT_TRUE(PoolFree(x, 40));
  EXPECT_EQ(PoolUsedByOwner(a), 0);

  TOwnerTag b = NewOwner();
  TPoolHandle y = PoolAlloc(40);
  EXPECT_EQ(SlotOf(y), 0) << "the emptied page keeps its memory and goes to the next owner";
  Fill(y, 40, 0xBB);

  // The first owner now has to go elsewhere, and closing it leaves y alone.
  PoolSetOwner(a);
  TPoolHandle z = PoolAlloc(40);
  ASSERT_NE(z, kNilHandle);
  EXPECT_NE(SlotOf(z), 0);
  PoolFreeOwner(a);
  EXPECT_TRUE(Holds(y, 40, 0xBB));
  EXPECT_EQ(PoolUsedByOwner(b), 44);
  EXPECT_EQ(PoolCheckInvariants(), "");
}

TEST_F(PagePool, AnOwnerThatEmptiesItsPageAndGoesOnKeepsItsPageAgainstOthers) {
  TOwnerTag a = NewOwner();
  TPoolHandle x = PoolAlloc(40);
  EXPECT_TRUE(PoolFree(x, 40));  // the page is empty and unowned now
  TPoolHandle z = PoolAlloc(40);  // the same owner goes on allocating
  ASSERT_NE(z, kNilHandle);
  Fill(z, 40, 0xAA);
  TOwnerTag b = NewOwner();
  TPoolHandle y = PoolAlloc(40);
  ASSERT_NE(y, kNilHandle);
  EXPECT_NE(SlotOf(y), SlotOf(z)) << "the page is a's again and not free for b";
  PoolFreeOwner(b);
  EXPECT_TRUE(Holds(z, 40, 0xAA));
  EXPECT_EQ(PoolUsedByOwner(a), 44);
  EXPECT_EQ(PoolCheckInvariants(), "");
}

TEST_F(PagePool, TwoDocumentsAllocatingAndFreeingAlternatelyKeepEachOthersBlocks) {
  TOwnerTag a = PoolNextOwner(), b = PoolNextOwner();
  std::vector<TPoolHandle> blocksA, blocksB;
  for (int round = 0; round < 3000; ++round) {
    PoolSetOwner(a);
    TPoolHandle p = PoolAlloc(33);
    ASSERT_NE(p, kNilHandle);
    Fill(p, 33, 0xAA);
    blocksA.push_back(p);
    PoolSetOwner(b);
    TPoolHandle q = PoolAlloc(33);
    ASSERT_NE(q, kNilHandle);
    Fill(q, 33, 0xBB);
    blocksB.push_back(q);
    // Now and then each empties what it has, so pages lose and change owners.
    if (round % 250 == 249) {
      for (TPoolHandle h : blocksA) PoolFree(h, 33);
      blocksA.clear();
    }
    if (round % 400 == 399) {
      for (TPoolHandle h : blocksB) PoolFree(h, 33);
      blocksB.clear();
    }
  }
  ASSERT_EQ(PoolCheckInvariants(), "");
  PoolFreeOwner(a);
  for (TPoolHandle q : blocksB) ASSERT_TRUE(Holds(q, 33, 0xBB)) << "block " << q << " of b was in a's page";
  EXPECT_EQ(PoolUsedByOwner(b), static_cast<std::int32_t>(blocksB.size() * 36));
  EXPECT_EQ(PoolCheckInvariants(), "");

  PoolSetOwner(a);  // a closed document's tag allocates into fresh pages only
  TPoolHandle late = PoolAlloc(33);
  Fill(late, 33, 0xCC);
  for (TPoolHandle q : blocksB) ASSERT_TRUE(Holds(q, 33, 0xBB));
}

TEST_F(PagePool, BelowTheReserveEveryAllocationFailsAndSetsTheFullFlag) {
  PoolInit(kPageBytes);  // one page: budget 8192
  TOwnerTag tag = NewOwner();
  ASSERT_NE(PoolAlloc(193), kNilHandle);  // 196 bytes: budget 7996
  EXPECT_EQ(PoolBudget(), 7996);
  EXPECT_EQ(PoolAlloc(4), kNilHandle) << "the page has room, the budget has not";
  EXPECT_TRUE(PoolIsFull());
  PoolFreeOwner(tag);
  EXPECT_FALSE(PoolIsFull()) << "closing a document gives the memory back";
  EXPECT_EQ(PoolBudget(), 8192);
}

TEST_F(SmallPool, OpeningAndClosingDocumentsReusesFreedSlots) {
  for (int document = 0; document < 50; ++document) {
    TOwnerTag tag = NewOwner();
    for (int page = 0; page < 3; ++page) ASSERT_NE(PoolAlloc(7927), kNilHandle) << document << "/" << page;
    PoolFreeOwner(tag);
  }
  EXPECT_FALSE(PoolIsFull());
  EXPECT_EQ(PoolCheckInvariants(), "");
}

TEST_F(SmallPool, HasRoomCountsTheRealBudgetWhileTheShownFiguresUseTheConstant) {
  NewOwner();
  EXPECT_TRUE(PoolHasRoom());
  int taken = 0;
  while (PoolAlloc(7927) != kNilHandle) ++taken;
  EXPECT_EQ(taken, 4);
  EXPECT_TRUE(PoolIsFull());
  EXPECT_FALSE(PoolHasRoom());
  EXPECT_EQ(PoolTotalSize(), 66842640);
  EXPECT_EQ(PoolFreeBytes(), 66842640 - 4 * 7928);
}

TEST_F(PagePool, AnotherOwnersFreeBytesAreNoRoom) {
  PoolInit(8 * kPageBytes);  // slots 0..8
  TOwnerTag first = NewOwner();
  for (int page = 0; page < 8; ++page) ASSERT_NE(PoolAlloc(5000), kNilHandle);
  NewOwner();
  // The budget still has 17,504 bytes above the reserve and the first owner's
  // pages have 2,924 free bytes each, but the second owner can only get the
  // one slot left.
  EXPECT_GT(PoolBudget() - kPoolReserveBytes, kPoolRoomBytes);
  EXPECT_FALSE(PoolHasRoom());
  PoolFreeOwner(first);
  EXPECT_TRUE(PoolHasRoom());
}

TEST_F(PagePool, DoubleFreesWrongSizesAndForeignAddressesAreRefused) {
  NewOwner();
  TPoolHandle keeper = PoolAlloc(8);
  TPoolHandle a = PoolAlloc(36), b = PoolAlloc(36), c = PoolAlloc(36);
  ASSERT_TRUE(keeper && a && b && c);
  EXPECT_TRUE(PoolFree(b, 36));
  EXPECT_FALSE(PoolFree(b, 36)) << "double free";
  EXPECT_FALSE(PoolFree(c, 80)) << "reaches into the free block above";
  EXPECT_FALSE(PoolFree(a - 2, 4)) << "not a block boundary";
  EXPECT_FALSE(PoolFree(kNilHandle, 4));
  EXPECT_FALSE(PoolFree(100 * kPageBytes + 4, 4)) << "a slot without a page";
  EXPECT_FALSE(PoolFree(keeper, 7000)) << "more than the page has in use";
  EXPECT_EQ(PoolCheckInvariants(), "");
  EXPECT_EQ(PoolUsedBytes(), 12 + 40 + 40);
}

TEST_F(PagePool, WithoutAnOwnerNothingIsAllocated) {
  PoolSetOwner(kNoOwner);
  EXPECT_EQ(PoolAlloc(10), kNilHandle);
  EXPECT_FALSE(PoolHasRoom());
  EXPECT_EQ(PoolUsedBytes(), 0);
}

TEST_F(PagePool, APageTheHeapRefusesGivesNil) {
  NewOwner();
  platform.refuseGetMemAfter = 0;
  EXPECT_EQ(PoolAlloc(10), kNilHandle);
  platform.refuseGetMemAfter = -1;
  EXPECT_NE(PoolAlloc(10), kNilHandle);
  EXPECT_EQ(PoolCheckInvariants(), "");
}

}  // namespace
}  // namespace corvane::testing

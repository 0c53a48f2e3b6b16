// The cluster policy, drive space, counting rules, filter patterns, progress
// and size order of the scan.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analyser/app/ScanRules.h"
#include "analyser/app/TimeText.h"
#include "tests/analyser/app/TotalsPrinter.h"

namespace foldwick {
namespace {

TEST(ClusterPolicy, TheVolumesAllocationUnitWinsAndTheTableOnlyStandsIn) {
  struct Row {
    TVolumeFacts volume;
    bool userDefined;
    std::int64_t userSize;
    std::int64_t cluster;
    const char* fileSystem;
  } rows[] = {
      {{true, 512, 8, "NTFS", false}, false, 0, 4096, "NTFS"},
      {{true, 512, 64, "FAT32", false}, false, 0, 32768, "FAT32"},  // a real FAT32 unit, not 4096
      {{true, 512, 128, "NTFS", false}, false, 0, 65536, "NTFS"},   // 64 KB clusters stay
      {{true, 2048, 1, "CDFS", false}, false, 0, 2048, "CDFS"},
      {{true, 512, 8, "ext4", false}, false, 0, 4096, "ext4"},
      // The system gives no sectors per cluster: the table by name.
      {{true, 512, 0, "FAT32", false}, false, 0, 4096, "FAT32"},
      {{true, 2048, 0, "CDFS", false}, false, 0, 2048, "CDFS"},
      {{true, 512, 0, "FAT", false}, false, 0, 512, "FAT"},
      {{true, 40000, 0, "UDF", false}, false, 0, 512, "UDF"},
      // The query failed.
      {{false, 0, 0, "NTFS", false}, false, 0, 512, "Unknown FS"},
      {{true, 512, 8, "NTFS", true}, false, 0, 1, "NTFS Compressed"},
      {{true, 512, 8, "NTFS", false}, true, 8192, 8192, "User Defined"},
      {{true, 512, 8, "NTFS", true}, true, 100, 512, "User Defined"},
      {{false, 0, 0, "", false}, true, 8192, 8192, "Unknown FS"},
  };
  for (const Row& r : rows) {
    TClusterChoice c = ChooseClusterSize(r.volume, r.userDefined, r.userSize);
    EXPECT_EQ(c.clusterSize, r.cluster) << r.volume.fileSystem << " " << r.volume.sectorsPerCluster;
    EXPECT_EQ(c.fileSystem, r.fileSystem) << r.volume.fileSystem;
  }
  TClusterChoice failed = ChooseClusterSize({false, 4096, 4, "NTFS", false}, false, 0);
  EXPECT_EQ(failed.bytesPerSector, 512u);
  EXPECT_EQ(failed.sectorsPerCluster, 1u);
  EXPECT_FALSE(failed.freeSpaceOk);
}

TEST(DriveSpace, KilobytesRoundAndNeverOverflow) {
  const std::uint64_t tib = 1ULL << 40;
  TDriveSpace space = DriveSpaceFromBytes(3 * tib, 3 * tib / 2 + 511);
  EXPECT_EQ(space.totalKB, static_cast<std::int64_t>(3 * tib / 1024));
  EXPECT_EQ(space.freeKB, static_cast<std::int64_t>(3 * tib / 2048));
  EXPECT_EQ(DriveSpaceFromBytes(1536, 1535).totalKB, 2);
  EXPECT_EQ(DriveSpaceFromBytes(1536, 1535).freeKB, 1);
  // 512-byte clusters: no early division to 0, no 32-bit product.
  TDriveSpace clusters = DriveSpaceFromClusters(512, 1, 0xFFFFFFFFu, 10);
  EXPECT_EQ(clusters.totalKB, 2147483648LL);
  EXPECT_EQ(clusters.freeKB, 5);
}

TDirEntry File(std::string name, std::uint64_t size, TFileTime access = 0, TFileTime write = 0) {
  return {std::move(name), 0x20, size, access, write};
}
TDirEntry Folder(std::string name, std::uint32_t extra = 0) { return {std::move(name), kAttrDirectory | extra, 0, 0, 0}; }

TEST(FileCounting, SizesExactMultiplesEmptyFilesAndFilesFoundTwice) {
  const std::uint64_t overFourGiB = (5ULL << 30) + 3;
  const std::uint64_t twoGiB = 1ULL << 31;  // its low word reads negative
  const TFileTime older = 0x01D0000000000000ULL, newer = older + (5ULL << 32);
  std::vector<TDirEntry> firstPattern = {
      Folder("."), Folder(".."), Folder("sub"), Folder("link", kAttrReparsePoint),
      File("empty", 0), File("exact", 4096, older, newer), File("onemore", 4097, newer, older),
      File("big", overFourGiB), File("half", twoGiB),
  };
  std::vector<TDirEntry> secondPattern = {File("exact", 4096), File("tiny", 1)};

  TFileCounter counter(4096, false);
  int counted = 0;
  for (const auto& e : firstPattern) counted += counter.AddFile(e);
  for (const auto& e : secondPattern) counted += counter.AddFile(e);
  EXPECT_EQ(counted, 5);
  const TFolderTotals& t = counter.Totals();
  EXPECT_EQ(t.objects, 5);
  EXPECT_EQ(t.clusters, 1 + 2 + static_cast<std::int64_t>((5ULL << 30) / 4096 + 1) + (1 << 19) + 1);
  EXPECT_EQ(t.tailBytes, 0 + 1 + 3 + 0 + 1);
  EXPECT_EQ(t.bytes, static_cast<std::int64_t>(4096 + 4097 + overFourGiB + twoGiB + 1));
  EXPECT_EQ(counter.NewestAccess(), newer);
  EXPECT_EQ(counter.NewestChange(), newer);

  // Inside a recycle bin an empty file is an object (of no clusters).
  TFileCounter recycle(4096, true);
  EXPECT_TRUE(recycle.AddFile(File("empty", 0)));
  EXPECT_EQ(recycle.Totals(), (TFolderTotals{0, 0, 1, 0}));
  EXPECT_TRUE(recycle.FirstSighting("sub"));
  EXPECT_FALSE(recycle.FirstSighting("sub"));
}

TEST(FileCounting, EntriesThatAreNeverFollowed) {
  EXPECT_EQ(ClassifyEntry(Folder(".")), TEntryKind::kSkip);
  EXPECT_EQ(ClassifyEntry(Folder("..")), TEntryKind::kSkip);
  EXPECT_EQ(ClassifyEntry(Folder(".cache")), TEntryKind::kFolder);
  EXPECT_EQ(ClassifyEntry(Folder("junction", kAttrReparsePoint)), TEntryKind::kSkip);
  EXPECT_EQ(ClassifyEntry({"symlink.txt", kAttrReparsePoint, 10, 0, 0}), TEntryKind::kSkip);
  EXPECT_EQ(ClassifyEntry(File(".hidden", 1)), TEntryKind::kFile);
  EXPECT_EQ(FileClusters(0, 4096), 0);
  EXPECT_EQ(FileClusters(8192, 4096), 2);
  EXPECT_EQ(FileClusters(8193, 4096), 3);
  EXPECT_EQ(FileClusters(7, 1), 7);
}

TEST(FilterPatterns, SplitAtBlanksWithinTheMaximum) {
  using V = std::vector<std::string>;
  EXPECT_EQ(SplitFilterPatterns("", 63), V{"*"});
  EXPECT_EQ(SplitFilterPatterns("   ", 63), V{"*"});
  EXPECT_EQ(SplitFilterPatterns("*.txt *.doc", 63), (V{"*.txt", "*.doc"}));
  EXPECT_EQ(SplitFilterPatterns("  *.txt    *.doc \t", 63), (V{"*.txt", "*.doc"}));
  EXPECT_EQ(SplitFilterPatterns("a b c", 2), (V{"a", "b"}));
  EXPECT_EQ(SplitFilterPatterns("a\tb", 63), V{"a\tb"});
  EXPECT_EQ(SplitFilterPatterns("a", 0), V{"*"});
}

TEST(ScanRules, RecycleFoldersProgressAndOrders) {
  EXPECT_TRUE(IsRecycleFolderPath("C:\\RECYCLER"));
  EXPECT_TRUE(IsRecycleFolderPath("C:\\Recycled\\S-1-5"));
  EXPECT_FALSE(IsRecycleFolderPath("C:\\Temp\\Recycled"));
  EXPECT_FALSE(IsRecycleFolderPath("C:\\RECYC"));
  EXPECT_FALSE(IsRecycleFolderPath("C:"));

  EXPECT_EQ(ProgressImage(0, 10), 1);
  EXPECT_EQ(ProgressImage(5, 10), 8);
  EXPECT_EQ(ProgressImage(10, 10), 15);
  EXPECT_EQ(ProgressImage(12, 10), 15);  // more finished than were counted
  EXPECT_EQ(ProgressImage(1, 0), 15);

  // Largest first: a holds more bytes, b more clusters and more waste.
  const TFolderTotals a{3, 100, 1, 8292}, b{10, 0, 5, 4096};
  EXPECT_LT(CompareBySize(a, b, 1, 4096), 0);
  EXPECT_LT(CompareBySize(a, b, 5, 4096), 0);
  EXPECT_GT(CompareBySize(a, b, 2, 4096), 0);
  EXPECT_GT(CompareBySize(a, b, 4, 4096), 0);
  EXPECT_EQ(CompareBySize(a, b, 6, 4096), 0);

  EXPECT_TRUE(IsBoldFolder(16, 100, 15));
  EXPECT_FALSE(IsBoldFolder(15, 100, 15));
  EXPECT_FALSE(IsBoldFolder(100, 100, 100));
}

TEST(TimeTexts, DatesOfFileTimesWithinTheDosRange) {
  struct Row {
    TFileTime time;
    bool ok;
    TCivilDate date;
  } rows[] = {
      {125912016000000000ULL, true, {2000, 1, 1}},
      {119600496000000000ULL, true, {1980, 1, 1}},
      {119599632000000000ULL, false, {}},
      {133536816000000000ULL, true, {2024, 2, 29}},
      {159992496000000000ULL, true, {2107, 12, 31}},
      {159993360000000000ULL, false, {}},
  };
  for (const Row& r : rows) {
    TCivilDate d;
    EXPECT_EQ(FileTimeToDosDate(r.time, d), r.ok) << r.time;
    if (r.ok) {
      EXPECT_EQ(d, r.date) << r.time;
    }
  }
  EXPECT_FALSE(HasTimeText(0));
  EXPECT_FALSE(HasTimeText(0xFFFFFFFFULL));
  EXPECT_FALSE(HasTimeText(0x80000000ULL << 32));
  EXPECT_TRUE(HasTimeText(1ULL << 32));
}

}  // namespace
}  // namespace foldwick

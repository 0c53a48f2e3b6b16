// The values and texts of the six view types in the three units.
#include <gtest/gtest.h>

#include <string>

#include "analyser/app/FolderValues.h"
#include "tests/analyser/app/TotalsPrinter.h"

namespace foldwick {
namespace {

constexpr std::int64_t kCluster = 4096;

// An empty folder: its own cluster and object.
const TFolderTotals kEmpty{1, 0, 1, 0};
// Files of 100, 4096 (an exact multiple) and 5000 bytes and their folder.
const TFolderTotals kBranch{1 + 1 + 2 + 1, 100 + 0 + 904, 4, 100 + 4096 + 5000};

std::string Text(const TFolderTotals& t, int view, int unit, int decimals, TValueContext context = {kCluster, false, 0}) {
  if (context.parentClusters == 0 && view != kViewPercent) context.parentClusters = t.clusters;
  TValueFormat format;
  format.unitType = unit;
  format.decimals = decimals;
  return FormatFolderValue(GetFolderValue(t, context, view, unit), view, false, format);
}

TEST(FolderValueTexts, EveryViewAndUnitOfAnEmptyFolderAndABranch) {
  struct Row {
    const TFolderTotals* totals;
    int view, unit, decimals;
    const char* text;
  } rows[] = {
      {&kEmpty, kViewSize, kUnitKB, 2, "0.0 kb"},
      {&kEmpty, kViewAllocated, kUnitKB, 2, "4.0 kb"},
      {&kEmpty, kViewWasted, kUnitKB, 2, "4.0 kb"},
      {&kEmpty, kViewCdRom, kUnitKB, 2, "3.0 kb"},
      {&kEmpty, kViewObjects, kUnitKB, 2, "1"},
      {&kEmpty, kViewAllocated, kUnitMB, 2, "0.0 MB"},
      {&kBranch, kViewSize, kUnitKB, 2, "9.0 kb"},
      {&kBranch, kViewSize, kUnitKB, 1, "9 kb"},
      {&kBranch, kViewSize, kUnitKB, 3, "8.98 kb"},
      {&kBranch, kViewSize, kUnitMixed, 3, "8.98 kb"},
      {&kBranch, kViewAllocated, kUnitKB, 2, "20.0 kb"},
      {&kBranch, kViewWasted, kUnitKB, 2, "11.0 kb"},
      {&kBranch, kViewCdRom, kUnitKB, 3, "14.98 kb"},
      {&kBranch, kViewObjects, kUnitMB, 3, "4"},
      {&kBranch, 9, kUnitKB, 2, "0.0 kb"},
  };
  for (const Row& r : rows)
    EXPECT_EQ(Text(*r.totals, r.view, r.unit, r.decimals), r.text) << "view " << r.view << " unit " << r.unit;
}

TEST(FolderValueTexts, MixedUnitsTurnToMegabytesAbove102400Kilobytes) {
  const TFolderTotals atLimit{0, 0, 1, 102400LL * 1024};
  const TFolderTotals above{0, 0, 1, 102401LL * 1024};
  EXPECT_EQ(Text(atLimit, kViewSize, kUnitMixed, 2), "102,400.0 kb");
  EXPECT_EQ(Text(above, kViewSize, kUnitMixed, 2), "100.0 MB");
  EXPECT_EQ(Text(above, kViewSize, kUnitKB, 2), "102,401.0 kb");
  EXPECT_EQ(Text(above, kViewSize, kUnitMB, 2), "100.0 MB");
}

TEST(FolderValueTexts, PercentOfParent) {
  const TFolderTotals root{5, 0, 2, 0};
  // A root is its own parent: just under 100 percent, never a division by zero.
  double self = GetFolderValue(root, {kCluster, false, 5}, kViewPercent, kUnitMB);
  EXPECT_GT(self, 99.99);
  EXPECT_LT(self, 100);
  EXPECT_EQ(Text(root, kViewPercent, kUnitMB, 4, {kCluster, false, 5}), "99.998 %");
  // A parent with no clusters divides by 0.0001.
  EXPECT_EQ(Text(root, kViewPercent, kUnitKB, 2, {kCluster, false, 0}), "5,000,000.0 %");
  // Blank while the root's scan runs.
  EXPECT_EQ(Text(root, kViewPercent, kUnitMB, 2, {kCluster, true, 5}), "");
}

TEST(FolderValueTexts, SizesBeyond32BitsAndLargeCounts) {
  // 6 GiB in one file on 4096-byte clusters.
  const std::int64_t size = 6LL << 30;
  const TFolderTotals big{size / kCluster + 1, 0, 2, size};
  EXPECT_EQ(Text(big, kViewSize, kUnitMB, 2), "6,144.0 MB");
  EXPECT_EQ(Text(big, kViewAllocated, kUnitMB, 2), "6,144.0 MB");
  EXPECT_EQ(Text(big, kViewWasted, kUnitKB, 2), "4.0 kb");
  EXPECT_EQ(Text({1, 0, 1234567, 0}, kViewObjects, kUnitMB, 2), "1,234,567");
}

TEST(FolderValueTexts, RoundingHalvesAwayFromZeroAndClampingDecimals) {
  const TFolderTotals half{1, 0, 1, 2560};     // 2.5 KB
  const TFolderTotals quarter{1, 0, 1, 256};   // 0.25 KB
  EXPECT_EQ(Text(half, kViewSize, kUnitKB, 1), "3 kb");
  EXPECT_EQ(Text(quarter, kViewSize, kUnitKB, 2), "0.3 kb");
  EXPECT_EQ(Text(quarter, kViewSize, kUnitKB, 0), "0 kb");    // below 1 counts as 1
  EXPECT_EQ(Text(quarter, kViewSize, kUnitKB, 9), "0.250 kb"); // above 4 counts as 4
}

TEST(FolderValueTexts, OtherSeparators) {
  TValueFormat format;
  format.unitType = kUnitKB;
  format.number = {".", ","};
  EXPECT_EQ(FormatFolderValue(1234.5, kViewSize, false, format), "1.234,5 kb");
  EXPECT_EQ(FormatNumber(1234567.0, 0, {"", "."}), "1234567");
}

TEST(FolderValueTexts, PaddingRightAlignsAndNeverGoesNegative) {
  TValueFormat format;  // MB, one decimal; widths counted in characters
  // n = S*(2*2+2) + W + 0 - w = 6 + 6 - w.
  EXPECT_EQ(FormatFolderValue(9.0, kViewSize, true, format), "      9.0 MB  ");
  EXPECT_EQ(FormatFolderValue(123.0, kViewSize, true, format), "    123.0 MB  ");
  EXPECT_EQ(FormatFolderValue(12345678.0, kViewSize, true, format), "12,345,678.0 MB  ");
  // Mixed units leave room for the wider unit: 2 x UnitType more spaces.
  format.unitType = kUnitMixed;
  EXPECT_EQ(FormatFolderValue(9.0, kViewSize, true, format), "        9.0 kb  ");
  // Measured widths: every character 7 pixels, a space 3.
  format.unitType = kUnitMB;
  format.pad = {3, 42, [](const std::string& s) { return static_cast<int>(s.size()) * 7; }};
  // (3*6 + 42 - 42) / 3 = 6
  EXPECT_EQ(FormatFolderValue(9.0, kViewSize, true, format), "      9.0 MB  ");
  // Percent texts: two spaces after, and two before below 10.
  EXPECT_EQ(FormatFolderValue(45.0, kViewPercent, true, format), "45.0 %  ");
  EXPECT_EQ(FormatFolderValue(4.5, kViewPercent, true, format), "  4.5 %  ");
  EXPECT_EQ(FormatFolderValue(-1, kViewPercent, true, format), "");
}

TEST(FolderNames, MarksAndCaptions) {
  EXPECT_EQ(MarkFolderName("Temp", false, false), "Temp");
  EXPECT_EQ(MarkFolderName("Temp", true, true), "Temp [Error!]  <==");
  EXPECT_STREQ(ViewCaptionSuffix(kViewCdRom), " - (CD-ROM Cluster Size)");
  EXPECT_STREQ(ViewCaptionSuffix(kViewObjects), "");
}

TEST(FolderCounts, TimesAreNewerOnlyByTheirHighWord) {
  TFolderCounts counts;
  const TFileTime base = 0x01D0000000000000ULL;
  counts.RaiseTimes(base, base);
  counts.RaiseTimes(base + 0xFFFF, base - (1ULL << 32));  // same high word; an older one
  EXPECT_EQ(counts.lastAccess.load(), base);
  EXPECT_EQ(counts.lastChange.load(), base);
  counts.RaiseTimes(base + (1ULL << 32), 0);
  EXPECT_EQ(counts.lastAccess.load(), base + (1ULL << 32));
  EXPECT_EQ(counts.OwnTotals().objects, 0);  // own files not counted yet (-1)
}

}  // namespace
}  // namespace foldwick

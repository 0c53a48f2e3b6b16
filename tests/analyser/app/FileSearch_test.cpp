// The file search's rules and texts, and the options dialog's values.
#include <gtest/gtest.h>

#include <map>

#include "analyser/app/FileSearch.h"
#include "analyser/app/OptionValues.h"

namespace foldwick {
namespace {

constexpr TFileTime Day(int n) { return kFileTimeDay * static_cast<TFileTime>(n); }

class TMapStore : public TSettingsStore {
 public:
  std::optional<std::string> Read(const std::string& name) override {
    auto it = values.find(name);
    return it == values.end() ? std::nullopt : std::optional<std::string>(it->second);
  }
  void Write(const std::string& name, const std::string& value) override { values[name] = value; }
  std::map<std::string, std::string> values;
};

TEST(FileSearch, ListTests) {
  TSearchParams p;
  p.minimumSize = MinimumSizeBytes(2, true);
  EXPECT_EQ(p.minimumSize, 2097152u);
  EXPECT_EQ(MinimumSizeBytes(10, false), 10240u);
  EXPECT_EQ(MinimumSizeBytes(-3, true), 0u);
  EXPECT_FALSE(IsBiggestFile(p, 2097152));  // exactly the minimum
  EXPECT_TRUE(IsBiggestFile(p, 2097153));
  EXPECT_TRUE(IsBiggestFile(p, 5ull << 30));  // past 4 GB, whole

  const TFileTime now = Day(150000);
  p.recentLimit = RecentLimit(now);
  p.dateLimit = now - Day(365);
  struct Row {
    int mode;
    TFileTime access, write;
    bool oldest;
  } rows[] = {
      {kNotAccessed, now - Day(400), now, true},
      {kNotAccessed, 0, 0, false},  // never accessed
      {kNotAccessed, now - Day(10), now - Day(999), false},
      {kNotChanged, now, now - Day(400), true},
      {kNotChanged, now - Day(999), now - Day(10), false},
  };
  for (const Row& r : rows) {
    p.oldestMode = r.mode;
    EXPECT_EQ(IsOldestFile(p, r.access, r.write), r.oldest) << r.mode << " " << r.access;
  }
  EXPECT_FALSE(IsStaleTemporary(p, now - Day(1)));  // accessed within a day and a half
  EXPECT_TRUE(IsStaleTemporary(p, now - Day(2)));
  EXPECT_EQ(RecentLimit(Day(1)), 0u);
}

TEST(FileSearch, EntryRoles) {
  struct Row {
    const char* name;
    bool folder, reparse;
    TEntryRole role;
  } rows[] = {
      {"a.txt", false, false, TEntryRole::kTest},     {".", true, false, TEntryRole::kSkip},
      {"..", true, false, TEntryRole::kSkip},         {".cache", true, false, TEntryRole::kEnter},
      {"Docs", true, false, TEntryRole::kEnter},      {"Recycled", true, false, TEntryRole::kSkip},
      {"$RECYCLE.BIN", true, false, TEntryRole::kEnter}, {"RECYCLER", true, false, TEntryRole::kSkip},
      {"link", true, true, TEntryRole::kSkip},        {"recycle.txt", false, false, TEntryRole::kTest},
  };
  for (const Row& r : rows) EXPECT_EQ(RoleOfEntry(r.name, r.folder, r.reparse), r.role) << r.name;
  EXPECT_EQ(TemporaryMask(".bak"), "*.bak*");
}

TEST(FileSearch, RowsStatusSaveAndDelete) {
  TFoundFile file{"a.tmp", "C:\\x", 1536, 0, Day(1000)};
  auto timeText = [](TFileTime t) { return t == 0 ? std::string() : "day " + std::to_string(t / kFileTimeDay); };
  auto same = [](const std::string& s) { return s; };
  EXPECT_EQ(FoundRowSubItems(file, timeText, same),
            (std::vector<std::string>{"C:\\x", "2 kb", "day 1000", "day 1000"}));
  EXPECT_EQ(file.FullName(), "C:\\x\\a.tmp");
  EXPECT_EQ(FoundSizeText(511), "0 kb");
  EXPECT_EQ(FoundSizeText(6ull << 30), "6291456 kb");

  EXPECT_EQ(TabStatusText(2, 2 + 3145728u, ","), "2  Objects (3072,0 MB)");
  EXPECT_EQ(TabStatusText(0, 0, "."), "");

  EXPECT_EQ(SearchResultsText("T", "&Biggest Files", {"Name", "Size"}, {{"a", "1 kb"}, {"b", ""}}),
            "T: Biggest Files\r\n\r\nName\tSize\t\r\na\t1 kb\t\r\nb\t\t\r\n");
  EXPECT_EQ(DeleteList({"C:\\a", "C:\\b", "C:\\a"}), std::string("C:\\a\0C:\\b\0\0", 11));
  EXPECT_EQ(DeleteList({}), "");
}

TEST(FileSearch, TempPatternsAndBoundsInTheSettings) {
  TMapStore store;
  const std::vector<std::string> defaults{"temp", "tmp", ".bak", ".~", "~."};
  EXPECT_EQ(LoadTempPatterns(store), defaults);
  EXPECT_EQ(store.values.size(), 6u);
  EXPECT_EQ(store.values["5"], "");

  SaveTempPatterns(store, {"x", "y"});
  EXPECT_EQ(store.values["2"], "");  // ends the list; "3" and "4" stay behind it
  EXPECT_EQ(LoadTempPatterns(store), (std::vector<std::string>{"x", "y"}));

  const TSearchBounds design{10, 20, 500, 400};
  EXPECT_EQ(ReadSearchBounds(store, design), design);
  WriteSearchBounds(store, {-5, 7, 640, 480});
  EXPECT_EQ(ReadSearchBounds(store, design), (TSearchBounds{-5, 7, 640, 480}));
  store.values["SF_Width"] = "3";
  store.values["SF_Top"] = "x";
  EXPECT_EQ(ReadSearchBounds(store, design), (TSearchBounds{-5, 20, 500, 480}));
}

TEST(OptionValues, FillApplyAndRootActions) {
  TViewSettings view;
  view.SetDecimals(3);
  view.FilterPatterns = {"*.doc", "*.txt"};
  std::vector<int> widths{150, 0, 2, 90};
  TOptionValues v = OptionValuesFrom(view, true, false, {"Name", "Size", "Allocated", "Objects"}, widths);
  EXPECT_EQ(v.decimals, 2);
  EXPECT_EQ(v.filterText, "*.doc *.txt");
  ASSERT_EQ(v.columns.size(), 4u);
  EXPECT_TRUE(v.columns[0].visible && !v.columns[1].visible && !v.columns[2].visible && v.columns[3].visible);

  // Nothing changed: nothing to do.
  EXPECT_EQ(RootOptionOf(false, ApplyOptionValues(v, view, widths)), TRootOption::kNothing);

  v.decimals = 0;
  v.filterText = "  ";
  v.columns[2].visible = true;
  v.columns[3].visible = false;
  TOptionChanges changes = ApplyOptionValues(v, view, widths);
  EXPECT_EQ(view.Format.decimals, 1);  // no decimal places shown
  EXPECT_EQ(view.FilterPatterns, std::vector<std::string>{"*"});
  EXPECT_EQ(widths, (std::vector<int>{150, 0, 90, 0}));
  EXPECT_EQ(RootOptionOf(false, changes), TRootOption::kRefreshTexts);
  EXPECT_EQ(RootOptionOf(true, changes), TRootOption::kRescan);

  v.showFiles = false;
  EXPECT_EQ(RootOptionOf(false, ApplyOptionValues(v, view, widths)), TRootOption::kApplyShowFiles);

  v.boldFactor = 400;
  v.clusterChoice = 99;
  v.Validate();
  EXPECT_EQ(v.boldFactor, 100);
  EXPECT_EQ(v.clusterChoice, kClusterSizeItemCount - 1);
}

TEST(OptionValues, ClusterChoicesAndKeys) {
  EXPECT_EQ(ClusterSizeOfItem(kClusterSizeItems[0]), 0);
  EXPECT_EQ(ClusterSizeOfItem(kClusterSizeItems[1]), 512);
  EXPECT_EQ(ClusterSizeOfItem(kClusterSizeItems[7]), 32768);

  std::string fs = "NTFS";
  std::int64_t size = 4096;
  ApplyClusterChoice(3, fs, size);
  EXPECT_EQ(fs, "User Defined");
  EXPECT_EQ(size, 2048);
  ApplyClusterChoice(0, fs, size);
  EXPECT_EQ(fs, "");  // read again from the drive at the rescan
  fs = "FAT32";
  ApplyClusterChoice(0, fs, size);
  EXPECT_EQ(fs, "FAT32");

  for (char c : std::string("0123456789\b\r\x1b")) EXPECT_TRUE(BoldFactorKeyAllowed(c)) << int(c);
  for (char c : std::string(" -./:a%")) EXPECT_FALSE(BoldFactorKeyAllowed(c)) << c;
}

}  // namespace
}  // namespace foldwick

// The main window's texts, its detail list's order and the chart it fills.
#include <gtest/gtest.h>

#include "analyser/app/ChartFill.h"
#include "analyser/app/MainWindowText.h"
#include "analyser/components/ChartFXCore.h"
#include "tests/analyser/components/ModelChartEngine.h"

namespace foldwick {
namespace {

TEST(MainWindowText, StatusPanelsAndCaption) {
  const TNumberFormat format;
  TRootStatus root;
  root.freeKB = 1536 * 1024 + 511;  // 1,536 MB, rounding down
  root.totalKB = 10 * 1024 * 1024;
  root.objects = 1;
  root.clusterSize = 4096;
  root.fileSystem = "NTFS";
  EXPECT_EQ(FreeSpaceText(&root, format), "Free Space: 1,536 MB (of 10,240 MB)");
  EXPECT_EQ(ObjectsText(&root, format), "0 Objects");
  // The cluster size the figures use, not the sector size.
  EXPECT_EQ(ClusterText(&root), "4096 Bytes per Cluster (NTFS)");
  root.totalKB = 0;
  EXPECT_EQ(FreeSpaceText(&root, format), "Free Space: ");
  EXPECT_EQ(FreeSpaceText(nullptr, format), "");
  EXPECT_EQ(ObjectsText(nullptr, format), "0 Objects");
  EXPECT_EQ(ClusterText(nullptr), "");

  EXPECT_EQ(WindowCaption("Kestrum Professional", {"*"}, kViewSize), "Kestrum Professional - (Size)");
  EXPECT_EQ(WindowCaption("K", {"*.*", "*.txt"}, kViewObjects), "K");
  EXPECT_EQ(WindowCaption("K", {"*.doc", "*.txt", "*.c"}, kViewWasted), "K *.doc *.txt - (Wasted Space)");
  EXPECT_EQ(WindowCaption("K", {"*.doc"}, kViewPercent), "K *.doc  - (Percent)");
}

TEST(MainWindowText, SetSizeAnswersAndCaptions) {
  struct Row {
    const char* answer;
    bool ok;
    int size;
  } rows[] = {{"10 MB", true, 10}, {"-25x", true, 25}, {"abc", false, 0}, {"", false, 0},
              {"+7", true, 7},     {" 5", false, 0},   {"99999999999", true, 0x7FFFFFFF}};
  for (const Row& r : rows) {
    int size = -1;
    EXPECT_EQ(ParseSetSize(r.answer, size), r.ok) << r.answer;
    if (r.ok) {
      EXPECT_EQ(size, r.size) << r.answer;
    }
  }
  EXPECT_EQ(SizeCaption("&Remove Folder <10 MB", '<', 250), "&Remove Folder <250 MB");
  EXPECT_EQ(SizeCaption("Expand Folder &over: 10 MB", ':', 5), "Expand Folder &over: 5 MB");
  EXPECT_EQ(SizeCaption("&Remove Folder", '<', 3), "&Remove Folder<3 MB");
  EXPECT_EQ(CountFoldersText("C:\\", 12), "C:\\ has 12 Folders.");
}

TEST(MainWindowText, DetailRowsOrderByColumn) {
  TDetailRow folderB{true, "b", {10, 0, 3, 30000}, 5ull << 32, 9ull << 32};
  TDetailRow folderA{true, "a", {20, 0, 1, 10000}, 7ull << 32, 2ull << 32};
  TDetailRow file{false, "0.txt", {50, 0, 1, 200000}, (7ull << 32) + 99, 1ull << 32};
  const int cluster = 4096;
  struct Row {
    const TDetailRow& a;
    const TDetailRow& b;
    int column;
    int sign;
  } rows[] = {
      {folderA, folderB, 0, -1}, {file, folderA, 0, 1},     // folders first, then by caption
      {folderB, folderA, 1, -1}, {file, folderB, 1, -1},    // largest size first
      {folderA, folderB, 2, -1}, {folderA, folderB, 5, -1}, // most clusters first
      {folderB, folderA, 3, -1},                            // most objects first
      {folderA, folderB, 4, -1},                            // most wasted first
      {folderB, folderA, 6, -1}, {folderA, file, 6, 0},     // oldest access first, by the high word
      {file, folderA, 7, -1},    {folderA, folderB, 8, 0},
  };
  for (const Row& r : rows) {
    const int result = CompareDetailRows(r.a, r.b, r.column, cluster, nullptr);
    EXPECT_EQ((result > 0) - (result < 0), r.sign) << r.a.caption << " " << r.b.caption << " column " << r.column;
  }
}


class TBoundChart : public TChartFXCore {
 public:
  explicit TBoundChart(IChartEngine& engine) { BindEngine(&engine); }
};

TEST(ChartFill, ChildrenBecomePointsInTheCurrentUnit) {
  TValueContext context;
  context.clusterSize = 4096;
  const TChartSource node{"Data", {300, 0, 10, 1 << 20}, context};
  const std::vector<TChartSource> children = {{"Music", {256, 0, 4, 1 << 20}, context},
                                              {"Notes", {2, 0, 2, 1000}, context}};
  TChartData pie = BuildChartData(node, children, kViewAllocated, kUnitKB, false, "Size  ", "Wasted  ");
  EXPECT_EQ(pie.series, 2);
  EXPECT_EQ(pie.values[0], (std::vector<double>{1024, 8}));  // allocated KB
  EXPECT_EQ(pie.values[1][0], 0);                            // 1 MB in whole clusters wastes nothing
  EXPECT_NEAR(pie.values[1][1], 8 - 1000 / 1024.0, 1e-9);
  EXPECT_EQ(pie.unitTitle, "");
  TChartData bar = BuildChartData(node, children, kViewCdRom, kUnitMB, true, "Size  ", "Wasted  ");
  EXPECT_EQ(bar.series, 1);
  EXPECT_EQ(bar.values[0][0], 1);  // a bar chart charts sizes: 1 MB
  EXPECT_EQ(bar.unitTitle, "MB");
  EXPECT_EQ(bar.seriesLegends[1], "");
  TChartData own = BuildChartData(node, {}, kViewSize, kUnitMixed, true, "Size  ", "Wasted  ");
  EXPECT_EQ(own.pointLegends, std::vector<std::string>{"Data"});
  EXPECT_EQ(own.unitTitle, "KB");

  TModelEngine engine;
  TBoundChart chart(engine);
  SendChartData(chart, pie);
  EXPECT_EQ(engine.model.SeriesCount(), 2);
  EXPECT_EQ(engine.model.PointCount(), 2);
  EXPECT_EQ(engine.model.Value(0, 0), 1024);
  EXPECT_EQ(engine.model.PointLegend(1), "Notes");
  EXPECT_EQ(engine.model.SeriesLegend(1), "Wasted  ");
  EXPECT_EQ(engine.model.Title(chartlib::kTitleTop), "Data");
  EXPECT_EQ(chart.GetLegend(0), "Music");
}

}  // namespace
}  // namespace foldwick

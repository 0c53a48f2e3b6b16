// The printed reports' pages on the recording canvas: summary lines, page
// breaks with repeated headers and page numbers, names cut to their column,
// tree lines, and the chart's place on the page.
#include <gtest/gtest.h>

#include <algorithm>

#include "analyser/app/PrintedReports.h"
#include "classlib/RecordingCanvas.h"

namespace foldwick {
namespace {

using classlib::TCanvasOp;

TEST(PrintedReports, SummaryLinesOfADriveAndOfAFolder) {
  TValueFormat format;
  format.unitType = kUnitMB;
  format.decimals = 2;
  TReportSummary s;
  s.totals = {2048, 0, 300, 2048LL * 4096 - 1024 * 1024};
  s.context = {4096, false, 2048};
  s.files = 250;
  s.driveTotalKB = 40 * 1024;
  s.driveFreeKB = 30 * 1024;
  s.driveInfo = "4096 Bytes per Cluster (NTFS)";
  const auto folder = SummaryLines(TReportKind::rkFolder, s, format);
  EXPECT_EQ(folder[0], "");
  EXPECT_EQ(folder[1], "[Current Folder]  Size: 7.0 MB    Objects: 300");
  s.driveRoot = true;
  const auto drive = SummaryLines(TReportKind::rkChart, s, format);
  EXPECT_EQ(drive[0], "[Current Drive]    Size: 40 MB    Used: 10 MB    Free: 30 MB    4096 Bytes per Cluster (NTFS)");
  EXPECT_EQ(drive[1],
            "[Current Folder]  Size: 7.0 MB    Allocated: 8.0 MB    Percent of Drive: 20 %    Files: 250    "
            "Wasted Space: 1.0 MB");
}

TReportNode Folder(const std::string& name, bool expanded = false, std::vector<TReportNode> children = {}) {
  TReportNode node;
  node.name = name;
  node.totals = {3, 0, 2, 1024};
  node.context = {1024, false, 30};
  node.expanded = expanded;
  node.children = std::move(children);
  return node;
}

TEST(PrintedReports, FolderRowsBreakPagesAndRepeatTheHeader) {
  // 60 rows of 3.8 mm do not fit on one A4 page; one name is far too long
  // and one row has children with tree lines.
  TReportNode root = Folder("root", true);
  root.children.push_back(Folder(std::string(80, 'n'), true, {Folder("a"), Folder("b", true, {Folder("c")})}));
  for (int i = 0; i < 60; ++i) root.children.push_back(Folder("f" + std::to_string(i)));
  classlib::TRecordingCanvas canvas;
  TPageGeometry page;
  int newPages = 0;
  std::vector<int> pageNumbers;
  TReportPages pages(canvas, page, [&] { ++newPages; }, [&](int n) { pageNumbers.push_back(n); });
  pages.DrawTitleBlock({"Kestrum Professional Report, today", "V 2.0", "root on [DISK]"}, {"", "summary"});
  PrintFolderRows(pages, root, {"Size  ", "Allocated  ", "Objects", "Wasted  ", "% of Parent", "Last Access", "Last Change"},
                  false, TValueFormat{});
  pages.EndPage();

  EXPECT_EQ(newPages, 1);
  EXPECT_EQ(pageNumbers, std::vector<int>{2});
  const auto texts = canvas.Texts();
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "Folder"), 2);
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "Page 1"), 1);
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "Page 2"), 1);
  for (const auto& call : canvas.CallsOf(TCanvasOp::TextOut)) {
    if (call.Text.rfind("Page ", 0) == 0) continue;
    EXPECT_LE(call.Points[0].y + 38, page.BottomLimit()) << call.Text;
    // Allocated and wasted are left out for a folder that is not a file-system root.
    EXPECT_EQ(call.Text.find(" kb"), call.Text == "1.0 kb" ? 2u : std::string::npos) << call.Text;
  }
  // The long name is cut to 59 mm: 39 characters of 1.5 mm at this font.
  EXPECT_NE(std::find(texts.begin(), texts.end(), std::string(39, 'n')), texts.end());
  // "c" (level 2) draws its own strokes and none for "b", the last sibling.
  const auto c = std::find_if(canvas.Calls.begin(), canvas.Calls.end(),
                              [](const auto& call) { return call.Text == "c"; });
  ASSERT_NE(c, canvas.Calls.end());
  const int y = c->Points[0].y;
  int strokes = 0;
  for (const auto& [from, to] : canvas.Lines())
    if (from.y >= y && to.y <= y + 38 && from.x < page.left + 50) ++strokes;
  EXPECT_EQ(strokes, 2);
}

TEST(PrintedReports, ContentsRowsAndChartArea) {
  classlib::TRecordingCanvas canvas;
  TPageGeometry page;
  std::vector<int> icons;
  TReportPages pages(canvas, page, nullptr);
  PrintContentsRows(pages, {{"..\\", {}, 1}, {std::string(70, 'x'), {"1 kb"}, 7}},
                    {"Name", "Size  ", "Allocated  ", "Objects", "Wasted  ", "% of Parent", "Last Access", "Last Change"},
                    [&](int image, const classlib::TRect& r) {
                      icons.push_back(image);
                      EXPECT_EQ(r.Right - r.Left, 30);
                    });
  EXPECT_EQ(icons, std::vector<int>{7});
  const auto texts = canvas.Texts();
  EXPECT_NE(std::find(texts.begin(), texts.end(), std::string(36, 'x')), texts.end());

  // A 20-value bar chart asks for 230 mm but gets what a short page leaves.
  page.height = 2500;
  const classlib::TRect bar = ChartArea(page, true, 20);
  EXPECT_EQ(bar.Top, page.top + 320);
  EXPECT_EQ(bar.Bottom, page.BottomLimit());
  EXPECT_EQ(ChartArea(page, true, 5).Bottom - bar.Top, 1100);
  EXPECT_EQ(ChartArea(page, false, 5).Bottom, page.BottomLimit() - 250);
  EXPECT_EQ(TenthsToPixels(254, 600), 600);
}

}  // namespace
}  // namespace foldwick

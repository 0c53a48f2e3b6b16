// The exported texts, byte for byte, of a small tree built here: the report
// with and without its header and split paths, the spreadsheet rows and the
// file list over an in-memory folder tree.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "analyser/app/ExportText.h"

namespace foldwick {
namespace {

constexpr std::int64_t kCluster = 1024;

TReportNode Node(const std::string& name, std::int64_t clusters, std::int64_t objects, std::int64_t bytes,
                 std::int64_t parentClusters, bool expanded, std::vector<TReportNode> children = {}) {
  TReportNode node;
  node.name = name;
  node.totals = {clusters, bytes % kCluster, objects, bytes};
  node.context = {kCluster, false, parentClusters};
  node.expanded = expanded;
  node.children = std::move(children);
  return node;
}

// Data (expanded) holds alpha (expanded, holding beta) and gamma (collapsed,
// holding delta, which no report shows).
TReportNode SampleTree() {
  TReportNode root = Node("Data", 10, 5, 8192, 10, true,
                          {Node("alpha", 6, 3, 5120, 10, true, {Node("beta", 2, 1, 1024, 6, false)}),
                           Node("gamma", 2, 1, 0, 10, false, {Node("delta", 1, 1, 0, 2, false)})});
  root.lastAccess = "02.01.2020";
  return root;
}

TExportOptions Options(bool split, bool header) {
  TExportOptions options;
  options.split = split;
  options.header = header;
  options.title = "Kestrum Professional";
  options.columnCaptions = {"Size  ", "Objects"};
  options.format.unitType = kUnitKB;
  options.format.decimals = 2;
  return options;
}

TEST(ExportText, ReportsShowTheExpandedPartOfTheBranch) {
  const TReportNode tree = SampleTree();
  const std::string rows =
      "Data\t8.0 kb\t10.0 kb\t5\t2.0 kb\t100.0 %\t02.01.2020\t\r\n"
      "C:\\Data\\alpha\t5.0 kb\t6.0 kb\t3\t1.0 kb\t60.0 %\t\t\r\n"
      "C:\\Data\\alpha\\beta\t1.0 kb\t2.0 kb\t1\t1.0 kb\t33.3 %\t\t\r\n"
      "C:\\Data\\gamma\t0.0 kb\t2.0 kb\t1\t2.0 kb\t20.0 %\t\t\r\n";
  EXPECT_EQ(ClipboardReport(tree, "Data on [DISK]", "C:\\Data", Options(false, false)), rows);

  EXPECT_EQ(ClipboardReport(tree, "Data on [DISK]", "C:\\Data", Options(true, true)),
            "Kestrum Professional Report, \r\nData on [DISK]\r\n\r\nFolder\tPath\tSize  \tObjects\r\n"
            "Data\t\t8.0 kb\t10.0 kb\t5\t2.0 kb\t100.0 %\t02.01.2020\t\r\n"
            "alpha\tC:\\Data\\\t5.0 kb\t6.0 kb\t3\t1.0 kb\t60.0 %\t\t\r\n"
            "beta\tC:\\Data\\alpha\\\t1.0 kb\t2.0 kb\t1\t1.0 kb\t33.3 %\t\t\r\n"
            "gamma\tC:\\Data\\\t0.0 kb\t2.0 kb\t1\t2.0 kb\t20.0 %\t\t\r\n");

  // The file report's paths start from the node's own name.
  EXPECT_EQ(FileReport(tree.children[0], "Data on [DISK]", Options(false, true)),
            "\r\nKestrum Professional Report, \r\n  Data on [DISK]\r\n\r\nFolder\tSize  \tObjects\r\n\r\n"
            "alpha\t5.0 kb\t6.0 kb\t3\t1.0 kb\t60.0 %\t\t\r\n"
            "alpha\\beta\t1.0 kb\t2.0 kb\t1\t1.0 kb\t33.3 %\t\t\r\n");

  // A collapsed root gives its own row only.
  TReportNode collapsed = tree;
  collapsed.expanded = false;
  EXPECT_EQ(ClipboardReport(collapsed, "", "C:\\Data", Options(false, false)), rows.substr(0, rows.find("\r\n") + 2));
}

TEST(ExportText, SpreadsheetRowsAreKilobytesEvenInTheMixedUnit) {
  TValueFormat format;
  format.unitType = kUnitMixed;
  EXPECT_EQ(SpreadsheetRows(SampleTree(), "C:\\Data\\", false, format),
            "Data\t8.000000\t10.000000\t5\t2.000000\t1.00\t02.01.2020\t\n"
            "C:\\Data\\alpha\t5.000000\t6.000000\t3\t1.000000\t0.60\t\t\n"
            "C:\\Data\\alpha\\beta\t1.000000\t2.000000\t1\t1.000000\t0.33\t\t\n"
            "C:\\Data\\gamma\t0.000000\t2.000000\t1\t2.000000\t0.20\t\t\n");
  EXPECT_EQ(SizeColumnFormat(kUnitMixed, ","), "0,00 \"kb\"");
  EXPECT_EQ(SizeColumnFormat(kUnitMB, "."), "0.00 \"MB\"");
  EXPECT_EQ(PercentColumnFormat("."), "0.0%");
}

TEST(ExportText, FileListWalksEveryFolderOnceAndListsEachFileOnce) {
  // folder -> entries; patterns are matched by the file's extension here.
  // A junction leading back to the root is not followed.
  std::map<std::string, std::vector<TDirEntry>> disk = {
      {"D:\\", {{"a.txt", 0, 0, 0, 0}, {"big.iso", 0, 5000000000ULL, 0, 0x01D0000000000000ULL},
                {"sub", kAttrDirectory}, {".config", kAttrDirectory}, {"loop", kAttrDirectory | kAttrReparsePoint}}},
      {"D:\\sub\\", {{".", kAttrDirectory}, {"b.txt", 0, 12, 0, 0}}},
      {"D:\\.config\\", {{"c.ini", 0, 1, 0, 0}}},
      {"D:\\loop\\", {{"never.txt", 0, 1, 0, 0}}},
  };
  const TFolderLister lister = [&](const std::string& folder, const std::string& pattern) {
    std::vector<TDirEntry> out;
    for (const TDirEntry& f : disk[folder])
      if (pattern == "*" || f.name.ends_with(pattern.substr(1))) out.push_back(f);
    return out;
  };
  const TTimeText timeText = [](TFileTime t) { return t != 0 ? std::string("today") : std::string(); };

  // "*.txt" and "*" both take a.txt: it is listed once; the 5 GB file keeps its size.
  EXPECT_EQ(BuildFileList("D:", {"*.txt", "*"}, true, true, "Kestrum Professional", lister, timeText),
            "Kestrum Professional - File List of D:\\\r\n\r\nName\tPath\tSize in Bytes\tLast Access\tLast Change\r\n"
            "a.txt\tD:\\\t0\t\t\r\n"
            "big.iso\tD:\\\t5000000000\t\ttoday\r\n"
            "b.txt\tD:\\sub\\\t12\t\t\r\n"
            "c.ini\tD:\\.config\\\t1\t\t\r\n");
  EXPECT_EQ(BuildFileList("D:\\sub", {"*"}, false, false, "", lister, timeText), "D:\\sub\\b.txt\t12\t\t\r\n");
}

}  // namespace
}  // namespace foldwick

// The audit dialog's content over a small sheet: statistics, the dependents
// tree, the cross reference and its report, and the two drawings.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "classlib/RecordingCanvas.h"
#include "spreadsheet/windows/AuditDialog.h"
#include "tests/spreadsheet/files/WorksheetTestSupport.h"

namespace corvane {
namespace {

using testing::WorksheetTest;

bool HasText(const classlib::TRecordingCanvas& canvas, const std::string& text) {
  std::vector<std::string> texts = canvas.Texts();
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

class AuditDialogTest : public WorksheetTest {
 protected:
  // A1 2, A2 1.5, A3 'x, B1..B3 formulas on A1, C1 on B1, and a blank D5.
  void Fill() {
    Enter(0, 0, "2");
    Enter(1, 0, "1.5");
    Enter(2, 0, "'x");
    Enter(0, 1, "+A1+1");
    Enter(1, 1, "+A1*2");
    Enter(2, 1, "+A1&\"\"");
    Enter(0, 2, "+B1");
    ASSERT_NE(CellGetOrCreate(4, 3), kNilHandle);
  }
  std::vector<std::string> TreeTexts(const TAuditTree& tree) {
    std::vector<std::string> texts;
    for (const TAuditTreeLine& line : tree.lines) texts.push_back(std::to_string(line.level) + " " + line.text);
    return texts;
  }
};

TEST_F(AuditDialogTest, StatisticsTreeAndCrossReference) {
  Fill();
  TAuditStats stats = AuditStatistics();
  EXPECT_EQ(stats.total, 8);
  EXPECT_EQ(stats.lastRow, 4);
  EXPECT_EQ(stats.maxCol, 3);
  EXPECT_EQ(AuditLastCellText(stats), "D5");
  std::vector<int> shown;
  for (int k = 0; k < kAuditShownKinds; ++k) shown.push_back(stats.Shown(k));
  EXPECT_EQ(shown, (std::vector<int>{4, 1, 1, 1, 1}));
  EXPECT_EQ(stats.scaleMax, 4);
  EXPECT_EQ(AuditPercentText(stats, 0), "50.0 %");

  TAuditTree tree;
  ASSERT_TRUE(AuditBuildTree("a1", 3, tree));
  std::vector<std::string> texts = TreeTexts(tree);
  ASSERT_EQ(texts.size(), 5u);
  EXPECT_EQ(texts[0], "0 A1: 2");
  EXPECT_EQ(tree.References(), 4);
  EXPECT_EQ(tree.deepest, 2);
  EXPECT_NE(std::find(texts.begin(), texts.end(), "2 C1: +B1"), texts.end());
  ASSERT_TRUE(AuditBuildTree("A1", 1, tree));
  EXPECT_EQ(tree.References(), 3) << "the limit cuts the second level";
  ASSERT_TRUE(AuditBuildTree("C1", 3, tree));
  EXPECT_EQ(tree.References(), 0);
  EXPECT_FALSE(AuditBuildTree("nowhere", 3, tree));

  std::vector<TAuditXRefLine> xref = AuditXRef(testing::MakeRange(0, 0, 0, 1));
  ASSERT_EQ(xref.size(), 2u);
  EXPECT_EQ(xref[0].cell, "A1");
  EXPECT_EQ(xref[0].type, "Integer 3");
  EXPECT_EQ(xref[0].count, "3");
  EXPECT_EQ(xref[1].type, "Real 2");
  std::vector<std::string> report = AuditXRefReport("SHEET1.WKS", "A1..A2", xref);
  EXPECT_EQ(report[0], "SHEET1.WKS : Cross Reference Report A1..A2");
  EXPECT_EQ(report[2], "CELL\t TYPE\t COUNT\t: REFERENCES");
  EXPECT_EQ(report[4], "A1\tInteger 3\t3\tB3,B2,B1");
  EXPECT_EQ(report[5], "");
}

TEST_F(AuditDialogTest, CyclesStopAtTheLimitAndLongListsContinue) {
  Enter(0, 0, "+B1");
  Enter(0, 1, "+A1");
  TAuditTree tree;
  ASSERT_TRUE(AuditBuildTree("A1", 6, tree));
  EXPECT_EQ(tree.References(), 6);
  EXPECT_EQ(tree.deepest, 6);
  // Twelve dependents: a line of eight and a continuation of four.
  Enter(3, 0, "1");
  for (int col = 1; col <= 12; ++col) Enter(3, col, "+A4");
  std::vector<TAuditXRefLine> xref = AuditXRef(testing::MakeRange(0, 3, 0, 3));
  ASSERT_EQ(xref.size(), 2u);
  EXPECT_EQ(xref[0].count, "12");
  EXPECT_EQ(xref[1].cell, "");
  EXPECT_EQ(std::count(xref[1].refs.begin(), xref[1].refs.end(), ','), 3);
  // A wide fan-out at a deep limit stops at the line cap.
  for (int row = 4; row < 40; ++row)
    for (int col = 0; col < 8; ++col) Enter(row, col, "+A" + std::to_string(row) + "+B" + std::to_string(row) + "+C" + std::to_string(row));
  ASSERT_TRUE(AuditBuildTree("A4", 30, tree));
  EXPECT_TRUE(tree.cut);
  EXPECT_EQ(static_cast<int>(tree.lines.size()), kAuditTreeMaxLines);
}

TEST_F(AuditDialogTest, DrawingsOfAnEmptyAndAFilledSheet) {
  classlib::TRecordingCanvas canvas;
  TAuditStats empty = AuditStatistics();
  for (auto [w, h] : std::vector<std::pair<int, int>>{{300, 200}, {20, 20}, {0, 0}}) {
    DrawAuditStats(canvas, w, h, empty, -16);
    DrawAuditOverview(canvas, w, h, empty);
  }
  EXPECT_EQ(AuditPercentText(empty, 2), "-NA-");
  Fill();
  canvas.Clear();
  DrawAuditStats(canvas, 400, 300, AuditStatistics(), -16);
  EXPECT_TRUE(HasText(canvas, "Relative Proportion of Cells"));
  EXPECT_TRUE(HasText(canvas, "50.0 %"));
  canvas.Clear();
  DrawAuditOverview(canvas, 400, 300, AuditStatistics());
  EXPECT_TRUE(HasText(canvas, "Formula:"));
  // The cylinder shading stays within a quarter and the whole of a channel.
  for (int line = 0; line < 20; ++line) {
    classlib::TColor c = AuditShade(classlib::RGBColor(0, 128, 0), line, 20);
    EXPECT_GE(classlib::GreenOf(c), 32);
    EXPECT_LE(classlib::GreenOf(c), 128);
    EXPECT_EQ(classlib::RedOf(c), 0);
  }
}

}  // namespace
}  // namespace corvane

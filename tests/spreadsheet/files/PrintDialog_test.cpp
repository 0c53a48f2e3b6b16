// The print dialog's values and the preview's page shape, zoom and fit search.
#include "spreadsheet/files/PrintDialog.h"

#include <gtest/gtest.h>

#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/RangeText.h"
#include "spreadsheet/files/SettingsFile.h"
#include "spreadsheet/files/WorksheetFileState.h"
#include "tests/spreadsheet/files/PrintTestSupport.h"

namespace corvane {
namespace {

using classlib::TRect;
using testing::MakeRange;

class PrintDialogTest : public testing::PrintTest {
 protected:
  PrintDialogTest() : PrintTest("PRINT.WKS") {}
  void SetUp() override {
    PrintTest::SetUp();
    ASSERT_TRUE(EnterCell("1", 9, 3));  // used extent A1..D10
  }
  TRange& PrintRange() { return gCurrentDoc.settings.savedRanges[kRangePrint]; }
};

TEST_F(PrintDialogTest, ActivationTakesAMultiCellSelectionAndKeepsTheRangeOtherwise) {
  struct Row {
    TRange before, selection;
    TPrintWhat what;
    const char* rangeText;
  } rows[] = {
      {TRange{}, MakeRange(0, 0, 0, 0), TPrintWhat::kAll, ""},
      {MakeRange(1, 1, 2, 4), MakeRange(5, 5, 5, 5), TPrintWhat::kRange, "B2..C5"},
      {MakeRange(1, 1, 2, 4), MakeRange(0, 0, 1, 1), TPrintWhat::kRange, "A1..B2"},
  };
  for (const Row& r : rows) {
    PrintRange() = r.before;
    TPrintDialog dialog;
    dialog.Activate(r.selection, false);
    EXPECT_EQ(dialog.what, r.what) << r.rangeText;
    EXPECT_EQ(dialog.rangeText, r.rangeText);
    EXPECT_EQ(dialog.allText, "A1..D10");
    EXPECT_EQ(dialog.graphs, std::vector<std::string>{kDefaultGraphEntry});
  }
  TPrintDialog graph;
  graph.what = TPrintWhat::kGraph;
  graph.Activate(MakeRange(0, 0, 1, 1), false);
  EXPECT_EQ(graph.what, TPrintWhat::kGraph);
}

TEST_F(PrintDialogTest, OptionsStoreWholeOrNotAtAll) {
  TPrintDialog dialog;
  dialog.Activate(TRange{}, true);
  EXPECT_EQ(dialog.top, "0.50");
  EXPECT_TRUE(dialog.landscape);
  dialog.top = "1.25";
  dialog.titleRows = "A1..A2";
  dialog.header = "left|^P";
  dialog.footerLine = true;
  dialog.mono = false;
  ASSERT_TRUE(dialog.StoreOptions());
  EXPECT_EQ(ProgramSettings().TopMargin, 1.25);
  EXPECT_EQ(RangeText(gCurrentDoc.settings.savedRanges[kRangeTitleRows]), "A1..A2");
  EXPECT_EQ(CurrentFileState().printHeader, "left|^P");
  EXPECT_TRUE(PrintOptions().footerLine);
  EXPECT_FALSE(ProgramSettings().PMono);

  for (const char* bad : {"-1", "x", ""}) {
    dialog.left = bad;
    dialog.header = "changed";
    EXPECT_FALSE(dialog.StoreOptions()) << bad;
    EXPECT_TRUE(ErrorFlagSet());
    ClearErrorFlag();
    EXPECT_EQ(CurrentFileState().printHeader, "left|^P");
  }
  dialog.left = "0.5";
  dialog.titleCols = "A1..ZZ9";
  EXPECT_FALSE(dialog.StoreOptions());
  EXPECT_EQ(CurrentFileState().printHeader, "left|^P");
}

TEST_F(PrintDialogTest, ScalesFileNamesAndTheChosenBlock) {
  struct Scale {
    const char* text;
    int dialog, preview;
  } scales[] = {{"5", 10, 50}, {"400", 150, 300}, {"87.4", 87, 87}, {"abc", 10, 50}, {"125", 125, 125}};
  for (const Scale& s : scales) {
    EXPECT_EQ(ClampScaleText(s.text, kDialogScaleMin, kDialogScaleMax), s.dialog) << s.text;
    EXPECT_EQ(ClampScaleText(s.text, kPreviewScaleMin, kPreviewScaleMax), s.preview) << s.text;
  }
  EXPECT_EQ(PrintFileName("REPORT"), "REPORT.prn");
  EXPECT_EQ(PrintFileName("REPORT.TXT"), "REPORT.TXT");

  TPrintDialog dialog;
  dialog.Activate(TRange{}, false);
  TRange block;
  int mode = -1;
  ASSERT_TRUE(dialog.ChosenBlock(block, mode));  // "&All" needs no range field
  EXPECT_EQ(mode, 0);
  EXPECT_EQ(block, MakeRange(0, 0, 3, 9));
  dialog.what = TPrintWhat::kRange;
  dialog.rangeText = "C3..B2";
  ASSERT_TRUE(dialog.ChosenBlock(block, mode));
  EXPECT_EQ(mode, kPrintRangeMode);
  EXPECT_EQ(PrintRange(), MakeRange(1, 1, 2, 2));
  for (const char* bad : {"", "Q0"}) {
    dialog.rangeText = bad;
    EXPECT_FALSE(dialog.ChosenBlock(block, mode)) << bad;
    EXPECT_TRUE(ErrorFlagSet());
    ClearErrorFlag();
    EXPECT_EQ(PrintRange(), MakeRange(1, 1, 2, 2));
  }
}

TEST(PrintFit, FindsTheLargestScaleThatFitsOnePage) {
  struct Row {
    int start, limit, expected;
  } rows[] = {
      {100, 150, 150}, {300, 150, 150}, {100, 400, 291}, {100, 20, 50}, {60, 61, 61}, {250, 233, 233},
  };
  for (const Row& r : rows) {
    int result = FitTextScale(r.start, [&](int scale) { return scale <= r.limit ? 1 : 2; });
    EXPECT_EQ(result, r.expected) << r.start << " " << r.limit;
  }
}

TEST(PrintPreview, PageShapeFollowsThePaperAndZoomFollowsTheMouse) {
  TPreviewModel model;
  TPageMetrics letter = DefaultPageMetrics(false), wide = DefaultPageMetrics(true);
  TPageMetrics a4;
  a4.physicalWidth = 2480;
  a4.physicalHeight = 3508;
  struct Row {
    TRect paint;
    TPageMetrics page;
    TRect expected;
  } rows[] = {
      {{0, 0, 452, 552}, letter, {25, 16, 427, 536}},   // 520 high, 520 * 85 / 110 wide
      {{0, 0, 552, 452}, wide, {16, 25, 536, 427}},     // 520 wide, 520 * 85 / 110 high
      {{0, 0, 232, 552}, letter, {16, 146, 216, 405}},  // too narrow: the width decides
      {{0, 0, 452, 552}, a4, {42, 16, 410, 536}},       // 520 high, 520 / 1.414 wide
  };
  for (const Row& r : rows) {
    model.SetView(r.paint, r.page);
    EXPECT_EQ(model.BasePage(), r.expected);
    EXPECT_EQ(model.PageRect(), r.expected);
  }

  model.SetView({0, 0, 452, 552}, letter);
  model.Reset();
  EXPECT_EQ(model.ZoomText(), "    1.00x");
  model.LeftRelease({25, 16}, {226, 276});  // the top-left quarter of the page
  EXPECT_DOUBLE_EQ(model.Zoom(), 552.0 / 260);
  TRect zoomed = model.PageRect();
  EXPECT_NEAR(zoomed.Left + zoomed.Width() / 4, 226, 2);
  EXPECT_NEAR(zoomed.Top + zoomed.Height() / 4, 276, 2);
  EXPECT_TRUE(model.ZoomOut());
  EXPECT_TRUE(model.ZoomOut());
  EXPECT_EQ(model.PageRect(), (TRect{25, 16, 427, 536}));
  EXPECT_FALSE(model.ZoomOut());
}

}  // namespace
}  // namespace corvane

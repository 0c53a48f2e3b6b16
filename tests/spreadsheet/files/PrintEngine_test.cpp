// The print engine on the recording canvas: which cells land on which page,
// bands, titles, "|" rows, header and footer, the printer's job calls, and
// printing to a text file.
#include "spreadsheet/files/PrintEngine.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "classlib/RecordingCanvas.h"
#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/files/SettingsFile.h"
#include "spreadsheet/files/WorksheetFileState.h"
#include "tests/spreadsheet/engine/EngineTestSupport.h"
#include "tests/spreadsheet/files/PrintTestSupport.h"
#include "tests/spreadsheet/files/TempFolder.h"

namespace corvane {
namespace {

using namespace classlib;

using testing::kColWidth;
using testing::kRowHeight;
using testing::TFakePrintSheet;

// The printer: its calls as text lines, and the pages' drawing on one canvas.
class TFakeJob : public TPrintJob {
 public:
  std::string PrinterName() override { return "Test Printer"; }
  bool BeginDoc(std::string_view title) override {
    log.push_back("begin " + std::string(title));
    return true;
  }
  void NewPage() override { log.push_back("page"); }
  void EndDoc() override { log.push_back("end"); }
  void Abort() override { log.push_back("abort"); }
  TCanvas& Canvas() override { return canvas; }
  void ShowStatus(std::string_view name) override { log.push_back("status " + std::string(name)); }
  void Progress(int percent, int, int) override { lastPercent = percent; }
  bool AbortRequested() override { return ++rowsSeen == abortAfterRows; }
  void CloseStatus() override { log.push_back("close"); }
  std::vector<std::string> log;
  TRecordingCanvas canvas;
  int lastPercent = -1;
  int rowsSeen = 0;
  int abortAfterRows = -1;
};

class PrintEngineTest : public testing::PrintTest {
 protected:
  PrintEngineTest() : PrintTest("BUDGET.WKS") {}
  void SetUp() override {
    PrintTest::SetUp();
    // 96 pixels per inch, so that a sheet pixel is a device pixel: half-inch
    // margins, 16-pixel header lines, room for ten rows and three columns.
    page.ppiX = page.ppiY = 96;
    page.width = page.physicalWidth = 96 + 3 * kColWidth;
    page.height = page.physicalHeight = 96 + 4 * 16 + 10 * kRowHeight;
  }
  // Fills rows 0..rows-1, columns 0..cols-1 with "R<row>C<col>" labels.
  void Fill(int rows, int cols) {
    for (int r = 0; r < rows; ++r)
      for (int c = 0; c < cols; ++c)
        ASSERT_TRUE(EnterCell("'R" + std::to_string(r) + "C" + std::to_string(c), r, c));
  }

  // Draws page `n` on `canvas` (into `area` when given); the page count.
  int DrawPage(TRecordingCanvas& canvas, int n, int mode = 0, TRect area = {}) {
    TPrintTarget target;
    target.canvas = &canvas;
    target.page = page;
    target.area = area;
    return PrintSheetPages(sheet, mode, n, target);
  }

  // The texts drawn on page `n`, and the page count of that run.
  std::vector<std::string> PageTexts(int n, int mode = 0, int* count = nullptr) {
    TRecordingCanvas canvas;
    int pages = DrawPage(canvas, n, mode);
    if (count != nullptr) *count = pages;
    return canvas.Texts();
  }

  int Count(int mode = 0) {
    TPrintTarget target;
    target.page = page;
    return PrintSheetPages(sheet, mode, kPrintCountPages, target);
  }

  static bool Has(const std::vector<std::string>& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
  }

  TFakePrintSheet sheet;
  TPageMetrics page;
};

TEST_F(PrintEngineTest, WideBlockPrintsBandAfterBandEachFromFirstToLastRow) {
  Fill(15, 5);  // two pages of rows, two bands of columns
  int count = 0;
  struct Row {
    int page;
    std::vector<std::string> present, absent;
  } rows[] = {
      {1, {"R0C0", "R9C2"}, {"R10C0", "R0C3"}},
      {2, {"R10C0", "R14C2"}, {"R9C0", "R0C3"}},
      {3, {"R0C3", "R9C4"}, {"R0C2", "R10C3"}},
      {4, {"R10C3", "R14C4"}, {"R9C3"}},
  };
  for (const Row& r : rows) {
    std::vector<std::string> texts = PageTexts(r.page, 0, &count);
    for (const std::string& t : r.present) EXPECT_TRUE(Has(texts, t)) << "page " << r.page << " lacks " << t;
    for (const std::string& t : r.absent) EXPECT_FALSE(Has(texts, t)) << "page " << r.page << " has " << t;
    EXPECT_EQ(count, 4);
  }
  EXPECT_TRUE(PageTexts(5).empty());
  EXPECT_EQ(Count(), 4);
}

TEST_F(PrintEngineTest, BarRowsAreSkippedAndBarColonsBreakThePage) {
  Fill(6, 1);
  ASSERT_TRUE(EnterCell("|note", 1, 0));
  ASSERT_TRUE(EnterCell("|::", 3, 0));
  std::vector<std::string> first = PageTexts(1);
  EXPECT_EQ(first, (std::vector<std::string>{"R0C0", "R2C0"}));
  EXPECT_EQ(PageTexts(2), (std::vector<std::string>{"R4C0", "R5C0"}));
  EXPECT_EQ(Count(), 2);
}

TEST_F(PrintEngineTest, TitlesRepeatOnEveryPageAndTitleRowsTooTallAbort) {
  Fill(25, 5);
  RangeSet(gCurrentDoc.settings.savedRanges[kRangeTitleRows], 0, 0, 0, 0);
  RangeSet(gCurrentDoc.settings.savedRanges[kRangeTitleColumns], 0, 0, 0, 0);
  RangeSet(gCurrentDoc.settings.savedRanges[kRangePrint], 1, 1, 4, 24);
  // Nine rows fit beside the title row, two columns beside the title column.
  std::vector<std::string> p2 = PageTexts(2, kPrintRangeMode);
  EXPECT_TRUE(Has(p2, "R0C0") && Has(p2, "R0C1") && Has(p2, "R10C0") && Has(p2, "R10C2")) << p2.size();
  EXPECT_FALSE(Has(p2, "R9C1"));
  std::vector<std::string> p4 = PageTexts(4, kPrintRangeMode);
  EXPECT_TRUE(Has(p4, "R0C0") && Has(p4, "R0C3") && Has(p4, "R1C3") && Has(p4, "R1C0"));
  EXPECT_EQ(Count(kPrintRangeMode), 6);

  sheet.tallRow = 0;  // the title row alone is taller than the page
  EXPECT_EQ(Count(kPrintRangeMode), 1);
  TFakeJob job;
  TPrintTarget target;
  target.job = &job;
  target.page = page;
  PrintSheetPages(sheet, kPrintRangeMode, kPrintAllPages, target);
  EXPECT_EQ(job.log, (std::vector<std::string>{"status Test Printer", "begin BUDGET.WKS", "abort", "close"}));
}

TEST_F(PrintEngineTest, OverTallRowsAndOversizedMarginsEndTheRun) {
  Fill(3, 1);
  sheet.tallRow = 1;  // taller than a page: printed cut off, once
  EXPECT_EQ(Count(), 3);
  EXPECT_TRUE(Has(PageTexts(2), "R1C0"));
  sheet.wideCol = 0;  // wider than the page: a band of its own
  EXPECT_EQ(Count(), 3);

  ProgramSettings().TopMargin = 3;
  EXPECT_EQ(Count(), 0);
  EXPECT_TRUE(ErrorFlagSet());
}

TEST_F(PrintEngineTest, PrinterJobStartsOnceAndEndsOrAborts) {
  Fill(25, 1);
  TFakeJob job;
  TPrintTarget target;
  target.job = &job;
  target.page = page;
  EXPECT_EQ(PrintSheetPages(sheet, 0, kPrintAllPages, target), 3);
  EXPECT_EQ(job.log, (std::vector<std::string>{"status Test Printer", "begin BUDGET.WKS", "page", "page", "end",
                                               "close"}));
  EXPECT_EQ(job.lastPercent, 25 * 100 / 26);
  EXPECT_TRUE(Has(job.canvas.Texts(), "R24C0"));

  TFakeJob one;
  target.job = &one;
  EXPECT_EQ(PrintSheetPages(sheet, 0, 2, target), 3);
  EXPECT_EQ(one.log, (std::vector<std::string>{"status Test Printer", "begin BUDGET.WKS", "end", "close"}));
  EXPECT_FALSE(Has(one.canvas.Texts(), "R0C0"));

  TFakeJob stopped;
  stopped.abortAfterRows = 12;
  target.job = &stopped;
  EXPECT_EQ(PrintSheetPages(sheet, 0, kPrintAllPages, target), 2);
  EXPECT_EQ(stopped.log.back(), "close");
  EXPECT_EQ(stopped.log[stopped.log.size() - 2], "abort");
}

TEST_F(PrintEngineTest, HeaderAndFooterCodesAndPlaces) {
  struct Row {
    const char* text;
    const char* expanded;
  } rows[] = {
      {"Page # of ^P", "Page 3 of 3"},
      {"@ ^D ^T", "9-Dec-2026 9-Dec-2026 10:15 am"},
      {"^F", "C:\\^F.WKS"},  // a replaced text is not searched again
      {"^x^", "^x^"},
  };
  for (const Row& r : rows)
    EXPECT_EQ(ExpandPrintCodes(r.text, 3, "9-Dec-2026", "10:15 am", "C:\\^F.WKS"), r.expanded) << r.text;

  Fill(1, 1);
  CurrentFileState().printHeader = "left|middle|right";
  CurrentFileState().printFooter = "Page #";
  TRecordingCanvas canvas;
  DrawPage(canvas, 1);
  std::vector<TCanvasCall> texts = canvas.CallsOf(TCanvasOp::TextOut);
  ASSERT_EQ(texts.size(), 4u) << canvas.Dump();
  struct Placed {
    const char* text;
    int x, y;
    std::uint8_t align;
  } placed[] = {
      {"left", 48, 48, taLeft}, {"middle", 48 + 96, 48, taCenter}, {"right", page.width - 48, 48, taRight},
      {"Page 1", 48 + 96, 48 + 16 + 10 * kRowHeight + 2 * 16, taCenter},
  };
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(texts[i].Text, placed[i].text);
    EXPECT_EQ(texts[i].Points[0], (TPoint{placed[i].x, placed[i].y})) << placed[i].text;
    EXPECT_EQ(texts[i].TextAlign & kTextAlignHorizontalMask, placed[i].align) << placed[i].text;
    EXPECT_EQ(texts[i].Font.Name, "Arial");
  }
}

TEST_F(PrintEngineTest, PreviewScalesThePageIntoItsArea) {
  Fill(2, 1);
  TRecordingCanvas canvas;
  DrawPage(canvas, 1, 0, {10, 20, 10 + page.width / 2, 20 + page.height / 2});
  std::vector<TCanvasCall> cells = canvas.CallsOf(TCanvasOp::TextRect);
  ASSERT_EQ(cells.size(), 2u);
  EXPECT_EQ(cells[1].Rect, (TRect{10 + 24, 20 + 48, 10 + 56, 20 + 55})) << canvas.Dump();
  EXPECT_EQ(cells[1].Font.Height, -6);
}

TEST_F(PrintEngineTest, RangeToTextFile) {
  ASSERT_TRUE(EnterCell("'Name", 0, 0));
  ASSERT_TRUE(EnterCell("12.5", 0, 1));
  ASSERT_TRUE(EnterCell("'Total", 2, 0));
  testing::TTempFolder folder;
  std::string file = folder.File("OUT.PRN");
  ASSERT_TRUE(PrintToTextFile(file, testing::MakeRange(0, 0, 1, 2)));
  std::string text = testing::ReadWholeFile(file);
  EXPECT_EQ(text.substr(0, 4), "Name");
  EXPECT_NE(text.find("12.5\r\n\r\nTotal\r\n"), std::string::npos) << text;

  // A long label runs on over empty cells only, cut where the next cell
  // with contents starts (fields of 9 + 2 characters).
  const char* label = "'This label is much longer than its column";
  ASSERT_TRUE(EnterCell(label, 4, 0));
  ASSERT_TRUE(EnterCell("'x", 4, 1));
  ASSERT_TRUE(EnterCell(label, 5, 0));
  ASSERT_NE(CellGetOrCreate(5, 1), kNilHandle);  // blank
  ASSERT_TRUE(EnterCell("'y", 5, 2));
  ASSERT_TRUE(EnterCell(label, 6, 0));
  ASSERT_TRUE(PrintToTextFile(file, testing::MakeRange(0, 4, 3, 6)));
  EXPECT_EQ(testing::ReadWholeFile(file),
            "This label x\r\n"
            "This label is much lony\r\n"
            "This label is much longer than its column\r\n");

  EXPECT_FALSE(PrintToTextFile(folder.File("NONE.PRN"), TRange{}));
  EXPECT_TRUE(ErrorFlagSet());
  EXPECT_EQ(testing::ReadWholeFile(folder.File("NONE.PRN")), "<missing>");
}

}  // namespace
}  // namespace corvane

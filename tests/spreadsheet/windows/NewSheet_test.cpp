// A new worksheet starts from the program's defaults, whatever the document
// held before.
#include "spreadsheet/windows/NewSheet.h"

#include <gtest/gtest.h>

#include <cstring>

#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/FormatSettings.h"
#include "spreadsheet/engine/RangeNames.h"
#include "spreadsheet/engine/SheetSettings.h"
#include "spreadsheet/graphs/NamedGraphs.h"
#include "tests/spreadsheet/engine/EngineTestSupport.h"

namespace corvane {
namespace {

class NewSheet : public testing::EngineTest {
 protected:
  void TearDown() override {
    DefaultSheetSettings() = TSheetSettings{};
    ApplySheetFormatSettings(DefaultSheetSettings());
    testing::EngineTest::TearDown();
  }
};

TEST_F(NewSheet, StartsFromTheDefaultsAndForgetsWhatTheDocumentKept) {
  OpenCurrent("OLD.WKS");
  gCurrentDoc.settings.labelPrefix = '^';
  RangeSet(gCurrentDoc.settings.savedRanges[3], 1, 2, 3, 4);
  ASSERT_NE(RangeNameCreate("TOTAL", testing::MakeRange(0, 0, 2, 2)), 0);
  TGraphRecord graph = CurrentGraph();
  graph.SetType(3);
  SetCurrentGraph(graph);
  ASSERT_GT(GraphStore("SALES"), 0);
  PutLabel(40, 7, "'x");
  ASSERT_GT(gCurrentDoc.highRow, 0);

  DefaultSheetSettings().labelPrefix = '"';
  DefaultSheetSettings().currency = TShortText2{1, {'L', 0}};

  ASSERT_TRUE(InitNewSheet());
  EXPECT_EQ(gCurrentDoc.settings.labelPrefix, '"');
  EXPECT_EQ(FormatSettings().Curr, "L") << "the number formats follow the new block";
  for (const TRange& range : gCurrentDoc.settings.savedRanges) EXPECT_FALSE(RangeIsValid(range));
  EXPECT_EQ(RangeNameCount(), 0);
  EXPECT_EQ(GraphCount(), 0);
  const TGraphRecord fresh = TGraphRecord::Fresh(), current = CurrentGraph();
  EXPECT_EQ(std::memcmp(current.Bytes(), fresh.Bytes(), kGraphRecordBytes), 0);
  EXPECT_EQ(gCurrentDoc.highRow, 0);
  EXPECT_EQ(gCurrentDoc.highCol, 0);
}

}  // namespace
}  // namespace corvane

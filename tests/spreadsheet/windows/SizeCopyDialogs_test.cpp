// The width-or-height and special copy dialogs on the real engine.
#include "spreadsheet/windows/SizeCopyDialogs.h"

#include "tests/spreadsheet/windows/FrameTestSupport.h"

namespace corvane::testing {
namespace {

class SizeCopyDialogsTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    OpenCurrent("SHEET1.WKS");
    ASSERT_TRUE(InitNewSheet());
  }
  // Opens the dialog over `selection` and applies it; the defaults set are
  // recorded as "w<pixels>" and "h<pixels>".
  bool Apply(TWidthHeightDialog& dialog) {
    return dialog.Apply([this](bool columns, int pixels) { defaults += (columns ? "w" : "h") + std::to_string(pixels); });
  }
  std::string defaults;
};

TEST_F(SizeCopyDialogsTest, WidthsAndHeightsByPage) {
  windows.rowSizes[2] = 30;
  windows.columnSizes[1] = 12;
  TWidthHeightDialog dialog;
  EXPECT_FALSE(dialog.Activate(MakeRange(1, 2, 5, 4)));  // not opened
  dialog.Open();
  ASSERT_TRUE(dialog.Activate(MakeRange(5, 4, 1, 2)));
  EXPECT_EQ(dialog.rangeText, "B3..F5");
  EXPECT_EQ(dialog.heightText, "30");
  EXPECT_EQ(dialog.widthText, "12");
  EXPECT_FALSE(dialog.Activate(MakeRange(0, 0, 0, 0)));

  struct Row {
    const char* name;
    unsigned changed;
    const char *width, *skip;
    bool global, reset, ok;
    std::map<int, int> columns;  // after, over A..F; B was 7
    const char* defaults;
  } rows[] = {
      {"every second column from A", 1, "12", "1", false, false, true, {{0, 12}, {1, 7}, {2, 12}, {4, 12}}, ""},
      {"global and reset", 1, "10", "-3", true, true, true, {}, "w80"},
      {"only the height page used", 2, "30", "0", false, false, true, {{1, 7}}, ""},
      {"a width too large", 1, "300", "0", false, false, false, {{1, 7}}, ""},
      {"a width that is no number", 1, "\"x\"", "0", false, false, false, {{1, 7}}, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    windows.columnSizes = {{1, 7}};
    defaults.clear();
    dialog.rangeText = "A1..F1";
    dialog.changed = row.changed;
    dialog.widthText = row.width;
    dialog.skipColumnsText = row.skip;
    dialog.heightText = "20";
    dialog.skipRowsText = "0";
    dialog.globalWidth = row.global;
    dialog.resetWidth = row.reset;
    EXPECT_EQ(Apply(dialog), row.ok);
    EXPECT_EQ(windows.columnSizes, row.columns);
    EXPECT_EQ(defaults, row.defaults);
    ClearErrorFlag();
  }
  EXPECT_EQ(windows.rowSizes, (std::map<int, int>{{0, 20}, {2, 30}}));
  dialog.rangeText = "A1..ZZ9";
  EXPECT_FALSE(Apply(dialog));
}

TEST_F(SizeCopyDialogsTest, SpecialCopyByMode) {
  ASSERT_TRUE(EnterCell("4", 0, 0));
  ASSERT_TRUE(EnterCell("+A1*2", 1, 0));
  TSpecialCopyDialog dialog;
  ASSERT_TRUE(dialog.Activate(MakeRange(0, 0, 0, 1)));
  EXPECT_EQ(dialog.fromText, "A1..A2");
  EXPECT_FALSE(dialog.Activate(MakeRange(3, 3, 3, 3)));
  struct Row {
    int mode;
    const char* factor;
    const char *b1, *c1;
  } rows[] = {
      {kCopyValues, "", "4", "8"},
      {kCopyScale, "1/2", "2", "4"},
      {kCopyInvert, "", "0.25", "0.125"},
      {kCopyTranspose, "", "4", "8"},
      {kCopyFormulas, "", "4", "+A1*2"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.mode);
    dialog.mode = row.mode;
    dialog.factorText = row.factor;
    dialog.toText = "B1";
    if (row.mode == kCopyTranspose) {
      ASSERT_TRUE(dialog.Apply());
      EXPECT_EQ(Contents(0, 1), row.b1);
      EXPECT_EQ(Contents(0, 2), row.c1);
    } else {
      ASSERT_TRUE(dialog.Apply());
      EXPECT_EQ(Contents(0, 1), row.b1);
      EXPECT_EQ(Contents(1, 1), row.c1);
    }
  }
  dialog.mode = kCopyScale;
  dialog.factorText = "\"x\"";
  ASSERT_TRUE(EnterCell("", 0, 3));
  dialog.toText = "D1";
  EXPECT_FALSE(dialog.Apply());
  EXPECT_EQ(Contents(0, 3), "");
  EXPECT_EQ(EvaluateNumberField("3*4"), "12");
  EXPECT_EQ(EvaluateNumberField("@foo("), "-1");
}

}  // namespace
}  // namespace corvane::testing

// The graph settings dialog's values: page codes, type buttons, control
// rules, reading the edits on "&Ok", and "&Cancel" restoring the graph and
// the named-graph table.
#include "spreadsheet/graphs/GraphSettings.h"

#include "spreadsheet/graphs/NamedGraphs.h"
#include "tests/spreadsheet/graphs/GraphTestSupport.h"

namespace corvane::testing {
namespace {

using GraphSettingsTest = GraphTest;

TEST(GraphSettingsPagesTest, PageCodesSizesAndTypeButtons) {
  TGraphPageRequest scalesY = GraphDecodePageCode(3 | 1 << 4);
  EXPECT_EQ(scalesY.page, 3);
  EXPECT_EQ(scalesY.tab, 1);
  EXPECT_FALSE(scalesY.modal);
  EXPECT_EQ(GraphPageFormSize(3), (classlib::TSize{334, 298}));
  EXPECT_EQ(GraphPageFormSize(12), (classlib::TSize{404, 320}));
  TGraphPageRequest modal = GraphDecodePageCode(~(2 | 4 << 4));
  EXPECT_TRUE(modal.modal);
  EXPECT_EQ(modal.page, 2);
  EXPECT_EQ(modal.tab, 4);
  EXPECT_EQ(GraphPageCaption(4), "Names");

  EXPECT_EQ(GraphTypeOf2DButton(11), kGraphContour);
  EXPECT_EQ(GraphTypeOf2DButton(12), -1);
  const int threeD[] = {11, 14, 15, 12, 16, 17};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(GraphTypeOf3DButton(i), threeD[i]);
  for (int type = 0; type <= kGraphStack3D; ++type) {
    TGraphTypeButton b = GraphTypeButtonOf(type);
    EXPECT_EQ(b.threeD ? GraphTypeOf3DButton(b.index) : GraphTypeOf2DButton(b.index), type);
  }
}

TEST_F(GraphSettingsTest, ControlsWriteTheCurrentGraphAtOnce) {
  TGraphSettings dialog;
  dialog.Begin();
  dialog.Choose3DType(2);
  EXPECT_EQ(CurrentGraph().Type(), kGraphDonut3D);
  dialog.ChooseThickness(2, 3);
  EXPECT_EQ(CurrentGraph().Thickness(2), 4);
  EXPECT_EQ(CurrentGraph().LineStyle(2), 1);
  dialog.ChooseStyle(2, 2);
  EXPECT_EQ(CurrentGraph().LineStyle(2), 3);
  EXPECT_EQ(CurrentGraph().Thickness(2), 1);
  dialog.Edit([](TGraphRecord& g) { g.SetLegend(1, "North"); });
  dialog.ClearLegends();
  EXPECT_EQ(CurrentGraph().Legend(1), "");
  dialog.ResetRanges();
  EXPECT_FALSE(RangeIsValid(CurrentGraph().XRange()));
  EXPECT_EQ(dialog.fields.xRange, "");
  // Scaling and axis buttons take effect when picked, and "&Ok" keeps them.
  dialog.ChooseManual(1, true);
  EXPECT_TRUE(CurrentGraph().YManual());
  EXPECT_FALSE(CurrentGraph().XManual());
  dialog.ChooseExponential(0, true);
  EXPECT_EQ(CurrentGraph().AxisOptions() & 0xC0, 0x80);
  dialog.ChooseManual(1, false);
  dialog.ChooseExponential(1, true);
  EXPECT_FALSE(CurrentGraph().YManual());
  EXPECT_EQ(CurrentGraph().AxisOptions() & 0xC0, 0xC0);
  TGraphSettingsProblem problem;
  ASSERT_TRUE(dialog.Ok(problem)) << problem.message;
  EXPECT_EQ(CurrentGraph().AxisOptions() & 0xC0, 0xC0);
  EXPECT_FALSE(CurrentGraph().YManual());
}

TEST_F(GraphSettingsTest, OkReadsTheEditsOrNamesTheFirstThatDoesNotRead) {
  TGraphSettings dialog;
  dialog.Begin();
  EXPECT_EQ(dialog.fields.xRange, "");  // a fresh record's ranges are unset
  EXPECT_EQ(dialog.fields.labelRanges[0], "");
  dialog.fields.xRange = "a1..a5";
  dialog.fields.seriesRanges[0] = "B1..B5";
  dialog.fields.labelRanges[5] = "";
  auto& y = dialog.fields.axes[1];
  y.lower = "2*5";
  y.upper = "100";
  y.step = "5";
  y.manual = false;  // "&Auto": the values stay, the flag goes
  y.exponential = true;
  TGraphSettingsProblem problem;
  ASSERT_TRUE(dialog.Ok(problem)) << problem.message;
  TGraphRecord g = CurrentGraph();
  EXPECT_EQ(g.XRange(), MakeRange(0, 0, 0, 4));
  EXPECT_EQ(g.SeriesRange(1), MakeRange(1, 0, 1, 4));
  EXPECT_FALSE(RangeIsValid(g.LabelRange(6)));
  EXPECT_EQ(g.YLower(), 10);
  EXPECT_EQ(g.YUpper(), 100);
  EXPECT_EQ(g.YStep(), 5);
  EXPECT_FALSE(g.YManual());
  EXPECT_EQ(g.AxisOptions(), 0x40);

  const struct {
    const char* name;
    std::function<void(TGraphSettingsFields&)> spoil;
    TGraphSettingsField field;
    int index;
  } rows[] = {
      {"a range off the sheet", [](auto& f) { f.seriesRanges[2] = "A1..A9000"; }, TGraphSettingsField::kSeriesRange, 3},
      {"no range at all", [](auto& f) { f.xRange = "12abc"; }, TGraphSettingsField::kXRange, 0},
      {"a formula that does not compile", [](auto& f) { f.axes[0].upper = "3+"; }, TGraphSettingsField::kUpper, 0},
      {"a text result", [](auto& f) { f.axes[1].lower = "\"abc\""; }, TGraphSettingsField::kLower, 1},
      {"an empty edit", [](auto& f) { f.axes[1].lower = ""; }, TGraphSettingsField::kLower, 1},
      {"a step beyond a byte", [](auto& f) { f.axes[0].step = "300"; }, TGraphSettingsField::kStep, 0},
      {"a fractional division", [](auto& f) { f.axes[1].divisions = "1.5"; }, TGraphSettingsField::kDivisions, 1},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    dialog.Begin();
    TGraphRecord before = CurrentGraph();
    r.spoil(dialog.fields);
    EXPECT_FALSE(dialog.Ok(problem));
    EXPECT_EQ(problem.field, r.field);
    EXPECT_EQ(problem.index, r.index);
    EXPECT_FALSE(problem.message.empty());
    EXPECT_EQ(CurrentGraph(), before);
    EXPECT_FALSE(ErrorFlagSet());
  }

  std::string text = "1/4", message;
  EXPECT_TRUE(dialog.EvaluateScaleText(text, message));
  EXPECT_EQ(text, "0.25");
  text = "1/";
  EXPECT_FALSE(dialog.EvaluateScaleText(text, message));
  EXPECT_EQ(text, "1/");
}

TEST_F(GraphSettingsTest, CancelRestoresTheGraphAndTheNamedGraphTable) {
  TGraphRecord pie = TGraphRecord::Fresh();
  pie.SetType(kGraphPie);
  SetCurrentGraph(pie);
  ASSERT_EQ(GraphStore("KEEP"), 1);
  ASSERT_EQ(GraphStore("GONE"), 2);
  TGraphRecord current = CurrentGraph();
  std::vector<TGraphRecord> table = NamedGraphsCopy();

  TGraphSettings dialog;
  dialog.Begin();
  dialog.Choose2DType(4);
  std::string message;
  EXPECT_FALSE(dialog.New("   ", message));
  EXPECT_FALSE(message.empty());
  EXPECT_TRUE(dialog.New("NEW ONE", message));
  EXPECT_EQ(dialog.Names(), (std::vector<std::string>{"KEEP", "GONE", "NEWONE"}));
  EXPECT_TRUE(dialog.Delete("gone"));
  EXPECT_TRUE(dialog.Delete("keep"));
  ASSERT_TRUE(dialog.Cancel());
  EXPECT_EQ(CurrentGraph(), current);
  EXPECT_EQ(NamedGraphsCopy(), table);
  EXPECT_EQ(GraphFind("GONE"), 2);

  for (int i = 3; i <= kMaxNamedGraphs; ++i) ASSERT_NE(GraphStore("G" + std::to_string(i)), 0);
  dialog.Begin();
  EXPECT_FALSE(dialog.New("ONEMORE", message));
  EXPECT_EQ(message, "Named Graphs>50");
  EXPECT_TRUE(dialog.Use("keep"));
  EXPECT_EQ(dialog.Record().Name(), "KEEP");
}

}  // namespace
}  // namespace corvane::testing

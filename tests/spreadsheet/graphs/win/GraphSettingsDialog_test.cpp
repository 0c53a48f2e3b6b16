// The graph settings dialog under Wine: its pages and sizes, type buttons,
// range and scale edits read on "&Ok" with a message for what does not read,
// the names page, and "&Cancel" (also Escape in a modal run) undoing all of
// it, the named-graph table included. A picture of each page is saved.
#include "spreadsheet/graphs/win/GraphSettingsDialog.h"

#include <string>
#include <vector>

#include "spreadsheet/controls/win/TabBarWindow.h"
#include "spreadsheet/engine/RangePrompt.h"
#include "spreadsheet/engine/ShowError.h"
#include "spreadsheet/graphs/GraphViewModel.h"
#include "spreadsheet/graphs/win/GraphView.h"
#include "tests/spreadsheet/graphs/GraphTestSupport.h"
#include "tests/support/win/DialogChecks.h"
#include "tests/support/win/UiKit.h"

namespace corvane::testing {
namespace {

using namespace classlib;

std::vector<std::string> gErrors;
void RecordError(std::string_view message) { gErrors.emplace_back(message); }

class GraphSettingsDialogTest : public GraphTest {
 protected:
  void SetUp() override {
    GraphTest::SetUp();
    gErrors.clear();
    SetShowErrorHandler(RecordError);
  }
  void TearDown() override {
    SetShowErrorHandler(nullptr);
    GraphTest::TearDown();
  }
  // Focuses `edit`, gives it `text` and moves on, as typing and Tab would.
  static void Type(TEdit* edit, const std::string& text, TWinControl* next) {
    edit->SetFocus();
    edit->SetText(text);
    next->SetFocus();
    uikit::RunUntilIdle();
  }
};

TEST_F(GraphSettingsDialogTest, PagesEditsOkCancelAndNames) {
  Column(0, {"a", "b", "c", "d"});
  Column(1, {"1", "2", "3", "4"});
  TGraphRecord line = Graph(kGraphLine, 4, 1);
  line.SetLabelLocation(1, 2);
  SetCurrentGraph(line);
  ASSERT_EQ(GraphStore("FIRST"), 1);
  std::vector<TGraphRecord> table = NamedGraphsCopy();
  int changes = 0;
  TGrange dialog(nullptr);
  dialog.OnGraphChanged = [&](TObject*) { ++changes; };

  // A picture of every page, and of each further tab of a page.
  for (int page = 0; page <= 8; ++page) {
    int tabs = dialog.TabBar(page) ? dialog.TabBar(page)->Model().Count() : 1;
    for (int tab = 0; tab < tabs; ++tab) {
      // Of the series tabs of Options, the first stands for all.
      if (page == kGraphPageOptions && tab > 0 && tab < tabs - 1) continue;
      dialog.ShowPage(GraphPageCode(page, tab));
      uikit::RunUntilIdle();
      uikit::SaveWindowPicture(dialog.Handle(), "graph-settings-page-" + std::to_string(page) +
                                                    (tab > 0 ? "-tab-" + std::to_string(tab) : ""));
    }
  }
  // The Options page's Typeface sub-page: the font picker, which edits the
  // graph as on the Fonts page; the button leads back to the series' format.
  dialog.ShowPage(GraphPageCode(kGraphPageOptions, 1));
  uikit::RunUntilIdle();
  uikit::Click(dialog.TypefaceButton()->Handle(), {5, 5});
  uikit::RunUntilIdle();
  EXPECT_TRUE(IsWindowVisible(dialog.FontList()->Handle()));
  EXPECT_FALSE(IsWindowVisible(dialog.OptionChoice(0)->Handle()));
  uikit::SaveWindowPicture(dialog.Handle(), "graph-settings-page-2-typeface");
  dialog.FontSize()->SetText("30");
  EXPECT_EQ(CurrentGraph().FontSize(1), 30);
  uikit::Click(dialog.TypefaceButton()->Handle(), {5, 5});
  EXPECT_FALSE(IsWindowVisible(dialog.FontList()->Handle()));
  EXPECT_TRUE(IsWindowVisible(dialog.OptionChoice(0)->Handle()));
  dialog.ShowPage(kGraphPageFonts);
  EXPECT_TRUE(IsWindowVisible(dialog.FontList()->Handle())) << "the Fonts page has its picker back";
  // The location buttons show series 1's location from the start.
  EXPECT_TRUE(dialog.LocationButton(1)->Checked()) << "\"&Below\"";

  // The Scales page at its Y tab: an expression becomes its number on leaving.
  dialog.ShowPage(GraphPageCode(kGraphPageScales, 1));
  uikit::RunUntilIdle();
  EXPECT_EQ(dialog.Page(), kGraphPageScales);
  EXPECT_EQ(dialog.Tab(), 1);
  EXPECT_EQ(dialog.Width(), 334);
  EXPECT_EQ(dialog.Height(), 298);
  EXPECT_EQ(dialog.Text(), "Scale: Set Y-Axis");
  Type(dialog.ScaleEdit(0), "2*5", dialog.ScaleEdit(1));
  EXPECT_EQ(dialog.ScaleEdit(0)->Text(), "10");
  Type(dialog.ScaleEdit(1), "4/", dialog.ScaleEdit(2));
  EXPECT_EQ(gErrors, std::vector<std::string>{"Error:Invalid Number"});
  Type(dialog.ScaleEdit(1), "50", dialog.ScaleEdit(2));
  // The scaling and axis buttons change the graph when picked.
  uikit::Click(dialog.ScalingButton(0)->Handle(), {5, 5});  // "&Manual"
  EXPECT_TRUE(CurrentGraph().YManual());
  uikit::Click(dialog.AxisButton(1)->Handle(), {5, 5});  // "&Exp"
  EXPECT_EQ(CurrentGraph().AxisOptions() & 0xC0, 0x40);
  uikit::Click(dialog.AxisButton(0)->Handle(), {5, 5});  // "&Normal"
  EXPECT_EQ(CurrentGraph().AxisOptions() & 0xC0, 0);
  uikit::Click(dialog.ScalingButton(1)->Handle(), {5, 5});  // "&Auto"
  EXPECT_FALSE(CurrentGraph().YManual());
  // Insert goes on to the main window.
  std::vector<int> passed;
  dialog.OnPassKey = [&](int key) { passed.push_back(key); };
  uikit::PressKey(dialog.ScaleEdit(2)->Handle(), VK_INSERT);
  EXPECT_EQ(passed, std::vector<int>{VK_INSERT});

  // Type buttons write the current graph at once.
  dialog.ShowPage(kGraphPageType);
  uikit::Click(dialog.TypeButton(false, 1)->Handle(), {5, 5});
  EXPECT_EQ(CurrentGraph().Type(), kGraphBar);
  dialog.TabBar(kGraphPageType)->Model().SetItemIndex(1);
  uikit::Click(dialog.TypeButton(true, 2)->Handle(), {5, 5});
  EXPECT_EQ(CurrentGraph().Type(), kGraphDonut3D);
  EXPECT_GT(changes, 0);

  // A double click on a range edit points at the sheet with the dialog hidden.
  dialog.ShowPage(kGraphPageRanges);
  uikit::RunUntilIdle();
  PostMessageA(dialog.RangeEdit(2)->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  uikit::RunUntilIdle();
  EXPECT_TRUE(RangePromptActive());
  EXPECT_FALSE(dialog.Visible());
  windows.promptText = "C1..C4";
  EXPECT_TRUE(RangePromptEnd(true));
  EXPECT_TRUE(dialog.Visible());
  EXPECT_EQ(dialog.RangeEdit(2)->Text(), "C1..C4");

  // A label range that does not read keeps the dialog open at that edit.
  dialog.RangeEdit(0)->SetText("a1..a3");
  dialog.LabelEdit(2)->SetText("zz");
  gErrors.clear();
  EXPECT_FALSE(dialog.OkClick());
  EXPECT_EQ(gErrors, std::vector<std::string>{"Error:Invalid Range"});
  EXPECT_TRUE(dialog.Visible());
  EXPECT_EQ(dialog.Tab(), 1);
  dialog.LabelEdit(2)->SetText("c1..c3");
  EXPECT_TRUE(dialog.OkClick());
  EXPECT_FALSE(dialog.Visible());
  TGraphRecord stored = CurrentGraph();
  EXPECT_EQ(stored.XRange(), MakeRange(0, 0, 0, 2));
  EXPECT_EQ(stored.LabelRange(2), MakeRange(2, 0, 2, 2));
  EXPECT_EQ(stored.YLower(), 10);
  EXPECT_EQ(stored.YUpper(), 50);
  EXPECT_FALSE(stored.YManual()) << "Auto keeps the values and clears the flag";

  // Names, headings and types changed, then Cancel: all of it undone.
  dialog.ShowPage(kGraphPageNames);
  dialog.NameEdit()->SetText("second");
  EXPECT_EQ(dialog.NameEdit()->Text(), "SECOND");
  uikit::Click(dialog.NameButton(0)->Handle(), {5, 5});
  EXPECT_EQ(dialog.NameList()->Items(), (std::vector<std::string>{"FIRST", "SECOND"}));
  dialog.NameEdit()->SetText("FIRST");
  uikit::Click(dialog.NameButton(1)->Handle(), {5, 5});
  EXPECT_EQ(dialog.NameList()->Items(), std::vector<std::string>{"SECOND"});
  dialog.ShowPage(kGraphPageHeadings);
  dialog.HeadingEdit(1)->SetText("Changed");
  EXPECT_EQ(CurrentGraph().Heading(1), "Changed");
  dialog.CancelClick();
  EXPECT_EQ(CurrentGraph(), stored);
  EXPECT_EQ(NamedGraphsCopy(), table);

  // "&Use" shows the graph window at the current graph.
  TGraphView view(nullptr);
  ConnectGraphViewAndSettings(view, dialog);
  dialog.OnGraphChanged = [&](TObject*) {
    ++changes;
    view.GraphChanged();
  };
  dialog.ShowPage(kGraphPageNames);
  dialog.NameEdit()->SetText("FIRST");
  uikit::Click(dialog.NameButton(2)->Handle(), {5, 5});
  EXPECT_FALSE(dialog.Visible());
  EXPECT_TRUE(view.Visible());
  EXPECT_EQ(CurrentGraph().Name(), "FIRST");
  SetCurrentGraph(stored);

  // An element page of the window showing a named graph edits that graph,
  // not the current one.
  const int first = GraphFind("FIRST");
  view.ShowGraph(first);
  uikit::RunUntilIdle();
  uikit::RunInsideModal([&] {
    dialog.HeadingEdit(1)->SetText("Boxed");
    dialog.OkClick();
  });
  view.OpenElementPage(9);  // the main heading
  TGraphRecord named;
  ASSERT_TRUE(GraphRecordAt(first, named));
  EXPECT_EQ(named.Heading(1), "Boxed");
  EXPECT_EQ(CurrentGraph(), stored);
  view.Hide();

  // A modal run: a click on "&Pie", then Escape, which undoes the click.
  uikit::PostClick(dialog.TypeButton(false, 2)->Handle(), {5, 5});
  uikit::PostKey(dialog.Handle(), VK_ESCAPE);
  int before = changes;
  dialog.ShowPage(~GraphPageCode(kGraphPageType, 0));
  EXPECT_FALSE(dialog.Visible());
  EXPECT_GE(changes, before + 2) << "the click and the cancel both changed the graph";
  EXPECT_EQ(CurrentGraph(), stored);
}

// Every page and tab from the keyboard: the dialog opens on the page's first
// control, Tab goes round all of them in reading order and then Ok and
// Cancel, nothing overlaps; Ctrl+Tab changes tabs; Escape on the tab strip
// closes the dialog, and on the font page goes to the font list.
TEST_F(GraphSettingsDialogTest, KeyboardWalksEveryPage) {
  TForm main(nullptr, "main");
  main.Show();
  auto* dialog = new TGrange(&main);
  const struct {
    int page;
    const char* first;
  } rows[] = {
      {kGraphPageType, "tabbar<>"},        {kGraphPageRanges, "tabbar<>"}, {kGraphPageOptions, "tabbar<>"},
      {kGraphPageScales, "tabbar<>"},      {kGraphPageNames, "Edit<N&ame:>"}, {kGraphPageHeadings, "Edit<&Main: >"},
      {kGraphPageColors, "Button<&Ok>"},   {kGraphPageFonts, "ListBox<>"},  {kGraphPageLegends, "Edit<&1: >"},
  };
  for (const auto& row : rows) {
    const int tabs = dialog->TabBar(row.page) ? dialog->TabBar(row.page)->Model().Count() : 1;
    for (int tab = 0; tab < tabs; ++tab) {
      dialog->ShowPage(GraphPageCode(row.page, tab));
      uikit::RunUntilIdle();
      const std::string where = "page " + std::to_string(row.page) + " tab " + std::to_string(tab);
      if (tab == 0) {
        EXPECT_EQ(uikit::ControlName(GetFocus()), row.first) << where;
      }
      const uikit::TTabWalk walk = uikit::WalkTabOrder(dialog->Handle());
      ASSERT_FALSE(walk.cycle.empty()) << where;
      EXPECT_EQ(walk.cycle.back().find("trapped"), std::string::npos) << where << ": " << walk.cycle.back();
      EXPECT_EQ(walk.unreached, std::vector<std::string>{}) << where;
      EXPECT_EQ(walk.backwards, std::vector<std::string>{}) << where;
      EXPECT_EQ(uikit::OverlappingControls(dialog->Handle()), std::vector<std::string>{}) << where;
      dialog->CancelClick();
    }
  }
  // Ctrl+Tab and Ctrl+Shift+Tab step through the Options page's series tabs;
  // the keyboard goes to the tab's first control, off the tab strip.
  dialog->ShowPage(GraphPageCode(kGraphPageOptions, 5));
  uikit::RunUntilIdle();
  uikit::PressKey(GetFocus(), VK_TAB, ssCtrl);
  EXPECT_EQ(dialog->Tab(), 6);
  EXPECT_NE(GetFocus(), dialog->TabBar(kGraphPageOptions)->Handle()) << "the tab's first control";
  EXPECT_TRUE(IsChild(dialog->Handle(), GetFocus()));
  uikit::PressKey(GetFocus(), VK_TAB, ssCtrl);
  EXPECT_EQ(dialog->Tab(), 0) << "round";
  uikit::PressKey(GetFocus(), VK_TAB, ssCtrl | ssShift);
  EXPECT_EQ(dialog->Tab(), 6);
  // Escape on the tab strip closes the dialog.
  dialog->TabBar(kGraphPageOptions)->SetFocus();
  uikit::PressKey(GetFocus(), VK_ESCAPE);
  EXPECT_FALSE(dialog->Visible());
  EXPECT_TRUE(IsWindowEnabled(main.Handle()));
  dialog->ShowPage(kGraphPageFonts);
  uikit::RunUntilIdle();
  dialog->FontSize()->SetFocus();
  uikit::PressKey(GetFocus(), VK_ESCAPE);
  EXPECT_TRUE(dialog->Visible()) << "Escape on the font page stays";
  EXPECT_EQ(GetFocus(), dialog->FontList()->Handle());
  dialog->CancelClick();
}

TEST_F(GraphSettingsDialogTest, MainWindowDisabledWhileUp) {
  TForm main(nullptr, "main");
  main.Show();
  auto* dialog = new TGrange(&main);  // the main window owns it
  dialog->ShowPage(kGraphPageHeadings);
  uikit::RunUntilIdle();
  EXPECT_FALSE(IsWindowEnabled(main.Handle()));
  dialog->CancelClick();
  EXPECT_TRUE(IsWindowEnabled(main.Handle()));
  dialog->ShowPage(kGraphPageLegends);
  dialog->Close();
  EXPECT_TRUE(IsWindowEnabled(main.Handle())) << "closed by its close box";
}

}  // namespace
}  // namespace corvane::testing

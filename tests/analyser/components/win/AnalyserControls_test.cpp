// The analyser's controls in windows under Wine: the chart control over the
// chart library, the report list view's sorting and saved layout, and the
// splitter.
#include <gtest/gtest.h>

#include "analyser/components/win/AdvSplitter.h"
#include "analyser/components/win/ChartFX.h"
#include "analyser/components/win/ExtListView.h"
#include "classlib/win/Registry.h"
#include "classlib/win/StdCtrls.h"
#include "tests/support/win/UiKit.h"

namespace foldwick {
namespace {

using classlib::TForm;

std::unique_ptr<TForm> ShownForm(const char* caption) {
  auto form = std::make_unique<TForm>(nullptr, caption);
  form->Position = classlib::TPosition::poDesigned;
  form->SetBounds(30, 30, 520, 380);
  return form;
}

TEST(ChartControl, HostsTheLibrarysChartAndReportsItsDoubleClicks) {
  auto form = ShownForm("Chart");
  auto* chart = new TChartFX(form.get());
  ASSERT_TRUE(chart->HasChart()) << chart->LibraryError();
  chart->SetAlign(classlib::alClient);
  chart->SetParent(form.get());
  form->Show();
  uikit::RunUntilIdle();
  EXPECT_EQ(GetParent(chart->ChartHandle()), chart->Handle());
  EXPECT_TRUE(chart->Attached());

  chart->SetType_(chartlib::kTypePie);
  chart->OpenData(1, 1, 2);
  chart->SetValue(0, 1);
  chart->SetValue(1, 1);
  chart->SetLegend(1, "second");
  chart->CloseData(4097);
  chart->SetTitle(2, std::string(300, 'T'));
  EXPECT_EQ(chart->GetTitle(2), std::string(254, 'T'));
  UpdateWindow(chart->ChartHandle());
  uikit::RunUntilIdle();

  // Where the second slice is, asked of the chart; a double-click there
  // names it.
  int at = -1;
  for (int y = 10; y < chart->ClientHeight() && at < 0; y += 10)
    for (int x = 10; x < chart->ClientWidth() && at < 0; x += 10) {
      const TChartVariant hit = chart->PaintInfo2(2, (y << 16) | x);
      if (std::holds_alternative<int>(hit) && std::get<int>(hit) == (1 << 16)) at = (y << 16) | x;
    }
  ASSERT_GE(at, 0);
  int clicked = -1;
  chart->OnLButtonDblClk = [&](classlib::TObject*, std::int16_t x, std::int16_t y, std::int16_t, std::int32_t point,
                               std::int16_t&) {
    clicked = point;
    EXPECT_EQ((y << 16) | x, at);
  };
  PostMessageA(chart->ChartHandle(), WM_LBUTTONDBLCLK, 0, at);
  uikit::RunUntilIdle();
  EXPECT_EQ(clicked, 1);
  EXPECT_EQ(chart->GetLegend(1), "second");

  // A library that is not there, or not the chart library, leaves a control
  // without a chart that says why and does nothing.
  const std::string saved = TChartFX::LibraryName;
  for (const char* name : {"NoSuchChart.dll", "Handler.dll"}) {
    TChartFX::LibraryName = name;
    auto* none = new TChartFX(form.get());
    none->SetParent(form.get());
    EXPECT_FALSE(none->HasChart()) << name;
    EXPECT_NE(none->LibraryError().find(name), std::string::npos) << none->LibraryError();
    EXPECT_NE(none->Handle(), nullptr);
    none->SetTitle(0, "x");
    EXPECT_EQ(none->GetTitle(0), "");
    EXPECT_EQ(none->DispatchCommand(kChartControlId, 0), 0);
  }
  TChartFX::LibraryName = saved;
}

TEST(ReportList, SortsByClickedColumnsAndKeepsItsLayout) {
  const std::string key = "Software\\Corvane Tests\\ReportList";
  classlib::TRegistry registry;
  registry.DeleteKey("\\" + key);
  auto form = ShownForm("List");
  auto* list = new TExtListView(form.get());
  list->SetAlign(classlib::alClient);
  list->SetStyle(TLVStyle::lvOwnerDrawFixed);
  list->AddColumn("Name", 100, classlib::TAlignment::taLeftJustify);
  list->AddColumn("Size", 80, classlib::TAlignment::taRightJustify);
  list->AddColumn("Date", 90, classlib::TAlignment::taLeftJustify);
  list->SetAutoColumnSort(TAutoColumnSort::acsSortToggle);
  list->SetShowSortArrows(true);
  list->SaveSettings.AutoSave = true;
  list->SaveSettings.RegistryKey = key;
  std::vector<int> drawnColumns;
  list->OnDrawSubItem = [&](classlib::TObject*, classlib::TCanvas&, int index, int column, classlib::TRect,
                            TOwnerDrawState, bool& defaultDrawing) {
    if (index == 0) drawnColumns.push_back(column);
    defaultDrawing = true;
  };
  list->SetParent(form.get());
  for (auto row : {std::vector<std::string>{"b", "10", "1/2/2000"}, {"a", "9", "12/1/1999"}, {"c", "100", "3/3/2001"}}) {
    classlib::TListItem* item = list->AddItem();
    item->Caption = row[0];
    item->SubItems = {row[1], row[2]};
    item->Update();
  }
  list->Loaded();
  form->Show();
  uikit::RunUntilIdle();
  auto captions = [&] {
    std::string s;
    for (int i = 0; i < list->Count(); ++i) s += list->Item(i)->Caption;
    return s;
  };
  EXPECT_EQ(captions(), "abc");  // sorted by the first column after loading

  // A click on the size header sorts by number, a second click turns round.
  HWND header = list->HeaderHandle();
  RECT size;
  SendMessageA(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&size));
  const classlib::TPoint sizeMiddle{(size.left + size.right) / 2, (size.top + size.bottom) / 2};
  uikit::Click(header, sizeMiddle);
  EXPECT_EQ(captions(), "abc");
  uikit::Click(header, sizeMiddle);
  EXPECT_EQ(captions(), "cba");
  list->ClickColumn(2, true);
  EXPECT_EQ(captions(), "abc");  // dates as dates

  // Rows are drawn in the order the columns are shown.
  list->SetColumnOrder({2, 0, 1});
  list->SetColumnWidth(2, 120);
  drawnColumns.clear();
  list->Invalidate();
  uikit::RunUntilIdle();
  ASSERT_GE(drawnColumns.size(), 3u);
  EXPECT_EQ(std::vector<int>(drawnColumns.begin(), drawnColumns.begin() + 3), (std::vector<int>{2, 0, 1}));
  form.reset();

  ASSERT_TRUE(registry.OpenKey("\\" + key + "\\Columns", false));
  EXPECT_EQ(registry.ReadString("Order"), "2,0,1");
  EXPECT_EQ(registry.ReadString("Sizes"), "120,100,80");
  // A damaged order is not used; the widths still are.
  registry.WriteString("Order", "2,2,0");
  registry.CloseKey();
  auto again = ShownForm("List again");
  auto* second = new TExtListView(again.get());
  for (const char* caption : {"Name", "Size", "Date"}) second->AddColumn(caption, 50, classlib::TAlignment::taLeftJustify);
  second->SaveSettings.AutoSave = true;
  second->SaveSettings.RegistryKey = key;
  second->SetParent(again.get());
  second->Loaded();
  EXPECT_EQ(second->ColumnOrder(), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(second->ColumnWidth(0), 120);
  EXPECT_EQ(second->ColumnWidth(2), 80);
  registry.DeleteKey("\\" + key);
}

TEST(Splitter, DraggingResizesTheTreeSideWithinBounds) {
  auto form = ShownForm("Splitter");
  auto* left = new classlib::TPanel(form.get());
  left->SetAlign(classlib::alLeft);
  left->SetWidth(150);
  left->SetParent(form.get());
  auto* splitter = new TAdvSplitter(form.get());
  splitter->SetParent(form.get());
  auto* right = new classlib::TPanel(form.get());
  right->SetAlign(classlib::alClient);
  right->SetParent(form.get());
  int moved = 0;
  splitter->OnMoved = [&](classlib::TObject*) { ++moved; };
  form->Show();
  uikit::RunUntilIdle();
  ASSERT_EQ(splitter->Left(), 150);
  HWND bar = splitter->Handle();
  uikit::MouseDown(bar, {2, 50});
  uikit::MouseMove(bar, {62, 50}, classlib::ssLeft);
  EXPECT_EQ(left->Width(), 212);
  uikit::MouseMove(bar, {-200, 50}, classlib::ssLeft);
  EXPECT_EQ(left->Width(), 30);
  uikit::MouseUp(bar, {-200, 50});
  EXPECT_EQ(moved, 1);
}

}  // namespace
}  // namespace foldwick

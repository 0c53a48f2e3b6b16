// The analyser's controls in windows under Wine: the chart control over the
// chart library, the report list view's sorting and saved layout, the
// splitter and the link label at the keyboard.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "analyser/components/win/AdvSplitter.h"
#include "analyser/components/win/ChartFX.h"
#include "analyser/components/win/ExtListView.h"
#include "classlib/Assert.h"
#include "classlib/win/Application.h"
#include "classlib/win/Registry.h"
#include "classlib/win/StdCtrls.h"
#include "tests/support/win/Screen.h"
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

  // The chart's own tool bar: shown on the flag (the control hears of it),
  // its buttons choose the type and switch 3-D, and the chart moves below it.
  int shown = -1, changedType = -1;
  chart->OnShowToolbar = [&](classlib::TObject*, std::int16_t type, std::int16_t&) { shown = type; };
  chart->OnChangeType = [&](classlib::TObject*, std::int16_t type, std::int16_t&) { changedType = type; };
  EXPECT_EQ(FindWindowExA(chart->ChartHandle(), nullptr, TOOLBARCLASSNAMEA, nullptr), nullptr);
  chart->SetToolBar(true);
  UpdateWindow(chart->ChartHandle());
  uikit::RunUntilIdle();
  HWND tools = FindWindowExA(chart->ChartHandle(), nullptr, TOOLBARCLASSNAMEA, nullptr);
  ASSERT_NE(tools, nullptr);
  EXPECT_TRUE(IsWindowVisible(tools));
  EXPECT_EQ(shown, 1);
  const int buttons = static_cast<int>(SendMessageA(tools, TB_BUTTONCOUNT, 0, 0));
  // Clicks the button, then posts `keys` (for a menu the button opens).
  auto press = [&](const char* caption, std::vector<int> keys = {}) {
    for (int i = 0; i < buttons; ++i) {
      TBBUTTON button = {};
      SendMessageA(tools, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button));
      char text[32] = "";
      SendMessageA(tools, TB_GETBUTTONTEXTA, static_cast<WPARAM>(button.idCommand), reinterpret_cast<LPARAM>(text));
      if (std::string(text) != caption) continue;
      RECT r;
      SendMessageA(tools, TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
      uikit::PostClick(tools, {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
      for (int key : keys) uikit::PostKey(tools, key);
      uikit::RunUntilIdle();
      return true;
    }
    return false;
  };
  ASSERT_TRUE(press("Bar"));
  EXPECT_EQ(chart->ChartType(), chartlib::kTypeBar);
  EXPECT_EQ(changedType, chartlib::kTypeBar);
  const bool was3D = chart->Chart3D();
  ASSERT_TRUE(press("3-D"));
  EXPECT_NE(chart->Chart3D(), was3D);
  // The gallery's second type is the pie.
  ASSERT_TRUE(press("Gallery", {VK_DOWN, VK_DOWN, VK_RETURN}));
  EXPECT_EQ(chart->ChartType(), chartlib::kTypePie);
  EXPECT_EQ(changedType, chartlib::kTypePie);
  uikit::SaveWindowPicture(form->Handle(), "chart-toolbar");
  chart->SetToolBar(false);
  UpdateWindow(chart->ChartHandle());
  uikit::RunUntilIdle();
  EXPECT_FALSE(IsWindowVisible(tools));
  EXPECT_EQ(shown, 0);

  // Transfers repaint the chart by themselves, each one: the pie's hit map
  // names the slices of the last.
  for (int points : {1, 3}) {
    chart->OpenData(1, 1, points);
    for (int p = 0; p < points; ++p) {
      chart->SetValue(p, 1);
      chart->SetLegend(p, "slice " + std::to_string(p));
    }
    chart->CloseData(4097);
    uikit::RunUntilIdle();
    std::set<int> slices;
    for (int y = 10; y < chart->ClientHeight(); y += 10)
      for (int x = 10; x < chart->ClientWidth(); x += 10)
        if (const TChartVariant hit = chart->PaintInfo2(2, (y << 16) | x); std::holds_alternative<int>(hit))
          slices.insert(std::get<int>(hit) >> 16);
    slices.erase(-1);
    EXPECT_EQ(static_cast<int>(slices.size()), points) << points << " points";
  }

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

  // A new style makes the window again, with the rows, order and widths the
  // user left (and here, captions edited in place).
  list->ReadOnly = false;
  list->SetStyle(TLVStyle::lvStandard);
  EXPECT_EQ(GetWindowLongA(list->Handle(), GWL_STYLE) & (LVS_OWNERDRAWFIXED | LVS_EDITLABELS), LVS_EDITLABELS);
  EXPECT_EQ(list->ColumnOrder(), (std::vector<int>{2, 0, 1}));
  EXPECT_EQ(list->ColumnWidth(2), 120);
  list->ClickColumn(0, true);
  EXPECT_EQ(captions(), "abc");
  // An edited caption takes its place in the sort; a cancelled edit says so.
  std::string canceled;
  list->OnEditCanceled = [&](classlib::TObject*, classlib::TListItem* item) { canceled = item->Caption; };
  auto edit = [&](int index, const char* text, int key) {
    auto editor = reinterpret_cast<HWND>(SendMessageA(list->Handle(), LVM_EDITLABELA, static_cast<WPARAM>(index), 0));
    ASSERT_NE(editor, nullptr);
    if (text != nullptr) SetWindowTextA(editor, text);
    uikit::PressKey(editor, key);
    uikit::RunUntilIdle();
  };
  edit(0, "z", VK_RETURN);
  // The re-sort follows once the control has finished the edit.
  EXPECT_TRUE(classlib::ProcessMessagesUntil([&] { return captions() == "bcz"; }, 3000)) << captions();
  edit(0, nullptr, VK_ESCAPE);
  EXPECT_EQ(canceled, "b");
  EXPECT_EQ(captions(), "bcz");

  // The virtual mode turned on for a shown list: its rows come from the handler.
  list->OnVMGetItemInfo = [](classlib::TObject*, int item, int, unsigned, int&, LPARAM&, unsigned&, int&,
                             std::string& text) { text = "v" + std::to_string(item); };
  list->SetVirtualMode(true);
  list->SetVirtualCount(2);
  EXPECT_NE(GetWindowLongA(list->Handle(), GWL_STYLE) & LVS_OWNERDATA, 0);
  char text[16] = "";
  LVITEMA request = {};
  request.pszText = text;
  request.cchTextMax = sizeof text;
  SendMessageA(list->Handle(), LVM_GETITEMTEXTA, 1, reinterpret_cast<LPARAM>(&request));
  EXPECT_STREQ(text, "v1");
  list->SetVirtualMode(false);
  EXPECT_EQ(captions(), "bcz");
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

// A list of virtual rows: the control holds only their count. Rows make
// their texts when first shown, a sort keeps the selection and the focus on
// their row (rows added in the same update too), the keys move it, typing
// finds a row, a bad order changes nothing and a text is asked for by place.
TEST(ReportList, VirtualRowsMakeTextsWhenShownAndKeepTheSelectionThroughASort) {
  auto form = ShownForm("Virtual rows");
  auto* list = new TExtListView(form.get());
  list->SetAlign(classlib::alClient);
  list->SetStyle(TLVStyle::lvOwnerDrawFixed);
  list->VirtualRows = true;
  list->HideSelection = false;
  list->AddColumn("Name", 100, classlib::TAlignment::taLeftJustify);
  list->AddColumn("Size", 80, classlib::TAlignment::taRightJustify);
  int made = 0;
  list->OnGetRowTexts = [&](classlib::TObject*, classlib::TListItem* item) {
    ++made;
    item->SubItems = {std::to_string(reinterpret_cast<std::intptr_t>(item->Data))};
  };
  list->SetParent(form.get());
  constexpr int kRows = 3000;
  list->BeginUpdate();
  for (int i = 0; i < kRows; ++i) {
    classlib::TListItem* item = list->Add();
    char name[16];
    std::snprintf(name, sizeof name, "r%04d", i);
    item->Caption = name;
    item->Data = reinterpret_cast<void*>(static_cast<std::intptr_t>(i * 7919 % kRows));
    item->TextsPending = true;
  }
  list->EndUpdate();
  list->Loaded();
  form->Show();
  uikit::RunUntilIdle();
  EXPECT_NE(GetWindowLongA(list->Handle(), GWL_STYLE) & LVS_OWNERDATA, 0);
  EXPECT_EQ(SendMessageA(list->Handle(), LVM_GETITEMCOUNT, 0, 0), kRows);
  EXPECT_GT(made, 0);
  EXPECT_LT(made, 200);  // the rows drawn, not all
  // A row never drawn makes its texts when the control asks for them.
  char text[16] = "";
  LVITEMA request = {};
  request.iSubItem = 1;
  request.pszText = text;
  request.cchTextMax = sizeof text;
  SendMessageA(list->Handle(), LVM_GETITEMTEXTA, kRows - 1, reinterpret_cast<LPARAM>(&request));
  EXPECT_EQ(text, std::to_string((kRows - 1) * 7919 % kRows));

  // Home and five rows down, by keys; the sort by size (as numbers, largest
  // last) keeps that row selected wherever it goes.
  SetFocus(list->Handle());
  uikit::PressKey(list->Handle(), VK_HOME);
  for (int i = 0; i < 5; ++i) uikit::PressKey(list->Handle(), VK_DOWN);
  ASSERT_NE(list->Selected(), nullptr);
  EXPECT_EQ(list->Selected()->Caption, "r0005");
  list->ClickColumn(1, true);
  ASSERT_NE(list->Selected(), nullptr);
  EXPECT_EQ(list->Selected()->Caption, "r0005");
  EXPECT_EQ(list->Selected()->Index(), 5 * 7919 % kRows);
  for (int i = 0; i < kRows; ++i) EXPECT_EQ(list->Item(i)->Index(), i);
  EXPECT_EQ(list->Item(0)->Data, nullptr);  // the smallest size first

  // Typing a name's beginning finds its row, as the control's search asks.
  LVFINDINFOA find = {};
  find.flags = LVFI_STRING | LVFI_PARTIAL | LVFI_WRAP;
  find.psz = "R2999";
  const int found = static_cast<int>(SendMessageA(list->Handle(), LVM_FINDITEMA, 0, reinterpret_cast<LPARAM>(&find)));
  ASSERT_GE(found, 0);
  EXPECT_EQ(list->Item(found)->Caption, "r2999");

  // An order that names a row twice is no order: nothing moves.
  std::vector<int> order(kRows);
  for (int i = 0; i < kRows; ++i) order[static_cast<size_t>(i)] = kRows - 1 - i;
  std::vector<int> twice = order;
  twice[1] = twice[0];
  static int failures = 0;
  const classlib::TAssertHandler previous =
      classlib::SetAssertHandler([](const char*, const char*, int) { ++failures; });
  EXPECT_FALSE(list->Reorder(twice));
  classlib::SetAssertHandler(previous);
  EXPECT_EQ(failures, 1);
  EXPECT_EQ(list->Item(0)->Data, nullptr);
  EXPECT_TRUE(list->Reorder(order));
  EXPECT_EQ(list->Item(kRows - 1)->Data, nullptr);
  EXPECT_EQ(list->Selected()->Caption, "r0005");

  // A row deleted leaves the others' places whole.
  list->Delete(list->Item(0));
  EXPECT_EQ(list->Count(), kRows - 1);
  EXPECT_EQ(SendMessageA(list->Handle(), LVM_GETITEMCOUNT, 0, 0), kRows - 1);
  for (int i = 0; i < list->Count(); ++i) ASSERT_EQ(list->Item(i)->Index(), i);

  // Rows added while an update holds their count off and sorted in the same
  // update, as a folder's last files come in, one row deleted meanwhile:
  // the selection and the focus stay on the row the user chose.
  ASSERT_NE(list->Selected(), nullptr);
  list->Selected()->SetFocused(true);
  constexpr int kAdded = 40;
  list->BeginUpdate();
  for (int i = 0; i < kAdded; ++i) {
    classlib::TListItem* item = list->Add();
    item->Caption = "n" + std::to_string(i);
    item->Data = reinterpret_cast<void*>(static_cast<std::intptr_t>(kRows + i));
    item->TextsPending = true;
  }
  list->Delete(list->Item(0));
  list->SortByColumn(1, false);
  list->EndUpdate();
  EXPECT_EQ(SendMessageA(list->Handle(), LVM_GETITEMCOUNT, 0, 0), kRows - 2 + kAdded);
  ASSERT_NE(list->Selected(), nullptr);
  EXPECT_EQ(list->Selected()->Caption, "r0005");
  EXPECT_TRUE(list->Selected()->Focused());
  EXPECT_EQ(SendMessageA(list->Handle(), LVM_GETSELECTEDCOUNT, 0, 0), 1);

  // A request for a row's text names the row by its place: a list of
  // virtual rows gives no item data with it, whatever lParam holds.
  char shown[16] = "";
  NMLVDISPINFOA info = {};
  info.hdr.hwndFrom = list->Handle();
  info.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(list->Handle()));
  info.hdr.code = LVN_GETDISPINFOA;
  info.item.mask = LVIF_TEXT;
  info.item.iItem = 1;
  info.item.pszText = shown;
  info.item.cchTextMax = sizeof shown;
  info.item.lParam = reinterpret_cast<LPARAM>(list->Item(0));
  SendMessageA(GetParent(list->Handle()), WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(std::string(shown), list->Item(1)->Caption);
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

// The link label is a stop of Tab, and Enter or Space opens it as a click
// does (a link to nothing here, so that nothing is started).
TEST(UrlLabel, TabReachesItAndEnterOrSpaceOpensIt) {
  auto form = ShownForm("Link");
  auto* button = new classlib::TButton(form.get());
  button->SetBounds(10, 10, 75, 25);
  button->SetParent(form.get());
  auto* link = new TUrlLabel(form.get());
  link->SetBounds(10, 50, 200, 16);
  link->SetParent(form.get());
  int opened = 0;
  link->OnClick = [&](classlib::TObject*) { ++opened; };
  form->Show();
  uikit::RunUntilIdle();
  button->SetFocus();
  uikit::PressKey(GetFocus(), VK_TAB);
  ASSERT_EQ(GetFocus(), link->Handle());
  uikit::PressKey(GetFocus(), VK_RETURN);
  uikit::PressKey(GetFocus(), VK_SPACE);
  EXPECT_EQ(opened, 2);
}

}  // namespace
}  // namespace foldwick

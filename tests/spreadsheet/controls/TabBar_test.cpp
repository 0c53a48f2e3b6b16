// The tab bar: item texts, the usable tabs, picking by mouse and keys, the
// right-click editor and an empty bar.
#include "spreadsheet/controls/TabBar.h"

#include <gtest/gtest.h>

#include "classlib/RecordingControlHost.h"

namespace corvane {
namespace {

using classlib::TCanvasOp;
using classlib::TMouseButton;

class TabBarTest : public ::testing::Test {
 protected:
  TabBarTest() {
    tabs.Onpick = [this](TTabBarModel&, const std::string& text) { picks.push_back(text); };
  }
  // The middle of tab i.
  int X(int i) const { return tabs.TabLeft(i) + tabs.TabWidth(i) / 2; }
  void Click(int x, TMouseButton button = TMouseButton::mbLeft) {
    tabs.MouseDown(button, 0, x, 10);
    tabs.MouseUp(button, 0, x, 10);
  }

  classlib::TRecordingControlHost host{300, 26};
  TTabBarModel tabs{host};
  std::vector<std::string> picks;
};

TEST_F(TabBarTest, ItemsShowTheirLabelAndPickTheirText) {
  struct {
    const char* item;
    const char* label;
    const char* pick;
    char accelerator;
  } rows[] = {{"Sales:Q1", "Sales", "Q1", 0},
              {"B", "B", "B", 0},
              {"&north:N:1", "north", "N:1", 'N'},
              {"R&&D:rd", "R&D", "rd", 0},
              {"1234567890123456789012345678901234:x", "123456789012345678901234567890", "x", 0}};
  for (auto& r : rows) {
    EXPECT_EQ(TabLabel(r.item), r.label);
    EXPECT_EQ(TabPickText(r.item), r.pick);
    EXPECT_EQ(TabAccelerator(r.item), r.accelerator);
  }
  EXPECT_EQ(TabDialogCaption(2), "Tabs:2");

  tabs.SetItems({"Sales:Q1", "B"});
  tabs.SetMax(2);
  Click(X(0));
  Click(X(1));
  EXPECT_EQ(picks, (std::vector<std::string>{"Q1", "B"}));
}

TEST_F(TabBarTest, OnlyTheFirstMaxTabsAreDrawnAndHit) {
  std::vector<std::string> items;
  for (int i = 0; i < 64; ++i) items.push_back(std::string(1, static_cast<char>('A' + i % 26)));
  tabs.SetItems(items);
  tabs.SetMax(4);
  classlib::TRecordingCanvas canvas;
  tabs.Paint(canvas);
  EXPECT_EQ(canvas.CallsOf(TCanvasOp::Polygon).size(), 4u);
  EXPECT_FALSE(tabs.ScrollBarVisible());
  EXPECT_EQ(tabs.TabAt(X(3)), 3);
  EXPECT_EQ(tabs.TabAt(X(3) + tabs.TabWidth(3)), -1);
  tabs.ScrollTo(62);
  EXPECT_EQ(tabs.FirstVisible(), 3) << "the first visible tab stays usable";

  // All 64 usable: the selection set by the program scrolls its tab into
  // view, the last one and back to the first.
  tabs.SetMax(64);
  tabs.SetItemIndex(63);
  EXPECT_TRUE(tabs.ScrollBarVisible());
  EXPECT_GT(tabs.FirstVisible(), 0);
  EXPECT_EQ(tabs.TabAt(X(63)), 63) << "the 64th tab shows whole";
  tabs.SetItemIndex(0);
  EXPECT_EQ(tabs.FirstVisible(), 0);
}

TEST_F(TabBarTest, ReleaseAwayFromEveryTabPicksNothing) {
  tabs.SetMax(3);
  tabs.MouseDown(TMouseButton::mbLeft, 0, X(1), 10);
  EXPECT_EQ(tabs.ItemIndex(), 1);
  tabs.MouseMove(0, 290, 10);
  tabs.MouseUp(TMouseButton::mbLeft, 0, 290, 10);
  EXPECT_EQ(tabs.ItemIndex(), -1);
  EXPECT_TRUE(picks.empty());
  EXPECT_FALSE(host.HasCapture());
}

TEST_F(TabBarTest, KeysSelectByLetterAndSpaceAndBeepOtherwise) {
  tabs.SetItems({"&Sales", "&Costs", "Notes"});
  tabs.KeyPress('c');
  EXPECT_EQ(tabs.ItemIndex(), 1);
  tabs.KeyPress(' ');
  EXPECT_EQ(tabs.ItemIndex(), 2);
  tabs.KeyPress(' ');
  EXPECT_EQ(tabs.ItemIndex(), 0);
  EXPECT_TRUE(host.Beeps.empty());
  tabs.KeyPress('x');
  EXPECT_EQ(tabs.ItemIndex(), 0);
  EXPECT_EQ(host.Beeps.size(), 1u);
  EXPECT_TRUE(tabs.DialogChar('C'));
  EXPECT_FALSE(tabs.DialogChar('N'));
  EXPECT_EQ(tabs.Accelerators(), "SC") << "the letters it takes";

  tabs.SetItems({});
  tabs.KeyPress(' ');
  EXPECT_EQ(tabs.ItemIndex(), -1);
  EXPECT_EQ(host.Beeps.size(), 2u);
  Click(X(0));
  classlib::TRecordingCanvas canvas;
  tabs.Paint(canvas);
}

TEST_F(TabBarTest, DefineTabsReplacesTheItemsOnlyOnOk) {
  tabs.SetMax(9);
  std::optional<std::vector<std::string>> answer;
  tabs.OnDefineTabs = [&](const std::vector<std::string>& items) {
    EXPECT_EQ(items.size(), 9u);
    return answer;
  };
  Click(X(5), TMouseButton::mbRight);
  EXPECT_EQ(tabs.Count(), 9) << "cancel keeps the items";
  EXPECT_EQ(tabs.ItemIndex(), 5);
  answer = std::vector<std::string>{"Only"};
  Click(X(5), TMouseButton::mbRight);
  EXPECT_EQ(tabs.Items(), (std::vector<std::string>{"Only"}));
  EXPECT_EQ(tabs.ItemIndex(), 0) << "the selection stays inside the new items";
  tabs.LockTab = true;
  answer = std::vector<std::string>{};
  Click(X(0), TMouseButton::mbRight);
  EXPECT_EQ(tabs.Count(), 1);
}

}  // namespace
}  // namespace corvane

// The report list views' rules: smart comparison, sorting by clicked
// columns, the saved column layout, styles, version and header geometry.
#include <gtest/gtest.h>

#include "analyser/components/ListViewRules.h"

namespace foldwick {
namespace {

TEST(SmartCompare, DatesThenNumbersThenText) {
  const TSmartLocale us;
  TSmartLocale german;
  german.dateSeparator = '.';
  german.decimalSeparator = ',';
  german.dateOrder = TDateOrder::DMY;
  struct Row {
    const char* a;
    const char* b;
    TAutoSortStyle style;
    const TSmartLocale& locale;
    int result;
  } rows[] = {
      {"9", "10", TAutoSortStyle::assSmart, us, -1},
      {"10a", "9", TAutoSortStyle::assSmart, us, -1},   // text: "1" before "9"
      {"10", "9", TAutoSortStyle::assDefault, us, -1},  // text
      {"-2.5", "1e1", TAutoSortStyle::assSmart, us, -1},
      {"12/31/1999", "1/1/2000", TAutoSortStyle::assSmart, us, -1},
      {"1/1/2000 10:00", "1/1/2000 9:30", TAutoSortStyle::assSmart, us, 1},
      {"9:30", "10:00", TAutoSortStyle::assSmart, us, -1},
      {"3:00 PM", "11:00 AM", TAutoSortStyle::assSmart, us, 1},
      // With the date separator "." a text that reads as a number is a date.
      {"2.1", "10.1", TAutoSortStyle::assSmart, german, -1},  // 2 January before 10 January
      {"1,5", "1,25", TAutoSortStyle::assSmart, german, 1},   // numbers with the decimal comma
      {"13/13/2000", "1/1/2000", TAutoSortStyle::assSmart, us, 1},  // no such date: text
      {"same", "same", TAutoSortStyle::assSmart, us, 0},
  };
  for (const Row& r : rows) EXPECT_EQ(SmartCompare(r.a, r.b, r.style, r.locale), r.result) << r.a << " ~ " << r.b;
  EXPECT_EQ(ReadDateTime("1/1/1900", us), 2);
  EXPECT_EQ(ReadDateTime("1/1/2000", us), 36526);
  EXPECT_EQ(ReadDateTime("2/29/1900", us), std::nullopt);
}

TEST(ListSortState, ClicksTogglesAndPendingResorts) {
  TListSortState toggle;
  toggle.autoColumnSort = TAutoColumnSort::acsSortToggle;
  struct Step {
    int column;
    bool ascending;
  } clicks[] = {{2, true}, {2, false}, {2, true}, {0, true}, {0, false}};
  for (const Step& s : clicks) {
    toggle.PrepareClick(s.column);
    EXPECT_TRUE(toggle.FinishClick(s.column, 3));
    EXPECT_EQ(toggle.ascending, s.ascending) << s.column;
  }
  EXPECT_FALSE(toggle.FinishClick(3, 3));  // no such column
  EXPECT_EQ(toggle.lastColumnClicked, 3);

  TListSortState plain;
  plain.autoColumnSort = TAutoColumnSort::acsSort;
  plain.ascending = false;
  plain.PrepareClick(1);
  plain.FinishClick(1, 3);
  plain.PrepareClick(1);
  EXPECT_FALSE(plain.ascending);  // every click sorts in the current direction

  // Updates hold re-sorts back until the last one ends.
  EXPECT_FALSE(plain.Resort(3));  // depth 1 until the window exists
  plain.updateDepth = 0;
  plain.BeginUpdate();
  plain.BeginUpdate();
  EXPECT_FALSE(plain.Resort(3));
  EXPECT_FALSE(plain.EndUpdate(3));
  EXPECT_TRUE(plain.EndUpdate(3));
  plain.SortStarted(1);
  EXPECT_FALSE(plain.EndUpdate(3));  // nothing pending, depth stays 0
  EXPECT_EQ(plain.updateDepth, 0);
  TListSortState none;
  none.updateDepth = 0;
  none.lastColumnClicked = 0;
  EXPECT_FALSE(none.Resort(3));
}

TEST(ColumnLayout, SavedNumbersAndOrders) {
  EXPECT_EQ(JoinNumbers({150, 90, 0}), "150,90,0");
  EXPECT_EQ(SplitNumbers("150,x,,-3"), (std::vector<int>{150, 0, 0, -3}));
  EXPECT_TRUE(SplitNumbers("").empty());
  EXPECT_EQ(ValidColumnOrder({2, 0, 1}, 3), (std::vector<int>{2, 0, 1}));
  EXPECT_EQ(ValidColumnOrder({2, 0, 0}, 3), (std::vector<int>{0, 1, 2}));  // not an order of the columns
  EXPECT_EQ(ValidColumnOrder({1, 0}, 3), (std::vector<int>{0, 1, 2}));     // saved for other columns
  EXPECT_EQ(ValidColumnOrder({0, 1, 5}, 3), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(ColumnAtPosition({2, 0, 1}, 0), 2);
  EXPECT_EQ(ColumnAtPosition({2, 0, 1}, 2), 1);
  EXPECT_EQ(ColumnAtPosition({}, 4), 4);
}

TEST(ListViewStyles, UnderliningNeedsActivationAndVersionsCompareInOrder) {
  EXPECT_EQ(NormalizeExtendedStyles(lvxUnderlineHot), lvxUnderlineHot | lvxOneClickActivate);
  EXPECT_EQ(NormalizeExtendedStyles(lvxUnderlineHot | lvxTwoClickActivate), lvxUnderlineHot | lvxTwoClickActivate);
  EXPECT_EQ(NormalizeExtendedStyles(lvxUnderlineCold | lvxTwoClickActivate),
            lvxUnderlineCold | lvxTwoClickActivate | lvxOneClickActivate);
  EXPECT_EQ(NormalizeExtendedStyles(lvxGridLines), lvxGridLines);
  const TFileVersion required{4, 70, 0, 0};
  EXPECT_TRUE(VersionAtLeast({5, 80, 0, 0}, required));
  EXPECT_TRUE(VersionAtLeast({4, 70, 0, 0}, required));
  EXPECT_FALSE(VersionAtLeast({4, 0, 950, 0}, required));
  EXPECT_FALSE(VersionAtLeast({0, 0, 0, 0}, required));
}

TEST(HeaderGeometry, ArrowsBesideTheCaptionOnlyWhenTheyFit) {
  EXPECT_EQ(SortArrowSide(6), 0);
  EXPECT_EQ(SortArrowSide(13), 8);
  EXPECT_EQ(SortArrowSide(14), 8);
  const classlib::TRect cell{100, 0, 200, 20};
  THeaderCellLayout left = LayoutHeaderCell(cell, false, THeaderAlign::Left, true, 8, 30, 13);
  EXPECT_EQ(left.text.Left, 106);
  EXPECT_EQ(left.arrowAt.x, 106 + 30 + 8);
  EXPECT_TRUE(left.arrow);
  THeaderCellLayout right = LayoutHeaderCell(cell, false, THeaderAlign::Right, true, 8, 30, 13);
  EXPECT_EQ(right.text.Right, 194);
  EXPECT_EQ(right.arrowAt.x, 194 - 30 - 8 - 8);
  THeaderCellLayout pressed = LayoutHeaderCell(cell, true, THeaderAlign::Left, false, 8, 30, 13);
  EXPECT_EQ(pressed.text.Left, 107);
  EXPECT_FALSE(pressed.arrow);
  // A caption wider than the cell leaves the arrow out.
  THeaderCellLayout narrow = LayoutHeaderCell({0, 0, 30, 20}, false, THeaderAlign::Right, true, 8, 100, 13);
  EXPECT_FALSE(narrow.arrow);
}

}  // namespace
}  // namespace foldwick

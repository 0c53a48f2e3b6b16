// Splitter drags, link targets, page-setup flags and printer-name blocks.
#include <gtest/gtest.h>

#include "analyser/components/SmallComponentRules.h"

namespace foldwick {
namespace {

TEST(Splitter, DragsStayWithinBothSides) {
  const classlib::TRect splitter{222, 0, 226, 400};
  EXPECT_EQ(SplitterProbe(TSplitSide::Left, splitter), (classlib::TPoint{221, 0}));
  EXPECT_EQ(SplitterProbe(TSplitSide::Right, splitter), (classlib::TPoint{226, 0}));
  EXPECT_EQ(SplitterProbe(TSplitSide::Top, splitter), (classlib::TPoint{222, -1}));
  struct Row {
    TSplitSide side;
    classlib::TPoint mouse;
    int size;
  } rows[] = {
      {TSplitSide::Left, {150, 5}, 150},
      {TSplitSide::Left, {10, 5}, 30},    // towards the tree's edge: stops at 30
      {TSplitSide::Left, {790, 5}, 766},  // the other side keeps 30 too
      {TSplitSide::Right, {600, 0}, 196},
      {TSplitSide::Bottom, {0, 700}, 96},
      {TSplitSide::Top, {0, -40}, 30},
  };
  for (const Row& r : rows) {
    const bool across = r.side == TSplitSide::Left || r.side == TSplitSide::Right;
    EXPECT_EQ(SplitterNewSize(r.side, r.mouse, across ? 800 : 800, 4, 30), r.size) << r.mouse.x << "," << r.mouse.y;
  }
}

TEST(LinkLabel, OpensItsUrlElseItsCaption) {
  EXPECT_EQ(LinkTarget("http://a", "Home"), "http://a");
  EXPECT_EQ(LinkTarget(" ", "mail@b"), "mail@b");
  EXPECT_EQ(LinkTarget("", "  "), "");
}

TEST(PageSetup, FlagsAndPrinterNames) {
  EXPECT_EQ(PageSetupFlags(poDefaultMinMargins | poShowHelp, TPageMeasurements::pmInches, false, false), 0x806u);
  EXPECT_EQ(PageSetupFlags(poDisablePrinter | poNoWarning, TPageMeasurements::pmMillimeters, true, true),
            0x2u | 0x20 | 0x80 | 0x8 | 0x2000 | 0x40000);
  const TPrinterNames names{"winspool", "Laser", "LPT1:"};
  const std::vector<std::uint8_t> block = BuildDevNames(names);
  EXPECT_EQ(block[0], 8);  // the driver's name comes first, after the four offsets
  EXPECT_EQ(ParseDevNames(block.data(), block.size()), names);
  // Cut short or pointing outside: refused.
  EXPECT_EQ(ParseDevNames(block.data(), block.size() - 1), std::nullopt);
  std::vector<std::uint8_t> bad = block;
  bad[2] = 200;
  EXPECT_EQ(ParseDevNames(bad.data(), bad.size()), std::nullopt);
  EXPECT_EQ(ParseDevNames(block.data(), 7), std::nullopt);
}

TEST(PageSetup, MarginsSurviveAnUnchangedDialog) {
  constexpr auto kInches = TPageMeasurements::pmInches;
  constexpr auto kMillimetres = TPageMeasurements::pmMillimeters;
  // Rounded, not truncated: 8 mm is 0.315 inch.
  EXPECT_EQ(MarginToDialog(800, kInches), 315);
  EXPECT_EQ(MarginToDialog(800, kMillimetres), 800);
  // An OK that gives back what the dialog was given keeps every margin,
  // however often; a changed margin is converted back, rounded.
  for (int kept : {800, 801, 1000, 0, 2539}) {
    int margin = kept;
    for (int ok = 0; ok < 3; ++ok) margin = MarginFromDialog(MarginToDialog(margin, kInches), margin, kInches);
    EXPECT_EQ(margin, kept);
  }
  EXPECT_EQ(MarginFromDialog(500, 800, kInches), 1270);
  EXPECT_EQ(MarginFromDialog(1001, 800, kMillimetres), 1001);
}

}  // namespace
}  // namespace foldwick

// The graph record's bytes: the fresh defaults, the field offsets a worksheet
// file relies on, and texts at and beyond their field widths.
#include "spreadsheet/graphs/GraphRecord.h"

#include <gtest/gtest.h>

#include <cstring>

namespace corvane {
namespace {

TEST(GraphRecordTest, FreshRecordHoldsEveryDefault) {
  TGraphRecord g = TGraphRecord::Fresh();
  EXPECT_EQ(g.XDivisions(), 1);
  EXPECT_EQ(g.YDivisions(), 0);
  EXPECT_EQ(g.XStep(), 4);
  EXPECT_EQ(g.YStep(), 4);
  EXPECT_EQ(g.XFormat(), 1);
  EXPECT_EQ(g.YFormat(), 1);
  EXPECT_EQ(g.Type(), 0);
  EXPECT_EQ(g.Options(), 0);
  EXPECT_EQ(g.AxisOptions(), 0);
  EXPECT_FALSE(g.XManual());
  EXPECT_FALSE(g.YManual());
  EXPECT_EQ(g.XLower(), 0.0);
  EXPECT_EQ(g.YUpper(), 0.0);
  EXPECT_EQ(g.OutsideColour(), 15);
  EXPECT_EQ(g.InsideColour(), 8);
  const int colours[] = {9, 3, 2, 4, 5, 6}, styles[] = {1, 2, 3, 1, 2, 3};
  for (int s = 1; s <= kGraphSeries; ++s) {
    SCOPED_TRACE(s);
    EXPECT_EQ(g.SeriesDisplay(s), 3);
    EXPECT_EQ(g.LabelLocation(s), 1);
    EXPECT_EQ(g.SeriesColour(s), colours[s - 1]);
    EXPECT_EQ(g.SeriesBackground(s), 7);
    EXPECT_EQ(g.Mark(s), s);
    EXPECT_EQ(g.LineStyle(s), styles[s - 1]);
    EXPECT_EQ(g.Thickness(s), 1);
    EXPECT_EQ(g.Hatch(s), s);
    EXPECT_EQ(g.Legend(s), "");
    EXPECT_EQ(g.SeriesRange(s), TRange{}) << "unset, not A1";
    EXPECT_EQ(g.LabelRange(s), TRange{});
  }
  const int sizes[] = {24, 18, 16, 16, 12, 12, 8};
  for (int e = 1; e <= kGraphTextElements; ++e) {
    SCOPED_TRACE(e);
    EXPECT_EQ(g.FontSize(e), sizes[e - 1]);
    EXPECT_EQ(g.TextColour(e), 1);
    EXPECT_EQ(g.FontName(e), "");
    EXPECT_EQ(g.FontStyle(e), 0);
  }
  EXPECT_EQ(g.Name(), "");
  EXPECT_EQ(g.Heading(1), "");
  EXPECT_EQ(g.XRange(), TRange{});
}

TEST(GraphRecordTest, FieldsSitAtTheirFileOffsetsLittleEndian) {
  TGraphRecord g;
  g.SetName("SALES");
  g.SetXRange(TRange{1, 2, 3, 0x0102});
  g.SetSeriesRange(6, TRange{-1, 0, 0, 0});
  g.SetLabelRange(1, TRange{4, 5, 6, 7});
  g.SetType(kGraphBar3D);
  g.SetSeriesDisplay(6, 2);
  g.SetLabelLocation(6, 5);
  g.SetYManual(true);
  g.SetYScale(1.0, -2.5);
  g.SetHeading(4, "Y");
  g.SetLegend(6, "L6");
  g.SetSeriesColour(1, 9);
  g.SetTextColour(7, 12);
  g.SetSeriesBackground(6, 3);
  g.SetMark(1, 16);
  g.SetHatch(6, 8);
  g.SetFontSize(7, 10);
  g.SetFontName(7, "Courier");
  g.SetFontStyle(1, 0x0F);
  g.SetDivisions(5, 7);
  g.SetDivisionsCopies(-2, 300);
  const std::uint8_t* b = g.Bytes();

  const std::uint8_t name[] = {5, 'S', 'A', 'L', 'E', 'S'};
  EXPECT_EQ(std::memcmp(b, name, sizeof name), 0);
  const std::uint8_t xRange[] = {1, 0, 2, 0, 3, 0, 0x02, 0x01};
  EXPECT_EQ(std::memcmp(b + 13, xRange, sizeof xRange), 0);
  EXPECT_EQ(b[21 + 40], 0xFF);  // series 6: first column -1
  EXPECT_EQ(b[22 + 40], 0xFF);
  EXPECT_EQ(b[69], 4);
  EXPECT_EQ(b[117], 16);
  EXPECT_EQ(b[119 + 6], 2);
  EXPECT_EQ(b[125 + 6], 5);
  EXPECT_EQ(b[149], 1);
  const std::uint8_t one[] = {0, 0, 0, 0, 0, 0, 0xF0, 0x3F};  // 1.0
  EXPECT_EQ(std::memcmp(b + 150, one, 8), 0);
  EXPECT_EQ(b[158 + 7], 0xC0);  // -2.5 has the sign bit set
  EXPECT_EQ(b[126 + 40 * 4], 'Y');
  EXPECT_EQ(b[306 + 20 * 6], 'L');
  EXPECT_EQ(b[483], 9);
  EXPECT_EQ(b[491 + 6], 12);
  EXPECT_EQ(b[498 + 5], 3);
  EXPECT_EQ(b[511], 16);
  EXPECT_EQ(b[529 + 5], 8);
  EXPECT_EQ(b[537 + 6], 10);
  EXPECT_EQ(b[544 + 21 * 6], 7);
  EXPECT_EQ(b[544 + 21 * 6 + 1], 'C');
  EXPECT_EQ(b[817], 0x0F);
  EXPECT_EQ(b[830], 5);
  EXPECT_EQ(b[831], 7);
  EXPECT_EQ(b[832], 0xFE);
  EXPECT_EQ(b[833], 0xFF);
  EXPECT_EQ(b[834], 0x2C);
  EXPECT_EQ(b[835], 0x01);

  TGraphRecord back = TGraphRecord::FromBytes(b);
  EXPECT_EQ(back.XRange(), (TRange{1, 2, 3, 0x0102}));
  EXPECT_EQ(back.YUpper(), -2.5);
  EXPECT_EQ(back.XDivisionsCopy(), -2);
  EXPECT_EQ(back.YDivisionsCopy(), 300);
  EXPECT_EQ(back.FontName(7), "Courier");
}

TEST(GraphRecordTest, TextsAtAndBeyondTheirFieldWidths) {
  TGraphRecord g;
  std::string heading40(40, 'H'), legend20(20, 'L');
  g.SetLegend(1, "first legend");
  g.SetHeading(4, heading40 + "cut");  // fills the field: no terminator
  EXPECT_EQ(g.Heading(4), heading40);
  EXPECT_EQ(g.Legend(1), "first legend") << "a full heading must not spill into the legend after it";
  g.SetLegend(6, legend20 + "xx");
  EXPECT_EQ(g.Legend(6), legend20);
  EXPECT_EQ(g.Bytes()[446], 0) << "the X format after legend 6 is untouched";
  g.SetHeading(1, "long heading here");
  g.SetHeading(1, "short");
  EXPECT_EQ(g.Heading(1), "short");

  g.SetName("ABCDEFGHIJKLMNO");
  EXPECT_EQ(g.Name(), "ABCDEFGHIJKL");
  EXPECT_EQ(g.XRange(), (TRange{0, 0, 0, 0}));
  g.SetFontName(1, std::string(25, 'F'));
  EXPECT_EQ(g.FontName(1), std::string(20, 'F'));
  EXPECT_EQ(g.FontName(2), "");

  // Length bytes from a damaged file read no further than the field allows.
  std::uint8_t bytes[kGraphRecordBytes] = {};
  bytes[0] = 200;
  std::memset(bytes + 1, 'N', 20);
  bytes[544] = 255;
  std::memset(bytes + 166, 'T', 40);
  std::memset(bytes + 206, 'U', 40);
  TGraphRecord damaged = TGraphRecord::FromBytes(bytes);
  EXPECT_EQ(damaged.Name(), std::string(12, 'N'));
  EXPECT_EQ(damaged.FontName(1).size(), 20u);
  EXPECT_EQ(damaged.Heading(1), std::string(40, 'T'));
}

TEST(GraphRecordTest, IndicesOutsideTheirRangeAreIgnored) {
  TGraphRecord g = TGraphRecord::Fresh();
  TGraphRecord before = g;
  g.SetSeriesColour(0, 1);
  g.SetSeriesColour(7, 1);
  g.SetFontSize(8, 1);
  g.SetHeading(5, "x");
  g.SetLegend(0, "x");
  g.SetSeriesRange(7, TRange{1, 1, 1, 1});
  EXPECT_EQ(g, before);
  EXPECT_EQ(g.Mark(7), 0);
  EXPECT_EQ(g.Heading(0), "");
}

TEST(GraphRecordTest, ThreeDimensionalTypes) {
  for (int type = 0; type <= 17; ++type)
    EXPECT_EQ(GraphTypeIs3D(type), type == 11 || type == 12 || type >= 14) << type;
}

}  // namespace
}  // namespace corvane

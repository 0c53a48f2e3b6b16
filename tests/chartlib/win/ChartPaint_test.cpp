// The chart library's painting on a real GDI canvas under Wine: pies of many
// slices, however thin, cover their ellipse whole, flat and with depth.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "chartlib/ChartModel.h"
#include "chartlib/ChartPainter.h"
#include "classlib/win/Bitmap.h"

namespace chartlib {
namespace {

// How many pixels inside the pie's ellipse (two pixels in from its edge)
// show each colour.
std::map<classlib::TColor, int> PieColours(classlib::TBitmap& bitmap, const classlib::TRect& pie) {
  const double cx = (pie.Left + pie.Right) / 2.0, cy = (pie.Top + pie.Bottom) / 2.0;
  const double rx = pie.Width() / 2.0 - 2, ry = pie.Height() / 2.0 - 2;
  std::map<classlib::TColor, int> counts;
  for (int y = pie.Top; y < pie.Bottom; ++y)
    for (int x = pie.Left; x < pie.Right; ++x) {
      const double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
      if (dx * dx + dy * dy <= 1) ++counts[bitmap.Canvas().GetPixel(x, y)];
    }
  return counts;
}

TEST(ChartPaint, PiesOfManyThinSlicesAreWhole) {
  struct Row {
    const char* name;
    double first;        // the first slice; 1,500 of 0.00068 follow
    double firstShare;   // of the pie's pixels in the first slice's colour, about
  } rows[] = {{"one 1.95 MB folder and 1,500 small ones", 1.95, 0.65}, {"1,500 equal folders", 0.00068, 0}};
  for (const Row& row : rows) {
    for (bool depth : {false, true}) {
      TChartModel chart(1, 1501);
      chart.Request(1, 1, kTypePie | (depth ? kType3D : 0));
      chart.SetValue(0, 0, row.first);
      for (int p = 1; p <= 1500; ++p) {
        chart.SetValue(0, p, 0.00068);
        const std::string name = "folder " + std::to_string(p);
        chart.Request(37, p, reinterpret_cast<std::intptr_t>(name.c_str()));
      }
      classlib::TBitmap bitmap(600, 400);
      const TChartHitMap hits = PaintChart(chart, bitmap.Canvas(), {0, 0, 600, 400});
      ASSERT_FALSE(hits.pie.IsEmpty()) << row.name;
      EXPECT_EQ(hits.slices.size(), 1501u) << row.name;
      // Nothing of the background shows through, and no slice is drawn
      // over the others: the first takes its share, and of 1,500 equal
      // slices no colour half the pie.
      const std::string what = row.name + std::string(depth ? ", 3-D" : "");
      std::map<classlib::TColor, int> colours = PieColours(bitmap, hits.pie);
      int total = 0, most = 0;
      for (const auto& [colour, count] : colours) {
        total += count;
        most = std::max(most, count);
      }
      EXPECT_EQ(colours[bitmap.Canvas().GetPixel(1, 1)], 0) << what;
      if (row.firstShare > 0)
        EXPECT_NEAR(colours[chart.SeriesColor(0, 0)] / static_cast<double>(total), row.firstShare, 0.03) << what;
      else
        EXPECT_LT(most, total / 2) << what;
    }
  }
}

}  // namespace
}  // namespace chartlib

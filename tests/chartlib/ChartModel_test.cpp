// The chart library's requests, texts, layout and hit tests.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "chartlib/ChartFont.h"
#include "chartlib/ChartModel.h"
#include "chartlib/ChartPainter.h"
#include "classlib/RecordingCanvas.h"

namespace chartlib {
namespace {

std::intptr_t Text(const char* s) { return reinterpret_cast<std::intptr_t>(s); }

TEST(ChartRequests, TypeWordSetsTheTypeByteFlagsOrTheWhole) {
  TChartModel chart(2, 4);
  struct Row {
    std::intptr_t w, l;
    std::uint32_t after;
  } rows[] = {
      {1, 0x4505, 0x4505},      // the whole word
      {0, 2, 0x4502},           // the type byte only
      {0, 0x10000, 0x14502},    // a flag on
      {2, 0x100, 0x14402},      // a flag off
      {0, 0x800 | 8, 0x14C08},  // a flag and a type at once
  };
  for (const Row& r : rows) {
    chart.Request(1, r.w, r.l);
    EXPECT_EQ(static_cast<std::uint32_t>(chart.Request(1, 0, 0)), r.after) << r.w << " " << r.l;
  }
}

TEST(ChartRequests, SettingsComeBackFromTheirGetForms) {
  TChartModel chart(2, 4);
  struct Row {
    int code;
    std::intptr_t setW, setL, getW, getL;
    std::int32_t value;
  } rows[] = {
      {3, 2, 32, 2, -1, 32},   {4, 3, 0, -1, 1, 3},       {8, 3, 0, 0, 1, 3},     {13, 60, 0, 0, -1, 60},
      {26, 0, 0xC0C0C0, 0, -1, 0xC0C0C0}, {29, 4, 0x2010A, 4, -1, 0x2010A}, {82, 0, 65, 1, 0, 65},
      {105, 0, 16, 1, 0, 16},  {85, 1, 7, 1, -1, 7},      {2, 1, -4096, 0, 0, -4096},
  };
  for (const Row& r : rows) {
    chart.Request(r.code, r.setW, r.setL);
    EXPECT_EQ(chart.Request(r.code, r.getW, r.getL), r.value) << r.code;
  }
  // Request 14: off answers -1 and keeps its value.
  EXPECT_EQ(chart.Request(14, 0, -1), -1);
  chart.Request(14, 1, 9);
  EXPECT_EQ(chart.Request(14, 0, -1), 1);
  chart.Request(14, 0, 4);
  EXPECT_EQ(chart.Request(14, 0, -1), -1);
  EXPECT_EQ(chart.Request(14, 0, -2), 4);
}

TEST(ChartRequests, TextsNeverPassTheCallersBuffer) {
  TChartModel chart(1, 3);
  const std::string longText(400, 'x');
  chart.Request(33, 2, Text(longText.c_str()));
  chart.Request(37, 1, Text(longText.c_str()));
  for (int code : {34, 44}) {
    char buffer[260];
    std::memset(buffer, '#', sizeof buffer);
    chart.Request(code, code == 34 ? 2 : 1, reinterpret_cast<std::intptr_t>(buffer));
    EXPECT_EQ(std::strlen(buffer), 254u) << code;
    EXPECT_EQ(buffer[255], '#') << code;
  }
  // Indexes outside the chart are refused, not written.
  EXPECT_EQ(chart.Request(37, 3, Text("no")), 0);
  EXPECT_EQ(chart.Request(33, 4, Text("no")), 0);
  char buffer[255] = "unchanged";
  chart.Request(44, 99, reinterpret_cast<std::intptr_t>(buffer));
  EXPECT_STREQ(buffer, "");
}

TEST(ChartRequests, DataTransfersResizeAndKeepWhatFits) {
  TChartModel chart(2, 4);
  EXPECT_EQ(chart.Request(69, 0, 0), PackPair(2, 4));
  chart.Request(37, 0, Text("first"));
  chart.SetValue(1, 0, 5);
  chart.OpenData(0x1001, 2, 7);
  EXPECT_EQ(chart.Request(69, 0, 0), PackPair(2, 7));
  EXPECT_EQ(chart.PointLegend(0), "first");
  EXPECT_EQ(chart.GetValue(PackPair(1, 0)), 5);
  chart.SetValue(2, 0, 1);  // no third series
  chart.SetValue(0, 7, 1);  // no eighth point
  chart.OpenData(1, -1, 3);
  chart.OpenData(1, 2, kMaxPoints + 1);
  EXPECT_EQ(chart.Request(69, 0, 0), PackPair(2, 7));
}

TEST(ChartFonts, PackedFacesSurviveAReadBack) {
  struct Row {
    const char* face;
    int size;
    classlib::TFontStyles style;
    std::uint32_t packed;
  } rows[] = {
      {"Courier New", 10, classlib::fsBold, 0x2010A},
      {"courier new", 10, classlib::fsBold, 0x2010A},
      {"Times New Roman", 12, classlib::fsItalic, 0x9020C},
      {"TimesNewRoman", 12, 0, 0x9000C},
      {"Arial", 8, classlib::fsUnderline | classlib::fsStrikeOut, 0xC08},
      {"Tahoma", 9, 0, 0x9},
  };
  for (const Row& r : rows) {
    classlib::TFont font;
    font.Name = r.face;
    font.SetSize(r.size);
    font.Style = r.style;
    const std::uint32_t packed = PackChartFont(font);
    EXPECT_EQ(packed, r.packed) << r.face;
    classlib::TFont back;
    UnpackChartFont(packed, back);
    EXPECT_EQ(PackChartFont(back), packed) << r.face;
    EXPECT_EQ(back.Size(), r.size);
  }
  classlib::TFont back;
  UnpackChartFont(0x20000, back);
  EXPECT_EQ(back.Name, "Courier New");
}

TEST(ChartLayout, AxisMaximaAndFittedTexts) {
  struct Row {
    double value;
    double max;
  } rows[] = {{0, 1}, {-3, 1}, {1, 1}, {4.2, 5}, {7, 10}, {123, 125}, {950, 1000}, {1001, 1250}, {0.03, 0.05},
              {1e307, 1e300}, {HUGE_VAL, 1e300}};  // the scale is clamped
  for (const Row& r : rows) EXPECT_DOUBLE_EQ(NiceAxisMaximum(r.value, 5), r.max) << r.value;

  classlib::TRecordingCanvas canvas;
  canvas.Font.Height = -10;  // 5 pixels a character
  EXPECT_EQ(FitText(canvas, "Folder", 30), "Folder");
  EXPECT_EQ(FitText(canvas, "Folders", 30), "Fol...");
  EXPECT_EQ(FitText(canvas, "Folders", 14), "");
}

// A bar near the double's limit reaches the top of a clamped axis and no
// higher: its height no longer overflows (it was drawn far above the plot,
// slowly), and the axis labels carry exponents that fit beside it.
TEST(ChartLayout, AHugeBarStaysInsideItsPlot) {
  TChartModel chart(1, 2);
  chart.Request(1, 1, kTypeBar);
  chart.SetValue(0, 0, 1e307);
  chart.SetValue(0, 1, 1);
  classlib::TRecordingCanvas canvas(600, 400);
  const TChartHitMap bars = PaintChart(chart, canvas, {0, 0, 600, 400});
  ASSERT_EQ(bars.boxes.size(), 2u);
  EXPECT_EQ(bars.boxes[0].rect.Top, bars.axisMaxY);
  EXPECT_EQ(bars.boxes[1].rect.Top, bars.axisZeroY - 3);
  for (const classlib::TCanvasCall& call : canvas.CallsOf(classlib::TCanvasOp::Rectangle))
    EXPECT_TRUE(call.Rect.Top >= 0 && call.Rect.Bottom <= 400) << canvas.Dump();
  const std::vector<std::string> texts = canvas.Texts();
  EXPECT_NE(std::find(texts.begin(), texts.end(), "1e+300"), texts.end());
  chart.SetHitMap(bars);
  double value = 1e307;
  EXPECT_LT(chart.Request(102, 4, reinterpret_cast<std::intptr_t>(&value)), bars.axisMaxY);
}

TEST(ChartLayout, HitsFindTheSlicesBarsAndRowsThatWereDrawn) {
  TChartModel chart(2, 2);
  chart.Request(3, 0, 10);
  chart.SetValue(0, 0, 300);
  chart.SetValue(0, 1, 100);
  chart.SetValue(1, 0, 50);
  chart.SetValue(1, 1, 200);
  chart.Request(37, 0, Text("big"));
  chart.Request(37, 1, Text("small"));
  classlib::TRecordingCanvas canvas(600, 400);

  chart.Request(1, 1, kTypePie);
  TChartHitMap pie = PaintChart(chart, canvas, {0, 0, 600, 400});
  ASSERT_FALSE(pie.pie.IsEmpty());
  const int cx = (pie.pie.Left + pie.pie.Right) / 2, cy = (pie.pie.Top + pie.pie.Bottom) / 2;
  // The first point takes three quarters from twelve o'clock on, counter-
  // clockwise; the second the upper right quarter.
  EXPECT_EQ(pie.Find({cx + 10, cy - 10}), PackPair(0, 1));
  EXPECT_EQ(pie.Find({cx - 10, cy + 10}), PackPair(0, 0));
  EXPECT_EQ(pie.Find({pie.pie.Left - 2, pie.pie.Top - 2}), -1);
  EXPECT_EQ(canvas.CallsOf(classlib::TCanvasOp::Pie).size(), 2u);
  chart.SetHitMap(pie);
  EXPECT_EQ(chart.Request(102, 2, PackPair(cx + 10, cy - 10)), PackPair(0, 1));

  chart.Request(1, 1, kTypeBar);
  canvas.Clear();
  TChartHitMap bars = PaintChart(chart, canvas, {0, 0, 600, 400});
  ASSERT_EQ(bars.boxes.size(), 4u);
  for (const auto& box : bars.boxes) {
    const classlib::TPoint inside{(box.rect.Left + box.rect.Right) / 2, box.rect.Bottom - 2};
    EXPECT_EQ(bars.Find(inside), PackPair(box.series, box.point));
  }
  // The tallest bar reaches nearest the axis top.
  EXPECT_LT(bars.boxes[0].rect.Top, bars.boxes[2].rect.Top);
  chart.SetHitMap(bars);
  double v = 300;
  const int y300 = chart.Request(102, 4, reinterpret_cast<std::intptr_t>(&v));
  EXPECT_NEAR(y300, bars.boxes[0].rect.Top + 0, 16);
  double back = y300;
  chart.Request(102, 5, reinterpret_cast<std::intptr_t>(&back));
  EXPECT_NEAR(back, 300, 5);

  chart.Request(1, 1, kTypeList);
  canvas.Clear();
  TChartHitMap list = PaintChart(chart, canvas, {0, 0, 600, 400});
  ASSERT_EQ(list.boxes.size(), 2u);
  EXPECT_EQ(list.Find({300, (list.boxes[1].rect.Top + list.boxes[1].rect.Bottom) / 2}), PackPair(0, 1));
  const std::vector<std::string> texts = canvas.Texts();
  EXPECT_NE(std::find(texts.begin(), texts.end(), "small"), texts.end());

  // A pie legend longer than the plot is high ends with how many it leaves out.
  TChartModel many(1, 60);
  many.Request(1, 1, kTypePie);
  for (int p = 0; p < 60; ++p) {
    many.SetValue(0, p, 1);
    const std::string name = "folder " + std::to_string(p);
    many.Request(37, p, Text(name.c_str()));
  }
  canvas.Clear();
  TChartHitMap cut = PaintChart(many, canvas, {0, 0, 600, 300});
  const std::vector<std::string> legend = canvas.Texts();
  ASSERT_FALSE(cut.boxes.empty());
  ASSERT_LT(cut.boxes.size(), 60u);
  EXPECT_EQ(legend.back(), "... " + std::to_string(60 - cut.boxes.size()) + " more");
  EXPECT_EQ(cut.boxes.back().point, static_cast<int>(cut.boxes.size()) - 1);
}

}  // namespace
}  // namespace chartlib

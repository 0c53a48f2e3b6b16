// Colours, rectangles and the recording canvas that native drawing tests read.
#include <gtest/gtest.h>

#include "classlib/RecordingCanvas.h"

namespace classlib {
namespace {

TEST(Graphics, ColoursResolveInWin32Layout) {
  EXPECT_EQ(RedOf(clRed), 255);
  EXPECT_EQ(BlueOf(clBlue), 255);
  EXPECT_EQ(ColorToRGB(clBtnFace), RGBColor(192, 192, 192));
  EXPECT_EQ(ColorToRGB(clYellow), clYellow);
  EXPECT_EQ(ColorToRGB(clNone), clNone);
  EXPECT_EQ(ColorToRGB(SystemColor(200)), clBlack);  // unknown index
  SetSystemColorProvider([](int index) -> TColor { return index == 15 ? 0x112233u : 0; });
  EXPECT_EQ(ColorToRGB(clBtnFace), 0x112233u);
  SetSystemColorProvider(nullptr);
  for (int i = 0; i < kSystemColorCount; ++i) EXPECT_EQ(SystemColorTable()[i].Index, i);
}

TEST(Graphics, RectanglesAndFontSizes) {
  EXPECT_EQ(IntersectRect({0, 0, 10, 10}, {5, 5, 20, 20}), (TRect{5, 5, 10, 10}));
  EXPECT_TRUE(IntersectRect({0, 0, 10, 10}, {10, 0, 20, 10}).IsEmpty());
  EXPECT_EQ(UnionRect({}, {1, 2, 3, 4}), (TRect{1, 2, 3, 4}));
  TFont f;
  f.SetSize(8);
  EXPECT_EQ(f.Height, -11);
  EXPECT_EQ(f.Size(), 8);
  f.SetSize(10, 600);
  EXPECT_EQ(f.Height, -83);
}

TEST(RecordingCanvas, KeepsCallsWithTheirStateAndMeasuresFixedWidths) {
  TRecordingCanvas c;
  c.Font.Height = -12;
  EXPECT_EQ(c.TextExtent("abcd"), (TSize{24, 12}));
  c.Pen.Mode = TPenMode::pmNotXor;
  c.MoveTo(1, 2);
  c.LineTo(5, 2);
  c.SetClipRect({0, 0, 50, 50});
  c.Brush.Style = TBrushStyle::bsClear;
  c.TextOut(3, 4, "hi");
  c.RemoveClip();
  c.SetPixel(7, 8, clRed);
  ASSERT_EQ(c.Lines().size(), 1u);
  EXPECT_EQ(c.Lines()[0].second, (TPoint{5, 2}));
  EXPECT_EQ(c.CallsOf(TCanvasOp::LineTo)[0].Pen.Mode, TPenMode::pmNotXor);
  TCanvasCall text = c.CallsOf(TCanvasOp::TextOut)[0];
  EXPECT_TRUE(text.Clipped);
  EXPECT_EQ(text.Brush.Style, TBrushStyle::bsClear);
  EXPECT_EQ(c.Texts(), std::vector<std::string>{"hi"});
  EXPECT_EQ(c.GetPixel(7, 8), clRed);
  EXPECT_EQ(c.GetPixel(-1, 0), clNone);
  {
    TCanvasStateSaver saver(c);
    c.Pen.Color = clBlue;
  }
  EXPECT_EQ(c.Pen.Color, clBlack);
}

}  // namespace
}  // namespace classlib

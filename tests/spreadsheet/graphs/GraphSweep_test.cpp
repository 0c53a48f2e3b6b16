// Every graph type over every shape of data and at every canvas size: the
// drawing ends, leaves the document's graph as it was, and puts no point
// outside the pixel range or (for the series) outside the plot.
#include <cmath>

#include "tests/spreadsheet/graphs/GraphTestSupport.h"

namespace corvane::testing {
namespace {

using classlib::TCanvasCall;
using classlib::TCanvasOp;
using classlib::TPoint;
using classlib::TRect;

struct TShape {
  const char* name;
  std::vector<std::string> values;  // series 1; series 2 and 3 are derived
};

std::vector<std::string> Many(int n) {
  std::vector<std::string> values;
  for (int i = 0; i < n; ++i) values.push_back(std::to_string(50 + 40 * std::sin(i * 0.1)));
  return values;
}

const TShape kShapes[] = {
    {"positive", {"3", "7", "2", "9", "4", "6"}},
    {"negative", {"-3", "-7", "-2", "-9", "-4", "-6"}},
    {"mixed", {"5", "-3", "8", "-6", "2", "0"}},
    {"constant", {"4", "4", "4", "4"}},
    {"empty", {"", "", "", ""}},
    {"one point", {"5"}},
    {"many points", Many(600)},
    {"labels among numbers", {"3", "abc", "5", "", "7", "'8"}},
    {"errors", {"@ERR", "4", "@NA", "6", "1/0"}},
};

bool Within(TPoint p, const TRect& r) { return p.x >= r.Left && p.x <= r.Right && p.y >= r.Top && p.y <= r.Bottom; }

class GraphSweepTest : public GraphTest {
 protected:
  // Fills the sheet for a shape: X 1..n in column 0, series 1-3 in columns
  // 1-3 (series k is series 1 times k), data labels in column 4.
  TGraphRecord Prepare(const TShape& shape, int type) {
    CellStoreClear();
    int n = static_cast<int>(shape.values.size());
    for (int row = 0; row < n; ++row) {
      EXPECT_TRUE(EnterCell(std::to_string(row + 1), row, 0));
      EXPECT_TRUE(EnterCell("L" + std::to_string(row), row, 4));
      for (int s = 1; s <= 3; ++s) {
        std::string text = shape.values[static_cast<std::size_t>(row)];
        if (text.empty()) continue;
        char* end = nullptr;
        double v = std::strtod(text.c_str(), &end);
        if (end != text.c_str() && *end == '\0') text = std::to_string(v * s);
        EXPECT_TRUE(EnterCell(text, row, s)) << text;
      }
    }
    TGraphRecord g = Graph(type, n, 3);
    g.SetLabelRange(1, MakeRange(4, 0, 4, n - 1));
    g.SetOptions(type % 2 ? 0x03 : 0x0F);  // both grids; dotted or solid; row or table legend
    for (int s = 1; s <= 3; ++s) g.SetLegend(s, "Series " + std::to_string(s));
    for (int h = 1; h <= kGraphHeadings; ++h) g.SetHeading(h, "Heading " + std::to_string(h));
    return g;
  }
};

TEST_F(GraphSweepTest, EveryTypeDrawsEveryShapeAtEverySize) {
  const classlib::TSize sizes[] = {{700, 350}, {160, 90}, {6, 6}, {1, 1}};
  for (const TShape& shape : kShapes) {
    for (int type = 0; type <= kGraphStack3D; ++type) {
      TGraphRecord g = Prepare(shape, type);
      SetCurrentGraph(g);
      for (classlib::TSize size : sizes) {
        SCOPED_TRACE(std::string(shape.name) + ", type " + std::to_string(type) + ", " + std::to_string(size.cx) +
                     "x" + std::to_string(size.cy));
        canvas.Clear();
        TRect plot = DrawGraph(canvas, size.cx, size.cy, -1, &hits);
        ASSERT_EQ(CurrentGraph(), g);
        ASSERT_FALSE(canvas.Calls.empty());
        const TRect limits{-kGraphPixelLimit, -kGraphPixelLimit, kGraphPixelLimit, kGraphPixelLimit};
        for (const TCanvasCall& call : canvas.Calls) {
          for (TPoint p : call.Points) ASSERT_TRUE(Within(p, limits)) << canvas.Dump();
          ASSERT_TRUE(Within({call.Rect.Left, call.Rect.Top}, limits) && Within({call.Rect.Right, call.Rect.Bottom}, limits));
        }
        if (size.cy < 350 || GraphTypeProperties(type).polar) continue;
        // Series stay inside the plot (marks may reach a few pixels beyond a
        // point at its edge); radar and polar values beyond the scale's top
        // may not, by design.
        for (const TCanvasCall& call : canvas.Calls) {
          if (!call.Clipped || call.Op == TCanvasOp::TextOut) continue;
          TRect room = call.Clip.Inflate(8, 8);
          for (TPoint p : call.Points) ASSERT_TRUE(Within(p, room)) << classlib::CanvasOpName(call.Op) << " at " << p.x << "," << p.y;
          if (call.Op == TCanvasOp::FillRect || call.Op == TCanvasOp::Rectangle || call.Op == TCanvasOp::Ellipse) {
            ASSERT_TRUE(Within({call.Rect.Left, call.Rect.Top}, room) && Within({call.Rect.Right, call.Rect.Bottom}, room));
          }
        }
        (void)plot;
      }
    }
  }
}

}  // namespace
}  // namespace corvane::testing

// Shared set-up for the graph drawing tests: a document whose cells the test
// fills, a graph record built over them, and a drawing on a recording canvas.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/RecordingCanvas.h"
#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/graphs/GraphDraw.h"
#include "spreadsheet/graphs/NamedGraphs.h"
#include "tests/spreadsheet/engine/EngineTestSupport.h"

namespace corvane::testing {

class GraphTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    OpenCurrent("GRAPH.WKS");
    ASSERT_TRUE(GraphInitDocument());
  }

  // Enters `texts` down column `col` from row 0 ("" leaves the cell alone).
  void Column(int col, const std::vector<std::string>& texts) {
    for (std::size_t row = 0; row < texts.size(); ++row)
      if (!texts[row].empty()) {
        ASSERT_TRUE(EnterCell(texts[row], static_cast<int>(row), col)) << texts[row];
      }
  }

  // A fresh graph of `type` with X in column 0 and series 1..n in the next
  // columns, all over rows 0..rows-1.
  static TGraphRecord Graph(int type, int rows, int series) {
    TGraphRecord g = TGraphRecord::Fresh();
    g.SetType(type);
    g.SetXRange(MakeRange(0, 0, 0, rows - 1));
    for (int s = 1; s <= kGraphSeries; ++s)
      g.SetSeriesRange(s, s <= series ? MakeRange(s, 0, s, rows - 1) : TRange{});
    for (int s = 1; s <= kGraphSeries; ++s) g.SetLabelRange(s, TRange{});
    return g;
  }

  classlib::TRect Draw(const TGraphRecord& g, int width = 700, int height = 350) {
    canvas.Clear();
    return DrawGraphRecord(canvas, width, height, g, &hits);
  }

  // Texts drawn in the given font height (one text element's).
  std::vector<std::string> TextsOfHeight(int height) const {
    std::vector<std::string> texts;
    for (const classlib::TCanvasCall& call : canvas.CallsOf(classlib::TCanvasOp::TextOut))
      if (-call.Font.Height == height) texts.push_back(call.Text);
    return texts;
  }

  classlib::TRecordingCanvas canvas{700, 350};
  TGraphHitList hits;
};

}  // namespace corvane::testing

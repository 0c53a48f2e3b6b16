// DrawGraph: the frame, then the series.
#include "spreadsheet/graphs/GraphDraw.h"

#include "spreadsheet/engine/FormatSettings.h"
#include "spreadsheet/graphs/NamedGraphs.h"

namespace corvane {

using classlib::TBrushStyle;
using classlib::TCanvas;
using classlib::TPoint;
using classlib::TRect;

namespace {

constexpr classlib::TColor kWallColor = 0xC0C0C0;
constexpr classlib::TColor kSlabColor = 0x808080;

bool GraphDefined(const TGraphRecord& graph) {
  if (!RangeIsValid(graph.XRange())) return false;
  for (int series = 1; series <= kGraphSeries; ++series)
    if (RangeIsValid(graph.SeriesRange(series))) return true;
  return false;
}

// Zero values are shown as numbers while a graph is drawn, whatever the sheet's
// setting; the setting comes back however the drawing ends.
class TZeroShownScope {
 public:
  TZeroShownScope() : saved_(FormatSettings().Zero) { FormatSettings().Zero = false; }
  ~TZeroShownScope() { FormatSettings().Zero = saved_; }
  TZeroShownScope(const TZeroShownScope&) = delete;
  TZeroShownScope& operator=(const TZeroShownScope&) = delete;

 private:
  bool saved_;
};

void FillPolygon(TCanvas& canvas, std::initializer_list<TPoint> points, classlib::TColor color) {
  canvas.Brush = {color, TBrushStyle::bsSolid, classlib::clNone};
  canvas.Polygon(std::span<const TPoint>(points.begin(), points.size()));
}

// The left wall and the floor of a 3D graph, with their slabs.
void DrawWalls(TCanvas& canvas, const TGraphFrame& f) {
  int l = f.left, r = f.right, t = f.top, b = f.bottom, dx = f.dx, dy = f.dy, s = f.s;
  canvas.Pen = {classlib::clBlack, 1, classlib::TPenStyle::psSolid, classlib::TPenMode::pmCopy};
  FillPolygon(canvas, {{l, t}, {l + dx, t + dy}, {l + dx, b + dy}, {l, b}}, kWallColor);
  FillPolygon(canvas, {{l, b}, {l + dx, b + dy}, {r + dx, b + dy}, {r, b}}, kWallColor);
  FillPolygon(canvas, {{l - s, t}, {l, t}, {l + dx, t + dy}, {l - s + dx, t + dy}}, kSlabColor);
  FillPolygon(canvas, {{l - s, t}, {l, t}, {l, b}, {r, b}, {r, b + s}, {l - s, b + s}}, kSlabColor);
  FillPolygon(canvas, {{r, b}, {r + dx, b + dy}, {r + dx, b + dy + s}, {r, b + s}}, kSlabColor);
}

}  // namespace

TRect DrawGraph(TCanvas& canvas, int width, int height, int index, TGraphHitList* hits,
                const TGraphDrawOptions& options) {
  TGraphRecord graph = CurrentGraph();
  TGraphRecord named;
  if (index >= 0 && GraphRecordAt(index, named)) graph = named;
  return DrawGraphRecord(canvas, width, height, graph, hits, options);
}

TRect DrawGraphRecord(TCanvas& canvas, int width, int height, const TGraphRecord& graph, TGraphHitList* hits,
                      const TGraphDrawOptions& options) {
  if (hits) hits->ClearRegions();
  classlib::TCanvasStateSaver saver(canvas);
  if (!GraphDefined(graph)) {
    const char* text = "Graph Undefined!";
    classlib::TSize size = canvas.TextExtent(text);
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.TextAlign = classlib::taLeft | classlib::taTop;
    canvas.TextOut(width / 2 - size.cx / 2, height / 2 - size.cy / 2, text);
    return {};
  }
  TZeroShownScope zeroShown;
  TGraphFrame f(graph, width, height, options, hits);
  f.Layout(canvas);
  canvas.Pen = {classlib::clBlack, 1, classlib::TPenStyle::psSolid, classlib::TPenMode::pmCopy};
  canvas.CopyMode = classlib::TCopyMode::cmSrcCopy;

  canvas.Brush = {f.PositionColor(7), TBrushStyle::bsSolid, classlib::clNone};
  canvas.FillRect({0, 0, width, height});
  f.AddHit(7, {0, 0, width, height});

  DrawLegend(canvas, f);

  if (f.props.hasYAxis) {
    TRect plot{f.left + f.dx, f.top + f.dy, f.right + f.dx, f.bottom + f.dy};
    canvas.Pen = {classlib::clBlack, 1, classlib::TPenStyle::psSolid, classlib::TPenMode::pmCopy};
    canvas.Brush = {f.PositionColor(8), TBrushStyle::bsSolid, classlib::clNone};
    canvas.Rectangle(plot);
    if (!f.props.threeD) {
      canvas.Brush.Style = TBrushStyle::bsClear;
      canvas.Rectangle(plot.Inflate(1, 1));
    }
    f.AddHit(8, plot.Inflate(1, 1));
  }

  DrawHeadings(canvas, f);
  if (f.props.threeD && f.props.hasYAxis) DrawWalls(canvas, f);

  int type = f.g.Type();
  if (f.props.polar) {
    DrawPolarGrid(canvas, f);
  } else if (f.props.hasYAxis && type != kGraphContour) {
    DrawXAxis(canvas, f, f.tick, true);
    DrawYAxis(canvas, f, f.tick, true);
  }
  DrawGraphSeries(canvas, f);
  if (type == kGraphContour) {
    DrawXAxis(canvas, f, f.tick, true);
    DrawYAxis(canvas, f, f.tick, true);
  }
  return {f.left, f.top, f.right, f.bottom};
}

}  // namespace corvane

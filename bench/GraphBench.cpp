// What drawing a graph costs on the recording canvas: a line graph of 6 series
// of 8,000 points each and a pie of 500 slices, each drawn at 700 x 350 pixels
// (scales, layout, axes, legend and series; the canvas keeps every call).
#include <chrono>
#include <cstdio>
#include <string>

#include "classlib/RecordingCanvas.h"
#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/DocumentTable.h"
#include "spreadsheet/engine/PagePool.h"
#include "spreadsheet/graphs/GraphDraw.h"
#include "spreadsheet/graphs/NamedGraphs.h"

namespace {

using namespace corvane;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

TRange Column(int col, int rows) {
  TRange range;
  RangeSet(range, col, 0, col, rows - 1);
  return range;
}

void Bench(const char* what, const TGraphRecord& graph, int repeats) {
  classlib::TRecordingCanvas canvas(700, 350);
  TGraphHitList hits;
  double total = 0;
  std::size_t calls = 0;
  for (int n = 0; n < repeats; ++n) {
    canvas.Clear();
    Clock::time_point start = Clock::now();
    DrawGraphRecord(canvas, 700, 350, graph, &hits);
    total += Seconds(start);
    calls = canvas.Calls.size();
  }
  std::printf("%-40s %8.1f ms per drawing  %8zu canvas calls  %6zu hit regions\n", what, total * 1000 / repeats, calls,
              hits.Nodes().size());
}

}  // namespace

int main() {
  PoolInit();
  int slot = 0;
  if (RegisterOpenSheet("GRAPHS.WKS", slot) != TOpenResult::kNew || !ActivateDocumentContext(slot) ||
      !GraphInitDocument())
    return std::fprintf(stderr, "cannot open a document\n"), 1;

  constexpr int kPoints = 8000;
  for (int row = 0; row < kPoints; ++row) {
    SetCellNumber(row, 0, row + 1);
    for (int s = 1; s <= 6; ++s) SetCellNumber(row, s, (row * 37 + s * 101) % 1000 + s * 100);
  }
  TGraphRecord line = TGraphRecord::Fresh();
  line.SetType(kGraphLine);
  line.SetXRange(Column(0, kPoints));
  for (int s = 1; s <= 6; ++s) {
    line.SetSeriesRange(s, Column(s, kPoints));
    line.SetLabelRange(s, TRange{});
    line.SetLegend(s, "Series " + std::to_string(s));
  }
  Bench("line graph, 6 series x 8,000 points", line, 5);

  constexpr int kSlices = 500;
  TGraphRecord pie = TGraphRecord::Fresh();
  pie.SetType(kGraphPie);
  pie.SetXRange(Column(0, kSlices));
  pie.SetSeriesRange(1, Column(1, kSlices));
  for (int s = 2; s <= 6; ++s) pie.SetSeriesRange(s, TRange{});
  for (int s = 1; s <= 6; ++s) pie.SetLabelRange(s, TRange{});
  Bench("pie, 500 slices", pie, 20);
  pie.SetType(kGraphPie3D);
  Bench("3D pie, 500 slices", pie, 20);
  return 0;
}

// What drawing a graph costs on the recording canvas: a line graph of 6 series
// of 8,000 points each and a pie of 500 slices, each drawn at 700 x 350 pixels
// (scales, layout, axes, legend and series; the canvas keeps every call).
#include <chrono>
#include <cstdio>

#include "bench/GraphBenchSheet.h"
#include "classlib/RecordingCanvas.h"
#include "spreadsheet/graphs/GraphDraw.h"

namespace {

using namespace corvane;
using Clock = std::chrono::steady_clock;

void Bench(const char* what, const TGraphRecord& graph, int repeats) {
  classlib::TRecordingCanvas canvas(700, 350);
  TGraphHitList hits;
  double total = 0;
  std::size_t calls = 0;
  for (int n = 0; n < repeats; ++n) {
    canvas.Clear();
    Clock::time_point start = Clock::now();
    DrawGraphRecord(canvas, 700, 350, graph, &hits);
    total += std::chrono::duration<double>(Clock::now() - start).count();
    calls = canvas.Calls.size();
  }
  std::printf("%-40s %8.1f ms per drawing  %8zu canvas calls  %6zu hit regions\n", what, total * 1000 / repeats, calls,
              hits.Nodes().size());
}

}  // namespace

int main() {
  if (!bench::PrepareGraphSheet()) return std::fprintf(stderr, "cannot open a document\n"), 1;
  Bench("line graph, 6 series x 8,000 points", bench::LineGraph(), 5);
  Bench("pie, 500 slices", bench::PieGraph(kGraphPie), 20);
  Bench("3D pie, 500 slices", bench::PieGraph(kGraphPie3D), 20);
  return 0;
}

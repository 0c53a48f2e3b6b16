// What painting the graph window costs under Wine: the window's paint box of
// 700 x 350 pixels repainted (the graph drawn into an off-screen bitmap and
// copied onto the window) for a line graph of 6 series of 8,000 points and for
// pies of 500 slices.
#include <chrono>
#include <cstdio>

#include "bench/GraphBenchSheet.h"
#include "classlib/win/Application.h"
#include "spreadsheet/graphs/win/GraphView.h"

namespace {

using namespace corvane;
using Clock = std::chrono::steady_clock;

void Bench(TGraphView& view, const char* what, const TGraphRecord& graph, int repeats) {
  SetCurrentGraph(graph);
  view.Pbox1()->Repaint();  // a first painting outside the timing
  Clock::time_point start = Clock::now();
  for (int n = 0; n < repeats; ++n) view.Pbox1()->Repaint();
  double ms = std::chrono::duration<double>(Clock::now() - start).count() * 1000 / repeats;
  std::printf("%-40s %8.1f ms per painting  %6zu hit regions\n", what, ms, view.HitList().Nodes().size());
}

}  // namespace

int main() {
  if (!bench::PrepareGraphSheet()) return std::fprintf(stderr, "cannot open a document\n"), 1;
  TGraphView view(nullptr);
  view.Show();
  view.SetClientSize(700, 350);
  classlib::Application().ProcessMessages();
  Bench(view, "line graph, 6 series x 8,000 points", bench::LineGraph(), 5);
  Bench(view, "pie, 500 slices", bench::PieGraph(kGraphPie), 20);
  Bench(view, "3D pie, 500 slices", bench::PieGraph(kGraphPie3D), 20);
  return 0;
}

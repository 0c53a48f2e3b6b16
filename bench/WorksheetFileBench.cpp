// What worksheet files cost: saving and loading a sheet of 200,000 cells, of
// which 16,000 are formulas (the rest integers, reals and labels), reported
// as megabytes and cells per second. Each figure is the best of a few runs.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/CellStore.h"
#include "spreadsheet/engine/DocumentTable.h"
#include "spreadsheet/engine/PagePool.h"
#include "spreadsheet/files/WorksheetFile.h"
#include "bench/BenchSheet.h"

namespace {

using namespace corvane;
using Clock = std::chrono::steady_clock;

constexpr int kRepeats = 5;

double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

void Report(const char* what, double bytes, double cells, double seconds) {
  std::printf("%-24s %8.3f s  %8.1f MB/s  %12.0f cells/s\n", what, seconds, bytes / 1e6 / seconds, cells / seconds);
}

bool OpenDocument(const std::string& name) {
  int slot = 0;
  return RegisterOpenSheet(name, slot) == TOpenResult::kNew && ActivateDocumentContext(slot);
}

}  // namespace

int main() {
  PoolInit();
  std::filesystem::path folder = std::filesystem::temp_directory_path() / "corvane-wks-bench";
  std::filesystem::create_directories(folder);
  std::string path = (folder / "BENCH.WKS").string();
  if (!OpenDocument("BENCH.WKS")) return 1;
  int formulas = bench::FillBenchSheet();
  if (formulas < 0) return 1;
  double cells = double{bench::kSheetRows} * bench::kSheetColumns;
  std::printf("sheet: %.0f cells, %d formulas\n", cells, formulas);

  double bestSave = 1e9, bestLoad = 1e9;
  for (int run = 0; run < kRepeats; ++run) {
    auto start = Clock::now();
    if (!SaveWorksheet(path, false, TRange{})) return 1;
    bestSave = std::min(bestSave, Seconds(start));
  }
  double bytes = static_cast<double>(std::filesystem::file_size(path));
  for (int run = 0; run < kRepeats; ++run) {
    if (!OpenDocument("LOADED" + std::to_string(run) + ".WKS")) return 1;
    auto start = Clock::now();
    if (!LoadWorksheet(path, 0, 0, 0, "")) return 1;
    bestLoad = std::min(bestLoad, Seconds(start));
    ReleaseOpenSheet(gCurrentDoc.ownerTag);
  }
  std::printf("file: %.1f MB\n", bytes / 1e6);
  Report("save (write + replace)", bytes, cells, bestSave);
  Report("load (parse + store)", bytes, cells, bestLoad);
  std::filesystem::remove_all(folder);
  return 0;
}

// Reading a worksheet file of 200,000 cells (16,000 of them formulas),
// recalculating it and writing it as CSV, each as one process: our
// wks_to_csv beside the peer converter "ssconvert --recalc" (Debian's gnumeric
// package), on the same file. Each figure is the best of a few runs; the peer
// line is skipped, saying so, when ssconvert is not installed.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/DocumentTable.h"
#include "spreadsheet/engine/PagePool.h"
#include "spreadsheet/files/WorksheetFile.h"
#include "bench/BenchSheet.h"

namespace {

using namespace corvane;
using Clock = std::chrono::steady_clock;

// The best wall-clock time of `runs` runs of `command`; negative when it fails.
double BestRun(const std::string& command, int runs) {
  double best = 1e9;
  for (int n = 0; n < runs; ++n) {
    auto start = Clock::now();
    if (std::system(command.c_str()) != 0) return -1;
    best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
  }
  return best;
}

long LineCount(const std::filesystem::path& file) {
  std::ifstream in(file);
  long lines = 0;
  for (std::string line; std::getline(in, line);) ++lines;
  return lines;
}

}  // namespace

int main() {
  PoolInit();
  std::filesystem::path folder = std::filesystem::temp_directory_path() / "corvane-csv-bench";
  std::filesystem::create_directories(folder);
  std::filesystem::path wks = folder / "BENCH.WKS", ours = folder / "OURS.CSV", peer = folder / "peer.csv";
  int slot = 0;
  if (RegisterOpenSheet("BENCH.WKS", slot) != TOpenResult::kNew || !ActivateDocumentContext(slot) || bench::FillBenchSheet() < 0 ||
      !SaveWorksheet(wks.string(), false, TRange{}))
    return std::fprintf(stderr, "cannot build the worksheet file\n"), 1;
  std::printf("file: %d cells, %.1f MB\n", bench::kSheetRows * bench::kSheetColumns, std::filesystem::file_size(wks) / 1e6);

  double ourTime = BestRun(std::string(WKS_TO_CSV) + " " + wks.string() + " " + ours.string(), 5);
  if (ourTime < 0) return std::fprintf(stderr, "wks_to_csv failed\n"), 1;
  std::printf("%-44s %8.3f s  (%ld lines)\n", "wks_to_csv (read, recalculate, write CSV)", ourTime, LineCount(ours));
  if (std::system("command -v ssconvert >/dev/null 2>&1") != 0) {
    std::printf("ssconvert --recalc: skipped, ssconvert is not installed (Debian package gnumeric)\n");
  } else {
    double peerTime = BestRun("ssconvert --recalc --export-type=Gnumeric_stf:stf_csv " + wks.string() + " " + peer.string() + " >/dev/null 2>&1", 3);
    if (peerTime < 0) {
      std::printf("ssconvert --recalc: failed on the file\n");
    } else {
      std::printf("%-44s %8.3f s  (%ld lines)\n", "ssconvert --recalc", peerTime, LineCount(peer));
      std::printf("wks_to_csv is %.1f times as fast\n", peerTime / ourTime);
    }
  }
  std::filesystem::remove_all(folder);
  return 0;
}

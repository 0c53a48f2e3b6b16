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
#include "spreadsheet/engine/NewSheet.h"
#include "spreadsheet/engine/PagePool.h"
#include "spreadsheet/files/WorksheetFile.h"

namespace {

using namespace corvane;
using Clock = std::chrono::steady_clock;

constexpr int kColumns = 250;
constexpr int kRows = 800;  // 200,000 cells
constexpr int kFormulaEvery = 25;  // two formulas in every 25 columns
constexpr int kRepeats = 5;

double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

void Report(const char* what, double bytes, double cells, double seconds) {
  std::printf("%-24s %8.3f s  %8.1f MB/s  %12.0f cells/s\n", what, seconds, bytes / 1e6 / seconds, cells / seconds);
}

bool OpenDocument(const std::string& name) {
  int slot = 0;
  return RegisterOpenSheet(name, slot) == TOpenResult::kNew && ActivateDocumentContext(slot) && InitNewSheet();
}

// 16,000 formulas: columns 5, 17, 30, 42, ... of every row (20 a row), reading
// cells of their own row.
int FillSheet() {
  gCurrentDoc.settings.manualRecalc = 1;
  int formulas = 0;
  for (int row = 0; row < kRows; ++row) {
    for (int col = 0; col < kColumns; ++col) {
      int k = col % kFormulaEvery;
      std::string text;
      if (k == 5 || k == 17) {
        text = k == 5 ? "+A" + std::to_string(row + 1) + "*2+B" + std::to_string(row + 1)
                      : "@SUM(C" + std::to_string(row + 1) + "..E" + std::to_string(row + 1) + ")";
        ++formulas;
      } else if (k % 3 == 0) {
        text = std::to_string(row * col % 30000);
      } else if (k % 3 == 1) {
        text = std::to_string(row + col / 7.0);
      } else {
        text = "'item " + std::to_string(row * kColumns + col);
      }
      if (!EnterCell(text, row, col)) return -1;
    }
  }
  return formulas;
}

}  // namespace

int main() {
  PoolInit();
  std::filesystem::path folder = std::filesystem::temp_directory_path() / "corvane-wks-bench";
  std::filesystem::create_directories(folder);
  std::string path = (folder / "BENCH.WKS").string();
  if (!OpenDocument("BENCH.WKS")) return 1;
  int formulas = FillSheet();
  if (formulas < 0) return 1;
  double cells = double{kRows} * kColumns;
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

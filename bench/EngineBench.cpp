// What the engine's large workloads cost: a full recalculation of 100,000
// simple formulas, 1,000 column sums over a block of 1,000 x 200 numbers,
// 32,000 formulas entered on one cell, rows of 200 cells entered one by one,
// and what a number cell, a simple formula and the cell index take in memory.
// Each recalculation figure also says how many formulas were left stale.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/CellStore.h"
#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/DocumentTable.h"
#include "spreadsheet/engine/PagePool.h"
#include "spreadsheet/engine/RangeText.h"
#include "spreadsheet/engine/Recalc.h"

namespace {

using namespace corvane;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

void Report(const char* what, long count, double seconds, const char* unit) {
  std::printf("%-56s %9ld  %8.3f s  %9.1f ns %s\n", what, count, seconds, seconds * 1e9 / count, unit);
}

bool OpenDocument(const char* name) {
  int slot = 0;
  return RegisterOpenSheet(name, slot) == TOpenResult::kNew && ActivateDocumentContext(slot);
}

void CloseDocument() { ReleaseOpenSheet(gCurrentDoc.ownerTag); }

double Value(int row, int col) {
  const TCell* cell = CellPtr(CellFind(row, col));
  if (!cell || (cell->kind & kKindErrorBit)) return NAN;
  return CellKind(*cell) == kKindInteger ? CellInteger(*cell) : CellReal(*cell);
}

// 100,000 formulas +A1*2+1, each beside its own number: 13 pairs of columns
// of 7,693 rows. The numbers change with recalculation off, then RecalcAll
// brings every formula up to date.
void BenchRecalcAll() {
  constexpr int kFormulas = 100000, kRows = 7693, kRepeats = 10;
  auto place = [](int k, int& row, int& col) {
    row = k % kRows;
    col = 2 * (k / kRows);
  };
  gCurrentDoc.settings.manualRecalc = 1;
  for (int k = 0; k < kFormulas; ++k) {
    int row, col;
    place(k, row, col);
    EnterCell(std::to_string(k % 1000), row, col);
    EnterCell("+" + ColRowName(row, col) + "*2+1", row, col + 1);
  }
  double best = 1e9;
  long stale = 0;
  for (int n = 1; n <= kRepeats; ++n) {
    for (int k = 0; k < kFormulas; ++k) {
      int row, col;
      place(k, row, col);
      SetCellValue(CellFind(row, col), (k + n) % 1000);
    }
    Clock::time_point start = Clock::now();
    RecalcAll();
    best = std::min(best, Seconds(start));
    for (int k = 0; k < kFormulas; ++k) {
      int row, col;
      place(k, row, col);
      if (Value(row, col + 1) != Value(row, col) * 2 + 1) ++stale;
    }
  }
  Report("RecalcAll, 100,000 formulas +A1*2+1 (best of 10, per formula)", kFormulas, best, "each");
  std::printf("  formulas left stale: %ld of %ld\n", stale, long{kFormulas} * kRepeats);
}

// 1,000 sums, five over each column of a block of 1,000 rows by 200 columns
// of numbers, recalculated together with RecalcRange over the sums.
void BenchSums() {
  constexpr int kRows = 1000, kCols = 200, kSums = 1000, kRepeats = 5;
  gCurrentDoc.settings.manualRecalc = 1;
  for (int row = 0; row < kRows; ++row)
    for (int col = 0; col < kCols; ++col) EnterCell(std::to_string((row + col) % 100), row, col);
  for (int k = 0; k < kSums; ++k) {
    int col = k % kCols;
    EnterCell("@SUM(" + ColRowName(0, col) + ".." + ColRowName(kRows - 1, col) + ")", k / 5, kCols + k % 5);
  }
  std::printf("cell index, rows of 200 to 205 cells: %.1f bytes per cell, %.0f per used row\n",
              double(CellIndexBytes()) / (kRows * kCols + kSums), double(CellIndexBytes()) / kRows);
  TRange sums;
  RangeSet(sums, kCols, 0, kCols + 4, kSums / 5 - 1);
  double best = 1e9;
  for (int n = 0; n < kRepeats; ++n) {
    Clock::time_point start = Clock::now();
    RecalcRange(sums);
    best = std::min(best, Seconds(start));
  }
  Report("1,000 @SUMs of 1,000 numbers each, RecalcRange (best, per sum)", kSums, best, "each");
  Report("  the same per number summed", long{kSums} * kRows, best, "each");
}

// 32,000 formulas that all read one cell, entered with recalculation on.
void BenchManyOnOneCell() {
  constexpr int kFormulas = 32000;
  gCurrentDoc.settings.manualRecalc = 0;
  EnterCell("1", 0, 0);
  Clock::time_point start = Clock::now();
  for (int k = 0; k < kFormulas; ++k) EnterCell("+$A$1+1", k % 8000, 1 + k / 8000);
  Report("32,000 formulas on one cell entered (per formula)", kFormulas, Seconds(start), "each");
  std::printf("  dependents hub of that cell: %.1f bytes per dependent\n", double(DependentsHubBytes()) / kFormulas);
  start = Clock::now();
  EnterCell("2", 0, 0);
  Report("  then that cell changed (per dependent)", kFormulas, Seconds(start), "each");
}

// Rows of 200 numbers entered cell by cell, left to right.
void BenchRowEntry() {
  constexpr int kRows = 100, kCols = 200;
  gCurrentDoc.settings.manualRecalc = 0;
  Clock::time_point start = Clock::now();
  for (int row = 0; row < kRows; ++row)
    for (int col = 0; col < kCols; ++col) EnterCell("12345", row, col);
  Report("rows of 200 numbers entered (per cell)", long{kRows} * kCols, Seconds(start), "each");
}

// Pool bytes per number cell and per simple formula.
void BenchMemory() {
  constexpr int kCells = 8000;
  gCurrentDoc.settings.manualRecalc = 1;
  std::int32_t before = PoolUsedBytes();
  for (int row = 0; row < kCells; ++row) EnterCell("12345", row, 0);
  std::int32_t numbers = PoolUsedBytes();
  for (int row = 0; row < kCells; ++row) EnterCell("+A" + std::to_string(row + 1) + "*2+1", row, 1);
  std::int32_t formulas = PoolUsedBytes();
  std::printf("pool bytes per number cell: %.1f, per formula +A1*2+1 with its link: %.1f\n",
              double(numbers - before) / kCells, double(formulas - numbers) / kCells);
  std::printf("cell index, rows of 2 cells: %.1f bytes per cell, %.0f per used row\n",
              double(CellIndexBytes()) / (2 * kCells), double(CellIndexBytes()) / kCells);
}

}  // namespace

// With an argument, runs only the benchmarks whose document name contains it
// (RECALC, SUMS, FANIN, ROWS, MEMORY), for profiling one at a time.
int main(int argc, char** argv) {
  PoolInit();
  struct {
    const char* name;
    void (*run)();
  } benches[] = {{"RECALC.WKS", BenchRecalcAll}, {"SUMS.WKS", BenchSums}, {"FANIN.WKS", BenchManyOnOneCell},
                 {"ROWS.WKS", BenchRowEntry},    {"MEMORY.WKS", BenchMemory}};
  for (const auto& bench : benches) {
    if (argc > 1 && !std::strstr(bench.name, argv[1])) continue;
    if (!OpenDocument(bench.name)) return std::fprintf(stderr, "cannot open a document\n"), 1;
    bench.run();
    CloseDocument();
  }
  return 0;
}

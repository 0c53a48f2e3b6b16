// What the cell store costs: creates and then frees 1,000,000 cells spread over
// all 8192 rows (122 to a row) and prints cells per second for each step.
//
// One document holds at most about 898,000 cells (4080 pages of 7928 bytes, 36
// bytes a cell), so the rows are filled in four bands of 2048 rows, each band
// created and then freed before the next; every row still holds 122 cells when
// it is filled, so each lookup walks a full-length row. A last pass frees a band
// by closing the document instead of cell by cell.
#include <chrono>
#include <cstdio>

#include "spreadsheet/engine/CellStore.h"
#include "spreadsheet/engine/DocumentTable.h"
#include "spreadsheet/engine/PagePool.h"

namespace {

using corvane::CellGetOrCreate;
using corvane::kNilHandle;
using Clock = std::chrono::steady_clock;

constexpr int kRows = 8192;
constexpr int kBands = 4;
constexpr int kCellsPerRow = 122;  // 8192 x 122 = 999,424 cells

double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// Creates the cells of rows first..last-1; false when the store refused one.
bool FillRows(int first, int last) {
  for (int row = first; row < last; ++row)
    for (int col = 0; col < kCellsPerRow; ++col)
      if (CellGetOrCreate(row, col) == kNilHandle) return false;
  return true;
}

void Report(const char* what, long cells, double seconds) {
  std::printf("%-40s %9ld cells  %8.3f s  %12.0f cells/s\n", what, cells, seconds, cells / seconds);
}

}  // namespace

int main() {
  corvane::PoolInit();
  int slot = 0;
  if (corvane::RegisterOpenSheet("BENCH.WKS", slot) != corvane::TOpenResult::kNew ||
      !corvane::ActivateDocumentContext(slot)) {
    std::fprintf(stderr, "cannot open a document\n");
    return 1;
  }
  const int bandRows = kRows / kBands;
  const long bandCells = static_cast<long>(bandRows) * kCellsPerRow;
  double createSeconds = 0, freeSeconds = 0;
  for (int band = 0; band < kBands; ++band) {
    Clock::time_point start = Clock::now();
    if (!FillRows(band * bandRows, (band + 1) * bandRows)) {
      std::fprintf(stderr, "the store refused a cell in band %d\n", band);
      return 1;
    }
    createSeconds += Seconds(start);
    start = Clock::now();
    corvane::CellStoreClear();
    freeSeconds += Seconds(start);
  }
  std::printf("cell store, %d rows x %d cells, in %d bands of %d rows\n", kRows, kCellsPerRow, kBands, bandRows);
  Report("create (CellGetOrCreate)", bandCells * kBands, createSeconds);
  Report("free cell by cell (CellStoreClear)", bandCells * kBands, freeSeconds);

  FillRows(0, bandRows);
  Clock::time_point start = Clock::now();
  corvane::ReleaseOpenSheet(corvane::DocSlot(slot)->ownerTag);
  Report("free by closing the document", bandCells, Seconds(start));
  return 0;
}

// What the block commands cost on a sheet of 100,000 formulas: numbers in
// column A (1,000 rows) and 100 columns of formulas, each reading the cell to
// its left. Copying the 1,000 x 100 formula block beside itself, inserting a
// row above all of it, and deleting column A under it, each with its
// recalculation and with the undo copy it saves first. A fresh document each.
#include <chrono>
#include <cstdio>
#include <string>

#include "spreadsheet/engine/BlockCopy.h"
#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/CellStore.h"
#include "spreadsheet/engine/DocumentTable.h"
#include "spreadsheet/engine/InsertDelete.h"
#include "spreadsheet/engine/PagePool.h"
#include "spreadsheet/engine/RangeText.h"
#include "spreadsheet/engine/Recalc.h"

namespace {

using namespace corvane;
using Clock = std::chrono::steady_clock;

constexpr int kRows = 1000;
constexpr int kFormulaCols = 100;

double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// A recalculation queue that ran over stops short of the whole block; the
// figure is then for what fitted.
void Report(const char* what, double seconds) {
  std::printf("%-66s %8.3f s  %8.0f ns per formula%s\n", what, seconds, seconds * 1e9 / (kRows * kFormulaCols),
              RecalcOverflowed() ? "  (recalculation queue overflowed)" : "");
}

bool OpenSheet(const char* name) {
  int slot = 0;
  if (RegisterOpenSheet(name, slot) != TOpenResult::kNew || !ActivateDocumentContext(slot)) {
    std::fprintf(stderr, "cannot open a document\n");
    return false;
  }
  gSuppressRecalc = true;
  for (int row = 0; row < kRows; ++row) {
    EnterCell(std::to_string(row + 1), row, 0);
    for (int col = 1; col <= kFormulaCols; ++col)
      EnterCell("+" + ColRowName(row, col - 1) + "*1.0001+1", row, col);
  }
  gSuppressRecalc = false;
  RecalcAll();
  return true;
}

// The first formula of the last row, which reads through its whole row.
double Probe(int row, int col) { return CellReal(*CellPtr(CellFind(row, col))); }

}  // namespace

int main() {
  PoolInit();
  TRange range;
  if (!OpenSheet("COPY.WKS")) return 1;
  RangeSet(range, 1, 0, kFormulaCols, kRows - 1);
  TRange target;
  RangeSet(target, kFormulaCols + 2, 0, kFormulaCols + 2, 0);
  Clock::time_point start = Clock::now();
  bool ok = CopyMoveRange(false, range, target);
  Report("copy a 1,000 x 100 block of formulas, with recalculation", Seconds(start));
  if (!ok) std::fprintf(stderr, "the copy failed\n");

  if (!OpenSheet("INSERT.WKS")) return 1;
  RangeSet(range, 0, 0, 0, 0);
  double before = Probe(kRows - 1, kFormulaCols);
  start = Clock::now();
  ok = InsertDeleteLines(range, kLinesRows, true);
  Report("insert a row above 100,000 formulas, with recalculation", Seconds(start));
  if (!ok || Probe(kRows, kFormulaCols) != before) std::fprintf(stderr, "the insert went wrong\n");

  if (!OpenSheet("DELETE.WKS")) return 1;
  start = Clock::now();
  ok = InsertDeleteLines(range, kLinesColumns, false);
  Report("delete the column under 100,000 formulas, with recalculation", Seconds(start));
  if (!ok || !(CellPtr(CellFind(0, 0))->kind & kKindErrorBit)) std::fprintf(stderr, "the delete went wrong\n");
  return 0;
}

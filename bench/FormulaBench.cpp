// What formulas cost: compiling, recalculating 16,000 formulas of the form
// A1*2+1 (one column referring to the one before it), recalculating 16,000
// formulas that all read one cell, entering cells through EnterCell, and saving
// and restoring the undo copy of the 32,000 cells of the first of those sheets.
#include <chrono>
#include <cstdio>
#include <string>

#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/CellStore.h"
#include "spreadsheet/engine/DocumentTable.h"
#include "spreadsheet/engine/FormulaCompiler.h"
#include "spreadsheet/engine/PagePool.h"
#include "spreadsheet/engine/Recalc.h"
#include "spreadsheet/engine/UndoBuffer.h"

namespace {

using namespace corvane;
using Clock = std::chrono::steady_clock;

constexpr int kFormulas = 16000;
constexpr int kRowsPerColumn = 8000;
constexpr int kRepeats = 50;

double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

void Report(const char* what, long count, double seconds) {
  std::printf("%-52s %9ld  %8.3f s  %12.0f /s  %8.1f ns each\n", what, count, seconds, count / seconds,
              seconds * 1e9 / count);
}

bool OpenDocument(const char* name) {
  int slot = 0;
  return RegisterOpenSheet(name, slot) == TOpenResult::kNew && ActivateDocumentContext(slot);
}

std::string Address(int row, int col) { return std::string(1, static_cast<char>('A' + col)) + std::to_string(row + 1); }

void BenchCompile() {
  const char* texts[] = {"A1*2+1", "@SUM(A1..B20,3)*2", "(A1+B1)/(C1-D1)^2", "\"abc\"&B7", "$A$1>=B2#AND#C3<>4"};
  constexpr long kCompiles = 200000;
  Clock::time_point start = Clock::now();
  long ok = 0;
  for (long n = 0; n < kCompiles; ++n) {
    std::string text = texts[n % 5];
    ok += CompileFormula(text);
  }
  Report("formulas compiled", kCompiles, Seconds(start));
  if (ok != kCompiles) std::fprintf(stderr, "%ld formulas failed to compile\n", kCompiles - ok);
}

void BenchRecalcAll() {
  // Columns B and D hold A(r)*2+1 and C(r)*2+1 beside numbers in A and C.
  for (int k = 0; k < kFormulas; ++k) {
    int row = k % kRowsPerColumn, col = 2 * (k / kRowsPerColumn);
    EnterCell(std::to_string(k), row, col);
    EnterCell("+" + Address(row, col) + "*2+1", row, col + 1);
  }
  Clock::time_point start = Clock::now();
  for (int n = 0; n < kRepeats; ++n) RecalcAll();
  Report("RecalcAll, 16000 formulas A1*2+1 (per formula)", long{kFormulas} * kRepeats, Seconds(start));
}

// On the sheet BenchRecalcAll built: the whole sheet is copied by every save.
void BenchUndo() {
  constexpr long kCells = 2L * kFormulas;
  constexpr int kUndoRepeats = 20;
  std::int32_t sheetBytes = PoolUsedBytes();
  Clock::time_point start = Clock::now();
  for (int n = 0; n < kUndoRepeats; ++n) UndoSave();
  Report("UndoSave, 32000 cells (per cell)", kCells * kUndoRepeats, Seconds(start));
  std::printf("undo copy: %d pool bytes for a sheet of %d\n", PoolUsedBytes() - sheetBytes, sheetBytes);
  double restoring = 0;
  for (int n = 0; n < kUndoRepeats; ++n) {
    UndoSave();
    start = Clock::now();
    UndoApply(TUndoMode::kRestore);
    restoring += Seconds(start);
  }
  Report("undo restore with RecalcAll, 32000 cells (per cell)", kCells * kUndoRepeats, restoring);
}

void BenchRecalcFromCell() {
  EnterCell("1", 0, 0);
  for (int k = 0; k < kFormulas; ++k) EnterCell("+$A$1*2+1", k % kRowsPerColumn, 1 + k / kRowsPerColumn);
  TCellHandle source = CellFind(0, 0);
  Clock::time_point start = Clock::now();
  for (int n = 0; n < kRepeats; ++n) RecalcFromCell(source);
  Report("RecalcFromCell, 16000 dependents (per formula)", long{kFormulas} * kRepeats, Seconds(start));
}

void BenchEnterCell() {
  const char* texts[] = {"123", "45.25", "label text", "+A1*2+1"};
  constexpr int kCells = 100000;
  Clock::time_point start = Clock::now();
  for (int k = 0; k < kCells; ++k) {
    std::string text = texts[k % 4];
    if (k % 4 == 3) text = "+" + Address(k % 8000, 4 + k / 8000) + "*2+1";  // the cell to its left
    EnterCell(text, k % 8000, 5 + k / 8000);
  }
  Report("cells entered through EnterCell", kCells, Seconds(start));
}

}  // namespace

int main() {
  PoolInit();
  if (!OpenDocument("COMPILE.WKS")) return std::fprintf(stderr, "cannot open a document\n"), 1;
  BenchCompile();
  if (!OpenDocument("RECALC.WKS")) return std::fprintf(stderr, "cannot open a document\n"), 1;
  BenchRecalcAll();
  BenchUndo();
  if (!OpenDocument("FANOUT.WKS")) return std::fprintf(stderr, "cannot open a document\n"), 1;
  BenchRecalcFromCell();
  if (!OpenDocument("ENTRY.WKS")) return std::fprintf(stderr, "cannot open a document\n"), 1;
  BenchEnterCell();
  return 0;
}

// Shared helpers of the range function families: range arguments, cells as
// numbers and the list aggregates.
#include "spreadsheet/engine/RangeArguments.h"

#include <cmath>

#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/FormulaTables.h"

namespace corvane {

// ---- Arguments ----------------------------------------------------------------

bool ArgumentIsRangeOperand(int arg, int count, int tokenAt) {
  if (arg < 1 || arg > count || count > gEval.sp) return false;
  const int slotNumber = gEval.sp - count + arg;
  const int start = gEval.slots[slotNumber].position;
  // The argument's code runs up to where the next argument's value was pushed,
  // or up to the function token for the last one. An expression such as A1*2
  // leaves its value in the slot A1 pushed, so the code after the operand must
  // be checked: only parentheses may follow it.
  const int end = arg == count ? tokenAt : gEval.slots[slotNumber + 1].position;
  if (start < kFirstTokenIndex || start >= gEval.length || end > gEval.length) return false;
  const std::uint8_t token = gEval.code[start];
  if (token != kTokCell && token != kTokRange) return false;
  int next = NextTokenIndex(gEval.code, start, gEval.length);
  while (next < end && gEval.code[next] == kTokParen) ++next;
  return next == end;
}

bool ArgumentRange(int arg, int count, int tokenAt, TRange& range) {
  if (!ArgumentIsRangeOperand(arg, count, tokenAt)) {
    SetCalcError();
    return false;
  }
  TValueSlot& slot = ArgumentSlot(arg, count);
  if (!SlotRange(slot, range)) return false;
  // A lone cell reference pushed that cell's value, with ERR's mark when the
  // cell holds ERR; read as a range it is no value, so its mark must not
  // reach the result (COUNTA of it is 0, CELL gives its attributes).
  slot.error = 0;
  return true;
}

// ---- Cells --------------------------------------------------------------------

double CellNumber(const TCell* cell, bool& error) {
  if (!cell) return 0.0;
  if (cell->kind & kKindErrorBit) {
    error = true;
    return -1.0;
  }
  switch (CellKind(*cell)) {
    case kKindInteger: return CellInteger(*cell);
    case kKindReal:
    case kKindNumberFormula: return CellReal(*cell);
    default: return 0.0;
  }
}

double CellNumber(const TCell* cell) {
  bool error = false;
  const double value = CellNumber(cell, error);
  if (error) SetCalcError();
  return value;
}

std::vector<double> RangeNumbers(const TRange& range) {
  const int rows = RangeRows(range);
  const int cols = RangeCols(range);
  std::vector<double> cells(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols), 0.0);
  bool error = false;
  ForEachCellInRange(range, [&](TCellHandle handle) {
    const TCell* cell = CellPtr(handle);
    const std::size_t k = static_cast<std::size_t>(cell->column - range.firstCol) * static_cast<std::size_t>(rows) +
                          static_cast<std::size_t>(cell->row - range.firstRow);
    if (k < cells.size()) cells[k] = CellNumber(cell, error);
  });
  if (error) SetCalcError();
  return cells;
}

// ---- List aggregates ------------------------------------------------------------

namespace {

// The variance of `values` (second pass over the deviations from the mean),
// or its root, by population or sample.
double ListVariance(TListAggregate aggregate, std::span<const double> values, double total, double count) {
  const double mean = SafeDivision(total, count);
  double squares = 0.0;
  for (double x : values) squares += (x - mean) * (x - mean);
  const bool sample = aggregate == TListAggregate::kVarSample || aggregate == TListAggregate::kStdSample;
  const double variance = SafeDivision(squares, sample ? count - 1.0 : count);
  const bool root = aggregate == TListAggregate::kStd || aggregate == TListAggregate::kStdSample;
  return root ? std::sqrt(std::fabs(variance)) : variance;
}

}  // namespace

double TListAccumulator::Result() const {
  const double count = static_cast<double>(count_);
  switch (aggregate_) {
    case TListAggregate::kSum: return total_;
    case TListAggregate::kCount: return count;
    case TListAggregate::kMin: return least_;
    case TListAggregate::kMax: return greatest_;
    case TListAggregate::kAvg: return SafeDivision(total_, count);
    default: return ListVariance(aggregate_, values_, total_, count);
  }
}

double AggregateList(TListAggregate aggregate, std::span<const double> values) {
  TListAccumulator accumulator(aggregate);
  for (double x : values) accumulator.Add(x);
  return accumulator.Result();
}

}  // namespace corvane

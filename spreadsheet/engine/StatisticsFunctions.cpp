// The statistics family: the list functions (SUM, AVG, COUNT, MIN, MAX, VAR,
// STD, VARU, STDU), whose arguments may be values or ranges; COUNTA; and the
// range functions MEDIAN, AVEDEV, SKEW, KURT, COV and PSUM.
#include <vector>

#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/Evaluator.h"
#include "spreadsheet/engine/FormulaTables.h"
#include "spreadsheet/engine/NumericLibrary.h"
#include "spreadsheet/engine/RangeArguments.h"
#include "spreadsheet/engine/RangeFunctionFamilies.h"

namespace corvane {

namespace {

// ---- List functions -------------------------------------------------------------

// Tokens 80-84, 87, 88, 149, 150 (argument list): each argument that is a
// range (or a lone cell reference) contributes its cells holding a number or a
// numeric formula, skipping labels, texts and blank cells; any other argument
// contributes its value. A visited cell holding ERR, or an argument marked as
// an error, makes the result an error.
template <TListAggregate kAggregate>
void ListFunction() {
  const int tokenAt = CurrentTokenPosition();
  const int count = gEval.code[gEval.index++];
  TListAccumulator values(kAggregate);
  bool error = false;
  std::uint8_t marks = 0;
  for (int arg = 1; arg <= count; ++arg) {
    if (!ArgumentIsRangeOperand(arg, count, tokenAt)) {
      const TValueSlot& slot = ArgumentSlot(arg, count);
      marks |= slot.error;
      values.Add(slot.value);
      continue;
    }
    TRange range;
    if (!ArgumentRange(arg, count, tokenAt, range)) {
      error = true;
      continue;
    }
    ForEachCellInRange(range, [&](TCellHandle, const TCell& cell) {
      if (cell.kind & kKindErrorBit) error = true;
      if (CellIsNumeric(&cell)) values.Add(CellNumber(&cell, error));
    });
  }
  const double result = values.Result();
  if (error) SetCalcError();
  FinishNumber(count, result, false);
  TopSlot().error = marks;
}

// ---- Range functions --------------------------------------------------------------

// Token 181, COUNTA(range): the cells that exist and hold a formula, a number or
// a label without ERR; blank, picture and error cells do not count.
void FnCountA() {
  TRange range;
  if (!ArgumentRange(1, 1, CurrentTokenPosition(), range)) return FinishNumber(1, 0);
  int count = 0;
  ForEachCellInRange(range, [&](TCellHandle handle) {
    const TCell* cell = CellPtr(handle);
    if (CellKind(*cell) <= kKindLabel && !(cell->kind & kKindErrorBit)) ++count;
  });
  FinishNumber(1, count);
}

using TListStatistic = double (*)(std::span<const double>, numeric::TCalcStatus&);

// Tokens 162, 170-173: MEDIAN, AVEDEV, SKEW, KURT and COV of every cell of the
// range, missing cells, labels and texts counting as 0.
template <TListStatistic kStatistic>
void RangeStatisticFunction() {
  TRange range;
  if (!ArgumentRange(1, 1, CurrentTokenPosition(), range)) return FinishNumber(1, 0);
  const std::vector<double> cells = RangeNumbers(range);
  numeric::TCalcStatus status;
  const double value = kStatistic(cells, status);
  FinishNumber(1, value, status);
}

// Token 140, PSUM(range1, range2): the sum of the products of corresponding
// cells of two ranges of one shape; ranges of different shapes are an error.
void FnPsum() {
  const int tokenAt = CurrentTokenPosition();
  TRange first, second;
  if (!ArgumentRange(1, 2, tokenAt, first) || !ArgumentRange(2, 2, tokenAt, second)) return FinishNumber(2, 0);
  if (RangeRows(first) != RangeRows(second) || RangeCols(first) != RangeCols(second)) {
    SetCalcError();
    return FinishNumber(2, 0);
  }
  const std::vector<double> a = RangeNumbers(first);
  const std::vector<double> b = RangeNumbers(second);
  double sum = 0.0;
  for (std::size_t k = 0; k < a.size(); ++k) sum += a[k] * b[k];
  FinishNumber(2, sum);
}

constexpr THandlerEntry kStatisticsHandlers[] = {
    {kTokSum, ListFunction<TListAggregate::kSum>},         {kTokAvg, ListFunction<TListAggregate::kAvg>},
    {kTokCount, ListFunction<TListAggregate::kCount>},     {kTokMin, ListFunction<TListAggregate::kMin>},
    {kTokMax, ListFunction<TListAggregate::kMax>},         {kTokVar, ListFunction<TListAggregate::kVar>},
    {kTokStd, ListFunction<TListAggregate::kStd>},         {kTokVarU, ListFunction<TListAggregate::kVarSample>},
    {kTokStdU, ListFunction<TListAggregate::kStdSample>},  {kTokPSum, FnPsum},
    {kTokMedian, RangeStatisticFunction<numeric::Median>}, {kTokAveDev, RangeStatisticFunction<numeric::AveDev>},
    {kTokSkew, RangeStatisticFunction<numeric::Skew>},     {kTokKurt, RangeStatisticFunction<numeric::Kurt>},
    {kTokCov, RangeStatisticFunction<numeric::Cov>},       {kTokCountA, FnCountA},
};

}  // namespace

void RegisterStatisticsHandlers() { RegisterTokenHandlers(kStatisticsHandlers); }

}  // namespace corvane

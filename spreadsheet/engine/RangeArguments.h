// Shared helpers of the range, lookup, statistics and iterative function
// families: range arguments read from the code, cells read as numbers, the
// list aggregates, and the iteration variable "X" with its save-and-restore
// scope. The argument slots and the result step are FunctionArguments.h's.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "spreadsheet/engine/CellStore.h"
#include "spreadsheet/engine/Evaluator.h"
#include "spreadsheet/engine/FunctionArguments.h"
#include "spreadsheet/engine/NumericLibrary.h"
#include "spreadsheet/engine/Range.h"

namespace corvane {

// ---- Arguments ----------------------------------------------------------------

// The code position of the running handler's token. Valid while the handler
// has not yet read operand bytes (list functions: before their count byte).
inline int CurrentTokenPosition() { return gEval.index - 1; }

// True when argument `arg` (1 = the first) of the `count` arguments on top of
// the stack is a cell reference or a two-corner range standing alone as that
// argument (parentheses allowed), not an expression that merely starts with
// one. `tokenAt` is the function token's position, where the last argument
// ends.
bool ArgumentIsRangeOperand(int arg, int count, int tokenAt);
// The range of such an argument, corners ordered. Any other argument, or a
// reference to a cell that no longer exists, sets the calc error flag and gives
// false. The argument's slot loses the error mark its reference pushed.
bool ArgumentRange(int arg, int count, int tokenAt, TRange& range);

// ---- Cells --------------------------------------------------------------------

// A cell as a number: numeric cells and numeric formulas give their value;
// missing and blank cells, labels and text results give 0. A cell holding ERR
// gives -1 and sets `error` (the first form: the calc error flag).
double CellNumber(const TCell* cell);
double CellNumber(const TCell* cell, bool& error);

// Every cell of the range as a number, column after column (cell k, from 0, is
// at row k % rows and column k / rows); missing cells count as 0.
std::vector<double> RangeNumbers(const TRange& range);

// The cells of a range as a block for the numeric library's matrix routines.
struct TRangeBlock {
  std::vector<double> cells;  // RangeNumbers of the range
  int rows = 0;
  int cols = 0;
  // A view that borrows `cells`: valid while this block lives.
  numeric::TCellMatrix Matrix() const { return {cells, rows, cols}; }
};
inline TRangeBlock RangeBlock(const TRange& range) { return {RangeNumbers(range), RangeRows(range), RangeCols(range)}; }

// ---- List aggregates ------------------------------------------------------------

// The aggregates of the list functions and of their database forms.
enum class TListAggregate { kSum, kAvg, kCount, kMin, kMax, kVar, kStd, kVarSample, kStdSample };

// The aggregate of `values`: count, total, least and greatest (all 0 with no
// values), the mean by safe division (no value is an error), and the variance
// summed in a second pass over the deviations from the mean, divided by the
// count (population) or by the count less one (sample), both by safe division.
double AggregateList(TListAggregate aggregate, std::span<const double> values);

// An aggregate taken as the values arrive, with the results AggregateList
// gives: count, total, least and greatest are kept as running figures; the
// variance aggregates, which need a second pass, also keep the values.
class TListAccumulator {
 public:
  explicit TListAccumulator(TListAggregate aggregate) : aggregate_(aggregate) {}
  void Add(double x) {
    least_ = count_ == 0 || x < least_ ? x : least_;
    greatest_ = count_ == 0 || x > greatest_ ? x : greatest_;
    total_ += x;
    ++count_;
    if (KeepsValues()) values_.push_back(x);
  }
  double Result() const;

 private:
  bool KeepsValues() const { return aggregate_ > TListAggregate::kMax; }

  TListAggregate aggregate_;
  double total_ = 0.0, least_ = 0.0, greatest_ = 0.0;
  long count_ = 0;
  std::vector<double> values_;
};

// ---- The iteration variable ---------------------------------------------------------

// The current value of "X": the point an iterative or database function is
// evaluating its formula at; 0 outside them.
double IterationValue();

// Owns "X" for the lifetime of one iterative or database function: the value
// the enclosing function had is restored when the scope ends, so nested
// functions (RECUR inside INTG, a Q-function inside RECUR) each keep their own.
class TIterationScope {
 public:
  TIterationScope();
  ~TIterationScope();
  TIterationScope(const TIterationScope&) = delete;
  TIterationScope& operator=(const TIterationScope&) = delete;
  void Set(double x);

 private:
  double saved_;
};

// Compiles the text of `slot` as a formula into `code` for repeated
// evaluation. A slot that holds no text, or a text that does not compile, sets
// the calc error flag and gives false.
bool CompileArgumentFormula(const TValueSlot& slot, std::string& code);
// Evaluates compiled `code` re-entrantly (with "X" as the innermost scope set
// it); false when the evaluation is an error. `value` is its number (0 for a
// text result). The calc error flag is left clear: callers that evaluate many
// times keep their own error and set the flag once at the end.
bool EvaluateIterationFormula(const std::string& code, double& value);

}  // namespace corvane

// The iterative functions: the iteration variable "X", numeric integration
// INTG and fixed-point iteration RECUR. The variable lives here alone; the
// database functions set it through the same scope, so every nested function
// keeps its own value and gives the enclosing one's back when it ends.
#include <cmath>
#include <string>

#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/Evaluator.h"
#include "spreadsheet/engine/FormulaCompiler.h"
#include "spreadsheet/engine/FormulaTables.h"
#include "spreadsheet/engine/RangeArguments.h"
#include "spreadsheet/engine/RangeFunctionFamilies.h"
#include "spreadsheet/engine/TextCase.h"

namespace corvane {

namespace {

double gIterationValue = 0.0;

// RECUR gives up after this many evaluations.
constexpr int kMaxRecurIterations = 20;
// INTG's first trapezoid sum uses this many intervals; each of the three
// further sums doubles them.
constexpr int kFirstIntervals = 16;
constexpr int kTrapezoidSums = 4;

}  // namespace

double IterationValue() { return gIterationValue; }

TIterationScope::TIterationScope() : saved_(gIterationValue) {}
TIterationScope::~TIterationScope() { gIterationValue = saved_; }
void TIterationScope::Set(double x) { gIterationValue = x; }

bool CompileArgumentFormula(const TValueSlot& slot, std::string& code) {
  if (slot.type != kSlotString || slot.error) {
    SetCalcError();
    return false;
  }
  code = slot.text;
  return CompileFormula(code);
}

bool EvaluateIterationFormula(const std::string& code, double& value) {
  std::string resultText;
  value = EvaluateFormulaCode(code, resultText);
  const bool ok = !ErrorFlagSet() && std::isfinite(value);
  if (ErrorFlagSet()) ClearCalcError();
  return ok;
}

namespace {

// Token 138, X (no arguments): the iteration variable.
void FnX() {
  if (PushSlot()) SetSlotNumber(TopSlot(), IterationValue());
}

// Token 184, RECUR(formula, start, tolerance): x starts at `start`; the
// formula is evaluated with X = x to give x', which becomes the next x, until
// |x' - x| falls below the tolerance. An error in the formula, or 20
// evaluations without settling, is an error. The result is the last x'.
void FnRecur() {
  std::string code;
  if (!CompileArgumentFormula(ArgumentSlot(1, 3), code)) return FinishNumber(3, 0);
  double x = ArgumentSlot(2, 3).value;
  const double tolerance = ArgumentSlot(3, 3).value;
  bool error = false;
  {
    TIterationScope scope;
    for (int iteration = 1;; ++iteration) {
      scope.Set(x);
      double next = 0.0;
      if (!EvaluateIterationFormula(code, next)) {
        error = true;
        break;
      }
      const bool settled = std::fabs(next - x) < tolerance;
      x = next;
      if (settled) break;
      if (iteration == kMaxRecurIterations) {
        error = true;
        break;
      }
    }
  }
  if (error) SetCalcError();
  FinishNumber(3, x);
}

// Token 182, INTG(formula, from, to): Romberg integration of the formula over
// X from `from` to `to`: trapezoid sums with 16, 32, 64 and 128 intervals, then
// three passes of Richardson extrapolation. A formula text without any "X"
// runs with X = 0 throughout. An error at any point makes the result an error.
void FnIntg() {
  const TValueSlot& textSlot = ArgumentSlot(1, 3);
  std::string code;
  if (!CompileArgumentFormula(textSlot, code)) return FinishNumber(3, 0);
  const bool usesX = UpperCaseText(textSlot.text).find('X') != std::string::npos;
  const double from = ArgumentSlot(2, 3).value;
  const double to = ArgumentSlot(3, 3).value;
  bool error = false;
  double sums[kTrapezoidSums] = {};
  {
    TIterationScope scope;
    auto f = [&](double t) {
      double value = 0.0;
      if (error) return value;
      scope.Set(usesX ? t : 0.0);
      if (!EvaluateIterationFormula(code, value)) error = true;
      return value;
    };
    // Each sum reuses the previous one and adds the midpoints of its intervals.
    int intervals = kFirstIntervals;
    double h = (to - from) / intervals;
    double inner = 0.0;
    for (int i = 1; i < intervals; ++i) inner += f(from + i * h);
    sums[0] = h * ((f(from) + f(to)) / 2.0 + inner);
    for (int k = 1; k < kTrapezoidSums && !error; ++k) {
      intervals *= 2;
      h /= 2.0;
      double midpoints = 0.0;
      for (int i = 1; i < intervals; i += 2) midpoints += f(from + i * h);
      sums[k] = sums[k - 1] / 2.0 + h * midpoints;
    }
  }
  double factor = 4.0;
  for (int pass = 1; pass < kTrapezoidSums; ++pass, factor *= 4.0)
    for (int i = 0; i + pass < kTrapezoidSums; ++i) sums[i] = (factor * sums[i + 1] - sums[i]) / (factor - 1.0);
  if (error) SetCalcError();
  FinishNumber(3, sums[0]);
}

constexpr THandlerEntry kIterativeHandlers[] = {
    {kTokIterationX, FnX}, {kTokIntg, FnIntg},    {kTokRecur, FnRecur},
};

}  // namespace

void RegisterIterativeHandlers() { RegisterTokenHandlers(kIterativeHandlers); }

}  // namespace corvane

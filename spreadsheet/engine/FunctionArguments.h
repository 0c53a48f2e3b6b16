// What the function handlers share: reading their fixed arguments from the
// value stack, leaving one result in the first argument's slot, and the
// guarded numeric routines with their errors taken onto the calc error flag.
//
// A function of `count` fixed arguments finds them in the top slots, the last
// on top. The Finish functions drop all but the first and leave the result in
// its slot; a function of no arguments (count 0) pushes its result.
#pragma once

#include <cmath>
#include <string>
#include <string_view>

#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/Evaluator.h"
#include "spreadsheet/engine/NumericLibrary.h"
#include "spreadsheet/engine/Operators.h"

namespace corvane {

// The slot of argument `arg` (1 = the first) of `count` on top of the stack.
inline TValueSlot& ArgumentSlot(int arg, int count) { return SlotBelowTop(count - arg); }
// Argument i, counted from 0, of n: its number, its whole number (truncated
// toward zero, 1 outside the 32-bit range), and its text (a number gives its
// general text).
inline double ArgNumber(int n, int i) { return ArgumentSlot(i + 1, n).value; }
inline int ArgInt(int n, int i) { return TruncToInt32(ArgNumber(n, i)); }
inline std::string ArgText(int n, int i) { return SlotText(ArgumentSlot(i + 1, n)); }

// Leaves the result of a function of `count` fixed arguments in its first
// argument's slot and drops the others. `value` becomes a number; `text` a
// string. With `keepMarks` the result carries the error marks of all its
// arguments, otherwise none of them. A numeric status with its error set sets
// the calc error flag.
void FinishNumber(int count, double value, bool keepMarks = true);
void FinishNumber(int count, double value, const numeric::TCalcStatus& status);
void FinishText(int count, std::string_view text, bool keepMarks = true);
inline void FinishBool(int count, bool b) { FinishNumber(count, BoolValue(b)); }
// Leaves argument `arg` (1 = the first) itself as the result: its number, or
// its text with its type kept (a string, or the empty text of a missing
// cell), carrying `marks` as its error mark.
void FinishWithArgument(int count, int arg, std::uint8_t marks);
// The calc error flag set and 0 left as the result.
void FinishError(int count);

// A numeric routine's result: one that is not finite sets the calc error flag
// and becomes 1.
inline double Finite(double x) {
  if (std::isfinite(x)) return x;
  SetCalcError();
  return 1;
}

// Runs a numeric-library routine and takes its error onto the calc error flag.
template <class F, class... A>
double Guarded(F routine, A... args) {
  numeric::TCalcStatus status;
  double result = routine(args..., status);
  if (status.error) SetCalcError();
  return result;
}
inline double SafeLog(double x) { return Guarded(numeric::SafeLn, x); }
inline double SafeExpValue(double x) { return Guarded(numeric::SafeExp, x); }

}  // namespace corvane

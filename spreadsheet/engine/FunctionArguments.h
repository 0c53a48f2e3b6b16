// What the function handlers share: reading their fixed arguments from the
// value stack, leaving one result in the first argument's slot, and the
// guarded numeric routines with their errors taken onto the calc error flag.
//
// A function of n fixed arguments finds them in the top n slots, the last on
// top; argument i counts from 0. The Return functions drop the other slots and
// leave the result where the first argument was, carrying the error marks of
// all arguments; a function of no arguments (n = 0) pushes its result.
#pragma once

#include <cmath>
#include <string>
#include <string_view>

#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/Evaluator.h"
#include "spreadsheet/engine/NumericLibrary.h"
#include "spreadsheet/engine/Operators.h"

namespace corvane {

inline TValueSlot& ArgSlot(int n, int i) { return SlotBelowTop(n - 1 - i); }
inline double ArgNumber(int n, int i) { return ArgSlot(n, i).value; }
// A whole-number argument, truncated toward zero (1 outside the 32-bit range).
inline int ArgInt(int n, int i) { return TruncToInt32(ArgNumber(n, i)); }
// A text argument; a number gives its general text.
inline std::string ArgText(int n, int i) { return SlotText(ArgSlot(n, i)); }

// Drops the arguments after the first, ORing their error marks into it; the
// first argument's slot, now the top. Pushes a fresh slot for n = 0 (false
// when the stack is full and the run ends).
bool DropToResultSlot(int n);

void ReturnNumber(int n, double value);
inline void ReturnBool(int n, bool b) { ReturnNumber(n, BoolValue(b)); }
void ReturnText(int n, std::string_view text);
// The calc error flag set and 0 left as the result.
void ReturnError(int n);

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

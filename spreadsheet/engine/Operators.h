// The 19 operators of the formula language (tokens 8 to 26).
#pragma once

namespace corvane {

// Registers the operator handlers in the evaluator's table.
void RegisterOperatorHandlers();

// n! for n = trunc(x) in 0..170; outside that the calc error flag is set and
// the result is 1. Shared by the postfix "!" and the FACT function.
double Factorial(double x);

// Whole-number arguments: truncated toward zero; values outside the 32-bit
// range become 1.
int TruncToInt32(double x);

}  // namespace corvane

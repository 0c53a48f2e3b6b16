// The operators: negation and unary plus, arithmetic, comparisons, the bitwise
// #AND# and #OR#, NOT, text concatenation, and the postfix "%" and "!".
// Each works on the top slots as the evaluator's handler contract describes.
#include "spreadsheet/engine/Operators.h"

#include <cmath>
#include <string>

#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/Evaluator.h"
#include "spreadsheet/engine/FormulaTables.h"

namespace corvane {

namespace {

// A binary operator's result goes into the left slot, which carries the error
// marks of both operands; the right slot is dropped.
void FinishBinary(double value) {
  TValueSlot& left = SlotBelowTop(1);
  const TValueSlot& right = TopSlot();
  left.error |= right.error;
  Pop1();
  SetSlotNumber(left, value);
}

double Left() { return SlotBelowTop(1).value; }
double Right() { return TopSlot().value; }

// Both operands are strings: the slot types are equal and the top is a string.
bool BothStrings() {
  return SlotBelowTop(1).type == TopSlot().type && TopSlot().type == kSlotString;
}

// -1, 0 or 1 for left against right: by bytes for two strings, else as numbers.
int Compare() {
  if (BothStrings()) {
    int c = SlotBelowTop(1).text.compare(TopSlot().text);
    return c < 0 ? -1 : c > 0;
  }
  return Left() < Right() ? -1 : Left() > Right();
}

// Token 8, "-" prefix: negation of the top value (a text counts as 0).
void OpNegate() { SetSlotNumber(TopSlot(), -TopSlot().value); }
// Token 23, "+" prefix: the value unchanged.
void OpUnaryPlus() {}
// Tokens 9 to 12: sum, difference, product and safe quotient (a zero divisor
// is ERR).
void OpAdd() { FinishBinary(Left() + Right()); }
void OpSubtract() { FinishBinary(Left() - Right()); }
void OpMultiply() { FinishBinary(Left() * Right()); }
void OpDivide() { FinishBinary(SafeDivision(Left(), Right())); }
// Token 13, "^": 0 to any power is 0 (0 ^ negative is ERR), x ^ 0 is 1, whole
// exponents by repeated squaring, a fractional power of a negative base is ERR.
void OpPower() { FinishBinary(SafePower(Left(), Right())); }
// Tokens 14 to 19: comparisons, 1 or 0.
void OpEqual() { FinishBinary(BoolValue(Compare() == 0)); }
void OpNotEqual() { FinishBinary(BoolValue(Compare() != 0)); }
void OpLessEqual() { FinishBinary(BoolValue(Compare() <= 0)); }
void OpGreaterEqual() { FinishBinary(BoolValue(Compare() >= 0)); }
void OpLess() { FinishBinary(BoolValue(Compare() < 0)); }
void OpGreater() { FinishBinary(BoolValue(Compare() > 0)); }
// Tokens 20 and 21, "#AND#" and "#OR#": bitwise on the truncated operands,
// the result kept as a 16-bit integer.
void OpAnd() { FinishBinary(static_cast<std::int16_t>(TruncToInt32(Left()) & TruncToInt32(Right()))); }
void OpOr() { FinishBinary(static_cast<std::int16_t>(TruncToInt32(Left()) | TruncToInt32(Right()))); }
// Token 22, NOT (one argument): 1 when the argument is 0, else 0.
void OpNot() { SetSlotNumber(TopSlot(), BoolValue(TopSlot().value == 0)); }
// Token 24, "&": the texts of both operands joined (a number by its general
// text), cut to 240 characters.
void OpConcat() {
  std::string joined = SlotText(SlotBelowTop(1)) + SlotText(TopSlot());
  std::uint8_t error = SlotBelowTop(1).error | TopSlot().error;
  Pop1();
  PushString(joined);
  TopSlot().error = error;
}
// Token 25, "%" postfix: the value times 0.01.
void OpPercent() { SetSlotNumber(TopSlot(), TopSlot().value * 0.01); }
// Token 26, "!" postfix: the factorial.
void OpFactorial() { SetSlotNumber(TopSlot(), Factorial(TopSlot().value)); }

constexpr THandlerEntry kOperatorHandlers[] = {
    {kTokNegate, OpNegate},       {kTokAdd, OpAdd},
    {kTokSubtract, OpSubtract},   {kTokMultiply, OpMultiply},
    {kTokDivide, OpDivide},       {kTokPower, OpPower},
    {kTokEqual, OpEqual},         {kTokNotEqual, OpNotEqual},
    {kTokLessEqual, OpLessEqual}, {kTokGreaterEqual, OpGreaterEqual},
    {kTokLess, OpLess},           {kTokGreater, OpGreater},
    {kTokAnd, OpAnd},             {kTokOr, OpOr},
    {kTokNot, OpNot},             {kTokUnaryPlus, OpUnaryPlus},
    {kTokConcat, OpConcat},       {kTokPercent, OpPercent},
    {kTokFactorial, OpFactorial},
};

}  // namespace

void RegisterOperatorHandlers() { RegisterTokenHandlers(kOperatorHandlers); }

int TruncToInt32(double x) {
  double t = std::trunc(x);
  return std::isfinite(t) && t >= -2147483648.0 && t <= 2147483647.0 ? static_cast<int>(t) : 1;
}

double Factorial(double x) {
  double t = std::trunc(x);
  if (!(t >= 0 && t <= 170)) {
    SetCalcError();
    return 1;
  }
  double result = 1;
  for (int k = 2; k <= static_cast<int>(t); ++k) result *= k;
  return result;
}

}  // namespace corvane

// Argument and result handling shared by the function handlers.
#include "spreadsheet/engine/FunctionArguments.h"

namespace corvane {

namespace {

std::uint8_t ArgumentMarks(int count) {
  std::uint8_t marks = 0;
  for (int arg = 1; arg <= count; ++arg) marks |= ArgumentSlot(arg, count).error;
  return marks;
}

// Drops all but the first of `count` arguments; a function without arguments
// pushes its result slot. False when the stack is full.
bool KeepFirstArgument(int count) {
  for (int k = 1; k < count; ++k) Pop1();
  return count > 0 || PushSlot();
}

}  // namespace

void FinishNumber(int count, double value, bool keepMarks) {
  const std::uint8_t marks = keepMarks ? ArgumentMarks(count) : 0;
  if (!KeepFirstArgument(count)) return;
  SetSlotNumber(TopSlot(), value);
  TopSlot().error = marks;
}

void FinishNumber(int count, double value, const numeric::TCalcStatus& status) {
  if (status.error) SetCalcError();
  FinishNumber(count, value, true);
}

void FinishText(int count, std::string_view text, bool keepMarks) {
  const std::uint8_t marks = keepMarks ? ArgumentMarks(count) : 0;
  // The text may live in an argument slot that is about to be dropped.
  const std::string copy(text);
  if (!KeepFirstArgument(count)) return;
  PushString(copy);
  TopSlot().error = marks;
}

void FinishWithArgument(int count, int arg, std::uint8_t marks) {
  // A copy: dropping the arguments gives the chosen one's text back.
  const TValueSlot chosen = ArgumentSlot(arg, count);
  if (!KeepFirstArgument(count)) return;
  TValueSlot& result = TopSlot();
  if (chosen.type == kSlotNumber) {
    SetSlotNumber(result, chosen.value);
  } else {
    PushString(chosen.text);
    result.type = chosen.type;
  }
  result.error = marks;
}

void FinishError(int count) {
  SetCalcError();
  FinishNumber(count, 0);
}

}  // namespace corvane

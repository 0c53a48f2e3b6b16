// Argument and result handling shared by the function handlers.
#include "spreadsheet/engine/FunctionArguments.h"

namespace corvane {

bool DropToResultSlot(int n) {
  if (n <= 0) return PushSlot();
  std::uint8_t error = 0;
  for (int i = 1; i < n; ++i) error |= ArgSlot(n, i).error;
  for (int i = 1; i < n; ++i) Pop1();
  TopSlot().error |= error;
  return true;
}

void ReturnNumber(int n, double value) {
  if (!DropToResultSlot(n)) return;
  SetSlotNumber(TopSlot(), value);
}

void ReturnText(int n, std::string_view text) {
  // The text may point into an argument's string, which the drop gives back.
  std::string copy(text);
  if (!DropToResultSlot(n)) return;
  PushString(copy);
}

void ReturnError(int n) {
  SetCalcError();
  ReturnNumber(n, 0);
}

}  // namespace corvane

// The evaluator: runs a compiled formula (FormulaCompiler.h) on a value stack
// and stores the result in the formula cell as a number, a string or ERR.
//
// Each token byte selects one of 256 handlers. A handler takes no arguments and
// works on the evaluator state below:
// - on entry gEval.index stands after the token byte; the handler reads its
//   operand bytes from gEval.code and advances the index past them;
// - it pops its arguments (the last on top) and leaves exactly one result in
//   the slot of its first argument; a function without arguments pushes one;
// - it reports failure by setting the calc error flag or the slot's error mark,
//   never by throwing.
// After each handler the evaluator folds the calc error flag into the result's
// error mark (tokens 9 and up), makes the results of tokens 9 to 22 numbers,
// and turns a result that is not finite into ERR. A formula whose value is an
// error stores ERR: the cell's error bit and the value -1.
//
// Re-entrant: a handler that runs another formula saves the whole state with
// PushEvalState and restores it with PopEvalState (EvaluateFormulaText does so
// itself). Main thread only.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "spreadsheet/engine/CellStore.h"
#include "spreadsheet/engine/FormulaCompiler.h"
#include "spreadsheet/engine/Range.h"

namespace corvane {

// One slot per code byte is the most a 240-byte code can push.
inline constexpr int kValueStackSlots = static_cast<int>(kMaxFormulaCode);
inline constexpr int kStringPoolBytes = 1024;
inline constexpr int kMaxEvalNesting = 32;

enum TSlotType : std::uint8_t { kSlotNumber = 1, kSlotString = 2, kSlotMissing = 3 };

struct TValueSlot {
  double value = 0;
  std::uint8_t type = kSlotNumber;
  std::uint8_t error = 0;       // 1: the slot holds ERR
  std::uint16_t position = 0;   // code index of the token that pushed the slot
  std::uint16_t poolBytes = 0;  // string-pool bytes the slot's text takes
  std::string text;             // the string of a string slot (at most 240 characters)
};

struct TEvalState {
  std::uint8_t code[kMaxFormulaCode] = {};
  int length = 0;  // index of the END token
  int index = kFirstTokenIndex;
  std::uint8_t token = 0;
  int sp = 0;  // number of the top slot; 0: empty
  int poolUsed = 0;
  bool stringResult = false;
  bool aborted = false;              // a malformed code or a broken stack ends the run
  TCellHandle lastCell = kNilHandle; // the cell last named by a reference in this formula
  TValueSlot slots[kValueStackSlots + 1];
};

extern TEvalState gEval;

// ---- The handler table ------------------------------------------------------

using TTokenHandler = void (*)();
struct THandlerEntry {
  std::uint8_t token;
  TTokenHandler handler;
};

// Installs handlers. Each family of functions keeps one table of entries and
// registers it from its Register...Handlers function, which the registry
// (FunctionRegistry.h) calls; a later entry for the same token replaces an
// earlier one.
void RegisterTokenHandlers(std::span<const THandlerEntry> entries);
// Fills the table: the operand tokens, the operators and every function family;
// the unnamed tokens 187..253 leave their one argument unchanged, and tokens no
// family claims run the default handler (ERR, arguments dropped).
// EvaluateCell calls it on first use.
void InitHandlerTable();
TTokenHandler TokenHandler(int token);

// The handler of tokens without a function of their own: skips the token's
// operand bytes, drops its arguments, and leaves one slot holding 0 with the
// error mark and the calc error flag set.
void DefaultTokenHandler();

// ---- Stack primitives for handlers ------------------------------------------

// Drops the top slot (giving its string-pool bytes back); the position that
// pushed it in `pos`.
void PopSlot(int& pos);
void Pop1();
void Pop2();
// The top slot, and the slot `depth` below it (0: the top); slot 0, a spare,
// when the stack holds fewer.
inline TValueSlot& TopSlot() { return gEval.slots[gEval.sp >= 1 ? gEval.sp : 0]; }
inline TValueSlot& SlotBelowTop(int depth) {
  int k = gEval.sp - depth;
  return gEval.slots[k >= 1 ? k : 0];
}
inline void SetSlotOk() { TopSlot().error = 0; }
inline void SetSlotErr() { TopSlot().error = 1; }

// Makes `slot` a number (giving back the pool bytes of a text it held).
inline void SetSlotNumber(TValueSlot& slot, double value) {
  if (slot.poolBytes != 0 || !slot.text.empty()) {
    gEval.poolUsed -= slot.poolBytes;
    slot.poolBytes = 0;
    slot.text.clear();
  }
  slot.type = kSlotNumber;
  slot.value = value;
}

// The slow path of PushSlot: a full stack ends the run as ERR.
bool PushSlotOverflow();
// Pushes a cleared number slot recording the current token's position; false
// (and the run ends as ERR) when the stack is full.
inline bool PushSlot() {
  if (gEval.sp >= kValueStackSlots) return PushSlotOverflow();
  TValueSlot& slot = gEval.slots[++gEval.sp];
  slot.value = 0;
  slot.type = kSlotNumber;
  slot.error = 0;
  if (slot.poolBytes != 0 || !slot.text.empty()) {
    slot.poolBytes = 0;
    slot.text.clear();
  }
  slot.position = static_cast<std::uint16_t>(gEval.index - 1);
  return true;
}
// Makes the top slot the string `s` (cut to 240 characters) and sets the
// string-result flag. When the 1024-byte pool has no room the slot holds an
// empty string and the calc error flag is set.
void PushString(std::string_view s);
// The text of a slot: its string, or the general text of its number.
std::string SlotText(const TValueSlot& slot);

// Fills the top slot from a cell: a missing cell is an empty text of type 3
// with the error mark; formulas give their result, labels their text without
// the prefix, blank cells an empty text; error cells and pictures the mark.
void PushCellValue(const TCell* cell);

inline double BoolValue(bool b) { return b ? 1.0 : 0.0; }

// ---- Ranges and arithmetic for handlers --------------------------------------

// The range a function argument names: the cell reference (one cell) or the
// two-corner range operand that pushed `slot`, corners ordered. False, with
// the calc error flag set, for a slot that no reference or range pushed, or
// whose reference no longer names a cell.
bool SlotRange(const TValueSlot& slot, TRange& range);

// x to the power y, with the calc error flag set (and 1) instead of a fault.
double SafePower(double x, double y);
// a / b; a zero divisor sets the calc error flag and gives 1.
double SafeDivision(double a, double b);

// ---- Evaluation --------------------------------------------------------------

// Evaluates a formula cell (kinds 0 and 1) and stores its result; clears the
// cell's error bit and walk marks first. Other cells only lose their marks.
void EvaluateCell(TCellHandle cell);

// Compiles `text` (cut to 240 characters) and evaluates it without a cell,
// saving and restoring the evaluator state around it. A string result goes to
// `resultText` (empty for a number). An error result gives -1 and leaves the
// calc error flag set, as does a text that does not compile.
double EvaluateFormulaText(std::string_view text, std::string& resultText);
// The same for code already compiled.
double EvaluateFormulaCode(const std::string& code, std::string& resultText);

// Whole-state copies for handlers that evaluate other formulas. PushEvalState
// is false (with the calc error flag set) beyond 32 nested evaluations.
void SaveEvalState(TEvalState& block);
void RestoreEvalState(const TEvalState& block);
bool PushEvalState();
void PopEvalState();

}  // namespace corvane

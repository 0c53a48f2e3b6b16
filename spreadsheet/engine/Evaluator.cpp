// The evaluator: the value stack and its string pool, the handler table with
// the operand tokens' handlers, and the evaluation of one formula.
#include "spreadsheet/engine/Evaluator.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/FormulaTables.h"
#include "spreadsheet/engine/FunctionRegistry.h"
#include "spreadsheet/engine/NumberText.h"
#include "spreadsheet/engine/NumericLibrary.h"
#include "spreadsheet/engine/Operators.h"
#include "spreadsheet/engine/PoolString.h"

namespace corvane {

TEvalState gEval;

namespace {

TTokenHandler gHandlers[256] = {};
bool gHandlersReady = false;
std::vector<std::unique_ptr<TEvalState>> gSavedStates;

// Ends the current run: the formula's value becomes ERR.
void AbortRun() {
  gEval.aborted = true;
  SetCalcError();
}

// True when `n` operand bytes follow the token within the code.
bool HaveOperandBytes(int n) {
  if (gEval.index + n <= gEval.length) return true;
  AbortRun();
  return false;
}

// ---- Operand tokens ----------------------------------------------------------

// Token 0: push the 8-byte real that follows.
void PushRealConst() {
  if (!HaveOperandBytes(8) || !PushSlot()) return;
  std::memcpy(&TopSlot().value, gEval.code + gEval.index, 8);
  gEval.index += 8;
}

// Token 5: push the signed 16-bit integer that follows.
void PushIntegerConst() {
  if (!HaveOperandBytes(2) || !PushSlot()) return;
  const std::uint8_t* at = gEval.code + gEval.index;
  TopSlot().value = static_cast<std::int16_t>(at[0] | at[1] << 8);
  gEval.index += 2;
}

// Token 1: push the value of the referenced cell. A nil reference (a deleted
// cell) or one whose record is gone reads as a missing cell: ERR.
void PushCellRef() {
  if (!HaveOperandBytes(4) || !PushSlot()) return;
  TCellHandle cell = CellRefHandle(ReadCellRef(gEval.code + gEval.index));
  gEval.index += 4;
  gEval.lastCell = cell;
  PushCellValue(cell == kNilHandle ? nullptr : CellPtr(cell));
}

// Token 2: a range operand. Its slot holds 0; functions that take ranges read
// the range from the code at the slot's position. A range that lost a corner
// to a deletion (a nil reference) is ERR, as its text shows.
void PushRangeRef() {
  if (!HaveOperandBytes(8) || !PushSlot()) return;
  for (int corner = 0; corner < 2; ++corner) {
    TCellHandle cell = CellRefHandle(ReadCellRef(gEval.code + gEval.index + 4 * corner));
    if (cell == kNilHandle || !CellPtr(cell)) SetSlotErr();
  }
  gEval.index += 8;
}

// Token 6: push the string that follows, up to its 0 byte.
void PushStringConst() {
  int end = SkipString(gEval.code, gEval.index, gEval.length);
  if (end > gEval.length || gEval.code[end - 1] != 0 || !PushSlot()) return AbortRun();
  PushString(std::string_view(reinterpret_cast<const char*>(gEval.code + gEval.index), end - 1 - gEval.index));
  gEval.index = end;
}

void NoOperation() {}

// The slots each token takes from the stack, by its class; kCountFromCode
// for list functions, whose count byte follows the token.
constexpr std::int8_t kCountFromCode = -1;
std::int8_t gArgumentsByToken[256];

void FillArgumentCounts() {
  for (int token = 0; token < 256; ++token) {
    int cls = TokenClassTable[token];
    int count = std::max(0, FunctionArgCount(cls));
    if (token == kTokNamedCell || cls == kClassUserFunction) count = 0;  // their handlers check
    else if (cls == kClassPrefix || cls == kClassPostfix) count = 1;
    else if (cls == kClassBinary) count = 2;
    else if (cls == kClassFunctionList) count = kCountFromCode;
    gArgumentsByToken[token] = static_cast<std::int8_t>(count);
  }
}

// The number of slots the current token takes from the stack; -1 when its
// count cannot be read from the code.
int ArgumentsNeeded(int token) {
  int count = gArgumentsByToken[token];
  if (count != kCountFromCode) return count;
  return gEval.index < gEval.length ? gEval.code[gEval.index] : -1;
}

// The step after each handler: error marks, result types and finiteness.
void AfterHandler(int token) {
  if (gEval.sp < 1) return;
  TValueSlot& top = TopSlot();
  if (top.type == kSlotNumber && !std::isfinite(top.value)) {
    top.value = -1;
    top.error = 1;
  }
  if (token < kTokAdd) return;
  bool calcError = ErrorFlagSet();
  if (calcError) top.error = 1;
  if (token <= kTokNot) {
    if (top.type != kSlotNumber) SetSlotNumber(top, top.value);
    gEval.stringResult = false;
  }
  if (calcError) ClearCalcError();
}

// Runs gEval.code from byte 2 to its END token.
void RunCode() {
  if (!gHandlersReady) InitHandlerTable();
  gEval.index = kFirstTokenIndex;
  gEval.sp = 0;
  gEval.poolUsed = 0;
  gEval.stringResult = false;
  gEval.aborted = false;
  gEval.lastCell = kNilHandle;
  if (ErrorFlagSet()) ClearCalcError();
  while (gEval.index < gEval.length && !gEval.aborted) {
    gEval.token = gEval.code[gEval.index++];
    int needed = ArgumentsNeeded(gEval.token);
    if (needed < 0 || gEval.sp < needed) return AbortRun();
    gHandlers[gEval.token]();
    AfterHandler(gEval.token);
  }
  if (gEval.sp != 1) AbortRun();
}

// The run's value: false when it is an error.
bool RunSucceeded() { return !gEval.aborted && gEval.sp == 1 && !gEval.slots[1].error; }

// Copies a cell's code into gEval; false for code that is not well formed.
bool LoadCode(const std::uint8_t* code, std::size_t bytes) {
  if (!code || !CodeIsWellFormed(code, bytes)) return false;
  gEval.length = code[0];
  std::memcpy(gEval.code, code, static_cast<std::size_t>(gEval.length) + 1);
  return true;
}

void StoreResult(TCell& cell, std::uint8_t kind, bool ok) {
  const TValueSlot& top = gEval.slots[gEval.sp >= 1 ? gEval.sp : 0];
  bool isString = ok && gEval.stringResult && top.type == kSlotString;
  if (isString) {
    TPoolHandle text = kind == kKindStringFormula ? CellResultText(cell) : kNilHandle;
    if (top.text.empty()) {
      PoolFreeString(text);
    } else if (!PoolStrAssign(text, top.text)) {
      PoolFreeString(text);
      ok = false;
      isString = false;
    }
    if (isString) {
      SetCellResultText(cell, text);
      cell.kind = kKindStringFormula;
      return;
    }
  }
  if (kind == kKindStringFormula) {
    TPoolHandle text = CellResultText(cell);
    PoolFreeString(text);
  }
  if (ok) {
    SetCellReal(cell, top.value);
    cell.kind = kKindNumberFormula;
  } else {
    SetCellReal(cell, -1.0);
    cell.kind = kKindNumberFormula | kKindErrorBit;
  }
}

}  // namespace

// ---- Handler table -----------------------------------------------------------

void RegisterTokenHandlers(std::span<const THandlerEntry> entries) {
  for (const THandlerEntry& entry : entries) gHandlers[entry.token] = entry.handler;
}

void InitHandlerTable() {
  FillArgumentCounts();
  for (TTokenHandler& handler : gHandlers) handler = DefaultTokenHandler;
  static constexpr THandlerEntry kOperandHandlers[] = {
      {kTokReal, PushRealConst},    {kTokCell, PushCellRef},          {kTokRange, PushRangeRef},
      {kTokEnd, NoOperation},       {kTokParen, NoOperation},         {kTokInteger, PushIntegerConst},
      {kTokString, PushStringConst},
  };
  RegisterTokenHandlers(kOperandHandlers);
  RegisterOperatorHandlers();
  // Tokens without a function: those of 27..30, 42, 106 ("REPLACE") and 114
  // take one argument and give ERR (the default handler); the unnamed tokens
  // 187..253 leave their argument as it is.
  for (int token = 187; token <= 253; ++token) gHandlers[token] = NoOperation;
  RegisterFunctionFamilies();
  gHandlersReady = true;
}

TTokenHandler TokenHandler(int token) {
  if (!gHandlersReady) InitHandlerTable();
  return token >= 0 && token < 256 ? gHandlers[token] : nullptr;
}

void DefaultTokenHandler() {
  int token = gEval.token;
  int args = ArgumentsNeeded(token);
  if (TokenClassTable[token] == kClassFunctionList || TokenClassTable[token] == kClassUserFunction) {
    gEval.index += 1;
  } else if (token == kTokNamedCell) {
    gEval.index = NextTokenIndex(gEval.code, gEval.index - 1, gEval.length);
    if (gEval.index > gEval.length) return AbortRun();
  }
  if (args > 0) {
    for (int k = 1; k < args; ++k) Pop1();
  } else if (!PushSlot()) {
    return;
  }
  SetSlotNumber(TopSlot(), 0);
  SetSlotErr();
  SetCalcError();
}

// ---- Stack primitives --------------------------------------------------------

bool PushSlotOverflow() {
  AbortRun();
  return false;
}

void PopSlot(int& pos) {
  if (gEval.sp < 1) {
    pos = 0;
    return AbortRun();
  }
  TValueSlot& slot = gEval.slots[gEval.sp--];
  pos = slot.position;
  gEval.poolUsed -= slot.poolBytes;
  slot.poolBytes = 0;
}

void Pop1() {
  int pos = 0;
  PopSlot(pos);
}

void Pop2() {
  Pop1();
  Pop1();
}

void PushString(std::string_view s) {
  TValueSlot& slot = TopSlot();
  SetSlotNumber(slot, 0);
  slot.type = kSlotString;
  gEval.stringResult = true;
  if (s.size() > kPoolStringMaxChars) s = s.substr(0, kPoolStringMaxChars);
  int bytes = static_cast<int>(s.size()) + 1;
  if (gEval.poolUsed + bytes >= kStringPoolBytes) {
    SetCalcError();  // the pool is full: an empty text and an error, never a stale one
    return;
  }
  slot.text.assign(s);
  slot.poolBytes = static_cast<std::uint16_t>(bytes);
  gEval.poolUsed += bytes;
}

std::string SlotText(const TValueSlot& slot) {
  return slot.type == kSlotString || slot.type == kSlotMissing ? slot.text : RealToGeneralText(slot.value);
}

void PushCellValue(const TCell* cell) {
  if (!cell) {
    PushString("");
    gEval.stringResult = false;
    TopSlot().type = kSlotMissing;
    SetSlotErr();
    return;
  }
  std::uint8_t kind = CellKind(*cell);
  switch (kind) {
    case kKindStringFormula: PushString(PoolStringView(CellResultText(*cell))); break;
    case kKindBlank: PushString(""); break;
    case kKindInteger: SetSlotNumber(TopSlot(), CellInteger(*cell)); break;
    case kKindLabel: {
      std::string_view label = PoolStringView(cell->text);
      PushString(label.empty() ? label : label.substr(1));
      break;
    }
    case kKindNumberFormula:
    case kKindReal: SetSlotNumber(TopSlot(), CellReal(*cell)); break;
    default: SetSlotNumber(TopSlot(), -1); break;
  }
  // Only the error bit counts, never the walk marks of a recalculation.
  if ((cell->kind & 0x0F) > kKindBlank) SetSlotErr();
}

// ---- Ranges and arithmetic ---------------------------------------------------

bool SlotRange(const TValueSlot& slot, TRange& range) {
  int at = slot.position;
  std::uint8_t token = at < gEval.length ? gEval.code[at] : std::uint8_t{kTokEnd};
  int row1 = 0, col1 = 0, row2 = 0, col2 = 0;
  bool ok = false;
  if (token == kTokCell && at + 5 <= gEval.length) {
    ok = DecodeCellRef(ReadCellRef(gEval.code + at + 1), row1, col1);
    row2 = row1;
    col2 = col1;
  } else if (token == kTokRange && at + 9 <= gEval.length) {
    // The last corner comes first in the code.
    ok = DecodeCellRef(ReadCellRef(gEval.code + at + 1), row2, col2) &&
         DecodeCellRef(ReadCellRef(gEval.code + at + 5), row1, col1);
  }
  if (!ok) {
    SetCalcError();
    return false;
  }
  RangeSet(range, col1, row1, col2, row2);
  OrderPair(range.firstCol, range.lastCol);
  OrderPair(range.firstRow, range.lastRow);
  return true;
}

double SafePower(double x, double y) {
  numeric::TCalcStatus status;
  double result = numeric::SafePower(x, y, status);
  if (status.error) SetCalcError();
  return result;
}

double SafeDivision(double a, double b) {
  numeric::TCalcStatus status;
  double result = numeric::SafeDivide(a, b, status);
  if (status.error) SetCalcError();
  return result;
}

// ---- Evaluation --------------------------------------------------------------

void EvaluateCell(TCellHandle handle) {
  TCell* cell = CellPtr(handle);
  if (!cell) return;
  std::uint8_t kind = CellKind(*cell);
  cell->kind = kind;
  if (kind != kKindStringFormula && kind != kKindNumberFormula) return;
  bool ok = LoadCode(PoolBlock(cell->text), PoolStringBlockBytes(cell->text));
  if (ok) {
    RunCode();
    ok = RunSucceeded();
  } else {
    SetCalcError();
  }
  cell = CellPtr(handle);  // handlers may have created cells, never moved this one
  if (cell) StoreResult(*cell, kind, ok);
}

double EvaluateFormulaCode(const std::string& code, std::string& resultText) {
  resultText.clear();
  if (!PushEvalState()) return -1;
  double value = -1;
  bool ok = LoadCode(reinterpret_cast<const std::uint8_t*>(code.data()), code.size());
  if (ok) {
    RunCode();
    ok = RunSucceeded();
  }
  if (ok) {
    const TValueSlot& top = gEval.slots[1];
    if (gEval.stringResult && top.type == kSlotString) resultText = top.text;
    value = top.type == kSlotString ? 0 : top.value;
  }
  PopEvalState();
  if (!ok) SetCalcError();
  return value;
}

double EvaluateFormulaText(std::string_view text, std::string& resultText) {
  resultText.clear();
  std::string code(text.substr(0, std::min(text.size(), kMaxFormulaCode)));
  if (!CompileFormula(code)) return -1;
  return EvaluateFormulaCode(code, resultText);
}

void SaveEvalState(TEvalState& block) { block = gEval; }
void RestoreEvalState(const TEvalState& block) { gEval = block; }

bool PushEvalState() {
  if (gSavedStates.size() >= static_cast<std::size_t>(kMaxEvalNesting)) {
    SetCalcError();
    return false;
  }
  auto block = std::make_unique<TEvalState>();
  SaveEvalState(*block);
  gSavedStates.push_back(std::move(block));
  return true;
}

void PopEvalState() {
  if (gSavedStates.empty()) return;
  RestoreEvalState(*gSavedStates.back());
  gSavedStates.pop_back();
}

}  // namespace corvane

// User-defined functions: the record, the library file, the document's table,
// and the call handlers of tokens 254, 255 and 179 ("A").
#include "spreadsheet/engine/UserFunctions.h"

#include <array>
#include <cmath>
#include <cstring>
#include <fstream>
#include <vector>

#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/CellStore.h"
#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/Evaluator.h"
#include "spreadsheet/engine/FormulaCompiler.h"
#include "spreadsheet/engine/FormulaTables.h"
#include "spreadsheet/engine/FormulaText.h"
#include "spreadsheet/engine/Operators.h"
#include "spreadsheet/engine/PoolString.h"
#include "spreadsheet/engine/RangeText.h"
#include "spreadsheet/engine/Recalc.h"
#include "spreadsheet/engine/TextCase.h"
#include "spreadsheet/engine/UndoBuffer.h"

namespace corvane {
namespace {

constexpr std::size_t kRecordNameAt = 0;
constexpr std::size_t kRecordBodyAt = 13;
constexpr std::size_t kRecordPadAt = 269;
constexpr std::size_t kRecordCountAt = 270;
constexpr std::uint32_t kRecordPoolBytes = kUserFuncRecordBytes;

std::vector<TUserFunc> gLibrary;

// ---- Record ----------------------------------------------------------------

void WriteShortString(std::span<std::uint8_t> out, std::size_t at, std::string_view s) {
  out[at] = static_cast<std::uint8_t>(s.size());
  std::memcpy(out.data() + at + 1, s.data(), s.size());
}

std::string ReadShortString(std::span<const std::uint8_t> in, std::size_t at) {
  return std::string(reinterpret_cast<const char*>(in.data() + at + 1), in[at]);
}

// ---- The document's table --------------------------------------------------

std::uint8_t* DocumentRecord(int index) {
  if (index < 1 || index > gCurrentDoc.userFuncCount) return nullptr;
  return PoolBlock(gCurrentDoc.userFuncs[index]);
}

int DocumentArgCount(int index) {
  TUserFunc function;
  return DocumentUserFunction(index, function) ? function.argCount : -1;
}

std::string DocumentFunctionName(int index) {
  TUserFunc function;
  return DocumentUserFunction(index, function) ? function.name : std::string();
}

// ---- Calls ---------------------------------------------------------------------

// One argument of the function being evaluated, as "A" gives it back.
struct TArgument {
  double value = 0;
  std::uint8_t type = kSlotNumber;
  std::uint8_t error = 0;
  std::string text;
};
using TArgumentFrame = std::array<TArgument, kMaxUserFuncArgs + 1>;  // entries 1..count

struct TFrame {
  TArgumentFrame args;
  int count = 0;
};
std::vector<TFrame> gFrames;

// Depth of nested user-function and named-cell calls. Once a call is refused
// for depth, every call fails until the outermost one returns: a function that
// calls itself twice would otherwise take 2^depth evaluations to give ERR.
int gCallDepth = 0;
bool gCallDepthExceeded = false;

class TCallGuard {
 public:
  TCallGuard() {
    entered_ = !gCallDepthExceeded && gCallDepth < kMaxUserCallDepth;
    if (!entered_) gCallDepthExceeded = true;
    ++gCallDepth;
  }
  ~TCallGuard() {
    if (--gCallDepth == 0) gCallDepthExceeded = false;
  }
  TCallGuard(const TCallGuard&) = delete;
  TCallGuard& operator=(const TCallGuard&) = delete;
  bool Entered() const { return entered_; }

 private:
  bool entered_ = false;
};

// Ends the run: code that cannot be evaluated (an index the document lacks,
// a stack without the arguments) makes the whole formula ERR.
void AbortCall() {
  gEval.aborted = true;
  SetCalcError();
}

// Leaves the result of a call in a new top slot: a non-empty text as a string,
// otherwise the number; an evaluation error as ERR.
void PushCallResult(double value, const std::string& text, bool failed) {
  if (!PushSlot()) return;
  if (failed) {
    SetSlotNumber(TopSlot(), -1);
    SetSlotErr();
    SetCalcError();
  } else if (!text.empty()) {
    PushString(text);
  } else {
    SetSlotNumber(TopSlot(), value);
  }
}

// True when the code from `at` up to `end` is exactly one cell reference,
// perhaps in parentheses: the argument is the cell itself, not a value made
// from it.
bool IsPlainCellArgument(int at, int end) {
  if (at + 5 > end || gEval.code[at] != kTokCell) return false;
  int i = at + 5;
  while (i < end && gEval.code[i] == kTokParen) ++i;
  return i == end;
}

void ReplaceAll(std::string& text, std::string_view what, std::string_view with) {
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
    text.replace(at, what.size(), with);
}

// Token 254: user-defined function call. Operand: one byte, the function's
// index in the document's table. Pops the function's arguments (the last on
// top) into a fresh argument table; an argument that is exactly a reference
// to a cell without a number has every "@A(n)" of the body replaced by the
// cell's address, so the body works on the cell itself. The body is evaluated
// re-entrantly; its text result (when not empty) or number is left in one
// slot. An index the document lacks, a damaged entry or too few values on the
// stack make the formula ERR; a call nested too deep or a working body over
// 240 characters gives ERR.
void CallUserFunction() {
  int callAt = gEval.index - 1;
  if (gEval.index >= gEval.length) return AbortCall();
  int index = gEval.code[gEval.index++];
  TUserFunc function;
  if (!DocumentUserFunction(index, function)) return AbortCall();
  int n = function.argCount;
  if (n < 0 || n > kMaxUserFuncArgs || gEval.sp < n) return AbortCall();

  TFrame frame;
  frame.count = n;
  std::string body = function.body;
  int end = callAt;
  for (int k = n; k >= 1; --k) {
    const TValueSlot& slot = TopSlot();
    TArgument& arg = frame.args[static_cast<std::size_t>(k)];
    arg.value = slot.type == kSlotNumber ? slot.value : 0;
    arg.type = slot.type;
    arg.error = slot.error;
    if (slot.type != kSlotNumber) arg.text = slot.text;
    if (slot.type != kSlotNumber && IsPlainCellArgument(slot.position, end)) {
      int row = 0, col = 0;
      if (DecodeCellRef(ReadCellRef(gEval.code + slot.position + 1), row, col))
        ReplaceAll(body, "@A(" + std::to_string(k) + ")", CellAddrText(row, col, false, false));
      else
        ClearCalcError();  // a dead reference keeps its value (ERR) through "A"
    }
    end = slot.position;
    Pop1();
  }

  // A body is evaluated as a formula text of at most 240 characters; one
  // that is longer (perhaps only once addresses were put in) is refused
  // rather than cut into another formula.
  if (body.size() > kMaxFormulaCode) return PushCallResult(-1, {}, true);
  TCallGuard guard;
  if (!guard.Entered()) return PushCallResult(-1, {}, true);
  gFrames.push_back(std::move(frame));
  std::string text;
  double value = EvaluateFormulaText(body, text);
  bool failed = ErrorFlagSet();
  gFrames.pop_back();
  PushCallResult(value, text, failed);
}

// The call range of a named-cell call: the reference operand after token 255.
bool ReadCallRange(TRange& range) {
  int at = gEval.index;
  if (at >= gEval.length) return false;
  int row1 = 0, col1 = 0, row2 = 0, col2 = 0;
  if (gEval.code[at] == kTokCell && at + 5 <= gEval.length) {
    if (!DecodeCellRef(ReadCellRef(gEval.code + at + 1), row1, col1)) return false;
    row2 = row1;
    col2 = col1;
    gEval.index = at + 5;
  } else if (gEval.code[at] == kTokRange && at + 9 <= gEval.length) {
    if (!DecodeCellRef(ReadCellRef(gEval.code + at + 1), row2, col2) ||
        !DecodeCellRef(ReadCellRef(gEval.code + at + 5), row1, col1))
      return false;
    gEval.index = at + 9;
  } else {
    return false;
  }
  RangeSet(range, col1, row1, col2, row2);
  OrderPair(range.firstCol, range.lastCol);
  OrderPair(range.firstRow, range.lastRow);
  return true;
}

// Stores an argument into an argument cell as a number (ERR stays ERR).
bool StoreArgument(int row, int col, const TValueSlot& slot) {
  TCellHandle cell = CellGetOrCreate(row, col);
  if (cell == kNilHandle) return false;
  CellClearContents(cell);
  if (slot.error) {
    SetCellReal(*CellPtr(cell), -1.0);
    CellPtr(cell)->kind = kKindReal | kKindErrorBit;
  } else {
    SetCellValue(cell, slot.type == kSlotNumber ? slot.value : 0);
  }
  return true;
}

// Evaluates the formula of a named-cell call: a label's text without its
// prefix, or a formula's code. False when the cell holds neither.
bool EvaluateCalledFormula(TCellHandle cell, double& value, std::string& text) {
  const TCell* record = CellPtr(cell);
  if (CellIsLabel(record)) {
    std::string_view label = PoolStringView(record->text);
    value = EvaluateFormulaText(label.empty() ? label : label.substr(1), text);
    return true;
  }
  if (CellIsFormula(record)) {
    const std::uint8_t* code = PoolBlock(record->text);
    std::string bytes = code ? std::string(reinterpret_cast<const char*>(code), PoolStringBlockBytes(record->text))
                             : std::string();
    value = EvaluateFormulaCode(bytes, text);
    return true;
  }
  return false;
}

// Token 255: call of the formula held in a named cell. Operand: the call
// range as a cell (token 1) or range (token 2) reference. The range's first
// row holds the argument cells, one per column; the first cell of its last
// row holds the formula, as a label or a formula. The arguments (the last on
// top) are stored into the argument cells as numbers, and the formula is
// evaluated re-entrantly; its text result (when not empty) or number is left
// in one slot, 0 when the formula cell holds neither, and ERR when the
// formula's value is an error. A call range of one row (whose formula cell
// would take the first argument) or an argument cell holding a formula is
// refused with ERR and nothing stored, so no formula is overwritten.
void CallNamedCell() {
  TRange range;
  if (!ReadCallRange(range)) return AbortCall();
  int n = range.lastCol - range.firstCol + 1;
  if (gEval.sp < n) return AbortCall();
  bool refused = range.firstRow == range.lastRow;
  for (int col = range.firstCol; col <= range.lastCol && !refused; ++col)
    refused = CellIsFormula(CellPtr(CellFind(range.firstRow, col)));
  TCallGuard guard;
  if (refused || !guard.Entered()) {
    for (int k = 0; k < n; ++k) Pop1();
    return PushCallResult(-1, {}, true);
  }
  bool stored = true;
  for (int col = range.lastCol; col >= range.firstCol; --col) {
    stored = StoreArgument(range.firstRow, col, TopSlot()) && stored;
    Pop1();
  }
  if (!stored) return PushCallResult(-1, {}, true);
  double value = 0;
  std::string text;
  bool failed = false;
  if (EvaluateCalledFormula(CellFind(range.lastRow, range.firstCol), value, text)) failed = ErrorFlagSet();
  PushCallResult(value, text, failed);
}

// Token 179, "A"(n): the n-th argument of the user-defined function being
// evaluated (n truncated, 1 when beyond 32 bits). Outside a function, or for
// an n the function does not have, the result is ERR with the value 1.
void ArgumentValue() {
  TValueSlot& top = TopSlot();
  int n = top.type == kSlotNumber ? TruncToInt32(top.value) : 0;
  if (top.error || gFrames.empty() || n < 1 || n > gFrames.back().count) {
    SetSlotNumber(top, 1);
    SetCalcError();
    return;
  }
  const TArgument& arg = gFrames.back().args[static_cast<std::size_t>(n)];
  if (arg.type == kSlotNumber) {
    SetSlotNumber(top, arg.value);
  } else {
    PushString(arg.text);
    TopSlot().type = arg.type;
    if (arg.type == kSlotMissing) gEval.stringResult = false;
  }
  if (arg.error) SetSlotErr();
}

// ---- The library file ----------------------------------------------------------

std::string_view DropComment(std::string_view line) {
  if (std::size_t semicolon = line.find(';'); semicolon != std::string_view::npos) line = line.substr(0, semicolon);
  return line;
}

std::string_view Trimmed(std::string_view text) {
  std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  std::size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

// The argument count of a definition line: 0..10, 0 for text that is no count.
int ReadArgCount(std::string_view text) {
  text = Trimmed(text);
  bool negative = !text.empty() && text[0] == '-';
  if (negative || (!text.empty() && text[0] == '+')) text.remove_prefix(1);
  if (text.empty()) return 0;
  int count = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    count = std::min(count * 10 + (c - '0'), kMaxUserFuncArgs);
  }
  return negative ? 0 : count;
}

TUserFunc ReadDefinition(std::string_view line) {
  TUserFunc function;
  std::string upper = UpperCaseText(line);
  std::size_t comma = upper.find(',');
  if (comma == std::string::npos) return function;
  std::string_view name = Trimmed(std::string_view(upper).substr(0, comma));
  function.name = std::string(name.substr(0, std::min(name.size(), kUserFuncNameChars)));
  function.argCount = ReadArgCount(std::string_view(upper).substr(comma + 1));
  return function;
}

bool ReadLine(std::istream& in, std::string& line) {
  if (!std::getline(in, line)) return false;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

}  // namespace

// ---- Record ------------------------------------------------------------------

bool EncodeUserFunctionRecord(const TUserFunc& function, std::span<std::uint8_t> out) {
  if (out.size() != kUserFuncRecordBytes || function.name.size() > kUserFuncNameChars ||
      function.body.size() > kUserFuncBodyChars || function.argCount < 0 || function.argCount > kMaxUserFuncArgs)
    return false;
  std::fill(out.begin(), out.end(), std::uint8_t{0});
  WriteShortString(out, kRecordNameAt, function.name);
  WriteShortString(out, kRecordBodyAt, function.body);
  out[kRecordPadAt] = 0;
  auto count = static_cast<std::uint32_t>(function.argCount);
  for (std::size_t k = 0; k < 4; ++k) out[kRecordCountAt + k] = static_cast<std::uint8_t>(count >> (8 * k));
  return true;
}

bool DecodeUserFunctionRecord(std::span<const std::uint8_t> bytes, TUserFunc& function) {
  if (bytes.size() != kUserFuncRecordBytes) return false;
  if (bytes[kRecordNameAt] > kUserFuncNameChars || bytes[kRecordBodyAt] > kUserFuncBodyChars) return false;
  std::uint32_t raw = 0;
  for (std::size_t k = 0; k < 4; ++k) raw |= std::uint32_t{bytes[kRecordCountAt + k]} << (8 * k);
  auto count = static_cast<std::int32_t>(raw);
  if (count < 0 || count > kMaxUserFuncArgs) return false;
  function.name = ReadShortString(bytes, kRecordNameAt);
  function.body = ReadShortString(bytes, kRecordBodyAt);
  function.argCount = count;
  return true;
}

// ---- Library -----------------------------------------------------------------

bool LoadUserFunctions(const std::string& path) {
  ClearErrorFlag();
  gLibrary.clear();
  InstallUserFunctionHooks();
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    SetCalcError();
    return false;
  }
  std::string line;
  while (static_cast<int>(gLibrary.size()) < kMaxUserFuncs && ReadLine(in, line)) {
    std::string_view definition = DropComment(line);
    if (Trimmed(definition).empty()) continue;
    TUserFunc function = ReadDefinition(definition);
    std::string bodyLine;
    if (ReadLine(in, bodyLine)) {
      std::string_view body = DropComment(bodyLine);
      function.body = std::string(body.substr(0, std::min(body.size(), kUserFuncBodyChars)));
    }
    gLibrary.push_back(std::move(function));
  }
  return true;
}

int LibraryFunctionCount() { return static_cast<int>(gLibrary.size()); }

bool LibraryFunction(int index, TUserFunc& function) {
  if (index < 1 || index > LibraryFunctionCount()) return false;
  function = gLibrary[static_cast<std::size_t>(index - 1)];
  return true;
}

void ClearUserFunctionLibrary() { gLibrary.clear(); }

// ---- Document table ------------------------------------------------------------

void InstallUserFunctionHooks() {
  SetUserFunctionHooks(FindDocumentUserFunction, DocumentArgCount);
  SetUserFunctionNameHook(DocumentFunctionName);
}

int FindDocumentUserFunction(std::string_view name) {
  if (!HaveCurrentDocument() || name.empty()) return 0;
  std::string key = UpperCaseText(name);
  for (int index = 1; index <= gCurrentDoc.userFuncCount; ++index) {
    TUserFunc function;
    if (DocumentUserFunction(index, function) && function.name == key) return index;
  }
  for (const TUserFunc& function : gLibrary) {
    if (function.name != key) continue;
    return AppendDocumentUserFunction(function) ? gCurrentDoc.userFuncCount : 0;
  }
  return 0;
}

int DocumentUserFunctionCount() { return gCurrentDoc.userFuncCount; }

bool DocumentUserFunction(int index, TUserFunc& function) {
  const std::uint8_t* record = DocumentRecord(index);
  return record && DecodeUserFunctionRecord(std::span(record, kUserFuncRecordBytes), function);
}

void ClearDocumentUserFunctions() {
  for (int index = 1; index <= gCurrentDoc.userFuncCount; ++index) {
    PoolFree(gCurrentDoc.userFuncs[index], kRecordPoolBytes);
    gCurrentDoc.userFuncs[index] = kNilHandle;
  }
  gCurrentDoc.userFuncCount = 0;
}

bool AppendDocumentUserFunctionRecord(std::span<const std::uint8_t> record) {
  TUserFunc function;
  if (!DecodeUserFunctionRecord(record, function)) return false;
  return AppendDocumentUserFunction(function);
}

bool AppendDocumentUserFunction(const TUserFunc& function) {
  InstallUserFunctionHooks();
  if (!HaveCurrentDocument() || gCurrentDoc.userFuncCount >= kMaxUserFuncs) return false;
  std::array<std::uint8_t, kUserFuncRecordBytes> bytes{};
  if (!EncodeUserFunctionRecord(function, bytes)) return false;
  TPoolHandle block = PoolAlloc(kRecordPoolBytes);
  std::uint8_t* at = PoolBlock(block);
  if (!at) return false;
  std::memcpy(at, bytes.data(), bytes.size());
  gCurrentDoc.userFuncs[++gCurrentDoc.userFuncCount] = block;
  return true;
}

void UserFunctionsToRange(const TRange& range) {
  if (!RangeIsValid(range)) return;
  UndoSave();
  TRange r = range;
  OrderPair(r.firstRow, r.lastRow);
  OrderPair(r.firstCol, r.lastCol);
  if (r.firstCol >= kMaxCol) return;
  for (int index = 1; index <= gCurrentDoc.userFuncCount; ++index) {
    int row = r.firstRow + index - 1;
    if (row > kMaxRow) break;
    TUserFunc function;
    if (!DocumentUserFunction(index, function)) continue;
    EnterCell("'" + function.name, row, r.firstCol);
    EnterCell("'" + function.body, row, r.firstCol + 1);
  }
}

namespace {

// The formula text a reset keeps in the label. When range names make it too
// long it is written with addresses; false for a formula whose text does not
// fit even then, which stays a formula rather than become "'OVERFLOW".
bool ResetText(const TCell* record, std::string& text) {
  const std::uint8_t* code = PoolBlock(record->text);
  std::size_t bytes = PoolStringBlockBytes(record->text);
  text = FormulaToText(code, bytes);
  if (!ErrorFlagSet()) return true;
  bool names = gFormulaTextNames;
  gFormulaTextNames = false;
  text = FormulaToText(code, bytes);
  gFormulaTextNames = names;
  return !ErrorFlagSet();
}

}  // namespace

void UserFunctionsReset() {
  UndoSave();
  std::vector<TCellHandle> converted;
  bool kept = false;  // a formula that calls user functions stays
  TRange sheet;
  RangeSet(sheet, 0, 0, kMaxCol, kMaxRow);
  ForEachCellInRange(sheet, [&](TCellHandle cell) {
    TCell* record = CellPtr(cell);
    if (!CellIsFormula(record) || !FormulaHasUserFunction(PoolBlock(record->text))) return;
    std::string text;
    TPoolHandle label = ResetText(record, text) ? PoolNewString("'" + text) : kNilHandle;
    if (label == kNilHandle) {
      kept = true;
      return;
    }
    CellClearContents(cell);
    record = CellPtr(cell);
    record->text = label;
    record->kind = kKindLabel;
    converted.push_back(cell);
  });
  ClearErrorFlag();
  // Formulas that stayed still call the table by index: it stays with them.
  if (!kept) ClearDocumentUserFunctions();
  if (gCurrentDoc.settings.manualRecalc) return;
  for (TCellHandle cell : converted) RecalcFromCell(cell);
}

void RegisterUserFunctionHandlers() {
  static constexpr THandlerEntry kHandlers[] = {
      {kTokUserFunction, CallUserFunction},
      {kTokNamedCell, CallNamedCell},
      {kTokArgument, ArgumentValue},
  };
  RegisterTokenHandlers(kHandlers);
}

}  // namespace corvane

// The logical and information functions: NA and ERR, the IS tests, the truth
// constants, IF, random numbers, and what the program, the sheet and the
// machine report about themselves (memory, versions, recalculation and
// protection modes, the current folder, file facts, the last input/output
// result and the sheet window's file name).
//
// The machine's facts come through the function host (FunctionHost.h), the
// window's through the window services, so tests install fakes for both.
#include <cstdint>
#include <string>

#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/FormulaTables.h"
#include "spreadsheet/engine/FunctionArguments.h"
#include "spreadsheet/engine/FunctionFamilies.h"
#include "spreadsheet/engine/FunctionHost.h"
#include "spreadsheet/engine/FunctionSettings.h"
#include "spreadsheet/engine/PagePool.h"
#include "spreadsheet/engine/WindowServices.h"

namespace corvane {

namespace {

constexpr double kMemAvailConstant = 66842640;
constexpr double kProgramVersion = 1.6008;
constexpr const char* kNotAvailableText = "N/A";
constexpr std::size_t kMaxFileNameText = 240;

// NA: -1 without the error mark. ERR: -1 with it.
void FnNa() { FinishNumber(0, -1); }
void FnErr() {
  FinishNumber(0, -1);
  SetSlotErr();
}
// ISNA(x): 1 when x is exactly -1 (NA, and ERR too); ISERR(x): 1 when x
// carries the error mark. Neither result carries a mark.
void FnIsNa() {
  bool na = TopSlot().type == kSlotNumber && TopSlot().value == -1;
  SetSlotOk();
  FinishBool(1, na);
}
void FnIsErr() {
  bool err = TopSlot().error != 0;
  SetSlotOk();
  FinishBool(1, err);
}
// FALSE, TRUE: 0 and 1.
void FnFalse() { FinishNumber(0, 0); }
void FnTrue() { FinishNumber(0, 1); }
// RAND: uniform in [0, 1).
void FnRand() { FinishNumber(0, FunctionHost().Random()); }

// IF(condition, then, else): `then` only when the condition is exactly 1. The
// chosen value keeps its type (a text stays a text) and carries its own error
// mark or the condition's.
void FnIf() {
  const TValueSlot& condition = ArgumentSlot(1, 3);
  const int chosen = condition.value == 1 && condition.type == kSlotNumber ? 2 : 3;
  FinishWithArgument(3, chosen, ArgumentSlot(chosen, 3).error | condition.error);
}

// ISNUM(x), ISSTR(x): what the cell last named by a reference in this formula
// holds: a number (or a formula with a numeric value), or a label (or a
// formula with a text value). 0 when the formula names no cell.
void FnIsNum() { FinishBool(1, gEval.lastCell != kNilHandle && CellIsNumeric(CellPtr(gEval.lastCell))); }
void FnIsStr() { FinishBool(1, gEval.lastCell != kNilHandle && CellIsText(CellPtr(gEval.lastCell))); }

// MEMAVAIL(n): 0 a fixed figure, 1 the page pool's free bytes, 2 the bytes
// all documents use; any other n is left as it is.
void FnMemAvail() {
  int n = ArgInt(1, 0);
  if (n == 0) FinishNumber(1, kMemAvailConstant);
  if (n == 1) FinishNumber(1, PoolFreeBytes());
  if (n == 2) FinishNumber(1, PoolUsedBytes());
}
// DOSVER: the text "N/A". VERSION: the program's version number.
void FnDosVer() { FinishText(0, kNotAvailableText); }
void FnVersion() { FinishNumber(0, kProgramVersion); }
// AUTO: 1 while recalculation is automatic. PROTECT: 1 while protection is on.
void FnAuto() { FinishBool(0, gCurrentDoc.settings.manualRecalc == 0); }
void FnProtect() { FinishBool(0, ProtectionOn()); }
// QVIEW(n): one of the two program values for n = 0 or 1; other n are ERR.
void FnQView() {
  double n = ArgNumber(1, 0);
  if (n != 0 && n != 1) return FinishError(1);
  FinishNumber(1, FunctionSettings().quickView[n == 0 ? 0 : 1]);
}
// PATH: the current folder.
void FnPath() { FinishText(0, FunctionHost().CurrentDirectory()); }

// FILEINFO(name, kind): 1 the size in bytes, 2 1 when the file opens for
// reading (0 when it does not, or does not exist), 3 its attribute bits, 4
// the text "N/A". A device name is never opened and counts as a file that
// does not exist; kinds 1 and 3 of such a file, and any other kind, are ERR.
void FnFileInfo() {
  std::string name = ArgText(2, 0);
  int kind = ArgInt(2, 1);
  if (kind < 1 || kind > 4) return FinishError(2);
  if (kind == 4) return FinishText(2, kNotAvailableText);
  TFileFacts facts;
  bool found = FunctionHost().QueryFile(name, facts);
  if (kind == 2) return FinishBool(2, found && facts.canOpen);
  if (!found) return FinishError(2);
  FinishNumber(2, kind == 1 ? static_cast<double>(facts.size) : static_cast<double>(facts.attributes & 0xFFFF));
}
// IORESULT: the last input/output result code, which reading clears.
void FnIoResult() { FinishNumber(0, TakeIoResult()); }
// FILENAME: the active sheet window's file name ("" when none is open).
void FnFileName() { FinishText(0, WindowServices().SheetFileName(kMaxFileNameText)); }
// OSVER: the system's major version plus the minor one in thousandths.
void FnOsVer() {
  int major = 0, minor = 0;
  FunctionHost().SystemVersion(major, minor);
  FinishNumber(0, (major * 1000.0 + minor) * 0.001);
}

constexpr THandlerEntry kLogicalHandlers[] = {
    {kTokNa, FnNa},             {kTokErr, FnErr},           {kTokIsNa, FnIsNa},         {kTokIsErr, FnIsErr},
    {kTokFalse, FnFalse},       {kTokTrue, FnTrue},         {kTokRand, FnRand},         {kTokIf, FnIf},
    {kTokIsNum, FnIsNum},       {kTokIsStr, FnIsStr},       {kTokMemAvail, FnMemAvail}, {kTokDosVer, FnDosVer},
    {kTokVersion, FnVersion},   {kTokAuto, FnAuto},         {kTokProtect, FnProtect},   {kTokQView, FnQView},
    {kTokPath, FnPath},         {kTokFileInfo, FnFileInfo}, {kTokIoResult, FnIoResult}, {kTokFileName, FnFileName},
    {kTokOsVer, FnOsVer},
};

}  // namespace

void RegisterLogicalHandlers() { RegisterTokenHandlers(kLogicalHandlers); }

}  // namespace corvane

// Cell entry: reading typed text as a date, a number, a formula or a label, and
// storing it with its links.
#include "spreadsheet/engine/CellEntry.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "spreadsheet/engine/DateTime.h"
#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/Evaluator.h"
#include "spreadsheet/engine/FormatSettings.h"
#include "spreadsheet/engine/FormulaCompiler.h"
#include "spreadsheet/engine/NumberText.h"
#include "spreadsheet/engine/PoolString.h"
#include "spreadsheet/engine/Recalc.h"
#include "spreadsheet/engine/TextRoutines.h"
#include "spreadsheet/engine/ShowError.h"
#include "spreadsheet/engine/WindowServices.h"

namespace corvane {

bool gSuppressRecalc = false;

namespace {

bool gRecalculated = false;

enum class TEntryKind { kBlank, kNumber, kFormula, kLabel };

struct TEntry {
  TEntryKind kind = TEntryKind::kBlank;
  double number = 0;
  std::string text;  // the code of a formula, the text of a label
};

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The display format of a cell's format byte; $7F stands for the sheet default.
int EffectiveFormat(std::uint8_t formatByte) {
  int format = formatByte & 0x7F;
  return format == 0x7F ? (FormatSettings().GForm & 0x7F) : format;
}

void RefuseEntry(std::string_view message) {
  SetErrorFlag(message);
  ShowError(message);
}

// A date or time typed into a cell of a date or time format; false when the
// text is not one (nothing decided), with `refused` set when it is one but
// names no date or time.
bool ReadDateOrTime(std::string_view text, int format, TEntry& entry, bool& refused) {
  // A text that starts with a label prefix was marked as a label (typed so, or
  // from an import); it never becomes a date or time.
  if (text.empty() || text[0] == '(' || text[0] == '*' || text[0] == '@' || IsLabelPrefix(text[0])) return false;
  bool isDate = (format == kFormatDateMonthFirst || format == kFormatDateDayFirst) &&
                text.find('/') != std::string_view::npos && text[0] != '+' && text[0] != '-';
  bool isTime = (format == kFormatTimeFirst || format == kFormatTimeLast) && text.find(':') != std::string_view::npos;
  if (!isDate && !isTime) return false;
  std::string compact;
  for (char c : text)
    if (c != ' ') compact += c;
  if (compact.empty()) return false;
  double serial = 0;
  bool ok = isDate ? DateVal(compact, format == kFormatDateDayFirst, serial) : TimeVal(compact, serial);
  if (!ok) {
    refused = true;
    return true;
  }
  entry.kind = TEntryKind::kNumber;
  entry.number = serial;
  return true;
}

// Decides what `text` becomes; false (with the error flag set) when it is
// refused.
bool ReadEntry(std::string_view text, int format, TEntry& entry) {
  if (text.empty()) return true;
  bool refused = false;
  if (ReadDateOrTime(text, format, entry, refused)) {
    if (refused) SetCalcError();
    return !refused;
  }
  if (IsValueStartChar(text[0]) && format != kFormatLabel) {
    double x = 0;
    int errPos = 0;
    StrToReal(text, x, errPos);
    bool formula = errPos != 0 || (text.size() > 1 && (text[0] == '+' || text[0] == '-') && IsLetter(text[1]));
    if (!formula) {
      entry.kind = TEntryKind::kNumber;
      entry.number = x;
      return true;
    }
    entry.text = std::string(text);
    if (!CompileFormula(entry.text)) return false;
    entry.kind = TEntryKind::kFormula;
    return true;
  }
  entry.kind = TEntryKind::kLabel;
  bool keepAsIs = text.substr(0, 2) == "|>" || IsLabelPrefix(text[0]);
  entry.text = keepAsIs ? std::string(text) : std::string(1, gCurrentDoc.settings.labelPrefix) + std::string(text);
  return true;
}

}  // namespace

bool ProtectionOn() { return gCurrentDoc.settings.protection != 0; }

bool CellIsProtected(const TCell* cell) {
  return ProtectionOn() && (cell == nullptr || (cell->format & kFormatProtectedBit) != 0);
}

bool EntryRecalculated() { return gRecalculated; }

bool EnterCell(std::string_view text, int row, int col) {
  gRecalculated = false;
  ClearCalcError();
  if (text.size() > kPoolStringMaxChars) text = text.substr(0, kPoolStringMaxChars);
  TCellHandle cell = CellFind(row, col);
  if (cell != kNilHandle) {
    if ((CellPtr(cell)->format & 0x80) && ProtectionOn()) return RefuseEntry(kProtectedCellText), false;
  } else {
    if (text.empty()) return true;
    if (ProtectionOn()) return RefuseEntry(kProtectedCellText), false;
  }
  // The new contents are read in full before the old ones go, so a text that
  // is refused loses nothing.
  std::uint8_t formatByte = cell != kNilHandle ? CellPtr(cell)->format : kDefaultCellTemplate.format;
  TEntry entry;
  if (!ReadEntry(text, EffectiveFormat(formatByte), entry)) {
    WindowServices().RepaintSheet(WindowServices().ActiveSheet());
    return false;
  }
  if (cell == kNilHandle) cell = CellFind(row, col);  // a formula may refer to its own cell
  if (cell == kNilHandle) {
    cell = CellGetOrCreate(row, col);
    if (cell == kNilHandle) {
      if (!ErrorFlagSet()) SetOutOfMemoryError();
      ShowError(ErrorMessage());
      return false;
    }
  } else {
    CellClearContents(cell);
    MarkStoreChanged();
  }
  bool hadDependents = CellPtr(cell)->dependents != kNilHandle;
  bool ok = true;
  switch (entry.kind) {
    case TEntryKind::kBlank:
      break;
    case TEntryKind::kNumber:
      SetCellValue(cell, entry.number);
      break;
    case TEntryKind::kLabel: {
      TPoolHandle label = PoolNewString(entry.text);
      if (label == kNilHandle) {
        SetOutOfMemoryError();
        ok = false;
        break;
      }
      TCell* record = CellPtr(cell);
      record->text = label;
      record->kind = kKindLabel;
      SetCellReal(*record, 0);
      break;
    }
    case TEntryKind::kFormula: {
      TPoolHandle code = PoolNewString(std::string_view(entry.text).substr(1));
      if (code == kNilHandle) {
        SetOutOfMemoryError();
        ok = false;
        break;
      }
      TCell* record = CellPtr(cell);
      record->text = code;
      record->kind = kKindNumberFormula;
      // A link that cannot be made leaves "Out of Memory" set for the caller.
      ok = FormulaLinkDeps(cell, true);
      std::string message = ok ? std::string() : ErrorMessage();
      if (gCurrentDoc.settings.manualRecalc || !hadDependents) EvaluateCell(cell);
      if (!ok) SetErrorFlag(message);
      break;
    }
  }
  if (!gCurrentDoc.settings.manualRecalc && hadDependents) {
    bool failed = ErrorFlagSet();
    std::string message = failed ? ErrorMessage() : std::string();
    RecalcFromCell(cell);
    gRecalculated = true;
    if (failed) SetErrorFlag(message);
  }
  WindowServices().RepaintSheet(WindowServices().ActiveSheet());
  return ok;
}

void SetCellValue(TCellHandle handle, double x) {
  TCell* cell = CellPtr(handle);
  if (!cell) return;
  if (!std::isfinite(x)) {
    SetCellReal(*cell, -1.0);
    cell->kind = kKindReal | kKindErrorBit;
  } else if (x == std::trunc(x) && std::fabs(x) < 32767) {
    SetCellInteger(*cell, static_cast<std::int16_t>(x));
    cell->kind = kKindInteger;
  } else {
    SetCellReal(*cell, x);
    cell->kind = kKindReal;
  }
}

bool SetCellNumber(int row, int col, double x) {
  if (CellIsProtected(CellPtr(CellFind(row, col)))) return false;
  TCellHandle cell = CellGetOrCreate(row, col);
  if (cell == kNilHandle) return false;
  CellClearContents(cell);
  SetCellValue(cell, x);
  if (!gSuppressRecalc) RecalcFromCell(cell);
  return true;
}

namespace {

// Calls `take(text)` for each field of a delimited line, in order, while it
// returns true: quotes removed, a quoted or empty field with "'" in front.
template <typename TTake>
void ForEachLineField(std::string_view line, TTake take) {
  auto isSeparator = [](char c) { return c == ' ' || c == ';' || c == ArgumentSeparator(); };
  std::size_t i = 0;
  while (i < line.size() && isSeparator(line[i])) ++i;
  while (i < line.size()) {
    std::string field;
    bool quoted = false, wasQuoted = false;
    for (; i < line.size() && (quoted || !isSeparator(line[i])); ++i) {
      if (line[i] == '"') {
        quoted = !quoted;
        wasQuoted = true;
      } else {
        field += line[i];
      }
    }
    if (i < line.size()) ++i;  // the separator that ended the field
    if (wasQuoted || field.empty()) field.insert(0, "'");
    if (!take(field)) return;
  }
}

}  // namespace

int LineFieldCount(std::string_view line) {
  int count = 0;
  ForEachLineField(line, [&](const std::string&) { return ++count <= kMaxCol; });
  return std::min(count, kMaxCol + 1);
}

void ParseLineIntoCells(std::string_view line, int row, int col) {
  ForEachLineField(line, [&](const std::string& field) {
    if (col > kMaxCol) return false;
    bool refusedFormula = !EnterCell(field, row, col) && ErrorFlagSet() && ErrorMessage() != kProtectedCellText;
    if (refusedFormula && field[0] != '\'') EnterCell("'" + field, row, col);
    ++col;
    return true;
  });
  ClearCalcError();
}

}  // namespace corvane

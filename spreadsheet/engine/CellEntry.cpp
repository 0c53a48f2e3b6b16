// Cell entry: reading typed text as a date, a number, a formula or a label, and
// storing it with its links.
#include "spreadsheet/engine/CellEntry.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "spreadsheet/engine/DateTime.h"
#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/Evaluator.h"
#include "spreadsheet/engine/FormatSettings.h"
#include "spreadsheet/engine/FormulaCompiler.h"
#include "spreadsheet/engine/FormulaText.h"
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
// refused. `cut` says the typed text lost what it had beyond 240 characters.
bool ReadEntry(std::string_view text, bool cut, int format, TEntry& entry) {
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
    if (!CompileFormula(entry.text)) {
      if (cut) SetFormulaTooLongError();
      return false;
    }
    // A formula whose edit text would not fit in an entry could never be
    // shown or edited again.
    auto code = reinterpret_cast<const std::uint8_t*>(entry.text.data());
    if (FormulaEditText(code, entry.text.size()).size() > kPoolStringMaxChars || ErrorFlagSet()) {
      SetFormulaTooLongError();
      return false;
    }
    entry.kind = TEntryKind::kFormula;
    return true;
  }
  entry.kind = TEntryKind::kLabel;
  bool keepAsIs = text.substr(0, 2) == "|>" || IsLabelPrefix(text[0]);
  entry.text = keepAsIs ? std::string(text) : std::string(1, gCurrentDoc.settings.labelPrefix) + std::string(text);
  // Files store a label up to a zero byte: a NUL kept inside would cut it.
  std::replace(entry.text.begin(), entry.text.end(), '\0', ' ');
  return true;
}

// Frees what a cell held (its text, the result text of a text formula) and
// leaves it blank; its links are not touched.
void FreeContents(TCell& cell) {
  if (CellKind(cell) == kKindStringFormula && !(cell.kind & kKindErrorBit)) {
    TPoolHandle result = CellResultText(cell);
    PoolFreeString(result);
  }
  PoolFreeString(cell.text);
  cell.kind = kKindBlank;
  SetCellReal(cell, 0);
}

// Puts new contents into `cell` in place of the old ones, which stay as they
// were when the new ones cannot be stored (no room for the text, or for a
// formula's links). False then, with "Out of Memory" set.
bool StoreEntry(TCellHandle cell, const TEntry& entry) {
  TPoolHandle text = kNilHandle;
  if (entry.kind == TEntryKind::kLabel || entry.kind == TEntryKind::kFormula) {
    std::string_view body = entry.text;
    text = PoolNewString(entry.kind == TEntryKind::kFormula ? body.substr(1) : body);
    if (text == kNilHandle) {
      SetOutOfMemoryError();
      return false;
    }
  }
  TCell* record = CellPtr(cell);
  bool wasFormula = CellIsFormula(record);
  if (wasFormula) FormulaLinkDeps(cell, false);
  if (entry.kind == TEntryKind::kFormula) {
    // The new code is linked while the old contents wait in a copy of the
    // record's fields, to be put back if it cannot be.
    record = CellPtr(cell);
    TCell old = *record;
    record->text = text;
    record->kind = kKindNumberFormula;
    SetCellReal(*record, 0);
    if (!FormulaLinkDeps(cell, true)) {
      record = CellPtr(cell);
      record->text = old.text;
      record->kind = old.kind;
      std::memcpy(record->value, old.value, sizeof old.value);
      if (wasFormula) FormulaLinkDeps(cell, true);
      PoolFreeString(text);
      SetOutOfMemoryError();
      return false;
    }
    FreeContents(old);  // the old text and result text; the record keeps the new code
    return true;
  }
  record = CellPtr(cell);
  FreeContents(*record);
  if (entry.kind == TEntryKind::kNumber) {
    SetCellValue(cell, entry.number);
  } else if (entry.kind == TEntryKind::kLabel) {
    record->text = text;
    record->kind = kKindLabel;
  }
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
  // 240 characters, not counting a label prefix typed in front: a label
  // holds its prefix besides its text, so the longest text the entry line
  // takes is stored whole, with or without a prefix of its own.
  std::size_t limit = !text.empty() && IsLabelPrefix(text[0]) ? kLabelMaxChars : kPoolStringMaxChars;
  bool cut = text.size() > limit;
  if (cut) text = text.substr(0, limit);
  TCellHandle cell = CellFind(row, col);
  if (cell != kNilHandle) {
    if ((CellPtr(cell)->format & 0x80) && ProtectionOn()) return RefuseEntry(kProtectedCellText), false;
  } else {
    if (text.empty()) return true;
    if (ProtectionOn()) return RefuseEntry(kProtectedCellText), false;
  }
  // The new contents are read and stored in full before the old ones go, so
  // a text that is refused loses nothing; the cells made for it on the way
  // (its own, those its formula names or links) go again.
  TCellCreationLog created;
  std::uint8_t formatByte = cell != kNilHandle ? CellPtr(cell)->format : kDefaultCellTemplate.format;
  TEntry entry;
  bool ok = ReadEntry(text, cut, EffectiveFormat(formatByte), entry);
  if (ok && cell == kNilHandle) {
    cell = CellGetOrCreate(row, col);
    if (cell == kNilHandle) {
      if (!ErrorFlagSet()) SetOutOfMemoryError();
      ShowError(ErrorMessage());
      ok = false;
    }
  }
  if (ok) ok = StoreEntry(cell, entry);
  if (!ok) {
    TErrorFlagKeeper keep;  // the refusal's message is the caller's to show
    created.RemoveUnused();
    WindowServices().RepaintSheet(WindowServices().ActiveSheet());
    return false;
  }
  MarkStoreChanged();
  bool hadDependents = CellPtr(cell)->dependents != kNilHandle;
  if (entry.kind == TEntryKind::kFormula && (gCurrentDoc.settings.manualRecalc || !hadDependents)) EvaluateCell(cell);
  if (!gCurrentDoc.settings.manualRecalc && hadDependents) {
    RecalcFromCell(cell);
    gRecalculated = true;
  }
  WindowServices().RepaintSheet(WindowServices().ActiveSheet());
  return true;
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

void EnterLineField(std::string_view field, int row, int col) {
  bool refused = !EnterCell(field, row, col) && ErrorFlagSet() && ErrorMessage() != kProtectedCellText;
  if (refused && !field.empty() && field[0] != '\'') EnterCell("'" + std::string(field), row, col);
}

void ParseLineIntoCells(std::string_view line, int row, int col) {
  ForEachLineField(line, [&](const std::string& field) {
    if (col > kMaxCol) return false;
    EnterLineField(field, row, col);
    ++col;
    return true;
  });
  ClearCalcError();
}

}  // namespace corvane

// Address and range text, both ways.
#include "spreadsheet/engine/RangeText.h"

#include "spreadsheet/engine/CellStore.h"
#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/RangeNames.h"
#include "spreadsheet/engine/TextCase.h"
#include "spreadsheet/engine/WindowServices.h"

namespace corvane {
namespace {

constexpr std::size_t kMaxRangeTextChars = 240;
constexpr std::size_t kMaxRowDigits = 6;
constexpr std::size_t kMaxColumnLetters = 2;
constexpr std::size_t kMaxSheetLetters = 3;  // 8192 one-row sheets end at "LAL"


// Letters for a number from 0 counted like columns: A..Z, AA..ZZ, AAA...
std::string LettersOf(int n) {
  std::string letters;
  for (int v = n + 1; v > 0; v = (v - 1) / 26) letters.insert(letters.begin(), static_cast<char>('A' + (v - 1) % 26));
  return letters;
}

// The parts of an address as written, before any bounds are checked.
struct TAddrParts {
  bool absCol = false;
  bool absRow = false;
  int sheet = -1;  // -1: no sheet letter
  int col = 0;
  long number = 0;
};

bool IsLetter(char c) { return c >= 'A' && c <= 'Z'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads letters at `i` (upper case expected) as a number from 0; false when
// there are none or more than `maxLetters`.
bool ScanLetters(std::string_view t, std::size_t& i, std::size_t maxLetters, int& value) {
  std::size_t start = i;
  int v = 0;
  while (i < t.size() && IsLetter(t[i])) {
    if (i - start == maxLetters) return false;
    v = v * 26 + (t[i] - 'A' + 1);
    ++i;
  }
  if (i == start) return false;
  value = v - 1;
  return true;
}

// The syntax of one address over upper-case text.
bool ScanCellAddr(std::string_view t, TAddrParts& parts) {
  std::size_t i = 0;
  if (i < t.size() && t[i] == '$') {
    parts.absCol = true;
    ++i;
  }
  std::size_t lettersAt = i;
  int letters = 0;
  if (!ScanLetters(t, i, kMaxSheetLetters, letters)) return false;
  if (i < t.size() && t[i] == ':') {
    parts.sheet = letters;
    ++i;
    if (i < t.size() && t[i] == '$') {
      parts.absCol = true;
      ++i;
    }
    lettersAt = i;
    if (!ScanLetters(t, i, kMaxColumnLetters, letters)) return false;
  } else if (i - lettersAt > kMaxColumnLetters) {
    return false;
  }
  parts.col = letters;
  if (i < t.size() && t[i] == '$') {
    parts.absRow = true;
    ++i;
  }
  std::size_t digitsAt = i;
  long number = 0;
  while (i < t.size() && IsDigit(t[i])) {
    if (i - digitsAt == kMaxRowDigits) return false;
    number = number * 10 + (t[i] - '0');
    ++i;
  }
  if (i == digitsAt || i != t.size()) return false;
  parts.number = number;
  return true;
}

// Splits "first.last" or "first..last"; without a "." both are the text.
void SplitPair(std::string_view t, std::string_view& first, std::string_view& last) {
  std::size_t dot = t.find('.');
  if (dot == std::string_view::npos) {
    first = last = t;
    return;
  }
  first = t.substr(0, dot);
  last = t.substr(dot + 1);
  if (!last.empty() && last.front() == '.') last.remove_prefix(1);
}

std::string PairText(const TRange& range, unsigned mask, bool pair) {
  if (!RangeIsValid(range)) return "";
  std::string text = CellAddrText(range.firstRow, range.firstCol, mask & 1, mask & 2);
  if (pair) text += ".." + CellAddrText(range.lastRow, range.lastCol, mask & 4, mask & 8);
  return text;
}

}  // namespace

int RowsPerSheet() {
  int rows = gCurrentDoc.settings.rowsPerSheet;
  return rows >= 1 && rows < kRowsPerWorksheet ? rows : kRowsPerWorksheet;
}

bool HasSeveralSheets() { return RowsPerSheet() < kRowsPerWorksheet; }

std::string ColumnLetters(int col) { return col >= 0 && col <= kMaxCol ? LettersOf(col) : ""; }

std::string CellAddrText(int row, int col, bool absRow, bool absCol) {
  if (row < 0 || row > kMaxRow || col < 0 || col > kMaxCol) return "";
  int rows = RowsPerSheet();
  std::string text;
  if (HasSeveralSheets()) text = LettersOf(row / rows) + ":";
  if (absCol) text += '$';
  text += ColumnLetters(col);
  if (absRow) text += '$';
  text += std::to_string(row % rows + 1);
  return text;
}

std::string ColRowName(int row, int col) {
  if (row < 0 || row > kMaxRow || col < 0 || col > kMaxCol) return "";
  return ColumnLetters(col) + std::to_string(row % RowsPerSheet() + 1);
}

std::string RangeText(const TRange& range) { return PairText(range, 0, RangeIsMulti(range)); }
std::string RangeToText(const TRange& range) { return RangeText(range); }

std::string RangeTextAbs(const TRange& range, unsigned mask, bool forcePair) {
  return PairText(range, mask, forcePair || RangeIsMulti(range));
}

bool ParseCellAddr(std::string_view text, int& row, int& col, bool& absCol, bool& absRow) {
  TAddrParts parts;
  if (!ScanCellAddr(UpperCaseText(text), parts)) {
    SetCalcError();
    return false;
  }
  int rows = RowsPerSheet();
  long offset = 0;
  long lastNumber = kRowsPerWorksheet;
  if (parts.sheet >= 0) {
    offset = static_cast<long>(parts.sheet) * rows;
    lastNumber = rows;
  }
  long r = offset + parts.number - 1;
  if (parts.col > kMaxCol || offset > kMaxRow || parts.number < 1 || parts.number > lastNumber || r > kMaxRow) {
    SetOutOfRangeError();
    return false;
  }
  row = static_cast<int>(r);
  col = parts.col;
  absCol = parts.absCol;
  absRow = parts.absRow;
  return true;
}

bool IsAddressText(std::string_view text) {
  std::string upper = UpperCaseText(text);
  std::string_view first, last;
  SplitPair(upper, first, last);
  TAddrParts a, b;
  return ScanCellAddr(first, a) && ScanCellAddr(last, b);
}

bool ParseRange(std::string_view text, TRange& range) {
  TRangeAbsFlags abs;
  return ParseRange(text, range, abs);
}

bool ParseRange(std::string_view text, TRange& range, TRangeAbsFlags& abs) {
  std::string t = UpperCaseText(text.substr(0, kMaxRangeTextChars));
  abs = TRangeAbsFlags{};
  if (t.empty()) {
    RangeClear(range);
    return true;
  }
  TWindowServices& windows = WindowServices();
  if (t == "RANGE" || t == "CURSOR") {
    if (windows.ActiveGrid() == kNoGrid) {
      SetCalcError();
      return false;
    }
    if (t == "CURSOR") {
      std::int16_t row = 0, col = 0;
      windows.GetCursorCell(row, col);
      RangeSet(range, col, row, col, row);
      return true;
    }
    TRange selection;
    windows.GetGridSelection(selection);
    if (selection.firstRow < 0 || selection.lastRow < 0) {
      SetCalcError();
      return false;
    }
    range = selection;
    return true;
  }
  if (int index = FindRangeName(t)) {
    range = RangeNameRange(*RangeNameAt(index));
    if (t.front() == '$') abs = TRangeAbsFlags{1, 1, 1, 1};
    return true;
  }
  std::string_view first, last;
  SplitPair(t, first, last);
  int r1, c1, r2, c2;
  bool ac1, ar1, ac2, ar2;
  if (!ParseCellAddr(first, r1, c1, ac1, ar1) || !ParseCellAddr(last, r2, c2, ac2, ar2)) return false;
  RangeSet(range, c1, r1, c2, r2);
  abs = TRangeAbsFlags{ar1, ac1, ar2, ac2};
  return true;
}

void LoadCursorGlobals() {
  TWindowServices& windows = WindowServices();
  if (windows.ActiveGrid() == kNoGrid) return;
  windows.GetCursorCell(gCursorCell.row, gCursorCell.col);
}

}  // namespace corvane

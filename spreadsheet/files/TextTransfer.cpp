// Text import and export: lines into a column of cells, a range into
// comma-separated lines.
#include "spreadsheet/files/TextTransfer.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/FormulaCompiler.h"
#include "spreadsheet/engine/NumberText.h"
#include "spreadsheet/engine/PagePool.h"
#include "spreadsheet/engine/PoolString.h"
#include "spreadsheet/engine/RangeArguments.h"
#include "spreadsheet/engine/RowText.h"
#include "spreadsheet/engine/ShowError.h"
#include "spreadsheet/engine/TextRoutines.h"
#include "spreadsheet/files/FileReplace.h"
#include "spreadsheet/files/FolderNames.h"

namespace corvane {
namespace {

void SetAndShowError(std::string_view message) {
  SetErrorFlag(message);
  ShowError(message);
}

// Reads a file's lines one by one: a line ends at CR LF, LF or a lone CR, and
// only its first `maxChars` characters are kept (the rest of the line is
// skipped, not carried into the next). A last line without a line break
// counts; a break at the very end adds no empty line. A UTF-8 byte-order mark
// in front of the first line is no part of it. A NUL byte reads as a blank:
// kept inside a label, it would cut the label at the next save.
class TLineReader {
 public:
  explicit TLineReader(std::FILE* file) : file_(file), buffer_(65536) {
    size_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
    if (size_ >= 3 && std::memcmp(buffer_.data(), "\xEF\xBB\xBF", 3) == 0) pos_ = 3;
  }

  bool Next(std::string& line, std::size_t maxChars) {
    line.clear();
    int c = Get();
    if (c == EOF) return false;
    while (c != EOF && c != '\n' && c != '\r') {
      if (line.size() < maxChars) line += c == 0 ? ' ' : static_cast<char>(c);
      c = Get();
    }
    if (c == '\r') {
      int after = Get();
      if (after != '\n' && after != EOF) --pos_;  // a lone CR: keep what follows
    }
    return true;
  }

 private:
  int Get() {
    if (pos_ == size_) {
      size_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
      pos_ = 0;
      if (size_ == 0) return EOF;
    }
    return static_cast<unsigned char>(buffer_[pos_++]);
  }

  std::FILE* file_;
  std::vector<char> buffer_;
  std::size_t pos_ = 0, size_ = 0;
};

// Where the next imported line goes: down the column, then, once row 8191 is
// used, from the start row again in the first column right of every cell the
// import filled so far, so that a line spread over several columns is never
// overwritten by a later one.
class TImportCursor {
 public:
  TImportCursor(int row, int col) : startRow_(row), row_(row), col_(col), widest_(col) {}
  int Row() const { return row_; }
  int Col() const { return col_; }
  // The line at the cursor filled `fields` cells to the right from it.
  void Filled(int fields) { widest_ = std::max(widest_, std::min(kMaxCol, col_ + fields - 1)); }
  void Advance() {
    if (++row_ > kMaxRow) {
      row_ = startRow_;
      col_ = std::max(col_, widest_) + 1;
    }
  }
  // True while the cursor is inside the sheet; else "Out of Range" is set and
  // shown.
  bool CheckInside() const {
    if (row_ >= 0 && row_ <= kMaxRow && col_ >= 0 && col_ <= kMaxCol) return true;
    SetOutOfRangeError();
    ShowError(ErrorMessage());
    return false;
  }

 private:
  int startRow_, row_, col_, widest_;
};

std::string LabelText(std::string_view text) {
  return std::string(1, gCurrentDoc.settings.labelPrefix) + std::string(text);
}

// The search pattern of a listing: "*." and up to three characters after the
// first "." of the file's name, or "*.*" when the name has no ".".
std::string ListingPattern(std::string_view nameOnly) {
  std::size_t dot = nameOnly.find('.');
  return dot == std::string_view::npos ? "*.*" : "*." + std::string(nameOnly.substr(dot + 1, 3));
}

bool ImportFileNames(const std::string& fileName, TImportCursor& cursor) {
  std::size_t split = fileName.find_last_of("\\/:");
  std::string folder = split == std::string::npos ? "" : fileName.substr(0, split + 1);
  std::string nameOnly = split == std::string::npos ? fileName : fileName.substr(split + 1);
  for (const std::string& name : ListMatchingNames(folder, ListingPattern(nameOnly))) {
    if (!cursor.CheckInside()) return false;
    if (!EnterCell(LabelText(std::string_view(name).substr(0, kListedNameChars)), cursor.Row(), cursor.Col()))
      return false;
    cursor.Advance();
  }
  return true;
}

// The longest line a field import reads whole: every field of a full row as
// the export writes it (a label with each character a doubled quote, its two
// quotes and a comma).
constexpr std::size_t kFieldLineChars = (kMaxCol + 1) * (2 * kLabelMaxChars + 3);

// One field of a comma-separated line: its text, and whether it was quoted.
struct TCsvField {
  std::string text;
  bool quoted = false;
};

// True for a line read as comma-separated values, as the export writes them:
// one that holds a double quote, or a comma while the comma is not the
// decimal separator. Other lines go to the entry parser, as typed lines do.
bool IsCommaSeparated(std::string_view line) {
  return line.find('"') != std::string_view::npos ||
         (DecimalSeparator() != ',' && line.find(',') != std::string_view::npos);
}

// Splits a comma-separated line: fields end at a comma outside double quotes;
// a field that starts with a quote (after blanks) runs to the quote that ends
// it, "" standing for one quote inside, and what follows up to the comma is
// kept after it; an unquoted field loses its leading and trailing blanks.
// Every comma starts a field, so an empty field keeps its column. At most
// 256 fields are taken.
std::vector<TCsvField> SplitCommaSeparated(std::string_view line) {
  std::vector<TCsvField> fields;
  std::size_t i = 0;
  while (fields.size() <= static_cast<std::size_t>(kMaxCol)) {
    TCsvField field;
    while (i < line.size() && line[i] == ' ') ++i;
    if (i < line.size() && line[i] == '"') {
      field.quoted = true;
      for (++i; i < line.size(); ++i) {
        if (line[i] != '"') {
          field.text += line[i];
        } else if (i + 1 < line.size() && line[i + 1] == '"') {
          field.text += '"';
          ++i;
        } else {
          ++i;
          break;
        }
      }
      while (i < line.size() && line[i] == ' ') ++i;
    }
    std::size_t comma = line.find(',', i);
    std::string_view rest = line.substr(i, comma == std::string_view::npos ? std::string_view::npos : comma - i);
    field.text += field.quoted ? rest : TrimBoth(rest);
    fields.push_back(std::move(field));
    if (comma == std::string_view::npos) break;
    i = comma + 1;
  }
  return fields;
}

// Enters the fields of a comma-separated line from (row, col) on: a quoted
// field as a label (prefix "'"), an empty one as a blank, any other as typed.
void EnterCommaSeparated(const std::vector<TCsvField>& fields, int row, int col) {
  for (const TCsvField& field : fields) {
    if (col > kMaxCol) break;
    if (field.quoted)
      EnterCell("'" + field.text, row, col);
    else if (field.text.empty())
      EnterCell("", row, col);
    else
      EnterLineField(field.text, row, col);
    ++col;
  }
  ClearCalcError();
}

// True when no cell that `fields` fields fill from (row, col) is protected.
bool CellsOpen(int fields, int row, int col) {
  int last = std::min(kMaxCol, col + fields - 1);
  for (int c = col; c <= last; ++c)
    if (CellIsProtected(CellPtr(CellFind(row, c)))) return false;
  return true;
}

// Enters one line of a field import at the cursor; false, with the message
// shown, when a cell it would fill is protected. The line parser goes on past
// a refused cell and clears the error flag, so the cells a line will fill are
// checked first: a protected one stops the import with one message, the line
// unchanged.
bool EnterFieldLine(std::string_view line, TImportCursor& cursor) {
  std::vector<TCsvField> fields;
  bool commaSeparated = IsCommaSeparated(line);
  if (commaSeparated)
    fields = SplitCommaSeparated(line);
  else
    line = line.substr(0, kImportLineChars);
  int count = commaSeparated ? static_cast<int>(fields.size()) : LineFieldCount(line);
  if (!CellsOpen(count, cursor.Row(), cursor.Col())) {
    SetAndShowError(kProtectedCellText);
    return false;
  }
  if (commaSeparated)
    EnterCommaSeparated(fields, cursor.Row(), cursor.Col());
  else
    ParseLineIntoCells(line, cursor.Row(), cursor.Col());
  cursor.Filled(count);
  return !ErrorFlagSet();
}

bool ImportLines(int mode, const std::string& fileName, TImportCursor& cursor) {
  std::FILE* file = std::fopen(fileName.c_str(), "rb");
  if (file == nullptr) {
    SetAndShowError(kFileNotFoundText);
    return false;
  }
  TLineReader reader(file);
  std::string line;
  bool ok = true;
  std::size_t maxChars = mode == kImportLabels ? kImportLineChars : kFieldLineChars;
  while (ok && reader.Next(line, maxChars)) {
    if (!cursor.CheckInside()) {
      ok = false;
      break;
    }
    CellProgressHook(cursor.Row(), cursor.Col());
    // A full pool would refuse every field of every later line, each with a
    // message of its own: stop at the first line that may not fit.
    if (!PoolHasRoom()) {
      SetOutOfMemoryError();
      ShowError(ErrorMessage());
      ok = false;
      break;
    }
    ok = mode == kImportLabels ? EnterCell(LabelText(line), cursor.Row(), cursor.Col()) : EnterFieldLine(line, cursor);
    cursor.Advance();
  }
  std::fclose(file);
  return ok;
}

// True when a label's text, written without quotes, would read back as the
// same label: not empty, not starting like a value or with a label prefix,
// and without a character that separates or quotes fields.
bool LabelReadsBackBare(std::string_view text) {
  if (text.empty() || IsValueStartChar(text[0]) || IsLabelPrefix(text[0])) return false;
  return text.find_first_of(" ,;\"\r\n\t") == std::string_view::npos &&
         text.find(ArgumentSeparator()) == std::string_view::npos;
}

void AppendCsvField(std::string& out, std::string_view text, bool quote) {
  if (!quote) {
    out += text;
    return;
  }
  out += '"';
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

// One cell's field: a number as its plain number text, quoted only when its
// decimal separator is a comma; a text (a label, a text formula's result)
// whole, quoted unless it reads back bare as the same label; a missing or
// blank cell empty. Quote mode 2 quotes every field.
void AppendCellField(std::string& out, const TCell* cell, bool quoteAll) {
  std::string text = CellTransferText(cell);
  bool isText = cell != nullptr && !(cell->kind & kKindErrorBit) &&
                (CellKind(*cell) == kKindLabel || CellKind(*cell) == kKindPicture ||
                 CellKind(*cell) == kKindStringFormula);
  bool quote = quoteAll || (isText ? !LabelReadsBackBare(text) : text.find(',') != std::string::npos);
  AppendCsvField(out, text, quote);
}

}  // namespace

bool CellHasNumber(const TCell* cell) { return CellIsNumeric(cell) && !(cell->kind & kKindErrorBit); }

std::string CellTransferText(const TCell* cell) {
  if (cell == nullptr) return "";
  if (cell->kind & kKindErrorBit) return "ERR";
  switch (CellKind(*cell)) {
    case kKindStringFormula:
      return std::string(PoolStringView(CellResultText(*cell)));
    case kKindNumberFormula:
    case kKindReal:
    case kKindInteger:
      return RealToGeneralText(CellNumber(cell));
    case kKindLabel:
    case kKindPicture: {
      std::string_view text = PoolStringView(cell->text);
      return std::string(text.empty() ? text : text.substr(1));
    }
    default:
      return "";
  }
}

bool ImportTextFile(int mode, int row, int col, const std::string& fileName) {
  if (mode != kImportLabels && mode != kImportFields && mode != kImportFileNames) return true;
  ClearErrorFlag();
  TImportCursor cursor(row, col);
  if (!cursor.CheckInside()) return false;
  return mode == kImportFileNames ? ImportFileNames(fileName, cursor) : ImportLines(mode, fileName, cursor);
}

bool ExportTextFile(const std::string& fileName, int quoteMode, const TRange& range) {
  TRange r = range;
  OrderPair(r.firstCol, r.lastCol);
  OrderPair(r.firstRow, r.lastRow);
  if (!RangeIsValid(range) || r.firstCol < 0 || r.lastCol > kMaxCol || r.firstRow < 0 || r.lastRow > kMaxRow) {
    SetOutOfRangeError();
    return false;
  }
  bool quoteAll = quoteMode == kExportQuoteAll;
  // The lines go to the file in pieces of about 64 KB: a large sheet's text
  // is never held whole.
  constexpr std::size_t kFlushBytes = 64 * 1024;
  TReplacingFile file;
  bool written = file.Open(fileName);
  std::string out;
  out.reserve(kFlushBytes + 4096);
  ForEachPositionInRange(r, [&](int, int col, TCellHandle cell) {
    if (col > r.firstCol) out += ',';
    AppendCellField(out, cell != kNilHandle ? CellPtr(cell) : nullptr, quoteAll);
    if (col == r.lastCol) {
      out += "\r\n";
      if (out.size() >= kFlushBytes) {
        written = written && file.Write(out);
        out.clear();
      }
    }
  });
  if (!written || !file.Write(out) || !file.Commit("")) {
    SetErrorFlag(kWriteErrorText);
    return false;
  }
  return true;
}

}  // namespace corvane

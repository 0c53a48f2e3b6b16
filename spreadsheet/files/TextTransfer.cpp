// Text import and export: lines into a column of cells, a range into
// comma-separated lines.
#include "spreadsheet/files/TextTransfer.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/NumberText.h"
#include "spreadsheet/engine/PagePool.h"
#include "spreadsheet/engine/PoolString.h"
#include "spreadsheet/engine/RangeArguments.h"
#include "spreadsheet/engine/ShowError.h"
#include "spreadsheet/files/FileReplace.h"
#include "spreadsheet/files/FolderNames.h"

namespace corvane {
namespace {

void SetAndShowError(std::string_view message) {
  SetErrorFlag(message);
  ShowError(message);
}

// Reads a file's lines one by one: a line ends at CR LF, LF or a lone CR, and
// only its first 240 characters are kept (the rest of the line is skipped, not
// carried into the next). A last line without a line break counts; a break at
// the very end adds no empty line. A NUL byte reads as a blank: kept inside a
// label, it would cut the label at the next save.
class TLineReader {
 public:
  explicit TLineReader(std::FILE* file) : file_(file), buffer_(65536) {}

  bool Next(std::string& line) {
    line.clear();
    int c = Get();
    if (c == EOF) return false;
    while (c != EOF && c != '\n' && c != '\r') {
      if (line.size() < kImportLineChars) line += c == 0 ? ' ' : static_cast<char>(c);
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

// Where the next imported line goes: down the column, then from the start row
// of the next column once row 8191 is used.
class TImportCursor {
 public:
  TImportCursor(int row, int col) : startRow_(row), row_(row), col_(col) {}
  int Row() const { return row_; }
  int Col() const { return col_; }
  void Advance() {
    if (++row_ > kMaxRow) {
      row_ = startRow_;
      ++col_;
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
  int startRow_, row_, col_;
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

// True when no cell that the fields of `line` fill from (row, col) is
// protected.
bool LineCellsOpen(std::string_view line, int row, int col) {
  int last = std::min(kMaxCol, col + LineFieldCount(line) - 1);
  for (int c = col; c <= last; ++c)
    if (CellIsProtected(CellPtr(CellFind(row, c)))) return false;
  return true;
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
  while (ok && reader.Next(line)) {
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
    if (mode == kImportLabels) {
      ok = EnterCell(LabelText(line), cursor.Row(), cursor.Col());
    } else {
      // The line parser goes on past a refused cell and clears the error
      // flag, so the cells a line will fill are checked here first: a
      // protected one stops the import with one message, the line unchanged.
      if (!LineCellsOpen(line, cursor.Row(), cursor.Col())) {
        SetAndShowError(kProtectedCellText);
        ok = false;
        break;
      }
      ParseLineIntoCells(line, cursor.Row(), cursor.Col());
      ok = !ErrorFlagSet();
    }
    cursor.Advance();
  }
  std::fclose(file);
  return ok;
}

// Runs of spaces become one space, then one leading and one trailing space
// go. A text with nothing to change is given back as it is; otherwise the
// result is built in `scratch`, which the view then borrows.
std::string_view CollapseSpaces(std::string_view text, std::string& scratch) {
  bool plain = text.find("  ") == std::string_view::npos && (text.empty() || (text.front() != ' ' && text.back() != ' '));
  if (plain) return text;
  scratch.clear();
  for (char c : text)
    if (c != ' ' || scratch.empty() || scratch.back() != ' ') scratch += c;
  if (!scratch.empty() && scratch.front() == ' ') scratch.erase(0, 1);
  if (!scratch.empty() && scratch.back() == ' ') scratch.pop_back();
  return scratch;
}

void AppendCsvField(std::string& out, std::string_view text, bool quoteAll) {
  bool quote = quoteAll || text.find_first_of(",\"\r\n") != std::string_view::npos;
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
  std::string scratch;
  ForEachPositionInRange(r, [&](int, int col, TCellHandle cell) {
    if (col > r.firstCol) out += ',';
    std::string text = cell != kNilHandle ? CellTransferText(CellPtr(cell)) : std::string();
    std::string_view field = std::string_view(text).substr(0, kExportFieldChars);
    AppendCsvField(out, CollapseSpaces(field, scratch).substr(0, kExportFieldChars), quoteAll);
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

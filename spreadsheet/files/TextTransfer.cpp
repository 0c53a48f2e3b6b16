// Text import and export: lines into a column of cells, a range into
// delimited lines.
#include "spreadsheet/files/TextTransfer.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <deque>
#include <vector>

#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/EnginePlatform.h"
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
// in front of the first line is no part of it, and says the lines are UTF-8:
// they are read into the ANSI code page the cells hold. A NUL byte reads as
// a blank: kept inside a label, it would cut the label at the next save.
class TLineReader {
 public:
  explicit TLineReader(std::FILE* file) : file_(file), buffer_(65536) {
    size_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
    utf8_ = size_ >= 3 && std::memcmp(buffer_.data(), "\xEF\xBB\xBF", 3) == 0;
    if (utf8_) pos_ = 3;
  }

  bool Next(std::string& line, std::size_t maxChars) {
    line.clear();
    ending_.clear();
    int c = Get();
    if (c == EOF) return false;
    // A character takes at most four bytes of UTF-8.
    const std::size_t maxBytes = utf8_ ? 4 * maxChars : maxChars;
    while (c != EOF && c != '\n' && c != '\r') {
      if (line.size() < maxBytes) line += c == 0 ? ' ' : static_cast<char>(c);
      c = Get();
    }
    if (utf8_) {
      line = EnginePlatform().AnsiFromUtf8(line);
      if (line.size() > maxChars) line.resize(maxChars);
    }
    if (c != EOF) ending_ += static_cast<char>(c);
    if (c == '\r') {
      int after = Get();
      if (after == '\n')
        ending_ += '\n';
      else if (after != EOF)
        --pos_;  // a lone CR: keep what follows
    }
    return true;
  }

  // The line break that ended the last line read, as it stands in the file
  // ("\r\n", "\n" or "\r"); empty for a last line without one.
  const std::string& Ending() const { return ending_; }

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
  bool utf8_ = false;
  std::string ending_;
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
// quotes and a separator).
constexpr std::size_t kFieldLineChars = (kMaxCol + 1) * (2 * kLabelMaxChars + 3);

// One field of a delimited line: its text, and whether it was quoted.
struct TCsvField {
  std::string text;
  bool quoted = false;
};

// The character between the fields of a delimited line, written and read:
// "," while the decimal separator is something else, ";" while it is ",", so
// that a number keeps its decimal comma bare in its field.
char FieldSeparator() { return DecimalSeparator() == ',' ? ';' : ','; }

// True for a line read as delimited values, as the export writes them: one
// that holds a double quote or the field separator. Other lines go to the
// entry parser, as typed lines do.
bool IsDelimitedLine(std::string_view line, char separator) {
  return line.find('"') != std::string_view::npos || line.find(separator) != std::string_view::npos;
}

// The separator the delimited line `line` is read with, `preferred` being the
// one the export writes. With a decimal comma that is ";", but a file written
// under a decimal point parts its quoted fields with ",": a line holding a
// quote and a "," outside quotes, and no ";" outside them, is read with ",".
// (Commas in a line without quotes stay decimal points, as typed.)
char LineSeparator(std::string_view line, char preferred) {
  if (preferred != ';') return preferred;
  bool quoted = false, quote = false, semicolon = false, comma = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
      quote = true;
    } else if (!quoted) {
      semicolon = semicolon || c == ';';
      comma = comma || c == ',';
    }
  }
  return quote && comma && !semicolon ? ',' : ';';
}

// Reads the inside of a quoted field from `at` (just past its opening quote)
// onto `text`, "" standing for one quote, up to the quote that ends it; `at`
// is left past that quote. False when the line ends first: the field runs on.
bool ReadQuotedText(std::string_view line, std::size_t& at, std::string& text) {
  for (; at < line.size(); ++at) {
    if (line[at] != '"') {
      text += line[at];
    } else if (at + 1 < line.size() && line[at + 1] == '"') {
      text += '"';
      ++at;
    } else {
      ++at;
      return true;
    }
  }
  return false;
}

// Splits a delimited line into fields appended to `fields`: fields end at a
// `separator` outside double quotes; a field that starts with a quote (after
// blanks) runs to the quote that ends it, "" standing for one quote inside,
// and what follows up to the separator is kept after it; an unquoted field
// loses its leading and trailing blanks. Every separator starts a field, so
// an empty field keeps its column. At most 256 fields are taken. With
// `runsOn` the line starts inside the quotes of the last field, one that an
// earlier line left open. True when the line ends inside a quoted field (the
// last one, which then holds the rest of the line).
bool AppendDelimitedFields(std::string_view line, char separator, std::vector<TCsvField>& fields, bool runsOn) {
  std::size_t i = 0;
  auto skipBlanks = [&] {
    while (i < line.size() && line[i] == ' ') ++i;
  };
  for (;;) {
    if (runsOn) {
      runsOn = false;
    } else {
      if (fields.size() > static_cast<std::size_t>(kMaxCol)) return false;
      fields.emplace_back();
      skipBlanks();
      if (i < line.size() && line[i] == '"') {
        fields.back().quoted = true;
        ++i;
      }
    }
    TCsvField& field = fields.back();
    if (field.quoted) {
      if (!ReadQuotedText(line, i, field.text)) return true;
      skipBlanks();
    }
    std::size_t end = line.find(separator, i);
    std::string_view rest = line.substr(i, end == std::string_view::npos ? std::string_view::npos : end - i);
    field.text += field.quoted ? rest : TrimBoth(rest);
    if (end == std::string_view::npos) return false;
    i = end + 1;
  }
}

// Enters the fields of a delimited line from (row, col) on: a quoted field
// as a label (prefix "'"), an empty one as a blank, any other as typed.
void EnterDelimitedFields(const std::vector<TCsvField>& fields, int row, int col) {
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

// One line of an import as it is entered: its text, and, for a line of a
// field import read as delimited values, its fields.
struct TImportLine {
  std::string text;
  bool delimited = false;
  std::vector<TCsvField> fields;
};

// Reads the lines of an import. In a field import a delimited line that
// ends inside a quoted field goes on over the lines after it, each joined by
// its own line break, up to the quote that ends the field: the export writes
// a text holding line breaks so. A field still open past 240 characters (the
// longest text a cell holds) or at the file's end is no such text: its line
// is then read alone, as far as it goes, and the lines after it as lines of
// their own.
class TImportLineReader {
 public:
  TImportLineReader(std::FILE* file, int mode)
      : lines_(file), fields_(mode == kImportFields), separator_(FieldSeparator()) {}

  bool Next(TImportLine& line) {
    TRawLine first;
    if (!Pull(first)) return false;
    line.text = std::move(first.text);
    const char separator = LineSeparator(line.text, separator_);
    line.delimited = fields_ && IsDelimitedLine(line.text, separator);
    line.fields.clear();
    if (line.delimited && AppendDelimitedFields(line.text, separator, line.fields, false))
      RunOn(line, first.ending, separator);
    return true;
  }

 private:
  struct TRawLine {
    std::string text, ending;
  };

  bool Pull(TRawLine& line) {
    if (!pending_.empty()) {
      line = std::move(pending_.front());
      pending_.pop_front();
      return true;
    }
    if (!lines_.Next(line.text, fields_ ? kFieldLineChars : kImportLineChars)) return false;
    line.ending = lines_.Ending();
    return true;
  }

  // Carries the open last field of `line`, which ended with `ending` and is
  // parted by `separator`, over the lines that follow until no field is left
  // open; gives those lines
  // back, and keeps the line as it was read, when a field that runs on holds
  // more than a cell's text, the lines joined are longer than the longest
  // row the export writes, or the file ends first. The limits keep a stray
  // quote from taking the rest of the file into one cell.
  void RunOn(TImportLine& line, std::string ending, char separator) {
    std::vector<TCsvField> fields = line.fields;
    std::vector<TRawLine> taken;
    std::size_t length = line.text.size();
    bool open = true, fits = fields.back().text.size() <= kPoolStringMaxChars;
    TRawLine next;
    while (open && fits && !ending.empty() && Pull(next)) {
      std::size_t runsOn = fields.size() - 1;
      fields[runsOn].text += ending;
      open = AppendDelimitedFields(next.text, separator, fields, true);
      length += ending.size() + next.text.size();
      fits = fields[runsOn].text.size() <= kPoolStringMaxChars && fields.back().text.size() <= kPoolStringMaxChars &&
             length <= kFieldLineChars;
      ending = next.ending;
      taken.push_back(std::move(next));
    }
    if (!open && fits) {
      line.fields = std::move(fields);
      return;
    }
    for (auto it = taken.rbegin(); it != taken.rend(); ++it) pending_.push_front(std::move(*it));
  }

  TLineReader lines_;
  bool fields_;
  char separator_;
  std::deque<TRawLine> pending_;
};

// Enters one line of a field import at the cursor; false, with the message
// shown, when a cell it would fill is protected. The line parser goes on past
// a refused cell and clears the error flag, so the cells a line will fill are
// checked first: a protected one stops the import with one message, the line
// unchanged.
bool EnterFieldLine(const TImportLine& line, TImportCursor& cursor) {
  std::string_view typed = std::string_view(line.text).substr(0, kImportLineChars);
  int count = line.delimited ? static_cast<int>(line.fields.size()) : LineFieldCount(typed);
  if (!CellsOpen(count, cursor.Row(), cursor.Col())) {
    SetAndShowError(kProtectedCellText);
    return false;
  }
  if (line.delimited)
    EnterDelimitedFields(line.fields, cursor.Row(), cursor.Col());
  else
    ParseLineIntoCells(typed, cursor.Row(), cursor.Col());
  cursor.Filled(count);
  return !ErrorFlagSet();
}

bool ImportLines(int mode, const std::string& fileName, TImportCursor& cursor) {
  std::FILE* file = std::fopen(fileName.c_str(), "rb");
  if (file == nullptr) {
    SetAndShowError(kFileNotFoundText);
    return false;
  }
  TImportLineReader reader(file, mode);
  TImportLine line;
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
    ok = mode == kImportLabels ? EnterCell(LabelText(line.text), cursor.Row(), cursor.Col())
                               : EnterFieldLine(line, cursor);
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

// One cell's field: a number as its plain number text, bare (its decimal
// separator is never the field separator); a text (a label, a text formula's
// result) whole, quoted unless it reads back bare as the same label; a
// missing or blank cell empty. Quote mode 2 quotes every field.
void AppendCellField(std::string& out, const TCell* cell, bool quoteAll) {
  std::string text = CellTransferText(cell);
  bool isText = cell != nullptr && !(cell->kind & kKindErrorBit) &&
                (CellKind(*cell) == kKindLabel || CellKind(*cell) == kKindPicture ||
                 CellKind(*cell) == kKindStringFormula);
  AppendCsvField(out, text, quoteAll || (isText && !LabelReadsBackBare(text)));
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
  const char separator = FieldSeparator();
  // The lines go to the file in pieces of about 64 KB: a large sheet's text
  // is never held whole.
  constexpr std::size_t kFlushBytes = 64 * 1024;
  TReplacingFile file;
  bool written = file.Open(fileName);
  std::string out;
  out.reserve(kFlushBytes + 4096);
  ForEachPositionInRange(r, [&](int, int col, TCellHandle cell) {
    if (col > r.firstCol) out += separator;
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

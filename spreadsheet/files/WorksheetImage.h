// A worksheet file as the reader parses it, before anything of the document
// changes: its cells and names, and for a whole load the document state it
// carries, staged in copies that are put in place only when the whole file
// has been read and checked.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "spreadsheet/engine/FormulaCompiler.h"
#include "spreadsheet/engine/SheetSettings.h"
#include "spreadsheet/engine/UserFunctions.h"
#include "spreadsheet/engine/WindowServices.h"
#include "spreadsheet/files/MappedFile.h"
#include "spreadsheet/files/WorksheetFileState.h"
#include "spreadsheet/graphs/GraphRecord.h"

namespace corvane::wks {

// One cell record as read from the file's bytes: its text stays in them
// (TWorksheetImage::Text gives it), its code is copied out with the length
// byte in front, ready to be changed in place.
struct TFileCell {
  double number = 0;            // integer, real or formula value, cleaned
  std::uint32_t attributes = 0;
  std::uint32_t textAt = 0;     // where the text starts in the file's bytes
  std::int16_t row = 0;
  std::int16_t col = 0;
  std::uint16_t recordLength = 0;
  std::uint8_t type = 0;        // main record type: blank, integer, number, label or formula
  std::uint8_t format = 0;
  std::uint8_t textLength = 0;  // label (with its prefix) or text result, at most 240
  std::uint8_t codeLength = 0;  // formula: code bytes, references in stored form; 0 for none
  bool error : 1 = false;       // a formula whose value is ERR
  bool textResult : 1 = false;  // a formula whose result is its text
  bool asValue : 1 = false;     // a formula of a damaged file whose code does not check: kept as its value
  std::array<std::uint8_t, kMaxFormulaCode + 2> code{};
};

struct TFileAttributes {
  std::int16_t row = 0, col = 0;
  std::uint8_t font = 0, size = 0, style = 0, borders = 0;
  std::uint32_t attributes = 0;
};

struct TFileName {
  std::string name;
  TRange range;
};

// How much of the file a read takes.
enum class TReadScope {
  kLoad,   // every record of both sections
  kCells,  // the main section's cells and names only (merge, linked files, name lists)
};

struct TWorksheetImage {
  // Set when a record is at fault: the image then holds every record before
  // it, each checked, and the error flag names the record.
  bool damaged = false;
  // The file: its cells are read from it again as they are stored. Its bytes
  // are those of the mapped file, or of ownBytes when it was read whole.
  std::string_view bytes;
  TMappedFile mappedFile;
  std::string ownBytes;
  // The main section's records that were read and checked: from just after
  // the begin-of-file record up to the record at fault or the end record.
  std::size_t cellsBegin = 0, cellsEnd = 0;
  // Where the formula records whose code does not check begin, in file order.
  std::vector<std::size_t> valueOnlyFormulas;

  std::string_view Text(const TFileCell& cell) const {
    return std::string_view(bytes).substr(cell.textAt, cell.textLength);
  }

  std::vector<TFileName> names;
  // Names beginning "G!" other than the settings entry, left out of `names`.
  std::vector<std::string> reservedNames;

  // Staged document state (whole loads only).
  bool haveSettingsEntry = false;
  TSheetSettings settings;
  TWorksheetFileState state;
  std::uint8_t defaultFormat = 0;
  std::array<double, 6> printDistances{};  // top, left, right, bottom, header, footer
  TGraphRecord currentGraph;
  std::vector<TGraphRecord> namedGraphs;  // the file's, in order, beyond those held
  int namedGraphRoom = 0;                 // how many more the document can hold
  int namedGraphExtensions = 0;           // extension records applied so far
  // The window's view as it stood (sizes, tabs, buttons, font, font list);
  // haveView is false when no sheet window was open.
  bool haveView = false;
  TSheetViewState view;
  bool haveWindowRecord = false;
  bool haveLayout = false;
  TSheetWindowLayout layout;
  std::array<std::uint8_t, 256> mainColumnWidths{};
  std::vector<std::pair<int, int>> columnWidths;  // from the extension section
  bool haveExtColumnWidths = false;
  std::vector<std::pair<int, int>> rowHeights;
  std::vector<std::string> tabNames;
  bool haveTabNames = false;
  std::vector<TSheetButton> buttons;
  // The file's font names by font number; the reader maps the numbers of the
  // cells' attributes through the program's font list when it applies them.
  std::vector<std::pair<int, std::string>> fontNames;
  std::vector<TFileAttributes> cellAttributes;
  bool haveSheetFont = false;
  TSheetFont sheetFont;
  bool refocus = false;  // record 49 asked for the active pane to take the focus

  // The file's user-defined function table, each record checked. Formulas of
  // the file call these by index; a file without an extension section brings
  // no table, and its formulas call the current document's.
  bool haveExtensionSection = false;
  std::vector<std::array<std::uint8_t, kUserFuncRecordBytes>> userFunctions;
  std::vector<int> userFunctionArgs;  // the argument count of each, in order
};

// Reads the checked cell records of a parsed image one after another, each
// formula with the text result that follows it.
class TFileCellCursor {
 public:
  explicit TFileCellCursor(const TWorksheetImage& image);
  // The next cell; false after the last.
  bool Next(TFileCell& cell);
  // Where in the file the cells not yet read begin.
  std::size_t Position() const { return pos_; }

 private:
  const TWorksheetImage& image_;
  std::size_t pos_;
  std::size_t valueOnly_ = 0;  // the next entry of valueOnlyFormulas
};

// Whether a file of `size` bytes whose first four are `head` is a worksheet:
// it begins with the begin-of-file record (type 0) holding at least the 2
// bytes of its version, whole within the file. Every way of reading a file
// (open, merge, linked cells, the name list) asks this one rule.
bool BeginsWorksheet(const std::uint8_t* head, std::uint64_t size);

// Parses `bytes` as a worksheet file into `image`, which keeps them, and whose
// staged state the caller has filled from the document. False, with the
// error flag set ("Error at Record:" and the record's type and length), for a
// damaged file; image.damaged is then set and the image holds the records
// before the one at fault (formulas whose code cannot be checked marked to be
// kept as their values). False without image.damaged when memory ran out, and
// when the file does not begin with the begin-of-file record (the error flag
// then says "Invalid WKS File!").
bool ParseWorksheet(std::string bytes, TReadScope scope, TWorksheetImage& image);
// The same for image.bytes as they stand (a mapped file).
bool ParseWorksheetBytes(TReadScope scope, TWorksheetImage& image);

// The text for a record at fault: "Error at Record:" with the type as two hex
// digits and the length as four in brackets.
std::string RecordErrorText(int type, int length);

}  // namespace corvane::wks

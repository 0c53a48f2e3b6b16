// Text import and export: a plain text file read line by line into a column
// of cells (as labels, as parsed fields, or as a listing of file names), and a
// range written as delimited lines. The transfer dialog and the macro
// file commands call these; both work on the current document.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "spreadsheet/engine/CellStore.h"
#include "spreadsheet/engine/Range.h"

namespace corvane {

// Import modes.
inline constexpr int kImportLabels = 1;     // each line becomes one label
inline constexpr int kImportFields = 2;     // each line is split into fields over a row
inline constexpr int kImportFileNames = 3;  // the names of the files matching the name's extension

// Export quote mode that puts every field in double quotes.
inline constexpr int kExportQuoteAll = 2;

inline constexpr std::size_t kImportLineChars = 240;  // longer lines lose the rest
inline constexpr std::size_t kListedNameChars = 80;   // file names are cut to this

inline constexpr const char* kFileNotFoundText = "File Not Found";
inline constexpr const char* kWriteErrorText = "Write Error";

// Imports `fileName` into the cells from (row, col) down; a UTF-8 byte-order
// mark at the file's start is skipped:
// - mode 1: each line (cut to 240 characters) is entered as a label with the
//   default label prefix in front;
// - mode 2: each line is spread over the cells of its row. A line holding a
//   double quote or the field separator ("," or, while "," is the decimal
//   separator, ";"; then a line of quoted fields parted by "," outside the
//   quotes, with no ";" there, is read with ",") is read as delimited
//   values, as ExportTextFile writes them: every separator starts a field, so an empty field leaves its cell
//   blank in its column; a quoted field ("" inside for a quote) keeps its
//   blanks and separators and becomes a label; any other field loses its
//   outer blanks and is entered as typed (a number with the decimal
//   separator in force). A quoted field may hold line breaks: a line that
//   ends inside one goes on over the lines up to its closing quote, as one
//   row, when that quote comes within 240 characters of text (else the line
//   is read alone and the next ones as rows of their own). Other lines (cut
//   to 240 characters) are split the way typed delimited lines are (fields
//   end at blanks and ";");
// - mode 3: the names (cut to 80 characters) of the entries in the name's
//   folder (the current folder when it names none) whose extension matches the
//   name's extension, up to 3 characters (every entry when the name has no
//   extension), each entered as a label.
// Each line or name goes one row further down. After row 8191 the next goes to
// the start row of the next column: in mode 2 the first column right of every
// cell the import filled, in the others the column to the right. A column
// beyond 255 stops the import with "Out of Range". A cell that refuses its
// text (protection) stops the import with the error shown. A file that cannot
// be opened shows "File Not Found". Other modes do nothing. False when the
// import stopped on an error (the engine's error flag holds it).
bool ImportTextFile(int mode, int row, int col, const std::string& fileName);

// Writes the cells of `range` (corners in either order) to `fileName`, one line
// per row ending in CR LF, fields separated by "," or, while "," is the
// decimal separator, by ";". A missing or blank cell gives an empty field, a
// number its plain number text (with the decimal separator in force), ERR for
// an error value, any other cell its text whole, without the label prefix.
// Quote mode 2 puts every field in double quotes; otherwise a text is quoted
// unless, written bare, it would read back as the same label (so one with a
// blank, a comma, a quote or ";", an empty one, and one that starts like a
// value or with a label prefix are quoted), and a number never; quotes
// inside are doubled. Mode 2 of ImportTextFile at the range's first cell
// reads the cells back. An existing file is replaced only once the new one
// is complete. False, with the engine's error flag set and nothing shown,
// when the range is not inside the sheet ("Out of Range") or the file cannot
// be written ("Write Error"); the caller shows the message or keeps it as a
// result code.
bool ExportTextFile(const std::string& fileName, int quoteMode, const TRange& range);

// The text a cell gives when transferred: "" for a missing or blank cell; the
// general text of a number ("ERR" for an error value); the result text of a
// text formula; a label's or picture's text without its prefix character.
std::string CellTransferText(const TCell* cell);

// True for a cell of a numeric kind without the error mark.
bool CellHasNumber(const TCell* cell);

}  // namespace corvane

// Worksheet files (".WKS"): the current document written as a stream of
// records (a main section in the classic worksheet layout that other programs
// read, then the program's own extension section), and such files read back,
// merged into the current document or read for the values of linked cells.
//
// Reading is done in two steps: the whole file is parsed and checked first
// (every length, count, index, range and formula code), and only then applied
// to the document. A damaged file sets the error flag with "Error at Record:"
// and the type and length of the record at fault, and that text is shown; a
// load keeps what was read before that record, a merge takes nothing. Saving
// writes the whole file beside the old one and then replaces it, keeping the
// old one as the backup.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "spreadsheet/engine/Range.h"

namespace corvane {

// LoadWorksheet modes: bits 0-1 the combine mode (2 add, 3 subtract, else
// replace), bit 2 by value, bit 4 merge at the target cell, bit 5 leave
// formulas unlinked.
inline constexpr int kLoadCombineMask = 3;
inline constexpr int kLoadCombineAdd = 2;
inline constexpr int kLoadCombineSubtract = 3;
inline constexpr int kLoadByValue = 4;
inline constexpr int kLoadMerge = 16;
inline constexpr int kLoadNoRelink = 32;

inline constexpr const char* kUnableToOpenText = "Unable to Open File";
inline constexpr const char* kUnableToCloseText = "Unable to CLOSE file";
inline constexpr const char* kFileTruncatedText = "Out of Memory/File may be truncated";
inline constexpr const char* kErrorAtRecordText = "Error at Record:";
inline constexpr const char* kFileChangedText = "file changed while reading";

// The name as files are opened and saved under: the last part of the path in
// upper case, with ".WKS" added when it holds no ".". The folders are kept as
// given.
std::string WorksheetFileName(std::string_view name);

// The name the open document of the file `name` is known by: the file's full
// path (FullFileName) in upper case, ".WKS" added when it has no extension.
// Every spelling of one file's path gives the same name, so a file already
// open is found whichever way it is named again.
std::string DocumentFileName(std::string_view name);

// The text SaveWorksheet shows, after the file's name, when that file is
// another open document's.
inline constexpr const char* kOpenElsewhereText = " is open in another window: save it there, or close it first";

// The bytes of the current document as SaveWorksheet writes them: the whole
// sheet, or (rangeFlag) the cells of `range` moved so that its top-left cell
// lands on A1, without the main records that only a whole sheet carries. Stamps
// the document's creation time when it has none and its revised-by name.
std::string WorksheetBytes(bool rangeFlag, const TRange& range);

// Writes the current document to the file `name` (WorksheetFileName). With the
// backup setting on, an existing file of that name is kept under the name with
// its last letter replaced by "B" (unless that is the file's own name). The
// file is written whole before it replaces the old one; on failure the old file
// and its backup stay as they were, "Unable to CLOSE file" is shown and the
// result is false. A successful whole-sheet save clears the document's
// modified flag; nothing else does. `keepBackup` keeps the existing file as the
// backup whatever the setting says. The file of another open document
// (DocumentFileName) is never written: two documents on one file would each
// overwrite the other's saves. The name and kOpenElsewhereText are shown, and
// nothing is written.
bool SaveWorksheet(std::string_view name, bool rangeFlag, const TRange& range, bool keepBackup = false);

// Reads the file `name` (WorksheetFileName) into the current document.
// `mode` as above; a merge puts the file's cells (those within the bounds)
// with their top-left bound at (targetRow, targetCol). `rangeName` is empty for
// the whole file, else a name of a range of the file, or a range text with
// "..", that bounds the cells taken; a name the file does not hold merges
// nothing. A load takes every record; a merge only cells and range names.
// False when the file cannot be opened ("Unable to Open File" shown, except in
// AUTOEXEC mode), was cut or written by another program while it was read
// ("file changed while reading", nothing changed), is damaged or a merged cell would land outside the sheet
// ("Out of Range", nothing changed). A load of a damaged file keeps every
// record before the one at fault (a formula whose code cannot be checked as
// its value) and shows the record; a merge of one changes nothing. Running out
// of pool memory stops the load where it is and shows "Out of Memory/File may
// be truncated". An empty file reads nothing and is no error; a file that does
// not begin with the begin-of-file record is no worksheet and is refused whole
// ("Invalid WKS File!" shown, nothing changed).
// A load takes the file's user-defined functions in place of the document's
// and drops the undo buffer. A merge saves undo before it changes cells, and
// its formulas call the file's functions under the document's indexes: a
// function the document lacks (by name and argument count) is added to its
// table, and a full table refuses the merge ("Out of Memory").
bool LoadWorksheet(std::string_view name, int mode, int targetRow, int targetCol, std::string_view rangeName);

// What LoadWorksheetPart brought into the document: nothing, the part of a
// damaged or truncated file that could be read (its message shown), or the
// whole file.
enum class TLoadOutcome { kNothing, kPart, kWhole };
TLoadOutcome LoadWorksheetPart(std::string_view name, int mode, int targetRow, int targetCol,
                               std::string_view rangeName);

// Set by the start-up around opening the start-up worksheet: a missing file is
// no error, and a file named "AUTOEXEC.WKS" leaves the document untitled.
// Cleared at the end of every LoadWorksheet.
void SetAutoExecMode(bool on);

// Adds one line per range name stored in the file: the name, ": " and the
// range as text, cut to 16 characters. The settings entry is left out. False,
// adding nothing, when the file cannot be read or is damaged.
bool ReadRangeNames(std::string_view name, std::vector<std::string>& lines);

// True when the file exists and begins with the begin-of-file record (type 0)
// holding at least its 2-byte version, whole: the rule by which every read of
// a worksheet file tells a worksheet from any other file.
bool IsWorksheetFile(std::string_view name);
// The message for a file that is not a worksheet at all.
inline constexpr const char* kNotWorksheetText = "Invalid WKS File!";

// ---- Linked-file reading -----------------------------------------------------
// The seam through which the external-link code reads another worksheet's
// cells. Every cell record of the file's main section is handed over in file
// order: numbers (integers, reals, formula values; an ERR formula value as 0)
// with isText false, labels and formula text results with isText true and
// the text as stored (labels keep their prefix). Nothing of the current
// document changes. A name without ":" is taken relative to the current
// folder. False, handing over nothing, when the file cannot be read or is
// damaged; no message is shown.
struct TLinkedCellValue {
  int row = 0;
  int col = 0;
  int rowsPerSheet = 8192;  // the file's: 8192 divided by its number of sheets
  bool isText = false;
  bool isLabel = false;  // a label: `text` starts with its prefix
  double number = 0;
  std::string text;
};
using TLinkedCellSink = std::function<void(const TLinkedCellValue& value)>;
bool ReadLinkedFileCells(std::string_view name, const TLinkedCellSink& sink);

// Gives the external links (RefreshLinkedFiles) their reader: each linked
// file is read with ReadLinkedFileCells and every value handed to
// LinkStoreValue, a label as its text without the prefix (the value a
// reference to the cell gives). The program's start-up calls it once, before
// any refresh; so do the tests.
void InstallLinkedFileReader();

}  // namespace corvane

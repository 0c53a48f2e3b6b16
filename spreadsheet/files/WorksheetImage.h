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

#include "spreadsheet/engine/SheetSettings.h"
#include "spreadsheet/engine/UserFunctions.h"
#include "spreadsheet/engine/WindowServices.h"
#include "spreadsheet/files/WorksheetFileState.h"
#include "spreadsheet/graphs/GraphRecord.h"

namespace corvane::wks {

struct TFileCell {
  std::int16_t row = 0;
  std::int16_t col = 0;
  std::uint8_t type = 0;  // main record type: blank, integer, number, label or formula
  std::uint16_t recordLength = 0;
  std::uint8_t format = 0;
  std::uint32_t attributes = 0;
  bool error = false;       // a formula whose value is ERR
  bool textResult = false;  // a formula whose result is `text`
  double number = 0;        // integer, real or formula value, cleaned
  std::string text;         // label (with its prefix) or text result
  std::string code;         // formula: TFormulaCode, references in stored form
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
  std::vector<TFileCell> cells;
  std::vector<TFileName> names;

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

// Parses `bytes` as a worksheet file into `image`, whose staged state the
// caller has filled from the document. False, with the error flag set
// ("Error at Record:" and the record's type and length), for a damaged file.
bool ParseWorksheet(std::string_view bytes, TReadScope scope, TWorksheetImage& image);

// The text for a record at fault: "Error at Record:" with the type as two hex
// digits and the length as four in brackets.
std::string RecordErrorText(int type, int length);

}  // namespace corvane::wks

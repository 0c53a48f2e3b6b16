// Writing worksheet files: the main section in the classic record layout, the
// program's extension section after it, and the atomic save with its backup.
#include <array>
#include <cmath>
#include <cstring>
#include <initializer_list>

#include "spreadsheet/engine/CellStore.h"
#include "spreadsheet/engine/Clock.h"
#include "spreadsheet/engine/DateTime.h"
#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/DocumentTable.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/FormatSettings.h"
#include "spreadsheet/engine/FormulaCompiler.h"
#include "spreadsheet/engine/PoolString.h"
#include "spreadsheet/engine/RangeNames.h"
#include "spreadsheet/engine/Recalc.h"
#include "spreadsheet/engine/ShowError.h"
#include "spreadsheet/engine/TextCase.h"
#include "spreadsheet/engine/UserFunctions.h"
#include "spreadsheet/engine/WaitCursor.h"
#include "spreadsheet/engine/WindowServices.h"
#include "spreadsheet/files/FileReplace.h"
#include "spreadsheet/files/HostFileName.h"
#include "spreadsheet/files/RecordCodec.h"
#include "spreadsheet/files/SettingsFile.h"
#include "spreadsheet/files/WorksheetFile.h"
#include "spreadsheet/files/WorksheetFileState.h"
#include "spreadsheet/files/WorksheetRecords.h"
#include "spreadsheet/graphs/NamedGraphs.h"

namespace corvane {

using namespace wks;

namespace {

// The value bytes of a formula whose result is ERR: positive infinity.
constexpr std::uint8_t kErrValueBytes[8] = {0, 0, 0, 0, 0, 0, 0xF0, 0x7F};
// The value bytes of a formula with a text result, which readers ignore: the
// pattern that readers of the classic format take as "a text follows".
constexpr std::uint8_t kTextValueBytes[8] = {0, 0, 0, 0, 0, 0, 0xF8, 0x7F};

std::string CutText(std::string_view text, std::size_t maxChars) {
  return std::string(text.substr(0, std::min(text.size(), maxChars)));
}

// The block of cells to write and how far it moves (a range write puts its
// top-left cell on A1).
struct TBlock {
  int firstRow = 0, firstCol = 0, lastRow = 0, lastCol = 0;
  int rowShift = 0, colShift = 0;
};

TBlock BlockToWrite(bool rangeFlag, const TRange& range) {
  TBlock block;
  if (!rangeFlag) {
    block.lastRow = gCurrentDoc.highRow;
    block.lastCol = gCurrentDoc.highCol;
    return block;
  }
  std::int16_t c1 = range.firstCol, c2 = range.lastCol, r1 = range.firstRow, r2 = range.lastRow;
  OrderPair(c1, c2);
  OrderPair(r1, r2);
  block.firstCol = std::max<int>(c1, 0);
  block.firstRow = std::max<int>(r1, 0);
  block.lastCol = std::min<int>(c2, kMaxCol);
  block.lastRow = std::min<int>(r2, kMaxRow);
  block.rowShift = block.firstRow;
  block.colShift = block.firstCol;
  return block;
}

// Calls visit(cell) for each cell of the block, rows in order and each row by
// ascending column.
template <typename Visit>
void ForEachBlockCell(const TBlock& block, Visit visit) {
  TRange range;
  RangeSet(range, block.firstCol, block.firstRow, block.lastCol, block.lastRow);
  ForEachCellInRange(range, [&](TCellHandle, const TCell& cell) { visit(cell); });
}

void WriteWindowRecord(TRecordWriter& out, int type, const TPanePlace& pane) {
  TRecordWriter body;
  body.I16(pane.cursorCol);
  body.I16(pane.cursorRow);
  body.U8(FormatSettings().GForm);
  body.U8(0);
  body.I16(9);   // column width
  body.I16(7);   // columns on screen
  body.I16(20);  // rows on screen
  body.I16(pane.leftCol);
  body.I16(pane.topRow);
  for (int k = 0; k < 4; ++k) body.I16(0);  // titles
  body.I16(4);
  body.I16(4);
  body.I16(72);
  body.U8(0);
  out.Record(type, body);
}

void WriteNameRecord(TRecordWriter& out, std::string_view name, const TRange& range) {
  TRecordWriter body;
  body.FixedText(name, kNameFieldBytes);
  body.Range(range);
  out.Record(kName, body);
}

// The pseudo-name that carries the display flags ahead of the real names.
void WriteSettingsEntry(TRecordWriter& out) {
  const TSheetSettings& settings = gCurrentDoc.settings;
  std::uint8_t carried = CurrentFileState().carriedNameByte;
  std::uint8_t flags = settings.hideZeros ? 1 : 2;
  if (settings.negativeInColour) flags |= 4;
  const char name[] = {'G', '!', static_cast<char>(carried == 0 ? 255 : carried), static_cast<char>(flags), 'P', 1};
  TRange empty;
  RangeSet(empty, 0, 0, 0, 0);
  WriteNameRecord(out, std::string_view(name, sizeof name), empty);
}

void WriteRangeRecord(TRecordWriter& out, int type, const TRange& range) {
  TRecordWriter body;
  body.Range(range);
  out.Record(type, body);
}

void WriteTextRecord(TRecordWriter& out, int type, std::string_view text, std::size_t maxChars) {
  TRecordWriter body;
  body.ZeroText(CutText(text, maxChars));
  out.Record(type, body);
}

void WriteByteRecord(TRecordWriter& out, int type, std::uint8_t value) {
  TRecordWriter body;
  body.U8(value);
  out.Record(type, body);
}

// The main records that only a whole sheet carries, after the extent.
void WriteSheetRecords(TRecordWriter& out, const TSheetViewState& view) {
  const TSheetSettings& settings = gCurrentDoc.settings;
  const TRange* ranges = settings.savedRanges;
  TWorksheetFileState& state = CurrentFileState();
  const TSheetWindowLayout& layout = view.layout;

  WriteByteRecord(out, kCalcMode, settings.manualRecalc ? 0x00 : 0xFF);
  WriteByteRecord(out, kSplit, state.paneSplit);
  WriteByteRecord(out, kSync, state.paneSync);
  WriteWindowRecord(out, kWindow1, layout.pane1);
  for (int col = 0; col <= kMaxCol; ++col) {
    int size = view.sizes.columns[col];
    if (size == kDefaultSizeEntry) continue;
    TRecordWriter body;
    body.I16(col);
    body.U8(static_cast<std::uint8_t>(size));
    out.Record(kColumnWidth, body);
  }
  if (state.paneSplit != 0) WriteWindowRecord(out, kWindow2, layout.pane2);

  WriteSettingsEntry(out);
  for (int index = 1; index <= RangeNameCount(); ++index) {
    const TRangeName* entry = RangeNameAt(index);
    WriteNameRecord(out, RangeNameText(*entry), RangeNameRange(*entry));
  }

  TRecordWriter table;
  table.U8(state.whatIfType);
  table.Range(ranges[kRangeWhatIfTable]);
  table.Range(ranges[kRangeWhatIfInput1]);
  table.Range(ranges[kRangeWhatIfInput2]);
  out.Record(kWhatIfTable, table);
  TRecordWriter query;
  query.Range(ranges[kRangeQueryInput]);
  query.Range(ranges[kRangeQueryCriteria]);
  query.Range(ranges[kRangeQueryOutput]);
  query.U8(0);
  out.Record(kQueryRanges, query);
  WriteRangeRecord(out, kPrintRange, ranges[kRangePrint]);
  WriteRangeRecord(out, kSortRange, ranges[kRangeSort]);
  for (int type : {kPrimaryKey, kSecondaryKey}) {
    TRecordWriter key;
    key.Range(ranges[type == kPrimaryKey ? kRangePrimaryKey : kRangeSecondaryKey]);
    key.U8(0xFF);
    out.Record(type, key);
  }
  WriteByteRecord(out, kProtection, settings.protection ? 0xFF : 0x00);
  WriteTextRecord(out, kFooter, state.printFooter, kPrintTextMaxChars);
  WriteTextRecord(out, kHeader, state.printHeader, kPrintTextMaxChars);
  WriteTextRecord(out, kSetup, state.printSetup, kPrintTextMaxChars);
  TRecordWriter margins;
  for (std::int16_t word : state.marginWords) margins.I16(word);
  out.Record(kMargins, margins);
  WriteByteRecord(out, kLabelPrefix, static_cast<std::uint8_t>(settings.labelPrefix));
  TRecordWriter titles;
  titles.Range(ranges[kRangeTitleRows]);
  titles.Range(ranges[kRangeTitleColumns]);
  out.Record(kTitles, titles);

  TRecordWriter graph;
  graph.Bytes(gCurrentDoc.currentGraph + kGraphMainOffset, kGraphMainBytes);
  out.Record(kGraph, graph);
  for (int index = 1; index <= GraphCount(); ++index) {
    TGraphRecord named;
    GraphRecordAt(index, named);
    TRecordWriter body;
    body.FixedText(named.Name(), kNameFieldBytes);
    body.Bytes(named.Bytes() + kGraphMainOffset, kGraphMainBytes);
    out.Record(kNamedGraph, body);
  }
}

void WriteCellHead(TRecordWriter& body, const TCell& cell, const TBlock& block) {
  body.U8(cell.format);
  body.I16(cell.column - block.colShift);
  body.I16(cell.row - block.rowShift);
}

// The formula record of a formula cell (and its text-result record). A code
// that no longer reads as a formula is written as its value: one that does not
// convert, or whose stored form the reader would refuse (a call of a named
// cell that was deleted no longer tells how many arguments it takes).
void WriteFormulaCell(TRecordWriter& out, const TCell& cell, const TBlock& block) {
  const std::uint8_t* stored = PoolBlock(cell.text);
  std::uint8_t code[kMaxFormulaCode + 1] = {};
  bool haveCode = stored && stored[0] < kMaxFormulaCode;
  if (haveCode) {
    std::memcpy(code, stored, std::size_t{stored[0]} + 1);
    haveCode = FormulaRelocateRefs(code, cell.row, cell.column, false) && StoredCodeBalances(code, cell.column);
  }
  bool error = (cell.kind & kKindErrorBit) != 0;
  bool textResult = CellKind(cell) == kKindStringFormula && !error;
  TRecordWriter body;
  WriteCellHead(body, cell, block);
  if (!haveCode) {
    body.F64(textResult || error ? 0.0 : CellReal(cell));
    out.Record(kNumber, body);
    return;
  }
  if (error) {
    body.Bytes(kErrValueBytes, 8);
  } else if (textResult) {
    body.Bytes(kTextValueBytes, 8);
  } else {
    body.F64(CellReal(cell));
  }
  body.U8(static_cast<std::uint8_t>(code[0] - 1));
  body.U8(0);
  body.Bytes(code + kFirstTokenIndex, code[0] - 1);
  out.Record(kFormula, body);
  if (textResult) {
    TRecordWriter result;
    WriteCellHead(result, cell, block);
    result.ZeroText(PoolStringView(CellResultText(cell)));
    out.Record(kStringResult, result);
  }
}

void WriteCell(TRecordWriter& out, const TCell& cell, const TBlock& block) {
  TRecordWriter body;
  WriteCellHead(body, cell, block);
  switch (CellKind(cell)) {
    case kKindBlank:
      out.Record(kBlank, body);
      break;
    case kKindInteger:
      body.I16(CellInteger(cell));
      out.Record(kInteger, body);
      break;
    case kKindReal:
      body.F64(CellReal(cell));
      out.Record(kNumber, body);
      break;
    case kKindLabel:
      body.ZeroText(PoolStringView(cell.text));
      out.Record(kLabel, body);
      break;
    case kKindStringFormula:
    case kKindNumberFormula:
      WriteFormulaCell(out, cell, block);
      break;
    default:  // pictures are not written
      break;
  }
}

bool AttributesAreDefault(const TCell& cell) {
  return cell.font == kDefaultFont && cell.size == 0 && cell.style == 0 && cell.borders == 0 &&
         cell.attributes == kDefaultAttributes;
}

void StampDocument(TWorksheetFileState& state) {
  state.info.revisedBy = CutText(WindowServices().UserName(), kRevisedByMaxChars);
  if (state.info.creationDate >= 0) return;
  TClockTime now = ReadClock();
  state.info.creationTime = (now.hour * 3600.0 + now.minute * 60.0 + now.second + now.millisecond / 1000.0) / 86400.0;
  state.info.creationDate = DateToSerial(now.day, now.month, now.year);
}

// The face of a cell's font number: the program's list, else the window's own.
std::string FontFace(const TSheetViewState& view, int font) {
  return font < static_cast<int>(view.fontList.size()) ? view.fontList[font] : view.font.name;
}

void WriteExtensionRecords(TRecordWriter& out, const TBlock& block, const bool (&fontsUsed)[256],
                           const TSheetViewState& view, bool haveView) {
  const TSheetSettings& settings = gCurrentDoc.settings;
  TWorksheetFileState& state = CurrentFileState();

  TRecordWriter graph;
  graph.Bytes(gCurrentDoc.currentGraph + kGraphExtOffset, kGraphExtBytes);
  out.Record(kExtGraph, graph);
  for (int index = 1; index <= GraphCount(); ++index) {
    TGraphRecord named;
    GraphRecordAt(index, named);
    TRecordWriter body;
    body.Bytes(named.Bytes() + kGraphExtOffset, kGraphExtBytes);
    out.Record(kExtNamedGraph, body);
  }
  TRecordWriter info;
  info.U8(0);
  info.U8(0);
  out.Record(kExtInfoBytes, info);
  for (const TSheetButton& button : view.buttons) {
    TRecordWriter body;
    body.PrefixedText(button.caption, kButtonCaptionChars);
    body.PrefixedText(button.macro, kButtonMacroChars);
    body.I16(button.anchorRow);
    body.I16(button.anchorCol);
    body.I32(button.left);
    body.I32(button.top);
    body.I32(button.width);
    body.I32(button.height);
    out.Record(kExtButton, body);
  }
  TRecordWriter keys;
  keys.Range(settings.savedRanges[kRangePrimaryKey]);
  keys.U8(state.primaryOrder);
  keys.Range(settings.savedRanges[kRangeSecondaryKey]);
  keys.U8(state.secondaryOrder);
  out.Record(kExtSortKeys, keys);
  TRecordWriter regression;
  regression.Range(state.regressionX);
  regression.Range(state.regressionY);
  for (std::uint8_t option : state.dataOptions) regression.U8(option);
  out.Record(kExtRegression, regression);
  TRecordWriter colours;
  for (std::uint32_t colour : {settings.backgroundColour, settings.bandColour, settings.valueColour,
                               settings.negativeColour, settings.labelColour, settings.unlockedColour,
                               settings.cursorColour})
    colours.U32(colour);
  out.Record(kExtColours, colours);
  const TProgramSettings& program = ProgramSettings();
  TRecordWriter distances;
  for (double inches : {program.TopMargin, program.LeftMargin, program.RightMargin, program.BottomMargin,
                        program.HeaderDistance, program.FooterDistance})
    distances.I32(static_cast<std::int32_t>(std::lround(inches * 100)));
  out.Record(kExtPrintDistances, distances);
  for (const std::string& name : view.tabNames) WriteTextRecord(out, kExtTabName, name, kTabNameChars);
  // The document's user-defined functions, one record each in table order:
  // formulas call them by their index. An entry that cannot be read is written
  // empty so that the later ones keep their indexes.
  for (int index = 1; index <= DocumentUserFunctionCount(); ++index) {
    TUserFunc function;
    if (!DocumentUserFunction(index, function)) function = TUserFunc{};
    std::array<std::uint8_t, kUserFuncRecordBytes> record{};
    EncodeUserFunctionRecord(function, record);
    out.Record(kExtUserFunction, std::string_view(reinterpret_cast<const char*>(record.data()), record.size()));
  }
  for (int font = 0; font < kDefaultFont; ++font) {
    if (!fontsUsed[font]) continue;
    TRecordWriter body;
    body.I16(font);
    body.ZeroText(CutText(FontFace(view, font), kFontNameMaxChars));
    out.Record(kExtFontName, body);
  }
  if (haveView) {
    const TSheetFont& sheetFont = view.font;
    TRecordWriter body;
    body.I16(sheetFont.rowHeight);
    body.I16(sheetFont.style);
    body.ZeroText(CutText(sheetFont.name, kFontNameMaxChars));
    out.Record(kExtSheetFont, body);
  }
  if (haveView) {
    const TSheetWindowLayout& layout = view.layout;
    TRecordWriter body;
    body.I16(layout.sheetCount);
    body.U8(layout.splitHorizontal ? 1 : 0);
    body.U8(layout.splitVertical ? 1 : 0);
    body.U8(layout.synchronised ? 1 : 0);
    body.U8(layout.activePane != 0 ? 1 : 0);
    const TPanePlace& p1 = layout.pane1;
    const TPanePlace& p2 = layout.pane2;
    for (int word : std::initializer_list<int>{p1.leftCol, p1.topRow, p1.cursorCol, p1.cursorRow, layout.pane1Height,
                                               layout.pane1Width, p2.leftCol, p2.topRow, p2.cursorCol, p2.cursorRow,
                                               layout.frozenFirstCol, layout.frozenLastCol, layout.frozenFirstRow,
                                               layout.frozenLastRow})
      body.I16(word);
    out.Record(kExtWindowLayout, body);
  }
  WriteTextRecord(out, kExtTitle, state.info.title, kDocTitleMaxChars);
  WriteTextRecord(out, kExtComments, state.info.comments, kDocCommentsMaxChars);
  WriteTextRecord(out, kExtRevisedBy, state.info.revisedBy, kRevisedByMaxChars);
  TRecordWriter created;
  created.F64(state.info.creationTime);
  created.F64(state.info.creationDate);
  out.Record(kExtCreated, created);

  ForEachBlockCell(block, [&](const TCell& cell) {
    if (AttributesAreDefault(cell)) return;
    TRecordWriter body;
    body.I16(cell.row - block.rowShift);
    body.I16(cell.column - block.colShift);
    body.U8(cell.font);
    body.U8(cell.size);
    body.U8(cell.style);
    body.U8(cell.borders);
    body.U32(cell.attributes);
    out.Record(kExtCellAttributes, body);
  });
  // One record per column or row whose size is not the default.
  auto writeSizes = [&](auto type, std::span<const std::uint16_t> sizes) {
    for (int index = 0; index < static_cast<int>(sizes.size()); ++index) {
      int size = sizes[index];
      if (size == kDefaultSizeEntry) continue;
      TRecordWriter body;
      body.I16(index);
      body.U8(static_cast<std::uint8_t>(size));
      out.Record(type, body);
    }
  };
  writeSizes(kExtColumnWidth, view.sizes.columns);
  writeSizes(kExtRowHeight, view.sizes.rows);
}

}  // namespace

std::string WorksheetFileName(std::string_view name) {
  std::size_t cut = name.find_last_of("\\/:");
  std::size_t start = cut == std::string_view::npos ? 0 : cut + 1;
  std::string result(name.substr(0, start));
  std::string last = UpperCaseText(name.substr(start));
  if (last.find('.') == std::string::npos) last += ".WKS";
  return result + last;
}

std::string WorksheetBytes(bool rangeFlag, const TRange& range) {
  TBlock block = BlockToWrite(rangeFlag, range);
  StampDocument(CurrentFileState());
  TRecordWriter out;
  TRecordWriter version;
  version.U16(kVersionWord);
  out.Record(kBof, version);
  TRecordWriter extent;
  extent.Range(TRange{0, 0, gCurrentDoc.highCol, gCurrentDoc.highRow});
  out.Record(kExtent, extent);
  // The window's view of the document, taken once for the whole file.
  TSheetViewState view;
  bool haveView = WindowServices().GetSheetView(view);
  if (!rangeFlag) WriteSheetRecords(out, view);

  bool fontsUsed[256] = {};
  if (HaveCurrentDocument()) {
    ForEachBlockCell(block, [&](const TCell& cell) {
      fontsUsed[cell.font] = true;
      WriteCell(out, cell, block);
    });
  }
  out.Record(kEof, std::string_view());
  out.U8(kSectionMark);
  out.U8(0);
  if (HaveCurrentDocument()) WriteExtensionRecords(out, block, fontsUsed, view, haveView);
  out.Record(kExtEof, std::string_view());
  out.U8(kSectionMark);
  out.U8(kSectionMark);
  return out.Buffer();
}

std::string DocumentFileName(std::string_view name) {
  if (name.empty()) return WksFileName(name);
  return WksFileName(FullFileName(WksFileName(name)));
}

bool SaveWorksheet(std::string_view name, bool rangeFlag, const TRange& range, bool keepBackup) {
  const std::string document = DocumentFileName(name);
  int holder = 0;
  if (FindOpenSheet(document, holder) && holder != CurrentDocSlot()) {
    const std::string message = document + kOpenElsewhereText;
    SetErrorFlag(message);
    ShowError(message);
    return false;
  }
  TWaitCursorHold wait;
  // An existing file of the name in another case is the one replaced, as on
  // Windows.
  std::string path = WorksheetFileName(name);
  std::string bytes = WorksheetBytes(rangeFlag, range);
  std::string backup = ProgramSettings().Backups || keepBackup ? HostFileName(BackupFileName(path, 'B')) : std::string();
  path = HostFileName(path);
  if (!SaveFileReplacing(path, bytes, backup)) {
    SetErrorFlag(kUnableToCloseText);
    ShowError(kUnableToCloseText);
    return false;
  }
  if (!rangeFlag) gCurrentDoc.settings.modified = 0;
  return true;
}

}  // namespace corvane

// Reading worksheet files into the current document: the file is parsed and
// checked whole (WorksheetParser.cpp), then its cells are put in place, their
// formulas linked, and for a whole load the staged document state applied.
// Merges take only cells, bounded by a range of the file.
#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <exception>

#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/CellStore.h"
#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/DocumentTable.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/FormatSettings.h"
#include "spreadsheet/engine/FormulaCompiler.h"
#include "spreadsheet/engine/FormulaTables.h"
#include "spreadsheet/engine/PoolString.h"
#include "spreadsheet/engine/RangeArguments.h"
#include "spreadsheet/engine/RangeNames.h"
#include "spreadsheet/engine/RangeText.h"
#include "spreadsheet/engine/Recalc.h"
#include "spreadsheet/engine/ShowError.h"
#include "spreadsheet/engine/TextCase.h"
#include "spreadsheet/engine/UndoBuffer.h"
#include "spreadsheet/engine/UserFunctions.h"
#include "spreadsheet/engine/WaitCursor.h"
#include "spreadsheet/files/HostFileName.h"
#include "spreadsheet/files/SettingsFile.h"
#include "spreadsheet/files/WorksheetFile.h"
#include "spreadsheet/files/WorksheetImage.h"
#include "spreadsheet/files/WorksheetRecords.h"
#include "spreadsheet/graphs/NamedGraphs.h"

namespace corvane {

using namespace wks;

namespace {

constexpr int kPoolCheckInterval = 32;
constexpr int kForgetInterval = 4096;
constexpr std::size_t kRangeNameLineChars = 16;

bool gAutoExecMode = false;

// Reads the whole file into `bytes` with one read of its size; false when it
// cannot be opened or read. A file larger than the memory left sets
// `tooLarge` instead of ending the program.
bool ReadFileBytes(const std::string& path, std::string& bytes, bool& tooLarge) {
  tooLarge = false;
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  if (!file) return false;
  std::streamoff size = file.tellg();
  if (size < 0 || !file.seekg(0)) return false;
  try {
    bytes.resize(static_cast<std::size_t>(size));
  } catch (const std::exception&) {  // bad_alloc, or a size beyond what a string holds
    bytes.clear();
    bytes.shrink_to_fit();
    tooLarge = true;
    return true;
  }
  return size == 0 || static_cast<bool>(file.read(bytes.data(), size));
}

// The staged state starts as the document's own, so records the file lacks
// leave it as it was.
void StageDocumentState(TWorksheetImage& image) {
  image.settings = gCurrentDoc.settings;
  image.state = CurrentFileState();
  image.defaultFormat = FormatSettings().GForm;
  const TProgramSettings& program = ProgramSettings();
  image.printDistances = {program.TopMargin, program.LeftMargin, program.RightMargin,
                          program.BottomMargin, program.HeaderDistance, program.FooterDistance};
  image.currentGraph = CurrentGraph();
  image.namedGraphRoom = kMaxNamedGraphs - GraphCount();
  image.haveView = WindowServices().GetSheetView(image.view);
  image.layout = image.view.layout;
}

// The font numbers of the file's cells mapped to the program's font list:
// a number with a named font goes to that face's place in the list (the
// window's own font, 255, when the list lacks it); other numbers stay.
std::array<std::uint8_t, 256> FontNumberMap(const TWorksheetImage& image) {
  std::array<std::uint8_t, 256> map;
  for (int k = 0; k < 256; ++k) map[k] = static_cast<std::uint8_t>(k);
  const std::vector<std::string>& list = image.view.fontList;
  for (const auto& [font, name] : image.fontNames) {
    auto at = std::find(list.begin(), list.end(), name);
    std::ptrdiff_t position = at - list.begin();
    map[font] = at != list.end() && position < kDefaultFont ? static_cast<std::uint8_t>(position) : kDefaultFont;
  }
  return map;
}

// How a merge places the file's cells.
struct TPlacement {
  bool merge = false;
  TRange bounds{0, 0, kMaxCol, kMaxRow};  // ordered; firstCol -1: nothing
  int rowOffset = 0, colOffset = 0;
  int combine = 0;
  bool byValue = false;
};

bool InBounds(const TPlacement& place, const TFileCell& cell) {
  const TRange& b = place.bounds;
  return b.firstCol >= 0 && cell.col >= b.firstCol && cell.col <= b.lastCol && cell.row >= b.firstRow &&
         cell.row <= b.lastRow;
}

TPlacement MergePlacement(const TWorksheetImage& image, int mode, int targetRow, int targetCol,
                          std::string_view rangeName) {
  TPlacement place;
  place.merge = true;
  place.byValue = (mode & kLoadByValue) != 0;
  int combine = mode & kLoadCombineMask;
  place.combine = combine == kLoadCombineAdd || combine == kLoadCombineSubtract ? combine : 0;
  if (!rangeName.empty()) {
    RangeClear(place.bounds);
    if (rangeName.find("..") != std::string_view::npos) {
      TRange range;
      if (ParseRange(rangeName, range)) place.bounds = range;
      ClearErrorFlag();
    } else {
      std::string key = RangeNameKey(rangeName);
      for (const TFileName& name : image.names)
        if (RangeNameKey(name.name) == key) place.bounds = name.range;
    }
    OrderPair(place.bounds.firstCol, place.bounds.lastCol);
    OrderPair(place.bounds.firstRow, place.bounds.lastRow);
    if (place.bounds.firstCol < 0) RangeClear(place.bounds);
  }
  place.rowOffset = targetRow - std::max<int>(place.bounds.firstRow, 0);
  place.colOffset = targetCol - std::max<int>(place.bounds.firstCol, 0);
  return place;
}

// The index in the current document's table of the user-defined function a
// file brings: the document's own function of that name and argument count,
// else the file's added to the table; 0 when the table or the pool is full.
int DocumentIndexOf(const std::array<std::uint8_t, kUserFuncRecordBytes>& record) {
  TUserFunc wanted;
  if (!DecodeUserFunctionRecord(record, wanted)) return 0;
  for (int index = 1; index <= DocumentUserFunctionCount(); ++index) {
    TUserFunc function;
    if (DocumentUserFunction(index, function) && function.name == wanted.name && function.argCount == wanted.argCount)
      return index;
  }
  return AppendDocumentUserFunction(wanted) ? DocumentUserFunctionCount() : 0;
}

// Calls `visit` with the function index byte of each user-defined function
// call in a formula's code; false as soon as `visit` is.
template <typename TVisit>
bool ForEachUserFunctionCall(TFileCell& cell, TVisit visit) {
  std::uint8_t* code = cell.code.data();
  int length = cell.codeLength ? code[0] : 0;
  for (int i = kFirstTokenIndex; i < length; i = NextTokenIndex(code, i, length))
    if (code[i] == kTokUserFunction && !visit(code[i + 1])) return false;
  return true;
}

// Merged formulas call user-defined functions by their index in the file's
// table, which is not the document's: `documentIndex` is given, for each
// function the merged formulas call, the index of the same function in the
// document (0 for the others); those the document lacks are added to it.
// False when the document cannot take a function its formulas need.
bool MapUserFunctionCalls(const TWorksheetImage& image, const TPlacement& place, std::vector<int>& documentIndex) {
  if (!image.haveExtensionSection || place.byValue) return true;
  documentIndex.assign(image.userFunctions.size() + 1, 0);
  TFileCellCursor cells(image);
  TFileCell cell;
  while (cells.Next(cell)) {
    if (cell.codeLength == 0 || !InBounds(place, cell)) continue;
    // The parser checked every call against the file's table.
    bool mapped = ForEachUserFunctionCall(cell, [&](std::uint8_t fileIndex) {
      int& index = documentIndex[fileIndex];
      if (index == 0) index = DocumentIndexOf(image.userFunctions[static_cast<std::size_t>(fileIndex - 1)]);
      return index != 0;
    });
    if (!mapped) return false;
  }
  return true;
}

// Gives a merged formula's calls the document's function indexes.
void RenumberUserFunctionCalls(TFileCell& cell, const std::vector<int>& documentIndex) {
  if (documentIndex.empty()) return;
  ForEachUserFunctionCall(cell, [&](std::uint8_t& fileIndex) {
    fileIndex = static_cast<std::uint8_t>(documentIndex[fileIndex]);
    return true;
  });
}

// The numeric value a cell holds for add and subtract merges (0 for others).
double CurrentNumber(const TCell& cell) {
  bool error = false;
  double value = CellNumber(&cell, error);
  return error ? 0 : value;
}

// Empties a cell before a file cell is stored in it. A formula this read
// stored there (a file may give a cell twice), or one an earlier read left
// unlinked, still has its references in the file's form: it holds no links to
// drop, and its code must not be read as cell references.
void ClearStoredCell(TCellHandle handle) {
  TCell* cell = CellPtr(handle);
  if (!CellIsFormula(cell) || !(cell->kind & kKindRelinkPending)) {
    CellClearContents(handle);
    return;
  }
  if (CellKind(*cell) == kKindStringFormula) {
    TPoolHandle result = CellResultText(*cell);
    PoolFreeString(result);
  }
  cell = CellPtr(handle);
  PoolFreeString(cell->text);
  cell->kind = kKindBlank;
  SetCellReal(*cell, 0);
}

// Puts one file cell at (row, col), replacing what the cell held. False when
// the pool has no room for it.
bool StoreCell(const TWorksheetImage& image, const TFileCell& in, int row, int col, const TPlacement& place,
               std::vector<TCellHandle>& formulas) {
  TCellHandle handle = CellGetOrCreate(row, col);
  if (handle == kNilHandle) return false;
  std::uint8_t type = in.type;
  const std::string_view text = image.Text(in);
  std::string labelText;
  // A formula taken as its value: a text result becomes a label, a number a
  // number, and ERR stays ERR as the formula @ERR.
  const bool asValue = (place.byValue || in.asValue) && type == kFormula;
  if (asValue && in.textResult) {
    type = kLabel;
    labelText = std::string(1, gCurrentDoc.settings.labelPrefix) + std::string(text);
  } else if (asValue && !in.error) {
    type = kNumber;
  }
  bool numeric = type == kInteger || type == kNumber;
  double number = in.number;
  if (numeric && place.combine != 0) {
    double read = place.combine == kLoadCombineSubtract ? -in.number : in.number;
    number = CurrentNumber(*CellPtr(handle)) + read;
    type = kNumber;
  }
  ClearStoredCell(handle);
  TCell* cell = CellPtr(handle);
  cell->attributes = in.attributes;
  cell->format = in.format;
  switch (type) {
    case kBlank:
      break;
    case kInteger:
      cell->kind = kKindInteger;
      SetCellInteger(*cell, static_cast<std::int16_t>(number));
      break;
    case kNumber:
      cell->kind = kKindReal;
      SetCellReal(*cell, number);
      break;
    case kLabel: {
      TPoolHandle label = PoolNewString(labelText.empty() ? text : std::string_view(labelText));
      if (label == kNilHandle) return false;
      cell = CellPtr(handle);
      cell->text = label;
      cell->kind = kKindLabel;
      SetCellReal(*cell, 0);
      break;
    }
    case kFormula: {
      static constexpr char kErrCode[] = {0, kTokErr, kTokEnd};
      const std::uint8_t* stored = in.code.data();
      TPoolHandle code = PoolNewString(asValue ? std::string_view(kErrCode, sizeof kErrCode)
                                               : std::string_view(reinterpret_cast<const char*>(stored) + 1,
                                                                  in.codeLength - 1u));
      TPoolHandle result = kNilHandle;
      if (in.textResult && !text.empty()) result = PoolNewString(text);
      if (code == kNilHandle || (in.textResult && !text.empty() && result == kNilHandle)) {
        PoolFreeString(code);
        PoolFreeString(result);
        return false;
      }
      cell = CellPtr(handle);
      cell->text = code;
      if (in.textResult) {
        cell->kind = kKindStringFormula;
        SetCellResultText(*cell, result);
      } else {
        cell->kind = kKindNumberFormula | (in.error ? kKindErrorBit : 0);
        SetCellReal(*cell, in.error ? 0.0 : number);
      }
      // The mark stays until the references are relinked, which a read that
      // leaves them unlinked does not do.
      cell->kind |= kKindRelinkPending;
      formulas.push_back(handle);
      break;
    }
    default:
      break;
  }
  return true;
}

// Turns the stored references of the formulas read back into cell references
// and links each formula to the cells it reads. A cell listed twice, or
// given another kind by a later record, no longer carries the mark.
void RelinkFormulas(const std::vector<TCellHandle>& formulas) {
  for (TCellHandle handle : formulas) {
    TCell* cell = CellPtr(handle);
    if (!CellIsFormula(cell) || !(cell->kind & kKindRelinkPending)) continue;
    cell->kind &= static_cast<std::uint8_t>(~kKindRelinkPending);
    std::uint8_t* code = PoolBlock(cell->text);
    if (code) FormulaRelocateRefs(code, CellPtr(handle)->row, CellPtr(handle)->column, true);
    FormulaLinkDeps(handle, true);
    if (ErrorFlagSet() && PoolHasRoom()) ClearErrorFlag();
  }
}

// What a load says of the names it left out because the format reserves
// them: each once, in file order.
std::string ReservedNamesText(const std::vector<std::string>& names) {
  std::string text = std::string(kReservedNameText) + " Not Read:";
  std::vector<std::string> said;
  for (const std::string& name : names) {
    if (std::find(said.begin(), said.end(), name) != said.end()) continue;
    text += (said.empty() ? " " : ", ") + name;
    said.push_back(name);
  }
  return text;
}

// The staged names go into the sorted table when they are not there yet.
void ApplyNames(const TWorksheetImage& image) {
  for (const TFileName& name : image.names) {
    std::string key = RangeNameKey(name.name);
    if (key.empty() || RangeNameCount() >= kMaxRangeNames) continue;
    int index = RangeNameSearch(key, 1, RangeNameCount());
    if (index < 0) RangeNameInsert(key, name.range, -index);
  }
}

bool ApplyNamedGraphs(const TWorksheetImage& image) {
  for (const TGraphRecord& graph : image.namedGraphs) {
    if (GraphCount() >= kMaxNamedGraphs) break;
    TPoolHandle block = PoolAlloc(kGraphRecordBytes);
    if (block == kNilHandle) return false;
    graph.ToBytes(PoolBlock(block));
    gCurrentDoc.graphs[++gCurrentDoc.graphCount] = block;
  }
  return true;
}

void ApplyWindowState(const TWorksheetImage& image) {
  TWindowServices& windows = WindowServices();
  if (!image.haveView) return;
  TSheetViewState view = image.view;
  unsigned parts = kViewSizes;
  if (image.haveLayout || image.haveWindowRecord) {
    view.layout = image.layout;
    parts |= kViewLayout;
  }
  if (image.haveExtColumnWidths) {
    for (const auto& [col, size] : image.columnWidths) view.sizes.columns[col] = static_cast<std::uint16_t>(size);
  } else {
    for (int col = 0; col <= kMaxCol; ++col)
      if (image.mainColumnWidths[col] != kDefaultSizeEntry) view.sizes.columns[col] = image.mainColumnWidths[col];
  }
  for (const auto& [row, size] : image.rowHeights) view.sizes.rows[row] = static_cast<std::uint16_t>(size);
  if (image.haveTabNames) {
    view.tabNames = image.tabNames;
    parts |= kViewTabNames;
  }
  if (!image.buttons.empty()) {
    view.buttons.insert(view.buttons.end(), image.buttons.begin(), image.buttons.end());
    parts |= kViewButtons;
  }
  if (image.haveSheetFont) {
    view.font = image.sheetFont;
    parts |= kViewFont;
  }
  windows.SetSheetView(view, parts);
  if (image.refocus) windows.FocusActivePane();
}

// A file with an extension section replaces the document's user-defined
// functions with its own, before its formulas are linked and evaluated. False
// when the pool has no room for them.
bool ApplyUserFunctions(const TWorksheetImage& image) {
  if (!image.haveExtensionSection) return true;
  ClearDocumentUserFunctions();
  for (const auto& record : image.userFunctions)
    if (!AppendDocumentUserFunctionRecord(record)) return false;
  return true;
}

bool ApplyDocumentState(const TWorksheetImage& image) {
  gCurrentDoc.settings = image.settings;
  ApplySheetFormatSettings(gCurrentDoc.settings);
  CurrentFileState() = image.state;
  FormatSettings().GForm = image.defaultFormat;
  TProgramSettings& program = ProgramSettings();
  program.TopMargin = image.printDistances[0];
  program.LeftMargin = image.printDistances[1];
  program.RightMargin = image.printDistances[2];
  program.BottomMargin = image.printDistances[3];
  program.HeaderDistance = image.printDistances[4];
  program.FooterDistance = image.printDistances[5];
  SetCurrentGraph(image.currentGraph);
  std::array<std::uint8_t, 256> fonts = FontNumberMap(image);
  for (const TFileAttributes& a : image.cellAttributes) {
    TCell* cell = CellPtr(CellFind(a.row, a.col));
    if (!cell) continue;
    cell->font = fonts[a.font];
    cell->size = a.size;
    cell->style = a.style;
    cell->borders = a.borders;
    cell->attributes = a.attributes;
  }
  return ApplyUserFunctions(image);
}

// Reads and parses the file; false (error flag set) when it cannot be read or
// is damaged. `opened` tells the two apart.
bool ReadImage(const std::string& path, TReadScope scope, TWorksheetImage& image, bool& opened) {
  // The file is mapped where it can be, else read whole.
  std::string hostName = HostFileName(path);
  if (image.mappedFile.Open(hostName)) {
    opened = true;
    image.bytes = image.mappedFile.Bytes();
    return ParseWorksheetBytes(scope, image);
  }
  if (image.mappedFile.Changed()) {
    opened = true;
    SetErrorFlag(kFileChangedText);
    return false;
  }
  std::string bytes;
  bool tooLarge = false;
  opened = ReadFileBytes(hostName, bytes, tooLarge);
  if (!opened) {
    SetErrorFlag(kUnableToOpenText);
    return false;
  }
  if (tooLarge) {
    SetOutOfMemoryError();
    return false;
  }
  return ParseWorksheet(std::move(bytes), scope, image);
}

}  // namespace

void SetAutoExecMode(bool on) { gAutoExecMode = on; }

bool LoadWorksheet(std::string_view name, int mode, int targetRow, int targetCol, std::string_view rangeName) {
  return LoadWorksheetPart(name, mode, targetRow, targetCol, rangeName) == TLoadOutcome::kWhole;
}

TLoadOutcome LoadWorksheetPart(std::string_view name, int mode, int targetRow, int targetCol,
                               std::string_view rangeName) {
  bool autoExec = gAutoExecMode;
  gAutoExecMode = false;
  std::string path = WorksheetFileName(name);
  bool merge = (mode & kLoadMerge) != 0;
  ClearErrorFlag();
  if (!HaveCurrentDocument()) {
    SetErrorFlag("Disk Error");
    return TLoadOutcome::kNothing;
  }
  TWaitCursorHold wait;
  TWorksheetImage image;
  if (!merge) StageDocumentState(image);
  bool opened = false;
  // A load of a damaged file goes on with the records before the one at
  // fault, and names that record once they are in place.
  std::string damage;
  if (!ReadImage(path, merge ? TReadScope::kCells : TReadScope::kLoad, image, opened)) {
    if (merge || !image.damaged) {
      if (opened || !autoExec) ShowError(ErrorMessage());
      return TLoadOutcome::kNothing;
    }
    damage = ErrorMessage();
    ClearErrorFlag();
  }

  TPlacement place;
  if (merge) place = MergePlacement(image, mode, targetRow, targetCol, rangeName);
  // Every cell taken must land in the sheet before any is stored; cells kept
  // where they stand in the file are on it (the parser checked them).
  TFileCell cell;
  bool moved = place.rowOffset != 0 || place.colOffset != 0;
  for (TFileCellCursor cells(image); moved && cells.Next(cell);) {
    if (!InBounds(place, cell)) continue;
    int row = cell.row + place.rowOffset, col = cell.col + place.colOffset;
    if (row < 0 || row > kMaxRow || col < 0 || col > kMaxCol) {
      SetOutOfRangeError();
      ShowError(ErrorMessage());
      return TLoadOutcome::kNothing;
    }
  }

  std::vector<int> documentIndex;
  if (merge && !MapUserFunctionCalls(image, place, documentIndex)) {
    SetOutOfMemoryError();
    ShowError(ErrorMessage());
    return TLoadOutcome::kNothing;
  }
  // A merge changes cells like any other command, so the sheet as it was is
  // saved for undo first. A load brings in a whole document, which an earlier
  // buffer taken from the cells it replaces cannot give back: it is dropped.
  if (merge) {
    UndoSave();
  } else {
    UndoClear();
  }

  bool relink = (mode & kLoadNoRelink) == 0;
  bool outOfMemory = false;
  int highRow = -1, highCol = -1;
  std::vector<TCellHandle> formulas;
  int count = 0, read = 0;
  TFileCellCursor cells(image);
  for (std::size_t at = cells.Position(); cells.Next(cell); at = cells.Position()) {
    // The file's pages already stored need not stay in memory beside the pool;
    // those of this cell are still read.
    if (++read % kForgetInterval == 0) image.mappedFile.Forget(at);
    if (!InBounds(place, cell)) continue;
    if (++count % kPoolCheckInterval == 0 && !PoolHasRoom()) {
      outOfMemory = true;
      break;
    }
    int row = cell.row + place.rowOffset, col = cell.col + place.colOffset;
    // Like every command that changes cells, a merge passes over protected
    // cells (missing ones count as protected) while protection is on.
    if (merge && CellIsProtected(CellPtr(CellFind(row, col)))) continue;
    RenumberUserFunctionCalls(cell, documentIndex);
    if (!StoreCell(image, cell, row, col, place, formulas)) {
      outOfMemory = true;
      break;
    }
    highRow = std::max(highRow, row);
    highCol = std::max(highCol, col);
  }
  MarkStoreChanged();

  if (!merge) {
    if (!ApplyDocumentState(image)) outOfMemory = true;
    ApplyNames(image);
    if (!ApplyNamedGraphs(image)) outOfMemory = true;
    ApplyWindowState(image);
  }
  if (relink) RelinkFormulas(formulas);
  if (merge && relink && highRow >= 0) {
    TRange block;
    RangeSet(block, targetCol, targetRow, highCol, highRow);
    RecalcRange(block);
  }
  if (!merge && autoExec) {
    std::size_t cut = path.find_last_of("\\/:");
    if (path.substr(cut == std::string::npos ? 0 : cut + 1) == "AUTOEXEC.WKS") RenameOpenSheet(CurrentDocSlot(), "");
  }
  WindowServices().RepaintSheet(WindowServices().ActiveSheet());
  if (!merge && !image.reservedNames.empty()) ShowError(ReservedNamesText(image.reservedNames));
  if (outOfMemory) {
    SetErrorFlag(kFileTruncatedText);
    ShowError(kFileTruncatedText);
    return TLoadOutcome::kPart;
  }
  if (!damage.empty()) {
    SetErrorFlag(damage);
    ShowError(damage);
    return TLoadOutcome::kPart;
  }
  ClearErrorFlag();
  return TLoadOutcome::kWhole;
}

bool ReadRangeNames(std::string_view name, std::vector<std::string>& lines) {
  TWorksheetImage image;
  bool opened = false;
  if (!ReadImage(WorksheetFileName(name), TReadScope::kCells, image, opened)) return false;
  for (const TFileName& entry : image.names) {
    std::string line = entry.name + ": " + RangeText(entry.range);
    lines.push_back(line.substr(0, kRangeNameLineChars));
  }
  return true;
}

bool IsWorksheetFile(std::string_view name) {
  std::ifstream file(HostFileName(WorksheetFileName(name)), std::ios::binary | std::ios::ate);
  std::streamoff size = file ? static_cast<std::streamoff>(file.tellg()) : -1;
  std::uint8_t head[4];
  if (size < 0 || !file.seekg(0) || !file.read(reinterpret_cast<char*>(head), sizeof head)) return false;
  return BeginsWorksheet(head, static_cast<std::uint64_t>(size));
}

bool ReadLinkedFileCells(std::string_view name, const TLinkedCellSink& sink) {
  TWorksheetImage image;
  bool opened = false;
  if (!ReadImage(WorksheetFileName(name), TReadScope::kCells, image, opened)) {
    ClearErrorFlag();
    return false;
  }
  int sheets = image.haveLayout ? image.layout.sheetCount : 1;
  TFileCell cell;
  for (TFileCellCursor cells(image); cells.Next(cell);) {
    if (cell.type == kBlank) continue;
    TLinkedCellValue value;
    value.row = cell.row;
    value.col = cell.col;
    value.rowsPerSheet = kRowsPerWorksheet / sheets;
    value.isLabel = cell.type == kLabel;
    value.isText = value.isLabel || cell.textResult;
    if (value.isText) {
      value.text = image.Text(cell);
    } else {
      value.number = cell.error ? 0 : cell.number;
    }
    sink(value);
  }
  return true;
}

}  // namespace corvane

// Parsing worksheet files: every record of both sections checked for its
// length and for every position, range, count and formula code it holds, and
// collected into a TWorksheetImage. Nothing of the document is touched here.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <new>
#include <span>

#include "spreadsheet/engine/CellStore.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/FormulaCompiler.h"
#include "spreadsheet/engine/FormulaTables.h"
#include "spreadsheet/engine/PoolString.h"
#include "spreadsheet/engine/RangeNames.h"
#include "spreadsheet/engine/TextRoutines.h"
#include "spreadsheet/engine/UserFunctions.h"
#include "spreadsheet/files/RecordCodec.h"
#include "spreadsheet/files/WorksheetFile.h"
#include "spreadsheet/files/WorksheetImage.h"
#include "spreadsheet/files/WorksheetRecords.h"
#include "spreadsheet/graphs/NamedGraphs.h"

namespace corvane::wks {
namespace {

constexpr std::size_t kMaxCellText = 240;
constexpr int kMaxNamesRead = 240;
constexpr std::size_t kNameChars = 12;

bool ValidRow(int row) { return row >= 0 && row <= kMaxRow; }
bool ValidCol(int col) { return col >= 0 && col <= kMaxCol; }
// A stored range: each corner in the sheet, or -1 (unset).
bool ValidRange(const TRange& range) {
  auto col = [](int c) { return c == -1 || ValidCol(c); };
  auto row = [](int r) { return r == -1 || ValidRow(r); };
  return col(range.firstCol) && col(range.lastCol) && row(range.firstRow) && row(range.lastRow);
}

// A graph range as a typed one can be: unset (first column -1), or with
// every corner on the sheet.
bool GraphRangesOnSheet(const TGraphRecord& graph) {
  auto onSheet = [](const TRange& r) {
    return r.firstCol == -1 || (ValidCol(r.firstCol) && ValidCol(r.lastCol) && ValidRow(r.firstRow) && ValidRow(r.lastRow));
  };
  if (!onSheet(graph.XRange())) return false;
  for (int series = 1; series <= kGraphSeries; ++series)
    if (!onSheet(graph.SeriesRange(series)) || !onSheet(graph.LabelRange(series))) return false;
  return true;
}

// Numbers from a file are cleaned before use: a value whose exponent field is
// 0 (a denormal or minus zero; only eight zero bytes stay as they are), 1, 894,
// or 2039 and above (huge values, infinities and NaNs) becomes 0.
double CleanNumber(double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  int exponent = static_cast<int>((bits >> 52) & 0x7FF);
  if ((exponent == 0 && bits != 0) || exponent == 1 || exponent == 894 || exponent >= 2039) return 0;
  return value;
}

// What a cell record holds once checked.
enum class TCellRecord {
  kFault,   // the record is at fault
  kPassed,  // a formula with more code than a cell holds: passed over
  kCell,    // a cell
  kResult,  // the text result of the formula before it (row, column and text set)
};

// The value and code of a formula record. The code bytes follow the size word,
// whose low byte takes the place of the code's length byte and whose high byte
// that of the spare byte; a writer may pad the code with one zero after END.
bool FormulaCode(TByteReader& in, TFileCell& cell) {
  std::uint8_t value[8];
  in.Bytes(value, sizeof value);
  cell.error = value[6] == 0xF0 && value[7] == 0x7F;
  double number;
  std::memcpy(&number, value, sizeof number);
  cell.number = CleanNumber(number);
  std::size_t n = in.Remaining();
  std::uint8_t* code = cell.code.data();
  if (n < 3 || n > cell.code.size()) return false;
  in.Bytes(code, n);
  code[1] = 0;
  if (code[n - 1] == 0 && code[n - 2] == kTokEnd) --n;
  std::size_t end = n - 1;
  if (end < kFirstTokenIndex || end >= kMaxFormulaCode || code[end] != kTokEnd) return false;
  code[0] = static_cast<std::uint8_t>(end);
  cell.codeLength = static_cast<std::uint8_t>(end + 1);
  return true;
}

// Checks and reads one cell or text-result record of the file `base` begins.
TCellRecord ReadCellRecord(const TRecordView& record, const std::uint8_t* base, TFileCell& cell) {
  static constexpr std::size_t kMinLength[] = {5, 7, 13, 6, 16};  // types 12 to 16
  int type = record.Type();
  std::size_t minLength = type == kStringResult ? kCellHeadBytes + 1 : kMinLength[type - kBlank];
  if (record.length < minLength) return TCellRecord::kFault;
  TByteReader in = record.Reader();
  cell.type = static_cast<std::uint8_t>(type);
  cell.recordLength = record.length;
  cell.format = in.U8();
  cell.col = in.I16();
  cell.row = in.I16();
  if (!ValidCol(cell.col) || !ValidRow(cell.row)) return TCellRecord::kFault;
  // The type word's high byte carries the attributes of cells in older files.
  std::uint8_t high = record.typeWord >> 8;
  cell.attributes = high == 0 ? kDefaultAttributes : kDefaultAttributes | std::uint32_t(high & 0x0F) << 24;
  auto keepText = [&](std::string_view text) {
    cell.textAt = static_cast<std::uint32_t>(reinterpret_cast<const std::uint8_t*>(text.data()) - base);
    cell.textLength = static_cast<std::uint8_t>(text.size());
  };
  switch (type) {
    case kStringResult:
      keepText(in.RestTextView(kMaxCellText));
      return TCellRecord::kResult;
    case kInteger:
      cell.number = in.I16();
      break;
    case kNumber:
      cell.number = CleanNumber(in.F64());
      break;
    case kLabel:
      keepText(in.RestTextView(kLabelMaxChars));  // the prefix and 240 characters
      break;
    case kFormula:
      if (record.length > kMaxFormulaRecord + 1) return TCellRecord::kPassed;  // more code than a cell holds
      if (!FormulaCode(in, cell)) return TCellRecord::kFault;
      break;
    default:
      break;
  }
  return TCellRecord::kCell;
}

bool IsCellRecord(int type) { return (type >= kBlank && type <= kFormula) || type == kStringResult; }

class TParser {
 public:
  TParser(std::string_view bytes, TReadScope scope, TWorksheetImage& image)
      : bytes_(reinterpret_cast<const std::uint8_t*>(bytes.data())),
        size_(bytes.size()),
        records_(bytes_, size_),
        scope_(scope),
        image_(image) {}

  bool Run();

 private:
  bool Fail(const TRecordView& record) { return Fail(record.Type(), record.length); }
  // The first record at fault names the damage; the image keeps what came before.
  bool Fail(int type, int length) {
    if (!image_.damaged) SetErrorFlag(RecordErrorText(type, length));
    image_.damaged = true;
    return false;
  }
  // The type and length of the record that runs past the end of the file.
  bool FailTruncated();

  bool MainRecord(const TRecordView& record);
  bool CellRecord(const TRecordView& record);
  bool CheckFormulaCode();
  bool NameRecord(const TRecordView& record);
  bool SheetRecord(const TRecordView& record);
  bool WindowRecord(const TRecordView& record);
  // every record (a load), or only the user-defined functions and the layout
  bool ExtensionSection(bool everyRecord);
  bool ExtRecord(const TRecordView& record);
  bool UserFunctionRecord(const TRecordView& record);

  const std::uint8_t* bytes_;
  std::size_t size_;
  TRecordParser records_;
  TReadScope scope_;
  TWorksheetImage& image_;
  int namesRead_ = 0;
};

bool TParser::FailTruncated() {
  std::uint8_t head[4] = {};
  std::memcpy(head, records_.Here(), std::min<std::size_t>(records_.Remaining(), 4));
  return Fail(head[0], head[2] | head[3] << 8);
}

bool TParser::Run() {
  if (size_ == 0) return true;
  TRecordView record;
  // A file that does not open with the begin-of-file record is no worksheet
  // at all (a text file, a file of another format): it is refused whole, not
  // read as a damaged worksheet.
  if (!BeginsWorksheet(bytes_, size_) || !records_.Next(record)) {
    SetErrorFlag(kNotWorksheetText);
    return false;
  }
  bool sound = true;
  image_.cellsBegin = records_.Position();
  for (;;) {
    image_.cellsEnd = records_.Position();
    if (!records_.Next(record)) {
      sound = records_.Truncated() ? FailTruncated() : Fail(kEof, 0);
      break;
    }
    if (record.Type() == kEof && record.length == 0) break;
    if (!MainRecord(record)) {
      sound = false;
      break;
    }
  }
  // A load takes the whole extension section; reading cells alone takes the
  // file's user-defined functions from it, which its formulas call.
  if (sound) sound = ExtensionSection(scope_ == TReadScope::kLoad);
  return CheckFormulaCode() && sound;
}

// Every formula's code must pass the compiler's balance check before it is
// stored. The check runs once the whole file is read, because the main
// section comes first: calls of user-defined functions are checked against the
// table the file brings in its extension section, and only a file without one
// against the current document's functions (UserFunctionArgCount).
bool TParser::CheckFormulaCode() {
  std::function<int(int)> argCount = UserFunctionArgCount;
  if (image_.haveExtensionSection) {
    argCount = [this](int index) {
      const std::vector<int>& args = image_.userFunctionArgs;
      return index >= 1 && index <= static_cast<int>(args.size()) ? args[static_cast<std::size_t>(index - 1)] : -1;
    };
  }
  // A formula that does not check makes the file damaged; what was read stays,
  // that formula as its value.
  bool sound = true;
  TRecordParser scan(bytes_, image_.cellsEnd, image_.cellsBegin);
  TRecordView record;
  for (std::size_t at = scan.Position(); scan.Next(record); at = scan.Position()) {
    if (record.Type() != kFormula) continue;
    TFileCell cell;
    if (ReadCellRecord(record, bytes_, cell) != TCellRecord::kCell ||
        StoredCodeBalances(cell.code.data(), cell.col, argCount))
      continue;
    sound = Fail(kFormula, cell.recordLength);
    image_.valueOnlyFormulas.push_back(at);
  }
  return sound;
}

// One user-defined function record: exactly one checked 274-byte entry, at
// most 255 of them.
bool TParser::UserFunctionRecord(const TRecordView& record) {
  TUserFunc function;
  std::span<const std::uint8_t> bytes(record.data, record.length);
  if (image_.userFunctions.size() >= static_cast<std::size_t>(kMaxUserFuncs) ||
      !DecodeUserFunctionRecord(bytes, function))
    return Fail(record);
  auto& stored = image_.userFunctions.emplace_back();
  std::copy(bytes.begin(), bytes.end(), stored.begin());
  image_.userFunctionArgs.push_back(function.argCount);
  return true;
}

bool TParser::MainRecord(const TRecordView& record) {
  switch (record.Type()) {
    case kBlank:
    case kInteger:
    case kNumber:
    case kLabel:
    case kFormula:
    case kStringResult:
      return CellRecord(record);
    case kName:
    case kLongName:
      return NameRecord(record);
    default: {
      if (scope_ != TReadScope::kLoad) return true;
      // A record at fault leaves the staged state as the records before it left it.
      TSheetSettings settings = image_.settings;
      TWorksheetFileState state = image_.state;
      if (SheetRecord(record)) return true;
      image_.settings = settings;
      image_.state = state;
      return false;
    }
  }
}

bool TParser::CellRecord(const TRecordView& record) {
  TFileCell cell;
  return ReadCellRecord(record, bytes_, cell) == TCellRecord::kFault ? Fail(record) : true;
}

bool TParser::NameRecord(const TRecordView& record) {
  std::size_t extra = record.Type() == kLongName ? 1 : 0;
  if (record.length < 8 + extra + 1) return Fail(record);
  if (record.length > 39) return true;
  TByteReader in = record.Reader();
  std::size_t nameBytes = record.length - 8 - extra;
  const std::uint8_t* raw = in.Here();
  std::string name = in.FixedText(nameBytes, kNameChars);
  TRange range = in.Range();
  if (!ValidRange(range)) return Fail(record);
  // The settings entry has exactly the writer's form: "G!", the carried byte,
  // the flags, "P" and byte 1. Any other name beginning "G!" (upper-cased, as
  // names are kept) is a range name the format reserves: it is not read, and
  // its bytes set nothing.
  if (name.size() == 6 && raw[0] == 'G' && raw[1] == '!' && raw[4] == 'P' && raw[5] == 1) {
    image_.haveSettingsEntry = true;
    std::uint8_t carried = raw[2];
    image_.state.carriedNameByte = carried == 255 ? 0 : carried;
    image_.settings.hideZeros = (raw[3] & 1) ? 1 : 0;
    image_.settings.negativeInColour = (raw[3] & 4) ? 1 : 0;
    return true;
  }
  if (IsReservedRangeName(RangeNameKey(name))) {
    image_.reservedNames.push_back(RangeNameKey(name));
    return true;
  }
  if (name.empty() || namesRead_ >= kMaxNamesRead) return true;
  ++namesRead_;
  image_.names.push_back({std::move(name), range});
  return true;
}

bool TParser::WindowRecord(const TRecordView& record) {
  if (record.length < 16) return Fail(record);
  TByteReader in = record.Reader();
  TPanePlace pane;
  pane.cursorCol = in.I16();
  pane.cursorRow = in.I16();
  std::uint8_t format = in.U8();
  in.Skip(7);
  pane.leftCol = in.I16();
  pane.topRow = in.I16();
  if (!ValidCol(pane.cursorCol) || !ValidRow(pane.cursorRow) || !ValidCol(pane.leftCol) || !ValidRow(pane.topRow))
    return Fail(record);
  image_.haveWindowRecord = true;
  if (record.Type() == kWindow1) {
    image_.defaultFormat = format;
    image_.layout.pane1 = pane;
  } else {
    image_.layout.pane2 = pane;
  }
  return true;
}

// The main records of a whole load beyond cells and names.
bool TParser::SheetRecord(const TRecordView& record) {
  static constexpr struct {
    int type;
    std::size_t length;
  } kMinLengths[] = {{kBof, 2}, {kCalcMode, 1}, {kSplit, 1}, {kSync, 1}, {kColumnWidth, 3}, {kWhatIfTable, 25},
                     {kQueryRanges, 25}, {kPrintRange, 8}, {kSortRange, 8}, {kPrimaryKey, 9}, {kSecondaryKey, 9},
                     {kProtection, 1}, {kMargins, 10}, {kLabelPrefix, 1}, {kTitles, 16}, {kNamedGraph, 17},
                     {kActiveWindow, 1}};
  int type = record.Type();
  for (const auto& entry : kMinLengths)
    if (entry.type == type && record.length < entry.length) return Fail(record);
  TByteReader in = record.Reader();
  TSheetSettings& settings = image_.settings;
  TRange* ranges = settings.savedRanges;
  TWorksheetFileState& state = image_.state;
  auto readRange = [&](TRange& range) {
    range = in.Range();
    return ValidRange(range);
  };
  switch (type) {
    case kCalcMode:
      settings.manualRecalc = in.U8() == 0 ? 1 : 0;
      break;
    case kSplit:
      state.paneSplit = in.U8();
      break;
    case kSync:
      state.paneSync = in.U8();
      break;
    case kWindow1:
    case kWindow2:
      return WindowRecord(record);
    case kColumnWidth: {
      // Only the sheet's columns have a width; others are passed over.
      int col = in.I16();
      if (ValidCol(col)) image_.mainColumnWidths[col] = in.U8();
      break;
    }
    case kWhatIfTable:
      state.whatIfType = in.U8();
      if (!readRange(ranges[kRangeWhatIfTable]) || !readRange(ranges[kRangeWhatIfInput1]) ||
          !readRange(ranges[kRangeWhatIfInput2]))
        return Fail(record);
      break;
    case kQueryRanges:
      if (!readRange(ranges[kRangeQueryInput]) || !readRange(ranges[kRangeQueryCriteria]) ||
          !readRange(ranges[kRangeQueryOutput]))
        return Fail(record);
      state.queryByte = in.U8();
      break;
    case kPrintRange:
    case kSortRange:
      if (!readRange(ranges[type == kPrintRange ? kRangePrint : kRangeSort])) return Fail(record);
      break;
    case kPrimaryKey:
    case kSecondaryKey:
      if (!readRange(ranges[type == kPrimaryKey ? kRangePrimaryKey : kRangeSecondaryKey])) return Fail(record);
      (type == kPrimaryKey ? state.primaryOrder : state.secondaryOrder) = in.U8();
      break;
    case kProtection:
      settings.protection = in.U8() != 0 ? 1 : 0;
      break;
    case kFooter:
      state.printFooter = in.RestText(kPrintTextMaxChars);
      break;
    case kHeader:
      state.printHeader = in.RestText(kPrintTextMaxChars);
      break;
    case kSetup:
      state.printSetup = in.RestText(kPrintTextMaxChars);
      break;
    case kMargins: {
      for (std::int16_t& word : state.marginWords) word = in.I16();
      auto round2 = [](double x) { return std::round(x * 100) / 100; };
      const auto& w = state.marginWords;
      image_.printDistances[1] = round2(w[0] * 0.0125 * 8.5);
      image_.printDistances[2] = round2(std::max(0.0, 8.5 - w[1] * 0.0125 * 8.5));
      image_.printDistances[0] = round2(w[3] * 11.0 / 60);
      image_.printDistances[3] = round2(w[4] * 11.0 / 60);
      break;
    }
    case kLabelPrefix: {
      char prefix = static_cast<char>(in.U8());
      if (IsDefaultLabelPrefix(prefix)) settings.labelPrefix = prefix;  // else the sheet keeps its own
      break;
    }
    case kTitles:
      if (!readRange(ranges[kRangeTitleRows]) || !readRange(ranges[kRangeTitleColumns])) return Fail(record);
      break;
    case kGraph: {
      // The classic part of the graph record; a short record leaves the rest.
      // A damaged one leaves the graph as the records before it left it.
      TGraphRecord graph = image_.currentGraph;
      std::size_t n = std::min<std::size_t>(record.length, kGraphMainBytes);
      in.Bytes(graph.MutableBytes() + kGraphMainOffset, n);
      for (std::size_t step : {TGraphRecord::kXStep, TGraphRecord::kYStep}) {
        std::uint8_t& b = graph.MutableBytes()[step];
        if (b <= 1) b = 5;
      }
      if (!GraphRangesOnSheet(graph)) return Fail(record);
      image_.currentGraph = graph;
      break;
    }
    case kNamedGraph: {
      if (static_cast<int>(image_.namedGraphs.size()) >= image_.namedGraphRoom) break;
      TGraphRecord graph = image_.currentGraph;
      graph.SetName(in.FixedText(kNameFieldBytes, kGraphNameChars));
      std::size_t n = std::min<std::size_t>(in.Remaining(), kGraphMainBytes);
      in.Bytes(graph.MutableBytes() + kGraphMainOffset, n);
      if (!GraphRangesOnSheet(graph)) return Fail(record);
      image_.namedGraphs.push_back(graph);
      break;
    }
    case kActiveWindow:
      image_.refocus = in.U8() == 2;
      break;
    default:
      break;
  }
  return true;
}

bool TParser::ExtensionSection(bool everyRecord) {
  // After the main end record: $1A, then $00 and the extension records, or a
  // second $1A when there are none. A file may also end right there.
  std::size_t pos = records_.Position();
  if (size_ - pos < 2 || bytes_[pos + 1] == kSectionMark) return true;
  records_.Seek(pos + 2);
  image_.haveExtensionSection = true;
  TRecordView record;
  for (;;) {
    if (!records_.Next(record)) return records_.Truncated() ? FailTruncated() : Fail(kExtEof, 0);
    if (record.Type() == 0 || record.Type() == kExtEof) return true;
    // Reading cells alone also takes the window layout: its number of sheets
    // says how the rows of a linked file divide into sheets.
    int type = record.Type();
    bool read = everyRecord || type == kExtUserFunction || type == kExtWindowLayout ? ExtRecord(record) : true;
    if (!read) return false;
  }
}

bool TParser::ExtRecord(const TRecordView& record) {
  static constexpr struct {
    int type;
    std::size_t length;
  } kMinLengths[] = {{kExtCellAttributes, 12}, {kExtRowHeight, 3},    {kExtColumnWidth, 3},
                     {kExtSortKeys, 18},       {kExtButton, 297},     {kExtRegression, 26},
                     {kExtColours, 28},        {kExtPrintDistances, 24}, {kExtFontName, 3},
                     {kExtSheetFont, 5},       {kExtWindowLayout, 26}, {kExtCreated, 16}};
  int type = record.Type();
  for (const auto& entry : kMinLengths)
    if (entry.type == type && record.length < entry.length) return Fail(record);
  TByteReader in = record.Reader();
  TSheetSettings& settings = image_.settings;
  TWorksheetFileState& state = image_.state;
  switch (type) {
    case kExtCellAttributes: {
      TFileAttributes a;
      a.row = in.I16();
      a.col = in.I16();
      a.font = in.U8();
      a.size = in.U8();
      a.style = in.U8();
      a.borders = in.U8();
      a.attributes = in.U32();
      if (!ValidRow(a.row) || !ValidCol(a.col)) return Fail(record);
      image_.cellAttributes.push_back(a);
      break;
    }
    case kExtRowHeight:
    case kExtColumnWidth: {
      int index = in.I16();
      int size = in.U8();
      if (type == kExtRowHeight) {
        if (!ValidRow(index)) return Fail(record);
        image_.rowHeights.push_back({index, size});
      } else {
        if (!ValidCol(index)) return Fail(record);
        image_.columnWidths.push_back({index, size});
        image_.haveExtColumnWidths = true;
      }
      break;
    }
    case kExtSortKeys: {
      TRange primary = in.Range();
      std::uint8_t primaryOrder = in.U8();
      TRange secondary = in.Range();
      std::uint8_t secondaryOrder = in.U8();
      if (!ValidRange(primary) || !ValidRange(secondary)) return Fail(record);
      settings.savedRanges[kRangePrimaryKey] = primary;
      settings.savedRanges[kRangeSecondaryKey] = secondary;
      state.primaryOrder = primaryOrder;
      state.secondaryOrder = secondaryOrder;
      break;
    }
    case kExtGraph:
      if (record.length == kGraphExtBytes) in.Bytes(image_.currentGraph.MutableBytes() + kGraphExtOffset, kGraphExtBytes);
      break;
    case kExtNamedGraph:
      if (record.length != kGraphExtBytes) break;
      if (image_.namedGraphExtensions < static_cast<int>(image_.namedGraphs.size())) {
        TGraphRecord& graph = image_.namedGraphs[image_.namedGraphExtensions];
        in.Bytes(graph.MutableBytes() + kGraphExtOffset, kGraphExtBytes);
      }
      ++image_.namedGraphExtensions;
      break;
    case kExtButton: {
      TSheetButton button;
      button.caption = in.PrefixedText(kButtonCaptionChars);
      button.macro = in.PrefixedText(kButtonMacroChars);
      button.anchorRow = in.I16();
      button.anchorCol = in.I16();
      button.left = in.I32();
      button.top = in.I32();
      button.width = in.I32();
      button.height = in.I32();
      if (!ValidRow(button.anchorRow) || !ValidCol(button.anchorCol)) return Fail(record);
      image_.buttons.push_back(std::move(button));
      break;
    }
    case kExtRegression: {
      TRange x = in.Range(), y = in.Range();
      if (!ValidRange(x) || !ValidRange(y)) return Fail(record);
      state.regressionX = x;
      state.regressionY = y;
      for (std::uint8_t& option : state.dataOptions) option = in.U8() & 7;
      break;
    }
    case kExtUserFunction:
      return UserFunctionRecord(record);
    case kExtColours:
      // The settings block is packed, so its words are assigned one by one.
      settings.backgroundColour = in.U32();
      settings.bandColour = in.U32();
      settings.valueColour = in.U32();
      settings.negativeColour = in.U32();
      settings.labelColour = in.U32();
      settings.unlockedColour = in.U32();
      settings.cursorColour = in.U32();
      break;
    case kExtPrintDistances:
      for (double& inches : image_.printDistances) inches = in.I32() / 100.0;
      break;
    case kExtTabName:
      if (!image_.haveTabNames) image_.tabNames.clear();
      image_.haveTabNames = true;
      if (static_cast<int>(image_.tabNames.size()) < kMaxTabNames)
        image_.tabNames.push_back(in.RestText(kTabNameChars));
      break;
    case kExtFontName: {
      int font = in.I16();
      if (font < 0 || font >= kDefaultFont) return Fail(record);
      image_.fontNames.emplace_back(font, in.RestText(kFontNameMaxChars));
      break;
    }
    case kExtSheetFont:
      image_.haveSheetFont = true;
      image_.sheetFont.rowHeight = in.I16();
      image_.sheetFont.style = in.I16();
      image_.sheetFont.name = in.RestText(kFontNameMaxChars);
      break;
    case kExtWindowLayout: {
      TSheetWindowLayout& layout = image_.layout;
      TSheetWindowLayout read = layout;
      read.sheetCount = in.I16();
      read.splitHorizontal = in.U8() != 0;
      read.splitVertical = in.U8() != 0;
      read.synchronised = in.U8() != 0;
      read.activePane = in.U8() != 0 ? 1 : 0;
      TPanePlace& p1 = read.pane1;
      p1.leftCol = in.I16();
      p1.topRow = in.I16();
      p1.cursorCol = in.I16();
      p1.cursorRow = in.I16();
      read.pane1Height = in.I16();
      read.pane1Width = in.I16();
      TPanePlace& p2 = read.pane2;
      p2.leftCol = in.I16();
      p2.topRow = in.I16();
      p2.cursorCol = in.I16();
      p2.cursorRow = in.I16();
      if (record.length >= kLayoutRecordBytes) {
        read.frozenFirstCol = in.I16();
        read.frozenLastCol = in.I16();
        read.frozenFirstRow = in.I16();
        read.frozenLastRow = in.I16();
      }
      auto placeOk = [](const TPanePlace& p) {
        return ValidCol(p.leftCol) && ValidRow(p.topRow) && ValidCol(p.cursorCol) && ValidRow(p.cursorRow);
      };
      auto frozenOk = [](int col1, int col2, int row1, int row2) {
        auto col = [](int c) { return c == -1 || ValidCol(c); };
        auto row = [](int r) { return r == -1 || ValidRow(r); };
        return col(col1) && col(col2) && row(row1) && row(row2);
      };
      if (read.sheetCount < 1 || read.sheetCount > kMaxTabNames || !placeOk(p1) || !placeOk(p2) ||
          !frozenOk(read.frozenFirstCol, read.frozenLastCol, read.frozenFirstRow, read.frozenLastRow))
        return Fail(record);
      layout = read;
      image_.haveLayout = true;
      break;
    }
    case kExtTitle:
      state.info.title = in.RestText(kDocTitleMaxChars);
      break;
    case kExtComments:
      state.info.comments = in.RestText(kDocCommentsMaxChars);
      break;
    case kExtRevisedBy:
      state.info.revisedBy = in.RestText(kRevisedByMaxChars);
      break;
    case kExtCreated: {
      double time = in.F64(), date = in.F64();
      state.info.creationTime = std::isfinite(time) ? time : -1;
      state.info.creationDate = std::isfinite(date) ? date : -1;
      break;
    }
    default:
      break;
  }
  return true;
}

}  // namespace

TFileCellCursor::TFileCellCursor(const TWorksheetImage& image) : image_(image), pos_(image.cellsBegin) {}

bool TFileCellCursor::Next(TFileCell& cell) {
  const auto* base = reinterpret_cast<const std::uint8_t*>(image_.bytes.data());
  TRecordParser records(base, image_.cellsEnd, pos_);
  TRecordView record;
  for (;;) {
    std::size_t at = records.Position();
    if (!records.Next(record)) return false;
    cell = TFileCell{};
    if (!IsCellRecord(record.Type()) || ReadCellRecord(record, base, cell) != TCellRecord::kCell) continue;
    while (valueOnly_ < image_.valueOnlyFormulas.size() && image_.valueOnlyFormulas[valueOnly_] < at) ++valueOnly_;
    cell.asValue = valueOnly_ < image_.valueOnlyFormulas.size() && image_.valueOnlyFormulas[valueOnly_] == at;
    pos_ = records.Position();
    // A text result belongs to the formula record just before it for the
    // same cell; any other is passed over, so a text never lands in a cell
    // without a formula.
    TFileCell result;
    if (cell.type == kFormula && records.Next(record) && record.Type() == kStringResult &&
        ReadCellRecord(record, base, result) == TCellRecord::kResult && result.row == cell.row &&
        result.col == cell.col && !cell.error) {
      cell.textResult = true;
      cell.textAt = result.textAt;
      cell.textLength = result.textLength;
      pos_ = records.Position();
    }
    return true;
  }
}

bool BeginsWorksheet(const std::uint8_t* head, std::uint64_t size) {
  if (size < 4) return false;
  unsigned length = head[2] | head[3] << 8;
  return (head[0] | head[1] << 8) == kBof && length >= 2 && 4 + length <= size;
}

std::string RecordErrorText(int type, int length) {
  char text[32];
  std::snprintf(text, sizeof text, "%s%02X[%04X]", kErrorAtRecordText, type & 0xFF, length & 0xFFFF);
  return text;
}

bool ParseWorksheet(std::string bytes, TReadScope scope, TWorksheetImage& image) {
  image.ownBytes = std::move(bytes);
  image.bytes = image.ownBytes;
  return ParseWorksheetBytes(scope, image);
}

bool ParseWorksheetBytes(TReadScope scope, TWorksheetImage& image) {
  image.mainColumnWidths.fill(kDefaultSizeEntry);
  try {
    return TParser(image.bytes, scope, image).Run();
  } catch (const std::bad_alloc&) {
    SetOutOfMemoryError();
    return false;
  }
}

}  // namespace corvane::wks

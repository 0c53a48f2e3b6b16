// The macro command families: thin bridges from a command's arguments to the
// program's own operations.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <vector>
#include <string>

#include "spreadsheet/data/CurveFit.h"
#include "spreadsheet/data/DataSort.h"
#include "spreadsheet/data/FillBinsParse.h"
#include "spreadsheet/data/LinearProgram.h"
#include "spreadsheet/data/MatrixOps.h"
#include "spreadsheet/data/Query.h"
#include "spreadsheet/data/Regression.h"
#include "spreadsheet/data/WhatIf.h"
#include "spreadsheet/engine/BlockCopy.h"
#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/Clipboard.h"
#include "spreadsheet/engine/RangeEdit.h"
#include "spreadsheet/engine/RangeNames.h"
#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/DocumentTable.h"
#include "spreadsheet/engine/FormatSettings.h"
#include "spreadsheet/engine/FormulaCompiler.h"
#include "spreadsheet/engine/SheetSettings.h"
#include "spreadsheet/engine/TextRoutines.h"
#include "spreadsheet/files/PrintEngine.h"
#include "spreadsheet/files/SettingsFile.h"
#include "spreadsheet/files/TextTransfer.h"
#include "spreadsheet/files/WorksheetFile.h"
#include "spreadsheet/files/WorksheetFileState.h"
#include "spreadsheet/graphs/GraphRecord.h"
#include "spreadsheet/graphs/NamedGraphs.h"
#include "spreadsheet/macros/MacroInterp.h"
#include "spreadsheet/macros/MacroRun.h"

namespace corvane {

namespace {

bool HasCell(const TRange& range) { return MacroHasCell(range); }
void ShowRefused() { MacroShowRefused(); }

// A word argument (a name, a format code, a prefix): the text as written, or
// the string a quoted text or string expression gives.
std::string ArgWord() {
  std::string text = MacroArgText();
  if (!text.empty() && (text[0] == '"' || text[0] == '+' || text[0] == '(' || text[0] == '@')) return MacroStringResult(text);
  return text;
}

// A colour word from its high byte and low 24 bits, in unsigned arithmetic.
std::uint32_t ColourWord(std::int32_t high, std::int32_t low) {
  return (static_cast<std::uint32_t>(high) << 24) + static_cast<std::uint32_t>(low);
}

void RangeFamily() {
  const int letter = MacroNextByte();
  switch (letter) {
    case 'r':  // RANGERESET
      RangeNameReset();
      break;
    case 'n': {  // RANGECREATE
      std::string name = ArgWord();
      const TRange range = MacroArgRange();
      if (HasCell(range)) RangeNameCreate(name, range);
      break;
    }
    case 'd':  // RANGEDELETE
      RangeNameDelete(ArgWord());
      break;
    default: {
      const TRange range = MacroArgRange();
      switch (letter) {
        case 'b':
          if (HasCell(range)) RangeNameBuild(range);
          break;
        case 't':
          if (HasCell(range))
            RangeNameTable(range, [](int row, int col, std::string_view text) { return EnterCell(text, row, col); });
          break;
        case 'c': {
          std::int32_t low = MacroArgWhole();
          std::int32_t high = MacroArgWhole();
          if (HasCell(range)) RangeSetAttributes(range, ColourWord(high, low));
          break;
        }
        case 'f': {
          std::string code = ArgWord();
          if (HasCell(range)) RangeSetFormat(range, FormatCodeToByte(code));
          break;
        }
        case 'e': {
          int mode = MacroArgWhole();
          if (HasCell(range)) RangeChangeCase(range, mode);
          break;
        }
        case 'j': {
          int width = MacroArgWhole();
          if (HasCell(range)) RangeJustify(range, width);
          break;
        }
        case 'l': {
          int on = MacroArgWhole();
          if (HasCell(range)) on != 0 ? RangeLock(range) : RangeUnlock(range);
          break;
        }
        case 'p': {
          std::string prefix = ArgWord();
          if (HasCell(range) && !prefix.empty()) RangeSetPrefix(range, prefix[0]);
          break;
        }
        default:
          break;
      }
    }
  }
  ShowRefused();
  MacroHost().RefreshActiveSheet();
}

void CopyFamily() {
  const int letter = MacroNextByte();
  const TRange source = MacroArgRange();
  const TRange destination = MacroArgRange();
  double factor = letter == 's' ? MacroArgValue() : 1.0;
  int mode = letter == 'f' ? 0 : letter == 'v' ? 1 : letter == 't' ? 2 : letter == 's' ? 3 : letter == 'i' ? 4 : -1;
  if (mode >= 0 && HasCell(source) && HasCell(destination)) RangeCopy(mode, source, destination, factor);
  ShowRefused();
}

void MatrixFamily() {
  const int letter = MacroNextByte();
  const TRange first = MacroArgRange();
  const TRange second = MacroArgRange();
  const bool three = letter == 'a' || letter == 's' || letter == 'm';
  const TRange third = three ? MacroArgRange() : TRange{};
  if (!HasCell(first) || !HasCell(second) || (three && !HasCell(third))) {
    ShowRefused();
    return;
  }
  switch (letter) {
    case 'a': MatrixAddSub(1, first, second, third); break;
    case 's': MatrixAddSub(2, first, second, third); break;
    case 'm': MatrixMultiply(first, second, third); break;
    case 'i': MatrixInvertSolve(4, first, second); break;
    case 'e': MatrixInvertSolve(5, first, second); break;
    case 'd': MatrixDetToCell(first, second); break;
    case 'l': LinearProgram(first, second); break;
    default: break;
  }
  ShowRefused();
}

void EditFamily() {
  const int letter = MacroNextByte();
  const TRange range = MacroArgRange();
  if (HasCell(range)) {
    if (letter == 'c' || letter == 't')
      ClipboardCopyRange(range, letter == 't');
    else if (letter == 'p')
      ClipboardPasteRange(range.firstRow, range.firstCol);
  }
  ShowRefused();
}

// ---- Graph commands --------------------------------------------------------------

std::string UpperText(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

char FirstUpper(std::string_view value) {
  return value.empty() ? '\0' : static_cast<char>(std::toupper(static_cast<unsigned char>(value[0])));
}

void GraphTypeFromLetter(TGraphRecord& graph, int dimension, std::string_view letter) {
  static constexpr std::string_view k2D = "XBPSLMHRADOC";
  static constexpr int k2DCodes[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 13};
  static constexpr std::string_view k3D = "SPDWBT";
  static constexpr int k3DCodes[] = {11, 14, 15, 12, 16, 17};
  if (letter.empty()) return;
  const std::string_view letters = dimension == 2 ? k2D : k3D;
  std::size_t at = letters.find(letter[0]);
  if (at == std::string_view::npos) return;
  graph.SetType(dimension == 2 ? k2DCodes[at] : k3DCodes[at]);
}

void GeneralGraphOptions(TGraphRecord& graph, std::string_view list) {
  ForEachMacroOption(list, 20, [&](char letter, std::string_view value) {
    switch (letter) {
      case 'G': {
        const std::string_view grids = "NHVB";
        std::size_t at = grids.find(FirstUpper(value));
        if (at != std::string_view::npos) graph.SetOptions(static_cast<int>(at));
        break;
      }
      case 'S': graph.SetOptions(graph.Options() | 4); break;
      case 'D': graph.SetOptions(graph.Options() & ~4); break;
      case 'I': graph.SetInsideColour(OptionWhole(value)); break;
      case 'O': graph.SetOutsideColour(OptionWhole(value)); break;
      default: break;
    }
  });
}

// A count the user gave, one higher, held to 0..most: a macro's number can be
// anything a 32-bit whole number holds, and one more than the largest would
// overflow. Values beyond what a command knows do nothing there anyway.
int OneHigher(int n, int most) { return std::clamp(n, -1, most - 1) + 1; }
// Beyond the text transfer's modes.
constexpr int kTransferModes = 16;

void SeriesGraphOptions(TGraphRecord& graph, int s, std::string_view list) {
  ForEachMacroOption(list, 20, [&](char letter, std::string_view value) {
    const int n = OptionWhole(value);
    switch (letter) {
      case 'F': graph.SetSeriesColour(s, n); break;
      case 'B': graph.SetSeriesBackground(s, n); break;
      case 'O': graph.SetSeriesDisplay(s, n); break;
      case 'M': graph.SetMark(s, OneHigher(n, 255)); break;
      case 'S': graph.SetLineStyle(s, OneHigher(n, 255)); break;
      case 'T': graph.SetThickness(s, OneHigher(n, 255)); break;
      case 'H': graph.SetHatch(s, OneHigher(n, 255)); break;
      default: break;
    }
  });
}

void GraphScaleOptions(TGraphRecord& graph, bool x, std::string_view list) {
  ForEachMacroOption(list, 20, [&](char letter, std::string_view value) {
    const int axisBit = x ? 0x80 : 0x40;
    switch (letter) {
      case 'A':
      case 'M':
        x ? graph.SetXManual(letter == 'M') : graph.SetYManual(letter == 'M');
        break;
      case 'L':
        x ? graph.SetXScale(OptionReal(value), graph.XUpper()) : graph.SetYScale(OptionReal(value), graph.YUpper());
        break;
      case 'U':
        x ? graph.SetXScale(graph.XLower(), OptionReal(value)) : graph.SetYScale(graph.YLower(), OptionReal(value));
        break;
      case 'E': graph.SetAxisOptions(graph.AxisOptions() | axisBit); break;
      case 'N': graph.SetAxisOptions(graph.AxisOptions() & ~axisBit); break;
      case 'F': x ? graph.SetXFormat(FormatCodeToByte(value)) : graph.SetYFormat(FormatCodeToByte(value)); break;
      case 'K': x ? graph.SetXStep(OptionWhole(value)) : graph.SetYStep(OptionWhole(value)); break;
      case 'D':
        x ? graph.SetDivisions(OptionWhole(value), graph.YDivisions())
          : graph.SetDivisions(graph.XDivisions(), OptionWhole(value));
        break;
      default: break;
    }
  });
}

// A font text: face name, point size, styles ("B", "I", "U"), colour index.
struct TMacroFont {
  std::string face;
  int size = 0, style = 0, colour = 0;
};
TMacroFont ParseFontText(std::string_view text) {
  TMacroFont font;
  std::vector<std::string> items;
  std::size_t start = 0;
  while (items.size() < 4) {
    std::size_t comma = text.find(',', start);
    items.emplace_back(text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  items.resize(4);
  font.face = items[0].substr(0, kGraphFontNameChars);
  font.size = OptionWhole(items[1]);
  for (char c : items[2]) font.style |= c == 'B' ? 1 : c == 'I' ? 2 : c == 'U' ? 4 : 0;
  font.colour = OptionWhole(items[3]);
  return font;
}

void GraphFamily() {
  const int letter = MacroNextByte();
  TMacroHost& host = MacroHost();
  if (letter == 'w') {
    host.RunCommand("Graph View");
    return;
  }
  if (letter == 'v') {
    int flags = MacroArgWhole();
    int ms = MacroArgWhole();
    host.ShowGraphView(flags, ms);
    return;
  }
  TGraphRecord graph = CurrentGraph();
  const int first = MacroArgWhole();
  switch (letter) {
    case 't':
      GraphTypeFromLetter(graph, first, ArgWord());
      break;
    case 's': {
      const TRange range = MacroArgRange();
      if (first == 0) graph.SetXRange(range);
      else if (first >= 1 && first <= kGraphSeries) graph.SetSeriesRange(first, range);
      break;
    }
    case 'l': {
      const TRange range = MacroArgRange();
      int location = MacroArgWhole();
      if (first >= 1 && first <= kGraphSeries) {
        graph.SetLabelRange(first, range);
        graph.SetLabelLocation(first, location);
      }
      break;
    }
    case 'h': {
      std::string text = ArgWord();
      if (first >= 0 && first < kGraphHeadings) graph.SetHeading(first + 1, text.substr(0, kGraphHeadingChars - 1));
      break;
    }
    case 'g': {
      std::string text = ArgWord();
      MacroArgWhole();
      if (first >= 1 && first <= kGraphSeries) graph.SetLegend(first, text.substr(0, kGraphLegendChars - 1));
      break;
    }
    case 'f': {
      TMacroFont font = ParseFontText(ArgWord());
      if (first >= 0 && first < kGraphTextElements) {
        if (!font.face.empty()) graph.SetFontName(first + 1, font.face);
        graph.SetFontSize(first + 1, font.size);
        graph.SetFontStyle(first + 1, font.style);
        graph.SetTextColour(first + 1, font.colour);
      }
      break;
    }
    case 'n': {
      std::string name = UpperText(ArgWord());
      if (first == 0) GraphStore(name);
      else if (first == 1) GraphUse(name);
      else if (first == 2) GraphDelete(name);
      ShowRefused();
      // The named-graph operations change the current graph themselves.
      return;
    }
    case 'o': {
      std::string list = ArgWord();
      if (first >= 1 && first <= kGraphSeries) SeriesGraphOptions(graph, first, list);
      else GeneralGraphOptions(graph, list);
      break;
    }
    case 'c': {
      std::string list = ArgWord();
      if (first == 0 || first == 1) GraphScaleOptions(graph, first == 0, list);
      break;
    }
    default:
      return;
  }
  SetCurrentGraph(graph);
}

// ---- View commands ---------------------------------------------------------------

void ViewFamily() {
  const int letter = MacroNextByte();
  if (letter == 'v') {
    std::string text = UpperText(ArgWord());
    const char letters[] = {'Q', 'M', 'S'};
    for (int bar = 1; bar <= 3; ++bar) {
      std::size_t at = text.find(letters[bar - 1]);
      if (at == std::string::npos) continue;
      MacroHost().ShowBar(bar, at + 1 < text.size() && text[at + 1] == '1');
    }
  } else if (letter == 'z') {
    int percent = MacroArgWhole();
    MacroHost().SetZoom(percent < 20 ? 20 : percent > 200 ? 200 : percent);
  }
}

// ---- General commands ------------------------------------------------------------

// The working settings go back into the active document's record.
void StoreSettings() {
  ApplySheetFormatSettings(gCurrentDoc.settings);
  if (HaveCurrentDocument()) StoreSlotSettings(CurrentDocSlot());
}

void SetShortText(TShortText2& field, std::string_view text) {
  text = text.substr(0, 2);
  field.length = static_cast<std::uint8_t>(text.size());
  field.text[0] = text.size() > 0 ? text[0] : '\0';
  field.text[1] = text.size() > 1 ? text[1] : '\0';
}

void GeneralAdvanced(std::string_view text) {
  if (text.size() < 2) return;
  TSheetSettings& settings = gCurrentDoc.settings;
  const char letter = FirstUpper(text);
  switch (letter) {
    case 'A':
    case 'T':
    case 'D': {
      // A separator the settings file could not keep, or one that would
      // give numbers or argument lists a second reading, changes nothing.
      char argument = ArgumentSeparator(), thousands = FormatSettings().Comma, decimal = FormatSettings().Period;
      (letter == 'A' ? argument : letter == 'T' ? thousands : decimal) = text[1];
      if (!SeparatorsValid(argument, thousands, decimal)) break;
      ProgramSettings().Sep = argument;
      FormatSettings().Comma = thousands;
      InitParserCharSets(argument, decimal);
      break;
    }
    case 'C':
      if (text.size() < 2) break;
      if (FirstUpper(text.substr(1)) == 'P') SetShortText(settings.currency, text.substr(2));
      if (FirstUpper(text.substr(1)) == 'S') SetShortText(settings.secondCurrency, text.substr(2));
      break;
    default: break;
  }
}

// Item 0-6 of GENCOLOR: labels, values, negative values, unlocked cells,
// cursor, odd rows, background.
std::uint32_t* ColourWordOf(TSheetSettings& s, int item) {
  std::uint32_t* words[] = {&s.labelColour,  &s.valueColour, &s.negativeColour, &s.unlockedColour,
                            &s.cursorColour, &s.bandColour,  &s.backgroundColour};
  return item >= 0 && item <= 6 ? words[item] : nullptr;
}

// The largest default row height or column width GENOPTION sets, in pixels.
constexpr int kMostDefaultSize = 1000;

void GeneralOptions(std::string_view list) {
  TSheetSettings& s = gCurrentDoc.settings;
  ForEachMacroOption(list, 20, [&](char letter, std::string_view value) {
    const bool yes = FirstUpper(value) == 'Y';
    switch (letter) {
      case '3': s.threeD = yes ? 1 : 0; break;
      case 'C': s.labelPrefix = '^'; break;
      case 'L': s.labelPrefix = '\''; break;
      case 'R': s.labelPrefix = '"'; break;
      case 'P': s.protection = yes ? 1 : 0; break;
      case 'N': s.negativeInColour = yes ? 1 : 0; break;
      case 'B': s.banding = yes ? 1 : 0; break;
      case 'Z': s.hideZeros = yes ? 0 : 1; break;
      case 'A': s.manualRecalc = yes ? 0 : 1; break;
      case 'H': MacroHost().SetGridLines(1, yes); break;
      case 'V': MacroHost().SetGridLines(2, yes); break;
      case 'S': MacroHost().SetGridLines(4, yes); break;
      case 'D': {
        const int n = OptionWhole(value);
        if (n >= 0 && n <= 7) MacroHost().SetSheetPages(1 << n);
        break;
      }
      case 'O':
      case 'W': {
        const int n = OptionWhole(value);
        if (n > 0 && n <= kMostDefaultSize) MacroHost().SetDefaultSizes(letter == 'W' ? n : -1, letter == 'O' ? n : -1);
        break;
      }
      // The two further switches: the sheet flag kept under DIST= and the
      // undo buffer (UNDO=).
      case 'I': s.dist = yes ? 1 : 0; break;
      case 'U': ProgramSettings().Undo = yes; break;
      default: break;
    }
  });
}

void GeneralFamily() {
  const int letter = MacroNextByte();
  switch (letter) {
    case 'a':
      GeneralAdvanced(ArgWord());
      break;
    case 'c': {
      const int item = MacroArgWhole();
      const std::int32_t high = MacroArgWhole();
      const std::int32_t low = MacroArgWhole();
      const int mode = MacroArgWhole();
      static constexpr std::uint32_t kTopBits[] = {0, 0x80000000u, 0x40000000u, 0xC0000000u};
      if (std::uint32_t* word = ColourWordOf(gCurrentDoc.settings, item))
        *word = (ColourWord(high, low) & 0x3FFFFFFFu) | (mode >= 0 && mode <= 3 ? kTopBits[mode] : 0);
      break;
    }
    case 't':
      ParseFontText(ArgWord());
      break;
    case 'f':
      FormatSettings().GForm = FormatCodeToByte(ArgWord().substr(0, 8));
      break;
    case 'o':
      GeneralOptions(ArgWord());
      break;
    default:
      return;
  }
  StoreSettings();
  MacroHost().RefreshActiveSheet();
}

// ---- Data commands ---------------------------------------------------------------

// Form list of the multiple fit: "A01,B2": an X column letter, then the forms
// of that column.
void SetFitMasks(std::string_view list) {
  for (std::uint32_t& mask : gFitMasks) mask = 0;
  ForEachMacroOption(list, 20, [](char letter, std::string_view forms) {
    if (letter < 'A' || letter > 'C') return;
    const std::uint32_t bit = 1u << (letter - 'A');
    for (char c : forms)
      if (c >= '0' && c <= '8') gFitMasks[c - '0'] |= bit;
  });
}

void DataFamily() {
  const int letter = MacroNextByte();
  TSheetSettings& s = gCurrentDoc.settings;
  switch (letter) {
    case 'f': {
      const TRange range = MacroArgRange();
      const double start = MacroArgValue();
      const double step = MacroArgValue();
      const int type = MacroArgWhole();
      const int order = MacroArgWhole();
      if (HasCell(range)) DataFill(range, type, order == 1, step, start);
      break;
    }
    case 'b': {
      const TRange values = MacroArgRange();
      const TRange bins = MacroArgRange();
      if (HasCell(values) && HasCell(bins)) DataBinsRanges(values, bins);
      break;
    }
    case 'p': {
      const TRange range = MacroArgRange();
      if (HasCell(range)) DataParse(range);
      break;
    }
    case 'o': {
      const TRange range = MacroArgRange();
      if (HasCell(range)) MacroHost().ShowDataForm(range);
      break;
    }
    case 'g': {
      const TRange input = MacroArgCell();
      const TRange output = MacroArgCell();
      const double desired = MacroArgValue();
      const double tolerance = MacroArgValue();
      if (HasCell(input) && HasCell(output)) DataGoalSeek(input, output, tolerance, desired);
      break;
    }
    case 't': {
      // The table, then input cell 2 and input cell 1: a second range makes
      // the two-input table.
      const TRange table = MacroArgRange();
      const TRange input2 = MacroArgRange();
      const TRange input1 = MacroArgRange();
      s.savedRanges[kRangeWhatIfTable] = table;
      s.savedRanges[kRangeWhatIfInput1] = input1;
      s.savedRanges[kRangeWhatIfInput2] = input2;
      DataTable(HasCell(input2) ? 2 : 1);
      break;
    }
    case 'q': {
      const TRange input = MacroArgRange();
      const TRange criteria = MacroArgRange();
      const TRange output = MacroArgRange();
      s.savedRanges[kRangeQueryInput] = input;
      s.savedRanges[kRangeQueryCriteria] = criteria;
      s.savedRanges[kRangeQueryOutput] = output;
      if (HasCell(input) && HasCell(criteria) && HasCell(output)) DataQuery(input, criteria, output, 2);
      break;
    }
    case 'r': {
      const TRange x = MacroArgRange();
      const TRange y = MacroArgRange();
      const TRange output = MacroArgCell();
      if (HasCell(x) && HasCell(y) && HasCell(output)) DataRegress(x, y, output);
      break;
    }
    case 's': {
      s.savedRanges[kRangeSort] = MacroArgRange();
      TRange* keys[] = {&s.savedRanges[kRangePrimaryKey], &s.savedRanges[kRangeSecondaryKey],
                        &s.dataRanges[kDataRangeSortKey3], &s.dataRanges[kDataRangeSortKey4]};
      for (int k = 0; k < kSortKeyCount; ++k) {
        *keys[k] = MacroArgRange();
        gSortAscending[k] = MacroArgWhole() == 1;
      }
      DataSort();
      break;
    }
    case 'm': {
      s.dataRanges[kDataRangeRegressX] = MacroArgRange();
      s.dataRanges[kDataRangeRegressY] = MacroArgRange();
      s.dataRanges[kDataRangeRegressOutput] = MacroArgCell();
      SetFitMasks(ArgWord());
      DataMultiRegress();
      break;
    }
    default:
      return;
  }
  ShowRefused();
  StoreSettings();
  MacroHost().RefreshActiveSheet();
}

// ---- File commands ---------------------------------------------------------------

// A worksheet name as the file commands take it: upper case, ".WKS" added
// when its file-name part has no ".".
std::string CompletedName(std::string_view name) { return WorksheetFileName(name); }

// A file name argument: its file-name part upper-cased, the folders kept as
// given.
std::string FileNameArg() {
  std::string name = ArgWord();
  std::size_t cut = name.find_last_of("\\/:");
  cut = cut == std::string::npos ? 0 : cut + 1;
  for (std::size_t i = cut; i < name.size(); ++i) name[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[i])));
  return name;
}

// The mode of FILEMERGE from its option text: merge (16), by value (4)
// unless "F" is among the first three characters, combined by "R" (+1) or
// "S" and "D" (2 and 3).
int MergeMode(std::string_view options) {
  std::string head = UpperText(std::string(options.substr(0, 3)));
  int mode = 16 + (head.find('F') == std::string::npos ? 4 : 0);
  if (head.find('R') != std::string::npos) mode += 1;
  if (head.find('S') != std::string::npos) mode |= 2;
  if (head.find('D') != std::string::npos) mode |= 3;
  return mode;
}

// SaveWorksheet for the file commands: a refusal or failure is shown by the
// writer once, not again as the command's error when it ends.
void SaveUnlessShown(std::string_view name, bool rangeFlag, const TRange& range) {
  if (!SaveWorksheet(name, rangeFlag, range)) ClearErrorFlag();
}

void FileFamily() {
  const int letter = MacroNextByte();
  TMacroHost& host = MacroHost();
  switch (letter) {
    case 'n':
      host.RunCommand("New");
      break;
    case 'o':
      // The host opens the file, or brings it to the front when it is open
      // under any spelling of its path: the commands that follow act on that
      // document either way, never on a second copy of it.
      host.OpenWorksheet(CompletedName(ArgWord()));
      break;
    case 's':
      host.RunCommand("Save");
      break;
    case 'a': {
      std::string name = FileNameArg();
      const int dialog = MacroArgWhole();
      if (dialog != 0)
        host.SaveAsDialog(name);
      else if (!name.empty())
        SaveUnlessShown(name, false, TRange{});
      break;
    }
    case 'c':
      host.CloseDocument(CompletedName(ArgWord()));
      break;
    case 'f':
      host.FocusDocument(CompletedName(ArgWord()));
      break;
    case 'e':
      MacroArgWhole();
      // The macro stops first, so nothing of it runs on in a closing program.
      MacroStop();
      host.ExitProgram();
      return;
    case 'd': {
      const int index = MacroArgWhole();
      std::string text = ArgWord();
      TDocumentInfo& info = CurrentFileState().info;
      if (index == 0) info.title = text.substr(0, 80);
      if (index == 1) info.comments = text.substr(0, 255);
      if (index == 0 || index == 1) MarkChangedAndRepaint();
      StoreSettings();
      break;
    }
    case 'i': {
      std::string name = FileNameArg();
      const TRange cell = MacroArgCell();
      const int mode = MacroArgWhole();
      if (HasCell(cell)) ImportTextFile(OneHigher(mode, kTransferModes), cell.firstRow, cell.firstCol, name);
      break;
    }
    case 'x': {
      std::string name = FileNameArg();
      const TRange range = MacroArgRange();
      const int mode = MacroArgWhole();
      if (!HasCell(range)) break;
      if (mode != 0)
        ExportTextFile(name, OneHigher(mode, kTransferModes), range);
      else
        SaveUnlessShown(name, true, range);
      break;
    }
    case 'm': {
      std::string name = FileNameArg();
      const TRange cell = MacroArgCell();
      std::string source = ArgWord();
      std::string options = ArgWord();
      if (HasCell(cell)) LoadWorksheet(name, MergeMode(options), cell.firstRow, cell.firstCol, source);
      break;
    }
    case 'p': {
      std::string filter = ArgWord();
      std::string name = ArgWord();
      const TRange cell = MacroArgCell();
      std::string chosen = host.PickOpenFile(filter, name);
      // A file name is text, whatever it starts with.
      if (HasCell(cell)) EnterCell(std::string(1, gCurrentDoc.settings.labelPrefix) + chosen, cell.firstRow, cell.firstCol);
      break;
    }
    default:
      return;
  }
  ShowRefused();
}

// ---- Print commands --------------------------------------------------------------

void PrintOptionList(std::string_view list) {
  TProgramSettings& p = ProgramSettings();
  ForEachMacroOption(list, 10, [&](char letter, std::string_view value) {
    const int n = OptionWhole(value);
    switch (letter) {
      case 'F': p.PFrame = n == 1; break;
      case 'G': PrintOptions().showGrid = n == 1; break;
      case 'M': p.PMono = n == 1; break;
      case 'L': MacroHost().SetLandscape(true); break;
      case 'P': MacroHost().SetLandscape(false); break;
      case 'S': PrintOptions().textScale = n; break;
      default: break;
    }
  });
}

void PrintMargins(std::string_view list) {
  TProgramSettings& p = ProgramSettings();
  ForEachMacroOption(list, 10, [&](char letter, std::string_view value) {
    const double inches = OptionReal(value);
    switch (letter) {
      case 'T': p.TopMargin = inches; break;
      case 'B': p.BottomMargin = inches; break;
      case 'L': p.LeftMargin = inches; break;
      case 'R': p.RightMargin = inches; break;
      default: break;
    }
  });
}

void PrintFamily() {
  const int letter = MacroNextByte();
  TSheetSettings& s = gCurrentDoc.settings;
  switch (letter) {
    case 'a':
      MacroHost().PrintSheet(0);
      break;
    case 'r': {
      const TRange range = MacroArgRange();
      if (!HasCell(range)) break;
      s.savedRanges[kRangePrint] = range;
      MacroHost().PrintSheet(kPrintRangeMode);
      break;
    }
    case 'n': {
      std::string name = ArgWord();
      const TRange range = MacroArgRange();
      if (!HasCell(range)) break;
      s.savedRanges[kRangePrint] = range;
      PrintToTextFile(name, range);
      break;
    }
    case 'g': {
      // Graph names are stored upper-cased, so the name is looked up so.
      int index = GraphFind(UpperText(ArgWord()));
      if (index > 0) MacroHost().PrintGraph(index);
      break;
    }
    case 'h':
    case 'f': {
      std::string text = ArgWord().substr(0, kPrintTextMaxChars);
      MacroArgWhole();
      (letter == 'h' ? CurrentFileState().printHeader : CurrentFileState().printFooter) = text;
      break;
    }
    case 'b': {
      const int index = MacroArgWhole();
      const TRange range = MacroArgRange();
      if (index == 0) s.savedRanges[kRangeTitleRows] = range;
      if (index == 1) s.savedRanges[kRangeTitleColumns] = range;
      break;
    }
    case 'm':
      PrintMargins(ArgWord());
      break;
    case 'o':
      PrintOptionList(ArgWord());
      break;
    default:
      return;
  }
  ShowRefused();
  StoreSettings();
}

}  // namespace

bool MacroExecFamily(char family) {
  switch (family) {
    case 'b': RangeFamily(); return true;
    case 'c': CopyFamily(); return true;
    case 'm': MatrixFamily(); return true;
    case 'e': EditFamily(); return true;
    case 'g': GraphFamily(); return true;
    case 'v': ViewFamily(); return true;
    case 'h': GeneralFamily(); return true;
    case 'd': DataFamily(); return true;
    case 'f': FileFamily(); return true;
    case 'p': PrintFamily(); return true;
    default: return false;
  }
}

}  // namespace corvane

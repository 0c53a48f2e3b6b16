// The general settings dialog's logic over the working settings block, the
// program's settings and the active sheet window.
#include "spreadsheet/windows/GeneralSettings.h"

#include <algorithm>
#include <string_view>

#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/DocumentTable.h"
#include "spreadsheet/engine/Evaluator.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/EnginePlatform.h"
#include "spreadsheet/engine/FunctionSettings.h"
#include "spreadsheet/engine/TextRoutines.h"
#include "spreadsheet/windows/CellCommands.h"

namespace corvane {

namespace {

struct TPageInfo {
  const char* name;
  int width, height;
};
constexpr TPageInfo kPages[kGeneralPageCount] = {
    {"Format", 224, 275}, {"Option", 316, 306}, {"Typeface", 238, 262},
    {"Color", 336, 262},  {"Files", 278, 200},  {"Advanced", 248, 278},
};

// Default sizes a field may give: 255 marks the default, and a column's
// width in pixels stays well inside 16 bits.
constexpr int kLargestDefaultSize = 254;

// The integer a field's formula gives; -1 (left alone) when it gives none.
int FieldInteger(const std::string& text) {
  if (text.empty()) return -1;
  std::string resultText;
  double x = EvaluateFormulaText(text, resultText);
  bool failed = ErrorFlagSet() || !resultText.empty();
  ClearErrorFlag();
  return failed || x < 0 ? -1 : static_cast<int>(std::min(x, 1e6));
}

TSheetSettings& Working() { return gCurrentDoc.settings; }

}  // namespace

const char* GeneralPageName(int page) { return kPages[std::clamp(page, 0, kGeneralPageCount - 1)].name; }

std::string GeneralCaption(int page) { return std::string("General ") + GeneralPageName(page); }

void GeneralPageSize(int page, int ppi, int& width, int& height) {
  const TPageInfo& info = kPages[std::clamp(page, 0, kGeneralPageCount - 1)];
  width = info.width * ppi / 96;
  height = info.height * ppi / 96;
}

TColourWord TColourWord::From(std::uint32_t word) {
  TColourWord c;
  c.background = word & 0x00FFFFFFu;
  c.foreground = static_cast<int>((word >> 24) & 0x0Fu);
  c.ignoreBackground = (word & 0x40000000u) != 0;
  c.ignoreForeground = (word & 0x80000000u) != 0;
  return c;
}

std::uint32_t TColourWord::Word() const {
  return (background & 0x00FFFFFFu) | (static_cast<std::uint32_t>(foreground & 0x0F) << 24) |
         (ignoreBackground ? 0x40000000u : 0u) | (ignoreForeground ? 0x80000000u : 0u);
}

int SheetCountIndex(int sheetCount) {
  int index = 0;
  while (index + 1 < kSheetChoices && (1 << (index + 1)) <= sheetCount) ++index;
  return index;
}

std::uint32_t& TGeneralSettings::ColourOf(TSheetSettings& settings, int item) {
  switch (item) {
    case kItemValue: return settings.valueColour;
    case kItemNegative: return settings.negativeColour;
    case kItemUnlocked: return settings.unlockedColour;
    case kItemCursor: return settings.cursorColour;
    case kItemOdd: return settings.bandColour;
    case kItemBackground: return settings.backgroundColour;
    default: return settings.labelColour;
  }
}

void TGeneralSettings::Activate(TGeneralSheet* activeSheet) {
  sheet = activeSheet;
  savedBlock_ = Working();
  savedDefaults_ = DefaultSheetSettings();
  savedProgram_ = ProgramSettings();
  savedFormats_ = FormatSettings();
  const TSheetSettings& s = Working();
  const TProgramSettings& p = ProgramSettings();

  format = FormatSettings().GForm & 0x7F;
  if (sheet != nullptr) {
    savedGridLines_ = sheet->GridLines();
    savedSheets_ = sheet->SheetCount();
    savedRowHeight_ = sheet->DefaultRowHeight();
    savedColumnWidth_ = sheet->DefaultColumnWidth();
    savedFont_ = sheet->DefaultFont();
    savedThreeD_ = sheet->ThreeD();
  }
  threeD = savedThreeD_;
  rowsText = std::to_string(savedRowHeight_);
  columnsText = std::to_string(savedColumnWidth_ / 8);
  sheetsIndex = SheetCountIndex(savedSheets_);
  labelAlignment = s.labelPrefix == '^' ? 2 : s.labelPrefix == '"' ? 3 : 1;
  font = savedFont_;
  fontChanged = false;
  colour = TColourWord::From(ColourOf(Working(), colourItem));
  autoExec = p.AutoExec;
  toolMac = p.ToolMac;
  historyText = std::to_string(p.HSize);
  argumentSeparator = p.Sep;
  thousandsSeparator = FormatSettings().Comma;
  decimalSeparator = FormatSettings().Period;
  currencyPrefix = s.currency.length > 0 && s.currency.text[0] != ' ';
  const TShortText2& shown = currencyPrefix ? s.currency : s.secondCurrency;
  currency.assign(shown.text, std::min<std::size_t>(shown.length, 2));
}

void TGeneralSettings::TakeDefaultFormat() {
  FormatSettings().GForm = format & 0x7F;
}

void TGeneralSettings::Changed() {
  ApplySheetFormatSettings(Working());
  if (sheet != nullptr) sheet->Refresh();
}

void TGeneralSettings::Cancel() {
  DefaultSheetSettings() = savedDefaults_;
  ProgramSettings() = savedProgram_;
  FormatSettings() = savedFormats_;
  FunctionSettings().dayFirstDates = !savedProgram_.UsDate;
  SettingsHost().SeparatorsChanged();
  if (sheet != nullptr) {
    if (sheet->SheetCount() != savedSheets_) sheet->SetSheetCount(savedSheets_);
    sheet->SetGridLines(savedGridLines_);
    sheet->SetThreeD(savedThreeD_);
    sheet->RecentFilesChanged();
  }
  Working() = savedBlock_;
  Changed();
}

void TGeneralSettings::Ok() {
  TakeDefaultFormat();
  if (page == kGeneralFiles) {
    int limit = FieldInteger(historyText);
    if (limit >= 0) ProgramSettings().HSize = std::min<int>(limit, static_cast<int>(kRecentFilesMax));
    ProgramSettings().AutoExec = autoExec;
    ProgramSettings().ToolMac = toolMac;
  }
  if (sheet != nullptr) {
    sheet->SetThreeD(threeD);
    if (fontChanged) {
      font.rowHeight = static_cast<std::int16_t>(std::clamp<int>(font.rowHeight, 1, kLargestDefaultSize));
      sheet->SetDefaultFont(font);
      sheet->SetDefaultSizes(font.rowHeight, -1);
    }
    if (page == kGeneralOption) {
      int rows = FieldInteger(rowsText), columns = FieldInteger(columnsText);
      sheet->SetDefaultSizes(rows < 0 ? -1 : std::clamp(rows, 1, kLargestDefaultSize),
                             columns < 0 ? -1 : std::clamp(columns, 1, kLargestDefaultSize) * 8);
    }
  }
  Working().modified = 1;
  WindowServices().MarkSheetModified(WindowServices().ActiveSheet());
  if (CurrentDocSlot() != 0) StoreSlotSettings(CurrentDocSlot());
  Changed();
  if (sheet != nullptr && page == kGeneralFiles) sheet->RecentFilesChanged();
}

void TGeneralSettings::ApplyGlobally() {
  std::uint16_t trailer = DefaultSheetSettings().trailer;
  DefaultSheetSettings() = Working();
  DefaultSheetSettings().trailer = trailer;
  DefaultSheetSettings().modified = 0;
  TakeDefaultFormat();
  if (page == kGeneralTypeface) {
    ProgramSettings().GSize = font.rowHeight;
    ProgramSettings().GFont = font.name.substr(0, 40);
  }
}

void TGeneralSettings::SetShowZeros(bool on) {
  Working().hideZeros = on ? 0 : 1;
  Changed();
}
void TGeneralSettings::SetNegativeInColour(bool on) {
  Working().negativeInColour = on ? 1 : 0;
  Changed();
}
void TGeneralSettings::SetBanding(bool on) {
  Working().banding = on ? 1 : 0;
  Changed();
}
void TGeneralSettings::SetThreeD(bool on) {
  threeD = on;
  Working().threeD = on ? 1 : 0;
  if (sheet != nullptr) sheet->SetThreeD(on);
  Changed();
}
void TGeneralSettings::SetProtect(bool on) {
  Working().protection = on ? 1 : 0;
  Changed();
}
void TGeneralSettings::SetAutoRecalc(bool on) {
  Working().manualRecalc = on ? 0 : 1;
  Changed();
}

void TGeneralSettings::SetGridLine(int bit, bool on) {
  if (sheet == nullptr) return;
  int mode = sheet->GridLines();
  // "Display Solid" checked clears bit 2; the other two set their bit.
  bool set = bit == 4 ? !on : on;
  mode = set ? mode | bit : mode & ~bit;
  sheet->SetGridLines(mode);
  Changed();
}

void TGeneralSettings::SetLabelAlignment(int alignment) {
  labelAlignment = std::clamp(alignment, 1, 3);
  Working().labelPrefix = labelAlignment == 2 ? '^' : labelAlignment == 3 ? '"' : '\'';
}

void TGeneralSettings::SetSheetsIndex(int index) {
  sheetsIndex = std::clamp(index, 0, kSheetChoices - 1);
  int count = 1 << sheetsIndex;
  auto rows = static_cast<std::int16_t>(kRowsPerWorksheet / count);
  Working().rowsPerSheet = rows;
  DefaultSheetSettings().rowsPerSheet = rows;
  if (sheet != nullptr) sheet->SetSheetCount(count);
  Changed();
}

bool TGeneralSettings::SetSeparators(char argument, char thousands, char decimal) {
  // Separators the settings file could not keep, or a decimal separator
  // that also separates arguments or thousands, would make numbers and
  // formulas read wrongly.
  if (!SeparatorsValid(argument, thousands, decimal)) {
    EnginePlatform().MessageBeep();
    return false;
  }
  argumentSeparator = argument;
  thousandsSeparator = thousands;
  decimalSeparator = decimal;
  ProgramSettings().Sep = argument;
  FormatSettings().Comma = thousands;
  FormatSettings().Period = decimal;
  SettingsHost().SeparatorsChanged();
  Changed();
  return true;
}

namespace {

// The three separators after `c` is chosen in `box`.
struct TSeparators {
  char argument, thousands, decimal;
};
TSeparators ChosenSeparators(const TGeneralSettings& v, int box, char c) {
  TSeparators s{v.argumentSeparator, v.thousandsSeparator, v.decimalSeparator};
  if (box == kArgumentBox) s.argument = c;
  if (box == kThousandsBox) {
    if (c == s.decimal) s.decimal = s.thousands;
    s.thousands = c;
  }
  if (box == kDecimalBox) {
    if (c == s.thousands) s.thousands = s.decimal;
    s.decimal = c;
  }
  return s;
}

// The usual separators of each box. The settings file cannot keep ";" (it
// starts a comment there), so "|" separates arguments where "," is the
// decimal point.
constexpr std::string_view kSeparatorOffers[] = {",|", ",.", ".,"};

}  // namespace

bool TGeneralSettings::ChooseSeparator(int box, char c) {
  const TSeparators s = ChosenSeparators(*this, box, c);
  return SetSeparators(s.argument, s.thousands, s.decimal);
}

std::vector<char> TGeneralSettings::SeparatorChoices(int box) const {
  if (box < kArgumentBox || box > kDecimalBox) return {};
  const char held = box == kArgumentBox ? argumentSeparator : box == kThousandsBox ? thousandsSeparator : decimalSeparator;
  std::string offers(kSeparatorOffers[box]);
  if (offers.find(held) == std::string::npos) offers += held;
  std::vector<char> choices;
  for (char c : offers) {
    const TSeparators s = ChosenSeparators(*this, box, c);
    if (SeparatorsValid(s.argument, s.thousands, s.decimal)) choices.push_back(c);
  }
  return choices;
}

void TGeneralSettings::SetCurrency(const std::string& text, bool prefix) {
  currency = text.substr(0, 2);
  currencyPrefix = prefix;
  TShortText2 shown, other{1, {' ', 0}};
  shown.length = static_cast<std::uint8_t>(currency.size());
  std::copy(currency.begin(), currency.end(), shown.text);
  Working().currency = prefix ? shown : other;
  Working().secondCurrency = prefix ? other : shown;
  Changed();
}

void TGeneralSettings::SetProgramFlag(bool TProgramSettings::*flag, bool on) {
  ProgramSettings().*flag = on;
  FunctionSettings().dayFirstDates = !ProgramSettings().UsDate;
}

void TGeneralSettings::ClearHistory() {
  ProgramSettings().History.clear();
  if (sheet != nullptr) sheet->RecentFilesChanged();
}

void TGeneralSettings::SetAutoExec(const std::string& name) { autoExec = ProgramSettings().AutoExec = name; }
void TGeneralSettings::SetToolMac(const std::string& name) { toolMac = ProgramSettings().ToolMac = name; }

void TGeneralSettings::PickColourItem(int item) {
  colourItem = std::clamp(item, 0, kColourItemCount - 1);
  colour = TColourWord::From(ColourOf(Working(), colourItem));
}

void TGeneralSettings::SetColour(const TColourWord& word) {
  colour = word;
  ColourOf(Working(), colourItem) = word.Word();
  Changed();
  EnginePlatform().MessageBeep();
}

void TGeneralSettings::ResetColours() {
  TSheetSettings fresh;
  for (int item = 0; item < kColourItemCount; ++item) ColourOf(Working(), item) = ColourOf(fresh, item);
  colour = TColourWord::From(ColourOf(Working(), colourItem));
  Changed();
}

}  // namespace corvane

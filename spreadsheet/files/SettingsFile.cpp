// Reading and writing the settings file through one table of its keys: each
// row names a key, its section and where its value lives; the form of the
// value follows from the kind of that place.
#include "spreadsheet/files/SettingsFile.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <variant>

#include "spreadsheet/engine/DecimalDigits.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/EngineHelpers.h"
#include "spreadsheet/engine/FormatSettings.h"
#include "spreadsheet/engine/FunctionSettings.h"
#include "spreadsheet/engine/NumberText.h"
#include "spreadsheet/engine/SheetSettings.h"
#include "spreadsheet/engine/TextRoutines.h"
#include "spreadsheet/engine/UndoBuffer.h"
#include "spreadsheet/files/FileReplace.h"

namespace corvane {
namespace {

// The key table, numbered 1 to 57 in this order.
constexpr std::string_view kKeyTable[kSettingsKeyCount] = {
    "START=",  "COLOR=",  "FORMAT=", "PRO=",    "NEG=",    "ZERO=",   "BAND=",    "MCALC=",  "3DON=",    "PREFIX=",
    "CURR=",   "BKCLR=",  "BDCLR=",  "VALCLR=", "NEGCLR=", "LBLCLR=", "PROCLR=",  "CURCLR=", "DIST=",    "AUTOEXEC=",
    "TOOLMAC=", "TOOLGL=", "CURS=",   "TIPS=",   "SEP=",    "COMMA=",  "PERIOD=",  "USDATE=", "SCALE=",   "QBAR=",
    "MBAR=",   "SBAR=",   "MDIMAX=", "HIST=",   "GFORM=",  "WINCTRL=", "PREOPEN=", "HSIZE=",  "GFONT=",   "GSIZE=",
    "PMONO=",  "PSCALE=", "PFRAME=", "PORIENT=", "MTTR=",  "MLTR=",   "MRTR=",    "MBTR=",   "MTHR=",    "MBFR=",
    "SAVE=",   "LOAD=",   "PRELOAD=", "OCFDS=",  "RDTSC=",  "UNDO=",   "BACKUPS="};

constexpr std::size_t kMaxKeyChars = 16;

// Where a value lives, which also fixes its form.
struct TFlagByte { std::uint8_t* p; };  // boolean kept as a sheet-settings byte
struct TByteInt { std::uint8_t* p; };   // integer kept in one byte
struct TColour { std::uint32_t* p; };   // "$" and eight hexadecimal digits
struct TText { std::string* p; std::size_t maxChars; };
struct TList { std::vector<std::string>* p; };
struct TWrittenEmpty {};                // written with an empty value, never read
// One character, taken only when `accepts` it: anything else keeps the
// setting, and a character it does not accept is written as an empty value.
struct TChar { char* p; bool (*accepts)(char); };
// Margins and distances in inches, from 0 to kMaxInches: a number outside
// keeps the setting, and one outside is written at the nearer end.
struct TInches { double* p; };
using TTarget = std::variant<bool*, TFlagByte, int*, TByteInt, TColour, TInches, TChar, TShortText2*, TText, TList,
                             TWrittenEmpty>;

constexpr double kMaxInches = 100;

enum TRowFlags : unsigned {
  kReadWrite = 0,
  kWriteOnly = 1,      // written, not read
  kEmptyKeeps = 2,     // an empty value leaves the setting as it was
};

struct TKeyRow {
  const char* section;  // the header written before the first key of a section
  std::string_view key;
  TTarget target;
  unsigned flags = kReadWrite;
};

// The rows in the order the writer emits them.
std::vector<TKeyRow> KeyRows() {
  TProgramSettings& p = ProgramSettings();
  TSheetSettings& d = DefaultSheetSettings();
  TFormatSettings& f = FormatSettings();
  return {
      {"[Directories]", "START=", TText{&p.ProgramFolder, kSettingsTextChars}, kWriteOnly},
      {nullptr, "SAVE=", TText{&p.SaveDir, kSettingsTextChars}},
      {nullptr, "LOAD=", TText{&p.LoadDir, kSettingsTextChars}},
      {"[Formats]", "FORMAT=", TList{&p.Formats}},
      {"[Flags]", "PRO=", TFlagByte{&d.protection}},
      {nullptr, "NEG=", TFlagByte{&d.negativeInColour}},
      {nullptr, "ZERO=", TFlagByte{&d.hideZeros}},
      {nullptr, "BAND=", TFlagByte{&d.banding}},
      {nullptr, "MCALC=", TFlagByte{&d.manualRecalc}},
      {nullptr, "3DON=", TFlagByte{&d.threeD}},
      {nullptr, "DIST=", TFlagByte{&d.dist}},
      {nullptr, "TIPS=", &p.Tips},
      {nullptr, "USDATE=", &p.UsDate},
      {nullptr, "QBAR=", &p.QBar},
      {nullptr, "MBAR=", &p.MBar},
      {nullptr, "SBAR=", &p.SBar},
      {nullptr, "WINCTRL=", &p.WinCtrl},
      {nullptr, "PREOPEN=", &p.PreOpen},
      {nullptr, "MDIMAX=", &p.MdiMax},
      {nullptr, "OCFDS=", &p.Ocfds},
      {nullptr, "RDTSC=", &gUseTimeStampClock},
      {nullptr, "UNDO=", &p.Undo},
      {nullptr, "BACKUPS=", &p.Backups},
      {"[Chars]", "PREFIX=", TChar{&d.labelPrefix, IsDefaultLabelPrefix}, kEmptyKeeps},
      {nullptr, "CURR=", &d.currency},
      {nullptr, "CURS=", &d.secondCurrency},
      {nullptr, "SEP=", TChar{&p.Sep, IsSeparatorChar}, kEmptyKeeps},
      {nullptr, "COMMA=", TChar{&f.Comma, IsSeparatorChar}, kEmptyKeeps},
      {nullptr, "PERIOD=", TChar{&f.Period, IsSeparatorChar}, kEmptyKeeps},
      {"[Colors]", "BKCLR=", TColour{&d.backgroundColour}},
      {nullptr, "BDCLR=", TColour{&d.bandColour}},
      {nullptr, "VALCLR=", TColour{&d.valueColour}},
      {nullptr, "NEGCLR=", TColour{&d.negativeColour}},
      {nullptr, "LBLCLR=", TColour{&d.labelColour}},
      {nullptr, "PROCLR=", TColour{&d.unlockedColour}},
      {nullptr, "CURCLR=", TColour{&d.cursorColour}},
      {"[Files]", "AUTOEXEC=", TText{&p.AutoExec, kSettingsTextChars}},
      {nullptr, "TOOLMAC=", TText{&p.ToolMac, kSettingsTextChars}, kEmptyKeeps},
      {nullptr, "TOOLGL=", TWrittenEmpty{}},
      {nullptr, "HSIZE=", &p.HSize},
      {nullptr, "HIST=", TList{&p.History}},
      {"[Defaults]", "SCALE=", &p.Scale, kWriteOnly},
      {nullptr, "GFORM=", TByteInt{&f.GForm}},
      {nullptr, "GFONT=", TText{&p.GFont, 40}},
      {nullptr, "GSIZE=", &p.GSize},
      {nullptr, "PRELOAD=", &p.Preload},
      {"[Printer]", "PMONO=", &p.PMono},
      {nullptr, "PFRAME=", &p.PFrame},
      {nullptr, "PORIENT=", &p.POrient},
      {nullptr, "MTTR=", TInches{&p.TopMargin}},
      {nullptr, "MLTR=", TInches{&p.LeftMargin}},
      {nullptr, "MRTR=", TInches{&p.RightMargin}},
      {nullptr, "MBTR=", TInches{&p.BottomMargin}},
      {nullptr, "MTHR=", TInches{&p.HeaderDistance}},
      {nullptr, "MBFR=", TInches{&p.FooterDistance}},
  };
}

class TNoSettingsHost : public TSettingsHost {
 public:
  bool GetPrinterOrientation(int&) override { return false; }
  void SetPrinterOrientation(int) override {}
  int ProcessorType() override { return 0; }
  void SeparatorsChanged() override {}
};

TNoSettingsHost gNoHost;
TSettingsHost* gHost = &gNoHost;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimTrailingBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Numbers and booleans: everything from the first ";" is a comment.
std::string_view CutComment(std::string_view value) { return value.substr(0, value.find(';')); }

// Texts: a ";" starts a comment only at the start of the value or after a
// blank, so file names that contain ";" survive.
std::string_view CutTextComment(std::string_view value) {
  for (std::size_t i = 0; i < value.size(); ++i)
    if (value[i] == ';' && (i == 0 || IsBlank(value[i - 1]))) return TrimTrailingBlanks(value.substr(0, i));
  return value;
}

double RealValue(std::string_view value) {
  double x = 0;
  int errPos = 0;
  StrToReal(TrimTrailingBlanks(value), x, errPos);
  return errPos == 0 ? x : 0;
}

// "$" and hexadecimal digits, else the real rounded to the nearest integer
// (halves to even); 0 when the value is neither or does not fit 32 bits.
std::int64_t IntegerValue(std::string_view value) {
  value = TrimTrailingBlanks(value);
  if (!value.empty() && value[0] == '$') {
    std::string_view digits = value.substr(1);
    if (digits.empty() || digits.size() > 8) return 0;
    std::uint32_t n = 0;
    for (char c : digits) {
      int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
      if (digit < 0) return 0;
      n = n << 4 | static_cast<std::uint32_t>(digit);
    }
    return n;
  }
  double x = RealValue(value);
  return std::fabs(x) < 2147483647.0 ? static_cast<std::int64_t>(std::nearbyint(x)) : 0;
}

std::string Cut(std::string_view text, std::size_t maxChars) { return std::string(text.substr(0, maxChars)); }

void StoreValue(const TKeyRow& row, std::string_view raw) {
  std::string_view value = CutComment(raw);
  bool truth = value.find("TRUE") != std::string_view::npos;
  std::visit(
      [&](auto&& target) {
        using T = std::decay_t<decltype(target)>;
        if constexpr (std::is_same_v<T, bool*>) {
          *target = truth;
        } else if constexpr (std::is_same_v<T, TFlagByte>) {
          *target.p = truth ? 1 : 0;
        } else if constexpr (std::is_same_v<T, int*>) {
          *target = static_cast<int>(IntegerValue(value));
        } else if constexpr (std::is_same_v<T, TByteInt>) {
          *target.p = static_cast<std::uint8_t>(IntegerValue(value));
        } else if constexpr (std::is_same_v<T, TColour>) {
          *target.p = static_cast<std::uint32_t>(IntegerValue(value));
        } else if constexpr (std::is_same_v<T, TInches>) {
          double x = RealValue(value);
          if (x >= 0 && x <= kMaxInches) *target.p = x;
        } else if constexpr (std::is_same_v<T, TChar>) {
          // The one character is taken as it stands, before any comment.
          if (!raw.empty() && target.accepts(raw[0])) *target.p = raw[0];
        } else if constexpr (std::is_same_v<T, TShortText2*>) {
          std::string text = Cut(CutTextComment(raw), sizeof target->text);
          *target = TShortText2{};
          target->length = static_cast<std::uint8_t>(text.size());
          std::copy(text.begin(), text.end(), target->text);
        } else if constexpr (std::is_same_v<T, TText>) {
          std::string_view text = CutTextComment(raw);
          if (!text.empty() || !(row.flags & kEmptyKeeps)) *target.p = Cut(text, target.maxChars);
        } else if constexpr (std::is_same_v<T, TList>) {
          std::string_view text = CutTextComment(raw);
          if (target.p == &ProgramSettings().History)  // cut to HSIZE= once the file is read
            AddRecentFile(*target.p, text, static_cast<int>(kRecentFilesMax));
          else
            target.p->push_back(Cut(text, kSettingsTextChars));
        }
      },
      row.target);
}

std::string BoolText(bool b) { return b ? "TRUE" : "FALSE"; }

std::string ColourText(std::uint32_t colour) {
  char text[12];
  std::snprintf(text, sizeof text, "$%08X", static_cast<unsigned>(colour));
  return text;
}

// The lines of one row: key and value, one line per entry for the lists.
void AppendRow(std::string& out, const TKeyRow& row) {
  auto line = [&](std::string_view value) {
    out.append(row.key);
    out.append(value);
    out.append("\r\n");
  };
  std::visit(
      [&](auto&& target) {
        using T = std::decay_t<decltype(target)>;
        if constexpr (std::is_same_v<T, bool*>) line(BoolText(*target));
        else if constexpr (std::is_same_v<T, TFlagByte>) line(BoolText(*target.p != 0));
        else if constexpr (std::is_same_v<T, int*>) line(std::to_string(*target));
        else if constexpr (std::is_same_v<T, TByteInt>) line(std::to_string(*target.p));
        else if constexpr (std::is_same_v<T, TColour>) line(ColourText(*target.p));
        else if constexpr (std::is_same_v<T, TInches>)
          line(FixedText(*target.p >= 0 ? std::min(*target.p, kMaxInches) : 0.0, 2, FormatSettings().Period));
        else if constexpr (std::is_same_v<T, TChar>) line(target.accepts(*target.p) ? std::string(1, *target.p) : "");
        else if constexpr (std::is_same_v<T, TShortText2*>)
          line(std::string_view(target->text, std::min<std::size_t>(target->length, sizeof target->text)));
        else if constexpr (std::is_same_v<T, TText>) line(*target.p);
        else if constexpr (std::is_same_v<T, TList>) for (const std::string& entry : *target.p) line(entry);
        else line("");
      },
      row.target);
}

// Reads one line of at most kSettingsLineChars characters (the rest of a
// longer line is skipped) without its line end; false at the end of the file.
bool ReadLine(std::FILE* file, std::string& line) {
  line.clear();
  int c = std::fgetc(file);
  if (c == EOF) return false;
  for (; c != EOF && c != '\n'; c = std::fgetc(file))
    if (line.size() < kSettingsLineChars) line.push_back(static_cast<char>(c));
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

}  // namespace

std::vector<std::string> DefaultFormatList() {
  return {"F2,Fixed", "S2,Science", "M2,Comma", "G,General", "P2,Percent", "E2,Eng", "C2,Currency", "D0,YY:MM:DD", "X,Text"};
}

bool IsSeparatorChar(char c) {
  auto u = static_cast<unsigned char>(c);
  bool letterOrDigit = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  return u > 0x20 && u != 0x7F && !letterOrDigit && c != '+' && c != '-' && c != '=' && c != ';';
}

namespace {

// Characters that formulas, cell entry or macro text read as something of
// their own: blanks and operators, parentheses, "@", "$", the postfix "!" and
// "%", quoted text, file links, the ":" after a sheet letter, the "_" of
// names, the braces, "~" and "?" of macros, the typographic characters macro
// text reads as plain ones, and byte 255, which ends commands in compiled
// macros. Neither separator may be one.
bool HasMeaningInFormulas(char c) {
  return (c != '\0' && std::string_view(" #=<>+-*/^&()@$!%\"[]:_;{}~?").find(c) != std::string_view::npos) ||
         PlainMacroCharacter(c) != c || c == '\xFF';
}

// Between arguments a "." would split range pairs ("A1..B2"), and a "\"
// the macro names that keywords take ({BRANCH \A}), since macros read the
// argument separator inside braces as a blank.
bool IsArgumentSeparator(char c) { return IsSeparatorChar(c) && !HasMeaningInFormulas(c) && c != '.' && c != '\\'; }

// The decimal separator starts a value when an entry begins with it, so it
// cannot be a label prefix either.
bool IsDecimalSeparator(char c) { return IsSeparatorChar(c) && !HasMeaningInFormulas(c) && !IsLabelPrefix(c); }

}  // namespace

bool SeparatorsValid(char argument, char thousands, char decimal) {
  return IsArgumentSeparator(argument) && IsSeparatorChar(thousands) && IsDecimalSeparator(decimal) &&
         decimal != argument && decimal != thousands;
}

TProgramSettings& ProgramSettings() {
  static TProgramSettings settings;
  return settings;
}

TSettingsHost& SettingsHost() { return *gHost; }
void SetSettingsHost(TSettingsHost* host) { gHost = host ? host : &gNoHost; }

std::string SettingsFilePath() {
  const TProgramSettings& p = ProgramSettings();
  std::string path = p.ProgramFolder;
  if (!path.empty() && path.back() != '\\' && path.back() != '/' && path.back() != ':') {
#ifdef _WIN32
    path += '\\';
#else
    path += '/';
#endif
  }
  return path + p.BaseName + ".INI";
}

int SettingsKeyIndex(std::string_view key) {
  if (key.size() > kMaxKeyChars) return 0;
  for (int i = 0; i < kSettingsKeyCount; ++i)
    if (kKeyTable[i] == key) return i + 1;
  return 0;
}

void AddRecentFile(std::vector<std::string>& list, std::string_view name, int limit) {
  if (name.empty()) return;
  std::string entry = Cut(name, kSettingsTextChars);
  std::erase(list, entry);
  std::size_t cap = static_cast<std::size_t>(std::clamp<int>(limit, 0, kRecentFilesMax));
  if (cap == 0) {
    list.clear();
    return;
  }
  while (list.size() >= cap) list.erase(list.begin());
  list.push_back(std::move(entry));
}

void ReadSettingsFile() {
  TProgramSettings& p = ProgramSettings();
  p.SaveDir = p.ProgramFolder;
  p.LoadDir = p.ProgramFolder;
  p.History.clear();
  p.Formats.clear();
  const std::vector<TKeyRow> rows = KeyRows();
  TFormatSettings& format = FormatSettings();
  const char separators[] = {p.Sep, format.Comma, format.Period};

  if (std::FILE* file = std::fopen(SettingsFilePath().c_str(), "rb")) {
    std::string line;
    while (ReadLine(file, line)) {
      std::size_t eq = line.find('=');
      if (eq == std::string::npos || line.find(';') < eq) continue;
      std::string_view key = std::string_view(line).substr(0, eq + 1);
      if (SettingsKeyIndex(key) == 0) continue;
      auto row = std::find_if(rows.begin(), rows.end(), [&](const TKeyRow& r) { return r.key == key; });
      if (row == rows.end() || (row->flags & kWriteOnly) || std::holds_alternative<TWrittenEmpty>(row->target))
        continue;  // keys kept in the table but neither read nor written
      StoreValue(*row, std::string_view(line).substr(eq + 1));
      if (key == "PORIENT=") SettingsHost().SetPrinterOrientation(p.POrient);
    }
    std::fclose(file);
  }
  // The separators are taken together, once all three are read.
  if (!SeparatorsValid(p.Sep, format.Comma, format.Period)) {
    p.Sep = separators[0];
    format.Comma = separators[1];
    format.Period = separators[2];
  }
  // The recent files are cut to their limit only now, so that HIST= lines
  // read before HSIZE= are treated as those after it.
  std::vector<std::string>& history = p.History;
  std::size_t keep = static_cast<std::size_t>(std::clamp<int>(p.HSize, 0, kRecentFilesMax));
  if (history.size() > keep) history.erase(history.begin(), history.end() - static_cast<std::ptrdiff_t>(keep));
  if (gUseTimeStampClock && SettingsHost().ProcessorType() != kPentiumProcessorType) gUseTimeStampClock = false;
  if (p.Formats.empty()) p.Formats = DefaultFormatList();
  FunctionSettings().dayFirstDates = !p.UsDate;  // the order DATEVAL reads dates in
  gUndoEnabled = p.Undo;
  SettingsHost().SeparatorsChanged();
}

std::string SettingsFileText() {
  TProgramSettings& p = ProgramSettings();
  int orientation = 0;
  if (SettingsHost().GetPrinterOrientation(orientation)) p.POrient = orientation;
  std::string out;
  for (const TKeyRow& row : KeyRows()) {
    if (row.section != nullptr) {
      out.append("\r\n");
      out.append(row.section);
      out.append("\r\n");
    }
    if (row.key == "PORIENT=" && p.POrient < 0) continue;
    AppendRow(out, row);
  }
  return out;
}

bool WriteSettingsFile() {
  std::string path = SettingsFilePath();
  if (SaveFileReplacing(path, SettingsFileText(), BackupFileName(path, 'b'))) return true;
  SetErrorFlag("Unable to WRITE");
  return false;
}

}  // namespace corvane

// The settings file: one text file in the program's folder, named after the
// program with the extension ".INI", that keeps the program-wide settings and
// the defaults for new sheets between runs. The main window reads it once when
// it is created and writes it when it is destroyed.
//
// Each line is a key ending in "=" followed at once by its value; section
// headers are written for people and ignored on reading, and FORMAT= and HIST=
// repeat, one line per entry. The values land where their users read them:
//   - the sheet flags, label prefix, currency texts and colours in the default
//     settings block that new sheets copy (DefaultSheetSettings);
//   - the decimal and thousands separators and the default format in the
//     number formats' settings (FormatSettings);
//   - the time-stamp clock switch in gUseTimeStampClock;
//   - everything else in TProgramSettings below.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvane {

inline constexpr int kSettingsKeyCount = 57;
inline constexpr std::size_t kSettingsTextChars = 255;  // longest text value kept
inline constexpr std::size_t kSettingsLineChars = 1024; // longer lines are cut here
inline constexpr std::size_t kRecentFilesMax = 10;
inline constexpr int kPentiumProcessorType = 586;

// The nine entries of the format box when the file names none: fixed,
// science, comma, general, percent, engineering, currency, date and text.
std::vector<std::string> DefaultFormatList();

struct TProgramSettings {
  // Where the program runs from (written as START=) and the settings file's
  // base name; the main window sets both before reading.
  std::string ProgramFolder;
  std::string BaseName = "CRV32";

  std::string SaveDir;  // SAVE=: folder of the save dialog
  std::string LoadDir;  // LOAD=: folder of the open dialog
  // FORMAT=: the format box's entries, each a format code, a comma and a caption.
  std::vector<std::string> Formats = DefaultFormatList();

  bool Tips = true;      // TIPS=: a tip at start-up
  bool UsDate = true;    // USDATE=: dates in month-day-year order
  bool QBar = true;      // QBAR=: quick bar shown
  bool MBar = true;      // MBAR=: macro bar shown
  bool SBar = true;      // SBAR=: status bar shown
  bool WinCtrl = true;   // WINCTRL=: the main window's window-control flag
  bool PreOpen = true;   // PREOPEN=: a new sheet at start-up when no file is opened
  bool MdiMax = false;   // MDIMAX=: sheet windows maximised
  bool Ocfds = false;    // OCFDS=: the further option of the file dialogs
  bool Undo = true;      // UNDO=: the undo buffer in use
  bool Backups = true;   // BACKUPS=: keep the previous worksheet file when saving over it

  char Sep = ',';  // SEP=: argument separator in formulas

  std::string AutoExec = "AUTOEXEC.WKS";  // AUTOEXEC=: worksheet opened at start-up
  std::string ToolMac = "CORVANE.MAC";    // TOOLMAC=: macro toolbar file
  int HSize = 5;                          // HSIZE=: length limit of the recent-file list
  std::vector<std::string> History;       // HIST=: recent files, oldest first

  int Scale = 100;              // SCALE=: written, not read
  std::string GFont = "Arial";  // GFONT=: graph font name, at most 40 characters
  int GSize = 12;               // GSIZE=: graph font size
  int Preload = 1;              // PRELOAD=: preload level of the dialogs

  bool PMono = true;    // PMONO=: print in monochrome
  bool PFrame = false;  // PFRAME=: print the sheet frame
  // PORIENT=: the printer's orientation (1 landscape, 0 portrait) as last read
  // or taken from the printer; -1 while unknown (then it is not written).
  int POrient = -1;
  // MTTR=, MLTR=, MRTR=, MBTR=, MTHR=, MBFR=: margins and header and footer
  // distances in inches.
  double TopMargin = 0.5;
  double LeftMargin = 0.5;
  double RightMargin = 0.5;
  double BottomMargin = 0.5;
  double HeaderDistance = 0.5;
  double FooterDistance = 0.5;
};

// The program's one copy.
TProgramSettings& ProgramSettings();

// What reading and writing the file need from the machine and the rest of the
// program. The main window installs its own; without one, there is no printer,
// the processor type is 0 and nothing is rebuilt.
class TSettingsHost {
 public:
  virtual ~TSettingsHost() = default;
  // The printer's orientation (1 landscape, 0 portrait); false when no printer
  // is installed.
  virtual bool GetPrinterOrientation(int& orientation) = 0;
  // Gives the printer an orientation; does nothing when there is no printer.
  virtual void SetPrinterOrientation(int orientation) = 0;
  // The processor type the system reports (586 for the Pentium class).
  virtual int ProcessorType() = 0;
  // The separators may have changed: rebuild the formula scanner's character
  // sets.
  virtual void SeparatorsChanged() = 0;
};
TSettingsHost& SettingsHost();
// Installs `host` (not owned; it must outlive its use), or the stand-in for nullptr.
void SetSettingsHost(TSettingsHost* host);

// Whether `c` can be a separator (SEP=, COMMA=, PERIOD=): a character that
// the settings file writes and reads back as itself and that number and
// formula text do not read as something else. Control characters, blanks,
// digits, letters, the signs "+" and "-", "=" (it ends a key) and ";" (it
// starts a comment) are not.
bool IsSeparatorChar(char c);
// Whether the three separators can be used together: each one passes
// IsSeparatorChar, neither the argument nor the decimal separator is a
// character formulas, cell entry or macros give a meaning of their own (an
// operator, a parenthesis, "@", "$", "!", "%", a quote, a bracket, ":", "_",
// a brace, "~", "?", a typographic character macros read as a plain one, or
// byte 255; nor "." or "\" between arguments, nor a label prefix as the
// decimal point), and the decimal separator differs from both others,
// so every formula can be typed and numbers and argument lists keep one
// reading. Every place that sets the separators checks them here first.
bool SeparatorsValid(char argument, char thousands, char decimal);

// The settings file's path: the program folder, the base name and ".INI".
std::string SettingsFilePath();

// The number (1..57) of `key` (with its "=") in the key table, compared
// exactly and case-sensitively; 0 when it is not there.
int SettingsKeyIndex(std::string_view key);

// Adds a name to the recent-file list, newest last: an empty name is ignored,
// an equal entry is removed first, and when the list holds `limit` names
// (never more than 10) the oldest is dropped. Names are cut to 255 characters.
void AddRecentFile(std::vector<std::string>& list, std::string_view name, int limit);

// Reads the settings file. The save and load folders start as the program
// folder and the recent-file list empty; a missing or unreadable file leaves
// every default in force, with no message. Keys outside the table and lines
// without "=" are skipped. A value the setting cannot hold keeps the setting:
// a label prefix that is none of the default ones, a separator that fails
// IsSeparatorChar, a margin outside 0 to 100 inches; separators that together
// fail SeparatorsValid keep all three as they were. HIST=
// lines are cut to HSIZE= after the whole file is read, wherever it stands.
// Without FORMAT= lines the format list holds its nine defaults. Ends by
// telling the host that the separators may have changed.
void ReadSettingsFile();

// Writes the settings file, section by section, keeping the previous file
// under the name with its last letter replaced by "b". The file is written
// whole beside the old one before it replaces it, so a failed write leaves the
// previous file and its backup as they were; it then sets the engine's error
// flag ("Unable to WRITE") and shows no message. False on failure.
bool WriteSettingsFile();

// The text WriteSettingsFile writes (lines end in CR LF). Takes the printer's
// orientation into the settings first when a printer is installed.
std::string SettingsFileText();

}  // namespace corvane

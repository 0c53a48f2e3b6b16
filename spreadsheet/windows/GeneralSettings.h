// The "General" settings dialog as values: what each of its six pages shows
// of the active document's working settings block and of the program's
// settings, the changes that take effect at once, "Appl&y Globally", "&Ok"
// and "Cancel". Everything the dialog may change is copied when it opens,
// so Cancel (and Escape) put all of it back, not only the settings block.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "spreadsheet/engine/FormatSettings.h"
#include "spreadsheet/engine/SheetSettings.h"
#include "spreadsheet/engine/WindowServices.h"
#include "spreadsheet/files/SettingsFile.h"

namespace corvane {

enum TGeneralPage : int { kGeneralFormat, kGeneralOption, kGeneralTypeface, kGeneralColor, kGeneralFiles, kGeneralAdvanced };
inline constexpr int kGeneralPageCount = 6;

// The page's name ("Format", ...), the dialog's caption ("General " and the
// name) and its size in pixels at 96 pixels per inch, scaled to `ppi`.
const char* GeneralPageName(int page);
std::string GeneralCaption(int page);
void GeneralPageSize(int page, int ppi, int& width, int& height);

// What the dialog changes in the active sheet window besides the settings.
class TGeneralSheet {
 public:
  virtual ~TGeneralSheet() = default;
  // The active pane's grid-line mode: bit 0 horizontal, bit 1 vertical,
  // bit 2 dotted rather than solid.
  virtual int GridLines() = 0;
  virtual void SetGridLines(int mode) = 0;
  // The raised look of both panes.
  virtual bool ThreeD() = 0;
  virtual void SetThreeD(bool on) = 0;
  virtual int SheetCount() = 0;
  // Divides the rows into `count` sheets (both panes, the tab bar).
  virtual void SetSheetCount(int count) = 0;
  // Both panes' default row height (pixels) and column width (pixels).
  virtual int DefaultRowHeight() = 0;
  virtual int DefaultColumnWidth() = 0;
  virtual void SetDefaultSizes(int rowHeight, int columnWidth) = 0;
  virtual TSheetFont DefaultFont() = 0;
  virtual void SetDefaultFont(const TSheetFont& font) = 0;
  // Repaints the sheet and the frame's indicators and protect button.
  virtual void Refresh() = 0;
  // The recent-file list changed (the frame's menu shows it again).
  virtual void RecentFilesChanged() = 0;
};

// The seven document colours, in the order of the Color page's item buttons.
enum TGeneralColourItem : int { kItemLabel, kItemValue, kItemNegative, kItemUnlocked, kItemCursor, kItemOdd, kItemBackground };
inline constexpr int kColourItemCount = 7;

// A document colour word taken apart and put together again.
struct TColourWord {
  std::uint32_t background = 0;  // RGB, red lowest
  int foreground = 0;            // palette index 0..15
  bool ignoreBackground = false;  // bit 30
  bool ignoreForeground = false;  // bit 31
  static TColourWord From(std::uint32_t word);
  std::uint32_t Word() const;
};

// The Advanced page's separator boxes.
enum TSeparatorBox : int { kArgumentBox, kThousandsBox, kDecimalBox };

// The sheets box: item n stands for 2 to the power n sheets (1..64).
inline constexpr int kSheetChoices = 7;
int SheetCountIndex(int sheetCount);

struct TGeneralSettings {
  int page = kGeneralFormat;
  TGeneralSheet* sheet = nullptr;  // null: no sheet window open

  // ---- Loaded at activation ----------------------------------------------------------
  // Format: the default format byte new cells show.
  std::uint8_t format = 0x7F;
  // Option.
  std::string rowsText, columnsText;  // default row height (pixels), column width (characters)
  int sheetsIndex = 0;
  int labelAlignment = 1;  // 1 left, 2 centre, 3 right
  bool threeD = true;
  // Typeface.
  TSheetFont font;
  bool fontChanged = false;
  // Color.
  int colourItem = kItemLabel;
  TColourWord colour;
  // Files.
  std::string autoExec, toolMac, historyText;
  // Advanced: the separators, the currency text and whether it goes in front.
  char argumentSeparator = ',', thousandsSeparator = ',', decimalSeparator = '.';
  std::string currency = "$";
  bool currencyPrefix = true;

  // Copies everything the dialog may change and loads the fields.
  void Activate(TGeneralSheet* activeSheet);
  // "Cancel" and Escape: everything back as it was at activation.
  void Cancel();
  // "&Ok": the pages' fields that wait for it are applied, the document is
  // marked modified and its settings block stored.
  void Ok();
  // "Appl&y Globally": the working block and the default format become the
  // defaults for new sheets (on the Typeface page also the font).
  void ApplyGlobally();

  // ---- Changes that take effect at once ---------------------------------------------
  // The Option page's check boxes; `SetGridLine` takes bit 0 (horizontal),
  // bit 1 (vertical) or 4 for "Display &Solid".
  void SetShowZeros(bool on);
  void SetNegativeInColour(bool on);
  void SetBanding(bool on);
  void SetThreeD(bool on);
  void SetProtect(bool on);
  void SetAutoRecalc(bool on);
  void SetGridLine(int bit, bool on);
  void SetLabelAlignment(int alignment);
  void SetSheetsIndex(int index);
  // Advanced: separators that fail SeparatorsValid (SettingsFile.h) are
  // refused with a beep (false, nothing changed).
  bool SetSeparators(char argument, char thousands, char decimal);
  // `c` chosen in separator box `box`: a thousands separator chosen as the
  // decimal one, or the other way round, makes the two trade places (so
  // "," and "." can swap); the three then go through SetSeparators.
  bool ChooseSeparator(int box, char c);
  // What the box's list offers: its usual separators and the one it holds,
  // each only when ChooseSeparator takes it with the other two as they are,
  // so that a choice from the list is never refused.
  std::vector<char> SeparatorChoices(int box) const;
  void SetCurrency(const std::string& text, bool prefix);
  void SetProgramFlag(bool TProgramSettings::*flag, bool on);
  // Files: "&Clear" empties the recent-file list; a browsed name takes effect
  // at once.
  void ClearHistory();
  void SetAutoExec(const std::string& name);
  void SetToolMac(const std::string& name);
  // Color: the item picked loads its word; a change of the word's parts is
  // stored into the item's colour; Reset gives all seven their first values.
  void PickColourItem(int item);
  void SetColour(const TColourWord& word);
  void ResetColours();

  // The working block's colour word of `item`.
  static std::uint32_t& ColourOf(TSheetSettings& settings, int item);

 private:
  void Changed();
  // The format picked becomes the default format.
  void TakeDefaultFormat();
  TSheetSettings savedBlock_;
  TSheetSettings savedDefaults_;
  TProgramSettings savedProgram_;
  TFormatSettings savedFormats_;
  int savedGridLines_ = 0, savedSheets_ = 1, savedRowHeight_ = 0, savedColumnWidth_ = 0;
  bool savedThreeD_ = true;
  TSheetFont savedFont_;
};

}  // namespace corvane

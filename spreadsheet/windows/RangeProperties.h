// The "Properties" dialog as values: the display attributes it shows for the
// first cell of a range, which of its pages the user touched, and how Ok
// writes the touched pages into every cell of the range. The style bar's
// colour boxes use the same shade and text-colour rules.
#pragma once

#include <cstdint>
#include <string>

#include "spreadsheet/engine/Range.h"

namespace corvane {

inline constexpr const char* kPropertiesCaption = "Properties";
inline constexpr const char* kPropertiesPromptCaption = "PROPERTY : Specify Range";

// The pages, in the order of the list menu.
enum TPropertyPage : int { kPageFormat, kPageShade, kPageTypeface, kPagePrefix, kPageLock, kPageBorder };
inline constexpr int kPropertyPageCount = 6;

// Shade word of a cell without a shade of its own (bit 31; the RGB part is
// not shown).
inline constexpr std::uint32_t kDefaultShadeWord = 0x80000000u;

// The button groups' items.
enum TPrefixItem : int { kPrefixLeft, kPrefixCenter, kPrefixRight };
enum TBorderType : int { kBorderNone, kBorderSingle, kBorderThick };
enum TBorderApply : int { kApplyIn, kApplyOut, kApplyAll, kApplyClear };

// The border byte Ok gives the cell at (row, col) of `range` (corners in
// any order): the type's line mask (none 0, single $55, thick $AA) ANDed with
// the sides the apply item picks. A cell's own sides are bits 0-1 left
// (first column), 2-3 bottom (last row), 4-5 right (last column), 6-7 top
// (first row); "Out" keeps those, "In" the others, "All" every side, "Clear"
// none.
std::uint8_t BorderByte(const TRange& range, int row, int col, int type, int apply);

// The form size of ShowProperties(page): 304 x 296 with the list menu for a
// page of 0 or more; for -n-1 the size of page n alone (0 x 260 for a page
// that does not exist). `listWidth` is 64 with the list menu, else 0.
struct TPropertiesLayout {
  int page = 0;
  int listWidth = 64;
  int width = 304;
  int height = 296;
};
TPropertiesLayout PropertiesLayout(int page);

struct TRangeProperties {
  // Loaded by Activate from the range's first cell.
  TRange selection;       // the selection seen at activation
  std::string rangeText;  // "Range: "
  int format = 127;       // display format code
  std::uint32_t shade = 0xFFFFFF;  // RGB, red lowest
  bool defaultShade = false;       // "&Default": no shade, no text colour
  int textColour = 0;              // palette index 0-15
  bool protect = true;             // "&Enable" (true) or "&Disable"
  int font = 255;                  // font number; 255 the window's default
  int size = 0;                    // points; 0 the window's default
  int styleBits = 0;               // 1 bold, 2 italic, 4 underline
  std::string sampleText;          // the first cell's value text
  // Not loaded from the cell: Activate resets them.
  int prefix = kPrefixLeft;
  int borderType = kBorderNone;
  int borderApply = kApplyClear;
  // Bit n: page n was touched and is applied by Ok.
  std::uint8_t changed = 0;

  // Takes `currentSelection` as the range and reads its first corner's
  // attributes (a missing cell shows format 127, a white shade, text colour
  // 0, "&Enable" and the default font); clears the touched pages.
  void Activate(const TRange& currentSelection);
  void Touch(int page) { changed = static_cast<std::uint8_t>(changed | (1u << page)); }
  bool Touched(int page) const { return (changed >> page) & 1u; }
  // Ok: saves undo, then writes the touched pages into every editable cell
  // of the range field's range (missing cells are made unless protection is
  // on or the pages would leave them as new cells are), puts the selection
  // back and marks the sheet changed. False, changing nothing, when the
  // range field does not read (the error flag says why) or the pool ran out
  // ("Out of Memory" shown, the sheet put back).
  bool Apply() const;
};

// The style bar's colour boxes over every editable cell of `range`, undo
// saved first: an own fill colour (RGB), or the text colour's palette index.
bool RangeSetShade(const TRange& range, std::uint32_t rgb);
bool RangeSetTextColour(const TRange& range, int paletteIndex);

}  // namespace corvane

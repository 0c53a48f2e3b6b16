// The main frame's three text dialogs as values: the function list (built-in
// functions, user-defined functions or macro keywords, with incremental search
// and the pick handed to the entry line), the justify dialog (a range of
// labels reflowed into lines of a pixel width) and the word dialog (a column's
// cells edited as lines of a memo). The forms copy their controls to and from
// these values and supply the text measure.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "spreadsheet/engine/Range.h"

namespace corvane {

// ---- Function list -------------------------------------------------------------

inline constexpr const char* kFunctionListCaption = "Function List";
inline constexpr const char* kExternalFunctionsLine = "--External--";
inline constexpr std::size_t kFunctionListEntryChars = 15;
inline constexpr std::size_t kFunctionListSearchChars = 40;
inline constexpr std::size_t kFunctionListPickChars = 255;
inline constexpr int kMacroListEntries = 146;

enum TFunctionListMode { kFunctionListFunctions = 1, kFunctionListMacros = 2 };

struct TFunctionList {
  int mode = kFunctionListFunctions;
  std::vector<std::string> entries;
  int selected = -1;   // the list's selected entry, -1 for none
  std::string picked;  // empty when nothing was picked

  // "Functions" or "Macros".
  std::string Caption() const;
  // Fills the entries for the mode and clears the pick. Functions: "NOT(1)"
  // and the named built-in functions with their argument hint, sorted; then
  // "--External--" and the user-defined functions (the current document's and
  // the library's), sorted. Macros: the keyword table's first entries, in
  // table order. Entries are cut to 15 characters.
  void Build();
  // Selects the first entry that begins with `text` (upper-cased, at most 40
  // characters); the selection stays when none does. Gives the selection.
  int Search(std::string_view text);
  // A click on entry `index`: it becomes the selection and the pick.
  void Pick(int index);
};

// What picking `entry` gives: the entry up to and including its first "(",
// the whole entry when it has none; nothing for the "--External--" line.
std::string FunctionPickText(std::string_view entry);

// ---- Justify -------------------------------------------------------------------

inline constexpr const char* kJustifyCaption = "Justify";
inline constexpr const char* kJustifyPromptCaption = "\rJustify Range";
inline constexpr const char* kRangeTooSmallText = " RANGE to Small. Expand it!";
inline constexpr int kJustifyMaxCells = 500;
inline constexpr int kJustifyWidthUnit = 4;    // the width field counts units of 4 pixels
inline constexpr int kJustifyWidthMargin = 4;  // pixels a line keeps clear of the width

// The width of a text in pixels, in the font being justified.
using TTextWidthFn = std::function<int(std::string_view text)>;
// The width of a column of the active grid in pixels.
using TColumnPixelsFn = std::function<int(int col)>;

// Reflows `texts` into lines no wider than `usableWidth` pixels and shorter
// than 240 characters (so that a label holds each whole): texts are
// joined with one space (none when one side already has it); whenever the
// joined text is too wide, the longest fitting front (cut back to its last
// space when it has one, at least one character) becomes a line and the
// leading spaces of the rest are dropped. What is left at the end forms the
// last line, whole. Gathering stops once there are more than `maxLines`
// lines, so a result longer than `maxLines` means the lines do not fit.
std::vector<std::string> ReflowTexts(const std::vector<std::string>& texts, int usableWidth, std::size_t maxLines,
                                     const TTextWidthFn& width);

// Widens `line` towards `width` pixels by inserting single spaces after the
// spaces between its words, left to right and again, while it stays within
// the width (and 240 characters). A line ending in "." or without a space
// between words is returned as it is.
std::string PadLine(std::string line, int width, const TTextWidthFn& textWidth);

// The face and size (points) the range's first cell is drawn in.
struct TJustifyFont {
  std::string face;
  int size = 12;
};
struct TSheetFonts;
TJustifyFont JustifyFontFor(const TRange& range, const TSheetFonts& fonts);

// Justifies `range` of the current document into lines of `widthPixels`,
// padded when `pad` is set. The cells are read in column order (at most 500
// of them): a label without its prefix, any other cell as its contents text.
// False, changing nothing, when the lines need more cells than the range has
// (" RANGE to Small. Expand it!" is shown), or when a protected cell would
// take a line or keep text the lines carry ("Protected Cell" is shown), so
// that no text is lost or doubled.
// Otherwise the cells read are erased and the lines entered as labels with
// the default prefix, with one undo step for the whole.
bool JustifyRange(const TRange& range, int widthPixels, bool pad, const TTextWidthFn& width);

struct TJustifyDialog {
  std::string rangeText;  // "&Justify Range: "
  std::string widthText;  // "&Width: ", in units of 4 pixels
  bool pad = false;       // "&Pad:"
  TRange saved;           // the selection seen at activation
  bool reload = true;     // the next activation takes the selection again

  // On activation while reload is set: the selection becomes the saved
  // range and the range field, and the width is preset from its columns.
  void Activate(const TRange& selection, const TColumnPixelsFn& columnPixels);
  // The width field: the range's columns' widths in pixels, divided by 4.
  void PresetWidth(const TRange& range, const TColumnPixelsFn& columnPixels);
  // Leaving the width field: its text read as a formula, written back as the
  // number's general text (a text that gives no number stays).
  void SettleWidth();
  // The range prompt's text came back: into the field, and the width preset
  // again from it.
  void PromptDone(std::string_view text, const TColumnPixelsFn& columnPixels);
  // "&Ok": the range field read (the saved range when it is empty; false
  // with its error shown when it names none) and justified with the width
  // field times 4 pixels.
  bool Apply(const TTextWidthFn& width);
};

// ---- Word ----------------------------------------------------------------------

inline constexpr const char* kWordCaption = "Word";

struct TWordDialog {
  TRange selection;  // the selection seen at activation
  std::vector<std::string> lines;

  // One line per row of the selection (the cursor cell without one): the
  // contents text of the cell in its first column, empty for a missing cell.
  void Activate(const TRange& currentSelection);
  // Enters line i into the selection's first column at row first + i, also
  // past the selection's last row, up to the sheet's last row. A line the
  // cell refuses (protection) shows its message; the others are entered.
  // Rows below the last line are left as they are. Gives the number of lines
  // entered.
  int Apply() const;
};

}  // namespace corvane

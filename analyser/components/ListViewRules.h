// The rules of the analyser's report list views that need no window: the
// "smart" comparison of cell texts, sorting by clicked columns with pending
// re-sorts, the column layout kept in the registry, the extended styles,
// the common-controls version check, and the geometry of the sort arrows and
// header cells.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "classlib/Graphics.h"

namespace foldwick {

enum class TAutoColumnSort : std::uint8_t { acsNoSort, acsSort, acsSortToggle };
enum class TAutoSortStyle : std::uint8_t { assSmart, assDefault };

// The order of day, month and year in a date, as the user's locale writes it.
enum class TDateOrder : std::uint8_t { MDY, DMY, YMD };

// How the smart comparison reads texts.
struct TSmartLocale {
  char dateSeparator = '/';
  char timeSeparator = ':';
  char decimalSeparator = '.';
  TDateOrder dateOrder = TDateOrder::MDY;
  // The locale's case-sensitive comparison of two texts (<0, 0, >0); plain
  // byte order when empty.
  std::function<int(const std::string&, const std::string&)> compareText;
};

// A date, a time or both as days since 30 December 1899 (times as parts of
// a day); nothing for a text that is not one. A text holding the date
// separator is a date (with a time after a blank when it also holds the time
// separator); one holding only the time separator is a time.
std::optional<double> ReadDateTime(const std::string& text, const TSmartLocale& locale);
// A whole decimal number in the standard syntax (sign, digits, the locale's
// decimal separator, exponent); nothing otherwise.
std::optional<double> ReadNumber(const std::string& text, const TSmartLocale& locale);
// -1, 0 or 1: with assSmart two dates compare as dates, then two numbers as
// numbers; anything else compares as text.
int SmartCompare(const std::string& a, const std::string& b, TAutoSortStyle style, const TSmartLocale& locale);

// Sorting by columns: the column clicked last, the direction, and re-sorts
// asked for while updates are under way.
struct TListSortState {
  TAutoColumnSort autoColumnSort = TAutoColumnSort::acsNoSort;
  TAutoSortStyle autoSortStyle = TAutoSortStyle::assSmart;
  bool autoResort = true;
  bool autoSortAscending = true;
  bool ascending = true;
  int lastColumnClicked = -1;
  bool sortPending = false;
  int updateDepth = 1;

  // Before a click's own handling: with acsSortToggle the direction flips on
  // the column sorted last and starts at autoSortAscending on another.
  void PrepareClick(int column);
  // After it: whether the click sorts (automatic sorting and a column that
  // exists); the column becomes the last clicked either way.
  bool FinishClick(int column, int columnCount);
  // A re-sort is asked for: true when it runs now (automatic sorting, a
  // valid last column, no update under way); else it stays pending.
  bool Resort(int columnCount);
  void BeginUpdate() { ++updateDepth; }
  // True when the update ends with a re-sort pending that should run.
  bool EndUpdate(int columnCount);
  // A sort that starts now: clears the pending request.
  void SortStarted(int column) {
    sortPending = false;
    lastColumnClicked = column;
  }
};

// Column widths and orders as the registry keeps them: decimal numbers
// joined by ",". Reading counts a part that is not a number as 0.
std::string JoinNumbers(const std::vector<int>& numbers);
std::vector<int> SplitNumbers(const std::string& text);
// A saved column order used only when it is an order of exactly the
// columns 0..count-1; anything else gives the natural order.
std::vector<int> ValidColumnOrder(const std::vector<int>& order, int count);
// The column shown at display position `position` of `order` (the natural
// order when there is none or it does not reach that far).
int ColumnAtPosition(const std::vector<int>& order, int position);

// The twelve extended styles, in this order of bits.
enum TExtendedStyle : std::uint16_t {
  lvxGridLines = 1 << 0, lvxSubItemImages = 1 << 1, lvxCheckboxes = 1 << 2, lvxTrackSelect = 1 << 3,
  lvxHeaderDragDrop = 1 << 4, lvxFullRowSelect = 1 << 5, lvxOneClickActivate = 1 << 6,
  lvxTwoClickActivate = 1 << 7, lvxFlatScrollBar = 1 << 8, lvxInfoTip = 1 << 9, lvxUnderlineHot = 1 << 10,
  lvxUnderlineCold = 1 << 11
};
using TExtendedStyles = std::uint16_t;
// Underlined items need activation: cold underlining without one-click, or
// hot underlining without either activation, adds one-click activation.
TExtendedStyles NormalizeExtendedStyles(TExtendedStyles styles);

// Whether a library version (major, minor, build, revision) is at least
// `required`, compared part by part in that order.
using TFileVersion = std::array<std::uint16_t, 4>;
bool VersionAtLeast(const TFileVersion& version, const TFileVersion& required);

// The side of the square sort-arrow bitmaps for a font whose "Wy" is
// `textHeight` pixels tall: the height rounded up to even, less 6; 0 (no
// arrows) below 7 pixels.
int SortArrowSide(int textHeight);

enum class THeaderAlign : std::uint8_t { Left, Right, Center };

// Where a header cell's caption and sort arrow go.
struct THeaderCellLayout {
  classlib::TRect fill;      // the area filled
  classlib::TRect text;      // where the caption is drawn (clipped to the cell)
  bool arrow = false;        // the arrow fits and is drawn
  classlib::TPoint arrowAt;  // its top left
};
// `cell` is the header item's rectangle; a pressed cell moves its content by
// one pixel right and down. For the sorted column (with arrows shown) the
// arrow keeps its width plus 8 pixels free, on the left of right-aligned
// captions and on the right of others, and stands 8 pixels beside the
// caption, centred vertically, only when it fits in the cell.
THeaderCellLayout LayoutHeaderCell(const classlib::TRect& cell, bool pressed, THeaderAlign align, bool sorted,
                                   int arrowSide, int textWidth, int textHeight);

}  // namespace foldwick

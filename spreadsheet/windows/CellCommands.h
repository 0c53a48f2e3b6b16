// The quick bar's and the style bar's commands on the selection: Speed Fill,
// Speed @SUM, the bold, italic and underline toggles, the font, size and
// format boxes, and the sheet's protection toggle. Each reads the range it is
// given and changes cells through the engine, with undo saved first.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "spreadsheet/engine/Range.h"

namespace corvane {

// The sizes of the size box, smallest first.
const std::vector<int>& FontSizeSteps();

// Letters of the n-th column of a series from 0: "A" .. "Z", "AA" .. "ZZ",
// "AAA" ...; unlike column names it goes on past "IV".
std::string SeriesLetters(int n);

// Speed Fill of `selection` from its first cell: a one-letter label gives
// labels of successive column letters from that letter, row by row; any
// other label, or a formula, is copied into every cell; a number (or an
// empty cell, 0) starts a series with step 1, along the rows when the
// selection is at least as wide as it is tall, else down the columns. False
// when a cell was refused (the fill stops there).
bool SpeedFill(const TRange& selection);

// The formula Speed @SUM enters at the cursor for `selection`: the cursor's
// row is left out of a selection taller than wide, its column out of one
// wider than tall, both out of a square one (the summed part ends one before
// the cursor when it stands on the last line, else starts one after it). ""
// when nothing is left to sum (a single cell, row or column).
std::string SpeedSumFormula(const TRange& selection, int cursorRow, int cursorCol);
// Enters that formula into the cursor cell; false, changing nothing, when
// there is none or the entry was refused.
bool SpeedSum(const TRange& selection, int cursorRow, int cursorCol);

// Style bits: 1 bold, 2 italic, 4 underline. `on` sets or clears the bit on
// every editable cell of the range (a cell whose style bits counted as 0
// starts from none).
bool RangeSetStyleBit(const TRange& range, int bit, bool on);
// Font number (an index of the sheet's font list, 255 the window's default),
// size (points, 0 the window's default) and display format of the cells.
bool RangeSetFontNumber(const TRange& range, int font);
bool RangeSetFontSize(const TRange& range, int size);
// The size one step up or down the size box from `size` (kept at the ends).
int StepFontSize(int size, int direction);

// The format code of a format-box entry ("code,caption"); -1 when it has none.
int FormatBoxCode(std::string_view entry);

// "Ascend/Descend Sort": the rows of the selection sorted by its first
// column; the selection becomes the sort range and its first column the
// primary key. False when nothing was sorted.
bool SortSelection(const TRange& selection, bool ascending);

// "Quick Graph": the current graph takes its ranges from the selection (its
// first column the X range when it has more than one, each further column
// a series, at most six) and is stored as a new named graph; the named
// graph's index, or -1 when all 50 exist.
inline constexpr const char* kMaxGraphsText = "Max Graphs Exceeded";
int QuickGraph(const TRange& selection);

// Switches the current document's protection on or off; its new state.
bool ToggleProtection();

}  // namespace corvane

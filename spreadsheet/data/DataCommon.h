// What the data commands share: the checks they make before anything changes
// (ranges on the sheet, outputs apart from inputs, protected cells), reading
// cells as numbers and texts, writing results through cell entry, and the
// start and end of a command that changes cells.
//
// A command checks everything it can before it saves undo, so a refused
// command changes nothing and leaves the previous undo buffer in place.
#pragma once

#include <functional>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "spreadsheet/engine/CellStore.h"
#include "spreadsheet/engine/Range.h"

namespace corvane {

// Values whose sum of squared deviations is below this share of their sum of
// squares agree to 12 digits: the deviations are rounding, not data.
inline constexpr double kRoundingSpread = 1e-24;

// Values centred on their mean. A mean far from zero (x near 1e9 stepping by
// 0.001) is itself rounded; the mean of the deviations from it says by how
// much, and taking that correction off each deviation centres them on the
// true mean (mean + correction). Empty values give no deviations and 0s.
struct TCentred {
  double mean = 0, correction = 0;
  std::vector<double> deviations;
};
TCentred Centred(std::span<const double> values);

// Messages of the refusals the data commands share.
inline constexpr const char* kOverlapText = "Output Range Overlaps Input";
inline constexpr const char* kNotANumberText = "Not a Number";

// `range` with its corners in order.
TRange OrderedRange(TRange range);
// True for a valid range whose ordered corners lie on the sheet.
bool RangeOnSheet(const TRange& range);
// The block of `rows` by `cols` cells whose first corner is (row, col); it may
// run off the sheet (RangeOnSheet tells).
TRange BlockAt(int row, int col, int rows, int cols);
// True when two valid ranges share a cell (corners ordered first).
bool RangesOverlap(const TRange& a, const TRange& b);

// Refusals: each shows its message through the error box, leaves it on the
// error flag and returns false.
bool Refuse(std::string_view message);
// False ("Out of Range") unless `block` lies on the sheet.
bool CheckOnSheet(const TRange& block);
// False (kOverlapText) when `output` shares a cell with a valid input.
bool CheckApart(const TRange& output, std::initializer_list<TRange> inputs);
// While protection is on: false ("Protected Cell") when a cell of `block` is
// protected or missing, so a command that enters labels is refused with one
// message instead of one per cell.
bool CheckWritable(const TRange& block);

// Reads a dialog's range field: an empty text is an unset range; a text that
// names no range is refused with the parser's message ("Invalid Range" when
// it has none).
bool ReadRangeField(std::string_view text, TRange& range);

// A dialog's range field asks for its range on the prompt line, after a
// beep: `caption` is the prompt's caption; the prompt starts at the range the
// field's text names, or at `saved` when the text is empty or names none.
// `done` receives the text the prompt ends with (the accepted text, or the
// preset's text on cancel). False, starting nothing, while another prompt runs.
bool StartFieldPrompt(std::string_view caption, std::string_view fieldText, const TRange& saved,
                      std::function<void(std::string_view text)> done);

// After a dialog's command: makes `selection` (when set) the grid's selection
// again and repaints the sheet.
void RestoreSavedSelection(const TRange& selection);

// Saves undo before a command changes cells (a failed save has shown its own
// message; the command goes on, as typing does).
void BeginChange();
// After a command changed cells: marks the sheet modified and repaints it.
void EndChange();

// The cell at (row, col) as a number: numbers and numeric formulas give their
// value; missing and blank cells, labels and texts give 0; ERR gives -1.
double NumberAt(int row, int col);
// The value text of the cell at (row, col): the general text of a number, a
// label's stored text (prefix included), a text formula's result after a "'"
// prefix, "" for blank and missing cells; "ERR" for a cell holding ERR.
std::string CellValueText(int row, int col);

// Stores a number at (row, col) as the number entry does (dependents
// recalculate; a protected cell is skipped). False when nothing was stored.
bool WriteNumber(int row, int col, double x);
// Enters `text` at (row, col) as typed input. False when it was refused.
bool WriteText(int row, int col, std::string_view text);

}  // namespace corvane

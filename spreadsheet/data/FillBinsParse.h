// Three range commands: filling a range with a number series, counting the
// values of a column into frequency bins, and splitting labels that hold
// delimited text into the cells to their right. Each saves undo first and
// stores numbers through the number entry, so dependents recalculate.
#pragma once

#include "spreadsheet/engine/Range.h"

namespace corvane {

enum TFillType : int { kFillLinear = 1, kFillMultiply = 2, kFillPower = 3 };

// Fills every cell of `range` with the series start, start op step, ... where
// op is + (linear; any type other than 2 and 3), x (multiply) or the power
// rule, in row order (row by row) or column order. Stops at the first value
// that is not a number (an overflow, a failed power); protected cells are
// skipped. An unset range does nothing; a range off the sheet is refused
// ("Out of Range"), a start or step that is not finite "Not a Number"; when
// the pool fills up "Out of Memory" ends the fill. Progress is reported every
// 2048 cells. True when the fill ran.
bool DataFill(const TRange& range, int type, bool rowOrder, double step, double start);

// Counts the values of the first column of the settings' bin-values range
// into the bins of the first column of the bin-table range: each bin's count
// one column right of its bound, its share of the value range's rows two
// columns right, and below the last bin the rows left over: the values above
// every bin and the rows without a cell. With the settings' upper-included
// mode a bin holds prev < x <= bound, otherwise prev <= x < bound (the first
// bin has no lower bound). Every existing cell is a value (labels and blank
// cells as 0). Unset ranges do nothing; an output off the sheet or over the
// value column is refused. True when the counts were written.
bool DataBins();
// Stores both ranges in the settings and runs DataBins.
bool DataBinsRanges(const TRange& values, const TRange& bins);

// Splits each label of `range` as a delimited line (CellEntry's splitter) into
// successive cells of its row from the label's own cell. Labels are taken
// before anything is written, and a label that an earlier split of the same
// row overwrote is not split again. Refused ("Out of Range") when a line's
// fields would run past the last column, and ("Protected Cell") when a cell
// they fill is protected; nothing is written then. True when it ran.
bool DataParse(const TRange& range);

}  // namespace corvane

// The query command: copies the records of a database range that satisfy a
// criteria range into an output range.
//
// The database's first row holds field names (labels); its further rows are
// records. The criteria's first row names fields; each further row is one
// alternative, a set of conditions that must all hold (a criteria range of
// one row uses the row under it). A condition is the cell under a criteria
// name:
// - a formula, written against the first record and applied to each record
//   as if moved down with it, holds when it gives 1;
// - a number holds for a field of exactly that value (labels count as 0);
// - a label is a pattern for the field's text: "~" in front negates it, "?"
//   matches any one character, "*" ends it and matches any rest, "..." in
//   front matches a text that contains the rest in any letter case; anything
//   else must equal the text exactly;
// - an empty cell under a name holds for every record, a blank cell for a
//   record whose field cell exists;
// but an alternative whose first condition is empty selects nothing.
// Names compare as stored, label prefix included.
#pragma once

#include "spreadsheet/engine/Range.h"

namespace corvane {

inline constexpr int kQueryExtract = 2;

// Extract mode (2): for each alternative in turn, every matching record in
// input order is written as one output row, from the row under the output's
// first row: the fields named in the output's first row, packed from its
// first column in the order of the names the database holds (numbers as
// numbers, labels as typed text, text formulas by their result). The output's
// last row does not bound the output. The cells under the output names are
// cleared first: in the output's columns down to the sheet's last used row
// when the output is one row, else in the output's further rows. Other modes
// change nothing.
//
// An unset criteria, input or output range sounds a beep and does nothing.
// Refused, changing nothing: ranges off the sheet, and an output that would
// run off the sheet, cover (or clear) the database or the criteria, or enter
// (or clear) a protected cell. True when the output was written (possibly no
// rows).
bool DataQuery(const TRange& input, const TRange& criteria, const TRange& output, int mode);

}  // namespace corvane

// Sorting the rows of a data range by up to four key columns. The cell
// records of each row's segment (the data range's columns) move to their new
// row; cells left and right of the data range stay. Formulas inside the
// range keep referring to the same cell records and so move with their row;
// formulas outside it keep referring to the same addresses.
#pragma once

#include "spreadsheet/engine/Range.h"

namespace corvane {

inline constexpr int kSortKeyCount = 4;
inline constexpr const char* kInsufficientMemoryText = "Insufficient Memory";

// Program-wide sort state: one ascending flag per key (all set at start), and
// the data range of the last sort.
extern bool gSortAscending[kSortKeyCount];
extern TRange gLastSortedRange;

// Sorts the working settings' sort range by its keys: key 1 (the primary key
// range), then key 2 (the secondary key), 3 and 4 (the data ranges of the
// settings) while each is valid. Only the first column of a key range counts;
// it may lie outside the data range, and its cells then stay in place while
// the rows are ordered by their values.
//
// Order: numbers (and numeric formulas) first by value, then everything else
// by its text, compared byte by byte with the label prefix included (text
// formulas by their result; blank and missing cells as the empty text).
// Descending reverses the whole order. Rows equal in every key keep their order.
//
// Nothing happens when the data range or key 1 is not set. A range off the
// sheet is refused ("Out of Range"), as is a data range holding a protected
// cell while protection is on; memory that cannot be had gives "Insufficient
// Memory". A refusal changes nothing. True when the rows were sorted.
bool DataSort();

}  // namespace corvane

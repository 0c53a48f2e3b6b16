// The values of the array dialog (TMatrixDlg, caption "Array"): eight pages
// of range fields for the matrix operations and the linear program. The form
// copies its controls to and from a TMatrixDialogValues.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "spreadsheet/engine/Range.h"

namespace corvane {

enum TArrayPage : int {
  kArrayAdd = 0,
  kArraySubtract,
  kArrayMultiply,
  kArrayTranspose,
  kArrayInvert,
  kArraySolve,
  kArrayDeterminant,
  kArrayLinear,
  kArrayPageCount
};

// The page's word ("Add", "Subtract", "Multiply", "Transpose", "Invert",
// "ESolve", "Determinate", "Linear").
const char* ArrayPageWord(int page);
// "ARRAY: " and the page's word.
std::string ArrayDialogCaption(int page);
// The caption of a range prompt for the page's field of role `role`: the
// caption's text after its colon, then ": ", the role and " Range".
std::string ArrayPromptCaption(int page, std::string_view role);
// 180 pixels for pages 0 to 3, 143 for the others.
int ArrayPageHeight(int page);
// True for the pages with a second operand (Add, Subtract, Multiply).
inline bool ArrayPageHasSecond(int page) { return page >= kArrayAdd && page <= kArrayMultiply; }

struct TArrayFields {
  std::string first;   // "&First: " or "&Input: "
  std::string second;  // "&Second: " (pages 0 to 2)
  std::string output;  // "O&utput: "
};

struct TMatrixDialogValues {
  int page = kArrayAdd;
  TRange savedSelection;  // the grid's selection at the first activation
  std::array<TArrayFields, kArrayPageCount> fields;
};

// First activation: keeps `selection` as the saved selection; one of more
// than one cell presets the page's first field with its text.
void PresetArrayPage(TMatrixDialogValues& values, const TRange& selection);

// The page's Ok: reads the page's ranges (a bad text shows its message and
// nothing runs), makes the saved selection the grid's selection, runs the
// page's operation (which saves undo before it writes), then restores the
// selection and repaints. False when a field was refused or the operation
// refused.
bool ApplyArrayPage(const TMatrixDialogValues& values);

}  // namespace corvane

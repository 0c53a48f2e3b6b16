// The array dialog's values and its page operations.
#include "spreadsheet/data/MatrixDialog.h"

#include "spreadsheet/data/DataCommon.h"
#include "spreadsheet/data/LinearProgram.h"
#include "spreadsheet/data/MatrixOps.h"
#include "spreadsheet/engine/RangeText.h"
#include "spreadsheet/engine/WindowServices.h"

namespace corvane {

namespace {

constexpr const char* kWords[kArrayPageCount] = {"Add",    "Subtract", "Multiply",    "Transpose",
                                                 "Invert", "ESolve",   "Determinate", "Linear"};

}  // namespace

const char* ArrayPageWord(int page) { return kWords[page >= 0 && page < kArrayPageCount ? page : 0]; }

std::string ArrayDialogCaption(int page) { return std::string("ARRAY: ") + ArrayPageWord(page); }

std::string ArrayPromptCaption(int page, std::string_view role) {
  return std::string(" ") + ArrayPageWord(page) + ": " + std::string(role) + " Range";
}

int ArrayPageHeight(int page) { return page <= kArrayTranspose ? 180 : 143; }

void PresetArrayPage(TMatrixDialogValues& values, const TRange& selection) {
  values.savedSelection = selection;
  if (RangeIsMulti(selection)) values.fields[values.page].first = RangeText(OrderedRange(selection));
}

bool ApplyArrayPage(const TMatrixDialogValues& values) {
  const TArrayFields& f = values.fields[values.page];
  TRange first, second, output;
  for (auto [text, range] : {std::pair{&f.first, &first}, {&f.second, &second}, {&f.output, &output}}) {
    if (range == &second && !ArrayPageHasSecond(values.page)) continue;
    if (!ReadRangeField(*text, *range)) return false;
  }
  if (RangeIsValid(values.savedSelection)) WindowServices().SetGridSelection(values.savedSelection);
  bool ran = false;
  switch (values.page) {
    case kArrayAdd:
    case kArraySubtract:
      ran = MatrixAddSub(values.page == kArrayAdd ? kMatrixAdd : kMatrixSubtract, first, second, output);
      break;
    case kArrayMultiply:
      ran = MatrixMultiply(first, second, output);
      break;
    case kArrayTranspose:
      ran = MatrixTranspose(first, output);
      break;
    case kArrayInvert:
    case kArraySolve:
      ran = MatrixInvertSolve(values.page == kArrayInvert ? kMatrixInvert : kMatrixSolve, first, output);
      break;
    case kArrayDeterminant:
      ran = MatrixDetToCell(first, output);
      break;
    default:
      ran = LinearProgram(first, output);
      break;
  }
  RestoreSavedSelection(values.savedSelection);
  return ran;
}

}  // namespace corvane

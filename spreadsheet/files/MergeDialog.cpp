// The merge dialog's values and the merge they run.
#include "spreadsheet/files/MergeDialog.h"

#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/RangeText.h"
#include "spreadsheet/engine/ShowError.h"
#include "spreadsheet/files/WorksheetFile.h"

namespace corvane {

void TMergeDialog::Setup(std::string_view file, int mergeKind) {
  fileName = std::string(file);
  kind = mergeKind == kMergeByFormula ? kMergeByFormula : kMergeByValue;
  fill = true;
}

std::string TMergeDialog::Caption() const { return kind == kMergeByFormula ? "Merge by Formula" : "Merge Value"; }

void TMergeDialog::Activate(int cursorRow, int cursorCol) {
  if (!fill) return;
  fill = false;
  rangeNames.clear();
  ReadRangeNames(fileName, rangeNames);
  ClearErrorFlag();
  rangeChoice = rangeNames.empty() ? std::string() : rangeNames.front();
  wholeFile = true;
  targetText = CellAddrText(cursorRow, cursorCol, false, false);
  action = kMergeReplace;
}

void TMergeDialog::ChooseRange(std::string_view text) {
  rangeChoice = std::string(text);
  wholeFile = false;
}

int TMergeDialog::Mode() const {
  int combine = kind == kMergeByFormula ? kMergeReplace : action;
  if (combine < kMergeReplace || combine > kMergeDifference) combine = kMergeReplace;
  return kind * 4 + combine + kLoadMerge;
}

std::string TMergeDialog::RangeName() const {
  if (wholeFile) return "";
  // The list shows "NAME: RANGE"; the name ends at the ": ". A sheet letter's
  // colon has no blank after it, so a typed "B:A1..B:C5" stays whole.
  std::size_t end = rangeChoice.find(": ");
  return end == std::string::npos ? rangeChoice : rangeChoice.substr(0, end);
}

bool TMergeDialog::ReadTarget(int& row, int& col) const {
  bool absCol = false, absRow = false;
  ClearErrorFlag();
  if (ParseCellAddr(targetText, row, col, absCol, absRow)) return true;
  ShowError(ErrorMessage());
  ClearErrorFlag();
  return false;
}

bool TMergeDialog::Validate() const {
  int row = 0, col = 0;
  return ReadTarget(row, col);
}

bool TMergeDialog::Apply() const {
  int row = 0, col = 0;
  return ReadTarget(row, col) && LoadWorksheet(fileName, Mode(), row, col, RangeName());
}

}  // namespace corvane

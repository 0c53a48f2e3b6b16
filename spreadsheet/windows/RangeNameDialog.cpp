// The range-name dialog's logic over the engine's range-name table.
#include "spreadsheet/windows/RangeNameDialog.h"

#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/RangeNames.h"
#include "spreadsheet/engine/RangeText.h"

namespace corvane {

void TRangeNameDialog::Activate(const TRange& currentSelection) {
  selection = currentSelection;
  name.clear();
  rangeText = RangeToText(selection);
  LoadNames();
}

void TRangeNameDialog::LoadNames() {
  names.clear();
  for (int k = 1; k <= RangeNameCount(); ++k) names.push_back(RangeNameText(*RangeNameAt(k)));
}

std::string TRangeNameDialog::TotalText() const { return "Total: " + std::to_string(names.size()); }

void TRangeNameDialog::Pick(int index) {
  if (index < 0 || index >= static_cast<int>(names.size())) return;
  int entry = FindRangeName(names[static_cast<std::size_t>(index)]);
  if (entry == 0) return;
  name = names[static_cast<std::size_t>(index)];
  rangeText = RangeToText(RangeNameRange(*RangeNameAt(entry)));
}

bool TRangeNameDialog::Create() {
  TRange range;
  ClearErrorFlag();
  if (!ParseRange(rangeText, range) || !RangeIsValid(range) || RangeNameKey(name).empty()) return false;
  if (RangeNameCreate(name, range) == 0) return false;
  LoadNames();
  return true;
}

bool TRangeNameDialog::Delete() {
  if (RangeNameDelete(name) == 0) return false;
  LoadNames();
  name.clear();
  rangeText.clear();
  return true;
}

void TRangeNameDialog::Reset() {
  RangeNameReset();
  names.clear();
}

TRange TRangeNameDialog::PromptPreset() const {
  TRange range;
  if (!rangeText.empty() && ParseRange(rangeText, range) && RangeIsValid(range)) return range;
  ClearErrorFlag();
  return selection;
}

bool RangeNameBuildFromText(std::string_view rangeText) {
  TRange range;
  if (!ParseRange(rangeText, range) || !RangeIsValid(range)) return false;
  RangeNameBuild(range);
  return !ErrorFlagSet();
}

bool RangeNameTableFromText(std::string_view rangeText) {
  TRange range;
  if (!ParseRange(rangeText, range) || !RangeIsValid(range)) return false;
  return RangeNameTable(range, [](int row, int col, std::string_view text) { return EnterCell(text, row, col); });
}

}  // namespace corvane

// The data dialog's values: presets, validation and the page commands.
#include "spreadsheet/data/DataDialog.h"

#include <cmath>

#include "spreadsheet/data/CurveFit.h"
#include "spreadsheet/data/DataCommon.h"
#include "spreadsheet/data/DataSort.h"
#include "spreadsheet/data/FillBinsParse.h"
#include "spreadsheet/data/Query.h"
#include "spreadsheet/data/Regression.h"
#include "spreadsheet/data/WhatIf.h"
#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/DocumentTable.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/EngineHelpers.h"
#include "spreadsheet/engine/Evaluator.h"
#include "spreadsheet/engine/NumberText.h"
#include "spreadsheet/engine/RangeText.h"
#include "spreadsheet/engine/WindowServices.h"

namespace corvane {

namespace {

constexpr TDataPageInfo kPages[kDataPageCount] = {
    {"FILL", 242, 220},   {"SORT", 232, 250},     {"QUESTION", 242, 174},     {"BIN", 198, 180},
    {"PARSE", 208, 99},   {"GOAL", 198, 203},     {"REGRESS", 208, 190},      {"MULTIREGRESS", 308, 214},
    {"TABLE", 242, 178},  {"FORM", 212, 115}};

// The page's field that the selection presets.
std::string* PresetField(TDataDialogValues& v) {
  switch (v.page) {
    case kPageFill: return &v.fillOutput;
    case kPageSort: return &v.sortData;
    case kPageQuestion: return &v.queryInput;
    case kPageBin: return &v.binInput;
    case kPageParse: return &v.parseInput;
    case kPageGoal: return &v.goalInput;
    case kPageRegress: return &v.regressX;
    case kPageMultiRegress: return &v.fitX;
    case kPageTable: return &v.tableInput1;
    default: return &v.formRange;
  }
}

// The mode indicator while the goal seek runs.
constexpr const char* kWaitModeText = " WAIT! ";
constexpr int kWaitModeColour = 79;

bool ReadNumber(const std::string& text, double& x) {
  ClearCalcError();
  std::string result;
  x = EvaluateFormulaText(text, result);
  bool ok = !text.empty() && !ErrorFlagSet() && result.empty() && std::isfinite(x);
  ClearCalcError();
  return ok || Refuse(kNotANumberText);
}

}  // namespace

const TDataPageInfo& DataPageInfo(int page) { return kPages[page >= 0 && page < kDataPageCount ? page : 0]; }

std::string DataDialogCaption(int page) { return std::string("Data: ") + DataPageInfo(page).word; }

std::string DataPromptCaption(int page, std::string_view name) {
  return std::string(" ") + DataPageInfo(page).word + ":" + std::string(name) + " Range";
}

void DataPageSize(int page, int pixelsPerInch, int& width, int& height) {
  const TDataPageInfo& info = DataPageInfo(page);
  width = info.width;
  height = info.height;
  if (pixelsPerInch > 0 && pixelsPerInch != 96) {
    width = width * pixelsPerInch / 96;
    height = height * pixelsPerInch / 96;
  }
}

void PresetDataPage(TDataDialogValues& v, const TRange& selection) {
  v.savedSelection = selection;
  for (int form = 0; form < 9; ++form)
    for (int k = 0; k < 3; ++k) v.terms[form][k] = (gFitMasks[form] >> k & 1u) != 0;
  for (int k = 0; k < kSortKeyCount; ++k) v.sortAscending[k] = gSortAscending[k];
  v.binUpperIncluded = gCurrentDoc.settings.binsUpperIncluded != 0;
  if (!RangeIsMulti(selection)) return;
  *PresetField(v) = RangeText(OrderedRange(selection));
  if (v.page == kPageGoal) {
    TRange r = OrderedRange(selection);
    v.goalDesire = RealToGeneralText(NumberAt(r.lastRow, r.lastCol));
  }
}

void SettleValueField(std::string& text) {
  ClearCalcError();
  std::string result;
  double x = EvaluateFormulaText(text, result);
  if (!text.empty() && !ErrorFlagSet() && result.empty() && std::isfinite(x)) text = RealToGeneralText(x);
  ClearCalcError();
}

void DataDialogDeactivated() {
  if (int slot = CurrentDocSlot(); slot != 0) StoreSlotSettings(slot);
}

void ResetDataPage(TDataDialogValues& v) {
  if (v.page == kPageSort) {
    v.sortData.clear();
    for (std::string& key : v.sortKeys) key.clear();
  } else if (v.page == kPageQuestion) {
    v.queryInput.clear();
    v.queryCriteria.clear();
    v.queryOutput.clear();
  }
}

namespace {

// Reads the page's fields and runs its command.
TDataApply RunDataPage(TDataDialogValues& v) {
  TSheetSettings& settings = gCurrentDoc.settings;
  TRange a, b, c;
  switch (v.page) {
    case kPageFill: {
      double start = 0, step = 0;
      if (!ReadRangeField(v.fillOutput, a) || !ReadNumber(v.fillStart, start) || !ReadNumber(v.fillStep, step))
        return TDataApply::kRefused;
      v.fillStart = RealToGeneralText(start);
      v.fillStep = RealToGeneralText(step);
      DataFill(a, v.fillType, v.fillByRow, step, start);
      return TDataApply::kRan;
    }
    case kPageSort: {
      TRange keys[kSortKeyCount];
      if (!ReadRangeField(v.sortData, a)) return TDataApply::kRefused;
      for (int k = 0; k < kSortKeyCount; ++k)
        if (!ReadRangeField(v.sortKeys[k], keys[k])) return TDataApply::kRefused;
      for (int k = 0; k < kSortKeyCount; ++k) gSortAscending[k] = v.sortAscending[k];
      settings.savedRanges[kRangeSort] = a;
      settings.savedRanges[kRangePrimaryKey] = keys[0];
      settings.savedRanges[kRangeSecondaryKey] = keys[1];
      settings.dataRanges[kDataRangeSortKey3] = keys[2];
      settings.dataRanges[kDataRangeSortKey4] = keys[3];
      DataSort();
      return TDataApply::kRan;
    }
    case kPageQuestion:
      if (!ReadRangeField(v.queryInput, a) || !ReadRangeField(v.queryCriteria, b) || !ReadRangeField(v.queryOutput, c))
        return TDataApply::kRefused;
      settings.savedRanges[kRangeQueryInput] = a;
      settings.savedRanges[kRangeQueryCriteria] = b;
      settings.savedRanges[kRangeQueryOutput] = c;
      DataQuery(a, b, c, kQueryExtract);
      return TDataApply::kRan;
    case kPageBin:
      if (!ReadRangeField(v.binInput, a) || !ReadRangeField(v.binOutput, b)) return TDataApply::kRefused;
      settings.binsUpperIncluded = v.binUpperIncluded ? 1 : 0;
      DataBinsRanges(a, b);
      return TDataApply::kRan;
    case kPageParse:
      if (!ReadRangeField(v.parseInput, a)) return TDataApply::kRefused;
      DataParse(a);
      return TDataApply::kRan;
    case kPageGoal: {
      double desired = 0, tolerance = 0;
      if (!ReadRangeField(v.goalInput, a) || !ReadRangeField(v.goalOutput, b) || !ReadNumber(v.goalDesire, desired) ||
          !ReadNumber(v.goalTolerance, tolerance))
        return TDataApply::kRefused;
      TWindowServices& windows = WindowServices();
      windows.SetModeIndicator(kWaitModeText, kWaitModeColour);
      DataGoalSeek(a, b, tolerance, desired);
      DefaultBeep();
      windows.ShowReadyMode();
      return TDataApply::kRan;
    }
    case kPageRegress:
    case kPageMultiRegress: {
      bool fit = v.page == kPageMultiRegress;
      if (!ReadRangeField(fit ? v.fitX : v.regressX, a) || !ReadRangeField(fit ? v.fitY : v.regressY, b) ||
          !ReadRangeField(fit ? v.fitOutput : v.regressOutput, c))
        return TDataApply::kRefused;
      settings.dataRanges[kDataRangeRegressX] = a;
      settings.dataRanges[kDataRangeRegressY] = b;
      settings.dataRanges[kDataRangeRegressOutput] = c;
      if (!fit) {
        DataRegress(a, b, c);
        return TDataApply::kRan;
      }
      for (int form = 0; form < 9; ++form) {
        gFitMasks[form] &= ~7u;
        for (int k = 0; k < 3; ++k) gFitMasks[form] |= v.terms[form][k] ? 1u << k : 0u;
      }
      DataMultiRegress();
      return TDataApply::kRan;
    }
    case kPageTable: {
      if (!ReadRangeField(v.tableInput1, a) || !ReadRangeField(v.tableInput2, b) || !ReadRangeField(v.tableOutput, c))
        return TDataApply::kRefused;
      settings.savedRanges[kRangeWhatIfInput1] = a;
      settings.savedRanges[kRangeWhatIfInput2] = b;
      settings.savedRanges[kRangeWhatIfTable] = c;
      if (!RangeIsValid(a)) return TDataApply::kNothing;
      DataTable(RangeIsValid(b) ? 2 : 1);
      return TDataApply::kRan;
    }
    default:
      if (!ReadRangeField(v.formRange, a)) return TDataApply::kRefused;
      if (!RangeIsValid(a)) return TDataApply::kNothing;
      v.formTarget = a;
      return TDataApply::kOpenForm;
  }
}

}  // namespace

TDataApply ApplyDataPage(TDataDialogValues& v) {
  TDataApply result = RunDataPage(v);
  if (result != TDataApply::kRefused) RestoreSavedSelection(v.savedSelection);
  return result;
}

}  // namespace corvane

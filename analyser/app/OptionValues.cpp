// The options dialog's values, their checks and how they are applied.
#include "analyser/app/OptionValues.h"

#include <algorithm>

#include "analyser/app/ScanRules.h"

namespace foldwick {

namespace {
// The filter keeps at most this many patterns.
constexpr int kMaxFilterPatterns = 63;
// A checked column no wider than this is too narrow to see and is widened.
constexpr int kHiddenColumnWidth = 2;
constexpr int kShownColumnWidth = 90;
constexpr char kUserDefined[] = "User Defined";
}  // namespace

std::int64_t ClusterSizeOfItem(const std::string& item) {
  std::int64_t size = 0;
  bool digits = false;
  for (char c : item.substr(0, item.find('B'))) {
    if (c == ' ' && !digits) continue;
    if (c < '0' || c > '9') break;
    digits = true;
    size = size * 10 + (c - '0');
    if (size > 1 << 30) return 0;
  }
  return size;
}

bool BoldFactorKeyAllowed(char key) {
  const auto k = static_cast<unsigned char>(key);
  return !((k >= 32 && k <= 47) || k > 57);
}

void TOptionValues::Validate() {
  unitType = std::clamp(unitType, kUnitMB, kUnitKB);
  decimals = std::clamp(decimals, 0, 3);
  boldFactor = std::clamp(boldFactor, 0, 100);
  clusterChoice = std::clamp(clusterChoice, 0, kClusterSizeItemCount - 1);
}

TOptionValues OptionValuesFrom(const TViewSettings& view, bool chartToolBar, bool showErrors,
                               const std::vector<std::string>& columnCaptions, const std::vector<int>& columnWidths) {
  TOptionValues v;
  v.unitType = view.Format.unitType;
  v.decimals = view.Format.decimals - 1;
  v.boldFactor = view.BoldFactor;
  v.showFiles = view.ShowFiles;
  v.chartToolBar = chartToolBar;
  for (const std::string& p : view.FilterPatterns) v.filterText += (v.filterText.empty() ? "" : " ") + p;
  v.showErrors = showErrors;
  for (size_t i = 0; i < columnCaptions.size(); ++i)
    v.columns.push_back({columnCaptions[i], i < columnWidths.size() && columnWidths[i] > kHiddenColumnWidth});
  v.Validate();
  return v;
}

TOptionChanges ApplyOptionValues(const TOptionValues& values, TViewSettings& view, std::vector<int>& columnWidths) {
  TOptionChanges changes;
  changes.displayChanged = values.unitType != view.Format.unitType || values.decimals + 1 != view.Format.decimals ||
                           values.boldFactor != view.BoldFactor;
  changes.showFilesChanged = values.showFiles != view.ShowFiles;
  view.SetUnitType(values.unitType);
  view.SetDecimals(values.decimals + 1);
  view.BoldFactor = values.boldFactor;
  view.ShowFiles = values.showFiles;
  view.FilterPatterns = SplitFilterPatterns(values.filterText, kMaxFilterPatterns);
  for (size_t i = 0; i < values.columns.size() && i < columnWidths.size(); ++i) {
    if (!values.columns[i].visible)
      columnWidths[i] = 0;
    else if (columnWidths[i] <= kHiddenColumnWidth)
      columnWidths[i] = kShownColumnWidth;
  }
  return changes;
}

TRootOption RootOptionOf(bool scan, const TOptionChanges& changes) {
  if (scan) return TRootOption::kRescan;
  if (changes.displayChanged) return TRootOption::kRefreshTexts;
  if (changes.showFilesChanged) return TRootOption::kApplyShowFiles;
  return TRootOption::kNothing;
}

void ApplyClusterChoice(int clusterChoice, std::string& fileSystem, std::int64_t& clusterSize) {
  const std::int64_t size = clusterChoice > 0 && clusterChoice < kClusterSizeItemCount
                                ? ClusterSizeOfItem(kClusterSizeItems[clusterChoice])
                                : 0;
  if (size == 0) {
    if (fileSystem == kUserDefined) fileSystem.clear();
    return;
  }
  clusterSize = size;
  fileSystem = kUserDefined;
}

}  // namespace foldwick

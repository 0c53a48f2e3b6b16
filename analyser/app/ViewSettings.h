// The display and scan settings that the folder statistics and the scan read:
// one set for the program, kept by the main window and changed on the main
// thread only. A scan copies what it needs when it starts.
#pragma once

#include <string>
#include <vector>

#include "analyser/app/FolderValues.h"

namespace foldwick {

constexpr int kSortByName = 1;
constexpr int kSortBySize = 2;
constexpr int kNoSorting = 3;

struct TViewSettings {
  int ShowType = kViewSize;  // the current view type
  int SortType = kSortBySize;
  int BoldFactor = 15;       // percent of the root's clusters; 100 or more: no bold
  int MinimumExpandSize = 10;
  bool ShowFiles = true;     // make "<Files>" nodes
  int ExpandLevel = 0;       // levels to expand when a scan ends (below 2: one)
  TValueFormat Format;       // unit type, decimals, number format, padding
  // The filter patterns in order (at most 63); "*" alone by default.
  std::vector<std::string> FilterPatterns{"*"};

  // Decimals as stored (decimals shown plus one), kept within 1 to 4.
  void SetDecimals(int decimals);
  // Unit type 0 to 2; anything else becomes MB.
  void SetUnitType(int unitType);
};

TViewSettings& ViewSettings();

}  // namespace foldwick

// The program's one settings object.
#include "analyser/app/ViewSettings.h"

#include <algorithm>

namespace foldwick {

void TViewSettings::SetDecimals(int decimals) { Format.decimals = std::clamp(decimals, 1, 4); }

void TViewSettings::SetUnitType(int unitType) {
  Format.unitType = unitType >= kUnitMB && unitType <= kUnitKB ? unitType : kUnitMB;
}

TViewSettings& ViewSettings() {
  static TViewSettings settings;
  return settings;
}

}  // namespace foldwick

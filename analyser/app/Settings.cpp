// The settings table: names in write order, ranges and reading with defaults.
#include "analyser/app/Settings.h"

#include <climits>

#include "analyser/app/CommandLine.h"

namespace foldwick {

namespace {

struct TSettingDef {
  const char* name;
  int TFoldwickSettings::*number;  // null for a truth value
  bool TFoldwickSettings::*flag;
  int low;
  int high;
};

using S = TFoldwickSettings;

// In the order they are written at close. "Maximized" comes last: the window
// state is taken at close like the rest and would be lost unwritten.
constexpr TSettingDef kSettings[] = {
    {"SortType", &S::SortType, nullptr, 1, 3},
    {"ShowType", &S::ShowType, nullptr, 1, 3},  // views 4 and 5 open as 1
    {"UnitType", &S::UnitType, nullptr, 0, 2},
    {"Width", &S::Width, nullptr, 200, 32767},
    {"Height", &S::Height, nullptr, 150, 32767},
    {"Top", &S::Top, nullptr, -32000, 32000},
    {"Left", &S::Left, nullptr, -32000, 32000},
    {"Decimals", &S::Decimals, nullptr, 1, 4},
    {"MarginLeft", &S::MarginLeft, nullptr, 0, 20000},
    {"MarginTop", &S::MarginTop, nullptr, 0, 20000},
    {"MarginBot", &S::MarginBot, nullptr, 0, 20000},
    {"MarginRight", &S::MarginRight, nullptr, 0, 20000},
    {"Charttype", &S::Charttype, nullptr, INT_MIN, INT_MAX},
    {"BarHorzGap", &S::BarHorzGap, nullptr, 0, 1000},
    {"Splitter", &S::Splitter, nullptr, 30, 32767},
    {"BoldFactor", &S::BoldFactor, nullptr, 0, 1000},
    {"MinimumExpandSize", &S::MinimumExpandSize, nullptr, 0, INT_MAX},
    {"ToolBar1Width", &S::ToolBar1Width, nullptr, 0, 32767},
    {"ShowFiles", nullptr, &S::ShowFiles, 0, 0},
    {"ChartTool", nullptr, &S::ChartTool, 0, 0},
    {"ShowErrors", nullptr, &S::ShowErrors, 0, 0},
    {"SplitFileAndPath", nullptr, &S::SplitFileAndPath, 0, 0},
    {"IncludeHeader", nullptr, &S::IncludeHeader, 0, 0},
    {"ToolBarBreak", nullptr, &S::ToolBarBreak, 0, 0},
    {"Maximized", nullptr, &S::Maximized, 0, 0},
};
static_assert(sizeof kSettings / sizeof kSettings[0] == kSettingCount);

}  // namespace

TFoldwickSettings ReadSettings(TSettingsStore& store, const TFoldwickSettings& defaults) {
  TFoldwickSettings s = defaults;
  for (const TSettingDef& def : kSettings) {
    std::optional<std::string> text = store.Read(def.name);
    int value = 0;
    if (!text || !ParseWholeNumber(*text, value)) continue;
    if (def.flag != nullptr)
      s.*def.flag = value != 0;
    else if (value >= def.low && value <= def.high)
      s.*def.number = value;
  }
  return s;
}

void WriteSettings(TSettingsStore& store, const TFoldwickSettings& settings) {
  for (const TSettingDef& def : kSettings)
    store.Write(def.name, def.flag != nullptr ? (settings.*def.flag ? "1" : "0")
                                              : std::to_string(settings.*def.number));
}

const char* SettingName(int index) { return index >= 0 && index < kSettingCount ? kSettings[index].name : nullptr; }

}  // namespace foldwick

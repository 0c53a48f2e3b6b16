// The settings the analyser keeps between runs: 25 values under the current
// user's "Software\Brassel Software\Kestrum Professional", integers as
// decimal strings and truth values as "0" or "1". Reading takes the default
// for a value that is missing, does not read as a number or lies outside its
// range; writing goes in one fixed order.
#pragma once

#include <optional>
#include <string>

namespace foldwick {

// The registry key of the settings below HKEY_CURRENT_USER.
constexpr char kSettingsKey[] = "Software\\Brassel Software\\Kestrum Professional";

// Where settings are read from and written to: named string values.
class TSettingsStore {
 public:
  virtual ~TSettingsStore() = default;
  // The value, or nothing when it is missing.
  virtual std::optional<std::string> Read(const std::string& name) = 0;
  virtual void Write(const std::string& name, const std::string& value) = 0;
};

struct TFoldwickSettings {
  int SortType = 2;
  int ShowType = 1;
  int UnitType = 0;
  int Width = 780;
  int Height = 540;
  int Left = 40;
  int Top = 30;
  int Decimals = 2;
  int MarginLeft = 800;
  int MarginTop = 800;
  int MarginBot = 800;
  int MarginRight = 800;
  int Charttype = 0x4505;
  int BarHorzGap = 80;
  int Splitter = 222;
  int BoldFactor = 15;
  int MinimumExpandSize = 10;
  int ToolBar1Width = 400;
  bool ShowFiles = true;
  bool ChartTool = false;
  bool ShowErrors = true;
  bool SplitFileAndPath = true;
  bool IncludeHeader = true;
  bool ToolBarBreak = true;
  bool Maximized = false;

  bool operator==(const TFoldwickSettings&) const = default;
};

// Reads every setting; `defaults` gives the value of each one that is
// missing or invalid (the window's design bounds, the chart's type and the
// first tool-bar band's width are only known to the caller).
TFoldwickSettings ReadSettings(TSettingsStore& store, const TFoldwickSettings& defaults);

// Writes every setting in the order the program has always written them.
void WriteSettings(TSettingsStore& store, const TFoldwickSettings& settings);

// The name of the n-th value of the write order (0 to 24); null past the end.
const char* SettingName(int index);
constexpr int kSettingCount = 25;

}  // namespace foldwick

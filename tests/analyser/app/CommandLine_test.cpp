// The command line as actions, and the settings read with defaults and
// written in order.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "analyser/app/CommandLine.h"
#include "analyser/app/Settings.h"

namespace foldwick {
namespace {

// One action per line: the kind's letter and what matters for it.
std::string Describe(const std::vector<TCommandAction>& actions) {
  std::ostringstream out;
  for (const TCommandAction& a : actions) {
    switch (a.Kind) {
      case TCommandAction::kScanSharedIdList: out << "shared " << a.Handle << ":" << a.ProcessId; break;
      case TCommandAction::kScanVerbPath: out << "verb " << a.Path; break;
      case TCommandAction::kScanPath:
        out << "scan " << a.Path;
        if (a.PendingAction != kActionNone) out << " action" << a.PendingAction << "=" << a.ActionFile;
        break;
      case TCommandAction::kSetExpandLevel: out << "expand " << a.Level; break;
      case TCommandAction::kOpenSearch: out << "search"; break;
      case TCommandAction::kBrowseFolder: out << "browse"; break;
    }
    out << "|";
  }
  return out.str();
}

TEST(CommandLine, EverySwitchBecomesItsAction) {
  struct Row {
    std::vector<std::string> params;
    const char* actions;
  } rows[] = {
      {{}, ""},
      {{"C:\\Data"}, "scan C:\\Data|"},
      {{"/expand", "3", "d:\\"}, "expand 3|scan d:\\|"},
      // No number after /EXPAND: level 99, and the next parameter is a path.
      {{"/EXPAND", "c:\\x"}, "expand 99|scan c:\\x|"},
      {{"/Expand"}, "expand 99|"},
      {{"/SAVE", "r.txt", "C:\\", "D:\\"}, "scan C:\\ action2=r.txt|scan D:\\ action2=r.txt|"},
      {{"/excel", "a.xls", "C:\\", "/print", "D:\\"}, "scan C:\\ action1=a.xls|scan D:\\ action3=a.xls|"},
      // A switch that needs a file, at the end, changes nothing.
      {{"C:\\", "/SAVE"}, "scan C:\\|"},
      {{"/EXCEL"}, ""},
      {{"/none", "C:\\"}, "scan C:\\|"},
      {{"/SEARCH"}, "search|"},
      {{"/CONTEXT"}, "browse|"},
      {{"/CONTEXT", "C:\\"}, "scan C:\\|"},
      {{"C:\\", "/CONTEXT"}, "scan C:\\|browse|"},
      // The Explorer's verb: the shared form, then its path, then the loop
      // over every parameter for when neither leads to a folder.
      {{"/idlist", ":1234:5678", "C:\\Temp"},
       "shared 1234:5678|verb C:\\Temp|scan /idlist|scan :1234:5678|scan C:\\Temp|"},
      // An address is never read: only the path remains.
      {{"/IDLIST", ",3735928559", "C:\\Temp"}, "verb C:\\Temp|scan /IDLIST|scan ,3735928559|scan C:\\Temp|"},
      {{"/idlist", ":12:", "x"}, "verb x|scan /idlist|scan :12:|scan x|"},
      {{"/idlist", ":99999999999:1", "x"}, "verb x|scan /idlist|scan :99999999999:1|scan x|"},
      {{"/idlist"}, "scan /idlist|"},
  };
  for (const Row& r : rows) {
    std::string joined;
    for (const auto& p : r.params) joined += p + " ";
    EXPECT_EQ(Describe(ParseCommandLine(r.params)), r.actions) << joined;
  }
}

TEST(CommandLine, WholeNumbers) {
  struct Row {
    const char* text;
    bool ok;
    int value;
  } rows[] = {{"12", true, 12},  {"-7", true, -7}, {"+3", true, 3},         {"", false, 0},
              {"3x", false, 0},  {"-", false, 0},  {"2147483647", true, 2147483647},
              {"2147483648", false, 0}, {"-2147483648", true, -2147483647 - 1}, {" 1", false, 0}};
  for (const Row& r : rows) {
    int value = 0;
    EXPECT_EQ(ParseWholeNumber(r.text, value), r.ok) << r.text;
    if (r.ok) {
      EXPECT_EQ(value, r.value) << r.text;
    }
  }
}

class TMapStore : public TSettingsStore {
 public:
  std::map<std::string, std::string> values;
  std::vector<std::string> writes;
  std::optional<std::string> Read(const std::string& name) override {
    auto it = values.find(name);
    if (it == values.end()) return std::nullopt;
    return it->second;
  }
  void Write(const std::string& name, const std::string& value) override {
    writes.push_back(name);
    values[name] = value;
  }
};

TEST(Settings, MissingOrInvalidValuesTakeTheDefault) {
  TFoldwickSettings defaults;
  defaults.Width = 700;
  defaults.Charttype = 0x4505;
  TMapStore empty;
  EXPECT_EQ(ReadSettings(empty, defaults), defaults);

  TMapStore store;
  store.values = {{"SortType", "3"},  {"ShowType", "5"},     {"UnitType", "7"},       {"Width", "900"},
                  {"Decimals", "0"},  {"Top", "-20"},        {"BoldFactor", "-1"},    {"Splitter", "12"},
                  {"ShowFiles", "0"}, {"ChartTool", "yes"},  {"Maximized", "1"},      {"Charttype", "8"},
                  {"MinimumExpandSize", "250"}, {"Height", "12abc"}, {"ToolBarBreak", "2"}};
  TFoldwickSettings s = ReadSettings(store, defaults);
  EXPECT_EQ(s.SortType, 3);
  EXPECT_EQ(s.ShowType, 1);  // views 4 and 5 are not kept over a restart
  EXPECT_EQ(s.UnitType, 0);
  EXPECT_EQ(s.Width, 900);
  EXPECT_EQ(s.Height, defaults.Height);
  EXPECT_EQ(s.Decimals, 2);
  EXPECT_EQ(s.Top, -20);
  EXPECT_EQ(s.BoldFactor, 15);
  EXPECT_EQ(s.Splitter, 222);
  EXPECT_FALSE(s.ShowFiles);
  EXPECT_FALSE(s.ChartTool);
  EXPECT_TRUE(s.Maximized);
  EXPECT_TRUE(s.ToolBarBreak);
  EXPECT_EQ(s.Charttype, 8);
  EXPECT_EQ(s.MinimumExpandSize, 250);
}

TEST(Settings, WrittenInOrderAndReadBack) {
  TFoldwickSettings s;
  s.SortType = 1;
  s.UnitType = 2;
  s.Left = -8;
  s.Charttype = 0x4502;
  s.IncludeHeader = false;
  s.Maximized = true;
  TMapStore store;
  WriteSettings(store, s);
  const std::vector<std::string> order = {
      "SortType",   "ShowType",    "UnitType",   "Width",       "Height",    "Top",
      "Left",       "Decimals",    "MarginLeft", "MarginTop",   "MarginBot", "MarginRight",
      "Charttype",  "BarHorzGap",  "Splitter",   "BoldFactor",  "MinimumExpandSize", "ToolBar1Width",
      "ShowFiles",  "ChartTool",   "ShowErrors", "SplitFileAndPath", "IncludeHeader", "ToolBarBreak", "Maximized"};
  EXPECT_EQ(store.writes, order);
  EXPECT_EQ(store.values["IncludeHeader"], "0");
  EXPECT_EQ(store.values["Charttype"], std::to_string(0x4502));
  EXPECT_EQ(ReadSettings(store, TFoldwickSettings{}), s);
}

}  // namespace
}  // namespace foldwick

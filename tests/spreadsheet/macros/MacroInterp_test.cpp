// The interpreter run against the real engine: macro texts and the cells,
// keys and host calls they leave.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/FormulaText.h"
#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/FormatSettings.h"
#include "spreadsheet/engine/FormulaCompiler.h"
#include "spreadsheet/engine/FunctionHost.h"
#include "spreadsheet/engine/TextRoutines.h"
#include "spreadsheet/files/PrintEngine.h"
#include "spreadsheet/files/SettingsFile.h"
#include "spreadsheet/files/WorksheetFile.h"
#include "spreadsheet/files/WorksheetFileState.h"
#include "spreadsheet/engine/InsertDelete.h"
#include "spreadsheet/engine/RangeArguments.h"
#include "spreadsheet/engine/RangeEdit.h"
#include "spreadsheet/engine/RangeNames.h"
#include "spreadsheet/graphs/NamedGraphs.h"
#include "spreadsheet/macros/MacroCompiler.h"
#include "spreadsheet/macros/MacroInterp.h"
#include "tests/spreadsheet/files/TempFolder.h"
#include "tests/spreadsheet/macros/MacroTestSupport.h"

namespace corvane::testing {
namespace {

class TFakeInterpHost : public TMacroHost {
 public:
  std::vector<std::string> calls;
  std::optional<std::string> answer = "typed";
  int menuChoice = 1;
  std::vector<std::string> menuItems, menuDescriptions;
  std::string menuTitle;
  std::function<void()> onMenu;  // what the user does while the menu waits
  int zoom = 0;
  void ExitProgram() override { calls.push_back("exit"); }
  void PrintSheet(int mode) override { calls.push_back("print " + std::to_string(mode)); }
  void PrintGraph(int index) override { calls.push_back("graph " + std::to_string(index)); }
  std::string PickOpenFile(std::string_view, std::string_view) override { return "123.TXT"; }
  std::function<void()> onOpen;  // what opening a worksheet does to the engine
  void OpenWorksheet(std::string_view name) override {
    calls.push_back("open " + std::string(name));
    if (onOpen) onOpen();
  }
  void SetZoom(int percent) override { zoom = percent; }
  void SetSheetPages(int pages) override { calls.push_back("pages " + std::to_string(pages)); }
  void SetDefaultSizes(int rowHeight, int columnWidth) override {
    calls.push_back("sizes " + std::to_string(rowHeight) + "," + std::to_string(columnWidth));
  }
  void ShowBar(int bar, bool on) override { calls.push_back("bar " + std::to_string(bar) + (on ? " on" : " off")); }
  void GotoCell(int row, int col) override { calls.push_back("goto " + std::to_string(row) + "," + std::to_string(col)); }
  void Beep() override { calls.push_back("beep"); }
  void Tone(int f, int ms) override { calls.push_back("tone " + std::to_string(f) + "," + std::to_string(ms)); }
  void FreezeTitles(int mode, int row, int col) override {
    calls.push_back("freeze " + std::to_string(mode) + "," + std::to_string(row) + "," + std::to_string(col));
  }
  bool RunCommand(std::string_view name) override {
    calls.push_back("command " + std::string(name));
    return true;
  }
  void PlayWave(std::string_view name, int mode) override {
    calls.push_back("sound " + std::string(name) + "," + std::to_string(mode));
  }
  std::optional<std::string> InputBox(std::string_view caption) override {
    calls.push_back("ask " + std::string(caption));
    return answer;
  }
  int MacroMenu(const std::vector<std::string>& items, const std::vector<std::string>& descriptions,
                std::string_view title) override {
    menuItems = items;
    menuDescriptions = descriptions;
    menuTitle = std::string(title);
    if (onMenu) onMenu();
    return menuChoice;
  }
};

class MacroInterpTest : public MacroTest {
 protected:
  void SetUp() override {
    MacroTest::SetUp();
    SetMacroHost(&host);
  }
  // Runs the macro to its end as the pump does: keys are gathered, commands
  // carried out.
  std::string Pump() {
    std::string keys;
    while (MacroState().running) {
      int b = MacroNextByte();
      if (b == 0) break;
      if (b == 20)
        MacroExecCommand();
      else
        keys += static_cast<char>(b);
    }
    return keys;
  }
  std::string RunText(std::string_view text) {
    EXPECT_TRUE(MacroStartText(text));
    return Pump();
  }
  std::string RunAt(int row, int col) {
    EXPECT_TRUE(MacroStartAt(row, col));
    return Pump();
  }
  void Enter(int row, int col, std::string_view text) { ASSERT_TRUE(EnterCell(text, row, col)) << text; }
  std::string Shown(int row, int col) { return CellContentsText(CellFind(row, col)); }
  int Count(std::string_view call) { return static_cast<int>(std::count(host.calls.begin(), host.calls.end(), call)); }

  TFakeInterpHost host;
};

TEST_F(MacroInterpTest, TextMacrosLeaveTheirCells) {
  struct Row {
    const char* macro;
    const char* cell;  // A1's contents text afterwards
  };
  const Row rows[] = {
      {"{LET A1 2+3}", "5"},
      {"{LET A1 \"hello\"}", "'hello"},
      {"{LET A1 \"12\"}", "'12"},  // a string stays a label
      {"{LET A1 TRUE}", "'TRUE"},
      {"{LET A1 B1*2}", "14"},
      {"{FOR A1 1 3 1}{BEEP}{NEXT}", "3"},
      {"{FOR A1 5 1 -2}{NEXT}", "1"},
      {"{IF 0}{LET A1 1}", ""},
      {"{IF 1}{LET A1 1}", "1"},
      {"{LET A1 1}{QUIT}{LET A1 2}", "1"},
      {"{BLANK A1}", ""},
      {"{COPY B1 A1}", "7"},
      {"{LET A1 1}{RESTART}{RETURN}{LET A1 2}", "2"},  // an empty stack stays empty
      {"{LET A1 @IF(B1>3,\"big\",\"small\")}", "'big"},  // a function's arguments stay apart
      {"{LET A1 @SUM(B1,B1,1)}", "15"},
      {"{FOR A1 5 1 0}{NEXT}", "5"},  // a zero step from above the end runs once
  };
  for (const Row& row : rows) {
    Enter(0, 1, "7");
    RangeErase(TRange{0, 0, 0, 0});
    host.calls.clear();
    gShownErrors.clear();
    EXPECT_EQ(RunText(row.macro), "") << row.macro;
    EXPECT_EQ(Shown(0, 0), row.cell) << row.macro;
    EXPECT_FALSE(MacroState().running);
  }
}

TEST_F(MacroInterpTest, CommandsReadOnlyTheirOwnArguments) {
  // A missing argument reads empty and never the next command's bytes;
  // surplus ones are dropped, never typed.
  struct Row {
    const char* macro;
    const char* a1;  // A1 and B1 afterwards
    const char* b1;
    const char* keys;
    std::vector<std::string> calls;
  };
  const Row rows[] = {
      {"{LET A1}{LET B1,2}", "0", "2", "", {}},
      {"{LET A1 1 2 3}x{LET B1 4 5}", "1", "4", "x", {}},
      {"{BEEP 1 2 3}x", "", "", "x", {"beep"}},
      {"{TONE 440}{BEEP}", "", "", "", {"tone 440,0", "beep"}},
      {"{GOTO}{BEEP}", "", "", "", {"goto 0,0", "beep"}},
      {"{INRANGE}y{UPDATE now}z", "", "", "yz", {}},
      {"{INRANGE x y}", "", "", "x\ry\r", {}},  // its arguments are played as keys
      {"{COPY B1}{LET A1 9 9}", "9", "", "", {}},
      {"{IF 1 2}{LET A1 3}", "3", "", "", {}},
  };
  for (const Row& row : rows) {
    RangeErase(TRange{0, 0, 1, 0});
    host.calls.clear();
    EXPECT_EQ(RunText(row.macro), row.keys) << row.macro;
    EXPECT_EQ(Shown(0, 0), row.a1) << row.macro;
    EXPECT_EQ(Shown(0, 1), row.b1) << row.macro;
    EXPECT_EQ(host.calls, row.calls) << row.macro;
  }

  // A command short of arguments at a line's end leaves the next line whole.
  PutLabel(4, 0, "'{LET B5}");
  PutLabel(5, 0, "'{LET C5 7}w");
  EXPECT_EQ(RunAt(4, 0), "w");
  EXPECT_EQ(Shown(4, 1), "0");
  EXPECT_EQ(Shown(4, 2), "7");
}

TEST_F(MacroInterpTest, ControlFlowAcrossCells) {
  // A1: the main line; C1: a subroutine that counts B1 up and stops at 3.
  PutLabel(0, 0, "'{LET B1 0}{WHILE B2 C1}{LET D1 B1}");
  PutLabel(0, 2, "'{LET B1 B1+1}{IF B1<3}{RETURN}");
  PutLabel(1, 2, "'{LET B2 0}{RETURN}");
  Enter(1, 1, "1");
  EXPECT_EQ(RunAt(0, 0), "");
  EXPECT_EQ(Shown(0, 3), "3");
  EXPECT_EQ(Shown(1, 1), "0");
  EXPECT_TRUE(gShownErrors.empty());

  // WHILE runs only for exactly 1; BRANCH to a bad reference is a syntax error.
  Enter(1, 1, "2");
  PutLabel(4, 0, "'{WHILE B2 C1}{BRANCH ZZZ99999}");
  EXPECT_EQ(RunAt(4, 0), "");
  ASSERT_EQ(gShownErrors.size(), 1u);
  EXPECT_EQ(gShownErrors[0], "Error:Syntax Error:A5");

  // IF skips to the next line; NEXT without FOR goes on; CLRSCR stops.
  gShownErrors.clear();
  PutLabel(6, 0, "'{IF 0}x");
  PutLabel(7, 0, "'y{NEXT}z");
  PutLabel(8, 0, "'{CLRSCR}w");
  EXPECT_EQ(RunAt(6, 0), "yz");
  ASSERT_EQ(gShownErrors.size(), 2u);
  EXPECT_EQ(gShownErrors[0], "Error:NEXT without FOR");
  EXPECT_EQ(gShownErrors[1], "Error:Syntax Error:A9");
}

TEST_F(MacroInterpTest, UserCommandsReachTheHost) {
  host.answer = "42";
  EXPECT_EQ(RunText("{GOTO C4}{BEEP}{TONE 440 100}{BORDER 3 B2}{BORDER 4 B2}{UNDO}{PLAYWAVE \"A.WAV\" 2}"
                    "{GETNUMBER \"Size?\" A1}{GETLABEL Name A2}"),
            "");
  std::vector<std::string> expected = {"goto 3,2", "beep", "tone 440,100", "freeze 3,1,1", "command Undo",
                                       "sound A.WAV,2", "ask Size?", "ask Name"};
  EXPECT_EQ(host.calls, expected);
  EXPECT_EQ(Shown(0, 0), "42");
  EXPECT_EQ(Shown(1, 0), "'42");

  // A box closed without Ok leaves the cells as they were.
  host.answer = std::nullopt;
  Enter(0, 0, "7");
  Enter(1, 0, "'keep me");
  RunText("{GETNUMBER \"Size?\" A1}{GETLABEL Name A2}");
  EXPECT_EQ(Shown(0, 0), "7");
  EXPECT_EQ(Shown(1, 0), "'keep me");
}

TEST_F(MacroInterpTest, ArgumentsThatDoNotEvaluateStopWithTheirAddress) {
  struct Row {
    const char* macro;
    const char* error;
  };
  const Row rows[] = {
      {"'{LET B11 @SUM(A1,}", "Error:Syntax Error:A11"},
      {"'{IF @IF(1,}{LET B11 1}", "Error:Syntax Error:A11"},
      {"'{WRITELN 0 @STR(A1,}", "Error:Syntax Error:A11"},
  };
  for (const Row& row : rows) {
    gShownErrors.clear();
    PutLabel(10, 0, row.macro);
    EXPECT_EQ(RunAt(10, 0), "") << row.macro;
    EXPECT_EQ(gShownErrors, std::vector<std::string>{row.error}) << row.macro;
    EXPECT_EQ(Shown(10, 1), "") << row.macro;
  }

  // ONERROR: the error goes on at the trap cell instead, once; NUL clears it.
  gShownErrors.clear();
  PutLabel(12, 0, "'{ONERROR C13}{LET B13 @SUM(A1,}");
  PutLabel(12, 2, "'{LET D13 1}{CLRSCR}");
  EXPECT_EQ(RunAt(12, 0), "");
  EXPECT_EQ(Shown(12, 3), "1");
  EXPECT_EQ(gShownErrors, std::vector<std::string>{"Error:Syntax Error:C13"});
  gShownErrors.clear();
  PutLabel(14, 0, "'{ONERROR C13}{ONERROR NUL}{CLRSCR}");
  EXPECT_EQ(RunAt(14, 0), "");
  EXPECT_EQ(gShownErrors, std::vector<std::string>{"Error:Syntax Error:A15"});
}

TEST_F(MacroInterpTest, ChangesMarkTheSheetModified) {
  // Commands that change cells mark the sheet as typing does; moving about,
  // sounds and control flow do not.
  struct Row {
    const char* macro;
    bool marks;
  };
  const Row rows[] = {
      {"{LET A1 1}", true},         {"{GETNUMBER \"n\" A1}", true}, {"{FOR A1 1 2 1}{NEXT}", true},
      {"{COPYVAL B1 C1}", true},    {"{GOTO B2}{BEEP}", false},       {"{IF 0}{LET A1 1}", false},
  };
  host.answer = "3";
  for (const Row& row : rows) {
    windows.modifiedMarks = 0;
    RunText(row.macro);
    EXPECT_EQ(windows.modifiedMarks > 0, row.marks) << row.macro;
  }
}

TEST_F(MacroInterpTest, MenuOffersTheRowAndBranchesBelowTheChoice) {
  for (int c = 0; c < 20; ++c) PutLabel(0, c, "'item" + std::to_string(c));
  PutLabel(1, 0, "'first");
  PutLabel(2, 1, "'{LET Z1 2}");
  host.menuChoice = 2;
  EXPECT_EQ(RunText("{MENUBRANCH A1}"), "");
  EXPECT_EQ(host.menuItems.size(), 15u);
  EXPECT_EQ(host.menuDescriptions[0], "*  first");
  EXPECT_EQ(host.menuDescriptions[1], "");
  EXPECT_EQ(Shown(0, 25), "2");

  // A menu at the right edge whose Esc branch leaves the sheet ends the macro.
  PutLabel(10, 255, "'last");
  host.menuChoice = 2;
  EXPECT_EQ(RunText("{MENUBRANCH IV11}"), "");
  EXPECT_FALSE(MacroState().running);

  // Ctrl+Break while the menu waits closes it (as cancelled): no branch, and
  // "Break!" names the menu's line.
  PutLabel(4, 25, "'{MENUBRANCH A1}");
  host.onMenu = [] { MacroBreak(); };
  host.menuChoice = 16;
  gShownErrors.clear();
  EXPECT_EQ(RunAt(4, 25), "");
  EXPECT_EQ(gShownErrors, std::vector<std::string>{"Error:Break! Z5"});
}

TEST_F(MacroInterpTest, FileCommandsWriteAndReportResults) {
  TTempFolder folder;
  std::filesystem::path dir = folder.Path();
  std::string file = (dir / "OUT.TXT").string();
  Enter(0, 1, "'" + file);
  RunText("{OPEN 0 2 B1}{WRITELN 0 \"one\"}{WRITE 0 \"two\"}{OPEN 0 3 B1}{WRITE 0 \"3\"}{CLOSE 0}");
  std::stringstream bytes;
  {
    std::ifstream in(file, std::ios::binary);
    bytes << in.rdbuf();
  }
  EXPECT_EQ(bytes.str(), "one\r\ntwo3");
  Enter(0, 0, "4.6");
  RunText("{OPEN 0 2 B1}{WRITELN 0 @STR(A1,0)}{CLOSE 0}");
  {
    std::ifstream in(file, std::ios::binary);
    std::stringstream line;
    line << in.rdbuf();
    EXPECT_EQ(line.str(), "5\r\n");  // a function of two arguments
  }
  EXPECT_EQ(TakeIoResult(), 0);

  struct Row {
    const char* macro;
    int result;
  };
  const Row rows[] = {
      {"{OPEN 1 1 \"/no/such/file.txt\"}", kIoFileNotFound},
      {"{OPEN 6 1 B1}", kIoBadHandle},
      {"{WRITE -1 \"x\"}", kIoBadHandle},
      {"{WRITE 2 \"x\"}", kIoFileNotOpen},
      {"{CLOSE 5}", kIoFileNotOpen},
  };
  for (const Row& row : rows) {
    RunText(row.macro);
    EXPECT_EQ(TakeIoResult(), row.result) << row.macro;
  }
  EXPECT_TRUE(gShownErrors.empty());
  MacroCloseFiles();
}

TEST_F(MacroInterpTest, RunningLineFollowsInsertedRows) {
  AddKeptRangesVisitor(ForEachMacroRange);
  PutLabel(0, 0, "'{INSERTROW A1..A2}");
  PutLabel(1, 0, "'{LET B9 1}");
  EXPECT_EQ(RunAt(0, 0), "");
  EXPECT_EQ(Shown(8, 1), "1");
  SetKeptRangesVisitor(nullptr);
}

TEST_F(MacroInterpTest, RangeCopyAndMatrixFamilies) {
  Enter(0, 0, "2");
  Enter(0, 1, "3");
  RunText("{RANGECREATE \"LONGNAMEOF12\" A1..B1}{COPYSCALE A1..B1 A3 10}{COPYVAL A1 C5}{MATADD A1..B1 A1..B1 A7}"
          "{RANGERESET}{RANGECREATE TWO B1}");
  EXPECT_EQ(Shown(2, 0), "20");
  EXPECT_EQ(Shown(2, 1), "30");
  EXPECT_EQ(Shown(4, 2), "2");
  EXPECT_EQ(Shown(6, 1), "6");
  EXPECT_EQ(FindRangeName("LONGNAMEOF12"), 0);  // reset
  EXPECT_GT(FindRangeName("TWO"), 0);
}

TEST_F(MacroInterpTest, GraphAndViewCommands) {
  ASSERT_TRUE(GraphInitDocument());
  RunText("{GRAPHNAME 0 \"first\"}{GRAPHTYPE 2 O}{GRAPHSCALE 1 \"M,L0,U100,D5\"}{GRAPHOPTIONS 2 \"S2\"}"
          "{GRAPHOPTIONS 7 \"S,GB\"}{GRAPHFONT 0 \"Courier New Extra Wide Face,20,BI,4\"}{GRAPHSERIES 1 A1..A4}"
          "{GRAPHHEADING 0 Sales}");
  TGraphRecord g = CurrentGraph();
  EXPECT_EQ(g.Type(), kGraphPolar);
  EXPECT_TRUE(g.YManual());
  EXPECT_EQ(g.YLower(), 0);
  EXPECT_EQ(g.YUpper(), 100);
  EXPECT_EQ(g.YDivisions(), 5);
  EXPECT_EQ(g.XDivisions(), 1);
  EXPECT_EQ(g.LineStyle(2), 3);
  EXPECT_EQ(g.Options(), 3);
  EXPECT_EQ(g.FontName(1), "Courier New Extra Wi");
  EXPECT_EQ(g.FontSize(1), 20);
  EXPECT_EQ(g.FontStyle(1), 3);
  EXPECT_EQ(g.TextColour(1), 4);
  EXPECT_EQ(g.Name(), "FIRST");
  EXPECT_EQ(g.SeriesRange(1), (TRange{0, 0, 0, 3}));
  EXPECT_EQ(g.Heading(1), "Sales");

  RunText("{GRAPHTYPE 3 W}");
  EXPECT_EQ(CurrentGraph().Type(), kGraphWall3D);
  RunText("{GRAPHTYPE 2 o}");
  EXPECT_EQ(CurrentGraph().Type(), kGraphWall3D);

  RunText("{VIEWZOOM 500}");
  EXPECT_EQ(host.zoom, 200);
  RunText("{VIEWZOOM 5}{VIEW Q1S0}");
  EXPECT_EQ(host.zoom, 20);
  EXPECT_EQ(host.calls, (std::vector<std::string>{"bar 1 on", "bar 3 off"}));
}

TEST_F(MacroInterpTest, GeneralCommandsChangeTheWorkingSettings) {
  RunText("{GENCOLOR 0 1 255 1}{GENCOLOR 6 0 16 3}{GENCOLOR 7 1 1 1}{GENOPTION \"Z,ZN,AN,C,NY\"}"
          "{GENADV \"CPEU\"}{GENADV T}{GENFORMAT F2}");
  const TSheetSettings& s = gCurrentDoc.settings;
  EXPECT_EQ(s.labelColour, 0x810000FFu);
  EXPECT_EQ(s.backgroundColour, 0xC0000010u);
  EXPECT_EQ(s.hideZeros, 1);
  EXPECT_EQ(s.manualRecalc, 1);
  EXPECT_EQ(s.labelPrefix, '^');
  EXPECT_EQ(s.negativeInColour, 1);
  EXPECT_EQ(FormatSettings().Curr, "EU");
  EXPECT_EQ(FormatSettings().GForm, FormatCodeToByte("F2"));

  // Separators the settings file could not keep, or that clash, change nothing.
  RunText("{GENADV D1}{GENADV \"A;\"}{GENADV \"T=\"}{GENADV T.}{GENADV D,}{GENADV \"A.\"}{GENADV \"T_\"}");
  EXPECT_EQ(FormatSettings().Period, '.');
  EXPECT_EQ(ArgumentSeparator(), ',');
  EXPECT_EQ(ProgramSettings().Sep, ',');
  EXPECT_EQ(FormatSettings().Comma, '_');
  Enter(5, 5, "12");
  EXPECT_EQ(Shown(5, 5), "12");
  FormatSettings().Comma = ',';

  // Pages, default sizes and the two further switches; values a sheet
  // cannot take change nothing.
  host.calls.clear();
  RunText("{GENOPTION \"D3,D8,O90,W-5,W24,O2147483647,IY,UN\"}");
  EXPECT_EQ(host.calls, (std::vector<std::string>{"pages 8", "sizes -1,90", "sizes 24,-1"}));
  EXPECT_EQ(s.dist, 1);
  EXPECT_FALSE(ProgramSettings().Undo);
  ProgramSettings().Undo = true;
}

// Every character as the argument and as the decimal separator: GENADV
// takes exactly the sets the settings accept, a refused one keeps all three,
// and with any accepted set every kind of formula can still be typed, reads
// back as it shows, and can be typed by a macro.
TEST_F(MacroInterpTest, EverySeparatorTheSettingsTakeKeepsFormulasTypable) {
  struct TFormula {
    const char* typed;  // ";" stands for the argument separator, "_" for the decimal one
    double value;
  } formulas[] = {
      {"@MOD(7;3)", 1},           {"@SUM(A1..A3;5)", 20},   {"+A2/2", 5},      {"+$A$1*3^2-1", 17},
      {"+50%*A1+3!", 7},          {"_5+A1", 2.5},           {"1_5E+3/A2", 150}, {"@ROUND(1_26;1)", 1.3},
      {"@IF(A1>=2#AND#A3<>1;@LENGTH(\"y;\"&\"es\");0)", 4}, {"+B:A1+A:A2", 10},
  };
  auto spell = [](std::string text, char argument, char decimal) {
    for (char& c : text) c = c == ';' ? argument : c == '_' ? decimal : c;
    return text;
  };
  auto value = [](int row, int col) {
    bool error = false;
    double x = CellNumber(CellPtr(CellFind(row, col)), error);
    return error ? -999.0 : x;
  };
  for (int code = 1; code < 256; ++code) {
    const char c = static_cast<char>(code);
    for (bool asArgument : {true, false}) {
      const char argument = asArgument ? c : c == ',' ? '|' : ',';
      const char thousands = asArgument || c == '.' ? ',' : '.';
      const char decimal = asArgument ? '.' : c;
      const bool valid = SeparatorsValid(argument, thousands, decimal);
      SCOPED_TRACE(std::string(asArgument ? "argument " : "decimal ") + std::to_string(code));
      ProgramSettings().Sep = asArgument ? ',' : argument;
      FormatSettings().Comma = thousands;
      InitParserCharSets(ProgramSettings().Sep, '.');
      RunText(std::string("{GENADV +\"") + (asArgument ? 'A' : 'D') + "\"&@CHR(" + std::to_string(code) + ")}");
      EXPECT_EQ(ArgumentSeparator(), valid ? argument : ProgramSettings().Sep);
      EXPECT_EQ(DecimalSeparator(), valid ? decimal : '.');
      EXPECT_EQ(FormatSettings().Comma, thousands);
      if (!valid) continue;
      ASSERT_EQ(ProgramSettings().Sep, argument);

      gCurrentDoc.settings.rowsPerSheet = 4096;  // two sheets: addresses carry their sheet letter
      Enter(0, 0, "2");
      Enter(1, 0, "10");
      Enter(2, 0, "3");
      for (const TFormula& f : formulas) {
        const int row = static_cast<int>(&f - formulas);
        const std::string typed = spell(f.typed, argument, decimal);
        ASSERT_TRUE(EnterCell(typed, row, 2)) << typed;
        EXPECT_NEAR(value(row, 2), f.value, 1e-12) << typed;
        // What the cell shows reads back to the same formula.
        const std::string shown = Shown(row, 2);
        ASSERT_TRUE(EnterCell(shown, row, 3)) << shown;
        EXPECT_EQ(Shown(row, 3), shown);
        EXPECT_NEAR(value(row, 3), f.value, 1e-12) << shown;
        // A macro types it as keys and sets it with LET.
        EXPECT_EQ(RunText(typed + "~"), typed + kMacroEnter);
        const std::string let = "{LET E1" + std::string(1, argument) + typed + "}";
        RunText(let);
        EXPECT_NEAR(value(0, 4), f.value, 1e-12) << let;
      }
      // Numbers and labels typed as entries stay numbers and labels.
      Enter(0, 5, spell("1_5", argument, decimal));
      Enter(1, 5, spell("-_25", argument, decimal));
      EXPECT_EQ(value(0, 5), 1.5);
      EXPECT_EQ(value(1, 5), -0.25);
      for (const char* label : {"'abc", "^mid", "\\-", "\"right", "|x"}) {
        Enter(2, 5, label);
        EXPECT_EQ(Shown(2, 5), label);
      }
      EXPECT_EQ(MacroCompile("{?}").find(kMacroSyntaxErrorCode), std::string::npos);
      EXPECT_EQ(MacroCompile("{BRANCH \\A}").find(kMacroSyntaxErrorCode), std::string::npos);
      gCurrentDoc.settings.rowsPerSheet = kRowsPerWorksheet;
    }
  }
  ProgramSettings().Sep = ',';
  FormatSettings().Comma = ',';
  InitParserCharSets(',', '.');
}

TEST_F(MacroInterpTest, DataCommandsStoreTheirRangesAndRun) {
  Enter(0, 0, "3");
  Enter(1, 0, "1");
  Enter(2, 0, "2");
  // Nine arguments: the data range and four keys with their orders; NUL
  // leaves a key out. The command after it runs normally.
  RunText("{DATASORT A1..A3 A1 0 NUL 1 NUL 1 NUL 1}{DATAFILL B1..B3 10 5 2 1}{LET C1 1}");
  EXPECT_EQ(Shown(0, 0), "3");
  EXPECT_EQ(Shown(2, 0), "1");
  EXPECT_EQ(gCurrentDoc.settings.savedRanges[kRangeSort], (TRange{0, 0, 0, 2}));
  EXPECT_EQ(gCurrentDoc.settings.savedRanges[kRangeSecondaryKey].firstCol, -1);
  EXPECT_EQ(Shown(2, 1), "250");
  EXPECT_EQ(Shown(0, 2), "1");
  EXPECT_TRUE(gShownErrors.empty());
}

TEST_F(MacroInterpTest, FileCommandsSaveMergeAndExit) {
  TTempFolder folder;
  std::filesystem::path dir = folder.Path();
  const std::string one = (dir / "ONE").string();
  RunText("{LET A1 5}{FILESAVEAS \"" + one + "\" 0}{FILEDOC 0 \"Budget\"}{FILEPICK \"*.TXT\" \"\" B1}" +
          "{FILEMERGE \"" + one + "\" D1 \"\" F}{FILEEXIT 0}{LET C1 1}");
  EXPECT_TRUE(std::filesystem::exists(dir / "ONE.WKS"));
  EXPECT_EQ(CurrentFileState().info.title, "Budget");
  EXPECT_EQ(Shown(0, 1), "'123.TXT");
  EXPECT_EQ(Shown(0, 3), "5");
  EXPECT_EQ(Shown(0, 2), "");  // nothing runs after FILEEXIT
  EXPECT_EQ(host.calls, (std::vector<std::string>{"exit"}));

  // The file of another open document is not written, whatever the macro
  // names it.
  const int home = CurrentDocSlot();
  const std::string two = (dir / "TWO.WKS").string();
  OpenCurrent(DocumentFileName(two));
  ASSERT_TRUE(ActivateDocumentContext(home));
  gShownErrors.clear();
  RunText("{FILESAVEAS \"" + (dir / "two").string() + "\" 0}{LET C1 2}");
  EXPECT_FALSE(std::filesystem::exists(two));
  EXPECT_EQ(gShownErrors, std::vector<std::string>{"Error:" + DocumentFileName(two) + kOpenElsewhereText}) << "shown once";
  EXPECT_EQ(Shown(0, 2), "2") << "the macro goes on";
}

TEST_F(MacroInterpTest, LinesComeFromTheDocumentTheMacroStartedIn) {
  // The opened worksheet becomes current and holds lines of its own where the
  // macro's next ones stand.
  int other = 0;
  const int home = CurrentDocSlot();
  // The host opens the file, or brings the open document to the front.
  host.onOpen = [&] {
    if (host.calls.back() == "open MACRO.WKS") {
      ActivateDocumentContext(home);
      return;
    }
    other = OpenCurrent("ATTACK.WKS");
    PutLabel(1, 0, "'{LET C1 \"attack\"}");
    PutLabel(2, 0, "'evil");
  };
  PutLabel(0, 0, "'{FILEOPEN \"ATTACK\"}");
  PutLabel(1, 0, "'{LET B1 \"home\"}{FILEOPEN \"macro.wks\"}{LET B2 \"again\"}");
  PutLabel(2, 0, "'ok");
  EXPECT_EQ(RunAt(0, 0), "ok");
  // The commands acted on the current document: the opened one, then the
  // one brought to the front.
  EXPECT_EQ(host.calls, (std::vector<std::string>{"open ATTACK.WKS", "open MACRO.WKS"}));
  ASSERT_EQ(CurrentDocSlot(), home);
  EXPECT_EQ(Shown(1, 1), "'again");
  EXPECT_EQ(Shown(0, 2), "");
  ASSERT_TRUE(ActivateDocumentContext(other));
  EXPECT_EQ(Shown(0, 1), "'home");
  EXPECT_EQ(Shown(0, 2), "");
  // A macro whose document is closed under it ends at its next line.
  ASSERT_TRUE(ActivateDocumentContext(home));
  host.onOpen = [&] { ReleaseOpenSheet(DocSlot(home)->ownerTag); };
  PutLabel(0, 0, "'{FILEOPEN \"GONE\"}");
  EXPECT_EQ(RunAt(0, 0), "");
  EXPECT_FALSE(MacroState().running);
}

TEST_F(MacroInterpTest, PrintCommandsSetOptionsAndPrint) {
  ASSERT_TRUE(GraphInitDocument());
  ASSERT_GT(GraphStore("SALES"), 0);
  RunText("{PRINTMARGIN \"T1.5,R0.25\"}{PRINTOPTION \"F1,M0,S75\"}{PRINTHEAD \"Page #\" 0}{PRINTBORDER 0 A1..A2}"
          "{PRINTRANGE B2..C3}{PRINTGRAPH \"sales\"}{PRINTGRAPH \"none\"}");
  EXPECT_EQ(ProgramSettings().TopMargin, 1.5);
  EXPECT_EQ(ProgramSettings().RightMargin, 0.25);
  EXPECT_TRUE(ProgramSettings().PFrame);
  EXPECT_FALSE(ProgramSettings().PMono);
  EXPECT_EQ(PrintOptions().textScale, 75);
  EXPECT_EQ(CurrentFileState().printHeader, "Page #");
  EXPECT_EQ(gCurrentDoc.settings.savedRanges[kRangeTitleRows], (TRange{0, 0, 0, 1}));
  EXPECT_EQ(gCurrentDoc.settings.savedRanges[kRangePrint], (TRange{1, 1, 2, 2}));
  EXPECT_EQ(host.calls, (std::vector<std::string>{"print 1", "graph 1"}));
  ProgramSettings() = TProgramSettings{};
  PrintOptions() = TPrintOptions{};
}

}  // namespace
}  // namespace corvane::testing

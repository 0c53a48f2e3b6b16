// The macro toolbar's lines, layout and library file.
#include "spreadsheet/macros/MacroBar.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/spreadsheet/files/TempFolder.h"

namespace corvane {
namespace {

TEST(MacroBar, WhatALineShowsAndRuns) {
  struct TRow {
    const char* line;
    const char* hint;
    const char* macro;
    const char* letters;
  };
  for (const TRow& row : {TRow{"Add|Add it|{CALC}", "Add it", "{CALC}", "Ad"},
                          TRow{"Print|", kUnassignedMacro, "", "Pr"},
                          TRow{"Sum|Sum a column", "Sum a column", "Sum a column", "Su"},
                          TRow{"Go|Home|{HOME}|~", "Home", "{HOME}|~", "Go"},
                          TRow{"{GOTO}A1~", "{GOTO}A1~", "{GOTO}A1~", "{G"},
                          TRow{" ", kUnassignedMacro, " ", " "},
                          TRow{"N| |x", kUnassignedMacro, "x", "N"}}) {
    EXPECT_EQ(MacroBarHint(row.line), row.hint) << row.line;
    EXPECT_EQ(MacroBarMacro(row.line), row.macro) << row.line;
    EXPECT_EQ(MacroBarLetters(row.line), row.letters) << row.line;
  }
  // The hint reads only the first 80 characters of the line.
  EXPECT_EQ(MacroBarHint("a|" + std::string(100, 'h') + "|m"), std::string(78, 'h'));
}

TEST(MacroBar, LayoutHitsAndScrolling) {
  TMacroBarLayout layout = MacroBarLayout(4 * 20 + 10);
  EXPECT_EQ(layout.visible, 3);
  EXPECT_EQ(layout.margin, 15);
  EXPECT_EQ(MacroBarHit(14, layout, 0), kMacroBarUpArrow);
  EXPECT_EQ(MacroBarHit(15, layout, 2), 2);
  EXPECT_EQ(MacroBarHit(15 + 2 * 20 + 19, layout, 2), 4);
  EXPECT_EQ(MacroBarHit(15 + 3 * 20, layout, 2), kMacroBarDownArrow);
  EXPECT_EQ(MacroBarButtonRect(3, layout, 2, 0, 24), (classlib::TRect{1, 35, 23, 54}));
  EXPECT_EQ(MacroBarButtonRect(1, layout, 2, 0, 24).Width(), 0);
  EXPECT_EQ(MacroBarScrolled(0, -1, 300), 0);
  EXPECT_EQ(MacroBarScrolled(38, 1, 300), 39);
  EXPECT_EQ(MacroBarScrolled(39, 1, 300), 39);  // 52 - 300 / 22
}

TEST(MacroBar, DefineButtonAndTheLibraryFile) {
  TDefineButtonValue value = DefineButtonValue("Add|Add it|{CALC}");
  EXPECT_EQ(value.name, "Add");
  EXPECT_EQ(value.hint, "Add it");
  EXPECT_EQ(value.macroLines, std::vector<std::string>{"{CALC}"});
  value = DefineButtonValue("Add|{CALC}");
  EXPECT_EQ(value.hint, "");
  EXPECT_EQ(value.macroLines, std::vector<std::string>{"{CALC}"});
  // A macro typed on two lines is kept as one.
  EXPECT_EQ(DefineButtonLine({"Go", "Top", {"{HOME}", "~"}}), "Go|Top|{HOME}~");

  testing::TTempFolder folder;
  std::filesystem::path path = folder.File("CORVANE.MAC");
  std::vector<std::string> lines{"junk"};
  EXPECT_TRUE(ReadMacroLibrary(path.string(), lines));
  EXPECT_TRUE(lines.empty());
  ASSERT_TRUE(WriteMacroLibrary(path.string(), {"Add|Add it|{CALC}", "", "Go|Top|{HOME}~"}));
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  EXPECT_EQ(bytes.str(), "Add|Add it|{CALC}\r\n\r\nGo|Top|{HOME}~\r\n");
  ASSERT_TRUE(ReadMacroLibrary(path.string(), lines));
  EXPECT_EQ(lines, (std::vector<std::string>{"Add|Add it|{CALC}", "", "Go|Top|{HOME}~"}));
}

}  // namespace
}  // namespace corvane

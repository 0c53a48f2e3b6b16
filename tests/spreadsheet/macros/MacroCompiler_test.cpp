// The macro compiler and its keyword table.
#include <gtest/gtest.h>

#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/RangeNames.h"
#include "spreadsheet/macros/MacroCompiler.h"
#include "spreadsheet/macros/MacroKeywords.h"
#include "tests/spreadsheet/macros/MacroTestSupport.h"

namespace corvane::testing {
namespace {

using MacroCompilerTest = MacroTest;

std::string Bytes(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s += static_cast<char>(b);
  return s;
}

TEST_F(MacroCompilerTest, CompilesKeysCommandsAndArguments) {
  ASSERT_NE(RangeNameCreate("MYSUB", MakeRange(5, 0, 5, 0)), 0);
  ASSERT_TRUE(SetCellNumber(8, 1, 3.7));
  const std::string kSyntaxError = Bytes({20, 17});
  const std::string kEnd = Bytes({255});
  struct Row {
    const char* text;
    std::string code;
  } rows[] = {
      {"ab~", "ab\r"},
      {"{RIGHT 3}", Bytes({4, 4, 4})},
      {"{RIGHT}", Bytes({4})},
      {"{right 0}", Bytes({4})},
      {"{R 1+1}", Bytes({4, 4})},
      {"{UP B9}", Bytes({25, 25, 25})},  // a count read from a cell, truncated
      {"{DOWN -5}", Bytes({16})},
      {"{GOTO A1}", Bytes({20, 64}) + "A1\r" + kEnd},
      {"{GOTO,A1}", Bytes({20, 64}) + "A1\r" + kEnd},
      {"\xFFx{GOTO A1\xFF}", "x" + Bytes({20, 64}) + "A1\r" + kEnd},  // 255 is only ever the end mark
      {"{LET A1 5}", Bytes({20, 69}) + "A1\r5\r" + kEnd},
      {"{LET A1, 5}", Bytes({20, 69}) + "A1\r\r5\r" + kEnd},               // comma and blank: an empty argument
      {"{LET A1,@SUM(B1,B2)}", Bytes({20, 69}) + "A1\r@SUM(B1,B2)\r" + kEnd},  // a function keeps its separators
      {"{LET A1 @IF(B1>3,\"a,b\",(1,2))}", Bytes({20, 69}) + "A1\r@IF(B1>3,\"a,b\",(1,2))\r" + kEnd},
      {"{LET A1,\"x~y, z\"}~", Bytes({20, 69}) + "A1\r\"x~y, z\"\r" + kEnd + "\r"},  // quotes keep blanks, "~", commas
      {"{LET A1,\"open", kSyntaxError},
      {"{MYSUB}", Bytes({20, 67}) + "MYSUB\r" + kEnd},
      {"{mysub}x", Bytes({20, 67}) + "MYSUB\r" + kEnd + "x"},
      {"{NOSUCH}", "NOSUCH" + kSyntaxError},
      {"{HOME}{ESCAPE 2}", Bytes({7, 27}) + "2\r"},
      {"{?}", Bytes({20, 63, 48, 255})},
      {"{BEEP 2}", Bytes({20, 66, 255, 20, 66, 255})},
      {"\x93hi\x94\x82\x88\x98\xA6\xB7", "\"hi\",^\r|."},  // typographic characters as plain ones
  };
  for (const Row& row : rows) EXPECT_EQ(MacroCompile(row.text), row.code) << row.text;
  EXPECT_FALSE(ErrorFlagSet());
}

TEST_F(MacroCompilerTest, KeepsWithinTheLineLimit) {
  struct Row {
    std::string text;
    std::string code;
  } rows[] = {
      {"{DOWN 300}", std::string(240, '\x10')},
      {"{RIGHT 1e9}", std::string(240, '\x04')},
      {"a{BEEP 300}", "a" + std::string(79 * 3, '\0')},  // whole repeated commands only
      {std::string(236, 'k') + "{GOTO B5}", Bytes({20, 17})},  // a command cut in two spoils the line
      {std::string(236, 'k') + "{GOTO}", std::string(236, 'k') + Bytes({20, 64, 255})},
      {std::string(300, 'k'), std::string(240, 'k')},
  };
  for (std::size_t k = 0; k < 79; ++k) rows[2].code.replace(1 + 3 * k, 3, Bytes({20, 66, 255}));
  for (const Row& row : rows) EXPECT_EQ(MacroCompile(row.text), row.code) << row.text;
}

TEST_F(MacroCompilerTest, EveryKeywordCompilesToItsCode) {
  for (int i = 1; i <= kMacroKeywordCount; ++i) {
    const TMacroKeyword& entry = MacroKeyword(i);
    std::string word(entry.Word());
    const bool command = !entry.Code().empty() && entry.Code().front() == kMacroCommandPrefix;
    EXPECT_EQ(MacroCompile("{" + word + "}"), std::string(entry.Code()) + (command ? "\xFF" : "")) << word;
    int first = i <= kMacroPrimaryKeywords ? 1 : kMacroPrimaryKeywords + 1;
    int last = i <= kMacroPrimaryKeywords ? kMacroPrimaryKeywords : kMacroKeywordCount;
    EXPECT_EQ(MacroKeywordFind(word, first, last), i) << word;
    EXPECT_LT(MacroKeywordFind(word + "Z", first, last), 1) << word;
  }
}

}  // namespace
}  // namespace corvane::testing

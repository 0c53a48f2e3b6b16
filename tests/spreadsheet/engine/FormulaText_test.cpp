// Formula text from compiled code: round trips through the compiler, the
// display of references, names, constants and functions, the error markers,
// and the edit and status texts of cells.
#include "spreadsheet/engine/FormulaText.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <vector>

#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/FormulaCompiler.h"
#include "spreadsheet/engine/FormulaTables.h"
#include "spreadsheet/engine/RangeNames.h"
#include "tests/spreadsheet/engine/EngineTestSupport.h"

namespace corvane {
namespace {

using testing::EngineTest;
using testing::MakeRange;

// Two user functions: DOUBLE (index 1, one argument) and TWO (index 2, none).
int FindUser(std::string_view name) { return name == "DOUBLE" ? 1 : name == "TWO" ? 2 : 0; }
int UserArgs(int index) { return index == 1 ? 1 : index == 2 ? 0 : -1; }
std::string UserName(int index) { return index == 1 ? "DOUBLE" : index == 2 ? "TWO" : ""; }

class FormulaTextTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    OpenCurrent("C:\\SHEET.WKS");
    InitParserCharSets(',', '.');
    SetUserFunctionHooks(FindUser, UserArgs);
    SetUserFunctionNameHook(UserName);
    gCurrentDoc.userFuncCount = 2;
    gFormulaTextNames = true;
  }
  void TearDown() override {
    SetUserFunctionHooks(nullptr, nullptr);
    SetUserFunctionNameHook(nullptr);
    gFormulaTextNames = true;
    EngineTest::TearDown();
  }
  // The code of `text`, "" when it does not compile.
  static std::string Code(std::string text) { return CompileFormula(text) ? text : std::string(); }
  static std::string TextOf(std::string_view formula) {
    std::string code = Code(std::string(formula));
    EXPECT_FALSE(code.empty()) << formula;
    return FormulaToText(code);
  }
};

TEST_F(FormulaTextTest, EveryTokenClassCompilesBackToTheSameCode) {
  ASSERT_NE(RangeNameCreate("TOTAL", MakeRange(2, 4, 2, 4)), 0);
  ASSERT_NE(RangeNameCreate("TRIO", MakeRange(0, 9, 2, 9)), 0);
  const char* corpus[] = {
      "A1+B1*2",
      "(A1+B1)*2",
      "2^3^2",
      "-2^2",
      "--2",
      "9-2-3",
      "A1*+B1",
      "1<2#AND#3>2",
      "1#OR#0",
      "A1<>B1",
      "A1<=B1",
      "A1>=B1",
      "A1=B1",
      "\"ab\"&\"c\"",
      "\"\"",
      "5%",
      "3!",
      "(A1)%",
      "1E+5",
      "1E-07",
      "32767",
      "32766",
      "0",
      "2.5",
      "0.1",
      "123456.789",
      "1E+300",
      "@PI",
      "@PI*2",
      "@ABS(-1)",
      "@IF(1,2,3)",
      "@NOT(0)",
      "$A$1+A$2+$A3",
      "@SUM(A1..A3,5)",
      "@SUM($A$1..B$2)",
      "@SUM(@SUM(1,2),3)",
      "IV8192",
      "[C:\\OTHER.WKS]B2..C3",
      "[C:\\OTHER.WKS]A1",
      "TOTAL+1",
      "$TOTAL*2",
      "@TOTAL(7)",
      "@TRIO(1,2,3)",
      "++1",
      "(++1)",
      "@ABS(++1)",
      "@AVG(+1,+2)",
      "1*+2",
      "@DOUBLE(A1)*2",
      "@TWO+1",
      "@DOUBLE(@TWO)",
      "((1))",
      "-(A1+B1)",
      "@SUM(C3..A1)",
      "@DATEVAL(\"1/2/90\")",
      "@AVG(1,2,3)",
      "@MOD(7,3)",
  };
  for (const char* formula : corpus) {
    std::string code = Code(formula);
    ASSERT_FALSE(code.empty()) << formula;
    std::string text = FormulaToText(code);
    EXPECT_FALSE(ErrorFlagSet()) << formula;
    EXPECT_EQ(Code(text), code) << formula << " -> " << text;
  }
}

// Every named function, called with the argument count its class takes.
TEST_F(FormulaTextTest, EveryFunctionTokenRoundTrips) {
  int checked = 0;
  for (int token = kTokNot; token <= kLastNamedToken; ++token) {
    std::string_view name = TokenName(token);
    int cls = TokenClassTable[token];
    if (name.empty() || cls < kClassFunction0 || cls > kClassFunctionList) continue;
    int args = cls == kClassFunctionList ? 2 : cls - kClassFunction0;
    std::string formula = "@" + std::string(name);
    for (int k = 0; k < args; ++k) formula += (k == 0 ? "(" : ",") + std::to_string(k + 1);
    if (args > 0) formula += ")";
    std::string code = Code(formula);
    ASSERT_FALSE(code.empty()) << formula;
    EXPECT_EQ(FormulaToText(code), formula);
    EXPECT_EQ(Code(FormulaToText(code)), code) << formula;
    ++checked;
  }
  EXPECT_GT(checked, 100);
}

// Random texts from formula pieces: every one that compiles shows a text that
// compiles to the same bytes.
TEST_F(FormulaTextTest, RandomFormulasRoundTrip) {
  ASSERT_NE(RangeNameCreate("TOTAL", MakeRange(2, 4, 2, 4)), 0);
  const char* pieces[] = {
      "A1",   "$B$2", "C3..D4", "1", "2.5", "1E+5",          "\"x\"", "+",        "-",    "*",    "/",
      "^",    "&",    "(",      ")", ",",   "#AND#",         "#OR#",  "<",        ">=",   "=",    "@SUM(",
      "@IF(", "@PI",  "@ABS(",  "%", "!",   "[C:\\F.WKS]A1", "TOTAL", "@DOUBLE(", "@TWO", "0.001"};
  std::mt19937 rng(99);
  int checked = 0;
  for (int n = 0; n < 20000; ++n) {
    std::string text;
    int count = 1 + static_cast<int>(rng() % 10);
    for (int k = 0; k < count; ++k) text += pieces[rng() % std::size(pieces)];
    std::string code = Code(text);
    ClearErrorFlag();
    if (code.empty()) continue;
    ++checked;
    std::string shown = FormulaToText(code);
    ASSERT_EQ(Code(shown), code) << text << " -> " << shown;
  }
  EXPECT_GT(checked, 500);
}

// The string literals of a C++ source, with their escapes read. A literal
// ends at its closing quote or at the end of its line; character literals are
// stepped over so that '"' opens nothing.
std::vector<std::string> StringLiterals(const std::string& source) {
  std::vector<std::string> literals;
  for (std::size_t k = 0; k < source.size(); ++k) {
    if (source[k] == '\'') {
      k += k + 1 < source.size() && source[k + 1] == '\\' ? 3 : 2;
      continue;
    }
    if (source[k] != '"') continue;
    std::string text;
    for (++k; k < source.size() && source[k] != '"' && source[k] != '\n'; ++k) {
      if (source[k] == '\\' && k + 1 < source.size()) {
        char c = source[++k];
        text += c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c;
      } else {
        text += source[k];
      }
    }
    literals.push_back(std::move(text));
  }
  return literals;
}

// Every string constant of the engine's tests that compiles as a formula, read
// from their sources: its text compiles back to the same code. This keeps the
// round trip true for each formula a test of any function family writes.
TEST_F(FormulaTextTest, EveryFormulaOfTheEngineTestsRoundTrips) {
  const std::filesystem::path folder = CORVANE_ENGINE_TEST_DIR;
  if (!std::filesystem::is_directory(folder)) GTEST_SKIP() << "test sources not reachable: " << folder;
  int checked = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() != ".cpp") continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::stringstream source;
    source << in.rdbuf();
    for (const std::string& text : StringLiterals(source.str())) {
      if (text.empty() || text.size() > 240) continue;
      std::string code = Code(text);
      ClearErrorFlag();
      if (code.empty()) continue;
      ++checked;
      std::string shown = FormulaToText(code);
      EXPECT_EQ(Code(shown), code) << entry.path().filename().string() << ": " << text << " -> " << shown;
      ClearErrorFlag();
    }
  }
  EXPECT_GT(checked, 1000);
}

TEST_F(FormulaTextTest, ShowsParenthesesNamesQuotesAndGeneralNumbers) {
  ASSERT_NE(RangeNameCreate("TOTAL", MakeRange(2, 4, 2, 4)), 0);
  ASSERT_NE(RangeNameCreate("BLOCK", MakeRange(0, 0, 1, 1)), 0);
  struct {
    const char* formula;
    const char* shown;
  } rows[] = {
      {"A1+B1*2", "A1+B1*2"},
      {"(A1+B1)*2", "(A1+B1)*2"},
      {"+ A1 + 1", "A1+1"},
      {"C5+1", "TOTAL+1"},
      {"$C$5", "$TOTAL"},
      {"C$5", "$TOTAL"},
      {"A1", "A1"},  // BLOCK starts at A1 but covers more than one cell
      {"C5..D6", "C5..D6"},
      {"\"a b\"&\"c\"", "\"a b\"&\"c\""},
      {"1E+7", "1E+07"},
      {"10000000", "1E+07"},
      {"0.50", "0.5"},
      {"@sum(a1..b2,3)", "@SUM(A1..B2,3)"},
      {"@TOTAL(7)", "@TOTAL(7)"},
      {"@not(1)", "@NOT(1)"},
      {"@double(2)+@two", "@DOUBLE(2)+@TWO"},
      {"[c:\\x.wks]b2..c3", "[C:\\X.WKS]B2..C3"},
      {"5%", "5%"},
      {"2*(++A1)", "2*(++A1)"},
  };
  for (const auto& row : rows) EXPECT_EQ(TextOf(row.formula), row.shown) << row.formula;

  gFormulaTextNames = false;
  EXPECT_EQ(TextOf("C5+1"), "C5+1");
  EXPECT_EQ(TextOf("$C$5"), "$C$5");
}

TEST_F(FormulaTextTest, ReferencesFollowTheirCells) {
  std::string code = Code("A1+B1*2");
  // Move both cells one row down, as inserting a row above them does.
  for (int col = 0; col < 2; ++col) {
    TCellHandle cell = CellFind(0, col);
    ASSERT_TRUE(CellUnlinkFromRow(cell, CellRowPosPrevious(), 0));
    ASSERT_TRUE(CellLinkIntoRow(cell, 1, col));
    CellFindRowPos(0, col + 1);
  }
  EXPECT_EQ(FormulaToText(code), "A2+B2*2");
  ASSERT_NE(RangeNameCreate("TOTAL", MakeRange(0, 1, 0, 1)), 0);
  EXPECT_EQ(FormulaToText(code), "TOTAL+B2*2");
}

TEST_F(FormulaTextTest, BadCodeShowsItsMarker) {
  auto text = [](std::vector<std::uint8_t> code) { return FormulaToText(code.data(), code.size()); };
  // Length byte not indexing END, past 240, or past the bytes given.
  EXPECT_EQ(text({4, 0, kTokInteger, 1, 0}), kNoEndText);
  EXPECT_EQ(text({5, 0, kTokInteger, 1, 0, kTokAdd}), kNoEndText);
  std::vector<std::uint8_t> big(250, kTokEnd);
  big[0] = 245;
  EXPECT_EQ(text(big), kNoEndText);
  EXPECT_EQ(text({9, 0, kTokInteger, 1, 0}), kNoEndText);
  EXPECT_EQ(FormulaToText(nullptr, 0), kNoEndText);
  // A token above the named ones shows "UKW".
  EXPECT_EQ(text({6, 0, kTokInteger, 1, 0, 200, kTokEnd}), "@UKW(1)");
  // A nil reference shows "ERR" without failing the rest.
  EXPECT_EQ(text({11, 0, kTokCell, 0, 0, 0, 0, kTokInteger, 1, 0, kTokAdd, kTokEnd}), "ERR+1");
  EXPECT_FALSE(ErrorFlagSet());
  // A link to a range outside the sheet.
  EXPECT_EQ(text({13, 0, kTokLink, 0, 1, 0, 0, 0, 0, 0, 0, 'A', 0, kTokEnd}), "[A]ERR");
  // Operators without operands, and two values left over.
  EXPECT_EQ(text({3, 0, kTokAdd, kTokEnd}), kBadCodeText);
  EXPECT_EQ(text({8, 0, kTokInteger, 1, 0, kTokInteger, 2, 0, kTokEnd}), kBadCodeText);
  // Operand bytes running into END.
  EXPECT_EQ(text({4, 0, kTokInteger, 1, kTokEnd}), kBadCodeText);
}

TEST_F(FormulaTextTest, MissingUserFunctionsShowNoFun) {
  auto text = [](std::vector<std::uint8_t> code) { return FormulaToText(code.data(), code.size()); };
  EXPECT_EQ(text({7, 0, kTokInteger, 1, 0, kTokUserFunction, 1, kTokEnd}), "@DOUBLE(1)");
  EXPECT_EQ(text({7, 0, kTokInteger, 1, 0, kTokUserFunction, 0, kTokEnd}), kNoFunctionText);
  EXPECT_EQ(text({7, 0, kTokInteger, 1, 0, kTokUserFunction, 3, kTokEnd}), kNoFunctionText);
  std::string code = Code("@DOUBLE(1)+1");
  gCurrentDoc.userFuncCount = 0;  // the document lost its functions
  EXPECT_EQ(FormulaToText(code), kNoFunctionText);
}

TEST_F(FormulaTextTest, TooLongTextIsOverflowNotCut) {
  std::string formula = "A1";
  for (int k = 0; k < 30; ++k) formula += "+A1";
  std::string code = Code(formula);
  ASSERT_FALSE(code.empty());
  EXPECT_EQ(FormulaToText(code), formula);
  ASSERT_NE(RangeNameCreate("ABCDEFGHIJKL", MakeRange(0, 0, 0, 0)), 0);
  EXPECT_EQ(FormulaToText(code), kOverflowText);
  EXPECT_TRUE(ErrorFlagSet());
  // Arguments that join to 240 characters or more.
  std::string args = "@SUM(A1";
  for (int k = 0; k < 30; ++k) args += ",A1";
  std::string sumCode = Code(args + ")");
  ASSERT_FALSE(sumCode.empty());
  EXPECT_EQ(FormulaToText(sumCode), kOverflowText);
  // The next conversion starts clean.
  EXPECT_EQ(TextOf("1+2"), "1+2");
  EXPECT_FALSE(ErrorFlagSet());
}

TEST_F(FormulaTextTest, ContentsTextForEveryKind) {
  ASSERT_TRUE(EnterCell("+A2+1", 0, 0));
  ASSERT_TRUE(EnterCell("2.25", 0, 1));
  ASSERT_TRUE(EnterCell("42", 0, 2));
  ASSERT_TRUE(EnterCell("'hello", 0, 3));
  ASSERT_TRUE(EnterCell("(1+2)*3", 0, 4));
  ASSERT_TRUE(EnterCell("+\"ab\"&\"c\"", 0, 5));
  ASSERT_NE(CellGetOrCreate(0, 6), kNilHandle);
  EXPECT_EQ(CellContentsText(CellFind(0, 0)), "+A2+1");
  EXPECT_EQ(CellContentsText(CellFind(0, 1)), "2.25");
  EXPECT_EQ(CellContentsText(CellFind(0, 2)), "42");
  EXPECT_EQ(CellContentsText(CellFind(0, 3)), "'hello");
  EXPECT_EQ(CellContentsText(CellFind(0, 4)), "(1+2)*3");
  EXPECT_EQ(CellContentsText(CellFind(0, 5)), "+\"ab\"&\"c\"");
  EXPECT_EQ(CellContentsText(CellFind(0, 6)), "");
  EXPECT_EQ(CellContentsText(kNilHandle), "");
  TCellHandle picture = PutLabel(1, 0, "\"PIC.BMP");
  CellPtr(picture)->kind = kKindPicture;
  EXPECT_EQ(CellContentsText(picture), "\"PIC.BMP");
  // The edit text enters again as the same formula.
  std::string edit = CellContentsText(CellFind(0, 0));
  ASSERT_TRUE(EnterCell(edit, 2, 0));
  EXPECT_EQ(CellContentsText(CellFind(2, 0)), edit);
}

TEST_F(FormulaTextTest, StatusTextSummarisesFormatStyleAndWidth) {
  ASSERT_TRUE(EnterCell("+A2+1", 0, 0));
  std::string status, contents;
  TCell* cell = CellPtr(CellFind(0, 0));
  cell->format = 0x7F;  // the default format, unprotected
  cell->style = 0;
  EXPECT_TRUE(CellStatusText(0, 0, status, contents));
  EXPECT_EQ(status, "");
  EXPECT_EQ(contents, "+A2+1");

  cell->format = 0x02;
  cell->style = 3;
  windows.columnSizes[0] = 10;
  EXPECT_TRUE(CellStatusText(0, 0, status, contents));
  EXPECT_EQ(status, " [F2,3 w10]");

  EXPECT_TRUE(CellStatusText(5, 5, status, contents));  // no cell
  EXPECT_EQ(status, "");
  EXPECT_EQ(contents, "");

  gCurrentDoc.settings.protection = 1;
  cell->format = 0x82;  // protected
  EXPECT_FALSE(CellStatusText(0, 0, status, contents));
  EXPECT_EQ(contents, kProtectedContentsText);
  EXPECT_FALSE(CellStatusText(5, 5, status, contents));
  EXPECT_EQ(contents, kProtectedContentsText);
  cell->format = 0x02;
  EXPECT_TRUE(CellStatusText(0, 0, status, contents));
  EXPECT_EQ(contents, "+A2+1");
}

}  // namespace
}  // namespace corvane

// User-defined functions: the library file, calls through formulas (nested,
// wrong argument counts, recursion, missing functions), named-cell calls,
// listing and resetting the document's functions, and the 274-byte record.
#include "spreadsheet/engine/UserFunctions.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/Evaluator.h"
#include "spreadsheet/engine/FormulaCompiler.h"
#include "spreadsheet/engine/FormulaTables.h"
#include "spreadsheet/engine/FormulaText.h"
#include "spreadsheet/engine/RangeNames.h"
#include "spreadsheet/engine/UndoBuffer.h"
#include "tests/spreadsheet/engine/EngineTestSupport.h"
#include "tests/spreadsheet/files/TempFolder.h"

namespace corvane {
namespace {

using testing::EngineTest;
using testing::MakeRange;

constexpr const char* kLibrary =
    "; the test library\r\n"
    "double,1 ; twice its argument\r\n"
    "@A(1)*2 ; the body keeps its case\r\n"
    "\r\n"
    "ADD3, 3\r\n"
    "@A(1)+@A(2)+@A(3)\r\n"
    "Greet,1\r\n"
    "\"Hi \"&@A(1)\r\n"
    "TWELVE,0\r\n"
    "12\r\n"
    "WIDE,15\r\n"
    "@A(10)\r\n"
    "NEG,-2\r\n"
    "1\r\n"
    "NOCOMMA\r\n"
    "1\r\n"
    "LOOP,1\r\n"
    "@LOOP(@A(1))\r\n"
    "TWICE,1\r\n"
    "@TWICE(@A(1))+@TWICE(@A(1))\r\n"
    "PING,1\r\n"
    "@PONG(@A(1))\r\n"
    "PONG,1\r\n"
    "@PING(@A(1))\r\n"
    "ARG2,1\r\n"
    "@A(2)\r\n"
    "ECHO,1\r\n"
    "@A(1)\r\n"
    "RATIO,2\r\n"
    "@A(1)/@A(2)\r\n"
    "ADDR,1\r\n"
    "\"@A(1)\"\r\n";

class UserFunctionsTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    OpenCurrent("C:\\SHEET.WKS");
    InitParserCharSets(',', '.');
    library_ = folder_.File("CRV32.USR");
    testing::WriteWholeFile(library_, kLibrary);
    ASSERT_TRUE(LoadUserFunctions(library_));
  }
  void TearDown() override {
    ClearUserFunctionLibrary();
    SetUserFunctionHooks(nullptr, nullptr);
    SetUserFunctionNameHook(nullptr);
    EngineTest::TearDown();
  }

  const TCell* At(int row, int col) { return CellPtr(CellFind(row, col)); }
  bool IsErr(int row, int col) { return At(row, col) && (At(row, col)->kind & kKindErrorBit); }
  double NumberAt(int row, int col) {
    const TCell* cell = At(row, col);
    return CellKind(*cell) == kKindInteger ? CellInteger(*cell) : CellReal(*cell);
  }
  // The shown value of a formula cell: its text result, or its number.
  std::string ResultAt(int row, int col) {
    const TCell* cell = At(row, col);
    if (!cell) return "<none>";
    if (cell->kind & kKindErrorBit) return "ERR";
    if (CellKind(*cell) == kKindStringFormula) return std::string(PoolStringView(CellResultText(*cell)));
    char text[32];
    std::snprintf(text, sizeof text, "%g", NumberAt(row, col));
    return text;
  }
  // Puts a compiled code (byte 0 its length) into (row, col) and evaluates it.
  void PutCode(int row, int col, const std::vector<std::uint8_t>& code) {
    TCellHandle cell = CellGetOrCreate(row, col);
    CellPtr(cell)->text = PoolNewString(
        std::string_view(reinterpret_cast<const char*>(code.data()) + 1, code.size() - 1));
    CellPtr(cell)->kind = kKindNumberFormula;
    EvaluateCell(cell);
  }

  testing::TTempFolder folder_;
  std::string library_;
};

TEST_F(UserFunctionsTest, LibraryLinesDefineFunctions) {
  struct Row {
    int index;
    const char* name;
    const char* body;
    int args;
  } rows[] = {
      {1, "DOUBLE", "@A(1)*2 ", 1},      {2, "ADD3", "@A(1)+@A(2)+@A(3)", 3}, {3, "GREET", "\"Hi \"&@A(1)", 1},
      {4, "TWELVE", "12", 0},            {5, "WIDE", "@A(10)", 10},             {6, "NEG", "1", 0},
      {7, "", "1", 0},
  };
  EXPECT_EQ(LibraryFunctionCount(), 15);
  for (const Row& row : rows) {
    TUserFunc function;
    ASSERT_TRUE(LibraryFunction(row.index, function)) << row.index;
    EXPECT_EQ(function.name, row.name) << row.index;
    EXPECT_EQ(function.body, row.body) << row.index;
    EXPECT_EQ(function.argCount, row.args) << row.index;
  }
  TUserFunc none;
  EXPECT_FALSE(LibraryFunction(0, none));
  EXPECT_FALSE(LibraryFunction(16, none));
}

TEST_F(UserFunctionsTest, CallsEvaluateTheirBodies) {
  EnterCell("'abc", 0, 0);  // A1
  EnterCell("5", 0, 1);     // B1
  struct Row {
    const char* formula;
    const char* shown;
  } rows[] = {
      {"@DOUBLE(4)", "8"},
      {"@double(2.5)", "5"},
      {"@ADD3(1,2,3)", "6"},
      {"@DOUBLE(@DOUBLE(3))", "12"},
      {"@ADD3(1,@DOUBLE(2),3)+@TWELVE", "20"},
      {"@TWELVE+1", "13"},
      {"@GREET(\"Bo\")", "Hi Bo"},
      {"@GREET(A1)", "Hi abc"},
      {"@ECHO(A1&\"x\")", "abcx"},  // a value made from a cell is passed as the value
      {"@ADDR(A1)", "A1"},           // a text cell is passed as the cell: its address
      {"@ADDR((B3))", "B3"},
      {"@ADDR(\"t\")", "@A(1)"},
      {"@DOUBLE(B1)", "10"},
      {"@RATIO(1,0)", "ERR"},
      {"@DOUBLE(1/0)", "ERR"},
      {"@A(1)", "ERR"},        // no function is being evaluated
      {"@ARG2(7)", "ERR"},   // the function has one argument
  };
  for (const Row& row : rows) {
    ASSERT_TRUE(EnterCell(row.formula, 4, 4)) << row.formula;
    EXPECT_EQ(ResultAt(4, 4), row.shown) << row.formula;
  }
  // Each function used was copied into the document once.
  EXPECT_EQ(DocumentUserFunctionCount(), 8);
  std::string code = "@DOUBLE(4)+@DOUBLE(5)";
  ASSERT_TRUE(CompileFormula(code));
  EXPECT_EQ(DocumentUserFunctionCount(), 8);
  EXPECT_EQ(FormulaToText(code), "@DOUBLE(4)+@DOUBLE(5)");
}

TEST_F(UserFunctionsTest, WrongArgumentCountsAreRefused) {
  const char* rows[] = {"@DOUBLE(1,2)", "@ADD3(1,2)", "@TWELVE(1)", "@DOUBLE", "@UNKNOWN(1)"};
  for (const char* formula : rows) {
    EXPECT_FALSE(EnterCell(formula, 2, 2)) << formula;
    EXPECT_TRUE(ErrorFlagSet()) << formula;
    EXPECT_EQ(At(2, 2), nullptr) << formula;
  }
}

TEST_F(UserFunctionsTest, BodiesTooLongToEvaluateAreErrNotCut) {
  // A body is evaluated as a formula text of at most 240 characters; a longer
  // one cut there would give another formula's value (here 11).
  const std::string fits = "1" + std::string(235, ' ') + "+100";
  ASSERT_EQ(fits.size(), 240u);
  ASSERT_TRUE(AppendDocumentUserFunction({"FITS", fits, 0}));
  ASSERT_TRUE(AppendDocumentUserFunction({"OVER", fits + "0", 0}));
  // The address put in for "@A(1)" makes the body one character longer.
  const std::string grows = "@LENGTH(@A(1))" + std::string(223, ' ') + "+10";
  ASSERT_EQ(grows.size(), 240u);
  ASSERT_TRUE(AppendDocumentUserFunction({"GROWS", grows, 1}));
  ASSERT_TRUE(EnterCell("'abc", 8191, 255));  // IV8192
  ASSERT_TRUE(EnterCell("'abc", 0, 1));       // B1
  struct Row {
    const char* formula;
    const char* shown;
  } rows[] = {{"@FITS", "101"}, {"@OVER", "ERR"}, {"@GROWS(B1)", "13"}, {"@GROWS(IV8192)", "ERR"}};
  for (const Row& row : rows) {
    ASSERT_TRUE(EnterCell(row.formula, 0, 0)) << row.formula;
    EXPECT_EQ(ResultAt(0, 0), row.shown) << row.formula;
  }
}

TEST_F(UserFunctionsTest, RecursionEndsInErr) {
  const char* rows[] = {"@LOOP(1)", "@TWICE(1)", "@PING(1)", "1+@DOUBLE(@LOOP(2))"};
  for (const char* formula : rows) {
    ASSERT_TRUE(EnterCell(formula, 1, 1)) << formula;
    EXPECT_EQ(ResultAt(1, 1), "ERR") << formula;
  }
  // The depth count starts afresh for the next formula.
  ASSERT_TRUE(EnterCell("@DOUBLE(@DOUBLE(@DOUBLE(1)))", 1, 1));
  EXPECT_EQ(ResultAt(1, 1), "8");
}

TEST_F(UserFunctionsTest, MissingOrDamagedEntriesGiveNoFunAndErr) {
  constexpr std::uint8_t kUser = kTokUserFunction;
  std::vector<std::uint8_t> indexZero = {7, 0, kTokInteger, 1, 0, kUser, 0, kTokEnd};
  std::vector<std::uint8_t> beyondCount = {7, 0, kTokInteger, 1, 0, kUser, 200, kTokEnd};
  for (const auto& code : {indexZero, beyondCount}) {
    EXPECT_EQ(FormulaToText(code.data(), code.size()), kNoFunctionText);
    PutCode(3, 0, code);
    EXPECT_EQ(ResultAt(3, 0), "ERR");
  }
  // A document entry that asks for more arguments than the formula pushed.
  ASSERT_TRUE(EnterCell("@DOUBLE(4)", 3, 1));
  ASSERT_EQ(ResultAt(3, 1), "8");
  std::array<std::uint8_t, kUserFuncRecordBytes> record{};
  ASSERT_TRUE(EncodeUserFunctionRecord({"DOUBLE", "@A(1)*@A(2)*@A(3)", 3}, record));
  std::copy(record.begin(), record.end(), PoolBlock(gCurrentDoc.userFuncs[1]));
  EvaluateCell(CellFind(3, 1));
  EXPECT_EQ(ResultAt(3, 1), "ERR");
}

TEST_F(UserFunctionsTest, ArgumentNumbersAreWholeNumbers) {
  // "A" truncates its number, and one beyond 32 bits counts as 1.
  testing::WriteWholeFile(library_,
                          "PICK,2\r\n@A(@A(1))\r\n"
                          "BIG,2\r\n@A(4294967298)\r\n");
  ASSERT_TRUE(LoadUserFunctions(library_));
  struct Row {
    const char* formula;
    const char* shown;
  } rows[] = {
      {"@PICK(2.9,7)", "7"},
      {"@PICK(1.5,7)", "1.5"},
      {"@PICK(3,7)", "ERR"},
      {"@BIG(5,6)", "5"},
  };
  for (const Row& row : rows) {
    ASSERT_TRUE(EnterCell(row.formula, 4, 4)) << row.formula;
    EXPECT_EQ(ResultAt(4, 4), row.shown) << row.formula;
  }
}

TEST_F(UserFunctionsTest, MissingLibraryKeepsTheDocumentsFunctions) {
  ASSERT_TRUE(EnterCell("@DOUBLE(21)", 0, 0));
  EXPECT_FALSE(LoadUserFunctions(folder_.File("NONE.USR")));
  EXPECT_TRUE(ErrorFlagSet());
  EXPECT_EQ(LibraryFunctionCount(), 0);
  EnterCell("1", 5, 5);
  EvaluateCell(CellFind(0, 0));
  EXPECT_EQ(ResultAt(0, 0), "42");
  EXPECT_FALSE(EnterCell("@TWELVE", 0, 1));  // only the library had it
}

TEST_F(UserFunctionsTest, ResetKeepsFormulasWhoseNamedTextIsTooLong) {
  // Twenty cells named, once the formula is in, with 12 characters each:
  // shown by their names, its text would pass 240 characters and read
  // "OVERFLOW".
  std::string sum;
  for (int row = 0; row < 20; ++row) sum += (row ? "+A" : "A") + std::to_string(row + 1);
  const std::string formula = "@DOUBLE(" + sum + ")";
  ASSERT_TRUE(EnterCell(formula, 30, 0));
  for (int row = 0; row < 20; ++row) {
    char name[24];
    std::snprintf(name, sizeof name, "CELLNAME%04d", row + 1);
    ASSERT_NE(RangeNameCreate(name, MakeRange(0, row, 0, row)), 0);
  }
  const TCell* cell = At(30, 0);
  ASSERT_EQ(FormulaToText(PoolBlock(cell->text), PoolStringBlockBytes(cell->text)), kOverflowText);
  // Thirty-five references to a cell that then moves to IV8192: too long
  // even with addresses, so that formula stays, and the table with it.
  ASSERT_TRUE(EnterCell("1", 0, 5));  // F1
  std::string many = "@DOUBLE(F1";
  for (int k = 1; k < 35; ++k) many += "+F1";
  ASSERT_TRUE(EnterCell(many + ")", 31, 0));
  TCellHandle moved = CellFind(0, 5);
  ASSERT_TRUE(CellUnlinkFromRow(moved, CellRowPosPrevious(), 0));
  ASSERT_TRUE(CellLinkIntoRow(moved, 8191, 255));
  UserFunctionsReset();
  EXPECT_EQ(LabelAt(30, 0), "'" + formula);
  EXPECT_FALSE(ErrorFlagSet());
  ASSERT_EQ(CellKind(*At(31, 0)), kKindNumberFormula);
  EXPECT_EQ(DocumentUserFunctionCount(), 1);
  EvaluateCell(CellFind(31, 0));
  EXPECT_EQ(ResultAt(31, 0), "70");
}

TEST_F(UserFunctionsTest, ResetTurnsCallersIntoLabels) {
  ASSERT_TRUE(EnterCell("@DOUBLE(4)+1", 0, 0));
  ASSERT_TRUE(EnterCell("+A1*2", 1, 0));
  ASSERT_TRUE(EnterCell("3+4", 2, 0));
  ASSERT_TRUE(EnterCell("+254+1", 3, 0));  // the integer 254 puts the byte $FE in the code
  EXPECT_EQ(ResultAt(0, 0), "9");
  ASSERT_EQ(ResultAt(1, 0), "18");
  UserFunctionsToRange(MakeRange(3, 10, 3, 10));
  EXPECT_EQ(LabelAt(10, 3), "'DOUBLE");
  EXPECT_EQ(LabelAt(10, 4), "'@A(1)*2 ");

  ASSERT_TRUE(UndoApply(TUndoMode::kRestore));
  EXPECT_EQ(At(10, 3), nullptr) << "undo takes the listed functions away again";
  EXPECT_EQ(ResultAt(0, 0), "9");

  UserFunctionsReset();
  EXPECT_EQ(DocumentUserFunctionCount(), 0);
  EXPECT_EQ(CellKind(*At(0, 0)), kKindLabel);
  EXPECT_EQ(LabelAt(0, 0), "'@DOUBLE(4)+1");
  EXPECT_EQ(ResultAt(2, 0), "7");
  EXPECT_EQ(CellKind(*At(2, 0)), kKindNumberFormula);
  EXPECT_EQ(ResultAt(3, 0), "255");
  EXPECT_EQ(CellKind(*At(3, 0)), kKindNumberFormula);
}

class NamedCellCallTest : public UserFunctionsTest {};

TEST_F(NamedCellCallTest, ArgumentsFillTheFirstRowAndTheFormulaRuns) {
  ASSERT_NE(RangeNameCreate("AREA", MakeRange(0, 9, 1, 10)), 0);  // A10..B11
  ASSERT_TRUE(EnterCell("'A10*B10", 10, 0));                     // A11: the formula as a label
  ASSERT_TRUE(EnterCell("@AREA(3,4)+1", 0, 5));
  EXPECT_EQ(ResultAt(0, 5), "13");
  EXPECT_EQ(NumberAt(9, 0), 3);
  EXPECT_EQ(NumberAt(9, 1), 4);

  ASSERT_NE(RangeNameCreate("DIFF", MakeRange(3, 9, 4, 10)), 0);  // D10..E11
  ASSERT_TRUE(EnterCell("+D10-E10", 10, 3));                       // D11: a formula
  struct Row {
    const char* formula;
    const char* shown;
  } rows[] = {
      {"@DIFF(10,4)", "6"},
      {"@DIFF(1/0,4)", "ERR"},
  };
  for (const Row& row : rows) {
    ASSERT_TRUE(EnterCell(row.formula, 0, 6)) << row.formula;
    EXPECT_EQ(ResultAt(0, 6), row.shown) << row.formula;
  }
  // The called formula's error is the call's error.
  ASSERT_TRUE(EnterCell("'D10/E10", 10, 3));
  ASSERT_TRUE(EnterCell("@DIFF(1,0)", 0, 6));
  EXPECT_EQ(ResultAt(0, 6), "ERR");
  // No formula in the formula cell: 0.
  ASSERT_NE(RangeNameCreate("EMPTY", MakeRange(7, 9, 7, 10)), 0);
  ASSERT_TRUE(EnterCell("@EMPTY(5)", 0, 7));
  EXPECT_EQ(ResultAt(0, 7), "0");
}

TEST_F(NamedCellCallTest, FormulasAreNeverOverwritten) {
  // One row: the formula cell would take the first argument.
  ASSERT_NE(RangeNameCreate("FLAT", MakeRange(0, 20, 1, 20)), 0);
  ASSERT_TRUE(EnterCell("'A21+B21", 20, 0));
  ASSERT_TRUE(EnterCell("@FLAT(1,2)", 0, 0));
  EXPECT_EQ(ResultAt(0, 0), "ERR");
  EXPECT_EQ(LabelAt(20, 0), "'A21+B21");
  // An argument cell holding a formula.
  ASSERT_NE(RangeNameCreate("HELD", MakeRange(3, 20, 3, 21)), 0);
  ASSERT_TRUE(EnterCell("2+2", 20, 3));
  ASSERT_TRUE(EnterCell("'D21", 21, 3));
  ASSERT_TRUE(EnterCell("@HELD(9)", 0, 1));
  EXPECT_EQ(ResultAt(0, 1), "ERR");
  EXPECT_EQ(ResultAt(20, 3), "4");
}

TEST_F(NamedCellCallTest, SelfCallsEndInErr) {
  ASSERT_NE(RangeNameCreate("SELF", MakeRange(4, 30, 4, 31)), 0);  // E31..E32
  ASSERT_TRUE(EnterCell("'@SELF(E31+1)", 31, 4));
  ASSERT_TRUE(EnterCell("@SELF(1)", 0, 2));
  EXPECT_EQ(ResultAt(0, 2), "ERR");
  ASSERT_TRUE(EnterCell("@DOUBLE(2)", 0, 2));
  EXPECT_EQ(ResultAt(0, 2), "4");
}

TEST(UserFunctionRecordTest, FieldsRoundTripAtTheirOffsets) {
  std::array<std::uint8_t, kUserFuncRecordBytes> bytes{};
  ASSERT_TRUE(EncodeUserFunctionRecord({"DOUBLE", "@A(1)*2", 1}, bytes));
  EXPECT_EQ(bytes[0], 6);
  EXPECT_EQ(std::string(bytes.begin() + 1, bytes.begin() + 7), "DOUBLE");
  EXPECT_EQ(bytes[7], 0);
  EXPECT_EQ(bytes[13], 7);
  EXPECT_EQ(std::string(bytes.begin() + 14, bytes.begin() + 21), "@A(1)*2");
  EXPECT_EQ(bytes[269], 0);
  EXPECT_EQ(bytes[270], 1);
  EXPECT_EQ(bytes[271] | bytes[272] | bytes[273], 0);

  TUserFunc rows[] = {
      {"DOUBLE", "@A(1)*2", 1},
      {"", "", 0},
      {std::string(12, 'N'), std::string(255, 'b'), 10},
  };
  for (const TUserFunc& function : rows) {
    ASSERT_TRUE(EncodeUserFunctionRecord(function, bytes)) << function.name;
    TUserFunc back;
    ASSERT_TRUE(DecodeUserFunctionRecord(bytes, back)) << function.name;
    EXPECT_EQ(back.name, function.name);
    EXPECT_EQ(back.body, function.body);
    EXPECT_EQ(back.argCount, function.argCount);
  }
}

TEST(UserFunctionRecordTest, DamagedRecordsAndFieldsAreRefused) {
  std::array<std::uint8_t, kUserFuncRecordBytes> good{};
  ASSERT_TRUE(EncodeUserFunctionRecord({"F", "@A(1)", 1}, good));
  struct Damage {
    const char* what;
    std::size_t at;
    std::uint8_t byte;
  } damages[] = {
      {"name length 13", 0, 13},   {"count 11", 270, 11},       {"negative count", 273, 0x80},
      {"count 256", 271, 1},
  };
  for (const Damage& damage : damages) {
    auto bytes = good;
    bytes[damage.at] = damage.byte;
    TUserFunc function{"KEPT", "1", 0};
    EXPECT_FALSE(DecodeUserFunctionRecord(bytes, function)) << damage.what;
    EXPECT_EQ(function.name, "KEPT") << damage.what;
  }
  std::vector<std::uint8_t> shorter(good.begin(), good.end() - 1);
  std::vector<std::uint8_t> longer(good.begin(), good.end());
  longer.push_back(0);
  TUserFunc function;
  EXPECT_FALSE(DecodeUserFunctionRecord(shorter, function));
  EXPECT_FALSE(DecodeUserFunctionRecord(longer, function));
  EXPECT_FALSE(DecodeUserFunctionRecord({}, function));

  TUserFunc refused[] = {
      {std::string(13, 'N'), "1", 0}, {"F", std::string(256, 'b'), 0}, {"F", "1", 11}, {"F", "1", -1}};
  for (const TUserFunc& bad : refused) {
    auto bytes = good;
    EXPECT_FALSE(EncodeUserFunctionRecord(bad, bytes)) << bad.name << " " << bad.argCount;
    EXPECT_EQ(bytes, good);
  }
  std::vector<std::uint8_t> small(273);
  EXPECT_FALSE(EncodeUserFunctionRecord({"F", "1", 0}, small));
}

class DocumentRecordTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    OpenCurrent("C:\\SHEET.WKS");
  }
  void TearDown() override {
    SetUserFunctionHooks(nullptr, nullptr);
    SetUserFunctionNameHook(nullptr);
    EngineTest::TearDown();
  }
};

TEST_F(DocumentRecordTest, RecordsReadFromAFileAreCalled) {
  std::array<std::uint8_t, kUserFuncRecordBytes> record{};
  ASSERT_TRUE(EncodeUserFunctionRecord({"TRIPLE", "@A(1)*3", 1}, record));
  ClearDocumentUserFunctions();
  ASSERT_TRUE(AppendDocumentUserFunctionRecord(record));
  record[270] = 99;  // damaged: nothing is appended
  EXPECT_FALSE(AppendDocumentUserFunctionRecord(record));
  EXPECT_EQ(DocumentUserFunctionCount(), 1);
  ASSERT_TRUE(EnterCell("@TRIPLE(5)", 0, 0));
  EXPECT_EQ(CellReal(*CellPtr(CellFind(0, 0))), 15);

  for (int k = 2; k <= kMaxUserFuncs; ++k) ASSERT_TRUE(AppendDocumentUserFunction({"F" + std::to_string(k), "1", 0}));
  EXPECT_FALSE(AppendDocumentUserFunction({"ONEMORE", "1", 0}));
  EXPECT_EQ(DocumentUserFunctionCount(), kMaxUserFuncs);
  std::string code = "@F255";
  EXPECT_TRUE(CompileFormula(code));
}

}  // namespace
}  // namespace corvane

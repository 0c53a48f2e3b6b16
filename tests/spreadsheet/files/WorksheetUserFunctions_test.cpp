// User-defined functions in worksheet files: the document's table travels in
// the extension section, formulas calling the functions read back with their
// text and values, and damaged function records are refused before anything
// of the document changes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/Recalc.h"
#include "spreadsheet/engine/RangeArguments.h"
#include "spreadsheet/engine/UserFunctions.h"
#include "tests/spreadsheet/files/WorksheetTestSupport.h"

namespace corvane {
namespace {

using testing::DumpCells;
using testing::RecordHeads;
using testing::RecordType;
using testing::WorksheetTest;

constexpr int kUserFunctionRecord = 105;

// The document's functions as "NAME,count:body" lines.
std::vector<std::string> DumpFunctions() {
  std::vector<std::string> lines;
  for (int index = 1; index <= DocumentUserFunctionCount(); ++index) {
    TUserFunc function;
    EXPECT_TRUE(DocumentUserFunction(index, function));
    lines.push_back(function.name + "," + std::to_string(function.argCount) + ":" + function.body);
  }
  return lines;
}

class WorksheetUserFunctionsTest : public WorksheetTest {
 protected:
  // A document with three functions and formulas calling them, saved; then
  // a fresh document.
  std::string SaveSheetWithFunctions() {
    EXPECT_TRUE(AppendDocumentUserFunction({"DOUBLE", "@A(1)*2", 1}));
    EXPECT_TRUE(AppendDocumentUserFunction({"GREET", "\"Hi \"&@A(1)", 1}));
    EXPECT_TRUE(AppendDocumentUserFunction({"TWELVE", "12", 0}));
    Enter(0, 0, "21");
    Enter(0, 1, "@DOUBLE(A1)");
    Enter(1, 1, "@GREET(\"you\")");
    Enter(2, 1, "@TWELVE+@DOUBLE(@TWELVE)");
    Enter(3, 1, "@TWELVE/0");
    std::string path = Path("FUNCS.WKS");
    EXPECT_TRUE(SaveWorksheet(path, false, TRange{}));
    return path;
  }
};

TEST_F(WorksheetUserFunctionsTest, FunctionsAndTheFormulasCallingThemSurviveSaveAndReload) {
  std::string path = SaveSheetWithFunctions();
  std::vector<std::string> cells = DumpCells(), functions = DumpFunctions();
  ASSERT_EQ(functions, (std::vector<std::string>{"DOUBLE,1:@A(1)*2", "GREET,1:\"Hi \"&@A(1)", "TWELVE,0:12"}));

  NewDocument("OTHER.WKS");
  ASSERT_TRUE(AppendDocumentUserFunction({"STALE", "1", 0}));
  ASSERT_TRUE(LoadWorksheet(path, 0, 0, 0, "")) << ErrorMessage();
  EXPECT_EQ(DumpFunctions(), functions) << "the file's table replaces the document's";
  EXPECT_EQ(DumpCells(), cells);
  EXPECT_EQ(CellContentsText(CellFind(2, 1)), "@TWELVE+@DOUBLE(@TWELVE)");

  // The functions work in the loaded document: a changed argument recalculates.
  Enter(0, 0, "5");
  RecalcAll();
  EXPECT_EQ(CellReal(*CellPtr(CellFind(0, 1))), 10);
  EXPECT_EQ(CellReal(*CellPtr(CellFind(2, 1))), 36);

  // Saving the loaded document writes the same bytes again, functions included.
  Enter(0, 0, "21");
  RecalcAll();
  std::string again = WorksheetBytes(false, TRange{});
  NewDocument("THIRD.WKS");
  ASSERT_TRUE(LoadWorksheet(path, 0, 0, 0, ""));
  EXPECT_EQ(WorksheetBytes(false, TRange{}), again);
}

TEST_F(WorksheetUserFunctionsTest, MergedFormulasCallTheSameFunctionsUnderTheDocumentsIndexes) {
  std::string path = SaveSheetWithFunctions();
  NewDocument("TARGET.WKS");
  ASSERT_TRUE(AppendDocumentUserFunction({"OTHER", "@A(1)-1", 1}));
  ASSERT_TRUE(AppendDocumentUserFunction({"TWELVE", "12", 0}));
  ASSERT_TRUE(AppendDocumentUserFunction({"DOUBLE", "@A(1)+@A(2)", 2}));  // same name, other count
  Enter(0, 0, "@OTHER(10)");
  ASSERT_TRUE(LoadWorksheet(path, kLoadMerge, 10, 0, "")) << ErrorMessage();
  // TWELVE is the document's own; DOUBLE of one argument and GREET are added.
  EXPECT_EQ(DumpFunctions(), (std::vector<std::string>{"OTHER,1:@A(1)-1", "TWELVE,0:12", "DOUBLE,2:@A(1)+@A(2)",
                                                       "DOUBLE,1:@A(1)*2", "GREET,1:\"Hi \"&@A(1)"}));
  EXPECT_EQ(CellContentsText(CellFind(0, 0)), "@OTHER(10)");
  Enter(10, 0, "4");
  RecalcAll();
  EXPECT_EQ(CellReal(*CellPtr(CellFind(0, 0))), 9);
  EXPECT_EQ(CellReal(*CellPtr(CellFind(10, 1))), 8);
  EXPECT_EQ(PoolStringView(CellResultText(*CellPtr(CellFind(11, 1)))), "Hi you");
  EXPECT_EQ(CellReal(*CellPtr(CellFind(12, 1))), 36);
}

// A load stops at a damaged function record with the functions before it; a
// formula that calls a function the load did not bring keeps its value.
TEST_F(WorksheetUserFunctionsTest, DamagedFunctionRecordsKeepWhatWasRead) {
  std::string good = testing::ReadWholeFile(SaveSheetWithFunctions());
  std::vector<std::size_t> records;
  for (std::size_t head : RecordHeads(good))
    if (RecordType(good, head) == kUserFunctionRecord) records.push_back(head);
  ASSERT_EQ(records.size(), 3u);
  std::size_t first = records[0];
  auto patched = [&](std::size_t at, std::string_view bytes) {
    std::string file = good;
    file.replace(at, bytes.size(), bytes);
    return file;
  };
  std::string record = good.substr(first, 4 + kUserFuncRecordBytes);
  std::string many = good;
  for (int k = 0; k < kMaxUserFuncs; ++k) many.insert(first, record);

  const std::string kDouble = "DOUBLE,1:@A(1)*2", kGreet = "GREET,1:\"Hi \"&@A(1)";
  struct Row {
    const char* what;
    std::string file;
    const char* message;
    std::vector<std::string> functions;  // those read before the fault
  } rows[] = {
      {"a record one byte short", good.substr(0, first) + std::string("\x69\x00\x11\x01", 4) +
                                      good.substr(first + 4, kUserFuncRecordBytes - 1) +
                                      good.substr(first + 4 + kUserFuncRecordBytes),
       "Error at Record:69[0111]", {}},
      {"a name of 13 characters", patched(first + 4, "\x0D"), "Error at Record:69[0112]", {}},
      {"eleven arguments", patched(first + 4 + 270, "\x0B"), "Error at Record:69[0112]", {}},
      {"a negative argument count", patched(first + 4 + 270, "\xFF\xFF\xFF\xFF"), "Error at Record:69[0112]", {}},
      {"more than 255 functions", many, "Error at Record:69[0112]",
       std::vector<std::string>(static_cast<std::size_t>(kMaxUserFuncs), kDouble)},
      // DOUBLE taking two arguments leaves the formulas that pass one unbalanced.
      {"an argument count the formulas do not pass", patched(first + 4 + 270, "\x02"), "Error at Record:10[0017]",
       {"DOUBLE,2:@A(1)*2", kGreet, "TWELVE,0:12"}},
      {"a call of a function the file lacks",
       good.substr(0, records[2]) + good.substr(records[2] + 4 + kUserFuncRecordBytes), "Error at Record:10[0017]",
       {kDouble, kGreet}},
  };
  auto number = [](int row, int col) {
    bool error = false;
    double value = CellNumber(CellPtr(CellFind(row, col)), error);
    return error ? -1 : value;
  };
  auto text = [](int row, int col) {
    const TCell* cell = CellPtr(CellFind(row, col));
    if (cell == nullptr) return std::string("<none>");
    return CellKind(*cell) == kKindLabel ? std::string(PoolStringView(cell->text).substr(1))
                                         : std::string(PoolStringView(CellResultText(*cell)));
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    NewDocument(std::string("KEEP") + std::to_string(&row - rows) + ".WKS");
    ASSERT_TRUE(AppendDocumentUserFunction({"MINE", "@A(1)+1", 1}));
    testing::ExpectLoadStopsAt(Path("BAD.WKS"), row.file, row.message, false);
    EXPECT_EQ(DumpFunctions(), row.functions);
    // Every cell is there, as a formula or as the value it had.
    EXPECT_EQ(number(0, 0), 21);
    EXPECT_EQ(number(0, 1), 42);
    EXPECT_EQ(text(1, 1), "Hi you");
    EXPECT_EQ(number(2, 1), 36);
    EXPECT_EQ(number(3, 1), -1) << "ERR, as a formula or as its value";
    RecalcAll();
    EXPECT_EQ(number(3, 1), -1);
  }
}

}  // namespace
}  // namespace corvane

// Merging a worksheet file into the current document (whole, by a range name
// or range text, replacing, adding or subtracting, by value or by formula),
// the backups and modified flag of saving, and the readers that take only
// names or cell values (name lists, linked files).
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/Recalc.h"
#include "spreadsheet/engine/TextCase.h"
#include "spreadsheet/engine/UndoBuffer.h"
#include "tests/spreadsheet/files/WorksheetTestSupport.h"

namespace corvane {
namespace {

using testing::DumpCells;
using testing::MakeRange;
using testing::ReadWholeFile;
using testing::WorksheetTest;

class WorksheetMergeTest : public WorksheetTest {
 protected:
  // Saves a source file: A1 3, B1 "+A1*2", A2 'text, B2 +"ab", C3 9 and the
  // name PART over B2..C3; then a fresh target document.
  void SaveSource() {
    Enter(0, 0, "3");
    Enter(0, 1, "+A1*2");
    Enter(1, 0, "'text");
    Enter(1, 1, "+\"ab\"");
    Enter(2, 2, "9");
    ASSERT_LT(RangeNameCreate("PART", MakeRange(1, 1, 2, 2)), 0);
    ASSERT_TRUE(SaveWorksheet(Path("SOURCE.WKS"), false, TRange{}));
    NewDocument("TARGET.WKS");
  }
  double Number(int row, int col) {
    const TCell* cell = CellPtr(CellFind(row, col));
    if (!cell) return -999;
    return CellKind(*cell) == kKindInteger ? CellInteger(*cell) : CellReal(*cell);
  }
  std::uint8_t Kind(int row, int col) { return CellKindOf(CellPtr(CellFind(row, col))); }
};

TEST_F(WorksheetMergeTest, CombineModesReplaceAddOrSubtractNumbers) {
  SaveSource();
  struct Row {
    int mode;
    std::uint8_t kind;
    double value;
  } rows[] = {
      {kLoadMerge, kKindInteger, 3},
      {kLoadMerge | kLoadCombineAdd, kKindReal, 5},
      {kLoadMerge | kLoadCombineSubtract, kKindReal, -1},
      {kLoadMerge | 1, kKindInteger, 3},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.mode);
    Enter(0, 0, "2");
    ASSERT_TRUE(LoadWorksheet(Path("SOURCE.WKS"), row.mode, 0, 0, "A1..A1"));
    EXPECT_EQ(Kind(0, 0), row.kind);
    EXPECT_EQ(Number(0, 0), row.value);
  }
  EXPECT_EQ(RangeNameCount(), 0) << "a merge takes no names";
}

TEST_F(WorksheetMergeTest, WithProtectionOnOnlyUnprotectedCellsChange) {
  SaveSource();
  Enter(0, 0, "2");
  Enter(0, 1, "5");
  CellPtr(CellFind(0, 1))->format &= static_cast<std::uint8_t>(~kFormatProtectedBit);
  CellPtr(CellFind(0, 0))->format |= kFormatProtectedBit;
  gCurrentDoc.settings.protection = 1;
  ASSERT_TRUE(LoadWorksheet(Path("SOURCE.WKS"), kLoadMerge | kLoadByValue, 0, 0, "A1..C3"));
  EXPECT_EQ(Number(0, 0), 2) << "a protected cell keeps its value";
  EXPECT_EQ(Number(0, 1), 6) << "an unprotected cell takes the file's";
  EXPECT_EQ(CellFind(1, 0), kNilHandle) << "a missing cell counts as protected";
  EXPECT_EQ(CellFind(2, 2), kNilHandle);

  gCurrentDoc.settings.protection = 0;
  ASSERT_TRUE(LoadWorksheet(Path("SOURCE.WKS"), kLoadMerge, 0, 0, "A1..C3"));
  EXPECT_EQ(Number(0, 0), 3);
  EXPECT_EQ(Number(2, 2), 9);
}

TEST_F(WorksheetMergeTest, ARangeNameOrRangeTextBoundsTheCellsTaken) {
  SaveSource();
  ASSERT_TRUE(LoadWorksheet(Path("SOURCE.WKS"), kLoadMerge, 10, 5, "part"));
  EXPECT_EQ(DumpCells(), (std::vector<std::string>{
                             "F11 kind 0 format 255 attr 255/0/0/0/3221225472 [+\"ab\"] = \"ab\"",
                             "G12 kind 3 format 255 attr 255/0/0/0/3221225472 [9]",
                         }));
  NewDocument("T2.WKS");
  ASSERT_TRUE(LoadWorksheet(Path("SOURCE.WKS"), kLoadMerge, 0, 0, "NOSUCHNAME"));
  EXPECT_TRUE(DumpCells().empty()) << "a name the file lacks merges nothing";
  ASSERT_TRUE(LoadWorksheet(Path("SOURCE.WKS"), kLoadMerge, 4, 3, "A1..B1"));
  EXPECT_EQ(DumpCells(), (std::vector<std::string>{
                             "D5 kind 3 format 255 attr 255/0/0/0/3221225472 [3]",
                             "E5 kind 1 format 255 attr 255/0/0/0/3221225472 [+D5*2] = 6",
                         }));
  EXPECT_EQ(PoolCheckInvariants(), "");
}

TEST_F(WorksheetMergeTest, ByValueTakesResultsAndByFormulaRelinksAndRecalculates) {
  SaveSource();
  gCurrentDoc.settings.labelPrefix = '^';
  ASSERT_TRUE(LoadWorksheet(Path("SOURCE.WKS"), kLoadMerge | kLoadByValue, 0, 0, "A1..B2"));
  EXPECT_EQ(DumpCells(), (std::vector<std::string>{
                             "A1 kind 3 format 255 attr 255/0/0/0/3221225472 [3]",
                             "B1 kind 2 format 255 attr 255/0/0/0/3221225472 [6] = 6",
                             "A2 kind 4 format 255 attr 255/0/0/0/3221225472 ['text]",
                             "B2 kind 4 format 255 attr 255/0/0/0/3221225472 [^ab]",
                         }));
  NewDocument("T2.WKS");
  Enter(5, 5, "10");
  ASSERT_TRUE(LoadWorksheet(Path("SOURCE.WKS"), kLoadMerge, 5, 6, "B1..B1"));
  EXPECT_EQ(CellContentsText(CellFind(5, 6)), "+F6*2");
  EXPECT_EQ(Number(5, 6), 20) << "recalculated against its new neighbour";
  Enter(5, 5, "4");
  EXPECT_EQ(Number(5, 6), 8) << "linked to the cell it reads";
}

TEST_F(WorksheetMergeTest, LeftUnlinkedFormulasKeepTheirStoredFormAndAMark) {
  SaveSource();
  ASSERT_TRUE(LoadWorksheet(Path("SOURCE.WKS"), kLoadMerge | kLoadNoRelink, 0, 0, "A1..B1"));
  const TCell* formula = CellPtr(CellFind(0, 1));
  ASSERT_NE(formula, nullptr);
  EXPECT_EQ(formula->kind, kKindNumberFormula | 0x10);
  EXPECT_EQ(CellReal(*formula), 6) << "the saved value stands";
  const std::uint8_t* code = PoolBlock(formula->text);
  // The reference to A1 is still the stored word pair: column -1, row 0 relative.
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(code + 3), 4), std::string("\xFF\xBF\x00\x80", 4));
  EXPECT_EQ(CellPtr(CellFind(0, 0))->dependents, kNilHandle) << "nothing linked";
}

TEST_F(WorksheetMergeTest, MergingOverAFormulaDropsItsLinks) {
  SaveSource();
  Enter(0, 2, "1");
  Enter(0, 1, "+C1+1");
  ASSERT_TRUE(LoadWorksheet(Path("SOURCE.WKS"), kLoadMerge | kLoadByValue, 0, 1, "B1..B1"));
  EXPECT_EQ(Number(0, 1), 6);
  Enter(0, 2, "50");
  EXPECT_EQ(Number(0, 1), 6) << "the replaced formula no longer listens to C1";
  EXPECT_EQ(CountMarkedCells(), 0);
  EXPECT_EQ(PoolCheckInvariants(), "");
}

TEST_F(WorksheetMergeTest, AMergeThatWouldLeaveTheSheetChangesNothing) {
  SaveSource();
  Enter(0, 0, "'mine");
  std::vector<std::string> before = DumpCells();
  EXPECT_FALSE(LoadWorksheet(Path("SOURCE.WKS"), kLoadMerge, kMaxRow, kMaxCol - 1, ""));
  EXPECT_EQ(ErrorMessage(), "Out of Range");
  EXPECT_EQ(DumpCells(), before);
}

TEST_F(WorksheetMergeTest, UndoAfterAMergeRestoresTheSheetAsItWas) {
  SaveSource();
  Enter(0, 0, "2");
  Enter(1, 1, "'mine");
  Enter(4, 4, "+A1+B1");
  windows.columnSizes = {{2, 30}};
  std::vector<std::string> before = DumpCells();
  struct Row {
    const char* what;
    int mode;
    const char* rangeName;
  } rows[] = {
      {"whole file, replacing", kLoadMerge, ""},
      {"a named range, adding", kLoadMerge | kLoadCombineAdd, "PART"},
      {"by value", kLoadMerge | kLoadByValue, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    ASSERT_TRUE(LoadWorksheet(Path("SOURCE.WKS"), row.mode, 0, 0, row.rangeName));
    ASSERT_NE(DumpCells(), before);
    ASSERT_TRUE(UndoAvailable());
    EXPECT_TRUE(UndoApply(TUndoMode::kRestore));
    EXPECT_EQ(DumpCells(), before);
    EXPECT_EQ(windows.columnSizes, (std::map<int, int>{{2, 30}}));
  }
  // A refused merge saves nothing: the buffer of the last command stays.
  Enter(0, 0, "7");
  ASSERT_TRUE(UndoSave());
  testing::WriteWholeFile(Path("BAD.WKS"), std::string("\x00\x00\x02\x00\x04\x04\x0F\x00\x03\x00\xFF\x00\x00", 13));
  EXPECT_FALSE(LoadWorksheet(Path("BAD.WKS"), kLoadMerge, 0, 0, ""));
  Enter(0, 0, "8");
  EXPECT_TRUE(UndoApply(TUndoMode::kRestore));
  EXPECT_EQ(Number(0, 0), 7);
  // A load brings a whole document: an earlier buffer is dropped.
  ASSERT_TRUE(UndoSave());
  ASSERT_TRUE(LoadWorksheet(Path("SOURCE.WKS"), 0, 0, 0, ""));
  EXPECT_FALSE(UndoAvailable());
}

TEST_F(WorksheetMergeTest, SavingKeepsABackupButNeverDeletesTheFileItself) {
  Enter(0, 0, "1");
  ASSERT_TRUE(SaveWorksheet(Path("BOOK"), false, TRange{}));
  std::string first = ReadWholeFile(Path("BOOK.WKS"));
  Enter(0, 0, "2");
  ASSERT_TRUE(SaveWorksheet(Path("book.wks"), false, TRange{}));
  EXPECT_EQ(ReadWholeFile(Path("BOOK.WKB")), first);
  EXPECT_NE(ReadWholeFile(Path("BOOK.WKS")), first);

  // Re-saving a file whose name ends in "B" (an opened backup) keeps it.
  ASSERT_TRUE(SaveWorksheet(Path("BOOK.WKB"), false, TRange{}));
  ASSERT_TRUE(SaveWorksheet(Path("BOOK.WKB"), false, TRange{}));
  EXPECT_EQ(ReadWholeFile(Path("BOOK.WKB")), ReadWholeFile(Path("BOOK.WKS")));

  ProgramSettings().Backups = false;
  ASSERT_TRUE(SaveWorksheet(Path("OTHER"), false, TRange{}));
  ASSERT_TRUE(SaveWorksheet(Path("OTHER"), false, TRange{}));
  EXPECT_EQ(ReadWholeFile(Path("OTHER.WKB")), "<missing>");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 3) << "no temporary files left";
}

TEST_F(WorksheetMergeTest, TheModifiedFlagClearsOnlyAfterAWholeSheetSaveThatWorked) {
  gCurrentDoc.settings.modified = 1;
  EXPECT_FALSE(SaveWorksheet(Path("NO/SUCH/FOLDER/X.WKS"), false, TRange{}));
  EXPECT_EQ(testing::gShownErrors, std::vector<std::string>{"Error:Unable to CLOSE file"});
  EXPECT_EQ(gCurrentDoc.settings.modified, 1);
  ASSERT_TRUE(SaveWorksheet(Path("PART.WKS"), true, MakeRange(0, 0, 1, 1)));
  EXPECT_EQ(gCurrentDoc.settings.modified, 1) << "a range export is not a save of the document";
  ASSERT_TRUE(SaveWorksheet(Path("X.WKS"), false, TRange{}));
  EXPECT_EQ(gCurrentDoc.settings.modified, 0);
}

TEST_F(WorksheetMergeTest, AFileNamedInLowerCaseIsFoundUnderAnyCase) {
  SaveSource();
  std::filesystem::rename(Path("SOURCE.WKS"), Path("source.wks"));
  std::vector<std::string> lines;
  EXPECT_TRUE(ReadRangeNames(Path("Source"), lines));
  EXPECT_EQ(lines, std::vector<std::string>{"PART: B2..C3"});
  EXPECT_TRUE(IsWorksheetFile(Path("SOURCE.WKS")));
  ASSERT_TRUE(LoadWorksheet(Path("source"), 0, 0, 0, ""));
  EXPECT_EQ(CellInteger(*CellPtr(CellFind(0, 0))), 3);
  // Saving under the name replaces that file instead of writing a second one.
  Enter(0, 0, "4");
  ASSERT_TRUE(SaveWorksheet(Path("SOURCE"), false, TRange{}));
  int named = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
    named += UpperCaseText(entry.path().filename().string()) == "SOURCE.WKS";
  EXPECT_EQ(named, 1);
  NewDocument("AGAIN.WKS");
  ASSERT_TRUE(LoadWorksheet(Path("source.wks"), 0, 0, 0, ""));
  EXPECT_EQ(CellInteger(*CellPtr(CellFind(0, 0))), 4);
}

TEST_F(WorksheetMergeTest, NameListsFileChecksAndLinkedCellValues) {
  Enter(0, 0, "1/0");
  SaveSource();
  std::vector<std::string> lines{"kept"};
  ASSERT_TRUE(ReadRangeNames(Path("SOURCE"), lines));
  EXPECT_EQ(lines, (std::vector<std::string>{"kept", "PART: B2..C3"}));
  EXPECT_FALSE(ReadRangeNames(Path("MISSING"), lines));
  EXPECT_TRUE(IsWorksheetFile(Path("SOURCE.WKS")));
  EXPECT_FALSE(IsWorksheetFile(Path("MISSING.WKS")));
  testing::WriteWholeFile(Path("TEXT.WKS"), "hello world");
  EXPECT_FALSE(IsWorksheetFile(Path("TEXT.WKS")));

  std::vector<std::string> values;
  ASSERT_TRUE(ReadLinkedFileCells(Path("SOURCE.WKS"), [&](const TLinkedCellValue& v) {
    values.push_back(std::to_string(v.row) + "," + std::to_string(v.col) + " " +
                     (v.isText ? "'" + v.text : testing::NumberText(v.number)));
  }));
  EXPECT_EQ(values, (std::vector<std::string>{"0,0 3", "0,1 6", "1,0 ''text", "1,1 'ab", "2,2 9"}));
  EXPECT_TRUE(DumpCells().empty()) << "linked-file reading leaves the document alone";
}

}  // namespace
}  // namespace corvane

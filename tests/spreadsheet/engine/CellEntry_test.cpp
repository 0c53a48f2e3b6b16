// Cell entry: numbers, labels, dates, formulas, protection, refused texts and
// the recalculation of dependents.
#include "spreadsheet/engine/CellEntry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "spreadsheet/engine/DateTime.h"
#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/Recalc.h"
#include "spreadsheet/engine/ShowError.h"
#include "tests/spreadsheet/engine/EngineTestSupport.h"

namespace corvane {
namespace {

using testing::EngineTest;

std::vector<std::string> gShown;

class CellEntryTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    OpenCurrent("C:\\SHEET.WKS");
    gShown.clear();
    SetShowErrorHandler([](std::string_view message) { gShown.emplace_back(message); });
  }
  void TearDown() override {
    SetShowErrorHandler(nullptr);
    EngineTest::TearDown();
  }
  const TCell* At(int row, int col) { return CellPtr(CellFind(row, col)); }
  std::uint8_t KindAt(int row, int col) { return At(row, col) ? At(row, col)->kind : kKindOfNoCell; }
  double NumberAt(int row, int col) {
    const TCell* cell = At(row, col);
    return CellKind(*cell) == kKindInteger ? CellInteger(*cell) : CellReal(*cell);
  }
  void SetFormat(int row, int col, std::uint8_t format) { CellPtr(CellGetOrCreate(row, col))->format = format; }
};

TEST_F(CellEntryTest, TextsBecomeNumbersLabelsAndFormulas) {
  struct Row {
    const char* text;
    std::uint8_t kind;
    double number;
    const char* label;
  } rows[] = {
      {"123", kKindInteger, 123, nullptr},     {"123.5", kKindReal, 123.5, nullptr},
      {"40000", kKindReal, 40000, nullptr},    {"-7", kKindInteger, -7, nullptr},
      {"1E+3", kKindInteger, 1000, nullptr},   {"+2*3", kKindNumberFormula, 6, nullptr},
      {"abc", kKindLabel, 0, "'abc"},          {"^abc", kKindLabel, 0, "^abc"},
      {"|>x", kKindLabel, 0, "|>x"},           {"\"right", kKindLabel, 0, "\"right"},
      {"1/2/1995", kKindNumberFormula, 1.0 / 2 / 1995, nullptr},
  };
  for (const Row& row : rows) {
    ASSERT_TRUE(EnterCell(row.text, 3, 3)) << row.text;
    EXPECT_EQ(KindAt(3, 3), row.kind) << row.text;
    if (row.label) {
      EXPECT_EQ(LabelAt(3, 3), row.label) << row.text;
    } else {
      EXPECT_DOUBLE_EQ(NumberAt(3, 3), row.number) << row.text;
    }
  }
  // 240 characters, the most the entry line takes, are stored whole beside
  // the prefix, given or typed; more are cut.
  ASSERT_TRUE(EnterCell(std::string(240, 'x'), 3, 3));
  EXPECT_EQ(LabelAt(3, 3), "'" + std::string(240, 'x'));
  ASSERT_TRUE(EnterCell("^" + std::string(250, 'y'), 3, 3));
  EXPECT_EQ(LabelAt(3, 3), "^" + std::string(240, 'y'));
  // A NUL byte, which a file would cut the label at, becomes a blank.
  ASSERT_TRUE(EnterCell(std::string_view("a\0b", 3), 3, 3));
  EXPECT_EQ(LabelAt(3, 3), "'a b");
  ASSERT_TRUE(EnterCell("5", 0, 0));
  ASSERT_TRUE(EnterCell("-A1", 0, 1));
  EXPECT_EQ(NumberAt(0, 1), -5);
  EXPECT_EQ(PoolCheckInvariants(), "");
}

TEST_F(CellEntryTest, RefusedFormulasKeepTheOldContents) {
  ASSERT_TRUE(EnterCell("5", 0, 0));
  ASSERT_TRUE(EnterCell("+A1*2", 0, 1));
  for (const char* text : {"+", "+(", "@NOSUCH(1)", "1+", "+A1 B1"}) {
    EXPECT_FALSE(EnterCell(text, 0, 0)) << text;
    EXPECT_TRUE(ErrorFlagSet()) << text;
    EXPECT_EQ(KindAt(0, 0), kKindInteger) << text;
    EXPECT_EQ(NumberAt(0, 0), 5) << text;
  }
  EXPECT_EQ(NumberAt(0, 1), 10);
  // A refused text into a missing cell creates nothing.
  EXPECT_FALSE(EnterCell("+", 9, 9));
  EXPECT_EQ(CellFind(9, 9), kNilHandle);
}

TEST_F(CellEntryTest, RefusedEntriesLeaveTheCellThePoolAndTheDocumentAsTheyWere) {
  ASSERT_TRUE(EnterCell("5", 0, 0));
  ASSERT_TRUE(EnterCell("+A1*2", 0, 1));
  // 58 and 59 terms 1E4 fit in a code (3 bytes each) but not in a text
  // (each shown as 10000).
  std::string terms = "1E4";
  for (int k = 1; k < 58; ++k) terms += "+1E4";
  struct Row {
    std::string text;
    const char* message;
    int pagesLeft;  // -1: memory as needed; n: the heap gives n more pages
  } rows[] = {
      {"@SUM(A1..IV8192)", kOutOfMemoryText, -1},
      {"@RANK(A1..IV8192)", kOutOfMemoryText, -1},
      {"@SUM(A1..Z2000)", kOutOfMemoryText, 20},      // runs out while linking
      {terms + "+1E4", kFormulaTooLongText, -1},           // compiles, but its text passes 240
      {terms + "+10000.00123", kFormulaTooLongText, -1},   // cut at 240, compiles, shows longer
      {terms + "+1E4+1E4+1E4", kFormulaTooLongText, -1},   // cut at 240 after a "+"
  };
  const std::int32_t used = PoolUsedBytes();
  for (const Row& row : rows) {
    platform.refuseGetMemAfter = row.pagesLeft;
    EXPECT_FALSE(EnterCell(row.text, 0, 1)) << row.text;
    platform.refuseGetMemAfter = -1;
    EXPECT_EQ(ErrorMessage(), row.message) << row.text;
    EXPECT_EQ(KindAt(0, 1), kKindNumberFormula) << row.text;
    EXPECT_EQ(NumberAt(0, 1), 10) << row.text;
    EXPECT_EQ(PoolUsedBytes(), used) << row.text;
    EXPECT_EQ(gCurrentDoc.highRow, 0) << row.text;
    EXPECT_EQ(gCurrentDoc.highCol, 1) << row.text;
    EXPECT_EQ(CellStoreCheckInvariants(), "") << row.text;
    EXPECT_EQ(PoolCheckInvariants(), "") << row.text;
  }
  // The old formula still reads A1, and new entries go in.
  ASSERT_TRUE(EnterCell("6", 0, 0));
  EXPECT_EQ(NumberAt(0, 1), 12);
  ASSERT_TRUE(EnterCell("@SUM(A1..B3)", 5, 5));
  EXPECT_EQ(NumberAt(5, 5), 18);
}

TEST_F(CellEntryTest, DatesAndTimesByTheCellsFormat) {
  SetFormat(0, 0, kFormatDateMonthFirst);
  ASSERT_TRUE(EnterCell("1/2/1995", 0, 0));
  EXPECT_EQ(NumberAt(0, 0), DateToSerial(2, 1, 1995));
  SetFormat(1, 0, kFormatDateDayFirst);
  ASSERT_TRUE(EnterCell("1/2/1995", 1, 0));
  EXPECT_EQ(NumberAt(1, 0), DateToSerial(1, 2, 1995));
  SetFormat(2, 0, kFormatTimeFirst);
  ASSERT_TRUE(EnterCell("12:00", 2, 0));
  EXPECT_DOUBLE_EQ(NumberAt(2, 0), 0.5);
  // A date that does not exist is refused and the cell keeps its value.
  EXPECT_FALSE(EnterCell("13/45/1995", 0, 0));
  EXPECT_TRUE(ErrorFlagSet());
  EXPECT_EQ(NumberAt(0, 0), DateToSerial(2, 1, 1995));
  // A leading "+" makes it arithmetic again.
  ASSERT_TRUE(EnterCell("+1/2", 0, 0));
  EXPECT_EQ(NumberAt(0, 0), 0.5);
  // A label prefix keeps the text a label, as imports of text rely on.
  for (const char* label : {"'1/2/1995", "'N/A", "^1/2"}) {
    ASSERT_TRUE(EnterCell(label, 1, 0)) << label;
    EXPECT_EQ(LabelAt(1, 0), label);
  }
  ASSERT_TRUE(EnterCell("'12:00", 2, 0));
  EXPECT_EQ(LabelAt(2, 0), "'12:00");
}

TEST_F(CellEntryTest, ProtectionRefusesLockedAndMissingCells) {
  ASSERT_TRUE(EnterCell("1", 0, 0));   // locked: the default format byte has bit 7
  SetFormat(0, 1, 0x7F);               // unlocked
  gCurrentDoc.settings.protection = 1;
  EXPECT_FALSE(EnterCell("2", 0, 0));
  EXPECT_FALSE(EnterCell("2", 5, 5));
  EXPECT_EQ(CellFind(5, 5), kNilHandle);
  ASSERT_EQ(gShown.size(), 2u);
  EXPECT_EQ(gShown[0], "Error:Protected Cell");
  EXPECT_EQ(NumberAt(0, 0), 1);
  EXPECT_TRUE(EnterCell("3", 0, 1));
  EXPECT_EQ(NumberAt(0, 1), 3);
  EXPECT_FALSE(SetCellNumber(0, 0, 9));
  EXPECT_TRUE(SetCellNumber(0, 1, 9));
  EXPECT_EQ(NumberAt(0, 1), 9);
}

TEST_F(CellEntryTest, EntryRecalculatesDependents) {
  ASSERT_TRUE(EnterCell("1", 0, 0));
  ASSERT_TRUE(EnterCell("+A1*2", 0, 1));
  ASSERT_TRUE(EnterCell("+B1+A1", 0, 2));
  EXPECT_EQ(NumberAt(0, 2), 3);
  ASSERT_TRUE(EnterCell("7", 0, 0));
  EXPECT_TRUE(EntryRecalculated());
  EXPECT_EQ(NumberAt(0, 1), 14);
  EXPECT_EQ(NumberAt(0, 2), 21);
  // Replacing a formula drops its old links: C1 no longer follows B1.
  ASSERT_TRUE(EnterCell("100", 0, 2));
  ASSERT_TRUE(EnterCell("8", 0, 0));
  EXPECT_EQ(NumberAt(0, 2), 100);
  // An empty text blanks the cell but keeps its attributes and dependents.
  SetFormat(0, 0, 0x12);
  ASSERT_TRUE(EnterCell("", 0, 0));
  EXPECT_EQ(KindAt(0, 0), kKindBlank);
  EXPECT_EQ(At(0, 0)->format, 0x12);
  EXPECT_NE(At(0, 0)->dependents, kNilHandle);
  EXPECT_EQ(NumberAt(0, 1), 0);
  // With manual recalculation the dependents wait.
  gCurrentDoc.settings.manualRecalc = 1;
  ASSERT_TRUE(EnterCell("4", 0, 0));
  EXPECT_FALSE(EntryRecalculated());
  EXPECT_EQ(NumberAt(0, 1), 0);
  RecalcAll();
  EXPECT_EQ(NumberAt(0, 1), 8);
  EXPECT_EQ(PoolCheckInvariants(), "");
}

TEST_F(CellEntryTest, DelimitedLinesFillARow) {
  ParseLineIntoCells("1;\"a b\";x", 2, 0);
  EXPECT_EQ(NumberAt(2, 0), 1);
  EXPECT_EQ(LabelAt(2, 1), "'a b");
  EXPECT_EQ(LabelAt(2, 2), "'x");
  // A field that reads as a formula but does not compile is kept as a label.
  ParseLineIntoCells("+x y", 3, 0);
  EXPECT_EQ(LabelAt(3, 0), "'+x");
  EXPECT_EQ(LabelAt(3, 1), "'y");
  EXPECT_FALSE(ErrorFlagSet());
}

}  // namespace
}  // namespace corvane

// The merge and transfer dialogs' values run against real files: what the
// merge dialog hands to the merge, and each transfer the transfer dialog runs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "spreadsheet/files/DbaseTransfer.h"
#include "spreadsheet/files/MergeDialog.h"
#include "spreadsheet/files/TransferDialog.h"
#include "tests/spreadsheet/files/WorksheetTestSupport.h"

namespace corvane {
namespace {

using testing::gShownErrors;
using testing::ReadWholeFile;
using testing::WorksheetTest;
using testing::WriteWholeFile;

class TransferDialogsTest : public WorksheetTest {
 protected:
  std::string Contents(int row, int col) { return CellContentsText(CellFind(row, col)); }
  TRange Cells(int c1, int r1, int c2, int r2) {
    TRange r;
    RangeSet(r, c1, r1, c2, r2);
    return r;
  }
};

TEST_F(TransferDialogsTest, MergeDialogMergesTheFileAtTheTarget) {
  Enter(0, 0, "3");
  Enter(0, 1, "+A1*2");
  Enter(1, 1, "7");
  ASSERT_LT(RangeNameCreate("PART", Cells(1, 0, 1, 1)), 0);
  ASSERT_TRUE(SaveWorksheet(Path("SOURCE.WKS"), false, TRange{}));
  NewDocument("TARGET.WKS");

  TMergeDialog dialog;
  dialog.Setup(Path("SOURCE.WKS"), kMergeByValue);
  dialog.action = kMergeSum;
  dialog.Activate(2, 3);
  EXPECT_EQ(dialog.Caption(), "Merge Value");
  EXPECT_EQ(dialog.targetText, "D3");
  EXPECT_EQ(dialog.action, kMergeReplace);
  EXPECT_EQ(dialog.rangeNames, std::vector<std::string>{"PART: B1..B2"});
  EXPECT_EQ(dialog.rangeChoice, "PART: B1..B2");
  dialog.targetText = "C1";
  dialog.Activate(9, 9);  // back from a range prompt: nothing reloads
  EXPECT_EQ(dialog.targetText, "C1");

  // The whole file by value at C1: the formula's value, not the formula.
  ASSERT_TRUE(dialog.Apply());
  EXPECT_EQ(Contents(0, 2), "3");
  EXPECT_EQ(Contents(0, 3), "6");
  // The named range added onto what is there.
  dialog.ChooseRange("PART: B1..B2");
  dialog.action = kMergeSum;
  dialog.targetText = "D1";
  ASSERT_TRUE(dialog.Apply());
  EXPECT_EQ(Contents(0, 3), "12");
  EXPECT_EQ(Contents(1, 3), "14");
  // By formula: the formula itself, replacing whatever action was set.
  NewDocument("OTHER.WKS");
  dialog.Setup(Path("SOURCE.WKS"), kMergeByFormula);
  dialog.Activate(0, 0);
  dialog.action = kMergeDifference;
  EXPECT_EQ(dialog.Caption(), "Merge by Formula");
  EXPECT_FALSE(dialog.ActionsEnabled());
  ASSERT_TRUE(dialog.Apply());
  EXPECT_EQ(Contents(0, 1), "+A1*2");

  // A target that is no cell merges nothing and says why.
  NewDocument("EMPTY.WKS");
  dialog.targetText = "ZZ1";
  EXPECT_FALSE(dialog.Apply());
  EXPECT_EQ(CellFind(0, 0), kNilHandle);
  EXPECT_FALSE(gShownErrors.empty());
}

TEST_F(TransferDialogsTest, MergeModeAndRangeName) {
  struct Row {
    int kind, action;
    bool whole;
    const char* choice;
    int mode;
    const char* name;
  } rows[] = {
      {kMergeByValue, kMergeReplace, true, "PART: B1..B2", 21, ""},
      {kMergeByValue, kMergeSum, false, "PART: B1..B2", 22, "PART"},
      {kMergeByValue, kMergeDifference, false, "A1..B5", 23, "A1..B5"},
      {kMergeByFormula, kMergeSum, false, "B:A1..B:C5", 25, "B:A1..B:C5"},
      {kMergeByFormula, kMergeReplace, false, "", 25, ""},
  };
  for (const Row& row : rows) {
    TMergeDialog dialog;
    dialog.Setup("X.WKS", row.kind);
    dialog.action = row.action;
    dialog.wholeFile = row.whole;
    dialog.rangeChoice = row.choice;
    EXPECT_EQ(dialog.Mode(), row.mode) << row.choice;
    EXPECT_EQ(dialog.RangeName(), row.name) << row.choice;
  }
}

TEST_F(TransferDialogsTest, TransferCaptionsAndFileLabel) {
  struct Row {
    int page, type;
    const char* caption;
    int height;
  } rows[] = {
      {0, 0, "Import Values", 130}, {0, 1, "Import Text", 130}, {1, 0, "Export WKS", 130},
      {1, 1, "Export Quoted Text", 130}, {1, 2, "Export Comma Delimited Text", 130}, {2, 5, "Import Dbase", 238},
      {1, 3, "Import Dbase", 130},  // the dBase export keeps the caption it had
  };
  TTransferDialog dialog;
  for (const Row& row : rows) {
    dialog.Open(row.page, "C:\\DATA\\SALES.TXT", row.type);
    EXPECT_EQ(dialog.caption, row.caption);
    EXPECT_EQ(dialog.height, row.height);
  }
  for (auto [path, label] : std::vector<std::pair<const char*, const char*>>{
           {"C:\\DATA\\SALES.TXT", "C:\\...SALES.TXT"},
           {"\\\\SERVER\\SHARE\\A.TXT", "\\...A.TXT"},
           {"A.TXT", "A.TXT"}})
    EXPECT_EQ(TransferFileLabel(path), label);
}

TEST_F(TransferDialogsTest, TransfersRunThroughTheDialog) {
  TTransferDialog dialog;
  // Import: values spread over the row, text kept as labels.
  WriteWholeFile(Path("IN.TXT"), "1,2\r\nab\r\n");
  dialog.Open(kTransferImportPage, Path("IN.TXT"), kImportValues);
  dialog.Activate(Cells(1, 0, 2, 1));
  EXPECT_EQ(dialog.rangeText[0], "B1..C2");
  ASSERT_TRUE(dialog.Apply());
  EXPECT_EQ(Contents(0, 1), "1");
  EXPECT_EQ(Contents(0, 2), "2");
  dialog.Open(kTransferImportPage, Path("IN.TXT"), kImportText);
  dialog.Activate(Cells(4, 0, 4, 0));
  ASSERT_TRUE(dialog.Apply());
  EXPECT_EQ(Contents(0, 4), "'1,2");
  EXPECT_EQ(Contents(1, 4), "'ab");

  // Export: quoted and plain text, and a worksheet of the range.
  dialog.Open(kTransferExportPage, Path("OUT.TXT"), kExportQuotedText);
  dialog.Activate(Cells(1, 0, 2, 0));
  ASSERT_TRUE(dialog.Apply());
  EXPECT_EQ(ReadWholeFile(Path("OUT.TXT")), "\"1\",\"2\"\r\n");
  dialog.Open(kTransferExportPage, Path("OUT.CSV"), kExportCommaText);
  dialog.Activate(Cells(1, 0, 2, 0));
  ASSERT_TRUE(dialog.Apply());
  EXPECT_EQ(ReadWholeFile(Path("OUT.CSV")), "1,2\r\n");
  dialog.Open(kTransferExportPage, Path("PART.WKS"), kExportWorksheet);
  dialog.Activate(Cells(1, 0, 2, 0));
  ASSERT_TRUE(dialog.Apply());
  EXPECT_TRUE(IsWorksheetFile(Path("PART.WKS")));

  // dBase: a table written, then read back from record 2 to 3.
  Enter(5, 0, "'NAME");
  for (int r = 6; r <= 9; ++r) Enter(r, 0, "'R" + std::to_string(r - 5));
  dialog.Open(kTransferExportPage, Path("T.DBF"), kExportDbase);
  dialog.Activate(Cells(0, 5, 0, 9));
  ASSERT_TRUE(dialog.Apply());
  dialog.Open(kTransferDbasePage, Path("T.DBF"), 0);
  dialog.Activate(Cells(7, 0, 7, 0));
  EXPECT_EQ(dialog.fieldCount, 1);
  EXPECT_EQ(dialog.recordCount, 4u);
  dialog.allRecords = false;
  dialog.startText = "2";
  dialog.stopText = "3";
  ASSERT_TRUE(dialog.Apply());
  EXPECT_EQ(Contents(0, 7), "'NAME");
  EXPECT_EQ(Contents(1, 7), "'R2");
  EXPECT_EQ(Contents(2, 7), "'R3");
  EXPECT_EQ(CellFind(3, 7), kNilHandle);
  // "&All" ignores the start edit and reads up to the stop record.
  dialog.allRecords = true;
  dialog.startText = "3";
  dialog.stopText = "1";
  dialog.rangeText[2] = "J1";
  ASSERT_TRUE(dialog.Apply());
  EXPECT_EQ(Contents(1, 9), "'R1");
  EXPECT_EQ(CellFind(2, 9), kNilHandle);
}

TEST_F(TransferDialogsTest, BadFieldsRefuseWithAMessage) {
  WriteWholeFile(Path("IN.TXT"), "1\r\n");
  struct Row {
    int page;
    const char* range;
    bool all;
    const char* start;
    const char* stop;
  } rows[] = {
      {kTransferImportPage, "ZZ1", true, "", ""},
      {kTransferImportPage, "", true, "", ""},
      {kTransferDbasePage, "A1", false, "x", ""},
      {kTransferDbasePage, "A1", false, "5", "2"},
      {kTransferExportPage, "A1", true, "", ""},  // a file that cannot be written
  };
  for (const Row& row : rows) {
    TTransferDialog dialog;
    dialog.Open(row.page, row.page == kTransferExportPage ? Path("nodir") + "/X.TXT" : Path("IN.TXT"), 1);
    dialog.rangeText[static_cast<std::size_t>(row.page)] = row.range;
    dialog.allRecords = row.all;
    dialog.startText = row.start;
    dialog.stopText = row.stop;
    gShownErrors.clear();
    EXPECT_FALSE(dialog.Apply()) << row.range << row.start;
    EXPECT_EQ(gShownErrors.size(), 1u) << row.range << row.start;
    EXPECT_EQ(CellFind(0, 0), kNilHandle);
  }
}

}  // namespace
}  // namespace corvane

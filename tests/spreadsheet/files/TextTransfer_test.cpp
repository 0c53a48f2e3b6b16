// Text import in its three modes (line ends, long lines, wrapping into the next
// column, protection, missing files), text export in both quote modes (empty
// fields, quotes and separators inside fields, spaces, write failures) and
// round trips through both.
#include "spreadsheet/files/TextTransfer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/EngineError.h"
#include "tests/spreadsheet/files/TransferTestSupport.h"

namespace corvane {
namespace {

using testing::gShownErrors;
using testing::MakeRange;
using testing::ReadWholeFile;
using testing::WriteWholeFile;

class TextImportTest : public testing::TransferTest {};
class TextExportTest : public testing::TransferTest {};

TEST_F(TextImportTest, LabelModeTakesEveryLineEndAndCutsLongLines) {
  std::string longLine(300, 'x');
  std::string path = folder.File("LINES.TXT");
  WriteWholeFile(path, "one\r\ntwo\nthree\rfour\r\n\r\n\"q\",a b,;\r\n" + longLine + "\r\nlast");
  ASSERT_TRUE(ImportTextFile(kImportLabels, 2, 1, path));
  const char* expected[] = {"'one", "'two", "'three", "'four", "'", "'\"q\",a b,;"};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(LabelAt(2 + i, 1), expected[i]) << i;
  // The label keeps 240 characters with its prefix; the rest of the line is
  // dropped, not carried into the next cell.
  EXPECT_EQ(LabelAt(8, 1), "'" + std::string(239, 'x'));
  EXPECT_EQ(LabelAt(9, 1), "'last");
  EXPECT_EQ(CellCount(), 8);
  EXPECT_TRUE(gShownErrors.empty());
  // A NUL byte reads as a blank, so no label holds one (a file would cut it).
  WriteWholeFile(path, std::string("lone\0hidden text\n", 17));
  ASSERT_TRUE(ImportTextFile(kImportLabels, 20, 1, path));
  EXPECT_EQ(LabelAt(20, 1), "'lone hidden text");
}

TEST_F(TextImportTest, LabelModeUsesTheDefaultPrefix) {
  gCurrentDoc.settings.labelPrefix = '^';
  std::string path = folder.File("P.TXT");
  WriteWholeFile(path, "12\n'x\n");
  ASSERT_TRUE(ImportTextFile(kImportLabels, 0, 0, path));
  EXPECT_EQ(LabelAt(0, 0), "^12");  // a label, not a number
  EXPECT_EQ(LabelAt(1, 0), "^'x");
}

TEST_F(TextImportTest, LinesWrapIntoTheNextColumnAfterTheLastRow) {
  std::string text;
  for (int i = 1; i <= 8200; ++i) text += "L" + std::to_string(i) + "\r\n";
  std::string path = folder.File("BIG.TXT");
  WriteWholeFile(path, text);
  ASSERT_TRUE(ImportTextFile(kImportLabels, 0, 0, path));
  EXPECT_EQ(LabelAt(8191, 0), "'L8192");
  EXPECT_EQ(LabelAt(0, 1), "'L8193");
  EXPECT_EQ(LabelAt(7, 1), "'L8200");
  EXPECT_EQ(At(8, 1), nullptr);
  EXPECT_EQ(CellCount(), 8200);

  // From a later start row the next column starts at that row again.
  WriteWholeFile(path, "a\nb\nc\n");
  ASSERT_TRUE(ImportTextFile(kImportLabels, 8190, 5, path));
  EXPECT_EQ(LabelAt(8190, 5), "'a");
  EXPECT_EQ(LabelAt(8191, 5), "'b");
  EXPECT_EQ(LabelAt(8190, 6), "'c");
}

TEST_F(TextImportTest, PastTheLastColumnStopsWithOutOfRange) {
  std::string path = folder.File("END.TXT");
  WriteWholeFile(path, "a\nb\nc\n");
  EXPECT_FALSE(ImportTextFile(kImportLabels, 8191, 255, path));
  EXPECT_EQ(LabelAt(8191, 255), "'a");
  EXPECT_EQ(CellCount(), 1);
  EXPECT_EQ(ErrorCode(), kErrorOutOfRange);
  EXPECT_EQ(gShownErrors, std::vector<std::string>{"Error:Out of Range"});

  // The last cell of the sheet can be filled without an error.
  gShownErrors.clear();
  WriteWholeFile(path, "z\n");
  EXPECT_TRUE(ImportTextFile(kImportLabels, 8191, 255, path));
  EXPECT_TRUE(gShownErrors.empty());
}

TEST_F(TextImportTest, FieldModeSpreadsEachLineOverARow) {
  std::string path = folder.File("FIELDS.TXT");
  WriteWholeFile(path, "1,\"a b\",x\r\n1,,3\r\n\r\n  2.5;-4 @\r\n");
  ASSERT_TRUE(ImportTextFile(kImportFields, 0, 0, path));
  struct Row {
    int row;
    std::vector<std::string> cells;
  } rows[] = {
      {0, {"#1", "'a b", "'x"}},
      {1, {"#1", "'", "#3"}},
      {2, {"", "", ""}},  // an empty line still takes its row
      {3, {"#2.5", "#-4", "'@"}},
  };
  for (const Row& r : rows)
    for (int c = 0; c < 3; ++c) EXPECT_EQ(Shown(r.row, c), r.cells[c]) << r.row << "," << c;
  EXPECT_FALSE(ErrorFlagSet());
}

TEST_F(TextImportTest, FileNameModeListsTheMatchingNames) {
  std::filesystem::path dotted = std::filesystem::path(folder.Path()) / "MY.DIR";
  std::filesystem::create_directories(dotted / "sub.txt");
  for (const char* name : {"b.TXT", "a.txt", "c.csv", "notes.txt.bak", "d.text"})
    WriteWholeFile((dotted / name).string(), "x");
  std::string base = dotted.string() + "/";
  // The extension comes from the file's own name, not from the folder's.
  ASSERT_TRUE(ImportTextFile(kImportFileNames, 0, 0, base + "ANY.TXT"));
  EXPECT_EQ(LabelAt(0, 0), "'a.txt");
  EXPECT_EQ(LabelAt(1, 0), "'b.TXT");
  EXPECT_EQ(LabelAt(2, 0), "'sub.txt");
  EXPECT_EQ(CellCount(), 3);

  // No extension: every entry; three characters at most.
  ASSERT_TRUE(ImportTextFile(kImportFileNames, 0, 1, base + "ANY"));
  EXPECT_EQ(LabelAt(4, 1), "'notes.txt.bak");
  EXPECT_EQ(LabelAt(5, 1), "'sub.txt");
  EXPECT_EQ(At(6, 1), nullptr);
  ASSERT_TRUE(ImportTextFile(kImportFileNames, 0, 2, base + "X.CSVX"));
  EXPECT_EQ(LabelAt(0, 2), "'c.csv");
  EXPECT_EQ(At(1, 2), nullptr);
}

TEST_F(TextImportTest, LongFileNamesAreCutTo80Characters) {
  std::string name(120, 'n');
  name += ".txt";
  WriteWholeFile(folder.File(name), "x");
  ASSERT_TRUE(ImportTextFile(kImportFileNames, 0, 0, folder.File("*.txt")));
  EXPECT_EQ(LabelAt(0, 0), "'" + std::string(80, 'n'));
}

TEST_F(TextImportTest, RefusalsStopWithOneMessage) {
  // A missing file.
  EXPECT_FALSE(ImportTextFile(kImportLabels, 0, 0, folder.File("NONE.TXT")));
  EXPECT_FALSE(ImportTextFile(kImportFields, 0, 0, folder.File("NONE.TXT")));
  EXPECT_EQ(ErrorMessage(), "File Not Found");
  EXPECT_EQ(gShownErrors, (std::vector<std::string>{"Error:File Not Found", "Error:File Not Found"}));
  // A protected sheet, in both line modes.
  std::string path = folder.File("P.TXT");
  WriteWholeFile(path, "a\nb\nc\n");
  gCurrentDoc.settings.protection = 1;
  for (int mode : {kImportLabels, kImportFields}) {
    gShownErrors.clear();
    EXPECT_FALSE(ImportTextFile(mode, 0, 0, path)) << mode;
    EXPECT_EQ(gShownErrors, std::vector<std::string>{"Error:Protected Cell"}) << mode;
  }
  EXPECT_EQ(CellCount(), 0);
  // Fields that reach a protected cell past an open first one: one message,
  // and the line changes nothing.
  gCurrentDoc.settings.protection = 0;
  WriteWholeFile(path, "1 2\n3 4\n5 6\n");
  for (int row = 0; row < 3; ++row) {
    ASSERT_TRUE(EnterCell("'open", row, 0));
    CellPtr(CellFind(row, 0))->format = 0x7F;
  }
  gCurrentDoc.settings.protection = 1;
  gShownErrors.clear();
  EXPECT_FALSE(ImportTextFile(kImportFields, 0, 0, path));
  EXPECT_EQ(gShownErrors, std::vector<std::string>{"Error:Protected Cell"});
  EXPECT_EQ(LabelAt(0, 0), "'open");
  EXPECT_EQ(CellCount(), 3);
  CellStoreClear();
  // A start outside the sheet, and a mode that does not exist.
  gCurrentDoc.settings.protection = 0;
  EXPECT_FALSE(ImportTextFile(kImportLabels, 8192, 0, path));
  EXPECT_TRUE(ImportTextFile(4, 0, 0, path));
  EXPECT_EQ(CellCount(), 0);
}

TEST_F(TextExportTest, WritesEveryKindOfCellInBothQuoteModes) {
  ASSERT_TRUE(EnterCell("^Name", 0, 0));
  ASSERT_TRUE(EnterCell("12", 0, 1));
  ASSERT_TRUE(EnterCell("-3.25", 0, 3));  // column 2 is missing
  ASSERT_TRUE(EnterCell("'  two   spaces ", 1, 0));
  ASSERT_NE(CellGetOrCreate(1, 1), kNilHandle);  // blank
  ASSERT_TRUE(EnterCell("+\"ab\"&\"c\"", 1, 2));
  ASSERT_TRUE(EnterCell("+B1*2", 1, 3));
  ASSERT_TRUE(EnterCell("'a,b", 2, 0));
  ASSERT_TRUE(EnterCell("'say \"hi\"", 2, 1));
  ASSERT_TRUE(EnterCell("1e7", 2, 2));
  ASSERT_TRUE(EnterCell("'" + std::string(100, 'w'), 2, 3));
  std::string w80(80, 'w');

  std::string path = folder.File("OUT.CSV");
  ASSERT_TRUE(ExportTextFile(path, 1, MakeRange(0, 0, 3, 2)));
  EXPECT_EQ(ReadWholeFile(path),
            "Name,12,,-3.25\r\n"
            "two spaces,,abc,24\r\n"
            "\"a,b\",\"say \"\"hi\"\"\",1E+07," +
                w80 + "\r\n");

  // Corners in either order give the same lines.
  ASSERT_TRUE(ExportTextFile(path, kExportQuoteAll, MakeRange(3, 2, 0, 0)));
  EXPECT_EQ(ReadWholeFile(path),
            "\"Name\",\"12\",\"\",\"-3.25\"\r\n"
            "\"two spaces\",\"\",\"abc\",\"24\"\r\n"
            "\"a,b\",\"say \"\"hi\"\"\",\"1E+07\",\"" +
                w80 + "\"\r\n");
}

TEST_F(TextExportTest, ErrorValuesAndDecimalCommasStayInTheirFields) {
  ASSERT_TRUE(EnterCell("+1/0", 0, 0));
  ASSERT_TRUE(EnterCell("1.5", 0, 1));
  std::string path = folder.File("ERR.CSV");
  ASSERT_TRUE(ExportTextFile(path, 1, MakeRange(0, 0, 1, 0)));
  EXPECT_EQ(ReadWholeFile(path), "ERR,1.5\r\n");
  FormatSettings().Period = ',';
  ASSERT_TRUE(ExportTextFile(path, 1, MakeRange(0, 0, 1, 0)));
  EXPECT_EQ(ReadWholeFile(path), "ERR,\"1,5\"\r\n");
}

TEST_F(TextExportTest, FailuresSetTheErrorAndKeepTheOldFile) {
  ASSERT_TRUE(EnterCell("1", 0, 0));
  EXPECT_FALSE(ExportTextFile(folder.File("NO/SUCH/FOLDER.CSV"), 1, MakeRange(0, 0, 0, 0)));
  EXPECT_EQ(ErrorMessage(), "Write Error");
  EXPECT_TRUE(gShownErrors.empty());  // the caller shows it or keeps it as a result

  std::string path = folder.File("KEEP.CSV");
  WriteWholeFile(path, "old");
  TRange outside;
  EXPECT_FALSE(ExportTextFile(path, 1, outside));  // an unset range
  EXPECT_EQ(ErrorCode(), kErrorOutOfRange);
  EXPECT_FALSE(ExportTextFile(path, 1, MakeRange(0, 0, 256, 0)));
  EXPECT_EQ(ReadWholeFile(path), "old");
}

TEST_F(TextExportTest, ExportedFieldsReadBackIntoTheSameCells) {
  ASSERT_TRUE(EnterCell("42", 0, 0));
  ASSERT_TRUE(EnterCell("-0.125", 0, 1));
  ASSERT_TRUE(EnterCell("'word", 0, 2));
  ASSERT_TRUE(EnterCell("'a, b and \"c\"", 1, 0));
  ASSERT_TRUE(EnterCell("123456.5", 1, 2));
  std::string path = folder.File("TRIP.CSV");
  ASSERT_TRUE(ExportTextFile(path, 1, MakeRange(0, 0, 2, 1)));
  CellStoreClear();
  ASSERT_TRUE(ImportTextFile(kImportFields, 5, 1, path));
  EXPECT_EQ(Shown(5, 1), "#42");
  EXPECT_EQ(Shown(5, 2), "#-0.125");
  EXPECT_EQ(Shown(5, 3), "'word");
  EXPECT_EQ(Shown(6, 1), "'a, b and c");  // one field; the line parser drops inner quotes
  EXPECT_EQ(Shown(6, 2), "'");            // the empty field
  EXPECT_EQ(Shown(6, 3), "#123456.5");

  // Quoted export and label import keep each line as it was written.
  ASSERT_TRUE(ExportTextFile(path, kExportQuoteAll, MakeRange(1, 5, 3, 5)));
  CellStoreClear();
  ASSERT_TRUE(ImportTextFile(kImportFields, 0, 0, path));
  EXPECT_EQ(Shown(0, 0), "'42");  // quoted fields come back as labels
  EXPECT_EQ(Shown(0, 2), "'word");
}

class SmallPoolTransferTest : public testing::TransferTest {
 protected:
  SmallPoolTransferTest() : TransferTest(8) {}
};

TEST_F(SmallPoolTransferTest, AFullPoolStopsTheImportWithOneMessage) {
  std::string lines;
  for (int i = 0; i < 3000; ++i) lines += "alpha beta gamma delta\r\n";
  std::string path = folder.File("MANY.TXT");
  WriteWholeFile(path, lines);
  for (int mode : {kImportLabels, kImportFields}) {
    CellStoreClear();
    gShownErrors.clear();
    EXPECT_FALSE(ImportTextFile(mode, 0, 0, path)) << mode;
    EXPECT_EQ(gShownErrors, std::vector<std::string>{"Error:Out of Memory"}) << mode;
    EXPECT_EQ(LabelAt(0, 0), mode == kImportLabels ? "'alpha beta gamma delta" : "'alpha") << mode;
    EXPECT_GT(CellCount(), 10) << mode;
  }
}

}  // namespace
}  // namespace corvane

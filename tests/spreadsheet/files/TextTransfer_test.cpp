// Text import in its three modes (line ends, long lines, wrapping into the next
// column, protection, missing files), text export in both quote modes (empty
// fields, quotes and separators inside fields, spaces, write failures) and
// round trips through both.
#include "spreadsheet/files/TextTransfer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

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
  // The label keeps 240 characters besides its prefix; the rest of the line
  // is dropped, not carried into the next cell.
  EXPECT_EQ(LabelAt(8, 1), "'" + std::string(240, 'x'));
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

TEST_F(TextImportTest, FieldLinesWrapPastEveryColumnTheyFilled) {
  std::string text;
  for (int i = 1; i <= 8200; ++i) {
    std::string n = std::to_string(i);
    text += n + ",a" + n + ",b" + n + "\r\n";
  }
  std::string path = folder.File("WIDE.CSV");
  WriteWholeFile(path, text);
  ASSERT_TRUE(ImportTextFile(kImportFields, 0, 0, path));
  EXPECT_EQ(Shown(8191, 0), "#8192");
  EXPECT_EQ(Shown(8191, 2), "'b8192");
  EXPECT_EQ(Shown(0, 1), "'a1");  // not overwritten by the lines after the wrap
  EXPECT_EQ(Shown(0, 3), "#8193");
  EXPECT_EQ(Shown(7, 5), "'b8200");
  EXPECT_EQ(CellCount(), 24600);
  EXPECT_TRUE(gShownErrors.empty());

  // No room right of the filled columns: the import stops with a message
  // instead of wrapping onto them.
  CellStoreClear();
  EXPECT_FALSE(ImportTextFile(kImportFields, 0, 254, path));
  EXPECT_EQ(Shown(8191, 255), "'a8192");
  EXPECT_EQ(CellCount(), 2 * 8192);
  EXPECT_EQ(gShownErrors, std::vector<std::string>{"Error:Out of Range"});
}

TEST_F(TextImportTest, AByteOrderMarkIsSkippedInBothLineModes) {
  std::string path = folder.File("BOM.TXT");
  WriteWholeFile(path, "\xEF\xBB\xBF" "123,abc\r\nnext\r\n");
  ASSERT_TRUE(ImportTextFile(kImportFields, 0, 0, path));
  EXPECT_EQ(Shown(0, 0), "#123");
  EXPECT_EQ(Shown(0, 1), "'abc");
  ASSERT_TRUE(ImportTextFile(kImportLabels, 0, 3, path));
  EXPECT_EQ(Shown(0, 3), "'123,abc");
  EXPECT_EQ(Shown(1, 3), "'next");
  // The mark says UTF-8: the text comes in the ANSI code page, a character
  // it lacks as "?".
  WriteWholeFile(path, "\xEF\xBB\xBF" "\"d\xC3\xA9" "f \xE2\x82\xAC \xCE\xB1\",2\r\n");
  ASSERT_TRUE(ImportTextFile(kImportFields, 3, 0, path));
  EXPECT_EQ(Shown(3, 0), "'d\xE9" "f \x80 ?");
  EXPECT_EQ(Shown(3, 1), "#2");
  // Only at the file's start: a mark further on is text.
  WriteWholeFile(path, "x\r\n\xEF\xBB\xBFy\r\n");
  ASSERT_TRUE(ImportTextFile(kImportLabels, 0, 5, path));
  EXPECT_EQ(Shown(1, 5), "'\xEF\xBB\xBFy");
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
  const std::string x150(150, 'x'), y150(150, 'y');
  WriteWholeFile(path,
                 "1,\"a b\",x\r\n1,,3\r\n\r\n  2.5;-4 @\r\n,x,y\r\n1, 2, 3\r\n"
                 "\"say \"\"hi\"\", ok\",New York, \"a;b\" \r\n+A1*6,@SUM(,\"12\"\r\n"
                 "\"two\nlines\",7,\"cr\rthen \"\"crlf\r\n\"\"\"\r\n"
                 "\"stray\r\n" + x150 + "\r\n" + y150 + "\r\nz\"\r\n"
                 "\"open,x\r\nb,c");
  ASSERT_TRUE(ImportTextFile(kImportFields, 0, 0, path));
  struct Row {
    int row;
    std::vector<std::string> cells;
  } rows[] = {
      {0, {"#1", "'a b", "'x"}},
      {1, {"#1", "", "#3"}},  // the empty field keeps its column, blank
      {2, {"", "", ""}},  // an empty line still takes its row
      {3, {"#2.5", "#-4", "'@"}},
      // Comma-separated lines: a leading empty field keeps its column, blanks
      // around fields go, quoted fields keep blanks, commas and quotes.
      {4, {"", "'x", "'y"}},
      {5, {"#1", "#2", "#3"}},
      {6, {"'say \"hi\", ok", "'New York", "'a;b"}},
      // Unquoted fields are read as typed (a formula that does not compile is
      // kept as a label); a quoted one is a label.
      {7, {"#6", "'@SUM(", "'12"}},
      // A quoted field holds the line breaks up to its closing quote, each as
      // it stands in the file.
      {8, {"'two\nlines", "#7", "'cr\rthen \"crlf\r\n\""}},
      // A quote still open past a cell's 240 characters, or at the file's
      // end, leaves every line a row of its own.
      {9, {"'stray", "", ""}},
      {10, {"'" + x150, "", ""}},
      {11, {"'" + y150, "", ""}},
      {12, {"'z\"", "", ""}},
      {13, {"'open,x", "", ""}},
      {14, {"'b", "'c", ""}},
  };
  for (const Row& r : rows)
    for (int c = 0; c < 3; ++c) EXPECT_EQ(Shown(r.row, c), r.cells[c]) << r.row << "," << c;
  EXPECT_EQ(At(5, 3), nullptr);
  EXPECT_FALSE(ErrorFlagSet());
}

TEST_F(TextImportTest, UnderADecimalCommaFieldsPartAtSemicolonsOrBetweenQuotedCommas) {
  FormatSettings().Comma = '.';
  FormatSettings().Period = ',';
  InitParserCharSets('|', ',');
  std::string path = folder.File("COMMA.TXT");
  WriteWholeFile(path, "1,5;\"a,b\";;7\r\n\"x\",\"y, z\",2\r\n\"one\"\r\n1,25\r\n");
  ASSERT_TRUE(ImportTextFile(kImportFields, 0, 0, path));
  struct Row {
    int row;
    std::vector<std::string> cells;
  } rows[] = {
      {0, {"#1,5", "'a,b", "", "#7"}},  // the export's own lines (shown with the decimal comma)
      {1, {"'x", "'y, z", "#2", ""}},   // quoted fields parted by commas, as written elsewhere
      {2, {"'one", "", "", ""}},
      {3, {"#1,25", "", "", ""}},       // an unquoted comma is a decimal point, as typed
  };
  for (const Row& r : rows)
    for (int c = 0; c < 4; ++c) EXPECT_EQ(Shown(r.row, c), r.cells[c]) << r.row << "," << c;
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
  std::string w100(100, 'w');  // texts are written whole, blanks and all

  std::string path = folder.File("OUT.CSV");
  ASSERT_TRUE(ExportTextFile(path, 1, MakeRange(0, 0, 3, 2)));
  EXPECT_EQ(ReadWholeFile(path),
            "Name,12,,-3.25\r\n"
            "\"  two   spaces \",,abc,24\r\n"
            "\"a,b\",\"say \"\"hi\"\"\",1E+07," +
                w100 + "\r\n");

  // Corners in either order give the same lines.
  ASSERT_TRUE(ExportTextFile(path, kExportQuoteAll, MakeRange(3, 2, 0, 0)));
  EXPECT_EQ(ReadWholeFile(path),
            "\"Name\",\"12\",\"\",\"-3.25\"\r\n"
            "\"  two   spaces \",\"\",\"abc\",\"24\"\r\n"
            "\"a,b\",\"say \"\"hi\"\"\",\"1E+07\",\"" +
                w100 + "\"\r\n");
}

TEST_F(TextExportTest, ErrorValuesAndDecimalCommasStayInTheirFields) {
  ASSERT_TRUE(EnterCell("+1/0", 0, 0));
  ASSERT_TRUE(EnterCell("1.5", 0, 1));
  std::string path = folder.File("ERR.CSV");
  ASSERT_TRUE(ExportTextFile(path, 1, MakeRange(0, 0, 1, 0)));
  EXPECT_EQ(ReadWholeFile(path), "ERR,1.5\r\n");
  FormatSettings().Period = ',';  // fields then part at ";", numbers bare
  ASSERT_TRUE(ExportTextFile(path, 1, MakeRange(0, 0, 1, 0)));
  EXPECT_EQ(ReadWholeFile(path), "ERR;1,5\r\n");
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
  EXPECT_EQ(Shown(6, 1), "'a, b and \"c\"");
  EXPECT_EQ(Shown(6, 2), "");  // the empty field
  EXPECT_EQ(Shown(6, 3), "#123456.5");

  // Quoted export and label import keep each line as it was written.
  ASSERT_TRUE(ExportTextFile(path, kExportQuoteAll, MakeRange(1, 5, 3, 5)));
  CellStoreClear();
  ASSERT_TRUE(ImportTextFile(kImportFields, 0, 0, path));
  EXPECT_EQ(Shown(0, 0), "'42");  // quoted fields come back as labels
  EXPECT_EQ(Shown(0, 2), "'word");
}

// What a cell gives as a value: "" for no cell or a blank, "#" and the
// number, or "'" and the text of a label or a text formula's result.
std::string ValueAt(const TCell* cell) {
  if (cell == nullptr || CellKind(*cell) == kKindBlank) return "";
  return (CellHasNumber(cell) ? "#" : "'") + CellTransferText(cell);
}

TEST_F(TextExportTest, CommaExportImportedAtTheSameCellGivesTheSameCells) {
  struct Cell {
    int row, col;
    const char* typed;  // nullptr: a blank cell
    std::uint8_t format;
  } cells[] = {
      // Row 1's first cell is missing, row 2's blank.
      {1, 2, "x", 0xFF}, {1, 3, "y", 0xFF}, {1, 4, "7", 0xFF},
      {2, 1, nullptr, 0xFF}, {2, 2, "New York", 0xFF}, {2, 3, "'a, b", 0xFF}, {2, 4, "'say \"hi\", ok", 0xFF},
      {3, 1, "'  two  spaces ", 0xFF}, {3, 2, "'", 0xFF}, {3, 3, "'123", 0xFF}, {3, 4, "'^centred", 0xFF},
      {4, 1, "'+x", 0xFF}, {4, 2, "'1/2/1995", 0xFF}, {4, 3, "'a;b", 0xFF}, {4, 4, "^Title", 0xFF},
      {5, 1, "42", 0xFF}, {5, 2, "-0.125", 0xFF}, {5, 3, "1e7", 0xFF}, {5, 4, "1.5e-20", 0xFF},
      {6, 1, "0.375", 0x32}, {6, 2, "123456789012", 0x02}, {6, 3, "34700", 0x72}, {6, 4, "0.75", 0x7B},
      {7, 1, "+B6*2", 0xFF}, {7, 2, "+\"ab\"&\"c\"", 0xFF}, {7, 3, "-5", 0x22}, {7, 4, "1.23456", 0x42},
      {8, 1, "'\"quoted\"", 0xFF}, {8, 2, "'1, 2", 0xFF}, {8, 3, "'two\r\nlines", 0xFF}, {8, 4, "'end", 0xFF},
      // Line breaks inside labels, of every kind.
      {9, 2, "'line\nfeed", 0xFF}, {9, 3, "'\r", 0xFF}, {9, 4, "'say \"\"\n\"", 0xFF},
  };
#ifndef _WIN32
  const bool havePython = std::system("command -v python3 >/dev/null 2>&1") == 0;
#endif
  // With a decimal comma the fields part at ";" and numbers keep their
  // decimal commas, bare.
  for (const char decimal : {'.', ','}) {
    SCOPED_TRACE(std::string("decimal separator ") + decimal);
    CellStoreClear();
    InitParserCharSets(',', '.');
    FormatSettings().Comma = ',';
    for (const Cell& c : cells) {
      if (c.typed == nullptr) {
        ASSERT_NE(CellGetOrCreate(c.row, c.col), kNilHandle);
        continue;
      }
      ASSERT_TRUE(EnterCell(c.typed, c.row, c.col)) << c.typed;
      CellPtr(CellFind(c.row, c.col))->format = c.format;
    }
    ASSERT_TRUE(EnterCell("'" + std::string(240, 'L'), 9, 1));  // the longest label
    if (decimal == ',') {
      FormatSettings().Comma = '.';
      InitParserCharSets('|', ',');
    }
    const TRange range = MakeRange(1, 1, 4, 9);
    std::vector<std::vector<std::string>> before;
    for (int row = 1; row <= 9; ++row) {
      before.emplace_back();
      for (int col = 1; col <= 4; ++col) before.back().push_back(ValueAt(At(row, col)));
    }
    std::string path = folder.File("SAME.CSV");
    ASSERT_TRUE(ExportTextFile(path, 1, range));
    CellStoreClear();
    ASSERT_TRUE(ImportTextFile(kImportFields, 1, 1, path));
    for (int row = 1; row <= 9; ++row)
      for (int col = 1; col <= 4; ++col)
        EXPECT_EQ(ValueAt(At(row, col)), before[row - 1][col - 1]) << "row " << row << ", column " << col;
    EXPECT_EQ(At(1, 1), nullptr);
    EXPECT_EQ(At(1, 5), nullptr);
    EXPECT_TRUE(gShownErrors.empty());

#ifndef _WIN32
    // Python's csv module, told the separator, reads the same table: numbers
    // as their text, labels as theirs, blanks empty.
    if (!havePython) {
      std::printf("python3 is not installed: the export is not read back by its csv module\n");
      continue;
    }
    const std::string script = folder.File("read.py"), table = folder.File("table.txt");
    WriteWholeFile(script,
                   "import csv, sys\n"
                   "with open(sys.argv[1], newline='', encoding='latin-1') as f:\n"
                   "    rows = list(csv.reader(f, delimiter=sys.argv[3]))\n"
                   "with open(sys.argv[2], 'w', newline='', encoding='latin-1') as f:\n"
                   "    f.write(''.join('\\x1f'.join(r) + '\\x1e' for r in rows))\n");
    const std::string separator = decimal == ',' ? ";" : ",";
    ASSERT_EQ(std::system(("python3 '" + script + "' '" + path + "' '" + table + "' '" + separator + "'").c_str()), 0);
    std::string expected;
    for (const std::vector<std::string>& row : before) {
      for (std::size_t col = 0; col < row.size(); ++col)
        expected += (col > 0 ? "\x1f" : "") + (row[col].empty() ? row[col] : row[col].substr(1));
      expected += "\x1e";
    }
    EXPECT_EQ(ReadWholeFile(table), expected);
#endif
  }
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

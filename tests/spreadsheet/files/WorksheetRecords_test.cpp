// Worksheet files byte for byte: records of small sheets against hand-built
// bytes, and damaged files (truncated, wrong lengths, bad positions, bad
// formula code) that must be refused with the record named and nothing changed.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/Recalc.h"
#include "spreadsheet/engine/UserFunctions.h"
#include "spreadsheet/files/MappedFile.h"
#include "tests/spreadsheet/files/WorksheetTestSupport.h"

namespace corvane {
namespace {

using testing::DumpCells;
using testing::gShownErrors;
using testing::MakeRange;
using testing::ReadWholeFile;
using testing::WorksheetTest;
using testing::WriteWholeFile;

// Bytes written as hex pairs, spaces ignored.
std::string Hex(std::string_view text) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < text.size();) {
    if (text[i] == ' ') {
      ++i;
      continue;
    }
    bytes.push_back(static_cast<char>(std::stoi(std::string(text.substr(i, 2)), nullptr, 16)));
    i += 2;
  }
  return bytes;
}

// The records of `bytes` from `start`, as (type, data), up to an end record.
std::vector<std::pair<int, std::string>> Records(const std::string& bytes, std::size_t start = 0) {
  std::vector<std::pair<int, std::string>> records;
  for (std::size_t pos = start; pos + 4 <= bytes.size();) {
    int type = static_cast<unsigned char>(bytes[pos]) | static_cast<unsigned char>(bytes[pos + 1]) << 8;
    std::size_t length = static_cast<unsigned char>(bytes[pos + 2]) | static_cast<unsigned char>(bytes[pos + 3]) << 8;
    records.push_back({type, bytes.substr(pos + 4, length)});
    pos += 4 + length;
    if (type == 1) break;
  }
  return records;
}

// Where the extension section's records start (after the main end record and $1A $00).
std::size_t ExtensionStart(const std::string& bytes) {
  std::size_t pos = 0;
  for (const auto& record : Records(bytes)) pos += 4 + record.second.size();
  return pos + 2;
}

std::string FindRecord(const std::vector<std::pair<int, std::string>>& records, int type) {
  for (const auto& record : records)
    if (record.first == type) return record.second;
  return "<none>";
}

class WorksheetRecordsTest : public WorksheetTest {};

TEST_F(WorksheetRecordsTest, CellRecordsOfARangeWriteMatchHandBuiltBytes) {
  Enter(0, 0, "5");
  Enter(0, 1, "1.5");
  Enter(1, 0, "'Hi");
  Enter(1, 1, "+A1+1");
  Enter(3, 2, "+\"ab\"");
  std::string bytes = WorksheetBytes(true, MakeRange(0, 0, 2, 3));
  std::string main = bytes.substr(0, ExtensionStart(bytes));
  EXPECT_EQ(main, Hex("0000 0200 0404"                                       // begin, version
                      "0600 0800 0000 0000 0200 0300"                        // extent: the document's
                      "0D00 0700 FF 0000 0000 0500"                          // A1: integer 5
                      "0E00 0D00 FF 0100 0000 000000000000F83F"              // B1: real 1.5
                      "0F00 0900 FF 0000 0100 27486900"                      // A2: label 'Hi
                      "1000 1900 FF 0100 0100 0000000000001840 0A00"         // B2: value 6, 10 code bytes
                      "01 FFBF FFBF 05 0100 09 03"                           // A1 (relative), 1, +, END
                      "1000 1400 FF 0200 0300 000000000000F87F 0500 06 616200 03"  // C4: text formula
                      "3300 0800 FF 0200 0300 616200"                        // its result "ab"
                      "0100 0000 1A00"));
  // The extension section ends with the end record and $1A $1A.
  EXPECT_EQ(bytes.substr(bytes.size() - 6), Hex("0100 0000 1A1A"));
}

TEST_F(WorksheetRecordsTest, SheetRecordsCarryTheSettingsEntryNamesWindowAndSizes) {
  ASSERT_LT(RangeNameCreate("ABCDEFGHIJKL", MakeRange(1, 2, 3, 4)), 0);
  gCurrentDoc.settings.negativeInColour = 1;
  windows.layout.pane1 = {2, 10, 3, 11};
  windows.columnSizes = {{5, 12}};
  windows.rowSizes = {{7, 30}};
  std::string bytes = WorksheetBytes(false, TRange{});
  auto main = Records(bytes);
  std::vector<std::string> names;
  for (const auto& record : main)
    if (record.first == 11) names.push_back(record.second);
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(names[0], Hex("4721 FF 06 50 01 00000000000000000000 0000 0000 0000 0000")) << "G!, carried 255, flags";
  EXPECT_EQ(names[1], std::string("ABCDEFGHIJKL") + Hex("00000000 0100 0200 0300 0400"));
  EXPECT_EQ(FindRecord(main, 7), Hex("0300 0B00 71 00 0900 0700 1400 0200 0A00 0000000000000000 0400 0400 4800 00"));
  EXPECT_EQ(FindRecord(main, 8), Hex("0500 0C"));
  EXPECT_EQ(FindRecord(main, 2), Hex("FF"));
  EXPECT_EQ(FindRecord(main, 40), Hex("0400 4C00 4200 0200 0200"));
  auto ext = Records(bytes, ExtensionStart(bytes));
  EXPECT_EQ(FindRecord(ext, 11), Hex("0500 0C"));
  EXPECT_EQ(FindRecord(ext, 10), Hex("0700 1E"));
  EXPECT_EQ(FindRecord(ext, 112), Hex("32000000 32000000 32000000 32000000 32000000 32000000"));
  EXPECT_EQ(FindRecord(ext, 126), std::string("TESTER") + '\0');
}

TEST_F(WorksheetRecordsTest, QueryRecordEndsWithAZeroByteWhateverTheFileRead) {
  std::string file = Hex("0000 0200 0404 1900 1900 0000 0000 0100 0100 0200 0000 0300 0100 0400 0000 0500 0100 07"
                         "0100 0000 1A1A");
  WriteWholeFile(Path("Q.WKS"), file);
  ASSERT_TRUE(LoadWorksheet(Path("Q.WKS"), 0, 0, 0, "")) << ErrorMessage();
  EXPECT_EQ(FindRecord(Records(WorksheetBytes(false, TRange{})), 25),
            Hex("0000 0000 0100 0100 0200 0000 0300 0100 0400 0000 0500 0100 00"));
}

// Every record of a whole sheet, as type:length, in the order written.
TEST_F(WorksheetRecordsTest, RecordsOfAWholeSheetComeInTheirOrderAndLengths) {
  Enter(0, 0, "5");
  CellPtr(CellFind(0, 0))->font = 1;
  ASSERT_NE(RangeNameCreate("ONE", MakeRange(0, 0, 0, 0)), 0);
  ASSERT_GT(GraphStore("G1"), 0);
  CurrentFileState().paneSplit = 1;
  CurrentFileState().printFooter = "ab";
  windows.columnSizes = {{5, 12}};
  windows.rowSizes = {{7, 30}};
  windows.tabNames = {"One", "Two"};
  windows.buttons = {{"Go", "{HOME}", 1, 1, 2, 3, 40, 20}};
  windows.fontList = {"Times New Roman", "Arial"};
  windows.sheetFont = {20, 0, "Arial"};
  AppendDocumentUserFunction({"TWICE", "@A(1)*2", 1});
  std::string bytes = WorksheetBytes(false, TRange{});
  auto list = [](const std::vector<std::pair<int, std::string>>& records) {
    std::string text;
    for (const auto& [type, data] : records) text += std::to_string(type) + ":" + std::to_string(data.size()) + " ";
    return text;
  };
  EXPECT_EQ(list(Records(bytes)),
            "0:2 6:8 2:1 4:1 5:1 7:31 8:3 9:31 11:24 11:24 24:25 25:25 26:8 27:8 29:9 35:9 36:1 37:3 38:1 39:1 "
            "40:10 41:1 42:16 45:437 46:453 13:7 1:0 ");
  EXPECT_EQ(list(Records(bytes, ExtensionStart(bytes))),
            "45:385 46:385 7:2 80:297 29:18 103:26 110:28 112:24 114:4 114:4 105:274 116:8 118:10 120:34 122:1 "
            "124:1 126:7 128:16 8:12 11:3 10:3 1:0 ");
}

// A call of a named cell whose cell was deleted no longer counts its
// arguments; such a formula is saved as its value, so the file still opens.
TEST_F(WorksheetRecordsTest, AFormulaCallingADeletedNamedCellIsSavedAsItsValue) {
  ASSERT_NE(RangeNameCreate("TOTAL", MakeRange(2, 4, 2, 4)), 0);
  Enter(4, 2, "'+D5");
  Enter(0, 0, "@TOTAL(7)+1");
  Enter(0, 1, "+A1*2");
  FormulaDropRef(CellFind(0, 0), 4, 2);
  ASSERT_TRUE(SaveWorksheet(Path("DROP.WKS"), false, TRange{}));
  std::vector<std::string> cells = DumpCells();
  NewDocument("OTHER.WKS");
  ASSERT_TRUE(LoadWorksheet(Path("DROP.WKS"), 0, 0, 0, "")) << ErrorMessage();
  std::vector<std::string> read = DumpCells();
  ASSERT_EQ(read.size(), cells.size());
  EXPECT_EQ(read[0].substr(0, 9), "A1 kind 2");
  EXPECT_EQ(read[1], cells[1]) << "the other formulas stay formulas";
}

// A file of the main records given, with an empty extension section.
std::string FileWith(const std::string& records, const std::string& extension = "") {
  return Hex("0000 0200 0404") + records + Hex("0100 0000 1A00") + extension + Hex("0100 0000 1A1A");
}

// Names beginning "G!" are the format's settings entry: a user's name of that
// form (an older writer's "G!TEST", or "g!test", upper-cased on load) is left
// out with a message and sets nothing, and never reaches the next save.
TEST_F(WorksheetRecordsTest, NamesTheFormatReservesAreNotReadAndSetNothing) {
  auto name = [](std::string_view text, const char* range) {
    return Hex("0B00 1800") + std::string(text) + std::string(16 - text.size(), '\0') + Hex(range);
  };
  const std::string file = FileWith(name("G!\xFF\x02P\x01", "0000 0000 0000 0000") +  // zeros shown, no colour
                                    name("G!TEST", "0000 0000 0000 0100") + name("g!test", "0100 0000 0100 0100") +
                                    name("KEEP", "0000 0000 0000 0000") + Hex("0D00 0700 FF 0000 0000 0000") +
                                    Hex("0D00 0700 FF 0000 0100 FFFF"));
  WriteWholeFile(Path("G.WKS"), file);
  auto names = [] {
    std::vector<std::string> list;
    for (int i = 1; i <= RangeNameCount(); ++i) list.push_back(RangeNameText(*RangeNameAt(i)));
    return list;
  };
  for (const char* pass : {"file", "saved and reopened"}) {
    SCOPED_TRACE(pass);
    NewDocument(std::string(pass) + ".WKS");
    gShownErrors.clear();
    ASSERT_TRUE(LoadWorksheet(Path("G.WKS"), 0, 0, 0, "")) << ErrorMessage();
    EXPECT_EQ(gShownErrors, pass == std::string("file")
                                ? std::vector<std::string>{"Error:Reserved Range Name Not Read: G!TEST"}
                                : std::vector<std::string>{});
    EXPECT_EQ(gCurrentDoc.settings.hideZeros, 0);
    EXPECT_EQ(gCurrentDoc.settings.negativeInColour, 0);
    EXPECT_EQ(names(), std::vector<std::string>{"KEEP"});
    ASSERT_TRUE(SaveWorksheet(Path("G.WKS"), false, TRange{}));
  }
  std::vector<std::string> listed;
  ASSERT_TRUE(ReadRangeNames(Path("G.WKS"), listed));
  EXPECT_EQ(listed, std::vector<std::string>{"KEEP: A1"});
}

// A load stops at the record at fault and keeps the records before it; a
// merge and linked-file reading refuse the file and change nothing.
TEST_F(WorksheetRecordsTest, DamagedFilesNameTheRecordAtFault) {
  const std::string kIntegerA1 = "A1 kind 3 format 255 attr 255/0/0/0/3221225472 [5]";
  const std::string kZeroA1 = "A1 kind 2 format 255 attr 255/0/0/0/3221225472 [0] = 0";
  struct Row {
    const char* what;
    std::string file;
    const char* message;
    std::vector<std::string> kept = {};  // the cells read before the fault
  } rows[] = {
      {"label shorter than its head", FileWith(Hex("0F00 0300 FF0000")), "Error at Record:0F[0003]"},
      {"integer in column 300", FileWith(Hex("0D00 0700 FF 2C01 0000 0500")), "Error at Record:0D[0007]"},
      {"real in row 9000", FileWith(Hex("0E00 0D00 FF 0000 2823 0000000000000000")), "Error at Record:0E[000D]"},
      {"negative row", FileWith(Hex("0C00 0500 FF 0000 FFFF")), "Error at Record:0C[0005]"},
      {"formula without END", FileWith(Hex("1000 1400 FF 0000 0000 0000000000000000 0500 05 0100 0909")),
       "Error at Record:10[0014]"},
      {"formula that does not balance", FileWith(Hex("1000 1100 FF 0000 0000 0000000000000000 0200 09 03")),
       "Error at Record:10[0011]", {kZeroA1}},
      {"operand running past END", FileWith(Hex("1000 1200 FF 0000 0000 0000000000000000 0300 01 FF 03")),
       "Error at Record:10[0012]", {kZeroA1}},
      {"file link whose range runs into END", FileWith(Hex("1000 1200 FF 0000 0000 0000000000000000 0300 07 00 03")),
       "Error at Record:10[0012]", {kZeroA1}},
      {"file link with no room for its path",
       FileWith(Hex("1000 1900 FF 0000 0000 0000000000000000 0A00 07 0000000000000000 03")), "Error at Record:10[0019]", {kZeroA1}},
      {"name shorter than its range", FileWith(Hex("0B00 0500 4142430000")), "Error at Record:0B[0005]"},
      {"name with a range in column 999",
       FileWith(Hex("0B00 1800 41424300000000000000000000000000 E703 0000 0000 0000")), "Error at Record:0B[0018]"},
      {"graph X range in column 300", FileWith(Hex("2D00 B501 2C01 0000 2C01 0000") + std::string(429, '\0')),
       "Error at Record:2D[01B5]"},
      {"named graph series in row 9000",
       FileWith(Hex("2E00 C501 47") + std::string(15, '\0') + Hex("FFFF 0000 0000 0000 0000 0000 0000 2823") +
                std::string(421, '\0')),
       "Error at Record:2E[01C5]"},
      {"window record cut short", FileWith(Hex("0700 0400 0000 0000")), "Error at Record:07[0004]"},
      {"record longer than the file", FileWith(Hex("0F00 FF7F FF0000")), "Error at Record:0F[7FFF]"},
      {"no main end record", Hex("0000 0200 0404 0D00 0700 FF 0000 0000 0500"), "Error at Record:01[0000]", {kIntegerA1}},
      {"row height of row 9000", FileWith("", Hex("0A00 0300 2823 10")), "Error at Record:0A[0003]"},
      {"column width of column 256", FileWith("", Hex("0B00 0300 0001 10")), "Error at Record:0B[0003]"},
      {"zero sheets", FileWith("", Hex("7800 1A00 0000 00000000 0000000000000000000000000000000000000000")),
       "Error at Record:78[001A]"},
      {"100 sheets", FileWith("", Hex("7800 1A00 6400 00000000 0000000000000000000000000000000000000000")),
       "Error at Record:78[001A]"},
      {"font number 300", FileWith("", Hex("7400 0500 2C01 4100 00")), "Error at Record:74[0005]"},
      {"button anchored at row -5", FileWith("", Hex("5000 2901") + std::string(277, '\0') + Hex("FBFF 0000") +
                                                     std::string(16, '\0')),
       "Error at Record:50[0129]"},
      {"attributes of a cell in row -1", FileWith("", Hex("0800 0C00 FFFF 0000 01020304 00000000")),
       "Error at Record:08[000C]"},
      {"extension cut off", Hex("0000 0200 0404 0100 0000 1A00 7A00 0400 41"), "Error at Record:7A[0004]"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    NewDocument(std::string("KEEP") + std::to_string(&row - rows) + ".WKS");
    Enter(0, 0, "'keep");
    Enter(0, 1, "+A1");
    ASSERT_LT(RangeNameCreate("KEPT", MakeRange(0, 0, 0, 0)), 0);
    std::vector<std::string> cells = DumpCells();
    std::string path = Path("BAD.WKS");
    WriteWholeFile(path, row.file);
    // A merge and linked-file reading take only cells and names, and refuse
    // the same damage there.
    std::string_view type = std::string_view(row.message).substr(16, 2);
    bool cellsOrNames = row.file.find(Hex("1A00")) != std::string::npos &&
                        (type == "0B" || type == "0C" || type == "0D" || type == "0E" || type == "0F" || type == "10");
    if (cellsOrNames && std::string_view(row.what).find("column 256") == std::string_view::npos) {
      gShownErrors.clear();
      EXPECT_FALSE(LoadWorksheet(path, kLoadMerge, 3, 3, ""));
      EXPECT_EQ(gShownErrors, std::vector<std::string>{"Error:" + std::string(row.message)});
      EXPECT_EQ(DumpCells(), cells);
      int calls = 0;
      EXPECT_FALSE(ReadLinkedFileCells(path, [&](const TLinkedCellValue&) { ++calls; }));
      EXPECT_EQ(calls, 0);
    }
    NewDocument(std::string("LOAD") + std::to_string(&row - rows) + ".WKS");
    testing::ExpectLoadStopsAt(path, row.file, row.message);
    EXPECT_EQ(DumpCells(), row.kept);
  }
}

// A load of a damaged file keeps every record before the one at fault and
// names that record; the file itself is not written.
TEST_F(WorksheetRecordsTest, DamagedFilesKeepWhatWasRead) {
  NewDocument("GOOD.WKS");
  for (int row = 0; row < 40; ++row) Enter(row, 0, std::to_string(row + 1));
  Enter(39, 1, "@SUM(A1..A40)");
  Enter(39, 2, "'last");
  ASSERT_TRUE(SaveWorksheet(Path("GOOD.WKS"), false, TRange{}));
  std::string good = ReadWholeFile(Path("GOOD.WKS"));
  std::vector<std::string> cells = DumpCells();
  ASSERT_EQ(cells.size(), 42u);
  std::vector<std::size_t> heads = testing::RecordHeads(good);
  std::vector<std::size_t> cellHeads;
  for (std::size_t head : heads)
    if (testing::RecordType(good, head) == 13) cellHeads.push_back(head);
  ASSERT_EQ(cellHeads.size(), 40u);
  std::size_t extension = ExtensionStart(good);
  // The record the extension cut falls in, named as the error box names it.
  auto byte = [&](std::size_t at) { return static_cast<unsigned char>(good[at]); };
  char extensionRecord[32];
  std::snprintf(extensionRecord, sizeof extensionRecord, "Error at Record:%02X[%04X]", byte(extension),
                byte(extension + 2) | byte(extension + 3) << 8);

  struct Row {
    const char* what;
    std::string file;
    std::size_t cellsKept;
    std::string message;
  } rows[] = {
      {"cut inside the 30th cell", good.substr(0, cellHeads[29] + 6), 29, "Error at Record:0D[0007]"},
      {"the extension section alone cut", good.substr(0, extension + 6), 42, extensionRecord},
      {"a cell in row 8193 after the 10th", good.substr(0, cellHeads[10]) + Hex("0D00 0700 FF 0000 0020 0500") +
                                                good.substr(cellHeads[10]),
       10, "Error at Record:0D[0007]"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    NewDocument(std::string("PART") + std::to_string(&row - rows) + ".WKS");
    std::string path = Path("BAD.WKS");
    WriteWholeFile(path, row.file);
    testing::gShownErrors.clear();
    EXPECT_EQ(LoadWorksheetPart(path, 0, 0, 0, ""), TLoadOutcome::kPart);
    EXPECT_EQ(testing::gShownErrors, std::vector<std::string>{"Error:" + row.message});
    std::vector<std::string> read = DumpCells();
    EXPECT_EQ(read, std::vector<std::string>(cells.begin(), cells.begin() + static_cast<std::ptrdiff_t>(row.cellsKept)));
    EXPECT_EQ(ReadWholeFile(path), row.file);
    EXPECT_EQ(PoolCheckInvariants(), "");
  }
}

// A file that does not begin with the begin record is no worksheet: a load,
// a merge and linked-file reading refuse it whole and change nothing.
TEST_F(WorksheetRecordsTest, FilesThatAreNoWorksheetAreRefusedWhole) {
  struct Row {
    const char* what;
    std::string file;
  } rows[] = {
      {"first record not the begin record", Hex("0D00 0700 FF 0000 0000 0500 0100 0000")},
      {"a text file", "Budget 1995\r\nApples\t42\r\n"},
      {"another format, length field 2", Hex("4D5A 0200 0404 0100 0000")},
      {"begin record type with a high byte", Hex("0001 0200 0404 0100 0000")},
      {"begin record too short", Hex("0000 0100 04 0100 0000")},
      {"three bytes", "ab\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    NewDocument(std::string("NOT") + std::to_string(&row - rows) + ".WKS");
    Enter(0, 0, "'keep");
    std::vector<std::string> cells = DumpCells();
    std::vector<std::string> state = testing::DumpDocumentState();
    std::string path = Path("NOT.WKS");
    WriteWholeFile(path, row.file);
    EXPECT_FALSE(IsWorksheetFile(path));
    for (int mode : {0, kLoadMerge}) {
      gShownErrors.clear();
      EXPECT_EQ(LoadWorksheetPart(path, mode, 0, 0, ""), TLoadOutcome::kNothing) << mode;
      EXPECT_EQ(gShownErrors, std::vector<std::string>{"Error:Invalid WKS File!"}) << mode;
      EXPECT_EQ(DumpCells(), cells) << mode;
    }
    EXPECT_EQ(testing::DumpDocumentState(), state);
    EXPECT_FALSE(ReadLinkedFileCells(path, [](const TLinkedCellValue&) {}));
    EXPECT_EQ(ReadWholeFile(path), row.file);
  }
}

TEST_F(WorksheetRecordsTest, OddButSoundFilesRead) {
  // A1 holds 5; B1 is read as +A1 (saved value 5) or as the constant 7.
  const std::string kFive = Hex("0D00 0700 FF 0000 0000 0500");
  const std::string kReadsA1 = Hex("1000 1500 FF 0100 0000 0000000000001440 0600 01 FFBF 0080 03");
  const std::string kSeven = Hex("1000 1300 FF 0100 0000 0000000000001C40 0400 05 0700 03");
  const std::string kFiveA1 = "A1 kind 3 format 255 attr 255/0/0/0/3221225472 [5]";
  const std::string kReadsA1B1 = "B1 kind 1 format 255 attr 255/0/0/0/3221225472 [+A1] = 5";
  const std::string kSevenB1 = "B1 kind 1 format 255 attr 255/0/0/0/3221225472 [7] = 7";
  struct Row {
    const char* what;
    std::string file;
    std::vector<std::string> cells;
    int mode = 0;
  } rows[] = {
      {"empty file", "", {}},
      {"no extension section", Hex("0000 0200 0404 0D00 0700 FF 0000 0000 0500 0100 0000"),
       {"A1 kind 3 format 255 attr 255/0/0/0/3221225472 [5]"}},
      {"main end, then $1A $1A", Hex("0000 0200 0404 0D00 0700 7F 0000 0000 0500 0100 0000 1A1A"),
       {"A1 kind 3 format 127 attr 255/0/0/0/3221225472 [5]"}},
      {"unknown records skipped, type word's high byte as attributes",
       FileWith(Hex("6300 0300 010203 0D21 0700 FF 0000 0000 0500")),
       {"A1 kind 3 format 255 attr 255/0/0/0/3238002688 [5]"}},
      {"formula code padded with a zero after END",
       FileWith(Hex("1000 1400 FF 0000 0000 0000000000001040 0400 05 0400 03 00")),
       {"A1 kind 1 format 255 attr 255/0/0/0/3221225472 [4] = 4"}},
      {"string result without its formula is ignored", FileWith(Hex("3300 0700 FF 0000 0000 4100")), {}},
      {"numbers cleaned: NaN, a denormal and minus zero become 0",
       FileWith(Hex("0E00 0D00 FF 0000 0000 000000000000F87F 0E00 0D00 FF 0100 0000 0100000000000000"
                    "0E00 0D00 FF 0200 0000 0000000000000080")),
       {"A1 kind 2 format 255 attr 255/0/0/0/3221225472 [0] = 0", "B1 kind 2 format 255 attr 255/0/0/0/3221225472 [0] = 0",
        "C1 kind 2 format 255 attr 255/0/0/0/3221225472 [0] = 0"}},
      {"user-function record read",
       FileWith(Hex("0D00 0700 FF 0000 0000 0500"),
                Hex("6900 1201 01 46") + std::string(11, '\0') + Hex("01 31") + std::string(259, '\0')),
       {"A1 kind 3 format 255 attr 255/0/0/0/3221225472 [5]"}},
      {"over-long label cut to its prefix and 240",
       FileWith(Hex("0F00 2C01 FF 0000 0000") + std::string(294, 'q') + '\0'),
       {"A1 kind 4 format 255 attr 255/0/0/0/3221225472 [" + std::string(241, 'q') + "]"}},
      {"a second formula for a cell replaces the first", FileWith(kFive + kReadsA1 + kSeven), {kFiveA1, kSevenB1}},
      {"a second formula replaces the first in a merge", FileWith(kFive + kReadsA1 + kSeven), {kFiveA1, kSevenB1},
       kLoadMerge},
      {"a formula read twice is linked once", FileWith(kFive + kSeven + kReadsA1 + kReadsA1), {kFiveA1, kReadsA1B1}},
      {"a number after a formula replaces it", FileWith(kFive + kReadsA1 + Hex("0E00 0D00 FF 0100 0000 0000000000000440")),
       {kFiveA1, "B1 kind 2 format 255 attr 255/0/0/0/3221225472 [2.5] = 2.5"}},
      {"a formula after a label replaces it", FileWith(kFive + Hex("0F00 0800 FF 0100 0000 277800") + kReadsA1),
       {kFiveA1, kReadsA1B1}, kLoadMerge},
      {"an ERR formula merged by value stays ERR",
       FileWith(Hex("1000 1300 FF 0000 0000 000000000000F07F 0400 05 0100 03")),
       {"A1 kind 9 format 255 attr 255/0/0/0/3221225472 [@ERR] = ERR"}, kLoadMerge | kLoadByValue},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    NewDocument(std::string("ODD") + std::to_string(&row - rows) + ".WKS");
    WriteWholeFile(Path("ODD.WKS"), row.file);
    EXPECT_TRUE(LoadWorksheet(Path("ODD.WKS"), row.mode, 0, 0, "")) << ErrorMessage();
    EXPECT_EQ(DumpCells(), row.cells);
    // Each formula is linked once, to the cells it reads now.
    RecalcAll();
    EXPECT_EQ(DumpCells(), row.cells);
    EXPECT_EQ(PoolCheckInvariants(), "");
  }
}

TEST_F(WorksheetRecordsTest, OnlyDefinedLabelPrefixesAreTakenFromAFile) {
  for (auto [prefix, taken] : {std::pair{"00", '\''}, {"41", '\''}, {"7C", '\''}, {"5E", '^'}, {"22", '"'}}) {
    SCOPED_TRACE(prefix);
    NewDocument(std::string("PREFIX") + prefix + ".WKS");
    WriteWholeFile(Path("PREFIX.WKS"), Hex(std::string("0000 0200 0404 2900 0100 ") + prefix + " 0100 0000"));
    ASSERT_TRUE(LoadWorksheet(Path("PREFIX.WKS"), 0, 0, 0, "")) << ErrorMessage();
    EXPECT_EQ(gCurrentDoc.settings.labelPrefix, taken);
    ASSERT_TRUE(EnterCell("typed", 0, 0));
    EXPECT_EQ(CellContentsText(CellFind(0, 0)), std::string(1, taken) + "typed");
  }
}

TEST_F(WorksheetRecordsTest, MainSectionWidthsApplyOnlyWithoutExtensionWidths) {
  // Widths of columns outside the sheet (300, -1) are passed over.
  std::string main = Hex("0000 0200 0404 0800 0300 0300 0E 0800 0300 2C01 09 0800 0300 FFFF 0A 0100 0000");
  WriteWholeFile(Path("W1.WKS"), main);
  ASSERT_TRUE(LoadWorksheet(Path("W1.WKS"), 0, 0, 0, "")) << ErrorMessage();
  EXPECT_EQ(windows.columnSizes, (std::map<int, int>{{3, 14}}));
  windows.columnSizes.clear();
  WriteWholeFile(Path("W2.WKS"), main + Hex("1A00 0B00 0300 0400 10 0100 0000 1A1A"));
  ASSERT_TRUE(LoadWorksheet(Path("W2.WKS"), 0, 0, 0, ""));
  EXPECT_EQ(windows.columnSizes, (std::map<int, int>{{4, 16}}));
}

TEST_F(WorksheetRecordsTest, NamedGraphsBeyondFiftyAreSkipped) {
  for (int k = 1; k <= 50; ++k) ASSERT_GT(GraphStore("G" + std::to_string(k)), 0);
  ASSERT_TRUE(SaveWorksheet(Path("GRAPHS.WKS"), false, TRange{}));
  NewDocument("SHEET2.WKS");
  ASSERT_GT(GraphStore("MINE"), 0);
  ASSERT_TRUE(LoadWorksheet(Path("GRAPHS.WKS"), 0, 0, 0, ""));
  ASSERT_EQ(GraphCount(), 50);
  EXPECT_EQ(GraphName(1), "MINE");
  EXPECT_EQ(GraphName(2), "G1");
  EXPECT_EQ(GraphName(50), "G49");
}

class SmallPoolWorksheetTest : public WorksheetTest {
 protected:
  SmallPoolWorksheetTest() : WorksheetTest(24) {}
};

TEST_F(SmallPoolWorksheetTest, RunningOutOfPoolStopsTheLoadAndSaysSo) {
  std::string cells;
  for (int row = 0; row < 8000; ++row) {
    std::string record = Hex("0D00 0700 FF 0000 0000 0100");
    record[7] = static_cast<char>(row);
    record[8] = static_cast<char>(row >> 8);
    cells += record;
  }
  WriteWholeFile(Path("BIG.WKS"), FileWith(cells));
  EXPECT_FALSE(LoadWorksheet(Path("BIG.WKS"), 0, 0, 0, ""));
  EXPECT_EQ(ErrorMessage(), "Out of Memory/File may be truncated");
  EXPECT_EQ(testing::gShownErrors, std::vector<std::string>{"Error:Out of Memory/File may be truncated"});
  EXPECT_GT(gCurrentDoc.highRow, 100) << "what fitted was read";
  EXPECT_LT(gCurrentDoc.highRow, 7999);
  EXPECT_EQ(PoolCheckInvariants(), "");
}

#ifndef _WIN32
// What a native read gives: its outcome, the cells of the document after it
// (count and sum of values) and the messages shown.
struct TReadResult {
  TLoadOutcome outcome = TLoadOutcome::kNothing;
  long cells = 0;
  double sum = 0;
  std::string shown;
};

class WorksheetChangedTest : public WorksheetTest {
 protected:
  // A sheet of `rows` x `cols` numbers saved at `path`, written long ago.
  void SaveNumbers(const std::string& path, int rows, int cols) {
    for (int row = 0; row < rows; ++row)
      for (int col = 0; col < cols; ++col) SetCellNumber(row, col, row * cols + col + 0.5);
    ASSERT_TRUE(SaveWorksheet(path, false, TRange{}));
    const struct timespec longAgo[2] = {{0, UTIME_OMIT}, {1000000000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), longAgo, 0), 0);
  }
  TReadResult Load(const std::string& path) {
    NewDocument("READ" + std::to_string(++reads_) + ".WKS");
    gShownErrors.clear();
    TReadResult result;
    result.outcome = LoadWorksheetPart(path, 0, 0, 0, "");
    for (int row = 0; row <= gCurrentDoc.highRow; ++row)
      for (TCellHandle h = RowListHead(row); h != kNilHandle; h = CellPtr(h)->next, ++result.cells)
        result.sum += CellReal(*CellPtr(h));
    for (const std::string& message : gShownErrors) result.shown += message;
    return result;
  }

 private:
  int reads_ = 0;
};

std::function<void()> gDuringCopy;
void RunOnceDuringCopy(std::size_t) {
  std::function<void()> run = std::move(gDuringCopy);
  gDuringCopy = nullptr;
  if (run) run();
}

// A file cut short, written over or grown by another program while it is
// read is refused whole by every read, never taken in part as if whole.
TEST_F(WorksheetChangedTest, AFileChangedWhileItIsReadIsRefused) {
  const std::string path = Path("CHANGED.WKS");
  SaveNumbers(path, 5000, 4);
  const std::string bytes = ReadWholeFile(path);
  SetFileCopyBlockHook(RunOnceDuringCopy);
  struct Row {
    const char* what;
    std::function<void()> change;
  } rows[] = {
      {"cut short", [&] { ASSERT_EQ(truncate(path.c_str(), static_cast<off_t>(bytes.size() / 2)), 0); }},
      {"written over in place", [&] {
         int fd = open(path.c_str(), O_WRONLY);
         ASSERT_EQ(pwrite(fd, "XXXX", 4, static_cast<off_t>(bytes.size() / 2)), 4);
         close(fd);
       }},
      {"grown", [&] { std::FILE* f = std::fopen(path.c_str(), "ab"); std::fputs("more", f); std::fclose(f); }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    for (int read = 0; read < 3; ++read) {
      WriteWholeFile(path, bytes);
      const struct timespec longAgo[2] = {{0, UTIME_OMIT}, {1000000000, 0}};
      ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), longAgo, 0), 0);
      gDuringCopy = row.change;
      if (read == 0) {
        TReadResult result = Load(path);
        EXPECT_EQ(result.outcome, TLoadOutcome::kNothing);
        EXPECT_EQ(result.cells, 0);
        EXPECT_EQ(result.shown, "Error:file changed while reading");
      } else if (read == 1) {
        gShownErrors.clear();
        EXPECT_FALSE(LoadWorksheet(path, kLoadMerge, 0, 0, ""));
        EXPECT_EQ(gShownErrors, std::vector<std::string>{"Error:file changed while reading"});
        EXPECT_TRUE(DumpCells().empty()) << "nothing merged";
      } else {
        EXPECT_FALSE(ReadLinkedFileCells(path, [](const TLinkedCellValue&) {}));
      }
      EXPECT_FALSE(static_cast<bool>(gDuringCopy)) << "the change came during the read";
    }
  }
  SetFileCopyBlockHook(nullptr);
  // Unchanged, the file reads whole.
  WriteWholeFile(path, bytes);
  TReadResult whole = Load(path);
  EXPECT_EQ(whole.outcome, TLoadOutcome::kWhole);
  EXPECT_EQ(whole.cells, 20000);
  EXPECT_EQ(whole.shown, "");
}

// Another process cuts the file short while a load runs in this one: the
// load ends cleanly (no SIGBUS), with the whole file as it stood, with what a
// file already cut holds and its damage named, or refused.
TEST_F(WorksheetChangedTest, AFileCutDuringANativeLoadEndsCleanly) {
  const std::string path = Path("CUT.WKS");
  SaveNumbers(path, 8000, 12);
  const std::string bytes = ReadWholeFile(path);
  const TReadResult whole = Load(path);
  ASSERT_EQ(whole.cells, 96000);
  for (int delayMs : {0, 1, 5, 20, 60}) {
    SCOPED_TRACE(delayMs);
    WriteWholeFile(path, bytes);
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(pipeFds[0]);
      ssize_t ignored = write(pipeFds[1], "go", 2);
      TReadResult result = Load(path);
      std::string report = std::to_string(static_cast<int>(result.outcome)) + " " + std::to_string(result.cells) +
                           " " + std::to_string(result.sum) + " " + result.shown;
      ignored = write(pipeFds[1], report.data(), report.size());
      (void)ignored;
      _exit(0);
    }
    close(pipeFds[1]);
    char go[2];
    ASSERT_EQ(read(pipeFds[0], go, 2), 2);
    usleep(static_cast<useconds_t>(delayMs) * 1000);
    ASSERT_EQ(truncate(path.c_str(), static_cast<off_t>(bytes.size() / 3)), 0);
    std::string report;
    char buffer[256];
    for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;) report.append(buffer, static_cast<std::size_t>(n));
    close(pipeFds[0]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "the load did not end cleanly: " << (WIFSIGNALED(status) ? "signal " : "exit ")
        << (WIFSIGNALED(status) ? WTERMSIG(status) : WEXITSTATUS(status));
    const std::string asWhole = std::to_string(static_cast<int>(TLoadOutcome::kWhole)) + " 96000 " +
                                std::to_string(whole.sum) + " ";
    const std::string refused = std::to_string(static_cast<int>(TLoadOutcome::kNothing)) + " 0 " +
                                std::to_string(0.0) + " Error:file changed while reading";
    const std::string cutBefore = std::to_string(static_cast<int>(TLoadOutcome::kPart)) + " ";
    EXPECT_TRUE(report == asWhole || report == refused ||
                (report.starts_with(cutBefore) && report.find("Error:Error at Record:") != std::string::npos))
        << report;
  }
}
#endif

}  // namespace
}  // namespace corvane

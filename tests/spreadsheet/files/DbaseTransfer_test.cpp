// dBase III transfer: export checked byte for byte and against dBase's limits,
// import of every field type with deleted records, the record window, the
// filter and the gauge, round trips, and damaged files that must change
// nothing.
#include "spreadsheet/files/DbaseTransfer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/Clock.h"
#include "spreadsheet/engine/DateTime.h"
#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/files/SettingsFile.h"
#include "tests/spreadsheet/files/TransferTestSupport.h"

namespace corvane {
namespace {

using testing::gShownErrors;
using testing::MakeRange;
using testing::ReadWholeFile;
using testing::WriteWholeFile;

TClockTime FixedDay() {
  TClockTime t;
  t.year = 2026;
  t.month = 12;
  t.day = 9;
  return t;
}

std::vector<std::pair<std::uint32_t, std::uint32_t>> gProgress;

class DbaseTest : public testing::TransferTest {
 protected:
  void SetUp() override {
    TransferTest::SetUp();
    previousClock_ = SetClockSource(FixedDay);
    ProgramSettings() = TProgramSettings{};
    ClearDbfFilter();
    gProgress.clear();
    SetDbfProgressHandler([](std::uint32_t record, std::uint32_t total) { gProgress.emplace_back(record, total); });
  }
  void TearDown() override {
    SetDbfProgressHandler(nullptr);
    ClearDbfFilter();
    ProgramSettings() = TProgramSettings{};
    SetClockSource(previousClock_);
    TransferTest::TearDown();
  }

  void SetFormat(int row, int col, std::uint8_t format) { CellPtr(CellFind(row, col))->format = format; }
  std::uint8_t FormatAt(int row, int col) { return At(row, col) ? At(row, col)->format : 0; }

  struct TTestField {
    std::string name;
    char type;
    int length;
    int decimals;
  };
  // A well-formed dBase III file of these fields and records (each record
  // with its deletion mark).
  static std::string BuildDbf(const std::vector<TTestField>& fields, const std::vector<std::string>& records) {
    auto u16 = [](int v) { return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8 & 0xFF)}; };
    int recordLength = 1;
    for (const TTestField& f : fields) recordLength += f.length;
    std::string bytes{3, 95, 6, 30};
    bytes += u16(static_cast<int>(records.size()) & 0xFFFF) + u16(static_cast<int>(records.size()) >> 16);
    bytes += u16(32 + 32 * static_cast<int>(fields.size()) + 1) + u16(recordLength);
    bytes += std::string(20, '\0');
    for (const TTestField& f : fields) {
      std::string name = f.name;
      name.resize(11, '\0');
      bytes += name + f.type + std::string(4, '\0') + static_cast<char>(f.length) + static_cast<char>(f.decimals) +
               std::string(14, '\0');
    }
    bytes += '\r';
    for (const std::string& r : records) bytes += r;
    return bytes + '\x1A';
  }

  std::string WriteDbf(const std::string& name, const std::string& bytes) {
    std::string path = folder.File(name);
    WriteWholeFile(path, bytes);
    return path;
  }

 private:
  TClockSource previousClock_ = nullptr;
};

std::string Descriptor(const char* name, char type, int length, int decimals) {
  std::string d(name);
  d.resize(11, '\0');
  return d + type + std::string(4, '\0') + static_cast<char>(length) + static_cast<char>(decimals) +
         std::string(14, '\0');
}

TEST_F(DbaseTest, ExportWritesHeaderDescriptorsRecordsAndEndMark) {
  windows.columnSizes[0] = 6;  // column B keeps the default 9 characters
  ASSERT_TRUE(EnterCell("'NAME", 0, 0));
  ASSERT_TRUE(EnterCell("'QTY", 0, 1));
  SetFormat(0, 1, 0x82);  // fixed, 2 decimals
  ASSERT_TRUE(EnterCell("'WHEN", 0, 2));
  SetFormat(0, 2, 0xF9);  // month/day/year
  ASSERT_TRUE(EnterCell("'Apple", 1, 0));
  ASSERT_TRUE(EnterCell("12.5", 1, 1));
  ASSERT_TRUE(SetCellNumber(1, 2, DateToSerial(2, 1, 1995)));
  ASSERT_TRUE(EnterCell("'Pear", 2, 0));
  ASSERT_NE(CellGetOrCreate(2, 1), kNilHandle);  // blank: an empty field
  ASSERT_TRUE(EnterCell("'Watermelons", 3, 0));
  ASSERT_TRUE(EnterCell("-1234.567", 3, 1));

  std::string path = folder.File("FRUIT.DBF");
  ASSERT_TRUE(ExportDbf(MakeRange(0, 0, 2, 3), path));
  std::string expected(
      "\x03\x7E\x0C\x09"  // version 3, 9 December 2026
      "\x03\x00\x00\x00"  // 3 records
      "\x81\x00"          // header: 32 + 3 x 32 + 1
      "\x1D\x00",         // record: 1 + 11 + 9 + 8
      12);
  expected += std::string(20, '\0');
  // NAME grows past its column's 6 characters to its longest value.
  expected += Descriptor("NAME", 'C', 11, 0) + Descriptor("QTY", 'N', 9, 2) + Descriptor("WHEN", 'D', 8, 0);
  expected += "\r";
  expected += std::string(" ") + "Apple      " + "    12.50" + "19950102";
  expected += std::string(" ") + "Pear       " + "         " + "        ";
  expected += std::string(" ") + "Watermelons" + " -1234.57" + "        ";
  expected += "\x1A";
  EXPECT_EQ(ReadWholeFile(path), expected);
}

TEST_F(DbaseTest, ExportKeepsFieldsWithinDbaseLimits) {
  struct Column {
    const char* head;  // nullptr: no cell
    std::uint8_t format;
    int widthChars;
    const char* value;  // the cell of the one record
    const char* name;   // expected
    char type;
    int length;
    int decimals;
    const char* field;  // expected record text
  } columns[] = {
      {"'VERYLONGFIELDNAME", 0xFF, 300, "'x", "VERYLONGFI", 'C', 254, 0, nullptr},
      {nullptr, 0, 0, "'abc", "FIELD2", 'C', 3, 0, "abc"},
      {"'qty", 0x07, 3, "1.5", "qty", 'N', 9, 7, "1.5000000"},
      {"'QTY", 0x00, 30, "1e18", "QTY_2", 'N', 19, 0, "1000000000000000000"},
      {"'qty", 0x0F, 12, "-2", "qty_3", 'N', 12, 7, "  -2.0000000"},
      {"'Day", 0x7A, 2, "'", "Day", 'D', 8, 0, "        "},  // an empty label
      {"7", 0xFF, 4, "8", "7", 'C', 4, 0, "8   "},
  };
  int col = 0;
  for (const Column& c : columns) {
    windows.columnSizes[col] = c.widthChars;
    if (c.head) {
      ASSERT_TRUE(EnterCell(c.head, 0, col));
      SetFormat(0, col, c.format);
    }
    ASSERT_TRUE(EnterCell(c.value, 1, col));
    ++col;
  }
  std::string path = folder.File("LIMITS.DBF");
  ASSERT_TRUE(ExportDbf(MakeRange(0, 0, col - 1, 1), path));
  std::string bytes = ReadWholeFile(path);
  int n = static_cast<int>(std::size(columns));
  std::size_t headerLength = 32 + 32 * static_cast<std::size_t>(n) + 1;
  ASSERT_GT(bytes.size(), headerLength);
  EXPECT_EQ(static_cast<std::size_t>(static_cast<unsigned char>(bytes[8]) | static_cast<unsigned char>(bytes[9]) << 8),
            headerLength);
  std::size_t at = headerLength + 1;  // the record's first field
  for (int i = 0; i < n; ++i) {
    const Column& c = columns[i];
    std::string d = bytes.substr(32 + 32 * static_cast<std::size_t>(i), 32);
    EXPECT_EQ(std::string(d.c_str()), c.name) << i;
    EXPECT_EQ(d[10], '\0') << i;  // ten characters at most, then a zero
    EXPECT_EQ(d[11], c.type) << i;
    EXPECT_EQ(static_cast<unsigned char>(d[16]), c.length) << i;
    EXPECT_EQ(d[17], c.decimals) << i;
    if (c.field) {
      EXPECT_EQ(bytes.substr(at, static_cast<std::size_t>(c.length)), c.field) << i;
    }
    at += static_cast<std::size_t>(c.length);
  }
  EXPECT_EQ(bytes.size(), at + 1);
  EXPECT_EQ(bytes.back(), '\x1A');
}

TEST_F(DbaseTest, ExportFailuresAreShown) {
  ASSERT_TRUE(EnterCell("'A", 0, 0));
  EXPECT_FALSE(ExportDbf(MakeRange(0, 0, 0, 0), folder.File("NO/SUCH/X.DBF")));
  EXPECT_EQ(gShownErrors, std::vector<std::string>{"Error:Write Error"});
  gShownErrors.clear();
  EXPECT_FALSE(ExportDbf(MakeRange(0, 0, 0, 8192), folder.File("X.DBF")));
  EXPECT_EQ(gShownErrors, std::vector<std::string>{"Error:Out of Range"});
  EXPECT_EQ(ReadWholeFile(folder.File("X.DBF")), "<missing>");
}

// An outside reader of dBase III files: each record's fields by their
// descriptors, trailing blanks dropped (leading ones too for numbers); an
// empty table for a file that does not hold together.
std::vector<std::vector<std::string>> ReadDbfTable(const std::string& bytes) {
  std::vector<std::vector<std::string>> table;
  auto u16 = [&](std::size_t at) {
    return static_cast<std::size_t>(static_cast<unsigned char>(bytes[at]) |
                                    static_cast<unsigned char>(bytes[at + 1]) << 8);
  };
  if (bytes.size() < 32) return table;
  std::size_t records = u16(4) | u16(6) << 16, header = u16(8), length = u16(10);
  std::vector<std::pair<char, std::size_t>> fields;
  for (std::size_t at = 32; at + 32 <= header && bytes[at] != '\r'; at += 32)
    fields.emplace_back(bytes[at + 11], static_cast<unsigned char>(bytes[at + 16]));
  if (header + records * length + 1 != bytes.size() || bytes.back() != '\x1A') return table;
  for (std::size_t n = 0; n < records; ++n) {
    std::size_t at = header + n * length + 1;
    table.emplace_back();
    for (const auto& [type, width] : fields) {
      std::string field = bytes.substr(at, width);
      field.erase(field.find_last_not_of(' ') + 1);
      if (type == 'N') field.erase(0, field.find_first_not_of(' '));
      table.back().push_back(field);
      at += width;
    }
  }
  return table;
}

TEST_F(DbaseTest, ExportCutsNoTextAndChangesNoNumber) {
  // Every column at the default 9 characters.
  ASSERT_TRUE(EnterCell("'NAME", 0, 0));
  ASSERT_TRUE(EnterCell("'COUNT", 0, 1));
  SetFormat(0, 1, 0x00);  // fixed, no decimals
  ASSERT_TRUE(EnterCell("'PRICE", 0, 2));
  SetFormat(0, 2, 0x02);
  ASSERT_TRUE(EnterCell("'NOTE", 0, 3));  // a text field with numbers in it
  const std::string longest(240, 'L');
  const struct {
    const char* name;
    double count, price, note;
  } rows[] = {
      {"'A very long label", 123456789012, 1234567.891, 123456789012},
      {nullptr, -98765432109876, 0.5, -0.000125},
      {"'short", 7, -1e14, 1e100},
  };
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(EnterCell(rows[i].name ? std::string(rows[i].name) : "'" + longest, 1 + i, 0));
    ASSERT_TRUE(SetCellNumber(1 + i, 1, rows[i].count));
    ASSERT_TRUE(SetCellNumber(1 + i, 2, rows[i].price));
    ASSERT_TRUE(SetCellNumber(1 + i, 3, rows[i].note));
  }
  std::string path = folder.File("WHOLE.DBF");
  ASSERT_TRUE(ExportDbf(MakeRange(0, 0, 3, 3), path));
  const std::vector<std::vector<std::string>> expected = {
      {"A very long label", "123456789012", "1234567.89", "1.23456789012E+11"},
      {longest, "-98765432109876", "0.50", "-0.000125"},
      {"short", "7", "-100000000000000.00", "1E+100"},
  };
  EXPECT_EQ(ReadDbfTable(ReadWholeFile(path)), expected);
  EXPECT_TRUE(gShownErrors.empty());

  // A value its column's field cannot hold: the first one is shown with its
  // address before the file is touched, and the old file stays.
  const struct {
    int row, col;
    const char* typed;
    std::uint8_t priceFormat;  // of the PRICE name: fixed, or a date
    const char* shown;
  } refused[] = {
      {2, 1, "1e25", 0x02, "Error:Too Wide for a dBase Field: B3"},
      {2, 1, "7", 0x79, "Error:Too Wide for a dBase Field: C4"},  // -1E+14 names no date
      {3, 1, "'n/a", 0x02, "Error:Not a Number for a dBase Field: B4"},
      {1, 2, "+1/0", 0x02, "Error:Not a Number for a dBase Field: C2"},
      {2, 2, "+\"a\"&\"b\"", 0x02, "Error:Not a Number for a dBase Field: C3"},
      {2, 2, "'soon", 0x79, "Error:Not a Number for a dBase Field: C3"},
  };
  for (const auto& c : refused) {
    gShownErrors.clear();
    double before = c.col == 1 ? rows[c.row - 1].count : rows[c.row - 1].price;
    ASSERT_TRUE(EnterCell(c.typed, c.row, c.col)) << c.typed;
    SetFormat(0, 2, c.priceFormat);
    EXPECT_FALSE(ExportDbf(MakeRange(0, 0, 3, 3), path)) << c.typed;
    EXPECT_EQ(gShownErrors, std::vector<std::string>{c.shown}) << c.typed;
    EXPECT_EQ(ReadDbfTable(ReadWholeFile(path)), expected) << c.typed;
    ASSERT_TRUE(SetCellNumber(c.row, c.col, before));
    SetFormat(0, 2, 0x02);
  }
}

TEST_F(DbaseTest, ImportEntersNamesAndEveryFieldType) {
  FormatSettings().Period = ',';  // dBase numbers keep their "." whatever the setting
  std::string path = WriteDbf(
      "STOCK.DBF", BuildDbf({{"NAME", 'C', 8, 0}, {"PRICE", 'N', 7, 2}, {"SOLD", 'D', 8, 0}, {"OK", 'L', 1, 0}},
                            {std::string(" ") + "Widget  " + "  12.50" + "19991231" + "T",
                             std::string("*") + "Deleted " + "   1.00" + "        " + "F",
                             std::string(" ") + "Gadget  " + "      ." + "        " + "F",
                             std::string(" ") + "  x     " + "  -3   " + "20230230" + " ",
                             std::string(" ") + "inf     " + "    nan" + "        " + " ",
                             std::string(" ") + "        " + "infinit" + "        " + " ",
                             // padded with NUL bytes, as some writers do
                             std::string(" ") + "ABC" + std::string(5, '\0') + std::string(7, '\0') +
                                 std::string(8, '\0') + std::string(1, '\0')}));
  EXPECT_EQ(DbfFileInfo(path).fieldCount, 4);
  EXPECT_EQ(DbfFileInfo(path).recordCount, 7u);
  ASSERT_TRUE(ImportDbf(2, 1, path, -1, -1));
  EXPECT_TRUE(gShownErrors.empty());

  const char* names[] = {"'NAME", "'PRICE", "'SOLD", "'OK"};
  std::uint8_t formats[] = {0x75, 0x02, 0x79, 0x75};
  int widths[] = {8, 7, 8, 1};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(LabelAt(2, 1 + i), names[i]);
    EXPECT_EQ(FormatAt(2, 1 + i), 0x80 | formats[i]) << i;  // protected, in the field's format
    EXPECT_EQ(windows.columnSizes[1 + i], widths[i]) << i;
  }
  std::string serial = "#" + std::to_string(static_cast<int>(DateToSerial(31, 12, 1999)));
  struct Row {
    int row;
    std::vector<std::string> cells;
  } rows[] = {
      {3, {"'Widget", "#12,5", serial, "'T"}},
      {4, {"'Gadget", "#0", "", "'F"}},       // the deleted record left no row; "." is 0
      {5, {"'  x", "#-3", "'20230230", ""}},  // a date that does not exist stays text
      {6, {"'inf", "'    nan", "", ""}},        // words are no dBase numbers: kept as text
      {7, {"", "'infinit", "", ""}},
      {8, {"'ABC", "", "", ""}},  // NUL padding is blank padding: no cells from it
      {9, {"", "", "", ""}},
  };
  for (const Row& r : rows)
    for (int c = 0; c < 4; ++c) EXPECT_EQ(Shown(r.row, 1 + c), r.cells[c]) << r.row << "," << c;
  EXPECT_EQ(FormatAt(3, 2) & 0x7F, 0x02);
  EXPECT_EQ(FormatAt(5, 3) & 0x7F, 0x79);

  // Day-first date order.
  ProgramSettings().UsDate = false;
  ASSERT_TRUE(ImportDbf(20, 0, path, -1, -1));
  EXPECT_EQ(FormatAt(20, 2), 0x80 | 0x7A);
  EXPECT_EQ(FormatAt(21, 2) & 0x7F, 0x7A);
}

TEST_F(DbaseTest, TextFieldsStayTextInCellsOfADateFormat) {
  // An earlier import left a date column where this file has a text field.
  std::string dates = WriteDbf("DATES.DBF", BuildDbf({{"DAY", 'D', 8, 0}}, {" 19950101", " 19950102"}));
  ASSERT_TRUE(ImportDbf(0, 0, dates, -1, -1));
  ASSERT_EQ(FormatAt(2, 0) & 0x7F, 0x79);
  std::string notes = WriteDbf("NOTES.DBF", BuildDbf({{"NOTE", 'C', 5, 0}}, {" 1/2/3", " N/A  "}));
  EXPECT_TRUE(ImportDbf(0, 0, notes, -1, -1));
  EXPECT_EQ(Shown(1, 0), "'1/2/3");
  EXPECT_EQ(Shown(2, 0), "'N/A");
  EXPECT_EQ(FormatAt(2, 0) & 0x7F, 0x75);
}

TEST_F(DbaseTest, ImportTakesTheRecordWindowAndAtMost8192Records) {
  std::vector<std::string> records;
  for (int n = 1; n <= 10000; ++n) {
    std::string number = std::to_string(n);
    records.push_back((n <= 5000 ? "*" : " ") + std::string(5 - number.size(), ' ') + number);
  }
  std::string path = WriteDbf("MANY.DBF", BuildDbf({{"N", 'N', 5, 0}}, records));
  ASSERT_TRUE(ImportDbf(0, 0, path, -1, -1));
  // Records 1 to 8192 are read; the first 5000 are deleted.
  EXPECT_EQ(Shown(1, 0), "#5001");
  EXPECT_EQ(Shown(3192, 0), "#8192");
  EXPECT_EQ(At(3193, 0), nullptr);
  ASSERT_EQ(gProgress.size(), 64u);  // every 128 records, then the reset
  EXPECT_EQ(gProgress[0], std::make_pair(129u, 8192u));
  EXPECT_EQ(gProgress[62], std::make_pair(8065u, 8192u));
  EXPECT_EQ(gProgress.back(), std::make_pair(0u, 0u));

  struct Window {
    std::int32_t first, count;
    std::vector<std::string> expected;  // column B from row 1
  } windowsToRead[] = {
      {9990, 3, {"#9990", "#9991", "#9992", ""}},
      {9999, -1, {"#9999", "#10000", ""}},
      {9999, 50, {"#9999", "#10000", ""}},
      {20000, -1, {""}},
      {6000, 0, {""}},
      {-1, 2, {"#5001", "#5002", "#5003"}},  // a negative first record takes every record
  };
  for (const Window& w : windowsToRead) {
    CellStoreClear();
    ASSERT_TRUE(ImportDbf(0, 1, path, w.first, w.count)) << w.first;
    EXPECT_EQ(LabelAt(0, 1), "'N");
    for (std::size_t i = 0; i < w.expected.size(); ++i)
      EXPECT_EQ(Shown(1 + static_cast<int>(i), 1), w.expected[i]) << w.first;
  }
}

TEST_F(DbaseTest, FilterKeepsTheMatchingRecords) {
  std::string path = WriteDbf("FRUIT.DBF", BuildDbf({{"NAME", 'C', 6, 0}, {"QTY", 'N', 4, 0}, {"DAY", 'D', 8, 0}},
                                                    {std::string(" ") + "APPLE " + "   5" + "19950101",
                                                     std::string(" ") + "pear  " + "  12" + "19950301",
                                                     std::string(" ") + "PLUM  " + "   7" + "19950215"}));
  std::string feb1 = std::to_string(DateToSerial(1, 2, 1995));
  // The filters' texts as plain pointers: GCC 12 at -O3 wrongly takes a
  // string member of an aggregate array for uninitialised.
  struct Case {
    int field, op;
    const char* value;
    std::vector<std::string> names;
  } cases[] = {
      {1, kDbfFilterEqual, "pear", {"'pear"}},
      {1, kDbfFilterNotEqual, "PEAR", {"'APPLE", "'PLUM"}},
      {1, kDbfFilterContainedA, "pl", {"'APPLE", "'PLUM"}},
      {1, kDbfFilterContainedB, "E", {"'APPLE", "'pear"}},
      {2, kDbfFilterGreater, "6", {"'pear", "'PLUM"}},
      {2, kDbfFilterGreaterOrEqual, "7", {"'pear", "'PLUM"}},
      {2, kDbfFilterNotGreater, "7", {"'APPLE", "'PLUM"}},
      {2, kDbfFilterLess, "7", {"'APPLE"}},
      {2, kDbfFilterEqual, "5", {"'APPLE"}},
      {2, kDbfFilterNotEqual, "5", {"'pear", "'PLUM"}},
      {3, kDbfFilterGreater, feb1.c_str(), {"'pear", "'PLUM"}},
      {2, kDbfFilterGreater, "many", {}},
      {2, 7, "1", {}},
      {9, kDbfFilterEqual, "x", {"'APPLE", "'pear", "'PLUM"}},  // no such field: no filter
  };
  for (const Case& c : cases) {
    CellStoreClear();
    SetDbfFilter(TDbfFilter{c.field, c.op, c.value});
    ASSERT_TRUE(ImportDbf(0, 0, path, -1, -1));
    std::vector<std::string> names;
    for (int row = 1; At(row, 0) != nullptr; ++row) names.push_back(LabelAt(row, 0));
    EXPECT_EQ(names, c.names) << c.field << " " << c.op << " " << c.value;
  }
}

TEST_F(DbaseTest, ExportedTableImportsAsTheSameCells) {
  ASSERT_TRUE(EnterCell("'CITY", 0, 0));
  ASSERT_TRUE(EnterCell("'PEOPLE", 0, 1));
  SetFormat(0, 1, 0x01);
  ASSERT_TRUE(EnterCell("'FOUNDED", 0, 2));
  SetFormat(0, 2, 0x79);
  const char* cities[] = {"'Ashford", "'Bly", "'Corran"};
  double people[] = {1200.5, -3, 0};
  double founded[] = {DateToSerial(1, 5, 1850), DateToSerial(29, 2, 2000), DateToSerial(15, 10, 1582)};
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(EnterCell(cities[i], 1 + i, 0));
    ASSERT_TRUE(SetCellNumber(1 + i, 1, people[i]));
    ASSERT_TRUE(SetCellNumber(1 + i, 2, founded[i]));
  }
  std::string path = folder.File("TOWNS.DBF");
  ASSERT_TRUE(ExportDbf(MakeRange(0, 0, 2, 3), path));
  EXPECT_EQ(DbfFileInfo(path).fieldCount, 3);
  EXPECT_EQ(DbfFileInfo(path).recordCount, 3u);
  ASSERT_TRUE(ImportDbf(0, 5, path, -1, -1));
  const int formats[] = {0x75, 0x01, 0x79};  // text, and the first row's formats
  for (int row = 0; row <= 3; ++row)
    for (int col = 0; col < 3; ++col) {
      EXPECT_EQ(Shown(row, 5 + col), Shown(row, col)) << row << "," << col;
      EXPECT_EQ(FormatAt(row, 5 + col) & 0x7F, formats[col]) << row << "," << col;
    }
}

TEST_F(DbaseTest, DamagedFilesChangeNothing) {
  std::string good = BuildDbf({{"A", 'C', 3, 0}, {"B", 'N', 4, 1}}, {" abc 1.5", " def 2.5", " ghi 3.5"});
  auto patched = [&](std::size_t at, std::string bytes) {
    return good.substr(0, at) + bytes + good.substr(at + bytes.size());
  };
  struct Case {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"empty", ""},
      {"header cut short", good.substr(0, 20)},
      {"header length below 32", patched(8, std::string("\x10\x00", 2))},
      {"header length past the end", patched(8, std::string("\xD0\x07", 2))},
      {"record length too short for the fields", patched(10, std::string("\x05\x00", 2))},
      {"record length zero", patched(10, std::string("\x00\x00", 2))},
      {"record count too large", patched(4, std::string("\xE8\x03\x00\x00", 4))},
      {"record count near 2^32", patched(4, std::string("\xFF\xFF\xFF\xFF", 4))},
      {"last record cut", good.substr(0, good.size() - 4)},
      {"descriptors cut", good.substr(0, 70)},
  };
  ASSERT_TRUE(EnterCell("'keep", 0, 0));
  for (const Case& c : cases) {
    gShownErrors.clear();
    std::string path = WriteDbf("BAD.DBF", c.bytes);
    EXPECT_EQ(DbfFileInfo(path).fieldCount, 0) << c.what;
    EXPECT_EQ(DbfFileInfo(path).recordCount, 0u) << c.what;
    EXPECT_FALSE(ImportDbf(0, 0, path, -1, -1)) << c.what;
    EXPECT_EQ(gShownErrors, std::vector<std::string>{"Error:Unable to Read"}) << c.what;
    EXPECT_EQ(CellCount(), 1) << c.what;
    EXPECT_EQ(LabelAt(0, 0), "'keep") << c.what;
    EXPECT_TRUE(windows.columnSizes.empty()) << c.what;
  }
  gShownErrors.clear();
  EXPECT_FALSE(ImportDbf(0, 0, folder.File("NONE.DBF"), -1, -1));
  EXPECT_EQ(gShownErrors, std::vector<std::string>{"Error:Unable to Read"});
  EXPECT_EQ(DbfFileInfo(folder.File("NONE.DBF")).fieldCount, 0);
}

TEST_F(DbaseTest, OddButReadableHeadersImport) {
  std::string good = BuildDbf({{"A", 'C', 3, 0}}, {" abc", " def"});
  // No $0D mark (the header ends right after the descriptors), and a header
  // with extra bytes after the mark: both give one field.
  std::string noMark = good.substr(0, 64) + good.substr(65);
  noMark[8] = 64;
  std::string extra = good.substr(0, 65) + std::string(263, '\0') + good.substr(65);
  extra[8] = static_cast<char>((65 + 263) & 0xFF);
  extra[9] = static_cast<char>((65 + 263) >> 8);
  std::string noEnd = good.substr(0, good.size() - 1);  // no $1A at the end
  for (const std::string& bytes : {noMark, extra, noEnd}) {
    CellStoreClear();
    std::string path = WriteDbf("ODD.DBF", bytes);
    EXPECT_EQ(DbfFileInfo(path).fieldCount, 1);
    ASSERT_TRUE(ImportDbf(0, 0, path, -1, -1));
    EXPECT_EQ(LabelAt(0, 0), "'A");
    EXPECT_EQ(LabelAt(2, 0), "'def");
    EXPECT_EQ(At(0, 1), nullptr);
  }
}

TEST_F(DbaseTest, ImportsThatCannotFitAreRefusedFirst) {
  std::vector<TTestField> many;
  for (int i = 0; i < 300; ++i) many.push_back({"F" + std::to_string(i), 'C', 1, 0});
  std::string wide = WriteDbf("WIDE.DBF", BuildDbf(many, {" " + std::string(300, 'x')}));
  EXPECT_EQ(DbfFileInfo(wide).fieldCount, 300);
  EXPECT_EQ(DbfFileInfo(wide).recordCount, 1u);
  EXPECT_FALSE(ImportDbf(0, 0, wide, -1, -1));
  EXPECT_EQ(gShownErrors, std::vector<std::string>{"Error:Field count Exceeds 256"});
  EXPECT_EQ(CellCount(), 0);

  std::string three = WriteDbf("THREE.DBF", BuildDbf({{"A", 'C', 1, 0}, {"B", 'C', 1, 0}, {"C", 'C', 1, 0}}, {" xyz"}));
  gShownErrors.clear();
  EXPECT_FALSE(ImportDbf(0, 254, three, -1, -1));
  EXPECT_EQ(gShownErrors, std::vector<std::string>{"Error:Out of Range"});
  EXPECT_EQ(CellCount(), 0);
  EXPECT_TRUE(ImportDbf(0, 253, three, -1, -1));  // columns 253 to 255 fit

  // Past the last row the import stops there, with the reason shown.
  CellStoreClear();
  gShownErrors.clear();
  std::string path = WriteDbf("ROWS.DBF", BuildDbf({{"A", 'C', 1, 0}}, {" a", " b", " c"}));
  EXPECT_FALSE(ImportDbf(8189, 0, path, -1, -1));
  EXPECT_EQ(LabelAt(8191, 0), "'b");
  EXPECT_EQ(gShownErrors, std::vector<std::string>{"Error:Out of Range"});

  // A protected sheet refuses the first cell, once.
  CellStoreClear();
  gShownErrors.clear();
  gCurrentDoc.settings.protection = 1;
  EXPECT_FALSE(ImportDbf(0, 0, path, -1, -1));
  EXPECT_EQ(gShownErrors, std::vector<std::string>{"Error:Protected Cell"});
  EXPECT_EQ(CellCount(), 0);
}

}  // namespace
}  // namespace corvane

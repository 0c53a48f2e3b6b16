// Addresses and ranges as text: column letters, sheet bands, round trips, the
// limits of the parser, "RANGE" and "CURSOR", and the absolute marks.
#include "spreadsheet/engine/RangeText.h"

#include <gtest/gtest.h>

#include <vector>

#include "spreadsheet/engine/RangeNames.h"
#include "tests/spreadsheet/engine/EngineTestSupport.h"

namespace corvane::testing {
namespace {

class RangeTextTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    OpenCurrent("R.WKS");
  }
  void SetRowsPerSheet(int rows) { gCurrentDoc.settings.rowsPerSheet = static_cast<std::int16_t>(rows); }
  TRange Parsed(const char* text) {
    TRange range;
    ClearErrorFlag();
    EXPECT_TRUE(ParseRange(text, range)) << text;
    EXPECT_FALSE(ErrorFlagSet()) << text;
    return range;
  }
};

TEST(ColumnLetters, CountLikeTheSheetHeaders) {
  struct Case {
    int col;
    const char* letters;
  } cases[] = {{0, "A"}, {25, "Z"}, {26, "AA"}, {51, "AZ"}, {52, "BA"}, {255, "IV"}, {256, ""}, {-1, ""}};
  for (const Case& c : cases) EXPECT_EQ(ColumnLetters(c.col), c.letters) << c.col;
}

TEST_F(RangeTextTest, AddressesRoundTripWithOneSheet) {
  struct Case {
    const char* text;
    int row, col;
    bool absRow, absCol;
    const char* printed;
  } cases[] = {
      {"A1", 0, 0, false, false, "A1"},          {"$A$1", 0, 0, true, true, "$A$1"},
      {"IV8192", 8191, 255, false, false, "IV8192"}, {"a1", 0, 0, false, false, "A1"},
      {"$b7", 6, 1, false, true, "$B7"},          {"Z$26", 25, 25, true, false, "Z$26"},
      {"AA0100", 99, 26, false, false, "AA100"},
  };
  for (const Case& c : cases) {
    int row = -1, col = -1;
    bool absCol = false, absRow = false;
    ASSERT_TRUE(ParseCellAddr(c.text, row, col, absCol, absRow)) << c.text;
    EXPECT_EQ(row, c.row) << c.text;
    EXPECT_EQ(col, c.col) << c.text;
    EXPECT_EQ(absRow, c.absRow) << c.text;
    EXPECT_EQ(absCol, c.absCol) << c.text;
    EXPECT_EQ(CellAddrText(row, col, absRow, absCol), c.printed) << c.text;
  }
}

TEST_F(RangeTextTest, WithFourSheetsRowsCountWithinTheirSheet) {
  SetRowsPerSheet(2048);
  int row = 0, col = 0;
  bool absCol = false, absRow = false;
  ASSERT_TRUE(ParseCellAddr("B:A1", row, col, absCol, absRow));
  EXPECT_EQ(row, 2048);
  EXPECT_EQ(CellAddrText(2048, 0, false, false), "B:A1");
  EXPECT_EQ(CellAddrText(8191, 255, true, true), "D:$IV$2048");
  EXPECT_EQ(CellAddrText(2, 2, true, true), "A:$C$3");
  EXPECT_EQ(ColRowName(2048, 0), "A1");
  ASSERT_TRUE(ParseCellAddr("b:$c$5", row, col, absCol, absRow));
  EXPECT_EQ(row, 2052);
  EXPECT_TRUE(absCol && absRow);
  // Without a sheet letter the row counts from the top of the worksheet.
  ASSERT_TRUE(ParseCellAddr("A5000", row, col, absCol, absRow));
  EXPECT_EQ(row, 4999);
  EXPECT_EQ(CellAddrText(4999, 0, false, false), "C:A904");

  TRange range = Parsed("B:A1..C:D5");
  EXPECT_EQ(range, MakeRange(0, 2048, 3, 4100));
  EXPECT_EQ(RangeText(range), "B:A1..C:D5");
}

TEST_F(RangeTextTest, AddressesOutsideTheSheetOrBadlyWrittenAreErrors) {
  struct Case {
    int rowsPerSheet;
    const char* text;
    bool outOfRange;  // the error is "Out of Range" (101), else a bad text
  } cases[] = {
      {8192, "A0", true},        {8192, "A8193", true},  {8192, "IW1", true},     {8192, "A", false},
      {8192, "1", false},        {8192, "+AB", false},   {8192, "AB", false},     {8192, "CRXQ1", false},
      {8192, "A1B", false},      {8192, "A1 ", false},   {8192, "$$A1", false},   {8192, "A-1", false},
      {8192, "A1234567", false}, {8192, "", false},      {8192, ":A1", false},    {2048, "B:A3000", true},
      {2048, "E:A1", true},      {2048, "B:A0", true},   {2048, "B:", false},     {2048, "B:IW1", true},
      {8192, "B:A1", true},      {2730, "D:A3", true},
  };
  for (const Case& c : cases) {
    SetRowsPerSheet(c.rowsPerSheet);
    ClearErrorFlag();
    int row = 123, col = 45;
    bool absCol = false, absRow = false;
    EXPECT_FALSE(ParseCellAddr(c.text, row, col, absCol, absRow)) << c.text;
    EXPECT_TRUE(ErrorFlagSet()) << c.text;
    EXPECT_EQ(ErrorCode() == 101, c.outOfRange) << c.text;
    EXPECT_EQ(row, 123) << "nothing is written on failure: " << c.text;
    EXPECT_EQ(col, 45) << c.text;
  }
}

TEST_F(RangeTextTest, SheetCountsThatDoNotDivideTheRowsLeaveAShortLastSheet) {
  SetRowsPerSheet(8192 / 3);  // 2730 rows: sheets A to C and two rows in D
  EXPECT_EQ(Parsed("D:A1").firstRow, 8190);
  EXPECT_EQ(Parsed("D:A2").firstRow, 8191);
  EXPECT_EQ(CellAddrText(8191, 0, false, false), "D:A2");
  EXPECT_EQ(CellAddrText(2730, 0, false, false), "B:A1");
}

TEST_F(RangeTextTest, RowsPerSheetOfZeroOrDamagedMeansOneSheet) {
  for (int rows : {0, -5, 8192, 20000}) {
    SetRowsPerSheet(rows);
    EXPECT_FALSE(HasSeveralSheets()) << rows;
    EXPECT_EQ(Parsed("A8192").firstRow, 8191) << rows;
    EXPECT_EQ(CellAddrText(8191, 0, false, false), "A8192") << rows;
  }
}

TEST_F(RangeTextTest, RangesReadTheSameInEveryWrittenForm) {
  EXPECT_EQ(Parsed("A1..B2"), MakeRange(0, 0, 1, 1));
  EXPECT_EQ(Parsed("A1.B2"), MakeRange(0, 0, 1, 1));
  EXPECT_EQ(Parsed("a1..b2"), MakeRange(0, 0, 1, 1));
  EXPECT_EQ(Parsed("B2..A1"), MakeRange(1, 1, 0, 0)) << "kept unordered for the caller";
  EXPECT_EQ(Parsed("C3"), MakeRange(2, 2, 2, 2));
  TRange unset = Parsed("");
  EXPECT_FALSE(RangeIsValid(unset));
  for (const char* bad : {"A1...B2", "A1..", "..", ".B2", "A1..B0", "A1,B2"}) {
    TRange range = MakeRange(9, 9, 9, 9);
    ClearErrorFlag();
    EXPECT_FALSE(ParseRange(bad, range)) << bad;
    EXPECT_TRUE(ErrorFlagSet()) << bad;
    EXPECT_EQ(range, MakeRange(9, 9, 9, 9)) << "a failed parse leaves the range alone: " << bad;
  }
}

TEST_F(RangeTextTest, RangeTextWritesPairsOnlyForSeveralCellsUnlessForced) {
  EXPECT_EQ(RangeText(MakeRange(2, 2, 2, 2)), "C3");
  EXPECT_EQ(RangeToText(MakeRange(0, 0, 1, 1)), "A1..B2");
  EXPECT_EQ(RangeText(TRange{}), "");
  EXPECT_EQ(RangeTextAbs(MakeRange(0, 0, 1, 1), 0xF, false), "$A$1..$B$2");
  EXPECT_EQ(RangeTextAbs(MakeRange(0, 0, 1, 1), 0x1, false), "A$1..B2");
  EXPECT_EQ(RangeTextAbs(MakeRange(0, 0, 1, 1), 0xA, false), "$A1..$B2");
  EXPECT_EQ(RangeTextAbs(MakeRange(2, 2, 2, 2), 0x0, true), "C3..C3");
  EXPECT_EQ(RangeTextAbs(MakeRange(2, 2, 2, 2), 0xF, false), "$C$3");
}

TEST_F(RangeTextTest, ParsingGivesTheAbsoluteMarksOfEachCorner) {
  RangeNameCreate("TOTAL", MakeRange(3, 3, 4, 4));
  struct Row {
    const char* text;
    TRangeAbsFlags abs;
  } rows[] = {
      {"$A$1..B$2", {1, 1, 1, 0}}, {"$C7", {0, 1, 0, 1}}, {"D4", {0, 0, 0, 0}},
      {"total", {0, 0, 0, 0}},     {"$TOTAL", {1, 1, 1, 1}},
  };
  for (const Row& row : rows) {
    TRange range;
    TRangeAbsFlags abs{9, 9, 9, 9};
    ASSERT_TRUE(ParseRange(row.text, range, abs)) << row.text;
    EXPECT_EQ(std::vector<int>({abs.firstRow, abs.firstCol, abs.lastRow, abs.lastCol}),
              std::vector<int>({row.abs.firstRow, row.abs.firstCol, row.abs.lastRow, row.abs.lastCol}))
        << row.text;
  }
}

TEST_F(RangeTextTest, RangeAndCursorComeFromTheActiveGrid) {
  windows.selection = MakeRange(2, 3, 4, 5);
  windows.cursorRow = 7;
  windows.cursorCol = 8;
  EXPECT_EQ(Parsed("range"), MakeRange(2, 3, 4, 5));
  EXPECT_EQ(Parsed("CURSOR"), MakeRange(8, 7, 8, 7));
  LoadCursorGlobals();
  EXPECT_EQ(gCursorCell.row, 7);
  EXPECT_EQ(gCursorCell.col, 8);

  TRange range;
  windows.ClearGridMark();
  EXPECT_FALSE(ParseRange("RANGE", range)) << "nothing is selected";
  windows.open = false;
  EXPECT_FALSE(ParseRange("CURSOR", range));
  SetWindowServices(nullptr);
  EXPECT_FALSE(ParseRange("RANGE", range));
  gCursorCell = TCellPos{1, 1};
  LoadCursorGlobals();
  EXPECT_EQ(gCursorCell.row, 1) << "no window: the globals stay";
}

TEST_F(RangeTextTest, AddressShapedTextIsRecognisedWhateverItsBounds) {
  for (const char* text : {"A1", "$iv$99999", "B:A1", "A1..B2", "A1.B2", "ZZZ:A1", "IW1"})
    EXPECT_TRUE(IsAddressText(text)) << text;
  for (const char* text : {"ABC1", "TOTAL", "A", "1", "Q1X", "A1..", "", "_A1"})
    EXPECT_FALSE(IsAddressText(text)) << text;
}

}  // namespace
}  // namespace corvane::testing

// Clipboard blocks: a round trip through the private form keeps contents and
// attributes, plain text from another program pastes as values and labels,
// lines and fields are never cut or merged, and copies or pastes that cannot
// complete change nothing.
#include "spreadsheet/engine/Clipboard.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

#include "spreadsheet/engine/FormulaCompiler.h"
#include "spreadsheet/engine/RangeEdit.h"
#include "spreadsheet/engine/Recalc.h"
#include "spreadsheet/engine/RowText.h"
#include "spreadsheet/engine/UndoBuffer.h"
#include "tests/spreadsheet/engine/RangeEditSupport.h"

namespace corvane {
namespace {

using testing::gShownErrors;
using testing::RangeEditTest;

class TFakeClipboard : public TClipboard {
 public:
  bool available = true;
  std::map<TClipFormat, std::string> data;

  bool Open() override { return available; }
  void Close() override {}
  bool Empty() override {
    data.clear();
    return true;
  }
  bool Put(TClipFormat format, std::string_view block) override {
    data[format] = block;
    return true;
  }
  bool Get(TClipFormat format, std::string& block) override {
    auto it = data.find(format);
    if (it == data.end()) return false;
    block = it->second;
    return true;
  }
};

class ClipboardTest : public RangeEditTest {
 protected:
  void SetUp() override {
    RangeEditTest::SetUp();
    SetClipboard(&clipboard);
  }
  void TearDown() override {
    SetClipboard(nullptr);
    InitParserCharSets(',', '.');
    RangeEditTest::TearDown();
  }
  std::string Attributes(const char* addr) {
    int row = 0, col = 0;
    At(addr, row, col);
    return CellAttributeText(row, col);
  }

  TFakeClipboard clipboard;
};

TEST_F(ClipboardTest, PrivateBlocksRoundTripContentsAndAttributes) {
  for (char separator : {',', ';'}) {
    SCOPED_TRACE(separator);
    CellStoreClear();
    InitParserCharSets(separator, '.');
    std::string args = std::string("@IF(A1>2") + separator + "A1" + separator + "B1)";
    Put("A1=5|B1=-2.25|C1='left;F1,C2 text|A2=\"right|B2=^centre|C2=\\-|A4=" + args + "|C4=+A1&\"x;y\"");
    ASSERT_TRUE(EnterCell("|abc", 3, 1));
    RangeSetFormat(R("A1"), 2);
    CellPtr(CellFind(0, 0))->font = 3;
    CellPtr(CellFind(0, 0))->attributes = 0x12345678;
    std::string edits[12], attributes[12];
    for (int k = 0; k < 12; ++k) {
      std::string addr = std::string(1, static_cast<char>('A' + k % 3)) + std::to_string(k / 3 + 1);
      edits[k] = Edit(addr);
      attributes[k] = Attributes(addr.c_str());
    }
    ASSERT_TRUE(ClipboardCopyRange(R("A1..C4"), false));
    EXPECT_EQ(clipboard.data[TClipFormat::kPrivate].substr(0, 25), "5;F130,C305419896,T3,H0,S");
    ASSERT_TRUE(ClipboardPasteRange(9, 4));  // E10
    for (int k = 0; k < 12; ++k) {
      std::string addr = std::string(1, static_cast<char>('E' + k % 3)) + std::to_string(k / 3 + 10);
      EXPECT_EQ(Edit(addr), edits[k]) << addr;
      EXPECT_EQ(Attributes(addr.c_str()), attributes[k]) << addr;
    }
    EXPECT_EQ(Shown("E13"), "5");
  }
}

TEST_F(ClipboardTest, PlainBlocksShowWhatTheSheetShows) {
  Put("A1=+B1*2|B1=1.5|A2='  padded  |B2=@ERR");
  std::string block;
  ASSERT_TRUE(ClipboardBuildText(R("A1..B3"), true, block));
  EXPECT_EQ(block, "3\t1.5\r\npadded\tERR\r\n\t\r\n");
  CellPtr(CellFind(0, 0))->format |= kFormatProtectedBit;
  gCurrentDoc.settings.protection = 1;
  ASSERT_TRUE(ClipboardBuildText(R("A1"), false, block));
  EXPECT_EQ(block, "\r\n");
}

TEST_F(ClipboardTest, RowTextPlacesEachCellInItsField) {
  // Fields of width + 2: A 5 (a column of 3), B..E 11 (the default 9).
  windows.GridSetColWidth(0, 24);
  Put("A1=1234567|B1=\"right|C1=^mid|D1=\\-|E1=@ERR");
  EXPECT_EQ(RowDisplayText(0, 0, 4), "1E+06" "     right " "    mid    " "-----------" "        ERR");
  EXPECT_EQ(RowDisplayText(0, 2, 2), "    mid    ");
  // A number that fills its field is written whole, a general one that does
  // not is rounded to it; only one that cannot fit even so becomes "*".
  Put("A2=@PI|B2=2/3|C2=@LOG(100)|D2=0.1+0.2|E2=-2/3|A3=99999|B3=123456789012");
  windows.GridSetColWidth(2, 16);
  EXPECT_EQ(RowDisplayText(1, 0, 4), "3.142" "0.666666667" "  2 " "       0.3 " "-0.66666667");
  windows.GridSetColWidth(2, 0);
  EXPECT_EQ(RowDisplayText(2, 0, 1), "99999" "1.23457E+11");
  Put("A4=-1234567|B4=1234567.89|D4=1234567.89");
  CellPtr(CellFind(3, 3))->format = 0x04;  // fixed: never shortened
  EXPECT_EQ(RowDisplayText(3, 0, 3), "*****" "1234567.89 " "  " "***********");
}

TEST_F(ClipboardTest, PlainTextFromAnotherProgramPastesAsValuesAndLabels) {
  std::string wide;
  for (int k = 0; k < 12; ++k) wide += (k ? "\t" : "") + std::string(30, static_cast<char>('a' + k));
  clipboard.data[TClipFormat::kText] = "1\t2.5\tabc\r\n\t(note)\t-x\n\r\n12 Main St\tx;F1,C2\r" + wide;
  ASSERT_TRUE(ClipboardPasteRange(0, 0));
  struct Row {
    const char* addr;
    std::string edit;
  } rows[] = {{"A1", "1"},         {"B1", "2.5"},          {"C1", "'abc"},
              {"A2", ""},          {"B2", "'(note)"},      {"C2", "'-x"},
              {"A3", ""},          {"A4", "'12 Main St"},  {"B4", "'x;F1,C2"},
              {"A5", "'" + std::string(30, 'a')},          {"L5", "'" + std::string(30, 'l')}};
  for (const Row& row : rows) EXPECT_EQ(Edit(row.addr), row.edit) << row.addr;
}

TEST_F(ClipboardTest, PastesReadTheFirst64000BytesAndFormulasAsTheyShow) {
  // 2,200 lines of 31 bytes: the first 64000 bytes end 16 bytes into line 2,065.
  std::string text;
  for (int line = 0; line < 2200; ++line) text += std::string(29, static_cast<char>('a' + line % 26)) + "\r\n";
  clipboard.data[TClipFormat::kText] = text;
  ASSERT_TRUE(ClipboardPasteRange(0, 0));
  EXPECT_EQ(Edit("A2064"), "'" + std::string(29, static_cast<char>('a' + 2063 % 26)));
  EXPECT_EQ(Edit("A2065"), "'" + std::string(16, static_cast<char>('a' + 2064 % 26)));
  EXPECT_EQ(Edit("A2066"), "");

  // A formula that shows a deleted reference pastes as it shows.
  CellStoreClear();
  Put("A1=5|B1=+A1*2|C1=@SUM(A1..A3)+1");
  FormulaDropRef(CellFind(0, 1), 0, 0);
  FormulaDropRef(CellFind(0, 2), 0, 0);
  ASSERT_TRUE(ClipboardCopyRange(R("B1..C1"), false));
  ASSERT_TRUE(ClipboardPasteRange(4, 1));
  EXPECT_EQ(Edit("B5"), "+ERR*2");
  EXPECT_EQ(Shown("B5"), "ERR");
  EXPECT_EQ(Edit("C5"), "@SUM(ERR)+1");
  EXPECT_EQ(Shown("C5"), "ERR");
}

TEST(ParseClipboardBlock, EveryLineEndEndsOneLine) {
  static constexpr char kBlock[] = "a\r\n\r\nb\nc\rd;F1,C0;F2,C3,T4\td\0ignored";
  auto rows = ParseClipboardBlock(std::string_view(kBlock, sizeof kBlock - 1), true);
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[1].size(), 1u);
  EXPECT_EQ(rows[1][0].contents, "");
  EXPECT_EQ(rows[4][0].contents, "d;F1,C0");
  EXPECT_EQ(rows[4][0].attributes, "F2,C3,T4");
  EXPECT_EQ(rows[4][1].contents, "d");
  EXPECT_EQ(ParseClipboardBlock("x;F1,C2\r\n", false)[0][0].contents, "x;F1,C2");
}

TEST_F(ClipboardTest, CopiesAndPastesThatCannotCompleteChangeNothing) {
  Put("A1=1|A2=2|B2=+A1");
  // 2,000 rows of 30 characters do not fit a block of 64000 bytes.
  for (int row = 11; row <= 2010; ++row) Put("A" + std::to_string(row) + "='" + std::string(30, 'x'));
  RangeUnlock(R("A1"));
  std::string before = Dump();
  clipboard.data[TClipFormat::kText] = "kept";
  gShownErrors.clear();
  clipboard.available = false;
  EXPECT_FALSE(ClipboardCopyRange(R("A1..B2"), true));
  clipboard.available = true;
  EXPECT_FALSE(ClipboardCopyRange(R("A11..A2010"), true));
  EXPECT_EQ(clipboard.data[TClipFormat::kText], "kept");
  clipboard.data[TClipFormat::kText] = "9\t9\r\n9\t9";
  EXPECT_FALSE(ClipboardPasteRange(8191, 0));  // the second line would pass the last row
  EXPECT_TRUE(Dump() == before);
  EXPECT_EQ(gShownErrors, (std::vector<std::string>{std::string("Error:") + kClipboardBusyText,
                                                    std::string("Error:") + kClipboardTooLargeText,
                                                    std::string("Error:") + kOutOfRangeText}));
  // A paste that meets a protected cell stops there: A1 takes its field, B1
  // is protected, and undo takes A1's back.
  gCurrentDoc.settings.protection = 1;
  gShownErrors.clear();
  EXPECT_FALSE(ClipboardPasteRange(0, 0));
  gCurrentDoc.settings.protection = 0;
  EXPECT_EQ(gShownErrors, std::vector<std::string>{std::string("Error:") + kProtectedCellText});
  EXPECT_EQ(Shown("A1"), "9");
  EXPECT_EQ(Shown("A2"), "2");
  UndoApply(TUndoMode::kRestore);
  EXPECT_TRUE(Dump() == before);
  // A cut that completes erases its range.
  ASSERT_TRUE(ClipboardCopyRange(R("A1..B2"), true));
  EXPECT_EQ(Shown("A2"), "");
}

}  // namespace
}  // namespace corvane

// The properties dialog's load and Ok, and the style bar's colour boxes, on
// the real engine.
#include "spreadsheet/windows/RangeProperties.h"

#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/PoolString.h"
#include "spreadsheet/engine/UndoBuffer.h"
#include "spreadsheet/windows/CellCommands.h"
#include "tests/spreadsheet/windows/FrameTestSupport.h"

namespace corvane::testing {
namespace {

class RangePropertiesTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    OpenCurrent("SHEET1.WKS");
    ASSERT_TRUE(InitNewSheet());
  }
  const TCell& At(int row, int col) {
    const TCell* cell = CellPtr(CellFind(row, col));
    EXPECT_NE(cell, nullptr) << row << "," << col;
    static const TCell kNone{};
    return cell != nullptr ? *cell : kNone;
  }
  // Ok over `text` with only `page` touched.
  bool ApplyPage(TRangeProperties& p, const char* text, int page) {
    p.rangeText = text;
    p.changed = 0;
    p.Touch(page);
    return p.Apply();
  }
};

TEST_F(RangePropertiesTest, ActivateReadsTheFirstCell) {
  TRangeProperties p;
  p.changed = 0xFF;
  p.Activate(MakeRange(1, 1, 2, 2));
  EXPECT_EQ(p.rangeText, "B2..C3");
  EXPECT_EQ(p.format, 127);
  EXPECT_EQ(p.shade, 0xFFFFFFu);
  EXPECT_EQ(p.textColour, 0);
  EXPECT_TRUE(p.protect);
  EXPECT_EQ(p.font, 255);
  EXPECT_EQ(p.changed, 0);

  ASSERT_TRUE(EnterCell("12", 1, 1));
  TCell& cell = *CellPtr(CellFind(1, 1));
  cell.attributes = 0x05123456u;
  cell.format = 0x02;  // fixed, unprotected
  cell.font = 3;
  cell.size = 14;
  cell.style = 0x23;
  p.Activate(MakeRange(1, 1, 2, 2));
  EXPECT_EQ(p.shade, 0x123456u);
  EXPECT_EQ(p.textColour, 5);
  EXPECT_FALSE(p.protect);
  EXPECT_EQ(p.format, 2);
  EXPECT_EQ(p.font, 3);
  EXPECT_EQ(p.size, 14);
  EXPECT_EQ(p.styleBits, 3);
  EXPECT_FALSE(p.sampleText.empty());
}

TEST_F(RangePropertiesTest, BordersOutAndIn) {
  struct Row {
    int type, apply;
    std::uint8_t corner, edge, centre;  // A1, B1, B2 of A1..C3
  } rows[] = {
      {kBorderSingle, kApplyOut, 0x55 & 0xC3, 0x55 & 0xC0, 0x00},
      {kBorderThick, kApplyIn, 0xAA & 0x3C, 0xAA & 0x3F, 0xAA},
      {kBorderThick, kApplyAll, 0xAA, 0xAA, 0xAA},
      {kBorderSingle, kApplyClear, 0, 0, 0},
      {kBorderNone, kApplyAll, 0, 0, 0},
  };
  // A cell the pages would leave as new is not made.
  auto borders = [](int row, int col) {
    const TCell* cell = CellPtr(CellFind(row, col));
    return cell != nullptr ? cell->borders : 0;
  };
  TRangeProperties p;
  p.Activate(MakeRange(0, 0, 2, 2));
  for (const Row& row : rows) {
    p.borderType = row.type;
    p.borderApply = row.apply;
    ASSERT_TRUE(ApplyPage(p, "A1..C3", kPageBorder));
    EXPECT_EQ(borders(0, 0), row.corner) << row.type << "/" << row.apply;
    EXPECT_EQ(borders(0, 1), row.edge) << row.type << "/" << row.apply;
    EXPECT_EQ(borders(1, 1), row.centre) << row.type << "/" << row.apply;
  }
  // Out on the other corner: bottom and right.
  p.borderType = kBorderSingle;
  p.borderApply = kApplyOut;
  ASSERT_TRUE(ApplyPage(p, "C3..A1", kPageBorder));
  EXPECT_EQ(borders(2, 2), 0x55 & 0x3C);
}

TEST_F(RangePropertiesTest, EachPageWritesOnlyItsBits) {
  ASSERT_TRUE(EnterCell("'abc", 0, 0));
  ASSERT_TRUE(EnterCell("5", 1, 0));
  ASSERT_TRUE(EnterCell("|<pic.bmp", 2, 0));
  TRangeProperties p;
  p.Activate(MakeRange(0, 0, 0, 2));
  TCell& number = *CellPtr(CellFind(1, 0));
  number.attributes = 0xC0000000u;
  number.style = 0x80 | 0x08;

  p.format = 0x21;
  ASSERT_TRUE(ApplyPage(p, "A1..A3", kPageFormat));
  EXPECT_EQ(At(1, 0).format, 0x80 | 0x21) << "the protected bit stays";

  p.shade = 0x00FF00;
  ASSERT_TRUE(ApplyPage(p, "A1..A3", kPageShade));
  EXPECT_EQ(At(1, 0).attributes, 0x4000FF00u) << "text colour bits stay";
  p.defaultShade = true;
  ASSERT_TRUE(ApplyPage(p, "A2", kPageShade));
  EXPECT_EQ(At(1, 0).attributes, 0xC0000000u);

  p.defaultShade = false;
  p.font = 2;
  p.size = 18;
  p.styleBits = 1 | 4;
  p.textColour = 9;
  ASSERT_TRUE(ApplyPage(p, "A2", kPageTypeface));
  EXPECT_EQ(At(1, 0).font, 2);
  EXPECT_EQ(At(1, 0).size, 18);
  EXPECT_EQ(At(1, 0).style, 0x05) << "style counts again; low bits replaced";
  EXPECT_EQ(At(1, 0).attributes, 0x89000000u) << "fill kept, text colour set";

  p.prefix = kPrefixRight;
  ASSERT_TRUE(ApplyPage(p, "A1..A3", kPagePrefix));
  EXPECT_EQ(Contents(0, 0), "\"abc");
  EXPECT_EQ((At(1, 0).style >> 4) & 7, 2);
  EXPECT_EQ(PoolStringView(At(2, 0).text), "|<pic.bmp") << "a picture label keeps its prefix";

  p.protect = false;
  ASSERT_TRUE(ApplyPage(p, "A1..A3", kPageLock));
  EXPECT_EQ(At(1, 0).format, 0x21);
  EXPECT_EQ(At(1, 0).borders, 0) << "untouched pages write nothing";
}

TEST_F(RangePropertiesTest, ProtectionUndoAndBadRanges) {
  ASSERT_TRUE(EnterCell("1", 0, 0));
  ASSERT_TRUE(EnterCell("2", 0, 1));
  CellPtr(CellFind(0, 1))->format &= 0x7F;  // B1 unprotected
  ASSERT_TRUE(ToggleProtection());
  TRangeProperties p;
  p.Activate(MakeRange(0, 0, 2, 0));
  p.shade = 0x0000FF;
  ASSERT_TRUE(ApplyPage(p, "A1..C1", kPageShade));
  EXPECT_EQ(At(0, 0).attributes & 0x80FFFFFF, 0x80000000u) << "protected A1 kept";
  EXPECT_EQ(At(0, 1).attributes & 0x80FFFFFF, 0x0000FFu);
  EXPECT_EQ(CellFind(0, 2), kNilHandle) << "no cell is made under protection";
  ASSERT_FALSE(ToggleProtection());

  EXPECT_TRUE(ApplyPage(p, "D1..D9", kPageLock)) << "new cells already enabled";
  EXPECT_EQ(CellFind(0, 3), kNilHandle) << "cells left as new ones are not made";

  std::uint32_t before = At(0, 1).attributes;
  p.shade = 0x123456;
  EXPECT_FALSE(ApplyPage(p, "nonsense!", kPageShade));
  EXPECT_EQ(At(0, 1).attributes, before);
  p.changed = 0;
  p.rangeText = "A1..B1";
  EXPECT_TRUE(p.Apply());
  EXPECT_EQ(At(0, 1).attributes, before) << "nothing touched, nothing changed";

  ASSERT_TRUE(ApplyPage(p, "B1", kPageShade));
  EXPECT_EQ(At(0, 1).attributes & 0xFFFFFF, 0x123456u);
  ASSERT_TRUE(UndoApply(TUndoMode::kRestore));
  EXPECT_EQ(At(0, 1).attributes, before);
}

TEST_F(RangePropertiesTest, ColourBoxesAndLayout) {
  ASSERT_TRUE(RangeSetShade(MakeRange(0, 0, 1, 0), 0x80FF80));
  ASSERT_TRUE(RangeSetTextColour(MakeRange(0, 0, 1, 0), 12));
  EXPECT_EQ(At(0, 1).attributes, 0x0C80FF80u);
  TPropertiesLayout alone = PropertiesLayout(-4);
  EXPECT_EQ(alone.page, 3);
  EXPECT_EQ(alone.listWidth, 0);
  EXPECT_EQ(alone.width, 226);
  EXPECT_EQ(PropertiesLayout(2).listWidth, 64);
}

}  // namespace
}  // namespace corvane::testing

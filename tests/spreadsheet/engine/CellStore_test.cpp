// The cell store: positions and their limits, row order, the blank template,
// kinds, pool strings, moving cells between rows and clearing the store.
#include "spreadsheet/engine/CellStore.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/spreadsheet/engine/EngineTestSupport.h"

namespace corvane::testing {
namespace {

class CellStore : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    OpenCurrent("CELLS.WKS");
  }
  std::vector<int> RowColumns(int row) {
    std::vector<int> cols;
    for (TCellHandle c = RowListHead(row); c != kNilHandle; c = CellPtr(c)->next) cols.push_back(CellPtr(c)->column);
    return cols;
  }
};

TEST_F(CellStore, PositionsOutsideTheSheetFailWithOutOfRangeAndCreateNothing) {
  struct Case {
    int row, col;
  } outside[] = {{8192, 0}, {0, 256}, {-1, 0}, {0, -1}, {32767, 0}, {0, 1000}};
  for (const Case& c : outside) {
    ClearErrorFlag();
    EXPECT_EQ(CellGetOrCreate(c.row, c.col), kNilHandle) << c.row << "," << c.col;
    EXPECT_TRUE(ErrorFlagSet());
    EXPECT_EQ(ErrorCode(), 101);
    EXPECT_EQ(ErrorMessage(), "Out of Range");
    EXPECT_EQ(CellFind(c.row, c.col), kNilHandle);
  }
  EXPECT_EQ(PoolUsedBytes(), 0);
  ClearErrorFlag();
  TCellHandle corner = CellGetOrCreate(8191, 255);
  ASSERT_NE(corner, kNilHandle);
  EXPECT_FALSE(ErrorFlagSet());
  EXPECT_EQ(CellFind(8191, 255), corner);
  EXPECT_EQ(gCurrentDoc.highRow, 8191);
  EXPECT_EQ(gCurrentDoc.highCol, 255);
  EXPECT_EQ(PoolUsedBytes(), 36) << "a cell takes 36 bytes of the pool";
}

TEST_F(CellStore, CellsOfARowStayInColumnOrder) {
  for (int col : {5, 2, 9, 0, 255, 2, 9}) ASSERT_NE(CellGetOrCreate(40, col), kNilHandle);
  EXPECT_EQ(RowColumns(40), (std::vector<int>{0, 2, 5, 9, 255}));
  EXPECT_EQ(RowColumns(41), std::vector<int>{});
  EXPECT_EQ(CellFind(40, 3), kNilHandle);
  TCellHandle five = CellFindRowPos(40, 3);
  EXPECT_EQ(CellPtr(five)->column, 5);
  EXPECT_EQ(CellPtr(CellRowPosPrevious())->column, 2);
  EXPECT_EQ(CellFindRowPos(40, 0), RowListHead(40));
  EXPECT_EQ(CellRowPosPrevious(), kNilHandle);
  EXPECT_EQ(CellFindRowPos(8192, 0), kNilHandle);
  EXPECT_EQ(gCurrentDoc.highRow, 40);
  EXPECT_EQ(gCurrentDoc.highCol, 255);
}

TEST_F(CellStore, TheIndexAgreesWithTheRowListsThroughEveryChange) {
  // Cells made in a scattered order, some moved, one row given a list of its
  // own, in two documents.
  std::uint32_t seed = 12345;
  auto next = [&](int below) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(below));
  };
  for (int k = 0; k < 5000; ++k) ASSERT_NE(CellGetOrCreate(next(200), next(256)), kNilHandle);
  for (int k = 0; k < 300; ++k) {
    int row = next(200), col = next(256);
    TCellHandle cell = CellFind(row, col);
    if (cell == kNilHandle || !CellUnlinkFromRow(cell, CellRowPosPrevious(), row)) continue;
    int toRow = next(300), toCol = next(256);
    if (!CellLinkIntoRow(cell, toRow, toCol)) {
      ASSERT_TRUE(CellLinkIntoRow(cell, row, col));
    }
  }
  RowListSet(7, CellFindRowPos(7, 100));  // row 7 keeps only its cells from column 100 on
  EXPECT_EQ(CellStoreCheckInvariants(), "");
  int first = CurrentDocSlot();
  OpenCurrent("OTHER.WKS");
  CellGetOrCreate(7, 3);
  EXPECT_EQ(CellStoreCheckInvariants(), "");
  ASSERT_TRUE(ActivateDocumentContext(first));
  EXPECT_EQ(CellFind(7, 3), kNilHandle) << "each document has its own index";

  // Lookups, the walk, the count and the positions agree with the lists.
  for (int row = 0; row < 300; ++row) {
    std::vector<int> cols = RowColumns(row);
    for (int col = 0, k = 0; col < 256; ++col) {
      bool listed = k < static_cast<int>(cols.size()) && cols[k] == col;
      ASSERT_EQ(CellFind(row, col) != kNilHandle, listed) << row << "," << col;
      k += listed;
    }
  }
  TRange rects[] = {MakeRange(0, 0, 255, 8191), MakeRange(200, 150, 10, 20), MakeRange(5, 5, 5, 5),
                    MakeRange(-5, -5, 3, 3), MakeRange(0, 400, 255, 9000)};
  for (const TRange& rect : rects) {
    TRange r = rect;
    OrderPair(r.firstRow, r.lastRow);
    OrderPair(r.firstCol, r.lastCol);
    std::vector<std::pair<int, int>> listed, walked;
    for (int row = std::max<int>(r.firstRow, 0); row <= std::min<int>(r.lastRow, 8191); ++row)
      for (int col : RowColumns(row))
        if (col >= r.firstCol && col <= r.lastCol) listed.emplace_back(row, col);
    ForEachCellInRange(rect, [&](TCellHandle, const TCell& cell) { walked.emplace_back(cell.row, cell.column); });
    EXPECT_EQ(walked, listed);
    EXPECT_EQ(CellCountInRange(rect), static_cast<long>(listed.size()));
    int stops = 0;
    EXPECT_EQ(ForEachCellInRange(rect, [&](TCellHandle) { return ++stops < 3; }), listed.size() < 3);
    EXPECT_EQ(stops, std::min<int>(3, static_cast<int>(listed.size())));
  }
  long positions = 0, cells = 0;
  ForEachPositionInRange(MakeRange(10, 20, 0, 0), [&](int row, int col, TCellHandle cell) {
    EXPECT_EQ(row * 11 + col, positions++);
    EXPECT_EQ(cell, CellFind(row, col));
    cells += cell != kNilHandle;
  });
  EXPECT_EQ(positions, 21 * 11);
  EXPECT_EQ(cells, CellCountInRange(MakeRange(0, 0, 10, 20)));

  CellStoreClear();
  EXPECT_EQ(CellStoreCheckInvariants(), "");
  EXPECT_EQ(CellCountInRange(rects[0]), 0);
}

TEST_F(CellStore, ANewCellIsABlankMadeFromTheDefaultTemplate) {
  TCellHandle handle = CellGetOrCreate(12, 7);
  const TCell& cell = *CellPtr(handle);
  EXPECT_EQ(CellKind(cell), kKindBlank);
  EXPECT_EQ(cell.font, 255);
  EXPECT_EQ(cell.size, 0);
  EXPECT_EQ(cell.style, 0);
  EXPECT_EQ(cell.borders, 0);
  EXPECT_EQ(cell.attributes, 0xC0000000u);
  EXPECT_EQ(cell.format, 255) << "protected, with the sheet's default format";
  EXPECT_EQ(cell.text, kNilHandle);
  EXPECT_EQ(cell.dependents, kNilHandle);
  EXPECT_EQ(CellReal(cell), 0.0);
  EXPECT_EQ(cell.row, 12);
  EXPECT_EQ(cell.column, 7);
  EXPECT_EQ(CellKind(kFormulaCellTemplate), kKindNumberFormula);
  EXPECT_EQ(kFormulaCellTemplate.attributes, kDefaultCellTemplate.attributes);
  // Asking again gives the same record, attributes kept.
  CellPtr(handle)->borders = 3;
  EXPECT_EQ(CellGetOrCreate(12, 7), handle);
  EXPECT_EQ(CellPtr(handle)->borders, 3);
}

TEST_F(CellStore, KindPredicatesIgnoreTheErrorBitAndRecalculationMarks) {
  struct Case {
    std::uint8_t kind;
    bool formula, numeric, text, label;
  } cases[] = {
      {0, true, false, true, false},  {1, true, true, false, false},   {2, false, true, false, false},
      {3, false, true, false, false}, {4, false, false, true, true},   {5, false, false, false, false},
      {6, false, false, false, false},
  };
  TCell cell = kDefaultCellTemplate;
  for (const Case& c : cases) {
    for (std::uint8_t marks : {0x00, 0x08, 0x20, 0x40, 0x68}) {
      cell.kind = static_cast<std::uint8_t>(c.kind | marks);
      EXPECT_EQ(CellKindOf(&cell), c.kind);
      EXPECT_EQ(CellIsFormula(&cell), c.formula) << int(cell.kind);
      EXPECT_EQ(CellIsNumeric(&cell), c.numeric) << int(cell.kind);
      EXPECT_EQ(CellIsText(&cell), c.text) << int(cell.kind);
      EXPECT_EQ(CellIsLabel(&cell), c.label) << int(cell.kind);
    }
  }
  EXPECT_EQ(CellKindOf(nullptr), 255);
  EXPECT_FALSE(CellIsFormula(nullptr) || CellIsNumeric(nullptr) || CellIsText(nullptr) || CellIsLabel(nullptr));
}

TEST_F(CellStore, PoolStringsAreCutToALabelsLengthAndKeepTheirTextWhenThePoolRefuses) {
  std::string longText(300, 'x');
  TPoolHandle s = PoolNewString(longText);
  EXPECT_EQ(PoolStringView(s), std::string(241, 'x'));  // a prefix and 240 characters
  EXPECT_EQ(PoolStringBlockBytes(s), 242u);

  TPoolHandle same = s;
  ASSERT_TRUE(PoolStrAssign(same, std::string(260, 'y')));  // cut length equal: the block is reused
  EXPECT_EQ(same, s);
  EXPECT_EQ(PoolStringView(same), std::string(241, 'y'));
  ASSERT_TRUE(PoolStrAssign(same, "short"));
  EXPECT_EQ(PoolStringView(same), "short");

  TPoolHandle fresh = kNilHandle;
  ASSERT_TRUE(PoolStrAssign(fresh, "from nil"));
  EXPECT_EQ(PoolStringView(fresh), "from nil");

  TOwnerTag owner = PoolGetOwner();
  PoolSetOwner(kNoOwner);  // every allocation refused
  EXPECT_FALSE(PoolStrAssign(fresh, "a longer text"));
  EXPECT_EQ(PoolStringView(fresh), "from nil");
  EXPECT_EQ(PoolNewString("x"), kNilHandle);
  PoolSetOwner(owner);

  PoolFreeString(same);
  PoolFreeString(fresh);
  EXPECT_EQ(same, kNilHandle);
  EXPECT_EQ(PoolUsedBytes(), 0);
  EXPECT_EQ(PoolStringView(kNilHandle), "");
}

TEST_F(CellStore, ClearingFreesCellsTextsDependencyLinksAndResultTexts) {
  TOwnerTag tag = gCurrentDoc.ownerTag;
  PutLabel(0, 0, "'label");
  TCellHandle formula = CellGetOrCreate(3, 1);
  CellPtr(formula)->kind = kKindStringFormula;
  CellPtr(formula)->text = PoolNewString(std::string("\x05\x00\x06\x61\x00\x03", 6));
  SetCellResultText(*CellPtr(formula), PoolNewString("result"));
  TCellHandle errorFormula = CellGetOrCreate(3, 2);
  CellPtr(errorFormula)->kind = kKindStringFormula | kKindErrorBit;
  SetCellReal(*CellPtr(errorFormula), -1.0);
  TCellHandle referenced = CellGetOrCreate(8000, 200);
  for (int i = 0; i < 3; ++i) {
    TPoolHandle link = PoolAlloc(sizeof(TDepLink));
    auto* node = reinterpret_cast<TDepLink*>(PoolBlock(link));
    node->cell = formula;
    node->next = CellPtr(referenced)->dependents;
    CellPtr(referenced)->dependents = link;
  }
  RowListSet(kUndoListEntry, 1234);
  ASSERT_GT(PoolUsedByOwner(tag), 0);

  CellStoreClear();
  EXPECT_EQ(PoolUsedByOwner(tag), 0);
  EXPECT_EQ(PoolCheckInvariants(), "");
  EXPECT_EQ(CellFind(0, 0), kNilHandle);
  EXPECT_EQ(CellFind(8000, 200), kNilHandle);
  EXPECT_EQ(gCurrentDoc.highRow, 0);
  EXPECT_EQ(gCurrentDoc.highCol, 0);
  EXPECT_EQ(RowListHead(kUndoListEntry), 1234u) << "the undo list is not the store's to clear";
}

TEST_F(CellStore, LinkAndUnlinkMoveACellBetweenRowsAndRefuseBadRequests) {
  TCellHandle a = CellGetOrCreate(3, 2), b = CellGetOrCreate(3, 4), c = CellGetOrCreate(3, 6);
  EXPECT_FALSE(CellUnlinkFromRow(c, a, 3)) << "a is not c's predecessor";
  EXPECT_FALSE(CellUnlinkFromRow(b, kNilHandle, 3)) << "b is not the row's first";
  EXPECT_EQ(RowColumns(3), (std::vector<int>{2, 4, 6}));
  ASSERT_TRUE(CellUnlinkFromRow(b, a, 3));
  EXPECT_EQ(RowColumns(3), (std::vector<int>{2, 6}));
  EXPECT_FALSE(CellLinkIntoRow(b, 3, 6)) << "occupied";
  EXPECT_FALSE(CellLinkIntoRow(b, 8192, 0));
  ASSERT_TRUE(CellLinkIntoRow(b, 900, 30));
  EXPECT_EQ(CellFind(900, 30), b);
  EXPECT_EQ(CellPtr(b)->row, 900);
  EXPECT_EQ(CellPtr(b)->column, 30);
  EXPECT_EQ(gCurrentDoc.highRow, 900);
  ASSERT_TRUE(CellUnlinkFromRow(a, kNilHandle, 3));
  EXPECT_EQ(RowColumns(3), std::vector<int>{6});
}

TEST_F(CellStore, AFullPoolGivesNoCellAndNoMessage) {
  PoolInit(2 * kPageBytes);
  FreeAllDocuments();
  OpenCurrent("SMALL.WKS");
  int made = 0;
  for (int row = 0; row <= kMaxRow && CellGetOrCreate(row, 0) != kNilHandle; ++row) ++made;
  EXPECT_GT(made, 200);
  EXPECT_LT(made, 8192);
  EXPECT_TRUE(PoolIsFull());
  EXPECT_FALSE(ErrorFlagSet());
  EXPECT_NE(CellFind(made - 1, 0), kNilHandle);
  EXPECT_EQ(CellFind(made, 0), kNilHandle);
  EXPECT_EQ(PoolCheckInvariants(), "");
}

TEST_F(CellStore, CreatingMarksTheStoreChangedUntilTheWindowLooks) {
  TakeStoreChanged();
  CellFind(1, 1);
  EXPECT_FALSE(TakeStoreChanged());
  CellGetOrCreate(1, 1);
  EXPECT_TRUE(TakeStoreChanged());
  EXPECT_FALSE(TakeStoreChanged());
}

TEST_F(EngineTest, WithoutACurrentDocumentThereAreNoCells) {
  EXPECT_EQ(CellGetOrCreate(0, 0), kNilHandle);
  EXPECT_EQ(CellFind(0, 0), kNilHandle);
  EXPECT_EQ(RowListHead(0), kNilHandle);
  CellStoreClear();
  EXPECT_EQ(PoolUsedBytes(), 0);
}

}  // namespace
}  // namespace corvane::testing

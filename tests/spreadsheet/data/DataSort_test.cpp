// Sorting rows: key order for numbers, texts and blanks, several keys,
// formulas inside and outside the block, and refusals.
#include "spreadsheet/data/DataSort.h"

#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/Recalc.h"
#include "tests/spreadsheet/data/DataTestSupport.h"

namespace corvane {
namespace {

class DataSortTest : public testing::DataTest {
 protected:
  void SetUp() override {
    DataTest::SetUp();
    for (bool& ascending : gSortAscending) ascending = true;
  }
  void SetKeys(std::string_view data, std::initializer_list<std::string_view> keys) {
    TSheetSettings& s = gCurrentDoc.settings;
    TRange* slots[] = {&s.savedRanges[kRangePrimaryKey], &s.savedRanges[kRangeSecondaryKey],
                       &s.dataRanges[kDataRangeSortKey3], &s.dataRanges[kDataRangeSortKey4]};
    for (TRange* slot : slots) RangeClear(*slot);
    s.savedRanges[kRangeSort] = R(data);
    int k = 0;
    for (std::string_view key : keys) *slots[k++] = R(key);
  }
};

TEST_F(DataSortTest, NumbersComeBeforeTextsAndPrefixesCount) {
  struct Case {
    bool ascending;
    std::vector<std::string> expected;
  } cases[] = {
      {true, {"-2", "10", "", "'apple", "'b", "^a"}},
      {false, {"^a", "'b", "'apple", "", "10", "-2"}},
  };
  for (const Case& c : cases) {
    CellStoreClear();
    PutRow("A1", {"10"});
    PutRow("A2", {"apple"});
    PutRow("A4", {"'b"});
    PutRow("A5", {"^a"});
    PutRow("A6", {"-2"});
    Put("B3", "blank row");  // A3 stays missing; its row still moves
    SetKeys("A1..B6", {"A1"});
    gSortAscending[0] = c.ascending;
    ASSERT_TRUE(DataSort());
    EXPECT_EQ(Column("A1", 6), c.expected);
    EXPECT_EQ(Contents(c.ascending ? "B3" : "B4"), "'blank row");
  }
}

TEST_F(DataSortTest, LaterKeysOrderRunsOfEqualEarlierKeys) {
  const char* rows[][3] = {{"b", "2", "x"}, {"a", "9", "y"}, {"b", "1", "z"}, {"a", "9", "w"}, {"b", "2", "v"}};
  for (int i = 0; i < 5; ++i) PutRow("A" + std::to_string(i + 1), {rows[i][0], rows[i][1], rows[i][2]});
  SetKeys("A1..C5", {"A1", "B1..B5", "C1"});
  gSortAscending[1] = false;
  ASSERT_TRUE(DataSort());
  EXPECT_EQ(Column("C1", 5), (std::vector<std::string>{"'w", "'y", "'v", "'x", "'z"}));
  EXPECT_EQ(Column("B1", 5), (std::vector<std::string>{"9", "9", "2", "2", "1"}));
}

TEST_F(DataSortTest, FormulasKeepTheirMeaningAndOutsideColumnsStay) {
  PutRow("A1", {"3", "+A1*10", "left"});
  PutRow("A2", {"1", "+A2*10", "alone"});
  PutRow("A3", {"2", "+A3*10", "behind"});
  Put("E1", "+A1+B1");  // outside: keeps naming A1 and B1
  Put("E2", "@SUM(A1..A3)");
  SetKeys("A1..B3", {"A1"});
  ASSERT_TRUE(DataSort());
  EXPECT_EQ(Column("A1", 3), (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_EQ(Num("B1"), 10);  // the formula moved with its row and still reads it
  EXPECT_EQ(Num("B3"), 30);
  EXPECT_EQ(Contents("B1"), "+A1*10");
  EXPECT_EQ(Contents("E1"), "+A1+B1");
  EXPECT_EQ(Num("E1"), 11);
  EXPECT_EQ(Num("E2"), 6);
  EXPECT_EQ(Contents("C1"), "'left");  // outside the data columns
  Put("A1", "5");                      // links follow the moved cells
  EXPECT_EQ(Num("B1"), 50);
  EXPECT_EQ(Num("E1"), 55);
  EXPECT_EQ(Num("E2"), 10);
  EXPECT_EQ(CountMarkedCells(), 0);
}

TEST_F(DataSortTest, KeyOutsideTheDataOrdersRowsByItsValues) {
  PutRow("A1", {"x", "", "2"});
  PutRow("A2", {"y", "", "1"});
  PutRow("A3", {"z", "", "3"});
  SetKeys("A1..A3", {"C1"});
  ASSERT_TRUE(DataSort());
  EXPECT_EQ(Column("A1", 3), (std::vector<std::string>{"'y", "'x", "'z"}));
  EXPECT_EQ(Column("C1", 3), (std::vector<std::string>{"2", "1", "3"}));
}

TEST_F(DataSortTest, UnsetRangesDoNothingAndBadOnesAreRefused) {
  PutRow("A1", {"2"});
  PutRow("A2", {"1"});
  SetKeys("A1..A2", {});
  EXPECT_FALSE(DataSort());
  EXPECT_EQ(Contents("A1"), "2");
  SetKeys("A1..A2", {"A1"});
  gCurrentDoc.settings.savedRanges[kRangeSort].lastRow = 9000;
  EXPECT_REFUSED(DataSort(), kOutOfRangeText);
  SetKeys("A1..A2", {"A1"});
  gCurrentDoc.settings.protection = 1;
  EXPECT_REFUSED(DataSort(), kProtectedCellText);
}

}  // namespace
}  // namespace corvane

// Range names: sorted order, the 12-character key, the 240 limit, names that
// would hide cells, pool failures, and building and listing name tables.
#include "spreadsheet/engine/RangeNames.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "spreadsheet/engine/RangeText.h"
#include "tests/spreadsheet/engine/EngineTestSupport.h"

namespace corvane::testing {
namespace {

class RangeNames : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    OpenCurrent("NAMES.WKS");
  }
  std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (int i = 1; i <= RangeNameCount(); ++i) names.push_back(RangeNameText(*RangeNameAt(i)));
    return names;
  }
  TRange RangeOf(const char* name) { return RangeNameRange(*RangeNameAt(FindRangeName(name))); }
};

TEST_F(RangeNames, StayInNameOrderThroughCreateRedefineAndDelete) {
  EXPECT_EQ(RangeNameCreate("B", MakeRange(1, 1, 1, 1)), -1);
  EXPECT_EQ(RangeNameCreate("a", MakeRange(0, 0, 0, 0)), -1);
  EXPECT_EQ(RangeNameCreate("C", MakeRange(2, 2, 2, 2)), -3);
  EXPECT_EQ(Names(), (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_EQ(RangeNameCreate("b", MakeRange(5, 5, 6, 6)), 2) << "an existing name is redefined";
  EXPECT_EQ(RangeOf("B"), MakeRange(5, 5, 6, 6));
  EXPECT_EQ(RangeNameDelete("b"), 2);
  EXPECT_EQ(Names(), (std::vector<std::string>{"A", "C"}));
  EXPECT_EQ(RangeNameDelete("B"), 0);
  EXPECT_EQ(RangeNameCreate("", MakeRange(0, 0, 0, 0)), 0);
  EXPECT_EQ(RangeNameCreate("$", MakeRange(0, 0, 0, 0)), 0);
  EXPECT_EQ(FindRangeName("C"), 2);
  EXPECT_EQ(FindRangeName("$c"), 2);
  EXPECT_EQ(FindRangeName("D"), 0);
  EXPECT_EQ(RangeNameSearch("B", 1, RangeNameCount()), -2) << "minus the place it would go";
  EXPECT_EQ(RangeNameSearch("Z", 1, RangeNameCount()), -3);
}

TEST_F(RangeNames, NamesAreComparedCutToTwelveCharactersEverywhere) {
  EXPECT_LT(RangeNameCreate("QuarterlySum", MakeRange(1, 1, 1, 1)), 0);
  EXPECT_EQ(FindRangeName("QUARTERLYSUM"), 1) << "a 12-character name is found";
  EXPECT_EQ(FindRangeName("$quarterlysum"), 1);
  EXPECT_EQ(FindRangeName("QUARTERLYSU"), 0) << "an 11-character prefix is another name";
  EXPECT_EQ(RangeNameCreate("QUARTERLYSUMS", MakeRange(2, 2, 2, 2)), 1) << "cut to the same 12 characters";
  EXPECT_EQ(RangeNameCount(), 1);
  EXPECT_EQ(RangeOf("QUARTERLYSUM"), MakeRange(2, 2, 2, 2));
  EXPECT_EQ(RangeNameDelete("QUARTERLYSUMXYZ"), 1);
  EXPECT_EQ(RangeNameCount(), 0);
}

TEST_F(RangeNames, TheTableHolds240NamesInOrder) {
  for (int i = 240; i >= 1; --i) {
    std::string name = "NUM" + std::to_string(1000 + i);
    ASSERT_LT(RangeNameCreate(name, MakeRange(0, i, 0, i)), 0) << name;
  }
  ClearErrorFlag();
  EXPECT_EQ(RangeNameCreate("EXTRA", MakeRange(0, 0, 0, 0)), 0);
  EXPECT_TRUE(ErrorFlagSet());
  EXPECT_EQ(RangeNameCount(), 240);
  EXPECT_EQ(FindRangeName("EXTRA"), 0);
  EXPECT_EQ(RangeNameCreate("NUM1100", MakeRange(9, 9, 9, 9)), 100) << "redefining still works when full";
  std::vector<std::string> names = Names();
  for (std::size_t i = 1; i < names.size(); ++i) ASSERT_LT(names[i - 1], names[i]);
  EXPECT_EQ(PoolCheckInvariants(), "");
}

TEST_F(RangeNames, NamesThatWouldHideCellsAreRefused) {
  for (const char* name : {"A1", "iv8192", "B:C3", "A1..B2", "$A$1", "RANGE", "cursor"}) {
    ClearErrorFlag();
    EXPECT_EQ(RangeNameCreate(name, MakeRange(3, 3, 3, 3)), 0) << name;
    EXPECT_TRUE(ErrorFlagSet()) << name;
  }
  EXPECT_EQ(RangeNameCount(), 0);
  TRange range;
  ASSERT_TRUE(ParseRange("A1", range));
  EXPECT_EQ(range, MakeRange(0, 0, 0, 0)) << "A1 is still the cell";
  // Worksheet files keep the sheet's settings in a name of this form.
  for (const char* name : {"G!TEST", "g!x", "$G!"}) {
    ClearErrorFlag();
    EXPECT_EQ(RangeNameCreate(name, MakeRange(3, 3, 3, 3)), 0) << name;
    EXPECT_EQ(ErrorMessage(), "Reserved Range Name") << name;
  }
  EXPECT_EQ(RangeNameCount(), 0);
  EXPECT_LT(RangeNameCreate("G1!", MakeRange(3, 3, 3, 3)), 0);
  EXPECT_LT(RangeNameCreate("ABC1", MakeRange(3, 3, 3, 3)), 0) << "three letters are no column";
  EXPECT_LT(RangeNameCreate("\\A", MakeRange(3, 3, 3, 3)), 0);
}

TEST_F(RangeNames, AFullPoolLeavesTheTableAsItWas) {
  RangeNameCreate("B", MakeRange(1, 1, 1, 1));
  RangeNameCreate("D", MakeRange(3, 3, 3, 3));
  TOwnerTag owner = PoolGetOwner();
  PoolSetOwner(kNoOwner);  // every allocation is refused
  ClearErrorFlag();
  EXPECT_EQ(RangeNameCreate("C", MakeRange(2, 2, 2, 2)), 0);
  EXPECT_EQ(ErrorMessage(), "Out of Memory");
  EXPECT_FALSE(RangeNameInsert("A", MakeRange(0, 0, 0, 0), 1));
  PoolSetOwner(owner);
  EXPECT_EQ(Names(), (std::vector<std::string>{"B", "D"}));
  EXPECT_EQ(RangeOf("D"), MakeRange(3, 3, 3, 3));
  EXPECT_FALSE(RangeNameInsert("E", MakeRange(0, 0, 0, 0), 4)) << "beyond count + 1";
}

TEST_F(RangeNames, BuildReadsNamesAndRangesFromATwoColumnTable) {
  PutLabel(0, 0, "'alpha");
  PutLabel(0, 1, "'A1..B2");
  PutLabel(1, 0, "^beta");
  PutLabel(1, 1, "\"C3");
  PutLabel(2, 0, "'");  // no name: skipped
  PutLabel(2, 1, "'D4");
  PutLabel(3, 0, "'gamma");
  PutLabel(3, 1, "'not a range");  // skipped
  PutLabel(4, 0, "'A1");           // would hide A1: skipped
  PutLabel(4, 1, "'B1");
  PutLabel(5, 0, "'TwentyCharacterName_");
  PutLabel(5, 1, "'E5");
  TCellHandle formula = CellGetOrCreate(6, 0);  // a formula's text result names too
  CellPtr(formula)->kind = kKindStringFormula;
  SetCellResultText(*CellPtr(formula), PoolNewString("delta"));
  PutLabel(6, 1, "'alpha");  // a name as the range text

  ClearErrorFlag();
  RangeNameBuild(MakeRange(1, 6, 0, 0));  // corners in any order
  EXPECT_FALSE(ErrorFlagSet()) << "skipped rows leave no error behind";
  EXPECT_EQ(Names(), (std::vector<std::string>{"ALPHA", "BETA", "DELTA", "TWENTYCHARAC"}));
  EXPECT_EQ(RangeOf("ALPHA"), MakeRange(0, 0, 1, 1));
  EXPECT_EQ(RangeOf("BETA"), MakeRange(2, 2, 2, 2));
  EXPECT_EQ(RangeOf("DELTA"), MakeRange(0, 0, 1, 1));
  EXPECT_EQ(RangeOf("TWENTYCHARAC"), MakeRange(4, 4, 4, 4));
  RangeNameBuild(MakeRange(0, 0, 1, 6));
  EXPECT_EQ(RangeNameCount(), 4) << "building again redefines, it does not duplicate";
}

TEST_F(RangeNames, TheNameTableListsEveryNameWithItsRange) {
  gCurrentDoc.settings.rowsPerSheet = 4096;  // two sheets: ranges keep their sheet letter
  RangeNameCreate("BETA", MakeRange(2, 4096, 2, 4096));
  RangeNameCreate("ALPHA", MakeRange(0, 0, 1, 1));
  TRange unset;
  RangeNameCreate("GAMMA", unset);
  std::vector<std::pair<std::string, std::string>> entered;  // "row,col" and text
  auto enter = [&](int row, int col, std::string_view text) {
    entered.emplace_back(std::to_string(row) + "," + std::to_string(col), std::string(text));
    return true;
  };
  EXPECT_TRUE(RangeNameTable(MakeRange(3, 10, 5, 20), enter));
  std::vector<std::pair<std::string, std::string>> expected = {
      {"10,3", "'ALPHA"}, {"10,4", "A:A1..A:B2"}, {"11,3", "'BETA"}, {"11,4", "B:C1"}, {"12,3", "'GAMMA"}};
  EXPECT_EQ(entered, expected);

  int calls = 0;
  auto failThird = [&](int, int, std::string_view) { return ++calls < 3; };
  EXPECT_FALSE(RangeNameTable(MakeRange(0, 0, 0, 0), failThird));
  EXPECT_EQ(calls, 3) << "an entry error stops the table";
}

TEST_F(RangeNames, ResetAndDeleteGiveTheEntriesBackToThePool) {
  std::int32_t before = PoolUsedByOwner(PoolGetOwner());
  for (const char* name : {"ONE", "TWO", "THREE", "FOUR"}) RangeNameCreate(name, MakeRange(0, 0, 0, 0));
  EXPECT_EQ(PoolUsedByOwner(PoolGetOwner()), before + 4 * 24);
  RangeNameDelete("TWO");
  EXPECT_EQ(PoolUsedByOwner(PoolGetOwner()), before + 3 * 24);
  RangeNameReset();
  EXPECT_EQ(RangeNameCount(), 0);
  EXPECT_EQ(FindRangeName("ONE"), 0);
  EXPECT_EQ(PoolUsedByOwner(PoolGetOwner()), before);
}

}  // namespace
}  // namespace corvane::testing

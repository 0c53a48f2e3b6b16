// Query extract: label patterns, numbers, formulas, blanks, alternatives,
// output names, and refusals.
#include "spreadsheet/data/Query.h"

#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/SheetSettings.h"
#include "tests/spreadsheet/data/DataTestSupport.h"

namespace corvane {
namespace {

class QueryTest : public testing::DataTest {
 protected:
  void SetUp() override {
    DataTest::SetUp();
    PutRow("A1", {"Name", "Qty", "City"});
    PutRow("A2", {"apple", "5", "Paris"});
    PutRow("A3", {"banana", "12", "Rome"});
    PutRow("A4", {"cherry", "0", "paris"});
    PutRow("A5", {"apricot", "7", "Berlin"});
    PutRow("A6", {"fig", "n/a", ""});
  }
};

TEST_F(QueryTest, CriteriaSelectRecords) {
  using Rows = std::vector<std::vector<std::string_view>>;
  struct Case {
    Rows criteria;  // from E1: names, then one row per alternative
    std::vector<std::string> names;
  } cases[] = {
      {{{"Name"}, {"~apple"}}, {"'banana", "'cherry", "'apricot", "'fig"}},
      {{{"Name"}, {"ap*"}}, {"'apple", "'apricot"}},
      {{{"Name"}, {"a?ple"}}, {"'apple"}},
      {{{"Name"}, {"'...AN"}}, {"'banana"}},
      {{{"Qty"}, {"12"}}, {"'banana"}},
      {{{"Qty"}, {"0"}}, {"'cherry", "'fig"}},  // a label counts as 0
      {{{"Qty"}, {"+B2>6"}}, {"'banana", "'apricot"}},
      {{{"Qty"}, {"+B2*0+2"}}, {}},  // 2 is not true
      {{{"Name", "City"}, {"", "Rome"}}, {}},  // an empty first criterion selects nothing
      {{{"City", "Name"}, {"'...PARIS", ""}}, {"'apple", "'cherry"}},
      {{{"Name", "City"}, {"a*", "Paris"}, {"apple"}}, {"'apple", "'apple"}},
      {{{"Name"}}, {}},  // names only: the row under them is the one, empty alternative
  };
  for (const Case& c : cases) {
    for (int row = 0; row < 4; ++row)
      for (int col = 4; col < 6; ++col) EnterCell("", row, col);
    int rows = static_cast<int>(c.criteria.size());
    for (int i = 0; i < rows; ++i) PutRow("E" + std::to_string(i + 1), c.criteria[i]);
    TRange criteria = R("E1..F" + std::to_string(rows));
    Put("H1", "Name");
    ASSERT_TRUE(DataQuery(R("A1..C6"), criteria, R("H1"), kQueryExtract));
    std::vector<std::string> expected = c.names;
    expected.resize(6);
    EXPECT_EQ(Column("H2", 6), expected) << c.criteria[1 % rows][0];
    for (int row = 1; row < 7; ++row) EnterCell("", row, 7);
  }
}

TEST_F(QueryTest, OutputFieldsArePackedByName) {
  PutRow("E1", {"City"});
  PutRow("E2", {"Rome"});
  PutRow("H1", {"Qty", "^Name", "City"});  // another prefix: not a field of the database
  ASSERT_TRUE(DataQuery(R("A1..C6"), R("E1..E2"), R("H1..J1"), kQueryExtract));
  EXPECT_EQ(Contents("H2"), "12");
  EXPECT_EQ(Contents("I2"), "'Rome");
  EXPECT_EQ(Contents("J2"), "");

  // A second extract to the same place with fewer matches leaves no rows
  // behind, whoever wrote them (an extract saved with the file, here): a
  // one-row output clears its columns down to the last used row.
  Put("H9", "'old");
  Put("K9", "'mine");
  PutRow("E1", {"Qty"});
  PutRow("E2", {"+B2>4"});
  ASSERT_TRUE(DataQuery(R("A1..C6"), R("E1..E2"), R("H1..J1"), kQueryExtract));
  EXPECT_EQ(Column("I2", 4), (std::vector<std::string>{"'Paris", "'Rome", "'Berlin", ""}));
  EXPECT_EQ(Contents("H9"), "");
  PutRow("E2", {"+B2>8"});
  ASSERT_TRUE(DataQuery(R("A1..C6"), R("E1..E2"), R("H1..J1"), kQueryExtract));
  EXPECT_EQ(Column("H2", 4), (std::vector<std::string>{"12", "", "", ""}));
  EXPECT_EQ(Column("I2", 4), (std::vector<std::string>{"'Rome", "", "", ""}));
  EXPECT_EQ(Contents("K9"), "'mine");
  // An output of several rows clears those rows only.
  PutRow("H3", {"5", "kept"});
  Put("H5", "'below");
  PutRow("E2", {"+B2>10"});
  ASSERT_TRUE(DataQuery(R("A1..C6"), R("E1..E2"), R("H1..J4"), kQueryExtract));
  EXPECT_EQ(Column("H2", 4), (std::vector<std::string>{"12", "", "", "'below"}));
  // Undo brings back the cells the extract cleared.
  ASSERT_TRUE(UndoApply(TUndoMode::kRestore));
  EXPECT_EQ(Contents("I3"), "'kept");
  // With protection on, a protected cell to clear refuses the command whole.
  gCurrentDoc.settings.protection = 1;
  EXPECT_REFUSED(DataQuery(R("A1..C6"), R("E1..E2"), R("K1"), kQueryExtract), kProtectedCellText);
  EXPECT_EQ(Contents("K9"), "'mine");
  gCurrentDoc.settings.protection = 0;
  // So does a criteria range in the cells to clear.
  Put("E8", "Qty");
  PutRow("E11", {"Qty"});
  PutRow("E12", {"+B2>10"});
  EXPECT_REFUSED(DataQuery(R("A1..C6"), R("E11..E12"), R("E8"), kQueryExtract), kOverlapText);
  EXPECT_EQ(Contents("E9"), "");

  EXPECT_REFUSED(DataQuery(R("A1..C6"), R("E1..E2"), R("B1"), kQueryExtract), kOverlapText);
  Put("H8192", "Qty");
  EXPECT_REFUSED(DataQuery(R("A1..C6"), R("E1..E2"), R("H8192"), kQueryExtract), kOutOfRangeText);
  int beeps = platform.beeps;
  EXPECT_FALSE(DataQuery(R("A1..C6"), TRange{}, R("H1"), kQueryExtract));
  EXPECT_EQ(platform.beeps, beeps + 1);
}

}  // namespace
}  // namespace corvane

// External links read from real worksheet files: LINK and "[file]" values of
// one document taken from a second file the writer produced, in two of its
// sheets and of every kind, refreshed again after the file changed, and kept
// when the file has gone.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "spreadsheet/engine/ExternalLinks.h"
#include "spreadsheet/engine/Recalc.h"
#include "spreadsheet/engine/UserFunctions.h"
#include "tests/spreadsheet/files/WorksheetTestSupport.h"

namespace corvane {
namespace {

using testing::NumberText;
using testing::WorksheetTest;

constexpr int kRowsPerSheet = 4096;  // two sheets

class WorksheetLinksTest : public WorksheetTest {
 protected:
  void SetUp() override {
    WorksheetTest::SetUp();
    // "[file]" names without a folder are taken in the current folder.
    previousFolder_ = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    ClearLinks();
    InstallLinkedFileReader();
  }
  void TearDown() override {
    SetLinkedFileReader(nullptr);
    ClearLinks();
    std::filesystem::current_path(previousFolder_);
    WorksheetTest::TearDown();
  }

  // The linked file, in two sheets: A1 `a1`, a label in B3, a formula in C1,
  // a text formula in D1, a call of a function of its own in D2 and a number
  // in B:C2.
  void SaveLinkedFile(const std::string& a1) {
    NewDocument("SOURCE" + a1 + ".WKS");
    gCurrentDoc.settings.rowsPerSheet = kRowsPerSheet;
    windows.sheetCount = 2;  // written with the file, as its sheets
    Enter(0, 0, a1);
    Enter(2, 1, "'hello there");
    Enter(0, 2, "+A1*2");
    Enter(0, 3, "+\"txt\"");
    Enter(kRowsPerSheet + 1, 2, "7.5");
    ASSERT_TRUE(AppendDocumentUserFunction({"TRIPLE", "@A(1)*3", 1}));
    Enter(1, 3, "@TRIPLE(A1)");
    ASSERT_TRUE(SaveWorksheet("linked.wks", false, TRange{}));
  }

  // What a cell of the current document shows: its number, or its text in quotes.
  std::string Value(int row, int col) {
    const TCell* cell = CellPtr(CellFind(row, col));
    if (!cell) return "<none>";
    if (cell->kind & kKindErrorBit) return "ERR";
    if (CellKind(*cell) == kKindStringFormula) return "\"" + std::string(PoolStringView(CellResultText(*cell))) + "\"";
    return NumberText(CellReal(*cell));
  }
  std::vector<std::string> Values() {
    std::vector<std::string> values;
    for (int row = 0; row < 7; ++row) values.push_back(Value(row, 0));
    return values;
  }

  std::filesystem::path previousFolder_;
};

TEST_F(WorksheetLinksTest, LinkedValuesArriveFromTheFileAtEachRefreshAndStayWhenItIsGone) {
  SaveLinkedFile("42");
  NewDocument("MAIN.WKS");
  gCurrentDoc.settings.rowsPerSheet = kRowsPerSheet;
  Enter(0, 0, "@LINK(\"LINKED.WKS>A1\")");
  Enter(1, 0, "@LINK(\"linked.wks>B3\")");
  Enter(2, 0, "@LINK(\"LINKED.WKS>B:C2\")");
  Enter(3, 0, "+[LINKED.WKS]C1+1");
  Enter(4, 0, "@LINK(\"LINKED.WKS>D1\")");
  Enter(5, 0, "@LINK(\"LINKED.WKS>Z9\")");  // a cell the file does not hold
  Enter(6, 0, "@LINK(\"LINKED.WKS>D2\")");
  // Before the first refresh a link is the text "N/A", which counts as 0.
  std::vector<std::string> unread{"\"N/A\"", "\"N/A\"", "\"N/A\"", "1", "\"N/A\"", "\"N/A\"", "\"N/A\""};
  EXPECT_EQ(Values(), unread);

  // The LINK texts share one entry; the "[file]" reference names the file
  // with its folder, which is a second entry of the same file.
  EXPECT_EQ(RefreshLinkedFiles(), 2);
  RecalcAll();
  std::vector<std::string> read{"42", "\"hello there\"", "7.5", "85", "\"txt\"", "\"N/A\"", "126"};
  EXPECT_EQ(Values(), read);
  EXPECT_EQ(CellContentsText(CellFind(1, 0)), "@LINK(\"linked.wks>B3\")");

  // Reading the linked file changes nothing of the document itself.
  std::vector<std::string> cells = testing::DumpCells();
  RefreshLinkedFiles();
  EXPECT_EQ(testing::DumpCells(), cells);

  // A changed file gives its new values at the next refresh.
  SaveLinkedFile("50");
  NewDocument("MAIN2.WKS");
  gCurrentDoc.settings.rowsPerSheet = kRowsPerSheet;
  Enter(0, 0, "@LINK(\"LINKED.WKS>A1\")");
  Enter(3, 0, "+[LINKED.WKS]C1+1");
  EXPECT_EQ(RefreshLinkedFiles(), 2);
  RecalcAll();
  EXPECT_EQ(Value(0, 0), "50");
  EXPECT_EQ(Value(3, 0), "101");

  // A linked file that has gone keeps the values of the last refresh.
  ASSERT_TRUE(std::filesystem::remove("LINKED.WKS"));
  testing::gShownErrors.clear();
  EXPECT_EQ(RefreshLinkedFiles(), 0);
  RecalcAll();
  EXPECT_EQ(Value(0, 0), "50");
  EXPECT_EQ(Value(3, 0), "101");
  EXPECT_TRUE(testing::gShownErrors.empty()) << "a missing linked file is no error to show";
}

}  // namespace
}  // namespace corvane

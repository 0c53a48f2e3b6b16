// Tips, document information and system metrics.
#include "spreadsheet/windows/InfoWindows.h"

#include "tests/spreadsheet/windows/FrameTestSupport.h"

namespace corvane::testing {
namespace {

TEST(Tips, FileSelectionAndNext) {
  TTipFile tips;
  tips.Load("3\r\n!First\r\none\r\n!Second\r\ntwo a\r\ntwo b\r\n!Third\r\n");
  ASSERT_EQ(tips.Count(), 3);
  EXPECT_EQ(tips.Tip(2)->title, "Second");
  EXPECT_EQ(tips.Tip(2)->lines, (std::vector<std::string>{"two a", "two b"}));
  EXPECT_EQ(tips.Tip(4), nullptr);
  EXPECT_EQ(tips.StartTip(0), 1);
  EXPECT_EQ(tips.StartTip(1), 1);
  EXPECT_EQ(tips.StartTip(2), 2);
  EXPECT_EQ(tips.NextTip(3), 1);
  EXPECT_EQ(tips.NextTip(1), 2);

  struct Row {
    const char* text;
    int count, start;
  } rows[] = {{"9\n!a\n!b\n", 2, 1}, {"x\n!a\n!b\n!c\n", 3, 2}, {"1\n!only\n", 1, 1}, {"0\n", 0, 0}, {"", 0, 0}};
  for (const Row& row : rows) {
    tips.Load(row.text);
    EXPECT_EQ(tips.Count(), row.count) << row.text;
    EXPECT_EQ(tips.StartTip(5), row.start) << row.text;
    EXPECT_EQ(tips.Tip(tips.StartTip(5)) != nullptr, row.count > 0) << row.text;
  }
}

TEST(Tips, WrapKeepsEveryCharacterAndEnds) {
  auto width = [](std::string_view text) { return static_cast<int>(text.size()) * 6; };
  EXPECT_EQ(WrapTipLine("one two three four", 66, width), (std::vector<std::string>{" one two", " three four"}));
  EXPECT_EQ(WrapTipLine("", 60, width), std::vector<std::string>{" "});
  std::vector<std::string> broken = WrapTipLine("abcdefghijklmnopqrstuvwxyz end", 36, width);
  EXPECT_EQ(broken, (std::vector<std::string>{" abcde", " fghij", " klmno", " pqrst", " uvwxy", " z end"}));
  EXPECT_EQ(WrapTipLine("abc", 1, width), (std::vector<std::string>{" a", " b", " c"}));
}

TEST(DocInfo, CommentsAndCreationText) {
  EXPECT_EQ(EncodeComments({"a", "b"}), "b\ra\r");
  EXPECT_EQ(DecodeComments("b\ra\r"), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(DecodeComments(""), std::vector<std::string>{""});
  // Lines that would pass 255 characters are left out whole.
  std::string encoded = EncodeComments({"first", std::string(190, 'x'), std::string(60, 'y')});
  EXPECT_EQ(encoded, std::string(60, 'y') + "\r" + std::string(190, 'x') + "\r");

  TDocumentInfo info;
  TDocInfoValues values = DocInfoValuesFor(info);
  EXPECT_EQ(values.created, "N/A");
  EXPECT_EQ(values.revisedBy, "N/A");
  info.creationDate = 35000;  // 28 October 1995
  info.creationTime = 0.75;
  info.revisedBy = "PAT";
  values = DocInfoValuesFor(info);
  EXPECT_EQ(values.created, "10/28/1995 , 6:00:00 pm");
  EXPECT_EQ(values.revisedBy, "PAT");
  values.title = "Budget";
  values.commentLines = {"x", "y"};
  ApplyDocInfoValues(values, info);
  EXPECT_EQ(info.title, "Budget");
  EXPECT_EQ(info.comments, "y\rx\r");
}

class SystemMetricsTest : public FrameTest {};

TEST_F(SystemMetricsTest, WithAndWithoutAWorksheet) {
  TSystemFacts facts{{"a", "b"}, "C:\\APPS\\Corvane.exe", "C:\\WORK", "6.0", 586};
  windows.open = false;
  TSystemMetricsValues none = SystemMetricsValuesFor(facts);
  EXPECT_EQ(none.cmdline, "ab");
  EXPECT_EQ(none.range, "N/A");
  EXPECT_EQ(none.processor, "Pentium");
  EXPECT_NE(none.memoryFree.find(" kb "), std::string::npos);
  windows.open = true;
  OpenCurrent("BUDGET.WKS");
  ASSERT_TRUE(InitNewSheet());
  ASSERT_TRUE(EnterCell("1", 9, 2));
  facts.processorType = 486;
  TSystemMetricsValues open = SystemMetricsValuesFor(facts);
  EXPECT_EQ(open.range, "A1..C10");
  EXPECT_EQ(open.name, "BUDGET.WKS");
  EXPECT_EQ(open.used.substr(open.used.size() - 6), " bytes");
  EXPECT_EQ(open.processor, "486");
}

}  // namespace
}  // namespace corvane::testing

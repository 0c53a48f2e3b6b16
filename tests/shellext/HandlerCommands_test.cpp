// Command lines, selection limits and help-text copies of the context-menu handlers.
#include "shellext/HandlerCommands.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace handler {
namespace {

TEST(EngineCommandLine, EachCommandStartsItsQuotedEngineWithThePathAsItStands) {
  struct Case {
    int number;
    const char* baseDir;
    const char* expected;
  } cases[] = {
      {0, "C:\\Velmoc", "\"C:\\Velmoc\\Tobrel\" C:\\My Files\\x.doc"},
      {1, "C:\\Velmoc", "\"C:\\Velmoc\\Tobrel\" C:\\My Files\\x.doc"},
      {2, "C:\\Velmoc", "\"C:\\Velmoc\\Wenlow\" C:\\My Files\\x.doc"},
      {3, "C:\\Velmoc", "\"C:\\Velmoc\\Tobrel\" AC C:\\My Files\\x.doc"},
      {4, "C:\\Velmoc", "\"C:\\Velmoc\\Tobrel\" SF C:\\My Files\\x.doc"},
      {5, "C:\\Program Files\\Velmoc", "\"C:\\Program Files\\Velmoc\\Tobrel\" SH C:\\My Files\\x.doc"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(EngineCommandLine(c.number, c.baseDir, "C:\\My Files\\x.doc"), c.expected) << c.number;
  EXPECT_EQ(GetEngineCommand(5, "C:\\Velmoc"), "C:\\Velmoc\\Tobrel SH");
}

TEST(EngineCommandLine, PercentSignsQuotesAndUnknownCommandsAreHandledSafely) {
  EXPECT_EQ(EngineCommandLine(5, "C:\\100%s", "C:\\a%s%n.txt"), "\"C:\\100%s\\Tobrel\" SH C:\\a%s%n.txt");
  EXPECT_EQ(EngineCommandLine(6, "C:\\V", "x"), "");
  EXPECT_EQ(EngineCommandLine(-1, "C:\\V", "x"), "");
  EXPECT_EQ(EngineCommandLine(2, "", "x"), "\"\\Wenlow\" x");
  EXPECT_EQ(EngineCommandLine(0, "C:\\V\" C:\\evil", "x"), "") << "a quote would end the program's path early";
}

TEST(AcceptSelection, OnlyOneWholePathIsAccepted) {
  EXPECT_TRUE(AcceptSelection(1, 1));
  EXPECT_TRUE(AcceptSelection(1, kMaxPathChars));
  EXPECT_FALSE(AcceptSelection(1, kMaxPathChars + 1));
  EXPECT_FALSE(AcceptSelection(0, 0));
  EXPECT_FALSE(AcceptSelection(1, 0));
  EXPECT_FALSE(AcceptSelection(2, 10));
}

TEST(CopyTextCut, CutsToTheBufferAndNeverWritesPastIt) {
  char buffer[8];
  std::fill(std::begin(buffer), std::end(buffer), 'x');
  EXPECT_EQ(CopyTextCut("Shred the Current Object", buffer, 5), 4u);
  EXPECT_STREQ(buffer, "Shre");
  EXPECT_EQ(buffer[5], 'x');

  EXPECT_EQ(CopyTextCut("abc", buffer, 0), 0u);
  EXPECT_EQ(buffer[0], 'S');
  EXPECT_EQ(CopyTextCut("abc", static_cast<char*>(nullptr), 10), 0u);

  EXPECT_EQ(CopyTextCut("abc", buffer, 8), 3u);
  EXPECT_STREQ(buffer, "abc");

  char16_t wide[4];
  EXPECT_EQ(CopyTextCut("abcdef", wide, 4), 3u);
  EXPECT_EQ(std::u16string(wide), u"abc");
}

TEST(MenuCommands, ClassIdentifiersAndGlyphsAreDistinct) {
  std::set<std::string> ids, glyphs, captions;
  for (const TMenuCommand& c : kMenuCommands) {
    ids.insert(c.classId);
    glyphs.insert(c.bitmap);
    captions.insert(c.caption);
    EXPECT_EQ(std::string(c.classId).size(), 38u) << c.className;
  }
  EXPECT_EQ(ids.size(), 6u);
  EXPECT_EQ(glyphs.size(), 6u);
  EXPECT_EQ(captions.size(), 6u);
}

}  // namespace
}  // namespace handler

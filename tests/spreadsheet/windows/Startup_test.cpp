// Start-up: command lines, start files, the preload tiers, the splash wait,
// the hand-over to a running instance and the first document.
#include "spreadsheet/windows/Startup.h"

#include "spreadsheet/engine/RangeNames.h"
#include "spreadsheet/windows/MacroTrust.h"
#include "spreadsheet/windows/SheetKeys.h"
#include "tests/spreadsheet/windows/FrameTestSupport.h"

namespace corvane::testing {
namespace {

TEST(Startup, CommandLinesAndStartFiles) {
  // An unquoted line is one name, blanks and all; quoted names come one by one.
  struct Row {
    const char* commandLine;
    std::vector<std::string> names;
  } rows[] = {
      {"Corvane.exe", {}},
      {"\"C:\\Program Files\\Corvane.exe\"  ", {}},
      {"Corvane.exe BUDGET.WKS", {"BUDGET.WKS"}},
      {"\"C:\\A B\\Corvane.exe\" \"C:\\My Files\\Q 1.wks\" extra", {"C:\\My Files\\Q 1.wks", "extra"}},
      {"Corvane.exe C:\\My Files\\Q 1.wks ", {"C:\\My Files\\Q 1.wks"}},
      {"Corvane.exe \"unclosed name.wks", {"unclosed name.wks"}},
      {"Corvane.exe \"one.wks\" \"two.wks\"", {"one.wks", "two.wks"}},
      {"Corvane.exe \"a b.wks\"\"c.wks\" \"\" d.wks", {"a b.wks", "c.wks", "d.wks"}},
  };
  for (const Row& row : rows) EXPECT_EQ(CommandLineFileNames(row.commandLine), row.names) << row.commandLine;

  TProgramFiles files = ProgramFilesFor("C:\\APPS\\Corvane.exe");
  EXPECT_EQ(files.folder, "C:\\APPS\\");
  EXPECT_EQ(files.baseName, "Corvane");
  EXPECT_EQ(ProgramFile(files, ".INI"), "C:\\APPS\\Corvane.INI");
  EXPECT_EQ(ProgramFilesFor("C:\\APPS\\NODOT").baseName, "CRV");
  EXPECT_EQ(ProgramFilesFor("averyveryverylongname.exe").baseName, "averyveryver");

  struct Start {
    const char* argument;
    const char* autoExec;
    const char* file;
  } starts[] = {
      {"", "AUTOEXEC.WKS", "C:\\APPS\\AUTOEXEC.WKS"},
      {"", "", "C:\\APPS\\AUTOEXEC.WKS"},
      {"", "D:\\START\\FIRST.WKS", "D:\\START\\FIRST.WKS"},
      {"Q 1.WKS", "AUTOEXEC.WKS", "C:\\WORK\\Q 1.WKS"},
      {"..\\Q.WKS", "AUTOEXEC.WKS", "C:\\WORK\\..\\Q.WKS"},
      {"E:\\X.WKS", "AUTOEXEC.WKS", "E:\\X.WKS"},
      {"\\\\server\\share\\X.WKS", "AUTOEXEC.WKS", "\\\\server\\share\\X.WKS"},
  };
  for (const Start& s : starts)
    EXPECT_EQ(StartFileName(s.argument, "C:\\WORK", files, s.autoExec), s.file) << s.argument << s.autoExec;
}

TEST(Startup, PreloadTiersAndSplashWait) {
  struct Row {
    TPreloadDialog dialog;
    bool at0, at1, at2, at4;
  } rows[] = {{TPreloadDialog::kProperties, true, true, true, true},
              {TPreloadDialog::kGraphWindow, true, true, true, true},
              {TPreloadDialog::kGeneral, false, true, true, true},
              {TPreloadDialog::kData, false, false, true, true},
              {TPreloadDialog::kRangeName, false, false, false, true}};
  for (const Row& row : rows) {
    EXPECT_EQ(PreloadedAtLevel(row.dialog, 0), row.at0);
    EXPECT_EQ(PreloadedAtLevel(row.dialog, 1), row.at1);
    EXPECT_EQ(PreloadedAtLevel(row.dialog, 3), row.at2);
    EXPECT_EQ(PreloadedAtLevel(row.dialog, 4), row.at4);
  }
  EXPECT_TRUE(SplashMustWait(1000, 4000));
  EXPECT_FALSE(SplashMustWait(1000, 4001));
  EXPECT_TRUE(SplashMustWait(0xFFFFFF00u, 100)) << "across the tick count's wrap";
  EXPECT_FALSE(SplashMustWait(0xFFFFFF00u, 3000));
}

TEST(Startup, HandOverCarriesAnyNameIntact) {
  std::string longName = "C:\\" + std::string(300, 'x') + " y.wks";
  for (const std::string& name : {std::string("C:\\A B\\Q.WKS"), longName, std::string()}) {
    std::string back = "?";
    ASSERT_TRUE(DecodeHandOver(EncodeHandOver(name), back));
    EXPECT_EQ(back, name);
    ASSERT_TRUE(DecodeHandOver(EncodeHandOver(name) + '\0', back));
    EXPECT_EQ(back, name);
  }
  std::string back;
  EXPECT_FALSE(DecodeHandOver("something else", back));
  EXPECT_FALSE(DecodeHandOver(EncodeHandOver(std::string("a\0b", 3)), back));
  EXPECT_EQ(StartFileProblem("C:\\Q.WKS"), "");
  EXPECT_NE(StartFileProblem(longName), "") << "a name the documents cannot keep whole is refused";
}

class FirstDocumentTest : public FrameTest {
 protected:
  TFakeFileHost host;
  TFileCommands files{host};
};

TEST_F(FirstDocumentTest, StartFileOrNewSheet) {
  // No start file: a new sheet when asked for, else nothing.
  EXPECT_FALSE(OpenFirstDocument(files, folder.File("AUTOEXEC.WKS"), false, true));
  EXPECT_TRUE(host.windows.empty());
  ASSERT_TRUE(OpenFirstDocument(files, folder.File("AUTOEXEC.WKS"), true, true));
  EXPECT_EQ(host.captions, std::vector<std::string>{"SHEET1.WKS"});

  // The program's own AUTOEXEC file opens untitled and runs its AUTOEXEC
  // range unasked.
  ASSERT_TRUE(EnterCell("'{LET B1 5}", 0, 0));
  ASSERT_LT(RangeNameCreate("AUTOEXEC", MakeRange(0, 0, 0, 0)), 0);
  ASSERT_TRUE(SaveWorksheet(folder.File("AUTOEXEC.WKS"), false, TRange{}));
  ASSERT_TRUE(SaveWorksheet(folder.File("GIFT.WKS"), false, TRange{}));
  host.DiscardActiveSheetWindow();
  ASSERT_TRUE(OpenFirstDocument(files, folder.File("AUTOEXEC.WKS"), false, true));
  EXPECT_EQ(Contents(0, 0), "'{LET B1 5}");
  EXPECT_TRUE(DocSlot(CurrentDocSlot())->untitled);
  EXPECT_EQ(host.macrosRun, 1);
  EXPECT_TRUE(host.autoExecQuestions.empty());
  host.DiscardActiveSheetWindow();

  // Any other worksheet with an AUTOEXEC range asks, naming the file and
  // showing the first line; "No" opens it and runs nothing, "Yes" runs it.
  // That holds for a file named on the command line, File Open and the
  // recent-file list alike.
  ASSERT_TRUE(OpenFirstDocument(files, folder.File("GIFT.WKS"), false, false));
  const std::string gift = WksFileName(folder.File("GIFT.WKS"));
  EXPECT_EQ(host.autoExecQuestions, std::vector<std::string>{gift + "|AUTOEXEC: {LET B1 5}"});
  EXPECT_EQ(host.macrosRun, 1);
  EXPECT_EQ(host.captions.back(), gift);
  host.DiscardActiveSheetWindow();
  host.allowAutoExec = true;
  host.openAnswer = folder.File("GIFT.WKS");
  ASSERT_TRUE(files.Open());
  EXPECT_EQ(host.autoExecQuestions.size(), 2u);
  EXPECT_EQ(host.macrosRun, 2);
  host.DiscardActiveSheetWindow();
  host.allowAutoExec = false;
  ASSERT_TRUE(files.OpenRecent(0));
  EXPECT_EQ(host.autoExecQuestions.size(), 3u);
  EXPECT_EQ(host.macrosRun, 2);
  host.DiscardActiveSheetWindow();

  // A start file that is no worksheet is refused and the new sheet follows.
  WriteWholeFile(folder.File("NOTES.WKS"), "plain text");
  gFrameErrors.clear();
  ASSERT_TRUE(OpenFirstDocument(files, folder.File("NOTES.WKS"), true, false));
  EXPECT_EQ(gFrameErrors, std::vector<std::string>{"Error:Invalid WKS File!"});
  EXPECT_EQ(host.windows.size(), 1u);

  // A name on the command line that names no file says so, first or further;
  // the program's own start-up file may be missing without a word.
  gFrameErrors.clear();
  const std::string missing = folder.File("MISSING.WKS");
  ASSERT_TRUE(OpenFirstDocument(files, missing, true, false));
  EXPECT_FALSE(OpenNamedFile(files, missing));
  EXPECT_EQ(gFrameErrors, std::vector<std::string>(2, "Error:File not found: " + missing));
  EXPECT_EQ(host.windows.size(), 2u) << "the new sheet";
  gFrameErrors.clear();
  ASSERT_TRUE(OpenFirstDocument(files, folder.File("AUTOEXEC2.WKS"), true, true));
  EXPECT_TRUE(gFrameErrors.empty());
  // A name without an extension is its worksheet, as File Open reads it.
  ASSERT_TRUE(OpenFirstDocument(files, folder.File("gift"), false, false));
  EXPECT_EQ(host.captions.back(), gift);
  EXPECT_TRUE(gFrameErrors.empty());
}

TEST_F(FirstDocumentTest, CtrlKeyMacrosOfAnOpenedWorksheetAskFirst) {
  // Whether Ctrl and `key` arm a macro start in the current document.
  auto ctrlRuns = [](char key) {
    TCtrlMacroKeys keys;
    keys.CtrlDown();
    keys.KeyUp(key, 0);
    return keys.KeyUp(classlib::vk::Control, 0);
  };
  ASSERT_TRUE(files.New());
  ASSERT_TRUE(EnterCell("'{LET B1 5}", 0, 0));
  ASSERT_TRUE(EnterCell("'{BEEP}", 1, 0));
  for (const char* name : {"\\s", "\\7", "\\SS", "KEYS"}) ASSERT_LT(RangeNameCreate(name, MakeRange(0, 1, 0, 1)), 0);
  ASSERT_TRUE(SaveWorksheet(folder.File("KEYS.WKS"), false, TRange{}));
  ASSERT_TRUE(SaveWorksheet(folder.File("AUTOEXEC.WKS"), false, TRange{}));

  // Ctrl+letter names alone ask the question, listing each with its key and
  // first line; No refuses them, and only them, until the document closes.
  ASSERT_TRUE(files.OpenFile(folder.File("KEYS.WKS")));
  EXPECT_EQ(host.autoExecQuestions, std::vector<std::string>{WksFileName(folder.File("KEYS.WKS")) +
                                                                 "|\\7 (Ctrl+7): {BEEP}\n\\S (Ctrl+S): {BEEP}"});
  EXPECT_FALSE(ctrlRuns('S'));
  EXPECT_FALSE(ctrlRuns('7'));
  EXPECT_TRUE(DocumentMacrosRefused());
  ASSERT_LT(RangeNameCreate("\\Q", MakeRange(0, 0, 0, 0)), 0);
  EXPECT_TRUE(ctrlRuns('Q')) << "a name the user makes is the user's own";
  host.DiscardActiveSheetWindow();

  // Yes lets them run; the program's own start-up file asks nothing.
  host.allowAutoExec = true;
  ASSERT_TRUE(files.OpenFile(folder.File("KEYS.WKS")));
  EXPECT_TRUE(ctrlRuns('S'));
  host.DiscardActiveSheetWindow();
  host.allowAutoExec = false;
  ASSERT_TRUE(OpenFirstDocument(files, folder.File("AUTOEXEC.WKS"), false, true));
  EXPECT_EQ(host.autoExecQuestions.size(), 2u);
  EXPECT_TRUE(ctrlRuns('S'));
  EXPECT_FALSE(DocumentMacrosRefused());
  host.DiscardActiveSheetWindow();

  // A worksheet whose only macros are buttons on the sheet asks too, listing
  // each button's caption and macro; No refuses them.
  ASSERT_TRUE(files.New());
  windows.buttons = {TSheetButton{"Sort", "{RMDIR \"VICTIM\"}", 0, 0, 0, 0, 800, 600},
                     TSheetButton{"Long", std::string(100, 'x'), 2, 2, 0, 0, 40, 20},
                     TSheetButton{"Ok\n\nRun? Yes", "{QUIT}\r\nfine", 4, 4, 0, 0, 40, 20}};
  ASSERT_TRUE(SaveWorksheet(folder.File("BUTTONS.WKS"), false, TRange{}));
  windows.buttons.clear();
  host.DiscardActiveSheetWindow();
  ASSERT_TRUE(files.OpenFile(folder.File("BUTTONS.WKS")));
  ASSERT_EQ(host.autoExecQuestions.size(), 3u);
  EXPECT_EQ(host.autoExecQuestions.back(), WksFileName(folder.File("BUTTONS.WKS")) +
                                               "|Button \"Sort\": {RMDIR \"VICTIM\"}\nButton \"Long\": " +
                                               std::string(80, 'x') +
                                               "...\nButton \"Ok  Run? Yes\": {QUIT}  fine")
      << "a button's caption or macro cannot add lines of its own to the question";
  EXPECT_TRUE(DocumentMacrosRefused());
}

}  // namespace
}  // namespace corvane::testing

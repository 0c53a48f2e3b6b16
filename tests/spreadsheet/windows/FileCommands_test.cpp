// File commands against real files: what is saved, what is opened, and that
// a failure keeps every document as it was.
#include "spreadsheet/windows/FileCommands.h"

#include <filesystem>
#include <functional>

#include "spreadsheet/engine/TextCase.h"
#include "spreadsheet/files/WorksheetFile.h"
#include "spreadsheet/windows/Startup.h"
#include "tests/spreadsheet/windows/FrameTestSupport.h"

namespace corvane::testing {
namespace {

class FileCommandsTest : public FrameTest {
 protected:
  // A worksheet file at `name` in the test folder holding `text` in A1.
  std::string MakeFile(const std::string& name, const std::string& text) {
    EXPECT_TRUE(files.New());
    EXPECT_TRUE(EnterCell(text, 0, 0));
    std::string path = folder.File(name);
    EXPECT_TRUE(SaveWorksheet(path, false, TRange{}));
    host.DiscardActiveSheetWindow();
    return path;
  }
  bool Modified() { return gCurrentDoc.settings.modified != 0; }

  TFakeFileHost host;
  TFileCommands files{host};
};

TEST_F(FileCommandsTest, SaveAsWritesOnlyWhatItReportsAndKeepsTheNameOnFailure) {
  ASSERT_TRUE(files.New());
  EXPECT_EQ(host.captions.back(), "SHEET1.WKS");
  EXPECT_NE(CurrentFileState().info.creationDate, -1);
  ASSERT_TRUE(EnterCell("42", 0, 0));
  gCurrentDoc.settings.modified = 1;

  // Untitled: Save goes through Save As, in the last save folder; a
  // cancelled dialog saves nothing.
  ProgramSettings().SaveDir = "C:\\LAST";
  EXPECT_FALSE(files.Save());
  EXPECT_EQ(host.proposed, "SHEET1.WKS");
  EXPECT_EQ(host.startFolder, "C:\\LAST");
  EXPECT_EQ(ProgramSettings().SaveDir, "C:\\DOCS") << "the folder is remembered on cancel too";

  // A folder that is gone: nothing written, the name and the modified flag stay.
  host.saveAnswer = folder.File("gone/BUDGET.WKS");
  EXPECT_FALSE(files.SaveAs());
  EXPECT_TRUE(Modified());
  EXPECT_EQ(DocSlot(CurrentDocSlot())->fileName, "SHEET1.WKS");
  EXPECT_TRUE(DocSlot(CurrentDocSlot())->untitled);
  EXPECT_TRUE(ProgramSettings().History.empty());
  EXPECT_FALSE(gFrameErrors.empty()) << "the failure is shown";
  EXPECT_FALSE(host.CloseActiveSheetWindow()) << "a modified document still asks before closing";

  // Written: renamed, titled, unmodified, in the recent files.
  host.saveAnswer = folder.File("budget");
  ASSERT_TRUE(files.SaveAs());
  std::string saved = WksFileName(folder.File("budget"));
  EXPECT_FALSE(Modified());
  EXPECT_EQ(DocSlot(CurrentDocSlot())->fileName, saved);
  EXPECT_FALSE(DocSlot(CurrentDocSlot())->untitled);
  EXPECT_EQ(host.captions.back(), saved);
  EXPECT_EQ(ProgramSettings().History, std::vector<std::string>{saved});
  EXPECT_TRUE(std::filesystem::exists(folder.File("BUDGET.WKS")));

  // Save goes to that name now.
  ASSERT_TRUE(EnterCell("43", 0, 0));
  gCurrentDoc.settings.modified = 1;
  EXPECT_TRUE(files.Save());
  EXPECT_FALSE(Modified());
}

// One document per file: no save writes the file of another open document,
// however its path is spelt; the document saved keeps its name and its
// changes, the file its bytes.
TEST_F(FileCommandsTest, NoSaveWritesTheFileOfAnotherOpenDocument) {
  const std::string other = MakeFile("OTHER.WKS", "'other");
  ASSERT_TRUE(files.OpenFile(other));
  const std::string otherBytes = ReadWholeFile(other);
  ASSERT_TRUE(files.New());
  ASSERT_TRUE(EnterCell("'mine", 0, 0));
  gCurrentDoc.settings.modified = 1;
  const int mine = CurrentDocSlot();
  std::filesystem::create_directory(folder.File("sub"));
  const struct {
    const char* what;
    std::function<bool()> save;
  } rows[] = {
      {"Save As",
       [&] {
         host.saveAnswer = other;
         return files.SaveAs();
       }},
      {"Save As, another spelling",
       [&] {
         host.saveAnswer = folder.File("sub/../other");
         return files.SaveAs();
       }},
      {"the writer (a macro's FILESAVEAS)", [&] { return SaveWorksheet(folder.File("Other.wks"), false, TRange{}); }},
      {"a range exported as a worksheet", [&] { return SaveWorksheet(other, true, TRange{0, 0, 0, 0}); }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    gFrameErrors.clear();
    EXPECT_FALSE(row.save());
    EXPECT_EQ(gFrameErrors, std::vector<std::string>{"Error:" + DocumentFileName(other) + kOpenElsewhereText});
    EXPECT_EQ(ReadWholeFile(other), otherBytes);
    ASSERT_EQ(CurrentDocSlot(), mine);
    EXPECT_TRUE(DocSlot(mine)->untitled);
    EXPECT_TRUE(Modified());
  }
  // A name of its own is saved; so is the other document over its own file.
  host.saveAnswer = folder.File("MINE");
  EXPECT_TRUE(files.SaveAs());
  ASSERT_TRUE(host.BringDocumentToFront(DocumentFileName(other)));
  ASSERT_TRUE(EnterCell("'changed", 0, 0));
  EXPECT_TRUE(files.Save());
  EXPECT_NE(ReadWholeFile(other), otherBytes);
}

TEST_F(FileCommandsTest, OpeningRefusesBadFilesAndLeavesOpenDocumentsAlone) {
  std::string good = MakeFile("GOOD.WKS", "'kept");
  std::string damaged = MakeFile("DAMAGED.WKS", "'read");
  std::string bytes = ReadWholeFile(damaged);
  std::string damagedBytes = bytes.substr(0, bytes.size() - 7) + std::string("\x0f\x00\x40\x00", 4);
  WriteWholeFile(damaged, damagedBytes);
  WriteWholeFile(folder.File("TEXT.WKS"), "hello, world\r\n");

  ASSERT_TRUE(files.OpenFile(good));
  EXPECT_EQ(host.windows.size(), 1u);
  EXPECT_EQ(Contents(0, 0), "'kept");
  EXPECT_FALSE(Modified());

  struct Case {
    std::string path;
    std::string message;
  } cases[] = {{folder.File("TEXT.WKS"), "Error:Invalid WKS File!"},
               {folder.File("MISSING.WKS"), "Error:Invalid WKS File!"},
               {folder.File("OTHER.WKS"), "Error:Invalid WKS File!"}};
  // Another format whose first record's length field happens to be 2.
  WriteWholeFile(folder.File("OTHER.WKS"), std::string("MZ\x02\x00\x04\x04\x01\x00\x00\x00", 10));
  for (const Case& c : cases) {
    gFrameErrors.clear();
    EXPECT_FALSE(files.OpenFile(c.path)) << c.path;
    ASSERT_EQ(gFrameErrors.size(), 1u) << c.path;
    EXPECT_EQ(gFrameErrors[0].substr(0, c.message.size()), c.message);
    EXPECT_EQ(host.windows.size(), 1u) << "no window is left behind";
    EXPECT_EQ(Contents(0, 0), "'kept") << "the open document is untouched";
  }
  EXPECT_EQ(ProgramSettings().History, std::vector<std::string>{WksFileName(good)});

  // A damaged file opens with what could be read, the record at fault named;
  // closing its window leaves the file as it was.
  gFrameErrors.clear();
  ASSERT_TRUE(files.OpenFile(damaged));
  ASSERT_EQ(gFrameErrors.size(), 1u);
  EXPECT_EQ(gFrameErrors[0].substr(0, 22), "Error:Error at Record:");
  EXPECT_EQ(host.windows.size(), 2u);
  EXPECT_EQ(Contents(0, 0), "'read");
  EXPECT_FALSE(Modified());
  EXPECT_TRUE(files.Close());
  EXPECT_EQ(host.windows.size(), 1u);
  EXPECT_EQ(ReadWholeFile(damaged), damagedBytes);

  // Opened again under any spelling of its path: its window comes to the
  // front, no second copy.
  std::filesystem::create_directory(folder.File("sub"));
  int fronts = 0;
  for (const std::string& again : {good, folder.File("sub/../GOOD.WKS"), folder.Path() + "//good",
                                   folder.File("./Good.wks")}) {
    ASSERT_TRUE(files.New());
    ASSERT_TRUE(files.OpenFile(again)) << again;
    EXPECT_EQ(host.broughtToFront, ++fronts) << again;
    EXPECT_EQ(Contents(0, 0), "'kept") << again;
  }
  EXPECT_EQ(host.windows.size(), 5u) << "the document and four new sheets";
  EXPECT_EQ(ProgramSettings().History, (std::vector<std::string>{WksFileName(damaged), WksFileName(good)}));
}

// One rule for what a worksheet is, however the file is opened: a begin
// record that holds its 2-byte version, with or without more bytes after it.
TEST_F(FileCommandsTest, EveryWayOfOpeningTakesTheSameBeginRecords) {
  for (int length = 1; length <= 4; ++length) {
    SCOPED_TRACE(length);
    const bool worksheet = length >= 2;
    const std::string path = folder.File("BEGIN" + std::to_string(length) + ".WKS");
    WriteWholeFile(path, std::string("\0\0", 2) + static_cast<char>(length) + '\0' + std::string(length, '\x04') +
                             std::string("\x0d\x00\x07\x00\xff\x00\x00\x00\x00\x07\x00\x01\x00\x00\x00", 15));
    const std::vector<std::string> refused = worksheet ? std::vector<std::string>{}
                                                       : std::vector<std::string>{"Error:Invalid WKS File!"};
    // File Open, the command line and the recent list: a window showing A1, or none.
    ProgramSettings().History = {WksFileName(path)};
    const std::function<bool()> opens[] = {[&] { return files.OpenFile(path); },
                                           [&] { return OpenFirstDocument(files, path, false, false); },
                                           [&] { return files.OpenRecent(0); }};
    for (const auto& open : opens) {
      gFrameErrors.clear();
      EXPECT_EQ(open(), worksheet);
      EXPECT_EQ(gFrameErrors, refused);
      ASSERT_EQ(host.windows.size(), worksheet ? 1u : 0u);
      if (!worksheet) continue;
      EXPECT_EQ(Contents(0, 0), "7");
      gCurrentDoc.settings.modified = 0;
      ASSERT_TRUE(files.Close());
    }
    // File Combine into an open sheet, and the cells a link reads.
    ASSERT_TRUE(files.New());
    gFrameErrors.clear();
    EXPECT_EQ(LoadWorksheet(path, kLoadMerge, 2, 2, ""), worksheet);
    EXPECT_EQ(gFrameErrors, refused);
    EXPECT_EQ(Contents(2, 2), worksheet ? "7" : "");
    int linked = 0;
    EXPECT_EQ(ReadLinkedFileCells(path, [&](const TLinkedCellValue& cell) { linked += cell.number == 7; }), worksheet);
    EXPECT_EQ(linked, worksheet ? 1 : 0);
    gCurrentDoc.settings.modified = 0;
    ASSERT_TRUE(files.Close());
  }
}

// Every read and write of a file shows the hourglass while it runs, and only
// then: the sheet is first painted with it on, and it is off afterwards.
TEST_F(FileCommandsTest, LoadsMergesAndSavesShowTheWaitCursor) {
  std::string path = MakeFile("WAIT.WKS", "'cells");
  struct Row {
    const char* what;
    std::function<bool()> run;
    bool paints;  // the sheet is repainted during the command
  } rows[] = {
      {"open", [&] { return files.OpenFile(path); }, true},
      {"merge", [&] { return LoadWorksheet(path, kLoadMerge, 2, 2, ""); }, true},
      {"save", [&] { return files.Save(); }, false},
      {"open that fails", [&] { return !files.OpenWorksheet(folder.File("NONE.WKS")); }, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    windows.waitCursorChanges.clear();
    windows.repaintsWaiting = 0;
    EXPECT_TRUE(row.run());
    EXPECT_EQ(windows.waitCursorChanges, "+-");
    EXPECT_FALSE(windows.waitCursor);
    EXPECT_EQ(windows.repaintsWaiting > 0, row.paints);
  }
}

TEST_F(FileCommandsTest, RecentFiles) {
  ProgramSettings().HSize = 4;
  std::vector<std::string> paths;
  for (const char* name : {"A.WKS", "B.WKS", "C.WKS", "D.WKS", "E.WKS"}) paths.push_back(MakeFile(name, "1"));
  for (const std::string& path : paths) ASSERT_TRUE(files.OpenFile(path));
  std::vector<TRecentItem> items = RecentMenuItems(ProgramSettings().History, ProgramSettings().HSize);
  EXPECT_EQ(ProgramSettings().History.size(), 4u) << "the oldest was dropped";
  EXPECT_EQ(items[0].caption, "&0 E.WKS");
  EXPECT_EQ(items[0].fileName, WksFileName(paths[4]));
  EXPECT_EQ(items[3].caption, "&3 B.WKS");
  EXPECT_FALSE(items[4].visible);

  // A click on an open file brings it to the front and makes it the newest.
  ASSERT_TRUE(files.OpenRecent(3));
  EXPECT_EQ(host.windows.size(), 5u);
  EXPECT_EQ(host.captions.back(), WksFileName(paths[1]));
  EXPECT_EQ(ProgramSettings().History.back(), WksFileName(paths[1]));

  // Closed, it is read again.
  gCurrentDoc.settings.modified = 0;
  ASSERT_TRUE(files.Close());
  ASSERT_TRUE(files.OpenRecent(0));
  EXPECT_EQ(host.captions.back(), WksFileName(paths[1]));
  EXPECT_FALSE(files.OpenRecent(7));

  // A limit of 0 shows nothing; one above 10 shows ten at most.
  EXPECT_FALSE(RecentMenuItems(ProgramSettings().History, 0)[0].visible);
  EXPECT_EQ(RecentMenuItems(std::vector<std::string>(12, "X"), 99).size(), 10u);
  // A name holding "&" shows it and takes no letter.
  EXPECT_EQ(RecentMenuItems({"C:\\R&D\\T&C.WKS"}, 5)[0].caption, "&0 T&&C.WKS");
}

// A file that is no worksheet never gets a window, however it is opened; a
// worksheet read only in part is saved over its file only when the user names
// it, and the file read stays as the backup.
TEST_F(FileCommandsTest, NoWorksheetIsOpenedAndAPartlyReadOneIsNotSavedOverUnasked) {
  std::string text = MakeFile("NOTE.WKS", "'note");
  ASSERT_TRUE(files.OpenFile(text));
  gCurrentDoc.settings.modified = 0;
  ASSERT_TRUE(files.Close());
  WriteWholeFile(text, "a note, not a sheet\r\n");
  gFrameErrors.clear();
  EXPECT_FALSE(files.OpenRecent(0)) << "the recent file now holds text";
  EXPECT_EQ(gFrameErrors, std::vector<std::string>{"Error:Invalid WKS File!"});
  EXPECT_TRUE(host.windows.empty());
  EXPECT_EQ(ReadWholeFile(text), "a note, not a sheet\r\n");

  std::string damaged = MakeFile("DAMAGED.WKS", "'read");
  std::string bytes = ReadWholeFile(damaged);
  const std::string damagedBytes = bytes.substr(0, bytes.size() - 7) + std::string("\x0f\x00\x40\x00", 4);
  WriteWholeFile(damaged, damagedBytes);
  ProgramSettings().Backups = false;
  ASSERT_TRUE(files.OpenFile(damaged));
  ASSERT_TRUE(EnterCell("'more", 1, 0));
  gCurrentDoc.settings.modified = 1;
  // Save asks for a name, offering the file's own in its own folder (not the
  // last save folder, where another file of that name may be); cancelled,
  // nothing is written.
  ProgramSettings().SaveDir = "C:\\ELSEWHERE";
  EXPECT_FALSE(files.Save());
  EXPECT_EQ(host.proposed, "DAMAGED.WKS");
  EXPECT_EQ(host.startFolder, UpperCaseText(folder.Path()));
  EXPECT_EQ(ReadWholeFile(damaged), damagedBytes);
  EXPECT_TRUE(Modified());
  // Given that name, the part read is written and the damaged file kept as
  // the backup, backups off or not.
  host.saveAnswer = damaged;
  ASSERT_TRUE(files.Save());
  EXPECT_EQ(ReadWholeFile(folder.File("DAMAGED.WKB")), damagedBytes);
  EXPECT_NE(ReadWholeFile(damaged), damagedBytes);
  // From then on Save writes to the file without a question.
  host.proposed.clear();
  host.saveAnswer.clear();
  ASSERT_TRUE(EnterCell("'last", 2, 0));
  EXPECT_TRUE(files.Save());
  EXPECT_EQ(host.proposed, "");
  EXPECT_EQ(ReadWholeFile(folder.File("DAMAGED.WKB")), damagedBytes);
}

}  // namespace
}  // namespace corvane::testing

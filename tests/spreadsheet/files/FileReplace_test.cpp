// Saving through a temporary file: the backup rule, and what a failed save
// leaves on disk.
#include "spreadsheet/files/FileReplace.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/spreadsheet/files/TempFolder.h"

namespace corvane {
namespace {

using testing::ReadWholeFile;
using testing::TTempFolder;
using testing::WriteWholeFile;

TEST(FileReplaceTest, BackupNameReplacesTheLastLetter) {
  EXPECT_EQ(BackupFileName("CRV32.INI", 'b'), "CRV32.INb");
  EXPECT_EQ(BackupFileName("C:\\DATA\\NAME.WKS", 'B'), "C:\\DATA\\NAME.WKB");
  EXPECT_EQ(BackupFileName("", 'B'), "");
}

TEST(FileReplaceTest, SaveKeepsTheLatestPreviousFileAsBackup) {
  TTempFolder folder;
  std::string path = folder.File("NAME.WKS"), backup = folder.File("NAME.WKB");
  ASSERT_TRUE(SaveFileReplacing(path, "one", backup));
  EXPECT_EQ(ReadWholeFile(path), "one");
  EXPECT_EQ(ReadWholeFile(backup), "<missing>");
  ASSERT_TRUE(SaveFileReplacing(path, "two", backup));
  ASSERT_TRUE(SaveFileReplacing(path, "three", backup));
  EXPECT_EQ(ReadWholeFile(path), "three");
  EXPECT_EQ(ReadWholeFile(backup), "two");
  ASSERT_TRUE(SaveFileReplacing(path, "four", ""));
  EXPECT_EQ(ReadWholeFile(path), "four");
  EXPECT_EQ(ReadWholeFile(backup), "two") << "no backup asked for: the old backup stays";
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 2) << "no temporary file left";
}

TEST(FileReplaceTest, ResavingAFileThatEndsInTheBackupLetterKeepsIt) {
  TTempFolder folder;
  std::string path = folder.File("NAME.WKB");
  WriteWholeFile(path, "old");
  ASSERT_TRUE(SaveFileReplacing(path, "new", BackupFileName(path, 'B')));
  EXPECT_EQ(ReadWholeFile(path), "new");
  std::string lower = folder.File("name.wkb");
  ASSERT_TRUE(SaveFileReplacing(path, "newer", lower));
  EXPECT_EQ(ReadWholeFile(path), "newer");
}

TEST(FileReplaceTest, FailedSaveLeavesFileAndBackupAsTheyWere) {
  TTempFolder folder;
  std::string path = folder.File("NAME.WKS"), backup = folder.File("NAME.WKB");
  WriteWholeFile(path, "current");
  WriteWholeFile(backup, "previous");
  // The temporary file's name is taken by a folder, so it cannot be written.
  std::filesystem::create_directory(path + ".$$$");
  EXPECT_FALSE(SaveFileReplacing(path, "lost", backup));
  EXPECT_EQ(ReadWholeFile(path), "current");
  EXPECT_EQ(ReadWholeFile(backup), "previous");
  EXPECT_FALSE(SaveFileReplacing(folder.File("NOFOLDER/X.WKS"), "x", ""));
  EXPECT_FALSE(FileExists(folder.File("NOFOLDER/X.WKS")));
}

TEST(FileReplaceTest, SaveInPiecesReplacesOnlyOnCommit) {
  TTempFolder folder;
  std::string path = folder.File("OUT.CSV");
  WriteWholeFile(path, "old");
  {
    TReplacingFile file;
    ASSERT_TRUE(file.Open(path));
    ASSERT_TRUE(file.Write("a,b\r\n"));
  }
  EXPECT_EQ(ReadWholeFile(path), "old") << "abandoned before commit";
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1) << "no temporary file left";
  TReplacingFile file;
  ASSERT_TRUE(file.Open(path));
  ASSERT_TRUE(file.Write("a,b\r\n") && file.Write("") && file.Write("c,d\r\n"));
  ASSERT_TRUE(file.Commit(""));
  EXPECT_EQ(ReadWholeFile(path), "a,b\r\nc,d\r\n");
  EXPECT_FALSE(file.Write("more")) << "a committed file takes nothing more";
  EXPECT_EQ(ReadWholeFile(path), "a,b\r\nc,d\r\n");
}

}  // namespace
}  // namespace corvane

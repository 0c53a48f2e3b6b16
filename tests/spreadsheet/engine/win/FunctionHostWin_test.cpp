// The Windows function host under Wine: the current folder and version from
// the system, file facts read without writing or locking, device names and
// device-namespace paths refused.
#include "spreadsheet/engine/win/FunctionHostWin.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "spreadsheet/engine/FunctionHost.h"
#include "tests/spreadsheet/files/TempFolder.h"

namespace corvane {
namespace {

using testing::TTempFolder;

class FunctionHostWinTest : public ::testing::Test {
 protected:
  void SetUp() override { InstallWindowsFunctionHost(); }
  void TearDown() override { SetFunctionHost(nullptr); }
};

TEST_F(FunctionHostWinTest, CurrentFolderAndVersion) {
  char buffer[MAX_PATH + 1] = {};
  ASSERT_GT(GetCurrentDirectoryA(sizeof buffer, buffer), 0u);
  EXPECT_EQ(FunctionHost().CurrentDirectory(), buffer);
  int major = 0, minor = -1;
  FunctionHost().SystemVersion(major, minor);
  EXPECT_GE(major, 5);
  EXPECT_GE(minor, 0);
  double x = FunctionHost().Random();
  EXPECT_GE(x, 0.0);
  EXPECT_LT(x, 1.0);
}

TEST_F(FunctionHostWinTest, FileFactsAreReadWithoutLockingOrWriting) {
  TTempFolder folder;
  std::string file = folder.File("DATA.TXT");
  std::ofstream(file, std::ios::binary) << "1234567";
  auto stamp = std::filesystem::last_write_time(file);
  TFileFacts facts;
  ASSERT_TRUE(FunctionHost().QueryFile(file, facts));
  EXPECT_EQ(facts.size, 7u);
  EXPECT_TRUE(facts.canOpen);
  EXPECT_EQ(facts.attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_EQ(std::filesystem::last_write_time(file), stamp);

  // A file another program writes (sharing reads) still opens for reading.
  HANDLE writer = CreateFileA(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(FunctionHost().QueryFile(file, facts));
  EXPECT_TRUE(facts.canOpen);
  CloseHandle(writer);

  // One held without sharing exists but does not open.
  HANDLE exclusive = CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(FunctionHost().QueryFile(file, facts));
  EXPECT_FALSE(facts.canOpen);
  EXPECT_EQ(facts.size, 7u);
  CloseHandle(exclusive);

  ASSERT_TRUE(FunctionHost().QueryFile(folder.Path(), facts));
  EXPECT_EQ(facts.attributes & FILE_ATTRIBUTE_DIRECTORY, static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_FALSE(FunctionHost().QueryFile(folder.File("MISSING.TXT"), facts));
}

TEST_F(FunctionHostWinTest, DevicesAreRefused) {
  TFileFacts facts;
  for (const char* name : {"CON", "nul", "NUL.TXT", "C:\\TEMP\\COM1.LOG", "LPT1", "AUX", "PRN:", "\\\\.\\pipe\\x",
                           "\\\\.\\C:"}) {
    EXPECT_FALSE(FunctionHost().QueryFile(name, facts)) << name;
    EXPECT_FALSE(facts.canOpen) << name;
  }
}

}  // namespace
}  // namespace corvane

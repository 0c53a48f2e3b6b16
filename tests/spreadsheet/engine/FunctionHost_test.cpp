// The portable function host: device names refused, ordinary files and
// folders described, pipes never opened, random numbers inside [0, 1); and
// FILEINFO end to end over real files.
#include "spreadsheet/engine/FunctionHost.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#if defined(__unix__)
#include <sys/stat.h>
#endif

#include "tests/spreadsheet/engine/FunctionTestSupport.h"
#include "tests/spreadsheet/files/TempFolder.h"

namespace corvane {
namespace {

using testing::FunctionTest;
using testing::TTempFolder;

TEST(FunctionHostTest, DeviceNamesAreRecognised) {
  struct Row {
    const char* name;
    bool device;
  } rows[] = {
      {"CON", true},           {"con", true},           {"CON.TXT", true},        {"C:\\DIR\\nul.dat", true},
      {"LPT1", true},          {"COM9.log", true},      {"AUX  ", true},          {"PRN:", true},
      {"conout$", true},       {"dir/Aux.c", true},     {"\\\\.\\PhysicalDrive0", true},
      {"\\\\.\\pipe\\x", true}, {"\\\\?\\C:\\A.TXT", true}, {"COM0", false},       {"COM10", false},
      {"CONSOLE", false},      {"CONFIG.SYS", false},   {"C:\\CON\\FILE.TXT", false}, {"C:", false},
      {"", false},             {"NULL", false},
  };
  for (const Row& row : rows) EXPECT_EQ(IsDeviceFileName(row.name), row.device) << row.name;
}

TEST(FunctionHostTest, PortableHostDescribesFilesAndFolders) {
  TTempFolder folder;
  std::string file = folder.File("DATA.TXT");
  std::ofstream(file, std::ios::binary) << "12345";
  TFunctionHost& host = DefaultFunctionHost();
  TFileFacts facts;
  ASSERT_TRUE(host.QueryFile(file, facts));
  EXPECT_EQ(facts.size, 5u);
  EXPECT_TRUE(facts.canOpen);
  EXPECT_EQ(facts.attributes & 0x10, 0u);
  ASSERT_TRUE(host.QueryFile(folder.Path(), facts));
  EXPECT_EQ(facts.attributes & 0x10, 0x10u);
  EXPECT_FALSE(facts.canOpen);
  EXPECT_FALSE(host.QueryFile(folder.File("MISSING.TXT"), facts));
  EXPECT_FALSE(host.QueryFile(folder.File("NUL"), facts));
  EXPECT_FALSE(host.QueryFile("", facts));
  EXPECT_FALSE(host.CurrentDirectory().empty());
}

#if defined(__unix__)
TEST(FunctionHostTest, PortableHostNeverOpensPipesOrDevices) {
  TTempFolder folder;
  std::string pipe = folder.File("PIPE");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  TFileFacts facts;
  // Opening a pipe for reading would wait for a writer: it is refused unopened.
  EXPECT_FALSE(DefaultFunctionHost().QueryFile(pipe, facts));
  EXPECT_FALSE(DefaultFunctionHost().QueryFile("/dev/null", facts));
}
#endif

TEST(FunctionHostTest, RandomNumbersLieInTheUnitInterval) {
  double low = 1, high = 0;
  for (int k = 0; k < 10000; ++k) {
    double x = DefaultFunctionHost().Random();
    ASSERT_GE(x, 0.0);
    ASSERT_LT(x, 1.0);
    low = std::min(low, x);
    high = std::max(high, x);
  }
  EXPECT_LT(low, 0.01);
  EXPECT_GT(high, 0.99);
}

TEST_F(FunctionTest, FileInfoOverRealFiles) {
  SetFunctionHost(nullptr);
  TTempFolder folder;
  std::string file = folder.File("F.TXT");
  std::ofstream(file, std::ios::binary) << "abc";
  std::string quoted = "\"" + file + "\"";
  ASSERT_LT(quoted.size(), 200u);
  CheckRows({
      {("@FILEINFO(" + quoted + ",1)").c_str(), 3},
      {("@FILEINFO(" + quoted + ",2)").c_str(), 1},
      {"@FILEINFO(\"CON\",2)", 0},
      testing::Err("@FILEINFO(\"CON\",1)"),
      {"@RAND>=0", 1},
  });
}

}  // namespace
}  // namespace corvane

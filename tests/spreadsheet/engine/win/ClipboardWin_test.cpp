// The clipboard under Wine, across programs: a range copied here is read by
// another program as text (and as the private block), and text another
// program puts on the clipboard pastes here as values and labels.
#include "spreadsheet/engine/win/ClipboardWin.h"

#include <gtest/gtest.h>

#include <string>

#include "spreadsheet/engine/Clipboard.h"
#include "tests/spreadsheet/engine/RangeEditSupport.h"
#include "tests/spreadsheet/files/TempFolder.h"
#include "tests/win/RunProgram.h"

namespace corvane {
namespace {

using testing::RangeEditTest;
using testing::ReadWholeFile;
using testing::TTempFolder;
using testing::WriteWholeFile;

// Runs the clipboard peer beside this test program; its exit code, or -1.
int RunPeer(const std::string& verb, const std::string& file) {
  return testsupport::RunAndWait("\"" + testsupport::ExeDir() + "\\clipboard_peer.exe\" " + verb + " \"" + file + "\"");
}

class ClipboardWinTest : public RangeEditTest {
 protected:
  void SetUp() override {
    RangeEditTest::SetUp();
    InstallWindowsClipboard();
  }
  void TearDown() override {
    SetClipboard(nullptr);
    RangeEditTest::TearDown();
  }
  TTempFolder folder;
};

TEST_F(ClipboardWinTest, AnotherProgramReadsWhatWeCopy) {
  Put("A1=+B1*2|B1=1.5|A2='label;with semicolon|B2=@SUM(A1..B1)");
  ASSERT_TRUE(ClipboardCopyRange(R("A1..B3"), false));
  std::string plain, privateBlock;
  ASSERT_TRUE(ClipboardBuildText(R("A1..B3"), true, plain));
  ASSERT_TRUE(ClipboardBuildText(R("A1..B3"), false, privateBlock));
  std::string file = folder.File("read.txt");
  ASSERT_EQ(RunPeer("read", file), 0);
  EXPECT_EQ(ReadWholeFile(file), plain);
  EXPECT_EQ(plain.substr(0, 8), "3\t1.5\r\nl");
  EXPECT_EQ(ReadWholeFile(file + ".prv"), privateBlock);
  // Pasted here again, the private block wins: formulas come back as formulas.
  ASSERT_TRUE(ClipboardPasteRange(9, 3));
  EXPECT_EQ(Edit("D10"), "+B1*2");
  EXPECT_EQ(Edit("D11"), "'label;with semicolon");
  EXPECT_EQ(Shown("E11"), "4.5");
}

TEST_F(ClipboardWinTest, TextFromAnotherProgramPastesAsValuesAndLabels) {
  std::string file = folder.File("put.txt");
  WriteWholeFile(file, "7\thello\t(note)\r\n\r\n2.5\t+A1*2");
  ASSERT_EQ(RunPeer("put", file), 0);
  ASSERT_TRUE(ClipboardPasteRange(0, 0));
  EXPECT_EQ(Edit("A1"), "7");
  EXPECT_EQ(Edit("B1"), "'hello");
  EXPECT_EQ(Edit("C1"), "'(note)");
  EXPECT_EQ(Edit("A2"), "");
  EXPECT_EQ(Edit("A3"), "2.5");
  EXPECT_EQ(Shown("B3"), "14");
}

}  // namespace
}  // namespace corvane

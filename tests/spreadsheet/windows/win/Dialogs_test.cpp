// The smaller dialogs under Wine on a real sheet with the fake window
// services: each driven by real messages, its result read back from the
// cells, and a picture of it.
#include <gtest/gtest.h>

#include "spreadsheet/windows/win/FindForm.h"
#include "tests/spreadsheet/windows/FrameTestSupport.h"
#include "tests/support/win/UiKit.h"

namespace corvane {
namespace {

using namespace classlib;
using testing::gFrameErrors;

class DialogWindows : public testing::FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    OpenCurrent("SHEET1.WKS");
    ASSERT_TRUE(InitNewSheet());
    main_.Position = TPosition::poDesigned;
    main_.SetBounds(0, 0, 320, 200);
    main_.Show();
  }
  static void Press(TWinControl& control) { uikit::Click(control.Handle(), {8, 8}); }
  static void Type(HWND edit, std::string_view text) {
    SendMessageA(edit, EM_SETSEL, 0, -1);
    uikit::TypeChars(edit, text);
  }

  TForm main_{nullptr, "Corvane"};
};

TEST_F(DialogWindows, FindAndReplace) {
  for (auto [row, col, text] : {std::tuple{0, 0, "'xABCx"}, {1, 2, "'abc"}, {2, 1, "@SUM(A1..A3)"}})
    ASSERT_TRUE(EnterCell(text, row, col));
  windows.selection = testing::MakeRange(0, 0, 0, 0);
  auto* dialog = new TFind(&main_);
  dialog->Open();
  uikit::RunUntilIdle();
  EXPECT_EQ(dialog->Caption(), "Find & Replace");
  EXPECT_TRUE(dialog->Global.Checked());
  HWND findEdit = FindWindowExA(dialog->ComboBox1.Handle(), nullptr, "Edit", nullptr);
  ASSERT_NE(findEdit, nullptr);
  EXPECT_EQ(GetFocus(), findEdit);

  Type(findEdit, "abc");
  uikit::PressKey(findEdit, VK_RETURN);  // on to the replacement
  EXPECT_EQ(GetFocus(), dialog->Edit2.Handle());
  Press(dialog->CaseInsensitive);
  Press(dialog->Bt1);
  EXPECT_EQ(dialog->Result.Caption(), "A1]'xABCx");
  EXPECT_EQ(windows.selection, testing::MakeRange(0, 0, 0, 0));
  EXPECT_EQ(dialog->Bt1.Caption(), "Find &Next");
  Press(dialog->Bt1);
  EXPECT_EQ(windows.selection, testing::MakeRange(2, 1, 2, 1));
  EXPECT_EQ(dialog->ComboBox1.Items(), std::vector<std::string>{"abc"});

  Type(dialog->Edit2.Handle(), "abcd");
  Press(dialog->ReplaceAll);
  EXPECT_EQ(gFrameErrors, std::vector<std::string>{"Error:Circular Replace Detected"});
  Type(findEdit, "SUM");
  Type(dialog->Edit2.Handle(), "AVG");
  EXPECT_EQ(dialog->Bt1.Caption(), "Fi&nd");
  Press(dialog->ReplaceAll);
  EXPECT_EQ(dialog->Result.Caption(), "1 occurances!");
  EXPECT_EQ(Contents(2, 1), "@AVG(A1..A3)");
  EXPECT_EQ(dialog->ComboBox1.Items(), (std::vector<std::string>{"SUM", "abc"}));

  EXPECT_NE(uikit::SaveWindowPicture(dialog->Handle(), "find-replace"), "");
  Press(dialog->Cancel);
  EXPECT_FALSE(IsWindowVisible(dialog->Handle()));
}

}  // namespace
}  // namespace corvane

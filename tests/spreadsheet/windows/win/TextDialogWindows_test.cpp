// The function list, justify and word dialogs under Wine, opened through
// their commands on a real document with the fake window services and driven
// by real input; a picture of each.
#include <sstream>
#include <string>
#include <string_view>

#include "spreadsheet/engine/RangePrompt.h"
#include "spreadsheet/windows/win/TextDialogForms.h"
#include "tests/spreadsheet/files/WorksheetTestSupport.h"
#include "tests/support/win/UiKit.h"

namespace corvane {
namespace {

using namespace classlib;
using C = TCommandId;

class TextDialogWindows : public testing::WorksheetTest {
 protected:
  void SetUp() override {
    WorksheetTest::SetUp();
    main_.Position = TPosition::poDesigned;
    main_.SetBounds(0, 0, 320, 200);
    main_.Show();
    host_.frame = &main_;
    host_.columnPixels = [](int) { return 72; };
    host_.sheetFonts = [] { return TSheetFonts{}; };
    host_.insertText = [this](std::string_view text) { inserted_ += text; };
    BindTextDialogCommands(table_, host_);
    state_.sheetOpen = true;
  }
  static bool Showing(TWinControl& dialog) { return IsWindowVisible(dialog.Handle()) != FALSE; }
  static void Type(TEdit& edit, std::string_view text) {
    edit.SetFocus();
    edit.SelectAll();
    uikit::TypeChars(edit.Handle(), text);
  }
  std::string Contents(int row, int col) { return CellContentsText(CellFind(row, col)); }
  // The words of column A's first `rows` labels, in order.
  std::string Words(int rows) {
    std::string words;
    for (int row = 0; row < rows; ++row) {
      std::istringstream in(Contents(row, 0).substr(Contents(row, 0).empty() ? 0 : 1));
      for (std::string word; in >> word;) words += word + " ";
    }
    return words;
  }

  TForm main_{nullptr, "Corvane"};
  TTextDialogHost host_;
  TCommandTable table_;
  TCommandState state_;
  std::string inserted_;
};

TEST_F(TextDialogWindows, FunctionList) {
  state_.editing = true;
  uikit::RunInsideModal([] {
    TGetFun* dialog = dynamic_cast<TGetFun*>(TWinControl::FromHandle(GetActiveWindow()));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->Caption(), "Functions");
    uikit::TypeChars(dialog->Edit1.Handle(), "s");
    ASSERT_GE(dialog->ListBox1.ItemIndex(), 0);
    EXPECT_EQ(dialog->ListBox1.Item(dialog->ListBox1.ItemIndex())[0], 'S');
    Type(dialog->Edit1, "ABS");
    EXPECT_EQ(dialog->ListBox1.Item(dialog->ListBox1.ItemIndex()), "ABS(1)");
    EXPECT_NE(uikit::SaveWindowPicture(dialog->Handle(), "function-list"), "");
    uikit::PressKey(dialog->Edit1.Handle(), VK_RETURN);
  });
  EXPECT_TRUE(table_.Run(C::kFunctionPick, state_));
  EXPECT_EQ(inserted_, "ABS(");

  // A click shows the pick in the edit; a double click takes it.
  uikit::RunInsideModal([] {
    TGetFun* dialog = dynamic_cast<TGetFun*>(TWinControl::FromHandle(GetActiveWindow()));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->Caption(), "Macros");
    uikit::Click(dialog->ListBox1.Handle(), {10, 5});
    EXPECT_EQ(dialog->Edit1.Text(), dialog->ListBox1.Item(0));
    uikit::DoubleClick(dialog->ListBox1.Handle(), {10, 5});
  });
  EXPECT_TRUE(table_.Run(C::kMacroPick, state_));
  EXPECT_EQ(inserted_, "ABS(" + FunctionListDialog(host_).ListBox1.Item(0));

  // A right click and Escape insert nothing.
  TGetFun& dialog = FunctionListDialog(host_);
  uikit::RunInsideModal([&] { uikit::Click(dialog.ListBox1.Handle(), {10, 5}, TMouseButton::mbRight); });
  EXPECT_EQ(dialog.Execute(kFunctionListFunctions), -1);
  EXPECT_EQ(dialog.Picked(), "");
  uikit::RunInsideModal([&] { uikit::PressKey(dialog.Edit1.Handle(), VK_ESCAPE); });
  EXPECT_EQ(dialog.Execute(kFunctionListFunctions), mrCancel);
}

TEST_F(TextDialogWindows, JustifyDialog) {
  Enter(0, 0, "'Some words to be justified into lines");
  Enter(1, 0, "'of the width that the dialog was given,");
  Enter(2, 0, "'keeping every word in its place.");
  const std::string words = Words(3);
  windows.selection = testing::MakeRange(0, 0, 1, 2);

  ASSERT_TRUE(table_.Run(C::kRangeJustify, state_));
  TJustifyDlg& dialog = JustifyDialog(host_);
  uikit::RunUntilIdle();
  ASSERT_TRUE(Showing(dialog));
  EXPECT_EQ(dialog.PEdit1->Text(), "A1..B3");
  EXPECT_EQ(dialog.PEdit2->Text(), "36");
  Type(dialog.PEdit2->Edit(), "30*2");
  dialog.PEdit1->Edit().SetFocus();
  uikit::RunUntilIdle();
  EXPECT_EQ(dialog.PEdit2->Text(), "60");

  // The range from a prompt: the dialog hides meanwhile.
  uikit::DoubleClick(dialog.PEdit1->Edit().Handle(), {5, 5});
  EXPECT_FALSE(Showing(dialog));
  EXPECT_NE(windows.promptCaption.find("Justify Range"), std::string::npos);
  windows.promptText = "A1..A8";
  RangePromptEnd(true);
  uikit::RunUntilIdle();
  ASSERT_TRUE(Showing(dialog));
  EXPECT_EQ(dialog.PEdit1->Text(), "A1..A8");
  EXPECT_EQ(dialog.PEdit2->Text(), "18");
  Type(dialog.PEdit2->Edit(), "40");
  uikit::Click(dialog.Pad.Handle(), {4, 4});
  EXPECT_TRUE(dialog.Pad.Checked());
  EXPECT_NE(uikit::SaveWindowPicture(dialog.Handle(), "justify-dialog"), "");

  uikit::Click(dialog.Ok.Handle(), {8, 8});
  uikit::RunUntilIdle();
  EXPECT_FALSE(Showing(dialog));
  EXPECT_TRUE(testing::gShownErrors.empty());
  EXPECT_NE(Contents(3, 0), "") << "three long labels need more lines at 160 pixels";
  EXPECT_EQ(Words(8), words);

  // Escape empties the field it is pressed in, then closes the dialog.
  ASSERT_TRUE(table_.Run(C::kRangeJustify, state_));
  uikit::RunUntilIdle();
  ASSERT_TRUE(Showing(dialog));
  dialog.PEdit2->Edit().SetFocus();
  uikit::PressKey(GetFocus(), VK_ESCAPE);
  EXPECT_EQ(dialog.PEdit2->Text(), "");
  EXPECT_TRUE(Showing(dialog));
  uikit::PressKey(GetFocus(), VK_ESCAPE);
  EXPECT_FALSE(Showing(dialog));
}

TEST_F(TextDialogWindows, WordDialog) {
  Enter(0, 0, "'one");
  Enter(1, 0, "'two");
  Enter(2, 0, "'three");
  windows.selection = testing::MakeRange(0, 0, 0, 2);
  uikit::RunInsideModal([] {
    auto* dialog = dynamic_cast<TWordDlg*>(TWinControl::FromHandle(GetActiveWindow()));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->Memo1.Lines(), (std::vector<std::string>{"'one", "'two", "'three"}));
    dialog->Memo1.SetLines({"'uno", "'dos"});
    EXPECT_NE(uikit::SaveWindowPicture(dialog->Handle(), "word-dialog"), "");
    uikit::Click(dialog->Ok.Handle(), {8, 8});
  });
  EXPECT_TRUE(table_.Run(C::kWord, state_));
  EXPECT_EQ(Contents(0, 0), "'uno");
  EXPECT_EQ(Contents(1, 0), "'dos");
  EXPECT_EQ(Contents(2, 0), "'three");
}

}  // namespace
}  // namespace corvane

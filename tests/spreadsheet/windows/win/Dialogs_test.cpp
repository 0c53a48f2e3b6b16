// The smaller dialogs under Wine on a real sheet with the fake window
// services: each driven by real messages, its result read back from the
// cells, and a picture of it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/windows/win/FindForm.h"
#include "spreadsheet/windows/win/GeneralForm.h"
#include "spreadsheet/windows/win/SizeCopyForms.h"
#include "tests/spreadsheet/windows/FakeGeneralSheet.h"
#include "tests/spreadsheet/windows/FrameTestSupport.h"
#include "tests/support/win/DialogChecks.h"
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

  static void Type(TPEdit& field, std::string_view text) {
    field.Edit().SetFocus();
    Type(field.Edit().Handle(), text);
  }

  // Runs `script` once the next modal form is up, from within its run.
  static void WhenModal(std::function<void(TForm&)> script) {
    Script() = std::move(script);
    SetTimer(nullptr, 0, 20, RunScript);
  }
  static void CALLBACK RunScript(HWND, UINT, UINT_PTR id, DWORD) {
    auto* form = dynamic_cast<TForm*>(TWinControl::FromHandle(GetActiveWindow()));
    if (form == nullptr || !form->Modal()) return;
    KillTimer(nullptr, id);
    std::function<void(TForm&)> run = std::move(Script());
    run(*form);
  }
  static std::function<void(TForm&)>& Script() {
    static std::function<void(TForm&)> script;
    return script;
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

TEST_F(DialogWindows, WidthOrHeight) {
  windows.selection = testing::MakeRange(0, 0, 5, 0);
  windows.defaultColumnChars = 9;
  auto* dialog = new TWideform(main_, [] { return nullptr; });
  dialog->Open(0);
  uikit::RunUntilIdle();
  EXPECT_EQ(dialog->Caption(), "Set  Width or Height");
  EXPECT_EQ(dialog->PEdit1->Text(), "A1..F1");
  EXPECT_EQ(dialog->PEdit4->Text(), "9");
  EXPECT_FALSE(IsWindowEnabled(main_.Handle()));
  Type(*dialog->PEdit4, "6*2");
  Type(*dialog->PEdit5, "1");
  EXPECT_EQ(dialog->PEdit4->Text(), "12");  // evaluated when left
  EXPECT_NE(uikit::SaveWindowPicture(dialog->Handle(), "width-height"), "");
  Press(dialog->OkButton());
  uikit::RunUntilIdle();
  EXPECT_EQ(windows.columnSizes, (std::map<int, int>{{0, 12}, {2, 12}, {4, 12}}));
  EXPECT_TRUE(IsWindowEnabled(main_.Handle()));

  // The row page: only the heights change; Escape leaves everything.
  dialog->Open(1);
  uikit::RunUntilIdle();
  EXPECT_EQ(dialog->tabbar1->Model().ItemIndex(), 1);
  Type(*dialog->PEdit2, "30");
  Press(dialog->OkButton());
  uikit::RunUntilIdle();
  EXPECT_EQ(windows.rowSizes, (std::map<int, int>{{0, 30}}));
  EXPECT_EQ(windows.columnSizes.size(), 3u);
  dialog->Open(1);
  uikit::RunUntilIdle();
  Type(*dialog->PEdit2, "40");
  dialog->OkButton().SetFocus();
  uikit::PressKey(dialog->OkButton().Handle(), VK_ESCAPE);
  EXPECT_FALSE(IsWindowVisible(dialog->Handle()));
  EXPECT_EQ(windows.rowSizes, (std::map<int, int>{{0, 30}}));
}

TEST_F(DialogWindows, SpecialCopy) {
  ASSERT_TRUE(EnterCell("4", 0, 0));
  ASSERT_TRUE(EnterCell("+A1*2", 1, 0));
  windows.selection = testing::MakeRange(0, 0, 0, 1);
  auto* dialog = new Tcopydlg(main_);
  dialog->Open();
  uikit::RunUntilIdle();
  EXPECT_EQ(dialog->Caption(), "Copy");
  EXPECT_EQ(dialog->PEdit1->Text(), "A1..A2");
  EXPECT_TRUE(dialog->Types[0]->Checked());
  Type(*dialog->PEdit2, "B1");
  uikit::Click(dialog->Factor->Handle(), {4, 4});
  Type(dialog->Factor->Handle(), "1/2");
  EXPECT_TRUE(dialog->Types[4]->Checked());
  dialog->PEdit2->Edit().SetFocus();
  EXPECT_EQ(dialog->Factor->Text(), "0.5");
  EXPECT_NE(uikit::SaveWindowPicture(dialog->Handle(), "special-copy"), "");
  Press(dialog->OkButton());
  uikit::RunUntilIdle();
  EXPECT_EQ(Contents(0, 1), "2");
  EXPECT_EQ(Contents(1, 1), "4");
}

// The width, copy and find dialogs from the keyboard: each opens on its
// first field, Tab goes round every control in reading order, nothing
// overlaps, and two Escapes (the first empties the field) close it.
TEST_F(DialogWindows, KeyboardWalks) {
  windows.selection = testing::MakeRange(0, 0, 2, 0);
  auto* width = new TWideform(main_, [] { return nullptr; });
  auto* copy = new Tcopydlg(main_);
  auto* find = new TFind(&main_);
  const struct {
    TForm* dialog;
    std::function<void()> open;
    const char* first;
  } rows[] = {
      {width, [width] { width->Open(0); }, "Edit<R&ange: >"},
      {width, [width] { width->Open(1); }, "Edit<R&ange: >"},
      {copy, [copy] { copy->Open(); }, "Edit<&From: >"},
      {find, [find] { find->Open(); }, "ComboBox<>"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.dialog->Caption());
    row.open();
    uikit::RunUntilIdle();
    EXPECT_EQ(uikit::ControlName(GetFocus()), row.first);
    const uikit::TTabWalk walk = uikit::WalkTabOrder(row.dialog->Handle());
    ASSERT_FALSE(walk.cycle.empty());
    EXPECT_EQ(walk.cycle.back().find("trapped"), std::string::npos) << walk.cycle.back();
    EXPECT_EQ(walk.unreached, std::vector<std::string>{});
    EXPECT_EQ(walk.backwards, std::vector<std::string>{});
    EXPECT_EQ(uikit::OverlappingControls(row.dialog->Handle()), std::vector<std::string>{});
    SetWindowTextA(GetFocus(), "A1");
    uikit::PressKey(GetFocus(), VK_ESCAPE);
    uikit::PressKey(GetFocus(), VK_ESCAPE);
    EXPECT_FALSE(IsWindowVisible(row.dialog->Handle())) << "two Escapes close it";
    EXPECT_TRUE(IsWindowEnabled(main_.Handle()));
  }
}

TEST_F(DialogWindows, GeneralSettings) {
  testing::TFakeGeneralSheet sheet;
  auto* dialog = new TGendlg(&main_, [&sheet] { return &sheet; });
  // Option page: the boxes act at once; Ok keeps them and the sizes typed.
  WhenModal([&](TForm&) {
    uikit::RunUntilIdle();
    EXPECT_EQ(dialog->Caption(), "General Option");
    EXPECT_TRUE(dialog->Options[0]->Checked());
    Press(*dialog->Options[0]);  // Show Zero Values off
    Press(*dialog->GridLines[1]);  // no horizontal lines
    Press(*dialog->Alignment[2]);
    Type(*dialog->Rows, "9*2");
    EXPECT_EQ(gCurrentDoc.settings.hideZeros, 1);
    EXPECT_EQ(sheet.gridLines, 2);
    EXPECT_NE(uikit::SaveWindowPicture(dialog->Handle(), "general-option"), "");
    Press(dialog->Ok);
  });
  EXPECT_EQ(dialog->Open(kGeneralOption), mrOk);
  EXPECT_EQ(gCurrentDoc.settings.labelPrefix, '"');
  EXPECT_EQ(sheet.rowHeight, 18);
  EXPECT_EQ(windows.modifiedMarks, 1);

  // Color page, then Escape: the colour goes back.
  const std::uint32_t before = gCurrentDoc.settings.valueColour;
  WhenModal([&](TForm&) {
    uikit::RunUntilIdle();
    Press(*dialog->Items[kItemValue]);
    Press(dialog->IgnoreBackground);
    EXPECT_NE(gCurrentDoc.settings.valueColour, before);
    EXPECT_NE(uikit::SaveWindowPicture(dialog->Handle(), "general-color"), "");
    uikit::PressKey(dialog->IgnoreBackground.Handle(), VK_ESCAPE);
  });
  EXPECT_EQ(dialog->Open(kGeneralColor), mrCancel);
  EXPECT_EQ(gCurrentDoc.settings.valueColour, before);
  EXPECT_EQ(gCurrentDoc.settings.labelPrefix, '"');

  // Advanced page: the separator lists offer only what is taken, ";" never;
  // chosen by keys, "|" between arguments and then "," as the decimal point
  // make "." the thousands separator.
  WhenModal([&](TForm&) {
    uikit::RunUntilIdle();
    auto items = [](const TComboBox& box) {
      std::string all;
      for (int i = 0; i < box.Count(); ++i) all += box.Item(i);
      return all;
    };
    EXPECT_EQ(items(dialog->Argument), ",|");
    EXPECT_EQ(items(dialog->Decimal), ".");
    dialog->Argument.SetFocus();
    uikit::PressKey(GetFocus(), VK_DOWN);
    EXPECT_EQ(ProgramSettings().Sep, '|');
    EXPECT_EQ(items(dialog->Decimal), ".,");
    dialog->Decimal.SetFocus();
    uikit::PressKey(GetFocus(), VK_DOWN);
    EXPECT_EQ(std::string() + ProgramSettings().Sep + FormatSettings().Comma + FormatSettings().Period, "|.,");
    EXPECT_EQ(dialog->Thousands.Text(), ".");
    Press(dialog->Cancel);
  });
  EXPECT_EQ(dialog->Open(kGeneralAdvanced), mrCancel);
  EXPECT_EQ(std::string() + ProgramSettings().Sep + FormatSettings().Comma + FormatSettings().Period, ",,.");

  // A picture of each of the other pages; Apply Globally shows on four.
  for (int page : {kGeneralFormat, kGeneralTypeface, kGeneralFiles, kGeneralAdvanced}) {
    WhenModal([&](TForm&) {
      uikit::RunUntilIdle();
      EXPECT_EQ(IsWindowVisible(dialog->ApplyGlobally.Handle()) != FALSE, page < kGeneralFiles);
      std::string name = GeneralPageName(page);
      std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
      EXPECT_NE(uikit::SaveWindowPicture(dialog->Handle(), "general-" + name), "");
      Press(dialog->Cancel);
    });
    EXPECT_EQ(dialog->Open(page), mrCancel);
  }
}

}  // namespace
}  // namespace corvane

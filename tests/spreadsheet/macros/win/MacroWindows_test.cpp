// Key replay into a real edit control, and the macro menu and input box
// driven by real input; a picture of each form.
#include <functional>
#include <string>
#include <vector>

#include "classlib/win/Application.h"
#include "classlib/win/MainMenu.h"
#include "spreadsheet/macros/win/KeyReplayQueue.h"
#include "spreadsheet/macros/win/MacroForms.h"
#include "tests/spreadsheet/macros/MacroTestSupport.h"
#include "tests/support/win/UiKit.h"

namespace corvane {
namespace {

class MacroWindows : public testing::MacroTest {
 protected:
  void SetUp() override {
    MacroTest::SetUp();
    main_.Position = classlib::TPosition::poDesigned;
    main_.SetBounds(0, 0, 320, 120);
    edit_.SetParent(&main_);
    edit_.SetBounds(10, 10, 280, 24);
    main_.Show();
    edit_.SetFocus();
    host_.mainWindow = main_.Handle();
    SetMacroHost(&host_);
    runner_.player = &queue_;
    runner_.layout = &layout_;
  }

  // Runs `script` once the next modal form is up; a form it leaves open is
  // closed after it.
  static void RunInsideModal(std::function<void()> script) {
    Pending() = std::move(script);
    SetTimer(nullptr, 0, 20, RunPending);
  }
  static void CALLBACK RunPending(HWND, UINT, UINT_PTR id, DWORD) {
    auto* form = dynamic_cast<classlib::TForm*>(classlib::TWinControl::FromHandle(GetActiveWindow()));
    if (form == nullptr || !form->Modal()) return;
    KillTimer(nullptr, id);
    std::function<void()> run = std::move(Pending());
    run();
    if (form->ModalResult() == classlib::mrNone) form->Close();
  }
  static std::function<void()>& Pending() {
    static std::function<void()> pending;
    return pending;
  }

  classlib::TForm main_{nullptr, "Corvane"};
  classlib::TEdit edit_{nullptr};
  TMacroHostWin host_;
  TKeyReplayQueue queue_;
  TWinKeyLayout layout_;
  TMacroRunner runner_;
};

TEST_F(MacroWindows, KeysReachTheFocusedEditBeforeEachCommand) {
  std::vector<std::string> seen;
  runner_.command = [&] {
    while (MacroNextByte() > 13) {
    }
    seen.push_back(edit_.Text());
    // The user's own key while the next run plays is held off.
    PostMessageA(edit_.Handle(), WM_KEYDOWN, 'Z', 1);
  };
  ASSERT_TRUE(RunMacroText("aB@{GOTO A1}cd{LEFT}{BS}x", runner_));
  uikit::RunUntilIdle();
  EXPECT_EQ(seen, std::vector<std::string>{"aB@"});
  EXPECT_EQ(edit_.Text(), "aB@xd");
  EXPECT_FALSE(queue_.Busy());
  EXPECT_GE(GetKeyState(VK_SHIFT), 0);  // no modifier left pressed
  EXPECT_TRUE(testing::gShownErrors.empty());

  // Alt opens the menu bar and the letters after it choose from it.
  classlib::TMainMenu menu(nullptr, &main_);
  auto* file = new classlib::TMenuItem();
  file->Caption = "&File";
  auto* open = new classlib::TMenuItem();
  open->Caption = "&Open";
  int opened = 0;
  open->OnClick = [&](classlib::TObject*) { ++opened; };
  file->Add(open);
  menu.Items()->Add(file);
  menu.Rebuild();
  uikit::RunUntilIdle();
  ASSERT_TRUE(RunMacroText("{ALT}fo", runner_));
  uikit::RunUntilIdle();
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(edit_.Text(), "aB@xd");

  // A run cancelled half-way (a break) leaves no Shift pressed.
  edit_.SetText("");
  edit_.SetFocus();
  edit_.OnChange = [&](classlib::TObject*) {
    if (edit_.Text().size() == 2) queue_.Cancel();
  };
  ASSERT_TRUE(queue_.Play(TranslateKeyRun("ABCDEFGHIJ", layout_)));
  uikit::RunUntilIdle();
  edit_.OnChange = nullptr;
  EXPECT_EQ(edit_.Text(), "AB");
  EXPECT_GE(GetKeyState(VK_SHIFT), 0);

  // Caps Lock does not turn the case of replayed letters, and stays as it was.
  BYTE state[256];
  GetKeyboardState(state);
  state[VK_CAPITAL] |= 1;
  SetKeyboardState(state);
  edit_.SetText("");
  ASSERT_TRUE(queue_.Play(TranslateKeyRun("aB", layout_)));
  uikit::RunUntilIdle();
  EXPECT_EQ(edit_.Text(), "aB");
  EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 1);
  GetKeyboardState(state);
  state[VK_CAPITAL] &= ~1;
  SetKeyboardState(state);
}

TEST_F(MacroWindows, MenuAndInputBoxAnswers) {
  TMmenu menu(nullptr);
  const std::vector<std::string> items = {"Sales", "Costs", "Quit"};
  RunInsideModal([&] {
    uikit::PressKey(menu.ttabmenu1.Handle(), VK_DOWN);
    EXPECT_EQ(menu.Width(), 108);  // every item narrower than 100 pixels
    uikit::SaveWindowPicture(menu.Handle(), "macro_menu");
    uikit::PressKey(menu.ttabmenu1.Handle(), VK_RETURN);
  });
  EXPECT_EQ(menu.Choose(items), 2);
  RunInsideModal([&] { uikit::PressKey(menu.ttabmenu1.Handle(), VK_ESCAPE); });
  EXPECT_EQ(menu.Choose(items), 4);
  RunInsideModal([] {});  // closed some other way
  EXPECT_EQ(menu.Choose(items), 4);

  // The selected item's description shows below the items.
  std::string shown;
  RunInsideModal([&] {
    uikit::PressKey(menu.ttabmenu1.Handle(), VK_DOWN);
    shown = menu.Panel3.Text();
    uikit::SaveWindowPicture(menu.Handle(), "macro_menu_descriptions");
    uikit::PressKey(menu.ttabmenu1.Handle(), VK_ESCAPE);
  });
  EXPECT_EQ(menu.Choose(items, {"*  this year's sales", "*  what it cost", ""}), 4);
  EXPECT_EQ(shown, "*  what it cost");

  // Dragging the title strip moves the menu by the distance dragged.
  RunInsideModal([&] {
    int left = menu.Left();
    uikit::MouseDown(menu.Panel2.Handle(), {20, 5});
    uikit::MouseMove(menu.Panel2.Handle(), {50, 25}, classlib::ssLeft);
    uikit::MouseUp(menu.Panel2.Handle(), {50, 25});
    EXPECT_EQ(menu.Left(), left + 30);
    uikit::PressKey(menu.ttabmenu1.Handle(), VK_RETURN);
  });
  EXPECT_EQ(menu.Choose(items), 1);

  TLbinput input(nullptr);
  RunInsideModal([&] {
    uikit::TypeChars(input.Edit1.Handle(), "42");
    uikit::SaveWindowPicture(input.Handle(), "macro_input_box");
    uikit::PressKey(input.Edit1.Handle(), VK_RETURN);
  });
  EXPECT_EQ(input.Ask(), "42");
  RunInsideModal([&] { uikit::TypeChars(input.Edit1.Handle(), "half"); });
  EXPECT_EQ(input.Ask(), std::nullopt);  // closed without Ok
  RunInsideModal([&] {
    uikit::TypeChars(input.Edit1.Handle(), "half");
    uikit::PressKey(input.Edit1.Handle(), VK_ESCAPE);
  });
  EXPECT_EQ(input.Ask(), std::nullopt);
}

TEST_F(MacroWindows, ABreakClosesTheBoxTheMacroWaitsOn) {
  ASSERT_TRUE(MacroStartText("x"));
  TLbinput input(nullptr);
  int result = classlib::mrNone;
  RunInsideModal([&] {
    MacroBreak();
    uikit::RunUntilIdle();
    result = input.ModalResult();
  });
  EXPECT_EQ(input.Ask(), std::nullopt);
  EXPECT_EQ(result, classlib::mrCancel) << "the box stayed open after the break";
  MacroStop();
}

}  // namespace
}  // namespace corvane

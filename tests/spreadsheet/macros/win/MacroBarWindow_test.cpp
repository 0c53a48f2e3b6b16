// The macro toolbar under Wine, driven by real mouse messages: a click runs
// a button's macro, the hint follows the mouse, the arrows scroll, Define
// Button edits a line, and the glyph strip is saved when the bar goes.
#include "spreadsheet/macros/win/MacroBarWindow.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/spreadsheet/files/TempFolder.h"
#include "tests/support/win/UiKit.h"

namespace corvane {
namespace {

using namespace classlib;

TEST(MacroBarWindow, ButtonsHintsScrollingAndDefineButton) {
  testing::TTempFolder folder;
  std::filesystem::path glyphs = folder.File("MACROS.BTN");
  TForm form(nullptr, "Macro bar");
  form.SetBounds(0, 0, 200, 300);
  std::vector<std::string> picked;
  {
    tbarmenu bar(nullptr);
    bar.SetParent(&form);
    bar.SetBounds(10, 10, 24, 4 * 20 + 10 + 4);
    bar.SetGlyphFile(glyphs.string());
    bar.SetItems({"Add|Add it|{CALC}", "", "Go|Top|{HOME}"});
    bar.Onpick = [&picked](TObject*, const std::string& macro) { picked.push_back(macro); };
    form.Show();
    uikit::RunUntilIdle();
    const int margin = bar.Margin();
    ASSERT_EQ(margin, 15);

    // A click on button 0 runs its macro; one on a button without a macro
    // (an empty line) runs nothing; the hint follows the mouse.
    uikit::Click(bar.Handle(), {12, margin + 5});
    uikit::Click(bar.Handle(), {12, margin + 25});
    EXPECT_EQ(picked, std::vector<std::string>{"{CALC}"});
    uikit::MouseMove(bar.Handle(), {12, margin + 45});
    EXPECT_EQ(bar.ItemIndex(), 2);
    EXPECT_EQ(bar.Hint(), "Top");
    uikit::MouseMove(bar.Handle(), {12, margin + 25});
    EXPECT_EQ(bar.Hint(), kUnassignedMacro);
    // Painting gave the missing visible lines a blank.
    EXPECT_GE(bar.Items().size(), 3u);

    // The down arrow scrolls by one button.
    uikit::Click(bar.Handle(), {12, bar.Height() - 5});
    EXPECT_EQ(bar.FirstVisible(), 1);
    uikit::Click(bar.Handle(), {12, 3});
    EXPECT_EQ(bar.FirstVisible(), 0);
    uikit::SaveWindowPicture(form.Handle(), "macro-bar");

    // Define Button on button 1: a name, a hint and a macro on two lines.
    uikit::RunInsideModal([] {
      auto* dialog = dynamic_cast<TBardlg*>(TWinControl::FromHandle(GetActiveWindow()));
      ASSERT_NE(dialog, nullptr);
      EXPECT_EQ(dialog->NameEdit.Text(), "");
      dialog->NameEdit.SetText("Print");
      dialog->HintEdit.SetText("Print it");
      dialog->Memo1.SetLines({"{PRINT}", "~"});
      uikit::SaveWindowPicture(dialog->Handle(), "define-button-dialog");
      uikit::Click(dialog->OkButton.Handle(), {8, 8});
    });
    // The outline travels from the button to the dialog in the middle of
    // the screen before it shows.
    std::vector<TRect> outline;
    bar.OnAnimateOutline = [&outline](const TRect& from, const TRect& to) { outline = {from, to}; };
    PostMessageA(bar.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(12, margin + 25));
    uikit::RunUntilIdle();
    EXPECT_EQ(bar.Items()[1], "Print|Print it|{PRINT}~");
    ASSERT_EQ(outline.size(), 2u);
    POINT corner{0, margin + 20};
    ClientToScreen(bar.Handle(), &corner);
    EXPECT_EQ(outline[0].Top, corner.y);
    EXPECT_LE(outline[0].Bottom, corner.y + 20);  // button 1 of the 20-pixel pitch
    EXPECT_EQ((outline[1].Left + outline[1].Right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2);
    uikit::Click(bar.Handle(), {12, margin + 25});
    EXPECT_EQ(picked.back(), "{PRINT}~");
  }
  // The bar saved its glyph strip as it went.
  TBitmap strip;
  ASSERT_TRUE(strip.LoadFromFile(glyphs.string()));
  EXPECT_EQ(strip.Width(), 20);
  EXPECT_EQ(strip.Height(), 1000);
}

}  // namespace
}  // namespace corvane

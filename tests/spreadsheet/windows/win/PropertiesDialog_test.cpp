// The properties dialog under Wine on a real document with the fake window
// services: every page touched by real clicks, Ok, a page alone closed by
// Escape, the range prompt; then the style bar's colour boxes and the Range
// menu's commands on the main frame.
#include <string>
#include <vector>

#include "classlib/win/Application.h"
#include "spreadsheet/engine/PoolString.h"
#include "spreadsheet/engine/RangePrompt.h"
#include "spreadsheet/windows/win/MainFrame.h"
#include "spreadsheet/windows/win/PropertiesForm.h"
#include "tests/spreadsheet/windows/win/DialogWindowTest.h"
#include "tests/support/win/DialogChecks.h"

namespace corvane {
namespace {

using namespace classlib;

TPoint ButtonCentre(TBmpBut& grid, int k) {
  TRect r = grid.Model().ButtonRect(k);
  return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
}

class PropertiesWindows : public testing::DialogWindowTest {
 protected:
  const TCell& At(int row, int col) { return *CellPtr(CellFind(row, col)); }
  static void ChoosePage(TPropty& dialog, int page) {
    uikit::Click(dialog.ttabmenu1.Handle(), {20, dialog.ttabmenu1.Model().ItemRect(page).Top + 5});
    uikit::RunUntilIdle();
  }

  std::vector<std::string> fontList_{"Arial", "Courier New"};
};

// Every page from the keyboard, each kind of format shown: nothing overlaps,
// Tab goes round every control in reading order.
TEST_F(PropertiesWindows, EveryPageFromTheKeyboard) {
  windows.selection = testing::MakeRange(0, 0, 0, 0);
  TPropty dialog(main_, [this] { return TSheetFonts{"Arial", 12, &fontList_}; }, [] {});
  for (int page = 0; page < kPropertyPageCount; ++page) {
    const int kinds = page == kPageFormat ? dialog.Wformat1.Kinds().Model().ItemCount() : 1;
    for (int kind = 0; kind < kinds; ++kind) {
      SCOPED_TRACE("page " + std::to_string(page) + " kind " + std::to_string(kind));
      dialog.ShowProperties(page);
      uikit::RunUntilIdle();
      if (page == kPageFormat) {
        uikit::Click(dialog.Wformat1.Kinds().Handle(), ButtonCentre(dialog.Wformat1.Kinds(), kind));
        if (kind == 0) {
          EXPECT_NE(uikit::SaveWindowPicture(dialog.Handle(), "properties-format"), "");
        }
      }
      EXPECT_EQ(uikit::OverlappingControls(dialog.Handle()), std::vector<std::string>{});
      const uikit::TTabWalk walk = uikit::WalkTabOrder(dialog.Handle());
      ASSERT_FALSE(walk.cycle.empty());
      EXPECT_EQ(walk.cycle.back().find("trapped"), std::string::npos) << walk.cycle.back();
      EXPECT_EQ(walk.unreached, std::vector<std::string>{});
      EXPECT_EQ(walk.backwards, std::vector<std::string>{});
      Press(dialog.CancelButton);
    }
  }
}

TEST_F(PropertiesWindows, EveryPageThenOk) {
  Enter(0, 0, "'abc");
  Enter(1, 0, "5");
  windows.selection = testing::MakeRange(0, 0, 1, 1);
  int applied = 0;
  TPropty dialog(main_, [this] { return TSheetFonts{"Arial", 12, &fontList_}; }, [&] { ++applied; });
  dialog.ShowProperties(0);
  uikit::RunUntilIdle();
  ASSERT_TRUE(Showing(dialog));
  EXPECT_FALSE(MainEnabled());
  EXPECT_EQ(dialog.PEdit1.Text(), "A1..B2");
  EXPECT_FALSE(dialog.OkButton.Enabled()) << "nothing touched yet";
  EXPECT_EQ(dialog.BmpBut4.Itemindex(), 0) << "A1 is protected";

  uikit::Click(dialog.Wformat1.Kinds().Handle(), ButtonCentre(dialog.Wformat1.Kinds(), fkFixed));
  EXPECT_TRUE(dialog.OkButton.Enabled());
  EXPECT_TRUE(dialog.ttabmenu1.Model().Marked(kPageFormat));
  std::uint8_t format = dialog.Wformat1.Format();

  ChoosePage(dialog, kPageShade);
  EXPECT_EQ(dialog.Notebook1->PageIndex(), kPageShade);
  TRect cell = dialog.cformat1.Palette().Model().CellRect(10);
  uikit::Click(dialog.cformat1.Palette().Handle(), {cell.Left + 3, cell.Top + 3});
  TColor shade = dialog.cformat1.Color();
  EXPECT_NE(shade, clWhite);
  EXPECT_EQ(dialog.fontmenu1.BackColor(), shade) << "the sample shows the shade";

  ChoosePage(dialog, kPageTypeface);
  uikit::Click(dialog.fontmenu1.Styles().Handle(), ButtonCentre(dialog.fontmenu1.Styles(), 0));
  EXPECT_NE(uikit::SaveWindowPicture(dialog.Handle(), "properties-typeface"), "");
  ChoosePage(dialog, kPagePrefix);
  uikit::Click(dialog.BmpBut3.Handle(), ButtonCentre(dialog.BmpBut3, kPrefixCenter));
  ChoosePage(dialog, kPageLock);
  uikit::Click(dialog.BmpBut4.Handle(), ButtonCentre(dialog.BmpBut4, 1));
  ChoosePage(dialog, kPageBorder);
  uikit::Click(dialog.BmpBut1.Handle(), ButtonCentre(dialog.BmpBut1, kBorderSingle));
  uikit::Click(dialog.BmpBut2.Handle(), ButtonCentre(dialog.BmpBut2, kApplyOut));
  EXPECT_EQ(dialog.Values().changed, 0x3F);
  EXPECT_NE(uikit::SaveWindowPicture(dialog.Handle(), "properties-border"), "");
  ChoosePage(dialog, kPageFormat);
  EXPECT_NE(uikit::SaveWindowPicture(dialog.Handle(), "properties-format"), "");

  Press(dialog.OkButton);
  uikit::RunUntilIdle();
  EXPECT_FALSE(Showing(dialog));
  EXPECT_TRUE(MainEnabled());
  EXPECT_EQ(applied, 1);
  EXPECT_EQ(At(0, 0).format, format) << "the format, protection off";
  EXPECT_EQ(At(0, 0).attributes & 0x80FFFFFFu, shade);
  EXPECT_EQ(At(0, 0).style & 0x07, 1) << "bold";
  EXPECT_EQ(PoolStringView(At(0, 0).text), "^abc");
  EXPECT_EQ((At(1, 0).style >> 4) & 7, 3) << "a number is centred";
  EXPECT_EQ(At(0, 0).borders, 0x41) << "left and top of the range";
  EXPECT_EQ(At(1, 1).borders, 0x14) << "bottom and right";

  // One page alone: no list menu; Escape closes without a change.
  dialog.ShowProperties(-kPageLock - 1);
  uikit::RunUntilIdle();
  EXPECT_FALSE(dialog.ttabmenu1.Visible());
  EXPECT_EQ(dialog.Notebook1->PageIndex(), kPageLock);
  EXPECT_EQ(dialog.BmpBut4.Itemindex(), 1) << "A1 was unprotected";
  EXPECT_NE(uikit::SaveWindowPicture(dialog.Handle(), "properties-lock"), "");
  uikit::PressKey(dialog.BmpBut4.Handle(), VK_ESCAPE);
  uikit::RunUntilIdle();
  EXPECT_FALSE(Showing(dialog));
  EXPECT_TRUE(MainEnabled());
  EXPECT_EQ(applied, 1);

  // The range from a prompt: the dialog hides meanwhile and keeps its page.
  dialog.ShowProperties(kPageShade);
  uikit::RunUntilIdle();
  uikit::DoubleClick(dialog.PEdit1.Edit().Handle(), {5, 5});
  EXPECT_FALSE(Showing(dialog));
  EXPECT_TRUE(MainEnabled());
  EXPECT_NE(windows.promptCaption.find(kPropertiesPromptCaption), std::string::npos);
  windows.promptText = "C3";
  RangePromptEnd(true);
  uikit::RunUntilIdle();
  ASSERT_TRUE(Showing(dialog));
  EXPECT_FALSE(MainEnabled());
  EXPECT_EQ(dialog.PEdit1.Text(), "C3");
  EXPECT_EQ(dialog.Notebook1->PageIndex(), kPageShade);
  Press(dialog.CancelButton);
  uikit::RunUntilIdle();
  EXPECT_FALSE(Showing(dialog));
  EXPECT_EQ(CellFind(2, 2), kNilHandle);
}

// Sheet windows are plain MDI children; the document is the fixture's.
class TPlainSheets : public TSheetWindows {
 public:
  TForm* CreateSheetWindow(TForm1&, std::string_view, bool) override { return nullptr; }
  void DiscardSheetWindow(TForm* window) override { delete window; }
  void RenameActiveSheetWindow(std::string_view) override {}
  void SetGridExtendMode(bool) override {}
  TSheetFonts SheetFonts() override { return {"Arial", 12, nullptr}; }
  void SetFontList(const std::vector<std::string>&) override {}
  void RecalculateAll() override {}
  TSheetView* ActiveView() override { return nullptr; }
};

TEST_F(PropertiesWindows, ColourBoxesAndRangeMenu) {
  TPlainSheets sheets;
  auto* frame = new TForm1(nullptr, sheets);
  frame->SetBounds(0, 0, 900, 500);
  frame->Show();
  auto* sheet = new TForm(frame, "SHEET1.WKS");
  sheet->FormStyle = TFormStyle::fsMDIChild;
  sheet->Show();
  uikit::RunUntilIdle();
  frame->RefreshIndicators();
  ASSERT_TRUE(frame->FillBox.Enabled());
  ASSERT_TRUE(frame->TextBox.Enabled());

  windows.selection = testing::MakeRange(0, 0, 1, 0);
  auto choose = [](Tclrcombo& box, int cellIndex) {
    uikit::Click(box.Handle(), {10, 10});
    ASSERT_TRUE(box.DroppedDown());
    Tclrbox& cells = box.Popup().Palette();
    TRect r = cells.Model().CellRect(cellIndex);
    uikit::Click(cells.Handle(), {r.Left + 3, r.Top + 3});
    uikit::RunUntilIdle();
  };
  choose(frame->FillBox, 18);
  choose(frame->TextBox, 10);  // palette index 9
  TColor fill = frame->FillBox.Clr();
  ASSERT_NE(CellFind(0, 1), kNilHandle);
  EXPECT_EQ(At(0, 1).attributes, 0x09000000u | fill);
  EXPECT_NE(uikit::SaveWindowPicture(frame->StyleBar.Handle(), "style-bar-colours"), "");

  // The indicators follow the cursor cell: an empty one shows white.
  windows.cursorCol = 3;
  frame->RefreshIndicators();
  EXPECT_EQ(frame->FillBox.Clr(), clWhite);
  EXPECT_EQ(frame->TextBox.Clr(), 0x000000u);
  windows.cursorCol = 1;
  frame->RefreshIndicators();
  EXPECT_EQ(frame->FillBox.Clr(), fill);
  EXPECT_EQ(frame->TextBox.Clr(), kSmallPalette[9]);

  // The Range menu's items open the dialog at their page.
  EXPECT_TRUE(frame->RunCommand(TCommandId::kPropLock));
  uikit::RunUntilIdle();
  HWND dialog = FindWindowA("TPropty", kPropertiesCaption);
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(IsWindowVisible(dialog));
  EXPECT_FALSE(IsWindowEnabled(frame->Handle()));
  SendMessageA(dialog, WM_CLOSE, 0, 0);
  uikit::RunUntilIdle();
  EXPECT_FALSE(IsWindowVisible(dialog));
  EXPECT_TRUE(IsWindowEnabled(frame->Handle()));
  delete frame;
}

}  // namespace
}  // namespace corvane

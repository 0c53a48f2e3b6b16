// The pickers on one form under Wine, driven by real mouse and key messages:
// the format picker (and its glyph button grids), the drop-down pickers and
// palette, the colour panel, the glyph combo box, the list menu and the font
// picker; then a picture of them all.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/win/Controls.h"
#include "spreadsheet/controls/win/DropPickers.h"
#include "spreadsheet/controls/win/FormatPickerWindow.h"
#include "tests/support/win/UiKit.h"

namespace corvane {
namespace {

using namespace classlib;

template <class T>
T* Place(TForm& form, int left, int top) {
  auto* control = new T(&form);
  control->SetParent(&form);
  control->SetLeft(left);
  control->SetTop(top);
  return control;
}

// The centre of button k of a glyph grid, in its client coordinates.
TPoint ButtonCentre(TBmpBut& grid, int k) {
  TRect r = grid.Model().ButtonRect(k);
  return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
}

TEST(PickersWindow, EveryPickerOnAFormByMouseAndKeys) {
  uikit::TEventLog log;
  TForm form(nullptr, "Pickers");
  form.Position = TPosition::poDesigned;
  form.SetBounds(10, 10, 900, 640);
  auto* format = Place<TWformat>(form, 8, 8);
  format->Onclick = log.Notify("format");
  format->OnEnterKey = log.Notify("format enter");
  auto* list = Place<TCbox>(form, 340, 560);
  std::vector<std::string> items;
  for (int i = 1; i <= 30; ++i) items.push_back("Item " + std::to_string(i));
  list->SetItems(items);
  list->SetItemindex(2);
  list->Onchange = log.Notify("list");
  auto* combo = Place<Tclrcombo>(form, 440, 560);
  combo->SetCaption("Colour");
  combo->SetClr(0x0000FF);
  combo->Onchange = log.Notify("combo");
  auto* palette = Place<Tclrbox>(form, 340, 480);
  palette->Model().Onchange = [&] { log.Lines.push_back("palette " + std::to_string(palette->Cindex())); };
  form.Show();
  uikit::RunUntilIdle();

  // The format picker: a byte shows its kind and panel; clicks and keys on
  // the kinds grid change the byte.
  format->SetFormat(0x22);
  EXPECT_EQ(format->Format(), 0x22);
  EXPECT_TRUE(format->Editfocus());
  EXPECT_EQ(log.Lines.size(), 0u) << "a written format fires nothing";
  uikit::Click(format->Kinds().Handle(), ButtonCentre(format->Kinds(), fkDate));
  EXPECT_FALSE(format->Editfocus());
  EXPECT_TRUE(IsWindowVisible(format->Dates().Handle()));
  uikit::Click(format->Dates().Handle(), ButtonCentre(format->Dates(), 3));
  EXPECT_EQ(format->Format(), 0x7A);
  format->Kinds().SetFocus();
  uikit::PressKey(format->Kinds().Handle(), 'P');
  EXPECT_EQ(format->Kinds().Itemindex(), fkPercent);
  uikit::PressKey(format->Kinds().Handle(), VK_RETURN);
  EXPECT_TRUE(format->Digits().Edit().Focused());
  format->Digits().SetText("20");
  EXPECT_EQ(format->Format(), 0x37);
  uikit::PressKey(format->Digits().Edit().Handle(), VK_RETURN);
  EXPECT_EQ(log.Lines, (std::vector<std::string>{"format", "format", "format enter"}));
  log.Clear();

  // The string list opens above its panel with 20 rows and a scroll bar;
  // hovering selects, a click chooses.
  uikit::Click(list->Handle(), {10, 10});
  ASSERT_TRUE(list->DroppedDown());
  TListBox& rows = list->Popup().List();
  RECT listRect, panelRect;
  GetWindowRect(list->Popup().Handle(), &listRect);
  GetWindowRect(list->Handle(), &panelRect);
  EXPECT_EQ(listRect.bottom, panelRect.top);
  int itemHeight = static_cast<int>(SendMessageA(rows.Handle(), LB_GETITEMHEIGHT, 0, 0));
  EXPECT_EQ(listRect.bottom - listRect.top, itemHeight * 20 + 4);
  auto itemPoint = [&](int i) {
    RECT r{};
    SendMessageA(rows.Handle(), LB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
    return TPoint{r.left + 10, r.top + 2};
  };
  uikit::MouseMove(rows.Handle(), itemPoint(4));
  EXPECT_EQ(rows.ItemIndex(), 4);
  uikit::Click(rows.Handle(), itemPoint(5));
  EXPECT_FALSE(list->DroppedDown());
  EXPECT_EQ(list->Caption(), "Item 6");
  // A second press on the panel closes it; so does a press elsewhere.
  uikit::Click(list->Handle(), {10, 10});
  uikit::Click(list->Handle(), {10, 10});
  EXPECT_FALSE(list->DroppedDown());
  uikit::Click(list->Handle(), {10, 10});
  ASSERT_TRUE(list->DroppedDown());
  uikit::SendClick(form.Handle(), {600, 300});
  uikit::RunUntilIdle();
  EXPECT_FALSE(list->DroppedDown());

  // The colour picker: a palette cell sets the colour; the palette alone.
  uikit::Click(combo->Handle(), {10, 10});
  ASSERT_TRUE(combo->DroppedDown());
  Tclrbox& cells = combo->Popup().Palette();
  TRect cell18 = cells.Model().CellRect(18);
  uikit::Click(cells.Handle(), {cell18.Left + 3, cell18.Top + 3});
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(combo->Clr(), 0xFF8000u);
  TRect cell44 = palette->Model().CellRect(44);
  uikit::Click(palette->Handle(), {cell44.Left + 3, cell44.Top + 3});
  EXPECT_EQ(palette->value(), 0x000000u);
  EXPECT_EQ(log.Lines, (std::vector<std::string>{"list", "combo", "palette 44"}));
  log.Clear();

  EXPECT_NE(uikit::SaveWindowPicture(form.Handle(), "pickers"), "");
}

}  // namespace
}  // namespace corvane

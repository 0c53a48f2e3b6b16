// The pickers on one form under Wine, driven by real mouse and key messages:
// the format picker (and its glyph button grids), the drop-down pickers and
// palette, the colour panel, the glyph combo box, the list menu and the font
// picker; then a picture of them all.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/win/Controls.h"
#include "spreadsheet/controls/win/ColourFormatWindow.h"
#include "spreadsheet/controls/win/DropPickers.h"
#include "spreadsheet/controls/win/FontPickerWindow.h"
#include "spreadsheet/controls/win/GlyphComboWindow.h"
#include "spreadsheet/controls/win/ListMenuWindow.h"
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

// A glyph of rows x cols cells 24 x 20: on silver (transparent), a square
// in a colour of its own in each.
void DrawTestGlyph(TBitmap& glyph, int rows, int cols) {
  glyph.SetSize(cols * 24, rows * 20);
  TCanvas& canvas = glyph.Canvas();
  canvas.Brush = TBrush{clSilver};
  canvas.FillRect({0, 0, glyph.Width(), glyph.Height()});
  for (int i = 0; i < rows * cols; ++i) {
    int x = i % cols * 24, y = i / cols * 20;
    canvas.Brush = TBrush{kSmallPalette[(i + 1) % 16]};
    canvas.Pen = TPen{clBlack};
    canvas.Rectangle({x + 4, y + 3, x + 20, y + 17});
  }
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
  auto* colour = Place<Tcformat>(form, 340, 8);
  colour->SetCaption(" Colour ");
  colour->Onchange = log.Notify("colour");
  auto* menu = Place<ttabmenu>(form, 560, 8);
  menu->SetCaption("Menu");
  menu->SetItems({"&Open", "&Save", "Quit", "&Print"});
  menu->Model().Hints = {"Opens", "Saves"};
  menu->Model().OnEnterkey = [&] { log.Lines.push_back("menu " + std::to_string(menu->ItemIndex())); };
  menu->SetBounds(560, 8, menu->Maxwidth(), menu->Maxheight());
  auto* font = Place<Tfontmenu>(form, 8, 250);
  font->SetChicklet(true);
  font->onchange = log.Notify("font");
  TBitmap glyph;
  DrawTestGlyph(glyph, 3, 4);
  auto* pictures = Place<TBmpCombo>(form, 560, 200);
  pictures->SetBounds(560, 200, 80, 24);
  pictures->SetGlyph(glyph);
  pictures->SetRows(3);
  pictures->SetCols(4);
  pictures->Loaded();
  auto* shapes = Place<TBmpBut>(form, 680, 200);
  shapes->Model().SetRows(3);
  shapes->Model().SetCols(4);
  shapes->Model().SetBrows(3);
  shapes->Model().SetBcols(4);
  shapes->Model().SetBw(24);
  shapes->Model().SetBh(20);
  shapes->Model().SetLabelOn(false);
  shapes->Model().SetGroupon(true);
  shapes->SetCaption("&Shapes");
  shapes->SetGlyph(glyph);
  shapes->SetItems(std::vector<std::string>(12, ""));
  shapes->SetItemindex(5);
  form.Show();
  uikit::RunUntilIdle();
  // The system's cursor rests on an empty spot of the form, wherever an
  // earlier program left it: no mouse move of the system's falls on a picker
  // while a posted click holds it.
  const TPoint emptySpot{600, 300};
  EXPECT_TRUE(uikit::PlaceCursor(form.Handle(), emptySpot));

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
  uikit::SendClick(form.Handle(), emptySpot);
  uikit::RunUntilIdle();
  EXPECT_FALSE(list->DroppedDown());
  list->Setsorted(true);
  EXPECT_EQ(list->Items()[1], "Item 10");
  EXPECT_EQ(list->Caption(), "Item 6");
  EXPECT_EQ(list->Items()[list->Itemindex()], "Item 6") << "the chosen item stays chosen";

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

  // The colour panel: a typed red value moves its bar, the swatch and the
  // palette's mark; Down moves to the next field.
  colour->Field(0).SetFocus();
  colour->Field(0).SetText("");
  uikit::TypeChars(colour->Field(0).Handle(), "255");
  EXPECT_EQ(colour->Bar(0).Position(), 255);
  EXPECT_EQ(colour->Color(), 0x0000FFu);
  EXPECT_EQ(colour->Swatch().Color(), 0x0000FFu);
  EXPECT_EQ(colour->Palette().value(), 0x0000FFu);
  EXPECT_EQ(colour->CaptionLabel().Font().Color, clBlue);
  uikit::PressKey(colour->Field(0).Handle(), VK_DOWN);
  EXPECT_TRUE(colour->Field(1).Focused());
  TRect cell10 = colour->Palette().Model().CellRect(10);
  uikit::Click(colour->Palette().Handle(), {cell10.Left + 3, cell10.Top + 3});
  EXPECT_EQ(colour->Bar(1).Position(), 192);
  EXPECT_EQ(colour->Field(2).Text(), "128");
  EXPECT_EQ(log.Lines.back(), "colour");
  log.Clear();

  // The list menu: a letter chooses at once, arrows wrap, a click chooses.
  menu->SetFocus();
  uikit::PressKey(menu->Handle(), 'S');
  EXPECT_EQ(menu->Hint(), "Saves");
  uikit::PressKey(menu->Handle(), VK_END);
  uikit::PressKey(menu->Handle(), VK_DOWN);
  EXPECT_EQ(menu->ItemIndex(), 0);
  uikit::Click(menu->Handle(), {20, menu->Model().ItemRect(3).Top + 5});
  EXPECT_EQ(log.Lines, (std::vector<std::string>{"menu 1", "menu 3"}));
  log.Clear();

  // The glyph combo box and the glyph grid.
  EXPECT_EQ(pictures->count(), 12);
  EXPECT_EQ(pictures->Perform(CB_GETITEMHEIGHT, 0, 0), 24);
  uikit::PressKey(shapes->Handle(), VK_DOWN);
  EXPECT_EQ(shapes->Itemindex(), 9);

  // The font picker: a typed name selects its entry whatever its case; the
  // size list and the toggles change the sample; a chip colours it.
  ASSERT_GT(font->Fonts().Count(), 0);
  std::string first(FontEntryName(font->Fonts().Item(0)));
  std::string lower = first;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  font->NameField().SetText("");
  uikit::TypeChars(font->NameField().Handle(), lower);
  EXPECT_EQ(font->Fontindex(), 0);
  RECT sizeRect{};
  SendMessageA(font->Sizes().Handle(), LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&sizeRect));
  uikit::Click(font->Sizes().Handle(), {sizeRect.left + 5, sizeRect.top + 2});
  EXPECT_EQ(font->fontsize(), 12);
  EXPECT_EQ(font->newfont().Size(), 12);
  uikit::Click(font->Styles().Handle(), ButtonCentre(font->Styles(), 0));
  EXPECT_TRUE(font->newfont().Bold());
  TRect chip6 = font->Chips().Model().ChipRect(6);
  uikit::Click(font->Chips().Handle(), {chip6.Left + 2, chip6.Top + 2});
  EXPECT_EQ(font->Forecolor(), 6);
  EXPECT_EQ(font->newfont().Color, 0x008080u);
  EXPECT_GE(log.Lines.size(), 3u);
  EXPECT_EQ(log.Lines.back(), "font");
  log.Clear();

  EXPECT_NE(uikit::SaveWindowPicture(form.Handle(), "pickers"), "");
}

}  // namespace
}  // namespace corvane

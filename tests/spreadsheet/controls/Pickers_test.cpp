// The pickers' rules: format bytes to the format picker and back, the glyph
// grid's keys, toggles, letters and collapse, the palette's nearest cell, the
// colour panel's linked channels, the list menu and the font picker's
// lookups and chips.
#include <gtest/gtest.h>

#include <cstdlib>

#include "classlib/RecordingControlHost.h"
#include "spreadsheet/controls/ColourFormat.h"
#include "spreadsheet/controls/ColourPalette.h"
#include "spreadsheet/controls/FontPicker.h"
#include "spreadsheet/controls/FormatPicker.h"
#include "spreadsheet/controls/GlyphGrid.h"
#include "spreadsheet/controls/ListMenu.h"

namespace corvane {
namespace {

using classlib::TMouseButton;
using classlib::TRecordingControlHost;
using classlib::TCanvasCall;
using classlib::TCanvasOp;
using classlib::TRecordingCanvas;
namespace vk = classlib::vk;

TEST(FormatPicker, FormatBytesShowAndReadBack) {
  struct {
    int in;
    int kind;
    int out;
  } rows[] = {
      {0x22, fkCurrency, 0x22}, {0x2B, fkFrac, 0x2B},    {0x77, fkTime, 0x77},    {0x78, fkTime, 0x78},
      {0x7F, fkGeneral, 0x71},  {0x0F, fkFixed, 0x0F},   {0x5A, fkEng, 0x5A},     {0x72, fkDate, 0x72},
      {0x7A, fkDate, 0x7A},     {0x7C, fkTime, 0x7C},    {0x70, fkBar, 0x70},     {0x75, fkText, 0x75},
      {0x76, fkHidden, 0x76},   {0x7E, fkLabel, 0x7E},   {0xA2, fkCurrency, 0x22},  // protection bit ignored
      {0x65, fkGeneral, 0x71},  {0x7D, fkGeneral, 0x71},  // the other general bytes
      {0x3A, fkPercent, 0x32},   // percent shows only bits 0 to 2
  };
  for (auto& r : rows) {
    TFormatChoice c = FormatChoiceFor(static_cast<uint8_t>(r.in));
    EXPECT_EQ(c.Kind, r.kind) << std::hex << r.in;
    EXPECT_EQ(FormatByteOf(c), r.out) << std::hex << r.in;
  }
  EXPECT_EQ(FormatChoiceFor(0x2B).DenominatorItem, 3);
  EXPECT_STREQ(kFormatDenominatorCaptions[3], "&4) 8");
  // Digits typed by hand: at most 15, and currency and percent at most 7 so
  // that they never turn into fractions or lose their decimals.
  EXPECT_EQ(FormatByteOf({fkFixed, 20}), 0x0F);
  EXPECT_EQ(FormatByteOf({fkCurrency, 9}), 0x27);
  EXPECT_EQ(FormatByteOf({fkPercent, 12}), 0x37);
  EXPECT_EQ(FormatByteOf({fkReset}), 0x7F);
  EXPECT_EQ(FormatPanelFor(fkTime), TFormatPanel::Times);
  EXPECT_EQ(FormatPanelFor(fkDate), TFormatPanel::Dates);
  EXPECT_STREQ(FormatNoteFor(fkLabel), "All Data Converted to Labels");
}

TEST(GlyphGrid, EveryFormatKindLabelShowsWhole) {
  // The picker's kinds: 3 buttons of 48 pixels; a label too wide for the
  // default font is drawn smaller rather than cut.
  TRecordingControlHost host{144, 224};
  TBmpButModel grid{host};
  grid.SetRows(5);
  grid.SetCols(3);
  grid.SetBw(48);
  grid.SetBh(36);
  std::vector<std::string> items(kFormatKindCaptions.begin(), kFormatKindCaptions.end());
  grid.SetItems(items);
  TRecordingCanvas canvas;
  grid.Paint(canvas, false, {});
  int labels = 0;
  for (const TCanvasCall& call : canvas.CallsOf(TCanvasOp::TextRect)) {
    const int width = static_cast<int>(call.Text.size()) * std::max(1, std::abs(call.Font.Height) / 2);
    EXPECT_LE(width, call.Rect.Width()) << call.Text;
    ++labels;
  }
  EXPECT_EQ(labels, 15);
}

TEST(GlyphGrid, KeysTogglesLettersAndCollapse) {
  TRecordingControlHost host{200, 300};
  TBmpButModel grid{host};
  int changes = 0, enters = 0;
  grid.Onchange = [&] { ++changes; };
  grid.OnEnterKey = [&] { ++enters; };
  grid.SetRows(5);
  grid.SetCols(3);
  std::vector<std::string> items;
  for (const char* caption : kFormatKindCaptions) items.push_back(caption);
  items[14] = "No letter";
  grid.SetItems(items);
  EXPECT_EQ(grid.Accelerators(), "FSEACMG+PDTHXL") << "the letters it takes";
  struct {
    int from, key, to;
  } moves[] = {{13, vk::Down, 1}, {1, vk::Up, 13}, {0, vk::Left, 14}, {14, vk::Right, 0}, {5, vk::Home, 0},
               {5, vk::End, 14}, {-1, vk::Down, 2}, {3, 'p', 8},      {8, 'a', 3}};
  for (auto& m : moves) {
    grid.SetItemindex(m.from);
    grid.KeyDown(m.key);
    EXPECT_EQ(grid.Itemindex(), m.to) << m.from << " key " << m.key;
  }
  // A key no item carries, and items without "&", select nothing.
  grid.SetItemindex(4);
  EXPECT_FALSE(grid.KeyDown('*'));
  EXPECT_FALSE(grid.KeyDown('Q'));
  EXPECT_EQ(grid.Itemindex(), 4);
  EXPECT_TRUE(grid.KeyDown(vk::Return));
  EXPECT_EQ(enters, 1);

  // Fewer items than columns: Up wraps within the items.
  TBmpButModel two{host};
  two.SetCols(3);
  two.SetItems({"&A", "&B"});
  two.SetItemindex(0);
  two.KeyDown(vk::Up);
  EXPECT_EQ(two.Itemindex(), 1);
  TBmpButModel none{host};
  none.KeyDown(vk::Down);
  EXPECT_EQ(none.Itemindex(), -1);

  // Toggle: the same item twice leaves its bit clear, Onchange twice.
  grid.SetToggle(true);
  changes = 0;
  grid.SetItemindex(2);
  EXPECT_EQ(grid.Mask(), 4);
  grid.SetItemindex(2);
  EXPECT_EQ(grid.Mask(), 0);
  EXPECT_EQ(changes, 2);
  grid.SetItemindex(-1);
  EXPECT_EQ(grid.Mask(), 0);
  grid.SetToggle(false);

  // Collapsed: a press opens the grid, moving follows the mouse, release
  // closes it on the new choice.
  grid.SetCollapse(true);
  grid.SetItemindex(0);
  EXPECT_EQ(grid.PreferredSize().cx, grid.CellWidth() + 1);
  grid.MouseDown(TMouseButton::mbLeft, 5, 5);
  EXPECT_TRUE(grid.Open());
  EXPECT_EQ(grid.PreferredSize().cx, 3 * grid.CellWidth() + 1);
  grid.MouseMove(grid.CellWidth() * 2 + 5, grid.CellHeight() + 5);
  EXPECT_EQ(grid.Itemindex(), 5);
  grid.MouseUp(TMouseButton::mbLeft, 0, 0);
  EXPECT_FALSE(grid.Open());
  EXPECT_EQ(grid.Itemindex(), 5);
  EXPECT_TRUE(grid.Sticky());
}

TEST(GlyphGrid, GlyphCellsAndComboItemHeights) {
  EXPECT_EQ(GlyphCellRect(96, 60, 3, 4, 5), (classlib::TRect{24, 20, 48, 40}));
  EXPECT_EQ(GlyphCellRect(96, 60, 0, 0, 0), (classlib::TRect{0, 0, 96, 60}));
  EXPECT_EQ(GlyphComboItemHeight(60, 3, 14), 22);
  EXPECT_EQ(GlyphComboItemHeight(60, 3, 22), 24);
  EXPECT_EQ(GlyphComboItemHeight(60, 0, 22), 62);
}

TEST(Palette, NearestCellAndCaptionContrast) {
  TRecordingControlHost host{170, 58};
  TClrboxModel box{host};
  int changes = 0;
  box.Onchange = [&] { ++changes; };
  box.Setvalue(0xFE0000);
  EXPECT_EQ(box.Cindex(), 17);
  EXPECT_EQ(box.value(), 0xFF0000u);
  EXPECT_EQ(host.Beeps.size(), 1u);
  EXPECT_EQ(changes, 1);
  // Presses outside the grid pick its edge cells.
  box.MouseDown(TMouseButton::mbLeft, -5, 500);
  EXPECT_EQ(box.Cindex(), 43);
  box.MouseUp(TMouseButton::mbLeft, 500, -5);
  EXPECT_EQ(box.Cindex(), 14);
  box.SetCindex(57);
  box.SetCindex(-1);
  EXPECT_EQ(box.Cindex(), 14);
  // The arrows walk the 14 x 4 grid and stop at its edges; other keys pass.
  struct {
    int key, cell;
  } keys[] = {{vk::Right, 14}, {vk::Down, 28}, {vk::Left, 27}, {vk::End, 56}, {vk::Down, 56}, {vk::Home, 1}, {vk::Up, 1}};
  for (auto& k : keys) {
    EXPECT_TRUE(box.KeyDown(k.key));
    EXPECT_EQ(box.Cindex(), k.cell) << "key " << k.key;
  }
  EXPECT_FALSE(box.KeyDown('A'));
  box.SetCindex(40);
  box.SetBig(false);
  EXPECT_EQ(box.Cindex(), 0) << "a big cell past the small palette";
  box.SetOrient(1);
  EXPECT_EQ(box.CellAt(0, 200), 8);

  EXPECT_EQ(SwatchTextColor(0x80FF00), classlib::clBlack);
  EXPECT_EQ(SwatchTextColor(0x800000), classlib::clWhite);
  TDropListSize list = DropListSize(30, 16, 90, 60);
  EXPECT_EQ(list.Rows, 20);
  EXPECT_EQ(list.Width, 110);
  EXPECT_EQ(list.Height, 324);
  EXPECT_EQ(DropListSize(3, 16, 40, 60).Width, 60);
}

TEST(ColourFormat, ChannelsPaletteAndSwatchFollowEachOther) {
  TRecordingControlHost host{170, 58};
  TClrboxModel palette{host};
  TColourFormatModel panel;
  int bars[3] = {}, changes = 0, clicks = 0;
  classlib::TColor swatch = 1, caption = 0;
  panel.ShowChannel = [&](int k, int v) { bars[k] = v; };
  panel.ShowSwatch = [&](classlib::TColor c) { swatch = c; };
  panel.MarkPalette = [&](classlib::TColor c) { palette.Setvalue(c); };
  panel.ShowCaption = [&](classlib::TColor c) { caption = c; };
  palette.Onchange = [&] { panel.PaletteChanged(palette.value()); };
  panel.Onchange = [&] { ++changes; };
  panel.Onclick = [&] { ++clicks; };

  panel.FieldChanged(0, "255");
  EXPECT_EQ(bars[0], 255);
  EXPECT_EQ(swatch, 0x0000FFu);
  EXPECT_EQ(palette.CellColor(palette.Cindex()), 0x0000FFu);
  EXPECT_EQ(caption, classlib::clBlue);
  // A colour off the palette stays as the bars say.
  panel.ChannelChanged(1, 100);
  EXPECT_EQ(panel.Color(), 0x0064FFu);
  EXPECT_EQ(bars[1], 100);
  // A palette choice moves the bars.
  palette.Setvalue(0x80C0FF);
  EXPECT_EQ(bars[0], 255);
  EXPECT_EQ(bars[1], 192);
  EXPECT_EQ(bars[2], 128);
  // Field text out of range or without digits.
  struct {
    const char* text;
    int value;
  } fields[] = {{"300", 255}, {"-5", 5}, {"abc", -1}, {"", -1}, {"099", 99}};
  for (auto& f : fields) EXPECT_EQ(ColourChannelFromText(f.text), f.value) << f.text;

  // With Ignore: changes still fire, the caption stays black, no Onclick.
  panel.SetIgnore(true);
  changes = clicks = 0;
  panel.FieldChanged(2, "7");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(caption, classlib::clBlack);
}

TEST(ListMenu, KeysLettersMouseAndSize) {
  TRecordingControlHost host{120, 200};
  TTabMenuModel menu{host};
  int enters = 0;
  menu.OnEnterkey = [&] { ++enters; };
  menu.SetItems({"&Open", "&Save", "Quit", "&Print", "E&xit"});
  EXPECT_EQ(menu.Maxheight(), 141);
  EXPECT_FALSE(menu.KeyDown('!'));
  EXPECT_TRUE(menu.KeyDown('s'));
  EXPECT_EQ(menu.ItemIndex(), 1);
  EXPECT_EQ(enters, 1);
  menu.KeyDown(vk::End);
  menu.KeyDown(vk::Down);
  EXPECT_EQ(menu.ItemIndex(), 0);
  menu.KeyDown(vk::Up);
  EXPECT_EQ(menu.ItemIndex(), 4);
  // Hover selects only with Float; a release over an item chooses it.
  menu.MouseMove(10, menu.FirstItemTop() + 25);
  EXPECT_EQ(menu.ItemIndex(), 4);
  menu.Float = true;
  menu.MouseMove(10, menu.FirstItemTop() + 25);
  EXPECT_EQ(menu.ItemIndex(), 1);
  menu.MouseDown(TMouseButton::mbLeft, 10, menu.FirstItemTop() + 45);
  menu.MouseUp(TMouseButton::mbLeft, 10, menu.FirstItemTop() + 45);
  EXPECT_EQ(menu.ItemIndex(), 2);
  EXPECT_EQ(enters, 2);
  menu.Mark(30);
  menu.Mark(2);
  EXPECT_TRUE(menu.Marked(2));
  TTabMenuModel empty{host};
  EXPECT_FALSE(empty.KeyDown(vk::Down));
  EXPECT_EQ(empty.ItemIndex(), -1);
}

TEST(FontPicker, LookupsChipsAndSample) {
  std::vector<std::string> fonts = {FontListEntry("Arial", true), FontListEntry("Courier", false),
                                    FontListEntry("Times New Roman", true)};
  EXPECT_EQ(FindFontEntry(fonts, "arial"), 0);
  EXPECT_EQ(FindFontEntry(fonts, "TIMES NEW ROMAN"), 2);
  EXPECT_EQ(FindFontEntry(fonts, "Arial Black"), -1);
  EXPECT_EQ(FontEntryName(fonts[1]), "Courier");
  EXPECT_FALSE(FontEntryIsTrueType(fonts[1]));
  EXPECT_EQ(FindFontSize("18"), 5);
  EXPECT_EQ(FindFontSize("17"), -1);

  TRecordingControlHost host{44, 48};
  TColorPanelModel chips{host};
  int picked = -1;
  chips.OnPick = [&](int chip) { picked = chip; };
  struct {
    int col, row, chip;
  } presses[] = {{2, 1, 6}, {0, 0, 0}, {3, 3, 15}};
  for (auto& p : presses) {
    classlib::TRect r = chips.ChipRect(p.chip);
    EXPECT_EQ(chips.ChipAt(r.Left + 1, r.Top + 1), p.chip);
    EXPECT_EQ(r.Left, chips.ChipRect(0).Left + p.col * chips.CellSize());
  }
  EXPECT_EQ(chips.ChipAt(-3, 100), 12) << "clamped to the grid";
  EXPECT_EQ(chips.ChipAt(100, -3), 3);
  classlib::TRect teal = chips.ChipRect(6);
  chips.MouseDown(TMouseButton::mbLeft, teal.Left + 2, teal.Top + 2);
  EXPECT_EQ(picked, 6);
  EXPECT_TRUE(chips.Touched());
  // The arrows pick the chip beside, kept in the 4 x 4 grid.
  for (auto [key, chip] : {std::pair{vk::Down, 10}, {vk::Right, 11}, {vk::Right, 11}, {vk::Home, 0}}) {
    EXPECT_TRUE(chips.KeyDown(key));
    EXPECT_EQ(picked, chip) << "key " << key;
  }
  EXPECT_FALSE(chips.KeyDown(vk::Space));

  TFontPickerModel sample;
  int changes = 0;
  sample.onchange = [&] { ++changes; };
  sample.Refresh("Arial", "12", 5, 6);
  EXPECT_EQ(sample.Forecolor(), 6);
  EXPECT_EQ(sample.Sample.Color, classlib::clBlack) << "no chips shown: the sample stays black";
  EXPECT_EQ(sample.Sample.Size(), 12);
  EXPECT_EQ(TFontPickerModel::StyleMask(sample.Sample), 5);
  sample.Refresh("Arial", "", 0, -1);
  EXPECT_EQ(sample.Sample.Size(), 12) << "an empty size field keeps the size";
  EXPECT_EQ(TFontPickerModel::SizeText(sample.Sample), "12");
  sample.SetChicklet(true);
  sample.SetForecolor(6);
  EXPECT_EQ(sample.Sample.Color, 0x008080u);
  sample.SetForecolor(-1);
  sample.SetForecolor(16);
  EXPECT_EQ(sample.Forecolor(), 6);
  sample.Ignore = true;
  sample.Refresh("Arial", "10", 0, -1);
  EXPECT_EQ(changes, 2);
}

}  // namespace
}  // namespace corvane

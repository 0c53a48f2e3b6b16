// Font entries, lookups, the chip panel and the sample.
#include "spreadsheet/controls/FontPicker.h"

#include <algorithm>
#include <cctype>

#include "spreadsheet/controls/ControlDrawing.h"
#include "spreadsheet/controls/ValueEdit.h"

namespace corvane {

using namespace classlib;

const std::array<int, 10> kFontSizes = {6, 8, 10, 12, 14, 18, 24, 32, 48, 72};
const std::array<TColor, 16> kChipColors = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                            0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                            0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

namespace {

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
         });
}

constexpr int kChipMargin = 2;
// Larger sizes overflow a font's height in pixels on a printer.
constexpr int kMaxFontPoints = 1638;

}  // namespace

std::string FontListEntry(std::string_view name, bool trueType) {
  return (trueType ? kTrueTypeMarker : kOtherFontMarker) + std::string(name);
}

std::string_view FontEntryName(std::string_view entry) {
  if (!entry.empty() && (entry[0] == kTrueTypeMarker || entry[0] == kOtherFontMarker)) entry.remove_prefix(1);
  return entry;
}

bool FontEntryIsTrueType(std::string_view entry) { return !entry.empty() && entry[0] == kTrueTypeMarker; }

int FindFontEntry(const std::vector<std::string>& entries, std::string_view name) {
  for (int i = static_cast<int>(entries.size()); i-- > 0;)
    if (SameName(FontEntryName(entries[i]), name)) return i;
  return -1;
}

int FindFontSize(std::string_view text) {
  for (int i = 0; i < static_cast<int>(kFontSizes.size()); ++i)
    if (std::to_string(kFontSizes[i]) == text) return i;
  return -1;
}

TColorPanelModel::TColorPanelModel(TControlHost& host) : host_(host) {}

void TColorPanelModel::SetChosen(int chip) {
  if (chip >= 0 && chip < 16 && SetField(chosen_, chip)) host_.InvalidateAll();
}

void TColorPanelModel::ClearTouched() {
  if (SetField(touched_, false)) host_.InvalidateAll();
}

int TColorPanelModel::CellSize() const {
  TRect client = host_.ClientRect();
  return std::max((std::min(client.Width(), client.Height()) - 2 * kChipMargin) / 4, 1);
}

TRect TColorPanelModel::ChipRect(int chip) const {
  TRect client = host_.ClientRect();
  int cell = CellSize();
  int left = (client.Width() - 4 * cell) / 2, top = (client.Height() - 4 * cell) / 2;
  int col = chip % 4, row = chip / 4;
  return {left + col * cell, top + row * cell, left + col * cell + cell, top + row * cell + cell};
}

int TColorPanelModel::ChipAt(int x, int y) const {
  TRect first = ChipRect(0);
  int cell = CellSize();
  auto index = [&](int d) { return d < 0 ? 0 : std::min(d / cell, 3); };
  return index(x - first.Left) + 4 * index(y - first.Top);
}

void TColorPanelModel::MouseDown(TMouseButton button, int x, int y) {
  if (button != TMouseButton::mbLeft) return;
  host_.Beep(kBeepSimple);
  int chip = ChipAt(x, y);
  pressed_ = true;
  touched_ = true;
  SetChosen(chip);
  host_.InvalidateAll();
  if (OnPick) OnPick(chip);
}

void TColorPanelModel::MouseMove(int x, int y) {
  if (!pressed_) return;
  int chip = ChipAt(x, y);
  if (chip == chosen_) return;
  SetChosen(chip);
  if (OnPick) OnPick(chip);
}

void TColorPanelModel::MouseUp(TMouseButton button, int, int) {
  if (button == TMouseButton::mbLeft) pressed_ = false;
}

bool TColorPanelModel::KeyDown(int key) {
  int row = chosen_ / 4, col = chosen_ % 4;
  if (!GridKeyMove(key, 4, 4, row, col)) return false;
  const int chip = row * 4 + col;
  touched_ = true;
  SetChosen(chip);
  host_.InvalidateAll();
  if (OnPick) OnPick(chip);
  return true;
}

void TColorPanelModel::PaintFocus(TCanvas& canvas) {
  if (Chicklet) canvas.DrawFocusRect(ChipRect(chosen_));
}

void TColorPanelModel::Paint(TCanvas& canvas) {
  TCanvasStateSaver saved(canvas);
  TRect client = host_.ClientRect();
  FillSolid(canvas, client, clBtnFace);
  if (touched_) {
    canvas.Brush = TBrush{clBlue};
    canvas.FrameRect(client);
  }
  if (!Chicklet) return;
  canvas.Pen = TPen{clBlack};
  for (int chip = 0; chip < 16; ++chip) {
    TRect r = ChipRect(chip);
    canvas.Brush = TBrush{kChipColors[chip]};
    canvas.Rectangle(r);
    if (chip != chosen_) continue;
    canvas.Brush = TBrush{clWhite};
    canvas.FrameRect(r);
    canvas.Brush = TBrush{clBlack};
    canvas.FrameRect(r.Inflate(-1, -1));
  }
}

void TFontPickerModel::SetForecolor(int chip) {
  if (chip < 0 || chip > 15) return;
  chip_ = chip;
  Sample.Color = Chicklet ? kChipColors[chip] : clBlack;
}

void TFontPickerModel::SetChicklet(bool on) {
  Chicklet = on;
  if (on) return;
  SampleText = "ABC123";
  Sample.Color = clBlack;
}

void TFontPickerModel::Refresh(const std::string& name, std::string_view sizeText, int styleMask, int chip) {
  Sample.Name = name;
  int size = PEditTextToInt(sizeText);
  if (size > 0 && size <= kMaxFontPoints) Sample.SetSize(size);
  if (chip >= 0 && chip < 16) {
    if (SampleText.empty() || !Chicklet) SampleText = "ABC123";
    if (Chicklet) Sample.Color = kChipColors[chip];
    chip_ = chip;
  }
  // The mask's bits are the style's bold, italic and underline bits.
  Sample.Style = static_cast<TFontStyles>(styleMask & (fsBold | fsItalic | fsUnderline));
  if (!Ignore && onchange) onchange();
}

std::string TFontPickerModel::SizeText(const TFont& font) { return std::to_string(font.Size()); }

int TFontPickerModel::StyleMask(const TFont& font) {
  return font.Style & (fsBold | fsItalic | fsUnderline);
}

}  // namespace corvane

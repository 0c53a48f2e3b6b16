// The font picker's rules, without its windows: the font list's entries
// (each name behind a one-character marker: TrueType or not), the lookups of
// a typed name or size, the 16-colour chip panel (TColorPanelModel) and the
// sample's refresh (TFontPickerModel). Sizes are in points throughout: the
// size field shows a font's size in points and the sample takes it back so.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "spreadsheet/controls/ControlBase.h"

namespace corvane {

inline constexpr char kTrueTypeMarker = 1;
inline constexpr char kOtherFontMarker = 2;
extern const std::array<int, 10> kFontSizes;
extern const std::array<TColor, 16> kChipColors;

std::string FontListEntry(std::string_view name, bool trueType);
// The name of an entry without its marker.
std::string_view FontEntryName(std::string_view entry);
bool FontEntryIsTrueType(std::string_view entry);
// The last entry whose name equals `name` regardless of case; -1 when none.
int FindFontEntry(const std::vector<std::string>& entries, std::string_view name);
// The index of the size whose text is `text`; -1 when none.
int FindFontSize(std::string_view text);

// The chip panel: a 4 x 4 grid of the chips inside a 2-pixel margin, centred;
// presses pick a chip by the same grid.
class TColorPanelModel {
 public:
  explicit TColorPanelModel(TControlHost& host);

  bool Chicklet = false;
  int Chosen() const { return chosen_; }
  void SetChosen(int chip);
  // The blue frame the user's first press puts around the panel.
  bool Touched() const { return touched_; }
  void ClearTouched();

  int CellSize() const;
  TRect ChipRect(int chip) const;
  // The chip under (x, y), the column and row each kept within the grid.
  int ChipAt(int x, int y) const;

  void MouseDown(TMouseButton button, int x, int y);
  void MouseMove(int x, int y);
  void MouseUp(TMouseButton button, int x, int y);
  // The arrows, Home and End pick the neighbouring chip of the 4 x 4 grid
  // as a press does; false for other keys.
  bool KeyDown(int key);
  void Paint(TCanvas& canvas);
  // The focus frame around the chosen chip, while the panel has the focus.
  void PaintFocus(TCanvas& canvas);

  // A chip was picked by a press, by moving while pressing, or by a key.
  std::function<void(int chip)> OnPick;

 private:
  TControlHost& host_;
  int chosen_ = 0;
  bool touched_ = false;
  bool pressed_ = false;
};

// The sample the picker shows and hands on as its result.
class TFontPickerModel {
 public:
  TFontPickerModel() { Sample.Color = classlib::clBlack; }
  classlib::TFont Sample;
  std::string SampleText = "ABC123";
  bool Chicklet = false;
  // Set, onchange does not fire.
  bool Ignore = false;
  int Forecolor() const { return chip_; }
  // 0 to 15; other values are ignored. The sample's colour is the chip's
  // with Chicklet, black without.
  void SetForecolor(int chip);
  void SetChicklet(bool on);

  // Takes the fields into the sample: the name, the size (an empty or
  // invalid size field keeps the size the sample has), the style mask (bit 0
  // bold, 1 italic, 2 underline); with chip >= 0 also that chip. Fires
  // onchange unless Ignore.
  void Refresh(const std::string& name, std::string_view sizeText, int styleMask, int chip);
  // The fields a font shows: its size in points and its style mask.
  static std::string SizeText(const classlib::TFont& font);
  static int StyleMask(const classlib::TFont& font);

  std::function<void()> onchange;

 private:
  int chip_ = 0;
};

}  // namespace corvane

// TColourFormatModel: the colour-format panel's rules, without its windows.
// One colour is kept in three linked ways: the palette, three channels (red,
// green, blue, 0 to 255, each a scroll bar with a number field) and the
// swatch. Whichever the user changes, the others follow; the palette only
// marks its nearest cell, so a colour chosen on the bars is kept as chosen.
// The caption turns blue once the user has touched the panel, unless Ignore.
#pragma once

#include <array>
#include <functional>
#include <string_view>

#include "spreadsheet/controls/ControlBase.h"

namespace corvane {

// The channel value a number field's text asks for: its whole number kept
// within 0..255; nothing (-1) when the text holds no digits.
int ColourChannelFromText(std::string_view text);

class TColourFormatModel {
 public:
  TColor Color() const;
  // Sets the channels; the palette marks its nearest cell. No Onchange.
  void SetColor(TColor c);
  int Channel(int k) const { return channels_[k]; }
  bool Ignore() const { return ignore_; }
  // Set, the caption shows black and changes no longer mark it.
  void SetIgnore(bool on);
  bool Touched() const { return touched_ && !ignore_; }

  // A scroll bar moved to `position`.
  void ChannelChanged(int k, int position);
  // The palette's value changed (the user chose a cell).
  void PaletteChanged(TColor c);
  // A number field's text changed.
  void FieldChanged(int k, std::string_view text);
  // A key in a field, or a click on the palette: the touched marking.
  void Touch();

  // What the window shows: the bar positions and field texts (ShowChannel),
  // the swatch and the palette's mark (ShowColor), the caption's colour.
  std::function<void(int k, int value)> ShowChannel;
  std::function<void(TColor c)> ShowSwatch;
  std::function<void(TColor c)> MarkPalette;
  std::function<void(TColor caption)> ShowCaption;
  std::function<void()> Onchange;
  std::function<void()> Onclick;

 private:
  void Show(bool palette);

  std::array<int, 3> channels_{};
  bool ignore_ = false;
  bool touched_ = false;
  bool showing_ = false;
};

}  // namespace corvane

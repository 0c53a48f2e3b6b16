// The colour-format panel's linked channels, palette and swatch.
#include "spreadsheet/controls/ColourFormat.h"

#include <algorithm>
#include <cctype>

namespace corvane {

using namespace classlib;

int ColourChannelFromText(std::string_view text) {
  long value = 0;
  bool digits = false;
  for (char ch : text) {
    if (!std::isdigit(static_cast<unsigned char>(ch))) continue;
    digits = true;
    value = std::min(value * 10 + (ch - '0'), 1000L);
  }
  return digits ? static_cast<int>(std::min(value, 255L)) : -1;
}

TColor TColourFormatModel::Color() const {
  return static_cast<TColor>(channels_[0] | channels_[1] << 8 | channels_[2] << 16);
}

void TColourFormatModel::Show(bool palette) {
  // The palette's own change comes back here while it is marked: showing_
  // keeps that echo from moving the bars.
  showing_ = true;
  for (int k = 0; k < 3; ++k)
    if (ShowChannel) ShowChannel(k, channels_[k]);
  if (ShowSwatch) ShowSwatch(Color());
  if (palette && MarkPalette) MarkPalette(Color());
  showing_ = false;
}

void TColourFormatModel::SetColor(TColor c) {
  if (c == Color()) return;
  channels_ = {static_cast<int>(c & 0xFF), static_cast<int>(c >> 8 & 0xFF), static_cast<int>(c >> 16 & 0xFF)};
  Show(true);
}

void TColourFormatModel::SetIgnore(bool on) {
  ignore_ = on;
  if (ShowCaption) ShowCaption(Touched() ? clBlue : on ? clBlack : clGray);
}

void TColourFormatModel::ChannelChanged(int k, int position) {
  if (showing_ || k < 0 || k > 2) return;
  position = std::clamp(position, 0, 255);
  if (channels_[k] == position) return;
  channels_[k] = position;
  Show(true);
  if (Onchange) Onchange();
}

void TColourFormatModel::PaletteChanged(TColor c) {
  if (showing_) return;
  channels_ = {static_cast<int>(c & 0xFF), static_cast<int>(c >> 8 & 0xFF), static_cast<int>(c >> 16 & 0xFF)};
  Show(false);
  if (Onchange) Onchange();
}

void TColourFormatModel::FieldChanged(int k, std::string_view text) {
  if (showing_) return;
  int value = ColourChannelFromText(text);
  if (value >= 0) ChannelChanged(k, value);
  Touch();
}

void TColourFormatModel::Touch() {
  if (ignore_) return;
  touched_ = true;
  if (ShowCaption) ShowCaption(clBlue);
  if (Onclick) Onclick();
}

}  // namespace corvane

// The default settings block of new sheets, and the number formats' view of
// the working block.
#include "spreadsheet/engine/SheetSettings.h"

#include <algorithm>

#include "spreadsheet/engine/FormatSettings.h"

namespace corvane {
namespace {

std::string ShortText(const TShortText2& text) {
  return std::string(text.text, std::min<std::size_t>(text.length, sizeof text.text));
}

}  // namespace

TSheetSettings& DefaultSheetSettings() {
  static TSheetSettings defaults;
  return defaults;
}

void CopyDefaultSheetSettings(TSheetSettings& settings) {
  std::uint16_t trailer = settings.trailer;
  settings = DefaultSheetSettings();
  settings.trailer = trailer;
}

void ApplySheetFormatSettings(const TSheetSettings& settings) {
  TFormatSettings& formats = FormatSettings();
  formats.Pro = settings.protection != 0;
  formats.Zero = settings.hideZeros != 0;
  formats.Curr = ShortText(settings.currency);
  formats.Curs = ShortText(settings.secondCurrency);
}

}  // namespace corvane

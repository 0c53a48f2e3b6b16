// The properties dialog's values and how its pages write cells.
#include "spreadsheet/windows/RangeProperties.h"

#include <cstring>

#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/CellStore.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/PoolString.h"
#include "spreadsheet/engine/RangeEdit.h"
#include "spreadsheet/engine/RangeText.h"
#include "spreadsheet/engine/Recalc.h"
#include "spreadsheet/engine/ShowError.h"
#include "spreadsheet/engine/WindowServices.h"
#include "spreadsheet/graphs/GraphCells.h"

namespace corvane {

namespace {

constexpr std::uint32_t kShadeKeptBits = 0x7F000000u;  // text colour and its "none" bit
constexpr std::uint32_t kTextColourKeptBits = 0x80FFFFFFu;
constexpr std::uint8_t kStyleIgnoredBit = 0x80;
constexpr std::uint8_t kStyleAlignBits = 0x70;
constexpr std::uint8_t kStyleFontBits = 0x0F;

void SetShadeWord(TCell& cell, std::uint32_t word) { cell.attributes = (cell.attributes & kShadeKeptBits) | word; }

// Bits 24-30 take the palette index, so the cell no longer lacks a text
// colour; the fill (bit 31 and the RGB) stays.
void SetTextColour(TCell& cell, int index) {
  cell.attributes = (cell.attributes & kTextColourKeptBits) | (static_cast<std::uint32_t>(index & 15) << 24);
}

// "|<file" and "|>file" show pictures; a new prefix would turn them into text.
bool IsPictureLabel(std::string_view text) {
  return text.size() >= 2 && text[0] == '|' && (text[1] == '<' || text[1] == '>');
}

// The prefix character and alignment code of each prefix item.
constexpr char kPrefixChar[3] = {'\'', '^', '"'};
constexpr std::uint8_t kPrefixAlign[3] = {1, 3, 2};

// The pages' values as Ok applies them to one cell.
struct TPageWriter {
  const TRangeProperties& p;
  TRange range;
  std::uint32_t shadeWord;
  int textColour;

  void Write(TCell& cell, int row, int col) const {
    if (p.Touched(kPageFormat))
      cell.format = static_cast<std::uint8_t>((cell.format & kFormatProtectedBit) | (p.format & 0x7F));
    if (p.Touched(kPageShade)) SetShadeWord(cell, shadeWord);
    if (p.Touched(kPageTypeface)) {
      cell.font = static_cast<std::uint8_t>(p.font);
      cell.size = static_cast<std::uint8_t>(p.size);
      // The new style bits count: the "style counts as 0" mark goes.
      cell.style = static_cast<std::uint8_t>((cell.style & ~(kStyleFontBits | kStyleIgnoredBit)) |
                                             (p.styleBits & kStyleFontBits));
      SetTextColour(cell, textColour);
    }
    if (p.Touched(kPagePrefix)) WritePrefix(cell);
    if (p.Touched(kPageLock))
      cell.format = static_cast<std::uint8_t>((cell.format & 0x7F) | (p.protect ? kFormatProtectedBit : 0));
    if (p.Touched(kPageBorder)) cell.borders = BorderByte(range, row, col, p.borderType, p.borderApply);
  }

  void WritePrefix(TCell& cell) const {
    int item = p.prefix >= kPrefixLeft && p.prefix <= kPrefixRight ? p.prefix : kPrefixLeft;
    if (!CellIsLabel(&cell)) {
      cell.style = static_cast<std::uint8_t>((cell.style & ~kStyleAlignBits) | (kPrefixAlign[item] << 4));
      return;
    }
    std::string_view text = PoolStringView(cell.text);
    if (text.empty() || IsPictureLabel(text)) return;
    // Same length: the first character is the old prefix.
    PoolBlock(cell.text)[1] = static_cast<std::uint8_t>(kPrefixChar[item]);
  }
};

bool SameAttributes(const TCell& a, const TCell& b) {
  return std::memcmp(reinterpret_cast<const char*>(&a) + kCellAttributeOffset,
                     reinterpret_cast<const char*>(&b) + kCellAttributeOffset, kCellAttributeBytes) == 0;
}

}  // namespace

std::uint8_t BorderByte(const TRange& range, int row, int col, int type, int apply) {
  static constexpr std::uint8_t kLines[3] = {0x00, 0x55, 0xAA};
  std::uint8_t lines = type >= kBorderNone && type <= kBorderThick ? kLines[type] : 0;
  TRange r = OrderedRange(range);
  std::uint8_t own = 0;
  if (col == r.firstCol) own |= 0x03;
  if (row == r.lastRow) own |= 0x0C;
  if (col == r.lastCol) own |= 0x30;
  if (row == r.firstRow) own |= 0xC0;
  switch (apply) {
    case kApplyIn: return static_cast<std::uint8_t>(lines & ~own);
    case kApplyOut: return static_cast<std::uint8_t>(lines & own);
    case kApplyAll: return lines;
    default: return 0;
  }
}

TPropertiesLayout PropertiesLayout(int page) {
  if (page >= 0) return {page, 64, 304, 296};
  struct TSize {
    int width, height;
  };
  static constexpr TSize kSizes[kPropertyPageCount] = {{200, 290}, {220, 290}, {230, 298},
                                                       {226, 152}, {231, 152}, {242, 265}};
  int alone = -page - 1;
  if (alone >= kPropertyPageCount) return {alone, 0, 0, 260};
  return {alone, 0, kSizes[alone].width, kSizes[alone].height};
}

void TRangeProperties::Activate(const TRange& currentSelection) {
  selection = currentSelection;
  rangeText = RangeToText(selection);
  const TCell* cell = CellPtr(CellFind(selection.firstRow, selection.firstCol));
  if (cell != nullptr) {
    textColour = static_cast<int>((cell->attributes >> 24) & 15);
    shade = (cell->attributes & kDefaultShadeWord) ? 0xFFFFFFu : (cell->attributes & 0xFFFFFFu);
    protect = (cell->format & kFormatProtectedBit) != 0;
    format = cell->format & 0x7F;
    font = cell->font;
    size = cell->size;
    styleBits = (cell->style & kStyleIgnoredBit) ? 0 : (cell->style & 7);
    sampleText = GraphCellText(cell);
  } else {
    textColour = 0;
    shade = 0xFFFFFF;
    protect = true;
    format = 127;
    font = 255;
    size = 0;
    styleBits = 0;
    sampleText.clear();
  }
  defaultShade = false;
  prefix = kPrefixLeft;
  borderType = kBorderNone;
  borderApply = kApplyClear;
  changed = 0;
}

bool TRangeProperties::Apply() const {
  TRange range;
  if (!ParseRange(rangeText, range)) return false;
  if (!RangeIsValid(range)) return false;
  if (changed == 0) return true;
  TPageWriter writer{*this, range, defaultShade ? kDefaultShadeWord : (shade & 0xFFFFFFu),
                     defaultShade ? 0 : textColour};
  // A missing cell is made only when the pages change it from a new cell.
  TCell fresh = kDefaultCellTemplate;
  TCellCommand command;
  command.Begin();
  bool ok = ForEachPositionInRange(range, [&](int row, int col, TCellHandle cell) {
    if (cell == kNilHandle) {
      if (ProtectionOn()) return true;
      TCell made = fresh;
      writer.Write(made, row, col);
      if (SameAttributes(made, fresh)) return true;
      cell = CellGetOrCreate(row, col);
      if (cell == kNilHandle) return false;
    }
    if (CellIsEditable(CellPtr(cell))) writer.Write(*CellPtr(cell), row, col);
    return true;
  });
  if (!ok) return command.Fail(kOutOfMemoryText);
  if (Touched(kPagePrefix)) RecalcRange(range);
  WindowServices().SetGridSelection(selection);
  command.Done();
  return true;
}

bool RangeSetShade(const TRange& range, std::uint32_t rgb) {
  return RangeSetCells(range, [rgb](TCell& cell) { SetShadeWord(cell, rgb & 0xFFFFFFu); });
}

bool RangeSetTextColour(const TRange& range, int paletteIndex) {
  return RangeSetCells(range, [paletteIndex](TCell& cell) { SetTextColour(cell, paletteIndex); });
}

}  // namespace corvane

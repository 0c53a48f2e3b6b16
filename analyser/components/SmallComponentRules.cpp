// Splitter arithmetic, link targets, page-setup flags and printer names.
#include "analyser/components/SmallComponentRules.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace foldwick {

namespace {

bool Blank(const std::string& s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

void PutWord(std::vector<std::uint8_t>& block, size_t at, size_t value) {
  block[at] = static_cast<std::uint8_t>(value & 0xFF);
  block[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

std::optional<std::string> NameAt(const std::uint8_t* block, size_t size, size_t offset) {
  if (offset < 8 || offset >= size) return std::nullopt;
  const auto* start = reinterpret_cast<const char*>(block + offset);
  const void* end = std::memchr(start, '\0', size - offset);
  if (end == nullptr) return std::nullopt;
  return std::string(start, static_cast<const char*>(end));
}

}  // namespace

classlib::TPoint SplitterProbe(TSplitSide side, const classlib::TRect& s) {
  switch (side) {
    case TSplitSide::Top: return {s.Left, s.Top - 1};
    case TSplitSide::Bottom: return {s.Left, s.Bottom};
    case TSplitSide::Left: return {s.Left - 1, s.Top};
    default: return {s.Right, s.Top};
  }
}

int SplitterNewSize(TSplitSide side, classlib::TPoint mouse, int parentExtent, int splitterExtent, int minSize) {
  int size = 0;
  switch (side) {
    case TSplitSide::Top: size = mouse.y; break;
    case TSplitSide::Bottom: size = parentExtent - mouse.y - splitterExtent; break;
    case TSplitSide::Left: size = mouse.x; break;
    case TSplitSide::Right: size = parentExtent - mouse.x - splitterExtent; break;
  }
  const int largest = std::max(minSize, parentExtent - splitterExtent - minSize);
  return std::clamp(size, minSize, largest);
}

std::string LinkTarget(const std::string& url, const std::string& caption) {
  if (!Blank(url)) return url;
  return Blank(caption) ? std::string() : caption;
}

std::uint32_t PageSetupFlags(TPageSetupOptions options, TPageMeasurements measurements, bool setupHook, bool paintHook) {
  std::uint32_t flags = 0x2;  // margins
  if (options & poDisableMargins) flags |= 0x10;
  if (options & poDisableOrientation) flags |= 0x100;
  if (options & poDisablePagePainting) flags |= 0x80000;
  if (options & poDisablePaper) flags |= 0x200;
  if (options & poDisablePrinter) flags |= 0x20;
  if (options & poNoWarning) flags |= 0x80;
  if (options & poShowHelp) flags |= 0x800;
  flags |= measurements == TPageMeasurements::pmMillimeters ? 0x8 : 0x4;
  if (setupHook) flags |= 0x2000;
  if (paintHook) flags |= 0x40000;
  return flags;
}

int MarginToDialog(int hundredthsMm, TPageMeasurements measurements) {
  if (measurements == TPageMeasurements::pmMillimeters) return hundredthsMm;
  return static_cast<int>(std::lround(hundredthsMm / 2.54));
}

int MarginFromDialog(int dialogValue, int kept, TPageMeasurements measurements) {
  if (dialogValue == MarginToDialog(kept, measurements)) return kept;
  if (measurements == TPageMeasurements::pmMillimeters) return dialogValue;
  return static_cast<int>(std::lround(dialogValue * 2.54));
}

std::vector<std::uint8_t> BuildDevNames(const TPrinterNames& names) {
  std::vector<std::uint8_t> block(8);
  size_t offsets[3];
  const std::string* parts[3] = {&names.driver, &names.device, &names.port};
  for (int i = 0; i < 3; ++i) {
    offsets[i] = block.size();
    block.insert(block.end(), parts[i]->begin(), parts[i]->end());
    block.push_back(0);
  }
  for (int i = 0; i < 3; ++i) PutWord(block, 2 * static_cast<size_t>(i), offsets[i]);
  PutWord(block, 6, 0);
  return block;
}

std::optional<TPrinterNames> ParseDevNames(const std::uint8_t* block, size_t size) {
  if (block == nullptr || size < 8) return std::nullopt;
  auto word = [&](size_t at) { return static_cast<size_t>(block[at] | (block[at + 1] << 8)); };
  std::optional<std::string> driver = NameAt(block, size, word(0));
  std::optional<std::string> device = NameAt(block, size, word(2));
  std::optional<std::string> port = NameAt(block, size, word(4));
  if (!driver || !device || !port) return std::nullopt;
  return TPrinterNames{*driver, *device, *port};
}

}  // namespace foldwick

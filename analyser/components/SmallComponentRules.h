// The rules of the analyser's small components that need no window: where a
// splitter finds the control it resizes and how big a drag makes it, the
// link label's target, and the page-setup dialog's flags and printer-names
// block.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "classlib/Graphics.h"

namespace foldwick {

enum class TSplitSide : std::uint8_t { Top, Bottom, Left, Right };

// The point just outside a splitter on the side of the control it resizes.
classlib::TPoint SplitterProbe(TSplitSide side, const classlib::TRect& splitter);
// The resized control's new width (left and right) or height (top and
// bottom) for the mouse at `mouse`, given in the control's coordinates for
// top and left splitters and in the parent's for bottom and right ones.
// Never below `minSize`; never so large that the splitter and the rest of
// the parent's `parentExtent` (width or height) get less than `minSize`.
int SplitterNewSize(TSplitSide side, classlib::TPoint mouse, int parentExtent, int splitterExtent, int minSize);

// What a link label opens: its URL unless blank, else its caption; empty
// (nothing to open) when both are blank.
std::string LinkTarget(const std::string& url, const std::string& caption);

// The page-setup dialog's options and the flags they give.
enum TPageSetupOption : std::uint8_t {
  poDefaultMinMargins = 1 << 0, poDisableMargins = 1 << 1, poDisableOrientation = 1 << 2,
  poDisablePagePainting = 1 << 3, poDisablePaper = 1 << 4, poDisablePrinter = 1 << 5, poNoWarning = 1 << 6,
  poShowHelp = 1 << 7
};
using TPageSetupOptions = std::uint8_t;
enum class TPageMeasurements : std::uint8_t { pmMillimeters, pmInches };
// Margins are always passed; the setup hook comes with any of the three
// events, the paint hook with both paint events.
std::uint32_t PageSetupFlags(TPageSetupOptions options, TPageMeasurements measurements, bool setupHook, bool paintHook);

// A margin kept in hundredths of a millimetre as the dialog takes it: the
// same, or thousandths of an inch (rounded) with pmInches.
int MarginToDialog(int hundredthsMm, TPageMeasurements measurements);
// The dialog's margin back in hundredths of a millimetre (rounded). A margin
// the dialog gives back as it was given keeps `kept`, the value it was made
// from, so that an OK with nothing changed changes nothing.
int MarginFromDialog(int dialogValue, int kept, TPageMeasurements measurements);

// The printer names as the system's DEVNAMES block carries them: four
// 16-bit character offsets (driver, device, port, default flag) and then
// the zero-terminated names, the driver's at offset 8.
struct TPrinterNames {
  std::string driver;
  std::string device;
  std::string port;
  bool operator==(const TPrinterNames&) const = default;
};
std::vector<std::uint8_t> BuildDevNames(const TPrinterNames& names);
// Nothing when an offset points outside the block or a name is not ended.
std::optional<TPrinterNames> ParseDevNames(const std::uint8_t* block, size_t size);

}  // namespace foldwick

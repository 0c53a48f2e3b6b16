// Small services of the document unit that reach the machine through the
// platform seam (EnginePlatform.h): the bitmap cache of picture cells, the
// millisecond clock that times graph drawing, the 16-colour palette match,
// tone, beep, delay and the version text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "spreadsheet/engine/EnginePlatform.h"

namespace corvane {

inline constexpr int kBitmapCacheSize = 10;

// The program's 16-entry colour palette (colour values with red in the low
// byte), which the colour words' text index (bits 24-27) refers to.
inline constexpr std::uint32_t kPalette16[16] = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

// The RDTSC setting of the settings file: when set, CpuTickMs reads the
// time-stamp counter. Kept by the settings reader.
extern bool gUseTimeStampClock;

// The bitmap named `name` (compared in upper case), loaded on first use and
// kept in a cache of up to 10 bitmaps that owns it; callers must not free it.
// kNoBitmap when the file cannot be loaded or the cache already holds 10 other
// bitmaps (nothing is evicted, since picture cells keep the handles they got).
TBitmapHandle LoadBitmapCached(std::string_view name);
// Frees every cached bitmap; handles handed out before are invalid afterwards.
void FreeBitmapCache();

// With the RDTSC setting on: the time-stamp counter divided by 166000
// (milliseconds at 166 MHz), wrapping at 2^32; with it off: 1.
std::uint32_t CpuTickMs();

// The index (0..15) of the palette colour nearest to `colour` (red in the low
// byte) by the sum of the absolute red, green and blue differences; the first
// of equally near colours wins.
int NearestPaletteColor(std::uint32_t colour);

// A tone of `frequency` hertz for `duration` milliseconds.
void SpeakerTone(int frequency, int duration);
// The system's default beep.
void DefaultBeep();
// Waits `ms` milliseconds (nothing for 0 or less), correct across the tick
// count's wrap-around; the processor is given up while waiting.
void DelayMs(int ms);
// The program's version text.
std::string VersionText();

}  // namespace corvane

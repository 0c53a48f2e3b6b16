// Bitmap cache, clocks, palette match, sound and version text.
#include "spreadsheet/engine/EngineHelpers.h"

#include <cstdlib>

#include "spreadsheet/engine/TextCase.h"

namespace corvane {

bool gUseTimeStampClock = false;

namespace {

constexpr std::uint64_t kTimeStampTicksPerMs = 166000;

struct TCachedBitmap {
  std::string name;
  TBitmapHandle bitmap = kNoBitmap;
};

TCachedBitmap gBitmapCache[kBitmapCacheSize];
int gBitmapCount = 0;

int Channel(std::uint32_t colour, int shift) { return static_cast<int>((colour >> shift) & 0xFF); }

}  // namespace

TBitmapHandle LoadBitmapCached(std::string_view name) {
  std::string key = UpperCaseText(name);
  for (int i = 0; i < gBitmapCount; ++i)
    if (gBitmapCache[i].name == key) return gBitmapCache[i].bitmap;
  if (gBitmapCount == kBitmapCacheSize) return kNoBitmap;
  TBitmapHandle bitmap = EnginePlatform().LoadBitmapFile(name);
  if (bitmap == kNoBitmap) return kNoBitmap;
  gBitmapCache[gBitmapCount++] = TCachedBitmap{key, bitmap};
  return bitmap;
}

void FreeBitmapCache() {
  for (int i = 0; i < gBitmapCount; ++i) {
    EnginePlatform().FreeBitmap(gBitmapCache[i].bitmap);
    gBitmapCache[i] = TCachedBitmap{};
  }
  gBitmapCount = 0;
}

std::uint32_t CpuTickMs() {
  if (!gUseTimeStampClock) return 1;
  return static_cast<std::uint32_t>(EnginePlatform().TimeStampCounter() / kTimeStampTicksPerMs);
}

int NearestPaletteColor(std::uint32_t colour) {
  int best = 0;
  int bestDistance = 1 << 30;
  for (int i = 0; i < 16; ++i) {
    int distance = 0;
    for (int shift : {0, 8, 16}) distance += std::abs(Channel(colour, shift) - Channel(kPalette16[i], shift));
    if (distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  return best;
}

void SpeakerTone(int frequency, int duration) { EnginePlatform().Tone(frequency, duration); }

void DefaultBeep() { EnginePlatform().MessageBeep(); }

void DelayMs(int ms) {
  if (ms <= 0) return;
  TEnginePlatform& platform = EnginePlatform();
  std::uint32_t start = platform.TickCount();
  while (platform.TickCount() - start < static_cast<std::uint32_t>(ms)) platform.Idle();
}

std::string VersionText() { return EnginePlatform().VersionText(); }

}  // namespace corvane
